// Resident memory with a large score open and painted: the process's VmRSS
// and VmHWM (from /proc/self/status) after a generated score was saved,
// opened into a real score window (offscreen, 1000 x 800), given its first
// update and painted once. Two scores, each measured in a fresh process of
// its own (the program runs itself once per score):
//   measures-1000  40 staff and tablature pairs of 25 bars: 1,000 measures
//                  (target: under 100 MB)
//   lines-2000     the 2,000-line benchmark score (25,000 measures)
// Usage: bench_memory [measures-1000|lines-2000]; no argument runs both.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "LargeScore.h"
#include "app/CChildFrame.h"
#include "doc/CStavlinDoc.h"

namespace {

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 800;
constexpr double kTargetMb = 100.0;

struct KMemoryCase {
  const char* name;
  int lines;
  bool hasTarget;
};

constexpr KMemoryCase kCases[] = {{"measures-1000", 80, true}, {"lines-2000", 2000, false}};

double Mb(long long kb) { return static_cast<double>(kb) / 1024.0; }

// Measures one case in this process; the exit code says whether it ran and
// met its target.
int MeasureCase(const KMemoryCase& c) {
  KBenchShell::Get();
  const long long baseKb = ProcStatusKb("VmRSS");
  KBenchFolder folder;
  const std::string path = folder.Path("score.svd");
  {
    // The score is made and saved, then let go: only the opened copy stays.
    CStavlinDoc doc;
    doc.settings.makeBackups = 0;
    KLargeScoreShape shape;
    shape.lines = c.lines;
    MakeLargeScore(doc, shape);
    if (!folder.Ok() || !doc.OnSaveDocument(path.c_str())) {
      std::printf("%-14s the score could not be saved\n", c.name);
      return 2;
    }
  }
  KPaintedScore score(path, kWindowWidth, kWindowHeight);
  if (!score.Ok() || score.InkedPixels() == 0) {
    std::printf("%-14s the score did not open to a painted window\n", c.name);
    return 2;
  }
  const long long rssKb = ProcStatusKb("VmRSS");
  const long long hwmKb = ProcStatusKb("VmHWM");
  const bool met = !c.hasTarget || Mb(rssKb) < kTargetMb;
  std::printf("%-14s lines %5d  measures %6d  VmRSS %7.1f MB  VmHWM %7.1f MB  (before opening %.1f MB)%s\n",
              c.name, score.Window().Document().GetLineCount(), CountScoreBars(score.Window()), Mb(rssKb),
              Mb(hwmKb), Mb(baseKb),
              c.hasTarget ? (met ? "  target < 100 MB: met" : "  target < 100 MB: MISSED") : "");
  std::fflush(stdout);
  return met ? 0 : 1;
}

// Runs this program again for one case, so that each figure is a fresh
// process's.
int RunInChild(const char* self, const KMemoryCase& c) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(self, self, c.name, static_cast<char*>(nullptr));
    ::_exit(3);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) return 2;
  return WEXITSTATUS(status);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (const KMemoryCase& c : kCases) {
      if (std::strcmp(argv[1], c.name) == 0) return MeasureCase(c);
    }
    std::fprintf(stderr, "bench_memory: unknown case %s\n", argv[1]);
    return 2;
  }
  int worst = 0;
  for (const KMemoryCase& c : kCases) worst = std::max(worst, RunInChild("/proc/self/exe", c));
  return worst;
}
