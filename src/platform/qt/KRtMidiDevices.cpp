#include "platform/qt/KRtMidiDevices.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <atomic>
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

// The clients of a JACK server that has ended. libjack cannot close them
// safely: closing reads the server's tables, which have gone or, once a
// server of the same name runs again, belong to the new one (and crash it).
// So they are kept, unused, for the life of the program: a few small
// objects each time a server ends.
struct ServerRemains {
  std::vector<std::unique_ptr<RtMidiOut>> outs;
  std::vector<std::unique_ptr<RtMidiIn>> ins;
  std::vector<jack_client_t*> clients;
};
ServerRemains& Remains() {
  static auto* remains = new ServerRemains();
  return *remains;
}

// Whether the port named target is in port's list (the ports of the other
// side); false when the list cannot be read.
template <class Port>
bool Listed(Port& port, const std::string& target) {
  try {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
      if (port.getPortName(i) == target) return true;
    }
  } catch (const RtMidiError&) {
  }
  return false;
}

// An output connection. A port that is no longer in the system's list has
// gone: a connection to it sends into nothing without a complaint from either
// ALSA or JACK, so the connection looks at the list itself every so often
// (after a send, never before it: the message that is due goes out first).
// A JACK server that has ended takes every port with it: the connection
// knows at once, without asking a server that no longer answers.
class RtOut final : public MidiOutConnection {
 public:
  // target: the name of the port fed (empty for the program's own port);
  // serverGone: set when the JACK server ends (null for ALSA).
  RtOut(std::unique_ptr<RtMidiOut> port, std::string target,
        std::shared_ptr<const std::atomic<bool>> serverGone)
      : m_port(std::move(port)), m_target(std::move(target)), m_serverGone(std::move(serverGone)) {
    m_port->setErrorCallback(&KeepError, &m_error);
    m_lastWatch = std::chrono::steady_clock::now();
  }
  ~RtOut() override {
    if (ServerGone()) {
      Remains().outs.push_back(std::move(m_port));
      return;
    }
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
  bool Lost() const override { return m_lost || ServerGone(); }

 private:
  bool ServerGone() const { return m_serverGone != nullptr && m_serverGone->load(); }
  void Watch() {
    if (ServerGone()) m_lost = true;
    if (m_target.empty() || m_lost) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastWatch < kWatchEvery) return;
    m_lastWatch = now;
    if (!Listed(*m_port, m_target)) m_lost = true;
  }

  std::unique_ptr<RtMidiOut> m_port;
  std::string m_target;
  std::shared_ptr<const std::atomic<bool>> m_serverGone;
  std::string m_error;
  std::chrono::steady_clock::time_point m_lastWatch;
  bool m_lost = false;
};

// Receives on RtMidi's thread and hands each message to the event loop of the
// user-interface thread; messages queued for a receiver that has gone are
// dropped by Qt. Nothing tells an input that its port has gone, so the
// connection looks at the list every so often on the user-interface thread
// (and at once at the end of the JACK server), through a client of its own:
// the receiving one is busy on RtMidi's thread. The notice of a loss is
// posted to the application, so that it may close the connection.
class RtIn final : public MidiInConnection {
 public:
  // source: the name of the port listened to; lister: a client that lists
  // the ports; serverGone as for RtOut.
  RtIn(std::unique_ptr<RtMidiIn> port, std::unique_ptr<RtMidiIn> lister,
       MidiDeviceSystem::InputHandler handler, const MidiClock& clock, std::string source,
       std::shared_ptr<const std::atomic<bool>> serverGone)
      : m_port(std::move(port)),
        m_lister(std::move(lister)),
        m_handler(std::move(handler)),
        m_clock(clock),
        m_source(std::move(source)),
        m_serverGone(std::move(serverGone)) {
    m_receiver = new QObject();
    m_port->setErrorCallback(&KeepError, &m_error);
    m_lister->setErrorCallback(&KeepError, &m_listError);
    m_port->ignoreTypes(false, true, true);
    m_port->setCallback(&RtIn::Arrived, this);
    auto* watch = new QTimer(m_receiver);
    QObject::connect(watch, &QTimer::timeout, m_receiver, [this, watch] {
      const bool gone = (m_serverGone != nullptr && m_serverGone->load()) || !Listed(*m_lister, m_source);
      if (!gone) return;
      watch->stop();
      m_started = false;
      if (!*m_notice) return;
      std::weak_ptr<std::function<void()>> notice = m_notice;
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [notice] {
            if (const std::shared_ptr<std::function<void()>> call = notice.lock(); call && *call) (*call)();
          },
          Qt::QueuedConnection);
    });
    watch->start(static_cast<int>(kWatchEvery.count()));
  }
  ~RtIn() override {
    delete m_receiver;
    if (m_serverGone != nullptr && m_serverGone->load()) {
      m_port->cancelCallback();
      Remains().ins.push_back(std::move(m_port));
      Remains().ins.push_back(std::move(m_lister));
      return;
    }
    try {
      m_port->cancelCallback();
      m_port->closePort();
    } catch (const RtMidiError&) {
    }
  }
  void Start() override { m_started = true; }
  void Stop() override { m_started = false; }
  void WhenLost(std::function<void()> notice) override { *m_notice = std::move(notice); }

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
  std::unique_ptr<RtMidiIn> m_lister;
  MidiDeviceSystem::InputHandler m_handler;
  const MidiClock& m_clock;
  std::string m_source;
  std::shared_ptr<const std::atomic<bool>> m_serverGone;
  std::shared_ptr<std::function<void()>> m_notice = std::make_shared<std::function<void()>>();
  QObject* m_receiver = nullptr;
  std::string m_error;
  std::string m_listError;
  bool m_started = false;
};

}  // namespace

// A JACK client of the program's own that hears the server end (on JACK's
// thread: it only sets the flag the connections read).
struct KRtMidiDevices::ServerWatch {
  std::shared_ptr<std::atomic<bool>> gone = std::make_shared<std::atomic<bool>>(false);
  jack_client_t* client = nullptr;

  ServerWatch() {
    jack_set_error_function(&Quiet);
    jack_set_info_function(&Quiet);
    jack_status_t status{};
    client = jack_client_open("Stavlin watch", JackNoStartServer, &status);
    if (client == nullptr) return;
    // Never activated: it takes no part in the server's cycles, and hears
    // the server end all the same.
    jack_on_shutdown(client, &ServerWatch::Ended, gone.get());
  }
  ~ServerWatch() {
    if (client == nullptr) return;
    if (gone->load()) {
      Remains().clients.push_back(client);
    } else {
      jack_client_close(client);
    }
  }
  ServerWatch(const ServerWatch&) = delete;
  ServerWatch& operator=(const ServerWatch&) = delete;

  static void Ended(void* flag) { static_cast<std::atomic<bool>*>(flag)->store(true); }
};

KRtMidiDevices::KRtMidiDevices(System system) : m_asked(system) {}
KRtMidiDevices::~KRtMidiDevices() {
  ForgetEndedServer();
  m_lister.reset();
  m_inLister.reset();
  m_watch.reset();
}

void KRtMidiDevices::ForgetEndedServer() {
  if (m_watch == nullptr || !m_watch->gone->load()) return;
  if (m_lister) Remains().outs.push_back(std::move(m_lister));
  if (m_inLister) Remains().ins.push_back(std::move(m_inLister));
  m_watch.reset();
  m_system = System::kNone;
}

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
  ForgetEndedServer();
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
  if (m_system == System::kJack) {
    m_watch = std::make_unique<ServerWatch>();
    // A server that ended between the look and the watch is not there.
    if (m_watch->client == nullptr) {
      m_watch.reset();
      m_system = System::kNone;
    }
  }
  if (m_system == System::kNone)
    m_lastError = choice.empty() ? "neither an ALSA sequencer nor a JACK server is running"
                                 : "the MIDI system " + choice + " is not running";
  return m_system;
}

std::shared_ptr<const std::atomic<bool>> KRtMidiDevices::ServerGoneFlag() const {
  if (m_watch == nullptr) return nullptr;
  return m_watch->gone;
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
  if (Current() == System::kNone) return nullptr;
  if (!m_lister) {
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
  if (Current() == System::kNone) return nullptr;
  if (!m_inLister) {
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
    return std::make_unique<RtOut>(std::move(port), target, ServerGoneFlag());
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
    return std::make_unique<RtOut>(std::move(port), std::string(), ServerGoneFlag());
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
    const std::string source = port->getPortName(static_cast<unsigned>(index));
    port->openPort(static_cast<unsigned>(index), "Input");
    if (!m_lastError.empty() || !port->isPortOpen()) return nullptr;
    auto lister = std::make_unique<RtMidiIn>(ApiOf(m_system), kClientName);
    return std::make_unique<RtIn>(std::move(port), std::move(lister), std::move(handler), CurrentMidiClock(),
                                  source, ServerGoneFlag());
  } catch (const RtMidiError& error) {
    m_lastError = error.getMessage();
    return nullptr;
  }
}
