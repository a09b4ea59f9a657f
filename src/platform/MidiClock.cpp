#include "platform/MidiClock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// An alarm with nobody to wake it: it only remembers its deadline.
class InertAlarm final : public MidiAlarm {
 public:
  void ArmAt(std::int64_t) override { m_armed = true; }
  void Cancel() override { m_armed = false; }
  bool IsArmed() const override { return m_armed; }

 private:
  bool m_armed = false;
};

SystemMidiClock g_systemClock;
MidiClock* g_clock = nullptr;

}  // namespace

std::int64_t SystemMidiClock::NowUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SystemMidiClock::Sleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::unique_ptr<MidiAlarm> SystemMidiClock::NewAlarm(std::function<void()>) {
  return std::make_unique<InertAlarm>();
}

// ---- FakeMidiClock -------------------------------------------------------------------

class FakeMidiClock::Alarm final : public MidiAlarm {
 public:
  Alarm(FakeMidiClock& clock, std::function<void()> wake) : m_clock(&clock), m_wake(std::move(wake)) {
    clock.m_alarms.push_back(this);
  }
  ~Alarm() override {
    if (m_clock != nullptr) std::erase(m_clock->m_alarms, this);
  }
  void ArmAt(std::int64_t dueUs) override {
    m_due = dueUs;
    m_armed = true;
    m_order = ++s_order;
  }
  void Cancel() override { m_armed = false; }
  bool IsArmed() const override { return m_armed; }

  FakeMidiClock* m_clock;
  std::function<void()> m_wake;
  std::int64_t m_due = 0;
  bool m_armed = false;
  long m_order = 0;  // equal deadlines fire in arming order
  static inline long s_order = 0;
};

FakeMidiClock::FakeMidiClock() = default;

FakeMidiClock::~FakeMidiClock() {
  for (Alarm* alarm : m_alarms) alarm->m_clock = nullptr;
}

void FakeMidiClock::Sleep(std::uint32_t ms) {
  m_pauses.push_back(ms);
  m_now += static_cast<std::int64_t>(ms) * 1000;
  if (m_onSleep) m_onSleep(ms);
}

std::unique_ptr<MidiAlarm> FakeMidiClock::NewAlarm(std::function<void()> wake) {
  return std::make_unique<Alarm>(*this, std::move(wake));
}

std::optional<std::int64_t> FakeMidiClock::NextDue() const {
  std::optional<std::int64_t> due;
  for (const Alarm* alarm : m_alarms) {
    if (alarm->m_armed && (!due || alarm->m_due < *due)) due = alarm->m_due;
  }
  return due;
}

bool FakeMidiClock::FireNext(std::optional<std::int64_t> limit) {
  Alarm* next = nullptr;
  for (Alarm* alarm : m_alarms) {
    if (!alarm->m_armed) continue;
    if (next == nullptr || alarm->m_due < next->m_due ||
        (alarm->m_due == next->m_due && alarm->m_order < next->m_order)) {
      next = alarm;
    }
  }
  if (next == nullptr || (limit && next->m_due > *limit)) return false;
  std::int64_t at = std::max(m_now, next->m_due + m_lateness);
  if (limit) at = std::min(at, std::max(m_now, *limit));
  m_now = at;
  next->m_armed = false;
  ++m_wakes;
  // The wake may arm this alarm again, or delete it.
  std::function<void()> wake = next->m_wake;
  wake();
  return true;
}

void FakeMidiClock::AdvanceTo(std::int64_t t) {
  while (FireNext(t)) {
  }
  m_now = std::max(m_now, t);
}

bool FakeMidiClock::RunUntilIdle(int maxWakes) {
  for (int i = 0; i < maxWakes; ++i) {
    if (!FireNext(std::nullopt)) return true;
  }
  return !NextDue().has_value();
}

MidiClock& CurrentMidiClock() { return g_clock ? *g_clock : g_systemClock; }

MidiClock* SetMidiClock(MidiClock* clock) {
  MidiClock* previous = g_clock;
  g_clock = clock;
  return previous;
}
