#pragma once
// Standard MIDI Files written by hand for the import tests: each track is a
// list of raw items, a delta time followed by the bytes of the event exactly
// as they stand in the file (so running status is written by leaving the
// status byte out). The builder only adds the chunk headers, the variable
// length delta times and the end of track.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace smftest {

struct Item {
  std::uint32_t delta = 0;
  std::vector<std::uint8_t> bytes;
};

using Track = std::vector<Item>;

inline void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t buffer[5];
  int n = 0;
  buffer[n++] = static_cast<std::uint8_t>(value & 0x7F);
  while ((value >>= 7) != 0) buffer[n++] = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
  while (n > 0) out.push_back(buffer[--n]);
}

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline std::vector<std::uint8_t> Smf(int format, int division, const std::vector<Track>& tracks) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  out.push_back(0);
  out.push_back(static_cast<std::uint8_t>(format));
  out.push_back(static_cast<std::uint8_t>(tracks.size() >> 8));
  out.push_back(static_cast<std::uint8_t>(tracks.size()));
  out.push_back(static_cast<std::uint8_t>(division >> 8));
  out.push_back(static_cast<std::uint8_t>(division));
  for (const Track& track : tracks) {
    std::vector<std::uint8_t> body;
    for (const Item& item : track) {
      PutVarLen(body, item.delta);
      body.insert(body.end(), item.bytes.begin(), item.bytes.end());
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

// Items of common events.
inline Item On(std::uint32_t delta, int channel, int key, int velocity = 100) {
  return {delta,
          {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
           static_cast<std::uint8_t>(velocity)}};
}
inline Item Off(std::uint32_t delta, int channel, int key) {
  return {delta, {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(key), 64}};
}
// A running-status pair of data bytes (the status of the event before).
inline Item Data(std::uint32_t delta, int key, int velocity) {
  return {delta, {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(velocity)}};
}
inline Item Program(std::uint32_t delta, int channel, int program) {
  return {delta, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)}};
}
inline Item Meta(std::uint32_t delta, int type, std::vector<std::uint8_t> data) {
  Item item{delta, {0xFF, static_cast<std::uint8_t>(type)}};
  std::vector<std::uint8_t> length;
  PutVarLen(length, static_cast<std::uint32_t>(data.size()));
  item.bytes.insert(item.bytes.end(), length.begin(), length.end());
  item.bytes.insert(item.bytes.end(), data.begin(), data.end());
  return item;
}
inline Item Name(std::uint32_t delta, const std::string& name) {
  return Meta(delta, 3, std::vector<std::uint8_t>(name.begin(), name.end()));
}
inline Item Tempo(std::uint32_t delta, int bpm) {
  const std::uint32_t micros = 60000000u / static_cast<std::uint32_t>(bpm);
  return Meta(delta, 0x51,
              {static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
               static_cast<std::uint8_t>(micros)});
}
// numerator / 2^power
inline Item Time(std::uint32_t delta, int numerator, int power) {
  return Meta(delta, 0x58, {static_cast<std::uint8_t>(numerator), static_cast<std::uint8_t>(power), 24, 8});
}
inline Item Key(std::uint32_t delta, int sharps) {
  return Meta(delta, 0x59, {static_cast<std::uint8_t>(static_cast<std::int8_t>(sharps)), 0});
}

}  // namespace smftest
