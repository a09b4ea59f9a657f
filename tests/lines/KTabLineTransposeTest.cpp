// Transposing a tablature line: the semitone shift by keys and direction, the
// fingering of each moved column near the hand position, notes that no string
// reaches, key signatures and key-change columns, the range, attachments, and
// the source line left as it was.

#include <algorithm>

#include "TabLineTestSupport.h"
#include "lines/TranslationServices.h"
#include "model/KExtendedObj.h"

namespace {

class KTabLineTransposeTest : public TabLineTest {
 protected:
  KTabLineTransposeTest() { ResetTranslationServices(); }
  ~KTabLineTransposeTest() override { ResetTranslationServices(); }
};

constexpr int kToEnd = 31000;
constexpr int kNoHand = -1;

// The sounding pitches of a column of the line, sorted.
std::vector<int> PitchesOf(const KTabLine& line, const KChord& column) {
  std::vector<int> pitches;
  for (const RowFret& f : FretsOf(column))
    pitches.push_back(line.GetPitchAt(f.row, KChord::kFirstFret + f.fret));
  std::sort(pitches.begin(), pitches.end());
  return pitches;
}

std::unique_ptr<KTabLine> AsTab(std::unique_ptr<KLineObj> line) {
  return std::unique_ptr<KTabLine>(static_cast<KTabLine*>(line.release()));
}

struct ShiftCase {
  int sourceKey;
  int targetKey;
  int direction;
  int shift;
};

TEST_F(KTabLineTransposeTest, NotesMoveByTheShiftOfTheKeysInTheDirection) {
  // Key numbers 0, 5, 7 and 8 stand 0, 4, 5 and 6 semitones above key 0.
  const ShiftCase cases[] = {
      {0, 0, 0, 12}, {0, 0, 1, -12}, {0, 0, 2, -12}, {0, 5, 0, 4}, {0, 5, 1, -8}, {0, 5, 2, 4},
      {0, 7, 2, 5},  {0, 8, 2, -6},  {0, 8, 0, 6},   {5, 0, 0, 8}, {5, 0, 2, -4}, {3, 4, 0, 12},
  };
  for (const ShiftCase& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{4, 5}})});  // pitch 52
    auto moved =
        AsTab(line.Transpose(0, kToEnd, kToEnd, c.targetKey, c.sourceKey, c.direction, 0, 0, kNoHand));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(PitchesOf(*moved, TabColumnAt(*moved, 0)), std::vector<int>{52 + c.shift})
        << c.sourceKey << " -> " << c.targetKey << " direction " << c.direction;
  }
}

// Every note of a chord that a hand can reach on the strings stays: a
// fingering nearer the hand position never wins by dropping a note.
TEST_F(KTabLineTransposeTest, AChordKeepsEveryPitchWithinTheHandsReach) {
  KTabLine line(0, kStandardTuning, 0);
  // An open C chord: C E G C E on rows 6..2.
  Fill(line, {TabNotes(0, {{2, 0}, {3, 1}, {4, 0}, {5, 2}, {6, 3}})});
  for (int targetKey : {2, 5, 9, 11}) {
    auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, targetKey, 0, 0, 0, 0, kNoHand));
    const KChord& column = TabColumnAt(*moved, 0);
    std::vector<int> expected = PitchesOf(line, TabColumnAt(line, 0));
    const int shift = std::vector<int>{0, 1, 2, 3, 3, 4, 5, 5, 6, 7, 8, 9}[targetKey];
    for (int& p : expected) p += shift;
    EXPECT_EQ(PitchesOf(*moved, column), expected) << "key " << targetKey;
    int low = 99;
    int high = 0;
    for (const RowFret& f : FretsOf(column)) {
      if (f.fret == 0) continue;
      low = std::min(low, f.fret);
      high = std::max(high, f.fret);
    }
    EXPECT_LE(high - low, high > 4 ? 3 : 4) << "key " << targetKey;
  }
}

struct HandCase {
  int hand;
  int keep;
  RowFret expected;
};

TEST_F(KTabLineTransposeTest, ASingleNoteGoesToTheStringNearestTheHandPosition) {
  // Fret 0 on the first string (pitch 56) two semitones up: pitch 58 is fret 2
  // on row 2, fret 7 on row 3, fret 11 on row 4.
  const HandCase cases[] = {
      {kNoHand, 0, {2, 2}}, {3, 0, {2, 2}},   {7, 1, {3, 7}},
      {9, 0, {3, 7}},       {11, 1, {4, 11}}, {12, 0, {4, 11}},
  };
  for (const HandCase& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{2, 0}})});
    auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, 2, 0, 0, c.keep, 0, c.hand));
    EXPECT_EQ(FretsOf(TabColumnAt(*moved, 0)), Frets{c.expected}) << "hand " << c.hand << " keep " << c.keep;
  }
}

TEST_F(KTabLineTransposeTest, NotesBelowTheLowestStringAreDroppedAndEmptiedColumnsLeftOut) {
  KTabLine line(0, kStandardTuning, 0);
  // Column 0: the low E alone; column 1: low E and the first string; column 2:
  // the low E with a mark above the strings (row 0).
  Fill(line, {TabNotes(0, {{7, 0}}), TabNotes(1, {{7, 0}, {2, 0}}), TabNotes(2, {{7, 0}}, {{0, 64}})});
  auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, 0, 5, 1, 0, 0, kNoHand));  // 4 down
  EXPECT_EQ(Positions(*moved->GetObjList()), (std::vector<int>{1, 2}));
  EXPECT_EQ(PitchesOf(*moved, TabColumnAt(*moved, 1)), std::vector<int>{52});
  EXPECT_TRUE(FretsOf(TabColumnAt(*moved, 2)).empty());
  EXPECT_EQ(RowsOfCode(TabColumnAt(*moved, 2), 64), std::vector<int>{0});
  // Dropping is silent.
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_TRUE(m_ui.Beeps().empty());
}

TEST_F(KTabLineTransposeTest, OtherTuningsPreferABarreAtTheHandPosition) {
  // An open D power chord of drop-D tuning, a fourth up at hand position 5:
  // all three notes under one finger at fret 5.
  KTabLine line(0, "D A D G B E  303742475156", 0);
  Fill(line, {TabNotes(0, {{5, 0}, {7, 0}, {6, 0}})});
  auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, 7, 0, 0, 1, 0, 5));
  EXPECT_EQ(FretsOf(TabColumnAt(*moved, 0)), (Frets{{5, 5}, {6, 5}, {7, 5}}));
}

TEST_F(KTabLineTransposeTest, EntriesOfANotesRowFollowTheNote) {
  KTabLine line(0, kStandardTuning, 0);
  // Fret 3 on the first string with a slide mark (code 48) on its row.
  Fill(line, {TabNotes(0, {{2, 3}}, {{2, 48}})});
  // 12 down: pitch 59 - 12 = 47 goes to another string.
  auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, 0, 0, 1, 0, 0, kNoHand));
  const KChord& column = TabColumnAt(*moved, 0);
  ASSERT_EQ(FretsOf(column).size(), 1u);
  EXPECT_EQ(RowsOfCode(column, 48), std::vector<int>{FretsOf(column)[0].row});
  EXPECT_EQ(PitchesOf(*moved, column), std::vector<int>{47});
}

TEST_F(KTabLineTransposeTest, TheKeySwitchSetsTheTargetKeySignature) {
  KTabLine line(9, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 0}})});
  EXPECT_EQ(line.Transpose(0, kToEnd, 0, 1, 0, 0, 0, 0, kNoHand)->AsListLine()->GetKey(), 6);
  EXPECT_EQ(line.Transpose(0, kToEnd, 0, 4, 0, 0, 0, 0, kNoHand)->AsListLine()->GetKey(), 15);
  EXPECT_EQ(line.Transpose(0, kToEnd, kToEnd, 4, 0, 0, 0, 0, kNoHand)->AsListLine()->GetKey(), 9);
}

struct KeyChangeCase {
  int oldKey;
  int targetKey;
  int direction;
  int newKey;
};

TEST_F(KTabLineTransposeTest, KeyChangeColumnsAreTransposedUnlessTheShiftIsAnOctave) {
  // From key 0 (pitch class 0). Old key 9 is pitch class 0, 6 pitch class 1,
  // 4 (even) pitch class 6.
  const KeyChangeCase cases[] = {
      {9, 2, 0, 5},                  // +2: class 2
      {9, 0, 0, 9},                  // an octave: unchanged
      {9, 0, 1, 9},   {6, 1, 0, 5},  // class 1 + 1 = 2
      {4, 11, 0, 10},                // class 6 + 9 -> 3; an even key changes only index 5 and 10
      {9, 7, 0, 11},                 // class 5
  };
  for (const KeyChangeCase& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {KeySig(0, c.oldKey), TabNotes(1, {{2, 0}})});
    auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, c.targetKey, 0, c.direction, 0, 0, kNoHand));
    const KChord& column = TabColumnAt(*moved, 0);
    ASSERT_EQ(column.GetRawNote(0).code, KChord::kKeySignature);
    EXPECT_EQ(column.GetRawNote(1).code, c.newKey) << c.oldKey << " to key " << c.targetKey;
  }
}

TEST_F(KTabLineTransposeTest, EvenOldKeysSpellIndexFiveAndTenAsFourteenAndTwelve) {
  // Old key 0 is key number 5, pitch class 4: +1 gives index 5, +6 index 10.
  for (auto [target, expected] : {std::pair{1, 14}, std::pair{8, 12}}) {
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {KeySig(0, 0), TabNotes(1, {{2, 0}})});
    auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, target, 0, 0, 0, 0, kNoHand));
    EXPECT_EQ(TabColumnAt(*moved, 0).GetRawNote(1).code, expected);
  }
}

TEST_F(KTabLineTransposeTest, OnlyTheRangeMovesAndAttachmentsFollowTheirNote) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 0}}), TabBar(1), TabNotes(2, {{2, 0}}), TabNotes(3, {{2, 0}})});
  line.AddAttachment(new KExtendedObj(2, 2, 0, 5, 0, 30, 10));         // on the moved note's row
  line.AddAttachment(new KExtendedObj(3, 2, 0, 5, 0, 30, 10));         // outside the range
  auto moved = AsTab(line.Transpose(1, 2, kToEnd, 5, 0, 0, 1, 0, 9));  // +4 near fret 9
  EXPECT_EQ(FretsOf(TabColumnAt(*moved, 0)), (Frets{{2, 0}}));
  EXPECT_EQ(FretsOf(TabColumnAt(*moved, 3)), (Frets{{2, 0}}));
  EXPECT_TRUE(TabColumnAt(*moved, 1).IsBarColumn());
  const Frets placed = FretsOf(TabColumnAt(*moved, 2));
  EXPECT_EQ(placed, (Frets{{3, 9}}));
  ASSERT_EQ(moved->GetAttachmentCount(), 2);
  const CObList& attachments = *moved->GetAttachments();
  EXPECT_EQ(static_cast<KExtendedObj*>(attachments.GetHead())->GetRow(), 3);
  EXPECT_EQ(static_cast<KExtendedObj*>(attachments.GetTail())->GetRow(), 2);
}

TEST_F(KTabLineTransposeTest, TheSourceLineKeepsItsBytesAndAnEmptyLineCopiesItsAttachments) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}, {4, 2}}), TabBar(1)});
  const Bytes before = StoreFields(line);
  auto moved = line.Transpose(0, kToEnd, kToEnd, 3, 0, 2, 0, 0, 5);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(StoreFields(line), before);

  KTabLine empty(0, kStandardTuning, 0);
  empty.SetStaffLength(1234);
  empty.AddAttachment(new KExtendedObj(4, 1, 1, 5, 0, 30, 10));
  auto copy = AsTab(empty.Transpose(0, kToEnd, kToEnd, 3, 0, 0, 0, 0, kNoHand));
  EXPECT_EQ(copy->GetObjCount(), 0);
  EXPECT_EQ(copy->GetAttachmentCount(), 1);
  EXPECT_EQ(copy->GetStaffLength(), 1234);
}

TEST_F(KTabLineTransposeTest, KeyNumbersOutsideTheTableAreRefused) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}})});
  const Bytes before = StoreFields(line);
  for (auto [target, source] : {std::pair{16, 0}, std::pair{-1, 0}, std::pair{0, 99}, std::pair{0, -5}}) {
    EXPECT_EQ(line.Transpose(0, kToEnd, 0, target, source, 0, 0, 0, kNoHand), nullptr);
  }
  EXPECT_EQ(StoreFields(line), before);
}

TEST_F(KTabLineTransposeTest, AFretListDropsSemitonesItDoesNotHold) {
  // A dulcimer fret list: no fret plays 1 semitone above the open string.
  KTabLine line(0, CString("E A D G B E  323742475156!@@!2,3,4,5,7,9,10,11,12"), 0);
  Fill(line, {TabNotes(0, {{2, 0}})});
  auto moved = AsTab(line.Transpose(0, kToEnd, kToEnd, 1, 0, 0, 0, 0, kNoHand));  // +1 semitone
  const Frets placed = FretsOf(TabColumnAt(*moved, 0));
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_NE(placed[0].row, 2);
  for (const RowFret& f : placed) {
    EXPECT_EQ(moved->GetPitchAt(f.row, KChord::kFirstFret + f.fret), 57);
  }
}

}  // namespace
