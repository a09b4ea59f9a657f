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
// Reports the pages, display lines and messages.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTimer>
#include <memory>

#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "midi/LinePlayEvents.h"
#include "midi/LivePlayback.h"
#include "platform/MidiOutPort.h"
#include "platform/qt/KQtMidiClock.h"
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

}  // namespace

BENCHMARK(BM_BuildPerformance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveOutput)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

BENCHMARK_MAIN();
