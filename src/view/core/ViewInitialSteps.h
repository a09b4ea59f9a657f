#pragma once
// The steps of the score view's first update that have a file of their own:
// the settings record turned into view state, the instrument table's repair,
// the text-font table and the placing of the child window. Used by
// ViewInitialUpdate.cpp; tests call them one by one.

class CStavlinView;

// Turns the view's copy of the score settings into its working state (symbol
// size, scrolling, autosave, labels, show flags, diagram sizes, Ad-Tab mode,
// tab digits and spacing, page layout, modes). Acquires the screen symbol set
// of the size.
void ApplySettingsToView(CStavlinView& view);

// Puts the default entries of the unlabelled line kinds back where a user
// label took their place (the label moves to the end of the table), parses
// the table into the view's instrument entries and drops repeated labels.
// The settings copy's instrument texts and count follow the result.
void RepairInstrumentTable(CStavlinView& view);

// Slot 0 of the text-font table from the score's default text font, slots 1
// to 40 and their use counts from the document.
void FillTextFontTable(CStavlinView& view);

// Places and sizes the child frame from the settings' window words, kept
// inside the main frame.
void PlaceChildWindow(CStavlinView& view);

// The view's fonts from the score's font texts: page number, text, chord
// name and rhythm fonts (empty ones take the program's), and the tablature
// font with its taller twin. A tablature font that cannot be created is
// reported (message 7008, "QV4-1" or "QV4-2") and replaced by the program's
// default tablature font, so the view always has one.
void CreateViewFonts(CStavlinView& view);

// Scores written before version 3608 kept the indentation of the text,
// chord and rhythm lines that opening puts into line groups as leading
// blanks and leading empty columns. Each such line of a group without an
// indent takes the group's indent in pixels instead: a text line loses the
// blanks that the indent now stands for, a chord line the empty columns
// (staff and tablature lines keep theirs). False when a text font could not
// be made (reported once, "QV4-39"); the lines converted so far stay.
bool ConvertOldIndentation(CStavlinView& view);
