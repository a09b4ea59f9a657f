#include "BenchSupport.h"

#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/CChildFrame.h"
#include "chords/KChordLineServicesImpl.h"
#include "common/SymbolCache.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "lines/LineClasses.h"
#include "model/KListLine.h"
#include "platform/CompoundFile.h"
#include "platform/qt/GsfCompoundFile.h"
#include "platform/qt/KQtPorts.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr QRgb kWhite = 0xffffffff;

}  // namespace

// ---- KBenchFolder --------------------------------------------------------------------

KBenchFolder::KBenchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "stavlin-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) m_dir = pattern;
}

KBenchFolder::~KBenchFolder() {
  std::error_code ignored;
  if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ignored);
}

// ---- KBenchShell ---------------------------------------------------------------------

KBenchShell& KBenchShell::Get() {
  static KBenchShell* shell = new KBenchShell;  // lives until the process ends
  return *shell;
}

KBenchShell::KBenchShell() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "stavlin-bench";
  static char* argv[] = {name, nullptr};
  m_app = std::make_unique<QApplication>(argc, argv);
  m_ports = std::make_unique<KQtPorts>();
  // No message box stops a run, and no preference of the user is read or
  // written: the preferences are the program's defaults, kept in memory.
  m_uiScope = std::make_unique<ScopedUiPort>(m_ui);
  m_store = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
  SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  RegisterLineClasses();
  SetDocLineHooks(StavlinLineHooks());
  InstallChordLineServices();
  LoadRegistrySettings();
  SelectSymbolSize(0, 0);
}

// ---- KPaintedScore -------------------------------------------------------------------

KPaintedScore::KPaintedScore(const std::string& path, int width, int height) {
  KBenchShell::Get();
  Clock::time_point start = Clock::now();
  auto document = std::make_unique<CStavlinDoc>();
  if (!document->OnOpenDocument(path.c_str())) return;
  m_times.open = MsSince(start);

  // As the main frame makes a score window: the window, shown, then the
  // first update of its view.
  start = Clock::now();
  m_child = std::make_unique<CChildFrame>(std::move(document), nullptr);
  m_child->resize(width, height);
  m_child->show();
  m_child->InitialUpdate();
  m_times.view = MsSince(start);

  // One paint of what the window shows, through the widget's paint handler.
  start = Clock::now();
  KViewWidget* pane = m_child->ActivePane();
  if (pane != nullptr) m_picture = pane->viewport()->grab().toImage();
  m_times.paint = MsSince(start);
}

KPaintedScore::~KPaintedScore() = default;

int KPaintedScore::DisplayLines() const {
  KViewWidget* pane = m_child ? m_child->ActivePane() : nullptr;
  return pane != nullptr ? pane->View().GetDisplayLineCount() : 0;
}

long long KPaintedScore::InkedPixels() const {
  const QImage image = m_picture.convertToFormat(QImage::Format_RGB32);
  long long inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) inked += (row[x] | 0xff000000) != kWhite ? 1 : 0;
  }
  return inked;
}

// ---- Figures -------------------------------------------------------------------------

int CountScoreBars(CChildFrame& window) {
  CStavlinDoc& doc = window.Document();
  int bars = 0;
  for (POSITION node = doc.GetFirstLinePosition(); node != nullptr;) {
    auto* line = dynamic_cast<KListLine*>(doc.GetNextLine(node));
    if (line != nullptr && line->GetType() == 0) bars += line->CountBars(2000, 10000).first;
  }
  return bars;
}

long long ProcStatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  const std::string wanted = std::string(field) + ":";
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(wanted, 0) != 0) continue;
    std::istringstream value(line.substr(wanted.size()));
    long long kb = -1;
    value >> kb;
    return kb;
  }
  return -1;
}

std::unique_ptr<CChildFrame> NewScoreWindow(int width, int height) {
  auto document = std::make_unique<CStavlinDoc>();
  document->OnNewDocument();
  auto child = std::make_unique<CChildFrame>(std::move(document), nullptr);
  child->resize(width, height);
  child->show();
  child->InitialUpdate();
  return child;
}
