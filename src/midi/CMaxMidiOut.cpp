#include "midi/CMaxMidiOut.h"

#include <algorithm>

#include "midi/CMaxMidiSync.h"
#include "platform/MidiScheduler.h"

namespace {
constexpr BYTE kAllNotesOff = 123;
// A put the device refused is tried again this much later.
constexpr std::int64_t kRetryUs = 1000;
// Events due this close after a wake go out in that wake.
constexpr std::int64_t kEarlyUs = 300;
// Without a sync: 120 quarters a minute, 480 ticks each.
constexpr std::int64_t kDefaultTempoUs = 500000;
constexpr std::int64_t kDefaultResolution = 480;
}  // namespace

CMaxMidiOut::~CMaxMidiOut() {
  m_alarm.reset();
  ForgetMidiPortEverywhere(this);
  Close();
  while (!m_entries.empty()) {
    MidiEventTrack* track = m_entries.front().track;
    m_entries.erase(m_entries.begin());
    track->SetOutput(nullptr);
  }
}

BOOL CMaxMidiOut::Open(int device, DWORD flags) {
  MidiDeviceSystem& devices = CurrentMidiDevices();
  // The mapper chosen by name is the mapper whatever number comes with it.
  if (!m_wantedName.empty() && m_wantedName == devices.MapperName()) device = kMapper;
  if (device == kMapper) {
    m_deviceName = devices.MapperName();
  } else {
    const std::vector<std::string> names = devices.OutputNames();
    const auto nameAt = [&names](int n) {
      return n >= 0 && n < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(n)]
                                                          : std::string();
    };
    if (!m_wantedName.empty() && nameAt(device) != m_wantedName) {
      const auto it = std::find(names.begin(), names.end(), m_wantedName);
      if (it == names.end()) {
        m_deviceName = m_wantedName;
        if (IsOpen()) return TRUE;
        m_lastError = "The MIDI output \"" + m_wantedName + "\" is not there now.";
        return FALSE;
      }
      device = static_cast<int>(it - names.begin());
    }
    if (device >= 0 && device < static_cast<int>(names.size())) m_deviceName = nameAt(device);
  }
  if (IsOpen()) return TRUE;
  m_flags = flags;
  m_device = device;
  m_lost = false;
  m_connection = device == kMapper ? devices.OpenMapper() : devices.OpenOutput(device);
  m_lastError.clear();
  if (!m_connection) {
    const std::string why = devices.LastError();
    m_lastError =
        "The MIDI output \"" + m_deviceName + "\" could not be opened" + (why.empty() ? "." : ": " + why);
  }
  m_sysEx.clear();
  return IsOpen() ? TRUE : FALSE;
}

void CMaxMidiOut::NoteLost() {
  m_lost = true;
  m_lastError = "The MIDI output \"" + m_deviceName + "\" is no longer there.";
  // Nothing can be sent to a port that has gone, not even a reset.
  m_connection.reset();
  m_sysEx.clear();
}

BOOL CMaxMidiOut::Put(const MidiShortEvent& event) {
  if (!IsOpen()) return TRUE;
  const BYTE status = event.status;
  bool sent = false;
  if (status == 0xF0) {
    if (event.data1 == 0xF0) m_sysEx.clear();
    m_sysEx.push_back(event.data1);
    if (event.data1 != 0xF7) return TRUE;
    sent = m_sysEx.front() == 0xF0 && m_connection->Send(m_sysEx);
    m_sysEx.clear();
  } else {
    if (status < 0x80 || status > 0xEF) return FALSE;
    std::vector<std::uint8_t> message{status, static_cast<std::uint8_t>(event.data1 & 0x7F)};
    const BYTE kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0) message.push_back(static_cast<std::uint8_t>(event.data2 & 0x7F));
    sent = m_connection->Send(message);
  }
  if (!sent && m_connection->Lost()) NoteLost();
  return sent ? TRUE : FALSE;
}

void CMaxMidiOut::Reset() {
  if (!IsOpen()) return;
  for (BYTE channel = 0; channel < 16; ++channel) {
    if (!m_connection->Send({static_cast<std::uint8_t>(0xB0 | channel), kAllNotesOff, 0}) &&
        m_connection->Lost()) {
      NoteLost();
      return;
    }
  }
}

void CMaxMidiOut::Close() {
  if (IsOpen()) Reset();
  m_connection.reset();
  m_sysEx.clear();
}

void CMaxMidiOut::AddTrack(MidiEventTrack* track) {
  if (track == nullptr) return;
  m_entries.push_back({track, 0, false});
  track->SetOutput(this);
}

void CMaxMidiOut::RemoveTrack(MidiEventTrack* track) {
  const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                               [track](const TrackEntry& e) { return e.track == track; });
  if (it != m_entries.end()) m_entries.erase(it);
}

void CMaxMidiOut::SetSyncResolution(DWORD ticksPerQuarter) {
  if (m_sync != nullptr) m_sync->SetResolution(ticksPerQuarter);
}

// ---- The merged output of the attached tracks ---------------------------------------------

std::int64_t CMaxMidiOut::TicksToUs(std::uint32_t ticks) const {
  const std::int64_t tempo = m_sync != nullptr ? m_sync->GetTempo() : kDefaultTempoUs;
  const std::int64_t resolution =
      m_sync != nullptr && m_sync->GetResolution() > 0 ? m_sync->GetResolution() : kDefaultResolution;
  return static_cast<std::int64_t>(ticks) * tempo / resolution;
}

bool CMaxMidiOut::IsPumping() const { return m_sendCursor < m_blockCount; }

void CMaxMidiOut::Restart() {
  for (TrackEntry& entry : m_entries) {
    entry.position = 0;
    entry.inSysEx = false;
  }
  m_lastBlockTime = 0;
  m_blockCount = 0;
  m_sendCursor = 0;
  m_alarm = CurrentMidiClock().NewAlarm([this] { OnOutputReady(); });
  m_nextDueUs = CurrentMidiClock().NowUs();
  Pump();
}

void CMaxMidiOut::OnOutputReady() {
  Pump();
  OnOutputNotify();
}

void CMaxMidiOut::BuildBlock() {
  m_block.assign(kBlockEvents, MidiShortEvent{});
  struct Chunk {
    std::unique_ptr<MidiEvent[]> events;
    DWORD size = 0;
    DWORD merged = 0;
    bool Left() const { return events != nullptr && merged < size; }
  };
  std::vector<Chunk> chunks(m_entries.size());
  int sysExEntry = -1;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    Chunk& chunk = chunks[i];
    chunk.size = kBlockEvents;
    chunk.events = m_entries[i].track->CopyOut(m_entries[i].position, chunk.size);
    if (chunk.events == nullptr) chunk.size = 0;
    if (chunk.events != nullptr && m_entries[i].inSysEx) sysExEntry = static_cast<int>(i);
  }

  DWORD count = 0;
  while (count < kBlockEvents) {
    int candidate = -1;
    if (sysExEntry >= 0) {
      // A System Exclusive run is never interleaved with other tracks.
      if (!chunks[static_cast<std::size_t>(sysExEntry)].Left()) break;
      candidate = sysExEntry;
    } else {
      for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (!chunks[i].Left()) continue;
        // Equal times go to the track attached first.
        if (candidate < 0 || chunks[i].events[chunks[i].merged].time <
                                 chunks[static_cast<std::size_t>(candidate)]
                                     .events[chunks[static_cast<std::size_t>(candidate)].merged]
                                     .time)
          candidate = static_cast<int>(i);
      }
      if (candidate < 0) break;
    }
    Chunk& chunk = chunks[static_cast<std::size_t>(candidate)];
    const MidiShortEvent event = chunk.events[chunk.merged++];
    m_block[count++] = event;
    TrackEntry& entry = m_entries[static_cast<std::size_t>(candidate)];
    if (event.data1 == 0xF0 && event.status == 0xF0) {
      sysExEntry = candidate;
      entry.inSysEx = true;
    } else if (event.data1 == 0xF7 && event.status == 0xF0) {
      entry.inSysEx = false;
      sysExEntry = -1;
    }
  }
  for (std::size_t i = 0; i < m_entries.size(); ++i) m_entries[i].position += chunks[i].merged;

  m_blockCount = count;
  if (count == 0) return;
  // Absolute times become deltas; a time that goes back counts as no wait.
  const std::uint32_t lastTime = m_block[count - 1].time;
  for (DWORD i = count - 1; i >= 1; --i) {
    const std::uint32_t previous = m_block[i - 1].time;
    m_block[i].time = m_block[i].time >= previous ? m_block[i].time - previous : 0;
  }
  m_block[0].time -= m_lastBlockTime;
  m_lastBlockTime = lastTime;
}

void CMaxMidiOut::Pump() {
  if (m_entries.empty()) return;
  if (m_sendCursor == m_blockCount) {
    BuildBlock();
    m_sendCursor = 0;
  }
  MidiClock& clock = CurrentMidiClock();
  while (m_sendCursor < m_blockCount) {
    const MidiShortEvent& event = m_block[m_sendCursor];
    // The first event of a block may lie before the last of the previous one
    // (a track that goes back): it is due at once.
    const std::int64_t delta = static_cast<std::int32_t>(event.time) < 0 ? 0 : TicksToUs(event.time);
    const std::int64_t due = m_nextDueUs + delta;
    const std::int64_t now = clock.NowUs();
    if (due > now + kEarlyUs) {
      if (m_alarm != nullptr) m_alarm->ArmAt(due);
      return;
    }
    if (Put(event) == FALSE) {
      // A device that has gone takes nothing more; one that refused this
      // event is asked again shortly.
      if (!m_lost && m_alarm != nullptr) m_alarm->ArmAt(now + kRetryUs);
      return;
    }
    m_nextDueUs = due;
    if (++m_sendCursor == m_blockCount) {
      BuildBlock();
      m_sendCursor = 0;
    }
  }
}
