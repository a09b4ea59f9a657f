// The reader of one text-tab block: characters, frets, techniques, bars,
// string rows and tunings.

#include <gtest/gtest.h>

#include <random>

#include "TextTabTestSupport.h"
#include "translate/ParseTextTabBlock.h"

namespace {

// Four rows: the first row is string row 3. Rows not given are "-" runs.
std::vector<std::string> FourRows(const std::string& top, const std::string& second = "") {
  const std::string dashes(top.size(), '-');
  return {top, second.empty() ? dashes : second, dashes, dashes};
}

struct BlockCase {
  const char* name;
  std::vector<std::string> rows;
  std::string expected;
  std::vector<int> columnOf = {};
};

class TextTabBlockTest : public TextTabTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(TextTabBlockTest, ReadsColumns) {
  const BlockCase& c = GetParam();
  auto line = ReadTextTabBlock(c.rows, c.columnOf, 0, 1);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(DumpTabLine(*line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, TextTabBlockTest,
    ::testing::Values(
        BlockCase{"SingleDigitFrets", FourRows("-0-3-9-", "---5---"), "1:3/226 3:3/229,4/231 5:3/235"},
        BlockCase{"TwoDigitFretIsOneColumn", FourRows("--12--"), "2:3/238"},
        BlockCase{"TwoDigitsPastTwentyFourAreTwoFrets", FourRows("-24-25-29-"),
                  "1:3/250 4:3/228 5:3/231 7:3/228 8:3/235"},
        BlockCase{"HammerOnAfterFretGivesArc", FourRows("-5h7-"), "1:3/231 3:3/233 ^1/3"},
        BlockCase{"PullOffAndCaretGiveArcs", FourRows("-3p2-3^5-"),
                  "1:3/229 3:3/228 5:3/229 7:3/231 ^1/3 ^5/3"},
        BlockCase{"TechniqueAfterSingleOneOrTwo", FourRows("-1h3-2b-"), "1:3/227 3:3/229 5:3/228,3/78 ^1/3"},
        BlockCase{"TechniqueAfterTwoDigitFret", FourRows("-12h14-"), "1:3/238 4:3/240 ^1/3"},
        BlockCase{"BendReleaseSlidesAndClose", FourRows("-5b-5r-5/-5\\-5)-"),
                  "1:3/231,3/78 4:3/231,3/79 7:3/231,3/48 10:3/231,3/50 13:3/231,3/81"},
        BlockCase{"OpenParenAndVibrato", FourRows("-(5~-"), "1:3/80 2:3/231 3:3/38"},
        BlockCase{"CaretAloneMakesArcOnly", FourRows("-^-"), " ^1/3"},
        BlockCase{"MutedBetweenHyphens", FourRows("--x--", "--3--"), "2:3/226,4/229x"},
        BlockCase{"XNextToLetterOrFirstIsIgnored", FourRows("x-ax-xa-3"), "8:3/229"},
        BlockCase{"PercentEndsColumn", FourRows("-%-", "-3-"), "1:1/26"},
        BlockCase{"RepeatStartAtStart", FourRows("|*-3-", "|----"), "0:|24 3:3/229"},
        BlockCase{"RepeatStartSeenOnLowerRow", {"|--3-", "|----", "|*---", "|*---"}, "0:|24 3:3/229"},
        BlockCase{"RepeatEndAtEnd", FourRows("-3-*|", "----|"), "1:3/229 3:|25"},
        BlockCase{
            "ColonRepeatStartAsTabsOnTheWebWriteIt", {"|--3-", "|----", "|:---", "|:---"}, "0:|24 3:3/229"},
        BlockCase{
            "ColonRepeatEndAsTabsOnTheWebWriteIt", {"-3--|", "----|", "---:|", "---:|"}, "1:3/229 3:|25"},
        BlockCase{"ColonsOnEveryRowMakeOneRepeatEachWay", FourRows("|:-3-:|-5", "|:---:|--"),
                  "0:|24 3:3/229 5:|25 8:3/231"},
        BlockCase{
            "DoubleBarWithColonIsOneRepeatStart", {"||--3-", "||----", "||:---", "||:---"}, "0:|24 4:3/229"},
        BlockCase{"ColonBeforeDoubleBarIsOneRepeatEnd",
                  {"-3--||-5", "----||--", "---:||--", "---:||--"},
                  "1:3/229 3:|25 7:3/231"},
        BlockCase{"DoubleBar", FourRows("-3-||-5", "---||--"), "1:3/229 3:|22 6:3/231"},
        BlockCase{"OuterPlainBarsDropped", FourRows("|-3-|-5-|", "|---|---|"), "2:3/229 4:|21 6:3/231"},
        BlockCase{"LetterIIsABar", FourRows("-3-I-5-", "---I---"), "1:3/229 3:|21 5:3/231"},
        BlockCase{"ShortestRowLimitsAll", {"-3-5-7", "--", "------", "------"}, "1:3/229"},
        BlockCase{"CollidingColumnsAreRaised", FourRows("333-"), "0:3/229 1:3/229 2:3/229", {0, 0, 0, 0}},
        BlockCase{"ColumnsFollowTheMeasuredTextLine",
                  FourRows("3-3-3-"),
                  "0:3/229 1:3/229 4:3/229",
                  {0, 0, 3, 3, 5, 5}},
        BlockCase{"GarbageBytesAreSkipped",
                  FourRows("\x01\xff-\x80"
                           "3\x7f"),
                  "4:3/229"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TuningCase {
  int rows;
  int bassKinds;
  int banjo;
  const char* tuning;
  int kind;
  int lastStringRow;
};

class TextTabTuningTest : public TextTabTest, public ::testing::WithParamInterface<TuningCase> {};

TEST_P(TextTabTuningTest, ChoosesTuningAndStringRows) {
  const TuningCase& c = GetParam();
  std::vector<std::string> rows(c.rows, "-----");
  rows.back() = "-0---";
  auto line = ReadTextTabBlock(rows, {}, c.bassKinds, c.banjo);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetTuning(), CString(c.tuning));
  EXPECT_EQ(line->GetType(), c.kind);
  EXPECT_EQ(DumpTabLine(*line), "1:" + std::to_string(c.lastStringRow) + "/226");
}

INSTANTIATE_TEST_SUITE_P(
    Tunings, TextTabTuningTest,
    ::testing::Values(TuningCase{6, 0, 1, "E A D G B E  323742475156", KTabLine::kKindTab, 7},
                      TuningCase{6, 1, 1, "B E A D G C *152025303540", KTabLine::kKindBassTab, 7},
                      TuningCase{5, 1, 0, "G D G B D    594247515400", KTabLine::kKindTab, 7},
                      TuningCase{5, 0, 1, "D D G B D   5594247515400", KTabLine::kKindTab, 7},
                      TuningCase{5, 2, 1, "B E A D G   *152025303500", KTabLine::kKindBassTab, 7},
                      TuningCase{4, 3, 1, "  G D A E    003542495600", KTabLine::kKindTab, 6},
                      TuningCase{4, 4, 1, "  E A D G   *002025303500", KTabLine::kKindBassTab, 6}));

TEST_F(TextTabTest, BlockOfThreeOrSevenRowsIsRefused) {
  EXPECT_EQ(ReadTextTabBlock(std::vector<std::string>(3, "---"), {}, 0, 1), nullptr);
  EXPECT_EQ(ReadTextTabBlock(std::vector<std::string>(7, "---"), {}, 0, 1), nullptr);
}

// Random bytes from the characters that mean something and a few that do
// not: whatever the text, columns rise strictly, frets stay on the fret range
// and every arc lies on a string row.
TEST_F(TextTabTest, RandomTextKeepsLineConsistent) {
  const std::string alphabet = "-0123456789xX|I*.%^~()hpbr/\\a \xff";
  std::mt19937 random(7);
  for (int trial = 0; trial < 400; ++trial) {
    const int rowCount = 4 + static_cast<int>(random() % 3);
    std::vector<std::string> rows(rowCount);
    for (std::string& row : rows) {
      row.resize(random() % 24);
      for (char& ch : row) ch = alphabet[random() % alphabet.size()];
    }
    auto line = ReadTextTabBlock(rows, {}, static_cast<int>(random() % 8), 1);
    ASSERT_NE(line, nullptr);
    int previous = -1;
    for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(line->GetObjList()->GetNext(node));
      ASSERT_NE(column, nullptr);
      EXPECT_GT(column->GetPos(), previous);
      previous = column->GetPos();
      for (const RowFret& f : FretsOf(*column)) {
        EXPECT_GE(f.row, rowCount == 6 ? 2 : 3);
        EXPECT_LE(f.row, 7);
        EXPECT_LE(f.fret, 24);
      }
    }
    CObList* arcs = line->GetAttachments();
    for (POSITION node = arcs->GetHeadPosition(); node != nullptr;) {
      const auto* arc = static_cast<const KExtendedObj*>(arcs->GetNext(node));
      EXPECT_GE(arc->GetRow(), 2);
      EXPECT_LE(arc->GetRow(), 7);
    }
  }
}

}  // namespace

namespace {

struct RowCase {
  const char* text;
  bool row;
};

class TextTabRowTest : public ::testing::TestWithParam<RowCase> {};

// Rows as people paste them, dense ones without "---" too; lyrics and chord
// lines are not rows.
TEST_P(TextTabRowTest, TellsRowsFromOtherText) {
  EXPECT_EQ(IsTextTabRow(GetParam().text), GetParam().row) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Rows, TextTabRowTest,
                         ::testing::Values(RowCase{"e|--0--3--|", true}, RowCase{"B|--1-----|", true},
                                           RowCase{"G#|--2--|", true}, RowCase{"Eb|--12h14--15p12--|", true},
                                           RowCase{"  |--5/7--7b--|", true}, RowCase{"xyz --- text", true},
                                           RowCase{"A walk in the park -- today", false},
                                           RowCase{"Am  G  C", false}, RowCase{"e|-0-3-|", false},
                                           RowCase{"", false}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
