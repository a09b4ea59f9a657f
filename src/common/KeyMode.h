#pragma once
// The mode of a piece, told by its final note. A key signature says only how
// many sharps or flats a piece has; the note a tune ends on (its final) says
// which of the seven modes of that signature it is in: a tune with one sharp
// that ends on G is in G major, one that ends on E in E minor, one that ends on
// A in A dorian. ABC key fields ("K:Ador") and the minor flag of a MIDI key
// signature are written from it.

#include <string>

struct KeyMode {
  std::string tonic;   // "A", "F#", "Bb"
  std::string suffix;  // "" (major), "m" (minor), "dor", "phr", "lyd", "mix", "loc"
  bool minor = false;  // aeolian: the MIDI key signature's minor flag
};

// keyCode: the score's key (number of accidentals * 2, + 1 for flats; 0..15).
// finalPitch: the MIDI note number of the piece's final (its lowest note of
// the last note column), or a negative number when it has none. A final that
// is not a note of the signature's scale, or none, gives the major key.
KeyMode KeyModeOfFinal(int keyCode, int finalPitch);

// The mode of a whole tune: one that begins and ends on the same note (its
// first and final pitches, lowest notes of the first and last note columns)
// is in the mode of that note; any other is named by its major key (a
// fragment that stops on another note says nothing of its mode). Negative
// pitches: no such note.
KeyMode KeyModeOfTune(int keyCode, int firstPitch, int finalPitch);
