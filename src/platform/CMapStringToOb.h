#pragma once
// The framework's map from a string key to an object pointer. The map holds the
// pointers only: it never deletes the objects, so their owner empties the map
// and deletes them itself (see DeleteAllValues for the usual case).
//
// Keys compare byte for byte, case sensitive. Iteration walks the keys in byte
// order, so that what the map is used for gives the same result on every run.

#include <map>

#include "platform/CObject.h"
#include "platform/CString.h"
#include "platform/Position.h"

class CMapStringToOb {
 public:
  // The block size of the framework's hash table; accepted and not needed here.
  explicit CMapStringToOb(int blockSize = 10);
  CMapStringToOb(const CMapStringToOb&) = delete;
  CMapStringToOb& operator=(const CMapStringToOb&) = delete;

  int GetCount() const { return static_cast<int>(m_map.size()); }
  int GetSize() const { return GetCount(); }
  bool IsEmpty() const { return m_map.empty(); }

  // True, with the value, when the key is present; value is left alone otherwise.
  BOOL Lookup(const CString& key, CObject*& value) const;
  // Adds the key or replaces its value (the old value is not deleted).
  void SetAt(const CString& key, CObject* value);
  // The value slot of the key, added with a null value when absent.
  CObject*& operator[](const CString& key);
  // Removes the key; false when it was absent. The value is not deleted.
  BOOL RemoveKey(const CString& key);
  void RemoveAll() { m_map.clear(); }
  // Deletes every value and empties the map.
  void DeleteAllValues();

  // Iteration: the first entry's position (null when empty), then each entry
  // with the position of the next one (null after the last).
  POSITION GetStartPosition() const;
  void GetNextAssoc(POSITION& position, CString& key, CObject*& value) const;

 private:
  using Map = std::map<CString, CObject*>;
  Map m_map;
};
