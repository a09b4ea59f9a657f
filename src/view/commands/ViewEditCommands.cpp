// The Edit menu's clipboard commands: each records its undo step and hands
// the work to the copy engine (SerializeSelection) or the paste engine
// (PasteSerializedLines).

#include <algorithm>

#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr int kCopy = 0;
constexpr int kCut = 1;
constexpr int kRemove = 2;
constexpr int kPasteInsert = 20;
constexpr int kPasteOver = 21;
constexpr int kUndoSelectedToEnd = 4;
constexpr int kUndoLineToEnd = 6;

// Tells the copy engine that an Edit menu command runs (plain text goes on
// the clipboard too) for the command's lifetime.
class ClipboardCommand {
 public:
  ClipboardCommand() { g_clipboardCommand = 1; }
  ~ClipboardCommand() { g_clipboardCommand = 0; }
  ClipboardCommand(const ClipboardCommand&) = delete;
  ClipboardCommand& operator=(const ClipboardCommand&) = delete;
};

// The paste engine records a step of its own, whose range can miss the new
// lines it inserts below the caret line; the command's step already covers
// them, so one paste is one undo step.
void PasteWithoutSecondStep(CStavlinView& view, int mode) {
  view.m_undoSuspended = 1;
  view.PasteSerializedLines(mode, nullptr, 0, -1);
  view.m_undoSuspended = 0;
}

// Cut and Remove of columns on one staff or tablature line of a bracketed
// pair under mutual translation take the same columns of the partner line, as
// Delete does: the two lines stay in step, the group keeps its bars linked
// and its bracket, and the clipboard holds both lines for a paste back into
// the pair.
void TakeInPartnerLine(CStavlinView& view) {
  if (!view.SelectionRectShown() || view.m_selRect.left == 0) return;  // whole lines go as lines
  const auto [top, bottom] = viewgeom::SelectedLines(view);
  if (top != bottom || top != view.GetCurrentLine()) return;
  int first = top;
  int last = top;
  if (view.FindPartnerLine(first, last) == -1) return;
  view.m_selFirstLine = first;
  view.m_selLastLine = last;
  view.m_selRect.top = view.GetDisplayEntry(first).top;
  view.m_selRect.bottom = view.GetDisplayEntry(last).bottom;
}

}  // namespace

void CStavlinView::OnEditCopy() {
  ClipboardCommand command;
  SerializeSelection(kCopy);
}

void CStavlinView::OnEditCut() {
  if (!LeaveReadOnlyForEdit()) return;
  TakeInPartnerLine(*this);
  ClipboardCommand command;
  RecordUndoStep(kUndoSelectedToEnd, 0, 0, nullptr, 0);
  SerializeSelection(kCut);
}

void CStavlinView::OnEditRemove() {
  if (!LeaveReadOnlyForEdit()) return;
  TakeInPartnerLine(*this);
  ClipboardCommand command;
  RecordUndoStep(kUndoSelectedToEnd, 0, 0, nullptr, 0);
  SerializeSelection(kRemove);
}

void CStavlinView::OnEditPaste() {
  if (!LeaveReadOnlyForEdit()) return;
  const bool over = SelectionRectShown();
  // Pasting over a selection that begins above the caret line changes that
  // line too: the saved range starts at whichever comes first.
  const int from = over ? std::min(m_currentLine, viewgeom::SelectedLines(*this).first) : m_currentLine;
  RecordUndoStep(kUndoLineToEnd, from, 0, nullptr, 0);
  PasteWithoutSecondStep(*this, over ? kPasteOver : kPasteInsert);
  if (over) UpdateSelection(0, 0, 0, 0, kSelClear);
  // Pasted notation that runs past its staff length wraps while Auto-Wrap is on.
  AutoWrapCheck(*this, std::min(from, m_currentLine), std::max(from, m_currentLine));
}

void CStavlinView::OnEditPasteOver() {
  if (!LeaveReadOnlyForEdit()) return;
  const int from = m_currentLine;
  RecordUndoStep(kUndoSelectedToEnd, 0, 0, nullptr, 0);
  PasteWithoutSecondStep(*this, kPasteOver);
  AutoWrapCheck(*this, std::min(from, m_currentLine), std::max(from, m_currentLine));
}

std::span<const KViewCommandHandler> EditCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kEditUndo, kEditUndo, [](CStavlinView& v, UINT) { v.OnEditUndo(); }},
      {kEditRedo, kEditRedo, [](CStavlinView& v, UINT) { v.OnEditRedo(); }},
      {kEditUndoSwitch, kEditUndoSwitch, [](CStavlinView& v, UINT) { v.OnEditEnableDisableUndo(); }},
      {kEditCopy, kEditCopy, [](CStavlinView& v, UINT) { v.OnEditCopy(); }},
      {kEditCut, kEditCut, [](CStavlinView& v, UINT) { v.OnEditCut(); }},
      {kEditRemove, kEditRemove, [](CStavlinView& v, UINT) { v.OnEditRemove(); }},
      {kEditPaste, kEditPaste, [](CStavlinView& v, UINT) { v.OnEditPaste(); }},
      {kEditPasteOver, kEditPasteOver, [](CStavlinView& v, UINT) { v.OnEditPasteOver(); }},
      {kEditReadOnly, kEditReadOnly, [](CStavlinView& v, UINT) { v.OnEditReadOnly(); }},
  };
  return kHandlers;
}
