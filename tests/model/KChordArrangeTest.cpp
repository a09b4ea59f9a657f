#include <utility>
#include <vector>

#include "ModelTestSupport.h"

namespace {

class KChordArrange : public ModelTest {};

using Adds = std::vector<std::pair<int, int>>;  // (step, code) in the order added

KChord Build(const Adds& adds) {
  KChord column(0);
  for (const auto& [step, code] : adds) column.AddNote(step, code);
  return KChord(column, 0, true);
}

std::vector<int> Offsets(const KChord& c) {
  std::vector<int> offsets;
  for (int i = 0; i < c.GetNoteCount(); ++i) offsets.push_back(c.GetNoteOffset(i, false));
  return offsets;
}

TEST_F(KChordArrange, SecondsStandSideBySide) {
  struct Case {
    const char* what;
    Adds adds;
    std::vector<int> offsets;  // pixels, in column order (notes by voice and step)
  };
  const Case cases[] = {
      {"stem-down second", {{17, 1}, {18, 1}}, {0, -8}},
      {"stem-up second", {{17, 0}, {18, 0}}, {8, 0}},
      {"stem-down cluster", {{16, 1}, {17, 1}, {18, 1}}, {0, -8, 0}},
      {"stem-up cluster", {{16, 0}, {17, 0}, {18, 0}}, {0, 8, 0}},
      {"third", {{16, 1}, {18, 1}}, {0, 0}},
      {"second across voices", {{17, 0}, {18, 1}}, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(Offsets(Build(c.adds)), c.offsets) << c.what;
}

TEST_F(KChordArrange, AccidentalsStackInColumns) {
  struct Case {
    const char* what;
    Adds adds;
    std::vector<int> offsets;
  };
  const Case cases[] = {
      {"apart", {{10, 1}, {20, 1}, {10, 28}, {20, 30}}, {0, 0, 0, 0}},
      {"close", {{14, 1}, {16, 1}, {18, 1}, {14, 28}, {16, 28}, {18, 28}}, {0, 0, 0, 0, -8, -16}},
      {"beside a second", {{17, 1}, {18, 1}, {17, 28}, {18, 28}}, {0, -8, -8, -24}},
  };
  for (const Case& c : cases) EXPECT_EQ(Offsets(Build(c.adds)), c.offsets) << c.what;
}

TEST_F(KChordArrange, CompanionsFollowTheirNotes) {
  struct Case {
    const char* what;
    Adds adds;
    std::vector<int> offsets;
  };
  const Case cases[] = {
      // The upper note of a stem-up second moves right and takes its dot along.
      {"dot of a moved note", {{17, 0}, {18, 0}, {17, 36}, {18, 36}}, {8, 0, 8, 0}},
      {"arpeggio left of accidentals", {{14, 1}, {16, 1}, {14, 28}, {16, 28}, {16, 80}}, {0, 0, 0, -8, -8}},
      {"arpeggio beside a double sharp", {{14, 1}, {14, 29}, {14, 80}}, {0, 0, -6}},
      {"slide after a moved note", {{17, 0}, {18, 0}, {18, 48}}, {8, 0, 8}},
  };
  for (const Case& c : cases) EXPECT_EQ(Offsets(Build(c.adds)), c.offsets) << c.what;
}

TEST_F(KChordArrange, DotsStayPutAfterAMidiImport) {
  g_midiImporting = 1;
  EXPECT_EQ(Offsets(Build({{17, 0}, {18, 0}, {17, 36}})), (std::vector<int>{8, 0, 0}));
}

TEST_F(KChordArrange, VerticalNudgesAreKept) {
  KChord column(0, 17, 1, 0);
  column.AddNote(17, 64, 3 << 13);  // a mark nudged 3 pixels down, added without arranging
  column.AddNote(18, 1);
  ASSERT_EQ(column.GetNoteOffset(2, true), 3);
  column.ArrangeNoteHeads();
  EXPECT_EQ(column.GetNoteOffset(2, true), 3);
}

TEST_F(KChordArrange, TablatureMarksMakeRoomForTwoDigitFrets) {
  KChord column(0, 70);
  column.AddNote(2, 238);    // fret 12
  column.AddNote(4, 10080);  // flagged: any two-digit fret in the column
  EXPECT_EQ(column.GetNoteOffset(1, false), -6);
  column.RemoveFretOnString(2);
  column.ArrangeNoteHeads();
  EXPECT_EQ(column.GetNoteOffset(0, false), 0);

  KChord own(0, 70);
  own.AddNote(3, 239);
  own.AddNote(3, 80);  // plain: the frets before it on its string
  own.AddNote(5, 227);
  own.AddNote(5, 80);
  EXPECT_EQ(Offsets(own), (std::vector<int>{0, -6, 0, 0}));
}

}  // namespace
