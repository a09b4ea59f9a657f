// Edit/Undo, Edit/Redo and Edit/Enable-Disable Undo: restoring records of
// the undo ring, and the per-score undo switch.
//
// Undo puts back the record of the latest step: the display lines of its
// saved range are deleted and its snapshot pasted in their place, then the
// view state comes back. Before that, the state it replaces is kept in the
// record, so that Redo can put back exactly what the step made.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "lines/KStrLine.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLayoutCache.h"
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

// The most display lines a restore puts back in place.
constexpr int kMostInPlaceLines = 64;

// The refresh hint of a restored range: one line, or from its first line down.
int RangeHint(int first, int last) {
  return first == last ? CStavlinView::kHintLineFrom + first * 10000
                       : CStavlinView::kHintLineAndBelow + first * 10000;
}

// What a restore repaints when it says so itself (restored in place): the
// lines it changed, each from its first changed column.
struct KRestore {
  int hint = 0;
  std::vector<KLineDamage> damage;
  POSITION firstLine = nullptr;  // the first restored line, laid out again
  int range = 0;                 // the restored display lines as a range hint
};

// Puts a text line's text back (kind 7); the current text goes to `before`.
KRestore SwapText(CStavlinView& view, int displayLine, const CString& text, int column, CString& before,
                  int& columnBefore) {
  const int line = std::clamp(displayLine, 0, LastLine(view));
  auto* textLine = dynamic_cast<KStrLine*>(view.GetDisplayLineObj(line));
  if (textLine == nullptr) return {};
  before = textLine->GetText();
  columnBefore = view.m_caretColumn;
  // The characters from the first that differs on are repainted.
  const std::string& was = before.Str();
  const std::string& now = text.Str();
  const int differs =
      static_cast<int>(std::mismatch(was.begin(), was.end(), now.begin(), now.end()).first - was.begin());
  textLine->SetText(text);
  textLine->SetColumnXCount(-1);
  view.m_currentLine = line;
  view.m_currentType = view.GetDisplayEntry(line).type;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  view.m_caretColumn = std::clamp(column, 0, text.GetLength());
  KRestore restore;
  restore.hint = CStavlinView::kHintLineFrom + line * 10000;
  restore.damage.push_back({view.GetDisplayEntry(line).line, differs});
  return restore;
}

// Replaces the record's range with `snapshot` and brings `state` back; the
// range's present content and the view state go to the `keep` pair first.
KRestore SwapRange(CStavlinView& view, const KUndoRecord& record, const KClipStream* snapshot,
                   const KUndoViewState& state, std::unique_ptr<KClipStream>* keepSnapshot,
                   KUndoViewState* keepState) {
  const int first = std::clamp(record.firstLine, 0, LastLine(view));
  const int last = record.lastLine < 0 ? LastLine(view) : std::clamp(record.lastLine, first, LastLine(view));
  if (keepState != nullptr) viewundo::CaptureViewState(view, *keepState);
  // Without a snapshot (it could not be made) the lines stay as they are.
  // An edit that kept the lines, their groups and the layout basis is put
  // back line for line where the lines stand.
  const bool inPlace =
      snapshot != nullptr && last - first < kMostInPlaceLines && viewundo::SameLayoutBasis(view, state);
  std::unique_ptr<KClipStream> present = snapshot != nullptr && (inPlace || keepSnapshot != nullptr)
                                             ? viewundo::SnapshotLines(view, first, record.lastLine)
                                             : nullptr;
  if (inPlace && present != nullptr) {
    view.DeselectExtendedObject();
    if (auto damage = viewundo::SwapLinesInPlace(view, first, last, *snapshot, *present)) {
      viewundo::RestoreCaretState(view, state);
      KRestore restore;
      // The views lay the restored lines out again (each its own way).
      restore.hint = CStavlinView::kHintAll;
      restore.damage = std::move(*damage);
      restore.firstLine = view.GetDisplayEntry(first).line;
      restore.range = CStavlinView::kHintRange + 100000 * first + 1000 * (last - first);
      if (keepSnapshot != nullptr) *keepSnapshot = std::move(present);
      return restore;
    }
  }
  if (keepSnapshot != nullptr) *keepSnapshot = std::move(present);
  viewundo::ReplaceLines(view, first, record.lastLine, snapshot, state);
  viewundo::RestoreViewState(view, state);
  KRestore restore;
  restore.hint = RangeHint(first, last);
  return restore;
}

// Scrolls back to the record's first visible line and refreshes.
void FinishRestore(CStavlinView& view, const KRestore& restore, bool scroll) {
  if (restore.hint == 0) return;
  if (scroll && view.GetDisplayLineCount() > 0) {
    const int first = std::clamp(view.m_firstVisible, 0, LastLine(view));
    const int top = view.FindTopLine(view.GetDisplayEntry(first).top);
    // Only the height: the caret is followed sideways by the refresh.
    const POINT now = view.GetVirtualScrollPosition();
    if (top != now.y) view.SetVirtualScrollPosition(now.x, top);
  }
  g_relayoutEditedLine = restore.firstLine;
  g_relayoutEditedRange = restore.range;
  g_refreshDamage = restore.damage;
  view.UpdateAfterEdit(restore.hint, 1);
  g_relayoutEditedLine = nullptr;
  g_relayoutEditedRange = 0;
  g_refreshDamage.clear();
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
  KRestore restore;
  {
    SuspendRecording suspend(*this);
    if (record.kind == KUndoRecord::kTextTyping) {
      restore =
          SwapText(*this, record.firstLine, record.text, record.lastLine, record.redoText, record.redoColumn);
    } else {
      restore = SwapRange(*this, record, record.snapshot.get(), record.state, &record.redoSnapshot,
                          &record.redoState);
    }
    record.undone = true;
    FinishRestore(*this, restore, record.kind != KUndoRecord::kTextTyping);
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
    KRestore restore;
    if (record.kind == KUndoRecord::kTextTyping) {
      CString unused;
      int unusedColumn = 0;
      restore = SwapText(*this, record.firstLine, record.redoText, record.redoColumn, unused, unusedColumn);
    } else {
      restore = SwapRange(*this, record, record.redoSnapshot.get(), record.redoState, nullptr, nullptr);
    }
    FinishRestore(*this, restore, record.kind != KUndoRecord::kTextTyping);
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
