#pragma once
// What the benchmark programs that open scores in real score windows share: a
// temporary folder, the program's Qt set-up without any user state (an
// offscreen QApplication, the Qt ports, preferences in memory, message boxes
// answered by a script), a score window opened and painted as the program
// does it, and the process's memory figures.

#include <QImage>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/FakeUiPort.h"
#include "platform/SettingsStore.h"
#include "platform/UiPort.h"

class CChildFrame;
class KQtPorts;
class QApplication;

// A folder of its own under the system's temporary folder, removed with
// everything in it when this goes.
class KBenchFolder {
 public:
  KBenchFolder();
  ~KBenchFolder();
  KBenchFolder(const KBenchFolder&) = delete;
  KBenchFolder& operator=(const KBenchFolder&) = delete;
  bool Ok() const { return !m_dir.empty(); }
  const std::filesystem::path& Dir() const { return m_dir; }
  std::string Path(const char* name) const { return (m_dir / name).string(); }

 private:
  std::filesystem::path m_dir;
};

// The program's set-up as start-up makes it, for one benchmark process: call
// Get() once before anything draws; it lives until the process ends.
class KBenchShell {
 public:
  static KBenchShell& Get();
  FakeUiPort& Ui() { return m_ui; }

 private:
  KBenchShell();
  std::unique_ptr<QApplication> m_app;
  std::unique_ptr<KQtPorts> m_ports;
  FakeUiPort m_ui;
  std::unique_ptr<ScopedUiPort> m_uiScope;
  std::unique_ptr<KSettingsStoreScope> m_store;
};

// Seconds of steady time since the start.
inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A new, empty score as File | New makes it, in a real score window of the
// given client size, shown and given its first update.
std::unique_ptr<CChildFrame> NewScoreWindow(int width, int height);

// Times of the steps of opening a score to a painted window, in milliseconds.
struct KOpenTimes {
  double open = 0;   // reading the file into a document
  double view = 0;   // the score window with its view, and the view's first update
  double paint = 0;  // one paint of the visible part of the view
  double Total() const { return open + view + paint; }
};

// A score file opened into a real score window (CChildFrame with its
// KViewWidget) of the given client size, given its first update and painted
// once through the widget's own paint handler.
class KPaintedScore {
 public:
  KPaintedScore(const std::string& path, int width, int height);
  ~KPaintedScore();
  KPaintedScore(const KPaintedScore&) = delete;
  KPaintedScore& operator=(const KPaintedScore&) = delete;

  bool Ok() const { return m_child != nullptr && !m_picture.isNull(); }
  const KOpenTimes& Times() const { return m_times; }
  CChildFrame& Window() const { return *m_child; }
  int DisplayLines() const;
  // Pixels of the painted picture that are not the window's white: a blank
  // picture has none.
  long long InkedPixels() const;

 private:
  std::unique_ptr<CChildFrame> m_child;
  QImage m_picture;
  KOpenTimes m_times;
};

// The bars of the score's staff lines as the view counts them for bar
// numbers, one count per line group (its first note line).
int CountScoreBars(CChildFrame& window);

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); -1 when
// it cannot be read.
long long ProcStatusKb(const char* field);
