// Key and symbol entry on a tablature line: the codes a tab cell takes, a
// fret replaced by a symbol, two-digit frets, deleting and inserting columns,
// moving a note to the neighbouring string, and symbols from the fretboard and
// from a staff of the same line group.

#include <functional>
#include <memory>
#include <vector>

#include "StaffLineTestSupport.h"
#include "TabLineTestSupport.h"
#include "common/Globals.h"
#include "model/KRhythmObj.h"

namespace {

class KTabLineKeysTest : public TabLineTest {
 protected:
  KTabLineKeysTest() {
    ResetStaffLineServices();
    CRuntimeClass::Register(RUNTIME_CLASS(KStaffLine));
  }
  ~KTabLineKeysTest() override { ResetStaffLineServices(); }

  // A refusal answers (0, -1), sounds one asterisk beep and leaves the
  // stored line as it was.
  void ExpectRefused(KTabLine& line, const std::function<KLinePair()>& call) {
    const Bytes before = StoreFields(line);
    m_ui.ClearRecords();
    EXPECT_EQ(call(), (KLinePair{0, -1}));
    EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
    EXPECT_EQ(StoreFields(line), before);
  }
};

constexpr int kQuarterSub = KChord::kTabRhythm + 80;  // sub-code of a quarter-note fret
constexpr int kDelete = 32762;
constexpr int kBlank = 32761;
constexpr int kDot = 36;
constexpr int kRest = 16;
constexpr int kFret(int fret) { return KChord::kFirstFret + fret; }

// The own duration of the first fret entry on the row; -1 when none.
int DurationOn(const KChord& column, int row) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (note.position == row && note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret) {
      return column.GetRawNote(i).position / 10;
    }
  }
  return -1;
}

// ---- Codes a tab cell takes ------------------------------------------------------

struct KeyCase {
  const char* what;
  int code;
  int column;
  int row;
  bool accepted;
};

TEST_F(KTabLineKeysTest, ACellTakesFretsAndSymbolsButNoAccidentals) {
  const KeyCase cases[] = {
      {"natural", 27, 0, 4, false},
      {"sharp", 28, 0, 4, false},
      {"double sharp", 29, 0, 4, false},
      {"flat", 30, 0, 4, false},
      {"double flat", 31, 0, 4, false},
      {"code 68", 68, 0, 4, false},
      {"code 69", 69, 0, 4, false},
      {"code 82", 82, 0, 4, false},
      {"code 83", 83, 0, 4, false},
      {"plain bar", 26, 0, 4, true},
      {"tie", 32, 0, 4, true},
      {"fret on another string", kFret(2), 0, 5, true},
      {"fret on a new column", kFret(2), 3, 5, true},
      {"duration on a column of notes", 1, 0, 4, true},
      {"duration where no column stands", 1, 3, 4, false},
      {"duration on a bar column", 9, 1, 4, false},
      {"duration on a column of rests", 9, 2, 4, false},
      {"row beyond the strings", kFret(2), 0, 12, false},
      {"negative column", kFret(2), -1, 4, false},
      {"note-value row with a fret", kFret(2), 0, 12004, false},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{4, 3}}), TabBar(1), new KChord(2, 4, kRest, kQuarterSub)});
    auto call = [&] { return line.HandleKey(c.code, kQuarterSub, 0, c.column, c.row, 0, 0, 0); };
    if (!c.accepted) {
      ExpectRefused(line, call);
      continue;
    }
    m_ui.ClearRecords();
    const Bytes before = StoreFields(line);
    const KLinePair result = call();
    EXPECT_GE(result.second, 0);
    EXPECT_TRUE(m_ui.Beeps().empty());
    EXPECT_NE(StoreFields(line), before);
  }
}

TEST_F(KTabLineKeysTest, ADurationChangesTheLengthOfTheFretOnItsString) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{4, 3}, {6, 5}})});
  const KLinePair result = line.HandleKey(1, kQuarterSub, 0, 0, 4, 0, 1, 0);
  EXPECT_EQ(result.first, 0);
  EXPECT_EQ(DurationOn(TabColumnAt(line, 0), 4), 1);
  EXPECT_EQ(line.GetObjCount(), 1) << "a duration never replaces the column";
}

// ---- Two-digit frets -------------------------------------------------------------

struct TwoDigitCase {
  const char* currentTuning;
  int first;
  int second;
  Frets atCaret;
  Frets after;  // the column pushed one to the right, when there is one
  bool rangeMessage;
};

TEST_F(KTabLineKeysTest, FretsOneAndTwoFormTwoDigitFrets) {
  const TwoDigitCase cases[] = {
      {"E A D G B E  323742475156", 1, 3, {{3, 13}}, {}, false},
      {"E A D G B E  323742475156", 2, 4, {{3, 24}}, {}, false},
      {"E A D G B E  323742475156!@@!12", 1, 9, {{3, 1}}, {}, true},
      {"E A D G B E  323742475156", 3, 4, {{3, 4}}, {{3, 3}}, false},
  };
  for (const TwoDigitCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
    m_ui.ClearRecords();
    g_CurrentTuning = c.currentTuning;
    KTabLine line(0, kStandardTuning, 0);
    line.HandleKey(kFret(c.first), kQuarterSub, 0, 0, 3, 0, 0, 0);
    line.HandleKey(kFret(c.second), kQuarterSub, 0, 0, 3, 0, 0, 0);
    EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), c.atCaret);
    if (c.after.empty()) {
      EXPECT_EQ(line.GetObjCount(), 1);
    } else {
      EXPECT_EQ(FretsOf(TabColumnAt(line, 1)), c.after);
    }
    EXPECT_EQ(m_ui.CountOf(7025), c.rangeMessage ? 1 : 0);
  }
}

// ---- A fret replaced by a symbol ---------------------------------------------------

struct ReplaceCase {
  const char* what;
  int code;
  int column;
  int row;
  int stored;  // the symbol code the entry holds afterwards; -1: refused
};

TEST_F(KTabLineKeysTest, AReplacingModePutsTheCodeInPlaceOfTheFret) {
  const ReplaceCase cases[] = {
      {"symbol", 100, 0, 4, 100},
      {"code 88 as a tablature column keeps it", 88, 0, 4, 100},
      {"flagged symbol", 10048, 0, 4, 10048},
      {"another fret", kFret(5), 0, 4, kFret(5)},
      {"row without a fret", 100, 0, 3, -1},
      {"no column at the caret", 100, 3, 4, -1},
      {"accidental", 28, 0, 4, -1},
      {"escape byte of the file", 105, 0, 4, -1},
      {"time-signature code", KChord::kTimeSignature, 0, 4, -1},
      {"key-signature code", KChord::kKeySignature, 0, 4, -1},
      {"code beyond a byte", 10300, 0, 4, -1},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{2, 0}, {4, 3}}, {{84, kDot}})});
    auto call = [&] {
      return line.HandleKey(c.code, 0, 0, c.column, c.row, 0, 0, KTabLine::kReplaceFretMode);
    };
    if (c.stored < 0) {
      ExpectRefused(line, call);
      continue;
    }
    m_ui.ClearRecords();
    EXPECT_EQ(call(), (KLinePair{1, 0}));
    EXPECT_TRUE(m_ui.Beeps().empty());
    // The entry keeps its string and its own duration, and the line reads
    // back from its record as it is.
    std::unique_ptr<KTabLine> loaded = LoadTabLine(StoreFields(line));
    for (const KTabLine* l : {&line, loaded.get()}) {
      const KChord& column = TabColumnAt(*l, 0);
      ASSERT_EQ(column.GetNoteCount(), 3);
      EXPECT_EQ(column.GetNote(1).position, 4);
      EXPECT_EQ(column.GetNote(1).code, c.stored);
      EXPECT_EQ(column.GetRawNote(1).position, 84);
      EXPECT_EQ(column.GetNote(0).code, kFret(0));
      EXPECT_EQ(column.GetNote(2).code, kDot);
    }
  }
}

// ---- Deleting and inserting ---------------------------------------------------------

TEST_F(KTabLineKeysTest, DeleteAtCaretRemovesTheEntriesOfTheString) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{3, 0}, {5, 2}}, {{83, kDot}}), TabNotes(1, {{4, 4}})});
  EXPECT_EQ(line.DeleteAtCaret(0, 3, 0, 0).first, -1);
  EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), (Frets{{5, 2}}));
  EXPECT_TRUE(RowsOfCode(TabColumnAt(line, 0), kDot).empty());

  // The last note of a column takes the column with it; the rest closes up.
  line.DeleteAtCaret(0, 5, 0, 0);
  EXPECT_EQ(Positions(*line.GetObjList()), std::vector<int>{0});
  EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), (Frets{{4, 4}}));

  ExpectRefused(line, [&] { return line.DeleteAtCaret(0, 12, 0, 0); });
}

TEST_F(KTabLineKeysTest, InsertObjPutsTheColumnInAndMovesTheRestOn) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{4, 3}}), TabNotes(1, {{4, 5}})});
  const int beams[2] = {0, 0};
  EXPECT_EQ(line.InsertObj(TabNotes(9, {{2, 0}}), 0, 1, beams, 0).first, 1);
  EXPECT_EQ(Positions(*line.GetObjList()), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(FretsOf(TabColumnAt(line, 1)), (Frets{{2, 0}}));
  EXPECT_EQ(FretsOf(TabColumnAt(line, 2)), (Frets{{4, 5}}));

  // Anything but a note column stays with the caller.
  std::unique_ptr<KRhythmObj> item(Item(0, 210));
  ExpectRefused(line, [&] { return line.InsertObj(item.get(), 0, 1, beams, 0); });
}

TEST_F(KTabLineKeysTest, InsertCopyPutsInACopyWithoutComputedStems) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{4, 3}}), TabNotes(1, {{4, 5}})});
  const int beams[2] = {0, 0};
  std::unique_ptr<KChord> source(TabNotes(7, {{2, 0}, {3, 1}}, {}, 37, 0, 1));
  const Bytes sourceBytes = StoreFields(*source);
  EXPECT_EQ(line.InsertCopy(source.get(), 0, 1, beams, 0).first, 1);
  EXPECT_EQ(StoreFields(*source), sourceBytes);
  EXPECT_EQ(Positions(*line.GetObjList()), (std::vector<int>{0, 1, 2}));
  const KChord& copy = TabColumnAt(line, 1);
  EXPECT_EQ(FretsOf(copy), (Frets{{2, 0}, {3, 1}}));
  EXPECT_EQ(copy.GetVoiceStem(0), 0);

  const KRhythmObj item(0, 210);
  ExpectRefused(line, [&] { return line.InsertCopy(&item, 0, 1, beams, 0); });
}

// ---- Moving a note to the neighbouring string ----------------------------------------

struct MoveCase {
  const char* what;
  Frets frets;
  int row;
  int key;
  Frets after;  // empty: refused
  const char* tuning = "E A D G B E  323742475156";
  std::vector<Entry> more = {};  // entries after the frets
};

TEST_F(KTabLineKeysTest, ANoteMovesToTheNextStringKeepingItsPitch) {
  const char* const kStandardTuningText = "E A D G B E  323742475156";
  const char* const twelveFrets = "E A D G B E  323742475156!@@!12";
  const char* const dulcimer = "E A D G B E  323742475156!@@!2,3,4,5,7,9,10,11,12";
  const MoveCase cases[] = {
      {"open B down to G", {{3, 0}}, 3, KTabLine::kKeyDown, {{4, 4}}},
      {"G fret 5 up to B", {{4, 5}}, 4, KTabLine::kKeyUp, {{3, 1}}},
      {"beside another note", {{2, 0}, {4, 5}}, 4, KTabLine::kKeyUp, {{2, 0}, {3, 1}}},
      {"below the open B", {{4, 2}}, 4, KTabLine::kKeyUp, {}},
      {"up from the top string", {{2, 3}}, 2, KTabLine::kKeyUp, {}},
      {"down from the bottom string", {{7, 3}}, 7, KTabLine::kKeyDown, {}},
      {"onto a string that holds a note", {{3, 0}, {4, 2}}, 3, KTabLine::kKeyDown, {}},
      {"onto a string that holds a symbol",
       {{3, 0}},
       3,
       KTabLine::kKeyDown,
       {},
       kStandardTuningText,
       {{84, kDot}}},
      {"a row without a fret", {{4, 2}}, 3, KTabLine::kKeyDown, {}},
      {"a key that is not up or down", {{3, 0}}, 3, 37, {}},
      {"beyond the fret count", {{4, 12}}, 4, KTabLine::kKeyDown, {}, twelveFrets},
      {"a semitone the fret list lacks", {{3, 1}}, 3, KTabLine::kKeyDown, {}, dulcimer},
      {"a semitone the fret list has", {{3, 2}}, 3, KTabLine::kKeyDown, {{4, 5}}, dulcimer},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.what);
    KTabLine line(0, c.tuning, 0);
    auto* column = TabNotes(0, c.frets);
    for (const Entry& e : c.more) column->AddNote(e.value % 10, e.code, 0, e.value / 10);
    Fill(line, {column});
    line.ClearChanged();
    const Bytes before = StoreFields(line);
    const int result = line.MoveNoteToNextString(0, c.row, c.key);
    if (c.after.empty()) {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(StoreFields(line), before);
      continue;
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(line.IsChanged());
    EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), c.after);
  }
}

TEST_F(KTabLineKeysTest, TheEntriesOfTheStringMoveWithTheNote) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{3, 0}}, {{83, kDot}, {86, kFret(2)}, {6, 100}})});
  ASSERT_GE(line.MoveNoteToNextString(0, 3, KTabLine::kKeyDown), 0);
  const KChord& column = TabColumnAt(line, 0);
  EXPECT_EQ(RowsOfCode(column, kDot), std::vector<int>{4});
  EXPECT_EQ(RowsOfCode(column, 100), std::vector<int>{6});
  // Still ordered by string, with each entry's own duration.
  int previous = -1;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    EXPECT_GE(column.GetNote(i).position, previous);
    previous = column.GetNote(i).position;
  }
  EXPECT_EQ(DurationOn(column, 4), 8);
}

// ---- Symbols from the toolbox and the fretboard ----------------------------------------

TEST_F(KTabLineKeysTest, LinesWithoutStringsOrStaffRefuseSymbols) {
  KListLine rhythm(0, kRhythm, 0, -1, 0);
  KListLine chords(0, kChordLine, 0, -1, 0);
  KLineObj text(kText, 0, -1, 0, 0);
  KListLine plainStaff(0, kTreble, 0, -1, 0);  // a staff kind without the staff line's pitches
  for (KLineObj* source : std::initializer_list<KLineObj*>{&rhythm, &chords, &text, &plainStaff}) {
    SCOPED_TRACE(source->GetType());
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{4, 3}})});
    ExpectRefused(line, [&] { return line.EnterSymbol(source, kFret(2), kQuarterSub, 0, 0, 5, 0, 0, 0); });
  }
}

struct FretboardCase {
  bool fromTab;  // another tablature line, else no source line
  int code;
  int row;
  int packed;
  Frets expected;
};

TEST_F(KTabLineKeysTest, FretboardSymbolsGoToTheCellUnchanged) {
  const FretboardCase cases[] = {
      {true, kFret(2), 5, 0, {{4, 3}, {5, 2}}},
      {false, kFret(2), 5, 3000000, {{4, 3}, {5, 2}}},
      // The packed value's mode replaces a fret.
      {true, kFret(7), 4, 1010000, {{4, 7}}},
  };
  for (const FretboardCase& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    KTabLine fretboard(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{4, 3}})});
    const KLinePair result =
        line.EnterSymbol(c.fromTab ? &fretboard : nullptr, c.code, kQuarterSub, 0, 0, c.row, 0, 0, c.packed);
    EXPECT_GE(result.second, 0);
    EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), c.expected);
  }
}

// ---- Notes from a staff of the same line group ----------------------------------------

struct StaffNoteCase {
  const char* what;
  std::vector<Frets> columns;  // the tablature line's columns 0, 1, ...
  int code;
  int staffRow;
  std::vector<Frets> after;  // empty: refused
  KLinePair result = {1, 0};
};

constexpr int kE4 = 22;  // a treble staff row: pitch 44, fret 2 on the D string
constexpr int kE3 = 29;  // the open low E string
constexpr int kC3 = 31;  // below the guitar

TEST_F(KTabLineKeysTest, AStaffNoteGoesOntoAString) {
  const StaffNoteCase cases[] = {
      {"onto an empty line", {}, 1, kE4, {{{5, 2}}}},
      {"onto a column", {{{2, 0}}}, 8, kE4, {{{2, 0}, {5, 2}}}},
      {"the standing open string moves down", {{{5, 0}}}, 8, kE4, {{{5, 2}, {6, 5}}}},
      {"the new note moves down", {{{2, 0}, {5, 4}}}, 8, kE4, {{{2, 0}, {5, 4}, {6, 7}}}},
      {"no string below: a column of its own", {{{7, 3}}}, 8, kE3, {{{7, 0}}, {{7, 3}}}},
      {"beyond the strings", {{{2, 0}}}, 8, kC3, {}},
      {"the delete code finds the note", {{{2, 0}, {6, 7}}}, kDelete, kE4, {{{2, 0}}}, {-1, 0}},
      {"the delete code without the note", {{{2, 0}}}, kDelete, kE4, {}},
      {"a blank column", {{{2, 0}}, {{3, 1}}}, kBlank, kE4, {{}, {{2, 0}}, {{3, 1}}}},
  };
  for (const StaffNoteCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(kTreble, 0, 0);
    KTabLine line(0, kStandardTuning, 0);
    for (int i = 0; i < static_cast<int>(c.columns.size()); ++i) Fill(line, {TabNotes(i, c.columns[i])});
    const int x = staff.GetLeadInWidth(0) + staff.GetIndent() + 4;
    auto call = [&] { return line.EnterSymbol(&staff, c.code, 0, 0, x, c.staffRow, 0, 0, 0); };
    if (c.after.empty()) {
      ExpectRefused(line, call);
      continue;
    }
    m_ui.ClearRecords();
    EXPECT_EQ(call(), c.result);
    EXPECT_TRUE(m_ui.Beeps().empty());
    for (int i = 0; i < static_cast<int>(c.after.size()); ++i) {
      if (c.after[i].empty()) {
        EXPECT_EQ(line.GetObjAt(i, 0), nullptr) << "column " << i;
      } else {
        EXPECT_EQ(FretsOf(TabColumnAt(line, i)), c.after[i]) << "column " << i;
      }
    }
  }
}

TEST_F(KTabLineKeysTest, AStaffNoteLandsInTheColumnUnderItAndTakesItsLength) {
  KStaffLine staff(kTreble, 4, 0);  // two sharps, which leave E alone
  staff.SetIndent(12);
  KTabLine line(0, kStandardTuning, 0);
  const int x = staff.GetLeadInWidth(0) + 12 + 3 * 18 + 10;
  EXPECT_EQ(line.EnterSymbol(&staff, 1, 0, 0, x, kE4, 0, 0, 0), (KLinePair{1, 3}));
  const KChord& column = TabColumnAt(line, 3);
  EXPECT_EQ(FretsOf(column), (Frets{{5, 2}}));
  EXPECT_EQ(DurationOn(column, 5), 1);

  // A flagged half-note head plays as a half note; x left of the notes is
  // column 0.
  line.EnterSymbol(&staff, 10000, 0, 0, 0, kE4, 0, 0, 0);
  EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), (Frets{{5, 2}}));
  EXPECT_EQ(DurationOn(TabColumnAt(line, 0), 5), 10);
}

TEST_F(KTabLineKeysTest, StaffSymbolsGoToTheStringOfTheirNote) {
  KStaffLine staff(kTreble, 0, 0);
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 0}, {6, 7}})});
  const int x = staff.GetLeadInWidth(0) + staff.GetIndent();
  line.EnterSymbol(&staff, kDot, 0, 0, x, kE4, 0, 0, 0);
  EXPECT_EQ(RowsOfCode(TabColumnAt(line, 0), kDot), std::vector<int>{6});

  // A rest in the middle of the staff stands on the middle string row.
  line.EnterSymbol(&staff, kRest, 0, 0, x + 18, 18, 0, 0, 0);
  EXPECT_EQ(RowsOfCode(TabColumnAt(line, 1), kRest), std::vector<int>{4});
}

// The same fret on the chosen string is a note of the other voice: it stands
// as a further entry, and it does not leave bulk entry on, so that typed frets
// form two-digit frets again afterwards.
TEST_F(KTabLineKeysTest, TheSameFretFromAStaffIsAFurtherEntry) {
  for (int bulkBefore : {0, 1}) {
    SCOPED_TRACE(bulkBefore);
    g_bulkEntry = bulkBefore;
    KStaffLine staff(kTreble, 0, 0);
    KTabLine line(0, kStandardTuning, 0);
    Fill(line, {TabNotes(0, {{5, 2}}, {}, 0, 0, 9)});
    const int x = staff.GetLeadInWidth(0) + staff.GetIndent();
    EXPECT_GE(line.EnterSymbol(&staff, 8, 0, 0, x, kE4, 0, 0, 0).second, 0);
    EXPECT_EQ(FretsOf(TabColumnAt(line, 0)), (Frets{{5, 2}, {5, 2}}));
    EXPECT_EQ(g_bulkEntry, bulkBefore);
  }
}

}  // namespace
