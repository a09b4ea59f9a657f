// The undo recorder: before an edit changes the score, the view state and a
// snapshot of the display lines the step kind covers go into the next record
// of the ring; after the change the view's update marks the state after it
// (kind 8).
//
// Step kinds: 0 one display line, 1 a line group, 2 the whole score, 3 the
// selected display lines, 4 from the first selected line to the end, 5 from
// a group's first line to the end, 6 from a display line to the end, 7 the
// text of one text line (no snapshot), 8 the after-change state.

#include <algorithm>
#include <utility>

#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/edit/ViewUndoInternal.h"

namespace {

UndoRecorder g_undoObserver = nullptr;

constexpr int kKindLine = 0;
constexpr int kKindGroup = 1;
constexpr int kKindScore = 2;
constexpr int kKindSelected = 3;
constexpr int kKindSelectedToEnd = 4;
constexpr int kKindGroupToEnd = 5;
constexpr int kKindLineToEnd = 6;
constexpr int kToEnd = -1;

int LastLine(const CStavlinView& view) { return std::max(view.GetDisplayLineCount() - 1, 0); }

// The display lines a group's shown lines take: the first and the last one
// found (slots in display order), or the fallback line for both when none of
// its lines is shown.
std::pair<int, int> GroupLines(const CStavlinView& view, int groupId, int fallback) {
  const KLineGroup* group = view.m_document != nullptr ? view.m_document->FindLineGroup(groupId) : nullptr;
  int first = -1;
  int last = -1;
  for (int slot = 0; group != nullptr && slot < group->GetSlotCount(); ++slot) {
    const int shown = view.FindDisplayLine(group->GetSlotLineRef(slot), 0);
    if (shown < 0) continue;
    first = first < 0 ? shown : std::min(first, shown);
    last = std::max(last, shown);
  }
  if (first < 0) return {fallback, fallback};
  return {first, last};
}

// A one-line, line-to-end or selection step on a grouped line covers the
// group: the group itself for a paired staff, else the group and every line
// after it.
std::pair<int, int> WidenedRange(const CStavlinView& view, int displayLine, std::pair<int, int> range) {
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr || line->GetGroupId() == KLineObj::kNoGroup) return range;
  const auto [first, last] = GroupLines(view, line->GetGroupId(), displayLine);
  if (line->TestFlags(KLineObj::kFlagPairedStaff) != 0) return {first, last};
  return {first, kToEnd};
}

// The saved range of a step: first and last display line, last -1 for "to
// the end".
std::pair<int, int> StepRange(const CStavlinView& view, int kind, int argument) {
  const int end = LastLine(view);
  const int current = std::clamp(view.m_currentLine, 0, end);
  const auto [selTop, selBottom] = viewgeom::SelectedLines(view);
  switch (kind) {
    case kKindLine: {
      const int line = std::clamp(argument, 0, end);
      return WidenedRange(view, line, {line, line});
    }
    case kKindGroup:
      return GroupLines(view, argument, current);
    case kKindSelected:
      return {selTop, selBottom};
    case kKindSelectedToEnd:
      return WidenedRange(view, selTop, {selTop, kToEnd});
    case kKindGroupToEnd:
      return {GroupLines(view, argument, current).first, kToEnd};
    case kKindLineToEnd: {
      const int line = std::clamp(argument, 0, end);
      return WidenedRange(view, line, {line, kToEnd});
    }
    case kKindScore:
    default:
      return {0, kToEnd};
  }
}

void RecordStep(CStavlinView& view, KUndoRing& ring, int kind, int argument, const CString* text) {
  KUndoRecord& record = ring.At(ring.BeginStep());
  record.kind = kind;
  record.recordedLine = view.m_currentLine;
  if (kind == KUndoRecord::kTextTyping) {
    record.firstLine = argument;
    record.lastLine = view.m_caretColumn;
    record.text = text != nullptr ? *text : CString();
    return;
  }
  auto [first, last] = StepRange(view, kind, argument);
  // A range that reaches the last display line runs to whatever the last
  // line is when it is restored.
  if (last >= LastLine(view)) last = kToEnd;
  if (last != kToEnd && last < first) std::swap(first, last);
  record.firstLine = first;
  record.lastLine = last;
  viewundo::CaptureViewState(view, record.state);
  record.snapshot = viewundo::SnapshotLines(view, first, last);
}

// The state after the latest step: only a marker, which bounds the chain of
// steps Undo walks back along (Redo keeps its own copy of what it restores).
void RecordAfterState(CStavlinView& view, KUndoRing& ring) {
  if (ring.Current() > 0 && ring.At(ring.Current()).kind == KUndoRecord::kTextTyping) return;
  const int index = ring.AfterStateRecord();
  if (index == 0) return;
  KUndoRecord& record = ring.At(index);
  record.Clear();
  record.kind = KUndoRecord::kAfterState;
  record.recordedLine = view.m_currentLine;
}

}  // namespace

void SetUndoRecorder(UndoRecorder recorder) { g_undoObserver = recorder; }

void CStavlinView::RecordUndoStep(int kind, int a, int b, const CString* text, int c) {
  KUndoRing* ring = m_undoRing.get();
  if (ring == nullptr) return;
  if (m_undoEnabled == 0) {
    // Undo switched off: the ring empties at the next edit.
    if (ring->Current() != -1) ring->Reset(false);
    viewundo::PublishRingState(*this);
    return;
  }
  ring->Enable();
  if (g_noModify != 0 || m_undoSuspended != 0) return;
  if (g_undoObserver != nullptr) g_undoObserver(*this, kind, a, b, text, c);
  if (m_lineCount <= 0 || kind < 0 || kind > KUndoRecord::kAfterState) return;
  if (kind == KUndoRecord::kAfterState) {
    RecordAfterState(*this, *ring);
  } else {
    RecordStep(*this, *ring, kind, a, text);
  }
  viewundo::PublishRingState(*this);
}
