// The cost of one keystroke with its refresh, on generated scores of 10 and
// 100 pages (staff and tablature line pairs in bracketed groups, counted in
// pages by the view's own pagination). The caret stands on a staff line in
// the middle of the score, at a column in the middle of the line, with that
// line in the window. One iteration is what the program does for one key:
//   entry   OnChar with the typed character, without the views' update;
//   layout  the views' update (OnUpdate: any relayout and the invalidation);
//   paint   the invalidated part of the window painted into the window's
//           backing image through KQtImageDC and OnDraw, as the view
//           widget's paint handler does.
// BM_TypeNote types a quarter note ("q"), then (untimed) a Backspace takes it
// out again so that the line keeps its length; BM_Backspace times the
// Backspace and puts the note back untimed. The second argument is the entry
// mode: 0 enters into the staff and its bracketed tablature partner (mutual
// translation, as the generated score opens), 1 into the staff alone, where
// a Backspace asks for a relayout. The iteration time is the sum of
// the three steps; the counters give each step in microseconds, the pages,
// the display lines and the painted area.
//
// Target: under 2 ms per keystroke, the same at 10 and at 100 pages.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "platform/qt/KQtImageDC.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 800;
constexpr QRgb kWindowColour = 0xFFFFFFFF;
constexpr int kLinesPerGuess = 40;  // the first score tried, in lines
constexpr int kCaretColumnInLine = 100;
constexpr int kStaffRow = 18;
constexpr UINT kBackspace = 8;

double UsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// A window for the view: the fake window's scroll bars and list of
// invalidated rectangles, with a device context of the real screen kind for
// measuring text, as the view widget has.
class KBenchViewHost : public FakeViewHost {
 public:
  KBenchViewHost() : m_measureImage(1, 1, QImage::Format_RGB32), m_measureDC(m_measureImage) {
    client = RECT{0, 0, kWindowWidth, kWindowHeight};
  }
  CDC* GetMeasureDC() override { return &m_measureDC; }

 private:
  QImage m_measureImage;
  KQtImageDC m_measureDC;
};

// Notes when the document starts and ends telling its views of a change: one
// is attached before the score view and one after it.
class KUpdateClock : public KDocumentView {
 public:
  explicit KUpdateClock(Clock::time_point& mark) : m_mark(mark) {}
  void OnUpdate(KDocumentView* /*sender*/, int /*hint*/) override { m_mark = Clock::now(); }
  void SetChangedFlag() override {}

 private:
  Clock::time_point& m_mark;
};

// A generated score in a view after its first update, with the caret on a
// staff line in the middle.
class KKeystrokeScore {
 public:
  explicit KKeystrokeScore(int lines) : m_startClock(m_updateStart), m_endClock(m_updateEnd) {
    KLargeScoreShape shape;
    shape.lines = lines;
    MakeLargeScore(m_doc, shape);
    m_doc.AddView(&m_startClock);
    m_view = std::make_unique<CStavlinView>(&m_doc, &m_host);
    m_doc.AddView(&m_endClock);
    m_view->OnInitialUpdate();
    m_backing = QImage(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    m_backing.fill(kWindowColour);
  }
  ~KKeystrokeScore() {
    m_doc.RemoveView(&m_endClock);
    m_view.reset();
    m_doc.RemoveView(&m_startClock);
  }
  KKeystrokeScore(const KKeystrokeScore&) = delete;
  KKeystrokeScore& operator=(const KKeystrokeScore&) = delete;

  CStavlinView& View() { return *m_view; }

  // Puts the caret on the staff line nearest the middle of the score and
  // scrolls it into the window; false when the score has no staff line.
  bool PlaceCaretInTheMiddle() {
    CStavlinView& view = *m_view;
    const int count = view.GetDisplayLineCount();
    int line = count / 2;
    while (line < count && view.GetDisplayEntry(line).type != 0) ++line;
    if (line >= count) return false;
    const int top = view.GetDisplayEntry(line).top;
    view.SetVirtualScrollPosition(0, std::max(0, top - kWindowHeight / 3));
    view.m_currentLine = line;
    view.m_currentType = view.GetDisplayEntry(line).type;
    view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
    view.m_caretColumn = kCaretColumnInLine;
    view.m_caretRow = kStaffRow;
    // The caret in the middle of the window, so that typing a note (and
    // taking it out) does not make the window follow it sideways: a scroll
    // repaints the window whatever the key did.
    const POINT caret = view.PlaceCaret();
    const POINT scroll = view.GetVirtualScrollPosition();
    view.SetVirtualScrollPosition(std::max(0, static_cast<int>(scroll.x + caret.x) - kWindowWidth / 2), scroll.y);
    view.PlaceCaret();
    Paint(true);
    return true;
  }

  struct Split {
    double entry = 0;
    double layout = 0;
    double paint = 0;
    long long paintedPixels = 0;
  };

  // One key through OnChar, then the paint of what it invalidated.
  Split Key(UINT ch) {
    Split split;
    m_host.invalidated.clear();
    m_updateStart = m_updateEnd = Clock::time_point{};
    const Clock::time_point start = Clock::now();
    m_view->OnChar(ch, 1, 0);
    const double total = UsSince(start);
    if (m_updateEnd > m_updateStart)
      split.layout = std::chrono::duration<double, std::micro>(m_updateEnd - m_updateStart).count();
    split.entry = total - split.layout;
    const Clock::time_point paintStart = Clock::now();
    split.paintedPixels = Paint(false);
    split.paint = UsSince(paintStart);
    return split;
  }

 private:
  // The view widget's paint handler: the window's background, then the view's
  // picture, in the bounding rectangle of what was invalidated (the whole
  // window when asked). Returns the painted area in pixels.
  long long Paint(bool whole) {
    QRect dirty;
    if (whole) {
      dirty = QRect(0, 0, kWindowWidth, kWindowHeight);
    } else {
      for (const RECT& r : m_host.invalidated)
        dirty |= QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
      dirty &= QRect(0, 0, kWindowWidth, kWindowHeight);
    }
    if (dirty.isEmpty()) return 0;
    {
      QPainter erase(&m_backing);
      erase.fillRect(dirty, QColor::fromRgb(kWindowColour));
    }
    KQtImageDC dc(m_backing);
    const POINT scroll = m_host.GetScrollPosition();
    dc.SetWindowOrg(scroll.x, scroll.y);
    dc.IntersectClipRect(dirty.left() + scroll.x, dirty.top() + scroll.y, dirty.right() + 1 + scroll.x,
                         dirty.bottom() + 1 + scroll.y);
    m_view->OnDraw(&dc);
    return static_cast<long long>(dirty.width()) * dirty.height();
  }

  CStavlinDoc m_doc;
  KBenchViewHost m_host;
  Clock::time_point m_updateStart;
  Clock::time_point m_updateEnd;
  KUpdateClock m_startClock;
  KUpdateClock m_endClock;
  std::unique_ptr<CStavlinView> m_view;
  QImage m_backing;
};

// The score of the number of pages (by the view's pagination), made once per
// page count and kept for the run; null when no score of that many pages
// could be made.
KKeystrokeScore* ScoreOfPages(int pages) {
  static std::map<int, std::unique_ptr<KKeystrokeScore>> scores;
  auto& kept = scores[pages];
  if (kept) return kept.get();
  KBenchShell::Get();
  // Pages grow with the lines: guess from the pages of a small score, then
  // step the line pairs until the pagination gives the count.
  int lines = kLinesPerGuess;
  auto score = std::make_unique<KKeystrokeScore>(lines);
  const int pagesPerGuess = std::max(1, score->View().GetPageCount());
  lines = std::max(2, 2 * (lines * pages / pagesPerGuess / 2));
  for (int attempt = 0; attempt < 40; ++attempt) {
    score = std::make_unique<KKeystrokeScore>(lines);
    const int got = score->View().GetPageCount();
    if (got == pages) break;
    lines += got < pages ? 2 : -2;
    if (lines < 2) return nullptr;
  }
  if (score->View().GetPageCount() != pages || !score->PlaceCaretInTheMiddle()) return nullptr;
  kept = std::move(score);
  return kept.get();
}

// The score of the benchmark's pages in the benchmark's entry mode; null
// (the benchmark skipped) when it could not be made.
KKeystrokeScore* Prepared(benchmark::State& state) {
  KKeystrokeScore* score = ScoreOfPages(static_cast<int>(state.range(0)));
  if (score == nullptr) {
    state.SkipWithError("no score of that many pages with a staff line could be made");
    return nullptr;
  }
  score->View().m_mutualTranslation = state.range(1) == 0 ? 1 : 0;
  return score;
}

void Report(benchmark::State& state, KKeystrokeScore& score, const KKeystrokeScore::Split& sum) {
  const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["entry_us"] = sum.entry / n;
  state.counters["layout_us"] = sum.layout / n;
  state.counters["paint_us"] = sum.paint / n;
  state.counters["painted_px"] = static_cast<double>(sum.paintedPixels) / n;
  state.counters["pages"] = score.View().GetPageCount();
  state.counters["display_lines"] = score.View().GetDisplayLineCount();
}

void Accumulate(KKeystrokeScore::Split& sum, const KKeystrokeScore::Split& one) {
  sum.entry += one.entry;
  sum.layout += one.layout;
  sum.paint += one.paint;
  sum.paintedPixels += one.paintedPixels;
}

// Timed: the note; untimed: the Backspace that takes it out again.
void BM_TypeNote(benchmark::State& state) {
  KKeystrokeScore* score = Prepared(state);
  if (score == nullptr) return;
  KKeystrokeScore::Split sum;
  for (auto _ : state) {
    const KKeystrokeScore::Split one = score->Key('q');
    state.SetIterationTime((one.entry + one.layout + one.paint) / 1e6);
    Accumulate(sum, one);
    score->Key(kBackspace);
  }
  Report(state, *score, sum);
}

// Untimed: a note; timed: the Backspace that takes it out.
void BM_Backspace(benchmark::State& state) {
  KKeystrokeScore* score = Prepared(state);
  if (score == nullptr) return;
  KKeystrokeScore::Split sum;
  for (auto _ : state) {
    score->Key('q');
    const KKeystrokeScore::Split one = score->Key(kBackspace);
    state.SetIterationTime((one.entry + one.layout + one.paint) / 1e6);
    Accumulate(sum, one);
  }
  Report(state, *score, sum);
}

}  // namespace

BENCHMARK(BM_TypeNote)
    ->ArgsProduct({{10, 100}, {0, 1}})
    ->ArgNames({"pages", "single"})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_Backspace)
    ->ArgsProduct({{10, 100}, {0, 1}})
    ->ArgNames({"pages", "single"})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

BENCHMARK_MAIN();
