#pragma once
// The machine's MIDI ports through RtMidi. The MIDI system is the ALSA
// sequencer where the machine has one (/dev/snd/seq), else the JACK server
// when one runs (PipeWire's JACK service counts); the environment variable
// STAVLIN_MIDI_SYSTEM ("alsa" or "jack") picks one outright. Without either
// the lists are empty and opens fail with a reason, at once: no server is
// ever started and nothing waits for one. A system not found is looked for
// again the next time the ports are listed.
//
// Output connections watch their port: once it has gone from the system's
// list they report Lost and refuse what they are sent; input connections
// watch theirs and post a notice when it goes. Input arrives on RtMidi's own
// thread and is handed to the user-interface thread through the event loop.
// A JACK server that ends takes every port with it: a client of the
// program's own hears of it, every connection on that server is lost at
// once, and the server is looked for afresh, so that its ports are listed and
// opened again once it runs again. The mapper is an output port of the program's own, which the
// system's patchbay connects wherever the user likes.

#include <atomic>
#include <memory>
#include <string>

#include "platform/MidiDevices.h"

class RtMidiIn;
class RtMidiOut;

class KRtMidiDevices final : public MidiDeviceSystem {
 public:
  enum class System { kNone, kAlsa, kJack };

  // system: the MIDI system to use whatever the machine has; kNone chooses
  // as above.
  explicit KRtMidiDevices(System system = System::kNone);
  ~KRtMidiDevices() override;
  KRtMidiDevices(const KRtMidiDevices&) = delete;
  KRtMidiDevices& operator=(const KRtMidiDevices&) = delete;

  std::vector<std::string> OutputNames() override;
  std::vector<std::string> InputNames() override;
  std::unique_ptr<MidiOutConnection> OpenOutput(int index) override;
  std::unique_ptr<MidiInConnection> OpenInput(int index, InputHandler handler) override;
  std::string LastError() const override { return m_lastError; }
  std::string MapperName() override;
  std::unique_ptr<MidiOutConnection> OpenMapper() override;
  std::string SystemName() const override;

  // The system in use, choosing it first when none was found yet.
  System Current();

  // Whether the machine has an ALSA sequencer at all.
  static bool SequencerPresent();
  // Whether a JACK server answers (the one JACK_DEFAULT_SERVER names, or
  // the default one); never starts one.
  static bool JackServerRunning();

 private:
  struct ServerWatch;

  // The clients used to list the ports; null without a system.
  RtMidiOut* Lister();
  RtMidiIn* InLister();
  // After the JACK server ended: its clients go and the system is chosen
  // again at the next use.
  void ForgetEndedServer();
  // Set when the JACK server in use ends; null for ALSA or none.
  std::shared_ptr<const std::atomic<bool>> ServerGoneFlag() const;

  System m_asked = System::kNone;
  System m_system = System::kNone;
  std::unique_ptr<RtMidiOut> m_lister;
  std::unique_ptr<RtMidiIn> m_inLister;
  // The end of the JACK server in use (null for ALSA or none).
  std::unique_ptr<ServerWatch> m_watch;
  std::string m_lastError;
};
