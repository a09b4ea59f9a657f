#pragma once
// One performance of a score: what the sequencer makes and both sinks use.
// Every message carries its absolute tick (480 to the quarter note) and the
// track it belongs to; tempo and time-signature changes belong to the
// conductor (track -1). The MIDI file writer turns the ticks into delta times
// per track; live output turns them into microseconds through the tempo map.
// Caret cues say which column sounds from which tick on.

#include <cstdint>
#include <string>
#include <vector>

#include "common/NoteConversions.h"  // kTicksPerQuarter
#include "platform/WinTypes.h"

struct KPerfTrack {
  std::string name;  // the instrument's label (or the unlabelled kind's name)
  int program = 1;   // 1..128 General MIDI; 130 percussion
  int channel = 0;   // 0..15; 9 for percussion
};

struct KPerfEvent {
  enum class Kind : BYTE {
    kShort,          // a channel message: status, data1, data2
    kTempo,          // value: microseconds per quarter note
    kTimeSignature,  // data1: numerator, data2: the denominator's power of two
  };
  std::uint32_t tick = 0;
  int track = -1;  // index into KPerformance::tracks; -1 the conductor
  Kind kind = Kind::kShort;
  BYTE status = 0;
  BYTE data1 = 0;
  BYTE data2 = 0;
  std::uint32_t value = 0;
  int bpm = 0;  // a tempo change: quarter notes per minute

  bool IsNoteOff() const {
    return kind == Kind::kShort && ((status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0));
  }
  bool IsNoteOn() const { return kind == Kind::kShort && (status & 0xF0) == 0x90 && data2 != 0; }
};

// From this tick on, the column of the group sounds; the caret stands on the
// group's display line.
struct KPerfCue {
  std::uint32_t tick = 0;
  int group = 0;
  int displayLine = 0;
  int column = 0;
};

struct KPerformance {
  std::vector<KPerfTrack> tracks;
  // In time order; at one tick note-offs come first, note-ons last.
  std::vector<KPerfEvent> events;
  std::vector<KPerfCue> cues;
  int tempo = 120;            // quarter notes per minute at the start
  int numerator = 4;          // the time signature at the start
  int denominatorPower = 2;   // 2 = quarter notes
  int key = 0;                // key-signature index 0..15 at the start
  std::uint32_t endTick = 0;  // the last note has ended
  // The last column played and its display line (-1: nothing played).
  int lastLine = -1;
  int lastColumn = -1;
  // The build stopped early (too many instruments).
  bool cutShort = false;
};

// Microseconds per quarter note at a tempo (quarter notes per minute).
inline std::uint32_t TempoMicroseconds(int bpm) { return static_cast<std::uint32_t>(60000000 / bpm); }
