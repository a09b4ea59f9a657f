// A symbol entered on a tablature line and mirrored onto its staff: frets
// become notes of the entered value on the row of their pitch, with the sign
// the key needs; cells without a place on the staff, and pairings other than
// treble/treble and bass/bass, change nothing.

#include <climits>
#include <memory>
#include <string>

#include "StaffConversionTestSupport.h"

namespace {

constexpr int kQuarterRhythm = 150;  // tablature rhythm code of a quarter note (8)
constexpr int kColumn = 3;
constexpr int kBlank = 32761;
constexpr int kDelete = 32762;
constexpr int kFermata = 26;

int Fret(int fret) { return KChord::kFirstFret + fret; }

struct MirrorCase {
  const char* what;
  int code;
  int stringRow;
  Frets cell = {};  // frets of the tablature column under the caret
  int staffKind = kTreble;
  int staffKey = 0;
  int tabKind = kTab;
  const char* tuning = "E A D G B E  323742475156";
  const char* cells;  // the staff afterwards; "" when nothing may change
};

class StaffEnterSymbolTest : public StaffConversionTest {};

TEST_F(StaffEnterSymbolTest, TablatureEntryLandsOnTheRowOfItsPitch) {
  const MirrorCase cases[] = {
      {.what = "E4 on the D string", .code = Fret(2), .stringRow = 5, .cells = "3:8@22"},
      {.what = "F sharp in C writes the sharp first",
       .code = Fret(4),
       .stringRow = 5,
       .cells = "3:8@21,28@21"},
      {.what = "F sharp in D needs no sign",
       .code = Fret(4),
       .stringRow = 5,
       .staffKey = 4,
       .cells = "3:8@21"},
      {.what = "B flat in F stands on B", .code = Fret(3), .stringRow = 4, .staffKey = 3, .cells = "3:8@18"},
      {.what = "B flat in C is an A sharp", .code = Fret(3), .stringRow = 4, .cells = "3:8@19,28@19"},
      {.what = "high E string, fret 1", .code = Fret(1), .stringRow = 2, .cells = "3:8@14"},
      {.what = "bass tablature onto a bass staff: open E is E2",
       .code = Fret(0),
       .stringRow = 6,
       .staffKind = kBass,
       .tabKind = KTabLine::kKindBassTab,
       .tuning = "  E A D G   *002025303500",
       .cells = "3:8@24"},
      {.what = "bass staff beside treble tablature",
       .code = Fret(2),
       .stringRow = 5,
       .staffKind = kBass,
       .cells = ""},
      {.what = "treble staff beside bass tablature",
       .code = Fret(0),
       .stringRow = 6,
       .tabKind = KTabLine::kKindBassTab,
       .tuning = "  E A D G   *002025303500",
       .cells = ""},
      {.what = "alto staff is not a partner",
       .code = Fret(2),
       .stringRow = 5,
       .staffKind = kAlto,
       .cells = ""},
      {.what = "a fret above the staff is dropped",
       .code = Fret(22),
       .stringRow = 2,
       .tuning = "E A D G B E  323742475160",
       .cells = ""},
      {.what = "a symbol in a cell above the staff stands on the middle line",
       .code = kFermata,
       .stringRow = 2,
       .cell = {{2, 22}},
       .tuning = "E A D G B E  323742475160",
       .cells = "3:26@18"},
      {.what = "a symbol takes the pitch of the fret on its string",
       .code = kFermata,
       .stringRow = 5,
       .cell = {{5, 2}},
       .cells = "3:26@22"},
  };
  for (const MirrorCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(c.staffKind, c.staffKey, 0);
    KTabLine tab(c.staffKey, c.tuning, c.tabKind == KTabLine::kKindBassTab ? KTabLine::kFlagBass : 0);
    ASSERT_EQ(tab.GetType(), c.tabKind);
    if (!c.cell.empty()) Fill(tab, {TabNotes(kColumn, c.cell)});
    const Bytes before = StoreObject(staff);
    const KLinePair result =
        staff.EnterSymbol(&tab, c.code, kQuarterRhythm, 0, ColumnX(staff, kColumn), c.stringRow, 0, 0, 0);
    EXPECT_EQ(CellsText(staff), c.cells);
    if (std::string(c.cells).empty()) {
      EXPECT_EQ(result, (KLinePair{1, -1}));
      EXPECT_EQ(StoreObject(staff), before);
    } else {
      EXPECT_NE(result.second, -1);
    }
  }
}

// Blank columns and the delete code behave as typed on the staff itself.
TEST_F(StaffEnterSymbolTest, BlankAndDeleteActAsTypedOnTheStaff) {
  KTabLine tab(0, kStandardTuning, 0);
  Fill(tab, {TabNotes(kColumn, {{5, 2}})});
  for (const int code : {kBlank, kDelete}) {
    SCOPED_TRACE(code);
    KStaffLine mirrored(kTreble, 0, 0);
    KStaffLine typed(kTreble, 0, 0);
    for (KStaffLine* staff : {&mirrored, &typed}) {
      Fill(*staff, {Column(1, {{22, kQuarter}}), Column(kColumn, {{22, kQuarter}, {18, kQuarter}})});
    }
    const KLinePair viaTab =
        mirrored.EnterSymbol(&tab, code, kQuarterRhythm, 0, ColumnX(mirrored, kColumn), 5, 0, 0, 0);
    const KLinePair direct = code == kDelete
                                 ? typed.DeleteAtCaret(kColumn, 22, 0, 0)
                                 : typed.HandleKey(code, kQuarterRhythm % 10, 0, kColumn, 5, 0, 0, 0);
    EXPECT_EQ(viaTab, direct);
    EXPECT_EQ(CellsText(mirrored), CellsText(typed));
    EXPECT_NE(CellsText(mirrored), "1:8@22 3:8@18,8@22");
  }
}

// A note that the editor refuses takes the sign entered for it back out.
TEST_F(StaffEnterSymbolTest, RefusedNoteLeavesNoSignBehind) {
  KTabLine tab(0, kStandardTuning, 0);
  KStaffLine staff(kTreble, 0, 0);
  Fill(staff, {Column(1, {{22, kQuarter}}), Column(kColumn, {{17, kQuarter}})});
  const Bytes before = StoreObject(staff);
  const int noRhythm = 0;  // gives no note value: the editor refuses the note
  const KLinePair result = staff.EnterSymbol(&tab, Fret(4), noRhythm, 0, ColumnX(staff, kColumn), 5, 0, 0, 0);
  EXPECT_EQ(result, (KLinePair{0, -1}));
  EXPECT_EQ(StoreObject(staff), before);
}

// Deleting at the caret is the delete code typed at the caret cell.
TEST_F(StaffEnterSymbolTest, DeleteAtCaretIsTheDeleteCode) {
  KStaffLine viaSlot(kTreble, 0, 0);
  KStaffLine typed(kTreble, 0, 0);
  for (KStaffLine* staff : {&viaSlot, &typed}) {
    Fill(*staff, {Column(2, {{22, kQuarter}, {18, kQuarter}})});
  }
  EXPECT_EQ(viaSlot.DeleteAtCaret(2, 18, 0, 0), typed.HandleKey(kDelete, 0, 0, 2, 18, 0, 0, 0));
  EXPECT_EQ(CellsText(viaSlot), CellsText(typed));
  EXPECT_EQ(CellsText(viaSlot), "2:8@22");
}

// Values from the view or a damaged file never put an entry off the staff.
TEST_F(StaffEnterSymbolTest, HostileArgumentsKeepEntriesOnTheStaff) {
  const int xs[] = {INT_MIN, -1, 0, 1 << 30, INT_MAX};
  const int ys[] = {INT_MIN, -1, 0, 1, 9, 10, 999, 1000, 5000, 10000, INT_MAX};
  const int codes[] = {-5, 0, Fret(0), Fret(24), 255, 9999, 10000, 32761, 32762, 32763, INT_MAX};
  const int rhythms[] = {INT_MIN, 0, 150, INT_MAX};
  KTabLine tab(0, kStandardTuning, 0);
  Fill(tab, {TabNotes(0, {{5, 2}, {2, 24}})});
  for (const int sizeIndex : {-3, 0, 1, 7}) {
    KStaffLine staff(kTreble, 0, 0);
    for (const int x : xs) {
      for (const int y : ys) {
        for (const int code : codes) {
          for (const int rhythm : rhythms) staff.EnterSymbol(&tab, code, rhythm, sizeIndex, x, y, 0, 0, 0);
        }
      }
    }
    const CObList& columns = *staff.GetObjList();
    for (POSITION node = columns.GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(columns.GetNext(node));
      ASSERT_NE(column, nullptr);
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        EXPECT_GE(column->GetNote(i).position, KStaffLine::kFirstRow) << CellText(*column);
        EXPECT_LE(column->GetNote(i).position, KStaffLine::kLastRow) << CellText(*column);
      }
    }
  }
}

}  // namespace
