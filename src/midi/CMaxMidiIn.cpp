#include "midi/CMaxMidiIn.h"

#include "midi/CMaxMidiSync.h"

CMaxMidiIn::~CMaxMidiIn() { Close(); }

BOOL CMaxMidiIn::Open(int device, DWORD flags) {
  MidiDeviceSystem& devices = CurrentMidiDevices();
  const std::vector<std::string> names = devices.InputNames();
  if (device >= 0 && device < static_cast<int>(names.size()))
    m_deviceName = names[static_cast<std::size_t>(device)];
  if (IsOpen()) return TRUE;
  m_device = device;
  m_flags = flags;
  m_connection = devices.OpenInput(device, [this](const MidiInMessage& message) { Arrived(message); });
  return IsOpen() ? TRUE : FALSE;
}

void CMaxMidiIn::Close() {
  if (IsOpen()) Stop();
  m_connection.reset();
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
  std::uint32_t ticks = 0;
  if (m_sync != nullptr) {
    ticks = m_sync->TicksIn(delta);
  } else if (delta > 0) {
    ticks = static_cast<std::uint32_t>(delta * 480 / 500000);
  }
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
