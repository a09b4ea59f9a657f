#pragma once
// Pieces of the score view's painting (ViewDraw.cpp): the small marks drawn
// beside the lines, and the height over which a line draws its bar lines.

#include "platform/CDC.h"

class CStavlinView;

// The marks drawn beside the lines, drawn with lines in the current pen at
// their top-left corner (x, y). The mark pictures the view once blitted are
// not among the program's symbol pictures; these shapes take their place at
// the same sizes.
enum class KViewMark {
  kHiddenLines,     // lines not shown follow: a small downward chevron, 9 x 5
  kHiddenLine,      // this line is hidden but shown (show all): a small cross, 7 x 7
  kPlayRangeStart,  // the start of the marked play range: an opening bracket, 5 x 24
  kPlayRangeEnd,    // its end: a closing bracket, 5 x 24
};
void DrawViewMark(CDC* dc, KViewMark mark, int x, int y);

// The height over which display line i draws its bar lines: its own, or down
// to the line its bars join (a keyboard staff's lower staff, or the last line
// of its bracket that keeps bars aligned). ownHeight is the line's own.
int BarLineHeight(const CStavlinView& view, int i, int ownHeight);
