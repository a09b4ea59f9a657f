#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

std::optional<std::filesystem::path> FolderFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  std::filesystem::path folder(value);
  if (!folder.is_absolute()) return std::nullopt;
  return folder;
}

std::optional<std::filesystem::path> HomeFolder() {
  if (std::optional<std::filesystem::path> home = FolderFromEnvironment("HOME")) return home;
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 16384));
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_dir || found->pw_dir[0] != '/') {
    return std::nullopt;
  }
  return std::filesystem::path(found->pw_dir);
}
