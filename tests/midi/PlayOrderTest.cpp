// The play directions of a line and the play order built from them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PlayTestSupport.h"
#include "midi/PlayDirections.h"
#include "midi/PlayOrder.h"
#include "model/KChord.h"
#include "model/KJTObj.h"
#include "model/KPDObj.h"
#include "platform/CObList.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"

namespace {

using namespace playtest;
using play_dir::kCoda;
using play_dir::kEnding;
using play_dir::kFine;
using play_dir::kJump;
using play_dir::kRepeatEnd;
using play_dir::kRepeatStart;
using play_dir::kSegno;

// A record as text: "kind:value@column", endings "6:form@start-end[entries]".
std::string Describe(const KPDObj& r) {
  std::string text = std::to_string(r.GetKind()) + ":" + std::to_string(r.GetValue()) + "@" +
                     std::to_string(r.GetStart().second);
  if (r.GetKind() == kEnding) {
    text += "-" + std::to_string(r.GetEnd().second) + "[";
    for (int i = 0; i < 10 && r.GetPassEntry(i) > 0; ++i)
      text += (i > 0 ? "," : "") + std::to_string(r.GetPassEntry(i));
    text += "]";
  }
  return text;
}

std::vector<std::string> Collect(KListLine& line, int isFirstLine = 0) {
  CObList directions;
  CObList jumps;
  CollectPlayDirections(line, directions, 0, isFirstLine);
  std::vector<std::string> out;
  for (POSITION node = directions.GetHeadPosition(); node != nullptr;) {
    out.push_back(Describe(*static_cast<KPDObj*>(directions.GetNext(node))));
  }
  ClearPlayLists(directions, jumps);
  return out;
}

// "line:column>line:column" per jump; a target line of -1 ends the music.
std::vector<std::string> Jumps(const CObList& jumps) {
  std::vector<std::string> out;
  for (POSITION node = jumps.GetHeadPosition(); node != nullptr;) {
    const auto* j = static_cast<const KJTObj*>(jumps.GetNext(node));
    out.push_back(std::to_string(j->GetJumpLine()) + ":" + std::to_string(j->GetJumpColumn()) + ">" +
                  std::to_string(j->GetTargetLine()) + ":" + std::to_string(j->GetTargetColumn()));
  }
  return out;
}

// Bars at 1 and 3 around a note, another note after them.
constexpr const char* kTwoBars = "0=8@18 1=21@1/44 2=8@18 3=21@1/44 4=8@18 5=21@1/44";

struct WordsCase {
  const char* name;
  const char* text;
  std::vector<std::string> records;
};

class DirectionText : public ::testing::TestWithParam<WordsCase> {};

TEST_P(DirectionText, MakesItsRecord) {
  TestScore score;
  KListLine& line = score.Line(kTwoBars);
  TestScore::Text(line, 2, GetParam().text);
  EXPECT_EQ(Collect(line), GetParam().records);
}

// The text stands at column 2 and ends before column 4 (3 pixels a character).
INSTANTIATE_TEST_SUITE_P(
    Words, DirectionText,
    ::testing::Values(WordsCase{"D.C. al Fine", "D.C. al Fine", {"2:110@4"}},
                      WordsCase{"d.c. al fine in small letters", "d.c. al fine", {"2:110@4"}},
                      WordsCase{"D.S. al Coda", "D.S. al Coda", {"2:231@4"}},
                      WordsCase{"D.C.", "D.C.", {"2:100@2"}},
                      WordsCase{"D.S. al Fine", "D.S. al Fine", {"2:210@4"}},
                      WordsCase{"To Coda", "To Coda", {"2:31@3"}}, WordsCase{"Fine", "Fine", {"5:0@2"}},
                      WordsCase{"Coda", "Coda", {"3:1@2"}}, WordsCase{"Segno", "Segno", {"4:1@2"}},
                      WordsCase{"a word that directs nothing", "dolce", {}},
                      WordsCase{"a hand position", "C VII", {}}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

struct NumbersCase {
  const char* name;
  const char* text;
  std::vector<int> numbers;
};

class PassNumbers : public ::testing::TestWithParam<NumbersCase> {};

TEST_P(PassNumbers, AreReadAsWritten) { EXPECT_EQ(ReadPassNumbers(GetParam().text), GetParam().numbers); }

INSTANTIATE_TEST_SUITE_P(Texts, PassNumbers,
                         ::testing::Values(NumbersCase{"a list", "1., 2.", {1, 2}},
                                           NumbersCase{"a range with a dash", "1-3", {1, 2, 3}},
                                           NumbersCase{"a number below the one before", "2, 1", {2}},
                                           NumbersCase{"a gap without a dash", "1, 3", {1, 3}},
                                           NumbersCase{"a range with to", "1 to 4", {1, 2, 3, 4}},
                                           NumbersCase{"a repeat count", "3x", {3}},
                                           NumbersCase{"no numbers", "dolce", {}}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST(PlayDirections, RepeatBarsSignsAndTheImplicitSectionStart) {
  TestScore score;
  KListLine& line = score.Line("0=8@18 1=24@1/44 2=8@18 3=25@1/44 4=21@1+90@1/44 5=8@18 6=21@1+89@1/44");
  EXPECT_EQ(Collect(line, 1), (std::vector<std::string>{"0:7@0", "0:0@1", "1:1@3", "4:1@4", "3:1@6"}));
}

TEST(PlayDirections, TwoCodaSignsInARowMakeOneRecordOfValueTwo) {
  TestScore score;
  KListLine& line = score.Line("0=8@18 1=21@1+89@1/44 2=21@1+89@1/44 3=8@18");
  EXPECT_EQ(Collect(line), std::vector<std::string>{"3:2@1"});
}

TEST(PlayDirections, ARepeatCountBeforeTheBarSetsHowOftenPlayGoesBack) {
  TestScore score;
  KListLine& line = score.Line("0=8@18 1=24@1/44 2=8@18 3=8@18 4=25@1/44 5=8@18");
  TestScore::Text(line, 3, "3x");
  EXPECT_EQ(Collect(line), (std::vector<std::string>{"0:0@1", "1:3@4"}));
}

TEST(PlayDirections, EndingBracketsTakeTheirNumbersAndAnOctaveCaptionIsNoEnding) {
  TestScore score;
  const char* notes =
      "0=8@18 1=21@1/44 2=8@18 3=8@18 4=25@1/44 5=8@18 6=8@18 7=21@1/44 8=8@18 9=8@18 10=8@18";
  KListLine& endings = score.Line(notes);
  TestScore::Bracket(endings, 1, 7, 3, "1.");
  TestScore::Bracket(endings, 4, 9, 3, "2., 3.");
  EXPECT_EQ(Collect(endings), (std::vector<std::string>{"6:1@1-4[1]", "1:1@4", "6:3@4-7[2,3]"}));

  KListLine& octave = score.Line(notes);
  TestScore::Bracket(octave, 1, 7, 3, "");
  TestScore::Text(octave, 1, "8va");
  EXPECT_EQ(Collect(octave), std::vector<std::string>{"1:1@4"});
}

TEST(PlayDirections, LinesThatHoldNoNotationAddNothing) {
  TestScore score;
  KListLine& empty = score.Line("");
  TestScore::Text(empty, 3, "D.C.");
  EXPECT_TRUE(Collect(empty, 1).empty());
  KListLine& rhythm = score.Line("0=8@18 1=25@1/44", 3);
  EXPECT_TRUE(Collect(rhythm, 1).empty());
}

// ---- The play order --------------------------------------------------------------------------

class PlayOrderTest : public ::testing::Test {
 protected:
  void SetUp() override { scope_ = std::make_unique<ScopedUiPort>(ui); }
  void TearDown() override {
    ClearPlayLists(directions, jumps);
    scope_.reset();
  }
  int Build(const TestScore& score) { return BuildPlayOrder(score.Score(), directions, jumps); }

  FakeUiPort ui;
  CObList directions;
  CObList jumps;

 private:
  std::unique_ptr<ScopedUiPort> scope_;
};

TEST_F(PlayOrderTest, AScoreWithoutDirectionsPlaysStraightThrough) {
  TestScore score;
  score.Line(kTwoBars);
  score.Line(kTwoBars);
  EXPECT_EQ(Build(score), 1);
  EXPECT_TRUE(jumps.IsEmpty());
}

TEST_F(PlayOrderTest, ARepeatEndGoesBackAsOftenAsItsCountSays) {
  struct Case {
    const char* count;
    std::vector<std::string> jumps;
  } cases[] = {{"", {"0:4>0:1"}}, {"2x", {"0:4>0:1", "0:4>0:1"}}};
  for (const Case& c : cases) {
    TestScore score;
    KListLine& line = score.Line("0=8@18 1=24@1/44 2=8@18 3=8@18 4=25@1/44 5=8@18");
    if (*c.count != '\0') TestScore::Text(line, 3, c.count);
    EXPECT_EQ(Build(score), 1);
    EXPECT_EQ(Jumps(jumps), c.jumps) << c.count;
  }
}

TEST_F(PlayOrderTest, ARepeatEndWithoutAStartGoesBackToTheSectionStart) {
  TestScore score;
  score.Line("0=8@18 1=8@18 2=25@1/44 3=8@18");
  EXPECT_EQ(Build(score), 1);
  EXPECT_EQ(Jumps(jumps), std::vector<std::string>{"0:2>0:0"});
}

// The order of a song with a repeat, first and second endings, and D.S. al
// Coda over two line groups (display lines 0 and 1): play goes back from the
// first ending, skips it the second time, and after the D.S. (at the bar that
// ends its bar) takes only the second ending and leaves at To Coda for the
// coda; To Coda is passed over the first time.
TEST_F(PlayOrderTest, RepeatsEndingsAndDalSegnoAlCodaAsAPlayerReadsThem) {
  TestScore score;
  KListLine& first = score.Line(
      "0=8@17 1=8@16 2=21@1+90@1/44 3=8@15 4=8@14 5=24@1/44 6=8@13 7=8@12 8=21@1/44 9=8@11 10=25@1/44 "
      "11=8@10 12=21@1/44");
  TestScore::Bracket(first, 8, 7, 2, "1.");
  TestScore::Bracket(first, 10, 9, 2, "2.");
  KListLine& second =
      score.Line("0=8@16 1=21@1/44 2=8@15 3=21@1/44 4=21@1/44 5=21@1+89@1/44 6=8@14 7=23@1/44");
  TestScore::Text(second, 0, "To Coda");
  TestScore::Text(second, 1, "D.S. al Coda");
  EXPECT_EQ(Build(score), 1);
  EXPECT_EQ(Jumps(jumps),
            (std::vector<std::string>{"0:10>0:5", "0:8>0:10", "1:3>0:2", "0:8>0:10", "1:1>1:5"}));
}

TEST_F(PlayOrderTest, DaCapoAlFineGoesBackToTheStartAndStopsAtFine) {
  TestScore score;
  KListLine& line = score.Line("0=8@18 1=21@1/44 2=8@18 3=21@1/44 4=8@18 5=21@1/44 6=8@18 7=23@1/44");
  TestScore::Text(line, 3, "Fine");
  TestScore::Text(line, 6, "D.C. al Fine");
  EXPECT_EQ(Build(score), 1);
  EXPECT_EQ(Jumps(jumps), (std::vector<std::string>{"0:7>0:0", "0:3>-1:-1"}));
}

TEST_F(PlayOrderTest, RunawayRepetitionAsksEveryFiftyJumpsAndYesGivesUp) {
  // Six repeated bars played nine times each: 54 jumps back.
  // (A text on a first line counts from column 3 on.)
  std::string notes = "0=8@18 ";
  for (int bar = 0; bar < 6; ++bar) {
    const int at = 1 + bar * 4;
    notes += std::to_string(at) + "=24@1/44 " + std::to_string(at + 1) + "=8@18 " + std::to_string(at + 2) +
             "=8@18 " + std::to_string(at + 3) + "=25@1/44 ";
  }
  for (int answer : {IDNO, IDYES}) {
    TestScore score;
    KListLine& line = score.Line(notes);
    for (int bar = 0; bar < 6; ++bar) TestScore::Text(line, 1 + bar * 4 + 2, "9x");
    ui.ClearRecords();
    ui.Answer(8200, answer);
    const int built = Build(score);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("repeated 50 times"), std::string::npos);
    if (answer == IDNO) {
      EXPECT_EQ(built, 1);
      EXPECT_EQ(jumps.GetCount(), 54);
    } else {
      EXPECT_EQ(built, 0);
      EXPECT_TRUE(jumps.IsEmpty());
    }
  }
}

}  // namespace

namespace {

// The bars in the order play reaches them: one note per bar, the note's row
// naming its bar, the jumps followed as the engine follows them.
std::vector<int> BarsPlayed(KListLine& line, const CObList& jumps) {
  std::vector<int> bars;
  POSITION next = jumps.GetHeadPosition();
  const KJTObj* jump = next != nullptr ? static_cast<const KJTObj*>(jumps.GetNext(next)) : nullptr;
  int column = 0;
  for (int steps = 0; steps < 200 && column < line.GetLength(); ++steps) {
    const auto* chord = dynamic_cast<const KChord*>(line.GetObjAt(column, 0));
    if (chord != nullptr && !chord->IsBarColumn() && chord->GetNoteCount() > 0)
      bars.push_back(19 - chord->RawEntry(0).code);
    if (jump != nullptr && jump->GetJumpColumn() == column) {
      if (jump->GetTargetLine() < 0) break;
      column = jump->GetTargetColumn();
      jump = next != nullptr ? static_cast<const KJTObj*>(jumps.GetNext(next)) : nullptr;
      continue;
    }
    ++column;
  }
  return bars;
}

}  // namespace

// bar 1 | bar 2 | [1. bar 3 :| [2. bar 4 ||, with the brackets placed as a
// user places them: over the bar's note, from the bar line before it, by
// selection (from the note to the repeat end), and with or without a repeat
// start bar. Play goes 1 2 3 1 2 4 (from a repeat start before bar 2: 1 2 3 2 4).
// Two notes a bar, the second ending a single note.
constexpr const char* kShortEnding =
    "0=18@18 1=18@18 2=21@1/44 3=17@18 4=17@18 5=21@1/44 6=16@18 7=16@18 8=25@1/44 9=15@18 10=23@1/44";

TEST_F(PlayOrderTest, FirstAndSecondEndingsPlayTheFirstThenTheSecondEnding) {
  struct Case {
    const char* name;
    const char* notes;
    int first, firstColumns, second, secondColumns;
    int secondKind;
    std::vector<int> bars = {1, 2, 3, 1, 2, 4};
  } cases[] = {
      {"over the notes", "0=18@18 1=21@1/44 2=17@18 3=21@1/44 4=16@18 5=25@1/44 6=15@18 7=23@1/44", 4, 1, 6,
       1, 7},
      {"from the bar lines", "0=18@18 1=21@1/44 2=17@18 3=21@1/44 4=16@18 5=25@1/44 6=15@18 7=23@1/44", 3, 2,
       5, 2, 7},
      {"open second ending", "0=18@18 1=21@1/44 2=17@18 3=21@1/44 4=16@18 5=25@1/44 6=15@18 7=23@1/44", 4, 1,
       6, 1, 9},
      {"with a repeat start",
       "0=18@18 1=24@1/44 2=17@18 3=21@1/44 4=16@18 5=25@1/44 6=15@18 7=23@1/44",
       4,
       1,
       6,
       1,
       7,
       {1, 2, 3, 2, 4}},
      {"two notes a bar",
       "0=18@18 1=18@18 2=21@1/44 3=17@18 4=17@18 5=21@1/44 6=16@18 7=16@18 8=25@1/44 9=15@18 10=15@18 "
       "11=23@1/44",
       6, 2, 9, 2, 7},
      // The second ending one whole note: the first ending closes two
      // columns before the line's end, and is still closed by its repeat bar.
      {"a whole-note second ending", kShortEnding, 5, 4, 8, 1, 7},
      {"a first ending one column wide from its bar line", kShortEnding, 5, 1, 8, 1, 7},
      {"a first ending from the bar's second note", kShortEnding, 7, 1, 8, 1, 9},
      {"a second ending from its bar line", kShortEnding, 6, 2, 8, 2, 9},
  };
  for (const Case& c : cases) {
    TestScore score;
    KListLine& line = score.Line(c.notes);
    TestScore::Bracket(line, c.first, 7, c.firstColumns, "1.");
    TestScore::Bracket(line, c.second, c.secondKind, c.secondColumns, "2.");
    EXPECT_EQ(Build(score), 1) << c.name;
    std::vector<int> bars = BarsPlayed(line, jumps);
    bars.erase(std::unique(bars.begin(), bars.end()), bars.end());
    EXPECT_EQ(bars, c.bars) << c.name << ": " << ::testing::PrintToString(Jumps(jumps));
    ClearPlayLists(directions, jumps);
  }
}
