#pragma once
// Chord-diagram line defaults that the preferences and the score own: the
// chord-name font text and the diagram size of new chord lines (and of loaded
// ones whose record carries none). They stand here with their built-in values
// so that the line classes can read them; the preference reader and the
// document set them (from the "ChordNameFont" and "Chords2" preferences and the
// score's own settings).

#include "platform/CString.h"

// Font text of chord names; its third number is the name colour.
extern CString g_defaultChordNameFontText;
// Diagram width and height in percent of the standard size, 25 to 1000.
extern int g_defaultDiagramWidthPct;
extern int g_defaultDiagramHeightPct;

// Restores the built-in values above (tests call it).
void ResetChordPicLineDefaults();
