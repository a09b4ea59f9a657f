#include "platform/MidiFileWriter.h"

#include <algorithm>
#include <cstdint>

namespace {

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int size) {
  for (int i = size - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutVlq(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && n < 4);
  while (n > 1) out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

// A delta time of any 32-bit size. One longer than a delta can hold is
// written as several: empty escape events (0xF7 of no bytes, which no player
// sends and readers pass over with their time) each take up the largest
// delta, and the item itself takes the rest.
// An escape event ends running status, so the next channel message writes
// its status again.
void PutDelta(std::vector<std::uint8_t>& out, std::uint32_t delta, BYTE& running) {
  for (; delta > kMidiMaxDelta; delta -= kMidiMaxDelta) {
    PutVlq(out, kMidiMaxDelta);
    out.push_back(kMidiSysExEnd);
    out.push_back(0);
    running = 0;
  }
  PutVlq(out, delta);
}

bool HasTwoDataBytes(BYTE status) {
  const BYTE kind = status & 0xF0;
  return kind != 0xC0 && kind != 0xD0;
}

std::vector<std::uint8_t> TrackBytes(const MidiFileTrack& track) {
  std::vector<std::uint8_t> out;
  BYTE running = 0;
  std::size_t meta = 0;
  // Writes the metas that come before short event index (whose delta is
  // limit; no limit after the last one) and returns the ticks they used up. A
  // meta placed later than the event is written at the event's time, so the
  // order of the items never changes. Metas after the last event keep their
  // times however far they lie.
  auto putMetasBefore = [&](std::size_t index, std::uint32_t limit) {
    std::uint32_t used = 0;
    for (; meta < track.metas.size() && track.metas[meta].before <= index; ++meta) {
      const MidiMetaEvent& m = track.metas[meta];
      const std::uint32_t at = std::max(used, std::min(m.offset, limit));
      PutDelta(out, at - used, running);
      used = at;
      out.push_back(0xFF);
      out.push_back(m.type);
      PutVlq(out, static_cast<std::uint32_t>(m.data.size()));
      out.insert(out.end(), m.data.begin(), m.data.end());
      running = 0;
    }
    return used;
  };
  const auto& events = track.events;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const MidiShortEvent& e = events[i];
    const std::uint32_t used = putMetasBefore(i, e.time);
    PutDelta(out, e.time - used, running);
    if (e.status == kMidiSysExStatus) {
      // The run from data1 0xF0 to 0xF7 becomes one message: 0xF0, its length,
      // then every byte after the 0xF0 including the closing 0xF7.
      std::size_t end = i + 1;
      while (end < events.size() && events[end].data1 != kMidiSysExEnd) ++end;
      out.push_back(kMidiSysExStatus);
      PutVlq(out, static_cast<std::uint32_t>(end - i));
      for (std::size_t k = i + 1; k <= end && k < events.size(); ++k) out.push_back(events[k].data1);
      i = end;
      running = 0;
      continue;
    }
    if (e.status != running) out.push_back(e.status);
    running = e.status;
    out.push_back(e.data1);
    if (HasTwoDataBytes(e.status)) out.push_back(e.data2);
  }
  putMetasBefore(events.size(), UINT32_MAX);
  for (std::uint8_t b : {0x00, 0xFF, 0x2F, 0x00}) out.push_back(b);  // End of Track
  return out;
}

}  // namespace

std::string CheckMidiEvents(std::span<const MidiShortEvent> events) {
  bool inSysEx = false;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const MidiShortEvent& e = events[i];
    const std::string where = "event " + std::to_string(i) + ": ";
    if (e.time == kMidiSendNow) return where + "the send-now time has no place in a MIDI file";
    if (inSysEx) {
      if (e.status != kMidiSysExStatus) return where + "System Exclusive message interrupted";
      if (e.time != 0) return where + "System Exclusive message spread over time";
      if (e.data1 == kMidiSysExEnd)
        inSysEx = false;
      else if (e.data1 >= 0x80)
        return where + "System Exclusive byte out of range";
      continue;
    }
    if (e.status == kMidiSysExStatus) {
      if (e.data1 != kMidiSysExStatus) return where + "System Exclusive message does not start with 0xF0";
      inSysEx = true;
      continue;
    }
    if (e.status < 0x80 || e.status > 0xEF) return where + "status byte not allowed in a MIDI file";
    if (e.data1 >= 0x80 || (HasTwoDataBytes(e.status) && e.data2 >= 0x80))
      return where + "data byte out of range";
  }
  if (inSysEx) return "System Exclusive message without its closing 0xF7";
  return {};
}

std::vector<std::uint8_t> MidiFileBytes(const MidiFileContent& content) {
  std::vector<std::uint8_t> out;
  const std::size_t count = content.tracks.size();
  const std::uint16_t format = (content.format == 0 && count > 1) ? 1 : content.format;
  for (char c : {'M', 'T', 'h', 'd'}) out.push_back(static_cast<std::uint8_t>(c));
  PutBigEndian(out, 6, 4);
  PutBigEndian(out, format, 2);
  PutBigEndian(out, static_cast<std::uint32_t>(count), 2);
  PutBigEndian(out, content.division, 2);
  for (const MidiFileTrack& track : content.tracks) {
    const std::vector<std::uint8_t> body = TrackBytes(track);
    for (char c : {'M', 'T', 'r', 'k'}) out.push_back(static_cast<std::uint8_t>(c));
    PutBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}
