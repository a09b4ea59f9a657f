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

// Creates the fonts and the pen above (start-up); false when one could not
// be made (it then stays uncreated and its users fall back).
bool CreateSharedGdiObjects();
// Deletes the fonts and the pen above (each may be uncreated).
void DeleteSharedGdiObjects();
