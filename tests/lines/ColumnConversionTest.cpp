// Converting note columns between a staff and a tablature line through the
// two real lines: staff notes go onto strings at the hand position, tablature
// cells onto the staff rows of their pitches with the signs the staff needs
// there, and a note that no string can take is dropped with one beep.

#include <memory>
#include <string>

#include "StaffConversionTestSupport.h"
#include "lines/LineColumnConversion.h"

namespace {

class ColumnConversionTest : public StaffConversionTest {};

constexpr int kE4 = 22;
constexpr int kC5 = 17;
constexpr int kD3 = 30;  // below the guitar's low E

struct ToTabCase {
  const char* what;
  int positionCode;
  std::initializer_list<Entry> notes;
  Frets frets;
  int beeps;
};

TEST_F(ColumnConversionTest, StaffNotesGoOntoStrings) {
  const ToTabCase cases[] = {
      {"open position", 0, {{kE4, kQuarter}, {kC5, kQuarter}}, {{3, 1}, {5, 2}}, 0},
      {"seventh position", 8000, {{kE4, kQuarter}}, {{6, 7}}, 0},
      {"a note below every string is dropped with one beep",
       0,
       {{kE4, kQuarter}, {kD3, kQuarter}},
       {{5, 2}},
       1},
  };
  for (const ToTabCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t beepsBefore = m_ui.Beeps().size();
    KStaffLine staff(kTreble, 0, 0);
    KTabLine tab(0, kStandardTuning, 0);
    LineColumnConversion lines(staff, tab);
    std::unique_ptr<KChord> source(Column(2, c.notes));
    std::unique_ptr<KChord> converted(source->ConvertColumn(kTreble, kTab, &lines, 2, c.positionCode));
    ASSERT_NE(converted, nullptr);
    EXPECT_TRUE(converted->IsTabColumn());
    EXPECT_EQ(FretsOf(*converted), c.frets);
    EXPECT_EQ(m_ui.Beeps().size() - beepsBefore, std::size_t(c.beeps));
  }
}

struct ToStaffCase {
  const char* what;
  int staffKind;
  int staffKey;
  bool sharpEarlier;  // the staff already has F sharp 4 written at column 0
  Frets frets;
  const char* cells;
};

TEST_F(ColumnConversionTest, TablatureCellsGoOntoStaffRows) {
  const ToStaffCase cases[] = {
      {"E4", kTreble, 0, false, {{5, 2}}, "1:8@22"},
      {"F sharp 4 in C", kTreble, 0, false, {{5, 4}}, "1:8@21,28@21"},
      {"F sharp 4 in G", kTreble, 2, false, {{5, 4}}, "1:8@21"},
      {"F sharp 4 after one in the bar", kTreble, 0, true, {{5, 4}}, "1:8@21"},
      {"F sharp 4 on a bass staff", kBass, 0, false, {{5, 4}}, "1:8@9,28@9"},
      {"low E on a bass staff", kBass, 0, false, {{7, 0}}, "1:8@17"},
      // Two octaves above high E lies above row 1 of a bass staff's range.
      {"high E at 12 on a bass staff is dropped", kBass, 0, false, {{2, 12}, {7, 0}}, "1:8@17"},
  };
  for (const ToStaffCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(c.staffKind, c.staffKey, 0);
    if (c.sharpEarlier) {
      Fill(staff, {Column(0, {{21, kSharpSign}, {21, kQuarter}})});
    }
    KTabLine tab(c.staffKey, kStandardTuning, 0);
    LineColumnConversion lines(staff, tab);
    std::unique_ptr<KChord> cell(TabNotes(1, c.frets));
    std::unique_ptr<KChord> converted(cell->ConvertColumn(kTab, c.staffKind, &lines, 1, 0));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(CellText(*converted), c.cells);
  }
}

TEST_F(ColumnConversionTest, LinesAnswerTuningAndKey) {
  KStaffLine staff(kTreble, 0, 0);
  KTabLine tab(6, "D A D G B E  303742475156", 0);
  LineColumnConversion lines(staff, tab);
  EXPECT_EQ(lines.GetTabTuning(), CString("D A D G B E  303742475156"));
  EXPECT_EQ(lines.GetKeySignatureAt(5), 6);
}

struct CellRowCase {
  const char* what;
  int code;
  int stringRow;
  Frets cell;
  int row;  // treble staff row; -1 none
};

TEST_F(ColumnConversionTest, CellsOffTheNotesHaveRowsOfTheirOwn) {
  const CellRowCase cases[] = {
      {"whole column", KChord::kFirstFret, 1000, {}, 1000},
      {"above the strings", 36, 0, {}, 5},
      {"below the strings", 36, 9, {}, 32},
      {"a rest on a middle string", 16, 4, {}, 18},
      {"delete over a fret", 32762, 5, {{5, 2}}, 22},
      {"delete on an empty string is the open string", 32762, 2, {}, 15},
      {"a dot beside a fret", 36, 5, {{5, 2}}, 22},
      {"internal code", 32761, 5, {}, -1},
      {"time signature", KChord::kTimeSignature, 5, {}, -1},
      {"out of the column", 36, 10, {}, -1},
      {"negative row", 36, -3, {}, -1},
  };
  KStaffLine staff(kTreble, 0, 0);
  KTabLine tab(0, kStandardTuning, 0);
  for (const CellRowCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<KChord> cell(TabNotes(0, c.cell));
    int accidental = -1;
    EXPECT_EQ(
        LineColumnConversion::StaffRowOfTabCell(staff, tab, accidental, c.code, 0, c.stringRow, *cell, 0),
        c.row);
    EXPECT_EQ(accidental, 0);
  }
}

}  // namespace
