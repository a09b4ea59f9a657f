#pragma once
// The program-wide settings of the chord dialogs: the preferences that start-up
// reads into them (the "Chords" and "Chords2" groups) and what the dialogs
// remember during a run.

#include "platform/CString.h"

struct KChordSettings {
  // The tuning the catalogue's shapes are written for.
  CString libraryTuning = "E A D G B E  323742475156";
  int libraryOff = 0;          // the selection dialog offers only the user's chords
  int libraryEveryTuning = 1;  // catalogue chords on every tuning, fitted to it
  int userTypesFirst = 0;      // the user's own chord types above the catalogue's
  int scanOnOpen = 1;          // an opened score is scanned for chords new to the dictionary
  int pictureMode = 0;         // variation pictures: 0 grids, 1 notes, 2 keyboards
  int auditionProgram = 25;    // General MIDI program of chord audition
  int playOnSelect = 1;        // a chosen variation sounds at once
  int strumDelay = 0;          // milliseconds between the strings of a strummed chord
  int chordInstrument = 25;    // program of a chord played with Ctrl held
  int frameChoice = 0;         // which diagram frame the selection dialog shows (0..3)
  int notesCellWidth = 60;     // width of a "Notes" cell of the variations picker
  // The chord designer's six remembered numbers (the "Chords2" value it writes):
  // two numbers of the display, the fret-position side preference (0 per
  // chord, 1 right, 2 left), the barre preference (0 per chord, 1 arcs, 2
  // bars), and the last fret-position-left and bars choices.
  int designer[6] = {1, 0, 0, 0, 0, 0};
};
extern KChordSettings g_chordSettings;

// Dictionary keys of removed chords that Insert/Chord still meets (name,
// variation label, tuning and "*", one after another).
extern CString g_pendingChordKeys;

void ResetChordSettings();
