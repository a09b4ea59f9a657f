#include "platform/qt/KRtMidiDevices.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/MidiClock.h"

namespace {

constexpr const char* kClientName = "Stavlin";
// How often an output looks whether its port is still there.
constexpr auto kWatchEvery = std::chrono::milliseconds(100);

RtMidi::Api ApiOf(KRtMidiDevices::System system) {
  return system == KRtMidiDevices::System::kJack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

// libjack reports to standard error unless told otherwise; a missing server
// is an ordinary case here, not worth a line on the terminal.
void Quiet(const char*) {}

// RtMidi reports through exceptions unless it has a callback; once an object
// exists its reports go here and are kept as the last error.
void KeepError(RtMidiError::Type, const std::string& text, void* userData) {
  if (userData != nullptr) *static_cast<std::string*>(userData) = text;
}

// An output connection. A port that is no longer in the system's list has
// gone: a connection to it sends into nothing without a complaint from either
// ALSA or JACK, so the connection looks at the list itself every so often
// (after a send, never before it: the message that is due goes out first).
class RtOut final : public MidiOutConnection {
 public:
  // target: the name of the port fed (empty for the program's own port).
  RtOut(std::unique_ptr<RtMidiOut> port, std::string target)
      : m_port(std::move(port)), m_target(std::move(target)) {
    m_port->setErrorCallback(&KeepError, &m_error);
    m_lastWatch = std::chrono::steady_clock::now();
  }
  ~RtOut() override {
    try {
      m_port->closePort();
    } catch (const RtMidiError&) {
    }
  }
  bool Send(const std::vector<std::uint8_t>& message) override {
    if (m_lost) return false;
    bool sent = false;
    try {
      m_error.clear();
      m_port->sendMessage(&message);
      sent = m_error.empty();
    } catch (const RtMidiError&) {
      sent = false;
    }
    Watch();
    return sent && !m_lost;
  }
  bool Lost() const override { return m_lost; }

 private:
  void Watch() {
    if (m_target.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastWatch < kWatchEvery) return;
    m_lastWatch = now;
    try {
      const unsigned count = m_port->getPortCount();
      for (unsigned i = 0; i < count; ++i) {
        if (m_port->getPortName(i) == m_target) return;
      }
      m_lost = true;
    } catch (const RtMidiError&) {
      m_lost = true;
    }
  }

  std::unique_ptr<RtMidiOut> m_port;
  std::string m_target;
  std::string m_error;
  std::chrono::steady_clock::time_point m_lastWatch;
  bool m_lost = false;
};

// Receives on RtMidi's thread and hands each message to the event loop of the
// user-interface thread; messages queued for a receiver that has gone are
// dropped by Qt.
class RtIn final : public MidiInConnection {
 public:
  RtIn(std::unique_ptr<RtMidiIn> port, MidiDeviceSystem::InputHandler handler, const MidiClock& clock)
      : m_port(std::move(port)), m_handler(std::move(handler)), m_clock(clock) {
    m_receiver = new QObject();
    m_port->setErrorCallback(&KeepError, &m_error);
    m_port->ignoreTypes(false, true, true);
    m_port->setCallback(&RtIn::Arrived, this);
  }
  ~RtIn() override {
    try {
      m_port->cancelCallback();
      m_port->closePort();
    } catch (const RtMidiError&) {
    }
    delete m_receiver;
  }
  void Start() override { m_started = true; }
  void Stop() override { m_started = false; }

 private:
  static void Arrived(double, std::vector<unsigned char>* bytes, void* self) {
    auto* in = static_cast<RtIn*>(self);
    MidiInMessage message;
    message.timeUs = in->m_clock.NowUs();
    message.bytes.assign(bytes->begin(), bytes->end());
    QPointer<QObject> receiver = in->m_receiver;
    QMetaObject::invokeMethod(
        in->m_receiver,
        [in, receiver, message] {
          if (receiver && in->m_started) in->m_handler(message);
        },
        Qt::QueuedConnection);
  }

  std::unique_ptr<RtMidiIn> m_port;
  MidiDeviceSystem::InputHandler m_handler;
  const MidiClock& m_clock;
  QObject* m_receiver = nullptr;
  std::string m_error;
  bool m_started = false;
};

}  // namespace

KRtMidiDevices::KRtMidiDevices(System system) : m_asked(system) {}
KRtMidiDevices::~KRtMidiDevices() = default;

bool KRtMidiDevices::SequencerPresent() { return access("/dev/snd/seq", R_OK | W_OK) == 0; }

bool KRtMidiDevices::JackServerRunning() {
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  jack_status_t status{};
  jack_client_t* client = jack_client_open("Stavlin probe", JackNoStartServer, &status);
  if (client == nullptr) return false;
  jack_client_close(client);
  return true;
}

KRtMidiDevices::System KRtMidiDevices::Current() {
  if (m_system != System::kNone) return m_system;
  const char* asked = std::getenv("STAVLIN_MIDI_SYSTEM");
  std::string choice = asked != nullptr ? asked : "";
  if (m_asked == System::kAlsa) choice = "alsa";
  if (m_asked == System::kJack) choice = "jack";
  if (choice == "alsa" || choice == "ALSA") {
    if (SequencerPresent()) m_system = System::kAlsa;
  } else if (choice == "jack" || choice == "JACK") {
    if (JackServerRunning()) m_system = System::kJack;
  } else if (SequencerPresent()) {
    m_system = System::kAlsa;
  } else if (JackServerRunning()) {
    m_system = System::kJack;
  }
  if (m_system == System::kNone)
    m_lastError = choice.empty() ? "neither an ALSA sequencer nor a JACK server is running"
                                 : "the MIDI system " + choice + " is not running";
  return m_system;
}

std::string KRtMidiDevices::SystemName() const {
  switch (m_system) {
    case System::kAlsa:
      return "ALSA";
    case System::kJack:
      return "JACK";
    case System::kNone:
      break;
  }
  return {};
}

RtMidiOut* KRtMidiDevices::Lister() {
  if (!m_lister && Current() != System::kNone) {
    try {
      m_lister = std::make_unique<RtMidiOut>(ApiOf(m_system), kClientName);
      m_lister->setErrorCallback(&KeepError, &m_lastError);
    } catch (const RtMidiError& error) {
      m_lastError = error.getMessage();
    }
  }
  return m_lister.get();
}

RtMidiIn* KRtMidiDevices::InLister() {
  if (!m_inLister && Current() != System::kNone) {
    try {
      m_inLister = std::make_unique<RtMidiIn>(ApiOf(m_system), kClientName);
      m_inLister->setErrorCallback(&KeepError, &m_lastError);
    } catch (const RtMidiError& error) {
      m_lastError = error.getMessage();
    }
  }
  return m_inLister.get();
}

std::vector<std::string> KRtMidiDevices::OutputNames() {
  std::vector<std::string> names;
  if (RtMidiOut* lister = Lister()) {
    const unsigned count = lister->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(lister->getPortName(i));
  }
  return names;
}

std::vector<std::string> KRtMidiDevices::InputNames() {
  std::vector<std::string> names;
  if (RtMidiIn* lister = InLister()) {
    const unsigned count = lister->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(lister->getPortName(i));
  }
  return names;
}

std::unique_ptr<MidiOutConnection> KRtMidiDevices::OpenOutput(int index) {
  if (index < 0 || Lister() == nullptr) {
    if (m_lastError.empty()) m_lastError = "no MIDI output port " + std::to_string(index + 1);
    return nullptr;
  }
  try {
    auto port = std::make_unique<RtMidiOut>(ApiOf(m_system), kClientName);
    m_lastError.clear();
    port->setErrorCallback(&KeepError, &m_lastError);
    if (static_cast<unsigned>(index) >= port->getPortCount()) {
      m_lastError = "no MIDI output port " + std::to_string(index + 1);
      return nullptr;
    }
    const std::string target = port->getPortName(static_cast<unsigned>(index));
    port->openPort(static_cast<unsigned>(index), "Output");
    if (!m_lastError.empty() || !port->isPortOpen()) return nullptr;
    return std::make_unique<RtOut>(std::move(port), target);
  } catch (const RtMidiError& error) {
    m_lastError = error.getMessage();
    return nullptr;
  }
}

std::string KRtMidiDevices::MapperName() {
  if (Current() == System::kNone) return {};
  return std::string(kClientName) + " own output (" + SystemName() + ")";
}

std::unique_ptr<MidiOutConnection> KRtMidiDevices::OpenMapper() {
  if (Current() == System::kNone) return nullptr;
  try {
    auto port = std::make_unique<RtMidiOut>(ApiOf(m_system), kClientName);
    m_lastError.clear();
    port->setErrorCallback(&KeepError, &m_lastError);
    port->openVirtualPort("Output");
    if (!m_lastError.empty()) return nullptr;
    return std::make_unique<RtOut>(std::move(port), std::string());
  } catch (const RtMidiError& error) {
    m_lastError = error.getMessage();
    return nullptr;
  }
}

std::unique_ptr<MidiInConnection> KRtMidiDevices::OpenInput(int index, InputHandler handler) {
  if (index < 0 || InLister() == nullptr) {
    if (m_lastError.empty()) m_lastError = "no MIDI input port " + std::to_string(index + 1);
    return nullptr;
  }
  try {
    auto port = std::make_unique<RtMidiIn>(ApiOf(m_system), kClientName);
    m_lastError.clear();
    port->setErrorCallback(&KeepError, &m_lastError);
    if (static_cast<unsigned>(index) >= port->getPortCount()) {
      m_lastError = "no MIDI input port " + std::to_string(index + 1);
      return nullptr;
    }
    port->openPort(static_cast<unsigned>(index), "Input");
    if (!m_lastError.empty() || !port->isPortOpen()) return nullptr;
    return std::make_unique<RtIn>(std::move(port), std::move(handler), CurrentMidiClock());
  } catch (const RtMidiError& error) {
    m_lastError = error.getMessage();
    return nullptr;
  }
}
