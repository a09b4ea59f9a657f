#pragma once
// The rhythm letters: the single characters that enter rhythm-line symbols,
// the symbol codes they enter (with the style variants of the note values),
// the letter a symbol is written back as, and the staff/tablature note code
// each symbol stands for (and back).

#include "platform/CString.h"

// The 32 rhythm letters; the letter at index i enters code 200 + RhythmLetterOffset(i).
extern const char kRhythmLetters[33];
int RhythmLetterOffset(int index);
// The index of the letter among the rhythm letters, or -1.
int RhythmLetterIndex(int letter);
// The code a letter of offset d enters with the style (0..3): note values w, h, q
// step by 3 per style, the flagged values t, s, y, x by 4.
int RhythmCodeOfOffset(int d, int style);
// The rhythm letter that enters the code (style variants give their base
// letter); 0 when no letter enters it.
int RhythmLetterOfCode(int code);
// The beam count of a flagged symbol (223..238): 1 t, 2 s, 3 y, 4 x.
int RhythmBeamCount(int code);
bool IsFlaggedRhythmCode(int code);
// The staff/tablature note code a symbol 200..244 stands for; -1 for others.
int NoteCodeOfRhythmCode(int code);
// The rhythm symbol that stands for the note code in the style, or 32761 (a
// blank) for note codes no rhythm symbol stands for.
int RhythmCodeOfNoteCode(int noteCode, int style);
