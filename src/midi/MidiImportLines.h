#pragma once
// The lines of a MIDI import: one long staff line per chosen proposal (two
// for a keyboard pair), each headed by its time signature (and, on the first
// line, a metronome mark), its notes turned into columns by the import's
// method, and all of them aligned in time. The lines are not yet in a score:
// the document cuts them into systems (CStavlinDoc::BuildImportedLines).

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiImportAlign.h"
#include "midi/MidiImportColumns.h"
#include "midi/MidiImportFile.h"

class KStaffLine;

namespace midiimport {

// Line flags the import gives: the upper and the lower staff of a keyboard
// pair, and a staff to be turned into tablature afterwards.
inline constexpr unsigned kFlagPairedLower = 0x4;
inline constexpr unsigned kFlagPairedUpper = 0x200000;
inline constexpr unsigned kFlagToTablature = 0x20000;

// One source line and the kind of staff the document makes for it: 0 and 2
// treble, 1 and 3 bass, 4 drums.
struct ImportedLine {
  std::unique_ptr<KStaffLine> line;
  int kind = 0;
  int program = 1;
};

struct LineBuildOptions {
  // 1: quantise and find triplets before the columns are built.
  int quantiseMethod = 1;
  // 1 or 2: the column builder (the settings dialog's choice).
  int builderMethod = 1;
  int split = 59;
  SpaceOut spaceOut;
  // Most notes a line takes (the file's size bounds it).
  size_t noteCapacity = 1000000;
};

struct LineBuildResult {
  std::vector<ImportedLine> lines;
  int shortNotes = 0;
  // Notes of the file the lines could not hold, by reason (all lines).
  std::array<int, static_cast<size_t>(LostReason::kCount)> lost{};
  bool cancelled = false;
  // A line's columns would have run past a bar (method 2): cancelled too.
  bool overrun = false;
  // The note value of the first line's metronome mark (the denominator of its
  // opening time signature: 4 a quarter note, 8 an eighth...).
  int metronomeUnit = 4;
};

// Builds the lines of the rows marked for import (at most kMaxLines staff
// lines, a keyboard row counting two).
LineBuildResult BuildImportLines(const MidiImportFile& file, const std::vector<ImportTrackInfo>& rows,
                                 const LineBuildOptions& options, const BuildProgress& convertProgress,
                                 const BuildProgress& alignProgress);

// The notes left out, one line per reason ("3 notes: ..."); empty when
// every note was written.
std::string LostNotesText(const std::array<int, static_cast<size_t>(LostReason::kCount)>& lost);

// The metronome symbol code for a time signature's denominator.
int MetronomeCode(int denominator);
// The number written beside that symbol for a tempo in quarter notes a
// minute: the same speed counted in the symbol's note value (a 9/8 tune at
// 120 quarter notes a minute is marked eighth = 240).
int MetronomeNumber(int quarterTempo, int denominator);

}  // namespace midiimport
