#pragma once
// A small hand-built Standard MIDI File shared by the MIDI file tests: one
// track named "Bass" with a program change, running status, a tempo meta event
// between two notes, a System Exclusive message and a controller.

#include <cstdint>
#include <vector>

namespace midi_test {

inline std::vector<std::uint8_t> WithHeader(std::uint16_t format, std::uint16_t tracks,
                                            const std::vector<std::vector<std::uint8_t>>& bodies,
                                            std::uint16_t division = 96) {
  std::vector<std::uint8_t> out = {'M',
                                   'T',
                                   'h',
                                   'd',
                                   0,
                                   0,
                                   0,
                                   6,
                                   0,
                                   static_cast<std::uint8_t>(format),
                                   static_cast<std::uint8_t>(tracks >> 8),
                                   static_cast<std::uint8_t>(tracks),
                                   static_cast<std::uint8_t>(division >> 8),
                                   static_cast<std::uint8_t>(division)};
  for (const auto& body : bodies) {
    const std::uint32_t n = static_cast<std::uint32_t>(body.size());
    out.insert(out.end(),
               {'M', 'T', 'r', 'k', static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

inline const std::vector<std::uint8_t> kBassTrack = {
    0x00, 0xFF, 0x03, 0x04, 'B',  'a',  's',  's',  // name
    0x00, 0xC0, 0x21,                               // program 33, one data byte
    0x10, 0x90, 0x3C, 0x64,                         // note on after 16 ticks
    0x08, 0x3E, 0x50,                               // running status
    0x05, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,       // tempo, 5 ticks later
    0x03, 0x80, 0x3C, 0x00,                         // note off 3 ticks after the tempo
    0x00, 0xF0, 0x03, 0x7E, 0x01, 0xF7,             // System Exclusive
    0x04, 0xB0, 0x07, 0x64,                         // controller
    0x00, 0xFF, 0x2F, 0x00,                         // End of Track
};

inline std::vector<std::uint8_t> BassFile() { return WithHeader(1, 1, {kBassTrack}); }

}  // namespace midi_test
