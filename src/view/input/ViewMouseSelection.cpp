// Mouse moves as far as the selection and the hover hints need them: while
// the left button is held the selection follows the pointer, line by line
// and column by column; otherwise the pointer over a staff shows short
// ledger dashes at the column under it (overlay state, like the selection).

#include <algorithm>

#include "common/StaffGeometry.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"

namespace {

constexpr int kDragMode = 14;
constexpr int kHoverSlack = 3;
constexpr int kMaxMarks = 15;
constexpr int kStaffHeight[2] = {25, 33};
constexpr int kDashOffset[2] = {13, 14};

int SizeOf(const CStavlinView& view) { return view.GetSizeIndex() != 0 ? 1 : 0; }

// The page rectangle both dashes of a mark at height y cover, in window
// coordinates.
RECT MarkRect(const CStavlinView& view, int x, int y) {
  const POINT scroll = view.GetVirtualScrollPosition();
  const int right = x + kDashOffset[SizeOf(view)] + 4;
  return RECT{x + 1 - scroll.x, y - 1 - scroll.y, right - scroll.x, y + 2 - scroll.y};
}

void InvalidateMark(CStavlinView& view, int x, int y) {
  if (view.m_host == nullptr) return;
  const RECT r = MarkRect(view, x, y);
  view.m_host->InvalidateRect(&r, TRUE);
}

// The column under page x on a rhythm, chord or text line, and its page x.
std::pair<int, int> ColumnUnder(CStavlinView& view, int displayLine, int x) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  const int left = viewgeom::LineLeftX(view, displayLine);
  const int size = SizeOf(view);
  if (auto* text = dynamic_cast<KStrLine*>(line)) {
    if (dc == nullptr) return {0, left};
    const int column = std::max(text->GetColumnAtX(dc, view.m_textFonts, x - left, 0), 0);
    return {column, text->GetXOfColumn(dc, view.m_textFonts, column) + left};
  }
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
    if (dc == nullptr) return {0, left};
    const int column = std::max(rhythm->GetColumnAtX(dc, 2, x, size, view.m_contentLeft, 2), 0);
    return {column, rhythm->GetColumnX(dc, column, size) + left};
  }
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  const int width = viewgeom::ColumnWidth(view, view.GetDisplayEntry(displayLine).type);
  const int column = list != nullptr ? std::max(list->XToColumn(2, x, size, view.m_contentLeft, 2), 0) : 0;
  return {column, column * width + left};
}

// The drag moves the moving end of the line range one line.
void DragVertically(CStavlinView& view, int y, int previousY) {
  const RECT& r = view.m_selRect;
  int last = view.m_selLastLine;
  const int count = view.GetDisplayLineCount();
  const bool up = y < previousY;
  const bool down = y > previousY;
  const int top = std::min(view.m_selFirstLine, last);
  const int bottom = std::max(view.m_selFirstLine, last);
  if (y < r.top) {
    if (up && last > 0) --last;
  } else if (y > r.bottom) {
    if (down && last < count - 1) ++last;
  } else if (last != view.m_selFirstLine && top >= 0 && bottom < count) {
    const DisplayLine& topLine = view.GetDisplayEntry(top);
    const DisplayLine& bottomLine = view.GetDisplayEntry(bottom);
    // Moving back over the line at the moving end gives that line up.
    if (down && last == top && y >= topLine.top && y <= topLine.bottom) ++last;
    if (up && last == bottom && y >= bottomLine.top && y <= bottomLine.bottom) --last;
  }
  if (last != view.m_selLastLine) {
    view.UpdateSelection(CStavlinView::kKeep, CStavlinView::kKeep, CStavlinView::kKeep, last, kDragMode);
  }
}

// The drag moves one end of the column range.
void DragHorizontally(CStavlinView& view, int x, int previousX) {
  if (x == previousX || view.GetDisplayLineCount() <= 0) return;
  const bool right = x > previousX;
  const int line = std::clamp(view.m_selFirstLine, 0, view.GetDisplayLineCount() - 1);
  int first = view.m_selFirstColumn;
  int last = view.m_selLastColumn;
  if (KLineObj::IsNoteFamily(viewgeom::FamilyAt(view, line))) {
    const int w = viewgeom::ColumnWidth(view, view.GetDisplayEntry(line).type);
    if (x < view.m_selPixelLeft && !right) {
      first = std::max(first - 1, 0);
      view.m_selPixelLeft = std::max(view.m_selPixelLeft - w, 0);
    } else if (x > view.m_selPixelRight && right) {
      ++last;
      view.m_selPixelRight += w;
    } else if (!right && x < view.m_selPixelRight - w && last > first) {
      --last;
      view.m_selPixelRight -= w;
    } else if (right && x > view.m_selPixelLeft + w && last <= view.m_selAnchorColumn + 1 && first < last) {
      ++first;
      view.m_selPixelLeft += w;
    }
  } else {
    const auto [column, columnX] = ColumnUnder(view, line, x);
    const bool toLast = right ? column >= last : column > first;
    if (toLast) {
      last = column;
      view.m_selPixelRight = columnX;
    } else {
      first = column;
      view.m_selPixelLeft = columnX;
    }
  }
  view.UpdateSelection(first != view.m_selFirstColumn ? first : CStavlinView::kKeep,
                       last != view.m_selLastColumn ? last : CStavlinView::kKeep, CStavlinView::kKeep,
                       CStavlinView::kKeep, kDragMode);
}

// The hover over the staff under the pointer, when there is one.
void Hover(CStavlinView& view, POINT page) {
  const int size = SizeOf(view);
  for (int i = view.GetFirstVisible(); i <= view.GetLastVisible() && i < view.GetDisplayLineCount(); ++i) {
    const DisplayLine& entry = view.GetDisplayEntry(i);
    if (page.y < entry.top || page.y >= entry.bottom) continue;
    KLineObj* line = view.GetDisplayLineObj(i);
    const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr || line->GetFamily() != KLineObj::kFamilyStaff || i == view.GetCurrentLine()) break;
    const int left = viewgeom::LineLeftX(view, i);
    if (page.x < left) break;
    const int w = viewgeom::ColumnWidth(view, 0);
    const int column = (w / 2 + page.x - left) / w;
    view.ShowHoverLedgerMarks(left + column * w, i, column, entry.top + list->GetSpaceAbove(size), page.y);
    return;
  }
  view.ShowHoverLedgerMarks(-1, -1, 0, 0, 0);
}

}  // namespace

void CStavlinView::OnMouseMove(UINT nFlags, POINT point) {
  g_noModify = 0;
  const POINT scroll = GetVirtualScrollPosition();
  const POINT page{point.x + scroll.x, point.y + scroll.y};
  const POINT previous = m_mousePoints[0];
  if (m_leftButtonHeld == 0) {
    if (m_hoverOff != 0) {
      ShowHoverLedgerMarks(-1, -1, 0, 0, 0);
    } else if (previous.x - point.x < kHoverSlack && previous.y - point.y < kHoverSlack) {
      Hover(*this, page);
    }
  } else if (m_selFirstLine >= 0 && m_lineCount > 0) {
    DragVertically(*this, page.y, previous.y + scroll.y);
    DragHorizontally(*this, page.x, previous.x + scroll.x);
  }
  m_mousePoints[2] = m_mousePoints[1];
  m_mousePoints[1] = m_mousePoints[0];
  m_mousePoints[0] = point;
}

void CStavlinView::ShowHoverLedgerMarks(int x, int displayLine, int column, int staffTop, int y) {
  if (m_hoverCount > 0 && (x < 0 || x != m_hoverX)) {
    for (int i = 0; i < m_hoverCount; ++i) InvalidateMark(*this, m_hoverX, m_hoverY[static_cast<size_t>(i)]);
    m_hoverCount = 0;
    m_hoverX = -1;
  }
  if (x < 0) {
    m_hoverLine = -1;
    return;
  }
  m_hoverX = x;
  m_hoverLine = displayLine;
  const int size = m_sizeIndex != 0 ? 1 : 0;
  const int space = g_StaffLineSpacing[size];
  int wanted = 0;
  int firstY = 0;
  int step = 0;
  if (y < staffTop) {
    wanted = (staffTop - (y - space / 2)) / space;
    firstY = staffTop - 1 - space;
    step = -space;
  } else if (y > staffTop + kStaffHeight[size]) {
    wanted = ((y + space / 2) - kStaffHeight[size] - staffTop) / space;
    firstY = staffTop + kStaffHeight[size] - 2 + space;
    step = space;
  }
  wanted = std::clamp(wanted, 0, kMaxMarks);
  // Surplus marks go from the last one; missing ones are added.
  while (m_hoverCount > wanted) {
    --m_hoverCount;
    InvalidateMark(*this, m_hoverX, m_hoverY[static_cast<size_t>(m_hoverCount)]);
  }
  while (m_hoverCount < wanted) {
    const int markY = firstY + step * m_hoverCount;
    m_hoverY[static_cast<size_t>(m_hoverCount)] = markY;
    ++m_hoverCount;
    InvalidateMark(*this, m_hoverX, markY);
  }
  (void)column;
}
