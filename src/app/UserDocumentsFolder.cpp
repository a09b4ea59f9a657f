#include "app/UserDocumentsFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// An absolute path from the environment; relative ones are not trusted.
std::optional<std::filesystem::path> AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  std::filesystem::path folder(value);
  if (!folder.is_absolute()) return std::nullopt;
  return folder;
}

std::optional<std::filesystem::path> HomeFolder() {
  if (std::optional<std::filesystem::path> home = AbsoluteFromEnvironment("HOME")) return home;
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

}  // namespace

std::filesystem::path UserDocumentsFolder() {
  if (std::optional<std::filesystem::path> documents = AbsoluteFromEnvironment("XDG_DOCUMENTS_DIR"))
    return *documents;
  if (std::optional<std::filesystem::path> home = HomeFolder()) return *home / "Documents";
  return {};
}
