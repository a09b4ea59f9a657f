#pragma once
// The time base of MIDI output: a monotonic clock in microseconds, alarms that
// wake their owner on the user-interface thread at an absolute time, and a
// blocking pause for the few callers that may block. Everything timed (the
// notes of playback, a sounded note's end, a strummed chord) waits on
// absolute deadlines of the clock, so that no error adds up from one wait to
// the next.
//
// The Qt shell installs a clock whose alarms are precise timers of its event
// loop (KQtMidiClock); tests install FakeMidiClock, whose time moves only
// when the test moves it and whose alarms fire in deadline order as it does.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// One wake-up at a time for one owner: arming again replaces the deadline.
class MidiAlarm {
 public:
  virtual ~MidiAlarm() = default;
  // The owner's wake runs once, from the event loop, at or after dueUs.
  virtual void ArmAt(std::int64_t dueUs) = 0;
  virtual void Cancel() = 0;
  virtual bool IsArmed() const = 0;
};

class MidiClock {
 public:
  virtual ~MidiClock() = default;
  // Microseconds since an arbitrary start; never goes back.
  virtual std::int64_t NowUs() const = 0;
  // Blocks the calling thread for ms milliseconds.
  virtual void Sleep(std::uint32_t ms) = 0;
  // An alarm whose wake calls wake on the user-interface thread.
  virtual std::unique_ptr<MidiAlarm> NewAlarm(std::function<void()> wake) = 0;
};

// The system's monotonic clock. Without an event loop its alarms cannot
// fire: they stay armed until cancelled (the Qt shell installs a clock with
// real alarms at start).
class SystemMidiClock : public MidiClock {
 public:
  std::int64_t NowUs() const override;
  void Sleep(std::uint32_t ms) override;
  std::unique_ptr<MidiAlarm> NewAlarm(std::function<void()> wake) override;
};

class FakeMidiClock final : public MidiClock {
 public:
  FakeMidiClock();
  ~FakeMidiClock() override;
  FakeMidiClock(const FakeMidiClock&) = delete;
  FakeMidiClock& operator=(const FakeMidiClock&) = delete;

  std::int64_t NowUs() const override { return m_now; }
  // Records the pause and moves the time on by it (alarms do not fire).
  void Sleep(std::uint32_t ms) override;
  std::unique_ptr<MidiAlarm> NewAlarm(std::function<void()> wake) override;

  const std::vector<std::uint32_t>& Pauses() const { return m_pauses; }
  // Called on every pause (to note it in another recorder's log, say).
  void OnSleep(std::function<void(std::uint32_t)> hook) { m_onSleep = std::move(hook); }

  // Moves the time to t, firing on the way every alarm due by then, each with
  // the time set to its deadline plus the lateness (but never past t).
  void AdvanceTo(std::int64_t t);
  void Advance(std::int64_t us) { AdvanceTo(m_now + us); }
  // Fires alarms one after another, the time jumping to each deadline (plus
  // the lateness), until none is armed; false when maxWakes wakes were not
  // enough (a runaway).
  bool RunUntilIdle(int maxWakes = 10000000);
  // The earliest armed deadline.
  std::optional<std::int64_t> NextDue() const;
  // Alarms fire this many microseconds after their deadline (an event loop
  // that is busy elsewhere).
  void SetLateness(std::int64_t us) { m_lateness = us; }
  int Wakes() const { return m_wakes; }

 private:
  class Alarm;
  friend class Alarm;
  bool FireNext(std::optional<std::int64_t> limit);

  std::int64_t m_now = 1000000;
  std::int64_t m_lateness = 0;
  int m_wakes = 0;
  std::vector<std::uint32_t> m_pauses;
  std::function<void(std::uint32_t)> m_onSleep;
  std::vector<Alarm*> m_alarms;
};

// The clock in use: the system clock unless another is installed.
MidiClock& CurrentMidiClock();
// Installs a clock (not owned); returns the previous one. nullptr: the system clock.
MidiClock* SetMidiClock(MidiClock* clock);
