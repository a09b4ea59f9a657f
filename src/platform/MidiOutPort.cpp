#include "platform/MidiOutPort.h"

#include <cstdio>

#include "platform/MidiClock.h"

BOOL RecordingMidiOut::Open(int device, DWORD flags) {
  m_log.push_back("open " + std::to_string(device) + " " + std::to_string(flags));
  if (m_open) return TRUE;
  if (m_openFails) return FALSE;
  m_open = true;
  return TRUE;
}

BOOL RecordingMidiOut::Put(const MidiShortEvent& event) {
  char line[64];
  std::snprintf(line, sizeof line, "put %08x %02x %02x %02x %02x", static_cast<unsigned>(event.time),
                static_cast<unsigned>(event.status), static_cast<unsigned>(event.data1),
                static_cast<unsigned>(event.data2), static_cast<unsigned>(event.reserved));
  m_log.emplace_back(line);
  if (!m_open) return FALSE;
  m_events.push_back(event);
  if (m_clock != nullptr) m_times.push_back(m_clock->NowUs());
  return TRUE;
}

void SendModuleReset(MidiOutPort& port) {
  for (BYTE b : {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) port.Put(SendNowEvent(0xF0, b, 0));
  port.Put(SendNowEvent(0xB0, 125, 0));
  port.Put(SendNowEvent(0xBF, 125, 0));
  port.Put(SendNowEvent(0xB0, 127, 0));
  port.Put(SendNowEvent(0xBF, 127, 0));
}

std::vector<std::string> RecordingMidiOut::TimedEvents(std::int64_t startUs) const {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < m_events.size() && i < m_times.size(); ++i) {
    const MidiShortEvent& e = m_events[i];
    char text[40];
    std::snprintf(text, sizeof text, "%lld %02x %02x %02x",
                  static_cast<long long>((m_times[i] - startUs) / 1000), e.status, e.data1, e.data2);
    texts.emplace_back(text);
  }
  return texts;
}

void RecordingMidiOut::Close() {
  m_log.emplace_back("close");
  m_open = false;
}
