#pragma once
// The chord library's strings (id and text), sorted by id. The table is
// generated at build time from the chord catalogue (resources/chords/
// catalogue.txt) by tools/chordgen; ChordLibrary.h is how the program reads it.

struct ChordLibraryString {
  int id;
  const char* text;
};

extern const ChordLibraryString kChordLibraryStrings[];
extern const int kChordLibraryStringCount;
