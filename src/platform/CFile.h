#pragma once
// The byte streams an archive reads and writes.
//
// CFile is the interface: sequential reads and writes at a current position,
// seeking and length. CMemFile keeps the bytes in memory (clipboard data,
// undo snapshots, a stream taken out of a compound file, tests); CDiskFile is a
// file on disk. Failures throw CFileException.

#include "platform/CFileException.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,  // sharing flags are accepted and ignored
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,  // no text translation exists on this platform
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  virtual ~CFile() = default;

  // Reads up to `count` bytes at the current position; fewer only at the end.
  virtual UINT Read(void* buffer, UINT count) = 0;
  virtual void Write(const void* buffer, UINT count) = 0;
  // Moves the position and returns it; a position before the start throws.
  virtual std::uint64_t Seek(std::int64_t offset, UINT from) = 0;
  virtual std::uint64_t GetPosition() const = 0;
  virtual std::uint64_t GetLength() const = 0;
  virtual void SetLength(std::uint64_t length) = 0;
  virtual void Flush() {}
  virtual void Close() {}
  // The file's native (UTF-8) path, or empty for memory files.
  virtual std::string GetFilePath() const { return {}; }

  void SeekToBegin() { Seek(0, begin); }
  std::uint64_t SeekToEnd() { return Seek(0, end); }
};

class CMemFile : public CFile {
 public:
  explicit CMemFile(UINT growBytes = 1024);
  // A memory file holding a copy of the bytes, positioned at the start.
  CMemFile(const void* data, std::size_t size);
  explicit CMemFile(std::vector<BYTE> data);

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  std::uint64_t Seek(std::int64_t offset, UINT from) override;
  std::uint64_t GetPosition() const override { return m_position; }
  std::uint64_t GetLength() const override { return m_data.size(); }
  void SetLength(std::uint64_t length) override;

  const std::vector<BYTE>& Data() const { return m_data; }
  // Replaces the content; the position returns to the start.
  void Attach(std::vector<BYTE> data);
  // Takes the content out, leaving the file empty.
  std::vector<BYTE> Detach();

 private:
  std::vector<BYTE> m_data;
  std::uint64_t m_position = 0;
};

class CDiskFile : public CFile {
 public:
  CDiskFile() = default;
  // Opens at once; throws CFileException on failure.
  CDiskFile(const std::filesystem::path& path, UINT openFlags);
  ~CDiskFile() override;

  // Opens the file with the OpenFlags: modeRead, modeWrite or modeReadWrite,
  // plus modeCreate (create, or truncate unless modeNoTruncate). Returns false
  // on failure and fills `error` when given.
  bool Open(const std::filesystem::path& path, UINT openFlags, CFileException* error = nullptr);
  bool IsOpen() const { return m_fd >= 0; }

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  std::uint64_t Seek(std::int64_t offset, UINT from) override;
  std::uint64_t GetPosition() const override;
  std::uint64_t GetLength() const override;
  void SetLength(std::uint64_t length) override;
  // Writes the file's data through to the disk.
  void Flush() override;
  void Close() override;
  std::string GetFilePath() const override { return m_path; }

 private:
  [[noreturn]] void ThrowOsError(int osError, int fallbackCause = CFileException::generic) const;
  void CheckOpen() const;

  int m_fd = -1;
  std::string m_path;
};
