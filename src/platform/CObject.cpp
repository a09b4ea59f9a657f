#include "platform/CObject.h"

#include <map>
#include <stdexcept>
#include <string>

namespace {

using Registry = std::map<std::string, const CRuntimeClass*, std::less<>>;

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), kNoSchema, nullptr,
                                             nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass) {
    if (cls == base) return true;
  }
  return false;
}

void CRuntimeClass::Register(const CRuntimeClass* cls) {
  if (cls == nullptr) return;
  const auto [it, inserted] = TheRegistry().emplace(cls->m_lpszClassName, cls);
  if (!inserted && it->second != cls) {
    throw std::logic_error(std::string("two runtime classes named ") + cls->m_lpszClassName);
  }
}

void CRuntimeClass::Register(std::initializer_list<const CRuntimeClass*> classes) {
  for (const CRuntimeClass* cls : classes) Register(cls);
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
  const Registry& registry = TheRegistry();
  const auto it = registry.find(name);
  return it != registry.end() ? it->second : nullptr;
}
