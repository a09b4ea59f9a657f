#include "doc/UserDocumentsFolder.h"

#include <optional>

#include "platform/UserFolders.h"

std::filesystem::path UserDocumentsFolder() {
  if (std::optional<std::filesystem::path> documents = FolderFromEnvironment("XDG_DOCUMENTS_DIR"))
    return *documents;
  if (std::optional<std::filesystem::path> home = HomeFolder()) return *home / "Documents";
  return {};
}
