// The view's one selection: a range of columns over consecutive display
// lines, shown inverted. UpdateSelection is the only code that changes it.
// The highlight is overlay state: the rectangle is kept here and painted by
// OnDraw; a change invalidates the old and the new rectangle.

#include <algorithm>

#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"

namespace {

// Selection modes with a meaning of their own.
constexpr int kModeRightLabel = 9;
constexpr int kModeLabel = 10;
constexpr int kModeLeft = 12;
constexpr int kModeRight = 13;
constexpr int kModeDrag = 14;
constexpr int kModeRightGroupLabel = 15;
constexpr int kModeGroupLabel = 16;
constexpr int kModeWrap = 17;
constexpr int kModeKeyExtend = 22;

// The clef area, and the room a key signature of 8 steps takes by size.
constexpr int kClefArea = 34;
constexpr int kKeyRoom[2] = {40, 56};

bool WholeLines(int mode) {
  return mode == kModeRightLabel || mode == kModeLabel || mode == kModeRightGroupLabel ||
         mode == kModeGroupLabel || mode == kModeWrap;
}

// Invalidates a page rectangle (in window coordinates).
void InvalidatePageRect(CStavlinView& view, const RECT& page) {
  if (view.m_host == nullptr || view.m_selHidden != 0) return;
  if (page.right <= page.left || page.bottom <= page.top) return;
  const POINT scroll = view.GetVirtualScrollPosition();
  RECT client{page.left - scroll.x, page.top - scroll.y, page.right - scroll.x, page.bottom - scroll.y};
  view.m_host->InvalidateRect(&client, TRUE);
}

// The pixel x of a column on a text or rhythm line from the line's start; -1
// for other lines.
int ColumnXOnTextOrRhythm(CStavlinView& view, int displayLine, int column) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (auto* text = dynamic_cast<KStrLine*>(line)) {
    return dc != nullptr ? text->GetXOfColumn(dc, view.m_textFonts, column) : 0;
  }
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
    return dc != nullptr ? rhythm->GetColumnX(dc, column, view.GetSizeIndex()) : 0;
  }
  return -1;
}

// The pixel range of the columns on the first line (keyboard and commands).
void PixelsFromColumns(CStavlinView& view, int displayLine) {
  const int left = viewgeom::LineLeftX(view, displayLine);
  const int first = ColumnXOnTextOrRhythm(view, displayLine, view.m_selFirstColumn);
  if (first >= 0) {
    view.m_selPixelLeft = first + left;
    view.m_selPixelRight = ColumnXOnTextOrRhythm(view, displayLine, view.m_selLastColumn) + left;
    return;
  }
  const int type = view.GetDisplayEntry(displayLine).type;
  const int width = viewgeom::ColumnWidth(view, type);
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list != nullptr && width > 0) {
    // A chord-line selection starts at the start of the diagram it meets.
    view.m_selFirstColumn =
        list->XToColumn(0, width * view.m_selFirstColumn, view.GetSizeIndex(), view.m_contentLeft, 2);
  }
  view.m_selPixelLeft = view.m_selFirstColumn * width + left;
  view.m_selPixelRight = view.m_selLastColumn * width + left;
}

// The lines of the first line's group become the selected lines.
void SelectGroupOfFirstLine(CStavlinView& view) {
  const KLineObj* line = view.GetDisplayLineObj(std::max(view.m_selFirstLine, 0));
  if (line == nullptr || line->GetGroupId() == KLineObj::kNoGroup || view.m_document == nullptr) return;
  const KLineGroup* group = view.m_document->FindLineGroup(line->GetGroupId());
  if (group == nullptr || group->GetSlotCount() <= 0) return;
  const int first = view.FindDisplayLine(group->GetSlotLineRef(0), 0);
  const int last = view.FindDisplayLine(group->GetSlotLineRef(group->GetSlotCount() - 1), std::max(first, 0));
  if (first >= 0) view.m_selFirstLine = first;
  if (last >= 0) view.m_selLastLine = last;
}

// Whole lines: the right end past the longest of the lines, and the columns
// over the whole length.
void WholeLinePixels(CStavlinView& view, int top, int bottom, int mode) {
  const int size = view.GetSizeIndex() != 0 ? 1 : 0;
  const int contentLeft = view.m_contentLeft;
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  bool anyNoteLine = false;
  bool anyChordLine = false;
  for (int i = top; i <= bottom; ++i) {
    const int family = viewgeom::FamilyAt(view, i);
    anyNoteLine = anyNoteLine || KLineObj::IsNoteFamily(family);
    anyChordLine = anyChordLine || family == KLineObj::kFamilyChord;
  }
  int longest = 0;
  int rightmost = 0;
  for (int i = top; i <= bottom; ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    if (line == nullptr) continue;
    const int family = line->GetFamily();
    const int length = line->GetLength();
    if (KLineObj::IsNoteFamily(family) || !anyNoteLine) longest = std::max(longest, length);
    const int indent = line->GetIndent();
    const int width = viewgeom::ColumnWidth(view, line->GetType());
    int end = 0;
    if (auto* text = dynamic_cast<KStrLine*>(line)) {
      end = (dc != nullptr ? text->GetXOfColumn(dc, view.m_textFonts, length) : 0) + indent + contentLeft;
    } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
      end = (dc != nullptr ? rhythm->GetColumnX(dc, length, size) : 0) + indent + contentLeft;
    } else if (KLineObj::IsNoteFamily(family)) {
      end = std::max(view.m_widest, indent + width * length + contentLeft);
      if (view.m_fixedStaffLength != 0) end = std::max(end, view.m_fixedStaffLength + contentLeft + 1);
      end += kClefArea + kKeyRoom[size] + contentLeft;
    } else {
      end = std::max(view.m_widest, indent + width * length + contentLeft);
    }
    rightmost = std::max(rightmost, end);
  }
  view.m_selPixelRight = rightmost + contentLeft;
  if (mode == kModeWrap) {
    const int firstLine = std::max(view.m_selFirstLine, 0);
    view.m_selPixelLeft = viewgeom::ColumnWidth(view, 0) * view.m_selFirstColumn +
                          viewgeom::LineLeftX(view, std::min(firstLine, view.GetDisplayLineCount() - 1));
  } else {
    view.m_selFirstColumn = 0;
    view.m_selAnchorColumn = 0;
    if (mode == kModeLabel || mode == kModeGroupLabel) {
      view.m_selPixelLeft = 0;
    } else {
      view.m_selPixelLeft = anyChordLine ? contentLeft : kClefArea + contentLeft;
    }
  }
  view.m_selLastColumn = longest + 1;
}

}  // namespace

void CStavlinView::UpdateSelection(int firstColumn, int lastColumn, int firstLine, int lastLine, int mode) {
  // The old highlight goes.
  if (SelectionRectShown()) InvalidatePageRect(*this, m_selRect);

  if (mode == kSelClear) {
    m_selFirstColumn = m_selLastColumn = 0;
    m_selAnchorColumn = 0;
    m_selPixelLeft = m_selPixelRight = 0;
    m_selFirstLine = m_selLastLine = -1;
    m_selRect = RECT{};
    m_selHidden = 1;
    return;
  }

  if (mode == kModeKeyExtend) {
    if (firstColumn != kKeep) {
      if (firstColumn > m_selFirstColumn) {
        m_selLastColumn = firstColumn;
      } else if (firstColumn == m_selFirstColumn) {
        m_selLastColumn = m_selFirstColumn;
      } else {
        m_selFirstColumn = firstColumn;
      }
    } else if (lastColumn != kKeep) {
      if (lastColumn > m_selLastColumn) {
        m_selLastColumn = lastColumn;
      } else if (lastColumn == m_selLastColumn) {
        m_selFirstColumn = m_selLastColumn;
      } else {
        m_selFirstColumn = lastColumn;
      }
    }
  } else {
    if (firstColumn != kKeep) m_selFirstColumn = firstColumn;
    if (lastColumn != kKeep) m_selLastColumn = lastColumn;
    if (firstLine != kKeep) m_selFirstLine = firstLine;
    if (lastLine != kKeep) m_selLastLine = lastLine;
  }
  m_selHidden = 0;

  if (m_lineCount <= 0) {
    m_selRect = RECT{};
    return;
  }
  if (mode == kModeRightGroupLabel || mode == kModeGroupLabel) SelectGroupOfFirstLine(*this);
  auto [top, bottom] = viewgeom::SelectedLines(*this);
  const int firstShown = std::clamp(m_selFirstLine, 0, m_lineCount - 1);

  if (WholeLines(mode)) {
    WholeLinePixels(*this, top, bottom, mode);
  } else if (mode == kModeLeft || mode == kModeRight) {
    if (dynamic_cast<KStrLine*>(GetDisplayLineObj(firstShown)) != nullptr) {
      PixelsFromColumns(*this, firstShown);
    } else {
      const int step = viewgeom::ColumnWidth(*this, m_display[static_cast<size_t>(firstShown)].type);
      const int delta = mode == kModeLeft ? -step : step;
      m_selPixelLeft += delta;
      m_selPixelRight += delta;
    }
  } else if (mode != kModeDrag) {
    PixelsFromColumns(*this, firstShown);
  }

  m_selRect = RECT{m_selPixelLeft, m_display[static_cast<size_t>(top)].top, m_selPixelRight,
                   m_display[static_cast<size_t>(bottom)].bottom};
  if (SelectionRectShown()) InvalidatePageRect(*this, m_selRect);
}
