// Translating a tablature line: which kinds it makes, staves that sound the
// same pitches with the accidentals they need, signatures and attachments on
// the staff, the rhythm line's symbols, the text line's tablature, and the
// staff row of single cells.

#include <algorithm>

#include "TabLineTestSupport.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineDefaults.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/TranslationServices.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"

namespace {

class KTabLineTranslateTest : public TabLineTest {
 protected:
  KTabLineTranslateTest() {
    ResetTranslationServices();
    ResetRhythmLineDefaults();
    CRuntimeClass::Register({RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KRhythmLine), RUNTIME_CLASS(KStrLine)});
  }
  ~KTabLineTranslateTest() override { ResetTranslationServices(); }
};

// The pitches of the notes (codes below 14) of a staff column, sorted.
std::vector<int> StaffPitches(const KStaffLine& staff, int pos) {
  std::vector<int> pitches;
  const KChord& column = TabColumnAt(staff, pos);
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (note.code < 14) pitches.push_back(staff.GetPitchAtRow(note.position, pos));
  }
  std::sort(pitches.begin(), pitches.end());
  return pitches;
}

std::pair<int, int> Pair(const NotePair& note) { return {note.position, note.code}; }

std::vector<int> TabPitches(const KTabLine& line, int pos) {
  std::vector<int> pitches;
  for (const RowFret& f : FretsOf(TabColumnAt(line, pos))) {
    pitches.push_back(line.GetPitchAt(f.row, KChord::kFirstFret + f.fret));
  }
  std::sort(pitches.begin(), pitches.end());
  return pitches;
}

struct KindCase {
  const char* tuning;
  DWORD flags;
  int kind;
  int resultKind;  // -1: no line
};

TEST_F(KTabLineTranslateTest, EachTargetKindGivesItsLineAndTheSourceStaysAsItWas) {
  const KindCase cases[] = {
      {"E A D G B E  323742475156", 0, 0, 0},   {"  E A D G   *002025303500", KTabLine::kFlagBass, 0, 1},
      {"E A D G B E  323742475156", 0, 1, 1},   {"E A D G B E  323742475156", 0, 3, 3},
      {"E A D G B E  323742475156", 0, 5, 5},   {"E A D G B E  323742475156", 0, 2, -1},
      {"E A D G B E  323742475156", 0, 4, -1},  {"E A D G B E  323742475156", 0, 15, -1},
      {"E A D G B E  323742475156", 0, -7, -1},
  };
  for (const KindCase& c : cases) {
    KTabLine line(0, c.tuning, c.flags);
    Fill(line, {TabNotes(0, {{4, 2}}), TabBar(1)});
    const Bytes before = StoreFields(line);
    auto result = line.TranslateTo(0, c.kind, 1, 0, 3, "ignored", 0);
    EXPECT_EQ(result ? result->GetType() : -1, c.resultKind) << c.tuning << " to " << c.kind;
    EXPECT_EQ(StoreFields(line), before) << c.kind;
  }
}

TEST_F(KTabLineTranslateTest, TheTextLineHoldsThePlainTextTablatureInTheMode) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{3, 12}}), TabNotes(2, {{5, 3}})});
  for (int mode : {0, 1, 2}) {
    auto result = line.TranslateTo(0, 5, mode, 0, 7, "", 0);
    ASSERT_NE(result, nullptr);
    const auto& text = static_cast<const KStrLine&>(*result);
    EXPECT_EQ(text.GetText(), *line.WriteText(0, 10000, mode));
  }
}

TEST_F(KTabLineTranslateTest, StavesSoundTheTablaturesPitches) {
  KTabLine line(0, kStandardTuning, 0);
  // Open strings, a C major chord, and a high and a low melody note.
  Fill(line, {TabNotes(0, {{2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}),
              TabNotes(1, {{3, 1}, {4, 0}, {5, 2}, {6, 3}}), TabNotes(2, {{2, 8}}), TabNotes(3, {{7, 3}})});
  for (int kind : {0, 1}) {
    auto result = line.TranslateTo(0, kind, 0, 0, 0, "", 0);
    ASSERT_NE(result, nullptr);
    const auto& staff = static_cast<const KStaffLine&>(*result);
    for (int pos = 0; pos <= 3; ++pos) {
      const std::vector<int> pitches = StaffPitches(staff, pos);
      const std::vector<int> tab = TabPitches(line, pos);
      // A staff drops what lies beyond its 36 rows; what it shows sounds right.
      for (int p : pitches) EXPECT_NE(std::find(tab.begin(), tab.end(), p), tab.end()) << kind << " @" << pos;
      if (kind == 0 && pos <= 2) {
        EXPECT_EQ(pitches, tab) << "treble @" << pos;
      }
    }
  }
}

TEST_F(KTabLineTranslateTest, AChromaticNoteGetsItsAccidentalOnItsRowFirst) {
  KTabLine line(0, kStandardTuning, 0);
  // F sharp on the first string (fret 2), then the plain F (fret 1).
  Fill(line, {TabNotes(0, {{2, 2}}), TabNotes(1, {{2, 1}})});
  auto result = line.ConvertToStaff(0, 0);
  const auto& staff = static_cast<const KStaffLine&>(*result);
  const KChord& sharp = TabColumnAt(staff, 0);
  ASSERT_EQ(sharp.GetNoteCount(), 2);
  EXPECT_EQ(sharp.GetNote(0).code, 28);
  EXPECT_EQ(sharp.GetNote(0).position, sharp.GetNote(1).position);
  EXPECT_EQ(sharp.GetNote(1).code, 8);  // the quarter note's duration code
  EXPECT_EQ(StaffPitches(staff, 0), TabPitches(line, 0));
  const KChord& natural = TabColumnAt(staff, 1);
  EXPECT_EQ(natural.GetNote(0).code, 27);  // the sharp earlier in the bar is cancelled
  EXPECT_EQ(StaffPitches(staff, 1), TabPitches(line, 1));
}

TEST_F(KTabLineTranslateTest, SignaturesMarksAndAttachmentsReachTheStaff) {
  KTabLine line(0, kStandardTuning, 0);
  // A 3/4 time signature, a key change, a note with a mark on its row, and a
  // mark above the strings (row 0) without a note.
  Fill(line, {TimeSig(0, 102, 103), KeySig(1, 4), TabNotes(2, {{4, 0}}, {{4, 42}, {0, 64}})});
  line.AddAttachment(new KExtendedObj(2, 4, 0, 5, 0, 30, 10));
  line.AddAttachment(new KExtendedObj(2, 12, 0, 5, 0, 30, 10));  // beyond the table
  auto result = line.ConvertToStaff(0, 0);
  const auto& staff = static_cast<const KStaffLine&>(*result);
  const KChord& time = TabColumnAt(staff, 0);
  ASSERT_EQ(time.GetNoteCount(), 3);
  EXPECT_EQ(Pair(time.GetNote(0)), (std::pair{0, 225}));
  EXPECT_EQ(Pair(time.GetNote(1)), (std::pair{1, 102}));
  EXPECT_EQ(Pair(time.GetNote(2)), (std::pair{2, 103}));
  const KChord& key = TabColumnAt(staff, 1);
  EXPECT_EQ(Pair(key.GetNote(0)), (std::pair{0, 254}));
  EXPECT_EQ(Pair(key.GetNote(1)), (std::pair{1, 4}));
  EXPECT_TRUE(staff.TestFlags(KLineObj::kFlagKeyChanges));
  const KChord& note = TabColumnAt(staff, 2);
  const int noteRow = note.GetNote(0).position;
  EXPECT_EQ(RowsOfCode(note, 42), std::vector<int>{noteRow});
  EXPECT_EQ(RowsOfCode(note, 64), std::vector<int>{0});
  ASSERT_EQ(staff.GetAttachmentCount(), 2);
  const CObList& attachments = *const_cast<KStaffLine&>(staff).GetAttachments();
  // The later attachment stands first at its column.
  EXPECT_EQ(static_cast<KExtendedObj*>(attachments.GetHead())->GetRow(), 31);
  EXPECT_EQ(static_cast<KExtendedObj*>(attachments.GetTail())->GetRow(), 14);
}

TEST_F(KTabLineTranslateTest, TheRhythmLineShowsEachColumnsValueOrSymbol) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 0}}, {}, 0, 0, 8), TabNotes(1, {{2, 0}}, {}, 0, 0, 2), TabBar(2),
              TabNotes(3, {}, {{5, 16}})});
  auto result = line.ConvertToRhythm(0);
  ASSERT_NE(result, nullptr);
  auto& rhythm = static_cast<KRhythmLine&>(*result);
  std::vector<int> codes;
  for (POSITION node = rhythm.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const int code = static_cast<KRhythmObj*>(rhythm.GetObjList()->GetNext(node))->GetCode();
    if (code >= KRhythmObj::kFirstSymbolCode) codes.push_back(code);  // text runs fill the gaps
  }
  // Quarter 210, sixteenth 228, bar 200, quarter rest 217.
  EXPECT_EQ(codes, (std::vector<int>{210, 228, 200, 217}));
}

struct CellCase {
  int code;
  int row;
  int expected;  // -2: the treble staff row of the cell's pitch
};

TEST_F(KTabLineTranslateTest, ACellMapsToTheStaffRowOfItsPitchOrItsPlace) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{3, 1}}, {{3, 42}}), TabNotes(1, {{2, 0}}, {{5, 16}})});
  const CellCase cases[] = {
      {230, 1000, 1000},               // the whole column
      {64, 0, 5},                      // rows above the strings spread over the rows above the staff
      {64, 1, 9},        {64, 8, 29},  // below the strings
      {225, 3, -1},      {254, 3, -1}, {32765, 3, -1}, {16, 5, 18},  // a rest on a middle string
      {16, 4, 18},       {230, 2, -2},                               // fret 4 on the first string
      {42, 3, -2},                                                   // a mark takes its row's fret
      {236, 7, -2},
  };
  const KStaffLine treble(0, 0, 0);
  for (const CellCase& c : cases) {
    int accidental = -1;
    const KChord& cell = TabColumnAt(line, 0);
    int expected = c.expected;
    int expectedAccidental = 0;
    if (expected == -2) {
      const int fret = c.code >= 226 ? c.code - 226 : 1;
      expected = treble.PitchToRow(line.GetPitchAt(c.row, 226 + fret) + 20, -1, expectedAccidental, 0);
    }
    EXPECT_EQ(line.TabCellToStaffRow(accidental, c.code, 0, c.row, cell, 0), expected)
        << "code " << c.code << " row " << c.row;
    if (c.expected == -2) {
      EXPECT_EQ(accidental, expectedAccidental) << "code " << c.code;
    }
  }
  int accidental = 0;
  EXPECT_EQ(line.TabCellToStaffRow(accidental, 32762, 1, 5, TabColumnAt(line, 1), 0), 18);
}

}  // namespace
