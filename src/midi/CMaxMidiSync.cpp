#include "midi/CMaxMidiSync.h"

CMaxMidiSync::~CMaxMidiSync() {
  Stop();
  Close();
}

BOOL CMaxMidiSync::Open(int mode, int period) {
  if (!m_open) {
    m_open = true;
    m_mode = mode;
    m_period = period;
  }
  return TRUE;
}

void CMaxMidiSync::Close() {
  if (m_alarm) m_alarm->Cancel();
  m_alarm.reset();
  m_open = false;
  m_running = false;
}

void CMaxMidiSync::Start() {
  if (!m_open) return;
  m_running = true;
  m_alarm = CurrentMidiClock().NewAlarm([this] {
    OnBeat();
    if (m_running) ArmNextBeat();
  });
  m_nextBeatUs = CurrentMidiClock().NowUs();
  ArmNextBeat();
}

void CMaxMidiSync::Stop() {
  if (!m_open) return;
  m_running = false;
  if (m_alarm) m_alarm->Cancel();
}

void CMaxMidiSync::ArmNextBeat() {
  m_nextBeatUs += m_tempo;
  m_alarm->ArmAt(m_nextBeatUs);
}

BOOL CMaxMidiSync::SetTempo(std::uint32_t microseconds) {
  if (microseconds == 0) return FALSE;
  m_tempo = microseconds;
  return TRUE;
}

std::uint32_t CMaxMidiSync::BpmToTempo(double bpm) {
  if (bpm == 0) bpm = 120;
  return static_cast<std::uint32_t>(60000000.0 / bpm);
}

std::uint32_t CMaxMidiSync::TicksIn(std::int64_t microseconds) const {
  if (microseconds <= 0) return 0;
  return static_cast<std::uint32_t>(microseconds * m_resolution / m_tempo);
}
