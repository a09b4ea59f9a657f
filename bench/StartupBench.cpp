// Start of the program to a painted window: the real stavlin binary started
// as a child process (offscreen, with a temporary HOME, XDG_CONFIG_HOME,
// XDG_DATA_HOME and documents folder, so that no user state is read or
// touched), timed from the spawn until it reports the end of its first paint
// (STAVLIN_EXIT_AFTER_FIRST_PAINT=1 makes it print that and quit). Two
// start-ups: the one a new user sees (the start-up action reopens the welcome
// score, installed in the documents folder by an untimed first run), and no
// start-up action (an empty main window). Target: under 0.5 s. The counter
// child_ms is the child's own figure from the kernel's record of its start.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"

extern char** environ;

namespace {

struct KStartResult {
  bool ok = false;
  double wallMs = 0;   // spawn to the report line
  double childMs = 0;  // the child's own figure
  std::string report;
};

// The environment of the child: ours without the user's folders and display,
// plus the temporary folders and the probe.
std::vector<std::string> ChildEnvironment(const KBenchFolder& home) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    const std::string name = entry.substr(0, entry.find('='));
    if (name == "HOME" || name.rfind("XDG_", 0) == 0 || name == "QT_QPA_PLATFORM" || name == "DISPLAY" ||
        name == "WAYLAND_DISPLAY")
      continue;
    env.push_back(entry);
  }
  const std::string dir = home.Dir().string();
  env.push_back("HOME=" + dir);
  env.push_back("XDG_CONFIG_HOME=" + dir + "/config");
  env.push_back("XDG_DATA_HOME=" + dir + "/data");
  env.push_back("XDG_DOCUMENTS_DIR=" + dir + "/Documents");
  env.push_back("XDG_RUNTIME_DIR=" + dir + "/runtime");
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("STAVLIN_EXIT_AFTER_FIRST_PAINT=1");
  return env;
}

// Makes the folders of a first start; with startupAction >= 0 also a settings
// file that sets only the start-up action.
bool PrepareHome(const KBenchFolder& home, int startupAction) {
  std::error_code error;
  for (const char* sub : {"config/stavlin", "data", "Documents", "runtime"})
    std::filesystem::create_directories(home.Dir() / sub, error);
  std::filesystem::permissions(home.Dir() / "runtime", std::filesystem::perms::owner_all, error);
  if (startupAction < 0) return !error;
  std::ofstream settings(home.Dir() / "config/stavlin/settings.txt");
  settings << "NewDocXYSizeXYPos=625,350,0,0," << startupAction << ",9,9,9\n";
  return static_cast<bool>(settings);
}

KStartResult StartOnce(const std::vector<std::string>& env) {
  KStartResult result;
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  char program[] = STAVLIN_BINARY;
  char* argv[] = {program, nullptr};

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (spawned != 0) {
    ::close(pipeEnds[0]);
    return result;
  }
  // Read up to the first line's end: the report.
  char buffer[256];
  while (result.report.find('\n') == std::string::npos) {
    const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    result.report.append(buffer, static_cast<size_t>(n));
  }
  result.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  const std::string prefix = "first paint: ";
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && result.report.rfind(prefix, 0) == 0;
  if (result.ok) result.childMs = std::strtod(result.report.c_str() + prefix.size(), nullptr);
  return result;
}

// startupAction: -1 the defaults of a new user (the welcome score), 0 none.
void BM_StartToFirstPaint(benchmark::State& state, int startupAction, const char* expected) {
  KBenchFolder home;
  if (!home.Ok() || !PrepareHome(home, startupAction)) {
    state.SkipWithError("no temporary home");
    return;
  }
  const std::vector<std::string> env = ChildEnvironment(home);
  const KStartResult first = StartOnce(env);  // installs the welcome score; not timed
  if (!first.ok || first.report.find(expected) == std::string::npos) {
    state.SkipWithError(("the program did not report a first paint of the " + std::string(expected)).c_str());
    return;
  }
  double childSum = 0;
  for (auto _ : state) {
    const KStartResult run = StartOnce(env);
    if (!run.ok) {
      state.SkipWithError("the program did not report its first paint");
      return;
    }
    state.SetIterationTime(run.wallMs / 1000.0);
    childSum += run.childMs;
  }
  state.counters["child_ms"] = childSum / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(BM_StartToFirstPaint, welcome_score, -1, "score view")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK_CAPTURE(BM_StartToFirstPaint, no_startup_action, 0, "main window")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
