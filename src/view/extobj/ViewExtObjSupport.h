#pragma once
// What the extended-object code of the view shares: where an attached object
// of a display line stands on the page (the same x and top its line draws it
// with), the undo step and the redraw hint of an object change, and the
// caret's pixel point that starts a placement.

#include "platform/Geometry.h"

class CDC;
class CStavlinView;
class KExtendedObj;
class KLineObj;

namespace extobj {

// The Insert/Extended Object commands.
inline constexpr unsigned kDownCurve = 41088;
inline constexpr unsigned kUpCurve = 41089;
inline constexpr unsigned kTriplet = 41090;
inline constexpr unsigned kCrescendo = 41091;
inline constexpr unsigned kDecrescendo = 41092;
inline constexpr unsigned kBracket = 41093;
inline constexpr unsigned kVLine = 41094;
inline constexpr unsigned kTextString = 41095;

// Undo step kinds the object edits record.
inline constexpr int kUndoLine = 0;
inline constexpr int kUndoGroup = 1;
inline constexpr int kUndoLineToEnd = 6;

// The size index the display line draws its objects at (text lines always
// draw theirs at the normal size).
int DrawSize(const CStavlinView& view, int displayLine);

// The y the display line hands its objects: its top, plus the space above
// on staff and tablature lines.
int DrawTop(const CStavlinView& view, int displayLine);

// The x the display line hands the object: its column's x on the page.
int ObjectX(const CStavlinView& view, int displayLine, const KExtendedObj& object);

// The rectangle the object covers on the page.
CRect ScreenRect(const CStavlinView& view, int displayLine, KExtendedObj& object);

// The two end handles of a tie, slur or line/V on the page; false for kinds
// without handles.
bool HandleRects(const CStavlinView& view, int displayLine, KExtendedObj& object, CRect& first,
                 CRect& second);

// The object under the page point on the display line, or null.
KExtendedObj* FindObjectAt(const CStavlinView& view, int displayLine, POINT point);

// Records the undo step of an edit of the display line's objects: its line
// group, or the line alone.
void RecordObjectUndo(CStavlinView& view, int displayLine);

// The redraw hint of an object change on the display line.
int ObjectHint(int displayLine);

// Sends the object hint to every view without marking the document modified.
void RedrawObjectLine(CStavlinView& view, int displayLine);

// The caret's x on the current line (no content-left edge): rhythm lines
// their column x, text lines the x of their caret column, other lines the
// column times the column width plus half a column.
int CaretColumnX(const CStavlinView& view);

// The caret's point on the page, where a placement starts.
POINT PlacementStart(const CStavlinView& view);

// Repaints a page rectangle grown by a few pixels (tracker frames and
// handles are drawn just outside the object).
void InvalidatePage(CStavlinView& view, const RECT& page);

// After a tuplet bracket is attached over the display line's columns: the
// beams of the bars it spans are grouped again by beats in the line's new
// time (with automatic beaming off, the tuplet's own notes are joined), on
// the line and on the note lines of its group that took a copy of it.
void RegroupTupletBeams(CStavlinView& view, int displayLine, const KExtendedObj& tuplet);

// The measuring device context of the view's window (null without one).
CDC* MeasureDC(const CStavlinView& view);

}  // namespace extobj
