// Retuning a tablature line with and without carrying its notes over,
// re-fingering columns at a hand position, and the hand position of a column.

#include <cstdlib>

#include "TabLineTestSupport.h"
#include "lines/KSpeedLine.h"

namespace {

using KTabLineRetuneTest = TabLineTest;

const CString kWholeToneDown = "D G C F A D  303540455054";

// ---- Without carrying the notes over ------------------------------------------

TEST_F(KTabLineRetuneTest, TheLineTakesTheTuningKindAndBassFlag) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}, {7, 0}})});
  line.ClearChanged();

  EXPECT_EQ(line.SetTuning(0, kBassTuning4, 0), nullptr);
  EXPECT_EQ(line.GetType(), 15);
  EXPECT_TRUE(line.TestFlags(KTabLine::kFlagBass));
  EXPECT_EQ(line.GetStringCount(), 4);
  EXPECT_TRUE(line.IsChanged());
  EXPECT_EQ(line.GetDrawingCache()->GetTuning(), kBassTuning4);
  EXPECT_EQ(line.GetDrawingCache()->GetFlagWord(), line.GetFlagWord());

  // A bass request makes a bass line of any tuning; a treble tuning without
  // the request makes a treble line again.
  line.SetTuning(1, kWholeToneDown, 0);
  EXPECT_EQ(line.GetType(), 15);
  line.SetTuning(0, kWholeToneDown, 0);
  EXPECT_EQ(line.GetType(), 2);
  EXPECT_FALSE(line.TestFlags(KTabLine::kFlagBass));
  EXPECT_EQ(line.GetTuning(), kWholeToneDown);
}

TEST_F(KTabLineRetuneTest, FretsStayWhereTheyAre) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}, {5, 2}, {7, 0}})});
  line.SetTuning(0, "D A D G B E  303742475156", 0);
  EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), (Frets{{2, 3}, {5, 2}, {7, 0}}));
  EXPECT_EQ(line.GetPitchAt(7, 226), 30);
}

TEST_F(KTabLineRetuneTest, ASeventhStringWidensTheSpaceBelowOnce) {
  KTabLine line(0, kStandardTuning, 0);
  ASSERT_EQ(line.GetSpaceBelow(0), 12);
  line.SetTuning(0, "E A D G B E  323742475156/", 0);
  EXPECT_EQ(line.GetSpaceBelow(0), 32);
  line.SetTuning(0, "E A D G B E  323742475156/*", 0);
  EXPECT_EQ(line.GetSpaceBelow(0), 32);
  EXPECT_EQ(line.GetDrawingCache()->GetSpaceBelow(0), 32);
}

// Frets on strings the new tuning does not have would stay invisible and
// unplayable on the line: they go, with the symbols of their string.
TEST_F(KTabLineRetuneTest, FewerStringsRemoveTheNotesOfTheLostStrings) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}, {4, 5}, {7, 0}}, {{7, 42}, {1, 16}}), TabNotes(1, {{6, 1}})});
  line.SetTuning(0, kBassTuning4, 0);
  const KChord& first = TabColumnAt(line, 0);
  EXPECT_EQ(FretsOf(first), (Frets{{4, 5}}));
  EXPECT_TRUE(RowsOfCode(first, 42).empty());
  EXPECT_EQ(RowsOfCode(first, 16), std::vector<int>{1});
  EXPECT_EQ(FretsOf(TabColumnAt(line, 1)), (Frets{{6, 1}}));
}

// ---- Carrying the notes over ------------------------------------------------------

const CString kTopG = "E A D G B G  323742475159";
const CString kLowF = "F A D G B E  333742475156";
const CString kDiatonicGuitar = "E A D G B E  323742475156!@@!16,2,4,5,7,9,10,11,12,14,16,17,19";

struct CarryCase {
  CString from;
  DWORD fromFlags;
  Frets notes;
  CString to;
  Frets expected;
};

TEST_F(KTabLineRetuneTest, EveryNoteKeepsItsPitchOnTheNewStrings) {
  // clang-format off
  const CarryCase cases[] = {
      // A whole tone down: the same strings, two frets higher.
      {kStandardTuning, 0, {{2, 0}, {4, 2}, {7, 3}}, kWholeToneDown, {{2, 2}, {4, 4}, {7, 5}}},
      // Drop D: only the low string changes.
      {kStandardTuning, 0, {{2, 1}, {7, 3}}, "D A D G B E  303742475156", {{2, 1}, {7, 5}}},
      // Out of reach of the column's lowest fret: one string higher.
      {kStandardTuning, 0, {{6, 7}, {7, 0}}, kWholeToneDown, {{5, 4}, {7, 2}}},
      // Below the new open string: one string lower, or dropped when that one
      // is taken, or when it is the lowest string.
      {kStandardTuning, 0, {{2, 0}}, kTopG, {{3, 5}}},
      {kStandardTuning, 0, {{2, 0}, {3, 1}}, kTopG, {{3, 1}}},
      {kStandardTuning, 0, {{2, 0}, {7, 0}}, kLowF, {{2, 0}}},
      // Above the new fret count, or a semitone the new fret list lacks: dropped.
      {kStandardTuning, 0, {{2, 11}, {5, 2}}, "D G C F A D  303540455054!@@!12", {{5, 4}}},
      {kStandardTuning, 0, {{2, 3}, {3, 2}}, kDiatonicGuitar, {{3, 1}}},
      // A fret list counts frets, not semitones: 19 semitones are its fret 12 of 16.
      {kStandardTuning, 0, {{2, 19}}, kDiatonicGuitar, {{2, 12}}},
      // Fewer strings: the notes of the lost strings take a free string that
      // plays them, or go; none is left on a string the tuning lacks.
      {kStandardTuning, 0, {{2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}, kBassTuning4,
       {{3, 16}, {4, 17}, {5, 17}, {6, 17}}},
      {kStandardTuning, 0, {{2, 0}, {6, 2}}, kBassTuning4, {{3, 21}, {6, 19}}},
      {kBassTuning8, 0x20, {{9, 15}, {2, 0}}, kBassTuning4, {{3, 5}, {6, 0}}},
      // More strings.
      {"  G D A E    003542495600", 0, {{3, 0}, {6, 0}}, kStandardTuning, {{3, 5}, {7, 3}}},
  };
  // clang-format on
  for (const CarryCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " to " << c.to);
    KTabLine line(0, c.from, c.fromFlags);
    Frets sorted = c.notes;  // in row order, as columns keep them
    std::sort(sorted.begin(), sorted.end());
    KChord* column = TabNotes(4, sorted);
    Fill(line, {column});
    const Bytes before = StoreObject(line);

    std::unique_ptr<KTabLine> carried = line.SetTuning(0, c.to, 1);
    ASSERT_NE(carried, nullptr);
    EXPECT_EQ(carried->GetTuning(), c.to);
    EXPECT_EQ(FretsOf(TabColumnAt(*carried, 4)), c.expected);
    const int first = carried->GetStringRowLimit(KTabLine::kFirstRow);
    const int last = carried->GetStringRowLimit(KTabLine::kLastRow);
    for (const RowFret& note : FretsOf(TabColumnAt(*carried, 4))) {
      EXPECT_TRUE(note.row >= first && note.row <= last) << "row " << note.row;
    }
    // The source line is left as it was.
    EXPECT_EQ(StoreObject(line), before);
  }
}

TEST_F(KTabLineRetuneTest, TheEntriesOfARowFollowTheirNote) {
  KTabLine line(0, kStandardTuning, 0);
  // Column 0: the first string's note moves one string lower, its hammer mark
  // (42) with it; the rest (16) on row 1 stays. Column 1: the first string's
  // note is dropped (the string below is taken), its mark with it.
  Fill(line, {TabNotes(0, {{2, 0}}, {{2, 42}, {1, 16}}), TabNotes(1, {{2, 0}, {3, 1}}, {{2, 42}, {3, 44}})});
  auto carried = line.SetTuning(0, "E A D G B G  323742475159", 1);
  const KChord& moved = TabColumnAt(*carried, 0);
  EXPECT_EQ(FretsOf(moved), (Frets{{3, 5}}));
  EXPECT_EQ(RowsOfCode(moved, 42), std::vector<int>{3});
  EXPECT_EQ(RowsOfCode(moved, 16), std::vector<int>{1});
  const KChord& dropped = TabColumnAt(*carried, 1);
  EXPECT_EQ(FretsOf(dropped), (Frets{{3, 1}}));
  EXPECT_TRUE(RowsOfCode(dropped, 42).empty());
  EXPECT_EQ(RowsOfCode(dropped, 44), std::vector<int>{3});
}

TEST_F(KTabLineRetuneTest, TheNewLineKeepsTheLayoutAttachmentsAndColumnsOfTheOld) {
  KTabLine line(4, kStandardTuning, 0);
  line.SetStaffLength(500);
  line.SetIndent(16);
  line.SetSpaceAbove(20, 0);
  line.AddAttachment(new KExtendedObj(1, 3, 0, 5, 0, 30, 10));
  Fill(line, {TabNotes(0, {{2, 0}}, {}, 3, 5), TabBar(1), TabNotes(2, {{7, 0}})});

  auto carried = line.SetTuning(0, kWholeToneDown, 1);
  EXPECT_EQ(carried->GetKey(), 4);
  EXPECT_EQ(carried->GetStaffLength(), 500);
  EXPECT_EQ(carried->GetIndent(), 16);
  EXPECT_EQ(carried->GetSpaceAbove(0), 20);
  EXPECT_EQ(carried->GetAttachmentCount(), 1);
  EXPECT_EQ(Positions(*carried->GetObjList()), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(TabColumnAt(*carried, 1).IsBarColumn());
  EXPECT_EQ(TabColumnAt(*carried, 0).GetVoiceStem(0), 3);
  EXPECT_EQ(TabColumnAt(*carried, 0).GetVoiceStem(1), 5);
  EXPECT_EQ(TabColumnAt(*carried, 0).GetRhythmCode(), TabColumnAt(line, 0).GetRhythmCode());
  ASSERT_NE(carried->GetDrawingCache(), nullptr);
  EXPECT_EQ(carried->GetDrawingCache()->GetTuning(), kWholeToneDown);
}

TEST_F(KTabLineRetuneTest, TheNewLabelNamesTheTuningKindOnce) {
  struct Case {
    const char* label;
    CString tuning;
    const char* expected;
  } cases[] = {
      {"Lead", kWholeToneDown, "Lead AltT"},
      {"Lead!@!data", kWholeToneDown, "Lead AltT"},
      {"Bass", kBassTuning4, "Bass BTab"},
      {"", kWholeToneDown, " AltT"},
      // A name that already carries the suffix leaves the label to the command.
      {"Lead AltT", kWholeToneDown, ""},
  };
  for (const Case& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    line.SetLabel(c.label);
    EXPECT_EQ(line.SetTuning(0, c.tuning, 1)->GetLabel(), CString(c.expected)) << c.label;
  }
}

// ---- Hand positions -------------------------------------------------------------------

struct HandCase {
  const char* name;
  Frets notes;
  int hand;
  int keepOpen;
  Frets expected;
};

TEST_F(KTabLineRetuneTest, NotesMoveToTheStringsUnderTheHand) {
  const HandCase cases[] = {
      {"open string below the hand: next string down", {{4, 0}}, 5, 0, {{5, 5}}},
      {"open strings kept", {{4, 0}}, 5, 1, {{4, 0}}},
      {"playable at the hand higher up: up", {{3, 7}}, 0, 0, {{2, 2}}},
      {"below the hand: down to the string that reaches it", {{6, 2}}, 5, 0, {{7, 7}}},
      {"at the hand and not higher up: stays", {{5, 5}}, 5, 0, {{5, 5}}},
      {"two notes", {{4, 0}, {6, 3}}, 5, 0, {{5, 5}, {7, 8}}},
      {"nothing reaches it: stays", {{7, 1}}, 7, 0, {{7, 1}}},
  };
  for (const HandCase& c : cases) {
    SCOPED_TRACE(c.name);
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(3, c.notes)});
    EXPECT_GE(line.MoveToFretPosition(0, 10, c.hand, c.keepOpen), 0);
    EXPECT_EQ(FretsOf(TabColumnAt(line, 3)), c.expected);
  }
}

TEST_F(KTabLineRetuneTest, RefingeringTouchesOnlyNoteColumnsOfTheRange) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(1, {{4, 0}}), TabNotes(2, {{4, 0}}, {{4, 42}}), TabBar(3), TimeSig(4, 103, 103),
              TabNotes(5, {{4, 0}})});
  line.ClearChanged();
  line.MoveToFretPosition(2, 5, 5, 0);
  EXPECT_TRUE(line.IsChanged());
  EXPECT_EQ(FretsOf(TabColumnAt(line, 1)), (Frets{{4, 0}}));
  EXPECT_EQ(FretsOf(TabColumnAt(line, 2)), (Frets{{5, 5}}));
  EXPECT_EQ(RowsOfCode(TabColumnAt(line, 2), 42), std::vector<int>{5});
  EXPECT_TRUE(TabColumnAt(line, 3).IsBarColumn());
  EXPECT_EQ(FretsOf(TabColumnAt(line, 5)), (Frets{{4, 0}}));

  KTabLine empty(0, kStandardTuning, 0);
  EXPECT_EQ(empty.MoveToFretPosition(0, 10, 5, 0), -1);
}

// The beam groups in the range are laid out again for the moved notes; a
// group outside it keeps the stems it has (which the user may have set).
TEST_F(KTabLineRetuneTest, RefingeringLaysOutTheBeamsOfTheRangeOnly) {
  constexpr int kEighth = 0;
  auto eighths = [](KTabLine& line, Frets first, Frets second) {
    Fill(line, {TabNotes(0, first, {}, 0, 0, kEighth), TabNotes(1, second, {}, 0, 0, kEighth), TabBar(2),
                TabNotes(5, {{4, 0}}, {}, 0, 0, kEighth), TabNotes(6, {{4, 2}}, {}, 0, 0, kEighth)});
    line.BeamRange(line.FindNodeAt(0, 0), line.FindNodeAt(1, 0), 1, 0);
    line.BeamRange(line.FindNodeAt(5, 0), line.FindNodeAt(6, 0), 1, 0);
  };
  auto stems = [](const KTabLine& line) {
    std::vector<int> out;
    for (int pos : {0, 1, 5, 6}) out.push_back(TabColumnAt(line, pos).GetVoiceStem(1));
    return out;
  };
  KTabLine line(0, kStandardTuning, 0);
  eighths(line, {{4, 0}}, {{4, 2}});
  // Both groups as if the user had moved their beams (the group marks kept).
  for (int pos : {0, 1, 5, 6}) {
    auto& column = const_cast<KChord&>(TabColumnAt(line, pos));
    const int stem = column.GetVoiceStem(1);
    ASSERT_GT(std::abs(stem), 6);
    column.SetVoiceStem(1, stem + (stem > 0 ? 20 : -20));
  }
  const std::vector<int> custom = stems(line);

  line.MoveToFretPosition(0, 3, 5, 0);
  KTabLine expected(0, kStandardTuning, 0);
  eighths(expected, {{5, 5}}, {{5, 7}});
  EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), (Frets{{5, 5}}));
  EXPECT_EQ(FretsOf(TabColumnAt(line, 1)), (Frets{{5, 7}}));
  const std::vector<int> after = stems(line);
  const std::vector<int> relaid = stems(expected);
  EXPECT_EQ(std::vector<int>(after.begin(), after.begin() + 2),
            std::vector<int>(relaid.begin(), relaid.begin() + 2));
  EXPECT_EQ(std::vector<int>(after.begin() + 2, after.end()),
            std::vector<int>(custom.begin() + 2, custom.end()));
}

TEST_F(KTabLineRetuneTest, HandPositionOfTheNearestColumnWithFrets) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(1, {{4, 7}, {7, 0}}), TabBar(2), TabNotes(4, {{3, 0}, {5, 5}}),
              TabNotes(6, {}, {{4, 16}}), TabNotes(8, {{2, 7}, {3, 9}})});
  struct Case {
    int column;
    int lowest;
    int average;
    int highest;
  } cases[] = {
      {1, 0, 7, 7},  // the open string is left out from fret 6 up
      {3, 0, 7, 7},  // the bar before it holds no frets
      {4, 0, 2, 5},  // below fret 6 the open string counts
      {7, 0, 2, 5},  // the rest column before it holds no frets
      {8, 7, 8, 9}, {0, 0, 0, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(line.GetFretPositionStat(c.column, 0), c.lowest) << c.column;
    EXPECT_EQ(line.GetFretPositionStat(c.column, 1), c.average) << c.column;
    EXPECT_EQ(line.GetFretPositionStat(c.column, 2), c.highest) << c.column;
  }
}

}  // namespace
