#pragma once
// Note values, dots, rests, bars and beats: how long each written symbol
// lasts, in ticks, 480 to the quarter note. The column (KChord), the line's
// time (KLineTime), playback, the ABC writer, MIDI import, live input,
// automatic beams and imported systems all read their lengths here, so that a
// value means the same wherever it is counted.
//
// Symbol codes: notes 0..12 (eighth, sixteenth, 32nd, 64th, quarter, half in
// pairs, even codes stems up, odd stems down; 12 the whole note), 13 a note
// head of no length (the single grace note), rests 14..20 (whole to 64th),
// the breve (the whole note's flagged symbol) 10012; the dots 36, 37 and the
// flagged dot 10036; the quarter and half heads 108..111 stand for the notes
// 8..11 beside shorter notes of their voice.

#include "common/NoteConversions.h"

// ---- Notes and rests ----

inline constexpr int kQuarterTicks = kTicksPerQuarter;
inline constexpr int kWholeNoteTicks = kTicksPerWhole;

// Ticks of the note codes 0..12, of the breve (10012) and of the rests
// 14..20; 0 for the note head of no length (13) and for other symbols.
int NoteCodeTicks(int code);
// Ticks of the flagged note symbols (10000 and 10010 a half, 10002 and 10008
// a quarter, 10012 the breve); 0 for every other code.
int FlaggedNoteTicks(int code);

inline constexpr int kFirstRestCode = 14;
inline constexpr int kLastRestCode = 20;
constexpr bool IsRestCode(int code) { return code >= kFirstRestCode && code <= kLastRestCode; }

// The note a quarter or half head (108..111) stands for (8..11); every other
// code as it is.
constexpr int NoteOfHead(int code) { return code >= 108 && code <= 111 ? code - 100 : code; }

// Ticks of a note as written: the notes 0..12, the breve and the heads
// 108..111 (as their notes); 0 for rests and every other code.
int WrittenNoteTicks(int code);

// A note head of no length (the single grace note) sounds this briefly.
inline constexpr int kGraceHeadTicks = 60;
// Ticks of a note or rest code as it sounds: its value, and the brief sound
// of a head of no length.
int SoundingTicks(int code);

// ---- Dots ----
//
// The one dot rule: a dot lengthens its note to a number of eighths of the
// plain length, 12 for the dot (36), 14 for the double dot (37), 15 for the
// triple dot (the flagged dot, 10036), whole ticks rounded down.

inline constexpr int kPlainEighths = 8;

// Eighths of a note's plain length that a dot symbol gives it; 0 for every
// code that is not a dot.
constexpr int DotEighths(int code) {
  switch (code) {
    case 36:
      return 12;
    case 37:
      return 14;
    case 10036:
      return 15;
    default:
      return 0;
  }
}

// The ticks of a note of `ticks` plain ticks with the dot symbol `dotCode`
// (no dot, or any code that is not a dot, leaves it plain).
constexpr long long DottedTicks(long long ticks, int dotCode) {
  const int eighths = DotEighths(dotCode);
  return eighths == 0 ? ticks : ticks * eighths / kPlainEighths;
}

// ---- Bars and beats ----

// The time signature a line has when none is known: 4/4.
inline constexpr int kDefaultBeats = 4;
inline constexpr int kDefaultBeatTicks = kQuarterTicks;

// The length of a bar of `beats` beats of `beatTicks` ticks; a whole note
// (4/4) when the signature is not known (either part 0 or less).
constexpr long long BarTicks(int beats, int beatTicks) {
  if (beats <= 0 || beatTicks <= 0) return static_cast<long long>(kDefaultBeats) * kDefaultBeatTicks;
  return static_cast<long long>(beats) * beatTicks;
}

// The beat by which the time signature's notes are beamed: a half in a time
// of halves, a dotted quarter in a time of eighths whose beats go in threes
// (3/8, 6/8, 9/8, 12/8), else a quarter.
constexpr int SignatureBeatTicks(int beats, int beatTicks) {
  if (beatTicks == 2 * kQuarterTicks) return 2 * kQuarterTicks;
  if (beatTicks == kQuarterTicks / 2 && beats % 3 == 0) return 3 * kQuarterTicks / 2;
  return kQuarterTicks;
}

// The beat of the automatic beaming modes: 1 the time signature's beat, 2 an
// eighth, 3 a dotted eighth, 4 a quarter, 5 a dotted quarter, 6 a half; 0
// (no automatic beaming) for every other mode.
constexpr int BeamBeatTicks(int mode, int beats, int beatTicks) {
  switch (mode) {
    case 1:
      return SignatureBeatTicks(beats, beatTicks);
    case 2:
      return kQuarterTicks / 2;
    case 3:
      return 3 * kQuarterTicks / 4;
    case 4:
      return kQuarterTicks;
    case 5:
      return 3 * kQuarterTicks / 2;
    case 6:
      return 2 * kQuarterTicks;
    default:
      return 0;
  }
}
