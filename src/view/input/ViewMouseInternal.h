#pragma once
// What the mouse handlers of the view (ViewMouse*.cpp) share: the hit test
// of a page y against the visible display lines, the column under a press,
// the caret spot under a release, the toolbox symbol entry of a click and the
// two clicks of the play range.

#include "platform/Geometry.h"
#include "platform/WinTypes.h"

class CStavlinView;

namespace viewmouse {

// The message shown when a click or scroll finds no shown line.
inline constexpr UINT kNoLinesMessage = 7041;
// A press that hit no visible display line.
inline constexpr int kNoHit = 32000;

// A window point in page (logical) coordinates.
POINT ToPage(const CStavlinView& view, POINT client);

// The display line whose top and bottom enclose the page y (both
// inclusive), or the text line below a tablature line when the y lies far
// below the strings (BelowTheStrings); `none` when no line does.
int HitDisplayLine(const CStavlinView& view, int y, int none);
// Whether page y on a tablature display line lies so far below its lowest
// string that the click belongs to the text line of its group below it.
bool BelowTheStrings(const CStavlinView& view, int displayLine, int y);

// The column under page x on the display line as a press anchors it, and the
// column's page x.
struct PressColumn {
  int column = 0;
  int x = 0;
};
PressColumn ColumnForPress(CStavlinView& view, int displayLine, int x);

// The caret column and row under a page point on the display line, as a
// release places the caret (the row is kept on lines without rows).
struct CaretSpot {
  int column = 0;
  int row = 0;
  int yOffset = 0;  // the caret's top below the line's top
};
CaretSpot CaretSpotAt(CStavlinView& view, int displayLine, int x, int y);

// The character that types the symbol code on a line of the family; 0 when
// no key enters it.
int KeyOfSymbol(const CStavlinView& view, int code, int family);

// A palette symbol whose key is pressed twice (the second press of a
// doubled key turns the first symbol into its pair).
bool IsDoubledKey(int code);

// One keystroke on behalf of a toolbox: OnChar knows it is not typed.
void TypeFromToolbox(CStavlinView& view, int key);

// Sets a program-wide or view int for the length of a scope and puts the
// old value back at its end.
class SavedInt {
 public:
  SavedInt(int& value, int during) : m_value(value), m_saved(value) { value = during; }
  ~SavedInt() { m_value = m_saved; }
  SavedInt(const SavedInt&) = delete;
  SavedInt& operator=(const SavedInt&) = delete;

 private:
  int& m_value;
  int m_saved;
};

// The toolbox's current symbol is entered at the caret as its keystrokes
// (one undo step); nothing when no symbol is chosen or the line takes none.
void EnterToolboxSymbol(CStavlinView& view);

// The play range's start or end click at the caret just placed; the caret
// goes back to where it was (saved). true when the click was one of them.
struct CaretState {
  int line = 0;
  int column = 0;
  int row = 0;
  int type = 0;
};
bool RecordPlayRangeClick(CStavlinView& view, const CaretState& saved);

}  // namespace viewmouse
