#pragma once
// The MIDI clock of the Qt shell: the system's monotonic clock, with alarms
// that are precise single-shot timers of the event loop. A timer that fires
// before its deadline (timers count whole milliseconds) is armed again for
// what is left, so a wake never comes early.

#include "platform/MidiClock.h"

class KQtMidiClock final : public SystemMidiClock {
 public:
  std::unique_ptr<MidiAlarm> NewAlarm(std::function<void()> wake) override;
};
