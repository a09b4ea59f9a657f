#include <iterator>
#include <memory>
#include <random>

#include "ModelTestSupport.h"

namespace {

class KChordRecord : public ModelTest {};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// The fields every column record starts with: position, stems, count.
Bytes Head(int pos, int stem0, int stem1, int count) {
  Bytes b = ColumnRecord(pos, stem0, stem1, 0, {});
  b.pop_back();  // rhythm byte
  b.back() = BYTE(count);
  return b;
}

void ExpectSameColumn(const KChord& a, const KChord& b) {
  ASSERT_EQ(a.GetNoteCount(), b.GetNoteCount());
  for (int i = 0; i < a.GetNoteCount(); ++i) {
    EXPECT_EQ(a.GetEntry(i).valueAndCode, b.GetEntry(i).valueAndCode) << i;
    EXPECT_EQ(a.GetEntry(i).flagAndExtra, b.GetEntry(i).flagAndExtra) << i;
  }
  EXPECT_EQ(a.GetPos(), b.GetPos());
  EXPECT_EQ(a.GetVoiceStem(0), b.GetVoiceStem(0));
  EXPECT_EQ(a.GetVoiceStem(1), b.GetVoiceStem(1));
  EXPECT_EQ(a.GetRhythmCode(), b.GetRhythmCode());
}

TEST_F(KChordRecord, EmptyColumnIsTwelveBytes) {
  KChord column(5);
  EXPECT_EQ(StoreFields(column), Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(KChordRecord, EntriesStoreWithEscapesOnlyForFlagAndNudge) {
  KChord tab(2, 80);  // tablature column of duration 1
  ASSERT_EQ(tab.AddNote(3, 230, 3 | 5 << 8, 1), 0);
  EXPECT_EQ(StoreFields(tab), Concat({Head(2, 0, 0, 1), {13, 106, 3, 105, 5, 230}, {80}}));

  KChord staff(1, 18, 9, 2);
  ASSERT_EQ(staff.AddNote(18, 28, 0x0100), 2);  // a sharp nudged one step right: the new count
  EXPECT_EQ(StoreFields(staff), Concat({Head(1, 6, 0, 2), {18, 9}, {18, 105, 1, 28}, {2}}));
}

TEST_F(KChordRecord, SignatureNumbersInTheEscapeRangeAreCodes) {
  // 6/4: entry 1 holds 105 (6 beats), which a note column would take as an escape.
  const Bytes record = Concat({Head(0, 6, 6, 3), {1, 225, 1, 105, 1, 103}, {0}});
  KChord column;
  LoadFields(column, record);
  ASSERT_EQ(column.GetNoteCount(), 3);
  EXPECT_EQ(column.GetNote(1).code, 105);
  EXPECT_EQ(column.GetNote(2).code, 103);
  EXPECT_EQ(StoreFields(column), record);
}

TEST_F(KChordRecord, NudgedSignaturesSurviveTheRoundTrip) {
  // A time signature of 5 beats (code 104) whose entries carry nudges, and a
  // key signature whose key entry is nudged: written plainly, the reader would
  // take the later escapes as codes and lose its place in the file.
  KChord time(4);
  time.AddNote(1, 225, 3 << 8);
  time.AddNote(1, 104, 1 << 8);
  time.AddNote(1, 103);
  KChord key(6);
  key.AddNote(1, 254);
  key.AddNote(1, 12, 2 << 8);
  for (KChord* column : {&time, &key}) {
    KChord loaded;
    LoadFields(loaded, StoreFields(*column));
    ExpectSameColumn(loaded, *column);
  }
}

TEST_F(KChordRecord, RhythmUnitsAbove7AreCleared) {
  struct Case {
    int stored;
    int loaded;
  };
  for (const Case c : {Case{78, 70}, Case{79, 70}, Case{77, 77}, Case{248, 240}, Case{3, 3}}) {
    KChord column;
    LoadFields(column, ColumnRecord(0, 0, 0, c.stored, {}));
    EXPECT_EQ(column.GetRhythmCode(), c.loaded) << c.stored;
  }
}

TEST_F(KChordRecord, OlderLayoutsAreBroughtUpToDate) {
  struct Case {
    const char* what;
    int version;
    Bytes record;
    std::vector<NotePair> rawEntries;  // (value, code) after the load
    int stem0;
  };
  const Case cases[] = {
      // Before 20 a tablature column's duration lived in the column only.
      {"entry durations added", 19, ColumnRecord(0, 0, 0, 90, {{3, 228}, {4, 36}}), {{23, 228}, {4, 36}}, 0},
      {"entry durations kept", 20, ColumnRecord(0, 0, 0, 90, {{3, 228}, {4, 36}}), {{3, 228}, {4, 36}}, 0},
      // Before 3494 tablature entries could stand in any string order.
      {"strings sorted",
       3493,
       ColumnRecord(0, 0, 0, 70, {{5, 230}, {5, 36}, {2, 228}, {9, 40}}),
       {{2, 228}, {5, 230}, {5, 36}, {9, 40}},
       0},
      {"strings left", 3494, ColumnRecord(0, 0, 0, 70, {{5, 230}, {2, 228}}), {{5, 230}, {2, 228}}, 0},
      // Before 32 quarters and halves had no plain stem mark.
      {"stems set", 31, ColumnRecord(0, 0, 0, 0, {{18, 9}}), {{18, 9}}, 6},
      {"stems kept", 32, ColumnRecord(0, 0, 0, 0, {{18, 9}}), {{18, 9}}, 0},
      // Signature entries always stand on row 1.
      {"signature rows", 3940, ColumnRecord(0, 6, 6, 0, {{7, 254}, {9, 4}}), {{1, 254}, {1, 4}}, 6},
  };
  for (const Case& c : cases) {
    g_fileVersion = c.version;
    KChord column;
    LoadFields(column, c.record);
    ASSERT_EQ(column.GetNoteCount(), int(c.rawEntries.size())) << c.what;
    for (int i = 0; i < column.GetNoteCount(); ++i) {
      EXPECT_EQ(column.GetRawNote(i).position, c.rawEntries[i].position) << c.what << " entry " << i;
      EXPECT_EQ(column.GetRawNote(i).code, c.rawEntries[i].code) << c.what << " entry " << i;
    }
    EXPECT_EQ(column.GetVoiceStem(0), c.stem0) << c.what;
  }
}

TEST_F(KChordRecord, OldFilesGetTheirNoteHeadsArranged) {
  g_fileVersion = 31;
  KChord column;
  LoadFields(column, ColumnRecord(0, 0, 0, 0, {{17, 1}, {18, 1}}));  // a second in voice 0
  EXPECT_EQ(column.GetNoteOffset(1, false), -8);
}

TEST_F(KChordRecord, UnknownEntryBlocksAreSkippedQuietlyAndTheEntryKeepsItsValue) {
  const Bytes record = Concat({Head(0, 0, 0, 2), {10, 104, 3, 0xAA, 0xBB, 0xCC}, {12, 9}, {0}});
  KChord column;
  LoadFields(column, record);
  ASSERT_EQ(column.GetNoteCount(), 2);
  EXPECT_EQ(column.GetNote(0).position, 10);
  EXPECT_EQ(column.GetNote(0).code, KChord::kEmptyCode);
  EXPECT_EQ(column.GetNote(1).position, 12);
  EXPECT_EQ(column.GetNote(1).code, 9);
  EXPECT_TRUE(m_ui.Messages().empty());

  // Stored again, the entry stays with its value and reads back the same.
  const Bytes stored = StoreFields(column);
  EXPECT_EQ(stored, Concat({Head(0, 0, 0, 2), {10, KChord::kEmptyCode}, {12, 9}, {0}}));
  KChord again;
  LoadFields(again, stored);
  ExpectSameColumn(column, again);
}

TEST_F(KChordRecord, MarkedSymbolRaisesTheLoadMarker) {
  KChord column;
  LoadFields(column, ColumnRecord(0, 0, 0, 0, {{12, 70}}));
  EXPECT_EQ(g_loadMarker, 1);
  EXPECT_EQ(column.GetNote(0).code, 70);
}

TEST_F(KChordRecord, MoreEntriesThanTheColumnHoldsIsADamagedFile) {
  Bytes record = Head(9, 0, 0, 21);
  for (int i = 0; i < 21; ++i) record.insert(record.end(), {BYTE(10 + i), 9});
  record.push_back(0);
  KChord column(3, 12, 8, 0);
  CMemFile file(record.data(), record.size());
  CArchive ar(&file, CArchive::load);
  try {
    column.Serialize(ar);
    FAIL() << "a count of 21 was accepted";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::generic);
  }
  // Nothing of the damaged record was taken over.
  EXPECT_EQ(column.GetPos(), 3);
  EXPECT_EQ(column.GetNoteCount(), 1);
  EXPECT_EQ(column.GetNote(0).code, 8);
}

TEST_F(KChordRecord, TruncatedRecordsFailAtEveryOffset) {
  // A list of two columns written through the object protocol, so that a
  // failure inside the second column's record must delete it.
  KChord first(1, 80);
  first.AddNote(3, 230, 3 | 5 << 8, 1);
  first.AddNote(3, 36);
  KChord second(2, 18, 9, 0);
  second.AddNote(18, 28, 1 << 8);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<const CObject*>(&first) << static_cast<const CObject*>(&second);
    ar.Close();
  }
  const Bytes whole = file.Data();
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    CMemFile part(whole.data(), cut);
    CArchive ar(&part, CArchive::load);
    std::unique_ptr<CObject> a;
    std::unique_ptr<CObject> b;
    try {
      CObject* p = nullptr;
      ar >> p;
      a.reset(p);
      ar >> p;
      b.reset(p);
      ADD_FAILURE() << "a record cut at " << cut << " of " << whole.size() << " bytes was read";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << cut;
    }
  }
}

TEST_F(KChordRecord, ColumnsReadBackAsWritten) {
  KChord bar(3, 1, 25, 0);
  bar.AddNote(1, 24);
  KChord chord(4, 18, 9, 0);
  chord.AddNote(16, 9);
  chord.AddNote(16, 30, 2);
  chord.AddNote(20, 10085);
  chord.SetStemEnd(0, 61);
  KChord tab(5, 90);
  tab.AddNote(2, 236, 0, 2);
  tab.AddNote(4, 229, 0, 2);
  tab.AddNote(4, 10080);
  for (KChord* column : {&bar, &chord, &tab}) {
    const Bytes bytes = StoreFields(*column);
    KChord loaded;
    LoadFields(loaded, bytes);
    ExpectSameColumn(loaded, *column);
    EXPECT_EQ(StoreFields(loaded), bytes);
  }
}

}  // namespace

namespace {

TEST_F(KChordRecord, DamagedBytesLoadCleanlyOrFail) {
  // Random records around the real layout: each either loads as a sound
  // column that stores and reloads to itself, or fails as an archive error.
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(11, 40);
  const BYTE interesting[] = {0, 1, 20, 21, 70, 104, 105, 106, 225, 226, 250, 254, 255};
  std::uniform_int_distribution<int> pick(0, int(std::size(interesting)) - 1);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes record(length(random));
    for (BYTE& b : record) b = random() % 3 == 0 ? interesting[pick(random)] : BYTE(byte(random));
    record[10] = BYTE(random() % 8);  // a plausible entry count
    KChord column;
    try {
      CMemFile file(record.data(), record.size());
      CArchive ar(&file, CArchive::load);
      column.Serialize(ar);
    } catch (const CArchiveException&) {
      continue;
    }
    ++loaded;
    ASSERT_LE(column.GetNoteCount(), KChord::kMaxNotes);
    const Bytes stored = StoreFields(column);
    KChord again;
    LoadFields(again, stored);
    EXPECT_EQ(StoreFields(again), stored) << "round " << round;
  }
  EXPECT_GT(loaded, 100);
}

}  // namespace
