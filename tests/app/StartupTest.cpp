// Start-up: the start-up action (a new score, the last score, or nothing),
// Shift held to skip it, the message when the last score is gone, and the
// preference reset offered when Ctrl alone is held.

#include <QApplication>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "platform/Registry.h"

namespace {

struct StartupCase {
  std::string name;
  int action;
  bool lastScoreExists;
  int heldKey;  // 0 none
  size_t windows;
  std::vector<UINT> messages;
};

class StartupActions : public ShellTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupActions, OpenWhatTheActionAsks) {
  const StartupCase& c = GetParam();
  StoreStartupAction(c.action);
  const std::string last = c.lastScoreExists ? WriteScore("last.svd", 2) : (Dir() / "gone.svd").string();
  RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\LastOpenFile", REG_SZ, last.c_str(), 0);
  if (c.heldKey != 0) keys_.Press(c.heldKey);
  ASSERT_TRUE(Start());
  keys_.ReleaseAll();
  EXPECT_EQ(Frame().ScoreWindows().size(), c.windows);
  EXPECT_EQ(ui_.MessageIds(), c.messages);
  if (c.action == 2 && c.windows == 1) {
    EXPECT_EQ(Frame().ScoreWindows().front()->Document().GetPathName().Str(), last);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Startup, StartupActions,
    ::testing::Values(StartupCase{"NothingToDo", 0, true, 0, 0, {}},
                      StartupCase{"NewScore", 1, true, 0, 1, {}},
                      StartupCase{"LastScoreReopens", 2, true, 0, 1, {}},
                      StartupCase{"MissingLastScoreIsTold", 2, false, 0, 0, {8203}},
                      StartupCase{"ShiftSkipsTheAction", 1, true, VK_SHIFT, 0, {}},
                      StartupCase{"CtrlResetBringsBackTheWelcomeScore", 0, true, VK_CONTROL, 1, {7099}}),
    [](const ::testing::TestParamInfo<StartupCase>& info) { return info.param.name; });

TEST_F(ShellTest, ResetAnsweredNoKeepsThePreferencesAndYesClearsThem) {
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\StartFolder", REG_SZ, "/nowhere/kept", 0);
    keys_.Press(VK_CONTROL);
    ui_.AnswerNext(7099, {answer});
    app_ = std::make_unique<CStavlinApp>();
    ASSERT_TRUE(Start());
    keys_.ReleaseAll();
    const bool kept = g_strStartFolder == "/nowhere/kept";
    EXPECT_EQ(kept, answer == IDNO);
  }
}

TEST_F(ShellTest, SavedWindowPlaceIsKeptOnTheScreen) {
  RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\StavlinXYSizeXYPos", REG_SZ, "700,500,-30,25,0,9,9,9",
              0);
  ASSERT_TRUE(Start());
  EXPECT_EQ(Frame().pos().x(), 0);
  EXPECT_EQ(Frame().pos().y(), 25);
  EXPECT_EQ(Frame().width(), 700);
}

// A settings file whose numbers are all 2147483647 (damaged, or edited by
// hand) starts a main window that fits the screen, and a new score window of
// the built-in size.
TEST_F(ShellTest, ASettingsFileOfHugeNumbersStartsANormalWindow) {
  std::string huge;
  for (int i = 0; i < 20; ++i) huge += (i > 0 ? "," : "") + std::string("2147483647");
  for (const char* group : {"StavlinXYSizeXYPos", "PgMargins", "PgOptions", "PrinterParams", "AutoSave",
                            "DocViewOptions", "StaffLines", "StaffLines2", "Scrolling", "Chords2"}) {
    RegSetValue(HKEY_CURRENT_USER, (std::string("Software\\Stavlin\\") + group).c_str(), REG_SZ, huge.c_str(),
                0);
  }
  // The fifth number is the start-up action: a new score.
  RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\NewDocXYSizeXYPos", REG_SZ,
              "2147483647,2147483647,2147483647,2147483647,1", 0);
  ASSERT_TRUE(Start());
  const SIZE screen = Frame().GetScreenSize();
  EXPECT_LE(Frame().width(), std::max<LONG>(screen.cx, 640));
  EXPECT_LE(Frame().height(), std::max<LONG>(screen.cy, 480));
  EXPECT_GE(Frame().pos().x(), 0);
  EXPECT_GE(Frame().pos().y(), 0);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  const QWidget* score = Frame().ScoreWindows().front();
  EXPECT_LE(score->width(), Frame().width());
  EXPECT_LE(score->height(), Frame().height());
}

}  // namespace
