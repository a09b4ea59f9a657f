// The score-wide music commands over a generated score of staff and
// tablature pairs in bracketed groups that lays out to over 100 pages:
// transposing every line, wrapping every line to a shorter staff length
// (each line gives a bar to the next, down to a new group at the end), and
// evenly spacing every line. Each run includes its undo snapshot and the
// relayout. Reports the pages and display lines.

#include <benchmark/benchmark.h>

#include <memory>

#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr int kPairs = 600;
constexpr int kNoteColumns = 40;  // five bars of eight columns: 45 columns a line
constexpr int kFitting = 34 + 10 + 18 * 46;
constexpr int kShorter = 34 + 10 + 18 * 40;

struct KMusicScore {
  explicit KMusicScore(int staffLength) {
    KLargeScoreShape shape;
    shape.lines = 2 * kPairs;
    shape.noteColumns = kNoteColumns;
    shape.columnsPerBar = 8;
    MakeLargeScore(doc, shape);
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = doc.GetNextLine(pos);
      if (KLineObj::IsNoteFamily(line->GetFamily())) line->SetStaffLength(staffLength);
    }
    view = std::make_unique<CStavlinView>(&doc, &host);
    view->m_show[8] = 1;
    for (LOGFONT& font : view->m_textFonts) {
      font.lfHeight = 20;
      SetFaceName(font, "Arial");
    }
    view->m_baseFontHeight[0] = 20;
    view->RebuildDisplayLines(0);
    view->FindTopLine(0);
  }
  void SelectAll() { view->UpdateSelection(0, 32000, 0, view->GetDisplayLineCount() - 1, 10); }

  CStavlinDoc doc;
  FakeViewHost host;
  std::unique_ptr<CStavlinView> view;
};

void Prepare() {
  static const bool prepared = [] {
    PrepareScoreClasses();
    return true;
  }();
  (void)prepared;
}

void Report(benchmark::State& state, CStavlinView& view) {
  state.counters["pages"] = view.GetPageCount();
  state.counters["display_lines"] = view.GetDisplayLineCount();
}

void BM_TransposeWholeScore(benchmark::State& state) {
  Prepare();
  KMusicScore score(kFitting);
  KTransposeRequest request;
  request.scope = 2;
  request.placement = 0;
  request.direction = 2;
  int turn = 0;
  for (auto _ : state) {
    request.targetKey = (turn++ % 2 == 0) ? 2 : 5;  // to B flat and back to C
    RunTranspose(*score.view, &request);
  }
  Report(state, *score.view);
}

void BM_WrapToShorterStaff(benchmark::State& state) {
  Prepare();
  std::unique_ptr<KMusicScore> score;
  for (auto _ : state) {
    state.PauseTiming();
    score = std::make_unique<KMusicScore>(kShorter);
    score->SelectAll();
    state.ResumeTiming();
    WrapMusic(*score->view);
  }
  Report(state, *score->view);
}

void BM_EvenlySpaceWholeScore(benchmark::State& state) {
  Prepare();
  std::unique_ptr<KMusicScore> score;
  for (auto _ : state) {
    state.PauseTiming();
    score = std::make_unique<KMusicScore>(kFitting + 18 * 10);
    score->SelectAll();
    state.ResumeTiming();
    EvenlySpaceNotation(*score->view, -1);
  }
  Report(state, *score->view);
}

}  // namespace

BENCHMARK(BM_TransposeWholeScore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapToShorterStaff)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EvenlySpaceWholeScore)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
