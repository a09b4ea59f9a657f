// The line keys of typed entry: Backspace at the start of a line removes an
// empty line or joins the line to the one above; Enter splits the line (or,
// in a line group, the group) at the caret.

#include <algorithm>
#include <memory>

#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/input/ViewCharEntry.h"

namespace {

using namespace view_char;

constexpr UINT kJoinDifferentTypes = 7042;
constexpr UINT kJoinAcrossHidden = 7095;
constexpr int kTabCaretRow = 4;
constexpr int kStaffCaretRow = 18;
constexpr DWORD kPageBreakFlag = 4096;

// Takes the line out of the document and deletes it.
void DeleteLine(CStavlinView& view, POSITION position) {
  view.m_document->RemoveLine(position, nullptr, TRUE);
}

// The removal of an empty line: ungrouped lines go at once, a grouped line
// asks the remove dialog. Returns false when nothing was removed.
bool RemoveEmptyLine(CStavlinView& view, Keystroke& key, int& caretColumn) {
  const int group = key.line->GetGroupId();
  if (group == KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoLineList, view.m_currentLine, 0, nullptr, 0);
    DeleteLine(view, key.position);
    return true;
  }
  view.RecordUndoStep(kUndoGroupRegion, group, 0, nullptr, 0);
  const int result = view.DeleteWithRemoveDialog(group, 1, key.position);
  if (result == CStavlinView::kRemoveNothing) return false;
  if (result == CStavlinView::kRemoveLineOnly) {
    DeleteLine(view, key.position);
  } else if (result >= 0) {
    caretColumn = result;
  }
  return true;
}

// The caret on a display line after the table was rebuilt.
void PutCaretOn(CStavlinView& view, int displayLine, int column) {
  view.m_currentLine = std::clamp(displayLine, 0, std::max(view.m_lineCount - 1, 0));
  if (view.m_lineCount > 0) view.m_currentType = view.GetDisplayEntry(view.m_currentLine).type;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? kTabCaretRow : kStaffCaretRow;
  view.m_caretColumn = std::max(column, 0);
}

// The caret's x on the page, from the content's left edge, the line's indent
// and (on staff and tablature lines) its clef area.
int CaretPixelX(CStavlinView& view, KLineObj& line) {
  const int base = view.m_contentLeft + line.GetIndent();
  const int size = view.m_sizeIndex;
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (auto* text = dynamic_cast<KStrLine*>(&line))
    return base + text->GetXOfColumn(dc, view.m_textFonts, view.m_caretColumn);
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(&line))
    return base + rhythm->GetColumnX(dc, view.m_caretColumn, size);
  const int type = std::clamp(line.GetType(), 0, 16);
  const int width = view.m_typeColumnWidth[static_cast<size_t>(type)];
  KListLine* list = line.AsListLine();
  const int leadIn = list != nullptr ? list->GetLeadInWidth(size) : 0;
  return base + leadIn + width * view.m_caretColumn;
}

}  // namespace

void view_char::JoinOrRemoveLine(CStavlinView& view, Keystroke& key) {
  const int current = view.m_currentLine;
  const bool empty = key.line->GetLength() == 0;

  if (current == 0) {
    if (view.m_lineCount <= 1 || !empty) {
      MessageBeep(MB_ICONASTERISK);
      return;
    }
    int caretColumn = 0;
    if (!RemoveEmptyLine(view, key, caretColumn)) return;
    view.RebuildDisplayLines(0);
    view.SetVirtualScrollPosition(0, 0);
    PutCaretOn(view, 0, 0);
    view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
    return;
  }

  const int above = current - 1;
  const POSITION abovePosition = view.GetDisplayEntry(above).line;
  KLineObj* aboveLine = view.GetDisplayLineObj(above);
  if (aboveLine == nullptr) return;
  const int aboveLength = aboveLine->GetLength();
  int caretColumn = aboveLength;

  if (!empty) {
    if (key.line->GetGroupId() != KLineObj::kNoGroup || aboveLine->GetGroupId() != KLineObj::kNoGroup) {
      MessageBeep(MB_ICONASTERISK);
      return;
    }
    if (key.line->GetType() != aboveLine->GetType()) {
      MessageBeep(MB_ICONASTERISK);
      AfxMessageBox(kJoinDifferentTypes, MB_OK);
      return;
    }
    POSITION previous = key.position;
    view.m_document->GetPrevLine(previous);
    if (previous != abovePosition &&
        AfxMessageBox(kJoinAcrossHidden, MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
      return;
    view.RecordUndoStep(kUndoLineList, above, 0, nullptr, 0);
    CStavlinDoc::JoinLines(*aboveLine, *key.line);
    // The joined line is empty now: it goes, and is deleted with it.
    DeleteLine(view, key.position);
  } else if (!RemoveEmptyLine(view, key, caretColumn)) {
    return;
  }

  view.RebuildDisplayLines(0);
  const int newLine = std::min(above, view.m_lineCount - 1);
  PutCaretOn(view, newLine, caretColumn);
  view.UpdateAfterEdit(CStavlinView::kHintLineAndBelow + 10000 * std::max(newLine, 0), 1);
}

void view_char::SplitLine(CStavlinView& view, Keystroke& key) {
  const int group = key.line->GetGroupId();
  if (group != KLineObj::kNoGroup) {
    // A grouped line is split with its whole group: every line of the group
    // breaks at the caret's x into a following group.
    view.RecordUndoStep(kUndoGroupRegion, group, 0, nullptr, 0);
    view.RebuildLineGroup(group, view.m_widest, CaretPixelX(view, *key.line), nullptr);
    return;
  }

  view.RecordUndoStep(kUndoLineList, view.m_currentLine, 0, nullptr, 0);
  std::unique_ptr<KLineObj> rest = key.line->SplitAt(view.m_caretColumn, 0, view.m_sizeIndex);
  if (rest == nullptr) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  if (auto* text = dynamic_cast<KStrLine*>(rest.get()); text != nullptr && text->TestFlags(kPageBreakFlag)) {
    text->ModifyFlags(kPageBreakFlag, 0);
  }
  view.m_document->InsertLineAfter(key.position, rest.release());
  const int oldLine = view.m_currentLine;
  view.RebuildDisplayLines(0);
  PutCaretOn(view, oldLine + 1, 0);
  view.UpdateAfterEdit(CStavlinView::kHintLineAndBelow + 10000 * oldLine, 1);
}
