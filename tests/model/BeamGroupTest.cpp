// Beam groups of note lines: where a group around a column starts and ends,
// how parts of a group are cleared, how a range is beamed (its limits and its
// beam line), and how an inserted column joins, passes or breaks a group.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "NoteLineTestSupport.h"
#include "common/Globals.h"

namespace {

constexpr int kForward = 21;
constexpr int kBackward = 20;
constexpr UINT kTooLong = 7060;

class BeamGroupTest : public LineTest {};

// n voice-0 eighths at columns 0.. with the given voice-0 roles (one
// character per column; empty: all "0").
std::string Eighths(int n, const std::string& roles = "") {
  std::string text;
  for (int i = 0; i < n; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(i) + "=1@13/" + (roles.empty() ? '0' : roles[i]) + "0";
  }
  return text;
}

std::string Inside(int n) { return std::string(n, 'i'); }

// ---- Beaming a range ---------------------------------------------------------

struct RangeCase {
  std::string name;
  int kind;
  std::string before;
  int voice;
  int first;  // indexes into the line's list
  int last;
  std::string after;
  int messages;  // boxes 7060 shown
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.name; }

class BeamGroupRangeTest : public BeamGroupTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(BeamGroupRangeTest, WritesGroupRoles) {
  const RangeCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.before);
  line->ClearChanged();
  line->BeamRange(NodeAt(*line, c.first), NodeAt(*line, c.last), c.voice, 0);
  EXPECT_EQ(NotesText(*line), c.after);
  EXPECT_EQ(m_ui.CountOf(kTooLong), c.messages);
  EXPECT_EQ(line->IsChanged(), 1);
}

const RangeCase kRanges[] = {
    {"TwoEighths", kTreble, "0=1@13/00 1=1@19/00", 0, 0, 1, "0=1@13/o0 1=1@19/c0", 0},
    {"ReversedRangeBeamsTheSame", kTreble, "0=1@13/00 1=1@19/00", 0, 1, 0, "0=1@13/o0 1=1@19/c0", 0},
    {"RestBetweenIsPassedOver", kTreble, "0=1@13/00 1=17@14/00 2=1@15/00", 0, 0, 2,
     "0=1@13/o0 1=17@14/i0 2=1@15/c0", 0},
    {"ColumnsWithoutFlagsAtEndsStayOutside", kTreble, "0=17@14/i0 1=1@13/00 2=1@15/00 3=17@14/i0", 0, 0, 3,
     "0=17@14/00 1=1@13/o0 2=1@15/c0 3=17@14/00", 0},
    {"SingleFlaggedColumnStandsAlone", kTreble, "0=1@13/i0 1=17@14/i0", 0, 0, 1, "0=1@13/00 1=17@14/00", 0},
    {"BarEndsGroup", kTreble, "0=1@13/00 1=1@15/00 2=21@1/44 3=1@13/00 4=1@15/00", 0, 0, 4,
     "0=1@13/o0 1=1@15/c0 2=21@1/44 3=1@13/o0 4=1@15/c0", 0},
    {"VoiceOne", kTreble, "0=0@10/00 1=1@13/00 2=0@12/00", 1, 0, 2, "0=0@10/0o 1=1@13/0i 2=0@12/0c", 0},
    {"Tablature", kTab, "0~80=227@11/00 1~80=229@13/00", 0, 0, 1, "0~80=227@11/o0 1~80=229@13/c0", 0},
    {"ThirtyTwoColumnsMakeOneGroup", kTreble, Eighths(32), 0, 0, 31, Eighths(32, "o" + Inside(30) + "c"), 0},
    {"ThirtyThirdColumnStandsAlone", kTreble, Eighths(33), 0, 0, 32, Eighths(33, "o" + Inside(30) + "c0"), 1},
    {"ThirtyFourColumnsMakeTwoGroups", kTreble, Eighths(34), 0, 0, 33, Eighths(34, "o" + Inside(30) + "coc"),
     1},
    {"LongRangeWarnsOnce", kTreble, Eighths(70), 0, 0, 69,
     Eighths(70, "o" + Inside(30) + "co" + Inside(30) + "co" + Inside(4) + "c"), 1},
};

INSTANTIATE_TEST_SUITE_P(Ranges, BeamGroupRangeTest, ::testing::ValuesIn(kRanges),
                         [](const ::testing::TestParamInfo<RangeCase>& info) { return info.param.name; });

// ---- The beam line -----------------------------------------------------------

struct ShapeCase {
  std::string name;
  int kind;
  int sizeIndex;
  int voice;
  std::string notes;
};

void PrintTo(const ShapeCase& c, std::ostream* out) { *out << c.name; }

class BeamGroupShapeTest : public BeamGroupTest, public ::testing::WithParamInterface<ShapeCase> {};

// The y of a staff step in the frame of the stem ends.
double StepY(int step, int sizeIndex) { return (step - 14) * g_StaffStep[sizeIndex] + 100.0; }

// The stem ends lie on one straight line at least 12 units beyond the notes
// (voice 0 below, voice 1 above), no steeper than 0.05 for more than two
// columns, and the beam keeps no farther off than its 22 units where it can.
TEST_P(BeamGroupShapeTest, StemEndsLieOnBeamLineBeyondNotes) {
  const ShapeCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.notes);
  const int n = line->GetObjCount();
  line->BeamRange(NodeAt(*line, 0), NodeAt(*line, n - 1), c.voice, c.sizeIndex);

  const double sense = c.voice == 0 ? 1.0 : -1.0;
  const double width = g_NoteColumnWidth[c.sizeIndex];
  std::vector<double> x;
  std::vector<double> end;
  double shortest = 1e9;
  for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord& column = *AsChord(line->GetObjList()->GetNext(node));
    const double e = std::abs(column.GetStemEnd(c.voice, c.sizeIndex));
    // Stems reach past every note of the column on drum staves, past the
    // voice's own extreme note elsewhere.
    const int mode = c.kind == kDrums ? (c.voice == 0 ? 101 : 100) : c.voice;
    const double stem = sense * (e - StepY(column.GetExtremeNote(mode), c.sizeIndex));
    EXPECT_GE(stem, 11.0) << "column " << column.GetPos();
    shortest = std::min(shortest, stem);
    x.push_back(column.GetPos() * width);
    end.push_back(e);
  }
  EXPECT_LE(shortest, 23.0);
  const double slope = (end.back() - end.front()) / (x.back() - x.front());
  if (n > 2) {
    EXPECT_LE(std::abs(slope), 0.05 + 2.0 / (x.back() - x.front()));
  }
  for (std::size_t i = 1; i + 1 < x.size(); ++i) {
    // Each end may move by a unit for its parity and lose one to the stored scale.
    EXPECT_NEAR(end[i], end.front() + slope * (x[i] - x.front()), 3.0) << "column " << i;
  }
}

const ShapeCase kShapes[] = {
    {"FlatRun", kTreble, 0, 0, "0=1@13 1=1@13 2=1@13"},
    {"SteepRiseIsFlattened", kTreble, 0, 0, "0=1@9 1=1@13 2=1@17 3=1@21"},
    {"TwoColumnsFollowTheirNotes", kTreble, 0, 0, "0=1@9 1=1@21"},
    {"LowMiddleNotePushesBeamAway", kTreble, 0, 0, "0=1@13 1=1@25 2=1@13"},
    {"VoiceOneAboveItsNotes", kTreble, 0, 1, "0=0@13 1=0@9 2=0@17"},
    {"LargeSymbols", kTreble, 1, 0, "0=1@11 1=1@19 2=1@15 3=1@13"},
    {"HighNotesAtLargeSize", kTreble, 1, 1, "0=0@0 1=0@36 2=0@0"},
    {"DrumStemsClearEveryNote", kDrums, 0, 0, "0=0@20+1@12 1=0@22+1@14 2=0@20+1@12"},
};

INSTANTIATE_TEST_SUITE_P(Shapes, BeamGroupShapeTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<ShapeCase>& info) { return info.param.name; });

// ---- Finding groups ----------------------------------------------------------

struct NeighbourCase {
  std::string name;
  std::string notes;
  int column;
  int voice;
  int start;  // indexes; -1 for none
  int end;
};

void PrintTo(const NeighbourCase& c, std::ostream* out) { *out << c.name; }

class BeamGroupNeighbourTest : public BeamGroupTest, public ::testing::WithParamInterface<NeighbourCase> {};

TEST_P(BeamGroupNeighbourTest, FindsNearestFlaggedColumnsOfVoice) {
  const NeighbourCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
  POSITION start = nullptr;
  POSITION end = nullptr;
  line->FindNeighbours(c.column, c.voice, start, end);
  EXPECT_EQ(IndexOf(*line, start), c.start);
  EXPECT_EQ(IndexOf(*line, end), c.end);
}

const NeighbourCase kNeighbours[] = {
    {"BothSides", "0=1@13 1=1@15 2=1@17", 1, 0, 0, 2},
    {"CaretInGap", "0=1@13 3=1@15", 1, 0, 0, 1},
    {"RestIsPassed", "0=1@13 1=17@14 2=1@15", 2, 0, 0, -1},
    {"BarStopsSearch", "0=1@13 1=21@1/44 2=1@15 3=1@17", 2, 0, -1, 3},
    {"BarAtCaretEndsGroupAfter", "0=1@13 1=21@1/44 2=1@15", 1, 0, 0, -1},
    {"PlainVoiceStopsSearch", "0=1@13 1=9@14/60 2=1@15 3=1@17", 2, 0, -1, 3},
    {"OtherVoiceIgnored", "0=0@10 1=1@13 2=0@12", 1, 1, 0, 2},
};

INSTANTIATE_TEST_SUITE_P(Neighbours, BeamGroupNeighbourTest, ::testing::ValuesIn(kNeighbours),
                         [](const ::testing::TestParamInfo<NeighbourCase>& info) { return info.param.name; });

// Two groups of voice 0: columns 0..2 and 3..4.
constexpr const char* kTwoGroups = "0=1@13/o0 1=1@15/i0 2=1@17/c0 3=1@13/o0 4=1@15/c0";

TEST_F(BeamGroupTest, GroupEdgeStopsAtOwnEdgeOrUnbeamedColumn) {
  struct EdgeCase {
    const char* notes;
    int from;
    int direction;
    int edge;
  };
  const EdgeCase cases[] = {
      {kTwoGroups, 1, kBackward, 0},
      {kTwoGroups, 1, kForward, 2},
      {kTwoGroups, 4, kBackward, 3},
      {kTwoGroups, 3, kBackward, 3},
      {"0=1@13 1=17@14 2=1@15", 2, kBackward, 2},           // an unbeamed flagged column
      {"0=1@13/i0 1=21@1/44 2=1@15/i0", 2, kBackward, -1},  // never across a bar
      {"0=1@13/i0 1=9@14/60", 1, kBackward, -1},
  };
  for (const EdgeCase& c : cases) {
    std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
    EXPECT_EQ(IndexOf(*line, line->FindBeamGroupEdge(NodeAt(*line, c.from), 0, c.direction)), c.edge)
        << c.notes << " from " << c.from;
  }
}

TEST_F(BeamGroupTest, ClearingStopsAtBoundOrAtEdgeOfOwnGroup) {
  struct ClearCase {
    int first;
    int last;
    int direction;
    const char* after;
  };
  const ClearCase cases[] = {
      // Up to the bound, which is not visited.
      {0, 2, kForward, "0=1@13/00 1=1@15/00 2=1@17/c0 3=1@13/o0 4=1@15/c0"},
      // No bound: the rest of the start's own group, never the next group.
      {1, -1, kForward, "0=1@13/o0 1=1@15/00 2=1@17/00 3=1@13/o0 4=1@15/c0"},
      {1, -1, kBackward, "0=1@13/00 1=1@15/00 2=1@17/c0 3=1@13/o0 4=1@15/c0"},
      // A bound behind the start counts as none.
      {2, 0, kForward, "0=1@13/o0 1=1@15/i0 2=1@17/00 3=1@13/o0 4=1@15/c0"},
      {1, 1, kForward, kTwoGroups},
  };
  for (const ClearCase& c : cases) {
    std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, kTwoGroups);
    line->ClearBeamRange(NodeAt(*line, c.first), NodeAt(*line, c.last), 0, c.direction);
    EXPECT_EQ(NotesText(*line), c.after) << c.first << " to " << c.last;
  }
}

// ---- Inserting a column --------------------------------------------------------

struct InsertCase {
  std::string name;
  std::string before;
  std::string column;  // the inserted column as text; its position is the insertion column
  int beam;            // the beam flag of voice 0
  std::string after;
  KLinePair result;
};

void PrintTo(const InsertCase& c, std::ostream* out) { *out << c.name; }

class BeamGroupInsertTest : public BeamGroupTest, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(BeamGroupInsertTest, InsertedColumnJoinsPassesOrBreaksGroup) {
  const InsertCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.before);
  std::string roles;
  KChord* column = note_text::MakeColumn(c.column, roles);
  // A stem value carried in from elsewhere (as transposition copies them).
  const int carried = roles[0] == 'o' ? 151 : roles[0] == 'c' ? 150 : note_text::StemValue(roles[0]);
  column->SetVoiceStem(0, carried);
  const int beamFlags[2] = {c.beam, 0};
  EXPECT_EQ(line->InsertObjAt(column, 0, column->GetPos(), beamFlags, 0), c.result);
  EXPECT_EQ(NotesText(*line), c.after);
}

constexpr const char* kGroup = "0=1@13/o0 1=1@15/i0 2=1@17/c0";

const InsertCase kInserts[] = {
    {"FlaggedWithoutBeamFlagSplits",
     kGroup,
     "1=1@14/00",
     0,
     "0=1@13/00 1=1@14/00 2=1@15/o0 3=1@17/c0",
     {1, 0}},
    {"FlaggedWithBeamFlagIsBeamedThrough",
     kGroup,
     "1=1@14/00",
     1,
     "0=1@13/o0 1=1@14/i0 2=1@15/i0 3=1@17/c0",
     {1, 0}},
    {"RestIsPassedOver", kGroup, "1=17@14/00", 0, "0=1@13/o0 1=17@14/i0 2=1@15/i0 3=1@17/c0", {1, 0}},
    {"BarSplits", kGroup, "1=21@1/44", 0, "0=1@13/00 1=21@1/44 2=1@15/o0 3=1@17/c0", {1, 0}},
    {"AppendedWithBeamFlagJoins", kGroup, "3=1@19/00", 1, "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@19/c0", {1, 0}},
    {"AppendedWithoutBeamFlagStandsAlone",
     kGroup,
     "3=1@19/00",
     0,
     "0=1@13/o0 1=1@15/i0 2=1@17/c0 3=1@19/00",
     {1, 3}},
    {"CarriedInsideValueJoins", kGroup, "3=1@19/i0", 0, "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@19/c0", {1, 0}},
    {"CarriedOpenerAloneIsCleared", "0=9@14/60", "1=1@19/o0", 0, "0=9@14/60 1=1@19/00", {1, 1}},
};

INSTANTIATE_TEST_SUITE_P(Inserts, BeamGroupInsertTest, ::testing::ValuesIn(kInserts),
                         [](const ::testing::TestParamInfo<InsertCase>& info) { return info.param.name; });

}  // namespace
