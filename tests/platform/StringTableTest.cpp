#include "platform/StringTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(StringTable, IdsAreSortedAndUniqueAcrossTheWholeTable) {
  std::set<UINT> seen;
  for (const auto part : {MessageStringEntries(), TuningStringEntries(), ToolboxStringEntries()}) {
    UINT previous = 0;
    for (const StringTableEntry& e : part) {
      EXPECT_GT(e.id, previous) << "out of order or repeated: " << e.id;
      EXPECT_TRUE(seen.insert(e.id).second) << "in both parts: " << e.id;
      ASSERT_NE(e.text, nullptr) << e.id;
      previous = e.id;
    }
  }
}

TEST(StringTable, PlaceholdersAreNumberedOnes) {
  // A % in a message is either a numbered place (%1..%9) or a plain percent
  // sign before a blank or at the end; anything else is a typing slip that
  // AfxFormatString would show as it stands.
  for (const auto part : {MessageStringEntries(), TuningStringEntries(), ToolboxStringEntries()}) {
    for (const StringTableEntry& e : part) {
      const std::string_view text(e.text);
      for (size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1)) {
        const char next = i + 1 < text.size() ? text[i + 1] : ' ';
        EXPECT_TRUE((next >= '1' && next <= '9') || next == ' ') << e.id << ": " << text;
      }
    }
  }
}

TEST(StringTable, LoadsTextsByIdAndGivesEmptyForMissingIds) {
  CString text;
  EXPECT_TRUE(LoadString(text, 8075));
  EXPECT_EQ(text, "Bar");
  EXPECT_EQ(LoadString(8129), "Samples\\");
  EXPECT_EQ(LoadString(7094).Left(37), "This file is \"Read Only\" right now so");

  text = "left over";
  EXPECT_FALSE(LoadString(text, 7001));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_FALSE(HasString(7001));
  EXPECT_TRUE(StringTableText(7001).empty());
}

TEST(StringTable, FindsTheStringAShownTextWasMadeFrom) {
  struct Case {
    std::string text;
    UINT id;
  };
  const Case cases[] = {
      {"Bar", 8075},
      {"There was a problem looking up the chord. (Error DC-1)", 7011},
      // 7038 is the start of 7012: each whole text finds its own.
      {std::string(StringTableText(7038)), 7038},
      {std::string(StringTableText(7012)), 7012},
      // The two line-group notices differ only in fixed words.
      {"There was some confusion about a line group near line 12,\n"
       "so the lines in that group were separated into individual lines.\n"
       "You may need to make corrections in this part of the score",
       8240},
      {"There was some confusion about line groups starting near line 12 in this score,\n"
       "so the lines several groups were separated into individual lines.\n"
       "You may need to make corrections in several parts of the score",
       8241},
      {"Sorry, only 40 different fonts/sizes can be handled in one score.\n"
       "Eliminate a font elsewhere to allow a new font on this line. ",
       11000},
      {"Bars", 0},
      {"", 0},
      {"There was a problem looking up the chord.", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FindStringId(c.text), c.id) << c.text;
}

TEST(StringTable, BuiltInTuningListHasATextForEveryCountedEntry) {
  const int count = std::stoi(std::string(StringTableText(10151)));
  EXPECT_EQ(count, 72);
  for (int i = 0; i < count; ++i) EXPECT_TRUE(HasString(10000 + 2 * i)) << i;
  EXPECT_EQ(StringTableText(10001), "E A D G B E  323742475156");
  EXPECT_EQ(StringTableText(10150), " - Unnamed custom tuning -");
}

}  // namespace
