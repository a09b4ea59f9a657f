// Go To, Set Staff Length, the scrolling speed, Select Everything and Rhythm
// Symbol Entry against the view.

#include <gtest/gtest.h>

#include "dialogs/KDlgGoTo.h"
#include "dialogs/KDlgScrollData.h"
#include "dialogs/KDlgSetLineLength.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/commands/ViewGoTo.h"

namespace {

using namespace viewtest;

// ---- Go To ------------------------------------------------------------------------------

class GoToTest : public ViewScoreFixture {
 protected:
  // Three staffs of two bars each (bars closed at columns 2 and 5), a new
  // piece's title, then two more such staffs.
  void BuildTwoPieces() {
    for (int i = 0; i < 3; ++i) Add(MakeStaff({{0, 10}, {1, 10}, {3, 10}, {4, 10}}, {2, 5}));
    // A title (in an underlined font) starts a new piece.
    Add(new KStrLine("Second piece", 2));
    view->m_textFonts[2].lfUnderline = 1;
    for (int i = 0; i < 2; ++i) Add(MakeStaff({{0, 10}, {1, 10}, {3, 10}, {4, 10}}, {2, 5}));
  }
};

struct GoCase {
  const char* name;
  int caretLine;
  int number;
  bool bar;
  int line;  // where the caret lands
  int column;
};

void PrintTo(const GoCase& c, std::ostream* out) { *out << c.name; }

class GoToTargetTest : public GoToTest, public ::testing::WithParamInterface<GoCase> {};

TEST_P(GoToTargetTest, TheCaretLandsOnTheLineOrBar) {
  const GoCase& c = GetParam();
  BuildTwoPieces();
  Layout(c.caretLine, 0);
  GoToTarget(*view, c.number, c.bar, 8, false);
  EXPECT_EQ(view->GetCurrentLine(), c.line);
  EXPECT_EQ(view->GetCaretColumn(), c.column);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, GoToTargetTest,
    ::testing::Values(GoCase{"line one is column zero of the first line", 4, 1, false, 0, 0},
                      GoCase{"line five", 0, 5, false, 4, 0},
                      GoCase{"bar one starts the first staff", 2, 1, true, 0, 0},
                      GoCase{"bar two starts after the first bar line", 0, 2, true, 0, 3},
                      GoCase{"bar three is on the second staff", 0, 3, true, 1, 0},
                      GoCase{"after a new piece bar one is its first bar", 5, 1, true, 4, 0},
                      GoCase{"after a new piece bar four is on its second staff", 4, 4, true, 5, 3}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(GoToTest, ALineBeyondTheScoreOffersTheLastAndNoStays) {
  BuildTwoPieces();
  Layout(1, 0);
  ui.AnswerNext(kGoToNoSuchLine, {IDNO, IDYES});
  GoToTarget(*view, 500, false, 8, false);
  EXPECT_EQ(view->GetCurrentLine(), 1);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "There is no line 500 in this score\nGo to line 6 (maximum) ?");
  GoToTarget(*view, 500, false, 8, false);
  EXPECT_EQ(view->GetCurrentLine(), 5);
}

TEST_F(GoToTest, AMissingBarIsReportedAndTheCaretStays) {
  BuildTwoPieces();
  Layout(1, 0);
  GoToTarget(*view, 40, true, 8, false);
  EXPECT_EQ(view->GetCurrentLine(), 1);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "There is no bar 40 in this score");
}

TEST_F(GoToTest, TheDialogShowsWhereTheCaretStands) {
  BuildTwoPieces();
  Layout(1, 3);
  KDlgGoTo shown;
  ui.AnswerDialog(KDlgGoTo::kTemplateId, [&shown](KModalDialog& d) {
    auto& g = static_cast<KDlgGoTo&>(d);
    shown.absolute = g.absolute;
    shown.absoluteByType = g.absoluteByType;
    shown.scoreByType = g.scoreByType;
    shown.number = g.number;
    return IDCANCEL;
  });
  ExecuteViewCommand(*view, cmd::kEditGoTo);
  EXPECT_EQ(shown.absolute.Str(), "Absolute line # 2, Bar # 4");
  EXPECT_EQ(shown.absoluteByType.Str(), "Absolute Treble line # 2, Bar # 4");
  EXPECT_EQ(shown.scoreByType.Str(), "Score Treble line # 2, Bar # 4");
  EXPECT_EQ(shown.number, 2);
}

// ---- Set Staff Length --------------------------------------------------------------------

class StaffLengthTest : public ViewScoreFixture {
 protected:
  void Answer(std::function<void(KModalDialog&)> play) {
    ui.AnswerDialog(KDlgSetLineLength::kTemplateId, [play](KModalDialog& d) {
      d.Controls().SetChecked(KDlgSetLineLength::kIdAutoWrap, 0);
      d.Controls().SetChecked(KDlgSetLineLength::kIdEvenSpace, 0);
      play(d);
      return IDOK;
    });
  }
};

TEST_F(StaffLengthTest, NothingSelectedMeansTheWholeScoreAndAUserZeroStoresOne) {
  Add(MakeStaff({{0, 10}}));
  Add(MakeTab({0}));
  Layout(0, 0);
  int range = -1;
  Answer([&range](KModalDialog& d) {
    range = d.Controls().RadioValue(KDlgSetLineLength::kIdCurrentOnly);
    d.Controls().SetText(KDlgSetLineLength::kIdUserLength, "0");
  });
  ExecuteViewCommand(*view, cmd::kActionsStaffLength);
  EXPECT_EQ(range, KDlgSetLineLength::kRangeAll);
  EXPECT_EQ(Line(0)->GetStaffLength(), 1);
  EXPECT_EQ(Line(1)->GetStaffLength(), 1);
  EXPECT_EQ(UndoSteps().front().kind, 2);
}

TEST_F(StaffLengthTest, NoConstraintStoresZero) {
  KStaffLine* staff = MakeStaff({{0, 10}});
  staff->SetStaffLength(300);
  Add(staff);
  Layout(0, 0);
  Answer([](KModalDialog& d) { d.Controls().SetChecked(KDlgSetLineLength::kIdNoConstraint, 1); });
  ExecuteViewCommand(*view, cmd::kActionsStaffLength);
  EXPECT_EQ(Line(0)->GetStaffLength(), 0);
}

TEST_F(StaffLengthTest, AtLargeSymbolsTheCaretPositionIsStoredAtNormalSize) {
  Add(MakeStaff({{0, 10}}));
  Layout(0, 0);
  view->m_sizeIndex = 1;
  view->m_contentOrigin = view->m_contentLeft + 440;
  view->m_caretColumn = 0;
  Answer([](KModalDialog& d) { d.Controls().SetChecked(KDlgSetLineLength::kIdCaret, 1); });
  ExecuteViewCommand(*view, cmd::kActionsStaffLength);
  EXPECT_EQ(Line(0)->GetStaffLength(), 360);
}

// ---- Scrolling, Select Everything, Rhythm Symbol Entry ------------------------------------

struct SpeedCase {
  const char* name;
  float seconds;
  UINT command;
  float after;
};

void PrintTo(const SpeedCase& c, std::ostream* out) { *out << c.name; }

class ScrollSpeedTest : public ViewScoreFixture, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(ScrollSpeedTest, FasterAndSlowerStepByHalfASecond) {
  Add(MakeStaff({{0, 10}}));
  Layout(0, 0);
  view->m_autoScroll = 1;
  view->m_scrollSeconds = GetParam().seconds;
  ExecuteViewCommand(*view, GetParam().command);
  EXPECT_FLOAT_EQ(view->m_scrollSeconds, GetParam().after);
  EXPECT_EQ(view->m_options.scrollDelay % 1000, static_cast<int>(GetParam().after * 10 + 0.01f));
  EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, ScrollSpeedTest,
    ::testing::Values(SpeedCase{"faster at half a second stays", 0.5f, cmd::kScrollFaster, 0.5f},
                      SpeedCase{"faster from two", 2.0f, cmd::kScrollFaster, 1.5f},
                      SpeedCase{"slower has no limit", 30.0f, cmd::kScrollSlower, 30.5f}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(ViewScoreFixture, SetSpeedTakesTheDialogsValuesIntoTheScore) {
  Add(MakeStaff({{0, 10}}));
  Layout(0, 0);
  ui.AnswerDialog(KDlgScrollData::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgScrollData::kIdDelay, "2.5");
    d.Controls().SetText(KDlgScrollData::kIdLines, "4");
    d.Controls().SetChecked(KDlgScrollData::kIdCountAsScore, 1);
    d.Controls().SetChecked(KDlgScrollData::kIdSoundOff, 1);
    return IDOK;
  });
  ExecuteViewCommand(*view, cmd::kScrollSetSpeed);
  EXPECT_FLOAT_EQ(view->m_scrollSeconds, 2.5f);
  EXPECT_EQ(view->m_scrollStep, 104);
  EXPECT_EQ(view->m_scrollBeep, 0);
  EXPECT_EQ(view->m_options.scrollLines, 104);
}

TEST_F(ViewScoreFixture, SelectEverythingSelectsEveryLine) {
  Add(MakeStaff({{0, 10}}));
  AddText("words");
  Add(MakeTab({0}));
  Layout(1, 0);
  ExecuteViewCommand(*view, cmd::kEditSelectEverything);
  EXPECT_EQ(view->m_selFirstLine, 0);
  EXPECT_EQ(view->m_selLastLine, 2);
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(ViewScoreFixture, RhythmSymbolEntryToggles) {
  Add(MakeStaff({{0, 10}}));
  Layout(0, 0);
  ExecuteViewCommand(*view, cmd::kOptionsRhythmEntry);
  EXPECT_EQ(view->m_rhythmSymbolEntry, 1);
  ExecuteViewCommand(*view, cmd::kOptionsRhythmEntry);
  EXPECT_EQ(view->m_rhythmSymbolEntry, 0);
}

}  // namespace
