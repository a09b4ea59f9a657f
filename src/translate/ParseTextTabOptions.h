#pragma once
// Preferences that the plain-text tablature reader reads. They stand here with
// their built-in values; the preference reader copies them in at start-up and
// tests restore them with ResetTextTabOptions.

// Which text-tab blocks are bass tablature, by string count: bit 0 six rows,
// bit 1 five rows, bit 2 four rows; a set bit means bass tab.
extern int g_textTabBassKinds;
// Five-row blocks that are not bass take the banjo tuning with the fifth
// string fingered (nonzero) or the plain five-string banjo tuning (0).
extern int g_textTabBanjoFingering;
// Nonzero: the text rows are deleted once their tablature line is inserted.
extern int g_textTabRemoveRows;

void ResetTextTabOptions();
