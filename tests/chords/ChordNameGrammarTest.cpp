// The chord-name grammar, root stepping in both spelling modes and the slash
// bass that follows its root.

#include <gtest/gtest.h>

#include <string>

#include "chords/ChordNames.h"

namespace {

TEST(ChordNameGrammar, SplitsRootAndQuality) {
  struct Case {
    const char* name;
    const char* root;
    int index;
    const char* quality;
  };
  const Case cases[] = {{"C", "C ", 5, "(major)"},     {"Bb7", "Bb", 3, "7"},
                        {"F#m7b5", "F#", 13, "m7b5"},  {"G/B", "G ", 15, "/B"},
                        {"Ab", "Ab", 0, "(major)"},    {"G#", "G#", 16, "(major)"},
                        {"D(add9)", "D ", 8, "(add9)"}};
  for (const Case& c : cases) {
    ChordNameParts parts;
    ASSERT_TRUE(SplitChordName(c.name, parts)) << c.name;
    EXPECT_EQ(parts.root, c.root) << c.name;
    EXPECT_EQ(parts.rootIndex, c.index) << c.name;
    EXPECT_EQ(parts.quality, c.quality) << c.name;
    EXPECT_EQ(JoinChordName(parts.rootIndex, parts.quality), c.name) << c.name;
  }
}

TEST(ChordNameGrammar, RefusesNamesWithoutARoot) {
  for (const char* name : {"", "H7", "c", "#", "N.C.", "E#", "Fb7", "B#", "Cbm"}) {
    ChordNameParts parts;
    parts.quality = "kept";
    EXPECT_FALSE(SplitChordName(name, parts)) << name;
    EXPECT_EQ(parts.quality, "kept") << name;
  }
}

TEST(ChordNameGrammar, RootCodesMatchWholePairsOnly) {
  struct Case {
    std::string code;
    int index;
  };
  const Case cases[] = {
      {"Ab", 0}, {"A ", 1}, {"G#", 16},   // real roots
      {"bA", -1}, {" C", -1}, {"#G", -1},  // pairs across two neighbouring roots
      {std::string("A\0", 2), -1},          // a zero byte inside the code
      {"A", -1}, {"Abb", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChordRootIndex(CString(c.code.data(), static_cast<int>(c.code.size()))), c.index) << c.code;
  }
}

TEST(ChordNameGrammar, RootsStepByBothSpellings) {
  struct Case {
    const char* from;
    int steps;
    int direction;
    bool chart;
    const char* to;
    int semitones;
  };
  const Case cases[] = {
      {"C ", 2, 1, true, "D ", 2},    {"Bb", 1, 1, true, "B ", 1},
      {"A ", 1, 1, true, "Bb", 1},    {"E ", 1, -1, true, "D#", -1},
      {"Ab", 1, -1, true, "G ", -1},  {"G#", 1, 1, true, "A ", 1},
      {"G ", 1, 1, true, "Ab", 1},    {"D ", 1, -1, true, "C#", -1},
      {"C#", 1, 1, false, "Db", 0},   {"C#", 2, 1, false, "D ", 1},
      {"Eb", 1, -1, false, "D#", 0},  {"G#", 1, 1, false, "Ab", 0},
      {"Ab", 1, -1, false, "G#", 0},  {"G ", 1, 1, false, "G#", 1},
      {"A ", 0, 1, true, "A ", 0},    {"A ", -3, 1, true, "A ", 0},
      {"A#", 25, 1, true, "B ", 25},  {"D#", 26, -1, true, "C#", -26},
      {"C#", 35, 1, false, "Db", 24}, {"Bb", 2000000000, 1, true, "F#", 2000000000},
  };
  for (const Case& c : cases) {
    int semitones = 99;
    const int to = StepChordRoot(ChordRootIndex(c.from), c.steps, c.direction, c.chart, semitones);
    EXPECT_EQ(ChordRootCode(to), c.to) << c.from << " " << c.steps << " " << c.direction << " " << c.chart;
    EXPECT_EQ(semitones, c.semitones) << c.from;
  }
}

// Every step of the chart spelling is one semitone, both ways, so twelve steps
// come back to the same pitch; the name walk visits all 17 codes in an octave.
TEST(ChordNameGrammar, StepsKeepPitchArithmetic) {
  for (int root = 0; root < kChordRootCount; ++root) {
    for (const int direction : {1, -1}) {
      int semitones = 0;
      const int one = StepChordRoot(root, 1, direction, true, semitones);
      EXPECT_EQ((ChordRootPitch(one) - ChordRootPitch(root) - direction + 24) % 12, 0) << root;
      EXPECT_EQ(ChordRootPitch(StepChordRoot(root, 12, direction, true, semitones)), ChordRootPitch(root));
      EXPECT_EQ(StepChordRoot(root, 17, direction, false, semitones), root);
      EXPECT_EQ(semitones, 12 * direction) << root;
    }
  }
}

TEST(ChordNameGrammar, SlashBassFollowsTheRoot) {
  struct Case {
    const char* quality;
    const char* oldRoot;
    const char* newRoot;
    const char* result;
  };
  const Case cases[] = {
      {"/B", "G ", "Ab", "/C"},   {"/F#", "D ", "E ", "/G#"},   {"m7/Eb", "C ", "D ", "m7/F"},
      {"/f", "F ", "Gb", "/Gb"},  {"/bb", "C ", "C#", "/B"},    {"/E", "C ", "Db", "/F"},
      {"m7", "C ", "D ", "m7"},   {"/H", "C ", "D ", "/H"},     {"/", "C ", "D ", "/"},
      {"/Cb", "C ", "D ", "/Cb"}, {"/F#x", "C ", "D ", "/F#x"}, {"(major)", "C ", "D ", "(major)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TransposeSlashBass(c.quality, ChordRootIndex(c.oldRoot), ChordRootIndex(c.newRoot)), c.result)
        << c.quality << " " << c.oldRoot << "->" << c.newRoot;
}

}  // namespace
