#pragma once
// Ticks to time under the tempo changes of a performance. A tick lasts
// 125 / tempo milliseconds (480 to the quarter note); each tempo's stretch is
// measured from the absolute start of the stretch, so rounding never adds up
// from one note to the next.

#include <cstdint>
#include <vector>

#include "midi/Performance.h"

class KTempoMap {
 public:
  explicit KTempoMap(const KPerformance& performance);
  // Microseconds from tick 0 to the tick.
  std::int64_t Microseconds(std::uint32_t tick) const;
  // The last tick that has begun by the time us after tick 0.
  std::uint32_t TickAt(std::int64_t us) const;
  // The tempo (quarter notes per minute) in force at the tick.
  int TempoAt(std::uint32_t tick) const;

 private:
  struct Stretch {
    std::uint32_t tick = 0;
    std::int64_t us = 0;
    int bpm = 120;
  };
  const Stretch& StretchAt(std::uint32_t tick) const;
  std::vector<Stretch> m_stretches;
};
