#include "platform/MidiScheduler.h"

#include <algorithm>
#include <set>

namespace {

std::set<KMidiScheduler*>& Schedulers() {
  static std::set<KMidiScheduler*> all;
  return all;
}

std::unique_ptr<KMidiScheduler>& SoundSchedulerSlot() {
  // The list of schedulers is made first so that it outlives the slot: the
  // scheduler the slot still holds at exit takes itself off the list.
  Schedulers();
  static std::unique_ptr<KMidiScheduler> slot;
  return slot;
}

}  // namespace

KMidiScheduler::KMidiScheduler(MidiClock& clock)
    : m_clock(clock), m_alarm(clock.NewAlarm([this] { Wake(); })) {
  Schedulers().insert(this);
}

KMidiScheduler::~KMidiScheduler() { Schedulers().erase(this); }

void KMidiScheduler::Add(std::vector<Item> items) {
  if (items.empty()) return;
  m_items.erase(m_items.begin(), m_items.begin() + static_cast<std::ptrdiff_t>(m_next));
  m_next = 0;
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return a.dueUs < b.dueUs; });
  const std::size_t middle = m_items.size();
  m_items.insert(m_items.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
  std::inplace_merge(m_items.begin(), m_items.begin() + static_cast<std::ptrdiff_t>(middle), m_items.end(),
                     [](const Item& a, const Item& b) { return a.dueUs < b.dueUs; });
  if (!m_waking) Arm();
}

void KMidiScheduler::Clear() {
  m_items.clear();
  m_next = 0;
  m_alarm->Cancel();
}

void KMidiScheduler::ForgetPort(const MidiOutPort* port) {
  m_items.erase(m_items.begin(), m_items.begin() + static_cast<std::ptrdiff_t>(m_next));
  m_next = 0;
  std::erase_if(m_items, [&](const Item& item) { return item.port == port; });
  if (!m_waking) Arm();
}

void KMidiScheduler::ResetStats() {
  m_sent = 0;
  m_worstLate = 0;
  m_worstEarly = 0;
}

void KMidiScheduler::Arm() {
  if (Empty()) {
    m_alarm->Cancel();
    return;
  }
  m_alarm->ArmAt(m_items[m_next].dueUs);
}

void KMidiScheduler::Wake() {
  m_waking = true;
  while (!Empty()) {
    const std::int64_t now = m_clock.NowUs();
    if (m_items[m_next].dueUs > now + kEarlyUs) break;
    const Item item = m_items[m_next++];
    if (item.port != nullptr) {
      item.port->Put(item.event);
      const std::int64_t late = m_clock.NowUs() - item.dueUs;
      if (m_sent == 0 || late > m_worstLate) m_worstLate = late;
      if (m_sent == 0 || -late > m_worstEarly) m_worstEarly = -late;
      ++m_sent;
    }
    if (item.cue >= 0 && m_onCue) m_onCue(item.cue);
  }
  m_waking = false;
  Arm();
  if (Empty() && m_onDrained) m_onDrained();
}

KMidiScheduler& SoundScheduler() {
  std::unique_ptr<KMidiScheduler>& slot = SoundSchedulerSlot();
  if (!slot || (&slot->Clock() != &CurrentMidiClock() && slot->Empty())) {
    slot = std::make_unique<KMidiScheduler>(CurrentMidiClock());
  }
  return *slot;
}

void ForgetMidiPortEverywhere(const MidiOutPort* port) {
  for (KMidiScheduler* scheduler : Schedulers()) scheduler->ForgetPort(port);
}

void ResetSoundScheduler() { SoundSchedulerSlot().reset(); }
