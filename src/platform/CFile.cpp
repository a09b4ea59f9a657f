#include "platform/CFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

CString DisplayName(const std::string& path) { return CString::FromUtf8(path); }

// The new position for a seek, or -1 when it would fall before the start or
// beyond what a signed 64-bit offset can hold.
std::int64_t SeekTarget(std::uint64_t position, std::uint64_t length, std::int64_t offset, UINT from) {
  std::uint64_t base;
  switch (from) {
    case CFile::begin: base = 0; break;
    case CFile::current: base = position; break;
    case CFile::end: base = length; break;
    default: return -1;
  }
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (base > kMax) return -1;
  const auto start = static_cast<std::int64_t>(base);
  if (offset < 0 ? start < -offset : start > std::numeric_limits<std::int64_t>::max() - offset) return -1;
  return start + offset;
}

}  // namespace

int CFileException::OsErrorToCause(int osError) {
  switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return accessDenied;
    case ETXTBSY:
    case EBUSY: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case ESPIPE:
    case EINVAL: return badSeek;
    case EIO: return hardIO;
    default: return generic;
  }
}

// ---- CMemFile ----

CMemFile::CMemFile(UINT) {}

CMemFile::CMemFile(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const BYTE*>(data);
  if (bytes != nullptr) m_data.assign(bytes, bytes + size);
}

CMemFile::CMemFile(std::vector<BYTE> data) : m_data(std::move(data)) {}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (m_position >= m_data.size() || count == 0) return 0;
  const auto n = static_cast<UINT>(std::min<std::uint64_t>(count, m_data.size() - m_position));
  std::memcpy(buffer, m_data.data() + m_position, n);
  m_position += n;
  return n;
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  const std::uint64_t end = m_position + count;
  if (end > m_data.size()) m_data.resize(end);
  std::memcpy(m_data.data() + m_position, buffer, count);
  m_position = end;
}

std::uint64_t CMemFile::Seek(std::int64_t offset, UINT from) {
  const std::int64_t target = SeekTarget(m_position, m_data.size(), offset, from);
  if (target < 0) throw CFileException(CFileException::badSeek);
  m_position = static_cast<std::uint64_t>(target);
  return m_position;
}

void CMemFile::SetLength(std::uint64_t length) {
  m_data.resize(length);
  m_position = std::min(m_position, length);
}

void CMemFile::Attach(std::vector<BYTE> data) {
  m_data = std::move(data);
  m_position = 0;
}

std::vector<BYTE> CMemFile::Detach() {
  std::vector<BYTE> data = std::move(m_data);
  m_data.clear();
  m_position = 0;
  return data;
}

// ---- CDiskFile ----

CDiskFile::CDiskFile(const std::filesystem::path& path, UINT openFlags) {
  CFileException error;
  if (!Open(path, openFlags, &error)) throw error;
}

CDiskFile::~CDiskFile() {
  if (m_fd >= 0) ::close(m_fd);
}

bool CDiskFile::Open(const std::filesystem::path& path, UINT openFlags, CFileException* error) {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  m_path = path.string();
  int flags = O_CLOEXEC;
  switch (openFlags & 0x3) {
    case modeWrite: flags |= O_WRONLY; break;
    case modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  if (openFlags & modeCreate) {
    flags |= O_CREAT;
    if (!(openFlags & modeNoTruncate)) flags |= O_TRUNC;
  }
  int fd;
  do {
    fd = ::open(m_path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  int osError = fd < 0 ? errno : 0;
  struct stat info {};
  if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    fd = -1;
    osError = EISDIR;
  }
  if (fd < 0) {
    if (error != nullptr)
      *error = CFileException(CFileException::OsErrorToCause(osError), osError, DisplayName(m_path));
    return false;
  }
  m_fd = fd;
  return true;
}

void CDiskFile::ThrowOsError(int osError, int fallbackCause) const {
  const int cause = CFileException::OsErrorToCause(osError);
  throw CFileException(cause == CFileException::generic ? fallbackCause : cause, osError,
                       DisplayName(m_path));
}

void CDiskFile::CheckOpen() const {
  if (m_fd < 0) throw CFileException(CFileException::invalidFile, 0, DisplayName(m_path));
}

UINT CDiskFile::Read(void* buffer, UINT count) {
  CheckOpen();
  auto* bytes = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = ::read(m_fd, bytes + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno, CFileException::hardIO);
    }
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CDiskFile::Write(const void* buffer, UINT count) {
  CheckOpen();
  const auto* bytes = static_cast<const char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = ::write(m_fd, bytes + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno, CFileException::hardIO);
    }
    if (n == 0) ThrowOsError(ENOSPC);
    done += static_cast<UINT>(n);
  }
}

std::uint64_t CDiskFile::Seek(std::int64_t offset, UINT from) {
  CheckOpen();
  const std::int64_t target = SeekTarget(GetPosition(), GetLength(), offset, from);
  if (target < 0) throw CFileException(CFileException::badSeek, 0, DisplayName(m_path));
  const off_t result = ::lseek(m_fd, static_cast<off_t>(target), SEEK_SET);
  if (result < 0) ThrowOsError(errno, CFileException::badSeek);
  return static_cast<std::uint64_t>(result);
}

std::uint64_t CDiskFile::GetPosition() const {
  CheckOpen();
  const off_t result = ::lseek(m_fd, 0, SEEK_CUR);
  if (result < 0) ThrowOsError(errno, CFileException::badSeek);
  return static_cast<std::uint64_t>(result);
}

std::uint64_t CDiskFile::GetLength() const {
  CheckOpen();
  struct stat info {};
  if (::fstat(m_fd, &info) != 0) ThrowOsError(errno);
  return static_cast<std::uint64_t>(info.st_size);
}

void CDiskFile::SetLength(std::uint64_t length) {
  CheckOpen();
  if (length > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
    throw CFileException(CFileException::badSeek, 0, DisplayName(m_path));
  }
  if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) ThrowOsError(errno);
}

void CDiskFile::Flush() {
  CheckOpen();
  if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) ThrowOsError(errno, CFileException::hardIO);
}

void CDiskFile::Close() {
  if (m_fd < 0) return;
  const int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowOsError(errno, CFileException::hardIO);
}
