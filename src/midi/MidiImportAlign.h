#pragma once
// Aligning the lines of a MIDI import: every column that stands at one time
// (one tick, one kind) takes one column position on all lines, so that notes
// sounding together stand above each other and the bar lines meet. A single
// line may instead be spaced out: empty columns after each bar line and
// after the longer notes give the eye room.

#include <vector>

#include "midi/MidiImportColumns.h"

namespace midiimport {

struct SpaceOut {
  bool on = false;
  int afterQuarter = 1;  // after a note of a quarter up to a half
  int afterHalf = 2;     // after a half note or longer
  int beforeBar = 1;
  int afterBar = 1;
};

// Gives the columns of every line positions from firstPosition on, in time
// order, shared by the columns of equal time and kind. Progress and
// cancelling as in the column builder; false when stopped.
bool AlignColumns(const std::vector<std::vector<BuiltColumn>*>& lines, int firstPosition,
                  const SpaceOut& spaceOut, const BuildProgress& progress);

}  // namespace midiimport
