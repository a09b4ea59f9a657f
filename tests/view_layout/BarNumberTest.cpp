// First bar numbers of the display lines: a line group shares one number,
// the next group continues after the bars of the first line of the group
// before, a title restarts the count (when the preference asks), and a line
// with its own first bar number sets it.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "doc/pref_values/Preferences.h"
#include "model/KListLine.h"

namespace {

// One line of a case: a staff ("S"), tab ("T") or title ("title") with its
// bars, group (-1 none) and own first bar number (0 none).
struct LineSpec {
  const char* kind;
  int bars = 1;
  int group = -1;
  int own = 0;
};

struct BarCase {
  const char* name;
  std::vector<LineSpec> lines;
  int restartAtTitles;
  std::vector<int> firstBars;
};

void PrintTo(const BarCase& c, std::ostream* os) { *os << c.name; }

class BarNumbers : public LayoutFixture, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarNumbers, FirstBarOfEachLine) {
  const BarCase& c = GetParam();
  g_prefStaffLines3.resetBarCount = c.restartAtTitles;
  view_->m_barNumbersShown = 1;
  std::vector<std::pair<int, POSITION>> grouped;
  for (const LineSpec& wanted : c.lines) {
    const std::string kind = wanted.kind;
    POSITION pos = nullptr;
    if (kind == "title") {
      pos = AddText("Part two", 2);
    } else {
      pos = kind == "S" ? AddStaff(wanted.bars) : AddTab(wanted.bars);
      if (wanted.own != 0) ListLineAt(pos)->SetLayoutRow(wanted.own);
    }
    if (wanted.group >= 0) grouped.emplace_back(wanted.group, pos);
  }
  for (size_t i = 0; i < grouped.size();) {
    std::vector<POSITION> members;
    const int id = grouped[i].first;
    for (; i < grouped.size() && grouped[i].first == id; ++i) members.push_back(grouped[i].second);
    Group(id, members);
  }
  Layout();
  EXPECT_EQ(FirstBars(), c.firstBars);
}

const BarCase kBarCases[] = {
    {"first group starts at one and the next continues after its first line",
     {{"S", 2, 1}, {"T", 5, 1}, {"S", 3, 2}, {"T", 3, 2}},
     1,
     {1, 1, 3, 3}},
    {"title between groups starts again at one",
     {{"S", 2, 1}, {"T", 2, 1}, {"title"}, {"S", 3, 2}},
     1,
     {1, 1, 0, 1}},
    {"title does not restart without the preference",
     {{"S", 2, 1}, {"T", 2, 1}, {"title"}, {"S", 3, 2}},
     0,
     {1, 1, 0, 3}},
    {"own first bar number is shown and followed",
     {{"S", 2, 1, 10}, {"T", 2, 1}, {"S", 3, 2}},
     1,
     {10, 10, 12}},
    {"own number minus one shows bar zero", {{"S", 2, 1, -1}, {"S", 1, 2}}, 1, {0, 2}},
    {"ungrouped lines each continue the count", {{"S", 2}, {"S", 3}, {"T", 1}}, 1, {1, 3, 6}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BarNumbers, ::testing::ValuesIn(kBarCases),
                         [](const auto& info) { return CaseName(info.param.name); });

using BarNumbering = LayoutFixture;

TEST_F(BarNumbering, AreZeroWhenNotShown) {
  AddStaff(2);
  AddStaff(2);
  Layout();
  EXPECT_EQ(FirstBars(), (std::vector<int>{0, 0}));
}

}  // namespace
