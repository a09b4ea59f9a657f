#pragma once
// The program's own MIDI input and sync timer: the input hands every event
// to the score view registered as the live-input target, and each beat of
// the sync timer ticks the recording dialog's metronome while it records.
// An input device that goes away while recording ends the take: the keys
// still held are written as released then, recording stops, and a message
// says which device went.

#include "midi/CMaxMidiIn.h"
#include "midi/CMaxMidiSync.h"

class CStavlinView;

class KSVMidiIn : public CMaxMidiIn {
 public:
  // HandleLiveMidiNotes of the live-input target; 0 without a target.
  BOOL FilterEvent(const MidiShortEvent& event) override;
  void OnInputLost() override;
};

class KSVMidiSync : public CMaxMidiSync {
 public:
  // RecordingMetronomeTick of the recording dialog while it records.
  void OnBeat() override;
  void OnSyncNotify() override {}
};

// The score view that live MIDI input writes into; null when none.
CStavlinView* LiveInputTarget();
void SetLiveInputTarget(CStavlinView* view);
