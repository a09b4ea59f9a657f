#pragma once
// KJTObj: a working record of playback for one jump: where the play order
// leaves the music (jump line and column) and where it lands (target line and
// column, -1 until the play-order builder has found it).
//
// Nothing of it is stored: Serialize does nothing and the class answers
// GetRuntimeClass with the record of CObject.

#include "platform/CObject.h"

class KJTObj : public CObject {
 public:
  static constexpr int kNoTarget = -1;

  // The target starts at (-1, -1).
  KJTObj(int jumpLine, int jumpColumn) : m_jumpLine(jumpLine), m_jumpColumn(jumpColumn) {}

  int GetJumpLine() const { return m_jumpLine; }
  int GetJumpColumn() const { return m_jumpColumn; }
  void SetTarget(int line, int column) {
    m_targetLine = line;
    m_targetColumn = column;
  }
  int GetTargetLine() const { return m_targetLine; }
  int GetTargetColumn() const { return m_targetColumn; }

  void Serialize(CArchive& ar) override;

 private:
  int m_jumpLine = 0;
  int m_jumpColumn = 0;
  int m_targetLine = kNoTarget;
  int m_targetColumn = kNoTarget;
};
