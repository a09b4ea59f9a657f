// The worker behind Insert/Text Line: a new empty text line below the
// caret's line (or at the head of the score when the caret is at its very
// start), made visible, laid out, scrolled to and given the caret.
//
// Only text lines are built here so far; a request for another type changes
// nothing.

#include "lines/KStrLine.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kTextType = 5;
constexpr int kShowAll = 8;
// Placement that forbids insertion above the first line (the hand-over of
// text from a text document inserts after it).
constexpr int kNeverAtHead = 1111;
constexpr int kUndoWholeScore = 2;
constexpr int kUndoGroupToEnd = 5;
constexpr int kUndoLineToEnd = 6;

}  // namespace

void CStavlinView::InsertLineOfType(int type, int value) {
  if (type != kTextType || m_document == nullptr) return;
  const bool haveLine = m_currentLine >= 0 && m_currentLine < m_lineCount;
  const POSITION currentPos = haveLine ? m_display[static_cast<size_t>(m_currentLine)].line : nullptr;
  const KLineObj* current = m_document->GetLineAt(currentPos);
  const int groupId = current != nullptr ? current->GetGroupId() : KLineObj::kNoGroup;

  if (m_show[kShowAll] == 0 && m_show[static_cast<size_t>(type)] == 0) {
    RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);
    ToggleLineTypeShown(type);
  } else if (groupId != KLineObj::kNoGroup) {
    RecordUndoStep(kUndoGroupToEnd, groupId, 0, nullptr, 0);
  } else {
    RecordUndoStep(kUndoLineToEnd, m_currentLine, 0, nullptr, 0);
  }

  const bool atHead =
      current == nullptr || (m_currentLine == 0 && m_caretColumn == 0 && value != kNeverAtHead);
  auto* line = new KStrLine(0);
  if (current != nullptr && current->GetFamily() == KLineObj::kFamilyText) m_currentTextFont = 0;
  if (atHead) {
    m_document->AddHeadLine(line);
  } else {
    m_document->InsertLineAfter(currentPos, line);
  }
  if (m_fixedStaffLength != 0) line->SetStaffLength(m_fixedStaffLength);
  const int height = m_textFonts[0].lfHeight - 3;

  // Where to scroll and what to repaint.
  int y = 0;
  int hint = kHintAll;
  const int oldLine = m_currentLine;
  if (!atHead) {
    const int firstTop = m_firstVisible >= 0 && m_firstVisible < m_lineCount
                             ? m_display[static_cast<size_t>(m_firstVisible)].top
                             : 0;
    const int oldBottom = m_display[static_cast<size_t>(oldLine)].bottom;
    const RECT client = m_host != nullptr ? m_host->GetClientRect() : RECT{};
    if (oldBottom - firstTop + height + 1 >= client.bottom - client.top) {
      y = firstTop + height;
    } else {
      y = firstTop;
      if (groupId == KLineObj::kNoGroup) hint = kHintLineAndBelow + 10000 * oldLine;
    }
  }

  m_currentType = type;
  m_currentFamily = KLineObj::FamilyOf(type);
  m_currentLine = atHead ? 0 : oldLine + 1;
  m_caretColumn = 0;
  RebuildDisplayLines(0);
  const int top = FindTopLine(y);
  SetVirtualScrollPosition(0, top);
  m_document->SetModifiedFlag(TRUE);
  m_document->UpdateAllViews(nullptr, hint);
  PlaceCaret();
  g_viewMirrors.currentLine = m_currentLine;
  g_viewMirrors.caretColumn = m_caretColumn;
  g_viewMirrors.currentType = m_currentType;
  g_viewMirrors.currentPage =
      m_currentLine < m_lineCount ? GetDisplayEntry(m_currentLine).extra[kPageCode] / 10 : 0;
}

// The Insert menu's commands. Only the line kinds the worker above builds
// have a handler: the others stay disabled until it builds them.
std::span<const KViewCommandHandler> InsertCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kInsertTextLine, kInsertTextLine, [](CStavlinView& v, UINT) { v.InsertLineOfType(kTextType, 0); }},
      {kInsertChord, kInsertChord, [](CStavlinView& v, UINT) { v.OnInsertChord(); }},
      {kInsertExtendedFirst, kInsertTextString,
       [](CStavlinView& v, UINT id) { v.OnInsertExtendedObject(id); }},
      {kInsertPreviousFirst, kInsertPreviousLast,
       [](CStavlinView& v, UINT id) { v.OnInsertPreviousObject(id); }},
  };
  return kHandlers;
}
