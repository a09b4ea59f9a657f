// Typing in a text line: characters, Backspace, Tab and blanks go to the
// line as they are; Shift+Tab first lines the next entry up under the next
// note of the notation line above.

#include <algorithm>

#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/input/ViewCharEntry.h"

namespace {

using namespace view_char;

constexpr int kBackspace = 8;
constexpr DWORD kBracketAlignedFlag = 1048576;
constexpr int kTrebleStaff = 0;

}  // namespace

bool view_char::AlignTextUnderNotes(CStavlinView& view, Keystroke& key) {
  auto* text = dynamic_cast<KStrLine*>(key.line);
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (text == nullptr || dc == nullptr) return true;
  const int caretX = text->GetXOfColumn(dc, view.m_textFonts, view.m_caretColumn) + text->GetIndent();
  for (int above = view.m_currentLine - 1; above >= 0; --above) {
    KLineObj* line = view.GetDisplayLineObj(above);
    if (line == nullptr) continue;
    const int family = line->GetFamily();
    if (family == KLineObj::kFamilyText) continue;
    const KListLine* notes = line->AsListLine();
    if (!KLineObj::IsNoteFamily(family) || notes == nullptr) break;
    const int noteX = notes->GetNextNoteX(caretX, view.m_sizeIndex);
    if (noteX > KListLine::kNoNoteX - 1) break;
    const int column = text->GetColumnAtX(dc, view.m_textFonts, noteX - text->GetIndent(), 0);
    view.m_blanksToInsert = std::max(column - view.m_caretColumn, 0);
    return true;
  }
  MessageBeep(MB_ICONASTERISK);
  return false;
}

void view_char::EnterText(CStavlinView& view, Keystroke& key) {
  const int line = view.m_currentLine;
  bool staffAboveChanged = false;
  if (key.line->GetGroupId() != KLineObj::kNoGroup && line > 0) {
    KLineObj* above = view.GetDisplayLineObj(line - 1);
    if (above != nullptr && above->GetType() == kTrebleStaff && above->TestFlags(kBracketAlignedFlag) != 0) {
      view.RecordUndoStep(kUndoLineList, line - 1, 0, nullptr, 0);
      above->ModifyFlags(kBracketAlignedFlag, 0);
      if (KListLine* list = above->AsListLine()) list->MarkChanged();
      key.hint = CStavlinView::kHintLineAndBelow + 10000 * (line - 1);
      staffAboveChanged = true;
    }
  }
  if (!staffAboveChanged) {
    const auto* text = dynamic_cast<const KStrLine*>(key.line);
    const CString before = text != nullptr ? text->GetText() : CString();
    view.RecordUndoStep(kUndoTyping, line, 0, &before, 0);
  }

  const int column = key.ch == kBackspace ? view.m_caretColumn - 1 : view.m_caretColumn;
  key.pair = key.line->HandleKey(key.ch, view.m_noteStyle, view.m_sizeIndex, column, view.m_blanksToInsert, 0,
                                 view.m_entryMode, 0);
  view.m_blanksToInsert = 0;
  if (key.pair.second < 0) key.pair.first = 0;  // refused: the caret stays
}
