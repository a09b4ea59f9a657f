#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "platform/FakeUiPort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int N = kNoString;

struct PitchCase {
  const char* tuning;
  int flags;
  TuningPitches expected;
};

TEST(TuningParse, FillsTheEightPitches) {
  const std::vector<PitchCase> cases = {
      // Pitch fields, highest string first; "00" is no string except on strings 2 and 3.
      {"E A D G B E  323742475156", 0, {56, 51, 47, 42, 37, 32, N, N}},
      {"E A D G B E  323742475156/", 0, {56, 51, 47, 42, 37, 32, 27, N}},
      {"B E A D G C *1520253035402-", kTuningFlagBass, {40, 35, 30, 25, 20, 15, 10, 5}},
      {"  E A D G   *002025303500", kTuningFlagBass, {N, 35, 30, 25, 20, N, N, N}},
      {"E A D G B E  323742470000", 0, {N, 0, 47, 42, 37, 32, N, N}},
      {"E A D G B E  323742475156!@@!20", 0, {56, 51, 47, 42, 37, 32, N, N}},
      // A seventh string after a blank eighth-string place, and a blank seventh.
      {"E A D G B E  323742475156 /", 0, {56, 51, 47, 42, 37, 32, N, 27}},
      // No pitch field: the layout's reference pitches, moved by the names given.
      {"D A D G B E ", 0, {56, 51, 47, 42, 37, 30, N, N}},
      {"E A D G B E ", 0, {56, 51, 47, 42, 37, 32, N, N}},
      {"DbA D G B E ", 0, {56, 51, 47, 42, 37, 29, N, N}},
      {"C#A D G B E ", 0, {56, 51, 47, 42, 37, 29, N, N}},
      {"B E A D G C ", kTuningFlagBass, {40, 35, 30, 25, 20, 15, N, N}},
      {"B E A D G   ", kTuningFlagBass, {N, 35, 30, 25, 20, 15, N, N}},
      {"D D G B D   ", 0, {N, 54, 51, 47, 42, 59, N, N}},
      {"  G D A E   ", 0, {N, 56, 49, 42, 35, N, N, N}},
      {"  E A D G   ", kTuningFlagBass, {N, 35, 30, 25, 20, N, N, N}},
      // Names six semitones away move up; seven away move down.
      {"  E A D G#  ", kTuningFlagBass, {N, 36, 30, 25, 20, N, N, N}},
      // Three and two strings: pitches agree with the names they are corrected by.
      {"    D A D   ", 0, {N, 54, 49, 42, N, N, N, N}},
      {"    D G D   ", 0, {N, 54, 47, 42, N, N, N, N}},
      {"    E A D   ", kTuningFlagBass, {N, 30, 25, 20, N, N, N, N}},
      {"      G D   ", 0, {N, 54, 47, N, N, N, N, N}},
      {"      A E   ", 0, {N, 56, 49, N, N, N, N, N}},
      {"      E A   ", kTuningFlagBass, {N, 25, 20, N, N, N, N, N}},
      // Malformed: unknown names keep the reference pitch; nothing is read past the text.
      {"", 0, {N, 54, 47, N, N, N, N, N}},
      {"x", 0, {N, 54, 51, 47, 42, 59, N, N}},
      {"??A D G B E ", 0, {56, 51, 47, 42, 37, 32, N, N}},
      {"E A D G B E  3X3742475156", 0, {56, 51, 47, 42, 37, 3, N, N}},
      {"E A D G B E  X23742475156", 0, {56, 51, 47, 42, 37, 32, N, N}}};
  for (const PitchCase& c : cases) {
    TuningPitches pitches;
    pitches.fill(12345);
    ParseTuningString(c.tuning, c.flags, pitches);
    EXPECT_EQ(pitches, c.expected) << "tuning \"" << c.tuning << "\"";
  }
}

TEST(TuningParse, BuiltInTuningsNameTheirOwnPitches) {
  // Every built-in tuning whose first string is named directly (the five-string
  // one names its short string through its start fret) names each string by its pitch.
  struct Builtin {
    const CString* tuning;
    int flags;
  };
  const std::vector<Builtin> tunings = {{&g_TuningBass2, kTuningFlagBass},
                                        {&g_TuningBass3, kTuningFlagBass},
                                        {&g_TuningBass4, kTuningFlagBass},
                                        {&g_TuningBass5, kTuningFlagBass},
                                        {&g_TuningBass6, kTuningFlagBass},
                                        {&g_TuningTwoString, 0},
                                        {&g_TuningDiatonic, 0},
                                        {&g_TuningFourString, 0},
                                        {&g_TuningGuitar, 0},
                                        {&g_DefaultTrebleTuning, 0},
                                        {&g_DefaultBassTuning, kTuningFlagBass}};
  for (const Builtin& b : tunings) {
    TuningPitches pitches;
    ParseTuningString(*b.tuning, b.flags, pitches);
    for (int entry = 0; entry < 6; ++entry) {
      CString name = b.tuning->Mid((5 - entry) * 2, 2);
      if (name == "  ") {
        EXPECT_EQ(pitches[entry], N) << b.tuning->View();
      } else {
        EXPECT_EQ(PitchNameOf(pitches[entry]), name) << b.tuning->View() << " entry " << entry;
      }
    }
  }
}

TEST(TuningCount, CountsStringsOfEveryLayout) {
  struct Case {
    CString tuning;
    int strings;
  };
  const std::vector<Case> cases = {{g_TuningBass2, 2},
                                   {g_TuningBass3, 3},
                                   {g_TuningBass4, 4},
                                   {g_TuningBass5, 5},
                                   {g_TuningBass6, 6},
                                   {g_TuningBass7, 7},
                                   {g_TuningBass8, 8},
                                   {g_TuningTwoString, 2},
                                   {g_TuningDiatonic, 3},
                                   {g_TuningFourString, 4},
                                   {g_TuningFiveString, 5},
                                   {g_TuningGuitar, 6},
                                   {g_TuningGuitar7, 7},
                                   {g_TuningGuitar8, 8},
                                   // A blank seventh or eighth place holds no string.
                                   {"E A D G B E  323742475156 ", 6},
                                   {"E A D G B E  323742475156/ ", 7},
                                   {"E A D G B E  323742475156  ", 6},
                                   // The fret list does not count.
                                   {"E A D G B E  323742475156/!@@!20", 7},
                                   {"", 2},
                                   {"E", 2}};
  for (const Case& c : cases) EXPECT_EQ(GetTuningStringCount(c.tuning), c.strings) << c.tuning.View();
}

TEST(TuningNames, ListsNamesLowestFirst) {
  struct Case {
    CString tuning;
    const char* names;
  };
  const std::vector<Case> cases = {
      {g_TuningGuitar, "E A D G B E "},
      {g_TuningGuitar7, "B E A D G B E "},
      {g_TuningGuitar8, "F#B E A D G B E "},  // '*' is code 42: pitch 22
      {g_TuningBass8, "C#F#B E A D G C "},
      {g_TuningBass4, "E A D G "},
      {g_TuningFiveString, "D D G B D "},
      {g_TuningTwoString, "G D "},
      {"E A D G B E  323742475156!@@!/", "E A D G B E "},
      {"", ""},
      {"E A", "E A"},
  };
  for (const Case& c : cases) {
    CString names = "old";
    int count = GetTuningNoteNames(c.tuning, names);
    EXPECT_EQ(std::string(names.View()), c.names) << c.tuning.View();
    EXPECT_EQ(count, names.GetLength() / 2);
  }
}

TEST(TuningNames, ControlCharacterStringsStillGetANoteName) {
  // A seventh string below pitch -24 (a control character on a bass tuning).
  CString names;
  EXPECT_EQ(GetTuningNoteNames("B E A D G C *152025303540\x01", names), 7);
  EXPECT_EQ(names.Left(2), PitchNameOf(1 - 40));
}

TEST(TuningNames, NormalizeNamesTheFirstStringFromItsStartFret) {
  struct Case {
    CString tuning;
    CString expected;
  };
  const std::vector<Case> cases = {
      // 59 + 5 = 64.
      {g_TuningFiveString, "C D G B D   5594247515400!@@!22"},
      {"D D G B D   1544247515400", "EbD G B D   1544247515400"},
      {g_TuningGuitar, g_TuningGuitar},
      {g_TuningBass5, g_TuningBass5},
      {"D D G B D   0594247515400", "D D G B D   0594247515400"},
      {"D D G B D   x594247515400", "D D G B D   x594247515400"},
      {"D D G B D   5X", "D D G B D   5X"},  // too short to hold a pitch
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeTuningName(c.tuning), c.expected) << c.tuning.View();
}

FretMap Identity() {
  FretMap map;
  for (int k = 0; k < kFretMapSize; ++k) map[k] = k;
  return map;
}

const FretMap kDiatonicMap = {0,  2,  4,  5,  7,  9,  10, 11, 12, 14, 16, 17, 19,
                              21, 22, 23, 24, 26, 28, 29, 31, 33, 34, 35, 36};

struct FretCase {
  const char* tuning;
  int frets;
  FretMap map;
};

TEST(FretList, GivesFretCountAndMap) {
  const std::vector<FretCase> cases = {
      {"E A D G B E  323742475156", 24, Identity()},
      {"    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 16, kDiatonicMap},
      {"  G D A E    003542495600!@@!20", 20, Identity()},
      // Semitones only: the count stays 24.
      {"    D A D    000042495400!@@!2,4,5,7,9,10,11,12", 24, kDiatonicMap},
      // No fret closes the octave: the frets after those given stay chromatic.
      {"E A D G B E  323742475156!@@!2,4,5,7,9", 24, {0,  2,  4,  5,  7,  9,  6,  7,  8,  9,  10, 11, 12,
                                                      13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}},
      // The long form without a fret of 12: chromatic.
      {"E A D G B E  323742475156!@@!16,2,4,5,7,9,10,11,13,14,16,17", 16, Identity()},
      // Malformed lists keep the defaults; counts stay within the map.
      {"E A D G B E  323742475156!@@!", 24, Identity()},
      {"E A D G B E  323742475156!@@!xx", 24, Identity()},
      {"E A D G B E  323742475156!@@!99", 24, Identity()},
      {"E A D G B E  323742475156!@@!-5", 0, Identity()},
      {"!@@!12", 12, Identity()},
      {"E A D G B E  323742475156!@@!a,b,c,d,e", 24, Identity()},
      {"E A D G B E  323742475156!@@!99999999999,12",
       24,
       {0,    1000, 12,   1012, 24,   1024, 36,   1036, 48,   1048, 60,   1060, 72,
        1072, 84,   1084, 96,   1096, 108,  1108, 120,  1120, 132,  1132, 144}}};
  for (const FretCase& c : cases) {
    SCOPED_TRACE(c.tuning);
    FretMap map;
    map.fill(-77);
    EXPECT_EQ(ParseFretList(c.tuning, &map), c.frets);
    EXPECT_EQ(map, c.map);
    // The count does not depend on whether a map is asked for.
    EXPECT_EQ(ParseFretList(c.tuning, nullptr), c.frets);
  }
}

TEST(FretIndex, FindsTheFretOfASemitoneOrBeeps) {
  FakeUiPort ui;
  ScopedUiPort scope(ui);
  struct Case {
    int semitone;
    bool beep;
    int fret;
  };
  const std::vector<Case> cases = {{4, true, 2},  {0, true, 0},   {36, true, 24}, {3, false, -1},
                                   {3, true, -1}, {37, true, -1}, {-1, false, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(FindFretIndex(kDiatonicMap, c.semitone, c.beep), c.fret) << c.semitone;
  EXPECT_EQ(ui.Beeps(), (std::vector<UINT>{MB_ICONASTERISK, MB_ICONASTERISK}));
}

class FretLabelSets : public ::testing::Test {
 protected:
  void SetUp() override { ResetCommonGlobals(); }
  void TearDown() override { ResetCommonGlobals(); }

  static std::vector<std::string> Labels(const FretLabels& labels) {
    std::vector<std::string> out;
    for (const CString& label : labels) out.emplace_back(label.View());
    return out;
  }
  static std::vector<std::string> Plain() {
    std::vector<std::string> out;
    for (int k = 0; k < kFretMapSize; ++k) out.push_back(std::to_string(k));
    return out;
  }
};

TEST_F(FretLabelSets, HalfFretSetsFollowTheFretList) {
  g_HalfFretLabels = 1;
  struct Case {
    const char* tuning;
    int result;
    std::vector<std::string> labels;
  };
  const std::vector<Case> cases = {
      {"    D A D    000042495400!@@!2,3,4,5,7,9,10,11,12",
       1,
       {"0",  "1",  "1+", "2",  "3",   "4",  "5",  "6",   "6+", "7",  "8",  "8+", "9",
        "10", "11", "12", "13", "13+", "14", "15", "15+", "16", "17", "18", "19"}},
      {"    D A D    000042495400!@@!2,4,5,7,9,10,12", 1, Plain()},
      {g_TuningDiatonic, 1, {"0",  "1",  "2",   "3",  "4",  "5",  "6",  "6+", "7",  "8",  "9",   "10", "11",
                             "12", "13", "13+", "14", "15", "16", "17", "18", "19", "20", "20+", "21"}},
      {g_TuningGuitar, 0, Plain()},
      {"    D A D    000042495400!@@!3,4,5,7,9,10,11,12", 0, Plain()},
  };
  for (const Case& c : cases) {
    FretLabels labels;
    EXPECT_EQ(GetFretLabels(c.tuning, labels), c.result) << c.tuning;
    EXPECT_EQ(Labels(labels), c.labels) << c.tuning;
  }
}

TEST_F(FretLabelSets, PlainNumbersWhenHalfFretLabelsAreOff) {
  FretLabels labels;
  EXPECT_EQ(GetFretLabels(g_TuningDiatonic, labels), 0);
  EXPECT_EQ(Labels(labels), Plain());
}

// A shape string: the empty shape, then the given digits at positions 23 and 24,
// blank-padded to length.
std::string Shape(char strings, char rows, std::size_t length = 25) {
  std::string s = "0999999";
  s.resize(std::max<std::size_t>(length, 25), ' ');
  s[23] = strings;
  s[24] = rows;
  s.resize(length);
  return s;
}

std::string WithAt(std::string s, std::size_t pos, char c) {
  if (s.size() <= pos) s.resize(pos + 1, ' ');
  s[pos] = c;
  return s;
}

struct ShapeCase {
  std::string shape;
  int strings;
  int rows;
};

TEST(ShapeCounts, ReadsStringAndRowCounts) {
  const std::vector<ShapeCase> cases = {{"0999999", 6, 4},
                                        {Shape('4', '5'), 4, 5},
                                        {Shape(' ', ' '), 6, 4},
                                        {Shape('1', '3'), 6, 4},
                                        {Shape('9', '8'), 6, 4},
                                        {Shape('2', '7'), 2, 7},
                                        {Shape('x', 'x'), 6, 4},
                                        // Seventh and eighth strings by their markers.
                                        {WithAt(Shape('6', '5', 40), 32, '7'), 7, 5},
                                        {WithAt(WithAt(Shape('6', '5', 40), 32, '7'), 36, '8'), 8, 5},
                                        // Trailing blanks do not make extra strings.
                                        {Shape('5', '4', 40), 5, 4},
                                        // Extension bytes raise the row count (bits 1-3 of a byte).
                                        {Shape('6', '4', 40) + "\x0c\x02", 6, 6},
                                        {Shape('6', '5', 40) + "\x02", 6, 5},
                                        {"", 6, 4}};
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.shape);
    CString shape(c.shape);
    EXPECT_EQ(GetShapeStringCount(shape), c.strings);
    EXPECT_EQ(GetShapeFretRows(shape), c.rows);
  }
}

}  // namespace
