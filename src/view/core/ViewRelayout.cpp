// Where the window starts for a wanted scroll position (FindTopLine), and the
// relayout after a line kind was shown or hidden that keeps the caret's line
// where it was in the window (RelayoutKeepingCaretLine).

#include <algorithm>

#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kShowAll = 8;
constexpr DWORD kFlagHidden = 2;
constexpr int kLargeScroll = 28000;
constexpr int kTallLine = 250;
constexpr int kContentInset = 11;
constexpr int kTabCaretRow = 4;
constexpr int kStaffCaretRow = 18;

// Whether the line is shown by the view's current show flags.
bool WillBeShown(const CStavlinView& view, const KLineObj& line) {
  if (view.m_show[kShowAll] != 0) return true;
  const int type = line.GetType();
  if (type < 0 || type >= static_cast<int>(view.m_show.size()) || view.m_show[static_cast<size_t>(type)] == 0)
    return false;
  return line.TestFlags(kFlagHidden) == 0;
}

// The caret's x in the window's layout pixels on the line it stands on.
int CaretX(CStavlinView& view, KLineObj& line, CDC* dc) {
  int x = 0;
  if (auto* text = dynamic_cast<KStrLine*>(&line)) {
    x = text->GetXOfColumn(dc, view.m_textFonts, view.m_caretColumn);
  } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(&line)) {
    x = rhythm->GetColumnX(dc, view.m_caretColumn, view.m_sizeIndex);
  } else {
    const int type = line.GetType();
    if (type >= 0 && type < static_cast<int>(view.m_typeColumnWidth.size()))
      x = view.m_typeColumnWidth[static_cast<size_t>(type)] * view.m_caretColumn;
  }
  return x + view.m_contentOrigin;
}

// The origin of column 0 of the line (the caret's line).
int ContentOrigin(const CStavlinView& view, const KLineObj& line) {
  int origin = view.m_contentLeft + line.GetIndent();
  if (const KListLine* list = line.AsListLine(); list != nullptr && KLineObj::IsNoteFamily(line.GetFamily()))
    origin += list->GetLeadInWidth(view.m_sizeIndex);
  return origin;
}

// Puts the caret on the line at the column nearest to the pixel x.
void MoveCaretTo(CStavlinView& view, KLineObj& line, int x, CDC* dc) {
  view.m_currentType = line.GetType();
  view.m_currentFamily = line.GetFamily();
  view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? kTabCaretRow : kStaffCaretRow;
  view.m_contentOrigin = ContentOrigin(view, line);
  const int offset = x - view.m_contentOrigin;
  int column = 0;
  if (auto* text = dynamic_cast<KStrLine*>(&line)) {
    view.m_currentTextFont = text->GetFontIndex();
    column = text->GetColumnAtX(dc, view.m_textFonts, offset, 0);
  } else if (KListLine* list = line.AsListLine()) {
    view.m_keyAtCaret = list->GetKeySignatureAt(0);
    column = view.m_currentFamily == KLineObj::kFamilyRhythm
                 ? list->GetColumnAtX(dc, 0, offset, view.m_sizeIndex, 0, 3)
                 : list->XToColumn(0, offset, view.m_sizeIndex, 0, 0);
    column = std::min(column, line.GetLength());
  }
  view.m_caretColumn = std::max(column, 0);
}

}  // namespace

int CStavlinView::FindTopLine(int y) {
  if (m_lineCount <= 0) return 0;
  int tallest = 0;
  for (int i = 0; i < m_lineCount; ++i) {
    const DisplayLine& e = m_display[static_cast<size_t>(i)];
    tallest = std::max(tallest, e.bottom - e.top + 1);
  }
  const RECT client = m_host != nullptr ? m_host->GetClientRect() : RECT{};
  const int clientHeight = client.bottom - client.top;
  const int totalHeight = m_host != nullptr ? m_host->GetTotalSize().cy : m_scrollHeight;
  const int limit = std::max(0, totalHeight - clientHeight);
  const bool clamp = tallest < kTallLine && m_largeOffset == 0;
  if (clamp && y < kLargeScroll && y > limit) y = limit;
  y = std::max(y, 0);

  int i = 0;
  while (i < m_lineCount && m_display[static_cast<size_t>(i)].top < y) ++i;
  if (i == m_lineCount) {
    // Past the last line's top: the window starts at the last line.
    i = m_lineCount - 1;
  } else if (clamp && y < kLargeScroll && m_display[static_cast<size_t>(i)].top > limit) {
    i = std::max(i - 1, 0);
  }

  const int top = m_display[static_cast<size_t>(i)].top;
  int visible = 0;
  while (i + visible < m_lineCount &&
         m_display[static_cast<size_t>(i + visible)].bottom <= top + clientHeight)
    ++visible;
  m_firstVisible = i;
  m_visibleCount = visible;
  m_lastVisible = i + visible - 1;
  return top;
}

void CStavlinView::RelayoutKeepingCaretLine(int type) {
  (void)type;  // the show flag has been changed already; the flags tell what is shown now
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  const int oldIndex = m_currentLine;
  KLineObj* oldLine = GetDisplayLineObj(oldIndex);
  const POINT caret = m_host != nullptr ? m_host->Caret().GetPos() : POINT{};
  const POINT scroll = GetVirtualScrollPosition();
  const int oldCaretX = oldLine != nullptr ? CaretX(*this, *oldLine, dc) : m_contentOrigin;

  // The anchor: the caret's line while it stays shown, else the nearest line
  // above it that stays shown.
  POSITION anchor = nullptr;
  for (int i = std::min(oldIndex, m_lineCount - 1); i >= 0 && anchor == nullptr; --i) {
    const KLineObj* line = GetDisplayLineObj(i);
    if (line != nullptr && WillBeShown(*this, *line)) anchor = m_display[static_cast<size_t>(i)].line;
  }

  RebuildDisplayLines(0);
  MeasureLabelWidth();
  m_contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + kContentInset;

  if (m_lineCount == 0) {
    if (m_host != nullptr) m_host->Caret().SetPos(m_autoScroll != 0 ? m_autoScrollCaretX : 0, 0);
    m_currentLine = 0;
    return;
  }

  int index = anchor != nullptr ? FindDisplayLine(anchor, 0) : 0;
  int caretY = caret.y;
  if (index < 0) {
    index = 0;
    caretY = 0;
  }
  const int y = FindTopLine(m_display[static_cast<size_t>(index)].top - caretY);
  if (m_host != nullptr) m_host->InvalidateRect(nullptr, TRUE);
  SetVirtualScrollPosition(scroll.x, y);

  if (m_readOnly == 0 && index != oldIndex && KLineObj::IsNoteFamily(m_currentFamily) &&
      oldIndex < m_lineCount) {
    if (KLineObj* line = GetDisplayLineObj(oldIndex); line != nullptr && line->AsListLine() != nullptr)
      line->AsListLine()->MarkChanged();
  }

  m_currentLine = index;
  KLineObj* line = GetDisplayLineObj(index);
  if (line != nullptr) {
    if (line != oldLine) {
      MoveCaretTo(*this, *line, oldCaretX, dc);
    } else {
      m_contentOrigin = ContentOrigin(*this, *line);  // the label column may have changed
    }
  }
  PlaceCaret();
  g_viewMirrors.currentLine = m_currentLine;
  g_viewMirrors.caretColumn = m_caretColumn;
  g_viewMirrors.currentType = m_currentType;
  g_viewMirrors.currentPage = m_display[static_cast<size_t>(index)].extra[kPageCode] / 10;
}
