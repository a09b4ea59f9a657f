// Columns and pixels of a text line: the column under a pixel x, the x of a
// column, the columns a drag covers and the width of the text, measured in the
// line's font with a measurer whose "W" is twice as wide as other characters.

#include <climits>
#include <string>

#include "StrLineTestSupport.h"

namespace {

using namespace strline;

class KStrLineMeasure : public StrLineTest {};

TEST_F(KStrLineMeasure, ColumnAtXRoundsToTheNearerEdge) {
  // "WWWWab": column edges at 0, 12, 24, 36, 48, 54, 60; the estimate from the
  // average width lands far right of the wide letters and has to walk back.
  struct Case {
    int x;
    int pad;
    int column;
    const char* text;  // afterwards
  };
  const Case cases[] = {
      {0, 0, 0, "WWWWab"},  {-7, 1, 0, "WWWWab"},    {6, 0, 0, "WWWWab"},
      {7, 0, 1, "WWWWab"},  {30, 0, 2, "WWWWab"},  // halfway between 24 and 36: the left column
      {31, 0, 3, "WWWWab"}, {50, 0, 4, "WWWWab"},    {52, 0, 5, "WWWWab"},
      {57, 0, 6, "WWWWab"},  // within 3 pixels of the end: past it
      {68, 0, 7, "WWWWab"},  // (68 - 60 + 3) / 6 = 1 blank beyond the end
      {75, 0, 9, "WWWWab"}, {75, 1, 9, "WWWWab   "}, {57, 1, 6, "WWWWab"},
  };
  for (const Case& c : cases) {
    KStrLine line("WWWWab", 3);
    line.SetColumnXCount(4);
    EXPECT_EQ(line.GetColumnAtX(&dc, fonts, c.x, c.pad), c.column) << c.x << " pad " << c.pad;
    EXPECT_EQ(line.GetText(), c.text) << c.x << " pad " << c.pad;
    EXPECT_EQ(line.GetColumnAtX(&dc, fonts, line.GetXOfColumn(&dc, fonts, c.column), 0), c.column) << c.x;
  }
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(KStrLineMeasure, MeasuresInTheLinesFontWithoutItsColour) {
  KStrLine line("abc", 7);
  EXPECT_EQ(line.GetXOfColumn(&dc, fonts, 2), 12);
  ASSERT_FALSE(measurer.fonts.empty());
  for (const LOGFONT& font : measurer.fonts) {
    EXPECT_EQ(font.lfHeight, 17);
    EXPECT_EQ(font.lfEscapement, 0);
  }
  // The device context's font is the one it had before.
  CFont selected;
  ASSERT_TRUE(selected.CreateFont(-30, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New"));
  dc.SelectObject(&selected);
  EXPECT_EQ(line.GetWidth(&dc, fonts), 18);
  EXPECT_EQ(dc.GetCurrentFont(), &selected);
}

TEST_F(KStrLineMeasure, ExtremePixelsAndColumnsStayWithinTheEditingLimit) {
  KStrLine line("ab", 1);
  EXPECT_EQ(line.GetColumnAtX(&dc, fonts, INT_MAX, 0), KStrLine::kMaxColumns);
  EXPECT_EQ(line.GetColumnAtX(&dc, fonts, INT_MIN, 1), 0);
  EXPECT_EQ(line.GetText(), "ab");
  EXPECT_EQ(line.GetXOfColumn(&dc, fonts, INT_MAX), KStrLine::kMaxColumns * 6);
  EXPECT_EQ(line.GetColumnAtX(&dc, fonts, INT_MAX, 1), KStrLine::kMaxColumns);
  EXPECT_EQ(line.GetLength(), KStrLine::kMaxColumns);
  const KLinePair range = line.GetColumnRangeAtX(&dc, fonts, INT_MIN, INT_MAX, 0);
  EXPECT_GE(range.first, 0);
  EXPECT_LE(range.second, KStrLine::kToLineEnd + 1);
}

TEST_F(KStrLineMeasure, XOfColumnPadsPastTheEnd) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 12}, {4, 36}, {5, 42}, {8, 60}, {-3, 0}};
  KStrLine line("WaWa ", 1);
  for (const auto& [column, x] : cases) EXPECT_EQ(line.GetXOfColumn(&dc, fonts, column), x) << column;
  EXPECT_EQ(line.GetText(), "WaWa ");
}

TEST_F(KStrLineMeasure, DragSnapsToWordEdges) {
  // "one two three": columns 6 pixels wide; "two" is 4..6, "three" 8..12.
  struct Case {
    int x1, x2, mode;
    KLinePair range;
  };
  const Case cases[] = {
      {0, 0, 0, {0, 0}},       {24, 42, 0, {4, 7}},  // a word start after a blank; the blank after "two"
      {30, 36, 0, {4, 7}},      // inside "two" (nearer its start); before the blank behind it
      {36, 66, 0, {7, 13}},     // columns 6 and 11 lie nearer the ends of their words
      {36, 66, 2, {4, 8}},      // mode 2 takes the word starts
      {60, 24, 0, {8, 32000}},  // dragged leftwards: to the end of the line
      {0, 60, 0, {0, 8}},
  };
  for (const Case& c : cases) {
    KStrLine line("one two three", 2);
    EXPECT_EQ(line.GetColumnRangeAtX(&dc, fonts, c.x1, c.x2, c.mode), c.range)
        << c.x1 << ".." << c.x2 << " mode " << c.mode;
    EXPECT_EQ(line.GetText(), "one two three");
  }
}

TEST_F(KStrLineMeasure, WidthLeavesOutTrailingBlanks) {
  const std::pair<const char*, int> cases[] = {{"", 0}, {"    ", 0}, {"ab  ", 12}, {" W a ", 30}};
  for (const auto& [text, width] : cases) {
    KStrLine line(text, 1);
    EXPECT_EQ(line.GetWidth(&dc, fonts), width) << '"' << text << '"';
  }
}

TEST_F(KStrLineMeasure, AFontThatCannotBeMadeMeasuresZeroAndIsReportedOnce) {
  KStrLine line("WWWW", 1);
  FailNextGdiCreations(GdiResource::Font, 3);
  EXPECT_EQ(line.GetColumnAtX(&dc, fonts, 30, 1), 0);
  EXPECT_EQ(line.GetXOfColumn(&dc, fonts, 3), 0);
  EXPECT_EQ(line.GetWidth(&dc, fonts), 0);
  ASSERT_EQ(m_ui.MessageIds(), std::vector<UINT>{kMsgInternalProblem});
  EXPECT_NE(m_ui.Messages()[0].text.find("TCR-1"), std::string::npos);
  EXPECT_EQ(line.GetText(), "WWWW");

  // Measuring works again once fonts can be made.
  EXPECT_EQ(line.GetXOfColumn(&dc, fonts, 3), 36);
}

TEST_F(KStrLineMeasure, FontNumberOutsideTheTableIsAFailure) {
  const std::pair<int, const char*> cases[] = {{41, "TCR-3"}, {-2, "TCR-3"}};
  for (const auto& [number, code] : cases) {
    ResetCommonGlobals();
    m_ui.ClearRecords();
    KStrLine line("abc", 1);
    line.SetFontIndex(number);
    EXPECT_EQ(line.GetWidth(&dc, fonts), 0) << number;
    ASSERT_EQ(m_ui.Messages().size(), 1u) << number;
    EXPECT_NE(m_ui.Messages()[0].text.find(code), std::string::npos);
    EXPECT_EQ(line.GetWidth(&dc, fonts), 0);
    EXPECT_EQ(m_ui.Messages().size(), 1u) << "reported once per run";
  }
}

}  // namespace
