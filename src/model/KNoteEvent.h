#pragma once
// The playback event that a note column makes for one of its notes, and what
// the column needs to know of its line to make it.

#include <functional>

#include "common/TuningCodec.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class KChord;

struct KNoteEvent {
  int pos = 0;        // the column's position
  BYTE status = 0;    // note-on status with its channel (0x90 + channel; 0x99 for drums)
  BYTE note = 0;      // MIDI note number
  BYTE velocity = 0;  // 0 for rests and other silent symbols
  int length = 0;     // ticks, 480 to the quarter note
  int voice = 0;      // 0 for odd codes (or durations), 1 for even ones
  bool tied = false;  // a tie stands at the note's step
};

struct KColumnPlayContext {
  int lineType = 0;
  // Tablature lines: the tuning and the semitone of each fret.
  CString tuning;
  FretMap fretMap = IdentityFretMap();
  // The columns before this one on the line: 1 is the nearest; null past the
  // first. Accidentals hold from an earlier column of the bar.
  std::function<const KChord*(int back)> earlierColumn;

  static FretMap IdentityFretMap() {
    FretMap map{};
    for (int k = 0; k < kFretMapSize; ++k) map[k] = k;
    return map;
  }
};
