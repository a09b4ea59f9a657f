#pragma once
// The eight most recently opened or saved scores, newest first, kept in the
// settings store (groups "RecentFile1" to "RecentFile8", one path each) so
// that they are there at the next start. Qt-free.

#include <vector>

#include "platform/CString.h"

class RecentFileList {
 public:
  static constexpr int kSize = 8;

  // Reads the list from the store; missing or empty entries are skipped.
  void Load();
  // Puts the path first (once: an equal path further down goes) and stores
  // the list. Empty paths are ignored.
  void Add(const CString& path);
  // Takes entry index out (a file that could not be opened) and stores the list.
  void Remove(int index);
  const std::vector<CString>& Paths() const { return m_paths; }

 private:
  void Save() const;
  std::vector<CString> m_paths;
};
