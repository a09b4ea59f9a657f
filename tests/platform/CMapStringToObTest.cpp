// The string-keyed object map.

#include <gtest/gtest.h>

#include <vector>

#include "platform/CMapStringToOb.h"

namespace {

// Counts its deletions, so that the map's ownership rules show.
struct Counted : CObject {
  explicit Counted(int* deleted) : m_deleted(deleted) {}
  ~Counted() override { ++*m_deleted; }
  int* m_deleted;
};

TEST(CMapStringToOb, LookupSetReplaceAndRemove) {
  int deleted = 0;
  Counted a(&deleted), b(&deleted);
  CMapStringToOb map(4);
  CObject* found = &a;
  EXPECT_FALSE(map.Lookup("key", found));
  EXPECT_EQ(found, &a);  // untouched on a miss
  map.SetAt("key", &a);
  map.SetAt("Key", &b);  // keys are case sensitive
  ASSERT_TRUE(map.Lookup("key", found));
  EXPECT_EQ(found, &a);
  map.SetAt("key", &b);
  ASSERT_TRUE(map.Lookup("key", found));
  EXPECT_EQ(found, &b);
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_TRUE(map.RemoveKey("key"));
  EXPECT_FALSE(map.RemoveKey("key"));
  EXPECT_EQ(map.GetCount(), 1);
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(deleted, 0);  // the map never deletes what it holds
}

TEST(CMapStringToOb, IterationVisitsEveryKeyInByteOrder) {
  CMapStringToOb map;
  int deleted = 0;
  Counted one(&deleted), two(&deleted), three(&deleted);
  map.SetAt("b", &two);
  map.SetAt(CString("a\0x", 3), &one);  // keys may hold any byte
  map[CString("c")] = &three;
  std::vector<std::string> keys;
  std::vector<CObject*> values;
  for (POSITION position = map.GetStartPosition(); position != nullptr;) {
    CString key;
    CObject* value = nullptr;
    map.GetNextAssoc(position, key, value);
    keys.push_back(key.Str());
    values.push_back(value);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{std::string("a\0x", 3), "b", "c"}));
  EXPECT_EQ(values, (std::vector<CObject*>{&one, &two, &three}));
  EXPECT_EQ(CMapStringToOb().GetStartPosition(), nullptr);
}

TEST(CMapStringToOb, DeleteAllValuesDeletesAndEmpties) {
  int deleted = 0;
  CMapStringToOb map;
  map.SetAt("x", new Counted(&deleted));
  map.SetAt("y", new Counted(&deleted));
  map.DeleteAllValues();
  EXPECT_EQ(deleted, 2);
  EXPECT_TRUE(map.IsEmpty());
}

}  // namespace
