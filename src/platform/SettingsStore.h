#pragma once
// The per-user preference store, in the place of the registry key
// HKEY_CURRENT_USER "Software\Stavlin": named groups (the key's subkeys), each
// holding at most one text (the subkey's default value). Group names compare
// without regard to ASCII case. Texts are Windows-1252 bytes.
//
// KFileSettingsStore keeps the groups in one UTF-8 text file (see
// SettingsTable.h for its form), by default $XDG_CONFIG_HOME/stavlin/settings.txt
// (~/.config when the variable is unset). Every change is written at once, by
// way of a temporary file renamed over the old one, so that a failed or
// interrupted write leaves the previous file whole. Each change looks at the
// file again under a lock first, so two running copies of the program do not
// undo each other's changes and groups this program does not know stay as they
// are. The file is read and parsed once and kept: it is read again only when
// it changed on disk since (another copy of the program wrote it), so reading
// every preference at start costs one read whatever the file holds.
// KMemorySettingsStore keeps the groups in memory only, for tests.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/SettingsTable.h"

enum class KSettingsResult {
  kDone,
  kNotFound,     // no such group
  kWriteFailed,  // the change could not be stored; nothing changed
};

class KSettingsStore {
 public:
  virtual ~KSettingsStore() = default;

  // The group's name as first written and its text, or nothing when missing.
  std::optional<KSettingsTable::Group> Find(std::string_view group) const;
  std::vector<std::string> GroupNames() const;

  // Makes the group exist (without a text when it is new).
  KSettingsResult CreateGroup(std::string_view group);
  // Sets the group's text, making the group when it is missing.
  KSettingsResult SetValue(std::string_view group, std::string_view text);
  KSettingsResult DeleteGroup(std::string_view group);

 protected:
  enum class Edit { kChanged, kUnchanged, kMissing };
  using Editor = std::function<Edit(KSettingsTable&)>;

  // The current groups; valid until the next call on the store.
  virtual const KSettingsTable& Load() const = 0;
  // Applies edit to the current groups and stores them when it changed them.
  virtual KSettingsResult Update(const Editor& edit) = 0;
  // The result of an update whose edit needs nothing stored (the group was
  // missing, or nothing changed); nothing when the edited groups must be stored.
  static std::optional<KSettingsResult> ResultWithoutStoring(Edit edit);
};

class KMemorySettingsStore final : public KSettingsStore {
 public:
  KMemorySettingsStore() = default;
  // A store holding the groups of a parsed settings file, as the file store
  // holds them once it has read the file.
  explicit KMemorySettingsStore(KSettingsTable table) : table_(std::move(table)) {}

 protected:
  const KSettingsTable& Load() const override;
  KSettingsResult Update(const Editor& edit) override;

 private:
  KSettingsTable table_;
};

class KFileSettingsStore final : public KSettingsStore {
 public:
  // A store in the file at path. An empty path gives a store that holds
  // nothing and refuses every change (no place for the file was found).
  explicit KFileSettingsStore(std::filesystem::path path);

  // $XDG_CONFIG_HOME/stavlin/settings.txt, or ~/.config/stavlin/settings.txt;
  // empty when neither the variable nor a home folder is known.
  static std::filesystem::path DefaultPath();

  const std::filesystem::path& path() const { return path_; }
  // How often the file was read from disk since the store was made.
  int FileReads() const { return reads_; }

 protected:
  // A file that exists but cannot be read loads as no groups, and then every
  // change is refused, so that the file is never replaced by one built
  // without its contents.
  const KSettingsTable& Load() const override;
  KSettingsResult Update(const Editor& edit) override;

 private:
  // What tells one state of the file on disk from another.
  struct Stamp {
    bool exists = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0, changedNs = 0;
    bool operator==(const Stamp&) const = default;
  };
  static std::optional<Stamp> StampOf(const std::filesystem::path& path);
  // The kept groups when the file is still as they were read or written;
  // else reads it again. False when the file exists but cannot be read.
  bool Refresh() const;

  std::filesystem::path path_;
  mutable std::optional<Stamp> stamp_;  // of the kept groups; none: nothing kept
  mutable KSettingsTable table_;
  mutable int reads_ = 0;
};

// The store the registry calls use. Until one is installed it is the file store
// at the default path, made on first use.
KSettingsStore& CurrentSettingsStore();

// Installs the store in use and returns the one it replaces (null when the
// default had not been made yet). Null installs the default again on next use.
std::unique_ptr<KSettingsStore> SetCurrentSettingsStore(std::unique_ptr<KSettingsStore> store);

// Installs a store for the lifetime of this object and then puts the previous
// one back (tests use it with a KMemorySettingsStore).
class KSettingsStoreScope {
 public:
  explicit KSettingsStoreScope(std::unique_ptr<KSettingsStore> store)
      : previous_(SetCurrentSettingsStore(std::move(store))) {}
  KSettingsStoreScope(const KSettingsStoreScope&) = delete;
  KSettingsStoreScope& operator=(const KSettingsStoreScope&) = delete;
  ~KSettingsStoreScope() { SetCurrentSettingsStore(std::move(previous_)); }

 private:
  std::unique_ptr<KSettingsStore> previous_;
};
