#include "midi/LivePlayback.h"

#include "midi/TempoMap.h"

BOOL KLivePlayback::Tracker::Put(const MidiShortEvent& event) {
  const BYTE kind = event.status & 0xF0;
  const std::pair<BYTE, BYTE> note{static_cast<BYTE>(event.status & 0x0F), event.data1};
  if (kind == 0x90 && event.data2 != 0) sounding.insert(note);
  if (kind == 0x80 || (kind == 0x90 && event.data2 == 0)) sounding.erase(note);
  return target->Put(event);
}

KLivePlayback::KLivePlayback(MidiClock& clock) : m_scheduler(clock) {
  m_scheduler.SetCueHandler([this](int index) { OnCue(index); });
}

KLivePlayback::~KLivePlayback() {
  m_onCue = nullptr;
  m_onEnd = nullptr;
  Stop();
}

void KLivePlayback::Start(const KPerformance& performance, MidiOutPort& port,
                          std::function<void(const KPerfCue&)> onCue, std::function<void()> onEnd) {
  m_scheduler.Clear();
  m_tracker.target = &port;
  m_tracker.sounding.clear();
  m_cues = performance.cues;
  m_onCue = std::move(onCue);
  m_onEnd = std::move(onEnd);
  m_startUs = m_scheduler.Clock().NowUs();
  m_playing = true;

  const KTempoMap tempo(performance);
  std::vector<KMidiScheduler::Item> items;
  items.reserve(performance.events.size() + m_cues.size() + 1);
  // Cues first: at one deadline the caret moves before the notes sound.
  for (std::size_t i = 0; i < m_cues.size(); ++i) {
    KMidiScheduler::Item item;
    item.dueUs = m_startUs + tempo.Microseconds(m_cues[i].tick);
    item.cue = static_cast<int>(i);
    items.push_back(item);
  }
  for (const KPerfEvent& e : performance.events) {
    if (e.kind != KPerfEvent::Kind::kShort) continue;
    KMidiScheduler::Item item;
    item.dueUs = m_startUs + tempo.Microseconds(e.tick);
    item.port = &m_tracker;
    item.event.time = kMidiSendNow;
    item.event.status = e.status;
    item.event.data1 = e.data1;
    item.event.data2 = e.data2;
    items.push_back(item);
  }
  KMidiScheduler::Item end;
  end.dueUs = m_startUs + tempo.Microseconds(performance.endTick);
  end.cue = static_cast<int>(m_cues.size());
  items.push_back(end);
  m_scheduler.ResetStats();
  m_scheduler.Add(std::move(items));
}

void KLivePlayback::OnCue(int index) {
  if (index >= 0 && index < static_cast<int>(m_cues.size())) {
    if (m_onCue) m_onCue(m_cues[static_cast<std::size_t>(index)]);
    return;
  }
  m_playing = false;
  if (m_onEnd) m_onEnd();
}

void KLivePlayback::Stop() {
  m_scheduler.Clear();
  if (m_tracker.target != nullptr) {
    const auto sounding = m_tracker.sounding;
    for (const auto& [channel, key] : sounding) {
      m_tracker.Put(SendNowEvent(static_cast<BYTE>(0x80 | channel), key, 0));
    }
  }
  m_tracker.sounding.clear();
  m_playing = false;
}
