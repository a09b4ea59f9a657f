#include "ArchiveTestClasses.h"

#include "platform/CObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

class CObjectTest : public testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

TEST_F(CObjectTest, DerivationFollowsTheBaseChain) {
  struct Case {
    const CRuntimeClass* cls;
    const CRuntimeClass* base;
    bool derived;
  };
  const Case cases[] = {
      {RUNTIME_CLASS(TAccent), RUNTIME_CLASS(TAccent), true},
      {RUNTIME_CLASS(TAccent), RUNTIME_CLASS(TNote), true},
      {RUNTIME_CLASS(TAccent), RUNTIME_CLASS(CObject), true},
      {RUNTIME_CLASS(TNote), RUNTIME_CLASS(TAccent), false},
      {RUNTIME_CLASS(TGroup), RUNTIME_CLASS(TNote), false},
      {RUNTIME_CLASS(TNote), nullptr, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.cls->IsDerivedFrom(c.base), c.derived) << c.cls->m_lpszClassName;
  }
  const TAccent accent;
  EXPECT_TRUE(accent.IsKindOf(RUNTIME_CLASS(TNote)));
  EXPECT_EQ(accent.GetRuntimeClass(), RUNTIME_CLASS(TAccent));
  EXPECT_STREQ(RUNTIME_CLASS(TAccent)->m_lpszClassName, "TAccent");
  EXPECT_EQ(RUNTIME_CLASS(TAccent)->m_wSchema, 90u);
}

TEST_F(CObjectTest, OnlySerialClassesAreCreatedAndStored) {
  const std::unique_ptr<CObject> created(RUNTIME_CLASS(TAccent)->CreateObject());
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->GetRuntimeClass(), RUNTIME_CLASS(TAccent));
  EXPECT_TRUE(created->IsSerializable());

  EXPECT_EQ(RUNTIME_CLASS(TPlain)->CreateObject(), nullptr);
  EXPECT_FALSE(RUNTIME_CLASS(TPlain)->IsSerializable());
  EXPECT_FALSE(RUNTIME_CLASS(CObject)->IsSerializable());
}

TEST_F(CObjectTest, RegistryFindsExactNamesOnly) {
  EXPECT_EQ(CRuntimeClass::FromName("TGroup"), RUNTIME_CLASS(TGroup));
  EXPECT_EQ(CRuntimeClass::FromName(CString("TNote")), RUNTIME_CLASS(TNote));
  EXPECT_EQ(CRuntimeClass::FromName("tgroup"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("TGroup "), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);

  // Registering again is harmless; another record under a taken name is not.
  EXPECT_NO_THROW(RegisterTestClasses());
  static const CRuntimeClass impostor = {"TNote", 0, 90, nullptr, RUNTIME_CLASS(CObject)};
  EXPECT_THROW(CRuntimeClass::Register(&impostor), std::logic_error);
  EXPECT_EQ(CRuntimeClass::FromName("TNote"), RUNTIME_CLASS(TNote));
}

}  // namespace
