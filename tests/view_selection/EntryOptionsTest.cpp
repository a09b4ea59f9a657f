// The Options menu's entry switches, run through the command dispatch.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/Preferences.h"
#include "platform/SettingsStore.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace {

using namespace viewtest;

class EntryOptionsFixture : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    Add(MakeStaff({{0, 12}}));
    Layout(0);
    doc.SetModifiedFlag(FALSE);
  }
  void TearDown() override {
    ViewScoreFixture::TearDown();
    ResetPreferences();
  }
  // The switches that are kept for later sessions are written here.
  KSettingsStoreScope store_{std::make_unique<KMemorySettingsStore>()};
};

struct ToggleCase {
  const char* name;
  UINT id;
  std::function<int(const CStavlinView&)> value;
  bool storedWithScore;
};

void PrintTo(const ToggleCase& c, std::ostream* os) { *os << c.name; }

class ToggleTest : public EntryOptionsFixture, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleTest, FlipsTwiceAndMarksTheScoreOnlyWhenStoredWithIt) {
  const ToggleCase& c = GetParam();
  const int before = c.value(*view);
  ASSERT_TRUE(ExecuteViewCommand(*view, c.id));
  EXPECT_NE(c.value(*view), before);
  EXPECT_EQ(doc.IsModified() != FALSE, c.storedWithScore);
  ExecuteViewCommand(*view, c.id);
  EXPECT_EQ(c.value(*view), before);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ToggleTest,
    ::testing::Values(
        ToggleCase{"arrows move within staff", cmd::kOptionsArrowsWithinStaff,
                   [](const CStavlinView& v) { return static_cast<int>(v.m_options.arrowKeysWithinStaff); },
                   true},
        ToggleCase{"keyboard sets cursor symbol", cmd::kOptionsKeyboardSetsCursor,
                   [](const CStavlinView& v) { return static_cast<int>(v.m_options.keyChangesCursor); },
                   true},
        ToggleCase{"advance caret after note entry", cmd::kOptionsAdvanceCaret,
                   [](const CStavlinView&) { return g_prefEntryOptions.advanceAfterNote; }, false},
        ToggleCase{"use arrow cursor", cmd::kOptionsArrowCursor,
                   [](const CStavlinView&) { return g_prefEntryOptions.cursorMode; }, false},
        ToggleCase{"auto bar insertion", cmd::kOptionsAutoBars,
                   [](const CStavlinView& v) { return v.m_autoBars * 10 + g_viewMirrors.autoBars; }, false},
        ToggleCase{
            "auto wrap music", cmd::kOptionsAutoWrap,
            [](const CStavlinView& v) { return v.m_autoWrap + 10 * ((v.m_options.editFlags >> 4) & 1); },
            true}),
    [](const ::testing::TestParamInfo<ToggleCase>& info) { return CaseName(info.param.name); });

struct JoinStep {
  UINT id;
  int mode;
};

struct JoinCase {
  const char* name;
  std::vector<JoinStep> steps;
};

void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.name; }

class AutoJoinTest : public EntryOptionsFixture, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(AutoJoinTest, ModeAfterEachCommand) {
  view->m_autoJoin = 0;
  view->m_autoJoinLast = 1;
  for (const JoinStep& step : GetParam().steps) {
    ExecuteViewCommand(*view, step.id);
    EXPECT_EQ(view->m_autoJoin, step.mode) << step.id;
    EXPECT_EQ(g_viewMirrors.autoJoin, step.mode);
  }
}

constexpr UINT kToggle = cmd::kOptionsAutoJoinToggle;

INSTANTIATE_TEST_SUITE_P(
    Sequences, AutoJoinTest,
    ::testing::Values(JoinCase{"toggle from off with no mode chosen turns on the first mode",
                               {{kToggle, 1}, {kToggle, 0}}},
                      JoinCase{"a chosen mode comes back after toggling twice",
                               {{kToggle + 4, 4}, {kToggle, 0}, {kToggle, 4}}},
                      JoinCase{"choosing a mode while on does not become the toggle's mode until toggled off",
                               {{kToggle + 2, 2}, {kToggle + 6, 6}, {kToggle, 0}, {kToggle, 6}}}),
    [](const ::testing::TestParamInfo<JoinCase>& info) { return CaseName(info.param.name); });

TEST_F(EntryOptionsFixture, StemModesSetTheViewAndItsMirror) {
  for (const auto& [id, mode] :
       {std::pair{cmd::kOptionsStemInward, 1}, std::pair{cmd::kOptionsStemOutward, 2},
        std::pair{cmd::kOptionsStemNone, 0}}) {
    ExecuteViewCommand(*view, id);
    EXPECT_EQ(view->m_stemDirection, mode);
    EXPECT_EQ(g_viewMirrors.stemDirection, mode);
  }
}

TEST_F(EntryOptionsFixture, AutoWrapOnKeepsAStaffLengthAlreadySet) {
  view->m_fixedStaffLength = 500;
  view->m_widest = 900;
  view->OnOptionsAutoWrapMusic();
  EXPECT_EQ(view->m_fixedStaffLength, 500);
  EXPECT_EQ(g_autoWrap, 1);
}

TEST_F(EntryOptionsFixture, AutoWrapOnWithoutALengthTakesTheWidestAndOffRestoresTheScoresLength) {
  view->m_fixedStaffLength = 0;
  view->m_widest = 900;
  view->m_options.fixedLineLength = 0;
  view->OnOptionsAutoWrapMusic();
  EXPECT_EQ(view->m_fixedStaffLength, 900);
  view->OnOptionsAutoWrapMusic();
  EXPECT_EQ(view->m_fixedStaffLength, 0);
  EXPECT_EQ(g_autoWrap, 0);
}

TEST_F(EntryOptionsFixture, ArrowCursorSwitchSetsTheArrowOrTheSymbolCursor) {
  g_prefEntryOptions.cursorMode = 1;
  g_CurrentNoteCode = 10008;
  view->OnOptionsUseArrowCursor();
  EXPECT_EQ(host.cursor, 0);
  view->OnOptionsUseArrowCursor();
  EXPECT_EQ(host.cursor, 808);
  EXPECT_EQ(frame.toolboxRefreshes, 2);
}

// The arrow cursor and the caret's advance are the user's choices for every
// later session: each switch writes them, so a restart reads them back.
TEST_F(EntryOptionsFixture, ArrowCursorAndAdvanceCaretComeBackAfterARestart) {
  for (const UINT id : {cmd::kOptionsArrowCursor, cmd::kOptionsAdvanceCaret}) {
    ResetPreferences();
    const KPrefEntryOptions before = g_prefEntryOptions;
    ASSERT_TRUE(ExecuteViewCommand(*view, id));
    const KPrefEntryOptions chosen = g_prefEntryOptions;
    ResetPreferences();
    LoadRegistrySettings();
    EXPECT_EQ(g_prefEntryOptions.cursorMode, chosen.cursorMode) << id;
    EXPECT_EQ(g_prefEntryOptions.advanceAfterNote, chosen.advanceAfterNote) << id;
    EXPECT_TRUE(g_prefEntryOptions.cursorMode != before.cursorMode ||
                g_prefEntryOptions.advanceAfterNote != before.advanceAfterNote)
        << id;
  }
}

}  // namespace
