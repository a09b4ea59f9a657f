// Where a click lands: the display line under a page y, the column a press
// anchors the selection at, and the caret column and row a release gives,
// by line family (staff rows by half staff spaces, tablature rows by string,
// rhythm, chord and text lines by their measured columns).

#include <algorithm>
#include <cmath>

#include "common/StaffGeometry.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/DocServices.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/input/ViewMouseInternal.h"

namespace viewmouse {

namespace {

// Per symbol size: the caret offset of text and rhythm lines. (The staff's
// own geometry is in common/StaffGeometry.h.)
constexpr int kTextOffset[2] = {1, 0};
// Staff rows: the rows a click reaches, and the row a percussion staff
// always takes.
constexpr int kFirstStaffRow = 1;
constexpr int kLastStaffRow = 36;
constexpr int kPercussionRow = 18;
// Tablature rows: the last row a click reaches.
constexpr int kLastTabRow = 9;

int SizeOf(const CStavlinView& view) { return view.GetSizeIndex() != 0 ? 1 : 0; }

CDC* MeasureDC(const CStavlinView& view) {
  return view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
}

}  // namespace

POINT ToPage(const CStavlinView& view, POINT client) {
  const POINT scroll = view.GetVirtualScrollPosition();
  return POINT{client.x + scroll.x, client.y + scroll.y};
}

int HitDisplayLine(const CStavlinView& view, int y, int none) {
  // Every line is looked at, not only those the window last counted as
  // visible: the scroll bar may have moved the window since.
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    const DisplayLine& entry = view.GetDisplayEntry(i);
    if (y >= entry.top && y <= entry.bottom) return BelowTheStrings(view, i, y) ? i + 1 : i;
  }
  return none;
}

bool BelowTheStrings(const CStavlinView& view, int displayLine, int y) {
  // A click under a tablature line's lowest string, further down than the
  // next string would lie, aims at the text line below it in the same group
  // (its lyrics): no fret is placed down there.
  if (displayLine + 1 >= view.GetDisplayLineCount()) return false;
  const DisplayLine& entry = view.GetDisplayEntry(displayLine);
  const DisplayLine& next = view.GetDisplayEntry(displayLine + 1);
  if (KLineObj::FamilyOf(entry.type) != KLineObj::kFamilyTab ||
      KLineObj::FamilyOf(next.type) != KLineObj::kFamilyText)
    return false;
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  const KLineObj* below = view.GetDisplayLineObj(displayLine + 1);
  const KListLine* tab = line != nullptr ? line->AsListLine() : nullptr;
  if (tab == nullptr || below == nullptr || line->GetGroupId() == KLineObj::kNoGroup ||
      below->GetGroupId() != line->GetGroupId())
    return false;
  const int size = SizeOf(view);
  const int spacing = view.m_tabSpacing[size];
  const int lowestString = entry.top + tab->GetSpaceAbove(size) + (tab->GetStringCount() - 1) * spacing;
  return y > lowestString + spacing;
}

PressColumn ColumnForPress(CStavlinView& view, int displayLine, int x) {
  PressColumn result;
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return result;
  const int size = SizeOf(view);
  const int left = viewgeom::LineLeftX(view, displayLine);
  CDC* dc = MeasureDC(view);
  if (auto* text = dynamic_cast<KStrLine*>(line)) {
    if (dc == nullptr) return PressColumn{0, left};
    result.column = std::max(text->GetColumnAtX(dc, view.m_textFonts, x - left, 0), 0);
    result.x = text->GetXOfColumn(dc, view.m_textFonts, result.column) + left;
  } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
    if (dc == nullptr) return PressColumn{0, left};
    result.column = std::max(rhythm->GetColumnAtX(dc, 2, x, size, view.m_contentLeft, 3), 0);
    result.x = rhythm->GetColumnX(dc, result.column, size) + left;
  } else if (const KListLine* list = line->AsListLine()) {
    result.column = std::max(list->XToColumn(2, x, size, view.m_contentLeft, 3), 0);
    result.x = viewgeom::ColumnWidth(view, line->GetType()) * result.column + left;
  } else {
    result.x = left;
  }
  return result;
}

CaretSpot CaretSpotAt(CStavlinView& view, int displayLine, int x, int y) {
  CaretSpot spot{view.m_caretColumn, view.m_caretRow, 0};
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return spot;
  const int size = SizeOf(view);
  const int type = view.GetDisplayEntry(displayLine).type;
  const int relx = std::max(x - viewgeom::LineLeftX(view, displayLine), 0);
  const int rely = y - view.GetDisplayEntry(displayLine).top;
  const int w = std::max(viewgeom::ColumnWidth(view, type), 1);
  KListLine* list = line->AsListLine();
  CDC* dc = MeasureDC(view);

  switch (KLineObj::FamilyOf(type)) {
    case KLineObj::kFamilyStaff: {
      const int above = list != nullptr ? list->GetSpaceAbove(size) : 0;
      spot.column = (w / 2 + relx) / w;
      if (type == KLineObj::kKindPercussion) {
        spot.row = kPercussionRow;
      } else {
        const double row = std::trunc(2.0 * (rely - above) / g_StaffLineSpacing[size] + g_StaffOriginRow);
        spot.row = static_cast<int>(std::clamp(row, double{kFirstStaffRow}, double{kLastStaffRow}));
      }
      spot.yOffset = above + (spot.row - g_StaffTopRow) * g_StaffStep[size];
      if (type == KLineObj::kKindPercussion) spot.yOffset -= g_PercussionRaise * g_StaffStep[size];
      break;
    }
    case KLineObj::kFamilyTab: {
      const int above = list != nullptr ? list->GetSpaceAbove(size) : 0;
      const double spacing = std::max(TabStringSpacing(size), 1);
      spot.column = (w / 2 + relx) / w;
      const double row = std::trunc((rely - above) / spacing + g_TabTopRow);
      spot.row = static_cast<int>(std::clamp(row, 0.0, double{kLastTabRow}));
      spot.yOffset = static_cast<int>(std::trunc(above + spacing * (spot.row - g_TabTopRow))) + 1;
      break;
    }
    case KLineObj::kFamilyRhythm:
      if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
        const int fontHeight = rhythm->GetFontHeight(size);
        if (dc != nullptr)
          spot.column =
              std::max(rhythm->GetColumnAtX(dc, 0, relx + fontHeight / 5, size, view.m_contentLeft, 3), 0);
        spot.yOffset = fontHeight * 20 / 25 - 12 + kTextOffset[size];
      }
      break;
    case KLineObj::kFamilyChord:
      if (list != nullptr)
        spot.column = std::max(list->XToColumn(0, w / 2 + relx, size, view.m_contentLeft, 3), 0);
      break;
    case KLineObj::kFamilyText:
      if (auto* text = dynamic_cast<KStrLine*>(line); text != nullptr && dc != nullptr)
        spot.column = std::max(text->GetColumnAtX(dc, view.m_textFonts, relx, 0), 0);
      spot.yOffset = kTextOffset[size];
      break;
    default:
      break;
  }
  // A click beyond the music of a staff or tablature line puts the caret
  // just after it, where the next note continues the music; the empty room
  // beyond is no place to write. (A line without music keeps the column
  // clicked.)
  if (list != nullptr && KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)) && list->GetLength() > 0)
    spot.column = std::min(spot.column, list->GetLength());
  return spot;
}

}  // namespace viewmouse
