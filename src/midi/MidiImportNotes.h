#pragma once
// The notes of one import line: note-on and note-off events paired into
// notes, their times quantised to the line's resolution grid (method 1),
// and groups of two or three notes that move in thirds of a value marked as
// triplets.

#include <array>
#include <vector>

#include "midi/MidiImportFile.h"

namespace midiimport {

// Grid and half grid by resolution index (1/8, 1/16, 1/32, 1/64).
inline constexpr std::array<int, 4> kGrid = {240, 120, 60, 30};
inline constexpr std::array<int, 4> kHalfGrid = {120, 60, 30, 15};

int RoundToGrid(int ticks, int resolution);

// Triplet marks: first and second of a two-note group, first, middle and
// last of a three-note group.
inline constexpr int kMarkPairFirst = -12000;
inline constexpr int kMarkPairSecond = -22000;
inline constexpr int kMarkFirst = -13000;
inline constexpr int kMarkMiddle = -23000;
inline constexpr int kMarkLast = -33000;

// A grace note: it takes no time of its own, and the note it leads to
// starts where it does.
inline constexpr int kMarkGrace = -50000;
// The longest a grace note sounds (a 32nd note).
inline constexpr int kGraceLongest = 60;

// 1 first, 2 middle, 3 last of a triplet group, 0 for any other mark.
int TripletPlace(int mark);
inline bool IsGrace(int mark) { return mark == kMarkGrace; }

struct ImportNote {
  int start = 0;
  int end = -1;  // -1: never released
  int qStart = 0;
  int qEnd = -1;
  int pitch = 0;  // MIDI note number after the octave shift
  int velocity = 0;
  int mark = 0;  // event ordinal, or a triplet mark
};

// Which notes of the channel a line takes.
struct NoteFilter {
  int channel = 0;
  int transpose = 0;  // +12, 0 or -12
  // 0 every note; 1 notes at or above split (upper staff); 2 notes below it.
  int part = 0;
  int split = 59;
};

// Pairs the track's note events of the filter's channel into notes in the
// order of their note-ons (a release ends the pitch's most recent note; one
// never released keeps end -1), at most capacity notes, then settles what
// one key cannot sound (SettleOverlaps).
std::vector<ImportNote> PairNotes(const std::vector<TimedEvent>& events, const NoteFilter& filter,
                                  size_t capacity);

// One key sounds one note at a time, as a player hears it: notes of a pitch
// that start together are one note, as long as the longest of them (so a
// note of no length beside a real one goes, unheard); a note struck again
// while it sounds ends where the new one begins. A note of no length on its
// own stays (the column builder writes it with the shortest value). The
// notes keep their order.
std::vector<ImportNote> SettleOverlaps(std::vector<ImportNote> notes);

// Grace notes: a run of one to four notes, each no longer than a 32nd note,
// each ending where the next starts, before a note at least twice as long as
// the run, where the run and that note together last a plain or dotted note
// value. The run's notes are marked kMarkGrace and take its start; the note they
// lead to starts there too (a player sounds grace notes on the beat and the
// note after them late). A run that follows a note as short as its own
// notes is part of a fast passage and is left alone.
void MarkGraces(std::vector<ImportNote>& notes);

// Method 1: quantised starts and ends, triplet groups marked, legato fill.
// barLength: the bar length in force at the start.
void QuantiseNotes(std::vector<ImportNote>& notes, int resolution, int barLength);

// Method 2: the notes keep their times as played; only triplet groups are
// marked, with their quantised starts and the lengths of their steps.
void MarkTriplets(std::vector<ImportNote>& notes, int resolution, int barLength);

// The triplet detector: 1 when the note at index starts a triplet group of
// notes (its steps' lengths in out), else 0 with the note's mark kept.
int DetectTriplet(int gap, std::vector<ImportNote>& notes, int index, int barLength, int resolution,
                  std::array<int, 3>& out);

}  // namespace midiimport
