#pragma once
// The twenty symbol toolbox kinds and the cells of their palettes: which code
// each cell holds, how large the cells and pictures are, and which cell lies
// under a point (with the two-cell arrow area cut into four triangles and
// the note-style cells cut into halves). Qt-free tables and pure functions.

#include <span>

#include "platform/Geometry.h"

namespace toolbox {

inline constexpr int kKindCount = 20;
// The kinds the program names.
inline constexpr int kSymbols = 0;
inline constexpr int kMiniSymbols = 1;
inline constexpr int kAlternate = 2;
inline constexpr int kAlternateTab = 3;
inline constexpr int kNoteStyles = 4;
inline constexpr int kCommonStaff = 5;
inline constexpr int kCommonTab = 6;
inline constexpr int kStaffGrace = 7;
inline constexpr int kTabGrace = 8;
inline constexpr int kDrums = 16;
inline constexpr int kFretboard = 17;
inline constexpr int kKeyboard = 18;
inline constexpr int kRhythm = 19;

// Cell codes: below 10000 a symbol, 10000..10999 the alternate form of a
// key's symbol, 11000..11015 the control cells.
inline constexpr int kAlternatePage = 10000;
inline constexpr int kNotUsed = 11000;
inline constexpr int kJoinTails = 11001;
inline constexpr int kArrowCursor = 11002;
inline constexpr int kMutualTranslation = 11003;
inline constexpr int kCaretLeft = 11004;
inline constexpr int kCaretRight = 11005;
inline constexpr int kCaretUp = 11006;
inline constexpr int kCaretDown = 11007;
inline constexpr int kFirstNoteStyle = 11008;  // styles 0..7 are 11008..11015
inline constexpr int kLastNoteStyle = 11015;
// "No code": the fretboard and keyboard have no cells; no cell is highlighted.
inline constexpr int kNoCode = 1000000;

// Line classes a box follows: tablature, and any other line.
inline constexpr int kClassTab = 2;
inline constexpr int kClassOther = 0;

struct KToolBoxKind {
  unsigned titleId;  // string id 8100 + kind
  int pictureId;     // resource id 5466 + kind
  int cellWidth;
  int cellHeight;
  int pictureWidth;  // pixels of the palette picture (the fretboard's varies)
  int pictureHeight;
  int first;  // index of the first cell in the cell table; -1 without cells
  int columns;
  int rows;
};

// The kind's table entry; kind must be 0..19.
const KToolBoxKind& KindInfo(int kind);
// The command that opens and closes the kind (41185 + kind).
unsigned CommandOfKind(int kind);
bool IsPalette(int kind);  // every kind but the fretboard and the keyboard
// Kinds 0..3, whose palettes hold the mode, arrow and style cells.
bool HasControlCells(int kind);

// The cells of a kind, row by row (empty for the fretboard and keyboard).
std::span<const int> CellsOf(int kind);
// The whole table of 448 codes.
std::span<const int> AllCells();

// The code under a point of the palette picture (x, y from its top-left),
// with the arrow triangles and the style halves of kinds 0..3; kNoCode for
// a point outside the cells and for the fretboard and keyboard.
int CellCodeAt(int kind, int x, int y);
// The rectangle of cell index (row by row) of the kind.
RECT CellRect(int kind, int index);
// The index of the first cell holding the code, -1 when none.
int FindCell(int kind, int code);
// The rectangle that shows note style 0..7 on kinds 0..3 (the upper half of
// one of the last four cells of row 3 for styles 0..3, the lower half for
// 4..7) and on kind 4 (cell s); empty on other kinds.
RECT NoteStyleRect(int kind, int style);
// The first cell of rows 1, 2 and 3 on kinds 0..3: the arrow-cursor,
// join-tails and mutual-translation cells.
RECT ModeRect(int kind, int row);

// The staff or tablature twin of a kind for a line class: kinds 2/3, 5/6
// and 7/8 swap when the caret moves between a tablature line and a staff
// (or any line that is not tablature); other kinds stay.
int TwinForClass(int kind, int lineClass);

}  // namespace toolbox
