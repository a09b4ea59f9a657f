// A MIDI import lays its score out as typed music looks: the flagged notes of
// each beat share a beam and a beam never runs from one beat into the next,
// every system cut at a bar line ends with that bar line, and the last
// system ends with the final bar.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "model/KLineTime.h"
#include "platform/FileBytes.h"

namespace {

using importtest::ImportFixture;

struct LaidOutTune {
  const char* name;
  const char* file;
  int beat;             // ticks of the beat the beams follow
  std::size_t systems;  // how many systems the tune fills
};

class ImportedSystems : public ::testing::TestWithParam<LaidOutTune>, public ImportFixture {
 protected:
  void SetUp() override { g_midiImportMethod = 1; }

  std::unique_ptr<CStavlinDoc> ImportFixtureFile(const char* name) {
    const fileio::ReadResult file =
        fileio::ReadWholeFile(std::filesystem::path(STAVLIN_TEST_DIR) / "fixtures" / name);
    EXPECT_TRUE(file.ok()) << name << ": " << file.message;
    MidiFileImportResult result = Import(file.bytes, "/music/tune.mid");
    return std::move(result.document);
  }
};

// The voice holding the column's flagged notes, or -1.
int FlaggedVoice(const KChord& column) {
  for (int voice = 0; voice < 2; ++voice) {
    if (column.GetFlagCount(voice) > 0) return voice;
  }
  return -1;
}

TEST_P(ImportedSystems, BeamsJoinTheNotesOfEachBeatAndNoMore) {
  const LaidOutTune& tune = GetParam();
  std::unique_ptr<CStavlinDoc> doc = ImportFixtureFile(tune.file);
  ASSERT_NE(doc, nullptr);
  int flaggedNotes = 0;
  for (KListLine* staff : importtest::Staves(*doc)) {
    const KLineTime time(*staff);
    int barStart = 0;
    int previousVoice = -1;
    int previousBeat = -1;
    for (const KColumnTime& column : time.Columns()) {
      if (column.kind == KColumnTime::Kind::kBar) {
        barStart = column.start;
        previousVoice = -1;
        continue;
      }
      if (column.kind != KColumnTime::Kind::kNotes && column.kind != KColumnTime::Kind::kRest) continue;
      const int voice = column.kind == KColumnTime::Kind::kNotes ? FlaggedVoice(*column.chord) : -1;
      const int beat = (column.start - barStart) / tune.beat;
      if (voice >= 0) {
        ++flaggedNotes;
        const int stem = column.chord->GetVoiceStem(voice);
        // The stored stem marks a group: its first column odd and above 6,
        // its last even and above 6, the columns between negative.
        const bool joins = stem < 0 || (stem > KChord::kStemPlain && stem % 2 == 0);
        const bool sameBeat = previousVoice == voice && previousBeat == beat;
        EXPECT_EQ(joins, sameBeat) << "column " << column.pos << " at tick " << column.start << "\n"
                                   << importtest::Dump(*doc);
      }
      previousVoice = voice;
      previousBeat = beat;
    }
  }
  EXPECT_GT(flaggedNotes, 0);
}

TEST_P(ImportedSystems, FullSystemsEndWithABarLineAndTheLastWithTheFinalBar) {
  std::unique_ptr<CStavlinDoc> doc = ImportFixtureFile(GetParam().file);
  ASSERT_NE(doc, nullptr);
  const std::vector<KListLine*> staves = importtest::Staves(*doc);
  ASSERT_EQ(staves.size(), GetParam().systems) << importtest::Dump(*doc);
  for (std::size_t i = 0; i < staves.size(); ++i) {
    const CObList& objects = *staves[i]->GetObjList();
    ASSERT_FALSE(objects.IsEmpty());
    const auto* tail = dynamic_cast<const KChord*>(static_cast<const KPosObj*>(objects.GetTail()));
    ASSERT_NE(tail, nullptr);
    ASSERT_TRUE(tail->IsBarColumn()) << "system " << i + 1 << "\n" << importtest::Dump(*doc);
    EXPECT_EQ(tail->GetNote(0).code, i + 1 == staves.size() ? 23 : 21) << "system " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Tunes, ImportedSystems,
                         ::testing::Values(LaidOutTune{"AReelInFourFour", "reel.mid", 480, 3},
                                           LaidOutTune{"AJigInSixEight", "jig.mid", 720, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
