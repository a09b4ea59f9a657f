#pragma once
// Readers of the tuning string, the fret list carried at its end, and the
// counts held in chord shape strings. All are free functions without state;
// malformed text never fails: what cannot be read keeps the defaults.
//
// Tuning string (8-bit text, positions from 0):
//   0-11   six two-character string names, string 6 to string 1 (mostly the
//          lowest first): a letter A-G then blank, '#' or 'b'; a missing string
//          is two blanks, missing strings are blank from the left
//   12     blank (treble), '*' (bass) or a digit 1-9 that NormalizeTuningName
//          adds to the pitch of the first string to name it
//   13-24  six two-digit pitch numbers in the same order ("00" for none);
//          E of the lowest guitar string is 32, bass E is 20
//   25, 26 optional seventh and eighth string: one character whose code minus
//          20 (treble) or 40 (bass) is its pitch number
//   then   optionally "!@@!" and a fret list:
//          ""                 24 chromatic frets
//          1-4 characters     the number of frets ("20")
//          5-26 characters    up to 12 semitone values of frets 1, 2, ...
//          27 or more         the number of frets, then up to 12 semitone values
// Example: the guitar "E A D G B E  323742475156".

#include "platform/CString.h"

#include <array>

// Parsed pitches, indexed from the highest string: entry 0 is string 1
// (positions 10-11), entry 5 string 6 (positions 0-1), entries 6 and 7 the
// seventh and eighth strings.
inline constexpr int kMaxTuningStrings = 8;
using TuningPitches = std::array<int, kMaxTuningStrings>;
// Pitch value of a string the tuning does not have.
inline constexpr int kNoString = -9;

// Entry k: the semitone above the open string at fret k.
inline constexpr int kFretMapSize = 25;
using FretMap = std::array<int, kFretMapSize>;
using FretLabels = std::array<CString, kFretMapSize>;

// Flag bit of ParseTuningString: the tuning belongs to a bass line.
inline constexpr int kTuningFlagBass = 32;

// Fills the eight pitches of a tuning. Without a readable pitch field the
// pitches come from the layout of the names, corrected by the names given.
void ParseTuningString(const CString& tuning, int flags, TuningPitches& pitches);

// Number of strings, 2 to 8.
int GetTuningStringCount(const CString& tuning);

// The names of all strings, two characters each, lowest first (eighth and
// seventh string before the six). Returns the number of names.
int GetTuningNoteNames(const CString& tuning, CString& names);

// The tuning with the first string's name recomputed when position 12 holds a
// start-fret digit; otherwise the tuning unchanged.
CString NormalizeTuningName(const CString& tuning);

// The number of frets of the tuning's fret list (24 without one); fills the
// fret map when one is given.
int ParseFretList(const CString& tuning, FretMap* map);

// The label of each fret. Returns 1 when a half-fret label set was chosen
// (g_HalfFretLabels on and a known diatonic fret list), 0 for plain numbers.
int GetFretLabels(const CString& tuning, FretLabels& labels);

// The fret whose map value equals the semitone, or -1; on -1 sounds the
// asterisk message beep when beep is set.
int FindFretIndex(const FretMap& map, int semitone, bool beep);

// Number of strings of a chord shape string, 2 to 8.
int GetShapeStringCount(const CString& shape);

// Number of fret rows of a chord shape string, 4 to 7.
int GetShapeFretRows(const CString& shape);
