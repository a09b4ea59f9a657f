#pragma once
// The contents of a Standard MIDI File as the program handles it: the header's
// format and time division, and per track its short events (delta times, one
// event per byte of a System Exclusive message) and its meta events. Short
// events' delta times count between short events only. A meta event sits
// before the short event of index `before`, `offset` ticks after the short
// event before it (or the track's start); the offsets of the metas at one
// place do not decrease.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MidiOutPort.h"

struct MidiMetaEvent {
  std::uint32_t before = 0;  // index of the short event it precedes
  std::uint32_t offset = 0;  // ticks after the previous short event
  BYTE type = 0;
  std::vector<BYTE> data;
};

struct MidiFileTrack {
  std::vector<MidiShortEvent> events;
  std::vector<MidiMetaEvent> metas;  // in file order
};

struct MidiFileContent {
  std::uint16_t format = 1;
  std::uint16_t division = 480;  // ticks per quarter note (or SMPTE, high bit set)
  std::vector<MidiFileTrack> tracks;
  // What the reader left out of a file it read, one note per part, each
  // naming its track ("track 2: ..."); empty when it took everything.
  std::vector<std::string> warnings;
};

// Status byte and data byte of the events of a System Exclusive message.
inline constexpr BYTE kMidiSysExStatus = 0xF0;
inline constexpr BYTE kMidiSysExEnd = 0xF7;
// The time division of the files the program writes: its events count 480
// ticks per quarter note.
inline constexpr std::uint16_t kMidiWriteDivision = 480;
// The largest delta time a file can hold (four bytes of seven bits).
inline constexpr std::uint32_t kMidiMaxDelta = 0x0FFFFFFFu;
