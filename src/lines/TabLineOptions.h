#pragma once
// Tablature preferences that the tablature line reads. They stand here with
// their built-in values; the preference reader sets them at start-up (from the
// "TabOptions" and "StaffLines2" groups) and the tests restore them with
// ResetTabLineOptions.

// New lines whose tuning is neither the standard guitar tuning nor the default
// bass tuning draw their string names at the line start (flag 0x40000); 0 off.
extern int g_tabAltTuningNames;
// A 7- or 8-string line whose space below is less than this many pixels gets
// two string spacings more space below, at construction and on retuning, so
// that the extra strings do not run into the line underneath.
extern int g_tabWideSpaceLimit;
// The word "TAB" is drawn at the start of a tablature line unless the line
// carries flag 0x200; 0: never drawn.
extern int g_tabShowTabWord;
// The opaque box behind drawn string names is left out; 0: drawn.
extern int g_tabNoNameBoxes;

// Restores the built-in values above.
void ResetTabLineOptions();
