#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "platform/FakeUiPort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Reporter : public ::testing::Test {
 protected:
  void SetUp() override { ResetCommonGlobals(); }
  void TearDown() override { ResetCommonGlobals(); }

  FakeUiPort ui;
  ScopedUiPort scope{ui};
};

TEST_F(Reporter, ShowsTheMessageWithTheLocationCode) {
  ReportInternalError(kMsgInternalProblem, "Glb-2");
  ASSERT_EQ(ui.Messages().size(), 1u);
  const FakeUiPort::Message& box = ui.Messages()[0];
  EXPECT_EQ(box.text,
            "There is a problem... possibly resources.\nYou should save your work and quit Stavlin,\n"
            "and it would be best to restart your system. (Error Glb-2)");
  EXPECT_EQ(box.id, kMsgInternalProblem);
  EXPECT_EQ(box.type, MB_OK);
  EXPECT_EQ(box.helpId, 0u);
  EXPECT_EQ(std::string(g_MessageText.View()), box.text);
}

TEST_F(Reporter, OtherMessagesAndCodesAsGiven) {
  struct Case {
    UINT id;
    const char* code;
    const char* ending;
  };
  const std::vector<Case> cases = {
      {kMsgInternalProblem, "OC2-6-", "(Error OC2-6-)"},
      {kMsgImageLoadProblem, "Glb-1", "restart your system. (Error Glb-1)"},
      {kMsgUndoMemory, "QV4-1", "reopen this document. (Error QV4-1)"},
  };
  for (const Case& c : cases) {
    ui.ClearRecords();
    ReportInternalError(c.id, c.code);
    ASSERT_EQ(ui.Messages().size(), 1u);
    const std::string& text = ui.Messages()[0].text;
    EXPECT_EQ(text.substr(text.size() - std::string(c.ending).size()), c.ending);
  }
}

TEST_F(Reporter, MissingMessageShowsAnEmptyBox) {
  ReportInternalError(64999, "Glb-2");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "");
}

TEST_F(Reporter, EachKindOfFailureIsShownOncePerRun) {
  for (int repaint = 0; repaint < 3; ++repaint) {
    EXPECT_EQ(ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, "Glb-2"), repaint == 0);
  }
  EXPECT_TRUE(ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "Glb-3"));
  EXPECT_FALSE(ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "KSp-1"));
  EXPECT_FALSE(FirstReportOf(kOnceBitmapDrawFailed));
  EXPECT_TRUE(FirstReportOf(kOnceSymbolLoadFailed));
  EXPECT_EQ(ui.CountOf(kMsgInternalProblem), 2);
  EXPECT_EQ(g_ReportedOnce, kOnceBitmapDrawFailed | kOncePenFailed | kOnceSymbolLoadFailed);
}

// A port whose message box lets the window behind it repaint, and the repaint fails again.
class RepaintingUiPort : public FakeUiPort {
 public:
  int ShowMessageBox(const MessageBoxRequest& request) override {
    if (++m_depth < 5) ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, "Glb-2");
    return FakeUiPort::ShowMessageBox(request);
  }

 private:
  int m_depth = 0;
};

TEST_F(Reporter, FailureRepeatedBehindTheOpenBoxShowsNoSecondBox) {
  RepaintingUiPort repainting;
  ScopedUiPort inner(repainting);
  ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, "Glb-2");
  EXPECT_EQ(repainting.Messages().size(), 1u);
}

}  // namespace
