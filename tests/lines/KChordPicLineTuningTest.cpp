// The fret rows that a chord-diagram line's shapes ask for, and the change of
// its tuning with and without refitting the diagrams.

#include <gtest/gtest.h>

#include <algorithm>

#include "ChordLineTestSupport.h"
#include "common/ChordShape.h"

namespace {

using namespace chordline;

class ChordLineTuning : public ChordLineTest {
 protected:
  ChordLineTuning() { SetChordLineServices(&chords); }
  ScriptedChordCode chords;
};

constexpr DWORD kExtra = KChordPicLine::kFlagExtraRows;
constexpr DWORD kFinger = KChordPicLine::kFlagFingerRow;

TEST_F(ChordLineTuning, RecountTakesTheTallestShapeAndTheFingerRow) {
  struct Case {
    std::vector<const char*> shapes;
    int fingerOption;
    int extraValue;
    int fingerBit;
    int rows;
  };
  const Case cases[] = {
      {{}, 0, 0, 0, 0},
      {{kShape, kShape}, 0, 0, 0, 0},
      {{kShape, kTallShape}, 0, 2, 0, 2},
      {{kFingerShape}, 0, 0, 1, 0},
      {{kFingerShape}, 1, 0, 1, 1},
      {{kTallShape, kFingerShape}, 1, 2, 1, 3},
      {{"0231000          00000067"}, 0, 3, 0, 3},
      {{"0231000          00000069"}, 0, 0, 0, 0},  // a row digit outside 4..7 reads as 4
  };
  for (const Case& c : cases) {
    g_fingerRowOption = c.fingerOption;
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    // Stale bits from before are replaced, not kept.
    chords.SetFlagValue(kExtra, 5);
    chords.ModifyFlags(kFinger | KChordPicLine::kFlagShowDiagrams, 1);
    int pos = 0;
    for (const char* shape : c.shapes) Fill(chords, {new KChordPic(pos++ * 4, "C", shape, 1)});
    g_relayout = 0;
    chords.UpdateDiagramRows();
    const std::string name =
        std::to_string(c.shapes.size()) + " shapes, option " + std::to_string(c.fingerOption);
    EXPECT_EQ(chords.GetFlagValue(kExtra), c.extraValue) << name;
    EXPECT_EQ(chords.TestFlags(kExtra), c.extraValue != 0 ? 1 : 0) << name;
    EXPECT_EQ(chords.TestFlags(kFinger), c.fingerBit) << name;
    EXPECT_EQ(chords.GetExtraDiagramRows(), c.rows) << name;
    EXPECT_EQ(chords.TestFlags(KChordPicLine::kFlagShowDiagrams), 1) << name;
    EXPECT_EQ(g_relayout, 1) << name;
  }
}

TEST_F(ChordLineTuning, AdjustingForAShapeNeverLowersTheRows) {
  line.AdjustRowsForShape(kTallShape);
  EXPECT_EQ(line.GetFlagValue(kExtra), 2);
  line.AdjustRowsForShape(kShape);
  line.AdjustRowsForShape("0231000          00000065");
  EXPECT_EQ(line.GetFlagValue(kExtra), 2);
  EXPECT_EQ(line.TestFlags(kFinger), 0);
  line.AdjustRowsForShape(kFingerShape);
  EXPECT_EQ(line.TestFlags(kFinger), 1);
  EXPECT_EQ(line.GetFlagValue(kExtra), 2);
}

TEST_F(ChordLineTuning, WithoutRefitOnlyTheTuningChanges) {
  Add(0, "C");
  const CString tuning = "D A D G B E  303742475156!@@!20";
  EXPECT_EQ(line.SetTuning(tuning, 0), nullptr);
  EXPECT_EQ(line.GetTuning(), tuning);
  EXPECT_EQ(line.GetFretCount(), 20);
  EXPECT_EQ(AsChordPic(line.GetObjList()->GetHead())->GetShape(), kShape);
  EXPECT_TRUE(chords.fits.empty());
}

TEST_F(ChordLineTuning, RefitBuildsALineOfFittedDiagrams) {
  line.SetLabel("Chords");
  line.ModifyFlags(KChordPicLine::kFlagShowDiagrams, 1);
  line.SetIndent(12);
  KChordPic* am = Add(0, "Am", kShape, 3);
  am->SetValue(5);
  Add(6, "G", kShape, 1);
  const CString dropD = "D A D G B E  303742475156";
  chords.fitted = kTallShape;

  std::unique_ptr<KChordPicLine> refit = line.SetTuning(dropD, 1);
  ASSERT_NE(refit, nullptr);
  EXPECT_EQ(line.GetTuning(), kStandard) << "this line stays as it is";
  EXPECT_EQ(refit->GetTuning(), dropD);
  EXPECT_EQ(refit->GetNameFontText(), kFont);
  EXPECT_EQ(refit->GetLabel(), "Chords AltT");
  EXPECT_EQ(refit->TestFlags(KChordPicLine::kFlagShowDiagrams), 1);
  EXPECT_EQ(refit->GetIndent(), 12);
  EXPECT_EQ(Dump(*refit), "Am@0 G@6");
  EXPECT_EQ(chords.fits,
            (std::vector<std::string>{std::string(kStandard) + "|" + kShape + "|" + dropD.Str(),
                                      std::string(kStandard) + "|" + kShape + "|" + dropD.Str()}));
  const KChordPic* first = AsChordPic(refit->GetObjList()->GetHead());
  EXPECT_EQ(first->GetShape(), kTallShape);
  EXPECT_EQ(first->GetSetting(), 3);
  EXPECT_EQ(first->GetValue(), 5);
  EXPECT_EQ(refit->GetExtraDiagramRows(), 2) << "the rows follow the fitted shapes";
}

TEST_F(ChordLineTuning, RefitLabelGetsTheSuffixOnce) {
  struct Case {
    const char* label;
    const char* refit;
  };
  const Case cases[] = {{"Chords", "Chords AltT"},
                        {"Chords AltT", "Chords AltT"},
                        {"", " AltT"},
                        {"AltT", "AltT AltT"},
                        {"Gtr!@!x", "Gtr AltT"}};
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    chords.SetLabel(c.label);
    EXPECT_EQ(chords.SetTuning(kStandard, 1)->GetLabel(), c.refit) << c.label;
  }
}

TEST_F(ChordLineTuning, BuiltInFittingPlaysTheSamePitchesOnTheNewTuning) {
  SetChordLineServices(nullptr);
  Add(0, "Em", "0022000          000");
  const CString dropD = "D A D G B E  303742475156";
  std::unique_ptr<KChordPicLine> refit = line.SetTuning(dropD, 1);
  ASSERT_NE(refit, nullptr);
  const CString shape = AsChordPic(refit->GetObjList()->GetHead())->GetShape();
  ShapeValues before{}, after{}, frets{}, marks{};
  GetShapePitches("0022000          000", kStandard, before, frets, marks);
  GetShapePitches(shape, dropD, after, frets, marks);
  std::vector<int> a(before.begin(), before.end()), b(after.begin(), after.end());
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  EXPECT_EQ(a, b) << shape.Str();
}

}  // namespace
