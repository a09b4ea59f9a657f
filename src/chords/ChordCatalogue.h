#pragma once
// Reading the chord catalogue through the chord-name sources: finding a
// chord type in a root's chord block, its variations, and the shape of a
// slash chord (a chord over another bass note).

#include <vector>

#include "chords/ChordNameSources.h"
#include "platform/CString.h"

enum class LibraryLookup {
  kFound,            // the type is in the block
  kAbsent,           // the block ends without it
  kMissingType,      // a type string of the block is missing (a damaged library)
  kMissingSpelling,  // a type string's spelling string is missing
};

struct LibraryType {
  int id = 0;        // the type string's id
  CString text;      // the type string
  CString name;      // its type name
  CString spelling;  // its spelling string (when asked for)
};

// The first type string id of the block of a root index.
int LibraryBlockId(int rootIndex);
// The type name of a type string (characters 3..19 up to the first blank).
CString LibraryTypeName(const CString& typeString);
// The number of variations of a type string, and variation n (from 1).
int LibraryVariationCount(const CString& typeString);
CString LibraryVariation(const CString& typeString, int n);
// All its variations.
std::vector<CString> LibraryVariations(const CString& typeString);

// Walks the root's block (at most 500 type strings) for the type named
// quality (an alias is looked up under its catalogue type). With
// needSpelling, every type string passed must have its spelling string.
LibraryLookup FindLibraryType(KChordNameSources& sources, int rootIndex, const CString& quality,
                              LibraryType& out, bool needSpelling = false);

// The first of the shapes (written for the tuning) that can be played over
// the bass (a pitch class from Ab) on one of the three lowest strings, as the
// lowest note, within four fret rows; the strings below the bass are muted.
// The first shape unchanged when none can.
CString SlashChordShape(const std::vector<CString>& shapes, int bassPitch, const CString& tuning);
