// Chord-diagram numbering as a Refresh shows it: each diagram gets the
// number of its fingering among the fingerings of the same chord in the
// whole score.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lines/KChordPicLine.h"
#include "model/KChordPic.h"
#include "support/ViewTestSupport.h"

namespace {

using viewtest::CaseName;

struct Diagram {
  const char* name;
  const char* shape;
};

struct NumberingCase {
  std::string name;
  std::vector<std::vector<Diagram>> lines;  // diagrams of each chord line
  std::vector<int> numbers;                 // expected, in score order
};

void PrintTo(const NumberingCase& c, std::ostream* out) { *out << c.name; }

// Full 20-character shapes: frets of six strings and a blank, the finger
// label and the flags.
constexpr const char* kOpenG = "320003          0000";
constexpr const char* kBarreG = "355433          0000";
constexpr const char* kHighG = "xx5787          0000";
constexpr const char* kOpenC = "x32010          0000";

class ChordNumbering : public viewtest::ViewScoreFixture,
                       public ::testing::WithParamInterface<NumberingCase> {
 protected:
  std::vector<int> Numbers() {
    std::vector<int> out;
    for (POSITION pos : lines) {
      KListLine* list = doc.GetLineAt(pos)->AsListLine();
      for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
        if (auto* diagram = dynamic_cast<KChordPic*>(list->GetObjList()->GetNext(node))) {
          out.push_back(diagram->GetValue());
        }
      }
    }
    return out;
  }
};

TEST_P(ChordNumbering, RefreshNumbersEachFingeringWithinItsChord) {
  for (const auto& diagrams : GetParam().lines) {
    AddChordLine();
    KListLine* list = doc.GetLineAt(lines.back())->AsListLine();
    int column = 0;
    for (const Diagram& d : diagrams) {
      // Added as they stand: the line's own insertion would not keep a short shape.
      auto* pic = new KChordPic(column, d.name, d.shape, 1);
      pic->SetValue(99);
      list->GetObjList()->AddTail(pic);
      column += 6;
    }
  }
  Layout();
  view->OnViewRefresh();
  EXPECT_EQ(Numbers(), GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, ChordNumbering,
    ::testing::Values(NumberingCase{"same chord with the same fingering twice is number one both times",
                                    {{{"G", kOpenG}, {"G", kOpenG}}},
                                    {1, 1}},
                      NumberingCase{"three fingerings of one chord are numbered in the order met",
                                    {{{"G", kOpenG}, {"G", kBarreG}, {"G", kHighG}, {"G", kBarreG}}},
                                    {1, 2, 3, 2}},
                      NumberingCase{"distinct chords each start at one",
                                    {{{"G", kOpenG}, {"C", kOpenC}, {"G", kBarreG}, {"C", kOpenC}}},
                                    {1, 1, 2, 1}},
                      NumberingCase{"numbering runs across every chord line of the score",
                                    {{{"G", kOpenG}}, {{"C", kOpenC}, {"G", kHighG}}},
                                    {1, 1, 2}},
                      NumberingCase{"a shape shorter than seven characters gets one and enters no table",
                                    {{{"G", "320"}, {"G", kBarreG}}},
                                    {1, 1}},
                      NumberingCase{"the same frets under another finger label are another chord key",
                                    {{{"G", kOpenG}, {"G", "320003 123  4    0000"}}},
                                    {1, 1}}),
    [](const auto& info) { return CaseName(info.param.name); });

// The numbering table lives in the view: the eighth fingering of a chord is
// number 8, and once 500 chords are known a new one is always number 1.
class ChordShapeTable : public viewtest::ViewScoreFixture {};

TEST_F(ChordShapeTable, EighthFingeringOfAChordIsNumberEight) {
  int last = 0;
  for (int i = 0; i < 8; ++i) last = view->NumberChordShape(CString(static_cast<char>('0' + i), 7) + "G");
  EXPECT_EQ(last, 8);
  EXPECT_EQ(view->NumberChordShape(CString('3', 7) + "G"), 4);
}

TEST_F(ChordShapeTable, TableFullOfChordsGivesEveryNewChordOne) {
  for (int i = 0; i < 500; ++i) view->NumberChordShape(("0000000" + std::to_string(i)).c_str());
  // A known chord still gets its further fingerings.
  EXPECT_EQ(view->NumberChordShape("11111110"), 2);
  EXPECT_EQ(view->NumberChordShape("22222220"), 3);
  EXPECT_EQ(view->NumberChordShape("1111111new"), 1);
  EXPECT_EQ(view->NumberChordShape("2222222new"), 1);
}

}  // namespace

namespace {

// The first update of a view numbers the diagrams before the first layout.
class ChordNumberingOnOpen : public viewtest::ViewScoreFixture {};

TEST_F(ChordNumberingOnOpen, InitialUpdateNumbersTheDiagrams) {
  AddChordLine();
  KListLine* list = doc.GetLineAt(lines.back())->AsListLine();
  list->GetObjList()->AddTail(new KChordPic(0, "G", kOpenG, 1));
  list->GetObjList()->AddTail(new KChordPic(6, "G", kBarreG, 1));
  view->OnInitialUpdate();
  std::vector<int> numbers;
  for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
    if (auto* pic = dynamic_cast<KChordPic*>(list->GetObjList()->GetNext(node)))
      numbers.push_back(pic->GetValue());
  }
  EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
}

}  // namespace
