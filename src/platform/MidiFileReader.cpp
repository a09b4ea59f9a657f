#include "platform/MidiFileReader.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// A bounded cursor over the bytes of a file; every read says whether the
// bytes were there.
class ByteReader {
 public:
  ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  std::size_t Left() const { return m_bytes.size() - m_pos; }
  bool AtEnd() const { return m_pos >= m_bytes.size(); }

  bool Byte(std::uint8_t& value) {
    if (AtEnd()) return false;
    value = m_bytes[m_pos++];
    return true;
  }
  bool Peek(std::uint8_t& value) const {
    if (AtEnd()) return false;
    value = m_bytes[m_pos];
    return true;
  }
  bool BigEndian(int size, std::uint32_t& value) {
    if (Left() < static_cast<std::size_t>(size)) return false;
    value = 0;
    for (int i = 0; i < size; ++i) value = (value << 8) | m_bytes[m_pos++];
    return true;
  }
  // A variable-length quantity: at most four bytes of seven bits.
  bool Vlq(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b = 0;
      if (!Byte(b)) return false;
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool Take(std::size_t size, std::span<const std::uint8_t>& out) {
    if (Left() < size) return false;
    out = m_bytes.subspan(m_pos, size);
    m_pos += size;
    return true;
  }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_pos = 0;
};

// Number of data bytes after a channel status.
int DataBytes(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// The System Exclusive message being read: a message may come in packets, an
// 0xF0 packet followed by 0xF7 continuation packets, the last of which ends
// with 0xF7.
class SysExReader {
 public:
  SysExReader(MidiFileTrack& track, std::vector<std::string>& warnings, const std::string& where)
      : m_track(track), m_warnings(warnings), m_where(where) {}

  bool Open() const { return m_state != State::kNone; }

  // An 0xF0 packet: a new message, at the delta time carried so far.
  void Start(std::span<const std::uint8_t> data, std::uint64_t& pending) {
    Close();
    m_first = m_track.events.size();
    m_firstTime = pending;
    m_track.events.push_back(
        MidiShortEvent{static_cast<std::uint32_t>(pending), kMidiSysExStatus, kMidiSysExStatus, 0, 0});
    pending = 0;
    m_state = State::kReading;
    Take(data, pending);
  }

  // An 0xF7 packet while a message is open: its bytes continue the message.
  // Its delta time goes on to the event after the message (the bytes of one
  // message share one time).
  void Continue(std::span<const std::uint8_t> data, std::uint64_t& pending) { Take(data, pending); }

  // Ends an open message before another event or at the end of its track.
  void Close() {
    if (m_state == State::kReading) m_track.events.push_back(MidiShortEvent{0, kMidiSysExStatus, kMidiSysExEnd, 0, 0});
    m_state = State::kNone;
  }

 private:
  enum class State { kNone, kReading, kSkipping };

  void Take(std::span<const std::uint8_t> data, std::uint64_t& pending) {
    for (std::uint8_t b : data) {
      if (b == kMidiSysExEnd) {
        Close();
        return;
      }
      if (m_state == State::kSkipping) continue;
      if (b >= 0x80) {
        // A status byte inside the message: the message is left out (with a
        // note), the rest of the track is read on.
        m_track.events.resize(m_first);
        pending += m_firstTime;
        m_warnings.push_back(m_where + "a System Exclusive message holding a status byte was left out");
        m_state = State::kSkipping;
        continue;
      }
      m_track.events.push_back(MidiShortEvent{0, kMidiSysExStatus, b, 0, 0});
    }
  }

  MidiFileTrack& m_track;
  std::vector<std::string>& m_warnings;
  const std::string& m_where;
  State m_state = State::kNone;
  std::size_t m_first = 0;         // index of the open message's first event
  std::uint64_t m_firstTime = 0;   // its delta time
};

bool ParseTrack(std::span<const std::uint8_t> chunk, int index, MidiFileTrack& track,
                std::vector<std::string>& warnings, std::string& error) {
  ByteReader in(chunk);
  const std::string where = "track " + std::to_string(index + 1) + ": ";
  SysExReader sysex(track, warnings, where);
  std::uint8_t running = 0;
  std::uint64_t pending = 0;   // delta carried from skipped meta or escape events
  std::uint64_t absolute = 0;  // absolute time, kept below 0xFFFFFFFF
  while (!in.AtEnd()) {
    std::uint32_t delta = 0;
    if (!in.Vlq(delta)) {
      error = where + "bad or truncated delta time";
      return false;
    }
    absolute += delta;
    if (absolute >= 0xFFFFFFFFull) {
      error = where + "event times exceed the 32-bit range";
      return false;
    }
    pending += delta;
    std::uint8_t status = 0;
    if (!in.Peek(status)) {
      error = where + "event missing after its delta time";
      return false;
    }
    if (status >= 0x80) {
      in.Byte(status);
    } else if (running != 0) {
      status = running;
    } else {
      error = where + "data byte without a status";
      return false;
    }

    if (status == 0xF0 || status == 0xF7) {
      running = 0;
      std::uint32_t length = 0;
      std::span<const std::uint8_t> data;
      if (!in.Vlq(length) || !in.Take(length, data)) {
        error = where + "truncated System Exclusive message";
        return false;
      }
      if (status == 0xF0) {
        sysex.Start(data, pending);
      } else if (sysex.Open()) {
        sysex.Continue(data, pending);
      }
      // An 0xF7 packet outside a message holds escaped bytes: nothing the
      // program plays, skipped with its time carried on.
      continue;
    }
    // Any other event ends a message still waiting for its continuation.
    sysex.Close();

    if (status == 0xFF) {
      std::uint8_t type = 0;
      std::uint32_t length = 0;
      std::span<const std::uint8_t> data;
      if (!in.Byte(type) || !in.Vlq(length) || !in.Take(length, data)) {
        error = where + "truncated meta event";
        return false;
      }
      if (type == 0x2F) break;  // End of Track: anything after it is ignored
      MidiMetaEvent meta;
      meta.before = static_cast<std::uint32_t>(track.events.size());
      meta.offset = static_cast<std::uint32_t>(pending);
      meta.type = type;
      meta.data.assign(data.begin(), data.end());
      track.metas.push_back(std::move(meta));
      continue;
    }
    if (status > 0xF0) {
      error = where + "status byte not allowed in a file";
      return false;
    }
    running = status;
    std::uint8_t data[2] = {0, 0};
    for (int i = 0; i < DataBytes(status); ++i) {
      if (!in.Byte(data[i])) {
        error = where + "truncated channel message";
        return false;
      }
      if (data[i] >= 0x80) {
        error = where + "data byte out of range";
        return false;
      }
    }
    track.events.push_back(MidiShortEvent{static_cast<std::uint32_t>(pending), status, data[0], data[1], 0});
    pending = 0;
  }
  sysex.Close();
  return true;
}

}  // namespace

bool ParseMidiFile(std::span<const std::uint8_t> bytes, MidiFileContent& content, std::string& error) {
  ByteReader in(bytes);
  std::span<const std::uint8_t> id;
  std::uint32_t length = 0;
  if (!in.Take(4, id) || std::memcmp(id.data(), "MThd", 4) != 0) {
    error = "not a Standard MIDI File (no MThd header)";
    return false;
  }
  std::uint32_t format = 0, count = 0, division = 0;
  std::span<const std::uint8_t> header;
  if (!in.BigEndian(4, length) || length < 6 || !in.Take(length, header)) {
    error = "truncated MThd header";
    return false;
  }
  ByteReader head(header);
  head.BigEndian(2, format);
  head.BigEndian(2, count);
  head.BigEndian(2, division);
  if (format > 2) {
    error = "unknown MIDI file format " + std::to_string(format);
    return false;
  }
  if (format == 0 && count != 1) {
    error = "a format 0 file must hold exactly one track";
    return false;
  }
  if (division == 0) {
    error = "time division is 0";
    return false;
  }

  MidiFileContent result;
  result.format = static_cast<std::uint16_t>(format);
  result.division = static_cast<std::uint16_t>(division);
  while (result.tracks.size() < count) {
    std::span<const std::uint8_t> chunk;
    if (!in.Take(4, id) || !in.BigEndian(4, length) || !in.Take(length, chunk)) {
      error = "file ends before its " + std::to_string(count) + " tracks";
      return false;
    }
    if (std::memcmp(id.data(), "MTrk", 4) != 0) continue;  // unknown chunks are skipped
    MidiFileTrack track;
    if (!ParseTrack(chunk, static_cast<int>(result.tracks.size()), track, result.warnings, error)) return false;
    result.tracks.push_back(std::move(track));
  }
  content = std::move(result);
  return true;
}
