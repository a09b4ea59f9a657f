#pragma once
// Timed MIDI output without a waiting loop: the owner queues messages with
// absolute deadlines on the MIDI clock, and the scheduler sends each one from
// an alarm of the clock when its time has come, then arms the alarm for the
// next. Between wake-ups the user-interface thread is free. Cues are queued
// the same way and run the owner's cue handler at their time (the caret
// following the music, say).
//
// A wake sends everything due up to a little ahead of now (kEarlyUs), so
// that messages close together go out in one wake instead of waiting for the
// next alarm; each send is timed against its deadline, and the worst lateness
// is kept for the benchmark.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/MidiClock.h"
#include "platform/MidiOutPort.h"

class KMidiScheduler {
 public:
  // Messages due within this many microseconds after a wake go in that wake.
  static constexpr std::int64_t kEarlyUs = 300;

  struct Item {
    std::int64_t dueUs = 0;
    // Where the message goes; null for a cue only.
    MidiOutPort* port = nullptr;
    MidiShortEvent event{};
    // 0 or more: the cue handler receives it at the deadline.
    int cue = -1;
  };

  // The clock must outlive the scheduler.
  explicit KMidiScheduler(MidiClock& clock);
  ~KMidiScheduler();
  KMidiScheduler(const KMidiScheduler&) = delete;
  KMidiScheduler& operator=(const KMidiScheduler&) = delete;

  MidiClock& Clock() const { return m_clock; }

  // Queues the items (in any order; equal deadlines keep the order given and
  // go after those queued before) and arms the alarm for the earliest.
  void Add(std::vector<Item> items);
  // Forgets every queued item; the alarm stops.
  void Clear();
  // Forgets the items that go to the port (its owner is closing it).
  void ForgetPort(const MidiOutPort* port);
  bool Empty() const { return m_next >= m_items.size(); }
  std::size_t Pending() const { return m_items.size() - m_next; }
  // The deadline of the next item; 0 when none is queued.
  std::int64_t NextDue() const { return Empty() ? 0 : m_items[m_next].dueUs; }

  void SetCueHandler(std::function<void(int cue)> handler) { m_onCue = std::move(handler); }
  // Runs after a wake that left nothing queued.
  void SetDrainedHandler(std::function<void()> handler) { m_onDrained = std::move(handler); }

  // Every message sent since the last ResetStats: their count and the
  // largest lateness (sent minus deadline; negative when sent early).
  int SentCount() const { return m_sent; }
  std::int64_t WorstLateUs() const { return m_worstLate; }
  std::int64_t WorstEarlyUs() const { return m_worstEarly; }
  void ResetStats();

  // The alarm's wake (tests with their own alarms may call it).
  void Wake();

 private:
  void Arm();

  MidiClock& m_clock;
  std::unique_ptr<MidiAlarm> m_alarm;
  std::vector<Item> m_items;  // sorted by deadline; m_items[m_next..] are queued
  std::size_t m_next = 0;
  std::function<void(int)> m_onCue;
  std::function<void()> m_onDrained;
  bool m_waking = false;
  int m_sent = 0;
  std::int64_t m_worstLate = 0;
  std::int64_t m_worstEarly = 0;
};

// The scheduler of sounds that need no owner of their own (a note sounded
// while typing, a chord auditioned): one for the program, on the current
// MIDI clock (made again when another clock was installed since and nothing
// is queued).
KMidiScheduler& SoundScheduler();
// Every scheduler forgets the port (its owner is going away).
void ForgetMidiPortEverywhere(const MidiOutPort* port);
// Drops the program-wide scheduler (tests, between clocks).
void ResetSoundScheduler();
