#include "platform/FileBytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <new>
#include <string>
#include <system_error>

#include "platform/Cp1252.h"

namespace fileio {
namespace {

// The system's description of an error number, as Windows-1252 text.
std::string SystemText(int error) { return cp1252::FromUtf8(std::system_category().message(error)); }

std::string Describe(const char* what, int error) {
  return std::string(what) + " (" + SystemText(error) + ")";
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (a late write error
  // on some file systems shows only here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::span<const std::byte> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = EIO;
      return false;
    }
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
}

// A name for the temporary file beside the target: hidden, unique to this
// process and call, and short enough for any file system.
std::filesystem::path TemporaryName(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string base = target.filename().string();
  if (base.size() > 200) base.resize(200);
  return target.parent_path() /
         ("." + base + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
}

WriteResult Failure(const char* what, int error) { return WriteResult{false, Describe(what, error)}; }

// Removes the temporary files of earlier replacements of the target that
// never finished (their process was killed midway): the names TemporaryName
// gives, of a process that no longer runs. Files of a running process, this
// one included, may still be in the middle of a save and stay.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  std::string base = target.filename().string();
  if (base.size() > 200) base.resize(200);
  const std::string prefix = "." + base + ".";
  const std::string suffix = ".tmp";
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::error_code ec;
  std::filesystem::directory_iterator entries(folder, ec);
  if (ec) return;
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    // What lies between is "<pid>-<counter>".
    const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == middle.size() || dash > 9 ||
        middle.find_first_not_of("0123456789-") != std::string::npos ||
        middle.find('-', dash + 1) != std::string::npos) {
      continue;
    }
    const pid_t pid = static_cast<pid_t>(std::stol(middle.substr(0, dash)));
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    if (entry.is_regular_file(ignored)) std::filesystem::remove(entry.path(), ignored);
  }
}

}  // namespace

bool IsReadOnlyFile(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (error || status.type() != std::filesystem::file_type::regular) return false;
  using std::filesystem::perms;
  const perms writable = perms::owner_write | perms::group_write | perms::others_write;
  if ((status.permissions() & writable) == perms::none) return true;
  return ::access(file.c_str(), W_OK) != 0 && errno == EACCES;
}

ReadResult ReadWholeFile(const std::filesystem::path& path) { return ReadFileUpTo(path, SIZE_MAX); }

ReadResult ReadFileUpTo(const std::filesystem::path& path, std::uintmax_t maxBytes) {
  ReadResult result;
  // O_NONBLOCK keeps a named pipe from blocking the open; it changes nothing
  // for a regular file.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    const int error = errno;
    result.error = error == ENOENT || error == ENOTDIR ? ReadError::kNotFound : ReadError::kUnreadable;
    result.message = Describe("The file could not be opened", error);
    return result;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    result.error = ReadError::kUnreadable;
    result.message = Describe("The file could not be examined", errno);
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.error = ReadError::kNotAFile;
    result.message = "This is not a file but a folder or a device.";
    return result;
  }
  const auto tooLarge = [&result] {
    result.error = ReadError::kTooLarge;
    result.message = "The file is too large.";
    result.bytes.clear();
    return result;
  };
  // The size is checked before a byte is read; a file that grows while it is
  // read is stopped at the limit.
  if (info.st_size > 0 && static_cast<std::uintmax_t>(info.st_size) > maxBytes) return tooLarge();
  std::vector<std::uint8_t> bytes;
  try {
    bytes.reserve(static_cast<size_t>(info.st_size > 0 ? info.st_size : 0));
    std::uint8_t chunk[65536];
    for (;;) {
      const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
      if (got < 0) {
        if (errno == EINTR) continue;
        result.error = ReadError::kUnreadable;
        result.message = Describe("The file could not be read", errno);
        return result;
      }
      if (got == 0) break;
      if (bytes.size() + static_cast<size_t>(got) > maxBytes) return tooLarge();
      bytes.insert(bytes.end(), chunk, chunk + got);
    }
  } catch (const std::bad_alloc&) {
    result.error = ReadError::kUnreadable;
    result.message = "The file is too large to be read into memory.";
    return result;
  }
  result.bytes = std::move(bytes);
  return result;
}

WriteResult ReplaceFile(const std::filesystem::path& target, std::span<const std::byte> bytes) {
  std::filesystem::path destination = target;
  std::error_code ec;
  if (std::filesystem::is_symlink(target, ec)) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(target, ec);
    if (!ec) destination = resolved;
  }
  if (destination.filename().empty()) return WriteResult{false, "The file name is missing."};

  struct stat old {};
  const bool hadOld = ::stat(destination.c_str(), &old) == 0;
  if (hadOld && !S_ISREG(old.st_mode)) {
    return WriteResult{false, "A folder or device is in the way of the file."};
  }
  if (hadOld && IsReadOnlyFile(destination)) return WriteResult{false, "The file is read-only."};

  std::filesystem::path temporary;
  int fdNumber = -1;
  for (int attempt = 0; attempt < 100 && fdNumber < 0; ++attempt) {
    temporary = TemporaryName(destination);
    // The temporary file starts private; it gets the old file's permissions
    // once written, or those of a new file (0666 less the umask) when there
    // was no old one.
    fdNumber = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, hadOld ? 0600 : 0666);
    if (fdNumber < 0 && errno != EEXIST) break;
  }
  if (fdNumber < 0) return Failure("No file can be created in the folder", errno);
  FileDescriptor fd(fdNumber);

  auto fail = [&](const char* what) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return Failure(what, error);
  };
  if (!WriteAll(fd.get(), bytes)) return fail("The file could not be written");
  if (hadOld) {
    // Keeping the owner works only for a privileged user; keeping the mode
    // works for the owner. Neither failure is a reason to lose the save.
    static_cast<void>(::fchown(fd.get(), old.st_uid, old.st_gid) == 0);
    static_cast<void>(::fchmod(fd.get(), old.st_mode & 07777) == 0);
  }
  if (::fsync(fd.get()) != 0) return fail("The file could not be flushed to the disk");
  if (!fd.Close()) return fail("The file could not be written");
  if (::rename(temporary.c_str(), destination.c_str()) != 0) return fail("The file could not be replaced");
  RemoveStaleTemporaries(destination);

  // Make the rename itself durable. A folder that cannot be synced (some
  // network file systems) still holds the new file.
  const std::filesystem::path folder = destination.has_parent_path() ? destination.parent_path() : ".";
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return WriteResult{true, {}};
}

}  // namespace fileio
