#include "platform/qt/KQtPrinting.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <algorithm>
#include <filesystem>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <memory>
#include <span>

#include "platform/FileBytes.h"
#include "platform/qt/KQtPrintDC.h"
#include "platform/qt/QtText.h"

namespace {

constexpr double kEdgeMm = 6.35;  // a quarter of an inch

// The pages of a job on a QPrinter. Pages meant for a PDF file are written
// to a temporary file first and put in place as a score is saved, once the
// last page is done: a failure midway leaves the old file whole, and a
// read-only file is never replaced.
class KQtPrintTarget : public KPrintTarget {
 public:
  explicit KQtPrintTarget(QPrinter& printer) : m_printer(printer) {
    if (m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty()) {
      m_pdfFile = m_printer.outputFileName();
      m_temporary.setFileTemplate(QDir::temp().filePath(QStringLiteral("stavlin-print-XXXXXX.pdf")));
      if (m_temporary.open()) {
        m_temporary.close();
        m_printer.setOutputFileName(m_temporary.fileName());
      }
    }
  }
  ~KQtPrintTarget() override {
    m_dc.reset();
    if (m_painter.isActive()) m_painter.end();
    if (!m_pdfFile.isEmpty()) m_printer.setOutputFileName(m_pdfFile);
  }

  DeviceCaps Caps() const override { return qt_printing::PrinterCaps(m_printer); }
  int GetOrientation() const override {
    return m_printer.pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE
                                                                          : DMORIENT_PORTRAIT;
  }
  void SetOrientation(int orientation) override {
    if (m_painter.isActive()) return;  // the pages have begun
    m_printer.setPageOrientation(orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
  }
  CDC* BeginPainting() override {
    if (!m_pdfFile.isEmpty()) {
      if (fileio::IsReadOnlyFile(std::filesystem::path(m_pdfFile.toStdString()))) {
        m_failure = "The file is read-only.";
        return nullptr;
      }
      if (m_printer.outputFileName() == m_pdfFile) {
        m_failure = "No temporary file can be made for the pages";
        return nullptr;
      }
    }
    if (!m_painter.begin(&m_printer)) {
      m_failure = m_pdfFile.isEmpty() ? "The printer is not ready" : "The pages cannot be written";
      return nullptr;
    }
    m_dc = std::make_unique<KQtPrintDC>(m_painter);
    return m_dc.get();
  }
  bool NewPage() override { return m_printer.newPage(); }
  bool EndPainting() override {
    m_dc.reset();
    if (!m_painter.end()) return false;
    if (m_pdfFile.isEmpty()) return true;
    const fileio::ReadResult pages =
        fileio::ReadWholeFile(std::filesystem::path(m_temporary.fileName().toStdString()));
    if (!pages.ok()) {
      m_failure = CString(std::string_view(pages.message));
      return false;
    }
    const fileio::WriteResult written = fileio::ReplaceFile(std::filesystem::path(m_pdfFile.toStdString()),
                                                            std::as_bytes(std::span(pages.bytes)));
    if (!written.ok) m_failure = CString(std::string_view(written.message));
    return written.ok;
  }
  CString OutputName() const override {
    return CString::FromUtf8((m_pdfFile.isEmpty() ? m_printer.printerName() : m_pdfFile).toStdString());
  }
  CString FailureReason() const override { return m_failure; }

 private:
  QPrinter& m_printer;
  QPainter m_painter;
  std::unique_ptr<KQtPrintDC> m_dc;
  QString m_pdfFile;  // the PDF file the pages are for; empty for a printer
  QTemporaryFile m_temporary;
  CString m_failure;
};

// Qt's PDF engine takes two 10 MB buffers for every page it writes out. By
// default the C library hands such blocks back to the system as they are
// freed and maps them anew for the next page, which costs more than drawing
// the page. While a job runs, freed memory is kept for the next page; it is
// given back when the job ends.
class KKeepFreedMemory {
 public:
  KKeepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kKept);
    mallopt(M_TRIM_THRESHOLD, 2 * kKept);
#endif
  }
  ~KKeepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kLibraryDefault);
    mallopt(M_TRIM_THRESHOLD, kLibraryDefault);
    malloc_trim(0);
#endif
  }
  KKeepFreedMemory(const KKeepFreedMemory&) = delete;
  KKeepFreedMemory& operator=(const KKeepFreedMemory&) = delete;

 private:
  static constexpr int kKept = 32 * 1024 * 1024;  // the largest block the library keeps
  static constexpr int kLibraryDefault = 128 * 1024;
};

// Ends a prepared job that prints nothing.
void Abandon(KPrintJob& job, CPrintInfo& info) { job.OnEndPrinting(info); }

}  // namespace

namespace qt_printing {

QPrinter& SharedPrinter() {
  static std::unique_ptr<QPrinter> printer;
  if (!printer) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PreparePrinter(*printer);
  }
  return *printer;
}

DeviceCaps PrinterCaps(const QPrinter& printer) {
  DeviceCaps caps;
  caps.technology = DT_RASPRINTER;
  const int dpi = std::max(1, printer.resolution());
  const QPageLayout layout = printer.pageLayout();
  const QRect paint = layout.paintRectPixels(dpi);
  const QRect full = layout.fullRectPixels(dpi);
  caps.logPixelsX = dpi;
  caps.logPixelsY = dpi;
  caps.horzRes = paint.width();
  caps.vertRes = paint.height();
  caps.physicalWidth = full.width();
  caps.physicalHeight = full.height();
  caps.physicalOffsetX = paint.left();
  caps.physicalOffsetY = paint.top();
  return caps;
}

void PreparePrinter(QPrinter& printer) {
  printer.setResolution(kPrintDpi);
  printer.setFullPage(false);
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    printer.setPageMargins(QMarginsF(kEdgeMm, kEdgeMm, kEdgeMm, kEdgeMm), QPageLayout::Millimeter);
  }
}

int PrintPages(KPrintJob& job, QPrinter& printer, bool preview, int fromPage, int toPage) {
  CPrintInfo info;
  info.m_bPreview = preview ? TRUE : FALSE;
  if (!job.OnPreparePrinting(info)) return -1;
  info.SetPageRange(static_cast<UINT>(std::max(1, fromPage)),
                    toPage > 0 ? static_cast<UINT>(toPage) : CPrintInfo::kOpenPage);
  printer.setDocName(ToQString(job.Title().Str()));
  const KKeepFreedMemory keep;
  KQtPrintTarget target(printer);
  return RunPrintPages(job, info, target);
}

int PrintToPdf(KPrintJob& job, const QString& path, int fromPage, int toPage) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  PreparePrinter(printer);
  return PrintPages(job, printer, false, fromPage, toPage);
}

bool PrintWithDialog(KPrintJob& job, QWidget* parent) {
  QPrinter& printer = SharedPrinter();
  CPrintInfo info;
  if (!job.OnPreparePrinting(info)) return false;
  // A PDF is offered under the score's name, in the folder the last one
  // went to.
  const QString title = ToQString(job.Title().Str());
  const QString base = QFileInfo(title).completeBaseName();
  printer.setDocName(title);
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
      !base.isEmpty()) {
    printer.setOutputFileName(
        QFileInfo(printer.outputFileName()).dir().filePath(base + QStringLiteral(".pdf")));
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(static_cast<int>(info.GetMinPage()), static_cast<int>(info.GetMaxPage()));
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) {
    Abandon(job, info);
    return false;
  }
  PreparePrinter(printer);
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    info.SetPageRange(static_cast<UINT>(printer.fromPage()),
                      printer.toPage() > 0 ? static_cast<UINT>(printer.toPage()) : CPrintInfo::kOpenPage);
  } else {
    info.SetPageRange(1, CPrintInfo::kOpenPage);
  }
  printer.setDocName(ToQString(job.Title().Str()));
  const KKeepFreedMemory keep;
  KQtPrintTarget target(printer);
  return RunPrintPages(job, info, target) > 0;
}

bool Preview(KPrintJob& job, QWidget* parent) {
  QPrinter& printer = SharedPrinter();
  PreparePrinter(printer);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(QStringLiteral("Print Preview - ") + ToQString(job.Title().Str()));
  bool painted = false;
  // The preview paints on screen and, when its Print button is pressed, on
  // the printer; either way the whole job runs again.
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    PreparePrinter(*target);
    painted = PrintPages(job, *target, true, 1, 0) > 0 || painted;
  });
  preview.exec();
  return painted;
}

bool PageSetup(QWidget* parent) {
  QPrinter& printer = SharedPrinter();
  QPageSetupDialog dialog(&printer, parent);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  PreparePrinter(printer);
  return accepted;
}

}  // namespace qt_printing
