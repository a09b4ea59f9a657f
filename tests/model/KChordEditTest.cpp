#include <string>
#include <vector>

#include "ModelTestSupport.h"

namespace {

class KChordEdit : public ModelTest {};

struct Add {
  int position;
  int code;
  int packed = 0;
  int duration = -1;
};

std::vector<int> Codes(const KChord& c) {
  std::vector<int> codes;
  for (int i = 0; i < c.GetNoteCount(); ++i) codes.push_back(c.GetNote(i).code);
  return codes;
}

std::vector<int> Positions(const KChord& c) {
  std::vector<int> positions;
  for (int i = 0; i < c.GetNoteCount(); ++i) positions.push_back(c.GetNote(i).position);
  return positions;
}

TEST_F(KChordEdit, BarsSignaturesAndNotesFollowTheColumnRules) {
  struct Case {
    const char* what;
    std::vector<Add> before;
    Add add;
    int result;
    std::vector<int> codes;
    int stem0;
    int stem1;
  };
  const Case cases[] = {
      {"repeat sign after bar", {{1, 25}}, {1, 24}, 0, {96}, 4, 4},
      {"double of a 26", {{1, 26}}, {1, 26}, 0, {97}, 6, 6},
      {"26 after its double", {{1, 26}, {1, 26}}, {1, 26}, 0, {26}, 6, 6},
      {"24 after another bar", {{1, 21}}, {1, 24}, -1, {21}, 4, 4},
      {"note on a bar", {{1, 21}}, {18, 9}, -1, {21}, 4, 4},
      {"mark on a bar", {{1, 21}}, {1, 89}, 2, {21, 89}, 4, 4},
      {"bar replaces notes", {{18, 9}, {16, 9}}, {1, 21}, 0, {21}, 4, 4},
      {"key signature", {{1, 254}}, {1, 5}, 2, {254, 5}, 6, 6},
      {"time signature complete", {{1, 225}, {1, 103}}, {1, 103}, 3, {225, 103, 103}, 6, 6},
      {"time signature code 0", {{1, 225}}, {1, 0}, 2, {225, 0}, 6, 6},
      {"sharp on a sharp", {{18, 9}, {18, 28}}, {18, 28}, 1, {9, 29}, 6, 0},
      {"sharp on a double sharp", {{18, 9}, {18, 29}}, {18, 28}, 1, {9, 28}, 6, 0},
      {"flat beside a sharp", {{18, 9}, {18, 28}}, {18, 30}, 3, {9, 28, 30}, 6, 0},
      {"flagged code on empty tablature", {}, {3, 10000}, -1, {}, 0, 0},
  };
  for (const Case& c : cases) {
    const bool tab = std::string(c.what).find("tablature") != std::string::npos;
    KChord column(0, tab ? 70 : 0);
    for (const Add& a : c.before) column.AddNote(a.position, a.code, a.packed, a.duration);
    EXPECT_EQ(column.AddNote(c.add.position, c.add.code, c.add.packed, c.add.duration), c.result) << c.what;
    EXPECT_EQ(Codes(column), c.codes) << c.what;
    EXPECT_EQ(column.GetVoiceStem(0), c.stem0) << c.what;
    EXPECT_EQ(column.GetVoiceStem(1), c.stem1) << c.what;
  }
  EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
}

TEST_F(KChordEdit, NotesStandByVoiceThenStepThenOtherSymbols) {
  KChord column(0, 16, 9, 0);
  const Add adds[] = {{12, 0}, {14, 9}, {10, 0}, {20, 64}, {8, 11}};
  const int results[] = {0, 1, 0, 5, 2};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(column.AddNote(adds[k].position, adds[k].code), results[k]) << k;
  EXPECT_EQ(Codes(column), (std::vector<int>{0, 0, 11, 9, 9, 64}));
  EXPECT_EQ(Positions(column), (std::vector<int>{10, 12, 8, 14, 16, 20}));
  EXPECT_EQ(column.GetVoiceStem(0), 6);
  EXPECT_EQ(column.GetVoiceStem(1), 0);
}

TEST_F(KChordEdit, PlacementMarkFollowsTheVoiceOfTheNote) {
  struct Case {
    int noteCode;
    bool marked;
  };
  for (const Case c : {Case{1, false}, Case{0, true}}) {
    KChord column(0, 18, c.noteCode, 0);
    const int at = column.AddNote(18, 85) - 1;
    EXPECT_EQ(column.IsNoteMarked(at), c.marked) << c.noteCode;
  }
  KChord lone(0, 12, 1, 0);
  EXPECT_TRUE(lone.IsNoteMarked(lone.AddNote(20, 10048) - 1));  // no note at its step
  KChord empty(0);
  empty.AddNote(20, 85);
  EXPECT_TRUE(empty.IsNoteMarked(0));
}

TEST_F(KChordEdit, TwentyFirstSymbolIsRefused) {
  KChord column(0);
  for (int step = 0; step < 20; ++step) ASSERT_GE(column.AddNote(step, 64), 0) << step;
  EXPECT_EQ(column.AddNote(25, 64), -1);
  EXPECT_EQ(column.GetNoteCount(), 20);
  // Signature columns append too and stop at the same limit.
  KChord key(0);
  key.AddNote(1, 254);
  for (int k = 1; k < 20; ++k) ASSERT_EQ(key.AddNote(1, 3), k + 1);
  EXPECT_EQ(key.AddNote(1, 3), -1);
  EXPECT_EQ(key.GetNoteCount(), 20);
  EXPECT_EQ(m_ui.CountOf(7061), 2);
  EXPECT_EQ(m_ui.Messages().front().text,
            "There are already 20 symbols (the maximum allowed) at this position.");
}

TEST_F(KChordEdit, FretsOnAStringReplaceOrFormTwoDigitFrets) {
  struct Case {
    const char* tuning;
    int firstFret;
    int secondFret;
    int fret;  // fret on the string afterwards
    bool refused;
  };
  const Case cases[] = {
      {"E A D G B E  323742475156", 1, 3, 13, false},     {"E A D G B E  323742475156", 2, 4, 24, false},
      {"E A D G B E  323742475156", 3, 4, 4, false},      {"E A D G B E  323742475156!@@!12", 1, 9, 1, true},
      {"E A D G B E  323742475156!@@!40", 2, 7, 2, true},  // no code for fret 27
  };
  for (const Case& c : cases) {
    g_CurrentTuning = c.tuning;
    m_ui.ClearRecords();
    KChord column(0, 70);
    column.AddNote(4, 226 + c.firstFret, 0, 0);
    EXPECT_EQ(column.AddNote(4, 226 + c.secondFret, 0, 0), c.refused ? -1 : 0) << c.tuning;
    EXPECT_EQ(column.GetNoteCount(), 1);
    EXPECT_EQ(column.GetFretOnString(4), c.fret) << c.tuning << " " << c.firstFret << c.secondFret;
    EXPECT_EQ(m_ui.CountOf(7025), c.refused ? 1 : 0) << c.tuning;
  }
  EXPECT_EQ(m_ui.Messages().back().text, "For this instrument, fingering must be in the range 0 - 24.");
}

TEST_F(KChordEdit, BulkEntryAddsFurtherFretsBeforeTheOneOnTheString) {
  g_bulkEntry = 1;
  KChord column(0, 70);
  column.AddNote(4, 228, 0, 0);
  column.AddNote(2, 230, 0, 0);
  EXPECT_EQ(column.AddNote(4, 227, 0, 0), 1);
  EXPECT_EQ(Positions(column), (std::vector<int>{2, 4, 4}));
  EXPECT_EQ(Codes(column), (std::vector<int>{230, 227, 228}));
}

TEST_F(KChordEdit, TablatureFretDurations) {
  struct Case {
    const char* what;
    std::vector<Add> before;
    Add add;
    int duration;  // of the new fret
    int rhythm;    // of the column afterwards
  };
  const Case cases[] = {
      {"column duration", {}, {3, 228, 0, -1}, 2, 90},
      {"own duration sets the column", {}, {3, 228, 0, 4}, 4, 110},
      {"stemless quarter form", {}, {3, 228, 0, 108}, 14, 210},
      {"quarter beside a quarter", {{2, 226, 0, 8}}, {3, 228, 0, 8}, 8, 70},
      {"quarter beside an eighth of its voice", {{2, 226, 0, 0}}, {3, 228, 0, 8}, 14, 70},
      {"quarter beside an eighth of the other voice", {{2, 226, 0, 1}}, {3, 228, 0, 8}, 8, 80},
  };
  for (const Case& c : cases) {
    KChord column(0, std::string(c.what) == "column duration" ? 90 : 70);
    for (const Add& a : c.before) column.AddNote(a.position, a.code, a.packed, a.duration);
    const int at = column.AddNote(c.add.position, c.add.code, c.add.packed, c.add.duration);
    ASSERT_GE(at, 0) << c.what;
    EXPECT_EQ(column.GetNoteRhythm(at), c.duration) << c.what;
    EXPECT_EQ(column.GetRhythmCode(), c.rhythm) << c.what;
  }
}

TEST_F(KChordEdit, TablatureRefusesStringsOutsideTheLine) {
  KChord column(0, 70);
  column.AddNote(2, 228);
  EXPECT_EQ(column.AddNote(12, 229), -1);
  EXPECT_EQ(column.AddNote(3, 10008), -1);  // a duration mark needs a fret on its string
  EXPECT_EQ(column.GetNoteCount(), 1);
  const int at = column.AddNote(2, 10008);
  EXPECT_EQ(at, 1);
  EXPECT_EQ(column.GetRawNote(at).position, 82);
}

TEST_F(KChordEdit, EmptyCodeFillsTheDots) {
  KChord staff(0, 12, 9, 0);
  staff.AddNote(16, 9);
  staff.AddNote(12, 37);
  staff.AddNote(0, 107);
  EXPECT_EQ(Codes(staff), (std::vector<int>{9, 9, 36, 36}));
  EXPECT_EQ(Positions(staff), (std::vector<int>{12, 16, 12, 16}));

  KChord tab(0, 70);
  tab.AddNote(2, 228);
  tab.AddNote(4, 230);
  tab.AddNote(4, 107);
  EXPECT_EQ(Codes(tab), (std::vector<int>{228, 230, 36, 36}));
}

TEST_F(KChordEdit, WhoNeedsAColumnOfItsOwn) {
  struct Case {
    const char* what;
    std::vector<Add> column;
    int rhythm;
    int position;
    int code;
    bool anyVoice;
    int result;
  };
  const Case cases[] = {
      {"bar line", {{18, 9}}, 0, 18, 21, false, 1},
      {"repeat joins a bar", {{1, 25}}, 0, 1, 24, false, 0},
      {"repeat after notes", {{18, 9}}, 0, 18, 24, false, 1},
      {"double 26", {{1, 26}}, 0, 1, 26, false, 0},
      {"note on a bar column", {{1, 21}}, 0, 18, 9, false, 1},
      {"mark on a bar column", {{1, 21}}, 0, 1, 89, false, 0},
      {"signature", {{18, 9}}, 0, 18, 225, false, 1},
      {"free step", {{18, 9}}, 0, 16, 9, false, 0},
      {"any voice", {{18, 9}}, 0, 18, 8, true, 1},
      {"two quarters", {{18, 9}}, 0, 18, 8, false, 0},
      {"same voice", {{18, 1}}, 0, 18, 3, false, 1},
      {"other voice", {{18, 1}}, 0, 18, 0, false, 0},
      {"rest", {{18, 1}}, 0, 18, 16, false, 1},
      {"whole note", {{18, 1}}, 0, 18, 12, false, 0},
      {"mark", {{18, 1}}, 0, 18, 64, false, 0},
      {"fret after fret 1", {{3, 227}}, 70, 3, 229, false, 0},
      {"fret after fret 3", {{3, 229}}, 70, 3, 228, false, 1},
      {"fret after fret 0", {{3, 226}}, 70, 3, 228, false, 1},
      {"dot after a fret", {{3, 229}}, 70, 3, 36, false, 0},
  };
  for (const Case& c : cases) {
    KChord column(0, c.rhythm);
    for (const Add& a : c.column) column.AddNote(a.position, a.code, a.packed, a.duration);
    EXPECT_EQ(column.NeedsOwnColumn(c.position, c.code, c.anyVoice), c.result) << c.what;
  }
}

TEST_F(KChordEdit, RemovingNotes) {
  struct Case {
    const char* what;
    int position;
    int mode;
    int result;
    std::vector<int> codes;
    int stem0;
    int stem1;
  };
  // The column: a voice-0 quarter with a sharp at 12, a voice-0 quarter at 16
  // and a voice-1 half at 16.
  const Case cases[] = {
      {"all at a step", 12, 0, 28, {10, 9}, 6, 6},
      {"last at a step", 16, 1, 9, {10, 9, 28}, 6, 6},
      {"voice 1", 16, 2, 10, {9, 9, 28}, 6, 0},
      {"voice 0", 16, 3, 9, {10, 9, 28}, 6, 6},
      {"nothing there", 20, 0, KChord::kNone, {10, 9, 9, 28}, 6, 6},
  };
  for (const Case& c : cases) {
    KChord column(0, 12, 9, 0);
    column.AddNote(16, 9);
    column.AddNote(16, 10);
    column.AddNote(12, 28);
    ASSERT_EQ(Codes(column), (std::vector<int>{10, 9, 9, 28}));
    EXPECT_EQ(column.RemoveNote(c.position, c.mode), c.result) << c.what;
    EXPECT_EQ(Codes(column), c.codes) << c.what;
    EXPECT_EQ(column.GetVoiceStem(0), c.stem0) << c.what;
    EXPECT_EQ(column.GetVoiceStem(1), c.stem1) << c.what;
  }
  KChord empty(0);
  EXPECT_EQ(empty.RemoveNote(18, 0), 0);
  KChord lone(0, 18, 9, 0);
  EXPECT_EQ(lone.RemoveNote(18, 0), 9);
  EXPECT_EQ(lone.GetNoteCount(), 0);
  EXPECT_EQ(lone.GetVoiceStem(0), 0);
  EXPECT_EQ(lone.GetNote(0).code, KChord::kEmptyCode);
}

TEST_F(KChordEdit, RemovingTheOtherNoteClearsTheNudgeOfTheOneLeft) {
  KChord column(0, 17, 1, 0);
  column.AddNote(18, 1);  // a second: the lower note steps aside
  ASSERT_NE(column.GetNoteOffset(1, false), 0);
  column.RemoveNote(17, 0);
  ASSERT_EQ(column.GetNoteCount(), 1);
  EXPECT_EQ(column.GetNoteOffset(0, false), 0);
}

TEST_F(KChordEdit, SymbolRemovalsKeepTheLastEntry) {
  KChord column(0, 18, 9, 0);
  column.AddNote(18, 64);
  column.AddNote(14, 64);
  EXPECT_EQ(column.RemoveSymbolAt(0), -1);  // a note
  EXPECT_EQ(column.RemoveSymbolAt(2), 64);
  column.RemoveCode(9);
  column.RemoveCode(64);
  EXPECT_EQ(Codes(column), std::vector<int>{64});

  KChord tab(0, 70);
  tab.AddNote(3, 230);
  tab.AddNote(5, 228);
  EXPECT_EQ(tab.RemoveFretOnString(5), 2);
  EXPECT_EQ(tab.RemoveFretOnString(5), KChord::kNone);
  EXPECT_EQ(tab.GetNoteCount(), 1);
}

TEST_F(KChordEdit, NudgesStopAtTheirLimits) {
  KChord column(0, 18, 1, 0);
  column.AddNote(18, 64);
  int last = 0;
  for (int k = 0; k < 15; ++k) last = column.NudgeNote(18, 39);
  EXPECT_EQ(last, 15);
  EXPECT_EQ(column.GetNoteOffset(1, false), 30);
  EXPECT_EQ(column.NudgeNote(18, 39), 1000);
  for (int k = 0; k < 30; ++k) column.NudgeNote(18, 37);
  EXPECT_EQ(column.GetNoteOffset(1, false), -30);
  EXPECT_EQ(column.NudgeNote(18, 37), 1000);

  for (int k = 0; k < 4; ++k) EXPECT_NE(column.NudgeNote(18, 38), 1000);
  EXPECT_EQ(column.NudgeNote(18, 38), 1000);
  EXPECT_EQ(column.GetNoteOffset(1, true), -4);
  for (int k = 0; k < 7; ++k) EXPECT_NE(column.NudgeNote(18, 40), 1000);
  EXPECT_EQ(column.NudgeNote(18, 40), 1000);
  EXPECT_EQ(column.GetNoteOffset(1, true), 3);
  EXPECT_EQ(column.NudgeNote(12, 39), 1000);  // nothing at that step
}

TEST_F(KChordEdit, QuarterMovedSidewaysTakesItsOwnStem) {
  KChord column(0, 18, 9, 0);
  EXPECT_EQ(column.NudgeNote(18, 39), 1 | 1 << 5);
  EXPECT_EQ(column.NudgeNote(18, 38), 1000);
  EXPECT_EQ(column.GetNoteOffset(0, true), 1);
}

TEST_F(KChordEdit, NoteDurationModes) {
  struct Case {
    const char* what;
    int code;
    int mode;
    int changed;
    std::vector<int> codes;
    int stem0;
    int stem1;
  };
  // The column: voice-1 eighth, voice-0 eighths at two steps.
  const Case cases[] = {
      {"all notes", 9, 1000, 1, {9, 9, 9}, 6, 0},
      {"voice of the code", 8, 2000, 1, {8, 1, 1}, 0, 6},
      {"lengths by voice", 8, 3000, 1, {8, 9, 9}, 6, 6},
      {"whole note", 12, 3000, 1, {12, 12, 12}, 0, 0},
      {"no mode", 8, 0, 0, {0, 1, 1}, 0, 0},
  };
  for (const Case& c : cases) {
    KChord column(0, 10, 0, 0);
    column.AddNote(14, 1);
    column.AddNote(16, 1);
    int code = c.code;
    EXPECT_EQ(column.SetNoteDuration(code, c.mode), c.changed) << c.what;
    EXPECT_EQ(Codes(column), c.codes) << c.what;
    EXPECT_EQ(column.GetVoiceStem(0), c.stem0) << c.what;
    EXPECT_EQ(column.GetVoiceStem(1), c.stem1) << c.what;
  }
}

TEST_F(KChordEdit, QuartersChangedToEighthsGetTheirFlagsBack) {
  KChord column(0, 14, 9, 0);
  column.AddNote(16, 9);
  ASSERT_EQ(column.GetVoiceStem(0), 6);
  int code = 1;
  ASSERT_EQ(column.SetNoteDuration(code, 1000), 1);
  EXPECT_EQ(column.GetVoiceStem(0), 0);
  EXPECT_EQ(column.GetFlagCount(0), 1);
}

TEST_F(KChordEdit, TablatureDurationOfOneString) {
  KChord column(0, 70);
  column.AddNote(2, 228, 0, 0);  // an eighth of voice 1
  column.AddNote(4, 230, 0, 2);  // a sixteenth of voice 1
  int code = 8;
  EXPECT_EQ(column.SetNoteDuration(code, 1004), 1);
  EXPECT_EQ(code, 14);  // the stemless quarter beside shorter notes of its voice
  EXPECT_EQ(column.GetNoteRhythm(1), 14);
  EXPECT_EQ(column.GetNoteRhythm(0), 0);
  EXPECT_EQ(column.GetRhythmCode(), 70 + 140);
}

TEST_F(KChordEdit, StylesOfColumnAndNotes) {
  KChord column(0, 18, 9, 0);
  column.AddNote(14, 9);
  column.SetNoteStyle(3, -1);
  EXPECT_EQ(column.GetNoteStyle(), 3);
  column.SetNoteStyle(9, 14);
  EXPECT_EQ(column.GetNoteStyleAt(0), 9);
  EXPECT_EQ(column.GetNoteStyleAt(1), 3);
  column.SetNoteStyle(13, -1);  // no such style
  EXPECT_EQ(column.GetNoteStyle(), 3);
  // A per-note style equal to the column's is not stored.
  KChord other(0, 2);
  other.AddNote(18, 9, 3);
  EXPECT_EQ(other.GetEntry(0).flagAndExtra, 0);
}

}  // namespace
