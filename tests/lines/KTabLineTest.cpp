// The tablature line: what its tuning gives it, its record in the score file
// with the repairs of older tuning forms, and the stem ends of older files.

#include "TabLineTestSupport.h"
#include "lines/KSpeedLine.h"
#include "model/DocServices.h"

namespace {

using KTabLineTest = TabLineTest;

// ---- Construction -----------------------------------------------------------------

struct ConstructionCase {
  const char* tuning;
  DWORD flags;
  int altOption;
  int kind;
  int strings;
  int firstRow;
  int lastRow;
  bool altFlag;
  int spaceBelow;
};

TEST_F(KTabLineTest, TheTuningGivesKindStringsRowsNamesFlagAndSpace) {
  const ConstructionCase cases[] = {
      {"E A D G B E  323742475156", 0, 1, 2, 6, 2, 7, false, 12},
      {"  E A D G   *002025303500", 0x20, 1, 15, 4, 3, 6, false, 12},
      {"D A D G B E  303742475156", 0, 1, 2, 6, 2, 7, true, 12},
      {"D A D G B E  303742475156", 0, 0, 2, 6, 2, 7, false, 12},
      {"D D G B D   5594247515400!@@!22", 0, 1, 2, 5, 3, 7, true, 12},
      {"    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 0, 1, 2, 3, 3, 5, true, 12},
      // Seven and eight strings get two string spacings more space below.
      {"E A D G B E  323742475156/", 0, 1, 2, 7, 2, 8, true, 32},
      {"B E A D G C *1520253035402-", 0x20, 1, 15, 8, 2, 9, true, 32},
  };
  for (const ConstructionCase& c : cases) {
    SCOPED_TRACE(c.tuning);
    g_tabAltTuningNames = c.altOption;
    KTabLine line(3, c.tuning, c.flags);
    EXPECT_EQ(line.GetType(), c.kind);
    EXPECT_EQ(line.GetKey(), 3);
    EXPECT_EQ(line.GetStringCount(), c.strings);
    EXPECT_EQ(line.GetStringRowLimit(KTabLine::kFirstRow), c.firstRow);
    EXPECT_EQ(line.GetStringRowLimit(KTabLine::kLastRow), c.lastRow);
    EXPECT_EQ(line.TestFlags(KTabLine::kFlagAltTuning) != 0, c.altFlag);
    EXPECT_EQ(line.GetSpaceBelow(0), c.spaceBelow);
    ASSERT_NE(line.GetDrawingCache(), nullptr);
    EXPECT_EQ(line.GetDrawingCache()->GetTuning(), CString(c.tuning));
    EXPECT_EQ(line.GetDrawingCache()->GetSpaceBelow(0), c.spaceBelow);
  }
}

TEST_F(KTabLineTest, ExtraStringsWidenOnlyASpaceBelowTheLimit) {
  g_tabSpaceBelow = 40;
  KTabLine wide(0, "E A D G B E  323742475156/", 0);
  EXPECT_EQ(wide.GetSpaceBelow(0), 40);
  g_tabSpaceBelow = 12;
  g_tabStringSpacing = 12;
  KTabLine narrow(0, "E A D G B E  323742475156/", 0);
  EXPECT_EQ(narrow.GetSpaceBelow(0), 12 + 2 * 12);
}

TEST_F(KTabLineTest, TheDefaultLineIsAStandardGuitarLine) {
  KTabLine line;
  EXPECT_EQ(line.GetType(), 2);
  EXPECT_EQ(line.GetTuning(), kStandardTuning);
  EXPECT_EQ(line.GetFlagWord(), 0u);
  EXPECT_EQ(line.GetFretCount(), 24);
  EXPECT_EQ(line.HasFretLabels(), 0);
  EXPECT_EQ(line.GetFretLabel(12), CString("12"));
}

TEST_F(KTabLineTest, AFretListGivesFretCountMapAndLabels) {
  g_HalfFretLabels = 1;
  KTabLine dulcimer(0, "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 0);
  EXPECT_EQ(dulcimer.GetFretCount(), 16);
  EXPECT_EQ(dulcimer.GetFretMap()[8], 12);
  EXPECT_EQ(dulcimer.GetFretMap()[9], 14);
  EXPECT_EQ(dulcimer.HasFretLabels(), 1);
  EXPECT_EQ(dulcimer.GetFretLabel(7), CString("6+"));
  KTabLine short20(0, "E A D G B E  323742475156!@@!20", 0);
  EXPECT_EQ(short20.GetFretCount(), 20);
  EXPECT_EQ(short20.GetFretMap()[13], 13);
}

// ---- Pitches and frets at a column ---------------------------------------------

TEST_F(KTabLineTest, PitchOfARowAndFretCode) {
  KTabLine guitar(0, kStandardTuning, 0);
  KTabLine bass(0, kBassTuning4, 0x20);
  KTabLine short12(0, "E A D G B E  323742475156!@@!12", 0);
  KTabLine dulcimer(0, "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 0);
  struct Case {
    const KTabLine* line;
    int row;
    int code;
    int pitch;
  } cases[] = {
      {&guitar, 2, 226, 56},       {&guitar, 7, 226, 32},       {&guitar, 7, 231, 37},
      {&guitar, 2, 250, 80},       {&guitar, 1, 226, -1},       {&guitar, 8, 226, -1},
      {&guitar, 4, 225, -1},       {&guitar, 4, 254, -1},       {&guitar, 4, 30, -1},
      {&bass, 3, 226, 35},         {&bass, 6, 226, 20},         {&bass, 2, 226, -1},
      {&bass, 7, 226, -1},         {&short12, 2, 238, 68},      {&short12, 2, 239, -1},
      {&dulcimer, 3, 226 + 2, 58}, {&dulcimer, 5, 226 + 8, 54}, {&dulcimer, 5, 226 + 17, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line->GetTuning() << " row " << c.row << " code " << c.code);
    EXPECT_EQ(c.line->GetPitchAt(c.row, c.code), c.pitch);
  }
}

TEST_F(KTabLineTest, FretOnAStringOfTheColumnAtTheCaret) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(2, {{2, 3}, {5, 12}}, {{7, 16}})});
  struct Case {
    int column;
    int row;
    int fret;
  } cases[] = {{2, 2, 3}, {2, 5, 12}, {2, 7, -2}, {2, 4, -1}, {1, 2, -1}, {3, 2, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(line.GetFretOnString(c.column, c.row), c.fret) << c.column << " " << c.row;
  }
}

// ---- The line record ---------------------------------------------------------------

TEST_F(KTabLineTest, LinesWithStandardAndAlternateTuningsStoreAndLoadToTheSameBytes) {
  for (const char* tuning : {"E A D G B E  323742475156", "D A D G B E  303742475156!@@!20",
                             "  E A D G   *002025303500", "B E A D G C *1520253035402-"}) {
    SCOPED_TRACE(tuning);
    const DWORD flags = CString(tuning).GetAt(12) == '*' ? 0x20 : 0;
    KTabLine line(5, tuning, flags);
    line.SetLabel("Lead");
    line.SetIndent(-12);
    Fill(line, {TabNotes(0, {{2, 0}, {7, 3}}), TabBar(1), TabNotes(3, {{4, 12}}, {{4, 42}})});
    line.AddAttachment(new KExtendedObj(3, 4, 0, 5, 0, 30, 10));

    const Bytes first = StoreObject(line);
    CMemFile file(first.data(), first.size());
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(KTabLine)));
    auto* loaded = dynamic_cast<KTabLine*>(object.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetTuning(), CString(tuning));
    EXPECT_EQ(loaded->GetType(), line.GetType());
    EXPECT_EQ(loaded->GetFlagWord(), line.GetFlagWord());
    EXPECT_EQ(loaded->GetStringCount(), line.GetStringCount());
    EXPECT_EQ(loaded->GetFretCount(), line.GetFretCount());
    EXPECT_EQ(loaded->GetLabel(), CString("Lead"));
    EXPECT_EQ(loaded->GetObjCount(), 3);
    EXPECT_EQ(FretsOf(TabColumnAt(*loaded, 3)), (Frets{{4, 12}}));
    ASSERT_NE(loaded->GetDrawingCache(), nullptr);
    EXPECT_EQ(loaded->GetDrawingCache()->GetTuning(), CString(tuning));
    EXPECT_EQ(loaded->GetDrawingCache()->GetFlagWord(), line.GetFlagWord());
    EXPECT_TRUE(loaded->IsChanged());
    EXPECT_EQ(StoreObject(*loaded), first);
  }
}

// A record as a file holds it loads and stores back byte for byte.
TEST_F(KTabLineTest, AHandMadeRecordStoresBackToTheSameBytes) {
  struct Case {
    const char* tuning;
    DWORD flags;
    int kind;
  } cases[] = {{"E A D G B E  323742475156", 0, 2},
               {"D A D G B E  303742475156", 0x40000, 2},
               {"  E A D G   *002025303500", 0x20 | 0x40, 15},
               {"    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 0x40 | 0x40000, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tuning);
    const Bytes record = TabLineRecord(c.tuning, c.flags, c.kind);
    auto line = LoadTabLine(record);
    EXPECT_EQ(line->GetType(), c.kind);
    EXPECT_EQ(line->GetTuning(), CString(c.tuning));
    EXPECT_EQ(StoreFields(*line), record);
  }
}

TEST_F(KTabLineTest, StoringMarksLinesOfFewerThanSixStrings) {
  struct Case {
    const char* tuning;
    DWORD flags;
    DWORD marks;
  } cases[] = {{"  E A D G   *002025303500", 0x20, 0x40},
               {"      G D    000000475400", 0, 0x40},
               {"G D G B D    594247515400", 0, 0x80},
               {"E A D G B E  323742475156", 0, 0},
               {"E A D G B E  323742475156/", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tuning);
    KTabLine line(0, c.tuning, c.flags);
    const DWORD before = line.GetFlagWord();
    const Bytes record = StoreFields(line);
    EXPECT_EQ(line.GetFlagWord(), before | c.marks);
    // The flag word is the fourth field of the record (after the kind byte,
    // the staff length and the group).
    DWORD stored = 0;
    for (int k = 3; k >= 0; --k) stored = (stored << 8) | record[9 + k];
    EXPECT_EQ(stored & 0xC0, c.marks);
  }
}

TEST_F(KTabLineTest, OlderTuningFormsAreRepairedOnLoad) {
  struct Case {
    std::string loaded;
    DWORD flags;
    std::string tuning;
  } cases[] = {
      {"", 0, "E A D G B E  323742475156"},
      {"S", 0, "E A D G B E  323742475156"},
      {"E A D G B E ", 0, "E A D G B E  323742475156"},
      {"E A D G B E  ", 0, "E A D G B E  323742475156"},
      // Names only: the pitches of the names, the bass mark from the flag word.
      {"D A D G B E ", 0, "D A D G B E  303742475156"},
      {"D A D G B E", 0, "D A D G B E  303742475156"},
      {"  E A D G   ", 0x20, "  E A D G   *002025303500"},
      {"  D A D G   ", 0x20, "  D A D G   *001825303500"},
      {"B E A D G   ", 0x20, "B E A D G   *152025303500"},
      // From 14 characters on the tuning is kept as it is.
      {"E A D G B E  3", 0, "E A D G B E  3"},
      {"E A D G B E  323742475156", 0, "E A D G B E  323742475156"},
      // A fret list closed by a second marker loses all from that marker on.
      {"    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19!@@!old", 0,
       "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19"},
      {"E A D G B E  323742475156!@@!20!@@!", 0, "E A D G B E  323742475156!@@!20"},
      {"E A D G B E  323742475156!@@!!@@!20", 0, "E A D G B E  323742475156!@@!!@@!20"},
      {"E A D G B E  323742475156!@@!20", 0, "E A D G B E  323742475156!@@!20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("loaded \"" + c.loaded + "\"");
    auto line = LoadTabLine(TabLineRecord(c.loaded, c.flags, (c.flags & 0x20) ? 15 : 2));
    EXPECT_EQ(line->GetTuning(), CString(c.tuning));
    EXPECT_EQ(line->GetStringCount(), GetTuningStringCount(CString(c.tuning)));
    EXPECT_EQ(line->GetDrawingCache()->GetTuning(), CString(c.tuning));
  }
}

TEST_F(KTabLineTest, ADamagedKindLoadsAsTablature) {
  struct Case {
    int kind;
    DWORD flags;
    int expected;
  } cases[] = {{5, 0, 2}, {1, 0x20, 15}, {15, 0x20, 15}, {2, 0, 2}};
  for (const Case& c : cases) {
    auto line = LoadTabLine(TabLineRecord("E A D G B E  323742475156", c.flags, c.kind));
    EXPECT_EQ(line->GetType(), c.expected) << c.kind;
  }
}

TEST_F(KTabLineTest, ATruncatedRecordFailsToLoad) {
  Bytes record = TabLineRecord("E A D G B E  323742475156", 0);
  record.resize(record.size() - 5);
  KTabLine line;
  CMemFile file(record.data(), record.size());
  CArchive ar(&file, CArchive::load);
  EXPECT_THROW(line.Serialize(ar), CArchiveException);
}

// Files before version 3600 kept the stem ends of beam groups in another form;
// their groups are laid out again, newer files load as stored.
TEST_F(KTabLineTest, StemEndsOfOlderFilesAreLaidOutAgain) {
  auto makeLine = [] {
    auto line = std::make_unique<KTabLine>(0, kStandardTuning, 0);
    // Eighth notes of voice 1: a group opened at column 0 and closed at 2.
    Fill(*line, {TabNotes(0, {{2, 0}}, {}, 0, 31, 0), TabNotes(1, {{3, 1}}, {}, 0, 0, 0),
                 TabNotes(2, {{4, 2}}, {}, 0, 26, 0), TabNotes(3, {{5, 3}}, {}, 0, 0, 0)});
    return line;
  };
  auto source = makeLine();
  const Bytes record = StoreFields(*source);
  std::vector<int> stored;
  for (int pos = 0; pos < 4; ++pos) stored.push_back(TabColumnAt(*source, pos).GetVoiceStem(1));

  // What laying out the group of columns 0..2 gives.
  auto expected = makeLine();
  CObList* list = expected->GetObjList();
  expected->ApplyToNodeRange(list->FindIndex(0), list->FindIndex(2), 1, 0);
  std::vector<int> relaid;
  for (int pos = 0; pos < 4; ++pos) relaid.push_back(TabColumnAt(*expected, pos).GetVoiceStem(1));
  ASSERT_NE(relaid, stored);

  for (int version : {3599, 3600}) {
    g_fileVersion = version;
    auto loaded = LoadTabLine(record);
    std::vector<int> stems;
    for (int pos = 0; pos < 4; ++pos) stems.push_back(TabColumnAt(*loaded, pos).GetVoiceStem(1));
    EXPECT_EQ(stems, version < 3600 ? relaid : stored) << version;
  }
}

}  // namespace
