// Transposing the chord diagrams of a chord-diagram line: names, slash basses,
// library and own shapes, the push of longer names and the failures that
// leave the line as it was.

#include <gtest/gtest.h>

#include <set>

#include "ChordNamesTestSupport.h"
#include "chords/ChordCatalogue.h"
#include "common/ChordShape.h"

using namespace chordnames;

namespace {

// A 20-character shape whose frets are not a library shape: C major x32010.
constexpr const char* kOwnShape = "0932010          000";
constexpr int kUp = kChordShiftKeyUp;
constexpr int kDown = 40;

// The pitch classes the shape sounds on the standard tuning.
std::set<int> PitchClasses(const CString& shape) {
  ShapeValues pitches{};
  ShapeValues frets{};
  ShapeValues marks{};
  GetShapePitches(shape, chordline::kStandard, pitches, frets, marks);
  std::set<int> classes;
  for (const int pitch : pitches)
    if (pitch > -9) classes.insert(((pitch % 12) + 12) % 12);
  return classes;
}

class ChordTranspose : public ChordNamesTest {};

TEST_F(ChordTranspose, NamesFollowTheChartSpelling) {
  struct Case {
    const char* name;
    int key;
    int amount;
    const char* result;
    int blockPitch;  // the library block of the new shape; -1 keeps the shape
    int bass = -1;   // a slash chord's new bass (pitch class from Ab)
  };
  const Case cases[] = {
      {"C", kUp, 2, "D", 6},     {"Bb7", kUp, 1, "B7", -1},     {"A", kUp, 1, "Bb", 2},
      {"E", kDown, 1, "D#", 7},  {"G/B", kUp, 1, "Ab/C", 0, 4}, {"D/F#", kUp, 2, "E/G#", 8, 0},
      {"Ab", kDown, 1, "G", 11}, {"G#", kUp, 1, "A", 1},        {"Cm7", kUp, 7, "Gm7", 11},
      {"C", kUp, 0, "C", 4},     {"F#", kDown, 13, "F", 9}};
  for (const Case& c : cases) {
    // A library shape (7 characters) takes the new root's shape of the same type.
    Add(0, c.name, "0000000");
    EXPECT_EQ(ShiftChordNames(line, 0, 1, c.key, kChordShiftTranspose, c.amount, 1), 0) << c.name;
    const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
    EXPECT_EQ(diagram->GetName(), c.result) << c.name;
    const int variation = CString(c.name).Find("m7") > 0 ? 7 : 1;
    // A slash chord takes the new root's shape played over the bass where it can be.
    CString expected = c.blockPitch < 0 ? CString("0000000") : CString(LibraryShape(c.blockPitch, variation));
    if (c.bass >= 0) {
      std::vector<CString> shapes{expected};
      for (int n = 1; n <= 3; ++n) shapes.emplace_back(LibraryShape(c.blockPitch, n));
      expected = SlashChordShape(shapes, c.bass, chordline::kStandard);
    }
    EXPECT_EQ(diagram->GetShape(), expected) << c.name;
    delete line.GetObjList()->RemoveHead();
  }
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(ChordTranspose, LibraryShapeKeepsItsVariationNumber) {
  struct Case {
    int setting;
    const char* shape;
  };
  // Three major variations: a higher number takes the last; an unknown type keeps its shape.
  const Case cases[] = {{1, "0069991"}, {2, "0069992"}, {3, "0069993"}, {9, "0069993"}};
  for (const Case& c : cases) {
    Add(0, "C", "0000000", c.setting);
    ASSERT_EQ(ShiftChordNames(line, 0, 1, kUp, kChordShiftTranspose, 2, 1), 0);
    const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
    EXPECT_EQ(diagram->GetShape(), c.shape) << c.setting;
    EXPECT_EQ(diagram->GetSetting(), c.setting);
    delete line.GetObjList()->RemoveHead();
  }
  Add(0, "Csus4", "1234567");
  ASSERT_EQ(ShiftChordNames(line, 0, 1, kUp, kChordShiftTranspose, 2, 1), 0);
  EXPECT_EQ(DumpFull(line), "Dsus4@0:1234567#1");
}

TEST_F(ChordTranspose, OwnShapesMoveByTheSemitones) {
  struct Case {
    int key;
    int amount;
    int semitones;
  };
  // C as a barre at the third fret (x35553): every string can move 6 frets either way.
  const char* barre = "3913331          000";
  const Case cases[] = {{kUp, 2, 2}, {kUp, 5, 5}, {kDown, 3, -3}, {kUp, 9, -3}, {kDown, 8, 4}};
  for (const Case& c : cases) {
    Add(0, "C", barre);
    ASSERT_EQ(ShiftChordNames(line, 0, 1, c.key, kChordShiftTranspose, c.amount, 1), 0);
    std::set<int> expected;
    for (const int pitch : PitchClasses(barre)) expected.insert((pitch + c.semitones + 24) % 12);
    const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
    EXPECT_EQ(PitchClasses(diagram->GetShape()), expected) << c.amount;
    delete line.GetObjList()->RemoveHead();
  }
}

// Open strings cannot move below the nut: moved down they fall silent.
TEST_F(ChordTranspose, OpenStringsMovedDownAreMuted) {
  Add(0, "C", kOwnShape);  // x32010: C E G C E
  ASSERT_EQ(ShiftChordNames(line, 0, 1, kDown, kChordShiftTranspose, 1, 1), 0);
  const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
  EXPECT_EQ(diagram->GetName(), "B");
  ShapeValues pitches{};
  ShapeValues frets{};
  ShapeValues marks{};
  GetShapePitches(kOwnShape, chordline::kStandard, pitches, frets, marks);
  std::set<int> expected;
  for (size_t i = 0; i < pitches.size(); ++i)
    if (frets[i] > 0) expected.insert(((pitches[i] - 1) % 12 + 12) % 12);
  EXPECT_EQ(PitchClasses(diagram->GetShape()), expected);
}

TEST_F(ChordTranspose, NameWalkSpellsEnharmonicsWithoutMovingTheShape) {
  Add(0, "C#", kOwnShape);
  ASSERT_EQ(ShiftChordNames(line, 0, 1, kUp, kChordShiftTranspose, 1, 0), 0);
  EXPECT_EQ(DumpFull(line), std::string("Db@0:") + kOwnShape + "#1");
  ASSERT_EQ(ShiftChordNames(line, 0, 1, kUp, kChordShiftTranspose, 1, 0), 0);
  const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
  EXPECT_EQ(diagram->GetName(), "D");
  EXPECT_NE(diagram->GetShape(), kOwnShape);

  delete line.GetObjList()->RemoveHead();
  Add(0, "Eb", kOwnShape);
  ASSERT_EQ(ShiftChordNames(line, 0, 1, kDown, kChordShiftTranspose, 1, 0), 0);
  EXPECT_EQ(DumpFull(line), std::string("D#@0:") + kOwnShape + "#1");
}

TEST_F(ChordTranspose, OnlyTheRangeChangesAndLongerNamesPushTheRest) {
  Add(0, "G", "0000000");
  Add(1, "C", "0000000");
  Add(5, "E", "0000000");
  Add(9, "F", "0000000");
  ASSERT_EQ(ShiftChordNames(line, 0, 9, kUp, kChordShiftTranspose, 1, 1), 0);
  // Ab takes two columns, so everything after it moves one column right; F stays outside the range.
  EXPECT_EQ(chordline::Dump(line), "Ab@0 C#@2 F@6 F@10");
}

TEST_F(ChordTranspose, DiagramsWithoutARootStay) {
  Add(0, "N.C.", "0000000");
  Add(3, "", "0000000");
  Add(6, "x7", "0000000");
  const std::string before = DumpFull(line);
  EXPECT_EQ(ShiftChordNames(line, 0, 100, kUp, kChordShiftTranspose, 1, 1), -1);
  EXPECT_EQ(DumpFull(line), before);
}

TEST_F(ChordTranspose, FailuresChangeNothing) {
  Add(0, "C", "0000000");
  Add(4, "F", "0000000");
  const std::string before = DumpFull(line);

  sources.loaded = false;
  EXPECT_EQ(ShiftChordNames(line, 0, 100, kUp, kChordShiftTranspose, 1, 1), -1);
  EXPECT_EQ(DumpFull(line), before);
  EXPECT_TRUE(m_ui.Messages().empty());

  // F up one is F#, whose block (pitch 10) lacks its first string: the C
  // before it stays C as well.
  sources.loaded = true;
  sources.strings.erase(12020 + 1000 * 10);
  EXPECT_EQ(ShiftChordNames(line, 0, 100, kUp, kChordShiftTranspose, 1, 1), -1);
  EXPECT_EQ(DumpFull(line), before);
  ASSERT_EQ(m_ui.Messages().size(), 1u);
  EXPECT_EQ(m_ui.Messages()[0].text,
            "There is no chord in the Chord Dictionary in this tuning which begins with F. (Error CCR-4)");
}

TEST_F(ChordTranspose, UnreadableLibraryStringsAreHandled) {
  struct Case {
    const char* text;
    bool missing;  // the chain leads to a string that does not exist
  };
  // A text without a step digit ends the block; a step into nothing, or an
  // empty string, is a missing string.
  const Case cases[] = {
      {"x", false}, {"1x (major)", false}, {"\xff\xff\xff", false}, {"9", true}, {"", true}};
  for (const Case& c : cases) {
    m_ui.ClearRecords();
    sources.strings[12020 + 1000 * 6] = c.text;
    Add(0, "C", "0000000");
    EXPECT_EQ(ShiftChordNames(line, 0, 1, kUp, kChordShiftTranspose, 2, 1), c.missing ? -1 : 0) << c.text;
    EXPECT_EQ(DumpFull(line), c.missing ? "C@0:0000000#1" : "D@0:0000000#1") << c.text;
    EXPECT_EQ(m_ui.Messages().size(), c.missing ? 1u : 0u) << c.text;
    delete line.GetObjList()->RemoveHead();
  }
}

}  // namespace
