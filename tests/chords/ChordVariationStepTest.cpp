// Stepping chord diagrams to the neighbouring variation of their chord: the
// library's variations first, then the user's, wrapping at both ends.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChordNamesTestSupport.h"

using namespace chordnames;

namespace {

constexpr int kUp = kChordShiftKeyUp;
constexpr int kDown = 40;

class VariationStep : public ChordNamesTest {
 protected:
  VariationStep() { sources.user["C (major)"] = {"0932010          000", "3913331          000"}; }

  // The shape and number after each of count steps in the direction.
  std::vector<std::string> Walk(int key, int count) {
    std::vector<std::string> seen;
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(ShiftChordNames(line, 0, 1, key, kChordShiftVariation, 1, 0), 0);
      const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
      EXPECT_EQ(diagram->GetName(), "C");
      seen.push_back(diagram->GetShape().Str() + "#" + std::to_string(diagram->GetSetting()));
    }
    return seen;
  }
};

TEST_F(VariationStep, VisitsLibraryThenUserVariationsAndWraps) {
  Add(0, "C", "0000000");
  const std::vector<std::string> cycle = {LibraryShape(4, 2) + "#2", LibraryShape(4, 3) + "#3",
                                          "0932010          000#4", "3913331          000#5",
                                          LibraryShape(4, 1) + "#1"};
  EXPECT_EQ(Walk(kUp, 5), cycle);
  const std::vector<std::string> back = {"3913331          000#5", "0932010          000#4",
                                         LibraryShape(4, 3) + "#3"};
  EXPECT_EQ(Walk(kDown, 3), back);
  EXPECT_EQ(sources.lastTuning, chordline::kStandard);
}

TEST_F(VariationStep, OutOfRangeNumbersStartFromTheNearestEnd) {
  struct Case {
    int setting;
    int key;
    int next;
  };
  const Case cases[] = {{40, kUp, 1}, {40, kDown, 4}, {0, kDown, 5}, {0, kUp, 2}};
  for (const Case& c : cases) {
    // Settings below 1 are stored as 1 by the diagram itself.
    Add(0, "C", "0000000", c.setting);
    ASSERT_EQ(ShiftChordNames(line, 0, 1, c.key, kChordShiftVariation, 1, 0), 0);
    EXPECT_EQ(AsChordPic(line.GetObjList()->GetHead())->GetSetting(), c.next) << c.setting << " " << c.key;
    delete line.GetObjList()->RemoveHead();
  }
}

TEST_F(VariationStep, LibraryShapesAreFittedToAnotherTuning) {
  const CString dropD = "D A D G B E  323742475156";
  line.ReplaceTuning(dropD);
  Add(0, "Cm7", "0000000");
  for (const int adapt : {1, 0}) {
    g_adaptLibraryShapes = adapt;
    ASSERT_EQ(ShiftChordNames(line, 0, 1, kUp, kChordShiftVariation, 1, 0), 0);
    // m7 has one library variation: the step lands on it again.
    CString expected = LibraryShape(4, 7).c_str();
    if (adapt != 0) {
      CString fitted;
      AdaptChordShape(chordline::kStandard, expected, dropD, fitted);
      EXPECT_NE(fitted, expected);
      expected = fitted;
    }
    EXPECT_EQ(AsChordPic(line.GetObjList()->GetHead())->GetShape(), expected) << adapt;
  }
}

TEST_F(VariationStep, ChordsWithoutVariationsStay) {
  Add(0, "Csus2", "0000000");
  Add(3, "N.C.", "0000000");
  EXPECT_EQ(ShiftChordNames(line, 0, 10, kUp, kChordShiftVariation, 1, 0), -1);
  EXPECT_EQ(DumpFull(line), "Csus2@0:0000000#1 N.C.@3:0000000#1");
}

TEST_F(VariationStep, MissingBlockStringChangesNothing) {
  Add(0, "C", "0000000");
  Add(2, "Dm7", "0000000");
  sources.strings.erase(12020 + 1000 * 6 + 10);
  EXPECT_EQ(ShiftChordNames(line, 0, 10, kUp, kChordShiftVariation, 1, 0), -1);
  EXPECT_EQ(DumpFull(line), "C@0:0000000#1 Dm7@2:0000000#1");
  ASSERT_EQ(m_ui.Messages().size(), 1u);
  EXPECT_EQ(m_ui.Messages()[0].text,
            "There is no chord in the Chord Dictionary in this tuning which begins with Dm7. (Error CCR-3)");
}

}  // namespace
