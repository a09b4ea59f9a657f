#pragma once
// KPosObj: the base of every object that stands at a column position on a
// line (note columns, chord diagrams, rhythm symbols, attached objects,
// playback events, drawing entries). Lines keep these objects in lists ordered
// by position.
//
// In the score file the position is an unsigned 16-bit word, so only positions
// 0..65535 survive a store and load; a larger one comes back as its low 16 bits.

#include "platform/CObject.h"

class CObList;

class KPosObj : public CObject {
  DECLARE_SERIAL(KPosObj);

 public:
  KPosObj() = default;
  explicit KPosObj(int pos) : m_pos(pos) {}
  ~KPosObj() override = default;

  int GetPos() const { return m_pos; }
  // Stores the value with no test and returns it.
  int SetPos(int pos) { return m_pos = pos; }
  // Moves by delta unless that would make the position negative. Returns the
  // computed position in every case, so a negative result tells the caller
  // that the move was refused.
  int MoveBy(int delta);

  // Stores or loads the position word; every subclass calls it first.
  void Serialize(CArchive& ar) override;

 protected:
  KPosObj(const KPosObj&) = default;
  KPosObj& operator=(const KPosObj&) = default;

 private:
  int m_pos = 0;
};

// Puts an object into a list ordered by position: after every object of an
// earlier column, before every object of its own or a later one. The search
// starts at the tail, where objects made column by column nearly always go,
// so building a long line stays linear.
void InsertByPos(CObList& list, KPosObj* object);
