#pragma once
// The container of a score file. A score's archive is the stream "Contents" of
// a compound (structured storage) file, where the framework's OLE documents
// keep it; embedded items, when a file has any, are further storages beside
// it. Reading also accepts a file that is not a compound file at all and takes
// the whole of it as the archive.
//
// This is the interface the document uses; the implementation on libgsf lives
// in platform/qt/GsfCompoundFile.h and is installed by the shell at start-up.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

enum class KContainerError {
  kNone,
  kNotFound,     // no file at the path
  kUnreadable,   // the file exists but cannot be read
  kNoContents,   // a compound file without a "Contents" stream
  kDamaged,      // a compound file whose structure is broken or cut off
  kWriteFailed,  // saving failed; the file on disk is as it was
};

struct KContainerRead {
  KContainerError error = KContainerError::kNone;
  std::string message;                 // what went wrong, Windows-1252; empty on success
  std::vector<std::uint8_t> contents;  // the archive bytes
  bool compound = false;               // read from a compound file, else a plain archive
  bool hasEmbeddedItems = false;       // the compound file holds more than the archive

  bool ok() const { return error == KContainerError::kNone; }
};

struct KContainerWrite {
  KContainerError error = KContainerError::kNone;
  std::string message;  // Windows-1252; empty on success

  bool ok() const { return error == KContainerError::kNone; }
};

class KCompoundFile {
 public:
  // The name of the stream that holds the archive.
  static constexpr const char* kContentsStream = "Contents";

  virtual ~KCompoundFile() = default;

  // Reads the archive of the score file at path. Nothing a file holds can make
  // this crash or allocate beyond what the file's own size justifies.
  virtual KContainerRead Read(const std::filesystem::path& path) const = 0;

  // Writes a compound file whose "Contents" stream holds contents. The new
  // file replaces the old one only when it was written completely.
  virtual KContainerWrite Write(const std::filesystem::path& path,
                                std::span<const std::uint8_t> contents) const = 0;
};

// The container in use. Throws std::logic_error when none has been installed.
const KCompoundFile& CurrentCompoundFile();

// Installs the container in use and returns the one it replaces (null at first).
std::unique_ptr<KCompoundFile> SetCurrentCompoundFile(std::unique_ptr<KCompoundFile> file);
