// Importing ABC whose music is one very long line, as a text file handed to a
// new score does it: a new score window (offscreen, 1000 x 800), the text
// pasted as text lines and read as ABC, the staff wrapped, the view updated;
// then the window closed. The time of each step and the process's peak
// resident memory (VmHWM) are printed. Each size runs in a fresh process of
// its own (the program runs itself once per size), so that the peak belongs
// to that import alone.
//   Target: a 1 MB line in under 5 s with under 300 MB resident (Release).
// Usage: bench_abc_import [kilobytes...]; no argument runs 1024 and 3072.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/CChildFrame.h"
#include "doc/CStavlinDoc.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTargetSeconds = 5.0;
constexpr double kTargetMb = 300.0;

double Mb(long long kb) { return static_cast<double>(kb) / 1024.0; }

// A tune whose music is one line of about the size: bars of eighth notes in
// G major, with a chord name, a slur and a triplet now and then.
std::string Tune(std::size_t bytes) {
  std::string text = "X:1\nT:One Long Line\nM:4/4\nL:1/8\nK:G\n";
  const char* const bars[] = {"GABc dBGB|", "\"D\"A2 FA dAFA|", "(3GAB cA BGGF|", "(GA) Bc d2 d2|"};
  std::size_t i = 0;
  while (text.size() < bytes) text += bars[i++ % 4];
  text += "\n";
  return text;
}

int MeasureSize(std::size_t kilobytes) {
  KBenchShell::Get();
  const std::string tune = Tune(kilobytes * 1024);
  const long long baseKb = ProcStatusKb("VmRSS");

  Clock::time_point start = Clock::now();
  std::unique_ptr<CChildFrame> child = NewScoreWindow(1000, 800);
  KViewWidget* pane = child->ActivePane();
  if (pane == nullptr) {
    std::printf("%6zu KB  no score window\n", kilobytes);
    return 2;
  }
  const double window = SecondsSince(start);

  start = Clock::now();
  pane->View().ReceiveHandedOverText(CString(tune.c_str()), true, false);
  const double import = SecondsSince(start);
  const int lines = pane->View().GetDisplayLineCount();
  int columns = 0;
  for (POSITION node = child->Document().GetFirstLinePosition(); node != nullptr;) {
    if (auto* line = dynamic_cast<KListLine*>(child->Document().GetNextLine(node)))
      columns += line->GetObjList()->GetCount();
  }

  start = Clock::now();
  (void)pane->viewport()->grab();
  const double paint = SecondsSince(start);
  const long long peakKb = ProcStatusKb("VmHWM");

  start = Clock::now();
  child.reset();
  const double close = SecondsSince(start);

  const double total = window + import + paint;
  const bool met = total < kTargetSeconds && Mb(peakKb) < kTargetMb;
  std::printf(
      "%6zu KB line: window %.2f s, import %.2f s, paint %.2f s (total %.2f s), close %.2f s; "
      "%d display lines, %d columns; resident at start %.0f MB, peak %.0f MB%s\n",
      kilobytes, window, import, paint, total, close, lines, columns, Mb(baseKb), Mb(peakKb),
      kilobytes == 1024 ? (met ? "  [target met]" : "  [TARGET MISSED]") : "");
  return kilobytes == 1024 && !met ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--one") return MeasureSize(std::strtoul(argv[2], nullptr, 10));
  std::vector<std::string> sizes;
  for (int i = 1; i < argc; ++i) sizes.emplace_back(argv[i]);
  if (sizes.empty()) sizes = {"1024", "3072"};
  int worst = 0;
  for (const std::string& size : sizes) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl("/proc/self/exe", argv[0], "--one", size.c_str(), static_cast<char*>(nullptr));
      std::_Exit(3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 4;
    if (code > worst) worst = code;
  }
  return worst;
}
