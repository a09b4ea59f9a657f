#pragma once
// The drawing objects shared by every view: created by the application at
// start-up and deleted at exit, before the program's static objects go.

#include "platform/GdiObjects.h"

// Fonts of chord-name and rhythm lines when their own font cannot be created.
extern CFont g_FallbackFonts[2];
// Chord-diagram line drawing and the chord dialogs.
extern CFont g_DiagramFont;
// Line labels: drawing, label-width measuring, line-group indent.
extern CFont g_LabelFont;
// The view's drawing pen.
extern CPen g_SharedPen;

// The program's named fonts and pen, made at start-up after the main window:
// bold fixed-pitch Courier New of 14 and 17 pixels, Times New Roman of 13
// pixels bold italic and of 11 pixels italic, and a solid pen of the
// window's background colour.
extern CFont g_fontCourier[2];
extern CFont g_fontTimesBoldItalic;
extern CFont g_fontTimesItalic;
extern CPen g_penWindowColour;
// The window's background colour, in which g_penWindowColour draws.
inline constexpr COLORREF kWindowColour = RGB(255, 255, 255);

// Makes the named fonts and pen in that order. At the first that cannot be
// made, reports message 7008 with its place ("SVd-3" a Courier font, "SVd-4"
// the 13-pixel font, "SVd-5" the 11-pixel font, once per run for fonts;
// "SVd-11" the pen, once per run for pens) and returns false: start-up ends.
bool CreateNamedGdiObjects();
// Deletes them (each may be unmade).
void DeleteNamedGdiObjects();

// Creates the fallback, diagram and label fonts and the drawing pen;
// false when one could not be made (it then stays uncreated and its users
// fall back).
bool CreateSharedGdiObjects();
// Deletes the fonts and the pen above (each may be uncreated).
void DeleteSharedGdiObjects();
