#include "platform/MidiDevices.h"

#include <algorithm>

namespace {

class NoMidiDevices final : public MidiDeviceSystem {
 public:
  std::vector<std::string> OutputNames() override { return {}; }
  std::vector<std::string> InputNames() override { return {}; }
  std::unique_ptr<MidiOutConnection> OpenOutput(int) override { return nullptr; }
  std::unique_ptr<MidiInConnection> OpenInput(int, InputHandler) override { return nullptr; }
  std::string LastError() const override { return "no MIDI devices"; }
};

NoMidiDevices g_none;
MidiDeviceSystem* g_devices = nullptr;

}  // namespace

MidiDeviceSystem& CurrentMidiDevices() { return g_devices != nullptr ? *g_devices : g_none; }

MidiDeviceSystem* SetMidiDevices(MidiDeviceSystem* devices) {
  MidiDeviceSystem* previous = g_devices;
  g_devices = devices;
  return previous;
}

// ---- FakeMidiDevices -------------------------------------------------------------------

class FakeMidiDevices::Out final : public MidiOutConnection {
 public:
  Out(FakeMidiDevices& owner, int index) : m_owner(owner), m_index(index) { ++m_owner.openOutputs[Slot()]; }
  ~Out() override { --m_owner.openOutputs[Slot()]; }
  bool Send(const std::vector<std::uint8_t>& message) override {
    if (Lost()) return false;
    m_owner.sent[Slot()].push_back(message);
    return true;
  }
  bool Lost() const override {
    return std::find(m_owner.m_unplugged.begin(), m_owner.m_unplugged.end(), m_index) !=
           m_owner.m_unplugged.end();
  }

 private:
  std::size_t Slot() const { return static_cast<std::size_t>(m_index); }
  FakeMidiDevices& m_owner;
  int m_index;
};

class FakeMidiDevices::In final : public MidiInConnection {
 public:
  In(FakeMidiDevices& owner, int index, InputHandler handler) : m_owner(owner) {
    m_input.index = index;
    m_input.handler = std::move(handler);
    m_owner.m_inputs.push_back(&m_input);
  }
  ~In() override { std::erase(m_owner.m_inputs, &m_input); }
  void Start() override { m_input.started = true; }
  void Stop() override { m_input.started = false; }
  void WhenLost(std::function<void()> notice) override { m_input.lost = std::move(notice); }

 private:
  FakeMidiDevices& m_owner;
  Input m_input;
};

class FakeMidiDevices::MapperOut final : public MidiOutConnection {
 public:
  explicit MapperOut(FakeMidiDevices& owner) : m_owner(owner) {}
  bool Send(const std::vector<std::uint8_t>& message) override {
    m_owner.mapperSent.push_back(message);
    return true;
  }

 private:
  FakeMidiDevices& m_owner;
};

std::unique_ptr<MidiOutConnection> FakeMidiDevices::OpenMapper() {
  if (mapper.empty()) return nullptr;
  return std::make_unique<MapperOut>(*this);
}

void FakeMidiDevices::Unplug(int index) { m_unplugged.push_back(index); }

std::unique_ptr<MidiOutConnection> FakeMidiDevices::OpenOutput(int index) {
  if (index < 0 || index >= static_cast<int>(outputs.size())) return nullptr;
  if (std::find(m_unplugged.begin(), m_unplugged.end(), index) != m_unplugged.end()) return nullptr;
  if (std::find(failingOutputs.begin(), failingOutputs.end(), index) != failingOutputs.end()) return nullptr;
  sent.resize(outputs.size());
  openOutputs.resize(outputs.size());
  return std::make_unique<Out>(*this, index);
}

std::unique_ptr<MidiInConnection> FakeMidiDevices::OpenInput(int index, InputHandler handler) {
  if (index < 0 || index >= static_cast<int>(inputs.size())) return nullptr;
  if (std::find(failingInputs.begin(), failingInputs.end(), index) != failingInputs.end()) return nullptr;
  return std::make_unique<In>(*this, index, std::move(handler));
}

void FakeMidiDevices::UnplugInput(int index) {
  // A notice may close its connection, which leaves the list.
  std::vector<std::function<void()>> notices;
  for (Input* input : m_inputs) {
    if (input->index != index || !input->lost) continue;
    notices.push_back(std::move(input->lost));
    input->lost = nullptr;
    input->started = false;
  }
  for (const std::function<void()>& notice : notices) notice();
}

bool FakeMidiDevices::Feed(int index, const MidiInMessage& message) {
  for (Input* input : m_inputs) {
    if (input->index == index && input->started) {
      input->handler(message);
      return true;
    }
  }
  return false;
}
