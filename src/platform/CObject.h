#pragma once
// CObject, the root of every class that the archive stores, and CRuntimeClass,
// the record that names a class, gives its schema and base, and creates an
// empty object of it when an archive is read.
//
// A class declares itself with one line in its header and one in its source:
//
//   class KChord : public KPosObj {
//     DECLARE_SERIAL(KChord);          // leaves the class in public access
//     ...
//   };
//   IMPLEMENT_SERIAL(KChord, KPosObj, 90);   // in KChord.cpp
//
// DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC give a class a runtime record only;
// DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE add creation by default constructor;
// DECLARE_SERIAL / IMPLEMENT_SERIAL add a schema (so the archive can store it)
// and `ar >> pointer` typed to the class. RUNTIME_CLASS(K) is K's record.
//
// The registry that maps stored class names to records is filled explicitly:
// the code that reads archives calls CRuntimeClass::Register with the classes
// it can meet (the model has one function that registers all its classes)
// before the first load. Registration by static initialisers is deliberately
// not used: in a static library, an object file that nothing references is
// not linked, so its initialiser would silently never run and its class would
// be "unknown" when a file is read. Naming each class in a register call also
// makes the linker keep it. The registry itself is a function-local static,
// free of initialisation-order problems. Registration happens on the UI
// thread at start-up; the registry is not locked.

#include "platform/WinTypes.h"

#include <initializer_list>
#include <string_view>

class CArchive;
class CObject;

struct CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                     // 0xFFFF for classes the archive cannot store
  CObject* (*m_pfnCreateObject)();    // null for classes that cannot be created by name
  const CRuntimeClass* m_pBaseClass;  // null only for CObject

  // A new object made by the default constructor, or null when the class has
  // no factory. The caller owns it.
  CObject* CreateObject() const;
  // True when this class is `base` or derives from it.
  bool IsDerivedFrom(const CRuntimeClass* base) const;
  // True when the archive can store and re-create objects of this class.
  bool IsSerializable() const { return m_wSchema != 0xFFFF && m_pfnCreateObject != nullptr; }

  // Adds classes to the registry. Registering the same record again does
  // nothing; a different record under a name already taken is a programming
  // error and throws std::logic_error.
  static void Register(const CRuntimeClass* cls);
  static void Register(std::initializer_list<const CRuntimeClass*> classes);
  // The registered class with exactly this name (case matters), or null.
  static const CRuntimeClass* FromName(std::string_view name);
  static const CRuntimeClass* FromName(const char* name) {
    return FromName(std::string_view(name ? name : ""));
  }
};

constexpr UINT kNoSchema = 0xFFFF;

class CObject {
 public:
  virtual ~CObject() = default;

  virtual const CRuntimeClass* GetRuntimeClass() const;
  // Stores or loads the object's fields; CObject has none.
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}

  bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
  bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

  static const CRuntimeClass classCObject;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                      \
 public:                                                 \
  const CRuntimeClass* GetRuntimeClass() const override; \
  static const CRuntimeClass class##class_name

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name);        \
  static CObject* CreateObject()

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name);   \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb)

#define STAVLIN_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, factory)                      \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }          \
  const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                       schema, factory, RUNTIME_CLASS(base_class_name)}

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  STAVLIN_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, kNoSchema, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)         \
  CObject* class_name::CreateObject() { return new class_name; } \
  STAVLIN_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, kNoSchema, &class_name::CreateObject)

// The source that uses IMPLEMENT_SERIAL includes platform/CArchive.h.
#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                 \
  CObject* class_name::CreateObject() { return new class_name; }              \
  CArchive& operator>>(CArchive& ar, class_name*& pOb) {                      \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
    return ar;                                                                \
  }                                                                           \
  STAVLIN_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, &class_name::CreateObject)
