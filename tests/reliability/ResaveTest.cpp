// Load then save is idempotent: for every score the tests can make, saving it,
// opening the saved file and saving again gives the same bytes as the first
// save; and so do line records read as older file versions wrote them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ReliabilityTestSupport.h"
#include "SampleScores.h"
#include "common/AppServices.h"
#include "doc/CStavlinDoc.h"
#include "model/KLineObj.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"

namespace {

class ResaveSample : public ReliabilityTest, public ::testing::WithParamInterface<SampleScore> {};

TEST_P(ResaveSample, OpenedAndSavedAgainGivesTheSameBytes) {
  {
    CStavlinDoc built;
    GetParam().fill(built);
    ASSERT_TRUE(built.OnSaveDocument(PathOf("built.svd").c_str()));
  }
  std::vector<std::string> saves;
  std::string source = PathOf("built.svd");
  for (int round = 1; round <= 2; ++round) {
    ResetProgram();
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(source.c_str())) << "round " << round;
    source = PathOf("save" + std::to_string(round) + ".svd");
    ASSERT_TRUE(doc.OnSaveDocument(source.c_str())) << "round " << round;
    saves.push_back(source);
  }
  EXPECT_TRUE(ui_.Messages().empty()) << ui_.Messages().front().text;
  const std::vector<std::uint8_t> first = Contents(saves[0]);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(Contents(saves[1]), first);
  EXPECT_EQ(FileBytes(saves[1]), FileBytes(saves[0]));
}

INSTANTIATE_TEST_SUITE_P(Scores, ResaveSample, ::testing::ValuesIn(SampleScores()),
                         [](const ::testing::TestParamInfo<SampleScore>& info) {
                           return std::string(info.param.name);
                         });

// The bytes of a line stored through the archive's object protocol.
std::vector<std::uint8_t> StoreLine(const CObject& line) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(&line);
    ar.Close();
  }
  return file.Detach();
}

std::unique_ptr<CObject> LoadLine(const std::vector<std::uint8_t>& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  return std::unique_ptr<CObject>(ar.ReadObject(nullptr));
}

struct OlderVersion {
  const char* name;
  int version;
};

void PrintTo(const OlderVersion& version, std::ostream* out) { *out << version.name; }

class ResaveOlderRecords : public ReliabilityTest, public ::testing::WithParamInterface<OlderVersion> {};

// Each line record of the samples, read as a file of the older version holds
// it (the readers convert what that version stored differently), then saved,
// read and saved again: the two saves are the same.
TEST_P(ResaveOlderRecords, LinesReadAsTheOlderVersionSaveStably) {
  const int current = g_fileVersion;
  for (const SampleScore& sample : SampleScores()) {
    CStavlinDoc doc;
    sample.fill(doc);
    int index = 0;
    for (POSITION at = doc.lines.GetHeadPosition(); at != nullptr; ++index) {
      const CObject* line = doc.lines.GetNext(at);
      SCOPED_TRACE(std::string(sample.name) + " line " + std::to_string(index));
      const std::vector<std::uint8_t> written = StoreLine(*line);
      g_fileVersion = GetParam().version;
      std::unique_ptr<CObject> old;
      try {
        old = LoadLine(written);
      } catch (const CArchiveException&) {
        g_fileVersion = current;
        continue;  // a record the older version could not have held
      }
      g_fileVersion = current;
      const std::vector<std::uint8_t> first = StoreLine(*old);
      const std::vector<std::uint8_t> second = StoreLine(*LoadLine(first));
      EXPECT_EQ(second, first);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, ResaveOlderRecords,
                         ::testing::Values(OlderVersion{"Version19", 19}, OlderVersion{"Version25", 25},
                                           OlderVersion{"Version31", 31}, OlderVersion{"Version32", 32},
                                           OlderVersion{"Version3493", 3493}),
                         [](const ::testing::TestParamInfo<OlderVersion>& info) {
                           return std::string(info.param.name);
                         });

// Not a check: writes the archives of the samples as the seeds of the
// score-file fuzz target. Run by hand with --gtest_also_run_disabled_tests
// --gtest_filter='*WritesTheScoreFileSeeds'.
TEST_F(ReliabilityTest, DISABLED_WritesTheScoreFileSeeds) {
  const std::filesystem::path seeds =
      std::filesystem::path(STAVLIN_TEST_DIR) / ".." / ".." / "fuzz" / "score_file" / "seeds";
  std::filesystem::create_directories(seeds);
  for (const SampleScore& sample : SampleScores()) {
    CStavlinDoc doc;
    sample.fill(doc);
    ASSERT_TRUE(doc.OnSaveDocument(PathOf("seed.svd").c_str()));
    const std::vector<std::uint8_t> archive = Contents(PathOf("seed.svd"));
    std::ofstream out(seeds / (std::string(sample.name) + ".archive"), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  }
}

}  // namespace
