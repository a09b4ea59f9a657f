#pragma once
// The rhythm-line default that the preferences and the score own: the font
// text of new rhythm lines (the "RhythmFont" preference, or the score's own
// setting once a score is read). It stands here with its built-in value so
// that the line classes can read it; the preference reader and the document
// set it.

#include "platform/CString.h"

// Font text of new rhythm lines and of loaded ones whose record carries none.
extern CString g_defaultRhythmFontText;

// Restores the built-in value above (tests call it).
void ResetRhythmLineDefaults();
