// Running view commands by id: which ids the view takes, and the enabling
// rule standing guard in front of each.

#include <gtest/gtest.h>

#include "ViewStateFixture.h"
#include "platform/FakeUiPort.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandTable.h"

namespace {

TEST(ViewCommandDispatch, LeavesFrameAndApplicationCommandsToTheirOwners) {
  ViewStateFixture f;
  for (UINT id : {57601u, 57603u, 40964u, 41258u, 41184u, 12345u}) {
    EXPECT_FALSE(ExecuteViewCommand(f.view, id)) << "command " << id;
  }
}

TEST(ViewCommandDispatch, KeyboardStaffIsNotTakenAsASingleLineInsert) {
  // The single-line inserts on either side of it share one handler; the
  // keyboard pair has its own.
  const KViewCommandHandler* keyboard = FindViewCommandHandler(41050);
  ASSERT_NE(keyboard, nullptr);
  EXPECT_EQ(keyboard->first, 41050u);
  EXPECT_EQ(keyboard->last, 41050u);
  EXPECT_NE(FindViewCommandHandler(41049), keyboard);
  EXPECT_NE(FindViewCommandHandler(41051), keyboard);
}

TEST(ViewCommandDispatch, ConsumesADisabledCommandWithoutRunningIt) {
  FakeUiPort ui;
  ScopedUiPort scoped(ui);
  ViewStateFixture f;
  f.SetLines({0});
  f.view.m_readOnly = 1;
  // File/Auto Save is disabled in read-only mode; run, it would ask first.
  EXPECT_TRUE(ExecuteViewCommand(f.view, 40962));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(g_commandDepth, 0);
}

TEST(ViewCommandDispatch, RunsReadOnlyAndEndsTheCommandScope) {
  ViewStateFixture f;
  f.SetLines({0, 5});
  EXPECT_TRUE(ExecuteViewCommand(f.view, 41009));
  EXPECT_EQ(f.view.m_readOnly, 1);
  EXPECT_EQ(g_commandDepth, 0);
  EXPECT_TRUE(ExecuteViewCommand(f.view, 41009));
  EXPECT_EQ(f.view.m_readOnly, 0);
}

}  // namespace
