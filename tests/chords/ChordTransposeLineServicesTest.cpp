// The chord code's services installed for the chord-diagram line: a line
// transposed to another key gets its chord names transposed.

#include <gtest/gtest.h>

#include "ChordNamesTestSupport.h"
#include "chords/KChordLineServicesImpl.h"

using namespace chordnames;

namespace {

class ChordTransposeLineServices : public ChordNamesTest {
 protected:
  ChordTransposeLineServices() { InstallChordLineServices(); }

  std::string Transposed(int first, int last, int targetKey, int sourceKey) {
    std::unique_ptr<KLineObj> made = line.Transpose(first, last, 0, targetKey, sourceKey, 0, 0, 0, 0);
    auto* chordLine = dynamic_cast<KChordPicLine*>(made.get());
    return chordLine != nullptr ? chordline::Dump(*chordLine) : "none";
  }
};

TEST_F(ChordTransposeLineServices, NamesFollowTheKeyChange) {
  Add(0, "C");
  Add(3, "G/B");
  Add(8, "Am7");
  Add(12, "F");
  struct Case {
    int first, last, targetKey, sourceKey;
    const char* result;
  };
  // Key indices count 0 1 2 3 3 4 5 5 6 7 8 9 10 10 11 semitones.
  const Case cases[] = {{0, 32000, 2, 0, "D@0 A/C#@3 Bm7@8 G@12"},
                        {0, 32000, 0, 0, "C@0 G/B@3 Am7@8 F@12"},
                        {0, 32000, 14, 0, "B@0 F#/A#@3 Abm7@8 E@12"},
                        {3, 8, 1, 0, "C@0 Ab/C@3 Bbm7@8 F@12"},
                        {0, 0, 9, 0, "G@0 G/B@3 Am7@8 F@12"}};
  for (const Case& c : cases) EXPECT_EQ(Transposed(c.first, c.last, c.targetKey, c.sourceKey), c.result);
  // The line itself is left as it was.
  EXPECT_EQ(chordline::Dump(line), "C@0 G/B@3 Am7@8 F@12");
}

TEST_F(ChordTransposeLineServices, WithoutTheLibraryNamesStay) {
  Add(0, "C");
  sources.loaded = false;
  EXPECT_EQ(Transposed(0, 32000, 2, 0), "C@0");
}

TEST_F(ChordTransposeLineServices, FittingIsTheLinesOwn) {
  const CString dropD = "D A D G B E  323742475156";
  CString mine;
  CString builtIn;
  GetChordLineServices().AdaptChordShape(chordline::kStandard, chordline::kShape, dropD, mine);
  AdaptChordShape(chordline::kStandard, chordline::kShape, dropD, builtIn);
  EXPECT_EQ(mine, builtIn);
}

}  // namespace
