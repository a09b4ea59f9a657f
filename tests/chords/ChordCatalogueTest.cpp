// The chord catalogue, read as the program reads it: every block's types and
// spellings chain as the readers expect, and every shape of every variation
// sounds its chord on the standard tuning.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "chords/ChordCatalogue.h"
#include "chords/ChordCatalogueSources.h"
#include "chords/ChordLibrary.h"
#include "chords/ChordNames.h"
#include "common/ChordShape.h"
#include "common/TuningCodec.h"

namespace {

const char* const kStandard = "E A D G B E  323742475156";

// Semitones above the root of each spelling field.
const std::map<std::string, int> kFieldSemitones = {
    {" R   ", 0}, {"2nd  ", 2}, {"b3rd ", 3}, {"3rd  ", 4}, {"4th  ", 5},  {"b5th ", 6},
    {"5th  ", 7}, {"#5th ", 8}, {"6th  ", 9}, {"bb7th", 9}, {"b7th ", 10}, {"7th  ", 11},
    {"b9th ", 1}, {"9th  ", 2}, {"#9th ", 3}, {"11th ", 5}, {"#11th", 6},  {"13th ", 9}};

struct Block {
  int pitchClass;  // from Ab
  std::vector<CString> types;
};

std::vector<Block> AllBlocks() {
  std::vector<Block> blocks;
  for (int p = 0; p < 12; ++p) {
    Block block{p, {}};
    int id = kChordBlockFirstId + kChordBlockStride * p;
    for (int guard = 0; guard < 500; ++guard) {
      CString text;
      if (LoadChordDllString(id, text) <= 0) {
        ADD_FAILURE() << "no type string " << id;
        break;
      }
      block.types.push_back(text);
      const int step = text[0] - '0';
      if (step == 0) break;
      id += 10 * step;
    }
    blocks.push_back(block);
  }
  return blocks;
}

TEST(ChordCatalogue, EveryShapeSoundsOnlyItsChordTonesWithTheRoot) {
  TuningPitches open{};
  ParseTuningString(kStandard, 0, open);
  int shapes = 0;
  for (const Block& block : AllBlocks()) {
    for (const CString& text : block.types) {
      CString spelling;
      ASSERT_GT(LoadChordDllString(kChordSpellingBase + static_cast<unsigned char>(text[1]), spelling), 0);
      std::set<int> tones;
      for (int at = 0; at + 5 <= spelling.GetLength(); at += 5) {
        const auto field = kFieldSemitones.find(spelling.Mid(at, 5).Str());
        ASSERT_NE(field, kFieldSemitones.end()) << spelling.Str();
        tones.insert((block.pitchClass + field->second) % 12);
      }
      for (const CString& shape : LibraryVariations(text)) {
        SCOPED_TRACE("pitch class " + std::to_string(block.pitchClass) + " " + LibraryTypeName(text).Str() +
                     " " + shape.Str());
        ShapeValues pitches{}, frets{}, marks{};
        GetShapePitches(shape, kStandard, pitches, frets, marks);
        bool root = false;
        int sounding = 0;
        for (int string = 0; string < 6; ++string) {
          if (pitches[static_cast<std::size_t>(string)] <= kNoString) continue;
          ++sounding;
          // Pitch numbers count from Ab as the root pitch classes do.
          const int tone = pitches[static_cast<std::size_t>(string)] % 12;
          EXPECT_EQ(tones.count(tone), 1u) << "string " << string + 1 << " sounds a tone outside the chord";
          root = root || tone == block.pitchClass;
        }
        EXPECT_GE(sounding, 2);
        EXPECT_TRUE(root) << "the root does not sound";
        ++shapes;
      }
    }
  }
  EXPECT_GT(shapes, 12 * 22 * 3);
}

TEST(ChordCatalogue, BlocksKeepTheLibraryContract) {
  CString major;
  ASSERT_GT(LoadChordDllString(kChordMajorSpellingId, major), 0);
  EXPECT_EQ(major, " R   3rd  5th  ");
  const std::set<std::string> wanted = {"(major)", "m",    "7",    "maj7",  "m7",  "m7b5", "dim",  "dim7",
                                        "aug",     "sus2", "sus4", "7sus4", "6",   "m6",   "add9", "9",
                                        "m9",      "maj9", "11",   "13",    "7#9", "7b9"};
  for (const Block& block : AllBlocks()) {
    SCOPED_TRACE("pitch class " + std::to_string(block.pitchClass));
    ASSERT_FALSE(block.types.empty());
    EXPECT_EQ(LibraryTypeName(block.types.front()), "(major)");
    EXPECT_EQ(block.types.front()[1], 'A');  // the major spelling, string 11900
    std::set<std::string> names;
    for (const CString& text : block.types) {
      const CString name = LibraryTypeName(text);
      CString field = text.Mid(3, 17);
      field.TrimRight();
      EXPECT_EQ(field, name) << "a type name holds a blank";
      EXPECT_LE(text.GetLength(), kChordLibraryBuffer);
      const int count = LibraryVariationCount(text);
      EXPECT_GE(count, 2) << name.Str();
      EXPECT_LE(count, 22);
      names.insert(name.Str());
    }
    for (const std::string& name : wanted) EXPECT_EQ(names.count(name), 1u) << name;
  }
}

TEST(ChordCatalogue, OpenShapesComeFirst) {
  KChordCatalogueSources sources;
  const struct {
    const char* root;
    const char* type;
    const char* first;
  } cases[] = {
      {"G ", "(major)", "0320003"}, {"C ", "(major)", "0932010"}, {"A ", "m", "0902210"},
      {"E ", "7", "0020100"},       {"D ", "(major)", "0990232"},
  };
  for (const auto& c : cases) {
    LibraryType type;
    ASSERT_EQ(FindLibraryType(sources, ChordRootIndex(c.root), c.type, type, true), LibraryLookup::kFound);
    EXPECT_EQ(LibraryVariation(type.text, 1), c.first) << c.root << c.type;
  }
  // The enharmonic roots read one block.
  LibraryType sharp, flat;
  ASSERT_EQ(FindLibraryType(sources, ChordRootIndex("F#"), "m7", sharp), LibraryLookup::kFound);
  ASSERT_EQ(FindLibraryType(sources, ChordRootIndex("Gb"), "m7", flat), LibraryLookup::kFound);
  EXPECT_EQ(sharp.text, flat.text);
}

TEST(ChordCatalogue, AliasesAndUnknownTypes) {
  KChordCatalogueSources sources;
  LibraryType type;
  EXPECT_EQ(FindLibraryType(sources, ChordRootIndex("C "), "min7", type), LibraryLookup::kFound);
  EXPECT_EQ(type.name, "m7");
  EXPECT_EQ(FindLibraryType(sources, ChordRootIndex("C "), "M7", type), LibraryLookup::kFound);
  EXPECT_EQ(type.name, "maj7");
  EXPECT_EQ(FindLibraryType(sources, ChordRootIndex("C "), "zz", type), LibraryLookup::kAbsent);
  EXPECT_EQ(LoadChordDllString(99999, type.text), 0);
}

TEST(ChordSlashShapes, TheBassIsTheLowestNoteWhereAShapeAllowsIt) {
  const struct {
    const char* what;
    std::vector<CString> shapes;
    int bass;  // pitch class from Ab
    const char* expected;
  } cases[] = {
      {"D over F sharp from the open D", {"0990232"}, 10, "0290232"},
      {"C over G from the open C", {"0932010"}, 11, "0332010"},
      {"a bass in the middle of the chord moves under it", {"0990232"}, 0, "0490232"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SlashChordShape(c.shapes, c.bass, kStandard), c.expected);
  }
}

}  // namespace
