#include "ModelTestSupport.h"

namespace {

class KChordEntries : public ModelTest {};

TEST_F(KChordEntries, OneSymbolConstructor) {
  struct Case {
    const char* what;
    int value;
    int code;
    int rhythm;
    int count;
    int rawValue;
    int stem0;
    int stem1;
  };
  const Case cases[] = {
      {"voice-0 quarter", 18, 9, 0, 1, 18, 6, 0},
      {"voice-1 half", 18, 10, 0, 1, 18, 0, 6},
      {"bar", 1, 23, 0, 1, 1, 4, 4},
      {"bar form", 1, 10023, 0, 1, 1, 4, 4},
      {"26", 1, 26, 0, 1, 1, 6, 6},
      {"fret of a quarter column", 3, 229, 160, 1, 93, 6, 0},
      {"fret of an eighth column", 3, 229, 70, 1, 3, 0, 0},
      {"no entry", 37, 9, 0, 0, 0, 6, 0},
  };
  for (const Case& c : cases) {
    const KChord column(2, c.value, c.code, c.rhythm);
    EXPECT_EQ(column.GetNoteCount(), c.count) << c.what;
    EXPECT_EQ(column.GetRawNote(0).position, c.rawValue) << c.what;
    EXPECT_EQ(column.GetVoiceStem(0), c.stem0) << c.what;
    EXPECT_EQ(column.GetVoiceStem(1), c.stem1) << c.what;
  }
  EXPECT_EQ(KChord(0, 18, 10023, 0).GetNote(0).code, 10023);
  EXPECT_EQ(KChord(0, 18, 10023, 0).GetRawNote(0).code, 23);
  EXPECT_EQ(KChord(0, 3, 88, 70).GetNote(0).code, 100);  // the tablature form
  EXPECT_EQ(KChord(0, 37, 9, 0).GetNote(0).code, KChord::kEmptyCode);
}

TEST_F(KChordEntries, CountsAndFrets) {
  KChord tab(0, 70);
  EXPECT_EQ(tab.GetLowestFret(), -1);
  tab.AddNote(2, 236);
  tab.AddNote(4, 229);
  tab.AddNote(4, 36);
  EXPECT_EQ(tab.CountNotes(), 2);
  EXPECT_EQ(tab.GetLowestFret(), 3);
  EXPECT_EQ(tab.GetFretOnString(2), 10);
  EXPECT_EQ(tab.GetCodeAt(4), 36);
  EXPECT_EQ(tab.GetCodeAt(5), KChord::kNone);
  // A fret entry moves to another string and keeps its duration.
  tab.SetNoteValue(0, 7);
  EXPECT_EQ(tab.GetNote(0).position, 7);
  tab.SetNoteValue(0, 12);
  EXPECT_EQ(tab.GetNote(0).position, 7);

  KChord staff(0, 18, 9, 0);
  staff.AddNote(18, 28);
  staff.AddNote(14, 16);
  EXPECT_EQ(staff.CountNotes(), 1);  // the rest and the sharp do not sound
  EXPECT_EQ(staff.GetLowestFret(), 0);
  KChord key(0);
  key.AddNote(1, 254);
  key.AddNote(1, 2);
  EXPECT_EQ(key.CountNotes(), 0);
}

TEST_F(KChordEntries, NudgeBitsDecodeToPixels) {
  struct Case {
    int extra;
    int horizontal;
    int vertical;
  };
  const Case cases[] = {{0, 0, 0},  {1, 2, 0},      {15, 30, 0},    {17, -2, 0},     {31, -30, 0},
                        {16, 0, 0}, {1 << 5, 0, 1}, {3 << 5, 0, 3}, {4 << 5, 0, -1}, {7 << 5 | 20, -8, -4}};
  for (const Case& c : cases) {
    KChord column(0);
    column.AddNote(18, 64, c.extra << 8);
    EXPECT_EQ(column.GetNoteOffset(0, false), c.horizontal) << c.extra;
    EXPECT_EQ(column.GetNoteOffset(0, true), c.vertical) << c.extra;
  }
}

TEST_F(KChordEntries, ClearEmptiesEverything) {
  KChord column(4, 18, 9, 3);
  column.Clear();
  EXPECT_EQ(column.GetNoteCount(), 0);
  EXPECT_EQ(column.GetNote(0).code, KChord::kEmptyCode);
  EXPECT_EQ(column.GetVoiceStem(0), 0);
  EXPECT_EQ(column.GetRhythmCode(), 0);
  EXPECT_EQ(column.GetPos(), 4);
}

}  // namespace
