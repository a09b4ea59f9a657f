#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
  const KSettingsTable::Group* found = Load().Find(group);
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

const KSettingsTable& KMemorySettingsStore::Load() const { return table_; }

// Memory never refuses a change, so the edit works on the groups themselves:
// a copy per change would make filling a store with many groups quadratic.
// An edit that changes nothing leaves the groups as they were.
KSettingsResult KMemorySettingsStore::Update(const Editor& edit) {
  if (const std::optional<KSettingsResult> result = ResultWithoutStoring(edit(table_))) return *result;
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

std::optional<KFileSettingsStore::Stamp> KFileSettingsStore::StampOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Stamp{};
    return std::nullopt;
  }
  Stamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.inode = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modifiedNs = std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
  stamp.changedNs = std::int64_t{info.st_ctim.tv_sec} * 1000000000 + info.st_ctim.tv_nsec;
  return stamp;
}

bool KFileSettingsStore::Refresh() const {
  const std::optional<Stamp> now = StampOf(path_);
  if (now && stamp_ && *now == *stamp_) return true;
  stamp_.reset();
  table_ = KSettingsTable();
  if (!now) return false;
  if (!now->exists) {
    stamp_ = now;
    return true;
  }
  ++reads_;
  const fileio::ReadResult file = fileio::ReadWholeFile(path_);
  if (!file.ok()) return file.error == fileio::ReadError::kNotFound;
  table_ = KSettingsTable::Parse(AsText(file.bytes));
  // The stamp taken before the read: a write that came in between makes the
  // next look read again.
  stamp_ = now;
  return true;
}

const KSettingsTable& KFileSettingsStore::Load() const {
  if (path_.empty()) {
    table_ = KSettingsTable();
    return table_;
  }
  Refresh();
  return table_;
}

KSettingsResult KFileSettingsStore::Update(const Editor& edit) {
  if (path_.empty()) return KSettingsResult::kWriteFailed;
  const std::filesystem::path folder = path_.has_parent_path() ? path_.parent_path() : ".";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return KSettingsResult::kWriteFailed;

  const FolderLock lock(folder);
  if (!Refresh()) return KSettingsResult::kWriteFailed;
  KSettingsTable table = table_;
  if (const std::optional<KSettingsResult> result = ResultWithoutStoring(edit(table))) return *result;
  const std::string text = table.Format();
  const fileio::WriteResult written = fileio::ReplaceFile(path_, std::as_bytes(std::span(text)));
  if (!written.ok) return KSettingsResult::kWriteFailed;
  // What was written is what the file holds now.
  table_ = std::move(table);
  stamp_ = StampOf(path_);
  if (stamp_ && !stamp_->exists) stamp_.reset();
  return KSettingsResult::kDone;
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
