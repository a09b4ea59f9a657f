#pragma once
// Reading a whole file into memory, and replacing a file in a way that never
// leaves it half-written: the new bytes go to a temporary file in the same
// folder, are flushed to the disk, and only then renamed over the old file. A
// failure at any step removes the temporary file and leaves the old file as it
// was. Messages are Windows-1252 texts for the user.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace fileio {

enum class ReadError {
  kNone,
  kNotFound,    // no file at that path
  kNotAFile,    // a folder, device or pipe
  kUnreadable,  // exists, but opening or reading it failed
  kTooLarge,    // larger than the reader's limit: nothing was read
};

struct ReadResult {
  ReadError error = ReadError::kNone;
  std::string message;  // empty on success
  std::vector<std::uint8_t> bytes;

  bool ok() const { return error == ReadError::kNone; }
};

// Reads every byte of a regular file. The size the file system reports is only
// a hint: the read goes on until the end of the file, however long it is.
ReadResult ReadWholeFile(const std::filesystem::path& path);
// Reads every byte of a regular file of at most maxBytes. A larger file is
// refused (kTooLarge) by the size the file system reports, before anything is
// read, or as soon as the bytes read pass the limit.
ReadResult ReadFileUpTo(const std::filesystem::path& path, std::uintmax_t maxBytes);

struct WriteResult {
  bool ok = false;
  std::string message;  // empty on success
};

// Whether a file that is there may not be written over: the user (or another
// program) made it read-only. False when there is no such file.
bool IsReadOnlyFile(const std::filesystem::path& file);

// Replaces the file at target (or creates it) with bytes, atomically. A
// read-only file is never replaced: renaming a new file over it would go round
// the protection the user gave it. An existing file keeps its permissions; a symbolic link keeps pointing to
// the file it names, which is the one replaced. Temporary files that an earlier replacement of the same file
// left behind (its process was killed midway) are removed once the new file is in place.
WriteResult ReplaceFile(const std::filesystem::path& target, std::span<const std::byte> bytes);

}  // namespace fileio
