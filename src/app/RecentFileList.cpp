#include "app/RecentFileList.h"

#include <algorithm>
#include <string>

#include "platform/Registry.h"

namespace {

CString GroupName(int index) {
  CString name;
  name.Format("Software\\Stavlin\\RecentFile%d", index + 1);
  return name;
}

// Paths compare as the file system does here: exactly.
bool SamePath(const CString& a, const CString& b) { return a.Str() == b.Str(); }

}  // namespace

void RecentFileList::Load() {
  m_paths.clear();
  for (int i = 0; i < kSize; ++i) {
    std::string text;
    if (RegQueryValueString(HKEY_CURRENT_USER, GroupName(i), text) != ERROR_SUCCESS || text.empty()) continue;
    const CString path(text.c_str());
    if (std::none_of(m_paths.begin(), m_paths.end(), [&](const CString& p) { return SamePath(p, path); }))
      m_paths.push_back(path);
  }
}

void RecentFileList::Add(const CString& path) {
  if (path.IsEmpty()) return;
  std::erase_if(m_paths, [&](const CString& p) { return SamePath(p, path); });
  m_paths.insert(m_paths.begin(), path);
  if (m_paths.size() > static_cast<size_t>(kSize)) m_paths.resize(kSize);
  Save();
}

void RecentFileList::Remove(int index) {
  if (index < 0 || index >= static_cast<int>(m_paths.size())) return;
  m_paths.erase(m_paths.begin() + index);
  Save();
}

void RecentFileList::Save() const {
  // Failures of the store are ignored: the list stays right for this run.
  for (int i = 0; i < kSize; ++i) {
    const CString text = i < static_cast<int>(m_paths.size()) ? m_paths[static_cast<size_t>(i)] : CString();
    if (text.IsEmpty()) {
      RegDeleteKey(HKEY_CURRENT_USER, GroupName(i));
    } else {
      RegSetValue(HKEY_CURRENT_USER, GroupName(i), REG_SZ, text, 0);
    }
  }
}
