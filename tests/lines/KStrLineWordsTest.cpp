// Words of a text line: word steps, word ranges, moving a word by a column,
// and splitting the line at a column.

#include <string>

#include "StrLineTestSupport.h"

namespace {

using namespace strline;

class KStrLineWords : public StrLineTest {};

TEST_F(KStrLineWords, WordStepReachesTheNextOrPreviousWordStart) {
  struct Case {
    const char* text;
    int column, direction, step;
  };
  const Case cases[] = {
      {"abc def", 0, 1, 4},   {"abc def", 7, 0, -3},   {"abc def", 7, 1, 0},  {"abc def", 0, 0, 0},
      {"abc   def", 1, 1, 5}, {"abc   def", 6, 0, -6}, {"abc def", 5, 0, -1}, {"abc def", 4, 0, -4},
      {"ab  ", 1, 1, 3},      {"abc def", 20, 0, -16}, {"", 0, 1, 0},         {"abc", -3, 1, 0},
  };
  for (const Case& c : cases) {
    KStrLine line(c.text, 1);
    EXPECT_EQ(line.GetWordStep(0, 0, c.column, c.direction), c.step)
        << '"' << c.text << "\" @" << c.column << " dir " << c.direction;
  }
}

TEST_F(KStrLineWords, WordRangeGivesTheWordsColumns) {
  struct Case {
    const char* text;
    int column;
    KLinePair range;
  };
  const Case cases[] = {
      {"abc def ghijk", 5, {4, 6}},
      {"abc def ghijk", 0, {0, 2}},
      {"abc def ghijk", 10, {8, 12}},
      {"abc def ghijk", 13, {13, 13}},
      {"abc def ghijk", 40, {13, 13}},
      {"ab  cd", 3, {3, 3}},  // the second of two blanks
      {"ab  cd", 2, {0, 1}},  // a blank right after a word belongs to it
      {" abc", 2, {1, 3}},    // a word after a blank in column 0 starts after it
      {"  ", 0, {0, 0}},
      {"abc", -2, {0, 2}},
  };
  for (const Case& c : cases) {
    KStrLine line(c.text, 1);
    EXPECT_EQ(line.GetWordRange(c.column), c.range) << '"' << c.text << "\" @" << c.column;
  }
}

TEST_F(KStrLineWords, ShiftMovesAWordByOneColumn) {
  struct Case {
    const char* name;
    const char* text;
    int column, direction, count;
    const char* after;
    int result;
  };
  const Case cases[] = {
      {"right grows the span to the word end", "ab cd ef", 3, 1, 1, "ab  cdef", 2},
      {"left moves the span up to column + count", "ab cd ef", 3, -1, 2, "abcd  ef", 2},
      {"left does not grow the span", "ab cd ef", 3, -1, 1, "abc d ef", 2},
      {"right at the last word lengthens the line", "ab cd", 3, 1, 1, "ab  cd", 2},
      {"right from column 0", "ab cd", 0, 1, 1, " abcd", 0},
      {"left from inside a word", "ab cdef", 5, -1, 1, "abcde f", 2},
      {"at the end", "ab cd", 5, 1, 1, "ab cd", 0},
      {"left without a blank before the word", "abcd ef", 2, -1, 1, "abcd ef", 0},
      {"left from column 0", "ab cd", 0, -1, 1, "ab cd", 0},
      {"negative column", "ab cd", -1, 1, 1, "ab cd", 0},
  };
  for (const Case& c : cases) {
    KStrLine line(c.text, 1);
    line.SetColumnXCount(3);
    EXPECT_EQ(line.ShiftColumns(c.column, c.direction, c.count), c.result) << c.name;
    EXPECT_EQ(line.GetText(), c.after) << c.name;
    EXPECT_EQ(line.GetColumnXCount(), std::string(c.after) == c.text ? 3 : -1) << c.name;
  }
}

TEST_F(KStrLineWords, SplitGivesTheRestToANewLine) {
  g_defaultIndent = 4;
  const std::tuple<int, const char*, const char*> cases[] = {
      {6, "hello ", "world"}, {0, "", "hello world"}, {11, "hello world", ""}, {-1, "hello world", ""}};
  for (const auto& [column, kept, moved] : cases) {
    KStrLine line("hello world", 9);
    line.SetLabel("Verse!@!data");
    line.SetFlagWord(KStrLine::kFlagTitle);
    line.SetStaffLength(77);
    line.SetIndent(30);
    line.SetColumnXCount(5);
    line.AppendAttachment(new KExtendedObj(10005, 0, "Hi", "13,0,0,0,400,0,0,0,0,3,2,1,18,Arial"));

    std::unique_ptr<KLineObj> split = line.SplitAt(column, 0, 0);
    ASSERT_NE(split, nullptr);
    auto* rest = dynamic_cast<KStrLine*>(split.get());
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(line.GetText(), kept) << column;
    EXPECT_EQ(rest->GetText(), moved) << column;
    EXPECT_EQ(line.GetColumnXCount(), 5) << "the cut leaves the columns in place";
    EXPECT_EQ(rest->GetFontIndex(), 9);
    EXPECT_EQ(rest->GetLabel(), "Verse!@!data");
    EXPECT_EQ(rest->GetFlagWord(), KStrLine::kFlagTitle);
    EXPECT_EQ(rest->GetStaffLength(), 77);
    EXPECT_EQ(rest->GetIndent(), 4);
    EXPECT_EQ(rest->GetAttachmentCount(), 0);
    EXPECT_EQ(line.GetAttachmentCount(), 1);
  }
}

}  // namespace
