// Standard MIDI Files made from ABC tunes by another program (abc2midi)
// import as scores whose notes, in order, are the tunes' notes: one table per
// tune, written from the ABC by hand (note and length in eighths), not from
// the file.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "platform/FileBytes.h"

namespace {

using importtest::ImportFixture;
using importtest::Played;

constexpr int kEighth = 240;

// A tune's notes as (MIDI key, length in eighths; a negative key is a rest),
// played in order from tick 0.
struct Note {
  int key;
  double eighths;
};

std::vector<Played> Timeline(const std::vector<Note>& notes) {
  std::vector<Played> played;
  double at = 0;
  for (const Note& n : notes) {
    if (n.key >= 0) played.push_back({static_cast<int>(at * kEighth + 0.5), n.key});
    at += n.eighths;
  }
  return played;
}

struct AbcTune {
  const char* name;
  const char* file;
  std::vector<Note> notes;
};

std::vector<Note> Twice(const std::vector<Note>& part) {
  std::vector<Note> both = part;
  both.insert(both.end(), part.begin(), part.end());
  return both;
}

std::vector<AbcTune> Tunes() {
  // K:D |:DFAF dFAF|GBdB AFEF|DFAd fedc|BGEC D4:| (F and C sharp).
  const std::vector<Note> reel = {{62, 1}, {66, 1}, {69, 1}, {66, 1}, {74, 1}, {66, 1}, {69, 1}, {66, 1},
                                  {67, 1}, {71, 1}, {74, 1}, {71, 1}, {69, 1}, {66, 1}, {64, 1}, {66, 1},
                                  {62, 1}, {66, 1}, {69, 1}, {74, 1}, {78, 1}, {76, 1}, {74, 1}, {73, 1},
                                  {71, 1}, {67, 1}, {64, 1}, {61, 1}, {62, 4}};
  return {
      {"a reel in D with its repeat played out", "reel.mid", Twice(reel)},
      // K:G, 6/8: GAB dBG|A>BA FED|GAB dec|dBA G3| (a dotted eighth and a sixteenth).
      {"a jig in G with a dotted rhythm",
       "jig.mid",
       {{67, 1}, {69, 1}, {71, 1}, {74, 1}, {71, 1}, {67, 1}, {69, 1.5}, {71, 0.5},
        {69, 1}, {66, 1}, {64, 1}, {62, 1}, {67, 1}, {69, 1}, {71, 1},   {74, 1},
        {76, 1}, {72, 1}, {74, 1}, {71, 1}, {69, 1}, {67, 3}}},
      // K:F, 3/4: F2 A2 c2|(3def c2 A2|_B2 A2 ^G2|A6|=B2 c2 d2|c4 z2|
      {"a waltz in F with a triplet, accidentals and a rest",
       "waltz.mid",
       {{65, 2},
        {69, 2},
        {72, 2},
        {74, 2.0 / 3},
        {76, 2.0 / 3},
        {77, 2.0 / 3},
        {72, 2},
        {69, 2},
        {70, 2},
        {69, 2},
        {68, 2},
        {69, 6},
        {71, 2},
        {72, 2},
        {74, 2},
        {72, 4},
        {-1, 2}}},
  };
}

class AbcTuneImport : public ::testing::TestWithParam<AbcTune>, public ImportFixture {
 protected:
  void SetUp() override { g_midiImportMethod = 1; }
};

TEST_P(AbcTuneImport, GivesTheTunesNotesInOrder) {
  const AbcTune& tune = GetParam();
  const fileio::ReadResult file =
      fileio::ReadWholeFile(std::filesystem::path(STAVLIN_TEST_DIR) / "fixtures" / tune.file);
  ASSERT_TRUE(file.ok()) << tune.file << ": " << file.message;
  const MidiFileImportResult result = Import(file.bytes, "/music/tune.mid");
  ASSERT_NE(result.document, nullptr);
  const std::vector<Played> notes = importtest::AllNotes(importtest::PlayScore(*result.document));
  EXPECT_EQ(importtest::ToText(notes), importtest::ToText(Timeline(tune.notes)))
      << importtest::Dump(*result.document);
}

INSTANTIATE_TEST_SUITE_P(Import, AbcTuneImport, ::testing::ValuesIn(Tunes()),
                         [](const ::testing::TestParamInfo<AbcTune>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c != '\0'; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c)))
                               name += *c;
                             else if (*c == ' ')
                               name += '_';
                           }
                           return name;
                         });

}  // namespace
