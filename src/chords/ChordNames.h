#pragma once
// Chord names and their roots: the grammar that the chord code shares, and
// the stepping of a root by semitones in either spelling mode.
//
// A chord name is a root letter A-G, an optional accidental ("#" or "b") and a
// quality, the rest of the name ("m7", "sus4", "/F#"). The root code is two
// characters: the letter and the accidental or a blank ("C ", "F#", "Bb"). An
// empty quality stands for the major chord and is written "(major)". Within
// the quality, a slash followed by a bass note (a letter A-G or a-g, optionally
// followed by "#" or "b") at its end names the bass.

#include "platform/CString.h"

// The 17 root codes in root-index order.
inline constexpr const char* kChordRootTable = "AbA A#BbB C C#DbD D#EbE F F#GbG G#";
inline constexpr int kChordRootCount = 17;
// The bass spellings, 12 two-character names from A (pitch 0).
inline constexpr const char* kSharpBassTable = "A A#B C C#D D#E F F#G G#";
inline constexpr const char* kFlatBassTable = "A BbB C DbD EbE F GbG Ab";
inline constexpr const char* kMajorQuality = "(major)";

// The root index (0..16) of a two-character root code, or -1.
int ChordRootIndex(const CString& code);
// The root code of an index (an empty text outside 0..16).
CString ChordRootCode(int index);
// Semitones above Ab of a root index (0..11), or -1 outside 0..16.
int ChordRootPitch(int index);

struct ChordNameParts {
  CString root;  // two characters
  int rootIndex = -1;
  CString quality;  // "(major)" for an empty quality
};

// Splits a name by the grammar; false (parts unchanged) when the name does not
// start with a root letter A-G.
bool SplitChordName(const CString& name, ChordNameParts& parts);
// The root (its letter alone for a natural) followed by the quality, or the
// root alone for "(major)".
CString JoinChordName(int rootIndex, const CString& quality);

// The root index after steps single steps (direction +1 up, -1 down). With
// chartSpelling each step is one semitone by the chart spelling's tables; else
// each step moves to the neighbouring root code (the name walk), counting a
// semitone only when the pitch changes. semitones receives the signed change.
int StepChordRoot(int rootIndex, int steps, int direction, bool chartSpelling, int& semitones);

// The quality with its slash bass moved from the old root to the new one: the
// bass keeps its interval to the root and is spelt with flats when the new
// root is. A quality without a slash bass comes back unchanged.
CString TransposeSlashBass(const CString& quality, int oldRootIndex, int newRootIndex);

// Splits a slash bass off the quality: base receives the quality before the
// slash ("(major)" when nothing stands before it) and bassPitch the bass's
// pitch class counted from Ab (as ChordRootPitch). False, with nothing
// changed, when the quality ends in no slash bass.
bool SplitSlashBass(const CString& quality, CString& base, int& bassPitch);
