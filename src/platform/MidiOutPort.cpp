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

void RecordingMidiOut::Close() {
  m_log.emplace_back("close");
  m_open = false;
}
