// The score view's full layout (RebuildDisplayLines with its pagination) of
// generated scores of staff and tablature line pairs in bracketed groups,
// 25 bars to a line: 40 pairs hold 1,000 bars, 400 pairs 10,000. Bar numbers
// are shown, so every group's bars are counted. Reports the display lines.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"

namespace {

// A view over a generated score of `pairs` staff and tablature line pairs.
struct KLaidOutScore {
  explicit KLaidOutScore(int pairs) {
    KLargeScoreShape shape;
    shape.lines = 2 * pairs;
    shape.noteColumns = 200;
    shape.columnsPerBar = 8;
    MakeLargeScore(doc, shape);
    view = std::make_unique<CStavlinView>(&doc, &host);
    view->m_show[8] = 0;
    view->m_barNumbersShown = 1;
    for (LOGFONT& font : view->m_textFonts) {
      font.lfHeight = 20;
      SetFaceName(font, "Arial");
    }
    view->m_baseFontHeight[0] = 20;
  }

  CStavlinDoc doc;
  FakeViewHost host;
  std::unique_ptr<CStavlinView> view;
};

KLaidOutScore& Score(int pairs) {
  static std::map<int, std::unique_ptr<KLaidOutScore>> scores;
  static const bool prepared = [] {
    PrepareScoreClasses();
    return true;
  }();
  (void)prepared;
  auto& score = scores[pairs];
  if (!score) score = std::make_unique<KLaidOutScore>(pairs);
  return *score;
}

void BM_FullLayout(benchmark::State& state) {
  KLaidOutScore& score = Score(static_cast<int>(state.range(0)));
  int lines = 0;
  for (auto _ : state) {
    lines = score.view->RebuildDisplayLines(0);
    benchmark::DoNotOptimize(lines);
  }
  state.counters["display_lines"] = lines;
  state.counters["bars"] = static_cast<double>(state.range(0)) * 25;
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_FullLayout)->Arg(40)->Arg(400)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
