#include <gtest/gtest.h>

#include <memory>

#include "ModelTestSupport.h"
#include "model/KBigChord.h"

namespace {

TEST(KBigChordTest, NewEntryIsEmptyAtItsColumn) {
  auto entry = std::make_unique<KBigChord>(17);
  EXPECT_EQ(entry->GetPos(), 17);
  EXPECT_EQ(entry->itemCount, 0);
  EXPECT_EQ(entry->ledgerCount, 0);
  EXPECT_EQ(entry->stemCount, 0);
  EXPECT_EQ(entry->beamCount, 0);
  EXPECT_EQ(entry->beamX2[KBigChord::kMaxBeams - 1], 0);
}

TEST(KBigChordTest, StoresAsPlainPositionedObject) {
  RegisterModelClasses();
  KBigChord entry(70000);
  entry.itemCount = 3;
  const std::unique_ptr<CObject> read = StoreAndReadObject(entry);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetRuntimeClass(), RUNTIME_CLASS(KPosObj));
  EXPECT_EQ(static_cast<KPosObj&>(*read).GetPos(), 4464);
}

}  // namespace
