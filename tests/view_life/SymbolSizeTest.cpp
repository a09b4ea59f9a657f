// Small and large symbols: the text fonts scale with the symbols and come
// back to their sizes, the per-type metrics follow, and the score keeps the
// choice.

#include <string>

#include "ViewLifeTestSupport.h"
#include "common/SymbolCache.h"

namespace {

struct HeightCase {
  const char* name;
  LONG small;
  LONG large;
};

void PrintTo(const HeightCase& c, std::ostream* os) { *os << c.name; }

const HeightCase kHeights[] = {
    {"Height16BecomesTwenty", 16, 20},
    {"Height22BecomesTwentySeven", 22, 27},
    {"CharacterHeightMinus15BecomesMinusNineteen", -15, -19},
    {"DefaultHeightZeroStaysZero", 0, 0},
};

class SymbolSizeFontTest : public ViewLifeTest, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(SymbolSizeFontTest, LargeSymbolsScaleTextAndSmallOnesGiveItBack) {
  CStavlinView& view = UpdatedView();
  view.m_textFonts[3].lfHeight = GetParam().small;
  view.m_textFonts[3].lfWidth = 7;

  view.SetSymbolSize(1, 1);
  EXPECT_EQ(view.m_textFonts[3].lfHeight, GetParam().large);
  EXPECT_EQ(view.m_textFonts[3].lfWidth, 0);

  view.SetSymbolSize(0, 1);
  EXPECT_EQ(view.m_textFonts[3].lfHeight, GetParam().small);
}

INSTANTIATE_TEST_SUITE_P(Heights, SymbolSizeFontTest, ::testing::ValuesIn(kHeights),
                         [](const ::testing::TestParamInfo<HeightCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ViewLifeTest, SymbolSizeWithoutRescaleLeavesTheFonts) {
  CStavlinView& view = UpdatedView();
  view.m_textFonts[0].lfHeight = 16;
  view.SetSymbolSize(1, 0);
  EXPECT_EQ(view.m_textFonts[0].lfHeight, 16);
}

TEST_F(ViewLifeTest, SymbolSizeFillsThePerTypeMetrics) {
  CStavlinView& view = UpdatedView();
  view.SetSymbolSize(1, 0);
  EXPECT_EQ(view.m_typeHeight[0], 91);
  EXPECT_EQ(view.m_typeHeight[2], 102);
  EXPECT_EQ(view.m_typeColumnWidth[0], 22);
  EXPECT_EQ(view.m_typeHeight[5], 17);
  view.SetSymbolSize(0, 0);
  EXPECT_EQ(view.m_typeHeight[0], 73);
  EXPECT_EQ(view.m_typeHeight[15], 77);
  EXPECT_EQ(view.m_typeColumnWidth[4], 8);
  EXPECT_EQ(view.m_typeHeight[16], 29);
}

TEST_F(ViewLifeTest, SymbolSizeSwitchMovesTheViewToTheOtherSet) {
  const int smallBefore = g_symbolSetUsers[0];
  const int largeBefore = g_symbolSetUsers[1];
  CStavlinView& view = UpdatedView();
  ASSERT_EQ(g_symbolSetUsers[0], smallBefore + 1);

  view.SetSymbolSize(1, 0);

  EXPECT_EQ(g_symbolSetUsers[0], smallBefore);
  EXPECT_EQ(g_symbolSetUsers[1], largeBefore + 1);
  EXPECT_EQ(doc_->settings.largeSymbols, 1);
  EXPECT_TRUE(doc_->IsModified());
}

TEST_F(ViewLifeTest, ToggleSymbolSizeOfAReadOnlyScoreAsksFirst) {
  Settings().readOnly = 1;
  CStavlinView& view = UpdatedView();
  ui_.Answer(7094, IDNO);
  view.OnViewToggleSymbolSize();
  EXPECT_EQ(view.GetSizeIndex(), 0);
  ui_.Answer(7094, IDYES);
  view.OnViewToggleSymbolSize();
  EXPECT_EQ(view.GetSizeIndex(), 1);
}

// ---- Text size ------------------------------------------------------------------

struct TextStepCase {
  const char* name;
  bool bigger;
  LONG before;
  LONG after;
};

void PrintTo(const TextStepCase& c, std::ostream* os) { *os << c.name; }

const TextStepCase kSteps[] = {
    {"Bigger14Gives15", true, 14, 15},
    {"Bigger15Gives17", true, 15, 17},
    {"BiggerMinus14GivesMinus15", true, -14, -15},
    {"Smaller15Gives13", false, 15, 13},
    {"Smaller2Gives1", false, 2, 1},
    {"SmallerNeverReachesTheDefaultSize", false, 1, 1},
    {"SmallerLeavesTheDefaultSize", false, 0, 0},
    {"BiggerLeavesTheDefaultSize", true, 0, 0},
};

class TextStepTest : public ViewLifeTest, public ::testing::WithParamInterface<TextStepCase> {};

TEST_P(TextStepTest, OneStepChangesTheHeight) {
  CStavlinView& view = UpdatedView();
  view.m_textFonts[2].lfHeight = GetParam().before;
  if (GetParam().bigger) {
    view.OnViewTextBigger();
  } else {
    view.OnViewTextSmaller();
  }
  EXPECT_EQ(view.m_textFonts[2].lfHeight, GetParam().after);
  EXPECT_EQ(view.m_textAtOriginalSize, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, TextStepTest, ::testing::ValuesIn(kSteps),
                         [](const ::testing::TestParamInfo<TextStepCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ViewLifeTest, RestoreOriginalGivesBackExactHeightsAndWidths) {
  CStavlinView& view = UpdatedView();
  const auto heights = view.m_baseFontHeight;
  const auto widths = view.m_baseFontWidth;
  view.OnViewTextBigger();
  view.OnViewTextBigger();
  view.OnViewTextSmaller();
  view.OnViewTextRestore();
  for (size_t i = 0; i < view.m_textFonts.size(); ++i) {
    EXPECT_EQ(view.m_textFonts[i].lfHeight, heights[i]) << "slot " << i;
    EXPECT_EQ(view.m_textFonts[i].lfWidth, widths[i]) << "slot " << i;
  }
  EXPECT_EQ(view.m_textAtOriginalSize, 1);
}

TEST_F(ViewLifeTest, StemsOnTabAreKeptWithTheAdTabMode) {
  Settings().adTabMode = 6;  // colour symbols, no stems
  CStavlinView& view = UpdatedView();
  view.OnViewShowStemsOnTab();
  EXPECT_EQ(view.m_tabStems, 1);
  EXPECT_EQ(doc_->settings.adTabMode, 7);
  view.OnViewShowStemsOnTab();
  EXPECT_EQ(doc_->settings.adTabMode, 6);
}

}  // namespace
