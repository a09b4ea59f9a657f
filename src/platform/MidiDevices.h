#pragma once
// The MIDI devices of the machine: how many output and input ports there are,
// their names, and connections to them. The Qt shell installs the RtMidi
// back end (KRtMidiDevices): the ALSA sequencer where the machine has one,
// the JACK server where it has none (or where the user asks for JACK). Without
// an installed system there are no devices. Tests install FakeMidiDevices.
//
// Output connections take whole messages (a short message of one to three
// bytes, or a System Exclusive message from F0 to F7). Input connections
// deliver whole messages with their arrival time on the MIDI clock, always on
// the user-interface thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MidiOutConnection {
 public:
  virtual ~MidiOutConnection() = default;
  // Sends one message at once; false when the device refused it.
  virtual bool Send(const std::vector<std::uint8_t>& message) = 0;
  // Whether the port this connection feeds has gone (unplugged, its program
  // closed): nothing sent reaches anything any more.
  virtual bool Lost() const { return false; }
};

class MidiInConnection {
 public:
  virtual ~MidiInConnection() = default;
  // Starts and stops the delivery of messages (they are dropped while stopped).
  virtual void Start() = 0;
  virtual void Stop() = 0;
  // notice runs once, on the user-interface thread from its event loop (never
  // inside a call of the connection's own, so it may destroy the
  // connection), when the port listened to has gone: unplugged, its program
  // closed, or the MIDI system itself ended. Nothing arrives after that.
  virtual void WhenLost(std::function<void()> notice) { (void)notice; }
};

// One incoming message: its bytes and when it arrived (MIDI clock, µs).
struct MidiInMessage {
  std::int64_t timeUs = 0;
  std::vector<std::uint8_t> bytes;
};

class MidiDeviceSystem {
 public:
  using InputHandler = std::function<void(const MidiInMessage&)>;

  virtual ~MidiDeviceSystem() = default;
  // The ports as they are now (the lists are read again on each call).
  virtual std::vector<std::string> OutputNames() = 0;
  virtual std::vector<std::string> InputNames() = 0;
  // A connection to output port index, or null when it cannot be opened
  // (why: LastError).
  virtual std::unique_ptr<MidiOutConnection> OpenOutput(int index) = 0;
  // A connection to input port index delivering to handler; null on failure.
  virtual std::unique_ptr<MidiInConnection> OpenInput(int index, InputHandler handler) = 0;
  virtual std::string LastError() const { return {}; }
  // The name of the output that needs no device of the machine: a port of
  // the program's own that the system's patchbay routes (the place of a MIDI
  // mapper); empty when there is none.
  virtual std::string MapperName() { return {}; }
  // A connection to that output; null when there is none.
  virtual std::unique_ptr<MidiOutConnection> OpenMapper() { return nullptr; }
  // The MIDI system the ports belong to ("ALSA", "JACK"), empty for none.
  virtual std::string SystemName() const { return {}; }
};

// The devices in use; a system without ports unless one is installed.
MidiDeviceSystem& CurrentMidiDevices();
// Installs a system (not owned) and returns the previous one; nullptr
// restores the system without ports.
MidiDeviceSystem* SetMidiDevices(MidiDeviceSystem* devices);

// Devices for tests: named ports, outputs that record what they are sent,
// inputs the test feeds, and opens that can be made to fail.
class FakeMidiDevices final : public MidiDeviceSystem {
 public:
  std::vector<std::string> outputs;
  std::vector<std::string> inputs;
  // Indexes whose open fails.
  std::vector<int> failingOutputs;
  std::vector<int> failingInputs;
  // Every message sent to each output, by index.
  std::vector<std::vector<std::vector<std::uint8_t>>> sent;
  // How many connections are open to each output.
  std::vector<int> openOutputs;
  // The mapper's name (none when empty) and what it was sent.
  std::string mapper;
  std::vector<std::vector<std::uint8_t>> mapperSent;

  std::vector<std::string> OutputNames() override { return outputs; }
  std::vector<std::string> InputNames() override { return inputs; }
  std::unique_ptr<MidiOutConnection> OpenOutput(int index) override;
  std::unique_ptr<MidiInConnection> OpenInput(int index, InputHandler handler) override;
  std::string MapperName() override { return mapper; }
  std::unique_ptr<MidiOutConnection> OpenMapper() override;

  // The output of that index goes away: its open connections report Lost
  // and refuse what they are sent (the name stays in the list unless the
  // test removes it).
  void Unplug(int index);

  // Delivers a message to the open, started input of that index; false when
  // there is none.
  bool Feed(int index, const MidiInMessage& message);
  // The input of that index goes away: the notices of its open connections
  // run (the test calls this from outside any connection's call).
  void UnplugInput(int index);

 private:
  struct Input {
    int index = 0;
    InputHandler handler;
    std::function<void()> lost;
    bool started = false;
  };
  class Out;
  class In;
  class MapperOut;
  std::vector<Input*> m_inputs;
  std::vector<int> m_unplugged;
};
