#pragma once
// KPDObj: a working record of playback for one play direction found in the
// score (a repeat, an ending, a jump mark...). The interpretation of a line's
// play texts creates these records in the line's play-event list and the
// play-order builder walks them pass by pass: per pass an entry names the
// target of the direction (-1 for none) and a cursor tells which pass is next.
//
// Nothing of it is stored: Serialize does nothing and the class answers
// GetRuntimeClass with the record of CObject, so a score file never names it.

#include <utility>

#include "platform/CObject.h"

class KPDObj : public CObject {
 public:
  static constexpr int kPassCount = 10;
  static constexpr int kNoTarget = -1;

  // Start and end both at (line, column); pass entry 0 is 0, the others -1.
  KPDObj(int kind, int line, int column, int value);
  // As above, with the end on the same line at endColumn.
  KPDObj(int kind, int line, int column, int value, int endColumn);

  int GetKind() const { return m_kind; }
  // (line, column) of the start and of the end.
  std::pair<int, int> GetStart() const { return {m_startLine, m_startColumn}; }
  std::pair<int, int> GetEnd() const { return {m_endLine, m_endColumn}; }
  void SetEnd(int line, int column);
  int GetValue() const { return m_value; }
  void SetValue(int value) { m_value = value; }

  // Entry i for i in 0..9; other indices change nothing.
  void SetPassEntry(int i, int value);
  // Entry i for i in 0..9, else -1.
  int GetPassEntry(int i) const;
  // The index of the current pass entry, at most 9.
  int GetCursor() const;
  // Moves to the next pass when the current entry is above 0; never past 9.
  void AdvanceCursor();

  void Serialize(CArchive& ar) override;

 private:
  int m_kind = 0;
  int m_startLine = 0;
  int m_startColumn = 0;
  int m_endLine = 0;
  int m_endColumn = 0;
  int m_value = 0;
  int m_passCursor = 0;
  int m_passEntries[kPassCount] = {0, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};
