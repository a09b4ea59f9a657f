// The common caret movement of the keys: the target column, then the move
// to another display line that keeps the caret at the same x, with the
// caret row, content origin and key of the line it enters.

#include <algorithm>

#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "view/input/ViewKeysInternal.h"

namespace viewkeys {

namespace {
// The caret row a line starts with on a tablature and on any other line.
constexpr int kTabStartRow = 4;
constexpr int kOtherStartRow = 18;
}  // namespace

void MoveCaret(CStavlinView& view, KeyPress& press) {
  const int size = view.m_sizeIndex != 0 ? 1 : 0;
  if (press.columnOnTarget && press.targetLine != kNoLine) {
    // Onto the target line first, then to the column there.
    const int column = press.targetColumn;
    press.targetColumn = kNoColumn;
    press.columnOnTarget = false;
    MoveCaret(view, press);
    press.targetColumn = column;
    KLineObj* target = LineAt(view, view.m_currentLine);
    KListLine* list = target != nullptr ? target->AsListLine() : nullptr;
    if (view.m_currentFamily == KLineObj::kFamilyChord && list != nullptr) {
      const int x = ColumnWidthOf(view, view.m_currentType) * column;
      view.m_caretColumn = list->XToColumn(0, x, size, view.m_contentLeft, press.key == VK_END ? 1 : 2);
    } else {
      view.m_caretColumn = column;
    }
    return;
  }
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  KLineObj* line = LineAt(view, view.m_currentLine);

  if (press.targetColumn != kNoColumn) {
    KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (view.m_currentFamily == KLineObj::kFamilyChord && list != nullptr) {
      const bool snapRight = press.key == VK_RIGHT || press.key == VK_END;
      const int x = ColumnWidthOf(view, view.m_currentType) * press.targetColumn;
      view.m_caretColumn = list->XToColumn(0, x, size, view.m_contentLeft, snapRight ? 1 : 2);
    } else {
      view.m_caretColumn = press.targetColumn;
    }
  }
  if (press.targetLine == kNoLine) return;

  const int oldLine = view.m_currentLine;
  const int newLine = std::clamp(press.targetLine, 0, (view.m_lineCount - 1));
  if (view.m_readOnly == 0 && KLineObj::IsNoteFamily(view.m_currentFamily) && line != nullptr &&
      line->AsListLine() != nullptr) {
    line->AsListLine()->MarkChanged();
    press.hint = CStavlinView::kHintLineAndBelow + 10000 * std::min(newLine, oldLine);
  }

  // The caret's x on the line it leaves.
  int x = view.m_contentOrigin;
  if (auto* text = dynamic_cast<KStrLine*>(line); text != nullptr && dc != nullptr) {
    x += text->GetXOfColumn(dc, view.m_textFonts, view.m_caretColumn);
  } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(line); rhythm != nullptr && dc != nullptr) {
    x += rhythm->GetColumnX(dc, view.m_caretColumn, size);
  } else {
    x += ColumnWidthOf(view, view.m_currentType) * view.m_caretColumn;
  }

  if (press.targetType != kNoType) {
    view.m_currentType = press.targetType;
    view.m_currentFamily = KLineObj::FamilyOf(press.targetType);
    view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? kTabStartRow : kOtherStartRow;
  }
  view.m_currentLine = newLine;

  KLineObj* target = LineAt(view, newLine);
  if (target == nullptr) return;
  if (view.m_readOnly == 0 && KLineObj::IsNoteFamily(target->GetFamily()) &&
      target->AsListLine() != nullptr) {
    target->AsListLine()->MarkChanged();
    press.hint = CStavlinView::kHintLineAndBelow + 10000 * std::min(oldLine, newLine);
  }

  // The column at the same x on the line it enters.
  const int indent = target->GetIndent();
  if (auto* text = dynamic_cast<KStrLine*>(target)) {
    view.m_contentOrigin = indent + view.m_contentLeft;
    if (dc != nullptr)
      view.m_caretColumn = text->GetColumnAtX(dc, view.m_textFonts, x - view.m_contentOrigin, 0);
    view.m_currentTextFont = text->GetFontIndex();
    return;
  }
  KListLine* list = target->AsListLine();
  if (list == nullptr) return;
  view.m_keyAtCaret = list->GetKeySignatureAt(0);
  view.m_contentOrigin = view.m_contentLeft + indent;
  if (KLineObj::IsNoteFamily(target->GetFamily())) view.m_contentOrigin += list->GetLeadInWidth(size);
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(target)) {
    view.m_caretColumn = rhythm->GetColumnAtX(dc, 2, x, size, view.m_contentLeft, 2);
  } else {
    view.m_caretColumn = std::max(list->XToColumn(2, x, size, view.m_contentLeft, 2), 0);
  }
}

}  // namespace viewkeys
