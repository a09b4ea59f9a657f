#include "platform/qt/KRtMidiDevices.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include "platform/MidiClock.h"

namespace {

constexpr const char* kClientName = "Stavlin";

// RtMidi reports through exceptions unless it has a callback; once an object
// exists its reports go here and are kept as the last error.
void KeepError(RtMidiError::Type, const std::string& text, void* userData) {
  if (userData != nullptr) *static_cast<std::string*>(userData) = text;
}

class RtOut final : public MidiOutConnection {
 public:
  explicit RtOut(std::unique_ptr<RtMidiOut> port) : m_port(std::move(port)) {
    m_port->setErrorCallback(&KeepError, &m_error);
  }
  ~RtOut() override {
    try {
      m_port->closePort();
    } catch (const RtMidiError&) {
    }
  }
  bool Send(const std::vector<std::uint8_t>& message) override {
    try {
      m_error.clear();
      m_port->sendMessage(&message);
      return m_error.empty();
    } catch (const RtMidiError&) {
      return false;
    }
  }

 private:
  std::unique_ptr<RtMidiOut> m_port;
  std::string m_error;
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

KRtMidiDevices::KRtMidiDevices() = default;
KRtMidiDevices::~KRtMidiDevices() = default;

bool KRtMidiDevices::SequencerPresent() { return access("/dev/snd/seq", R_OK | W_OK) == 0; }

RtMidiOut* KRtMidiDevices::Lister() {
  if (!m_lister && SequencerPresent()) {
    try {
      m_lister = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
      m_lister->setErrorCallback(&KeepError, &m_lastError);
    } catch (const RtMidiError& error) {
      m_lastError = error.getMessage();
    }
  }
  return m_lister.get();
}

RtMidiIn* KRtMidiDevices::InLister() {
  if (!m_inLister && SequencerPresent()) {
    try {
      m_inLister = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, kClientName);
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
    auto port = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
    m_lastError.clear();
    port->setErrorCallback(&KeepError, &m_lastError);
    if (static_cast<unsigned>(index) >= port->getPortCount()) {
      m_lastError = "no MIDI output port " + std::to_string(index + 1);
      return nullptr;
    }
    port->openPort(static_cast<unsigned>(index), "Stavlin Output");
    if (!m_lastError.empty() || !port->isPortOpen()) return nullptr;
    return std::make_unique<RtOut>(std::move(port));
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
    auto port = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, kClientName);
    m_lastError.clear();
    port->setErrorCallback(&KeepError, &m_lastError);
    if (static_cast<unsigned>(index) >= port->getPortCount()) {
      m_lastError = "no MIDI input port " + std::to_string(index + 1);
      return nullptr;
    }
    port->openPort(static_cast<unsigned>(index), "Stavlin Input");
    if (!m_lastError.empty() || !port->isPortOpen()) return nullptr;
    return std::make_unique<RtIn>(std::move(port), std::move(handler), CurrentMidiClock());
  } catch (const RtMidiError& error) {
    m_lastError = error.getMessage();
    return nullptr;
  }
}
