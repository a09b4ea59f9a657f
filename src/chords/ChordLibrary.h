#pragma once
// The chord-string library: the catalogue of standard chords (names, spellings
// and shapes for every root in standard tuning), fetched by string id.
//
// Ids and texts:
//   12020 + 1000 p   the first type string of the chord block of pitch class
//                    p (Ab 0, A 1, A#/Bb 2 ... G 11, G# 0). A type string holds
//                    at 0 a digit d (the block's next type string is this id +
//                    10 d; "0" ends the block), at 1 the spelling selector, at
//                    3..19 the type name (no blanks, padded), and from 20 on its
//                    variations: 7-character shapes, 8 characters apart. The
//                    first type of every block is the major chord, "(major)";
//                    a type has at most 22 variations.
//   11835 + c        for the selector character c: the spelling, 5-character
//                    interval fields (" R   3rd  5th  "); 11900 is the major
//                    chord's. For c = ' ', '#', 'b': the accidental's name.
//
// The catalogue is built into the program, so the library is always there.

#include "platform/CString.h"

inline constexpr int kChordBlockFirstId = 12020;
inline constexpr int kChordBlockStride = 1000;
inline constexpr int kChordSpellingBase = 11835;
inline constexpr int kChordMajorSpellingId = 11900;
// Strings are fetched into a buffer of this many characters.
inline constexpr int kChordLibraryBuffer = 200;

// 1 when the library is (now) loaded.
int LoadChordStringDll();

// The length of the string with the id (out set to it, cut at 200
// characters), or 0 when there is no such string (out unchanged).
int LoadChordDllString(int id, CString& out);
