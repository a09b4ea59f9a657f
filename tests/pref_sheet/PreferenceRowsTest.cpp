// The rows of the preferences pages: each plain preference, changed alone on
// its page, is stored (limited as the store limits it) and lists its own
// group alone, the one group whose written text changes; OK without a change
// lists none, whatever the stored values.

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "doc/PreferenceTestSupport.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "pref_sheet/PreferenceRows.h"
#include "pref_sheet/PreferencesSheet.h"

namespace {

class PreferenceRows : public PreferenceTest {
 protected:
  void SetUp() override {
    PreferenceTest::SetUp();
    context.mainWindow = KWindowPlacement{900, 700, 10, 20};
    context.screenWidth = 1280;
    context.screenHeight = 900;
    context.folderUsable = [](const CString& folder) { return folder == "/music"; };
  }

  // The sheet opened on the preferences as they are now.
  void Open() {
    ResetAll();
    FillPreferencePages(pages, context);
  }

  KPrefSheetContext context;
  KPreferencesSheet pages;
};

// Names a row in a failure message: its page, its place and its group.
template <typename Page>
std::string RowName(const Page& page, std::size_t index, KPrefGroup group) {
  return "page " + std::to_string(page.GetTemplateId()) + " row " + std::to_string(index) + " (" +
         std::string(PreferenceGroupName(group)) + ")";
}

// The groups whose written text differs from the texts given.
std::vector<KPrefGroup> GroupsWrittenOtherThan(const std::vector<CString>& texts) {
  std::vector<KPrefGroup> groups;
  for (const KPrefGroup group : AllPreferenceGroups())
    if (FormatPreferenceGroup(group) != texts[static_cast<std::size_t>(group)]) groups.push_back(group);
  return groups;
}

std::vector<CString> WrittenTexts() {
  std::vector<CString> texts;
  for (const KPrefGroup group : AllPreferenceGroups()) texts.push_back(FormatPreferenceGroup(group));
  return texts;
}

bool Limited(const KPrefLimits& limits) { return limits.low != INT_MIN || limits.high != INT_MAX; }

TEST_F(PreferenceRows, ChangingOneControlStoresItsValueLimitedAndListsOnlyItsGroup) {
  VisitPreferenceRows(pages, [&](auto& page, const auto& rows) {
    for (std::size_t i = 0; i < rows.numbers.size(); ++i) {
      const auto& row = rows.numbers[i];
      // A value within the limits, then (for a limited row) one beyond them.
      for (const bool beyond : {false, true}) {
        if (beyond && !Limited(row.limits)) continue;
        Open();
        const int before = *row.stored;
        int entered = before + 1;
        if (!beyond && row.limits.Apply(entered) != entered) entered = before - 1;
        if (beyond) entered = row.limits.high != INT_MAX ? row.limits.high + 1 : row.limits.low - 1;
        page.*row.control = entered;
        const std::vector<CString> written = WrittenTexts();
        const KPrefStoreResult result = StorePreferencePages(pages, context);

        const int limited = row.limits.Apply(entered);
        const bool changes = (row.limits.beforeCompare ? limited : entered) != before;
        const std::string name = RowName(page, i, row.group) + " entered " + std::to_string(entered);
        EXPECT_EQ(result.changed, changes ? std::vector<KPrefGroup>{row.group} : std::vector<KPrefGroup>{})
            << name;
        EXPECT_EQ(*row.stored, changes ? limited : before) << name;
        // The group the row names is the one whose text shows the value.
        if (limited != before) {
          EXPECT_EQ(GroupsWrittenOtherThan(written), result.changed) << name;
        }
        if (!beyond) {
          EXPECT_EQ(limited, entered) << name;
        }
      }
    }
    for (std::size_t i = 0; i < rows.texts.size(); ++i) {
      const auto& row = rows.texts[i];
      Open();
      const CString entered = *row.stored + "9";
      page.*row.control = entered;
      const std::vector<CString> written = WrittenTexts();
      const KPrefStoreResult result = StorePreferencePages(pages, context);
      EXPECT_EQ(result.changed, std::vector<KPrefGroup>{row.group}) << RowName(page, i, row.group);
      EXPECT_EQ(GroupsWrittenOtherThan(written), result.changed) << RowName(page, i, row.group);
      EXPECT_EQ(*row.stored, entered) << RowName(page, i, row.group);
    }
  });
}

TEST_F(PreferenceRows, OkWithoutAChangeListsNoGroupWhenEveryRowHoldsAnotherValue) {
  ResetAll();
  // Every row's variable moved off its start value, within its limits.
  VisitPreferenceRows(pages, [](auto&, const auto& rows) {
    for (const auto& row : rows.numbers)
      *row.stored = row.limits.Apply(*row.stored + 1) == *row.stored + 1 ? *row.stored + 1 : *row.stored - 1;
    for (const auto& row : rows.texts) *row.stored = *row.stored + "9";
  });
  std::vector<int> numbers;
  VisitPreferenceRows(pages, [&](auto&, const auto& rows) {
    for (const auto& row : rows.numbers) numbers.push_back(*row.stored);
  });
  FillPreferencePages(pages, context);
  EXPECT_TRUE(StorePreferencePages(pages, context).changed.empty());
  std::vector<int> after;
  VisitPreferenceRows(pages, [&](auto&, const auto& rows) {
    for (const auto& row : rows.numbers) after.push_back(*row.stored);
  });
  EXPECT_EQ(after, numbers);
}

TEST_F(PreferenceRows, NoTwoRowsShareAControlOrAStoredValue) {
  std::set<const void*> stored;
  std::set<const void*> controls;
  VisitPreferenceRows(pages, [&](auto& page, const auto& rows) {
    for (std::size_t i = 0; i < rows.numbers.size(); ++i) {
      const auto& row = rows.numbers[i];
      EXPECT_TRUE(stored.insert(row.stored).second) << RowName(page, i, row.group);
      EXPECT_TRUE(controls.insert(&(page.*row.control)).second) << RowName(page, i, row.group);
    }
    for (std::size_t i = 0; i < rows.texts.size(); ++i) {
      const auto& row = rows.texts[i];
      EXPECT_TRUE(stored.insert(row.stored).second) << RowName(page, i, row.group);
      EXPECT_TRUE(controls.insert(&(page.*row.control)).second) << RowName(page, i, row.group);
    }
  });
}

}  // namespace
