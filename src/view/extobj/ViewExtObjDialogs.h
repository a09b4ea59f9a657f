#pragma once
// The three questions the extended-object code asks: the text of a text
// object (with its font, background and link), the number and direction of a
// tuplet bracket, and the style and text of a bracket. Each is one record
// that goes in with the starting values and comes back with the answer; the
// Ask functions run the dialog through the UI port and answer true on OK
// (the record is then filled) and false on Cancel (the record is unchanged).

#include "platform/CString.h"

// Staff Line Text (KDlgExtText).
struct KExtTextChoice {
  CString fontText;
  int fontPicked = 0;  // the user chose a font
  CString text;
  int background = -1;  // 0 transparent, 1 opaque
  CString link;
};

// Triplet / tuplet properties (KDlgTriplet).
struct KTripletChoice {
  CString text;
  int direction = -1;  // 0 down, 1 up
};

// Bracket style (KDlgPhraseLine).
struct KBracketChoice {
  CString fontText;
  int fontPicked = 0;
  int style = -1;       // 0..17: kind - 7
  int textChoice = -1;  // 0 none, 1 "1.", 2 "2.", 3 the custom text
  CString customText;
};

bool AskExtText(KExtTextChoice& choice);
bool AskTriplet(KTripletChoice& choice);
bool AskBracketStyle(KBracketChoice& choice);
