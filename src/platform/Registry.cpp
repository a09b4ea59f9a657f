#include "platform/Registry.h"

#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SettingsStore.h"

namespace {

constexpr std::uintptr_t kCurrentUser = 0x80000001u;

// What an open handle stands for: the root "Software\Stavlin" or one group.
struct OpenKey {
  bool isRoot = false;
  std::string group;
};

struct HandleTable {
  std::map<std::uintptr_t, OpenKey> open;
  std::uintptr_t next = 0x1000;
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

HKEY NewHandle(OpenKey key) {
  HandleTable& table = Handles();
  const std::uintptr_t id = table.next++;
  table.open.emplace(id, std::move(key));
  return reinterpret_cast<HKEY>(id);
}

enum class Place { kCurrentUser, kRoot, kGroup, kElsewhere };

// The key a handle and subkey path name.
struct Target {
  Place place = Place::kElsewhere;
  std::string group;
  // The path named an open group handle itself, whose group may since have
  // been deleted.
  bool groupHandle = false;
};

bool SameName(std::string_view a, std::string_view b) { return KSettingsTable::SameName(a, b); }

bool IsEmpty(LPCTSTR subKey) { return !subKey || !*subKey; }

// Works out which key hKey and subKey name, as the full path below
// HKEY_CURRENT_USER. Fails on an unknown handle or an empty path component.
LONG Resolve(HKEY hKey, LPCTSTR subKey, Target& target) {
  std::vector<std::string> path;
  const std::uintptr_t id = reinterpret_cast<std::uintptr_t>(hKey);
  if (id != kCurrentUser) {
    const auto it = Handles().open.find(id);
    if (it == Handles().open.end()) return ERROR_INVALID_HANDLE;
    path = {"Software", "Stavlin"};
    if (!it->second.isRoot) {
      path.push_back(it->second.group);
      target.groupHandle = IsEmpty(subKey);
    }
  }
  if (!IsEmpty(subKey)) {
    std::string_view rest(subKey);
    for (;;) {
      const size_t slash = rest.find('\\');
      const std::string_view part = rest.substr(0, slash);
      if (part.empty()) return ERROR_INVALID_PARAMETER;
      path.emplace_back(part);
      if (slash == std::string_view::npos) break;
      rest.remove_prefix(slash + 1);
    }
  }

  if (path.empty()) {
    target.place = Place::kCurrentUser;
  } else if (path.size() >= 2 && path.size() <= 3 && SameName(path[0], "Software") &&
             SameName(path[1], "Stavlin")) {
    target.place = path.size() == 2 ? Place::kRoot : Place::kGroup;
    if (path.size() == 3) target.group = path[2];
  } else {
    target.place = Place::kElsewhere;
  }
  return ERROR_SUCCESS;
}

LONG OpenOrCreate(HKEY hKey, LPCTSTR subKey, PHKEY result, bool create) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Target target;
  if (const LONG error = Resolve(hKey, subKey, target); error != ERROR_SUCCESS) return error;
  if (IsEmpty(subKey)) {
    if (target.groupHandle && !CurrentSettingsStore().Find(target.group)) return ERROR_KEY_DELETED;
    *result = hKey;
    return ERROR_SUCCESS;
  }
  switch (target.place) {
    case Place::kRoot:
      *result = NewHandle(OpenKey{true, {}});
      return ERROR_SUCCESS;
    case Place::kGroup:
      if (create) {
        if (CurrentSettingsStore().CreateGroup(target.group) != KSettingsResult::kDone)
          return ERROR_CANTWRITE;
      } else if (!CurrentSettingsStore().Find(target.group)) {
        return ERROR_FILE_NOT_FOUND;
      }
      *result = NewHandle(OpenKey{false, target.group});
      return ERROR_SUCCESS;
    case Place::kCurrentUser:
    case Place::kElsewhere:
      break;
  }
  return create ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
}

}  // namespace

LONG RegCreateKey(HKEY hKey, LPCTSTR subKey, PHKEY result) {
  return OpenOrCreate(hKey, subKey, result, true);
}

LONG RegOpenKey(HKEY hKey, LPCTSTR subKey, PHKEY result) { return OpenOrCreate(hKey, subKey, result, false); }

LONG RegQueryValue(HKEY hKey, LPCTSTR subKey, LPTSTR data, PLONG dataSize) {
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  Target target;
  if (const LONG error = Resolve(hKey, subKey, target); error != ERROR_SUCCESS) return error;
  if (target.place != Place::kGroup) return ERROR_FILE_NOT_FOUND;
  const std::optional<KSettingsTable::Group> group = CurrentSettingsStore().Find(target.group);
  if (!group) return target.groupHandle ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND;
  if (!group->value) return ERROR_FILE_NOT_FOUND;
  if (!dataSize) return ERROR_SUCCESS;

  const std::string& text = *group->value;
  if (text.size() >= static_cast<size_t>(std::numeric_limits<LONG>::max())) {
    *dataSize = std::numeric_limits<LONG>::max();
    return ERROR_MORE_DATA;
  }
  const LONG needed = static_cast<LONG>(text.size() + 1);
  if (data && *dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  if (data) {
    std::memcpy(data, text.data(), text.size());
    data[text.size()] = '\0';
  }
  *dataSize = needed;
  return ERROR_SUCCESS;
}

LONG RegQueryValueString(HKEY hKey, LPCTSTR subKey, std::string& text) {
  LONG size = 0;
  if (const LONG error = RegQueryValue(hKey, subKey, nullptr, &size); error != ERROR_SUCCESS) return error;
  std::string buffer(static_cast<size_t>(size), '\0');
  if (const LONG error = RegQueryValue(hKey, subKey, buffer.data(), &size); error != ERROR_SUCCESS)
    return error;
  buffer.resize(static_cast<size_t>(size) - 1);
  text = std::move(buffer);
  return ERROR_SUCCESS;
}

LONG RegSetValue(HKEY hKey, LPCTSTR subKey, DWORD type, LPCTSTR data, DWORD dataSize) {
  if (type != REG_SZ || !data) return ERROR_INVALID_PARAMETER;
  Target target;
  if (const LONG error = Resolve(hKey, subKey, target); error != ERROR_SUCCESS) return error;
  if (target.place != Place::kGroup) return ERROR_ACCESS_DENIED;
  if (target.groupHandle && !CurrentSettingsStore().Find(target.group)) return ERROR_KEY_DELETED;
  return CurrentSettingsStore().SetValue(target.group, data) == KSettingsResult::kDone ? ERROR_SUCCESS
                                                                                       : ERROR_CANTWRITE;
}

LONG RegDeleteKey(HKEY hKey, LPCTSTR subKey) {
  if (IsEmpty(subKey)) return ERROR_INVALID_PARAMETER;
  Target target;
  if (const LONG error = Resolve(hKey, subKey, target); error != ERROR_SUCCESS) return error;
  switch (target.place) {
    case Place::kRoot:
      return CurrentSettingsStore().GroupNames().empty() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    case Place::kGroup:
      switch (CurrentSettingsStore().DeleteGroup(target.group)) {
        case KSettingsResult::kDone:
          return ERROR_SUCCESS;
        case KSettingsResult::kNotFound:
          return ERROR_FILE_NOT_FOUND;
        case KSettingsResult::kWriteFailed:
          return ERROR_CANTWRITE;
      }
      return ERROR_CANTWRITE;
    case Place::kCurrentUser:
    case Place::kElsewhere:
      break;
  }
  return ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY hKey) {
  const std::uintptr_t id = reinterpret_cast<std::uintptr_t>(hKey);
  if (id == kCurrentUser) return ERROR_SUCCESS;
  return Handles().open.erase(id) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
