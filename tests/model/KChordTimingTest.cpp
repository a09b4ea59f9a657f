#include <vector>

#include "ModelTestSupport.h"

namespace {

class KChordTiming : public ModelTest {};

struct Add {
  int position;
  int code;
  int packed = 0;
  int duration = -1;
};

TEST_F(KChordTiming, ColumnLengths) {
  struct Case {
    const char* what;
    int rhythm;
    std::vector<Add> adds;
    int voice;
    bool byStyle;
    int ticks;
  };
  const Case cases[] = {
      {"dotted quarter", 0, {{18, 8}, {18, 36}}, 1, false, 720},
      {"quarter with a flagged dot", 0, {{18, 8}, {18, 10036}}, 1, false, 900},
      {"double-dotted half", 0, {{18, 10}, {18, 37}}, 1, false, 1680},
      {"voice 1 of two voices", 0, {{10, 0}, {12, 9}}, 1, false, 240},
      {"voice 0 of two voices", 0, {{10, 0}, {12, 9}}, 0, false, 480},
      {"both voices", 0, {{10, 0}, {12, 9}}, 3, false, 240},
      {"whole note in any voice", 0, {{18, 12}}, 0, false, 1920},
      {"flagged long note", 0, {{18, 10012}}, 1, false, 3840},
      {"rest", 0, {{18, 17}}, 0, false, 240},
      {"key signature", 0, {{1, 254}, {1, 4}}, 3, false, 0},
      {"bar", 0, {{1, 21}}, 3, false, 0},
      {"no note of the voice", 0, {{18, 9}}, 1, false, 0},
      {"style plays two thirds", 1, {{18, 9}}, 0, true, 320},
      {"style ignored", 1, {{18, 9}}, 0, false, 480},
      {"tablature dotted quarter", 70, {{3, 228, 0, 9}, {3, 36}}, 0, false, 720},
      {"tablature stemless quarter", 70, {{3, 228, 0, 0}, {4, 228, 0, 14}}, 1, false, 240},
      {"tablature voices", 70, {{3, 228, 0, 1}, {4, 228, 0, 8}}, 1, false, 480},
  };
  for (const Case& c : cases) {
    KChord column(0, c.rhythm);
    for (const Add& a : c.adds) column.AddNote(a.position, a.code, a.packed, a.duration);
    EXPECT_EQ(column.GetTicks(c.voice, c.byStyle), c.ticks) << c.what;
  }
}

TEST_F(KChordTiming, RestColumnLength) {
  KChord rest(0, 18, 16, 0);
  rest.AddNote(18, 36);
  EXPECT_EQ(rest.GetRestTicks(), 720);
  rest.AddNote(14, 64);
  EXPECT_EQ(rest.GetRestTicks(), 0);  // more than two entries
}

TEST_F(KChordTiming, VoiceDurations) {
  struct Case {
    const char* what;
    std::vector<Add> adds;
    int voice;
    int duration;
  };
  const Case cases[] = {
      {"voice 1", {{10, 0}, {12, 9}}, 1, 0},
      {"voice 0", {{10, 0}, {12, 9}}, 0, 9},
      {"either voice", {{10, 0}, {12, 9}}, 3, 0},
      {"whole note only", {{18, 12}}, 0, 12},
      {"whole note only, voice 1", {{18, 12}}, 1, 12},
      {"no note", {{18, 64}}, 0, KChord::kNoDuration},
      {"grace note not counted", {{18, 10003}}, 0, KChord::kNoDuration},
      {"grace note counted", {{18, 10003}}, ~0, 10003},
      {"bar", {{1, 26}}, 3, KChord::kNoDuration},
  };
  for (const Case& c : cases) {
    KChord column(0);
    for (const Add& a : c.adds) column.AddNote(a.position, a.code, a.packed, a.duration);
    EXPECT_EQ(column.GetVoiceDuration(c.voice), c.duration) << c.what;
  }
  KChord tab(0, 70);
  tab.AddNote(2, 228, 0, 14);
  tab.AddNote(4, 230, 0, 3);
  EXPECT_EQ(tab.GetVoiceDuration(1), 8);  // the stemless quarter counts as a quarter
  EXPECT_EQ(tab.GetVoiceDuration(0), 3);
  EXPECT_EQ(tab.GetNoteDurationAt(4, 3), 3);
  EXPECT_EQ(tab.GetNoteDurationAt(5, 3), KChord::kNoDuration);
}

TEST_F(KChordTiming, NotesFlagsAndExtremes) {
  KChord column(0);
  column.AddNote(10, 4);  // voice-1 32nd
  column.AddNote(12, 3);  // voice-0 sixteenth
  column.AddNote(16, 3);
  column.AddNote(16, 64);  // a mark
  EXPECT_EQ(column.FindNoteAt(12), 1);
  EXPECT_EQ(column.FindNoteAt(14), -1);
  EXPECT_EQ(column.GetFlagCount(0), 2);
  EXPECT_EQ(column.GetFlagCount(1), 3);
  EXPECT_EQ(column.GetExtremeNote(0), 16);
  EXPECT_EQ(column.GetExtremeNote(1), 10);
  EXPECT_EQ(column.GetExtremeNote(100), 10);
  EXPECT_EQ(column.GetExtremeNote(101), 16);

  KChord quarters(0, 18, 9, 0);
  EXPECT_EQ(quarters.GetFlagCount(0), 0);  // drawn without flags

  KChord tab(0, 70);
  tab.AddNote(2, 228, 0, 2);
  tab.AddNote(5, 230, 0, 5);
  tab.AddNote(7, 226, 0, 1);
  EXPECT_EQ(tab.GetFlagCount(1), 2);
  EXPECT_EQ(tab.GetFlagCount(0), 3);
  EXPECT_EQ(tab.GetExtremeNote(0), 7);
  EXPECT_EQ(tab.GetExtremeNote(1), 2);
  EXPECT_EQ(tab.GetExtremeNote(3), 2);
  EXPECT_EQ(tab.GetExtremeNote(101), 7);
}

TEST_F(KChordTiming, SmallStemValuesAreKeptAsTheyAre) {
  for (int stored : {-2, 0, 5, 6}) {
    KChord column(0, 10, 0, 0);
    column.SetVoiceStem(1, stored);
    for (int size : {0, 1}) EXPECT_EQ(column.GetStemEnd(1, size), stored) << stored << " at size " << size;
  }
}

TEST_F(KChordTiming, StemEndsRoundTripThroughTheStoredForm) {
  struct Case {
    const char* what;
    Add note;
    int voice;
    int y;       // stem end, growing downwards
    int stored;  // the size-independent form
  };
  const Case cases[] = {
      {"voice 1 stem up opening a beam", {10, 0}, 1, 61, 289},
      {"voice 0 stem down closing a beam", {20, 1}, 0, 140, 236},
  };
  for (const Case& c : cases) {
    KChord column(0);
    column.AddNote(c.note.position, c.note.code);
    column.SetStemEnd(c.voice, c.y);
    EXPECT_EQ(column.GetVoiceStem(c.voice), c.stored) << c.what;
    EXPECT_EQ(column.GetStemEnd(c.voice), c.y) << c.what;
    // The stored form serves the other size too.
    const int large = column.GetStemEnd(c.voice, 1);
    EXPECT_EQ(large & 1, c.y & 1) << c.what;
    EXPECT_NE(large, c.y) << c.what;
  }
}

TEST_F(KChordTiming, TablatureStemsUseTheStringSpacing) {
  KChord tab(0, 70);
  tab.AddNote(4, 228, 0, 0);
  tab.SetVoiceStem(1, 301);
  // base (4 - 2) x (spacing + 1) - 2, plus 100, less 301 x 14 / 150; odd like 301.
  EXPECT_EQ(tab.GetStemEnd(1, 0), 91);
  EXPECT_EQ(tab.GetStemEnd(1, 0, 20), 111);
  g_tabStringSpacing = 20;
  EXPECT_EQ(tab.GetStemEnd(1, 0), 111);
}

TEST_F(KChordTiming, CopiesTakeStemsByChoice) {
  KChord column(4, 10, 0, 0);
  column.AddNote(12, 9);
  column.SetVoiceStem(1, 301);
  const KChord kept(column, 9, true);
  const KChord computed(column, 9, false);
  EXPECT_EQ(kept.GetPos(), 9);
  EXPECT_EQ(kept.GetVoiceStem(1), 301);
  EXPECT_EQ(computed.GetVoiceStem(1), 0);
  EXPECT_EQ(computed.GetVoiceStem(0), 6);
  EXPECT_EQ(computed.GetNoteCount(), 2);
  KChord target(0);
  target.CopyFrom(column);
  EXPECT_EQ(target.GetPos(), 4);
  EXPECT_EQ(target.GetVoiceStem(1), 0);
  EXPECT_EQ(target.GetNote(1).code, 9);
}

}  // namespace
