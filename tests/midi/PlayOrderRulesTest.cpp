// How repeats, repeat signs both ways and ending brackets are played: short
// tunes written as bars of one named note each, over one or more systems, and
// the notes heard when play follows the order built from them as the engine
// follows it.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "PlayTestSupport.h"
#include "midi/PlayOrder.h"
#include "model/KChord.h"
#include "model/KJTObj.h"
#include "platform/CObList.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"

namespace {

using namespace playtest;

// A note's row names it: 'a' is row 4, 'b' row 5 and so on.
constexpr int kFirstRow = 4;

// (On the first system a bracket is read from column 3 on, so the tunes
// whose first system has an ending open with two notes.)
// A tune in short, one system after another separated by " / ". Its words:
//   a..z     a quarter note, named by its letter
//   |  ||  |]  |:  :|  ::   a bar, double bar, final bar, repeat start,
//                           repeat end, repeat end and start in one
//   [1  [2  [1,2            an ending bracket with that caption, from the
//                           bar line written just before it (a plain bar
//                           line is added when there is none; at a
//                           system's start it starts at column 0)
//   ]        closes the ending at the bar line just written, or else short of
//            the next bar line, after the last note; a repeat end, "::", a
//            double or final bar or the system's end closes it too
struct Ending {
  int from = 0;
  std::string caption;
};

void Close(KListLine& line, Ending& ending, int to) {
  TestScore::Bracket(line, ending.from, 7, std::max(1, to - ending.from), ending.caption.c_str());
  ending.caption.clear();
}

void WriteTune(TestScore& score, const std::string& tune) {
  std::istringstream systems(tune);
  for (std::string system; std::getline(systems, system, '/');) {
    std::istringstream words(system);
    std::string notes;
    int column = 0;
    int lastBar = 0;
    bool afterBar = true;
    Ending ending;
    std::vector<std::pair<Ending, int>> brackets;  // closed endings: start, caption and end column
    for (std::string word; words >> word;) {
      const auto bar = [&](int code) {
        notes += std::to_string(column) + "=" + std::to_string(code) + "@1/44 ";
        lastBar = column++;
      };
      const bool wasAfterBar = afterBar;
      afterBar = false;
      if (word.size() == 1 && word[0] >= 'a' && word[0] <= 'z') {
        notes += std::to_string(column++) + "=8@" + std::to_string(kFirstRow + word[0] - 'a') + " ";
      } else if (word == "|") {
        bar(21);
        afterBar = true;
      } else if (word == "||" || word == "|]" || word == "|:" || word == ":|" || word == "::") {
        const int code = word == "||" ? 22 : word == "|]" ? 23 : word == "|:" ? 24 : word == ":|" ? 25 : 96;
        bar(code);
        afterBar = true;
        if (!ending.caption.empty() && code != 24) {
          brackets.push_back({ending, lastBar});
          ending.caption.clear();
        }
      } else if (word[0] == '[') {
        if (!wasAfterBar) bar(21);
        if (!ending.caption.empty()) brackets.push_back({ending, lastBar});
        ending.from = lastBar;
        ending.caption = word.substr(1) + ".";
      } else if (word == "]") {
        brackets.push_back({ending, wasAfterBar ? lastBar : column});
        ending.caption.clear();
      } else {
        ADD_FAILURE() << "unknown word " << word;
      }
    }
    KListLine& line = score.Line(notes);
    if (!ending.caption.empty()) brackets.push_back({ending, line.GetLength()});
    for (auto& [open, to] : brackets) Close(line, open, to);
  }
}

// The notes heard, as the engine follows the jumps: each system is played
// from its column up to the next jump of that system, which is then taken.
std::string Heard(const TestScore& score, const CObList& jumps) {
  std::vector<const KJTObj*> order;
  for (POSITION node = jumps.GetHeadPosition(); node != nullptr;)
    order.push_back(static_cast<const KJTObj*>(jumps.GetNext(node)));
  const KPlayScore play = score.Score();
  std::string heard;
  std::size_t next = 0;
  int line = 0;
  int column = 0;
  while (line < play.LineCount() && heard.size() < 100) {
    auto* list = play.Line(line)->AsListLine();
    const KJTObj* jump = next < order.size() && order[next]->GetJumpLine() == line ? order[next] : nullptr;
    const int last = jump != nullptr ? jump->GetJumpColumn() : INT_MAX;
    for (int c = column; c <= last && c < list->GetLength(); ++c) {
      const auto* chord = dynamic_cast<const KChord*>(list->GetObjAt(c, 0));
      if (chord != nullptr && !chord->IsBarColumn() && chord->GetNoteCount() > 0)
        heard += static_cast<char>('a' + chord->RawEntry(0).value - kFirstRow);
    }
    if (jump == nullptr) {
      ++line;
      column = 0;
      continue;
    }
    ++next;
    if (jump->GetTargetLine() < 0) break;
    line = jump->GetTargetLine();
    column = std::max(0, jump->GetTargetColumn());
  }
  return heard;
}

std::string JumpsOf(const CObList& jumps) {
  std::string out;
  for (POSITION node = jumps.GetHeadPosition(); node != nullptr;) {
    const auto* j = static_cast<const KJTObj*>(jumps.GetNext(node));
    out += std::to_string(j->GetJumpLine()) + ":" + std::to_string(j->GetJumpColumn()) + ">" +
           std::to_string(j->GetTargetLine()) + ":" + std::to_string(j->GetTargetColumn()) + " ";
  }
  return out;
}

struct RuleCase {
  const char* name;
  const char* tune;
  const char* heard;
};

void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.tune; }

class PlayOrderRule : public ::testing::TestWithParam<RuleCase> {
 protected:
  void SetUp() override { scope_ = std::make_unique<ScopedUiPort>(ui_); }
  void TearDown() override {
    ClearPlayLists(directions_, jumps_);
    scope_.reset();
  }

  FakeUiPort ui_;
  CObList directions_;
  CObList jumps_;

 private:
  std::unique_ptr<ScopedUiPort> scope_;
};

TEST_P(PlayOrderRule, PlaysTheBarsAsAMusicianReadsThem) {
  const RuleCase& c = GetParam();
  TestScore score;
  WriteTune(score, c.tune);
  ASSERT_EQ(BuildPlayOrder(score.Score(), directions_, jumps_), 1);
  EXPECT_EQ(Heard(score, jumps_), c.heard) << c.tune << "\njumps: " << JumpsOf(jumps_);
  EXPECT_TRUE(ui_.Messages().empty()) << "no question or warning";
}

INSTANTIATE_TEST_SUITE_P(
    Tunes, PlayOrderRule,
    ::testing::Values(
        // A repeat end goes back to the last repeat start or repeat end
        // before it, or to the start of the music.
        RuleCase{"a second part without a start goes back to the first part's end", "|: a | b :| / c | d :|",
                 "ababcdcd"},
        RuleCase{"two parts without any start", "a | b :| c | d :|", "ababcdcd"},
        RuleCase{"three parts without starts on three systems", "a :| / b :| / c :|", "aabbcc"},
        RuleCase{"a part with a start after one without", "a :| |: b :| c :|", "aabbcc"},
        RuleCase{"a repeat over a system break", "|: a | b / c :| d |]", "abcabcd"},
        RuleCase{"a repeat over two system breaks before endings",
                 "|: a a | b / c :| / d [1 e / f :| [2 g |]", "aabcaabcdefdg"},
        RuleCase{"a nested repeat goes back to its own start each time", "|: a |: b :| c :|", "abbcabbc"},
        // "::" ends one part and starts the next.
        RuleCase{"a part on each side of a double colon", "|: a :: b :|", "aabb"},
        RuleCase{"a double colon after a part without a start", "a :: b :|", "aabb"},
        RuleCase{"two double colons in a row", "a | b :: c :: d :|", "ababccdd"},
        RuleCase{"a double colon before a part with endings", "|: a :: b [1 c :| [2 d |]", "aabcbd"},
        RuleCase{"a double colon before endings over a system break", "|: a a :: b [1 c / d :| [2 e |]",
                 "aaaabcdbe"},
        RuleCase{"double colons before endings without a start", "a a :: b :: c [1 d / e :| [2 f |]",
                 "aaaabbcdecf"},
        RuleCase{"a second ending closed by a double colon", "|: a a [1 b :| [2 c :: d [1 e :| [2 f |]",
                 "aabaacdedf"},
        // Ending brackets.
        RuleCase{"first and second endings", "|: a a [1 b :| [2 c |]", "aabaac"},
        RuleCase{"a first ending alone", "|: a a [1 b :| c |]", "aabaac"},
        RuleCase{"a first ending alone for two passes", "|: a a [1,2 b :| c |]", "aabaabaac"},
        RuleCase{"a second ending closed by a repeat end is the last", "|: a a [1 b :| [2 c :| d |]",
                 "aabaacd"},
        RuleCase{"three endings", "|: a a [1 b :| [2 c :| [3 d |]", "aabaacaad"},
        RuleCase{"an ending for two passes", "|: a a [1,2 b :| [3 c |]", "aabaabaac"},
        RuleCase{"endings of a second part without a start", "a :| b [1 c :| [2 d |]", "aabcbd"},
        RuleCase{"a first ending of two bars", "|: a a [1 b | c :| [2 d |]", "aabcaad"},
        RuleCase{"a first ending over a system break", "|: a a [1 b | / c :| [2 d |]", "aabcaad"},
        RuleCase{"endings over system breaks without a start", "| a a [1 b / c :| [2 d / e |]", "aabcaade"},
        RuleCase{"endings of a second part over a system break", "a :| / b [1 c / d :| [2 e |]", "aabcdbe"},
        RuleCase{"a first ending drawn short of its repeat end", "|: a a [1 b | ] c :| [2 d |]", "aabcaad"},
        RuleCase{"a part after the last ending goes back to where it ended", "|: a a [1 b :| [2 c | ] d :|",
                 "aabaacdd"},
        RuleCase{"a first ending that opens a system without a bar line", "|: a a | b / [1 c :| [2 d |]",
                 "aabcaabd"},
        RuleCase{"a second ending on a system of its own", "|: a a [1 b :| / [2 c |]", "aabaac"},
        RuleCase{"a second ending to the system's end", "a | b [1 c :| [2 d", "abcabd"}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
