#pragma once
// The pieces of the display-line layout (ViewLayout.cpp) that the relayout
// of one edited line (ViewLayoutIncremental.cpp) shares with the full walk.

#include "platform/Position.h"
#include "view/core/ViewLayoutCache.h"

class CDC;
class CStavlinView;
class KLineObj;

namespace view_layout {

// Fills entry `index` of the view's table for a shown line, its top below the
// entry above, advancing the walk; returns the line's right edge.
int LayOutLineAt(CStavlinView& view, KLineObj& line, POSITION position, CDC* dc, KLayoutWalk& walk,
                 int index);
// Whether the layout shows the line under the view's show flags.
bool IsShownLine(const CStavlinView& view, const KLineObj& line);
// The highest page in the table's page codes.
int HighestPageOf(const CStavlinView& view);
// The scroll width (from the widest right edge and the widest notation
// width) and height (from the last entry), handed to the window.
void SetScrollSizesFromTable(CStavlinView& view, int widestRight);

// The least widest notation width of a score without fixed-length lines: the
// default line length, held to a printed sheet at 100 % so that the staves
// of a new score fit the page they print on.
int DefaultWidest();
// The view settings and program-wide values the layout reads now.
KLayoutInputs CurrentLayoutInputs(const CStavlinView& view);

}  // namespace view_layout
