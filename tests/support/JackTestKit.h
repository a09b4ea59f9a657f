#pragma once
// A JACK server and client for tests that drive real MIDI ports.
//
// jacktest::Server finds the server the test script started (its name in
// STAVLIN_TEST_JACK_SERVER) or starts one of its own on the dummy driver (no
// sound card) under a private name, points JACK_DEFAULT_SERVER at it for the
// life of the object and stops the server it started. Ok() is false, with the
// reason in Why(), where no server could be had: the caller skips.
// Server(Server::kOwn) always starts one of its own, which the test may stop
// (as a user's JACK server that ends) and start again under the same name;
// the shared server is never stopped.
//
// jacktest::Client is a JACK client with one MIDI input port ("synth-in", a
// synthesizer for the program's output) and one MIDI output port
// ("keys-out", a keyboard for the program's input). What reaches synth-in is
// kept with its time (µs on the server's clock); what is queued with
// Send goes out of keys-out in the next cycle.

#include <fcntl.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace jacktest {

inline void Quiet(const char*) {}

// Whether a server of that name answers (never starts one).
inline bool ServerAnswers(const std::string& name) {
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  jack_status_t status{};
  jack_client_t* client =
      jack_client_open("stavlin-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                       &status, name.c_str());
  if (client == nullptr) return false;
  jack_client_close(client);
  return true;
}

class Server {
 public:
  enum Kind { kShared, kOwn };

  explicit Server(Kind kind = kShared) {
    const char* previous = std::getenv("JACK_DEFAULT_SERVER");
    if (previous != nullptr) previous_ = previous;
    const char* given = std::getenv("STAVLIN_TEST_JACK_SERVER");
    if (kind == kShared && given != nullptr && *given != '\0' && ServerAnswers(given)) {
      name_ = given;
    } else {
      name_ = std::string(kind == kOwn ? "stavlin-own-" : "stavlin-test-") + std::to_string(::getpid());
      if (!Spawn()) return;
      own_ = true;
    }
    ::setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    ok_ = true;
  }
  ~Server() {
    if (previous_) {
      ::setenv("JACK_DEFAULT_SERVER", previous_->c_str(), 1);
    } else {
      ::unsetenv("JACK_DEFAULT_SERVER");
    }
    Stop();
  }

  // Stops the server this object started (nothing for the shared one); its
  // clients lose it as a user's programs do when their JACK server ends.
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    bool ended = false;
    for (int i = 0; i < 300 && !ended; ++i) {
      ended = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }
  // Starts a stopped server of its own again under the same name.
  bool Restart() {
    if (pid_ > 0 || !own_) return false;
    return Spawn();
  }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Why() const { return why_; }
  const std::string& Name() const { return name_; }

 private:
  bool Spawn() {
    const std::string jackd = "/usr/bin/jackd";
    if (::access(jackd.c_str(), X_OK) != 0) {
      why_ = "jackd is not installed (Debian jackd2)";
      return false;
    }
    std::vector<std::string> args = {jackd,   "--realtime", "--silent", "-n", name_, "-d",
                                     "dummy", "-r",         "48000",    "-p", "64"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int failed = posix_spawn(&pid_, jackd.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
      pid_ = -1;
      why_ = "jackd would not run";
      return false;
    }
    for (int i = 0; i < 100; ++i) {
      if (ServerAnswers(name_)) return true;
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    why_ = "the JACK server (jackd -d dummy) did not start";
    return false;
  }

  std::string name_;
  std::optional<std::string> previous_;
  pid_t pid_ = -1;
  bool own_ = false;
  bool ok_ = false;
  std::string why_;
};

class Client {
 public:
  struct Event {
    std::int64_t us = 0;
    std::vector<std::uint8_t> bytes;
  };

  explicit Client(const std::string& name) {
    jack_status_t status{};
    client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (client_ == nullptr) return;
    in_ = jack_port_register(client_, "synth-in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    out_ = jack_port_register(client_, "keys-out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    rate_ = jack_get_sample_rate(client_);
    jack_set_process_callback(client_, &Client::Process, this);
    if (in_ == nullptr || out_ == nullptr || jack_activate(client_) != 0) {
      jack_client_close(client_);
      client_ = nullptr;
    }
  }
  ~Client() {
    if (client_ != nullptr) {
      jack_deactivate(client_);
      jack_client_close(client_);
    }
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool Ok() const { return client_ != nullptr; }
  // The server's period in microseconds.
  std::int64_t PeriodUs() const {
    return client_ != nullptr ? static_cast<std::int64_t>(jack_get_buffer_size(client_)) * 1000000 / rate_
                              : 0;
  }
  std::string SynthPort() const { return in_ != nullptr ? jack_port_name(in_) : ""; }
  std::string KeysPort() const { return out_ != nullptr ? jack_port_name(out_) : ""; }
  // How many ports feed synth-in.
  int SynthConnections() const { return in_ != nullptr ? jack_port_connected(in_) : 0; }
  int KeysConnections() const { return out_ != nullptr ? jack_port_connected(out_) : 0; }

  std::vector<Event> Received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }
  void ClearReceived() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
  }
  void Send(std::vector<std::uint8_t> message) {
    std::lock_guard<std::mutex> lock(mutex_);
    outgoing_.push_back(std::move(message));
  }
  // synth-in goes away, as a synthesizer that is closed.
  void CloseSynthPort() {
    if (in_ == nullptr) return;
    jack_port_t* port = in_;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      in_ = nullptr;
    }
    jack_port_unregister(client_, port);
  }

 private:
  static int Process(jack_nframes_t frames, void* arg) {
    auto* self = static_cast<Client*>(arg);
    std::lock_guard<std::mutex> lock(self->mutex_);
    const jack_nframes_t start = jack_last_frame_time(self->client_);
    const std::int64_t now = std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    if (self->in_ != nullptr) {
      void* buffer = jack_port_get_buffer(self->in_, frames);
      const jack_nframes_t count = jack_midi_get_event_count(buffer);
      for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0) continue;
        // When the cycle that carries it runs, on the monotonic clock: the
        // dummy driver's frames do not keep pace with the clock on a busy
        // machine, so frames alone would mislead.
        (void)start;
        self->received_.push_back({now, std::vector<std::uint8_t>(event.buffer, event.buffer + event.size)});
      }
    }
    void* out = jack_port_get_buffer(self->out_, frames);
    jack_midi_clear_buffer(out);
    while (!self->outgoing_.empty()) {
      const std::vector<std::uint8_t>& message = self->outgoing_.front();
      if (jack_midi_event_write(out, 0, message.data(), message.size()) != 0) break;
      self->outgoing_.pop_front();
    }
    return 0;
  }

  jack_client_t* client_ = nullptr;
  jack_port_t* in_ = nullptr;
  jack_port_t* out_ = nullptr;
  jack_nframes_t rate_ = 48000;
  std::mutex mutex_;
  std::vector<Event> received_;
  std::deque<std::vector<std::uint8_t>> outgoing_;
};

}  // namespace jacktest
