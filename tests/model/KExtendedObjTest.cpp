#include <string>
#include <vector>

#include "AttachmentTestSupport.h"
#include "platform/RecordingDC.h"

namespace {

class KExtendedObjTest : public AttachmentTest {};

const char kArial[] = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";  // 35 characters
const std::string kPad1(1, '\xB5');

std::string Pad(int count) { return std::string(std::size_t(count), '\xB5'); }

// A tie at column 3, row 16, anchor (5, -2), size (40, 6), offset (0, -3),
// point0 (10, 256) and point1 (30, -1), and its record.
KExtendedObj MakeTie() {
  KExtendedObj tie(3, 16, KExtendedObj::kTie, 5, -2, 40, 6);
  tie.SetOffset(0, -3);
  tie.SetPoint(0, 10, 256);
  tie.SetPoint(1, 30, -1);
  return tie;
}

Bytes TieRecord() {
  const std::string coded = std::string{'\x81', '\xFD'}            // offsets 0 (as -127) and -3
                            + "\x01\x0A\x02*\x02*\x02*"            // 10
                            + "\x02*\x01\x01\x02*\x02*"            // 256
                            + "\x01\x1E\x02*\x02*\x02*"            // 30
                            + "\x01\xFF\x01\xFF\x01\xFF\x01\xFF";  // -1
  return RecordBytes().Word(3).Byte(0).Byte(16).Int(5).Int(-2).Int(40).Int(6).String(coded);
}

// A text box at column 4 with a two-character text, the Arial font text, the
// opaque flag and the link "abc" (which becomes "www.abc"), and its record.
KExtendedObj MakeTextBox() {
  KExtendedObj box(4, 0, KExtendedObj::kTextBox, 0, 0, 30, 12, 5, -7, "Hi", kArial, "");
  box.SetOpaque(1);
  box.SetLinkTarget("abc");
  return box;
}

Bytes TextBoxRecord() {
  const std::string composed = "Hi" + Pad(48) + "1" + kArial + "!@@!www.abc";
  // Stored text boxes keep their offset in the anchor's place.
  return RecordBytes().Word(4).Byte(3).Byte(0).Int(5).Int(-7).Int(30).Int(12).String(composed);
}

TEST_F(KExtendedObjTest, TieStoresItsGeometryAsCodedText) {
  KExtendedObj tie = MakeTie();
  EXPECT_EQ(StoreFields(tie), TieRecord());

  const auto loaded = Loaded<KExtendedObj>(TieRecord());
  EXPECT_EQ(loaded->GetPos(), 3);
  EXPECT_EQ(loaded->GetRow(), 16);
  EXPECT_EQ(loaded->GetKind(), KExtendedObj::kTie);
  EXPECT_EQ(loaded->GetAnchor(), CPoint(5, -2));
  EXPECT_EQ(loaded->GetSize(), CSize(40, 6));
  EXPECT_EQ(loaded->GetOffset(), CPoint(0, -3));
  EXPECT_EQ(loaded->GetPoint(0), CPoint(10, 256));
  EXPECT_EQ(loaded->GetPoint(1), CPoint(30, -1));
  EXPECT_TRUE(loaded->GetText().IsEmpty());
  EXPECT_EQ(StoreFields(*loaded), TieRecord());
}

TEST_F(KExtendedObjTest, TextBoxStoresComposedTextWithFontAndLink) {
  KExtendedObj box = MakeTextBox();
  EXPECT_EQ(box.GetLinkTarget(), CString("www.abc"));
  EXPECT_EQ(StoreFields(box), TextBoxRecord());

  const auto loaded = Loaded<KExtendedObj>(TextBoxRecord());
  EXPECT_EQ(loaded->GetText(), CString("Hi"));
  EXPECT_EQ(loaded->GetFontText(), CString(kArial));
  EXPECT_EQ(loaded->GetOpaque(), 1);
  EXPECT_EQ(loaded->GetLinkTarget(), CString("www.abc"));
  EXPECT_EQ(loaded->GetOffset(), CPoint(5, -7));
  EXPECT_EQ(loaded->GetColor(), KExtendedObj::kLinkColor);
  ASSERT_NE(loaded->GetFont(), nullptr);
  EXPECT_EQ(loaded->GetFont()->Data().lfUnderline, 1);
  EXPECT_EQ(loaded->GetFont()->Data().lfHeight, 16);
  EXPECT_EQ(StoreFields(*loaded), TextBoxRecord());
}

TEST_F(KExtendedObjTest, LongTextsComeBackWholeWithFontAndFlag) {
  struct Case {
    int kind;
    std::string text;
    std::string font;
    std::string link;
  };
  const std::string fifty(50, 'x');
  const Case cases[] = {
      {3, std::string(49, 'a'), kArial, ""},  // the longest padded text
      {3, fifty, kArial, ""},                 // the shortest unpadded one
      {3, "Price: 12,50 each " + std::string(60, 'b') + "7", "-13,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman",
       "x.org"},
      {7, std::string(300, 'c') + "\xB5" + "1", kArial, ""},  // holds the padding character
      {3, "ab", "8,0,0,0,0,0,0,0,0,0,0,0,0,", ""},            // a font text too short for the old rule
  };
  for (const Case& c : cases) {
    KExtendedObj object(2, 0, c.kind, 0, 0, 20, 10, 0, 0, Text(c.text), Text(c.font), "");
    object.SetOpaque(1);
    object.SetLinkTarget(Text(c.link));
    const Bytes stored = StoreFields(object);
    const auto loaded = Loaded<KExtendedObj>(stored);
    EXPECT_EQ(loaded->GetText(), Text(c.text)) << c.text.size();
    EXPECT_EQ(loaded->GetFontText(), Text(c.font)) << c.text.size();
    EXPECT_EQ(loaded->GetOpaque(), 1) << c.text.size();
    EXPECT_EQ(loaded->GetLinkTarget(), object.GetLinkTarget()) << c.text.size();
    EXPECT_EQ(StoreFields(*loaded), stored) << c.text.size();
  }
}

TEST_F(KExtendedObjTest, LongTextIsWrittenWithOneSeparator) {
  const std::string text(60, 't');
  KExtendedObj object(0, 0, text.c_str(), kArial);
  EXPECT_EQ(object.ComposeText(), Text(text + kPad1 + "0" + kArial));
}

TEST_F(KExtendedObjTest, DecomposeReadsOlderLayouts) {
  struct Case {
    int kind;
    std::string composed;
    std::string text;
    std::string font;
    int opaque;
  };
  const std::string old = std::string(50, 'q') + "1" + kArial;  // an unpadded text from an older writer
  const Case cases[] = {
      {3, "Hi" + Pad(48) + "0", "Hi", "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman", 0},  // no font text
      {3, Pad(50) + "1" + kArial, "***", kArial, 1},  // an empty text box
      {7, Pad(50) + "1" + kArial, "", kArial, 0},     // an empty bracket text: no flag
      {3, old, std::string(50, 'q'), kArial, 1},      // the flag right after the whole text
      {3, "plain", "plain", "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman", 0},
  };
  for (const Case& c : cases) {
    KExtendedObj object(0, 0, c.kind, 0, 0, 5, 0);
    object.DecomposeText(Text(c.composed));
    EXPECT_EQ(object.GetText(), Text(c.text)) << c.composed;
    EXPECT_EQ(object.GetFontText(), Text(c.font)) << c.composed;
    EXPECT_EQ(object.GetOpaque(), c.opaque) << c.composed;
  }
}

// Long texts as older writers store them: the whole text, at once the flag,
// then the font text. Character 50 lies inside the text, yet the text, flag
// and font come back, and saving what was read gives stable bytes.
struct UnpaddedCase {
  const char* name;
  std::string text;
  char flag;
  std::string font;
};

class UnpaddedLongText : public KExtendedObjTest, public ::testing::WithParamInterface<UnpaddedCase> {};

TEST_P(UnpaddedLongText, KeepsItsLengthThroughEveryResave) {
  const UnpaddedCase& c = GetParam();
  const std::string composed = c.text + c.flag + c.font;
  const Bytes original =
      RecordBytes().Word(2).Byte(3).Byte(0).Int(0).Int(0).Int(30).Int(12).String(composed).Get();
  const auto loaded = Loaded<KExtendedObj>(original);
  EXPECT_EQ(loaded->GetText(), Text(c.text));
  EXPECT_EQ(loaded->GetFontText(), Text(c.font));
  EXPECT_EQ(loaded->GetOpaque(), c.flag == '1' ? 1 : 0);

  const Bytes first = StoreFields(*loaded);
  const auto reloaded = Loaded<KExtendedObj>(first);
  EXPECT_EQ(reloaded->GetText(), Text(c.text));
  EXPECT_EQ(StoreFields(*reloaded), first);
}

INSTANTIATE_TEST_SUITE_P(
    OlderWriter, UnpaddedLongText,
    ::testing::Values(UnpaddedCase{"TextOf142Characters", std::string(142, 'w'), '1', kArial},
                      UnpaddedCase{"TextOfExactlyFifty", std::string(50, 'f'), '0', kArial},
                      UnpaddedCase{"TextEndingInTheDigitOne", std::string(70, 'n') + "1", '1', kArial},
                      UnpaddedCase{"TextEndingInDigitsBeforeANegativeHeight", std::string(60, 'd') + "10",
                                   '0', "-13,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman"}),
    [](const ::testing::TestParamInfo<UnpaddedCase>& info) { return std::string(info.param.name); });

TEST_F(KExtendedObjTest, MalformedFontTextIsSavedAsTheDefaultSoTheRecordStaysStable) {
  // A long text whose font part is not a font text: the reader takes it apart
  // by the old rule, and what it saves reads back to the same bytes.
  const std::string composed = std::string(60, 'm') + "1" + "not,a,font";
  const Bytes original =
      RecordBytes().Word(2).Byte(3).Byte(0).Int(0).Int(0).Int(30).Int(12).String(composed).Get();
  const auto loaded = Loaded<KExtendedObj>(original);
  const Bytes first = StoreFields(*loaded);
  EXPECT_EQ(StoreFields(*Loaded<KExtendedObj>(first)), first);
}

TEST_F(KExtendedObjTest, ColouredTextRaisesTheColourFlagAndPreferenceClearsOpaque) {
  const std::string red = "13,0,255,0,700,0,0,0,0,3,2,1,18,Arial";
  KExtendedObj object(0, 0, "Hi", red.c_str());
  object.SetOpaque(1);
  EXPECT_EQ(object.GetColor(), COLORREF(255));
  EXPECT_EQ(object.GetFont()->Data().lfEscapement, 0);
  const Bytes stored = StoreFields(object);
  EXPECT_EQ(g_coloredText, 0);

  g_staffLines3Second = kStaffLinesNoOpaque;
  const auto loaded = Loaded<KExtendedObj>(stored);
  EXPECT_EQ(g_coloredText, 1);
  EXPECT_EQ(loaded->GetColor(), COLORREF(255));
  EXPECT_EQ(loaded->GetOpaque(), 0);
}

TEST_F(KExtendedObjTest, NumberedBracketKeepsPlainTextAndNoLink) {
  KExtendedObj bracket(1, 20, KExtendedObj::kNumberedBracket, 0, 0, 36, 0, 0, 4, "", "", "www.x.org");
  EXPECT_EQ(bracket.GetText(), CString("-3"));
  const Bytes stored = StoreFields(bracket);
  EXPECT_EQ(stored, RecordBytes().Word(1).Byte(2).Byte(20).Int(0).Int(4).Int(36).Int(0).String("-3").Get());

  // A record that carries a link on a numbered bracket loses it.
  const Bytes linked = RecordBytes().Word(1).Byte(2).Byte(20).Int(0).Int(4).Int(36).Int(0).String(
      "+5" + Pad(48) + "0" + kArial + "!@@!www.x.org");
  const auto loaded = Loaded<KExtendedObj>(linked);
  EXPECT_EQ(loaded->GetText(), CString("+5"));
  EXPECT_TRUE(loaded->GetLinkTarget().IsEmpty());
  EXPECT_EQ(loaded->GetColor(), COLORREF(0));
}

TEST_F(KExtendedObjTest, LineShapeCarriesOnlyItsOffset) {
  KExtendedObj vee(7, 10, KExtendedObj::kLineOrV, 12, -5, 24, 0);
  vee.SetOffset(0, 300);  // 300 keeps its low byte only: 44
  const Bytes stored = StoreFields(vee);
  EXPECT_EQ(stored,
            RecordBytes().Word(7).Byte(6).Byte(10).Int(12).Int(-5).Int(24).Int(0).String("\x81\x2C").Get());
  const auto loaded = Loaded<KExtendedObj>(stored);
  EXPECT_EQ(loaded->GetAnchor(), CPoint(12, -5));
  EXPECT_EQ(loaded->GetOffset(), CPoint(0, 44));
}

TEST_F(KExtendedObjTest, LoadSkipsExtensionBlockAndKeepsWidth) {
  // A newer program's block before the kind; a hairpin without width.
  const Bytes record = RecordBytes()
                           .Word(2)
                           .Byte(250)
                           .Byte(2)
                           .Byte(9)
                           .Byte(9)
                           .Byte(4)
                           .Byte(0)
                           .Int(3)
                           .Int(1)
                           .Int(0)
                           .Int(8)
                           .String("");
  g_FileVersionText = "4.1";
  const auto first = Loaded<KExtendedObj>(record);
  Loaded<KExtendedObj>(record);
  EXPECT_EQ(m_ui.CountOf(7089), 1);
  EXPECT_EQ(first->GetKind(), KExtendedObj::kCrescendo);
  EXPECT_EQ(first->GetSize(), CSize(5, 8));
  EXPECT_EQ(first->GetOffset(), CPoint(3, 1));

  // An empty block warns about nothing.
  m_ui.ClearRecords();
  ResetModelGlobals();
  Loaded<KExtendedObj>(
      RecordBytes().Word(2).Byte(250).Byte(0).Byte(4).Byte(0).Int(0).Int(0).Int(9).Int(8).String(""));
  EXPECT_EQ(m_ui.CountOf(7089), 0);
}

TEST_F(KExtendedObjTest, KindWithTheMarkerByteReadsBack) {
  KExtendedObj hidden(0, 1, -6, 0, 0, 10, 0);
  const Bytes stored = StoreFields(hidden);
  EXPECT_EQ(stored, RecordBytes()
                        .Word(0)
                        .Byte(250)
                        .Byte(0)
                        .Byte(250)
                        .Byte(1)
                        .Int(0)
                        .Int(0)
                        .Int(10)
                        .Int(0)
                        .String("")
                        .Get());
  EXPECT_EQ(Loaded<KExtendedObj>(stored)->GetKind(), -6);
  EXPECT_EQ(m_ui.CountOf(7089), 0);
}

TEST_F(KExtendedObjTest, OldFormatGivesTheShapesOfThatFormat) {
  struct Case {
    int kind;
    std::string text;
    CSize size;
    CPoint anchor;
    std::string textAfter;
  };
  const Case cases[] = {
      {0, "", {30, 9}, {7, 4}, ""},  // points come from the size
      {4, "", {30, 7}, {0, 0}, ""},   {2, "", {30, 9}, {0, 0}, "-3"},
      {10, "", {30, -6}, {0, 0}, ""}, {13, "", {30, 0}, {0, 0}, ""},
      {8, "", {30, 6}, {0, 0}, ""},   {3, "Hi" + Pad(48) + "0" + kArial, {30, 9}, {0, 0}, "Hi"},
  };
  g_fileVersion = 32;
  for (const Case& c : cases) {
    const Bytes record =
        RecordBytes().Word(1).Byte(c.kind).Byte(14).Int(7).Int(4).Int(30).Int(9).String(c.text);
    const auto loaded = Loaded<KExtendedObj>(record);
    EXPECT_EQ(loaded->GetSize(), c.size) << c.kind;
    EXPECT_EQ(loaded->GetAnchor(), c.anchor) << c.kind;
    EXPECT_EQ(loaded->GetOffset(), CPoint(0, 0)) << c.kind;
    EXPECT_EQ(loaded->GetText(), Text(c.textAfter)) << c.kind;
    if (c.kind == 0) {
      EXPECT_EQ(loaded->GetPoint(0), CPoint(10, 4));
      EXPECT_EQ(loaded->GetPoint(1), CPoint(20, 4));
    }
  }
}

TEST_F(KExtendedObjTest, OldFormatCurveOfHugeWidthLoadsWithoutOverflow) {
  // A damaged old record may give a tie any width; its control points are
  // thirds of that width and must be computed without overflowing.
  g_fileVersion = 32;
  const Bytes record = RecordBytes().Word(1).Byte(0).Byte(14).Int(7).Int(4).Int(2147483647).Int(9).String("");
  const auto loaded = Loaded<KExtendedObj>(record);
  EXPECT_EQ(loaded->GetPoint(0).x, 715827882);
  EXPECT_EQ(loaded->GetPoint(1).x, 1431655764);
}

TEST_F(KExtendedObjTest, TruncatedRecordIsAnArchiveError) {
  for (const Bytes& whole : {TieRecord(), TextBoxRecord()}) {
    // The record behind its class tag, read as the archive reads objects.
    KExtendedObj original;
    LoadFields(original, whole);
    const Bytes stream = StoreObject(original);
    ExpectEveryCutFails(stream, RUNTIME_CLASS(KExtendedObj));
    CMemFile all(stream.data(), stream.size());
    CArchive ar(&all, CArchive::load);
    std::unique_ptr<CObject> read(ar.ReadObject(RUNTIME_CLASS(KExtendedObj)));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(StoreFields(static_cast<KExtendedObj&>(*read)), whole);
  }
}

std::vector<std::int32_t> Words(std::initializer_list<std::uint32_t> words) {
  std::vector<std::int32_t> out;
  for (std::uint32_t w : words) out.push_back(std::int32_t(w));
  return out;
}

TEST_F(KExtendedObjTest, PackedRecordHoldsTheTextFourBytesToAWord) {
  KExtendedObj object(10012, 0, 3, 0, 0, 22, 9, 1, 6, "Hey", kArial, "");
  const std::string composed = "Hey" + Pad(47) + "0" + kArial;  // 86 bytes: 21 words and 2 bytes
  ASSERT_EQ(composed.size(), 86u);
  std::vector<std::int32_t> expected = {3, 10012, 0, 1, 6, 22, 9, 86};
  for (std::size_t at = 0; at < composed.size(); at += 4) {
    std::uint32_t word = 0;
    for (std::size_t k = at; k < composed.size() && k < at + 4; ++k) word = word << 8 | BYTE(composed[k]);
    expected.push_back(std::int32_t(word));
  }
  EXPECT_EQ(expected[8], std::int32_t(0x48657900u | 0xB5));  // "Hey" and the first padding byte
  EXPECT_EQ(expected.back(), std::int32_t(0x616Cu));         // the last two bytes "al" in the low bytes

  const std::vector<std::int32_t> packed = object.Pack();
  EXPECT_EQ(packed, expected);
  EXPECT_EQ(KExtendedObj::PackedLength(packed), 30);

  const KExtendedObj unpacked(packed);
  EXPECT_EQ(unpacked.GetPos(), 10012);
  EXPECT_EQ(unpacked.GetOffset(), CPoint(1, 6));
  EXPECT_EQ(unpacked.GetText(), CString("Hey"));
  EXPECT_EQ(unpacked.GetFontText(), CString(kArial));
  KExtendedObj again(unpacked);
  EXPECT_EQ(again.Pack(), packed);
}

TEST_F(KExtendedObjTest, PackedTieUnpacksItsGeometry) {
  KExtendedObj tie = MakeTie();
  const KExtendedObj unpacked(tie.Pack());
  EXPECT_EQ(unpacked.GetOffset(), CPoint(0, -3));
  EXPECT_EQ(unpacked.GetPoint(0), CPoint(10, 256));
  EXPECT_EQ(unpacked.GetPoint(1), CPoint(30, -1));
  EXPECT_EQ(unpacked.GetAnchor(), CPoint(5, -2));
  EXPECT_TRUE(unpacked.GetText().IsEmpty());
}

TEST_F(KExtendedObjTest, PackedRecordLongerThanItsWordsIsRefused) {
  const std::vector<std::int32_t> cases[] = {
      {},                                           // no header
      Words({3, 0, 0, 0, 0, 5, 0}),                 // a header cut short
      Words({3, 0, 0, 0, 0, 5, 0, 5, 0x41424344}),  // five bytes in one word
      Words({3, 0, 0, 0, 0, 5, 0, 0xFFFFFFFF}),     // a negative length
      Words({3, 0, 0, 0, 0, 5, 0, 0x7FFFFFFF, 0}),  // a length far past the data
  };
  for (const auto& words : cases) {
    EXPECT_THROW(KExtendedObj{std::span<const std::int32_t>(words)}, CArchiveException) << words.size();
  }
  // A record followed by more words reads only its own.
  const auto words = Words({3, 0, 0, 0, 0, 5, 0, 2, 0x4142, 99, 99});
  EXPECT_EQ(KExtendedObj::PackedLength(words), 9);
  EXPECT_EQ(KExtendedObj(std::span<const std::int32_t>(words)).GetText(), CString("AB"));
}

TEST_F(KExtendedObjTest, ConstructorsFillTheirDefaults) {
  const KExtendedObj slur(0, 0, KExtendedObj::kSlur, 10, 2, 50, 0);
  EXPECT_EQ(slur.GetPoint(0), CPoint(5, 2));  // half of min(50 - 10, 10) each side
  EXPECT_EQ(slur.GetPoint(1), CPoint(15, 2));
  const KExtendedObj tie(0, 0, KExtendedObj::kTie, 0, 3, 30, 0, 0, 0, "", "", "");
  EXPECT_EQ(tie.GetPoint(0), CPoint(10, 3));
  EXPECT_EQ(tie.GetPoint(1), CPoint(20, 3));
  const RECT rect = {1, 2, 3, 4};
  const KExtendedObj drawn(0, 0, KExtendedObj::kTie, 0, 3, 30, 0, 0, 0, "", "", "", &rect);
  EXPECT_EQ(drawn.GetPoint(1), CPoint(3, 4));
  EXPECT_EQ(KExtendedObj(0, 0, 8, 0, 0, 30, 0).GetSize(), CSize(30, 13));
  EXPECT_EQ(KExtendedObj(0, 0, 10, 0, 0, 30, 0).GetSize(), CSize(30, 0));
  EXPECT_EQ(KExtendedObj().GetKind(), KExtendedObj::kLineOrV);

  RecordingDC dc;  // fixed-width measuring: 8 pixels a character at height 16
  const KExtendedObj box(&dc, 2, 0, KExtendedObj::kTextBox, "Hello", kArial);
  EXPECT_EQ(box.GetSize(), CSize(44, 16));
}

TEST_F(KExtendedObjTest, TextExtentIsEstimatedWithoutDeviceContext) {
  struct Case {
    std::string font;
    CSize extent;
  };
  const Case cases[] = {
      {kArial, {48, 16}},  // 8 x 16 x 3 / 8
      {"60,0,0,0,400,0,0,0,0,3,2,1,34,Arial", {39, 13}},
      {"", {39, 13}},
  };
  for (const Case& c : cases) {
    KExtendedObj object(0, 0, KExtendedObj::kTextBox, 0, 0, 5, 0, 0, 0, "12345678", Text(c.font), "");
    EXPECT_EQ(object.TextExtent(nullptr), c.extent) << c.font;
    EXPECT_EQ(object.MeasureText(nullptr), c.extent.cx) << c.font;
  }
  KExtendedObj hairpin(0, 0, KExtendedObj::kCrescendo, 0, 0, 40, 10);
  EXPECT_EQ(hairpin.GetExtent(nullptr), CSize(40, 10));
}

TEST_F(KExtendedObjTest, ChangeKindFlipsAcrossTheReversedGroup) {
  struct Case {
    int from;
    int to;
    int kind;
    int sizeY;
    int offsetY;
  };
  const Case cases[] = {
      {7, 10, 10, -13, 17},  // into the reversed group
      {10, 11, 11, 13, 4},   // within it
      {17, 9, 9, -13, 17},   // out of it
      {10, 13, 13, 13, 4},   // set directly
      {5, 7, 5, 13, 4},      // not a bracket line
      {7, 25, 7, 13, 4},
  };
  for (const Case& c : cases) {
    KExtendedObj object(0, 0, c.from, 0, 0, 20, 13);
    object.SetOffset(0, 4);
    object.ChangeKind(c.to);
    EXPECT_EQ(object.GetKind(), c.kind) << c.from << "->" << c.to;
    EXPECT_EQ(object.GetSize().cy, c.sizeY) << c.from << "->" << c.to;
    EXPECT_EQ(object.GetOffset().y, c.offsetY) << c.from << "->" << c.to;
  }
}

TEST_F(KExtendedObjTest, MoveRowKeepsTheLinesRows) {
  struct Case {
    int row;
    int delta;
    int family;
    int result;
    int rowAfter;
  };
  const Case cases[] = {
      {5, -5, 0, 1, 0},  {5, -6, 0, 0, 5}, {30, 6, 0, 1, 36},
      {30, 7, 0, 0, 30}, {8, 1, 2, 1, 9},  {8, 2, 2, 0, 8},
  };
  for (const Case& c : cases) {
    KExtendedObj object(0, c.row, 6, 0, 0, 5, 0);
    EXPECT_EQ(object.MoveRow(c.delta, c.family), c.result) << c.row << "+" << c.delta;
    EXPECT_EQ(object.GetRow(), c.rowAfter) << c.row << "+" << c.delta;
  }
}

TEST_F(KExtendedObjTest, LinkTargetsAndVisitedColour) {
  struct Case {
    std::string target;
    std::string stored;
  };
  const Case cases[] = {
      {"abc", "www.abc"},
      {"example.org", "www.example.org"},
      {"ftp.example.org", "ftp.example.org"},
      {"http://www.x.org", "http://www.x.org"},
  };
  for (const Case& c : cases) {
    KExtendedObj object(0, 0, "link", kArial);
    object.SetLinkTarget(Text(c.target));
    EXPECT_EQ(object.GetLinkTarget(), Text(c.stored));
  }
  KExtendedObj object(0, 0, "link", kArial);
  object.SetLinkTarget("");
  EXPECT_TRUE(object.GetLinkTarget().IsEmpty());
  EXPECT_EQ(object.GetFont()->Data().lfUnderline, 0);
  object.SetLinkTarget("www.x.org");
  object.SetVisited(1);
  EXPECT_EQ(object.GetColor(), KExtendedObj::kVisitedLinkColor);
  KExtendedObj copy(object);
  EXPECT_EQ(copy.GetColor(), KExtendedObj::kVisitedLinkColor);
  ASSERT_NE(copy.GetFont(), nullptr);
  EXPECT_NE(copy.GetFont(), object.GetFont());
  EXPECT_EQ(copy.GetFont()->Data().lfUnderline, 1);
}

TEST_F(KExtendedObjTest, AnEmptyLinkTargetTurnsTheLinkBackIntoText) {
  KExtendedObj object(0, 0, "link", kArial);
  const COLORREF textColour = object.GetColor();
  object.SetLinkTarget("www.x.org");
  object.SetVisited(1);
  ASSERT_EQ(object.GetFont()->Data().lfUnderline, 1);

  object.SetLinkTarget("");
  EXPECT_TRUE(object.GetLinkTarget().IsEmpty());
  ASSERT_NE(object.GetFont(), nullptr);
  EXPECT_EQ(object.GetFont()->Data().lfUnderline, 0);
  EXPECT_EQ(object.GetColor(), textColour);
  // What is stored has no link either.
  KExtendedObj reread(0, 0, "", kArial);
  reread.DecomposeText(object.ComposeText());
  EXPECT_TRUE(reread.GetLinkTarget().IsEmpty());
  EXPECT_EQ(reread.GetText(), Text("link"));
}

TEST_F(KExtendedObjTest, SetTextGivesTheDefaultFontOfItsKind) {
  g_defaultNumberFontText = "11,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  KExtendedObj bracket(0, 0, KExtendedObj::kNumberedBracket, 0, 0, 20, 0);
  bracket.SetText("-5");
  EXPECT_EQ(bracket.GetFontText(), g_defaultNumberFontText);
  KExtendedObj line(0, 0, 9, 0, 0, 20, 0);
  line.SetText("rit.");
  EXPECT_EQ(line.GetFontText(), g_defaultTextFontText);
  line.SetSize(-2, 4);
  EXPECT_EQ(line.GetSize(), CSize(5, 4));
}

}  // namespace
