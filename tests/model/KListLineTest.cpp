#include <utility>
#include <vector>

#include "LineTestSupport.h"
#include "model/KMIDIObj.h"

namespace {

class KListLineTest : public LineTest {};

// The record of a list line as the file holds it (without the class tag),
// with an empty object list and the given words after the time word.
RecordBytes ListRecord(int legacyKind, int fileWord, int key, int timeWord,
                       std::initializer_list<int> words) {
  RecordBytes r;
  r.Byte(legacyKind).Int(0).Int(-1).Int(0).Int(fileWord).String("").Int(0);  // base part with indent 0
  r.Word(0).Byte(key).Int(timeWord);
  for (int word : words) r.Int(word);
  r.Word(0);  // no attachments
  return r;
}

// The chord-line view of a diagram: 20 pixels wide, three columns.
class DiagramLine : public KListLine {
 public:
  DiagramLine() : KListLine(0, kChordLine, 0, -1, 0) {}
  int GetDiagramWidth(const KPosObj&) const override { return 20; }
};

TEST_F(KListLineTest, RecordMatchesHandBuiltBytesAndRoundTrips) {
  KListLine line(3, kTreble, 0, -1, 0);
  line.SetLabel("Gtr");
  line.SetLayoutRow(5);
  line.SetLayoutByte(0, 1);
  line.SetLayoutByte(3, 4);
  KChord* timeSig = TimeSig(0, 102, 107);
  KChord* note = Note(1);
  KChord* bar = Bar(2);
  Fill(line, {timeSig, note, bar});
  auto* tie = new KExtendedObj(1, 18, 0, 4, 5, 30, 0);
  line.AddAttachment(tie);

  RecordBytes expected;
  expected.Word(0xFFFF).Word(90).Word(9).Chars("KListLine");
  expected.Byte(0).Int(0).Int(-1).Int(0).Int(100).String("Gtr").Int(0);  // line base part
  expected.Word(3);                                                      // three objects
  expected.Word(0xFFFF).Word(90).Word(6).Chars("KChord");
  Bytes bytes = Concat({expected.Get(), StoreFields(*timeSig)});
  bytes = Concat({bytes, RecordBytes().Word(0x8003), StoreFields(*note)});
  bytes = Concat({bytes, RecordBytes().Word(0x8003), StoreFields(*bar)});
  RecordBytes tail;
  tail.Byte(3).Int(2400).Int(5 * 65536 + 22 * 256 + 26).Int(0x01000004);
  tail.Word(1).Word(0xFFFF).Word(90).Word(12).Chars("KExtendedObj");
  bytes = Concat({bytes, tail.Get(), StoreFields(*tie)});

  ASSERT_EQ(StoreObject(line), bytes);

  std::unique_ptr<KListLine> loaded = LoadLine(bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetType(), kTreble);
  EXPECT_EQ(loaded->GetLabel(), "Gtr");
  EXPECT_EQ(loaded->GetKey(), 3);
  EXPECT_EQ(loaded->GetLayoutKey(), 3);
  EXPECT_EQ(loaded->GetSpaceAbove(0), 22);
  EXPECT_EQ(loaded->GetSpaceBelow(0), 26);
  EXPECT_EQ(loaded->GetLayoutRow(), 5);
  EXPECT_EQ(loaded->GetLayoutByte(0), 1);
  EXPECT_EQ(loaded->GetLayoutByte(3), 4);
  EXPECT_EQ(Positions(*loaded->GetObjList()), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(loaded->GetAttachmentCount(), 1);
  EXPECT_EQ(loaded->GetTimeSigColumn(), 2);
  EXPECT_EQ(loaded->IsChanged(), 1);
  EXPECT_EQ(StoreObject(*loaded), bytes);

  // The time signature comes from the first column; once derived, the time
  // word carries it.
  int beats = 0;
  int ticks = 0;
  loaded->GetTimeSignatureAt(5, beats, ticks, 0);
  EXPECT_EQ(beats, 3);
  EXPECT_EQ(ticks, 240);
  EXPECT_EQ(LoadLine(StoreObject(*loaded))->GetTimeWord(), 2203);
}

TEST_F(KListLineTest, TimeWordNeverAnnouncesAnUnwrittenWord) {
  // The time part rides in the word below the thousands; a beat of 1200 ticks
  // or more (or 100 beats) would reach the thousands, which count the words
  // that follow.
  struct Case {
    int beats;
    int ticks;
    int timeWord;
  };
  const Case cases[] = {
      {0, 480, 2400},                      // the default
      {3, 240, 2203},                      // a user override
      {-6, 1080, 2906},  {2, 1920, 2000},  // 2/1: 1602 would not fit
      {120, 1080, 2000}, {150, 480, 2550}, {4, -480, 2000},
  };
  for (const Case& c : cases) {
    KListLine line(0, kTab, 0, -1, 0);
    line.SetTimeSignature(c.beats, c.ticks, 0);
    const Bytes bytes = StoreFields(line);
    EXPECT_EQ(line.GetTimeWord(), c.timeWord) << c.beats << "/" << c.ticks;
    m_ui.ClearRecords();
    KListLine loaded;
    LoadFields(loaded, bytes);  // consumes exactly what was written
    EXPECT_EQ(loaded.GetSpaceAbove(0), 14);
    EXPECT_EQ(m_ui.CountOf(7089), 0) << c.beats << "/" << c.ticks;
  }
}

TEST_F(KListLineTest, OlderRecordsTakeTheFamilysDefaultSpaces) {
  struct Case {
    const char* what;
    Bytes bytes;
    int fileVersion;
    int staffLines3;
    int above;
    int below;
    int row;
  };
  const int spacing = 7 * 65536 + 30 * 256 + 40;
  const Case cases[] = {
      {"staff without spacing", ListRecord(0, 100, 0, 900, {}), 3940, 99, 22, 26, -1},
      {"tablature without spacing", ListRecord(2, 102, 0, 0, {}), 3940, 99, 14, 12, -1},
      {"rhythm line without spacing", ListRecord(3, 100, 0, 999, {}), 3940, 99, 0, 0, -1},
      {"spacing only", ListRecord(2, 102, 0, 1400, {spacing}), 3940, 99, 30, 40, 7},
      {"version 34 with the old-spaces setting", ListRecord(0, 100, 0, 2400, {spacing, 0}), 34, 111, 22, 26,
       7},
      {"version 34 without it", ListRecord(0, 100, 0, 2400, {spacing, 0}), 34, 99, 30, 40, 7},
      {"version 35 with it", ListRecord(0, 100, 0, 2400, {spacing, 0}), 35, 111, 30, 40, 7},
  };
  for (const Case& c : cases) {
    g_fileVersion = c.fileVersion;
    g_staffLines3Second = c.staffLines3;
    KListLine line;
    LoadFields(line, c.bytes);
    EXPECT_EQ(line.GetSpaceAbove(0), c.above) << c.what;
    EXPECT_EQ(line.GetSpaceBelow(0), c.below) << c.what;
    EXPECT_EQ(line.GetLayoutRow(), c.row) << c.what;
  }
}

TEST_F(KListLineTest, NewerRecordsSkipUnknownWordsOnce) {
  const Bytes newer = ListRecord(0, 100, 20, 4400, {3 * 256 + 4, 0x05060708, 77, 78});
  for (int file = 0; file < 2; ++file) {
    KListLine line;
    LoadFields(line, newer);
    EXPECT_EQ(line.GetKey(), 0);  // a key above 15 is none
    EXPECT_EQ(line.GetSpaceAbove(0), 3);
    EXPECT_EQ(line.GetLayoutByte(0), 5);
    EXPECT_EQ(line.GetLayoutByte(3), 8);
  }
  EXPECT_EQ(m_ui.CountOf(7089), 1);
}

TEST_F(KListLineTest, UnsetLayoutRowTravelsAs32767) {
  KListLine line;
  line.SetLayoutRow(-1);
  const Bytes bytes = StoreFields(line);
  // The spacing word follows the time word, after the base part, the empty
  // list and the key.
  const std::size_t at = bytes.size() - 2 - 4 - 4;
  EXPECT_EQ(bytes[at + 2], 0xFF);
  EXPECT_EQ(bytes[at + 3], 0x7F);
  KListLine loaded;
  LoadFields(loaded, bytes);
  EXPECT_EQ(loaded.GetLayoutRow(), -1);
}

TEST_F(KListLineTest, OldRhythmItemsGoToTheOldSymbolList) {
  class OldRhythmLine : public KListLine {
   public:
    ~OldRhythmLine() override {
      while (!old.IsEmpty()) delete old.RemoveHead();
    }
    CObList* GetOldSymbolList() override { return &old; }
    CObList old;
  };
  KListLine source(0, kRhythm, 0, -1, 0);
  Fill(source, {Item(0, 'a'), Item(1, 230)});
  const Bytes bytes = StoreFields(source);
  for (int version : {3899, 3900}) {
    g_fileVersion = version;
    OldRhythmLine line;
    LoadFields(line, bytes);
    EXPECT_EQ(line.old.GetCount(), version < 3900 ? 2 : 0) << version;
    EXPECT_EQ(line.GetObjCount(), version < 3900 ? 0 : 2) << version;
  }
}

TEST_F(KListLineTest, LoadingRepairsOnlyTheOrderThatOldFilesBroke) {
  struct Case {
    std::vector<int> stored;
    std::vector<int> loaded;
  };
  const Case cases[] = {
      {{1, 9, 3, 5}, {1, 3, 5}},
      {{4, 4}, {4, 4}},
      {{1, 9, 3}, {1, 9, 3}},  // no successor above 3 to judge by
  };
  for (const Case& c : cases) {
    KListLine line(0, kTreble, 0, -1, 0);
    for (int pos : c.stored) line.GetObjList()->AddTail(Note(pos));
    KListLine loaded;
    LoadFields(loaded, StoreFields(line));
    EXPECT_EQ(Positions(*loaded.GetObjList()), c.loaded);
  }
}

TEST_F(KListLineTest, MarkedObjectsFlagTheLine) {
  KListLine line(0, kTreble, 0, -1, 0);
  auto* marked = new KChord(3);
  FillColumn(*marked, 0, {{18, 70}});
  Fill(line, {marked});
  const Bytes bytes = StoreFields(line);
  ResetModelGlobals();
  KListLine loaded;
  LoadFields(loaded, bytes);
  EXPECT_EQ(loaded.TestFlags(KLineObj::kFlagLoadMarked), 1);
  EXPECT_EQ(g_loadMarker, 0);
}

TEST_F(KListLineTest, ListsRefuseObjectsOfAnotherClass) {
  struct Case {
    const char* what;
    int type;
    CObject* object;
    bool attachment;
    int cause;
  };
  const Case cases[] = {
      {"a rhythm item on a staff", kTreble, Item(0, 230), false, CArchiveException::badClass},
      {"a note column on a rhythm line", kRhythm, Note(0), false, CArchiveException::badClass},
      {"a note column among the attachments", kTab, Note(0), true, CArchiveException::badClass},
      {"a null object", kTreble, nullptr, false, CArchiveException::generic},
  };
  for (const Case& c : cases) {
    KListLine line(0, c.type, 0, -1, 0);
    CObList* list = c.attachment ? line.GetAttachments() : line.GetObjList();
    list->AddTail(c.object);
    const Bytes bytes = StoreObject(line);
    list->RemoveAll();
    delete c.object;
    EXPECT_EQ(LineLoadFailure(bytes), c.cause) << c.what;
  }

  // One object twice in a list (a back-reference) would have two owners.
  KListLine line(0, kTreble, 0, -1, 0);
  KChord* column = Note(1);
  line.GetObjList()->AddTail(column);
  line.GetObjList()->AddTail(column);
  const Bytes twice = StoreObject(line);
  line.GetObjList()->RemoveTail();
  EXPECT_EQ(LineLoadFailure(twice), CArchiveException::badIndex);
}

TEST_F(KListLineTest, TruncatedRecordFailsAtEveryOffset) {
  KListLine line(5, kTab, 0, 2, 0x4);
  line.SetLabel("Tab!@!E A D G B E  323742475156");
  Fill(line, {Note(0), Bar(3), Note(4)});
  line.AddAttachment(new KExtendedObj(2, 3, "pp", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
  line.AddAttachment(new KExtendedObj(4, 2, 1, 4, 5, 30, 0));
  const Bytes bytes = StoreObject(line);
  ASSERT_EQ(LineLoadFailure(bytes), -1);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const Bytes cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
    EXPECT_EQ(LineLoadFailure(cut), CArchiveException::endOfFile) << n;
  }
}

TEST_F(KListLineTest, LoadedSettingsReachTheDrawingCache) {
  KListLine source(7, kTreble, 0, 4, 0);
  source.SetIndent(-15);
  source.SetSpaceAbove(30, 0);
  source.SetSpaceBelow(31, 0);
  const Bytes bytes = StoreFields(source);

  KListLine line;
  auto* cache = new KListLine();
  line.SetLinkedLine(cache);
  LoadFields(line, bytes);
  EXPECT_EQ(cache->GetGroupId(), 4);
  EXPECT_EQ(cache->GetKey(), 7);
  EXPECT_EQ(cache->GetStoredIndent(), -15);
  EXPECT_EQ(cache->GetSpaceAbove(0), 30);
  EXPECT_EQ(cache->GetSpaceBelow(0), 31);
}

TEST_F(KListLineTest, SettersForwardToTheDrawingCache) {
  KListLine line(2, kTreble, 0, -1, 0);
  auto* cache = new KListLine(2, kTreble, 0, -1, 0);
  line.SetLinkedLine(cache);
  line.ClearChanged();
  line.SetStaffLength(300);
  line.SetFlagWord(0x40);
  EXPECT_EQ(line.ModifyFlags(0x2, 0), 0x2u);
  line.SetIndent(12);
  line.SetSpaceAbove(33, 1);  // large-size pixels
  line.SetSpaceBelow(20, 0);
  line.SetKeySignature(9, 0, 0);
  EXPECT_EQ(line.IsChanged(), 1);
  EXPECT_EQ(cache->GetStaffLength(), 300);
  EXPECT_EQ(cache->GetFlagWord(), 0x40u);
  EXPECT_EQ(cache->GetStoredIndent(), 12);
  EXPECT_EQ(line.GetSpaceAbove(0), 25);
  EXPECT_EQ(line.GetSpaceAbove(1), 33);
  EXPECT_EQ(cache->GetSpaceAbove(0), 25);
  EXPECT_EQ(cache->GetSpaceBelow(0), 20);
  EXPECT_EQ(cache->GetKey(), 9);
}

TEST_F(KListLineTest, KeySignatureAndLayoutKey) {
  struct Case {
    int groupId;
    int key;
    int groupKey;
    int keep;
    int expectedKey;
    int layoutKey;
  };
  const Case cases[] = {
      {3, 12, 14, 0, 12, 14},                          // grouped: the larger of the two
      {-1, 12, 14, 0, 12, 12},                         // no group: the key
      {3, 12, 4, 0, 12, 12},   {3, 12, 14, 1, 5, 14},  // keep: the key stays
      {-1, 16, 0, 0, 16, 0},                           // a layout key above 15 is none
  };
  for (const Case& c : cases) {
    KListLine line(5, kTreble, 0, c.groupId, 0);
    line.SetKeySignature(c.key, c.groupKey, c.keep);
    EXPECT_EQ(line.GetKey(), c.expectedKey);
    EXPECT_EQ(line.GetLayoutKey(), c.layoutKey);
  }
}

TEST_F(KListLineTest, LeavingTheGroupUnpairsBothStaves) {
  class PairedStaff : public KListLine {
   public:
    using KListLine::KListLine;
    KListLine* partner = nullptr;

   protected:
    KListLine* UnhookPartner() override { return std::exchange(partner, nullptr); }
  };
  constexpr DWORD kPairBits = 0x4 | 0x8 | 0x100000 | 0x200000;
  PairedStaff upper(0, kTreble, 0, 2, kPairBits | 0x1);
  KListLine lower(0, 1, 0, 2, kPairBits);
  upper.partner = &lower;
  upper.SetGroup(2, nullptr);  // staying in a group keeps the pair
  EXPECT_EQ(upper.GetFlagWord(), kPairBits | 0x1);
  upper.SetGroup(-1, nullptr);
  EXPECT_EQ(upper.GetFlagWord(), 0x1u);
  EXPECT_EQ(lower.GetFlagWord(), 0u);
  EXPECT_EQ(upper.partner, nullptr);

  KListLine tab(0, kTab, 0, 2, kPairBits);  // only treble and bass staves pair
  tab.SetGroup(5, nullptr);
  EXPECT_EQ(tab.GetFlagWord(), 0x100000u);
}

TEST_F(KListLineTest, NewLinesTakeTheSpaceDefaultsOfTheirFamily) {
  g_staffSpaceAbove = 30;
  g_tabSpaceBelow = 9;
  struct Case {
    int type;
    int above;
    int below;
  };
  for (const Case& c : {Case{kTreble, 30, 26}, Case{16, 30, 26}, Case{15, 14, 9}, Case{kRhythm, 0, 0}}) {
    KListLine line(0, c.type, 0, -1, 0);
    EXPECT_EQ(line.GetSpaceAbove(0), c.above) << c.type;
    EXPECT_EQ(line.GetSpaceBelow(0), c.below) << c.type;
  }
}

TEST_F(KListLineTest, LengthAndWidthByFamily) {
  KListLine empty(0, kTreble, 0, -1, 0);
  EXPECT_EQ(empty.GetLength(), 0);
  EXPECT_EQ(empty.GetWidth(0, 0, nullptr, 0), 34 + 20);

  KListLine staff(3, kTreble, 0, -1, 0);
  staff.SetIndent(10);
  Fill(staff, {Note(0), Note(2)});
  EXPECT_EQ(staff.GetLength(), 3);
  KListLine farOut(3, kTreble, 0, -1, 0);
  Fill(farOut, {Note(INT32_MAX)});
  EXPECT_EQ(farOut.GetLength(), INT32_MAX);  // saturates instead of overflowing
  EXPECT_EQ(staff.GetWidth(0, 0, nullptr, 0), 3 * 18 + 34 + 10 + 5 * 2 + 20);
  EXPECT_EQ(staff.GetWidth(1, 0, nullptr, 0), 3 * 22 + 34 + 10 + 7 * 2 + 20);

  struct Fixed {
    int staffLength;
    int columns;
    int size;
    int mode;
    int width;
  };
  const Fixed fixed[] = {
      {200, 3, 0, 0, 200},          {200, 3, 0, 1, 200}, {200, 3, 1, 0, 244},
      {50, 10, 0, 0, 10 * 18 + 34}, {50, 10, 0, 1, 50},
  };
  for (const Fixed& f : fixed) {
    KListLine line(0, kTab, f.staffLength, -1, 0);
    Fill(line, {Note(f.columns - 1)});
    EXPECT_EQ(line.GetWidth(f.size, f.mode, nullptr, 0), f.width) << f.staffLength << " " << f.columns;
  }

  DiagramLine chords;
  Fill(chords, {new KPosObj(0), new KPosObj(5)});
  EXPECT_EQ(chords.GetLength(), 5 + 3);
  EXPECT_EQ(chords.GetWidth(1, 0, nullptr, 0), 8 * 10);

  // A rhythm line counts text characters, gaps in column units (4 pixels
  // until measured) and one column per symbol.
  KListLine rhythm(0, kRhythm, 0, -1, 0);
  KRhythmObj* text = Item(0, 'a');
  text->SetText("abc");
  text->SetWidth(27);
  Fill(rhythm, {text, Item(45, 230)});
  EXPECT_EQ(rhythm.GetLength(), 3 + (45 - 27) / 4 + 1);
  EXPECT_EQ(rhythm.GetWidth(0, 0, nullptr, 0), 45 + 9);
}

TEST_F(KListLineTest, LookupsByColumn) {
  KListLine line(0, kTreble, 0, -1, 0);
  EXPECT_EQ(line.GetObjAt(5, 1), nullptr);
  EXPECT_EQ(line.FindNodeBefore(5), nullptr);
  Fill(line, {Note(1), Note(3), Note(7)});
  EXPECT_EQ(line.GetObjAt(5, 1)->GetPos(), 3);
  EXPECT_EQ(line.GetObjAt(5, 0), nullptr);
  EXPECT_EQ(line.GetObjAt(7, 0)->GetPos(), 7);
  EXPECT_EQ(line.GetObjAt(0, 1), nullptr);
  EXPECT_EQ(static_cast<KPosObj*>(line.GetObjList()->GetAt(line.FindNodeBefore(4)))->GetPos(), 3);
  EXPECT_EQ(static_cast<KPosObj*>(line.GetObjList()->GetAt(line.FindNodeBefore(3)))->GetPos(), 1);
  EXPECT_EQ(line.FindNodeBefore(1), nullptr);
}

TEST_F(KListLineTest, DeleteFromAColumnTakesObjectsAndAttachments) {
  KListLine line(0, kTreble, 0, -1, 0);
  Fill(line, {Note(1), Bar(3), Note(7)});
  line.AddAttachment(new KExtendedObj(2, 14, 6, 0, 0, 10, 0));
  line.AddAttachment(new KExtendedObj(6, 14, 6, 0, 0, 10, 0));
  line.DeleteObjsFrom(3);
  EXPECT_EQ(Positions(*line.GetObjList()), (std::vector<int>{1}));
  EXPECT_EQ(Positions(*line.GetAttachments()), (std::vector<int>{2}));
  EXPECT_EQ(line.GetTimeSigColumn(), -1);  // the cached bar went with it
  line.DeleteObjsFrom(0);
  EXPECT_EQ(line.GetObjCount(), 0);
  EXPECT_EQ(line.GetAttachmentCount(), 0);
}

TEST_F(KListLineTest, InsertionKeepsColumnOrder) {
  struct Case {
    std::vector<int> before;
    int column;
    int replace;
    std::vector<int> after;
  };
  const Case cases[] = {
      {{}, 4, 0, {4}},
      {{2, 5, 8}, 5, 0, {2, 5, 6, 9}},  // the occupied column moves right
      {{2, 5, 8}, 0, 0, {0, 3, 6, 9}},
      {{2, 5, 8}, 10, 0, {2, 5, 8, 10}},
      {{2, 5, 8}, 5, 1, {2, 5, 5, 8}},  // a list line clears nothing itself
  };
  for (const Case& c : cases) {
    KListLine line(0, kTreble, 0, -1, 0);
    for (int pos : c.before) line.GetObjList()->AddTail(Note(pos));
    KChord* inserted = Note(0);
    EXPECT_EQ(line.InsertObjAt(inserted, 0, c.column, nullptr, c.replace), (KLinePair{1, c.column}));
    EXPECT_EQ(Positions(*line.GetObjList()), c.after);
    EXPECT_EQ(inserted->GetPos(), c.column);
    EXPECT_NE(line.GetObjList()->Find(inserted), nullptr);
  }

  KListLine line(0, kTreble, 0, -1, 0);
  line.SetTimeSignature(4, 480, 0);
  line.InsertObjAt(TimeSig(0, 102, 107), 0, 0, nullptr, 0);
  EXPECT_EQ(line.GetOverrideBeats(), 0);  // derived again from the columns
  EXPECT_EQ(line.InsertObjAt(nullptr, 0, 0, nullptr, 0), (KLinePair{0, -1}));
}

TEST_F(KListLineTest, StaffShiftsStopAtTheNextBar) {
  struct Case {
    int first;
    int delta;
    bool moved;
    std::vector<int> after;
  };
  // Notes at 0, 1 and 6, a bar at 4.
  const Case cases[] = {
      {1, 1, true, {0, 2, 4, 6}},    // the empty columns 2 and 3 take it
      {1, 3, true, {0, 4, 5, 7}},    // one column is left for the bar
      {4, 1, true, {0, 1, 5, 7}},    // the bar's own column moves all
      {2, 1, true, {0, 1, 4, 6}},    // empty columns before the bar
      {6, -1, true, {0, 1, 4, 5}},   // no bar after: all move
      {4, -2, true, {0, 1, 2, 4}},   // the bar itself closes up
      {1, -1, false, {0, 1, 4, 6}},  // onto the note at 0
      {4, -3, false, {0, 1, 4, 6}},  // onto the note at 1
      {0, -1, false, {0, 1, 4, 6}},  // below column 0
      {3, 0, false, {0, 1, 4, 6}},
  };
  for (const Case& c : cases) {
    KListLine line(0, kTreble, 0, -1, 0);
    Fill(line, {Note(0), Note(1), Bar(4), Note(6)});
    const int result = line.ShiftColumns(c.first, c.delta, 1);
    EXPECT_EQ(result >= 0, c.moved) << c.first << " by " << c.delta;
    EXPECT_EQ(Positions(*line.GetObjList()), c.after) << c.first << " by " << c.delta;
    EXPECT_EQ(line.GetTimeSigColumn(), c.after[2]) << c.first << " by " << c.delta;
  }

  KListLine chords(0, kChordLine, 0, -1, 0);
  Fill(chords, {new KPosObj(0), new KPosObj(4), new KPosObj(9)});
  EXPECT_GE(chords.ShiftColumns(4, 2, 1), 0);
  EXPECT_EQ(Positions(*chords.GetObjList()), (std::vector<int>{0, 6, 11}));
  KListLine empty(0, kTreble, 0, -1, 0);
  EXPECT_EQ(empty.ShiftColumns(0, 1, 1), -1);
}

TEST_F(KListLineTest, CopyLayoutTakesTheOtherLinesSettings) {
  KListLine other(6, kTreble, 150, -1, 0x800);
  other.SetIndent(-8);
  other.SetSpaceAbove(40, 0);
  other.SetSpaceBelow(41, 0);
  KListLine line(0, kTab, 0, -1, 0);
  line.SetTimeSignature(3, 480, 1);
  auto* cache = new KListLine();
  line.SetLinkedLine(cache);
  line.CopyLayoutFrom(other);
  EXPECT_EQ(line.GetStaffLength(), 150);
  EXPECT_EQ(line.GetStoredIndent(), 8);
  EXPECT_EQ(line.GetSpaceAbove(0), 40);
  EXPECT_EQ(line.GetSpaceBelow(0), 41);
  EXPECT_EQ(line.GetKey(), 6);
  EXPECT_EQ(line.GetLayoutKey(), 6);
  EXPECT_EQ(line.GetStartBeats(), 0);
  EXPECT_EQ(line.GetOverrideBeats(), 0);
  EXPECT_EQ(cache->GetStoredIndent(), 8);
  EXPECT_EQ(cache->GetSpaceBelow(0), 41);
}

TEST_F(KListLineTest, PlayEventsAreOwned) {
  KListLine line(0, kTreble, 0, -1, 0);
  EXPECT_EQ(line.GetCachedPlayValue(), -1.0f);
  line.GetPlayEvents()->AddTail(new KMIDIObj());
  line.GetPlayEvents()->AddTail(new KMIDIObj());
  line.ClearPlayEvents();
  EXPECT_TRUE(line.GetPlayEvents()->IsEmpty());
  line.GetPlayEvents()->AddTail(new KMIDIObj());  // the destructor deletes this one
}

}  // namespace
