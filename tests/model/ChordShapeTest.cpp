// Chord shape strings turned into note columns, string pitches, and back into
// shapes for another tuning.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "ModelTestSupport.h"
#include "common/ChordShape.h"
#include "common/Globals.h"
#include "model/KChord.h"

namespace {

constexpr int kStaffRhythm = 8;
constexpr int kTabRhythm = 78;

// The staff step of a natural note: E4 (the lowest line of the staff) is 22,
// each letter above one step less.
int StepOf(char letter, int octave) {
  const std::string letters = "CDEFGAB";
  const int index = static_cast<int>(letters.find(letter)) + 7 * octave;
  return 22 - (index - static_cast<int>(letters.find('E')) - 7 * 4);
}

using Entries = std::vector<std::pair<int, int>>;

Entries EntriesOf(const KChord& column) {
  Entries entries;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (note.code == KChord::kEmptyCode) continue;
    entries.emplace_back(note.position, note.code);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

Entries Sorted(Entries entries) {
  std::sort(entries.begin(), entries.end());
  return entries;
}

class ChordShapeTest : public ModelTest {};

struct ShapeCase {
  const char* what;
  const char* shape;
  const char* tuning;
  int key;
  Entries tab;    // (string row, fret code)
  Entries staff;  // (step, code): note heads 8, sharp 28, natural 27
};

TEST_F(ChordShapeTest, ShapeToChordFillsTabAndStaffColumns) {
  const std::vector<ShapeCase> cases = {
      {"holds no note", "0999999         0000000640", "E A D G B E  323742475156", 0, {}, {}},
      {"all open",
       "0000000",
       "E A D G B E  323742475156",
       0,
       {{7, 226}, {6, 226}, {5, 226}, {4, 226}, {3, 226}, {2, 226}},
       {{StepOf('E', 3), 8},
        {StepOf('A', 3), 8},
        {StepOf('D', 4), 8},
        {StepOf('G', 4), 8},
        {StepOf('B', 4), 8},
        {StepOf('E', 5), 8}}},
      {"B flat in one flat", "0919999", "E A D G B E  323742475156", 3, {{6, 227}}, {{StepOf('B', 3), 8}}},
      {"B natural in one flat",
       "0929999",
       "E A D G B E  323742475156",
       3,
       {{6, 228}},
       {{StepOf('B', 3), 8}, {StepOf('B', 3), 27}}},
      {"F sharp in C",
       "0299999",
       "E A D G B E  323742475156",
       0,
       {{7, 228}},
       {{StepOf('F', 3), 8}, {StepOf('F', 3), 28}}},
      {"F sharp in G needs no sign",
       "0299999",
       "E A D G B E  323742475156",
       2,
       {{7, 228}},
       {{StepOf('F', 3), 8}}},
      {"F natural in G",
       "0199999",
       "E A D G B E  323742475156",
       2,
       {{7, 227}},
       {{StepOf('F', 3), 8}, {StepOf('F', 3), 27}}},
      {"marked field left out", "0699999", "E A D G B E  323742475156", 0, {}, {}},
      {"base fret 5", "5199999", "E A D G B E  323742475156", 0, {{7, 231}}, {{StepOf('A', 3), 8}}},
      {"+4 bit with five rows",
       "0199999         0000000651",
       "E A D G B E  323742475156",
       0,
       {{7, 231}},
       {{StepOf('A', 3), 8}}},
      {"+4 bit ignored with four rows",
       "0199999         0000000641",
       "E A D G B E  323742475156",
       0,
       {{7, 227}},
       {{StepOf('F', 3), 8}}},
      {"seventh string",
       "0999999         0000000640      720 ",
       "E A D G B E  323742475156/",
       0,
       {{8, 228}},
       {{StepOf('C', 3), 8}, {StepOf('C', 3), 28}}},
      {"unison written once",
       "5999910",
       "E A D G B E  323742475156",
       0,
       {{2, 226}, {3, 231}},
       {{StepOf('E', 5), 8}}},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.what);
    KChord tab(0, kTabRhythm);
    KChord staff(0, kStaffRhythm);
    tab.AddNote(4, 230);
    staff.AddNote(10, 8);
    ShapeToChord(CString(c.shape), CString("unused"), &tab, &staff, CString(c.tuning), c.key);
    EXPECT_EQ(tab.GetRhythmCode(), kTabRhythm);
    EXPECT_EQ(staff.GetRhythmCode(), kStaffRhythm);
    EXPECT_EQ(EntriesOf(tab), Sorted(c.tab));
    EXPECT_EQ(EntriesOf(staff), Sorted(c.staff));
  }
}

TEST_F(ChordShapeTest, WithoutAKeySignatureTheStaffNotesAreSpeltAsTheRootSpellsThem) {
  // The barre chord at the second fret: F#/Gb, C#/Db, F#/Gb, A#/Bb, C#/Db, F#/Gb.
  // inKey: the letter whose accidental the key signature already gives.
  auto spelt = [](const char* letters, int accidental, char inKey = 0) {
    const int octaves[6] = {3, 4, 4, 4, 5, 5};
    Entries entries;
    for (int i = 0; i < 6; ++i) {
      entries.emplace_back(StepOf(letters[i], octaves[i]), 8);
      if (letters[i] != inKey) entries.emplace_back(StepOf(letters[i], octaves[i]), accidental);
    }
    return Sorted(entries);
  };
  const Entries flats = spelt("GDGBDG", kShapeFlatCode);
  const Entries sharps = spelt("FCFACF", kShapeSharpCode);
  const Entries inG = spelt("FCFACF", kShapeSharpCode, 'F');
  const struct {
    const char* root;
    int key;
    const Entries& staff;
  } cases[] = {
      {"Gb", 0, flats},
      {"F#", 0, sharps},
      {"", 0, sharps},
      {"Gb", 2, inG},  // one sharp in the key: the key spells, its F# needs no sign
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.root) + " in key " + std::to_string(c.key));
    KChord staff(0, kStaffRhythm);
    ShapeToChord<KChord>(CString("2133211"), CString(c.root), nullptr, &staff, g_TuningGuitar, c.key);
    EXPECT_EQ(EntriesOf(staff), c.staff);
  }
}

TEST_F(ChordShapeTest, NoteHeadsTakeTheCurrentNoteCode) {
  g_CurrentNoteCode = 256 + 4;
  KChord staff(0, kStaffRhythm);
  ShapeToChord<KChord>(CString("0999990"), CString(), nullptr, &staff, g_TuningGuitar, 0);
  EXPECT_EQ(EntriesOf(staff), (Entries{{StepOf('E', 5), 4}}));
}

TEST_F(ChordShapeTest, MalformedShapesAndKeysStayInRange) {
  const std::vector<std::string> shapes = {
      "",
      "0",
      "099999",
      "\xff\xff\xff\xff\xff\xff\xff",
      "  \t    ",
      "H444444",
      "Z000000         0000000775",
      "0000000         0000000700",
      "01234567890123456789012345678901234567890123456789",
      "0000000         0000000640      7\xff\xff 8\xff\xff \x01\x7f",
  };
  for (const std::string& shape : shapes) {
    for (int key : {-5, 0, 15, 99}) {
      SCOPED_TRACE(shape + " key " + std::to_string(key));
      KChord tab(0, kTabRhythm);
      KChord staff(0, kStaffRhythm);
      ShapeToChord(CString(shape), CString(), &tab, &staff, g_TuningGuitar8, key);
      for (const auto& [row, code] : EntriesOf(tab)) {
        EXPECT_GE(row, 0);
        EXPECT_LE(row, 9);
        EXPECT_GE(code, 226);
        EXPECT_LE(code, 250);
      }
      ShapeValues pitches{}, frets{}, marks{};
      GetShapePitches(CString(shape), g_TuningGuitar8, pitches, frets, marks);
      for (int fret : frets) EXPECT_LE(fret, 24);
    }
  }
}

struct PitchCase {
  const char* what;
  const char* shape;
  const char* tuning;
  ShapeValues pitches;
  ShapeValues frets;
  ShapeValues marks;
};

TEST_F(ChordShapeTest, GetShapePitchesReportsEveryString) {
  const std::vector<PitchCase> cases = {
      {"open strings",
       "0000000",
       "E A D G B E  323742475156",
       {56, 51, 47, 42, 37, 32, -9, -9},
       {0, 0, 0, 0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0}},
      {"marked field 6 is row 2",
       "0996999",
       "E A D G B E  323742475156",
       {-9, -9, -9, 44, -9, -9, -9, -9},
       {-1, -1, -1, 2, -1, -1, 0, 0},
       {0, 0, 0, 1, 0, 0, 0, 0}},
      {"base fret 3",
       "3324999",
       "E A D G B E  323742475156",
       {-9, -9, -9, 48, 41, 37, -9, -9},
       {-1, -1, -1, 6, 4, 5, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0}},
      {"too short",
       "00000",
       "E A D G B E  323742475156",
       {-9, -9, -9, -9, -9, -9, -9, -9},
       {0, 0, 0, 0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0}},
      {"four-string bass reads positions 2 to 5",
       "0901239         0000000440",
       "  E A D G   *002025303500",
       {-9, 38, 32, 26, 20, -9, -9, -9},
       {0, 3, 2, 1, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0}},
      {"eighth string",
       "0999999         0000000640      790 810 ",
       "E A D G B E  323742475156/*",
       {-9, -9, -9, -9, -9, -9, -9, 23},
       {-1, -1, -1, -1, -1, -1, -1, 1},
       {0, 0, 0, 0, 0, 0, 0, 0}},
      {"fret list without the fret",
       "0299999",
       "E A D G B E  323742475156!@@!1",
       {-9, -9, -9, -9, -9, -9, -9, -9},
       {-1, -1, -1, -1, -1, -1, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const PitchCase& c : cases) {
    SCOPED_TRACE(c.what);
    ShapeValues pitches{}, frets{}, marks{};
    pitches.fill(123);
    frets.fill(123);
    marks.fill(123);
    GetShapePitches(CString(c.shape), CString(c.tuning), pitches, frets, marks);
    EXPECT_EQ(pitches, c.pitches);
    EXPECT_EQ(frets, c.frets);
    EXPECT_EQ(marks, c.marks);
  }
}

std::vector<int> SoundingPitches(const CString& shape, const CString& tuning) {
  ShapeValues pitches{}, frets{}, marks{};
  GetShapePitches(shape, tuning, pitches, frets, marks);
  std::vector<int> sounding;
  for (int p : pitches)
    if (p > -9) sounding.push_back(p);
  std::sort(sounding.begin(), sounding.end());
  return sounding;
}

int AverageFret(const CString& shape, const CString& tuning) {
  ShapeValues pitches{}, frets{}, marks{};
  GetShapePitches(shape, tuning, pitches, frets, marks);
  int sum = 0, count = 0;
  for (int f : frets)
    if (f > 0) sum += f, ++count;
  return count == 0 ? 0 : sum / count;
}

std::vector<int> PitchClasses(const std::vector<int>& pitches) {
  std::vector<int> classes;
  for (int p : pitches) classes.push_back(p % 12);
  std::sort(classes.begin(), classes.end());
  classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
  return classes;
}

// A shape refitted to a tuning (the way the chord code adapts a stored shape)
// plays the same chord: only pitches of the shape, every pitch class of it,
// and at least four notes.
TEST_F(ChordShapeTest, ComputeChordShapePlaysTheChordOfTheShape) {
  struct Case {
    const char* what;
    const char* shape;
    const char* from;
    const char* to;
  };
  const std::vector<Case> cases = {
      {"open C", "0932010", "E A D G B E  323742475156", "E A D G B E  323742475156"},
      {"open G", "0320003", "E A D G B E  323742475156", "E A D G B E  323742475156"},
      {"E major", "0022100", "E A D G B E  323742475156", "E A D G B E  323742475156"},
      {"A minor onto drop D", "0902210", "E A D G B E  323742475156", "D A D G B E  303742475156"},
      {"barre at 5", "5133211", "E A D G B E  323742475156", "E A D G B E  323742475156"},
      {"D onto drop D", "0990232", "E A D G B E  323742475156", "D A D G B E  303742475156"},
      {"G onto open G", "0320003", "E A D G B E  323742475156", "D G D G B D  303542475154"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ShapeValues pitches{}, frets{}, marks{};
    GetShapePitches(CString(c.shape), CString(c.from), pitches, frets, marks);
    CString result = "unchanged";
    ComputeChordShape(CString(c.to), result, pitches, AverageFret(CString(c.shape), CString(c.from)));
    SCOPED_TRACE(std::string(result.View()));
    const std::vector<int> source = SoundingPitches(CString(c.shape), CString(c.from));
    const std::vector<int> played = SoundingPitches(result, CString(c.to));
    EXPECT_TRUE(std::includes(source.begin(), source.end(), played.begin(), played.end()));
    EXPECT_EQ(PitchClasses(played), PitchClasses(source));
    EXPECT_GE(played.size(), std::min<std::size_t>(source.size(), 4));
  }
}

// One pitch that four strings can play lands on the string nearest the
// preferred fret, as long as that is within 8 frets; a preferred fret off the
// fretboard counts as its nearest end.
TEST_F(ChordShapeTest, ComputeChordShapeFollowsThePreferredFret) {
  struct Case {
    int preferred;
    const char* expected;  // base fret and fields
  };
  const std::vector<Case> cases = {{0, "0999099"},   {1, "0999099"},       {3, "5991999"},
                                   {5, "5991999"},   {12, ":919999"},      {1000, "?199999"},
                                   {-50, "0999099"}, {INT_MAX, "?199999"}, {INT_MIN, "0999099"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.preferred);
    ShapeValues pitches{};
    pitches.fill(-9);
    pitches[2] = 47;  // the open G string
    CString shape;
    ComputeChordShape(g_TuningGuitar, shape, pitches, c.preferred);
    EXPECT_EQ(std::string(shape.Left(7).View()), c.expected);
    EXPECT_EQ(SoundingPitches(shape, g_TuningGuitar), (std::vector<int>{47}));
  }
}

TEST_F(ChordShapeTest, ComputeChordShapeWritesTheStringCountOfTheTuning) {
  ShapeValues pitches{};
  pitches.fill(-9);
  pitches[6] = 29;  // C sharp on the seventh string, fret 2
  pitches[5] = 32;
  CString shape;
  ComputeChordShape(g_TuningGuitar7, shape, pitches, 1);
  ASSERT_EQ(shape.GetLength(), 36);
  EXPECT_EQ(shape[32], '7');
  EXPECT_EQ(GetShapeStringCount(shape), 7);
  EXPECT_EQ(SoundingPitches(shape, g_TuningGuitar7), (std::vector<int>{29, 32}));

  ComputeChordShape(g_TuningGuitar8, shape, pitches, 1);
  ASSERT_EQ(shape.GetLength(), 40);
  EXPECT_EQ(GetShapeStringCount(shape), 8);
  EXPECT_EQ(SoundingPitches(shape, g_TuningGuitar8), (std::vector<int>{29, 32}));
}

TEST_F(ChordShapeTest, ComputeChordShapeWithNothingPlayableGivesTheEmptyShape) {
  struct Case {
    const char* what;
    CString tuning;
    ShapeValues pitches;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"no pitch, six strings", g_TuningGuitar, {-9, -9, -9, -9, -9, -9, -9, -9}, "0999999"},
      {"no pitch, four strings",
       g_TuningBass4,
       {-9, -9, -9, -9, -9, -9, -9, -9},
       "0999999         0000000440"},
      {"no pitch, seven strings",
       g_TuningGuitar7,
       {-9, -9, -9, -9, -9, -9, -9, -9},
       "0999999         0000000640      790 "},
      {"no pitch, eight strings",
       g_TuningGuitar8,
       {-9, -9, -9, -9, -9, -9, -9, -9},
       "0999999         0000000640      790 890 "},
      {"below every string", g_TuningGuitar, {1, 2, -8, -9, -9, -9, -9, -9}, "0999999"},
      {"far above every fret", g_TuningGuitar, {INT_MAX, 500, -9, -9, -9, -9, -9, -9}, "0999999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CString shape = "unchanged";
    ComputeChordShape(c.tuning, shape, c.pitches, 0);
    EXPECT_EQ(std::string(shape.View()), c.expected);
    // The empty shape still reads as one of the tuning's string count.
    EXPECT_EQ(GetShapeStringCount(shape), GetTuningStringCount(c.tuning));
  }
}

}  // namespace
