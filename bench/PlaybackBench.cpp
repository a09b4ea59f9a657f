// Playback over a generated score of staff and tablature pairs in bracketed
// groups that lays out to over 100 pages:
//   BM_BuildPerformance  the sequencer turns the whole shown score into its
//                        performance (every message with its tick), as Play
//                        and Full Score As MIDI File both start;
//   BM_LiveOutput        the first seconds of that performance played in real
//                        time through the program's MIDI clock (precise
//                        timers of a Qt event loop) into an output that only
//                        counts, after one short untimed play; reports the
//                        worst lateness of any message against its deadline
//                        (late_us) and the worst earliness (early_us). Run
//                        it on an idle machine.
//   BM_LiveOutputJack    the same through the program's MIDI output on a real
//                        JACK MIDI port (a server on the dummy driver that
//                        the bench starts, or the one STAVLIN_TEST_JACK_SERVER
//                        names) to a JACK client of the bench's own: late_us
//                        as above, and arrival_us, the worst distance of any
//                        message's arrival at the client from its time in the
//                        music (the first message's arrival sets the clock).
// Reports the pages, display lines and messages.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "midi/CMaxMidiOut.h"
#include "midi/LinePlayEvents.h"
#include "midi/LivePlayback.h"
#include "platform/MidiOutPort.h"
#include "platform/MidiDevices.h"
#include "platform/qt/KQtMidiClock.h"
#include "platform/qt/KRtMidiDevices.h"
#include "support/JackTestKit.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/core/ViewInitialSteps.h"
#include "view/midi/ViewPlayInput.h"

namespace {

constexpr int kPairs = 600;
constexpr int kNoteColumns = 40;
// Played live: this many quarter notes (at 120 a minute, five seconds).
constexpr std::uint32_t kLiveTicks = 10 * kTicksPerQuarter;

struct KPlayBenchScore {
  KPlayBenchScore() {
    static const bool prepared = [] {
      PrepareScoreClasses();
      // Lines turn their columns into play events, as the program sets up at start.
      InstallLinePlayInterpreter();
      return true;
    }();
    (void)prepared;
    KLargeScoreShape shape;
    shape.lines = 2 * kPairs;
    shape.noteColumns = kNoteColumns;
    shape.columnsPerBar = 8;
    MakeLargeScore(doc, shape);
    view = std::make_unique<CStavlinView>(&doc, &host);
    // The score's instrument table with its unlabelled kinds, as opening does.
    RepairInstrumentTable(*view);
    view->RebuildDisplayLines(0);
    view->FindTopLine(0);
  }
  CStavlinDoc doc;
  FakeViewHost host;
  std::unique_ptr<CStavlinView> view;
};

// An output device that takes every message and does nothing with it.
class CountingOut final : public MidiOutPort {
 public:
  BOOL Open(int, DWORD) override {
    m_open = true;
    return TRUE;
  }
  BOOL Put(const MidiShortEvent&) override {
    ++count;
    return TRUE;
  }
  void Close() override { m_open = false; }
  bool IsOpen() const override { return m_open; }
  int count = 0;

 private:
  bool m_open = false;
};

void BM_BuildPerformance(benchmark::State& state) {
  KPlayBenchScore score;
  std::size_t events = 0;
  for (auto _ : state) {
    const KPerformance performance = BuildViewPerformance(*score.view, false);
    events = performance.events.size();
    benchmark::DoNotOptimize(events);
  }
  state.counters["pages"] = score.view->GetPageCount();
  state.counters["display_lines"] = score.view->GetDisplayLineCount();
  state.counters["messages"] = static_cast<double>(events);
}

void BM_LiveOutput(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_playback";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  KPlayBenchScore score;
  KPerformance performance = BuildViewPerformance(*score.view, false);
  // The first seconds only: a bench of minutes would say nothing more.
  std::erase_if(performance.events, [](const KPerfEvent& e) { return e.tick > kLiveTicks; });
  std::erase_if(performance.cues, [](const KPerfCue& c) { return c.tick > kLiveTicks; });
  performance.endTick = kLiveTicks + 1;

  KQtMidiClock clock;
  const auto play = [&](const KPerformance& music, CountingOut& out, KLivePlayback& live) {
    bool ended = false;
    live.Start(
        music, out, [](const KPerfCue&) {}, [&] { ended = true; });
    while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  };
  {
    // The first play of a process pays once for the event loop's first timers
    // (its first messages left about 7 ms late here); the program pays it at
    // its first note preview. Measured: the plays after it.
    KPerformance warmUp = performance;
    std::erase_if(warmUp.events, [](const KPerfEvent& e) { return e.tick > kTicksPerQuarter; });
    warmUp.cues.clear();
    warmUp.endTick = kTicksPerQuarter + 1;
    KLivePlayback live(clock);
    CountingOut out;
    play(warmUp, out, live);
  }
  std::int64_t worstLate = 0;
  std::int64_t worstEarly = 0;
  int sent = 0;
  for (auto _ : state) {
    KLivePlayback live(clock);
    CountingOut out;
    play(performance, out, live);
    worstLate = std::max(worstLate, live.Scheduler().WorstLateUs());
    worstEarly = std::max(worstEarly, live.Scheduler().WorstEarlyUs());
    sent = out.count;
  }
  state.counters["late_us"] = static_cast<double>(worstLate);
  state.counters["early_us"] = static_cast<double>(worstEarly);
  state.counters["messages"] = sent;
}

void BM_LiveOutputJack(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_playback";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  jacktest::Server server;
  if (!server.Ok()) {
    state.SkipWithError(("no JACK server: " + server.Why()).c_str());
    return;
  }
  jacktest::Client synth("bench-synth");
  KRtMidiDevices devices(KRtMidiDevices::System::kJack);
  MidiDeviceSystem* previous = SetMidiDevices(&devices);

  KPlayBenchScore score;
  KPerformance performance = BuildViewPerformance(*score.view, false);
  // A real port carries what a synthesizer takes in a moment: the first
  // seconds of the first forty tracks.
  std::erase_if(performance.events, [](const KPerfEvent& e) { return e.tick > kLiveTicks || e.track >= 40; });
  std::erase_if(performance.cues, [](const KPerfCue& c) { return c.tick > kLiveTicks; });
  performance.endTick = kLiveTicks + 1;
  std::vector<std::int64_t> due;
  for (const KPerfEvent& e : performance.events)
    if (e.kind == KPerfEvent::Kind::kShort)
      due.push_back(static_cast<std::int64_t>(e.tick) * static_cast<std::int64_t>(TempoMicroseconds(performance.tempo)) / kTicksPerQuarter);
  std::stable_sort(due.begin(), due.end());

  CMaxMidiOut out;
  const std::vector<std::string> names = devices.OutputNames();
  const auto port = std::find(names.begin(), names.end(), synth.SynthPort());
  if (port == names.end() || !out.Open(static_cast<int>(port - names.begin()), 0)) {
    SetMidiDevices(previous);
    state.SkipWithError("the bench's JACK port would not open");
    return;
  }
  KQtMidiClock clock;
  const auto play = [&](const KPerformance& music, KLivePlayback& live) {
    bool ended = false;
    live.Start(
        music, out, [](const KPerfCue&) {}, [&] { ended = true; });
    while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  };
  {
    KPerformance warmUp = performance;
    std::erase_if(warmUp.events, [](const KPerfEvent& e) { return e.tick > kTicksPerQuarter; });
    warmUp.cues.clear();
    warmUp.endTick = kTicksPerQuarter + 1;
    KLivePlayback live(clock);
    play(warmUp, live);
  }
  std::int64_t worstLate = 0;
  std::int64_t worstArrival = 0;
  std::size_t received = 0;
  for (auto _ : state) {
    QThread::msleep(50);
    synth.ClearReceived();
    KLivePlayback live(clock);
    play(performance, live);
    QThread::msleep(50);
    worstLate = std::max(worstLate, live.Scheduler().WorstLateUs());
    // Channel messages only: the reset at the start is not part of the music.
    std::vector<std::int64_t> arrivals;
    for (const jacktest::Client::Event& e : synth.Received())
      if (!e.bytes.empty() && e.bytes[0] >= 0x80 && e.bytes[0] < 0xF0) arrivals.push_back(e.us);
    received = arrivals.size();
    const std::size_t n = std::min(arrivals.size(), due.size());
    for (std::size_t i = 0; i < n; ++i) {
      const std::int64_t error = (arrivals[i] - arrivals[0]) - (due[i] - due[0]);
      worstArrival = std::max(worstArrival, error < 0 ? -error : error);
    }
  }
  out.Close();
  SetMidiDevices(previous);
  state.counters["late_us"] = static_cast<double>(worstLate);
  state.counters["arrival_us"] = static_cast<double>(worstArrival);
  state.counters["messages"] = static_cast<double>(due.size());
  state.counters["received"] = static_cast<double>(received);
}

}  // namespace

BENCHMARK(BM_BuildPerformance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveOutput)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_LiveOutputJack)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

BENCHMARK_MAIN();
