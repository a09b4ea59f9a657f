#pragma once
// A MIDI output stand-in for track tests: it keeps the tracks handed to it,
// notes which were removed, and records the sync resolution it was given.

#include <algorithm>
#include <vector>

#include "midi/MidiEventTrack.h"

class FakeTrackOutput : public MidiTrackOutput {
 public:
  explicit FakeTrackOutput(bool hasSync = true) : m_hasSync(hasSync) {}
  ~FakeTrackOutput() override {
    for (MidiEventTrack* track : tracks) track->SetOutput(nullptr);
  }
  void Add(MidiEventTrack* track) {
    tracks.push_back(track);
    track->SetOutput(this);
  }
  void RemoveTrack(MidiEventTrack* track) override {
    tracks.erase(std::remove(tracks.begin(), tracks.end(), track), tracks.end());
    ++removals;
  }
  bool HasSync() const override { return m_hasSync; }
  void SetSyncResolution(DWORD ticks) override { resolutions.push_back(ticks); }

  std::vector<MidiEventTrack*> tracks;
  std::vector<DWORD> resolutions;
  int removals = 0;

 private:
  bool m_hasSync;
};

inline MidiEvent Note(std::uint32_t time, BYTE status, BYTE pitch, BYTE velocity) {
  return MidiEvent{time, status, pitch, velocity, 0};
}

// Fills a track with events through recording, then stops recording.
inline void Record(MidiEventTrack& track, const std::vector<MidiEvent>& events) {
  track.SetRecording(true);
  for (const MidiEvent& e : events) track.AddEvent(e);
  track.SetRecording(false);
}
