#pragma once
// Where the symbol cache keeps each picture: one table of bitmaps per family,
// set and code range, and the rule that turns a family and index into a table
// entry and a resource id. Every symbol that can be drawn has an entry of its
// own; no two symbols share one (fret digit 249 and flagged symbol 10000, which
// a packed layout of one array per family would put in the same place, have
// separate tables here).

#include <optional>
#include <string>

#include "platform/GdiObjects.h"

enum class SymbolSet { Screen, Print };

enum class SymbolTable {
  // Screen set.
  ScreenSymbols,         // family 0 by code 0..249: 13..111 small, 125..223 large, 224..249 fret digits
  ScreenFlagged,         // family 0 codes 10000..10223 by code - 10000 (112.. large)
  ScreenBarPieces,       // 5 groups of 16: kinds 0..7 small, then 0..7 large
  ScreenFlags,           // family 1 (12.. large)
  ScreenBracketHooks,    // family 2
  ScreenBraces,          // family 3: small, large
  ScreenClefs,           // family 4 (10.. large)
  ScreenRhythm,          // family 5
  ScreenHeadForms,       // family 6 (6.. large)
  ScreenKeyAccidentals,  // family 7
  ScreenChordFlats,      // family 8: normal, enlarged
  ScreenTimeFigures,     // family 9 (18.. large)
  ScreenStrokes,         // family 10 (4.. large)
  ScreenChordSharps,     // family 11: normal, enlarged
  ScreenWide,            // family 12: 0..19, then the second variant 20..39
  ScreenHeads,           // 16 note-head triples: sizes 0..7 small, then large
  ScreenDiagramFrames,   // the chord-diagram frame pieces
  // Print set.
  PrintSymbols,      // family 0 codes 0..111 by code (13..111 used)
  PrintFretSymbols,  // family 0 codes 224..249 by code - 224
  PrintFlagged,      // family 0 codes 10000..10111 by code - 10000
  PrintBarPieces,    // 5 groups of 8 kinds
  PrintFlags,
  PrintBracketHooks,
  PrintBraces,  // 0 for printers, 1 for device-resolution rendering
  PrintClefs,
  PrintRhythm,
  PrintHeadForms,
  PrintChordFlats,
  PrintTimeFigures,
  PrintStrokes,
  PrintChordSharps,
  PrintWide,   // 0..9, then the second variant 10..19
  PrintHeads,  // 8 triples
  PrintDiagramFrames,
  Count
};
inline constexpr int kSymbolTableCount = static_cast<int>(SymbolTable::Count);

// A picture's place: a table entry and the resource id it is loaded from, or
// (headSlot >= 0) one of the current head slots.
struct SymbolPlace {
  SymbolTable table = SymbolTable::Count;
  int entry = 0;
  int resourceId = 0;
  int headSlot = -1;
};

// Where the symbol of the family and index lives in the set; nothing for a
// symbol that the set does not draw. printerDC picks the brace picture of the
// print set (printers and device-resolution rendering have their own).
std::optional<SymbolPlace> FindSymbolPlace(int family, int index, SymbolSet set, bool printerDC);

int SymbolTableSize(SymbolTable table);
bool IsPrintTable(SymbolTable table);
// The bitmap of a table entry (entry within the table's size).
CBitmap& SymbolTableBitmap(SymbolTable table, int entry);
// Deletes entries first..last of the table.
void FreeSymbolTableEntries(SymbolTable table, int first, int last);
void FreeSymbolTable(SymbolTable table);

// Loads the entry from the resource id if it is empty: true when it holds a picture.
bool EnsureSymbolLoaded(SymbolTable table, int entry, int resourceId);

// The note-head triples: resource id of bitmap k (0 filled, 1 hollow, 2 whole)
// of screen triple t (0..7 small sizes, 8..15 large) or print triple t (0..7).
int ScreenHeadResourceId(int triple, int k);
int PrintHeadResourceId(int triple, int k);

// Shows message 7070 for a picture that could not be loaded, once per run:
// (%1-%2) = family as two characters and "S-" or "P-", index as two characters
// (empty from 100 on).
void ReportSymbolLoadFailure(int family, int index, SymbolSet set);
// Message 7070 with its two parts, once per run (the kind kOnceSymbolLoadFailed).
void ReportSymbolLoadFailure(const std::string& where, const std::string& what);
// n (0..99) as two characters, blank-padded; empty otherwise.
std::string TwoCharacterNumber(int n);
