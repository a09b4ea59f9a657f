#pragma once
// Turns content back into the bytes of a Standard MIDI File: header MThd, one
// MTrk chunk per track, running status for channel messages, each track ended
// by an End of Track meta event. Format 0 is written as format 1 when there is
// more than one track (format 0 holds exactly one).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/MidiFileData.h"

// Checks that events can be written as they are: a valid status (0x80..0xEF,
// or 0xF0 runs from data1 0xF0 to 0xF7, all at one time), data bytes below
// 0x80, no send-now time. Any other delta time can be written: one beyond the four bytes of a file's
// delta is spread over empty escape events. Returns an empty text when they
// can, else the reason.
std::string CheckMidiEvents(std::span<const MidiShortEvent> events);

// The file's bytes. Events must have passed CheckMidiEvents.
std::vector<std::uint8_t> MidiFileBytes(const MidiFileContent& content);
