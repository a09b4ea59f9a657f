// A pick from a symbol palette, the fretboard or the piano keyboard enters
// at the caret what the keys would: the symbol (a doubled key and the
// combined repeat bars as one undo step), the fret on the picked string,
// the note on its staff row with its accidental; control cells run their
// option; in symbol-cursor mode a pick only chooses the cursor.

#include <ostream>
#include <vector>

#include "EntryFixture.h"
#include "common/Globals.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"
#include "platform/MidiClock.h"
#include "platform/MidiOutPort.h"
#include "platform/MidiScheduler.h"

namespace {

constexpr int kPalette = 0;
constexpr int kAlternatePalette = 1;
constexpr int kFretboard = 17;
constexpr int kKeyboard = 18;
constexpr int kQuarter = 8;
constexpr int kHalf = 10;
constexpr int kEighth = 0;

class ToolboxPick : public EntryFixture {
 protected:
  void SetUp() override {
    EntryFixture::SetUp();
    // Picks enter at the caret; the symbol cursor is tried on its own.
    g_prefEntryOptions.cursorMode = 0;
    staff = AddStaff();
    tab = AddTab();
    rhythm = doc.AddTailLine(new KRhythmLine(0, "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
    text = AddText("words");
    host.frame = &frame;
    view->m_trebleTabTuning = g_TuningGuitar;  // new tablature lines take it
    // Picked notes sound; their ends wait on a clock that never moves.
    previousClock = SetMidiClock(&clock);
    ResetSoundScheduler();
  }
  void TearDown() override {
    ResetSoundScheduler();
    SetMidiClock(previousClock);
    EntryFixture::TearDown();
  }

  // The undo steps of edits (kind 8 is the state after a change).
  int EditSteps() const {
    int steps = 0;
    for (int kind : UndoKinds()) steps += kind < 8 ? 1 : 0;
    return steps;
  }
  // The rhythm line's symbols as "pos:code ...".
  std::string Rhythm() const {
    std::string out;
    const CObList* objects = ListAt(rhythm)->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* symbol = dynamic_cast<const KRhythmObj*>(objects->GetNext(node));
      if (symbol == nullptr) continue;
      if (!out.empty()) out += ' ';
      out += std::to_string(symbol->GetPos()) + ':' + std::to_string(symbol->GetCode());
    }
    return out;
  }
  int Pick(int code, int box, int value = 0, int string = 0, int fret = 0) {
    UndoKinds().clear();
    return view->PickToolboxSymbol(code, box, value, string, fret);
  }

  FakeFrameServices frame;
  FakeMidiClock clock;
  MidiClock* previousClock = nullptr;
  POSITION staff = nullptr;
  POSITION tab = nullptr;
  POSITION rhythm = nullptr;
  POSITION text = nullptr;
};

struct SymbolCase {
  const char* name;
  int line;  // 0 staff, 1 tablature
  int code;
  int box;
  const char* entered;
};
void PrintTo(const SymbolCase& c, std::ostream* out) { *out << c.name; }

const SymbolCase kSymbols[] = {
    {"a quarter note", 0, 8, kPalette, "0:8@16"},
    {"a double sharp is the sharp key twice", 0, 29, kPalette, "0:29@16"},
    {"a segno is the coda key twice", 0, 90, kPalette, "0:90@16"},
    {"repeat both ways is an end repeat joined by a start repeat", 0, 96, kPalette, "0:96@1"},
    {"the two-bar repeat is the repeat sign twice", 0, 97, kPalette, "0:97@1"},
    {"a dead note has no key and goes in by its code", 0, 101, kPalette, "0:101@16"},
    {"an alternate quarter from the alternate palette", 0, 10008, kAlternatePalette, "0:10008@16"},
    {"a multi-bar rest from the staff palette", 0, 10014, kPalette, "0:10014@16"},
    {"a hammer-on on tablature", 1, 42, kPalette, "0:42@4"},
};

class PaletteSymbol : public ToolboxPick, public ::testing::WithParamInterface<SymbolCase> {};

TEST_P(PaletteSymbol, IsEnteredAtTheCaretInOneUndoStep) {
  const SymbolCase& c = GetParam();
  CaretAt(c.line, 0, c.line == 0 ? 16 : 4);
  EXPECT_EQ(Pick(c.code, c.box), 1);
  EXPECT_EQ(Dump(c.line == 0 ? staff : tab), c.entered);
  EXPECT_EQ(EditSteps(), 1);
  EXPECT_EQ(g_toolboxSymbol, c.code);
  EXPECT_EQ(view->m_toolboxSymbol, c.code);
  EXPECT_EQ(view->m_alternateSymbols, 0) << "the page is the pick's only";
  EXPECT_TRUE(ui.Beeps().empty());
}

INSTANTIATE_TEST_SUITE_P(Picks, PaletteSymbol, ::testing::ValuesIn(kSymbols),
                         [](const ::testing::TestParamInfo<SymbolCase>& info) {
                           return CaseName(info.param.name);
                         });

TEST_F(ToolboxPick, OneUndoTakesADoubledKeySymbolAway) {
  CaretAt(0, 0, 16);
  Pick(29, kPalette);
  view->OnEditUndo();
  EXPECT_EQ(Dump(view->GetDisplayEntry(0).line), "") << "undo gives the line back as it was";
}

TEST_F(ToolboxPick, ANoteValuePickBecomesTheNoteValue) {
  CaretAt(0, 0, 16);
  Pick(kHalf, kPalette);
  EXPECT_EQ(g_CurrentNoteCode, kHalf);
  Pick(28, kPalette);
  EXPECT_EQ(g_CurrentNoteCode, kHalf) << "a sharp is no note value";
}

TEST_F(ToolboxPick, TheSymbolCursorOnlyChoosesTheSymbolAndItsCursor) {
  g_prefEntryOptions.cursorMode = 1;
  CaretAt(0, 0, 16);
  EXPECT_EQ(Pick(kQuarter, kPalette), 0);
  EXPECT_EQ(host.cursor, 600 + kQuarter);
  EXPECT_EQ(view->m_toolboxSymbol, kQuarter);
  EXPECT_EQ(Pick(10021, kAlternatePalette), 0);
  EXPECT_EQ(host.cursor, 821);
  EXPECT_EQ(Dump(staff), "");
  EXPECT_EQ(EditSteps(), 0);
}

TEST_F(ToolboxPick, ChordAndTextLinesTakeNoSymbol) {
  CaretAt(3, 2, 0);
  EXPECT_EQ(Pick(kQuarter, kPalette), 0);
  EXPECT_EQ(EditSteps(), 0);
}

TEST_F(ToolboxPick, RhythmLinesTakeTheirOwnKeysAndRefuseAlternates) {
  CaretAt(2, 0, 0);
  EXPECT_EQ(Pick(kQuarter, kPalette), 1);
  EXPECT_EQ(Pick(29, kPalette), 1);  // typed as "S"
  EXPECT_EQ(Rhythm(), "0:207 9:253");
  EXPECT_EQ(Pick(10008, kAlternatePalette), 0);
  EXPECT_EQ(Rhythm(), "0:207 9:253");
}

TEST_F(ToolboxPick, ControlCellsRunTheirOptionsAndMoveTheCaret) {
  CaretAt(0, 3, 16);
  EXPECT_EQ(Pick(11004, kPalette), 1);
  EXPECT_EQ(view->GetCaretColumn(), 2);
  EXPECT_EQ(Pick(11005, kPalette), 1);
  EXPECT_EQ(view->GetCaretColumn(), 3);
  Pick(11006, kPalette);
  EXPECT_EQ(view->GetCaretRow(), 15) << "toolbox arrows move by rows";
  Pick(11007, kPalette);
  Pick(11007, kPalette);
  EXPECT_EQ(view->GetCaretRow(), 17);
  Pick(11013, kPalette);
  EXPECT_EQ(view->m_noteStyle, 5);
  Pick(11001, kPalette);
  EXPECT_EQ(view->m_joinTails, 1);
  Pick(11002, kPalette);
  EXPECT_EQ(g_prefEntryOptions.cursorMode, 1);
  EXPECT_TRUE(ui.Beeps().empty());
  EXPECT_EQ(Pick(11000, kPalette), 1);
  EXPECT_EQ(ui.Beeps().size(), 1u) << "the empty cell beeps";
  EXPECT_EQ(Pick(1000000, kPalette), 0);
  EXPECT_EQ(Dump(staff), "");
}

// ---- The fretboard and the keyboard ----------------------------------------------------

struct NoteCase {
  const char* name;
  int line;  // 0 staff, 1 tablature
  int note;
  int box;
  int value;
  int string;
  int fret;
  const char* entered;
  int caretRow;
};
void PrintTo(const NoteCase& c, std::ostream* out) { *out << c.name; }

const NoteCase kNotes[] = {
    {"the fretboard's twelfth fret on the top string", 1, 76, kFretboard, kQuarter, 0, 12, "0:238@2", 2},
    {"its third fret on the low string", 1, 55, kFretboard, kEighth, 5, 3, "0:229@7", 7},
    {"the fretboard's note on a staff", 0, 64, kFretboard, kQuarter, 0, 0, "0:8@22", 22},
    {"the keyboard's C sharp on tablature goes to the lowest fret", 1, 61, kKeyboard, kQuarter, 0, 0,
     "0:230@6", 6},
    {"the keyboard's C sharp on a staff is C with a sharp", 0, 61, kKeyboard, kQuarter, 0, 0, "0:8@24,28@24",
     24},
    {"a half note from a double click", 0, 60, kKeyboard, kHalf, 0, 0, "0:10@24", 24},
};

class PickedNote : public ToolboxPick, public ::testing::WithParamInterface<NoteCase> {};

TEST_P(PickedNote, IsEnteredOnItsStringOrRowInOneUndoStep) {
  const NoteCase& c = GetParam();
  RecordingMidiOut sound;
  frame.preview = &sound;
  CaretAt(c.line, 0, c.line == 0 ? 18 : 4);
  EXPECT_EQ(Pick(c.note, c.box, c.value, c.string, c.fret), 1);
  EXPECT_EQ(Dump(c.line == 0 ? staff : tab), c.entered);
  EXPECT_EQ(view->GetCaretRow(), c.caretRow);
  EXPECT_EQ(EditSteps(), 1);
  ASSERT_FALSE(sound.Events().empty()) << "the note sounds";
  EXPECT_EQ(sound.Events().back().data1, c.note);
}

INSTANTIATE_TEST_SUITE_P(Picks, PickedNote, ::testing::ValuesIn(kNotes),
                         [](const ::testing::TestParamInfo<NoteCase>& info) {
                           return CaseName(info.param.name);
                         });

TEST_F(ToolboxPick, ATwoDigitFretStaysOnItsColumnWhenTheCaretDoesNotAdvance) {
  g_prefEntryOptions.advanceAfterNote = 0;
  CaretAt(1, 2, 4);
  Pick(76, kFretboard, kQuarter, 0, 12);
  EXPECT_EQ(Dump(tab), "2:238@2");
  EXPECT_EQ(view->GetCaretColumn(), 2);
}

TEST_F(ToolboxPick, TheKeyboardRefusesANoteBelowTheLowestString) {
  CaretAt(1, 0, 4);
  EXPECT_EQ(Pick(51, kKeyboard, kQuarter), 0);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(Dump(tab), "");
}

TEST_F(ToolboxPick, AFretboardStringTheLineDoesNotHaveBeeps) {
  CaretAt(1, 0, 4);
  EXPECT_EQ(Pick(47, kFretboard, kQuarter, 6, 0), 0);  // a seven-string's low B
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(Dump(tab), "");
}

TEST_F(ToolboxPick, AKeyboardPairTakesLowNotesOnItsBassStaff) {
  CaretAt(3, 0, 0);
  view->OnInsertKeyboardStaff();
  const int treble = view->GetCurrentLine();
  ASSERT_EQ(view->GetDisplayEntry(treble).type, 0);
  ASSERT_EQ(view->GetDisplayEntry(treble + 1).type, 1);
  EXPECT_EQ(Pick(48, kKeyboard, kQuarter), 1);
  EXPECT_EQ(view->GetCurrentLine(), treble + 1);
  const POSITION bass = view->GetDisplayEntry(treble + 1).line;
  EXPECT_NE(Dump(bass), "");
  // A high note goes back up to the treble staff.
  EXPECT_EQ(Pick(72, kKeyboard, kQuarter), 1);
  EXPECT_EQ(view->GetCurrentLine(), treble);
  EXPECT_NE(Dump(view->GetDisplayEntry(treble).line), "");
}

TEST_F(ToolboxPick, OnATextLineTheKeyboardOffersAKeyboardPairAndEntersItsNoteThere) {
  CaretAt(3, 0, 0);
  ui.Answer(8132, IDYES);
  EXPECT_EQ(Pick(60, kKeyboard, kQuarter), 1);
  EXPECT_EQ(ui.CountOf(8132), 1);
  const int line = view->GetCurrentLine();
  EXPECT_EQ(view->GetDisplayEntry(line).type, 0);
  EXPECT_EQ(Dump(view->GetDisplayEntry(line).line), "0:8@24");
}

TEST_F(ToolboxPick, OnATextLineTheFretboardOffersATabLine) {
  CaretAt(3, 0, 0);
  ui.Answer(8131, IDYES);
  EXPECT_EQ(Pick(55, kFretboard, kQuarter, 5, 3), 1);
  EXPECT_EQ(view->GetDisplayEntry(view->GetCurrentLine()).type, 2);
  EXPECT_EQ(Dump(view->GetDisplayEntry(view->GetCurrentLine()).line), "0:229@7");
}

TEST_F(ToolboxPick, NoToTheOfferLeavesPicksSoundingOnlyUntilANoteLineTakesOne) {
  RecordingMidiOut sound;
  frame.preview = &sound;
  CaretAt(3, 0, 0);
  ui.Answer(8131, IDNO);
  EXPECT_EQ(Pick(55, kFretboard, kQuarter, 5, 3), 0);
  EXPECT_EQ(g_offerLineInsertion, 0);
  EXPECT_EQ(Pick(55, kFretboard, kQuarter, 5, 3), 0);
  EXPECT_EQ(ui.CountOf(8131), 1) << "asked once";
  EXPECT_EQ(view->GetDisplayLineCount(), 4);
  EXPECT_FALSE(sound.Events().empty());
  // On tablature the pick only sounds while the switch is off.
  CaretAt(1, 0, 4);
  EXPECT_EQ(Pick(55, kFretboard, kQuarter, 5, 3), 0);
  EXPECT_EQ(Dump(tab), "");
}

TEST_F(ToolboxPick, CancelToTheOfferChangesNothing) {
  CaretAt(3, 0, 0);
  ui.Answer(8132, IDCANCEL);
  EXPECT_EQ(Pick(60, kKeyboard, kQuarter), 0);
  EXPECT_EQ(g_offerLineInsertion, 1);
  EXPECT_EQ(view->GetDisplayLineCount(), 4);
}

// A dot is typed before its note: whatever route enters the note next into
// the dot's column (typing after a letter moved the caret, a palette pick,
// the piano keyboard, the fretboard), the note takes the dot and lasts half
// as long again, on its own row or string.
struct DotCase {
  const char* name;
  int line;            // display line: 0 the staff, 1 the tablature line
  int startRow;        // where the caret stands when the dot is typed
  const char* before;  // keys typed after the dot, before the pick
  int note;            // the pick's note (0: no pick)
  int box;
  int string;
  int fret;
  int ticks;  // the column's length
};
void PrintTo(const DotCase& c, std::ostream* out) { *out << c.name; }

const DotCase kDots[] = {
    {"a letter then the note key", 0, 18, "eq", 0, 0, 0, 0, 720},
    {"a letter then a palette note", 0, 18, "e", kQuarter, kPalette, 0, 0, 720},
    {"the piano keyboard on a staff", 0, 18, "", 64, kKeyboard, 0, 0, 720},
    {"the piano keyboard on tablature", 1, 4, "", 61, kKeyboard, 0, 0, 720},
    {"the fretboard", 1, 4, "", 76, kFretboard, 0, 12, 720},
    {"the fretboard's low string", 1, 2, "", 55, kFretboard, 5, 3, 720},
    {"a quarter rest on the staff", 0, 22, "!", 0, 0, 0, 0, 720},
};

class DotFirst : public ToolboxPick, public ::testing::WithParamInterface<DotCase> {};

TEST_P(DotFirst, DotsTheNoteEnteredNextInItsColumn) {
  const DotCase& c = GetParam();
  CaretAt(c.line, 0, c.startRow);
  Type(".");
  Type(c.before);
  if (c.note != 0) {
    const int value = c.box == kPalette ? 0 : kQuarter;
    EXPECT_EQ(Pick(c.note, c.box, value, c.string, c.fret), 1);
  }
  const POSITION position = c.line == 0 ? staff : tab;
  const auto* column = AsChord(ListAt(position)->GetObjAt(0, 0));
  ASSERT_NE(column, nullptr) << Dump(position);
  // The dot stands on the row or string of the note (or rest) it dots.
  int head = -1;
  int dot = -1;
  for (int i = 0; i < column->GetNoteCount(); ++i) {
    const NotePair entry = column->GetNote(i);
    const int row = column->IsTabColumn() ? entry.position % 10 : entry.position;
    if (entry.code == KChord::kDot) {
      dot = row;
    } else if (entry.code <= 20 || (entry.code >= KChord::kFirstFret && entry.code <= KChord::kLastFret)) {
      head = row;
    }
  }
  EXPECT_NE(head, -1) << Dump(position);
  EXPECT_EQ(dot, head) << Dump(position);
  const int ticks = column->GetRestTicks() > 0 ? column->GetRestTicks() : column->GetTicks(3, false);
  EXPECT_EQ(ticks, c.ticks) << Dump(position);
  EXPECT_EQ(ListAt(position)->GetLength(), 1) << "one column: " << Dump(position);
}

INSTANTIATE_TEST_SUITE_P(Routes, DotFirst, ::testing::ValuesIn(kDots),
                         [](const ::testing::TestParamInfo<DotCase>& info) {
                           return CaseName(info.param.name);
                         });

// A dot typed after a note stands alone; a bar typed there takes its place
// with a beep, rather than pushing the dot on to dot the next bar's note.
TEST_F(ToolboxPick, ABarTypedOnADotThatStandsAloneTakesItsPlaceWithABeep) {
  CaretAt(0, 0, 22);
  Type("h.");
  ASSERT_EQ(Dump(staff), "0:10@22 1:36@22");
  Type("|");
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(BarColumns(staff), std::vector<int>{1});
  Type("q");
  EXPECT_EQ(Dump(staff).codes.find("36@"), std::string::npos) << "no dot is left: " << Dump(staff);
  const auto* next = AsChord(ListAt(staff)->GetObjAt(2, 0));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->GetTicks(3, false), 480) << "the note after the bar is a plain quarter";
  EXPECT_EQ(ui.Beeps().size(), 1u);
}

}  // namespace
