#pragma once
// The two chord-diagram display options that the preferences own. They stand
// here with their start values until the preferences' reader sets them at
// start-up.
//
// Option A: 0 = a diagram shows a barre on its fret when the shape asks for it
// (flag character 20), 2 = always, other values = never (the barre is marked
// above the grid). Option B: 0 = the base-fret number stands in a left margin
// when the shape asks for it (flag character 21), 2 = always, other values =
// never (the number stands right of the grid).
extern int g_diagramOptionA;
extern int g_diagramOptionB;

// Restores the start values (both 0).
void ResetChordDiagramServices();
