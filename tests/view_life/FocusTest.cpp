// Focus and activation: the program-wide mirrors and the main frame follow
// the score view that has the focus.

#include "ViewLifeTestSupport.h"
#include "chords/ChordDictionary.h"
#include "common/ViewServices.h"
#include "lines/KRhythmLine.h"
#include "platform/PrintJob.h"
#include "platform/RecordingDC.h"
#include "view/core/ViewMirrors.h"

namespace {

class FocusTest : public ViewLifeTest {
 protected:
  void SetUp() override {
    ViewLifeTest::SetUp();
    secondHost_.frame = &frame_;
  }
  void TearDown() override {
    secondView_.reset();
    secondDoc_.reset();
    ViewLifeTest::TearDown();
  }

  // A second score in its own window: one line, read-only.
  CStavlinView& SecondView() {
    secondDoc_ = std::make_unique<CStavlinDoc>();
    secondDoc_->settings.readOnly = 1;
    secondDoc_->fileName = "second.svd";
    secondView_ = std::make_unique<CStavlinView>(secondDoc_.get(), &secondHost_);
    secondView_->OnInitialUpdate();
    return *secondView_;
  }

  FakeViewHost secondHost_;
  std::unique_ptr<CStavlinDoc> secondDoc_;
  std::unique_ptr<CStavlinView> secondView_;
};

TEST_F(FocusTest, MirrorsFollowTheFocusedViewOfTwo) {
  AddTextLines({"one", "two", "three"});
  Settings().autosaveAmount = 2;
  Settings().autosaveKind = 1;
  doc_->fileName = "first.svd";
  CStavlinView& first = UpdatedView();
  first.m_currentLine = 2;
  first.m_caretColumn = 4;
  first.m_currentType = 5;
  first.m_noteStyle = 3;
  CStavlinView& second = SecondView();
  g_viewMirrors.overwrite = 1;

  first.OnSetFocus();
  EXPECT_EQ(frame_.active, &first);
  EXPECT_EQ(g_viewMirrors.currentLine, 2);
  EXPECT_EQ(g_viewMirrors.caretColumn, 4);
  EXPECT_EQ(g_viewMirrors.lineCount, 3);
  EXPECT_EQ(g_viewMirrors.autosaveState, 2);
  EXPECT_EQ(g_viewMirrors.noteStyle, 3);
  EXPECT_EQ(std::string(g_viewMirrors.fileName.View()), "first.svd");

  first.OnKillFocus();
  second.OnSetFocus();
  EXPECT_EQ(frame_.active, &second);
  EXPECT_EQ(g_viewMirrors.currentLine, 0);
  EXPECT_EQ(g_viewMirrors.caretColumn, 0);
  EXPECT_EQ(g_viewMirrors.lineCount, 1);
  EXPECT_EQ(g_viewMirrors.autosaveState, 0);
  EXPECT_EQ(g_viewMirrors.noteStyle, 0);
  EXPECT_EQ(std::string(g_viewMirrors.fileName.View()), "second.svd");
  // The overwrite state is the last Insert key's, not a view's.
  EXPECT_EQ(g_viewMirrors.overwrite, 1);
}

TEST_F(FocusTest, KillFocusRemovesTheCaretAndSetFocusShowsItAgain) {
  CStavlinView& view = UpdatedView();
  view.OnKillFocus();
  EXPECT_FALSE(host_.caret.Exists());
  view.OnSetFocus();
  EXPECT_TRUE(host_.caret.Exists());
  EXPECT_TRUE(host_.caret.IsVisible());
}

TEST_F(FocusTest, FocusShowsTheBarsOfTheFocusedScore) {
  Settings().barFlags = 2;
  CStavlinView& view = UpdatedView();
  frame_.mainToolbar = frame_.extraToolbar = frame_.statusBar = -1;
  view.OnSetFocus();
  EXPECT_EQ(frame_.mainToolbar, 0);
  EXPECT_EQ(frame_.extraToolbar, 1);
  EXPECT_EQ(frame_.statusBar, 0);
}

TEST_F(FocusTest, MissingChordFileIsToldOnceOnTheFirstActivation) {
  CStavlinView& view = UpdatedView();
  g_ChordFileErrors = 1001;
  view.OnActivateView(TRUE);
  view.OnActivateView(TRUE);
  EXPECT_EQ(ui_.CountOf(7035), 1);
}

struct ScreenDpiCase {
  const char* name;
  bool deviceRender;
  bool printing;
  int expectedX;
  int expectedY;
};

TEST_F(FocusTest, FocusReadsTheScreensDotsPerInchExceptWhileAnOutputHoldsItsOwn) {
  const ScreenDpiCase cases[] = {
      {"on the screen", false, false, 120, 144},
      {"during a high-resolution export", true, false, 300, 300},
      {"while printing", false, true, 300, 300},
  };
  CStavlinView& view = UpdatedView();
  DeviceCaps caps;
  caps.logPixelsX = 120;
  caps.logPixelsY = 144;
  RecordingDC screen(caps);
  host_.measureDCOverride = &screen;
  CPrintInfo job;
  for (const ScreenDpiCase& c : cases) {
    g_screenResX = g_screenResY = 300;
    g_deviceRender = c.deviceRender ? 1 : 0;
    g_printInfo = c.printing ? &job : nullptr;
    view.OnSetFocus();
    EXPECT_EQ(g_screenResX, c.expectedX) << c.name;
    EXPECT_EQ(g_screenResY, c.expectedY) << c.name;
  }
  g_deviceRender = 0;
  g_printInfo = nullptr;
  host_.measureDCOverride = nullptr;
}

// A symbol that is not a note (here on a rhythm line) joins the beam as the
// note cluster of the view that has the keyboard stands: open in one view of
// the score, closed in the other, and switching views switches the answer.
TEST_F(FocusTest, ASymbolThatIsNotANoteJoinsTheBeamOfTheFocusedViewsCluster) {
  CStavlinView& first = UpdatedView();
  CStavlinView& second = SecondView();
  first.m_clusterState = 1;
  second.m_clusterState = 0;
  KRhythmLine rhythm(3, "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman");
  const struct {
    CStavlinView* focused;
    int joins;
  } cases[] = {{&first, 1}, {&second, 0}, {&first, 1}};
  for (const auto& c : cases) {
    c.focused->OnSetFocus();
    EXPECT_EQ(rhythm.ShouldBeamWithPrevious(1, 200, 1, 0), c.joins)
        << (c.focused == &first ? "the view with an open cluster" : "the view without one");
  }
}

}  // namespace
