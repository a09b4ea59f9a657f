#include <string>
#include <tuple>

#include "LineRecordTestSupport.h"

namespace {

using namespace line_records;

class KStrLineRecordTest : public LineRecordTest {};

constexpr const char* kFont = "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial";

// A text line record: base part (with the given packed attachment words), font
// number byte and text.
Bytes TextRecord(int legacyKind, std::string_view label, int fontNumber, std::string_view text,
                 DWORD flags = 0) {
  RecordBytes r;
  ClassTag(r, "KStrLine");
  BasePart(r, legacyKind, flags, label);
  return r.Byte(fontNumber).String(text);
}

TEST_F(KStrLineRecordTest, RecordMatchesHandBuiltBytesAndRoundTrips) {
  KStrLine line("Sing \xE9t\xE9 along", 7);
  line.SetLabel("Verse");
  line.SetFlagWord(KStrLine::kFlagTitle);
  line.SetIndent(-12);
  line.AppendAttachment(new KExtendedObj(10005, 0, "Hi", kFont));
  line.AppendAttachment(new KExtendedObj(10040, 0, 2, 0, 0, 30, 0));
  const std::vector<std::int32_t> packed = line.PackAttachments();
  ASSERT_FALSE(packed.empty());

  RecordBytes expected;
  ClassTag(expected, "KStrLine");
  expected.Byte(5).Int(0).Int(-1).Int(0x8000).Int(100 * (1 + int(packed.size()))).String("Verse").Int(-12);
  for (std::int32_t word : packed) expected.Int(word);
  expected.Byte(7).String("Sing \xE9t\xE9 along");
  ASSERT_EQ(StoreObject(line), expected.Get());

  line.SetColumnXCount(3);
  std::unique_ptr<KStrLine> loaded = LoadAs<KStrLine>(expected);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetType(), KStrLine::kKind);
  EXPECT_EQ(loaded->GetText(), "Sing \xE9t\xE9 along");
  EXPECT_EQ(loaded->GetFontIndex(), 7);
  EXPECT_EQ(loaded->GetLabel(), "Verse");
  EXPECT_EQ(loaded->GetFlagWord(), KStrLine::kFlagTitle);
  EXPECT_EQ(loaded->GetIndent(), 12);
  EXPECT_EQ(loaded->GetAttachmentCount(), 2);
  EXPECT_EQ(loaded->GetColumnXCount(), -1);
  EXPECT_EQ(loaded->GetLength(), 14);
  EXPECT_EQ(StoreObject(*loaded), expected.Get());
}

TEST_F(KStrLineRecordTest, LineWithoutAttachmentsWritesOnlyTheIndent) {
  KStrLine line("la la", 0);
  EXPECT_TRUE(line.PackAttachments().empty());
  EXPECT_EQ(StoreObject(line), TextRecord(5, "", 0, "la la"));
}

TEST_F(KStrLineRecordTest, FontNumberBeyondTheFontTableIsRefused) {
  struct Case {
    int fontNumber;
    bool accepted;
  };
  const Case cases[] = {{0, true}, {1, true}, {40, true}, {41, false}, {255, false}};
  for (const Case& c : cases) {
    const Bytes bytes = TextRecord(5, "", c.fontNumber, "words");
    EXPECT_EQ(LoadFailure<KStrLine>(bytes), c.accepted ? -1 : CArchiveException::generic) << c.fontNumber;
  }

  // Such a line is not written either: a file must read back.
  for (int fontNumber : {-1, 41, 256}) {
    KStrLine line("words", fontNumber);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    try {
      line.Serialize(ar);
      ADD_FAILURE() << fontNumber;
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::generic);
    }
    ar.Abort();
    EXPECT_TRUE(file.Data().empty()) << fontNumber;
  }
}

TEST_F(KStrLineRecordTest, RecordOfAnotherKindIsRefused) {
  for (int legacyKind : {0, 3, 4}) {
    EXPECT_EQ(LoadFailure<KStrLine>(TextRecord(legacyKind, "", 1, "x")), CArchiveException::generic)
        << legacyKind;
  }
}

TEST_F(KStrLineRecordTest, TruncatedRecordFailsAtEveryOffset) {
  KStrLine line("Title of the song", 3);
  line.SetLabel("T!@!x");
  line.AppendAttachment(new KExtendedObj(10000, 1, "link", kFont));
  line.AppendAttachment(new KExtendedObj(10012, 0, 7, 0, 0, 20, 0));
  ExpectEveryTruncationFails<KStrLine>(StoreObject(line));
}

TEST_F(KStrLineRecordTest, ConstructorsAndTheColumnCache) {
  g_defaultIndent = 9;
  const KStrLine fromChars("abc", 3);
  const KStrLine fromString(CString("de"), 2);
  const KStrLine fromNumber(7);
  const KStrLine archive;
  for (const auto& [line, text, fontNumber] :
       {std::tuple<const KStrLine*, const char*, int>{&fromChars, "abc", 3},
        {&fromString, "de", 2},
        {&fromNumber, "", 7},
        {&archive, "", 0}}) {
    EXPECT_EQ(line->GetText(), text);
    EXPECT_EQ(line->GetFontIndex(), fontNumber);
    EXPECT_EQ(line->GetType(), KStrLine::kKind);
    EXPECT_EQ(line->GetGroupId(), -1);
    EXPECT_EQ(line->GetFlagWord(), 0u);
    EXPECT_EQ(line->GetIndent(), 9);
    EXPECT_EQ(line->GetColumnXCount(), -1);
  }

  KStrLine line("abc", 1);
  line.SetColumnX(0, 5);
  line.SetColumnX(199, 77);
  line.SetColumnX(200, 88);
  line.SetColumnX(-1, 99);
  line.SetColumnXCount(200);
  EXPECT_EQ(line.GetColumnX(0), 5);
  EXPECT_EQ(line.GetColumnX(199), 77);
  EXPECT_EQ(line.GetColumnX(200), 0);
  line.SetFontIndex(4);
  EXPECT_EQ(line.GetColumnXCount(), 200);
  line.SetText("abcd");
  EXPECT_EQ(line.GetColumnXCount(), -1);
}

}  // namespace
