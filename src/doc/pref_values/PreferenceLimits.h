#pragma once
// The ranges of the preference values read from the settings file. The file
// is outside input: a value beyond its range (a damaged or hand-edited file,
// a number that was never meant) is put back to its built-in value before the
// program uses it, so that no window, count or size grows out of bounds.

// Puts every preference value outside its range back to its built-in value,
// and renews the program-wide copies made of them while reading.
void KeepPreferencesInRange();

struct KWindowPlacement;

// The window placed within a screen of that size: no larger than the screen,
// and with its top-left corner on it so that the whole window shows.
KWindowPlacement FitOnScreen(const KWindowPlacement& window, int screenWidth, int screenHeight);
