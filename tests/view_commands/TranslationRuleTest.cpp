// The translation commands 41220..41230 without a selection: the current
// line's family decides which targets are offered. Each row lists the items
// in menu order (To Text, Treble, Bass, Alto, Tenor, 8va, 8vb, No Clef, TAB,
// Rhythm, Chord), '1' enabled.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewStateFixture.h"
#include "view/commands/CommandTable.h"

namespace {

struct FamilyRow {
  const char* name;
  std::vector<int> lines;  // display line types; the caret on the first
  const char* enabled;     // 11 flags
};

void PrintTo(const FamilyRow& row, std::ostream* os) { *os << row.name; }

std::string EnabledTargets(ViewStateFixture& f) {
  std::string flags;
  for (UINT id = 41220; id <= 41230; ++id)
    flags += QueryCommand(id, &f.view, KAppCommandState()).enabled ? '1' : '0';
  return flags;
}

void SetLines(ViewStateFixture& f, const std::vector<int>& types) {
  // SetLines takes an initializer list; build the lines one by one here.
  int index = 0;
  for (int type : types) {
    DisplayLine& entry = f.view.m_display[static_cast<size_t>(index++)];
    entry.line = f.doc.AddTailLine(new KLineObj(type, 0, KLineObj::kNoGroup, 0, 0));
    entry.type = type;
  }
  f.view.m_lineCount = index;
  f.SetCaretLine(0);
}

class TranslationRule : public ::testing::TestWithParam<FamilyRow> {};

TEST_P(TranslationRule, CurrentFamilyChoosesTheTargets) {
  ViewStateFixture f;
  SetLines(f, GetParam().lines);
  EXPECT_EQ(EnabledTargets(f), GetParam().enabled);
}

TEST_P(TranslationRule, SelectionEnablesEveryTargetAndSettingsAlwaysShow) {
  ViewStateFixture f;
  SetLines(f, GetParam().lines);
  EXPECT_TRUE(QueryCommand(41231, &f.view, KAppCommandState()).enabled);
  f.Select();
  EXPECT_EQ(EnabledTargets(f), "11111111111");
}

const FamilyRow kRows[] = {
    {"StaffLine", {0}, "01111111110"},
    {"AltoStaffCountsAsStaff", {9}, "01111111110"},
    {"TablatureLine", {2}, "11100000010"},
    {"BassTablatureLine", {15}, "11100000010"},
    {"RhythmLine", {3}, "11111111100"},
    {"ChordLine", {4}, "11000000100"},
    {"TextLineWithFourTextLines", {5, 5, 5, 5}, "01000000111"},
    {"TextLineWithOnlyThreeTextLines", {5, 5, 5}, "01000000011"},
    {"TextLineWithAStaffAmongTheFour", {5, 5, 0, 5}, "01000000011"},
    {"UnknownLineType", {99}, "00000000000"},
};

INSTANTIATE_TEST_SUITE_P(Families, TranslationRule, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FamilyRow>& info) {
                           return std::string(info.param.name);
                         });

TEST(TranslationRuleFromLowerLine, TextTablatureCountsFromTheCaretLine) {
  ViewStateFixture f;
  SetLines(f, {0, 5, 5, 5, 5});
  f.SetCaretLine(1);
  EXPECT_TRUE(QueryCommand(41228, &f.view, KAppCommandState()).enabled);
  f.SetCaretLine(2);
  EXPECT_FALSE(QueryCommand(41228, &f.view, KAppCommandState()).enabled);
}

}  // namespace
