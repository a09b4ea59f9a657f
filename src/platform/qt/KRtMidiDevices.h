#pragma once
// The machine's MIDI ports through RtMidi on the ALSA sequencer. A machine
// without a sequencer (no /dev/snd/seq, as in containers and CI) has no
// ports: the lists are empty and opens fail, with no message shown. Input
// arrives on RtMidi's own thread and is handed to the user-interface thread
// through the event loop.

#include <memory>

#include "platform/MidiDevices.h"

class RtMidiIn;
class RtMidiOut;

class KRtMidiDevices final : public MidiDeviceSystem {
 public:
  KRtMidiDevices();
  ~KRtMidiDevices() override;
  KRtMidiDevices(const KRtMidiDevices&) = delete;
  KRtMidiDevices& operator=(const KRtMidiDevices&) = delete;

  std::vector<std::string> OutputNames() override;
  std::vector<std::string> InputNames() override;
  std::unique_ptr<MidiOutConnection> OpenOutput(int index) override;
  std::unique_ptr<MidiInConnection> OpenInput(int index, InputHandler handler) override;
  std::string LastError() const override { return m_lastError; }

  // Whether the machine has an ALSA sequencer at all.
  static bool SequencerPresent();

 private:
  // The client used to list the ports; null without a sequencer.
  RtMidiOut* Lister();
  RtMidiIn* InLister();

  std::unique_ptr<RtMidiOut> m_lister;
  std::unique_ptr<RtMidiIn> m_inLister;
  std::string m_lastError;
};
