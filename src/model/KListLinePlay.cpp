// The play-event list of a line: rebuilding it through the installed interpreter, walking the
// events of a column, and finding the first and last events of a column span.

#include "model/KListLine.h"
#include "model/KMIDIObj.h"

namespace {

KListLine::PlayTextInterpreter g_interpreter = nullptr;

constexpr int kNoKey = 10000;
constexpr int kLargestLength = 100000;

int ColumnOf(const CObject* object) { return static_cast<const KPosObj*>(object)->GetPos(); }

}  // namespace

void KListLine::SetPlayTextInterpreter(PlayTextInterpreter interpreter) { g_interpreter = interpreter; }

void KListLine::InterpretTextForPlayback(int lineNumber, float* swingRatio, int firstColumn,
                                         int lastColumn) {
  if (g_interpreter != nullptr) {
    g_interpreter(*this, lineNumber, swingRatio, firstColumn, lastColumn);
    return;
  }
  for (POSITION node = m_playEvents.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    CObject* event = m_playEvents.GetNext(node);
    const int column = ColumnOf(event);
    if (m_objects.IsEmpty() || (column >= firstColumn && column <= lastColumn)) {
      m_playEvents.RemoveAt(here);
      delete event;
    }
  }
  if (swingRatio != nullptr) m_playScale = *swingRatio;
}

KMIDIObj* KListLine::GetNextPlayEventAt(int column, POSITION& cursor) {
  if (cursor == nullptr) {
    POSITION node = m_playEvents.GetHeadPosition();
    while (node != nullptr && ColumnOf(m_playEvents.GetAt(node)) < column) m_playEvents.GetNext(node);
    if (node == nullptr || ColumnOf(m_playEvents.GetAt(node)) > column) return nullptr;
    cursor = node;
  }
  auto* event = static_cast<KMIDIObj*>(m_playEvents.GetNext(cursor));
  if (cursor != nullptr && ColumnOf(m_playEvents.GetAt(cursor)) != event->GetPos()) cursor = nullptr;
  return event;
}

int KListLine::FindPlayEventSpan(int startColumn, POSITION startCursor, int endColumn, POSITION& endCursor,
                                 KMIDIObj* pair[2], int endKey, int /*reserved*/, int startKey,
                                 int secondKey) {
  if (endKey != kNoKey && startKey == kNoKey) startKey = endKey;
  // The start: from the caller's cursor when given, else from the head.
  POSITION start = startCursor != nullptr ? startCursor : m_playEvents.GetHeadPosition();
  while (start != nullptr) {
    const auto* event = static_cast<const KMIDIObj*>(m_playEvents.GetAt(start));
    if (event->GetPos() >= endColumn) return 0;
    if (event->GetPos() >= startColumn) {
      if (startKey == kNoKey) break;
      if (event->GetPos() != startColumn) return 0;
      if (event->GetData1() == startKey) break;
    }
    m_playEvents.GetNext(start);
  }
  if (start == nullptr) return 0;

  // The last event at or before the end column.
  POSITION last = nullptr;
  for (POSITION node = start; node != nullptr;) {
    const POSITION here = node;
    if (ColumnOf(m_playEvents.GetNext(node)) > endColumn) break;
    last = here;
  }
  for (POSITION node = last; node != nullptr && node != start;) {
    const POSITION here = node;
    auto* event = static_cast<KMIDIObj*>(m_playEvents.GetPrev(node));
    if (event->GetPos() == startColumn) return 0;
    if (endKey == kNoKey) {
      if (event->GetMagnitude() > kLargestLength) continue;
    } else {
      if (event->GetPos() != endColumn) return 0;
      const int key = event->GetData1();
      const bool controlInside = secondKey != kNoKey && key == secondKey;
      if (key != endKey && !controlInside) continue;
      event->SetData1(endKey);
    }
    pair[0] = static_cast<KMIDIObj*>(m_playEvents.GetAt(start));
    pair[1] = event;
    endCursor = here;
    return 1;
  }
  return 0;
}
