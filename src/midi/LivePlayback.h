#pragma once
// A performance played through a MIDI output in real time, without a waiting
// loop: every message is queued on a scheduler with its absolute deadline on
// the MIDI clock (the tempo map gives each tick its time), and the clock's
// alarm sends it when its time comes; between messages the user-interface
// thread is free. Caret cues run the owner's handler at their time, and the
// end handler runs when the last note has ended. Stop drops what is still
// queued and ends every note that sounds.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "midi/Performance.h"
#include "platform/MidiClock.h"
#include "platform/MidiOutPort.h"
#include "platform/MidiScheduler.h"

class KLivePlayback {
 public:
  explicit KLivePlayback(MidiClock& clock);
  ~KLivePlayback();
  KLivePlayback(const KLivePlayback&) = delete;
  KLivePlayback& operator=(const KLivePlayback&) = delete;

  // Plays the performance on the port from now on (the port must stay until
  // Stop or the end). Replaces a performance that is playing.
  void Start(const KPerformance& performance, MidiOutPort& port, std::function<void(const KPerfCue&)> onCue,
             std::function<void()> onEnd);
  // Drops what is queued and sends a note-off for every note still sounding.
  void Stop();
  bool IsPlaying() const { return m_playing; }
  // When the performance began (its tick 0), on the MIDI clock.
  std::int64_t StartUs() const { return m_startUs; }
  std::int64_t ElapsedUs() const { return m_scheduler.Clock().NowUs() - m_startUs; }
  KMidiScheduler& Scheduler() { return m_scheduler; }

 private:
  // Passes every message on and keeps the notes that sound.
  class Tracker final : public MidiOutRelay {
   public:
    BOOL Put(const MidiShortEvent& event) override;
    std::set<std::pair<BYTE, BYTE>> sounding;  // (channel, key)
  };

  void OnCue(int index);

  KMidiScheduler m_scheduler;
  Tracker m_tracker;
  std::vector<KPerfCue> m_cues;
  std::function<void(const KPerfCue&)> m_onCue;
  std::function<void()> m_onEnd;
  std::int64_t m_startUs = 0;
  bool m_playing = false;
};
