// Loading the user chord dictionary file into the map, the deferred reports of
// its errors, and the repair of a damaged file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "ChordRecordTestSupport.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryRepair.h"
#include "chords/ChordRecordTuningInfo.h"
#include "common/Globals.h"
#include "platform/FakeUiPort.h"

using chordtest::MakeRecord;
using chordtest::ReadBytes;
using chordtest::Record;
using chordtest::RecordFields;
using chordtest::WriteBytes;

namespace {

const char* const kGuitar = "E A D G B E  323742475156";
const char* const kDropD = "D A D G B E  303742475156";

// 8 December 2026, 06:15:03 local time.
std::time_t FixedTime() {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 8;
  local.tm_hour = 6;
  local.tm_min = 15;
  local.tm_sec = 3;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::string Damaged(std::string record) {
  record[129] = 'x';
  return record;
}

class ChordDictionary : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCommonGlobals();
    ResetChordDictionary();
    SetChordBackupClock(FixedTime);
    g_ChordFilePath = m_path.string().c_str();
  }
  void TearDown() override {
    ResetChordDictionary();
    ResetCommonGlobals();
  }

  KTuningInfo* Info(const std::string& key) const {
    CObject* found = nullptr;
    return g_ChordDictionary.Lookup(key.c_str(), found) ? static_cast<KTuningInfo*>(found) : nullptr;
  }
  std::filesystem::path Backup() const { return m_folder.Path() / "ZODireda_12-08-26_06-15-03.dat"; }

  chordtest::TempFolder m_folder;
  std::filesystem::path m_path = m_folder.Path() / "ZODireda.dat";
  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
};

TEST_F(ChordDictionary, LoadIndexesEachTuningWithTheRootsItHas) {
  RecordFields fretted;
  fretted.details = "0,1,2,3,4,5,6,7,8,9,10,11,12";
  fretted.root = "G ";
  WriteBytes(m_path, Record("C ", "m") + Record("D ", "7") + Record("C ", "", "0333333", kDropD) +
                         MakeRecord(fretted) + Record("A#", "m").substr(0, 131));
  EXPECT_EQ(LoadChordDictionary(), 1);
  EXPECT_EQ(g_ChordLoadResult, 1);
  EXPECT_EQ(g_ChordRecordNumber, 5);
  ASSERT_EQ(g_ChordDictionary.GetCount(), 3);
  KTuningInfo* guitar = Info(kGuitar);
  ASSERT_NE(guitar, nullptr);
  EXPECT_EQ(guitar->GetListedMask(), (1u << 5) | (1u << 8) | (1u << 2));
  EXPECT_EQ(guitar->GetLoadedMask(), 0u);  // the chords stay in the file
  EXPECT_TRUE(guitar->GetChordList().IsEmpty());
  EXPECT_EQ(guitar->GetPitchText(), "323742475156");
  ASSERT_NE(Info(kDropD), nullptr);
  KTuningInfo* withFrets = Info(std::string(kGuitar) + "!@@!0,1,2,3,4,5,6,7,8,9,10,11,12");
  ASSERT_NE(withFrets, nullptr);
  EXPECT_EQ(withFrets->GetListedMask(), 1u << 15);
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_FALSE(std::filesystem::exists(Backup()));  // no repair for a last record without its line feed
}

TEST_F(ChordDictionary, EmptyFileLoadsAnEmptyMap) {
  WriteBytes(m_path, "");
  EXPECT_EQ(LoadChordDictionary(), 1);
  EXPECT_TRUE(g_ChordDictionary.IsEmpty());
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(ChordDictionary, MissingFileBeepsAndWaitsForTheViewToSayIt) {
  g_ChordFilePath = (m_folder.Path() / "none.dat").string().c_str();
  EXPECT_EQ(LoadChordDictionary(), 0);
  EXPECT_EQ(g_ChordLoadResult, 0);
  EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_EQ(g_ChordFileErrors, 1001);
  ReportPendingChordFileErrors();
  EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{kMsgNoChordFile});
  ReportPendingChordFileErrors();  // once only
  EXPECT_EQ(m_ui.MessageIds().size(), 1u);
}

TEST_F(ChordDictionary, PendingErrorsAreReportedByKind) {
  const struct {
    int errors;
    std::vector<UINT> messages;
    bool rootFlag;
  } cases[] = {
      {1000, {}, false},    {1001, {kMsgNoChordFile}, false},
      {1010, {7053}, true}, {1021, {kMsgNoChordFile, 7053}, true},
      {0, {}, false},       {30, {}, false},
  };
  for (const auto& c : cases) {
    m_ui.ClearRecords();
    g_ChordFileErrors = c.errors;
    g_ChordRootErrorShown = false;
    ReportPendingChordFileErrors();
    EXPECT_EQ(m_ui.MessageIds(), c.messages) << c.errors;
    EXPECT_EQ(g_ChordRootErrorShown, c.rootFlag) << c.errors;
    EXPECT_EQ(g_ChordFileErrors, 0);
  }
}

TEST_F(ChordDictionary, BadRootInFileIsCountedWhileStarting) {
  WriteBytes(m_path, Record("X ", "m") + Record("C ", "m"));
  EXPECT_EQ(LoadChordDictionary(), 1);
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_EQ(g_ChordFileErrors, 1010);
  EXPECT_EQ(Info(kGuitar)->GetListedMask(), 1u << 5);
}

TEST_F(ChordDictionary, DamagedFileIsBackedUpAndRepaired) {
  const std::string a = Record("C ", "a"), b = Record("D ", "b"), c = Record("E ", "c"),
                    d = Record("F ", "d");
  const std::string e = Record("G ", "e", "0000000", kDropD);
  const struct {
    const char* what;
    std::string file;
    std::string repaired;
    std::vector<std::string> keys;
  } cases[] = {
      {"short tail", a + b + std::string("E A D G"), a + b, {kGuitar}},
      {"one byte tail", a + std::string("\r"), a, {kGuitar}},
      {"130 byte tail", a + b.substr(0, 130), a, {kGuitar}},
      // every whole record after the damaged one comes back, the one right after it too
      {"bad record between good ones", a + Damaged(b) + c + d + e, a + c + d + e, {kGuitar, kDropD}},
      {"two bad records in a row", a + Damaged(b) + Damaged(c) + d + e + a, a + d + e + a, {kGuitar, kDropD}},
      {"first record bad", Damaged(a) + b + e, b + e, {kGuitar, kDropD}},
      {"bad record then a short tail", a + Damaged(b) + c + std::string(60, 'z'), a + c, {kGuitar}},
      {"a record that lost bytes", a + b.substr(0, 100) + c + d, a + c + d, {kGuitar}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResetChordDictionary();
    SetChordBackupClock(FixedTime);
    m_ui.ClearRecords();
    std::filesystem::remove(Backup());
    WriteBytes(m_path, c.file);
    EXPECT_EQ(LoadChordDictionary(), 1);
    EXPECT_EQ(ReadBytes(m_path), c.repaired);
    EXPECT_EQ(ReadBytes(Backup()), c.file);
    ASSERT_EQ(m_ui.MessageIds(), std::vector<UINT>{kMsgChordFileRepaired});
    EXPECT_NE(m_ui.Messages()[0].text.find(
                  "It will be repaired, and the original will be saved as:\n        " + Backup().string()),
              std::string::npos);
    // the map holds exactly the tunings of the repaired file
    std::vector<std::string> keys;
    for (POSITION position = g_ChordDictionary.GetStartPosition(); position != nullptr;) {
      CString key;
      CObject* value = nullptr;
      g_ChordDictionary.GetNextAssoc(position, key, value);
      keys.push_back(key.Str());
    }
    std::vector<std::string> expected = c.keys;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(g_ChordRecordNumber, static_cast<int>(c.repaired.size() / 132));
    // a second load finds nothing more to mend
    ResetChordDictionary();
    m_ui.ClearRecords();
    EXPECT_EQ(LoadChordDictionary(), 1);
    EXPECT_TRUE(m_ui.Messages().empty());
  }
}

TEST_F(ChordDictionary, DamagedFileIsLeftAloneWhenNoBackupCanBeMade) {
  std::filesystem::create_directories(Backup());  // a folder where the copy should go
  const std::string a = Record("C ", "a"), b = Record("D ", "b", "0000000", kDropD);
  WriteBytes(m_path, a + Damaged(b) + b + "junk");
  EXPECT_EQ(LoadChordDictionary(), 1);
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_EQ(ReadBytes(m_path), a + Damaged(b) + b + "junk");
  // the whole records are known all the same
  ASSERT_NE(Info(kGuitar), nullptr);
  ASSERT_NE(Info(kDropD), nullptr);
  EXPECT_NE(Info(kDropD)->HasKey("D "), 0);
}

TEST_F(ChordDictionary, GarbageFilesLoadWithoutFault) {
  std::mt19937 random(7);
  const std::string good = Record("C ", "m");
  for (int round = 0; round < 40; ++round) {
    std::string bytes(static_cast<size_t>(random() % 2000), '\0');
    for (char& ch : bytes) ch = static_cast<char>(random() % 4 == 0 ? "$\r\n^"[random() % 4] : random());
    if (round % 3 == 0) bytes = good + bytes + good;
    ResetChordDictionary();
    WriteBytes(m_path, bytes);
    EXPECT_EQ(LoadChordDictionary(), 1);
    // what is left is whole records only, and loads cleanly
    const std::string repaired = ReadBytes(m_path);
    EXPECT_EQ(repaired.size() % 132, 0u);
    for (size_t at = 0; at < repaired.size(); at += 132) EXPECT_EQ(repaired.substr(at + 129, 3), "$\r\n");
    ResetChordDictionary();
    m_ui.ClearRecords();
    EXPECT_EQ(LoadChordDictionary(), 1);
    EXPECT_TRUE(m_ui.Messages().empty());
  }
}

TEST(ChordDictionaryPath, DataFolderFromEnvironmentOrHome) {
  const char* savedData = std::getenv("XDG_DATA_HOME");
  const std::string keep = savedData ? savedData : "";
  ::setenv("XDG_DATA_HOME", "/data/here", 1);
  EXPECT_EQ(DefaultChordFilePath(), std::filesystem::path("/data/here/stavlin/ZODireda.dat"));
  ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
  const std::filesystem::path fromHome = DefaultChordFilePath();
  EXPECT_EQ(fromHome.filename(), "ZODireda.dat");
  EXPECT_EQ(fromHome.parent_path().filename(), "stavlin");
  EXPECT_EQ(fromHome.parent_path().parent_path().filename(), "share");
  if (savedData)
    ::setenv("XDG_DATA_HOME", keep.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

TEST(ChordDictionaryBackupName, DateAndTimeWithDashes) {
  EXPECT_EQ(ChordFileBackupPath("/home/u/ZODireda.dat", FixedTime()),
            std::filesystem::path("/home/u/ZODireda_12-08-26_06-15-03.dat"));
}

}  // namespace
