#pragma once
// Program-wide values that the preferences and the MIDI import own and that
// the note column reads. They stand here with their start values until those
// parts of the program exist; then they move to their owners and this file
// goes.

// Preference: the tablature string spacing at size index 0, in pixels (10 by
// default). Size index 1 uses 11/8 of it.
extern int g_tabStringSpacing;
// Raised by the MIDI import when it starts and never lowered in the run; from
// then on the dot no longer counts as a companion of a note head.
extern int g_midiImporting;

// The tablature string spacing of a symbol size index (0 normal, 1 large).
int TabStringSpacing(int sizeIndex);

// Restores the start values above (tests call it).
void ResetDocServices();
