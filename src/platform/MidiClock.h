#pragma once
// The pauses of MIDI output (a sounded note's length, the gaps of playback)
// go through a clock, so that tests run them without waiting. The system
// clock sleeps the calling thread; FakeMidiClock only records the pauses.

#include <cstdint>
#include <functional>
#include <vector>

class MidiClock {
 public:
  virtual ~MidiClock() = default;
  // Blocks the calling thread for ms milliseconds.
  virtual void Sleep(std::uint32_t ms) = 0;
};

class SystemMidiClock final : public MidiClock {
 public:
  void Sleep(std::uint32_t ms) override;
};

class FakeMidiClock final : public MidiClock {
 public:
  void Sleep(std::uint32_t ms) override {
    m_pauses.push_back(ms);
    if (m_onSleep) m_onSleep(ms);
  }
  const std::vector<std::uint32_t>& Pauses() const { return m_pauses; }
  // Called on every pause (to note it in another recorder's log, say).
  void OnSleep(std::function<void(std::uint32_t)> hook) { m_onSleep = std::move(hook); }

 private:
  std::vector<std::uint32_t> m_pauses;
  std::function<void(std::uint32_t)> m_onSleep;
};

// The clock in use: the system clock unless another is installed.
MidiClock& CurrentMidiClock();
// Installs a clock (not owned); returns the previous one. nullptr: the system clock.
MidiClock* SetMidiClock(MidiClock* clock);
