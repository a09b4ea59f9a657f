#pragma once
// Edit/Go To (ViewGoTo.cpp): the caret's place counted three ways, and the
// move to a line or bar.

class CStavlinView;

struct KGoToPosition {
  int absoluteLine = 0;  // display line + 1
  int typeLine = 0;      // lines of the caret line's type up to it
  int scoreLine = 0;     // the same, a line group counted once
  int absoluteBar = 0;   // bars up to the caret over every staff and tablature line
  int typeBar = 0;
  int scoreBar = 0;
  int type = 8;  // the caret line's type
};

inline constexpr unsigned kGoToNoSuchLine = 8177;
inline constexpr unsigned kGoToNoSuchBar = 8178;

KGoToPosition CountGoToPosition(CStavlinView& view);
// Moves the caret to line or bar `number`, counting lines of the type (8 all)
// and, with score set, a line group once. Asks before going to the last line
// when there is no such line; a missing bar is reported and nothing moves.
void GoToTarget(CStavlinView& view, int number, bool bar, int type, bool score);
void OnEditGoTo(CStavlinView& view);
