// The Delete key: the selected region, a selected extended object, the join
// of the next line at the end of a line, or the symbol at the caret (with the
// linked partner lines of a group under mutual translation).

#include <algorithm>
#include <span>

#include "common/ViewServices.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/extobj/ViewExtObjPartners.h"
#include "view/input/ViewKeysInternal.h"

namespace viewkeys {

namespace {

constexpr UINT kJoinTypesDiffer = 7042;
constexpr UINT kJoinAcrossHidden = 7095;
// Shift+Delete hands the line this row instead of the caret's.
constexpr int kWholeColumnRow = 1000;
// An attachment's refresh: its line and the two around it.
constexpr int kAttachmentHint = 400030000;

std::span<const DisplayLine> Table(const CStavlinView& view) {
  return {view.m_display.data(), static_cast<size_t>(std::max(view.m_lineCount, 0))};
}

void DeleteSelection(CStavlinView& view, KeyPress& press) {
  const KLineObj* first = LineAt(view, std::clamp(view.m_selFirstLine, 0, view.m_lineCount - 1));
  const int group = first != nullptr ? first->GetGroupId() : KLineObj::kNoGroup;
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroupRegion, group, 0, nullptr, 0);
    int firstLine = 0;
    int lastLine = 0;
    if (view.FindPartnerLine(firstLine, lastLine) != -1) {
      // The bracketed partner loses the same columns.
      view.m_selFirstLine = firstLine;
      view.m_selLastLine = lastLine;
    }
  } else {
    view.RecordUndoStep(kUndoRegion, 0, 0, nullptr, 0);
  }
  if (view.DeleteSelectedRegion(1, 1, 1) == 0) return;
  press.hint = 0;
  Refresh(view, press);
}

void DeleteExtendedObject(CStavlinView& view) {
  const int displayLine = std::clamp(view.m_extDisplayLine, 0, view.m_lineCount - 1);
  KLineObj* line = LineAt(view, displayLine);
  if (line == nullptr) return;
  const int group = line->GetGroupId();
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  } else {
    view.RecordUndoStep(kUndoLine, displayLine, 0, nullptr, 0);
  }
  // Its copies on the partner lines go with it.
  extobj::DeleteCopies(extobj::FindPartnerCopies(view, displayLine, *view.m_selectedExtObj));
  line->EditAttachment(view.m_selectedExtObj, KLineObj::kEditDelete);
  view.m_selectedExtObj = nullptr;
  view.m_extTracker = RECT{};
  view.m_extTwoHandles = 0;
  CStavlinDoc* doc = view.GetDocument();
  doc->SetModifiedFlag(TRUE);
  doc->UpdateAllViews(nullptr, kAttachmentHint + 100000 * std::max(displayLine - 1, 0));
  g_relayout = 0;
}

// Delete at the end of a line: the next shown line joins onto it.
void JoinNextLine(CStavlinView& view, KeyPress& press, KLineObj& current) {
  CStavlinDoc* doc = view.GetDocument();
  const int currentLine = view.m_currentLine;
  const POSITION currentPos = view.m_display[static_cast<size_t>(currentLine)].line;
  if (current.GetGroupId() != KLineObj::kNoGroup || currentPos == doc->GetLastLinePosition() ||
      currentLine + 1 >= view.m_lineCount) {
    // Nothing shown below to join (or a grouped line, or the score's end).
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  const POSITION nextPos = view.m_display[static_cast<size_t>(currentLine + 1)].line;
  KLineObj* next = doc->GetLineAt(nextPos);
  if (next == nullptr) return;
  const bool nextEmpty = next->GetLength() == 0;
  if (next->GetType() != current.GetType() && !nextEmpty) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kJoinTypesDiffer);
    return;
  }
  POSITION after = currentPos;
  doc->GetNextLine(after);
  if (after != nextPos && AfxMessageBox(kJoinAcrossHidden, MB_OKCANCEL) == IDCANCEL) return;
  if (next->GetGroupId() != KLineObj::kNoGroup) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }

  view.RecordUndoStep(kUndoLineList, currentLine, 0, nullptr, 0);
  // The next line's content moves onto this line; the emptied line goes.
  if (!nextEmpty) CStavlinDoc::JoinLines(current, *next);
  doc->RemoveLine(nextPos, nullptr, TRUE);

  const int topOfFirst = view.m_display[static_cast<size_t>(std::max(view.m_firstVisible, 0))].top;
  view.RebuildDisplayLines(0);
  g_relayout = 1;
  view.FindTopLine(topOfFirst);
  press.hint = CStavlinView::kHintLineAndBelow + 10000 * currentLine;
  doc->SetModifiedFlag(TRUE);
  Refresh(view, press);
}

// Delete inside a line: the symbol at the caret.
void DeleteAtCaret(CStavlinView& view, KeyPress& press, KLineObj& line) {
  CStavlinDoc* doc = view.GetDocument();
  const int currentLine = view.m_currentLine;
  const int group = line.GetGroupId();
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroupRegion, group, 0, nullptr, 0);
    if (view.m_mutualTranslation != 0 || view.m_linkedLineEntry != 0) {
      // The linked entry deletes one column before the caret: the caret
      // stands one further for the call.
      const POSITION position = view.m_display[static_cast<size_t>(currentLine)].line;
      ++view.m_caretColumn;
      const KLinePair result = view.EnterSymbolInLinkedLines(group, position, &line, kBackspaceCode,
                                                             view.m_noteStyle, view.m_caretRow, 0);
      --view.m_caretColumn;
      const KLineGroup* lineGroup = doc->FindLineGroup(group);
      const int redraw = RedrawColumn(view, &line, result.second);
      press.hint = lineGroup != nullptr ? lineGroup->EncodeLineRange(currentLine, redraw, Table(view))
                                        : CStavlinView::kHintLineFrom + 10000 * currentLine + redraw;
      doc->SetModifiedFlag(TRUE);
      Refresh(view, press);
      return;
    }
  } else {
    view.RecordUndoStep(kUndoLine, currentLine, 0, nullptr, 0);
  }
  const int row = press.shift ? kWholeColumnRow : view.m_caretRow;
  const KLinePair result =
      line.HandleKey(kBackspaceCode, view.m_noteStyle, view.m_sizeIndex, view.m_caretColumn, row, 0, 0, 0);
  press.hint = CStavlinView::kHintLineFrom + 10000 * currentLine + RedrawColumn(view, &line, result.second);
  doc->SetModifiedFlag(TRUE);
  Refresh(view, press);
}

}  // namespace

void HandleDelete(CStavlinView& view, KeyPress& press) {
  // Nothing changes while auto-scroll runs, or in a read-only score the user
  // keeps read-only.
  if (view.m_autoScroll != 0) return;
  if (view.LeaveReadOnlyForEdit() == FALSE) return;
  if (view.GetDocument() == nullptr) return;

  if (HasSelectionRect(view)) {
    DeleteSelection(view, press);
    return;
  }
  if (view.m_selectedExtObj != nullptr) {
    DeleteExtendedObject(view);
    return;
  }
  KLineObj* line = LineAt(view, view.m_currentLine);
  if (line == nullptr) return;
  if (view.m_caretColumn >= line->GetLength()) {
    JoinNextLine(view, press, *line);
    return;
  }
  DeleteAtCaret(view, press, *line);
}

}  // namespace viewkeys
