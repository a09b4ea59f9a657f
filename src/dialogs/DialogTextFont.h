#pragma once
// The Text Font... buttons of the text and bracket dialogs: the font text's
// escapement carries the text's colour, so the font dialog opens on the font
// with the escapement cleared and that colour as its colour; OK stores the
// chosen font with a positive height and the chosen colour in the escapement.

#include "platform/CString.h"

// Returns true when the font dialog was closed with OK (fontText changed);
// on Cancel fontText stays as it was.
bool ChooseTextFont(CString& fontText);
