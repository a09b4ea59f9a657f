#pragma once
// Program-wide translation and transposition settings that the tablature line
// reads while it writes plain text or transposes. They stand here with their
// built-in values; the preference reader sets them at start-up ("TextFiles"
// and the tablature options) and tests restore them with
// ResetTranslationServices.

// Detail of plain-text tablature: 0 basic symbols only, 1 familiar symbols,
// 2 every keyboard-equivalent character.
extern int g_textTabMode;
// Plain-text tablature writes the note values of up stems in a row above the
// strings (nonzero) and those of down stems in a row below them.
extern int g_rhythmAbove;
extern int g_rhythmBelow;
// A transposed tablature line gets its beam groups laid out again; 0 off.
extern int g_tabTransposeBeams;

// Restores the built-in values above.
void ResetTranslationServices();
