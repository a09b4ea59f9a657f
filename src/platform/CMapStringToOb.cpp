#include "platform/CMapStringToOb.h"

namespace {

// A position is the address of a map entry; std::map entries never move.
template <class Entry>
POSITION PositionOf(const Entry& entry) {
  return reinterpret_cast<POSITION>(const_cast<Entry*>(&entry));
}

}  // namespace

CMapStringToOb::CMapStringToOb(int /*blockSize*/) {}

BOOL CMapStringToOb::Lookup(const CString& key, CObject*& value) const {
  const auto found = m_map.find(key);
  if (found == m_map.end()) return FALSE;
  value = found->second;
  return TRUE;
}

void CMapStringToOb::SetAt(const CString& key, CObject* value) { m_map[key] = value; }

CObject*& CMapStringToOb::operator[](const CString& key) { return m_map[key]; }

BOOL CMapStringToOb::RemoveKey(const CString& key) { return m_map.erase(key) != 0 ? TRUE : FALSE; }

void CMapStringToOb::DeleteAllValues() {
  Map values;
  values.swap(m_map);
  for (auto& entry : values) delete entry.second;
}

POSITION CMapStringToOb::GetStartPosition() const {
  return m_map.empty() ? nullptr : PositionOf(*m_map.begin());
}

void CMapStringToOb::GetNextAssoc(POSITION& position, CString& key, CObject*& value) const {
  if (position == nullptr) return;
  const auto* entry = reinterpret_cast<const Map::value_type*>(position);
  key = entry->first;
  value = entry->second;
  auto next = m_map.find(entry->first);
  if (next != m_map.end()) ++next;
  position = next == m_map.end() ? nullptr : PositionOf(*next);
}
