#include <string>
#include <vector>

#include "LineRecordTestSupport.h"
#include "lines/RhythmLineServices.h"

namespace {

using namespace line_records;

class KRhythmLineRecordTest : public LineRecordTest {};

constexpr const char* kFont = "20,0,0,0,400,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kColouredFont = "19,0,255,0,700,0,0,0,0,3,2,1,18,Times New Roman";

// An item of an old file: a character or symbol at a whole column.
struct OldItem {
  int column;
  int code;
  int link = 0;
};

// A rhythm line record with the label, whose object list holds the items in
// the old form (column word, code, link byte).
Bytes RhythmRecord(std::string_view label, const std::vector<OldItem>& items = {}, int legacyKind = 3) {
  RecordBytes r;
  ClassTag(r, "KRhythmLine");
  BasePart(r, legacyKind, 0, label);
  r.Word(int(items.size()));
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i == 0) {
      ClassTag(r, "KRhythmObj");
    } else {
      r.Word(0x8003);
    }
    r.Word(items[i].column).Byte(items[i].code).Byte(items[i].link);
  }
  return ListTail(r, 0, 0);
}

// Each item as "pos:code:text:link".
std::vector<std::string> Describe(const KRhythmLine& line) {
  std::vector<std::string> out;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const auto* item = static_cast<const KRhythmObj*>(list.GetNext(node));
    out.push_back(std::to_string(item->GetPos()) + ":" + std::to_string(item->GetCode()) + ":" +
                  item->GetText().Str() + ":" + std::to_string(item->GetLinkCode()));
  }
  return out;
}

TEST_F(KRhythmLineRecordTest, RecordMatchesHandBuiltBytesAndRoundTrips) {
  KRhythmLine line(2, kFont);
  line.SetLabel("Strum");
  auto* text = new KRhythmObj(0, CString("ab"));
  KRhythmObj* symbol = Item(18, 230, 1);
  Fill(line, {text, symbol});

  RecordBytes head;
  ClassTag(head, "KRhythmLine");
  BasePart(head, 3, 0, std::string("Strum!@!") + kFont);
  head.Word(2);
  ClassTag(head, "KRhythmObj");
  RecordBytes tail;
  ListTail(tail, 2, 0);
  const Bytes bytes =
      Concat({head, StoreFields(*text), RecordBytes().Word(0x8003), StoreFields(*symbol), tail});

  ASSERT_EQ(StoreObject(line), bytes);
  EXPECT_EQ(line.GetLabel(), "Strum");

  std::unique_ptr<KRhythmLine> loaded = LoadAs<KRhythmLine>(bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetType(), KRhythmLine::kKind);
  EXPECT_EQ(loaded->GetLabel(), "Strum");
  EXPECT_EQ(loaded->GetFontText(), kFont);
  EXPECT_EQ(loaded->GetKey(), 2);
  EXPECT_EQ(loaded->GetColumnWidth(), -1);
  EXPECT_EQ(Describe(*loaded), (std::vector<std::string>{"0:97:ab:0", "18:230::1"}));
  EXPECT_EQ(StoreObject(*loaded), bytes);
  EXPECT_EQ(g_coloredText, 0);
}

TEST_F(KRhythmLineRecordTest, FontTextTravelsAfterTheLabelSeparator) {
  g_defaultRhythmFontText = "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial";
  struct Case {
    const char* stored;
    const char* label;
    const char* font;
  };
  const Case cases[] = {
      {"Strum!@!F1", "Strum", "F1"},
      {"Strum", "Strum", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial"},
      {"!@!F1!@!more", "", "F1"},
      {"A!@!!@!F1", "A", "!@!F1"},  // a second separator right at the start stays
      {"A!@!", "A", ""},
  };
  for (const Case& c : cases) {
    std::unique_ptr<KRhythmLine> line = LoadAs<KRhythmLine>(RhythmRecord(c.stored));
    ASSERT_NE(line, nullptr) << c.stored;
    EXPECT_EQ(line->GetLabel(), c.label) << c.stored;
    EXPECT_EQ(line->GetFontText(), c.font) << c.stored;
  }
}

TEST_F(KRhythmLineRecordTest, FontsTakeTheColourOutAndGrowByAQuarter) {
  struct Case {
    const char* font;
    COLORREF colour;
    int normalHeight;
    int largeHeight;
  };
  const Case cases[] = {
      {kColouredFont, 255, 19, 23},
      {"-20,0,0,0,400,0,0,0,0,3,2,1,34,Arial", 0, -20, -25},
  };
  for (const Case& c : cases) {
    KRhythmLine line(0, c.font);
    EXPECT_EQ(line.GetTextColor(), c.colour) << c.font;
    for (int size : {0, 1}) {
      const int height = size == 0 ? c.normalHeight : c.largeHeight;
      EXPECT_EQ(line.GetFontHeight(size), height) << c.font;
      ASSERT_NE(line.GetFont(size)->GetSafeHandle(), nullptr) << c.font;
      EXPECT_EQ(line.GetFont(size)->Data().lfEscapement, 0) << c.font;
      EXPECT_EQ(line.GetFont(size)->Data().lfHeight, height) << c.font;
    }

    // Only a loaded colour raises the score's colour flag.
    ResetAppServices();
    line.SetLabel("R");
    std::unique_ptr<KRhythmLine> loaded = LoadAs<KRhythmLine>(StoreObject(line));
    EXPECT_EQ(loaded->GetTextColor(), c.colour);
    EXPECT_EQ(g_coloredText, c.colour != 0 ? 1 : 0) << c.font;
  }
}

TEST_F(KRhythmLineRecordTest, FontThatCannotBeMadeFallsBackWithItsPlace) {
  struct Case {
    bool load;
    int failures;
    std::vector<std::string> codes;
  };
  const Case cases[] = {
      {false, 1, {"ClTCR-89"}},
      {false, 2, {"ClTCR-89", "ClTCR-90"}},
      {true, 2, {"ClTCR-91", "ClTCR-92"}},
  };
  KRhythmLine source(0, kFont);
  const Bytes stored = StoreFields(source);
  for (const Case& c : cases) {
    m_ui.ClearRecords();
    KRhythmLine line(0, kFont);
    FailNextGdiCreations(GdiResource::Font, c.failures);
    if (c.load) {
      LoadFields(line, stored);
    } else {
      line.SetFont(kFont);
    }
    EXPECT_EQ(ReportedCodes(m_ui), c.codes);
    EXPECT_EQ(line.GetFont(0), &g_FallbackFonts[0]);
    if (c.failures == 2) {
      EXPECT_EQ(line.GetFont(1), &g_FallbackFonts[1]);
    } else {
      EXPECT_NE(line.GetFont(1)->GetSafeHandle(), nullptr);
      EXPECT_NE(line.GetFont(1), &g_FallbackFonts[1]);
    }
    // The heights are kept whatever font is used.
    EXPECT_EQ(line.GetFontHeight(0), 20);
    EXPECT_EQ(line.GetFontHeight(1), 25);
  }
}

TEST_F(KRhythmLineRecordTest, OldItemsBecomeTextRunsAndSymbolsInOrder) {
  const std::vector<OldItem> items = {{0, 'A'},    {1, 'B'}, {2, 210}, {5, 'C'},
                                      {6, 230, 2}, {8, 215}, {11, 216}};
  const std::vector<std::string> converted = {"0:0:AB:0", "1:210::0", "2:0:  C:0", "3:230::2",
                                              "4:215::0", "5:0:  :0", "6:216::0"};
  const std::vector<std::string> asRead = {"0:65:A:0",  "9:66:B:0",  "18:210::0", "45:67:C:0",
                                           "54:230::2", "72:215::0", "99:216::0"};
  struct Case {
    int version;
    const std::vector<std::string>& expected;
  };
  const Case cases[] = {{34, converted}, {3899, converted}, {3900, asRead}, {3940, asRead}};
  for (const Case& c : cases) {
    g_fileVersion = c.version;
    std::unique_ptr<KRhythmLine> line = LoadAs<KRhythmLine>(RhythmRecord("R", items));
    ASSERT_NE(line, nullptr) << c.version;
    EXPECT_EQ(Describe(*line), c.expected) << c.version;
    EXPECT_EQ(line->GetOldSymbolList()->GetCount(), 0) << c.version;
    EXPECT_EQ(line->GetColumnWidth(), -1) << c.version;
  }
}

TEST_F(KRhythmLineRecordTest, OldItemConversionEdges) {
  g_fileVersion = 3800;
  struct Case {
    std::vector<OldItem> items;
    std::vector<std::string> expected;
  };
  const std::string fullRun = "0:0:a" + std::string(299, ' ') + ":0";
  const Case cases[] = {
      {{{3, 'X'}}, {"0:0:   X:0"}},                                 // a leading gap stays as blanks
      {{{4, 210}}, {"0:0:    :0", "1:210::0"}},                     // so it does before a symbol
      {{{0, 210}, {0, 211}}, {"0:210::0", "1:0: :0", "2:211::0"}},  // an overlap gets one blank
      {{{0, 'a'}, {400, 'b'}, {401, 212}}, {fullRun}},              // a run stops at 300 characters
  };
  for (const Case& c : cases) {
    std::unique_ptr<KRhythmLine> line = LoadAs<KRhythmLine>(RhythmRecord("R", c.items));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(Describe(*line), c.expected);
  }
}

TEST_F(KRhythmLineRecordTest, ConvertedLineStoresAndLoadsBackUnchanged) {
  // The provisional positions are valid pixel positions: saving before the
  // line is ever measured keeps every item where it was.
  g_fileVersion = 3000;
  std::unique_ptr<KRhythmLine> old =
      LoadAs<KRhythmLine>(RhythmRecord("R!@!" + std::string(kFont), {{2, 'x'}, {3, 220}, {4, 'y'}}));
  ASSERT_NE(old, nullptr);
  g_fileVersion = kCurrentFileVersion;
  std::unique_ptr<KRhythmLine> again = LoadAs<KRhythmLine>(StoreObject(*old));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Describe(*again), (std::vector<std::string>{"0:32:  x:0", "1:220::0", "2:121:y:0"}));
  EXPECT_EQ(again->GetFontText(), kFont);
}

// A line whose text runs and symbols stand where the newer form put them
// (a run of five characters, then two wide symbols at pixels 45 and 63), read
// as a file older than 3900 holds it and saved: the symbols follow the run
// at their own columns, as they did before.
TEST_F(KRhythmLineRecordTest, SymbolsAfterALongTextKeepTheirColumnsWhenAnOldLineIsConverted) {
  KRhythmLine line(3, kFont);
  Fill(line, {new KRhythmObj(0, CString("Swing")), Item(45, 224, 0), Item(63, 225, 0)});
  const Bytes stored = StoreObject(line);
  for (const int version : {3493, 3899}) {
    g_fileVersion = version;
    std::unique_ptr<KRhythmLine> old = LoadAs<KRhythmLine>(stored);
    ASSERT_NE(old, nullptr);
    g_fileVersion = kCurrentFileVersion;
    EXPECT_EQ(Describe(*old), (std::vector<std::string>{"0:0:Swing:0", "1:224::0", "2:225::0"})) << version;
    // Laid out, the first symbol stands right after the run and the second
    // right after the first, and a save keeps them there.
    old->MeasureSymbols(RhythmMeasureDC(), 0);
    const auto* run = static_cast<const KRhythmObj*>(old->GetObjList()->GetHead());
    const int first = run->GetWidth();
    std::unique_ptr<KRhythmLine> saved = LoadAs<KRhythmLine>(StoreObject(*old));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(Describe(*saved), (std::vector<std::string>{"0:83:Swing:0", std::to_string(first) + ":224::0",
                                                          std::to_string(first + 18) + ":225::0"}))
        << version;
  }
}

TEST_F(KRhythmLineRecordTest, RecordOfAnotherKindOrItemClassIsRefused) {
  EXPECT_EQ(LoadFailure<KRhythmLine>(RhythmRecord("R", {}, 4)), CArchiveException::generic);
  EXPECT_EQ(LoadFailure<KRhythmLine>(RhythmRecord("R", {{0, 'a'}}, 0)), CArchiveException::generic);

  // A note column in a rhythm line's list.
  RecordBytes r;
  ClassTag(r, "KRhythmLine");
  BasePart(r, 3, 0, "R");
  r.Word(1);
  ClassTag(r, "KChord");
  RecordBytes tail;
  ListTail(tail, 0, 0);
  const Bytes bytes = Concat({r, ColumnRecord(0, 0, 0, 0, {{18, 8}}), tail});
  EXPECT_EQ(LoadFailure<KRhythmLine>(bytes), CArchiveException::badClass);
}

TEST_F(KRhythmLineRecordTest, TruncatedRecordFailsAtEveryOffset) {
  KRhythmLine line(1, kColouredFont);
  line.SetLabel("Tempo");
  Fill(line, {new KRhythmObj(0, CString("Swing")), Item(45, 224, 2), Item(63, 225, -2)});
  line.AddAttachment(new KExtendedObj(1, 3, "rit.", kFont));
  ExpectEveryTruncationFails<KRhythmLine>(StoreObject(line));
}

TEST_F(KRhythmLineRecordTest, ArchiveConstructorTakesTheDefaultFont) {
  g_defaultRhythmFontText = kColouredFont;
  KRhythmLine line;
  EXPECT_EQ(line.GetType(), KRhythmLine::kKind);
  EXPECT_EQ(line.GetKey(), 0);
  EXPECT_EQ(line.GetGroupId(), -1);
  EXPECT_EQ(line.GetFontText(), kColouredFont);
  EXPECT_EQ(line.GetTextColor(), 255u);
}

}  // namespace
