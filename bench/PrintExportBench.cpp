// Printing and image export of generated scores (staff and tablature line
// pairs in bracketed groups, each line as wide as a sheet), counted in
// sheets by the view's own pagination:
//   BM_PrintToPdf      File/Print of a 100-sheet score to a PDF file, with
//                      page numbers: every sheet worked out, drawn through the
//                      printer's device context and written by Qt's PDF engine
//   BM_ExportHighResPng  File/Export as a high-resolution image of a 10-sheet
//                      score, the whole score: drawn at three times the
//                      screen's resolution into a 1-bit bitmap and written
//                      through libpng
// Each iteration is the whole command; the counters give the sheets, and the
// size of the file written.
//
// Targets: the 100-sheet print under 3 s, the 10-sheet high-resolution PNG
// under 1 s.

#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "platform/PrintJob.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtPrinting.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"

namespace {

constexpr int kLinesPerGuess = 40;
// Note columns per line: 36 columns of 18 pixels and their bars fit a sheet.
constexpr int kColumnsPerLine = 36;

// A window whose device context measures as the screen's, as the view
// widget's does.
class KBenchViewHost : public FakeViewHost {
 public:
  KBenchViewHost() : m_measureImage(1, 1, QImage::Format_RGB32), m_measureDC(m_measureImage) {
    client = RECT{0, 0, 1000, 800};
  }
  CDC* GetMeasureDC() override { return &m_measureDC; }

 private:
  QImage m_measureImage;
  KQtImageDC m_measureDC;
};

class KPrintScore {
 public:
  explicit KPrintScore(int lines) {
    KLargeScoreShape shape;
    shape.lines = lines;
    shape.noteColumns = kColumnsPerLine;
    MakeLargeScore(m_doc, shape);
    m_view = std::make_unique<CStavlinView>(&m_doc, &m_host);
    m_view->OnInitialUpdate();
    // Page numbers at the foot of every sheet; no size alert.
    m_view->m_options.pageNumberText = 2;
    m_view->m_options.pageNumberVertical = 1;
    m_view->m_options.alertLargerThanPage = 0;
    m_view->m_pageNumberingText = "Page";
  }
  ~KPrintScore() { m_view.reset(); }
  KPrintScore(const KPrintScore&) = delete;
  KPrintScore& operator=(const KPrintScore&) = delete;

  CStavlinView& View() { return *m_view; }
  int Sheets() const { return m_view->m_pageCount; }

 private:
  CStavlinDoc m_doc;
  KBenchViewHost m_host;
  std::unique_ptr<CStavlinView> m_view;
};

// A score of the number of sheets, made once and kept; null when none could be.
KPrintScore* ScoreOfSheets(int sheets) {
  static std::map<int, std::unique_ptr<KPrintScore>> scores;
  static const bool prepared = [] {
    KBenchShell::Get();
    PrepareScoreClasses();
    return true;
  }();
  (void)prepared;
  auto& kept = scores[sheets];
  if (kept) return kept.get();
  int lines = kLinesPerGuess;
  auto score = std::make_unique<KPrintScore>(lines);
  const int perGuess = std::max(1, score->Sheets());
  lines = std::max(2, 2 * (lines * sheets / perGuess / 2));
  for (int attempt = 0; attempt < 40; ++attempt) {
    score = std::make_unique<KPrintScore>(lines);
    if (score->Sheets() == sheets) break;
    lines += score->Sheets() < sheets ? 2 : -2;
    if (lines < 2) return nullptr;
  }
  if (score->Sheets() != sheets) return nullptr;
  kept = std::move(score);
  return kept.get();
}

void BM_PrintToPdf(benchmark::State& state) {
  KPrintScore* score = ScoreOfSheets(static_cast<int>(state.range(0)));
  if (score == nullptr) {
    state.SkipWithError("no score of that many sheets could be made");
    return;
  }
  KBenchFolder folder;
  const QString pdf = QString::fromStdString(folder.Path("score.pdf"));
  int painted = 0;
  KBenchShell::Get().Ui().AnswerPrint([&](KPrintJob& job, KPrintKind) {
    painted = qt_printing::PrintToPdf(job, pdf);
    return painted > 0;
  });
  for (auto _ : state) score->View().OnFilePrint();
  state.counters["sheets"] = painted;
  state.counters["pdf_kb"] = static_cast<double>(std::filesystem::file_size(pdf.toStdString())) / 1024;
  // STAVLIN_BENCH_KEEP_PDF names a file the last PDF is copied to, so that
  // the pages of two builds can be compared.
  if (const char* keep = std::getenv("STAVLIN_BENCH_KEEP_PDF"); keep != nullptr && *keep != '\0') {
    std::error_code error;
    std::filesystem::copy_file(pdf.toStdString(), keep, std::filesystem::copy_options::overwrite_existing, error);
  }
}

void BM_ExportHighResPng(benchmark::State& state) {
  KPrintScore* score = ScoreOfSheets(static_cast<int>(state.range(0)));
  if (score == nullptr) {
    state.SkipWithError("no score of that many sheets could be made");
    return;
  }
  KBenchFolder folder;
  const std::string png = folder.Path("score.png");
  KBenchShell::Get().Ui().AnswerSaveFile([&](KSaveFileRequest& request) {
    request.fileName = CString::FromUtf8(png);
    request.filterIndex = 1;
    return true;
  });
  // The file is there after the first export: replacing it is answered yes.
  KBenchShell::Get().Ui().Answer(0, IDYES);
  for (auto _ : state) score->View().OnExportHighResImage();
  const QImage image(QString::fromStdString(png));
  state.counters["sheets"] = score->Sheets();
  state.counters["width"] = image.width();
  state.counters["height"] = image.height();
  state.counters["png_kb"] = static_cast<double>(std::filesystem::file_size(png)) / 1024;
}

}  // namespace

BENCHMARK(BM_PrintToPdf)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportHighResPng)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
