// The play-direction and jump records of playback.

#include <gtest/gtest.h>

#include <utility>

#include "model/KJTObj.h"
#include "model/KPDObj.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"

TEST(KPDObj, StartsWithEntryZeroAndNoTargets) {
  const KPDObj direction(3, 2, 40, 7);
  EXPECT_EQ(direction.GetKind(), 3);
  EXPECT_EQ(direction.GetStart(), std::make_pair(2, 40));
  EXPECT_EQ(direction.GetEnd(), std::make_pair(2, 40));
  EXPECT_EQ(direction.GetValue(), 7);
  EXPECT_EQ(direction.GetCursor(), 0);
  struct Case {
    int index;
    int entry;
  };
  for (const Case c : {Case{0, 0}, Case{1, -1}, Case{5, -1}, Case{9, -1}, Case{10, -1}, Case{-1, -1}}) {
    EXPECT_EQ(direction.GetPassEntry(c.index), c.entry) << "index " << c.index;
  }
}

TEST(KPDObj, EndColumnAndSetters) {
  KPDObj direction(1, 4, 10, 0, 25);
  EXPECT_EQ(direction.GetStart(), std::make_pair(4, 10));
  EXPECT_EQ(direction.GetEnd(), std::make_pair(4, 25));
  direction.SetEnd(6, 3);
  direction.SetValue(-2);
  EXPECT_EQ(direction.GetEnd(), std::make_pair(6, 3));
  EXPECT_EQ(direction.GetValue(), -2);
}

TEST(KPDObj, PassEntriesOutsideTheTableChangeNothing) {
  KPDObj direction(0, 0, 0, 0);
  for (int index : {-1, 10, 1000}) direction.SetPassEntry(index, 55);
  for (int i = 0; i < KPDObj::kPassCount; ++i) EXPECT_EQ(direction.GetPassEntry(i), i == 0 ? 0 : -1);
  direction.SetPassEntry(9, 12);
  EXPECT_EQ(direction.GetPassEntry(9), 12);
}

TEST(KPDObj, CursorAdvancesOnlyPastPositiveEntriesAndStopsAtNine) {
  KPDObj direction(0, 0, 0, 0);
  direction.AdvanceCursor();  // entry 0 is 0: stays
  EXPECT_EQ(direction.GetCursor(), 0);
  for (int i = 0; i < KPDObj::kPassCount; ++i) direction.SetPassEntry(i, i + 1);
  for (int step = 0; step < 15; ++step) direction.AdvanceCursor();
  EXPECT_EQ(direction.GetCursor(), 9);
  direction.SetPassEntry(9, 0);
  direction.AdvanceCursor();
  EXPECT_EQ(direction.GetCursor(), 9);

  KPDObj negative(0, 0, 0, 0);
  negative.SetPassEntry(0, -1);
  negative.AdvanceCursor();
  EXPECT_EQ(negative.GetCursor(), 0);
}

TEST(KJTObj, TargetUnsetUntilSet) {
  KJTObj jump(3, 17);
  EXPECT_EQ(jump.GetJumpLine(), 3);
  EXPECT_EQ(jump.GetJumpColumn(), 17);
  EXPECT_EQ(jump.GetTargetLine(), -1);
  EXPECT_EQ(jump.GetTargetColumn(), -1);
  jump.SetTarget(1, 0);
  EXPECT_EQ(jump.GetTargetLine(), 1);
  EXPECT_EQ(jump.GetTargetColumn(), 0);
}

// Neither record reaches a file: both answer CObject's class record and
// write nothing.
TEST(KPDObj, RecordsAreNotStored) {
  KPDObj direction(2, 1, 5, 9);
  KJTObj jump(1, 5);
  EXPECT_EQ(direction.GetRuntimeClass(), RUNTIME_CLASS(CObject));
  EXPECT_EQ(jump.GetRuntimeClass(), RUNTIME_CLASS(CObject));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    direction.Serialize(ar);
    jump.Serialize(ar);
    ar.Close();
  }
  EXPECT_TRUE(file.Data().empty());
}
