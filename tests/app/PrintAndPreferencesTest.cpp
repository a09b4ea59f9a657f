// Printing, print preview, image export and the preferences sheet from the
// real main window: the commands are there with a score open, the preview and
// the sheet open as windows of their own (driven here as a user would), and a
// preference changed in the sheet is there again at the next start.

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <string>

#include "ShellTestSupport.h"
#include "dialogs/pref_pages/KPropMIDI.h"
#include "doc/pref_values/Preferences.h"
#include "platform/PrintJob.h"
#include "platform/qt/KQtPrinting.h"
#include "platform/qt/KQtUiPort.h"
#include "pref_sheet/PreferencesSheet.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

// Runs check on the modal window that the command opens, then closes it.
void WhenAWindowOpens(std::function<void(QWidget&)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) {
      ADD_FAILURE() << "no window opened";
      return;
    }
    check(*window);
  });
}

class PrintAndPreferences : public ShellTest {
 protected:
  // Restarts the program on the same settings.
  void Restart() {
    for (CChildFrame* child : Frame().ScoreWindows()) child->CloseWithoutAsking();
    QApplication::processEvents();
    app_->ExitInstance();
    app_.reset();
    QApplication::processEvents();
    ResetPreferences();
    app_ = std::make_unique<CStavlinApp>();
    app_->SetSaveAsPrompt([](const CString&) { return CString(); });
    app_->SetOpenPrompt([](const CString&, const QStringList&) { return CString(); });
    ASSERT_TRUE(Start());
  }
};

TEST_F(PrintAndPreferences, PrintAndExportCommandsAreThereWithAScore) {
  ASSERT_TRUE(Start());
  Frame().UpdateCommandUi();
  for (UINT id : {cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kFilePrintOptions, cmd::kExportImage,
                  cmd::kExportImageHighRes, cmd::kViewPageBreaks}) {
    EXPECT_FALSE(Frame().ActionFor(id)->isEnabled()) << id << " without a score";
  }
  for (UINT id : {cmd::kFilePrintSetup, cmd::kFilePreferences}) {
    Frame().UpdateCommandUi();
    EXPECT_TRUE(Frame().ActionFor(id)->isEnabled()) << id;
  }
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("print.svd", 3), pane), nullptr);
  Frame().UpdateCommandUi();
  for (UINT id : {cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kFilePrintOptions, cmd::kExportImage,
                  cmd::kExportImageHighRes, cmd::kViewPageBreaks}) {
    EXPECT_TRUE(Frame().ActionFor(id)->isEnabled()) << id;
  }
}

TEST_F(PrintAndPreferences, FilePrintFromTheMenuPrintsTheScoreToPdf) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("pdf.svd", 80), pane), nullptr);
  const int sheets = pane->View().m_pageCount;
  ASSERT_GE(sheets, 2);
  const std::string pdf = (Dir() / "score.pdf").string();
  int painted = 0;
  ui_.AnswerPrint([&](KPrintJob& job, KPrintKind kind) {
    EXPECT_EQ(kind, KPrintKind::kPrint);
    painted = qt_printing::PrintToPdf(job, QString::fromStdString(pdf));
    return painted > 0;
  });
  Frame().ActionFor(cmd::kFilePrint)->trigger();
  EXPECT_EQ(painted, sheets);
  EXPECT_TRUE(std::filesystem::exists(pdf));
}

// A print that fails after the print dialog is told through the menu as
// well: here the PDF file chosen is read-only, and stays as it was.
TEST_F(PrintAndPreferences, FilePrintOverAReadOnlyPdfSaysWhyAndKeepsTheFile) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("kept.svd", 3), pane), nullptr);
  const std::string pdf = (Dir() / "kept.pdf").string();
  std::ofstream(pdf) << "the user's own file";
  std::filesystem::permissions(pdf, std::filesystem::perms::owner_read);
  int painted = 0;
  ui_.AnswerPrint([&](KPrintJob& job, KPrintKind) {
    painted = qt_printing::PrintToPdf(job, QString::fromStdString(pdf));
    return painted > 0;
  });
  ui_.ClearRecords();
  Trigger(cmd::kFilePrint);
  std::filesystem::permissions(pdf, std::filesystem::perms::owner_all);
  EXPECT_EQ(painted, -1);
  EXPECT_EQ(std::filesystem::file_size(pdf), 19u);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_NE(ui_.Messages()[0].text.find(pdf), std::string::npos) << ui_.Messages()[0].text;
  EXPECT_NE(ui_.Messages()[0].text.find("The file is read-only."), std::string::npos)
      << ui_.Messages()[0].text;
}

TEST_F(PrintAndPreferences, PrintPreviewShowsEverySheet) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("preview.svd", 80), pane), nullptr);
  const int sheets = pane->View().m_pageCount;
  KQtUiPort qtUi;
  ScopedUiPort real(qtUi);
  int shown = -1;
  WhenAWindowOpens([&](QWidget& window) {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(&window);
    if (preview == nullptr) {
      ADD_FAILURE() << "not the print preview";
      window.close();
      return;
    }
    if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) shown = pages->pageCount();
    preview->reject();
  });
  Frame().ActionFor(cmd::kFilePrintPreview)->trigger();
  EXPECT_EQ(shown, sheets);
}

TEST_F(PrintAndPreferences, ThePreferencesSheetOpensAndAChangeSurvivesARestart) {
  ASSERT_TRUE(Start());
  KQtUiPort qtUi;
  {
    ScopedUiPort real(qtUi);
    int tabs = 0;
    WhenAWindowOpens([&](QWidget& window) {
      auto* pages = window.findChild<QTabWidget*>();
      if (pages == nullptr) {
        ADD_FAILURE() << "no pages";
        window.close();
        return;
      }
      tabs = pages->count();
      pages->setCurrentIndex(6);
      // The tempo of page 7, typed, then OK.
      auto* tempo =
          pages->widget(6)->findChild<QLineEdit*>(QStringLiteral("control%1").arg(KPropMIDI::kIdTempo));
      if (tempo != nullptr) {
        tempo->selectAll();
        QTest::keyClicks(tempo, QStringLiteral("96"));
      }
      window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Frame().ActionFor(cmd::kFilePreferences)->trigger();
    EXPECT_EQ(tabs, 8);
  }
  EXPECT_EQ(g_prefMidi.tempo, 96);
  Restart();
  EXPECT_EQ(g_prefMidi.tempo, 96);
}

TEST_F(PrintAndPreferences, HidingTheStatusBarInTheSheetHidesIt) {
  ASSERT_TRUE(Start());
  Frame().show();
  ui_.AnswerPropertySheet(KPreferencesSheet::kSheetId, [](KPropertySheet& sheet) {
    sheet.Page(1).Controls().SetChecked(KPropOptAsvVw::kIdStatusBar, 0);
    return IDOK;
  });
  Frame().ActionFor(cmd::kFilePreferences)->trigger();
  EXPECT_TRUE(Frame().statusBar()->isHidden());
  EXPECT_EQ(g_prefToolViewOptions.showStatusBar, 0);
}

}  // namespace
