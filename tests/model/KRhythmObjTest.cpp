#include <string>

#include "AttachmentTestSupport.h"

namespace {

class KRhythmObjTest : public AttachmentTest {};

TEST_F(KRhythmObjTest, SymbolRecordKeepsPixelPositionInItsBlock) {
  KRhythmObj symbol(95, 230);
  symbol.SetLinkCode(-3);
  const Bytes record =
      RecordBytes().Word(10).Byte(230).Byte(250).Byte(4).Byte(0).Byte(95).Byte(0).Byte(0).Byte(-3);
  EXPECT_EQ(StoreFields(symbol), record);

  const auto loaded = Loaded<KRhythmObj>(record);
  EXPECT_EQ(loaded->GetPos(), 95);
  EXPECT_EQ(loaded->GetCode(), 230);
  EXPECT_TRUE(loaded->GetText().IsEmpty());
  EXPECT_EQ(loaded->GetLinkCode(), -3);
  EXPECT_EQ(loaded->GetWidth(), KRhythmObj::kDefaultWidth);
}

TEST_F(KRhythmObjTest, TextRunRecordReadsBackWithItsFirstCharacterAsCode) {
  const KRhythmObj made(18, CString("Am"));
  KRhythmObj run = made;
  const Bytes record =
      RecordBytes().Word(2).Byte('A').Byte(250).Byte(6).Byte(0).Byte(18).Byte(0).Byte(2).Chars("Am").Byte(0);
  EXPECT_EQ(StoreFields(run), record);

  const auto loaded = Loaded<KRhythmObj>(record);
  EXPECT_EQ(loaded->GetPos(), 18);
  EXPECT_EQ(loaded->GetCode(), 'A');
  EXPECT_EQ(loaded->GetText(), CString("Am"));
  EXPECT_EQ(StoreFields(*loaded), record);
}

TEST_F(KRhythmObjTest, TextRunsOfAnyLengthReadBackWhole) {
  // The one-byte extension length counts up to 251 characters; longer runs
  // store 255 there and are read by their own length.
  for (int length : {1, 251, 252, 253, 255, 300, 4000}) {
    std::string text(std::size_t(length), 'x');
    text.front() = 'T';
    text.back() = 'Z';
    KRhythmObj run(40000, Text(text));
    run.SetLinkCode(2);
    const Bytes stored = StoreFields(run);
    EXPECT_EQ(stored[4], std::min(length + 4, 255)) << length;
    const auto loaded = Loaded<KRhythmObj>(stored);
    EXPECT_EQ(loaded->GetText(), Text(text)) << length;
    EXPECT_EQ(loaded->GetPos(), 40000) << length;
    EXPECT_EQ(loaded->GetLinkCode(), 2) << length;
    EXPECT_EQ(StoreFields(*loaded), stored) << length;
  }
}

TEST_F(KRhythmObjTest, TextTooLongForItsLengthWordIsNotStored) {
  KRhythmObj run(0, Text(std::string(70000, 'x')));
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  EXPECT_THROW(run.Serialize(ar), CArchiveException);
  ar.Abort();
}

TEST_F(KRhythmObjTest, LoadReadsOtherLayouts) {
  struct Case {
    Bytes record;
    int pos;
    int code;
    std::string text;
    int link;
    int warnings;
    int marker;
  };
  const Case cases[] = {
      // A newer program's extra extension bytes are skipped after the warning.
      {RecordBytes()
           .Word(3)
           .Byte('a')
           .Byte(250)
           .Byte(7)
           .Byte(0)
           .Byte(27)
           .Byte(0)
           .Byte(1)
           .Chars("a")
           .Byte(1)
           .Byte(2)
           .Byte(-11),
       27, 'a', "a", -11, 1, 0},
      // An empty block keeps the column as the position.
      {RecordBytes().Word(4).Byte(240).Byte(250).Byte(0).Byte(5), 36, 240, "", 5, 0, 0},
      // No block: the byte after the code is the link code.
      {RecordBytes().Word(5).Byte(245).Byte(-1), 45, 245, "", -1, 0, 1},
      {RecordBytes().Word(5).Byte('q').Byte(0), 45, 'q', "q", 0, 0, 0},
  };
  for (const Case& c : cases) {
    ResetModelGlobals();
    m_ui.ClearRecords();
    const auto loaded = Loaded<KRhythmObj>(c.record);
    EXPECT_EQ(loaded->GetPos(), c.pos) << c.pos;
    EXPECT_EQ(loaded->GetCode(), c.code) << c.pos;
    EXPECT_EQ(loaded->GetText(), Text(c.text)) << c.pos;
    EXPECT_EQ(loaded->GetLinkCode(), c.link) << c.pos;
    EXPECT_EQ(m_ui.CountOf(7089), c.warnings) << c.pos;
    EXPECT_EQ(g_loadMarker, c.marker) << c.pos;
  }
}

TEST_F(KRhythmObjTest, TruncatedRecordIsAnArchiveError) {
  KRhythmObj original(18, CString("Am7"));
  ExpectEveryCutFails(StoreObject(original), RUNTIME_CLASS(KRhythmObj));
}

TEST_F(KRhythmObjTest, ConstructorsTellSymbolsFromCharacters) {
  const KRhythmObj symbol(9, 200);
  EXPECT_EQ(symbol.GetCode(), 200);
  EXPECT_TRUE(symbol.GetText().IsEmpty());
  const KRhythmObj character(9, 199);
  EXPECT_EQ(character.GetCode(), 0);
  EXPECT_EQ(character.GetText(), CString(char(199)));
  EXPECT_EQ(KRhythmObj().GetWidth(), 9);
}

}  // namespace
