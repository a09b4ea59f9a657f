// Scroll positions past 28000, the auto-scroll timer, and timed autosave.

#include <filesystem>
#include <ostream>
#include <string>

#include "ViewTestFixture.h"
#include "dialogs/AutoSaveDialog.h"
#include "lines/KStrLine.h"
#include "support/TempFolder.h"

namespace {

constexpr UINT kNoTimer = 7043;

TEST_F(ViewTest, ScrollTo28000MovesTheBarWithoutLargeOffset) {
  view.SetVirtualScrollPosition(0, 28000);
  EXPECT_EQ(host.scroll.y, 28000);
  EXPECT_EQ(view.m_largeOffset, 0);
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_EQ(view.GetVirtualScrollPosition().y, 28000);
}

TEST_F(ViewTest, ScrollTo28001KeepsTheFullPositionAndRepaintsWithoutModifying) {
  view.m_scrollWidth = 1000;
  view.m_scrollHeight = 40000;
  view.SetVirtualScrollPosition(5, 28001);
  EXPECT_EQ(host.scroll.y, 28001) << "the scroll bar takes the whole position";
  EXPECT_EQ(view.m_largeOffset, 28001);
  EXPECT_EQ(view.GetVirtualScrollPosition().y, 28001);
  ASSERT_FALSE(host.invalidated.empty());
  EXPECT_EQ(host.invalidated.back().bottom, 600) << "the whole window";
  EXPECT_FALSE(document.IsModified());
  EXPECT_EQ(g_noModify, 0);
}

struct PeriodCase {
  const char* name;
  float seconds;
  UINT expectedMs;
};
void PrintTo(const PeriodCase& c, std::ostream* out) { *out << c.name; }

class ScrollPeriod : public ViewTest, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(ScrollPeriod, TakesWholeSecondsWithALowerBound) {
  view.m_autoScroll = 1;
  EXPECT_EQ(view.StartScrollTimer(GetParam().seconds), 1);
  EXPECT_EQ(host.timers.Interval(CStavlinView::kScrollTimer), GetParam().expectedMs);
}

INSTANTIATE_TEST_SUITE_P(Periods, ScrollPeriod,
                         ::testing::Values(PeriodCase{"TwoPointNineSecondsGiveTwoSeconds", 2.9f, 2000},
                                           PeriodCase{"HalfASecondGivesTheLowerBound", 0.5f, 250},
                                           PeriodCase{"ZeroGivesTheLowerBound", 0.0f, 250},
                                           PeriodCase{"NegativeGivesTheLowerBound", -3.0f, 250}),
                         [](const ::testing::TestParamInfo<PeriodCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ViewTest, ScrollTimerDoesNotStartWithoutAutoScroll) {
  EXPECT_EQ(view.StartScrollTimer(2.0f), 0);
  EXPECT_FALSE(host.timers.IsRunning(CStavlinView::kScrollTimer));
}

TEST_F(ViewTest, ScrollTimerRetriesWhileTheUserAsks) {
  view.m_autoScroll = 1;
  host.timers.FailNextSetTimers(2);
  ui.AnswerNext(kNoTimer, {IDRETRY, IDRETRY});
  EXPECT_EQ(view.StartScrollTimer(1.0f), 1);
  EXPECT_EQ(ui.CountOf(kNoTimer), 2);
  EXPECT_TRUE(host.timers.IsRunning(CStavlinView::kScrollTimer));
}

TEST_F(ViewTest, ScrollTimerGivesUpOnCancel) {
  view.m_autoScroll = 1;
  host.timers.FailNextSetTimers(1);
  ui.Answer(kNoTimer, IDCANCEL);
  EXPECT_EQ(view.StartScrollTimer(1.0f), 0);
  EXPECT_EQ(view.m_scrollTimerRunning, 0);
}

TEST_F(ViewTest, ScrollStepPastTheLastLineEndsAScrollOnceRun) {
  for (int i = 0; i < 4; ++i) AddLine(new KStrLine("line", 0), 20);
  view.OnActionsToggleScroll();
  ASSERT_EQ(view.m_autoScroll, 1);
  EXPECT_EQ(view.IsReadOnly(), 1) << "read-only while scrolling";
  view.m_scrollStep = 10;
  view.m_scrollLoop = 0;
  ASSERT_TRUE(host.timers.Fire(CStavlinView::kScrollTimer));
  EXPECT_EQ(view.m_autoScroll, 0);
  EXPECT_FALSE(host.timers.IsRunning(CStavlinView::kScrollTimer));
  EXPECT_EQ(view.IsReadOnly(), 0) << "editable again";
  EXPECT_EQ(view.GetCurrentLine(), 0);
}

// A score saved once, so that it has a path, with autosave by minutes set up
// through File/Auto Save.
class Autosave : public ViewTest {
 protected:
  Autosave() {
    document.OnNewDocument();
    path = (folder.Path() / "song.svd").string();
    EXPECT_TRUE(document.OnSaveDocument(CString(path.c_str())));
    std::filesystem::remove(path);
    AddLine(new KStrLine("words", 0), 20);
  }
  // The dialog answers: autosave every `minutes` minutes, nothing for new files.
  void ChooseMinutes(int minutes) {
    ui.AnswerDialog(KAutoSaveDialog::kTemplateId, [minutes](KModalDialog& dialog) {
      auto& autosave = dynamic_cast<KAutoSaveDialog&>(dialog);
      autosave.interval = minutes;
      autosave.unit = 0;
      autosave.choice = 0;
      autosave.newFiles = 0;
      return IDOK;
    });
    view.OnFileAutoSave();
  }
  bool Saved() const { return std::filesystem::exists(path); }

  stavlin_test::TempFolder folder{"view-autosave"};
  std::string path;
};

TEST_F(Autosave, ModifiedScoreIsSavedWhenTheIntervalIsReached) {
  ChooseMinutes(1);
  ASSERT_TRUE(host.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(host.timers.Interval(CStavlinView::kAutosaveTimer), 30000u);
  EXPECT_EQ(document.settings.autosaveAmount, 2) << "two 30-second ticks a minute";
  document.SetModifiedFlag(TRUE);
  host.timers.Fire(CStavlinView::kAutosaveTimer);
  EXPECT_FALSE(Saved()) << "half a minute";
  host.timers.Fire(CStavlinView::kAutosaveTimer);
  EXPECT_TRUE(Saved());
  EXPECT_FALSE(document.IsModified());
}

TEST_F(Autosave, UnmodifiedScoreIsNeverSaved) {
  ChooseMinutes(1);
  document.SetModifiedFlag(FALSE);
  for (int i = 0; i < 6; ++i) host.timers.Fire(CStavlinView::kAutosaveTimer);
  EXPECT_FALSE(Saved());
}

TEST_F(Autosave, ReadOnlyScoreIsNeverSavedAndItsTicksDoNotCount) {
  ChooseMinutes(1);
  document.SetModifiedFlag(TRUE);
  view.m_readOnly = 1;
  for (int i = 0; i < 6; ++i) host.timers.Fire(CStavlinView::kAutosaveTimer);
  EXPECT_FALSE(Saved());
  EXPECT_EQ(view.m_autosaveCount, 0);
}

TEST_F(Autosave, SaveWaitsForTheRunningCommandToEnd) {
  ChooseMinutes(1);
  document.SetModifiedFlag(TRUE);
  {
    KCommandScope command(&view);
    host.timers.Fire(CStavlinView::kAutosaveTimer);
    host.timers.Fire(CStavlinView::kAutosaveTimer);
    EXPECT_FALSE(Saved()) << "not in the middle of a command";
    EXPECT_EQ(view.m_autosaveDue, 1);
  }
  EXPECT_TRUE(Saved());
}

TEST_F(Autosave, ScoreWithoutAPathIsNotSaved) {
  ChooseMinutes(1);
  document.SetPathName(CString());
  document.SetModifiedFlag(TRUE);
  host.timers.Fire(CStavlinView::kAutosaveTimer);
  host.timers.Fire(CStavlinView::kAutosaveTimer);
  EXPECT_FALSE(Saved());
  EXPECT_TRUE(ui.Dialogs().size() == 1u) << "no save-as prompt from a timer";
}

TEST_F(Autosave, CancelWithoutATimerTurnsAutosaveOffAndStoresIt) {
  ChooseMinutes(5);
  ASSERT_EQ(view.m_autosaveInterval, 10);
  host.timers.KillTimer(CStavlinView::kAutosaveTimer);
  view.m_autosaveTimerOn = 0;
  host.timers.FailNextSetTimers(1);
  ui.Answer(kNoTimer, IDCANCEL);
  ChooseMinutes(3);
  EXPECT_EQ(ui.CountOf(kNoTimer), 1);
  EXPECT_EQ(view.m_autosaveInterval, 0);
  EXPECT_EQ(document.settings.autosaveAmount, 0) << "the score's settings say it is off";
  EXPECT_EQ(g_viewMirrors.autosaveState, 1);
  EXPECT_FALSE(host.timers.IsRunning(CStavlinView::kAutosaveTimer));
}

TEST_F(Autosave, DontAutosaveStopsTheTimer) {
  ChooseMinutes(1);
  ui.AnswerDialog(KAutoSaveDialog::kTemplateId, [](KModalDialog& dialog) {
    auto& autosave = dynamic_cast<KAutoSaveDialog&>(dialog);
    autosave.choice = 1;
    autosave.newFiles = 0;
    return IDOK;
  });
  view.OnFileAutoSave();
  EXPECT_FALSE(host.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(view.m_autosaveInterval, 0);
}

}  // namespace
