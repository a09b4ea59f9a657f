#include "midi/TempoMap.h"

#include <algorithm>

namespace {
// Microseconds of ticks at a tempo: ticks x 60,000,000 / (480 x bpm).
std::int64_t Span(std::int64_t ticks, int bpm) { return ticks * 125000 / bpm; }
}  // namespace

KTempoMap::KTempoMap(const KPerformance& performance) {
  m_stretches.push_back({0, 0, std::max(1, performance.tempo)});
  for (const KPerfEvent& e : performance.events) {
    if (e.kind != KPerfEvent::Kind::kTempo || e.bpm <= 0) continue;
    const Stretch& before = m_stretches.back();
    if (e.tick == before.tick) {
      m_stretches.back().bpm = e.bpm;
      continue;
    }
    m_stretches.push_back({e.tick, before.us + Span(e.tick - before.tick, before.bpm), e.bpm});
  }
}

const KTempoMap::Stretch& KTempoMap::StretchAt(std::uint32_t tick) const {
  auto it = std::upper_bound(m_stretches.begin(), m_stretches.end(), tick,
                             [](std::uint32_t t, const Stretch& s) { return t < s.tick; });
  return *(it - 1);
}

std::int64_t KTempoMap::Microseconds(std::uint32_t tick) const {
  const Stretch& s = StretchAt(tick);
  return s.us + Span(tick - s.tick, s.bpm);
}

std::uint32_t KTempoMap::TickAt(std::int64_t us) const {
  auto it = std::upper_bound(m_stretches.begin(), m_stretches.end(), us,
                             [](std::int64_t t, const Stretch& s) { return t < s.us; });
  const Stretch& s = *(it == m_stretches.begin() ? it : it - 1);
  const std::int64_t into = std::max<std::int64_t>(0, us - s.us);
  // The first tick whose time is past `us`, less one.
  std::int64_t ticks = into * s.bpm / 125000;
  while (Span(ticks + 1, s.bpm) <= into) ++ticks;
  while (ticks > 0 && Span(ticks, s.bpm) > into) --ticks;
  return static_cast<std::uint32_t>(s.tick + ticks);
}

int KTempoMap::TempoAt(std::uint32_t tick) const { return StretchAt(tick).bpm; }
