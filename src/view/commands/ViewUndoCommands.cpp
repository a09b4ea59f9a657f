// Edit/Undo, Edit/Redo and Edit/Enable-Disable Undo: restoring records of
// the undo ring, and the per-score undo switch.
//
// Undo puts back the record of the latest step: the display lines of its
// saved range are deleted and its snapshot pasted in their place, then the
// view state comes back. Before that, the state it replaces is kept in the
// record, so that Redo can put back exactly what the step made.

#include <algorithm>

#include "lines/KStrLine.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewUndoInternal.h"

namespace {

constexpr UINT kUndoSwitchCommand = 41014;
constexpr UINT kUndoIsEnabledText = 8213;
constexpr UINT kUndoIsDisabledText = 8214;
constexpr BYTE kUndoOptionBit = 0x40;

// Marks Undo or Redo as restoring for its lifetime: nothing records.
class SuspendRecording {
 public:
  explicit SuspendRecording(CStavlinView& view) : m_view(view) { m_view.m_undoSuspended = 1; }
  ~SuspendRecording() { m_view.m_undoSuspended = 0; }
  SuspendRecording(const SuspendRecording&) = delete;
  SuspendRecording& operator=(const SuspendRecording&) = delete;

 private:
  CStavlinView& m_view;
};

int LastLine(const CStavlinView& view) { return std::max(view.GetDisplayLineCount() - 1, 0); }

// The refresh hint of a restored range: one line, or from its first line down.
int RangeHint(int first, int last) {
  return first == last ? CStavlinView::kHintLineFrom + first * 10000
                       : CStavlinView::kHintLineAndBelow + first * 10000;
}

// Puts a text line's text back (kind 7); the current text goes to `before`.
int SwapText(CStavlinView& view, int displayLine, const CString& text, int column, CString& before,
             int& columnBefore) {
  const int line = std::clamp(displayLine, 0, LastLine(view));
  auto* textLine = dynamic_cast<KStrLine*>(view.GetDisplayLineObj(line));
  if (textLine == nullptr) return 0;
  before = textLine->GetText();
  columnBefore = view.m_caretColumn;
  textLine->SetText(text);
  textLine->SetColumnXCount(-1);
  view.m_currentLine = line;
  view.m_currentType = view.GetDisplayEntry(line).type;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  view.m_caretColumn = std::clamp(column, 0, text.GetLength());
  return CStavlinView::kHintLineFrom + line * 10000;
}

// Replaces the record's range with `snapshot` and brings `state` back; the
// range's present content and the view state go to the `keep` pair first.
int SwapRange(CStavlinView& view, const KUndoRecord& record, const KClipStream* snapshot,
              const KUndoViewState& state, std::unique_ptr<KClipStream>* keepSnapshot,
              KUndoViewState* keepState) {
  const int first = std::clamp(record.firstLine, 0, LastLine(view));
  const int last = record.lastLine < 0 ? LastLine(view) : std::clamp(record.lastLine, first, LastLine(view));
  if (keepState != nullptr) viewundo::CaptureViewState(view, *keepState);
  // Without a snapshot (it could not be made) the lines stay as they are.
  if (keepSnapshot != nullptr)
    *keepSnapshot = snapshot != nullptr ? viewundo::SnapshotLines(view, first, record.lastLine) : nullptr;
  viewundo::ReplaceLines(view, first, record.lastLine, snapshot, state);
  viewundo::RestoreViewState(view, state);
  return RangeHint(first, last);
}

// Scrolls back to the record's first visible line and refreshes.
void FinishRestore(CStavlinView& view, int hint, bool scroll) {
  if (hint == 0) return;
  if (scroll && view.GetDisplayLineCount() > 0) {
    const int first = std::clamp(view.m_firstVisible, 0, LastLine(view));
    const int top = view.FindTopLine(view.GetDisplayEntry(first).top);
    view.SetVirtualScrollPosition(0, top);
  }
  view.UpdateAfterEdit(hint, 1);
  view.PublishMirrors();
}

}  // namespace

void CStavlinView::OnEditUndo() {
  KUndoRing* ring = m_undoRing.get();
  if (m_undoEnabled == 0 || ring == nullptr || ring->Current() < 0) return;
  const int index = ring->UndoTarget();
  if (index == 0) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  // Restoring deletes and pastes lines: a read-only score must be made
  // editable first, or nothing may change.
  if (!LeaveReadOnlyForEdit()) return;

  KUndoRecord& record = ring->At(index);
  int hint = 0;
  {
    SuspendRecording suspend(*this);
    if (record.kind == KUndoRecord::kTextTyping) {
      hint =
          SwapText(*this, record.firstLine, record.text, record.lastLine, record.redoText, record.redoColumn);
    } else {
      hint = SwapRange(*this, record, record.snapshot.get(), record.state, &record.redoSnapshot,
                       &record.redoState);
    }
    record.undone = true;
    FinishRestore(*this, hint, record.kind != KUndoRecord::kTextTyping);
    if (!ring->StepBack(index)) MessageBeep(MB_ICONASTERISK);
  }
  viewundo::PublishRingState(*this);
}

void CStavlinView::OnEditRedo() {
  KUndoRing* ring = m_undoRing.get();
  if (m_undoEnabled == 0 || ring == nullptr || ring->Current() < 0) return;
  const int index = ring->RedoTarget();
  if (index == 0) {
    m_redoAvailable = 0;
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  if (!LeaveReadOnlyForEdit()) return;

  KUndoRecord& record = ring->At(index);
  {
    SuspendRecording suspend(*this);
    int hint = 0;
    if (record.kind == KUndoRecord::kTextTyping) {
      CString unused;
      int unusedColumn = 0;
      hint = SwapText(*this, record.firstLine, record.redoText, record.redoColumn, unused, unusedColumn);
    } else {
      hint = SwapRange(*this, record, record.redoSnapshot.get(), record.redoState, nullptr, nullptr);
    }
    FinishRestore(*this, hint, record.kind != KUndoRecord::kTextTyping);
    ring->StepForward(index);
  }
  viewundo::PublishRingState(*this);
}

void CStavlinView::OnEditEnableDisableUndo() {
  // Switching off frees nothing at once: the next edit empties the ring.
  m_undoEnabled = m_undoEnabled != 0 ? 0 : 1;
  if (KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr)
    frame->SetMenuItemText(kUndoSwitchCommand,
                           LoadString(m_undoEnabled != 0 ? kUndoIsEnabledText : kUndoIsDisabledText));
  if (m_undoEnabled != 0) {
    m_options.editFlags = static_cast<BYTE>(m_options.editFlags | kUndoOptionBit);
  } else {
    m_options.editFlags = static_cast<BYTE>(m_options.editFlags & ~kUndoOptionBit);
  }
  if (m_document != nullptr) m_document->SetSettings(m_options, TRUE);
}
