// The line-group record: hand-built byte fixtures, round trips, damaged and
// truncated records.

#include <climits>
#include <cstdint>
#include <memory>

#include "KLineGroupTestSupport.h"
#include "common/AppServices.h"
#include "model/ModelGlobals.h"

namespace {

using Ints = std::vector<int>;

class KLineGroupRecord : public LineTest {
 protected:
  KLineGroupRecord() { CRuntimeClass::Register({RUNTIME_CLASS(KLineGroup)}); }

  // A group of the kinds and raw bracket numbers, without lines.
  static std::unique_ptr<KLineGroup> Group(int id, const Ints& types, const Ints& brackets, DWORD flags) {
    auto group = std::make_unique<KLineGroup>(id, int(types.size()), flags);
    for (std::size_t i = 0; i < types.size(); ++i) {
      group->SetSlotType(int(i), types[i]);
      if (i < brackets.size()) group->SetSlotBracket(int(i), brackets[i]);
    }
    group->ModifyFlags(~0u, 0);
    group->ModifyFlags(flags, 1);
    return group;
  }

  // The record's head: id, count, flag byte, four reserved words.
  static RecordBytes Head(int id, int count, int flags) {
    RecordBytes b;
    b.Int(id).Byte(count).Byte(flags);
    for (int i = 0; i < 4; ++i) b.Int(0);
    return b;
  }
  static void Slot(RecordBytes& b, int bracket, int type, std::uint32_t packed = 0) {
    b.Byte(bracket).Byte(type).Int(int(packed)).Int(0);
  }
};

// Thirteen slots: records for slots 0..9; slots 10 and 11 in the first packed
// word, slot 12 in the high half of the second.
const Ints kThirteenTypes = {0, 2, 1, 15, 5, 3, 4, 0, 9, 10, 2, 13, 16};
const Ints kThirteenBrackets = {1, 1, 0, 0, 0, 0, 0, 2, 2, 0, 3, 0, 3};

Bytes ThirteenLineRecord() {
  RecordBytes b;
  b.Int(4242).Byte(10).Byte(0x31);
  for (int i = 0; i < 4; ++i) b.Int(0);
  const std::uint32_t packed[10] = {
      0x0303000E,  // slot 10: bracket 3, kind 2 + 1; slot 11: bracket 0, kind 13 + 1
      0x03110000,  // slot 12: bracket 3, kind 16 + 1; no slot 13
  };
  for (int i = 0; i < 10; ++i)
    b.Byte(kThirteenBrackets[i]).Byte(kThirteenTypes[i]).Int(int(packed[i])).Int(0);
  return b.Get();
}

TEST_F(KLineGroupRecord, ThirteenLinesStoreTenRecordsWithSlotsTenToTwelvePacked) {
  auto group = Group(4242, kThirteenTypes, kThirteenBrackets, 0x131);
  EXPECT_EQ(StoreFields(*group), ThirteenLineRecord()) << "only the flags' low byte is stored";

  KLineGroup loaded;
  LoadFields(loaded, ThirteenLineRecord());
  EXPECT_EQ(loaded.GetId(), 4242);
  EXPECT_EQ(SlotTypes(loaded), kThirteenTypes);
  EXPECT_EQ(SlotBrackets(loaded), kThirteenBrackets);
  EXPECT_EQ(loaded.GetFlags(), 0x31u);
  EXPECT_EQ(loaded.GetNoteLineCount(), 10);
  EXPECT_EQ(loaded.GetSlotType(13), KLineGroup::kEmptySlotType);
  EXPECT_EQ(g_lineGroupRepair, 0);
}

TEST_F(KLineGroupRecord, EveryCountRoundTrips) {
  for (int count : {0, 1, 9, 10, 11, 12, 19, 20}) {
    SCOPED_TRACE(count);
    Ints types;
    Ints brackets;
    for (int i = 0; i < count; ++i) {
      types.push_back((i * 7) % 17);
      brackets.push_back(i % 5);
    }
    auto group = Group(-3 + count, types, brackets, 0x48);
    const Bytes bytes = StoreFields(*group);
    EXPECT_EQ(bytes.size(), 22u + 10u * std::min(count, 10));
    KLineGroup loaded;
    LoadFields(loaded, bytes);
    EXPECT_EQ(loaded.GetId(), -3 + count);
    EXPECT_EQ(SlotTypes(loaded), types);
    EXPECT_EQ(SlotBrackets(loaded), brackets);
    EXPECT_EQ(loaded.GetFlags(), 0x48u);
    EXPECT_EQ(StoreFields(loaded), bytes);
  }
}

TEST_F(KLineGroupRecord, HandBuiltRecordsLoad) {
  struct Case {
    const char* name;
    Bytes bytes;
    int id;
    Ints types;
    Ints brackets;
    DWORD flags;
    int repair;
    int warned;
  };
  std::vector<Case> cases;
  {
    RecordBytes b;
    b.Int(5).Byte(1).Byte(250).Byte(2).Byte(7).Byte(8).Byte(4);  // an extension block of two bytes
    for (int i = 0; i < 4; ++i) b.Int(0);
    Slot(b, 1, 2);
    cases.push_back({"an extension block before the flags is skipped", b.Get(), 5, {2}, {1}, 4, 0, 1});
  }
  {
    RecordBytes b = Head(10000, 2, 0);
    Slot(b, 0, 0);
    Slot(b, 0, 200);
    cases.push_back({"a bad kind marks the group", b.Get(), -1000100, {0, 200}, {0, 0}, 0, 1, 0});
  }
  {
    RecordBytes b = Head(12, 10, 0);
    Slot(b, 0, 5, 0x00000201);  // slot 10: kind byte 0 (kind -1); slot 11: bracket 2, kind 0
    for (int i = 1; i < 10; ++i) Slot(b, 0, 5);
    cases.push_back({"a packed kind of -1 marks the group",
                     b.Get(),
                     -1300,
                     {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, -1, 0},
                     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2},
                     0,
                     1,
                     0});
  }
  {
    RecordBytes b = Head(3, 2, 0);
    Slot(b, 9, 0);
    Slot(b, 4, 2, 0x03030303);  // a packed word of a short group is ignored
    cases.push_back({"a bracket number above 4 reads as 0", b.Get(), 3, {0, 2}, {0, 4}, 0, 0, 0});
  }
  {
    RecordBytes b = Head(3, 10, 0);
    for (int i = 0; i < 10; ++i) Slot(b, 0, 1, i == 1 ? 0x01020103 : 0);
    cases.push_back(
        {"a first packed word of 0 means ten slots", b.Get(), 3, Ints(10, 1), Ints(10, 0), 0, 0, 0});
  }
  {
    RecordBytes b = Head(3, 10, 0);
    for (int i = 0; i < 10; ++i) Slot(b, 0, 1, i == 0 ? 0x01030000 : 0x02040205);
    Ints types(10, 1);
    types.push_back(2);
    Ints brackets(10, 0);
    brackets.push_back(1);
    cases.push_back({"an empty low half ends the packed slots", b.Get(), 3, types, brackets, 0, 0, 0});
  }
  {
    RecordBytes b = Head(3, 10, 0);
    for (int i = 0; i < 10; ++i) Slot(b, 0, 1, 0x01030204);  // twenty more slots announced
    Ints types(10, 1);
    Ints brackets(10, 0);
    for (int i = 0; i < 5; ++i) {
      types.insert(types.end(), {2, 3});
      brackets.insert(brackets.end(), {1, 2});
    }
    cases.push_back({"no more than 20 slots are filled", b.Get(), 3, types, brackets, 0, 0, 0});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_lineGroupRepair = 0;
    g_newerFileWarned = 0;
    KLineGroup loaded;
    LoadFields(loaded, c.bytes);
    EXPECT_EQ(loaded.GetId(), c.id);
    EXPECT_EQ(SlotTypes(loaded), c.types);
    EXPECT_EQ(SlotBrackets(loaded), c.brackets);
    EXPECT_EQ(loaded.GetFlags(), c.flags);
    EXPECT_EQ(g_lineGroupRepair, c.repair);
    EXPECT_EQ(g_newerFileWarned, c.warned);
    EXPECT_EQ(loaded.GetKeySignature(), 0);
  }
  EXPECT_EQ(m_ui.CountOf(7089), 1) << "the newer-file warning is shown once";
}

TEST_F(KLineGroupRecord, BadGroupIdAlwaysReadsAsBad) {
  struct Case {
    int id;
    int marked;
  };
  const std::vector<Case> cases = {
      {10000, -1000100},  {0, -100},     {21474835, -2147483600}, {21474836, INT_MIN},
      {INT_MAX, INT_MIN}, {-1, INT_MIN}, {-5, INT_MIN},           {INT_MIN, INT_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KLineGroup::BadGroupId(c.id), c.marked) << c.id;
    EXPECT_LT(KLineGroup::BadGroupId(c.id), -99);
  }
}

TEST_F(KLineGroupRecord, MoreThanTenSlotRecordsAreRefused) {
  for (int count : {11, 20, 21, 255}) {
    SCOPED_TRACE(count);
    RecordBytes b = Head(9, count, 0);
    for (int i = 0; i < count; ++i) Slot(b, 0, 2);
    auto group = Group(77, {0, 2}, {1, 1}, 0x20);
    try {
      LoadFields(*group, b.Get());
      ADD_FAILURE() << "loaded";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::generic);
    }
    EXPECT_EQ(group->GetId(), 77);
    EXPECT_EQ(SlotTypes(*group), (Ints{0, 2}));
    EXPECT_EQ(SlotBrackets(*group), (Ints{1, 1}));
    EXPECT_EQ(group->GetFlags(), 0x20u);
  }
}

TEST_F(KLineGroupRecord, TruncationAtEveryOffsetFailsAndChangesNothing) {
  // Thirteen slots, an extension block and a bad kind in a packed slot: a
  // complete load would change the id and raise the repair flag.
  RecordBytes b;
  b.Int(31).Byte(10).Byte(250).Byte(1).Byte(0).Byte(6);
  for (int i = 0; i < 4; ++i) b.Int(0);
  for (int i = 0; i < 10; ++i) Slot(b, 1, 2, i == 0 ? 0x0100FF00 : i == 1 ? 0x02030000 : 0);
  const Bytes full = b.Get();
  {
    KLineGroup loaded;
    LoadFields(loaded, full);
    ASSERT_EQ(loaded.GetSlotCount(), 13);
    ASSERT_EQ(loaded.GetId(), -3200);
    ASSERT_EQ(g_lineGroupRepair, 1);
  }

  for (std::size_t size = 0; size < full.size(); ++size) {
    SCOPED_TRACE(size);
    g_lineGroupRepair = 0;
    auto group = Group(77, {0, 2}, {1, 1}, 0x20);
    CMemFile file(full.data(), size);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(group->Serialize(ar), CArchiveException);
    EXPECT_EQ(group->GetId(), 77);
    EXPECT_EQ(SlotTypes(*group), (Ints{0, 2}));
    EXPECT_EQ(group->GetFlags(), 0x20u);
    EXPECT_EQ(g_lineGroupRepair, 0);
  }
}

TEST_F(KLineGroupRecord, TruncatedObjectRecordsLeaveNothingBehind) {
  auto group = Group(4242, kThirteenTypes, kThirteenBrackets, 0x31);
  const Bytes full = StoreObject(*group);
  for (std::size_t size = 0; size < full.size(); ++size) {
    SCOPED_TRACE(size);
    CMemFile file(full.data(), size);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(delete ar.ReadObject(RUNTIME_CLASS(KLineGroup)), CArchiveException);
  }
  CMemFile file(full.data(), full.size());
  CArchive ar(&file, CArchive::load);
  std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(KLineGroup)));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(SlotTypes(static_cast<KLineGroup&>(*object)), kThirteenTypes);
}

TEST_F(KLineGroupRecord, FlagByteEqualToTheExtensionMarkerSurvivesARoundTrip) {
  auto group = Group(1, {0}, {}, 0x1FA);
  const Bytes bytes = StoreFields(*group);
  RecordBytes expected;
  expected.Int(1).Byte(1).Byte(250).Byte(0).Byte(250);
  for (int i = 0; i < 4; ++i) expected.Int(0);
  Slot(expected, 0, 0);
  EXPECT_EQ(bytes, expected.Get());

  KLineGroup loaded;
  LoadFields(loaded, bytes);
  EXPECT_EQ(loaded.GetFlags(), 0xFAu);
  EXPECT_EQ(SlotTypes(loaded), (Ints{0}));
  EXPECT_TRUE(m_ui.Messages().empty()) << "an empty block is no newer-file warning";
}

}  // namespace
