// Typed entry on single lines: what each key does to the line, the caret and
// the messages, and the guards that refuse typing.

#include <algorithm>

#include "EntryFixture.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KExtendedObj.h"

namespace {

// ---- Staff letters move the caret to a pitch --------------------------------------

struct LetterCase {
  const char* name;
  int fromRow;
  char letter;
  bool capsLock;
  int toRow;  // -1: refused with a beep
};

class StaffLetter : public EntryFixture, public ::testing::WithParamInterface<LetterCase> {};

TEST_P(StaffLetter, MovesTheCaretAndLeavesTheStaffAsItWas) {
  const LetterCase& c = GetParam();
  AddStaff();
  keys.SetToggled(VK_CAPITAL, c.capsLock);
  CaretAt(0, 0, c.fromRow);
  UndoKinds().clear();
  Type(std::string(1, c.letter));
  EXPECT_EQ(view->GetCaretRow(), c.toRow < 0 ? c.fromRow : c.toRow);
  EXPECT_EQ(ui.Beeps().size(), c.toRow < 0 ? 1u : 0u);
  EXPECT_EQ(Dump(doc.GetFirstLinePosition()), "");
  EXPECT_TRUE(UndoKinds().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StaffLetter,
    ::testing::Values(LetterCase{"c from the bottom line goes down two", 22, 'c', false, 24},
                      LetterCase{"C from the bottom line goes up five", 22, 'C', false, 17},
                      LetterCase{"e goes down an octave", 22, 'e', false, 29},
                      LetterCase{"E goes up an octave", 22, 'E', false, 15},
                      LetterCase{"Caps Lock turns c upward", 22, 'c', true, 17},
                      LetterCase{"g below the reference row goes up one", 35, 'g', false, 34},
                      LetterCase{"g on its own row stays", 34, 'g', false, 34},
                      LetterCase{"C above the top row beeps", 2, 'C', false, -1}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- Keys into a staff: the symbol code, the caret ------------------------------------

struct SymbolCase {
  const char* name;
  const char* keys;
  const char* dump;
  int caret;
};

class StaffSymbols : public EntryFixture, public ::testing::WithParamInterface<SymbolCase> {};

TEST_P(StaffSymbols, EnterTheirCodesAtTheCaretRow) {
  const SymbolCase& c = GetParam();
  AddStaff();
  CaretAt(0, 0, 18);
  Type(c.keys);
  EXPECT_EQ(Dump(doc.GetFirstLinePosition()), c.dump);
  EXPECT_EQ(view->GetCaretColumn(), c.caret);
}

INSTANTIATE_TEST_SUITE_P(Keys, StaffSymbols,
                         ::testing::Values(SymbolCase{"quarter note", "q", "0:8@18", 1},
                                           SymbolCase{"eighth then half", "th", "0:0@18 1:10@18", 2},
                                           SymbolCase{"quarter rest", "!", "0:16@18", 1},
                                           SymbolCase{"note then bar", "q|", "0:8@18 1:21@18", 2},
                                           SymbolCase{"backspace removes the note", "qq\b", "0:8@18", 1},
                                           SymbolCase{"a key without a symbol beeps", "\x7f", "", 0}),
                         [](const auto& info) { return CaseName(info.param.name); });

// A rest typed on a staff stands where engraving puts it, whatever row the
// last note left the caret on: the whole rest hangs from the fourth line (row
// 16), the others sit on the middle line (row 18).
struct RestCase {
  const char* name;
  int caretRow;
  const char* keys;
  const char* dump;
};

class TypedRest : public EntryFixture, public ::testing::WithParamInterface<RestCase> {};

TEST_P(TypedRest, StandsWhereEngravingPutsIt) {
  const RestCase& c = GetParam();
  AddStaff();
  CaretAt(0, 0, c.caretRow);
  Type(c.keys);
  EXPECT_EQ(Dump(doc.GetFirstLinePosition()), c.dump);
  EXPECT_EQ(view->m_caretRow, c.caretRow) << "the caret keeps its pitch for the next note";
}

INSTANTIATE_TEST_SUITE_P(Keys, TypedRest,
                         ::testing::Values(RestCase{"whole rest from below the staff", 25, "_", "0:14@16"},
                                           RestCase{"half rest from the bottom line", 22, "-", "0:15@18"},
                                           RestCase{"quarter rest from a space", 21, "!", "0:16@18"},
                                           RestCase{"eighth rest from above the staff", 12, ",", "0:17@18"},
                                           RestCase{"sixteenth rest from the top line", 14, "'", "0:18@18"},
                                           RestCase{"note, rest, note keep their rows", 24, "q-q",
                                                    "0:8@24 1:15@18 2:8@24"}),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(EntryFixture, CaretStaysOnNotesWithAdvanceOffButPassesBars) {
  g_prefEntryOptions.advanceAfterNote = 0;
  AddStaff();
  CaretAt(0, 0, 18);
  Type("q");
  EXPECT_EQ(view->GetCaretColumn(), 0);
  CaretAt(0, 1, 18);
  Type("|");
  EXPECT_EQ(view->GetCaretColumn(), 2);
}

// Automatic stem direction turns a typed note's stem by its height: inward,
// high notes (from the middle line up) stem down and low ones up; outward the
// other way round; off, the letter's case decides. On a tablature line the
// fret's string chooses the voice of the current duration the same way.
struct AutoStemCase {
  const char* name;
  int mode;  // 0 off, 1 inward, 2 outward
  bool tab;
  int row;
  const char* keys;
  const char* dump;  // staff: the note; tablature: unused
  int duration;      // tablature: the current duration after the fret
};

class AutoStem : public EntryFixture, public ::testing::WithParamInterface<AutoStemCase> {};

TEST_P(AutoStem, TurnsTheStemByTheNotesHeight) {
  const AutoStemCase& c = GetParam();
  const POSITION line = c.tab ? AddTab() : AddStaff();
  view->m_stemDirection = c.mode;
  view->m_currentDuration = 8;
  CaretAt(0, 0, c.row);
  Type(c.keys);
  if (c.tab) {
    EXPECT_EQ(view->m_currentDuration, c.duration);
  } else {
    EXPECT_EQ(Dump(line), c.dump);
  }
  EXPECT_TRUE(ui.Beeps().empty());
}

// Codes: 8 a quarter with its stem up, 9 stem down; 0 and 1 the eighths.
INSTANTIATE_TEST_SUITE_P(
    Modes, AutoStem,
    ::testing::Values(
        AutoStemCase{"inward a high note stems down", 1, false, 16, "q", "0:9@16", 0},
        AutoStemCase{"inward the middle line stems down", 1, false, 18, "q", "0:9@18", 0},
        AutoStemCase{"inward a low note stems up even typed as a capital", 1, false, 22, "Q", "0:8@22", 0},
        AutoStemCase{"outward a high note stems up", 2, false, 16, "Q", "0:8@16", 0},
        AutoStemCase{"outward a low note stems down", 2, false, 22, "q", "0:9@22", 0},
        AutoStemCase{"off the letter decides", 0, false, 16, "q", "0:8@16", 0},
        AutoStemCase{"inward an eighth on a high note stems down", 1, false, 15, "t", "0:1@15", 0},
        AutoStemCase{"inward a fret on a low string stems up", 1, true, 6, "2", "", 8},
        AutoStemCase{"inward a fret on a high string stems down", 1, true, 3, "2", "", 9},
        AutoStemCase{"outward a fret on a high string stems up", 2, true, 2, "2", "", 8}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(EntryFixture, DurationLetterOnAnEmptyTabCellOnlyChangesTheDuration) {
  const POSITION tab = AddTab();
  CaretAt(0, 0, 3);
  Type("T");
  EXPECT_EQ(view->m_currentDuration, 1);
  EXPECT_EQ(Dump(tab), "");
  EXPECT_TRUE(ui.Beeps().empty());
}

TEST_F(EntryFixture, TieTypedTwiceSpansTwoColumnsAndAThirdTimeOne) {
  const POSITION staff = AddStaff();
  CaretAt(0, 0, 18);
  Type("qq");
  CaretAt(0, 0, 18);
  Type("u");
  ASSERT_EQ(LineAt(staff)->GetAttachmentCount(), 1);
  KExtendedObj* tie = LineAt(staff)->FindAttachmentAt(0, 18, -1);
  ASSERT_NE(tie, nullptr);
  EXPECT_EQ(tie->GetSize().cx, 18);
  CaretAt(0, 0, 18);
  Type("u");
  EXPECT_EQ(tie->GetSize().cx, 36);
  CaretAt(0, 0, 18);
  Type("u");
  EXPECT_EQ(tie->GetSize().cx, 18);
  EXPECT_EQ(LineAt(staff)->GetAttachmentCount(), 1);
}

// A tie typed with n holds the note at the caret, or the note just typed
// when the caret stands after it: (keys before n, automatic bars, keys
// after, the column the tie starts at).
struct TieCase {
  const char* name;
  const char* before;
  int autoBars;
  bool backOnTheFirst;  // the caret put back on column 0 before n
  const char* after;
  int tieColumn;
};

class TypedTie : public EntryFixture, public ::testing::WithParamInterface<TieCase> {};

TEST_P(TypedTie, HoldsTheNoteItWasTypedAtOrJustAfter) {
  const TieCase& c = GetParam();
  const POSITION staff = AddStaff();
  view->m_autoBars = c.autoBars;
  CaretAt(0, 0, 18);
  Type(c.before);
  if (c.backOnTheFirst) CaretAt(0, 0, 18);
  Type("n");
  Type(c.after);
  ASSERT_EQ(LineAt(staff)->GetAttachmentCount(), 1) << Dump(staff);
  const auto* tie = static_cast<const KExtendedObj*>(LineAt(staff)->GetAttachments()->GetHead());
  EXPECT_EQ(tie->GetPos(), c.tieColumn) << Dump(staff);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedTie,
    ::testing::Values(TieCase{"AtTheNoteItself", "hh", 0, true, "", 0},
                      TieCase{"RightAfterAHalfBeforeTheEighthsThatFollow", "h", 0, false, "ttq", 0},
                      TieCase{"AfterTheBarLineAWholeNoteClosed", "w", 1, false, "q", 0},
                      TieCase{"AfterARestWhereNoNoteCanBeHeld", "-", 0, false, "qq", 1}),
    [](const ::testing::TestParamInfo<TieCase>& info) { return std::string(info.param.name); });

TEST_F(EntryFixture, AutoBarInsertionClosesTheMeasureInTheSameKeystroke) {
  const POSITION staff = AddStaff();
  view->m_autoBars = 1;
  CaretAt(0, 0, 18);
  Type("qqq");
  EXPECT_TRUE(BarColumns(staff).empty());
  UndoKinds().clear();
  Type("q");
  EXPECT_EQ(BarColumns(staff), std::vector<int>{4});
  EXPECT_EQ(view->GetCaretColumn(), 5);
  EXPECT_EQ(view->m_barInserted, 1);
  EXPECT_EQ(UndoKinds().front(), 0);
  EXPECT_EQ(std::count(UndoKinds().begin(), UndoKinds().end(), 0), 1);
}

// A measure closes with a bar whatever completes it, a note or a rest, in
// 4/4 without a time signature written.
struct MeasureCase {
  const char* name;
  const char* keys;
  std::vector<int> bars;
};

class AutoBarMeasure : public EntryFixture, public ::testing::WithParamInterface<MeasureCase> {};

TEST_P(AutoBarMeasure, ClosesWhenTheMeasureIsFull) {
  const MeasureCase& c = GetParam();
  const POSITION staff = AddStaff();
  view->m_autoBars = 1;
  CaretAt(0, 0, 18);
  Type(c.keys);
  EXPECT_EQ(BarColumns(staff), c.bars);
  EXPECT_TRUE(ui.Beeps().empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, AutoBarMeasure,
                         ::testing::Values(MeasureCase{"a whole rest fills a measure", "_", {1}},
                                           MeasureCase{"a half rest ends a measure of notes", "qq-", {3}},
                                           MeasureCase{"rests and eighths add up to a measure", "!,,-", {4}},
                                           MeasureCase{"a note after a rest ends the measure", "-!q", {3}},
                                           MeasureCase{"a rest short of the measure adds no bar", "qq!", {}}),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---- Guards ------------------------------------------------------------------------------

TEST_F(EntryFixture, AutoScrollRefusesTypingWithABeep) {
  const POSITION staff = AddStaff();
  CaretAt(0, 0, 18);
  view->m_autoScroll = 1;
  Type("q");
  EXPECT_EQ(Dump(staff), "");
  EXPECT_EQ(ui.Beeps().size(), 1u);
}

TEST_F(EntryFixture, ReadOnlyAsksFirstAndNoLeavesTheScoreAlone) {
  const POSITION staff = AddStaff();
  CaretAt(0, 0, 18);
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  Type("q");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7094});
  EXPECT_EQ(Dump(staff), "");
  ui.Answer(7094, IDYES);
  Type("q");
  EXPECT_EQ(Dump(staff), "0:8@18");
  EXPECT_EQ(view->IsReadOnly(), 0);
}

TEST_F(EntryFixture, EscapeChangesNothing) {
  const POSITION staff = AddStaff();
  CaretAt(0, 0, 18);
  Type("\x1b");
  EXPECT_EQ(Dump(staff), "");
  EXPECT_TRUE(ui.Beeps().empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(EntryFixture, NoShownLineShowsMessage7041) {
  Type("q");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7041});
}

// ---- Text lines and the line keys -------------------------------------------------------

TEST_F(EntryFixture, TextTypingAndBackspaceRecordTextUndoSteps) {
  const POSITION text = AddText("");
  CaretAt(0, 0, 0);
  Type("ab\b");
  EXPECT_EQ(static_cast<KStrLine*>(LineAt(text))->GetText(), CString("a"));
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_EQ(std::count(UndoKinds().begin(), UndoKinds().end(), 7), 3);
}

TEST_F(EntryFixture, BackspaceAtTheStartOfATextLineBelowAStaffShows7042) {
  AddStaff();
  const POSITION text = AddText("words");
  CaretAt(1, 0, 0);
  Type("\b");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7042});
  EXPECT_EQ(doc.GetLineCount(), 2);
  EXPECT_EQ(static_cast<KStrLine*>(LineAt(text))->GetText(), CString("words"));
}

TEST_F(EntryFixture, BackspaceAtTheStartOfAnEmptyLineRemovesIt) {
  AddStaff();
  AddText("");
  CaretAt(1, 0, 0);
  Type("\b");
  EXPECT_EQ(doc.GetLineCount(), 1);
  EXPECT_EQ(view->GetCurrentLine(), 0);
}

TEST_F(EntryFixture, BackspaceOnTheOnlyLineBeeps) {
  AddStaff();
  CaretAt(0, 0, 18);
  Type("\b");
  EXPECT_EQ(doc.GetLineCount(), 1);
  EXPECT_EQ(ui.Beeps().size(), 1u);
}

TEST_F(EntryFixture, BackspaceJoinsTwoStavesAndTheJoinedLineIsGone) {
  const POSITION first = AddStaff();
  AddStaff();
  CaretAt(0, 0, 18);
  Type("q");
  CaretAt(1, 0, 18);
  Type("h");
  CaretAt(1, 0, 18);
  Type("\b");
  ASSERT_EQ(doc.GetLineCount(), 1);
  EXPECT_EQ(Dump(first), "0:8@18 1:10@18");
  EXPECT_EQ(view->GetCurrentLine(), 0);
  EXPECT_EQ(view->GetCaretColumn(), 1);
}

TEST_F(EntryFixture, EnterSplitsAnUngroupedLineAtTheCaret) {
  const POSITION first = AddStaff();
  CaretAt(0, 0, 18);
  Type("qh");
  CaretAt(0, 1, 18);
  Type("\r");
  ASSERT_EQ(doc.GetLineCount(), 2);
  EXPECT_EQ(Dump(first), "0:8@18");
  POSITION second = first;
  doc.GetNextLine(second);
  EXPECT_EQ(Dump(second), "0:10@18");
  EXPECT_EQ(view->GetCurrentLine(), 1);
  EXPECT_EQ(view->GetCaretColumn(), 0);
}

}  // namespace
