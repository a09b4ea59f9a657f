#include "midi/CMaxMidiIn.h"

#include "midi/CMaxMidiSync.h"
#include "platform/MidiClock.h"

CMaxMidiIn::~CMaxMidiIn() { Close(); }

BOOL CMaxMidiIn::Open(int device, DWORD flags) {
  MidiDeviceSystem& devices = CurrentMidiDevices();
  const std::vector<std::string> names = devices.InputNames();
  if (device >= 0 && device < static_cast<int>(names.size()))
    m_deviceName = names[static_cast<std::size_t>(device)];
  if (IsOpen()) return TRUE;
  // A device that went away is opened afresh.
  m_connection.reset();
  m_lost = false;
  m_lastError.clear();
  m_started = false;
  m_device = device;
  m_flags = flags;
  m_connection = devices.OpenInput(device, [this](const MidiInMessage& message) { Arrived(message); });
  if (m_connection) m_connection->WhenLost([this] { NoteLost(); });
  return IsOpen() ? TRUE : FALSE;
}

void CMaxMidiIn::Close() {
  if (IsOpen()) Stop();
  m_connection.reset();
  m_started = false;
}

void CMaxMidiIn::NoteLost() {
  if (m_connection == nullptr || m_lost) return;
  m_lost = true;
  m_started = false;
  m_lastError = "The MIDI input \"" + m_deviceName + "\" is no longer there.";
  OnInputLost();
}

std::uint32_t CMaxMidiIn::TicksIn(std::int64_t us) const {
  if (m_sync != nullptr) return m_sync->TicksIn(us);
  return us > 0 ? static_cast<std::uint32_t>(us * 480 / 500000) : 0;
}

std::uint32_t CMaxMidiIn::TicksSinceLastEvent() const {
  if (m_lastUs < 0) return 0;
  return TicksIn(CurrentMidiClock().NowUs() - m_lastUs);
}

void CMaxMidiIn::Start() {
  if (!IsOpen()) return;
  m_started = true;
  m_lastUs = -1;
  m_connection->Start();
}

void CMaxMidiIn::Stop() {
  if (!IsOpen()) return;
  m_started = false;
  m_connection->Stop();
}

void CMaxMidiIn::Arrived(const MidiInMessage& message) {
  if (!m_started || message.bytes.empty()) return;
  const std::int64_t delta = m_lastUs < 0 ? 0 : message.timeUs - m_lastUs;
  m_lastUs = message.timeUs;
  const std::uint32_t ticks = TicksIn(delta);
  MidiShortEvent event;
  event.time = ticks;
  if (message.bytes.front() == 0xF0) {
    for (std::uint8_t byte : message.bytes) {
      event.status = 0xF0;
      event.data1 = byte;
      Deliver(event);
      event.time = 0;
    }
    return;
  }
  event.status = message.bytes[0];
  event.data1 = message.bytes.size() > 1 ? message.bytes[1] : 0;
  event.data2 = message.bytes.size() > 2 ? message.bytes[2] : 0;
  Deliver(event);
}

void CMaxMidiIn::Deliver(const MidiShortEvent& event) { FilterEvent(event); }
