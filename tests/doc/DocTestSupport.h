#pragma once
// Test support for the score document: two tiny serialisable classes that
// stand for lines and line groups, an in-memory score-file container, a
// writer of hand-built score files of any format version, a dump of the
// settings record, and a fixture that puts every program-wide value back.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "doc/ScoreSettings.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "platform/CArchive.h"
#include "platform/CObList.h"
#include "platform/CObject.h"
#include "platform/CompoundFile.h"
#include "platform/FakeUiPort.h"
#include "platform/qt/GsfCompoundFile.h"
#include "support/TempFolder.h"

// A line: its type code, its font number (text lines), a text and its group
// id. A coloured line raises the program-wide coloured-object flag when it is
// read, as the real readers do. A line made to fail refuses to be stored.
class KDocTestLine : public KLineObj {
  DECLARE_SERIAL(KDocTestLine);
  KDocTestLine() = default;
  KDocTestLine(BYTE lineType, BYTE font, const char* label, BYTE coloured = 0, int group = kNoGroup)
      : type(lineType), fontNumber(font), text(label), colour(coloured) {
    SetType(lineType);
    SetGroup(group, nullptr);
  }
  void Serialize(CArchive& ar) override;

  BYTE type = 5;
  BYTE fontNumber = 0;
  CString text;
  BYTE colour = 0;
  bool failToStore = false;
};

// What a hand-built file holds of a test line.
struct KTestLineSpec {
  KTestLineSpec(BYTE lineType, BYTE font, const char* label, BYTE coloured = 0, int group = -1)
      : type(lineType), fontNumber(font), text(label), colour(coloured), groupId(group) {}
  BYTE type;
  BYTE fontNumber;
  std::string text;
  BYTE colour;
  int groupId;
};

// The hooks through which the document sees the test classes.
KDocLineHooks TestLineHooks();

// The real container, with two faults a test can switch on: reads that report
// embedded items beside the archive, and writes that fail (the file on disk
// is then left alone).
class KTestContainer : public KCompoundFile {
 public:
  KContainerRead Read(const std::filesystem::path& path) const override;
  KContainerWrite Write(const std::filesystem::path& path,
                        std::span<const std::uint8_t> contents) const override;

  bool reportItems = false;
  bool failWrites = false;

 private:
  KGsfCompoundFile real_;
};

// The lines and groups that follow the document part of a hand-built file.
struct KFileObjects {
  std::vector<KTestLineSpec> lines;
  // Line groups by id, without slots.
  std::vector<int> groups;
  DWORD itemCount = 0;
};

// The fields of a hand-built score file; what a version lacks is not written.
struct KHandBuiltScore {
  explicit KHandBuiltScore(long long v) : version(v) {}

  long long version;
  WORD words[9] = {600, 300, 10, 20, 100, 700, 0, 0x6464, 0};
  BYTE bytes1[12] = {0, 3, 4, 30, 1, 0, 1, 0, 100, 0, 1, 1};
  BYTE showFlags[9] = {1, 1, 1, 1, 1, 1, 1, 0xFF, 1};
  BYTE bytes2[12] = {1, 1, 0, 0, 15, 1, 0x40, 0, 0, 0, 0, 0};
  std::string tuning = "E A D G B E  323742475156";
  std::string bassTuning = "  E A D G   *002025303500";
  std::string pageNumberingText = "Page";
  // v >= 21
  WORD printScale = 90;
  BYTE marginUnit = 1;
  WORD margins[4] = {11, 12, 13, 14};
  BYTE pageBytes[5] = {1, 0, 2, 1, 3};
  WORD marks[6] = {5, 6, 7, 8, 9, 10};  // word70..word73; word74, word75 from v >= 25
  WORD midiTempo = 96;
  BYTE midiBytes[4] = {10, 1, 0, 1};  // level, between marks, loop, ignore repeats
  std::vector<std::string> instruments = {"  1100UL Treble", " 34 90UL Bass"};
  BYTE showVariationNumbers = 1;
  WORD word83 = 83;
  WORD word84 = 84;
  BYTE tabSpacing = 141;
  BYTE byte86 = 86;
  // v >= 22
  BYTE keepGroups = 0;
  BYTE alertLarger = 1;
  std::string text88 = "eighty-eight";
  std::string chordAndRhythm =
      "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial!@!15,0,0,0,700,0,0,0,0,3,2,1,25,Courier New";
  // v >= 24
  std::string pageNumberFont = "10,0,0,0,400,0,0,0,0,0,0,0,25,Arial";
  // v >= 26
  BYTE midiShowCaret = 0;
  // v >= 28
  std::string textFont = "20,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman";
  std::string extTextAndTriplet =
      "11,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman!@!12,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
  std::string tabFont = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  // Always.
  std::vector<std::string> extraStrings;
  std::vector<DWORD> extensions;  // count and values
  // The font part: raw bytes from the marker on (the marker 0 when empty).
  std::vector<BYTE> fontPart = {0};
  KFileObjects objects;
};

// The archive bytes of a hand-built score.
std::vector<BYTE> BuildScoreFile(const KHandBuiltScore& score);

// Bytes of a LOGFONT as a score file holds it.
void AppendLogFont(std::vector<BYTE>& out, const LOGFONT& font);
void AppendDword(std::vector<BYTE>& out, DWORD value);
// The font part of a file: a marker, the indexes (new form), the fonts and
// `counts` use counts, all zero but the (index, count) pairs in `used`.
std::vector<BYTE> FontPart(BYTE marker, const std::vector<BYTE>& indexes, const std::vector<LOGFONT>& fonts,
                           int counts, const std::vector<std::pair<int, int>>& used);

// Every field of a settings record as "name=value" lines, in declaration order.
std::string DumpSettings(const ScoreSettings& s);

// The bytes Serialize stores for a document.
std::vector<BYTE> StoreDocument(CStavlinDoc& doc);
// Loads bytes into the document through Serialize; true when it took them.
bool LoadDocument(CStavlinDoc& doc, const std::vector<BYTE>& bytes);

// The lines of a document as "type/font/text" entries.
std::vector<std::string> LineSummary(const CStavlinDoc& doc);

// Every line group as "id:line,line,..." (the lines' indexes in the list),
// in list order, separated by blanks.
std::string DescribeGroups(const CStavlinDoc& doc);
// What does not hold together between lines and groups: a grouped line that
// its group does not hold or that points elsewhere, an ungrouped line that
// points at a group, a slot whose line is not there or names another group.
// Empty when all is well.
std::string GroupViolations(const CStavlinDoc& doc);

// A group of the lines at the positions, added to the document, with the
// lines pointing at it (the group is not yet bound to them).
KLineGroup* GroupOf(CStavlinDoc& doc, int id, const std::vector<POSITION>& positions);

// The indent and staff spacing that new lines take.
std::vector<int> NewLineSpacingForTest();

// Every program-wide value at its start value before and after each test, the
// test classes registered and hooked, a fake UI port, the test container and
// a temporary folder.
class DocTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  static void ResetAll();

  // A path in the temporary folder, as the document takes it.
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  void WriteFile(const std::string& name, const std::vector<BYTE>& bytes) const;
  std::vector<BYTE> ReadFile(const std::string& name) const;

  FakeUiPort ui_;
  KTestContainer* container_ = nullptr;
  std::filesystem::path dir_;

 private:
  std::optional<stavlin_test::TempFolder> tempFolder_;
  std::unique_ptr<ScopedUiPort> uiScope_;
  std::unique_ptr<KCompoundFile> previousContainer_;
  KDocLineHooks previousHooks_;
};
