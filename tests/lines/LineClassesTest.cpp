#include <gtest/gtest.h>

#include <memory>

#include "lines/LineClasses.h"
#include "platform/CObject.h"

// Every class name that score files carry must create an object of that class.
TEST(LineClasses, EveryStoredClassNameCreatesItsClass) {
  RegisterLineClasses();
  RegisterLineClasses();  // a second call is harmless
  const char* names[] = {"KPosObj",  "KChordPic",     "KExtendedObj", "KRhythmObj", "KLineGroup",
                         "KLineObj", "KListLine",     "KChord",       "KTabLine",   "KStaffLine",
                         "KStrLine", "KChordPicLine", "KRhythmLine"};
  for (const char* name : names) {
    const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(name);
    ASSERT_NE(runtimeClass, nullptr) << name;
    EXPECT_EQ(runtimeClass->m_wSchema, 90) << name;
    std::unique_ptr<CObject> object(runtimeClass->CreateObject());
    ASSERT_NE(object, nullptr) << name;
    EXPECT_EQ(object->GetRuntimeClass(), runtimeClass) << name;
  }
}
