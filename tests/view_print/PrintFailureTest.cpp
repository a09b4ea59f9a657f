// A print that fails after the print dialog is told: the printer or file the
// pages went to and the reason, in one message. A PDF file is written whole
// or not at all, and a read-only one is never replaced.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "PrintFixture.h"
#include "RecordingPrintTarget.h"
#include "platform/qt/KQtPrinting.h"

namespace {

// A printer that fails at one step of the print loop.
enum class Fails { kBegin, kNewPage, kEnd };

class FailingPrintTarget : public RecordingPrintTarget {
 public:
  explicit FailingPrintTarget(Fails where) : m_where(where) {}
  CDC* BeginPainting() override {
    return m_where == Fails::kBegin ? nullptr : RecordingPrintTarget::BeginPainting();
  }
  bool NewPage() override { return m_where != Fails::kNewPage && RecordingPrintTarget::NewPage(); }
  bool EndPainting() override { return RecordingPrintTarget::EndPainting() && m_where != Fails::kEnd; }
  CString OutputName() const override { return "Office Laser"; }
  CString FailureReason() const override { return "the printer is offline"; }

 private:
  Fails m_where;
};

class PrintFailure : public printtest::PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    view->m_options.pageNumberText = 0;  // no page numbers
  }
  std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

struct FailCase {
  Fails where;
  const char* loopReason;
};

TEST_F(PrintFailure, AFailureAtAnyStepNamesThePrinterAndTheReason) {
  AddStaffs(30);  // three sheets, so that a new page is started
  Layout();
  const FailCase cases[] = {
      {Fails::kBegin, "Printing could not begin"},
      {Fails::kNewPage, "A new page could not be started"},
      {Fails::kEnd, "The pages could not be finished"},
  };
  for (const FailCase& c : cases) {
    ui.ClearRecords();
    FailingPrintTarget printer(c.where);
    int painted = 0;
    ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
      CPrintInfo info;
      if (!job.OnPreparePrinting(info)) return false;
      painted = RunPrintPages(job, info, printer);
      return painted > 0;
    });
    view->OnFilePrint();
    EXPECT_EQ(painted, -1) << c.loopReason;
    ASSERT_EQ(ui.Messages().size(), 1u) << c.loopReason;
    EXPECT_EQ(ui.Messages()[0].text, std::string("Stavlin could not print the score on Office Laser\n( ") +
                                         c.loopReason + ": the printer is offline )");
  }
}

TEST_F(PrintFailure, APrintThatSucceedsSaysNothing) {
  AddStaffs(3);
  Layout();
  RecordingPrintTarget printer;
  ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
    CPrintInfo info;
    return job.OnPreparePrinting(info) && RunPrintPages(job, info, printer) > 0;
  });
  view->OnFilePrint();
  EXPECT_TRUE(ui.Messages().empty()) << ui.Messages().front().id << " " << ui.Messages().front().text;
  EXPECT_EQ(printer.pages.size(), 1u);
}

TEST_F(PrintFailure, AReadOnlyPdfFileIsKeptAndTheMessageSaysWhy) {
  AddStaffs(3);
  Layout();
  const std::string pdf = Path("kept.pdf");
  std::ofstream(pdf) << "the user's own file";
  std::filesystem::permissions(pdf, std::filesystem::perms::owner_read);
  int painted = 0;
  ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
    painted = qt_printing::PrintToPdf(job, QString::fromStdString(pdf));
    return painted > 0;
  });
  view->OnFilePrint();
  std::filesystem::permissions(pdf, std::filesystem::perms::owner_all);
  EXPECT_EQ(painted, -1);
  EXPECT_EQ(ReadText(pdf), "the user's own file");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "Stavlin could not print the score on " + pdf +
                                       "\n( Printing could not begin: The file is read-only. )");
}

TEST_F(PrintFailure, APdfIntoAFolderThatIsNotThereIsReportedAndLeavesNothing) {
  AddStaffs(3);
  Layout();
  const std::string pdf = Path("missing/out.pdf");
  int painted = 0;
  ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
    painted = qt_printing::PrintToPdf(job, QString::fromStdString(pdf));
    return painted > 0;
  });
  view->OnFilePrint();
  EXPECT_EQ(painted, -1);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("Stavlin could not print the score on " + pdf), std::string::npos);
  EXPECT_NE(ui.Messages()[0].text.find("The pages could not be finished: "), std::string::npos);
}

}  // namespace
