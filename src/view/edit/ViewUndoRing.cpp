// The undo ring's bookkeeping: which record a step, an after-state marker,
// an Undo or a Redo uses, and how the cursor moves.

#include "view/edit/ViewUndoRing.h"

#include <algorithm>

void KUndoRecord::Clear() {
  kind = kEmpty;
  firstLine = 0;
  lastLine = -1;
  recordedLine = -1;
  text = CString();
  snapshot.reset();
  undone = false;
  redoText = CString();
  redoColumn = 0;
  redoSnapshot.reset();
}

int KUndoRing::ClampLevels(int levels) { return std::clamp(levels, kFewestRecords, kMostRecords); }

KUndoRing::KUndoRing(int levels)
    : m_size(ClampLevels(levels)), m_records(static_cast<size_t>(ClampLevels(levels)) + 1) {}

void KUndoRing::Reset(bool enabled) {
  for (KUndoRecord& record : m_records) record.Clear();
  m_current = enabled ? 0 : -1;
  m_floor = 0;
}

int KUndoRing::BeginStep() {
  // After Undo reached the oldest step, the new step takes that step's
  // record: the state now is the state before it.
  const int base = m_current == 0 && m_floor > 0 ? Prev(m_floor) : std::max(m_current, 0);
  const int index = Next(base);
  At(index).Clear();
  KUndoRecord& following = At(Next(index));
  following.Clear();
  m_current = index;
  m_floor = 0;
  return index;
}

int KUndoRing::AfterStateRecord() const {
  if (m_current < 0 || (m_current == 0 && m_floor > 0)) return 0;
  const int index = Next(m_current);
  return At(index).undone ? 0 : index;
}

bool KUndoRing::StepBack(int restored) {
  const int previous = Prev(restored);
  const KUndoRecord& record = At(previous);
  if (previous != restored && record.IsStep() && !record.undone) {
    m_current = previous;
    return true;
  }
  m_current = 0;
  m_floor = restored;
  return false;
}

int KUndoRing::RedoTarget() const {
  if (m_current < 0) return 0;
  const int candidate = m_current == 0 ? m_floor : Next(m_current);
  if (candidate <= 0) return 0;
  const KUndoRecord& record = At(candidate);
  return record.undone && record.IsStep() ? candidate : 0;
}

void KUndoRing::StepForward(int redone) {
  KUndoRecord& record = At(redone);
  record.undone = false;
  record.redoSnapshot.reset();
  m_current = redone;
  m_floor = 0;
}
