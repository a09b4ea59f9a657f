#include "common/Globals.h"
#include "common/RecentChords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecentChords : public ::testing::Test {
 protected:
  void SetUp() override { ResetCommonGlobals(); }
  void TearDown() override { ResetCommonGlobals(); }

  static ChordRecord Chord(const char* root, const char* quality, int variant = 0) {
    return ChordRecord{"E A D G B E  323742475156", root, quality, "", 0, 0, 0, variant};
  }
  static void Remember(ChordRecord chord, bool onlyIfPresent = false) {
    RememberRecentChord(chord, onlyIfPresent);
  }
  // The list as "root quality/variant" texts, most recent first.
  static std::vector<std::string> List() {
    std::vector<std::string> out;
    for (int i = 0; i < g_RecentChordCount; ++i) {
      const ChordRecord& c = g_RecentChords[i];
      out.push_back(std::string(c.text1.View()) + " " + std::string(c.text2.View()) + "/" +
                    std::to_string(c.value3));
    }
    return out;
  }
};

TEST_F(RecentChords, MostRecentFirstWithoutDuplicates) {
  Remember(Chord("C", "maj"));
  Remember(Chord("C", "maj"));
  EXPECT_EQ(List(), (std::vector<std::string>{"C maj/0"}));
  Remember(Chord("G", "7"));
  Remember(Chord("A", "m"));
  Remember(Chord("C", "maj"));
  EXPECT_EQ(List(), (std::vector<std::string>{"C maj/0", "A m/0", "G 7/0"}));
  // Another variant or another tuning is another chord.
  Remember(Chord("C", "maj", 105));
  ChordRecord bass = Chord("C", "maj");
  bass.text0 = "  E A D G   *002025303500";
  Remember(bass);
  EXPECT_EQ(g_RecentChordCount, 5);
  EXPECT_EQ(g_RecentChords[0].text0, bass.text0);
}

TEST_F(RecentChords, TwentyFirstChordDropsTheOldest) {
  for (int variant = 0; variant < 21; ++variant) Remember(Chord("D", "m", variant));
  EXPECT_EQ(g_RecentChordCount, kRecentChordCapacity);
  EXPECT_EQ(g_RecentChords[0].value3, 20);
  EXPECT_EQ(g_RecentChords[19].value3, 1);
}

TEST_F(RecentChords, OnlyIfPresentMovesButNeverAdds) {
  Remember(Chord("E", "m"), true);
  EXPECT_EQ(g_RecentChordCount, 0);
  Remember(Chord("C", "maj"));
  Remember(Chord("G", "7"));
  Remember(Chord("A", "m"), true);
  EXPECT_EQ(List(), (std::vector<std::string>{"G 7/0", "C maj/0"}));
  Remember(Chord("C", "maj"), true);
  EXPECT_EQ(List(), (std::vector<std::string>{"C maj/0", "G 7/0"}));
}

TEST_F(RecentChords, TrailingAsteriskIsDropped) {
  Remember(Chord("G", "7"));
  ChordRecord starred = Chord("G", "7*");
  RememberRecentChord(starred, false);
  EXPECT_EQ(starred.text2, "7");
  EXPECT_EQ(List(), (std::vector<std::string>{"G 7/0"}));
  Remember(Chord("F", "*"));
  EXPECT_EQ(List(), (std::vector<std::string>{"F /0", "G 7/0"}));
}

TEST(NumberLabel, ThreeCharacterLabels) {
  const std::pair<int, const char*> cases[] = {{0, "  0"},   {7, "  7"},   {10, " 10"},     {42, " 42"},
                                               {99, " 99"},  {100, "100"}, {105, "105"},    {199, "199"},
                                               {200, "   "}, {-1, "   "},  {1000000, "   "}};
  for (const auto& [n, label] : cases) EXPECT_EQ(std::string(FormatNumberLabel(n).View()), label) << n;
}

}  // namespace
