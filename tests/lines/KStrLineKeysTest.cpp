// Typing, deleting, Tab and pasting on a text line at a caret column.

#include <string>

#include "StrLineTestSupport.h"
#include "model/KRhythmObj.h"

namespace {

using namespace strline;

class KStrLineKeys : public StrLineTest {
 protected:
  KStrLineKeys() { g_blankRunCount = 8; }
};

constexpr int kCachedCount = 4;
const KLinePair kRefused{0, -1};

struct KeyCase {
  const char* name;
  const char* text;
  int code, column, blankCount, overwrite;
  std::string after;
  KLinePair result;
};

TEST_F(KStrLineKeys, HandleKeyEditsAtTheColumn) {
  const std::string eight(8, ' ');
  const KeyCase cases[] = {
      {"letter past the end pads", "ab", 'x', 5, 0, 0, "ab   x", {1, 5}},
      {"letter inserts", "abc", 'x', 1, 0, 0, "axbc", {1, 1}},
      {"letter overwrites", "abc", 'x', 1, 0, 1, "axc", {1, 1}},
      {"overwrite at the end appends", "abc", 'x', 3, 0, 1, "abcx", {1, 3}},
      {"blank key", "abc", KStrLine::kKeyBlank, 1, 0, 0, "a bc", {1, 1}},
      {"(c) becomes the copyright sign", "(c", ')', 2, 0, 0, "\xA9", {1, 2}},
      {"a lone ) stays", "c", ')', 1, 0, 0, "c)", {1, 1}},
      {"lead byte goes in front",
       "ab",
       0x8142,
       2,
       0,
       0,
       "ab\x81"
       "B",
       {1, 2}},
      {"backspace past the end", "ab", KStrLine::kKeyBackspace, 5, 0, 0, "ab", {-1, 4}},
      {"backspace removes at the column", "abc", KStrLine::kKeyBackspace, 1, 0, 0, "ac", {-1, 0}},
      {"delete", "abcdef", KStrLine::kKeyDelete, 2, 0, 0, "abdef", {-1, 1}},
      {"delete at column 0", "abc", KStrLine::kKeyDelete, 0, 0, 0, "bc", {-1, 0}},
      {"delete to the end", "abcdef", KStrLine::kKeyDelete, 2, 1000, 1, "ab", {-1, 1}},
      {"1000 blanks without overwrite deletes one",
       "abcdef",
       KStrLine::kKeyDelete,
       2,
       1000,
       0,
       "abdef",
       {-1, 1}},
      {"delete at the end", "abc", KStrLine::kKeyDelete, 3, 0, 0, "abc", {-1, 2}},
      {"tab inserts the tab width", "ab", KStrLine::kKeyTab, 1, 0, 0, "a" + eight + "b", {8, 1}},
      {"tab overwrites as many", "abcdefghijk", KStrLine::kKeyTab, 1, 0, 1, "a" + eight + "jk", {8, 1}},
      {"tab with a blank count", "ab", KStrLine::kKeyTab, 1, 3, 1, "a   b", {3, 1}},
      {"blank run with a count, past the end", "ab", KStrLine::kKeyBlankRun, 4, 3, 0, "ab     ", {3, 4}},
      {"a huge blank count stops at the editing limit",
       "ab",
       KStrLine::kKeyTab,
       2,
       1 << 30,
       0,
       "ab" + std::string(KStrLine::kMaxColumns - 2, ' '),
       {KStrLine::kMaxColumns - 2, 2}},
      {"negative column", "ab", 'x', -1, 0, 0, "ab", kRefused},
      {"column at the editing limit", "ab", 'x', KStrLine::kMaxColumns, 0, 0, "ab", kRefused},
      {"character 0", "ab", 0x100, 1, 0, 0, "ab", kRefused},
  };
  for (const KeyCase& c : cases) {
    KStrLine line(c.text, 1);
    line.SetColumnXCount(kCachedCount);
    EXPECT_EQ(line.HandleKey(c.code, 0, 0, c.column, c.blankCount, 0, c.overwrite, 0), c.result) << c.name;
    EXPECT_EQ(line.GetText(), c.after.c_str()) << c.name;
    EXPECT_EQ(line.GetColumnXCount(), c.after == c.text ? kCachedCount : -1) << c.name;
  }
}

TEST_F(KStrLineKeys, DeleteAtCaretIsTheDeleteKey) {
  const std::tuple<int, int, int> cases[] = {{2, 0, 0}, {2, 1000, 1}, {9, 0, 0}};
  for (const auto& [column, blankCount, overwrite] : cases) {
    KStrLine byKey("abcdef", 1);
    KStrLine byCaret("abcdef", 1);
    EXPECT_EQ(byCaret.DeleteAtCaret(column, blankCount, 0, overwrite),
              byKey.HandleKey(KStrLine::kKeyDelete, 0, 0, column, blankCount, 0, overwrite, 0));
    EXPECT_EQ(byCaret.GetText(), byKey.GetText());
  }
}

TEST_F(KStrLineKeys, TypingOpenParenCCloseMakesOneCharacter) {
  KStrLine line("x", 1);
  int column = 1;
  for (int code : {'(', 'c', ')'}) column += line.HandleKey(code, 0, 0, column, 0, 0, 0, 0).first;
  EXPECT_EQ(line.GetText(), "x\xA9");
}

TEST_F(KStrLineKeys, TabWithoutAWidthIsRefused) {
  g_blankRunCount = 0;
  KStrLine line("ab", 1);
  EXPECT_EQ(line.HandleKey(KStrLine::kKeyTab, 0, 0, 1, 0, 0, 0, 0), kRefused);
  EXPECT_EQ(line.GetText(), "ab");
}

TEST_F(KStrLineKeys, InsertTextPastesAtTheColumn) {
  struct Case {
    const char* text;
    int column;
    const char* pasted;
    int overwrite;
    const char* after;
    int result;
  };
  const Case cases[] = {
      {"abc", 1, "XY", 0, "aXYbc", 2},
      {"abcdef", 1, "XY", 1, "aXYdef", 2},
      {"abc", 1, "XY", 1, "aXY", 2},
      {"abc", 2, "XYZ", 1, "abXYZ", 3},
      {"abc", 3, "XY", 0, "abcXY", 2},
      {"abc", 5, "XY", 1, "abc  XY", 2},
      {"abc", 1, "", 0, "abc", 0},
      {"abc", -1, "XY", 0, "abc", 0},
      {"abc", KStrLine::kMaxColumns - 1, "XY", 0, "abc", 0},
  };
  for (const Case& c : cases) {
    KStrLine line(c.text, 1);
    line.SetColumnXCount(kCachedCount);
    EXPECT_EQ(line.InsertText(c.column, c.pasted, c.overwrite), c.result) << c.text << " @" << c.column;
    EXPECT_EQ(line.GetText(), c.after) << c.text << " @" << c.column;
    EXPECT_EQ(line.GetColumnXCount(), c.result == 0 ? kCachedCount : -1);
  }
}

TEST_F(KStrLineKeys, InsertCopyTakesTheRecordsText) {
  KStrLine line("ab", 1);
  const KInsertionRecord record("XY");
  EXPECT_EQ(line.InsertCopy(&record, 0, 4, nullptr, 0), (KLinePair{2, 4}));
  EXPECT_EQ(line.GetText(), "ab  XY");
  EXPECT_EQ(line.InsertCopy(&record, 0, 0, nullptr, 1), (KLinePair{2, 0}));
  EXPECT_EQ(line.GetText(), "XY  XY");
}

TEST_F(KStrLineKeys, RefusedInsertionsAndSymbolsChangeNothing) {
  const KInsertionRecord empty;
  const KRhythmObj notARecord(0, CString("la"));
  CRuntimeClass::Register({RUNTIME_CLASS(KStrLine)});
  KStrLine line("abc", 1);
  line.SetLabel("Words");
  line.AppendAttachment(new KExtendedObj(10005, 0, "Hi", "13,0,0,0,400,0,0,0,0,3,2,1,18,Arial"));
  line.SetColumnXCount(kCachedCount);
  const Bytes before = StoreObject(line);
  EXPECT_EQ(line.InsertCopy(&empty, 0, 1, nullptr, 0), kRefused);
  EXPECT_EQ(line.InsertCopy(&notARecord, 0, 1, nullptr, 0), kRefused);
  EXPECT_EQ(line.InsertCopy(nullptr, 0, 1, nullptr, 0), kRefused);
  EXPECT_EQ(line.EnterSymbol(nullptr, 8, 0, 0, 10, 10, 0, 0, 0), kRefused);
  EXPECT_EQ(line.HandleKey('x', 0, 0, -5, 0, 0, 0, 0), kRefused);
  EXPECT_EQ(StoreObject(line), before);
  EXPECT_EQ(line.GetColumnXCount(), kCachedCount);
  EXPECT_TRUE(m_ui.Beeps().empty());
  EXPECT_TRUE(m_ui.Messages().empty());
}

}  // namespace
