// The view's handler table: ranges never overlap (no command has two
// handlers), every handled id is a command of the table, and an id finds the
// handler whose range holds it.

#include <gtest/gtest.h>

#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace {

TEST(CommandHandlers, RangesAreSortedAndNeverOverlap) {
  const auto table = ViewCommandHandlerTable();
  ASSERT_FALSE(table.empty());
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_LE(table[i].first, table[i].last) << "handler " << i;
    EXPECT_NE(table[i].run, nullptr) << "handler " << i;
    if (i > 0) {
      EXPECT_LT(table[i - 1].last, table[i].first) << "handlers " << i - 1 << " and " << i;
    }
  }
}

TEST(CommandHandlers, EveryHandledIdIsACommandOfTheTable) {
  for (const KViewCommandHandler& handler : ViewCommandHandlerTable())
    for (UINT id = handler.first; id <= handler.last; ++id)
      EXPECT_NE(FindCommand(id), nullptr) << "id " << id << " has a handler but no command";
}

TEST(CommandHandlers, AnIdFindsTheHandlerWhoseRangeHoldsIt) {
  const KViewCommandHandler* styles = FindViewCommandHandler(cmd::kNoteStyleFirst + 3);
  ASSERT_NE(styles, nullptr);
  EXPECT_EQ(styles->first, cmd::kNoteStyleFirst);
  EXPECT_EQ(FindViewCommandHandler(cmd::kNoteStyleLast + 100), nullptr);
  EXPECT_EQ(FindViewCommandHandler(0), nullptr);
}

}  // namespace
