#pragma once
// Reads a Standard MIDI File from its bytes. The input is untrusted: every
// length is checked against the bytes there are, and a malformed file gives a
// clear message and no content at all.
//
// Channel messages keep their status (running status is expanded); program
// change and channel pressure have data2 0. A System Exclusive message becomes
// a run of events with status 0xF0, from data1 0xF0 to data1 0xF7; a message
// divided into an 0xF0 packet and 0xF7 continuation packets is joined into one
// run (its bytes share the first packet's time), and one that holds a status
// byte is left out with a note in the content's warnings. Meta events
// other than End of Track are kept apart, each with its offset from the short
// event before it; their delta times are carried into the next short event, so
// every event keeps its absolute time. "Escape"
// events (0xF7) are skipped the same way.

#include <cstdint>
#include <span>
#include <string>

#include "platform/MidiFileData.h"

// The largest MIDI file read. Real files, even long orchestral ones, are a
// few megabytes; what is larger is refused by its size before it is read, so
// that its events never fill the memory.
inline constexpr std::size_t kMaxMidiFileBytes = 64u * 1024u * 1024u;

// Parses bytes into content. On failure returns false, leaves content as it was
// and puts the reason into error.
bool ParseMidiFile(std::span<const std::uint8_t> bytes, MidiFileContent& content, std::string& error);
