#pragma once
// The sync timer that clocks MIDI input and output: a tempo (microseconds
// per quarter note), a resolution (ticks per quarter note) and, while it
// runs, one beat per quarter note on the MIDI clock (OnBeat, on the
// user-interface thread). Live recording counts its metronome with it.

#include <cstdint>
#include <memory>

#include "platform/MidiClock.h"
#include "platform/WinTypes.h"

class CMaxMidiSync {
 public:
  CMaxMidiSync() = default;
  virtual ~CMaxMidiSync();
  CMaxMidiSync(const CMaxMidiSync&) = delete;
  CMaxMidiSync& operator=(const CMaxMidiSync&) = delete;

  // Opens the timer unless it is open; mode and period are kept.
  BOOL Open(int mode, int period);
  void Close();
  // Starts and stops the beats (only while open).
  void Start();
  void Stop();
  bool IsOpen() const { return m_open; }
  bool IsRunning() const { return m_running; }

  std::uint32_t GetTempo() const { return m_tempo; }
  // Microseconds per quarter note; FALSE for 0.
  BOOL SetTempo(std::uint32_t microseconds);
  void SetResolution(DWORD ticksPerQuarter) { m_resolution = ticksPerQuarter > 0 ? ticksPerQuarter : 480; }
  DWORD GetResolution() const { return m_resolution; }
  // 60,000,000 / bpm, truncated; a bpm of exactly 0 counts as 120.
  static std::uint32_t BpmToTempo(double bpm);

  // Ticks at the resolution and tempo in a span of microseconds.
  std::uint32_t TicksIn(std::int64_t microseconds) const;

  virtual void OnBeat() {}
  virtual void OnSyncNotify() {}

 private:
  void ArmNextBeat();

  bool m_open = false;
  bool m_running = false;
  int m_mode = 0;
  int m_period = 10;
  std::uint32_t m_tempo = 500000;
  DWORD m_resolution = 480;
  std::int64_t m_nextBeatUs = 0;
  std::unique_ptr<MidiAlarm> m_alarm;
};
