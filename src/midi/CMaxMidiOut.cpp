#include "midi/CMaxMidiOut.h"

#include <algorithm>

#include "midi/CMaxMidiSync.h"
#include "platform/MidiScheduler.h"

namespace {
constexpr BYTE kAllNotesOff = 123;
}  // namespace

CMaxMidiOut::~CMaxMidiOut() {
  ForgetMidiPortEverywhere(this);
  Close();
  while (!m_tracks.empty()) {
    MidiEventTrack* track = m_tracks.front();
    m_tracks.erase(m_tracks.begin());
    track->SetOutput(nullptr);
  }
}

BOOL CMaxMidiOut::Open(int device, DWORD flags) {
  MidiDeviceSystem& devices = CurrentMidiDevices();
  const std::vector<std::string> names = devices.OutputNames();
  if (device >= 0 && device < static_cast<int>(names.size()))
    m_deviceName = names[static_cast<std::size_t>(device)];
  if (IsOpen()) return TRUE;
  m_flags = flags;
  m_device = device;
  m_connection = device == kMapper ? nullptr : devices.OpenOutput(device);
  m_lastError = m_connection ? std::string() : devices.LastError();
  m_sysEx.clear();
  return IsOpen() ? TRUE : FALSE;
}

BOOL CMaxMidiOut::Put(const MidiShortEvent& event) {
  if (!IsOpen()) return TRUE;
  const BYTE status = event.status;
  if (status == 0xF0) {
    if (event.data1 == 0xF0) m_sysEx.clear();
    m_sysEx.push_back(event.data1);
    if (event.data1 != 0xF7) return TRUE;
    const bool sent = m_sysEx.front() == 0xF0 && m_connection->Send(m_sysEx);
    m_sysEx.clear();
    return sent ? TRUE : FALSE;
  }
  if (status < 0x80 || status > 0xEF) return FALSE;
  std::vector<std::uint8_t> message{status, static_cast<std::uint8_t>(event.data1 & 0x7F)};
  const BYTE kind = status & 0xF0;
  if (kind != 0xC0 && kind != 0xD0) message.push_back(static_cast<std::uint8_t>(event.data2 & 0x7F));
  return m_connection->Send(message) ? TRUE : FALSE;
}

void CMaxMidiOut::Reset() {
  if (!IsOpen()) return;
  for (BYTE channel = 0; channel < 16; ++channel) {
    m_connection->Send({static_cast<std::uint8_t>(0xB0 | channel), kAllNotesOff, 0});
  }
}

void CMaxMidiOut::Close() {
  if (IsOpen()) Reset();
  m_connection.reset();
  m_sysEx.clear();
}

void CMaxMidiOut::AddTrack(MidiEventTrack* track) {
  if (track == nullptr) return;
  m_tracks.push_back(track);
  track->SetOutput(this);
}

void CMaxMidiOut::RemoveTrack(MidiEventTrack* track) {
  const auto it = std::find(m_tracks.begin(), m_tracks.end(), track);
  if (it != m_tracks.end()) m_tracks.erase(it);
}

void CMaxMidiOut::SetSyncResolution(DWORD ticksPerQuarter) {
  if (m_sync != nullptr) m_sync->SetResolution(ticksPerQuarter);
}
