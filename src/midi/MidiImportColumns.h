#pragma once
// The column builder of MIDI import: one line's notes become note columns,
// rests fill the gaps, bar lines close each bar, and time and key signature
// changes follow at the bars where they fall due. Every column is appended at
// the next column position; its start tick and kind are recorded so that the
// lines of a score can afterwards be aligned by time.

#include <array>
#include <functional>
#include <vector>

#include "midi/MidiImportFile.h"
#include "midi/MidiImportNotes.h"

class KChord;
class KStaffLine;

namespace midiimport {

// Kinds of built columns in the order they stand at one tick.
enum class ColumnKind { kBar = 0, kTimeSignature = 1, kKey = 2, kGrace = 3, kMusic = 4 };

struct BuiltColumn {
  int tick = 0;
  ColumnKind kind = ColumnKind::kMusic;
  int length = 0;  // ticks the column sounds (music columns)
  KChord* column = nullptr;
};

struct ColumnBuildSettings {
  int resolution = 2;
  bool drums = false;
  // 1: one column per quantised start, as long as the time to the next
  // start; 2: a note still sounding when the next one starts keeps its length
  // beside a rest of the new voice. Both write a length that no one value
  // shows, or that runs over a bar line, as tied notes.
  int method = 1;
  // The notes carry quantised times (method 1 quantisation ran).
  bool quantised = true;
  std::vector<SignatureChange> timeSignatures;  // the first at tick 0
  std::vector<SignatureChange> keySignatures;
  int firstPosition = 2;
};

// Why a note of the file could not be written in the score.
enum class LostReason {
  // A column holds no more notes (with their signs).
  kColumnFull = 0,
  // Another note of the column stands on every staff position the note could
  // be written on.
  kNoPosition = 1,
  // At the resolution it falls on the same time as a note of the same key.
  kSameTimeAndKey = 2,
  kCount = 3
};

struct BuildResult {
  std::vector<BuiltColumn> columns;
  // Notes of the file that are not in the score, by reason.
  std::array<int, static_cast<size_t>(LostReason::kCount)> lost{};
  int shortNotes = 0;
  bool cancelled = false;
  // Method 2 met a column that would run past the end of its bar (the grid
  // of the resolution does not fit the bar); the build stopped, cancelled.
  bool overrun = false;
};

// Called now and then with the notes done and the notes in all; false stops
// the build.
using BuildProgress = std::function<bool(int done, int total)>;

// Builds the columns of the notes into line (a staff whose time signature
// column already stands at position 0).
BuildResult BuildColumns(const std::vector<ImportNote>& notes, const ColumnBuildSettings& settings,
                         KStaffLine& line, const BuildProgress& progress);

// The General MIDI percussion key's staff row and note-head style on a drum
// staff (keys outside 35..81 count as 37).
struct DrumPlace {
  int row = 17;
  int head = 3;
};
DrumPlace DrumMap(int key);

// Bar length in ticks of a MIDI file's time signature value (numerator *
// 1000 + denominator), at least a 64th.
int BarTicksOfSignature(int value);

}  // namespace midiimport
