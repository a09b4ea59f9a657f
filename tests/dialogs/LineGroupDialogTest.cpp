// The line grouping dialog's model: rows read from the saved defaults or
// handed in by the grouping command, brace marks turned into offsets, the
// brace and set boxes, kind changes, and what OK gives back (compacted sets,
// joined bars of a braced treble and bass pair, the defaults text).

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialogs/KDlgLineGroup.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"

namespace {

constexpr int kText = 5;
constexpr int kTreble = 0;
constexpr int kBass = 1;
constexpr int kTab = 2;
constexpr int kRhythm = 3;
constexpr int kBassTab = 15;

class LineGroupDialog : public ::testing::Test {
 protected:
  // Rows handed in as gathered lines: kinds, sets and brace marks.
  void Gathered(std::vector<int> kinds, std::vector<int> sets = {}, std::vector<int> marks = {}) {
    dlg.gatheredCount = static_cast<int>(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
      dlg.types[i] = kinds[i];
      dlg.sets[i] = i < sets.size() ? sets[i] : 0;
      dlg.braces[i] = i < marks.size() ? marks[i] : 0;
    }
    dlg.OnInitDialog();
  }
  std::vector<int> Sets(int rows) const {
    return std::vector<int>(dlg.sets.begin(), dlg.sets.begin() + rows);
  }
  std::vector<int> Braces(int rows) const {
    return std::vector<int>(dlg.braces.begin(), dlg.braces.begin() + rows);
  }
  DialogControls& C() { return dlg.Controls(); }

  FakeUiPort ui;
  ScopedUiPort installed{ui};
  KDlgLineGroup dlg;
};

TEST_F(LineGroupDialog, TheSavedDefaultsGiveATrebleAndATabInSetOne) {
  dlg.defaultsText = "1,0,530,0,1,,2,1,,";
  dlg.OnInitDialog();
  EXPECT_EQ(dlg.types[0], kTreble);
  EXPECT_EQ(dlg.types[1], kTab);
  EXPECT_EQ(dlg.types[2], KDlgLineGroup::kEmptyRow);
  EXPECT_EQ(Sets(3), (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(dlg.spaceAtBottom, 1);
  EXPECT_EQ(C().Checked(KDlgLineGroup::kIdInGroup + 0), 1);
  EXPECT_EQ(C().Checked(KDlgLineGroup::kIdSet1 + 1), 1);
  EXPECT_EQ(C().Find(KDlgLineGroup::kIdFrame)->caption,
            "Define a set of lines which will constitute a group:");
}

struct DefaultsCase {
  const char* name;
  const char* text;
  std::vector<int> kinds;
};
void PrintTo(const DefaultsCase& c, std::ostream* os) { *os << c.name; }

class SavedDefaults : public LineGroupDialog, public ::testing::WithParamInterface<DefaultsCase> {};

TEST_P(SavedDefaults, ReadTheKindCodes) {
  dlg.defaultsText = GetParam().text;
  dlg.OnInitDialog();
  for (size_t i = 0; i < GetParam().kinds.size(); ++i)
    EXPECT_EQ(dlg.types[i], GetParam().kinds[i]) << "row " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SavedDefaults,
    ::testing::Values(
        DefaultsCase{"bass tab rhythm chord text", "0,0,700,3,0,,4,0,,5,0,,6,0,,", {15, 3, 4, 5}},
        DefaultsCase{"two digit kinds stop at percussion", "1,1,700,9,0,,19,0,,13,0,,", {9, 16, 13}},
        DefaultsCase{"a kind past the last is percussion", "1,1,700,18,0,,", {16}}),
    [](const ::testing::TestParamInfo<DefaultsCase>& info) { return viewtest::CaseName(info.param.name); });

struct BraceCase {
  const char* name;
  std::vector<int> kinds;
  std::vector<int> marks;
  std::vector<int> braces;
};
void PrintTo(const BraceCase& c, std::ostream* os) { *os << c.name; }

class BraceMarks : public LineGroupDialog, public ::testing::WithParamInterface<BraceCase> {};

TEST_P(BraceMarks, BecomeOffsetsBetweenThePairedRows) {
  Gathered(GetParam().kinds, {}, GetParam().marks);
  EXPECT_EQ(Braces(static_cast<int>(GetParam().kinds.size())), GetParam().braces);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, BraceMarks,
    ::testing::Values(
        BraceCase{"a keyboard pair", {kTreble, kBass}, {1000, 2000}, {1, -1}},
        BraceCase{"a pair around a text row", {kTreble, kText, kBass}, {1000, 0, 2000}, {2, 0, -2}},
        BraceCase{"two pairs", {kTreble, kBass, kTreble, kBass}, {1000, 2000, 1000, 2000}, {1, -1, 1, -1}},
        BraceCase{"an upper row without its lower row clears all",
                  {kTreble, kBass, kTreble},
                  {1000, 2000, 1000},
                  {0, 0, 0}}),
    [](const ::testing::TestParamInfo<BraceCase>& info) { return viewtest::CaseName(info.param.name); });

struct StripCase {
  const char* name;
  std::vector<int> kinds;
  std::vector<int> marks;
  // Per row: its place in the brace drawn beside the rows and the rows the
  // brace covers, -1 and 0 for a row without one.
  std::vector<std::pair<int, int>> cells;
};
void PrintTo(const StripCase& c, std::ostream* os) { *os << c.name; }

class BraceStrip : public LineGroupDialog, public ::testing::WithParamInterface<StripCase> {};

TEST_P(BraceStrip, RunsFromTheUpperRowToItsPartner) {
  Gathered(GetParam().kinds, {}, GetParam().marks);
  for (size_t row = 0; row < GetParam().cells.size(); ++row)
    EXPECT_EQ(dlg.BraceCell(static_cast<int>(row)), GetParam().cells[row]) << "row " << row;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BraceStrip,
    ::testing::Values(StripCase{"a keyboard pair", {kTreble, kBass}, {1000, 2000}, {{0, 2}, {1, 2}, {-1, 0}}},
                      StripCase{"a pair under a tab row with a text row between",
                                {kTab, kTreble, kText, kBass, kRhythm},
                                {0, 1000, 0, 2000, 0},
                                {{-1, 0}, {0, 3}, {1, 3}, {2, 3}, {-1, 0}}},
                      StripCase{"two pairs",
                                {kTreble, kBass, kTreble, kBass},
                                {1000, 2000, 1000, 2000},
                                {{0, 2}, {1, 2}, {0, 2}, {1, 2}}},
                      StripCase{"no brace", {kTreble, kTab}, {}, {{-1, 0}, {-1, 0}}}),
    [](const ::testing::TestParamInfo<StripCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(LineGroupDialog, TheBraceBoxPairsWithTheNextStaffBringingRowsBetweenIntoTheGroup) {
  Gathered({kTreble, KDlgLineGroup::kEmptyRow, kBass});
  ASSERT_TRUE(C().IsEnabled(KDlgLineGroup::kIdBrace + 0));
  C().SetChecked(KDlgLineGroup::kIdBrace + 0, 1);
  EXPECT_EQ(Braces(3), (std::vector<int>{2, 0, -2}));
  EXPECT_EQ(dlg.types[1], kText) << "the row between comes in as a text row";
  EXPECT_FALSE(C().IsEnabled(KDlgLineGroup::kIdBrace + 2)) << "the lower row's box is off";
  C().SetChecked(KDlgLineGroup::kIdBrace + 0, 0);
  EXPECT_EQ(Braces(3), (std::vector<int>{0, 0, 0}));
}

struct EnableCase {
  const char* name;
  std::vector<int> kinds;
  bool enabled;
};
void PrintTo(const EnableCase& c, std::ostream* os) { *os << c.name; }

class BraceBoxOfFirstRow : public LineGroupDialog, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(BraceBoxOfFirstRow, IsOfferedOnlyAboveAFreeStaff) {
  Gathered(GetParam().kinds);
  EXPECT_EQ(C().IsEnabled(KDlgLineGroup::kIdBrace + 0), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BraceBoxOfFirstRow,
    ::testing::Values(EnableCase{"treble over bass", {kTreble, kBass}, true},
                      EnableCase{"treble over text over bass", {kTreble, kText, kBass}, true},
                      EnableCase{"treble over tab over bass", {kTreble, kTab, kBass}, false},
                      EnableCase{"tab over bass", {kTab, kBass}, false},
                      EnableCase{"treble alone", {kTreble, kRhythm}, false}),
    [](const ::testing::TestParamInfo<EnableCase>& info) { return viewtest::CaseName(info.param.name); });

struct SetClickCase {
  const char* name;
  int kind;
  int startSet;
  int clicked;
  int wanted;
  bool refused;
};
void PrintTo(const SetClickCase& c, std::ostream* os) { *os << c.name; }

class SetBox : public LineGroupDialog, public ::testing::WithParamInterface<SetClickCase> {};

TEST_P(SetBox, GivesMovesOrTakesTheRowsSet) {
  Gathered({GetParam().kind, kTab}, {GetParam().startSet, 0});
  C().SetChecked(KDlgLineGroup::kIdSet1 + static_cast<UINT>(10 * (GetParam().clicked - 1)),
                 GetParam().startSet == GetParam().clicked ? 0 : 1);
  EXPECT_EQ(dlg.sets[0], GetParam().wanted);
  EXPECT_EQ(ui.CountOf(0), GetParam().refused ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, SetBox,
    ::testing::Values(SetClickCase{"a free staff takes the set", kTreble, 0, 2, 2, false},
                      SetClickCase{"set one moves to set three", kTreble, 1, 3, 3, false},
                      SetClickCase{"its own set is taken away", kTreble, 2, 2, 0, false},
                      SetClickCase{"a text row is refused", kText, 0, 1, 0, true}),
    [](const ::testing::TestParamInfo<SetClickCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(LineGroupDialog, OnThePageOfLaterRowsASetMovesToo) {
  std::vector<int> kinds(12, kTab);
  std::vector<int> sets(12, 0);
  sets[11] = 1;
  Gathered(kinds, sets);
  dlg.ShowPage(1);
  EXPECT_EQ(C().Find(KDlgLineGroup::kIdRowNumber + 1)->caption, "12");
  C().SetChecked(KDlgLineGroup::kIdSet1 + 20 + 1, 1);
  EXPECT_EQ(dlg.sets[11], 3);
}

TEST_F(LineGroupDialog, ChangingARowsKindTakesItsSetFromEveryRow) {
  Gathered({kTreble, kTab, kRhythm}, {1, 1, 0});
  C().Step(KDlgLineGroup::kIdTypeSpin + 0, 1);
  EXPECT_EQ(dlg.types[0], kBass);
  EXPECT_EQ(Sets(3), (std::vector<int>{0, 0, 0}));
  C().Step(KDlgLineGroup::kIdTypeSpin + 2, -1);
  EXPECT_EQ(dlg.types[2], 4) << "down steps to the place before";
}

TEST_F(LineGroupDialog, ABassTabRowStandsAtItsPlaceInEitherList) {
  Gathered({kBassTab});
  EXPECT_EQ(C().Find(KDlgLineGroup::kIdTypeSpin)->value, 4);
  C().SetChecked(KDlgLineGroup::kIdIncludeAll, 1);
  EXPECT_EQ(C().Find(KDlgLineGroup::kIdTypeSpin)->value, 11);
  EXPECT_EQ(dlg.TypeList().size(), 14u);
}

struct CompactCase {
  const char* name;
  std::vector<int> sets;
  std::vector<int> wanted;
};
void PrintTo(const CompactCase& c, std::ostream* os) { *os << c.name; }

class SetCompaction : public LineGroupDialog, public ::testing::WithParamInterface<CompactCase> {};

TEST_P(SetCompaction, OkNumbersTheSetsInUseFromOne) {
  std::vector<int> kinds(GetParam().sets.size(), kTab);
  Gathered(kinds, GetParam().sets);
  ASSERT_TRUE(dlg.OnOK());
  EXPECT_EQ(Sets(static_cast<int>(GetParam().sets.size())), GetParam().wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, SetCompaction,
    ::testing::Values(CompactCase{"two and four become two and one", {2, 2, 4, 4}, {2, 2, 1, 1}},
                      CompactCase{"three alone becomes one", {3, 3, 0}, {1, 1, 0}},
                      CompactCase{"one two three stay", {1, 2, 3}, {1, 2, 3}},
                      CompactCase{"four and one become two and one", {4, 1}, {2, 1}}),
    [](const ::testing::TestParamInfo<CompactCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(LineGroupDialog, ABracedTrebleAndBassPairJoinsItsBarsUnlessItsSetHasLongBars) {
  Gathered({kTreble, kBass, kTreble, kBass}, {0, 0, 1, 1}, {1000, 2000, 1000, 2000});
  C().SetChecked(KDlgLineGroup::kIdLongBars + 0, 1);
  ASSERT_TRUE(dlg.OnOK());
  EXPECT_EQ(Braces(4), (std::vector<int>{101, -1, 1, -1}));
  EXPECT_EQ(dlg.longBars[0], 1);
}

TEST_F(LineGroupDialog, TheDefaultsTextDescribesTheRowsInTheGroup) {
  dlg.includeAll = 1;
  Gathered({kTreble, kBassTab, kRhythm, 10}, {1, 1, 0, 0});
  C().SetText(KDlgLineGroup::kIdLabel + 0, "Vox, lead");
  C().SetChecked(KDlgLineGroup::kIdInGroup + 2, 0);
  C().SetChecked(KDlgLineGroup::kIdDefaults, 1);
  C().SetChecked(KDlgLineGroup::kIdSpaceBelow, 0);
  ASSERT_TRUE(dlg.OnOK());
  EXPECT_EQ(std::string(dlg.newDefaultsText.View()), "0,1,700,0,1,Vox lead,3,1,,10,0,,");
  EXPECT_EQ(std::string(dlg.labels[0].View()), "Vox, lead");
}

}  // namespace
