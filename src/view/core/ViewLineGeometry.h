#pragma once
// Where the columns of a display line stand on the page, as the selection,
// the deletion of a region and the note commands all need it: the column
// width of a line type, the x of a line's column 0, and the range of
// selected display lines.

#include <utility>

class CStavlinView;

namespace viewgeom {

// The pixel width of one column of the line type at the view's symbol size:
// the view's measured width, else the family's width (note lines 18 / 22,
// chord lines 8 / 10, 0 for the others).
int ColumnWidth(const CStavlinView& view, int type);

// The page x of column 0 of the display line: the content left edge plus the
// line's indent, plus the clef and key of a note line.
int LineLeftX(const CStavlinView& view, int displayLine);

// The smaller and the larger of the two selected display lines, each limited
// to the last display line (and to 0).
std::pair<int, int> SelectedLines(const CStavlinView& view);

// The family of the display line's type.
int FamilyAt(const CStavlinView& view, int displayLine);

}  // namespace viewgeom
