#include <vector>

#include "LineTestSupport.h"

namespace {

class KLineObjTest : public LineTest {};

// The line base part as the file holds it.
RecordBytes BasePart(int legacyKind, int staffLength, int groupId, DWORD flags, int fileWord,
                     std::string_view label) {
  RecordBytes r;
  r.Byte(legacyKind).Int(staffLength).Int(groupId).Int(int(flags)).Int(fileWord).String(label);
  return r;
}

TEST_F(KLineObjTest, BasePartMatchesHandBuiltBytes) {
  KLineObj line(9, 200, -1, 0x800, 0);  // alto staff
  line.SetIndent(-12);
  line.SetLabel("Alto!@!x");
  const Bytes expected = BasePart(0, 200, -1, 0x800, 109, "Alto!@!x").Int(-12);
  EXPECT_EQ(StoreFields(line), expected);
  EXPECT_EQ(line.GetFileWord(), 109);

  KLineObj loaded;
  LoadFields(loaded, expected);
  EXPECT_EQ(loaded.GetType(), 9);
  EXPECT_EQ(loaded.GetStaffLength(), 200);
  EXPECT_EQ(loaded.GetGroupId(), -1);
  EXPECT_EQ(loaded.GetFlagWord(), 0x800u);
  EXPECT_EQ(loaded.GetLabel(), "Alto!@!x");
  EXPECT_EQ(loaded.GetIndent(), 12);
  EXPECT_EQ(loaded.GetStoredIndent(), -12);
  EXPECT_EQ(StoreFields(loaded), expected);
}

TEST_F(KLineObjTest, KindTravelsAsLegacyByteAndFileWord) {
  struct Case {
    int type;
    int legacy;
    int fileWord;
  };
  const Case cases[] = {
      {0, 0, 100}, {1, 1, 101},  {9, 0, 109}, {16, 0, 116},  // staves: the exact kind in the file word
      {2, 2, 102}, {15, 2, 115},                             // tablature
      {3, 3, 100}, {4, 4, 100},  {5, 5, 100},                // other lines: the kind in the byte
  };
  for (const Case& c : cases) {
    KLineObj line(c.type, 0, 3, 0, 0);
    const Bytes bytes = StoreFields(line);
    ASSERT_GT(bytes.size(), 17u);
    EXPECT_EQ(bytes[0], c.legacy) << c.type;
    EXPECT_EQ(line.GetFileWord(), c.fileWord) << c.type;
    KLineObj loaded;
    LoadFields(loaded, bytes);
    EXPECT_EQ(loaded.GetType(), c.type);
  }
}

TEST_F(KLineObjTest, OlderAndNewerLayoutsLoad) {
  struct Case {
    const char* what;
    Bytes bytes;
    int type;
    int indent;
    bool warns;
  };
  const Case cases[] = {
      {"tablature without its exact kind stays kind 2", BasePart(2, 0, -1, 0, 200, "").Int(7).Int(0), 2, 7,
       true},
      {"a file word below 100 has no indent", BasePart(1, 0, -1, 0, 1, ""), 1, 0, false},
      {"legacy staff byte takes the kind from the file word", BasePart(0, 0, -1, 0, 113, "").Int(4), 13, 4,
       false},
      {"a rhythm line announcing 3 extension words", BasePart(3, 0, -1, 0, 300, "").Int(5).Int(1).Int(2), 3,
       5, true},
      {"a negative file word announces nothing", BasePart(4, 0, -1, 0, -300, ""), 4, 0, false},
  };
  for (const Case& c : cases) {
    ResetModelGlobals();
    m_ui.ClearRecords();
    KLineObj line;
    LoadFields(line, c.bytes);
    EXPECT_EQ(line.GetType(), c.type) << c.what;
    EXPECT_EQ(line.GetIndent(), c.indent) << c.what;
    EXPECT_EQ(m_ui.CountOf(7089), c.warns ? 1 : 0) << c.what;
  }
}

TEST_F(KLineObjTest, TextLineCarriesPackedAttachments) {
  KLineObj line(kText, 0, -1, 0, 0);
  line.SetIndent(3);
  line.AppendAttachment(new KExtendedObj(10005, 0, 6, 4, 5, 30, 0));
  line.AppendAttachment(new KExtendedObj(10002, 0, "ab", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
  const std::vector<std::int32_t> packed = line.PackAttachments();
  const Bytes bytes = StoreFields(line);

  RecordBytes expected = BasePart(5, 0, -1, 0, 100 * (1 + int(packed.size())), "");
  expected.Int(3);
  for (std::int32_t word : packed) expected.Int(word);
  EXPECT_EQ(bytes, expected.Get());
  EXPECT_EQ(packed.back(), 0);

  KLineObj loaded;
  LoadFields(loaded, bytes);
  ASSERT_EQ(loaded.GetAttachmentCount(), 2);
  // Loaded attachments keep the file's order, and store the same bytes again.
  EXPECT_EQ(Positions(*loaded.GetAttachments()), (std::vector<int>{10005, 10002}));
  EXPECT_EQ(StoreFields(loaded), bytes);
}

TEST_F(KLineObjTest, TextLineRecordsMustLieWithinTheAnnouncedWords) {
  // Three extension words announced: the indent, a length word of 9 and only
  // one more word: the record runs past the extension.
  const Bytes bytes = BasePart(5, 0, -1, 0, 300, "").Int(0).Int(9).Int(1);
  KLineObj line;
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  EXPECT_THROW(line.Serialize(ar), CArchiveException);
  EXPECT_EQ(line.GetAttachmentCount(), 0);
}

TEST_F(KLineObjTest, TextLineSkipsWordsAfterItsRecords) {
  const Bytes bytes = BasePart(5, 0, -1, 0, 400, "").Int(2).Int(0).Int(77).Int(78);
  KLineObj line;
  LoadFields(line, bytes);
  EXPECT_EQ(line.GetIndent(), 2);
  EXPECT_EQ(line.GetAttachmentCount(), 0);
  EXPECT_EQ(m_ui.CountOf(7089), 1);
}

TEST_F(KLineObjTest, TruncatedRecordFailsAtEveryOffset) {
  KLineObj line(kText, 0, -1, 0, 0);
  line.SetLabel("Words");
  line.AppendAttachment(new KExtendedObj(10020, 0, "la", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
  const Bytes bytes = StoreFields(line);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const Bytes cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
    KLineObj loaded;
    CMemFile file(cut.data(), cut.size());
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(loaded.Serialize(ar), CArchiveException) << n;
    // Nothing of the failed record was taken.
    EXPECT_EQ(loaded.GetAttachmentCount(), 0) << n;
    EXPECT_TRUE(loaded.GetLabel().IsEmpty()) << n;
  }
}

TEST_F(KLineObjTest, SetLabelKeepsOrReplacesTheSuffix) {
  struct Case {
    const char* old;
    const char* text;
    const char* label;
    const char* name;
  };
  const Case cases[] = {
      {"Gtr!@!data", "Bass", "Bass!@!data", "Bass"},
      {"Gtr!@!data", "Bass!@!new", "Bass!@!new", "Bass"},
      {"Gtr", "Bass", "Bass", "Bass"},
      {"", "!@!only", "!@!only", ""},
  };
  for (const Case& c : cases) {
    KLineObj line(0, 0, -1, 0, 0);
    line.SetLabel(c.old);
    line.SetLabel(c.text);
    EXPECT_EQ(line.GetLabel(), c.label) << c.old << " + " << c.text;
    EXPECT_EQ(line.GetLabelName(), c.name) << c.old << " + " << c.text;
  }
}

TEST_F(KLineObjTest, FlagValueLivesInTheTopFourBits) {
  KLineObj line(0, 0, -1, 0xF0000010u, 0);
  EXPECT_EQ(line.GetFlagValue(0x10), -1);
  EXPECT_EQ(line.GetFlagValue(0x20), 0);  // no masked bit set
  line.SetFlagValue(0x10, 0);
  EXPECT_EQ(line.GetFlagWord(), 0u);
  line.SetFlagValue(0x2000, 5);
  EXPECT_EQ(line.GetFlagWord(), 0x50002000u);
  EXPECT_EQ(line.GetFlagValue(0x2000), 5);
  line.SetFlagValue(0x2000, -3);  // the low four bits of -3: 1101
  EXPECT_EQ(line.GetFlagValue(0x2000), -3);
}

TEST_F(KLineObjTest, ModifyFlagsAnswersByDirection) {
  KLineObj line(0, 0, -1, 0x1, 0);
  EXPECT_EQ(line.ModifyFlags(0x30, 1), 0x30u);
  EXPECT_EQ(line.ModifyFlags(0x10, 0), 0x21u);
  EXPECT_EQ(line.TestFlags(0x20), 1);
  EXPECT_EQ(line.TestFlags(0x10), 0);
}

TEST_F(KLineObjTest, NewLinesTakeTheDefaultIndent) {
  g_defaultIndent = 40;
  KLineObj line(0, 0, -1, 0, 0);
  EXPECT_EQ(line.GetIndent(), 40);
}

class RecordingDocument : public KScoreSettingsSink {
 public:
  void TakeInstrumentLabels(const InstrumentLabels& settings, int markChanged) override {
    ++calls;
    lastCount = settings.instrumentCount;
    lastMark = markChanged;
  }
  int calls = 0;
  int lastCount = 0;
  int lastMark = 0;
};

class KLineObjInstrumentTest : public KLineObjTest {
 protected:
  KLineObjInstrumentTest() {
    table.entries[7] = {"Lead Gtr", 26, 90};
    table.count = 8;
  }
  MidiInstrumentTable table;
  InstrumentLabels settings;
  RecordingDocument document;
};

TEST_F(KLineObjInstrumentTest, NewLabelGetsAnEntryWithTheKindsDefaults) {
  struct Case {
    int type;
    int program;
    int volume;
    int expectedProgram;
    int expectedVolume;
    const char* display;
  };
  const Case cases[] = {
      {1, -1, -1, 34, 100, " 34100Bass Part"},    // bass staff: class 1
      {15, -1, 64, 34, 64, " 34 64Bass Part"},    // bass tablature: class 6
      {16, -1, -1, 130, 100, "130100Bass Part"},  // percussion
      {0, 41, 7, 41, 7, " 41  7Bass Part"},       // given program and volume
  };
  for (const Case& c : cases) {
    MidiInstrumentTable t = table;
    InstrumentLabels s;
    RecordingDocument d;
    KLineObj line(c.type, 0, -1, 0, 0);
    line.SetLabelAndInstrument("Bass Part!@!x", t, s, &d, c.program, c.volume);
    EXPECT_EQ(line.GetLabel(), "Bass Part!@!x");
    ASSERT_EQ(t.count, 9) << c.type;
    EXPECT_EQ(t.entries[8].name, "Bass Part");
    EXPECT_EQ(t.entries[8].program, c.expectedProgram) << c.type;
    EXPECT_EQ(t.entries[8].volume, c.expectedVolume) << c.type;
    EXPECT_EQ(s.instrumentLabels[8], c.display) << c.type;
    EXPECT_EQ(s.instrumentCount, 9);
    EXPECT_EQ(d.calls, 1);
    EXPECT_EQ(d.lastMark, 1);
  }
}

TEST_F(KLineObjInstrumentTest, KnownNameOtherLinesAndFullTableAddNothing) {
  KLineObj staff(0, 0, -1, 0, 0);
  staff.SetLabelAndInstrument("LeadGtr", table, settings, &document, -1, -1);  // blanks do not count
  EXPECT_EQ(table.count, 8);

  for (int type : {kRhythm, kChordLine, kText}) {
    KLineObj other(type, 0, -1, 0, 0);
    other.SetLabelAndInstrument("Words", table, settings, &document, -1, -1);
    EXPECT_EQ(other.GetLabel(), "Words");
  }
  EXPECT_EQ(table.count, 8);
  EXPECT_EQ(document.calls, 0);

  table.count = 36;
  staff.SetLabelAndInstrument("Horn", table, settings, &document, -1, -1);
  EXPECT_EQ(staff.GetLabel(), "Horn");
  EXPECT_EQ(table.count, 36);
  EXPECT_EQ(m_ui.CountOf(7059), 1);
  EXPECT_EQ(document.calls, 0);
}

}  // namespace
