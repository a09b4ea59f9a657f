#include "platform/MidiClock.h"

#include <chrono>
#include <thread>

namespace {
SystemMidiClock g_systemClock;
MidiClock* g_clock = nullptr;
}  // namespace

void SystemMidiClock::Sleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

MidiClock& CurrentMidiClock() { return g_clock ? *g_clock : g_systemClock; }

MidiClock* SetMidiClock(MidiClock* clock) {
  MidiClock* previous = g_clock;
  g_clock = clock;
  return previous;
}
