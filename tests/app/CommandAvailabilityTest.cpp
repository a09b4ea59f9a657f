// Honest menus: every command whose menu item, button or key is enabled has a
// handler that runs it, with a score open and with none. Dialogs and message
// boxes are answered by the script (Cancel or the first button), so each
// handler runs to its end without a window.

#include <QAction>
#include <QApplication>
#include <QToolBar>
#include <set>
#include <string>

#include "ShellTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace {

// The commands that end the test's own set-up (Exit closes the program, Close
// the score the walk works on) or change it (a new score window) are checked
// for a handler but not run; each runs in a test of its own elsewhere.
bool ChangesTheWalksWindows(UINT id) {
  return id == cmd::kAppExit || id == cmd::kFileClose || id == cmd::kFileNew || id == cmd::kFileNewScore ||
         id == cmd::kWindowNew || id == cmd::kFileNewText;
}

// Runs every enabled command of the table once; returns the ids that were
// enabled but ran no handler.
std::vector<UINT> WalkEnabledCommands(CMainFrame& frame, std::set<UINT>& enabled) {
  std::vector<UINT> unhandled;
  for (const KCommandInfo& info : CommandTable()) {
    frame.UpdateCommandUi();
    QAction* action = frame.ActionFor(info.id);
    if (action == nullptr || !action->isEnabled()) continue;
    enabled.insert(info.id);
    const bool ran = ChangesTheWalksWindows(info.id) ? frame.IsAvailable(info.id) : frame.RunCommand(info.id);
    if (!ran) unhandled.push_back(info.id);
    // Read-only mode and auto-scroll disable the editing commands after
    // them: switched back off, so the walk reaches those too.
    if (ran && (info.id == cmd::kEditReadOnly || info.id == cmd::kScrollToggle)) frame.RunCommand(info.id);
    QApplication::processEvents();
  }
  return unhandled;
}

TEST_F(ShellTest, EveryEnabledCommandRunsAHandlerWithAScoreOpen) {
  const std::string path = WriteScore("walk.svd", 4);
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  std::set<UINT> enabled;
  EXPECT_EQ(WalkEnabledCommands(Frame(), enabled), std::vector<UINT>{});
  for (UINT id : {cmd::kViewRefresh, cmd::kInsertTextLine, cmd::kFileSave})
    EXPECT_EQ(enabled.count(id), 1u) << "command " << id << " is enabled in a score";
}

TEST_F(ShellTest, EveryEnabledCommandRunsAHandlerWithNoScoreOpen) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Frame().ScoreWindows().empty());
  std::set<UINT> enabled;
  EXPECT_EQ(WalkEnabledCommands(Frame(), enabled), std::vector<UINT>{});
  EXPECT_EQ(enabled.count(cmd::kFileOpen), 1u);
  EXPECT_EQ(enabled.count(cmd::kViewRefresh), 0u) << "a view command needs a score";
}

TEST_F(ShellTest, ACommandWithoutAHandlerIsDisabledAndBeepsWhenSentAnyway) {
  const std::string path = WriteScore("honest.svd", 2);
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  // A command id no handler runs: its item is disabled, and sending it
  // anyway beeps and changes nothing.
  const UINT none = 41999;
  ASSERT_EQ(FindViewCommandHandler(none), nullptr);
  EXPECT_FALSE(Frame().IsAvailable(none));
  const size_t beeps = ui_.Beeps().size();
  Frame().OnCommand(none);
  EXPECT_EQ(ui_.Beeps().size(), beeps + 1);
}

// The toolbar's buttons show what the menu shows: on a score just opened
// nothing can be redone, cut or copied, and the buttons say so.
TEST_F(ShellTest, ToolbarButtonsOfAFreshScoreAreEnabledAsTheirCommands) {
  const std::string path = WriteScore("fresh.svd", 4);
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  int checked = 0;
  for (QToolBar* bar : Frame().findChildren<QToolBar*>()) {
    for (QAction* button : bar->actions()) {
      for (const UINT id : {cmd::kEditRedo, cmd::kEditCut, cmd::kEditCopy}) {
        QAction* command = Frame().ActionFor(id);
        ASSERT_NE(command, nullptr);
        if (button->text() != command->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0) &&
            button != command)
          continue;
        ++checked;
        EXPECT_FALSE(command->isEnabled()) << "command " << id;
        EXPECT_FALSE(button->isEnabled()) << "button of command " << id;
      }
    }
  }
  EXPECT_EQ(checked, 3);
}
}  // namespace
