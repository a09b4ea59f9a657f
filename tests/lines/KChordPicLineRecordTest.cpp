#include <string>

#include "LineRecordTestSupport.h"

namespace {

using namespace line_records;

class KChordPicLineRecordTest : public LineRecordTest {};

constexpr const char* kStandard = "E A D G B E  323742475156";
constexpr const char* kTuning = "E A D G B E  323742475156!@@!20";
constexpr const char* kNameFont = "14,0,255,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kOtherFont = "10,0,0,0,400,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kShape = "0231000          000";

// The spacing word that carries the diagram sizes.
int SizeWord(int widthPct, int heightPct) {
  const int row = ((heightPct >> 8) & 15) + ((widthPct >> 4) & 240);
  return row * 65536 + (widthPct & 255) * 256 + (heightPct & 255);
}

// A chord line record with the label, no diagrams and the spacing word.
Bytes ChordRecord(std::string_view label, int spacing, int legacyKind = 4) {
  RecordBytes r;
  ClassTag(r, "KChordPicLine");
  BasePart(r, legacyKind, 0, label);
  r.Word(0);
  return ListTail(r, 0, spacing);
}

TEST_F(KChordPicLineRecordTest, RecordMatchesHandBuiltBytesAndRoundTrips) {
  KChordPicLine line(3, kTuning, kNameFont, 1000, 25);
  line.SetLabel("Chords");
  auto* am = new KChordPic(0, "Am", kShape, 1);
  auto* g = new KChordPic(5, "G", kShape, 2);
  Fill(line, {am, g});

  RecordBytes head;
  ClassTag(head, "KChordPicLine");
  BasePart(head, 4, 0, std::string("Chords!@!") + kTuning + "!@@@!" + kNameFont);
  head.Word(2);
  ClassTag(head, "KChordPic");
  RecordBytes tail;
  ListTail(tail, 3, 0x30 * 65536 + 232 * 256 + 25);
  const Bytes bytes = Concat({head, StoreFields(*am), RecordBytes().Word(0x8003), StoreFields(*g), tail});

  ASSERT_EQ(StoreObject(line), bytes);
  // The label is the plain name again; the packed sizes stay.
  EXPECT_EQ(line.GetLabel(), "Chords");
  EXPECT_EQ(line.GetLayoutRow(), 0x30);
  EXPECT_EQ(line.GetSpaceAbove(0), 232);
  EXPECT_EQ(line.GetSpaceBelow(0), 25);

  std::unique_ptr<KChordPicLine> loaded = LoadAs<KChordPicLine>(bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetType(), KChordPicLine::kKind);
  EXPECT_EQ(loaded->GetLabel(), "Chords");
  EXPECT_EQ(loaded->GetTuning(), kTuning);
  EXPECT_EQ(loaded->GetFretCount(), 20);
  EXPECT_EQ(loaded->GetNameFontText(), kNameFont);
  EXPECT_EQ(loaded->GetNameColor(), 255u);
  EXPECT_EQ(loaded->GetNameFontHeight(), 14);
  EXPECT_EQ(loaded->GetNameFont()->Data().lfEscapement, 0);
  EXPECT_EQ(loaded->GetDiagramWidthPct(), 1000);
  EXPECT_EQ(loaded->GetDiagramHeightPct(), 25);
  EXPECT_EQ(loaded->GetKey(), 3);
  EXPECT_EQ(Positions(*loaded->GetObjList()), (std::vector<int>{0, 5}));
  EXPECT_EQ(AsChordPic(loaded->GetObjList()->GetTail())->GetName(), "G");
  EXPECT_EQ(StoreObject(*loaded), bytes);
  // A colour in the chord-name font is no coloured text of the score.
  EXPECT_EQ(g_coloredText, 0);
}

TEST_F(KChordPicLineRecordTest, DiagramSizesComeFromFilesOfVersion3901On) {
  g_defaultDiagramWidthPct = 150;
  g_defaultDiagramHeightPct = 60;
  struct Case {
    int version;
    int spacing;
    int width;
    int height;
  };
  const Case cases[] = {
      {34, SizeWord(1000, 25), 150, 60},
      {3900, SizeWord(1000, 25), 150, 60},
      {3901, SizeWord(1000, 25), 1000, 25},
      {3940, SizeWord(333, 777), 333, 777},
      {3940, SizeWord(10, 4095), 25, 1000},  // a damaged file: kept within 25..1000
      {3940, 0, 25, 25},
  };
  for (const Case& c : cases) {
    g_fileVersion = c.version;
    std::unique_ptr<KChordPicLine> line = LoadAs<KChordPicLine>(ChordRecord("C", c.spacing));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetDiagramWidthPct(), c.width) << c.version << " " << c.spacing;
    EXPECT_EQ(line->GetDiagramHeightPct(), c.height) << c.version << " " << c.spacing;
  }
}

TEST_F(KChordPicLineRecordTest, StoredRowFlagsAreRecountedFromTheDiagrams) {
  // A record claiming extra fret rows and a finger row for a line without
  // diagrams: after loading, the flags say what the diagrams need.
  RecordBytes r;
  ClassTag(r, "KChordPicLine");
  BasePart(r, 4, 0x2000 | 0x4000, "C");
  r.Word(0);
  std::unique_ptr<KChordPicLine> line = LoadAs<KChordPicLine>(ListTail(r, 0, SizeWord(100, 100)));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetFlagWord() & (0x2000 | 0x4000), 0u);
}

TEST_F(KChordPicLineRecordTest, TuningAndFontTravelInTheLabel) {
  g_defaultChordNameFontText = kOtherFont;
  const std::string fretted = "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19";
  struct Case {
    std::string stored;
    const char* label;
    std::string tuning;
    const char* font;
    int frets;
  };
  const Case cases[] = {
      {"C!@!T!@@@!F", "C", "T", "F", 24},
      {"C", "C", kStandard, kOtherFont, 24},
      {"C!@!T", "C", "T", kOtherFont, 24},
      {"C!@!T!@!X!@@@!F", "C", "T", kOtherFont, 24},  // a further separator cuts the rest
      {"C!@!!@@@!F", "C", "", "F", 24},
      {"!@!" + fretted + "!@@@!F", "", fretted, "F", 16},
  };
  for (const Case& c : cases) {
    std::unique_ptr<KChordPicLine> line = LoadAs<KChordPicLine>(ChordRecord(c.stored, SizeWord(100, 100)));
    ASSERT_NE(line, nullptr) << c.stored;
    EXPECT_EQ(line->GetLabel(), c.label) << c.stored;
    EXPECT_EQ(line->GetTuning(), c.tuning.c_str()) << c.stored;
    EXPECT_EQ(line->GetNameFontText(), c.font) << c.stored;
    EXPECT_EQ(line->GetFretCount(), c.frets) << c.stored;
  }
}

TEST_F(KChordPicLineRecordTest, NameFontResetsWidthsAndFallsBackEachTime) {
  KChordPicLine line(0, kStandard, kNameFont, 100, 100);
  auto* diagram = new KChordPic(5, "G", kShape, 1);
  Fill(line, {diagram});
  diagram->SetWidth(30);
  EXPECT_EQ(line.GetLength(), 5 + (30 + 7) / 8);

  line.SetNameFont(kOtherFont);
  EXPECT_EQ(diagram->GetWidth(1), -1);
  EXPECT_EQ(line.GetLength(), 5 + (8 + 7) / 8);
  EXPECT_NE(line.GetNameFont(), &g_FallbackFonts[0]);
  EXPECT_TRUE(ReportedCodes(m_ui).empty());

  FailNextGdiCreations(GdiResource::Font, 2);
  line.SetNameFont(kNameFont);
  line.SetNameFont(kNameFont);
  EXPECT_EQ(ReportedCodes(m_ui), (std::vector<std::string>{"ClTCR-89", "ClTCR-89"}));
  EXPECT_EQ(line.GetNameFont(), &g_FallbackFonts[0]);
  EXPECT_EQ(line.GetNameFontHeight(), 14);
  EXPECT_EQ(line.GetNameColor(), 255u);
}

TEST_F(KChordPicLineRecordTest, LineHeightCountsTheDiagramRows) {
  struct Case {
    int extraRows;
    DWORD flags;
    int fingerRow;
    int heightPct;
    int withDiagrams;
    int height;
  };
  constexpr DWORD kShow = KChordPicLine::kFlagShowDiagrams;
  constexpr DWORD kFinger = KChordPicLine::kFlagFingerRow;
  const Case cases[] = {
      {2, kShow, 0, 100, 0, 16 + 12 + 31},  // shapes of 6 fret rows
      {2, kShow | kFinger, 0, 100, 0, 16 + 12 + 31},
      {2, kShow | kFinger, 1, 100, 0, 16 + 18 + 31},
      {2, 0, 0, 100, 0, 16},  // names only
      {0, 0, 0, 100, 1, 16 + 31},
      {0, kShow, 0, 50, 0, 16 + 15},
  };
  for (const Case& c : cases) {
    g_fingerRowOption = c.fingerRow;
    KChordPicLine line(0, kStandard, "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial", 100, c.heightPct);
    line.SetFlagValue(KChordPicLine::kFlagExtraRows, c.extraRows);
    line.ModifyFlags(c.flags, 1);
    EXPECT_EQ(line.GetLineHeight(c.withDiagrams), c.height) << c.extraRows << " " << c.flags;
  }
}

TEST_F(KChordPicLineRecordTest, NewerListWordsAreSkippedWithOneWarning) {
  RecordBytes r;
  ClassTag(r, "KChordPicLine");
  BasePart(r, 4, 0, "C");
  r.Word(0).Byte(0).Int(3000).Int(SizeWord(200, 300)).Int(0).Int(77).Word(0);
  for (int pass = 0; pass < 2; ++pass) {
    std::unique_ptr<KChordPicLine> line = LoadAs<KChordPicLine>(r);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetDiagramWidthPct(), 200);
    EXPECT_EQ(line->GetDiagramHeightPct(), 300);
  }
  EXPECT_EQ(m_ui.CountOf(7089), 1);
}

TEST_F(KChordPicLineRecordTest, RecordOfAnotherKindOrObjectClassIsRefused) {
  EXPECT_EQ(LoadFailure<KChordPicLine>(ChordRecord("C", 0, 3)), CArchiveException::generic);
  EXPECT_EQ(LoadFailure<KChordPicLine>(ChordRecord("C", 0, 5)), CArchiveException::generic);

  RecordBytes r;
  ClassTag(r, "KChordPicLine");
  BasePart(r, 4, 0, "C");
  r.Word(1);
  ClassTag(r, "KRhythmObj");
  RecordBytes tail;
  ListTail(tail, 0, 0);
  KRhythmObj item(0, 210);
  const Bytes bytes = Concat({r, StoreFields(item), tail});
  EXPECT_EQ(LoadFailure<KChordPicLine>(bytes), CArchiveException::badClass);
}

TEST_F(KChordPicLineRecordTest, TruncatedRecordFailsAtEveryOffset) {
  KChordPicLine line(2, kTuning, kNameFont, 120, 80);
  line.SetLabel("Gtr chords");
  Fill(line, {new KChordPic(0, "Am", kShape, 1), new KChordPic(4, "E7", kShape, 3)});
  line.AddAttachment(new KExtendedObj(2, 0, 2, 0, 0, 20, 0));
  ExpectEveryTruncationFails<KChordPicLine>(StoreObject(line));
}

TEST_F(KChordPicLineRecordTest, ArchiveConstructorTakesTheDefaults) {
  g_defaultChordNameFontText = kNameFont;
  g_defaultDiagramWidthPct = 80;
  g_defaultDiagramHeightPct = 120;
  KChordPicLine line;
  EXPECT_EQ(line.GetType(), KChordPicLine::kKind);
  EXPECT_EQ(line.GetKey(), 0);
  EXPECT_EQ(line.GetTuning(), kStandard);
  EXPECT_EQ(line.GetFretCount(), 24);
  EXPECT_EQ(line.GetFretMap()[24], 24);
  EXPECT_EQ(line.GetNameFontText(), kNameFont);
  EXPECT_EQ(line.GetDiagramWidthPct(), 80);
  EXPECT_EQ(line.GetDiagramHeightPct(), 120);
}

}  // namespace
