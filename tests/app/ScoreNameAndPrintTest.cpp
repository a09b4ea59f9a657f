// A score not yet saved goes by one name everywhere: its window's title, the
// printout's page header, the PDF's title and the question on closing. And a
// score the program laid out with the default staff length prints on the
// default page at 100 % without the print size alert.

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <fstream>
#include <iterator>
#include <string>

#include "ShellTestSupport.h"
#include "common/Globals.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KLineObj.h"
#include "platform/PrintJob.h"
#include "platform/qt/KQtPrinting.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr const char* kAir =
    "X:1\n"
    "T:Air\n"
    "M:3/4\n"
    "L:1/4\n"
    "K:G\n"
    "G A B|c B A|G2 D|G3|B c d|e d c|B2 A|G3|\n"
    "d e d|c B A|B c B|A3|G A B|c B A|B A F|G3|]\n";

class ScoreNameAndPrint : public ShellTest {
 protected:
  std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = (Dir() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // Runs a tool; its standard output.
  static QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  // Prints the active score to a PDF through File | Print; the PDF's path.
  std::string PrintToPdf(const std::string& name) {
    const std::string pdf = (Dir() / name).string();
    ui_.AnswerPrint([this, pdf](KPrintJob& job, KPrintKind) {
      printedTitle_ = job.Title();
      return qt_printing::PrintToPdf(job, QString::fromStdString(pdf)) > 0;
    });
    Frame().ActionFor(cmd::kFilePrint)->trigger();
    QApplication::processEvents();
    return pdf;
  }
  CString printedTitle_;
};

TEST_F(ScoreNameAndPrint, AScoreNotYetSavedGoesByItsNameInTheWindowThePrintoutAndThePrompt) {
  const std::string path = WriteFile("air.abc", kAir);
  ASSERT_TRUE(Start());
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  Trigger(cmd::kFileOpen);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CChildFrame* child = Frame().ScoreWindows().front();
  EXPECT_EQ(child->windowTitle(), QStringLiteral("air"));
  EXPECT_EQ(child->Document().ScoreName(), CString("air"));

  // The header carries the score's name ("File Name + Page #").
  CStavlinView& view = child->ActivePane()->View();
  view.m_options.pageNumberText = 1;
  const std::string pdf = PrintToPdf("air.pdf");
  EXPECT_EQ(printedTitle_, CString("air"));
  if (QProcess::execute(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("command -v pdfinfo >/dev/null")}) == 0) {
    const QString info = Run(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+air\\n")))) << info.toStdString();
    const QString words =
        Run(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
    EXPECT_TRUE(words.contains(QStringLiteral("air"))) << words.toStdString();
    EXPECT_FALSE(words.contains(QStringLiteral("Untitled"))) << words.toStdString();
  }

  // Closing asks about the changes to "air".
  ui_.ClearRecords();
  child->close();
  QApplication::processEvents();
  bool asked = false;
  for (const FakeUiPort::Message& message : ui_.Messages()) {
    if (message.text.find("air") != std::string::npos) asked = true;
    EXPECT_EQ(message.text.find("Untitled"), std::string::npos) << message.text;
  }
  EXPECT_TRUE(asked);
}

TEST_F(ScoreNameAndPrint, ALaidOutScorePrintsAtFullSizeWithoutTheSizeAlert) {
  const std::string path = WriteFile("waltz.abc", kAir);
  ASSERT_TRUE(Start());
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  Trigger(cmd::kFileOpen);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CStavlinView& view = Frame().ScoreWindows().front()->ActivePane()->View();
  // Wrapped to the default staff length, as the program lays a score out.
  Trigger(41011);  // Edit | Select Everything
  Trigger(cmd::kActionsWrapMusic);
  ASSERT_GE(view.GetDisplayLineCount(), 3);
  ASSERT_EQ(view.m_printScale, 100);
  ASSERT_NE(view.m_options.alertLargerThanPage, 0);
  ui_.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, static_cast<int>(KDlgPrintSizeAlert::kIdContinue));
  ui_.ClearRecords();
  PrintToPdf("waltz.pdf");
  for (const FakeUiPort::DialogRun& run : ui_.Dialogs())
    EXPECT_NE(run.templateId, KDlgPrintSizeAlert::kTemplateId) << "the size alert came up";
  EXPECT_EQ(view.m_printScale, 100);
}

// A song typed on a staff of automatic length, its music ending just inside
// the page: the staff lines run on a little past the music (to the widest
// line and beyond), but that is no reason for the size alert or for a second
// sheet, which would print blank.
TEST_F(ScoreNameAndPrint, ASongEndingJustInsideThePagePrintsOnOnePageWithoutTheSizeAlert) {
  const std::string path = (Dir() / "song.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.AddTailLine(new KStaffLine(0, 0, 0));
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  QTest::keyClick(pane, Qt::Key_Down);
  ASSERT_EQ(view.GetCurrentFamily(), KLineObj::kFamilyStaff);
  auto* staff = dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(view.GetCurrentLine()));
  ASSERT_NE(staff, nullptr);
  const int printable = view.m_printableWidth[1];
  ASSERT_GT(printable, 0);
  const int column = g_NoteColumnWidth[0];
  auto musicRight = [&](int columns) {
    return view.m_contentLeft + staff->GetLeadInWidth(0) + columns * column;
  };
  // Quarter notes (with the bars they complete) until one more column and
  // a bar would pass the page's edge.
  while (musicRight(staff->GetLength() + 2) <= printable) QTest::keyClicks(pane, QStringLiteral("q"));
  QApplication::processEvents();
  ASSERT_GE(staff->GetLength(), 20) << "a song of several bars";
  ASSERT_LE(musicRight(staff->GetLength()), printable);
  ASSERT_GT(view.m_widest + view.m_contentLeft + 20, printable) << "the staff lines run on past the page";

  view.m_options.alertLargerThanPage = 1;
  ui_.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, static_cast<int>(KDlgPrintSizeAlert::kIdContinue));
  ui_.ClearRecords();
  const std::string pdf = PrintToPdf("song.pdf");
  for (const FakeUiPort::DialogRun& run : ui_.Dialogs())
    EXPECT_NE(run.templateId, KDlgPrintSizeAlert::kTemplateId) << "the size alert came up";
  std::ifstream file(pdf, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  int pages = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
       at = bytes.find("/Type /Page", at + 1))
    if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
  EXPECT_EQ(pages, 1);
}

}  // namespace
