// Transposition of a chord-diagram line: a new line in the target key with
// copies of the diagrams whose names the chord code shifts.

#include <gtest/gtest.h>

#include "ChordLineTestSupport.h"
#include "model/KExtendedObj.h"

namespace {

using namespace chordline;

class ChordLineTranspose : public ChordLineTest {
 protected:
  ChordLineTranspose() { SetChordLineServices(&chords); }

  std::unique_ptr<KChordPicLine> Transposed(int first, int last, int targetKey, int sourceKey) {
    std::unique_ptr<KLineObj> made = line.Transpose(first, last, 0, targetKey, sourceKey, 0, 0, 0, 0);
    auto* chordLine = dynamic_cast<KChordPicLine*>(made.get());
    if (chordLine == nullptr) return nullptr;
    made.release();
    return std::unique_ptr<KChordPicLine>(chordLine);
  }

  ScriptedChordCode chords;
};

TEST_F(ChordLineTranspose, NamesShiftByTheSemitonesBetweenTheKeys) {
  Add(0, "C");
  struct Case {
    int targetKey;
    int sourceKey;
    int shift;
    int keyCode;
  };
  // Semitones of the 15 key indices: 0 1 2 3 3 4 5 5 6 7 8 9 10 10 11.
  const Case cases[] = {{0, 5, 8, 9},   {5, 0, 4, 0},  {5, 5, 0, 0},
                        {14, 0, 11, 2}, {3, 4, 0, 10}, {0, 14, 1, 9}};
  for (const Case& c : cases) {
    chords.shifts.clear();
    std::unique_ptr<KChordPicLine> moved = Transposed(0, 32000, c.targetKey, c.sourceKey);
    ASSERT_NE(moved, nullptr);
    ASSERT_EQ(chords.shifts.size(), 1u);
    const ScriptedChordCode::Shift& s = chords.shifts[0];
    EXPECT_EQ(s.shift, c.shift) << c.targetKey << " from " << c.sourceKey;
    EXPECT_EQ(s.low, 38);
    EXPECT_EQ(s.high, 50);
    EXPECT_EQ(s.option, 1);
    EXPECT_EQ(moved->GetKey(), c.keyCode) << c.targetKey;
  }
}

TEST_F(ChordLineTranspose, CopiesKeepDiagramsAndTheRangeGoesToTheChordCode) {
  line.SetLabel("Chords");
  line.ModifyFlags(KChordPicLine::kFlagShowDiagrams, 1);
  KChordPic* am = Add(2, "Am", kTallShape, 4);
  am->SetValue(7);
  Add(9, "G", kShape, 2);
  line.AddAttachment(new KExtendedObj(3, 0, 7, 0, 0, 40, 0));
  const Bytes before = StoreObject(line);

  std::unique_ptr<KChordPicLine> moved = Transposed(3, 12, 0, 5);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(StoreObject(line), before) << "this line stays as it is";
  EXPECT_EQ(Dump(*moved), "Am@2 G@9");
  const KChordPic* first = AsChordPic(moved->GetObjList()->GetHead());
  EXPECT_EQ(first->GetShape(), kTallShape);
  EXPECT_EQ(first->GetSetting(), 4);
  EXPECT_EQ(first->GetValue(), 1);
  EXPECT_EQ(moved->GetTuning(), kStandard);
  EXPECT_EQ(moved->GetNameFontText(), kFont);
  EXPECT_EQ(moved->GetLabel(), "Chords");
  EXPECT_EQ(moved->TestFlags(KChordPicLine::kFlagShowDiagrams), 1);
  ASSERT_EQ(chords.shifts.size(), 1u);
  EXPECT_EQ(chords.shifts[0].first, 3);
  EXPECT_EQ(chords.shifts[0].last, 12);
  EXPECT_EQ(chords.renamed, (std::vector<std::string>{"G"}));
  EXPECT_EQ(moved->GetAttachmentCount(), 0) << "a part of the line takes no attachments";

  EXPECT_EQ(Transposed(0, 32000, 0, 5)->GetAttachmentCount(), 1);
}

TEST_F(ChordLineTranspose, EmptyLineTakesItsAttachmentsWithoutAskingTheChordCode) {
  line.AddAttachment(new KExtendedObj(3, 0, 7, 0, 0, 40, 0));
  std::unique_ptr<KChordPicLine> moved = Transposed(0, 10, 2, 0);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->GetAttachmentCount(), 1);
  EXPECT_TRUE(chords.shifts.empty());
}

TEST_F(ChordLineTranspose, KeyIndexOutsideTheListMakesNoLine) {
  Add(0, "C");
  for (const auto& [target, source] : {std::pair{15, 0}, {-1, 0}, {0, 15}, {0, -3}}) {
    EXPECT_EQ(line.Transpose(0, 32000, 0, target, source, 0, 0, 0, 0), nullptr) << target << " " << source;
  }
  EXPECT_TRUE(chords.shifts.empty());
}

}  // namespace
