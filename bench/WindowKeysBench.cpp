// Keys typed into the real program's main window on an X display: the
// application started as the program starts (CStavlinApp::InitInstance with
// the score on its command line: main frame with menus, toolbars and status
// bar, the score's child window with its view widget) on the xcb platform,
// and keys pressed on the display through XTEST, so that each key takes the
// whole road of a typed key and everything the program sends the display for
// it is counted (see XDisplayKeys.h).
//
// Scores: generated staff and tablature pairs in bracketed groups with a
// lyric line after every fifth group, of 10 and 100 pages by the view's own
// pagination; autosave off. The caret stands on a line of the kind in the
// middle of the score, in view. One iteration is one key, measured from its
// press on the display until the program has handled it, repainted what it
// changed, and the display has taken every request (a reply to a last probe):
//   text    letters typed into a lyric line;
//   staff   notes typed into a staff (a pitch letter, then a quarter "q": two
//           keys a note), with mutual translation into its tablature partner;
//   tab     frets typed into a tablature line;
//   arrows  Right, Right, Left, Left, Down, Up on a staff;
//   undo    Ctrl+Z after 20 notes typed (untimed) into a staff;
//   redo    Ctrl+Shift+Z after those 20 notes were typed and undone.
// The iteration time is the process's CPU time for the key (every thread:
// Qt's X event reader too). Counters per key: wall_ms, requests (X requests
// sent), round_trips (replies waited for), worst_cpu_ms.
//
// Needs an X display: run it as `xvfb-run -a bench/bench_window_keys`, or
// with DISPLAY naming a display (with a window manager, as a user has).
// STAVLIN_BENCH_TRACE=1 prints each key's figures. To profile the keys
// alone: STAVLIN_PERF_FIFO=<fifo> with
// `perf record -D -1 --control=fifo:<fifo> ...`: the program switches the
// recording on around the timed keys only.
//
// Target: under 3 ms of CPU per key, the same at 10 and at 100 pages.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPaintEvent>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "LargeScore.h"
#include "XDisplayKeys.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CStavlinApp.h"
#include "doc/CStavlinDoc.h"
#include "model/KLineObj.h"
#include "platform/FakeUiPort.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/UiPort.h"
#include "platform/qt/KQtPorts.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrameWidth = 1200;
constexpr int kFrameHeight = 860;
constexpr int kGroupsPerLyricLine = 5;
constexpr int kStaffColumn = 100;
constexpr int kTextColumn = 20;
constexpr int kUndoSteps = 20;  // the undo ring's default depth
constexpr auto kKeyTimeout = std::chrono::seconds(10);

// Switches a waiting `perf record --control=fifo:...` on and off.
void PerfRecording(bool on) {
  static const char* fifo = std::getenv("STAVLIN_PERF_FIFO");
  if (fifo == nullptr) return;
  if (std::FILE* control = std::fopen(fifo, "w")) {
    std::fputs(on ? "enable\n" : "disable\n", control);
    std::fclose(control);
  }
}

double CpuMs() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Counts the key releases the main window receives from the display.
class KReleaseCounter : public QObject {
 public:
  int releases = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease) ++releases;
    return QObject::eventFilter(watched, event);
  }
};

// Adds up the area of the score view's paints.
class KPaintCounter : public QObject {
 public:
  long long pixels = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
        pixels += static_cast<long long>(r.width()) * r.height();
    }
    return QObject::eventFilter(watched, event);
  }
};

struct KKey {
  std::uint32_t keysym;
  std::vector<std::uint32_t> modifiers;
};

struct KKeyCost {
  double cpuMs = 0;
  double wallMs = 0;
  long long paintedPixels = 0;  // of the score view
  std::uint64_t requests = 0;
  std::uint64_t roundTrips = 0;
};

// The program, started once for the whole run in a folder of its own.
class KProgram {
 public:
  static KProgram& Get() {
    static KProgram* program = new KProgram;  // lives until the process ends
    return *program;
  }
  const std::string& Error() const { return m_error; }

  // The main window showing a score of that many pages, active, with the
  // keyboard focus in its view; null (and Error()) when it could not be had.
  CStavlinView* ShowScoreOfPages(int pages);

  // Presses the key on the display and waits until the program handled it
  // and painted what it changed.
  bool Type(const KKey& key, KKeyCost& cost);

  void PlaceCaret(CStavlinView& view, int lineType, int column);

 private:
  KProgram();
  CChildFrame* Open(int lines);
  // Runs the event loop until the window has seen `releases` more key
  // releases (or the time is up), then until nothing more is pending.
  bool Settle(int releases);
  void Drain();

  std::unique_ptr<QApplication> m_qt;
  std::unique_ptr<KQtPorts> m_ports;
  FakeUiPort m_ui;
  std::unique_ptr<ScopedUiPort> m_uiScope;
  std::unique_ptr<KSettingsStoreScope> m_store;
  KBenchFolder m_folder;
  std::unique_ptr<CStavlinApp> m_app;
  std::unique_ptr<KXDisplayKeys> m_keys;
  KReleaseCounter m_counter;
  KPaintCounter m_paints;
  std::map<int, CChildFrame*> m_windows;  // by pages
  int m_files = 0;
  std::string m_error;
};

KProgram::KProgram() {
  if (std::getenv("DISPLAY") == nullptr) {
    m_error = "no X display: run it under xvfb-run -a, or set DISPLAY";
    return;
  }
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  // The user's folders are the benchmark's own.
  const std::string home = m_folder.Dir().string();
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  static int argc = 1;
  static char name[] = "stavlin";
  static char* argv[] = {name, nullptr};
  m_qt = std::make_unique<QApplication>(argc, argv);
  m_ports = std::make_unique<KQtPorts>();
  // Message boxes take their default answers (none is expected); the
  // preferences are the defaults, kept in memory.
  m_uiScope = std::make_unique<ScopedUiPort>(m_ui);
  m_store = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
  RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\NewDocXYSizeXYPos", REG_SZ, "900,650,10,10,0,9,9,9", 0);
  m_keys = std::make_unique<KXDisplayKeys>();
  if (!m_keys->Ok()) {
    m_error = m_keys->Error();
    return;
  }
  m_app = std::make_unique<CStavlinApp>();
  if (!m_app->InitInstance({})) {
    m_error = "the program did not start";
    return;
  }
  CMainFrame& frame = *m_app->MainFrame();
  frame.resize(kFrameWidth, kFrameHeight);
  frame.show();
  Drain();
  if (frame.windowHandle() == nullptr) {
    m_error = "the main window has no window on the display";
    return;
  }
  frame.windowHandle()->installEventFilter(&m_counter);
}

void KProgram::Drain() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

bool KProgram::Settle(int releases) {
  const Clock::time_point deadline = Clock::now() + kKeyTimeout;
  while (m_counter.releases < releases && Clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  Drain();
  return m_counter.releases >= releases;
}

CChildFrame* KProgram::Open(int lines) {
  KLargeScoreShape shape;
  shape.lines = lines;
  shape.textLineEvery = kGroupsPerLyricLine;
  CStavlinDoc doc;
  doc.settings.makeBackups = 0;
  doc.settings.autosaveAmount = 0;  // no save of the whole score every few keys
  MakeLargeScore(doc, shape);
  const std::string path = m_folder.Path(("score" + std::to_string(m_files++) + ".svd").c_str());
  if (!doc.OnSaveDocument(path.c_str())) return nullptr;
  CChildFrame* child = m_app->OpenDocumentFile(path.c_str());
  Drain();
  return child;
}

CStavlinView* KProgram::ShowScoreOfPages(int pages) {
  if (!m_error.empty()) return nullptr;
  CMainFrame& frame = *m_app->MainFrame();
  CChildFrame*& kept = m_windows[pages];
  if (kept == nullptr) {
    // Pages grow with the lines: a guess from a small score, then steps.
    constexpr int kGuessLines = 40;
    CChildFrame* child = Open(kGuessLines);
    if (child == nullptr || child->ActivePane() == nullptr) {
      m_error = "a score did not open";
      return nullptr;
    }
    const int perGuess = std::max(1, child->ActivePane()->View().GetPageCount());
    child->CloseWithoutAsking();
    Drain();
    int lines = std::max(2, 2 * (kGuessLines * pages / perGuess / 2));
    for (int attempt = 0; attempt < 20 && kept == nullptr; ++attempt) {
      child = Open(lines);
      if (child == nullptr || child->ActivePane() == nullptr) break;
      const int got = child->ActivePane()->View().GetPageCount();
      if (got == pages) {
        kept = child;
        break;
      }
      child->CloseWithoutAsking();
      Drain();
      lines += std::max(2, 2 * ((pages - got) * kGuessLines / perGuess / 2));
      if (got > pages) lines -= 4;
    }
    if (kept == nullptr) {
      m_error = "no score of that many pages could be made";
      return nullptr;
    }
  }
  frame.MdiArea()->setActiveSubWindow(kept);
  kept->showMaximized();
  frame.activateWindow();
  KViewWidget* pane = kept->ActivePane();
  pane->setFocus();
  pane->viewport()->installEventFilter(&m_paints);
  const Clock::time_point deadline = Clock::now() + kKeyTimeout;
  while ((QApplication::focusWidget() != pane || !frame.isActiveWindow()) && Clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  Drain();
  if (QApplication::focusWidget() != pane) {
    m_error = "the score's view did not get the keyboard focus";
    return nullptr;
  }
  return &pane->View();
}

void KProgram::PlaceCaret(CStavlinView& view, int lineType, int column) {
  const int count = view.GetDisplayLineCount();
  int line = count / 2;
  while (line < count && view.GetDisplayEntry(line).type != lineType) ++line;
  if (line >= count) return;
  const int top = view.GetDisplayEntry(line).top;
  KViewWidget* pane = m_app->MainFrame()->ActiveChild()->ActivePane();
  const RECT client = pane->GetClientRect();
  view.SetVirtualScrollPosition(0, std::max(0, top - static_cast<int>(client.bottom) / 3));
  view.m_currentLine = line;
  view.m_currentType = lineType;
  view.m_currentFamily = KLineObj::FamilyOf(lineType);
  view.m_caretColumn = column;
  view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? 4 : 18;
  const POINT caret = view.PlaceCaret();
  const POINT scroll = view.GetVirtualScrollPosition();
  view.SetVirtualScrollPosition(
      std::max(0, static_cast<int>(scroll.x + caret.x) - static_cast<int>(client.right) / 2), scroll.y);
  view.PlaceCaret();
  m_app->MainFrame()->AfterViewInput();
  Drain();
  m_keys->Sync();
}

bool KProgram::Type(const KKey& key, KKeyCost& cost) {
  const std::uint64_t tripsBefore = KXDisplayKeys::RoundTrips();
  const auto first = static_cast<std::uint32_t>(m_keys->Sync());
  const int releasesBefore = m_counter.releases;
  const long long paintedBefore = m_paints.pixels;
  const double cpuStart = CpuMs();
  const Clock::time_point wallStart = Clock::now();
  const int sent = m_keys->Press(key.keysym, key.modifiers);
  if (sent == 0) return false;
  const bool handled = Settle(releasesBefore + sent / 2);
  const auto last = static_cast<std::uint32_t>(m_keys->Sync());
  cost.cpuMs = CpuMs() - cpuStart;
  cost.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count();
  cost.paintedPixels = m_paints.pixels - paintedBefore;
  // Between the two probes: the keys sent here, then the program's own.
  cost.requests = static_cast<std::uint32_t>(last - first - 1 - static_cast<std::uint32_t>(sent));
  cost.roundTrips = KXDisplayKeys::RoundTrips() - tripsBefore - 2;  // less the two probes
  return handled;
}

// ---- The benchmarks ---------------------------------------------------------------------

enum What { kText, kStaff, kTab, kArrows, kUndo, kRedo };

KKey StaffKey(int i) {
  static const char kPitches[] = "cdefgab";
  return i % 2 == 0 ? KKey{static_cast<std::uint32_t>(kPitches[(i / 2) % 7]), {}} : KKey{'q', {}};
}

KKey KeyOf(What what, int i) {
  static const char kWords[] = "the quick brown fox jumps over the lazy dog ";
  static const char kFrets[] = "0235";
  static const std::uint32_t kArrowKeys[] = {KXDisplayKeys::kRight, KXDisplayKeys::kRight,
                                             KXDisplayKeys::kLeft,  KXDisplayKeys::kLeft,
                                             KXDisplayKeys::kDown,  KXDisplayKeys::kUp};
  switch (what) {
    case kText:
      return {static_cast<std::uint32_t>(kWords[i % (sizeof(kWords) - 1)]), {}};
    case kStaff:
      return StaffKey(i);
    case kTab:
      return {static_cast<std::uint32_t>(kFrets[i % 4]), {}};
    case kArrows:
      return {kArrowKeys[i % 6], {}};
    case kUndo:
      return {'z', {KXDisplayKeys::kControl}};
    case kRedo:
      return {'z', {KXDisplayKeys::kControl, KXDisplayKeys::kShift}};
  }
  return {'a', {}};
}

void BM_WindowKey(benchmark::State& state, What what, int pages) {
  KProgram& program = KProgram::Get();
  CStavlinView* view = program.ShowScoreOfPages(pages);
  if (view == nullptr) {
    state.SkipWithError(program.Error().c_str());
    return;
  }
  const int lineType = what == kText ? 5 : what == kTab ? 2 : 0;
  program.PlaceCaret(*view, lineType, what == kText ? kTextColumn : kStaffColumn);

  // Undo and redo need the steps to take back first.
  KKeyCost untimed;
  if (what == kUndo || what == kRedo) {
    for (int i = 0; i < 2 * kUndoSteps; ++i) program.Type(StaffKey(i), untimed);
  }
  if (what == kRedo) {
    for (int i = 0; i < kUndoSteps; ++i) program.Type(KeyOf(kUndo, i), untimed);
  }

  KKeyCost sum;
  double worst = 0;
  int i = 0;
  PerfRecording(true);
  for (auto _ : state) {
    KKeyCost cost;
    if (!program.Type(KeyOf(what, i++), cost)) {
      PerfRecording(false);
      state.SkipWithError("a key was not handled in time");
      return;
    }
    state.SetIterationTime(cost.cpuMs / 1e3);
    if (std::getenv("STAVLIN_BENCH_TRACE") != nullptr)
      std::fprintf(stderr, "key %d: %.2f ms, %lld px, %llu requests, scroll x %ld\n", i - 1, cost.cpuMs,
                   cost.paintedPixels, static_cast<unsigned long long>(cost.requests),
                   static_cast<long>(view->GetVirtualScrollPosition().x));
    sum.cpuMs += cost.cpuMs;
    sum.wallMs += cost.wallMs;
    sum.requests += cost.requests;
    sum.roundTrips += cost.roundTrips;
    sum.paintedPixels += cost.paintedPixels;
    worst = std::max(worst, cost.cpuMs);
  }
  PerfRecording(false);
  const double n = std::max(1.0, static_cast<double>(state.iterations()));
  state.counters["wall_ms"] = sum.wallMs / n;
  state.counters["requests"] = static_cast<double>(sum.requests) / n;
  state.counters["round_trips"] = static_cast<double>(sum.roundTrips) / n;
  state.counters["worst_cpu_ms"] = worst;
  state.counters["painted_kpx"] = static_cast<double>(sum.paintedPixels) / n / 1e3;
  state.counters["pages"] = view->GetPageCount();
}

void Register() {
  const struct {
    const char* name;
    What what;
    int keys;
  } kinds[] = {{"text", kText, 60},     {"staff", kStaff, 80},       {"tab", kTab, 40},
               {"arrows", kArrows, 60}, {"undo", kUndo, kUndoSteps}, {"redo", kRedo, kUndoSteps}};
  for (int pages : {10, 100}) {
    for (const auto& kind : kinds) {
      const std::string name = std::string("BM_WindowKey/") + kind.name + "/pages:" + std::to_string(pages);
      benchmark::RegisterBenchmark(name.c_str(), BM_WindowKey, kind.what, pages)
          ->Iterations(kind.keys)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
