#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <span>
#include <system_error>

#include "platform/FileBytes.h"
#include "platform/UserFolders.h"

namespace {

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Holds an exclusive lock on a folder while it exists. Locking is advisory and
// only keeps copies of this program apart; where the file system cannot lock,
// the change goes on without it.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0) {
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }

 private:
  int fd_;
};

std::unique_ptr<KSettingsStore>& Installed() {
  static std::unique_ptr<KSettingsStore> store;
  return store;
}

}  // namespace

std::optional<KSettingsTable::Group> KSettingsStore::Find(std::string_view group) const {
  const KSettingsTable table = Load();
  const KSettingsTable::Group* found = table.Find(group);
  if (!found) return std::nullopt;
  return *found;
}

std::vector<std::string> KSettingsStore::GroupNames() const { return Load().GroupNames(); }

KSettingsResult KSettingsStore::CreateGroup(std::string_view group) {
  return Update([&](KSettingsTable& table) {
    if (table.Find(group)) return Edit::kUnchanged;
    table.FindOrAdd(group);
    return Edit::kChanged;
  });
}

KSettingsResult KSettingsStore::SetValue(std::string_view group, std::string_view text) {
  return Update([&](KSettingsTable& table) {
    KSettingsTable::Group& found = table.FindOrAdd(group);
    if (found.value && *found.value == text) return Edit::kUnchanged;
    found.value = std::string(text);
    return Edit::kChanged;
  });
}

KSettingsResult KSettingsStore::DeleteGroup(std::string_view group) {
  return Update([&](KSettingsTable& table) { return table.Remove(group) ? Edit::kChanged : Edit::kMissing; });
}

std::optional<KSettingsResult> KSettingsStore::ResultWithoutStoring(Edit edit) {
  switch (edit) {
    case Edit::kMissing:
      return KSettingsResult::kNotFound;
    case Edit::kUnchanged:
      return KSettingsResult::kDone;
    case Edit::kChanged:
      break;
  }
  return std::nullopt;
}

KSettingsTable KMemorySettingsStore::Load() const { return table_; }

KSettingsResult KMemorySettingsStore::Update(const Editor& edit) {
  KSettingsTable table = table_;
  if (const std::optional<KSettingsResult> result = ResultWithoutStoring(edit(table))) return *result;
  table_ = std::move(table);
  return KSettingsResult::kDone;
}

KFileSettingsStore::KFileSettingsStore(std::filesystem::path path) : path_(std::move(path)) {}

std::filesystem::path KFileSettingsStore::DefaultPath() {
  std::optional<std::filesystem::path> config = FolderFromEnvironment("XDG_CONFIG_HOME");
  if (!config) {
    const std::optional<std::filesystem::path> home = HomeFolder();
    if (!home) return {};
    config = *home / ".config";
  }
  return *config / "stavlin" / "settings.txt";
}

KSettingsTable KFileSettingsStore::Load() const {
  if (path_.empty()) return {};
  const fileio::ReadResult file = fileio::ReadWholeFile(path_);
  if (!file.ok()) return {};
  return KSettingsTable::Parse(AsText(file.bytes));
}

KSettingsResult KFileSettingsStore::Update(const Editor& edit) {
  if (path_.empty()) return KSettingsResult::kWriteFailed;
  const std::filesystem::path folder = path_.has_parent_path() ? path_.parent_path() : ".";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return KSettingsResult::kWriteFailed;

  const FolderLock lock(folder);
  const fileio::ReadResult file = fileio::ReadWholeFile(path_);
  if (!file.ok() && file.error != fileio::ReadError::kNotFound) return KSettingsResult::kWriteFailed;
  KSettingsTable table = file.ok() ? KSettingsTable::Parse(AsText(file.bytes)) : KSettingsTable();
  if (const std::optional<KSettingsResult> result = ResultWithoutStoring(edit(table))) return *result;
  const std::string text = table.Format();
  const fileio::WriteResult written = fileio::ReplaceFile(path_, std::as_bytes(std::span(text)));
  return written.ok ? KSettingsResult::kDone : KSettingsResult::kWriteFailed;
}

KSettingsStore& CurrentSettingsStore() {
  std::unique_ptr<KSettingsStore>& store = Installed();
  if (!store) store = std::make_unique<KFileSettingsStore>(KFileSettingsStore::DefaultPath());
  return *store;
}

std::unique_ptr<KSettingsStore> SetCurrentSettingsStore(std::unique_ptr<KSettingsStore> store) {
  Installed().swap(store);
  return store;
}
