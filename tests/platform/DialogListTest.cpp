// List boxes of several rows in a dialog's controls: what the user chooses
// (rows and caret row), what the dialog shows chosen, and double clicks.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/DialogControls.h"

namespace {

constexpr UINT kList = 100;
constexpr UINT kSingle = 101;

class DialogList : public ::testing::Test {
 protected:
  DialogList() {
    controls.MultiList(kList, caret, {"a", "b", "c", "d"})
        .WhenChanged([this] { ++changes; })
        .WhenDoubleClicked([this](int row) { doubleClicked.push_back(row); });
    controls.List(kSingle, single, {"x", "y"});
  }
  DialogControls controls;
  int caret = 0;
  int single = 0;
  int changes = 0;
  std::vector<int> doubleClicked;
};

TEST_F(DialogList, ChosenRowsAreKeptInOrderOnceAndOnlyWhileTheListHasThem) {
  controls.SelectRows(kList, {3, 1, 3, 7, -2}, 3);
  EXPECT_EQ(controls.SelectedRows(kList), (std::vector<int>{1, 3}));
  EXPECT_EQ(controls.Selected(kList), 3);
  EXPECT_EQ(changes, 1);
  // A plain choice of one row chooses it alone.
  controls.Select(kList, 2);
  EXPECT_EQ(controls.SelectedRows(kList), (std::vector<int>{2}));
  // Fewer entries: rows the list no longer has are no longer chosen.
  controls.SetShownRows(kList, {0, 2, 3});
  controls.SetItems(kList, {"a", "b", "c"});
  EXPECT_EQ(controls.SelectedRows(kList), (std::vector<int>{0, 2}));
  // A list of one choice reports its choice as its one row, and takes no rows.
  controls.Select(kSingle, 1);
  EXPECT_EQ(controls.SelectedRows(kSingle), (std::vector<int>{1}));
  EXPECT_THROW(controls.SelectRows(kSingle, {0, 1}, 0), std::logic_error);
  EXPECT_THROW(controls.SelectRows(kList, {0}, 5), std::logic_error);
}

TEST_F(DialogList, DoubleClickRunsItsHandlerWithTheRow) {
  controls.DoubleClick(kList, 1);
  EXPECT_EQ(doubleClicked, (std::vector<int>{1}));
  EXPECT_THROW(controls.DoubleClick(kList, 4), std::logic_error);
  controls.DoubleClick(kSingle, 0);  // no handler: nothing happens
  EXPECT_EQ(doubleClicked.size(), 1u);
}

}  // namespace
