// A MIDI import lays its score out as typed music looks: the flagged notes of
// each beat share a beam and a beam never runs from one beat into the next,
// every system cut at a bar line ends with that bar line, the last system
// ends with the final bar, and the systems fit a printed sheet at 100 %.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineTime.h"
#include "platform/FileBytes.h"
#include "doc/NewScoreSheetWidth.h"

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
        // its last even and above 6, the columns between negative. High and
        // low notes of one beat share the group (and so its voice).
        const bool joins = stem < 0 || (stem > KChord::kStemPlain && stem % 2 == 0);
        const bool sameBeat = previousVoice >= 0 && previousBeat == beat;
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

// The widest staff of the score as the printout measures it: its width
// from the score's left edge.
int WidestStaff(const CStavlinDoc& doc) {
  int widest = 0;
  for (KListLine* staff : importtest::Staves(doc))
    widest = std::max(widest, 11 + staff->GetWidth(0, 0, nullptr, 0));
  return widest;
}

TEST_P(ImportedSystems, EverySystemFitsAPrintedSheetAtFullSize) {
  // The default page (8 inches printable, quarter-inch margins) holds 720
  // pixels; the import's own staff length is wider.
  ASSERT_GT(g_prefMidiImport.lineLength + 11, NewScoreSheetWidth());
  std::unique_ptr<CStavlinDoc> doc = ImportFixtureFile(GetParam().file);
  ASSERT_NE(doc, nullptr);
  EXPECT_LE(WidestStaff(*doc), NewScoreSheetWidth());
  EXPECT_GT(WidestStaff(*doc), NewScoreSheetWidth() - 18) << "the systems fill the sheet";
}

TEST_P(ImportedSystems, AWiderSheetKeepsTheImportsStaffLength) {
  const KPrefPrinterParams kept = g_prefPrinterParams;
  g_prefPrinterParams.pageWidth = 3960;  // 11 inches: a landscape sheet
  std::unique_ptr<CStavlinDoc> doc = ImportFixtureFile(GetParam().file);
  g_prefPrinterParams = kept;
  ASSERT_NE(doc, nullptr);
  for (KListLine* staff : importtest::Staves(*doc))
    EXPECT_EQ(staff->GetStaffLength(), g_prefMidiImport.lineLength);
}

INSTANTIATE_TEST_SUITE_P(Tunes, ImportedSystems,
                         ::testing::Values(LaidOutTune{"AReelInFourFour", "reel.mid", 480, 3},
                                           LaidOutTune{"AJigInSixEight", "jig.mid", 720, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
