// Opening a large score to a painted window: the 2,000-line benchmark score
// (staff and tablature pairs in bracketed groups, 25 bars to a line), saved
// to a temporary file once, then per iteration read from the file into a new
// document, shown in a real score window (CChildFrame with its KViewWidget,
// offscreen) that gets its view's first update, and painted once through the
// widget's paint handler into an image. The window's viewport is 1000 x 800
// pixels. Target: under 0.5 s. The counters split the time into its steps
// (open_ms, view_ms, paint_ms) and prove the picture is not blank (inked_px).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "LargeScore.h"
#include "doc/CStavlinDoc.h"

namespace {

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 800;

const KBenchFolder& Folder() {
  static KBenchFolder folder;
  return folder;
}

// The 2,000-line score saved once; its path, or empty when it could not be.
const std::string& LargeScoreFile() {
  static const std::string path = [] {
    KBenchShell::Get();
    CStavlinDoc doc;
    doc.settings.makeBackups = 0;
    MakeLargeScore(doc);
    const std::string file = Folder().Path("large.svd");
    return Folder().Ok() && doc.OnSaveDocument(file.c_str()) ? file : std::string();
  }();
  return path;
}

void BM_OpenToPaintedView(benchmark::State& state) {
  const std::string& path = LargeScoreFile();
  if (path.empty()) {
    state.SkipWithError("the benchmark score could not be saved");
    return;
  }
  KOpenTimes sum;
  int displayLines = 0;
  int bars = 0;
  long long inked = 0;
  for (auto _ : state) {
    auto score = std::make_unique<KPaintedScore>(path, kWindowWidth, kWindowHeight);
    if (!score->Ok()) {
      state.SkipWithError("the score did not open to a painted window");
      return;
    }
    state.SetIterationTime(score->Times().Total() / 1000.0);
    sum.open += score->Times().open;
    sum.view += score->Times().view;
    sum.paint += score->Times().paint;
    displayLines = score->DisplayLines();
    inked = score->InkedPixels();
    state.PauseTiming();
    bars = CountScoreBars(score->Window());
    score.reset();  // closing the window is not part of opening it
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["open_ms"] = sum.open / n;
  state.counters["view_ms"] = sum.view / n;
  state.counters["paint_ms"] = sum.paint / n;
  state.counters["display_lines"] = displayLines;
  state.counters["bars"] = bars;
  state.counters["inked_px"] = static_cast<double>(inked);
}

BENCHMARK(BM_OpenToPaintedView)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
