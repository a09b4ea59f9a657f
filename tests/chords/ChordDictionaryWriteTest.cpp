// Writing the user chord dictionary: records of seven- and eight-string
// chords read back as they were written, whoever wrote them; a removal
// changes the file and the memory together or neither; an append that
// cannot be written leaves the file as it was.

#include <gtest/gtest.h>

#include <filesystem>

#include "ChordRecordTestSupport.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"
#include "chords/ChordScan.h"
#include "common/Globals.h"
#include "platform/FakeUiPort.h"

using chordtest::ReadBytes;
using chordtest::Record;
using chordtest::RecordFields;
using chordtest::WriteBytes;

namespace {

const char* const kGuitar = "E A D G B E  323742475156";

class ChordDictionaryWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetChordDictionary();
    g_ChordFilePath = m_path.string().c_str();
  }
  void TearDown() override {
    ResetChordDictionary();
    ResetCommonGlobals();
  }
  KTuningInfo& Loaded(const char* root) {
    m_info = std::make_unique<KTuningInfo>(kGuitar, "323742475156");
    m_info->AddKey(root);
    m_info->LoadChords(kGuitar, root);
    return *m_info;
  }

  chordtest::TempFolder m_folder;
  std::filesystem::path m_path = m_folder.Path() / "ZODireda.dat";
  std::unique_ptr<KTuningInfo> m_info;
  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
};

TEST(ChordExtraStrings, SevenAndEightStringRecordsReadBackAsWritten) {
  // Shapes of the designer's form: six main strings, then "7"/"8" with the
  // string's character, its +4 row bit and its finger.
  const struct {
    const char* what;
    const char* shape;
  } cases[] = {
      {"seven strings, the seventh high",
       "0123456"
       "hint    "
       "00000"
       "000"
       "645"
       "      "
       "7311"},
      {"eight strings, the seventh high",
       "0123456"
       "        "
       "00000"
       "000"
       "640"
       "      "
       "7210"
       "8300"},
      {"eight strings, the eighth high",
       "0123456"
       "        "
       "00000"
       "000"
       "640"
       "      "
       "7200"
       "8310"},
      {"eight strings, both high",
       "0123456"
       "        "
       "00000"
       "000"
       "640"
       "      "
       "7211"
       "8312"},
  };
  const char* tuning8 = "E A D G B E  323742475156/*";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // The designer's record ...
    const CString record = BuildChordRecord(tuning8, "323742475156/*", "C ", "m", "", "", c.shape);
    ASSERT_EQ(record.GetLength(), 132);
    const KUserChordData read(record);
    EXPECT_EQ(read.GetExtraStrings(), CString(c.shape).Mid(32).Left(CString(c.shape)[36] == '8' ? 8 : 4));
    // ... and the scan's record of the same diagram are the same chord.
    ScannedChord diagram;
    ASSERT_TRUE(ScannedChordOfDiagram("Cm", c.shape, diagram));
    const CString scanned = ScannedChordRecord(tuning8, diagram);
    ASSERT_EQ(scanned.GetLength(), 132);
    EXPECT_EQ(scanned.Mid(117, 1), record.Mid(117, 1));
    EXPECT_EQ(KUserChordData(scanned).GetExtraStrings(), read.GetExtraStrings());
    EXPECT_TRUE(SameScannedChord(ScannedChordOfRecord(scanned), diagram));
  }
}

TEST_F(ChordDictionaryWrite, RemovalTakesTheRecordOutOfFileAndMemory) {
  const std::string a = Record("C ", "m", "0032010"), b = Record("C ", "m", "0035555"),
                    c = Record("C ", "", "0032010"), d = Record("D ", "7", "0990212");
  const struct {
    const char* what;
    const char* name;
    const char* head;
    std::string left;
  } cases[] = {
      {"a later variation", "m", "0035555", a + c + d},
      {"a blank name read as the major chord", "(major)", "0032010", a + b + d},
  };
  for (const auto& c2 : cases) {
    SCOPED_TRACE(c2.what);
    WriteBytes(m_path, a + b + c + d);
    KTuningInfo& info = Loaded("C ");
    const CString shape = KUserChordData(CString(Record("C ", c2.name, c2.head))).GetShape();
    const int before = info.CountVariations("C ", c2.name);
    int listEmpty = -1, nameRemains = -1;
    EXPECT_EQ(RemoveUserChord(info, "C ", c2.name, shape, listEmpty, nameRemains), ChordRemoval::kRemoved);
    EXPECT_EQ(ReadBytes(m_path), c2.left);
    EXPECT_EQ(info.CountVariations("C ", c2.name), before - 1);
    EXPECT_EQ(listEmpty, 0);
  }
}

TEST_F(ChordDictionaryWrite, RemovalChangesNothingWhenEitherSideCannotFollow) {
  const std::string a = Record("C ", "m", "0032010"), b = Record("C ", "m", "0035555");
  WriteBytes(m_path, a + b);
  KTuningInfo& info = Loaded("C ");
  const CString shape = KUserChordData(CString(b)).GetShape();
  int listEmpty = 0, nameRemains = 0;

  // The file no longer holds the chord: the memory keeps it too.
  WriteBytes(m_path, a);
  EXPECT_EQ(RemoveUserChord(info, "C ", "m", shape, listEmpty, nameRemains), ChordRemoval::kNotFound);
  EXPECT_EQ(info.CountVariations("C ", "m"), 2);

  // The file cannot be read or replaced (a folder stands in its place).
  std::filesystem::remove(m_path);
  std::filesystem::create_directories(m_path);
  EXPECT_EQ(RemoveUserChord(info, "C ", "m", shape, listEmpty, nameRemains), ChordRemoval::kWriteFailed);
  EXPECT_EQ(info.CountVariations("C ", "m"), 2);
  std::filesystem::remove(m_path);

  // The memory does not hold it: the file is left alone.
  WriteBytes(m_path, a + b);
  EXPECT_EQ(RemoveUserChord(info, "C ", "m", "0099999", listEmpty, nameRemains), ChordRemoval::kNotFound);
  EXPECT_EQ(ReadBytes(m_path), a + b);
}

TEST_F(ChordDictionaryWrite, AppendWritesWholeRecordsOrNothing) {
  const std::string a = Record("C ", "m");
  WriteBytes(m_path, a);
  EXPECT_FALSE(AppendChordRecords({CString(Record("D ", "7").c_str()), CString("short")}));
  EXPECT_EQ(ReadBytes(m_path), a);
  EXPECT_TRUE(AppendChordRecords({CString(Record("D ", "7").c_str())}));
  EXPECT_EQ(ReadBytes(m_path), a + Record("D ", "7"));
  g_ChordFilePath = (m_folder.Path() / "missing" / "ZODireda.dat").string().c_str();
  EXPECT_FALSE(AppendChordRecords({CString(a.c_str())}));
}

}  // namespace
