// The view's first update as a whole: a new score, autosave that finds no
// timer, a font that cannot be made, the child window's place, and what a
// moved and a destroyed view do.

#include <string>

#include "ViewLifeTestSupport.h"
#include "common/RecentChords.h"
#include "common/SymbolCache.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "platform/GdiFaults.h"
#include "support/CaseName.h"
#include "view/core/ViewInitialSteps.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kTextType = 5;

TEST_F(ViewLifeTest, NewEmptyScoreGetsOneTextLineAndACaret) {
  ASSERT_TRUE(doc_->HasNoLines());
  CStavlinView& view = UpdatedView();

  ASSERT_EQ(doc_->GetLineCount(), 1);
  EXPECT_EQ(doc_->GetLineAt(doc_->GetFirstLinePosition())->GetType(), kTextType);
  EXPECT_EQ(view.GetDisplayLineCount(), 1);
  EXPECT_EQ(view.GetCurrentType(), kTextType);
  EXPECT_EQ(view.GetCurrentLine(), 0);
  EXPECT_EQ(view.GetCaretColumn(), 0);
  EXPECT_TRUE(host_.caret.Exists());
  EXPECT_TRUE(view.InitialUpdateDone());
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(ViewLifeTest, TheFirstUpdateEmptiesTheRecentChordList) {
  ChordRecord chord;
  chord.text0 = "G";
  chord.text2 = "320003";
  RememberRecentChord(chord, false);
  ASSERT_EQ(g_RecentChordCount, 1);
  UpdatedView();
  EXPECT_EQ(g_RecentChordCount, 0);
}

TEST_F(ViewLifeTest, ScoreWithLinesGetsNoExtraLine) {
  AddTextLines({"first", "second"});
  CStavlinView& view = UpdatedView();
  EXPECT_EQ(doc_->GetLineCount(), 2);
  EXPECT_EQ(view.GetDisplayLineCount(), 2);
}

TEST_F(ViewLifeTest, CaretOnAStaffLineTakesTheStaffRow) {
  AddStaffLine(0);
  CStavlinView& view = UpdatedView();
  EXPECT_EQ(view.GetCurrentType(), 0);
  EXPECT_EQ(view.GetCaretRow(), 18);
}

TEST_F(ViewLifeTest, AutosaveByTimeStartsItsTimer) {
  Settings().autosaveAmount = 4;
  Settings().autosaveKind = 0;
  UpdatedView();
  EXPECT_TRUE(host_.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(host_.timers.Interval(CStavlinView::kAutosaveTimer), CStavlinView::kAutosaveTickMs);
  EXPECT_EQ(g_viewMirrors.autosaveState, 2);
}

TEST_F(ViewLifeTest, AutosaveByCharactersNeedsNoTimer) {
  Settings().autosaveAmount = 4;
  Settings().autosaveKind = 1;
  UpdatedView();
  EXPECT_FALSE(host_.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(g_viewMirrors.autosaveState, 2);
}

TEST_F(ViewLifeTest, NoTimerAndCancelTurnsAutosaveOffAndTheUpdateGoesOn) {
  Settings().autosaveAmount = 4;
  Settings().autosaveKind = 0;
  host_.timers.FailNextSetTimers(1);
  ui_.Answer(7043, IDCANCEL);

  CStavlinView& view = UpdatedView();

  EXPECT_EQ(ui_.CountOf(7043), 1);
  EXPECT_FALSE(host_.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(view.m_autosaveInterval, 0);
  EXPECT_EQ(g_viewMirrors.autosaveState, 1);
  // Everything after the autosave step still happened.
  EXPECT_EQ(doc_->GetLineCount(), 1);
  EXPECT_EQ(view.GetDisplayLineCount(), 1);
  EXPECT_TRUE(host_.caret.Exists());
  EXPECT_TRUE(view.InitialUpdateDone());
  // The score keeps asking for autosave; only this view goes without.
  EXPECT_EQ(view.m_options.autosaveAmount, 4);
}

TEST_F(ViewLifeTest, NoTimerAndRetryTriesUntilOneIsFree) {
  Settings().autosaveAmount = 4;
  Settings().autosaveKind = 0;
  host_.timers.FailNextSetTimers(2);
  ui_.Answer(7043, IDRETRY);

  CStavlinView& view = UpdatedView();

  EXPECT_EQ(ui_.CountOf(7043), 2);
  EXPECT_TRUE(host_.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(view.m_autosaveInterval, 4);
}

TEST_F(ViewLifeTest, TabFontThatCannotBeMadeIsReportedAndReplaced) {
  FailNextGdiCreations(GdiResource::Font, 1);
  CStavlinView& view = UpdatedView();

  ASSERT_EQ(ui_.CountOf(7008), 1);
  EXPECT_NE(ui_.Messages().front().text.find("QV4-1"), std::string::npos);
  EXPECT_NE(view.m_tabFont[0].GetSafeHandle(), nullptr);
  EXPECT_NE(view.m_tabFont[1].GetSafeHandle(), nullptr);
  EXPECT_EQ(view.m_tabFont[1].Data().lfHeight, view.m_tabFont[0].Data().lfHeight + 3);
  EXPECT_TRUE(view.InitialUpdateDone());
  EXPECT_TRUE(host_.caret.Exists());
}

TEST_F(ViewLifeTest, TabFontColourIsTakenOutOfTheFont) {
  Settings().tabFont = "16,0,255,0,700,0,0,0,0,3,2,1,34,Arial";
  CStavlinView& view = UpdatedView();
  EXPECT_EQ(view.m_tabColour, 255u);
  EXPECT_EQ(view.m_tabFont[0].Data().lfEscapement, 0);
  EXPECT_EQ(view.m_tabFont[1].Data().lfHeight, 19);
}

TEST_F(ViewLifeTest, UndoMenuTextFollowsTheScore) {
  Settings().editFlags = 0;
  UpdatedView();
  ASSERT_FALSE(frame_.menuTexts.empty());
  EXPECT_EQ(frame_.menuTexts.back().first, 41014u);
  EXPECT_EQ(std::string(frame_.menuTexts.back().second.View()), "En&able Undo (Undo IS NOT enabled now)");
}

TEST_F(ViewLifeTest, BarsFollowTheScoresSwitches) {
  Settings().barFlags = 1 | 4;
  UpdatedView();
  EXPECT_EQ(frame_.mainToolbar, 1);
  EXPECT_EQ(frame_.extraToolbar, 0);
  EXPECT_EQ(frame_.statusBar, 1);
  EXPECT_GE(frame_.toolboxRefreshes, 1);
}

// ---- Window placement ----------------------------------------------------------

struct PlacementCase {
  const char* name;
  RECT stored;  // x, y, width, height as the settings keep them
  RECT expected;
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

// The fake main frame is 1000 by 800.
const PlacementCase kPlacements[] = {
    {"FittingWindowKeepsItsPlace", {50, 60, 600, 400}, {50, 60, 650, 460}},
    {"WiderThanTheFrameStartsAtTheLeftSeventeenNarrower", {50, 60, 1200, 400}, {0, 60, 983, 460}},
    {"TallerThanTheFrameStartsAtTheTop", {50, 60, 600, 700}, {50, 0, 650, 666}},
    {"BothTooLargeFillsTheFrame", {50, 60, 2000, 2000}, {0, 0, 983, 666}},
};

class PlacementTest : public ViewLifeTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementTest, ChildWindowStaysInsideTheFrame) {
  const PlacementCase& c = GetParam();
  Settings().windowX = static_cast<short>(c.stored.left);
  Settings().windowY = static_cast<short>(c.stored.top);
  Settings().windowWidth = static_cast<short>(c.stored.right);
  Settings().windowHeight = static_cast<short>(c.stored.bottom);
  UpdatedView();
  EXPECT_EQ(host_.childRect.left, c.expected.left);
  EXPECT_EQ(host_.childRect.top, c.expected.top);
  EXPECT_EQ(host_.childRect.right, c.expected.right);
  EXPECT_EQ(host_.childRect.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Windows, PlacementTest, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<PlacementCase>& info) {
                           return std::string(info.param.name);
                         });

// ---- Moving and destruction ------------------------------------------------------

TEST_F(ViewLifeTest, MoveBeforeTheFirstUpdateChangesNothing) {
  CStavlinView& view = View();
  Settings().windowX = 5;
  view.OnMove(300, 200);
  EXPECT_EQ(doc_->settings.windowX, 5);
  EXPECT_FALSE(doc_->IsModified());
}

TEST_F(ViewLifeTest, MoveAfterTheFirstUpdateStoresThePlaceUnmodified) {
  CStavlinView& view = UpdatedView();
  view.OnMove(300, 200);
  EXPECT_EQ(doc_->settings.windowX, 300);
  EXPECT_EQ(doc_->settings.windowY, 200);
  EXPECT_FALSE(doc_->IsModified());
}

TEST_F(ViewLifeTest, DestroyStopsTimersAndGivesTheSymbolSetBack) {
  Settings().autosaveAmount = 4;
  Settings().autosaveKind = 0;
  Settings().largeSymbols = 1;
  const int usersBefore = g_symbolSetUsers[1];
  CStavlinView& view = UpdatedView();
  view.OnSetFocus();
  ASSERT_EQ(g_symbolSetUsers[1], usersBefore + 1);
  ASSERT_EQ(frame_.active, &view);

  view.OnDestroy();

  EXPECT_FALSE(host_.timers.IsRunning(CStavlinView::kAutosaveTimer));
  EXPECT_EQ(g_symbolSetUsers[1], usersBefore);
  EXPECT_EQ(frame_.active, nullptr);
  // A second destroy (and the destructor) count nothing more.
  view.OnDestroy();
  view_.reset();
  EXPECT_EQ(g_symbolSetUsers[1], usersBefore);
}

TEST_F(ViewLifeTest, DestroyingAnInactiveViewLeavesTheFramesViewAlone) {
  CStavlinView& view = UpdatedView();
  CStavlinView other(doc_.get(), &host_);
  frame_.active = &other;
  view.OnDestroy();
  EXPECT_EQ(frame_.active, &other);
}

TEST_F(ViewLifeTest, UndoLevelsComeFromThePreference) {
  g_prefAutoSave.undoLevels = 35;
  EXPECT_EQ(View().m_undoLevels, 35);
}

// A score opens with the automatic entry the preferences ask for, shown by
// the status bar through the program-wide copies; the auto-join toggle
// returns to joining by the time signature.
struct EntryDefaultsCase {
  const char* name;
  int autoBarEntry, autoJoin, autoStem;  // the preferences
  int bars, join, stem;                  // the view's switches
  friend void PrintTo(const EntryDefaultsCase& c, std::ostream* out) { *out << c.name; }
};

class EntryDefaults : public ViewLifeTest, public ::testing::WithParamInterface<EntryDefaultsCase> {};

TEST_P(EntryDefaults, ComeFromThePreferences) {
  const EntryDefaultsCase& c = GetParam();
  const KPrefStaffLines2 saved = g_prefStaffLines2;
  g_prefStaffLines2.autoBarEntry = c.autoBarEntry;
  g_prefStaffLines2.autoJoin = c.autoJoin;
  g_prefStaffLines2.autoStem = c.autoStem;
  CStavlinView& view = UpdatedView();
  g_prefStaffLines2 = saved;
  EXPECT_EQ(view.m_autoBars, c.bars);
  EXPECT_EQ(view.m_autoJoin, c.join);
  EXPECT_EQ(view.m_stemDirection, c.stem);
  EXPECT_EQ(view.m_autoJoinLast, 1);
  EXPECT_EQ(g_viewMirrors.autoBars, c.bars);
  EXPECT_EQ(g_viewMirrors.autoJoin, c.join);
  EXPECT_EQ(g_viewMirrors.stemDirection, c.stem);
}

INSTANTIATE_TEST_SUITE_P(
    Preferences, EntryDefaults,
    ::testing::Values(EntryDefaultsCase{"the shipped defaults insert bars and join by the time signature", 1,
                                        1, 0, 1, 1, 0},
                      EntryDefaultsCase{"everything off", 0, 0, 0, 0, 0, 0},
                      EntryDefaultsCase{"eighth pairs and inward stems", 0, 4, 1, 0, 4, 1},
                      EntryDefaultsCase{"values out of range fall back", 7, 9, 5, 1, 1, 0}),
    [](const ::testing::TestParamInfo<EntryDefaultsCase>& info) {
      return viewtest::CaseName(info.param.name);
    });

}  // namespace
