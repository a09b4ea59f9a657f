#pragma once
// A score view laid out for printing, with the program's symbol pictures, a
// temporary folder for the files a test writes, and the outside checkers of
// those files (pdfinfo, pdftotext, pngcheck) run as programs.
//
// The printer page the layout paginates on is the built-in one: 8 x 10.5
// inches at 360 dots per inch, the printable part of a Letter sheet with a
// quarter inch kept at every edge, which is what a PDF page gives too. With
// no margins and the print size at 100 %, a sheet holds 948 layout pixels
// (10.5 x 96 less the two page-number bands of 30).

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImageFiles.h"
#include "platform/SymbolLoader.h"
#include "platform/qt/KLibPngWriter.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"
#include "support/TempFolder.h"
#include "support/ViewTestSupport.h"

namespace printtest {

// The standard output of a program, or nothing when it could not run or failed.
inline std::string RunTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) return {};
  if (exitCode != nullptr) *exitCode = process.exitCode();
  return process.readAllStandardOutput().toStdString();
}

class PrintFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    WidgetTestApp();
    ViewScoreFixture::SetUp();
    previousLoader_ = SetSymbolLoader(&symbols_);
    previousPng_ = SetPngWriter(&png_);
    folder_ = std::make_unique<stavlin_test::TempFolder>("print");
    g_screenResX = g_screenResY = 96;
  }
  void TearDown() override {
    host.measureDCOverride = nullptr;
    ViewScoreFixture::TearDown();
    SetSymbolLoader(previousLoader_);
    SetPngWriter(previousPng_);
  }

  // Text is measured, and bitmaps made from the window's device context are
  // painted, as on the screen (the fake window's recording context paints
  // nothing).
  void UseScreenDC() { host.measureDCOverride = &screenDC_; }

  std::string Path(const std::string& name) const { return (folder_->Path() / name).string(); }

  // count staffs of a few notes and bars each.
  void AddStaffs(int count) {
    for (int i = 0; i < count; ++i) Add(viewtest::MakeStaff({{2, 18}, {4, 16}, {6, 14}, {8, 20}}, {10}));
  }

 private:
  QImage screenImage_{8, 8, QImage::Format_RGB32};
  KQtImageDC screenDC_{screenImage_};
  KQtSymbolLoader symbols_;
  KLibPngWriter png_;
  SymbolLoader* previousLoader_ = nullptr;
  KPngWriter* previousPng_ = nullptr;
  std::unique_ptr<stavlin_test::TempFolder> folder_;
};

}  // namespace printtest
