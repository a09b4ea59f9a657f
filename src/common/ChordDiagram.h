#pragma once
// Chord-diagram pictures: a fretboard diagram (grid of strings and frets with
// dots, barres, a base-fret number and an optional row of finger labels) and a
// small piano keyboard with the chord's notes marked, both composed from the
// program's bitmap pieces into a bitmap that the caller owns and has selected
// into a memory device context. Also the size measures of a diagram, which the
// chord-diagram line uses for its layout.
//
// What the pictures read of the shape text (positions from 0):
//   0       the first fret shown (0 or an empty text: the nut at the top)
//   1-6     one character per string: tens = strings a barre starting at this
//           string spans (2..8), units: 0 open, 1-4 a dot at that fret row,
//           5-8 a dot of the second kind at row - 4, 9 muted
//   15      five-string shapes of 20 or more characters: the fret at which the
//           short fifth string starts (blank: none)
//   16      "1": a finger-label row under the grid (with g_fingerRowOption)
//   20, 21  "1": barres on their fret / base fret in a left margin (see
//           ChordDiagramServices.h)
//   23, 24  string count and fret-row count digits (texts over 24 characters)
//   25      a number 0..63 of +4 row marks (more than 4 fret rows)
//   26-31   finger labels, each one of "0123456789:;<=>?@ABCDEFGHIJ"
//   32-34   "7", the seventh string's character, "1" for its +4 mark
//   36-38   "8", the eighth string's character, "1" for its +4 mark
//   40..    finger fields: bits 1-3 fret row, bits 4-6 string number (0:
//           ignored), bit 0 the dot kind
// All of it is untrusted: characters out of their range are left out.
//
// On the device path (ScaledDraw.h) everything is drawn from the print pieces
// at three times the size.

#include "platform/CDC.h"
#include "platform/CString.h"

// Fret rows of the shape: the row digit (position 24, default 4) or the
// highest row its finger fields reach, whichever is larger.
int GetShapeRowCount(const CString& shape);
// GetShapeRowCount - 4, plus 1 for a finger-label row that is shown.
int GetShapeExtraRows(const CString& shape);
// Width of the diagram in pixels: (n x 3 + 3) x 2 for n strings.
int GetDiagramStringCount(const CString& shape);
// Height of the diagram in pixels: 6 per fret row + 7, 7 more for a finger-label row.
int GetDiagramFretRows(const CString& shape);

// Draws the fretboard diagram of the shape into the bitmap selected in target.
// A blank diagram shows the grid and nut only (the chord-diagram line's
// "Blank" chords). A memory device context that cannot be made is reported
// once per run ("Glb-5".."Glb-9", "Glb-11") and abandons the picture.
void DrawChordDiagram(CDC* target, const CString& shape, bool blank = false);

// Draws the 91 x 36 keyboard picture of the shape's notes on the tuning into
// the bitmap selected in target: the notes that fall in the 25-semitone window
// holding most of them are marked, with the window's octave label.
void DrawChordKeyboard(CDC* target, const CString& shape, const CString& tuning);

// Size of the keyboard picture (screen pixels).
inline constexpr int kChordKeyboardWidth = 91;
inline constexpr int kChordKeyboardHeight = 36;

// What DrawChordDiagramBitmap draws.
enum class ChordImageKind { kDiagram = 0, kKeyboard = 1 };
enum class ChordImageResult { kDrawn, kNoMemoryDC, kNoBitmap };

// Makes the target a small image of the chord, compatible with dc: its
// fretboard diagram (blank: grid and nut only) or the keyboard picture of
// its notes on the tuning, sized to the picture and three times larger on
// the device path. The target's old image goes first; when the memory
// context or the bitmap cannot be made the target is left empty and the
// result says which.
ChordImageResult DrawChordDiagramBitmap(CDC* dc, CBitmap& target, const CString& shape, const CString& tuning,
                                        ChordImageKind kind, bool blank = false);
