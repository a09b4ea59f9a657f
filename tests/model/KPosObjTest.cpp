#include <memory>

#include "ModelTestSupport.h"
#include "model/KPosObj.h"

namespace {

class KPosObjTest : public ModelTest {};

TEST_F(KPosObjTest, PositionKeepsItsLow16BitsThroughTheFile) {
  struct Case {
    int pos;
    int readBack;
  };
  const Case cases[] = {{0, 0}, {1234, 1234}, {65535, 65535}, {70000, 4464}, {-1, 65535}};
  for (const Case& c : cases) {
    KPosObj stored(c.pos);
    const Bytes bytes = StoreFields(stored);
    ASSERT_EQ(bytes.size(), 2u);
    KPosObj loaded;
    LoadFields(loaded, bytes);
    EXPECT_EQ(loaded.GetPos(), c.readBack) << c.pos;
  }
}

TEST_F(KPosObjTest, MoveByRefusesNegativePositionsButReportsTheTarget) {
  struct Case {
    int start;
    int delta;
    int result;
    int after;
  };
  const Case cases[] = {{3, -5, -2, 3}, {3, -3, 0, 0}, {3, 4, 7, 7}, {0, -1, -1, 0}};
  for (const Case& c : cases) {
    KPosObj obj(c.start);
    EXPECT_EQ(obj.MoveBy(c.delta), c.result) << c.start << " by " << c.delta;
    EXPECT_EQ(obj.GetPos(), c.after) << c.start << " by " << c.delta;
  }
}

TEST_F(KPosObjTest, SetPosStoresWithoutTest) {
  KPosObj obj(5);
  EXPECT_EQ(obj.SetPos(-7), -7);
  EXPECT_EQ(obj.GetPos(), -7);
}

TEST_F(KPosObjTest, ClassesAreRegisteredUnderTheirFileNamesWithSchema90) {
  for (const char* name : {"KPosObj", "KChord"}) {
    const CRuntimeClass* cls = CRuntimeClass::FromName(name);
    ASSERT_NE(cls, nullptr) << name;
    EXPECT_EQ(cls->m_wSchema, 90u) << name;
    std::unique_ptr<CObject> made(cls->CreateObject());
    ASSERT_NE(made, nullptr) << name;
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(KPosObj))) << name;
  }
  EXPECT_TRUE(RUNTIME_CLASS(KChord)->IsDerivedFrom(RUNTIME_CLASS(KPosObj)));
}

TEST_F(KPosObjTest, ObjectsTravelThroughTheArchiveObjectProtocol) {
  KChord column(300, 12, 9, 0);
  KPosObj plain(7);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<const CObject*>(&column) << static_cast<const CObject*>(&plain);
    ar.Close();
  }
  // The class records carry the names and schema the score file expects.
  const Bytes& bytes = file.Data();
  const Bytes head = {0xFF, 0xFF, 90, 0, 6, 0, 'K', 'C', 'h', 'o', 'r', 'd'};
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + head.size()), head);

  file.SeekToBegin();
  CArchive in(&file, CArchive::load);
  CObject* first = nullptr;
  CObject* second = nullptr;
  in >> first >> second;
  std::unique_ptr<CObject> a(first);
  std::unique_ptr<CObject> b(second);
  auto* loadedColumn = dynamic_cast<KChord*>(a.get());
  ASSERT_NE(loadedColumn, nullptr);
  EXPECT_EQ(loadedColumn->GetPos(), 300);
  EXPECT_EQ(loadedColumn->GetNote(0).code, 9);
  ASSERT_NE(b.get(), nullptr);
  EXPECT_EQ(b->GetRuntimeClass(), RUNTIME_CLASS(KPosObj));
  EXPECT_EQ(static_cast<KPosObj*>(b.get())->GetPos(), 7);
}

}  // namespace
