// The page values a score brings with it are checked before the view prints
// with them: a print size outside 20 to 400 % prints at a new score's size,
// and a margin below 0 gets the margins warning and the safe defaults.

#include <gtest/gtest.h>

#include "PrintFixture.h"
#include "RecordingPrintTarget.h"
#include "doc/pref_values/Preferences.h"

namespace {

constexpr UINT kMsgMarginsOutOfRange = 7088;

class StoredPageValues : public printtest::PrintFixture {
 protected:
  void TearDown() override {
    g_prefPgOptions = options_;
    g_prefPgMargins = margins_;
    PrintFixture::TearDown();
  }
  // Opens the score with the page values, as a loaded score is shown.
  void Open(short scale, short margin) {
    ScoreSettings s;
    doc.GetSettings(s);
    s.printScale = scale;
    s.marginUnit = 0;
    s.marginTop = s.marginBottom = s.marginLeft = s.marginRight = margin;
    s.pageNumberText = 0;       // no page numbers
    s.alertLargerThanPage = 0;  // and no question about the sheets
    doc.SetSettings(s, FALSE);
    view->OnInitialUpdate();
  }
  int Print() {
    int painted = 0;
    ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
      CPrintInfo info;
      if (!job.OnPreparePrinting(info)) return false;
      painted = RunPrintPages(job, info, printer);
      return painted > 0;
    });
    view->OnFilePrint();
    return painted;
  }
  RecordingPrintTarget printer;

 private:
  KPrefPgOptions options_ = g_prefPgOptions;
  KPrefPgMargins margins_ = g_prefPgMargins;
};

TEST_F(StoredPageValues, APrintSizeOutsideItsRangePrintsAtANewScoresSize) {
  g_prefPgOptions.printSize = 100;
  g_prefPgMargins = {0, 0, 0, 0, 0};
  AddStaffs(30);
  for (const short scale : {short(-32768), short(0), short(19), short(401), short(32767)}) {
    Open(scale, 0);
    EXPECT_EQ(view->m_printScale, 100) << scale;
    EXPECT_EQ(Print(), 3) << scale;
  }
}

TEST_F(StoredPageValues, ANegativeMarginIsWarnedOfAndTakesTheSafeDefaults) {
  g_prefPgMargins = {50, 60, 70, 80, 0};
  AddStaffs(3);
  Open(100, -32768);
  EXPECT_EQ(ui.CountOf(kMsgMarginsOutOfRange), 1);
  EXPECT_EQ(view->m_margins[0], 50);
  EXPECT_EQ(view->m_margins[3], 80);
  ScoreSettings stored;
  doc.GetSettings(stored);
  EXPECT_EQ(stored.marginLeft, 70);
  EXPECT_EQ(Print(), view->m_pageCount);
  ASSERT_FALSE(printer.pages.empty());
  EXPECT_FALSE(printer.pages[0].empty());  // the page holds the score
}

}  // namespace
