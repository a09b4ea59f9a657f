#pragma once
// The recording dialog's way into the program: the main frame's MIDI output,
// input and sync timer, the live-input target view, and the recording
// preferences. The shell's recording window and the tests both use it.

#include <functional>

#include "dialogs/KDlgInputMidi.h"

class KFrameServices;

// The recording settings as the "MidiInput" preferences hold them, with the
// metronome click of the MIDI import preferences.
KLiveInputSettings LiveInputSettingsFromPreferences();

class KLiveInputLink final : public KLiveInputHost {
 public:
  // close: the frame destroys the dialog (after the call returns).
  KLiveInputLink(KFrameServices& frame, std::function<void()> close)
      : m_frame(frame), m_close(std::move(close)) {}

  MidiOutPort* RecordingOutput() override;
  int RecordingOutputDevice() const override;
  bool HasLiveInputTarget() override;
  void StartLiveInput(int tempo) override;
  void StopLiveInput() override;
  void StopInputDevices() override;
  void SetSyncTempo(int bpm) override;
  void SaveEntryState() override;
  void RestoreEntryState() override;
  void FocusTarget() override;
  void StoreSettings(const KLiveInputSettings& settings) override;
  void CloseInputMidiDialog() override;

 private:
  KFrameServices& m_frame;
  std::function<void()> m_close;
};
