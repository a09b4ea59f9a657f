#include "platform/qt/GsfCompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/FileBytes.h"

namespace {

// The first eight bytes of every OLE2 compound file.
constexpr std::array<std::uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Holds one reference to a GObject and drops it when it goes out of scope.
template <typename T>
class GObjectRef {
 public:
  explicit GObjectRef(T* object = nullptr) : object_(object) {}
  GObjectRef(const GObjectRef&) = delete;
  GObjectRef& operator=(const GObjectRef&) = delete;
  ~GObjectRef() {
    if (object_) g_object_unref(object_);
  }
  T* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_;
};

// Takes the text of a libgsf error (and frees the error).
std::string TakeErrorText(GError* error) {
  if (!error) return "unknown error";
  std::string text = cp1252::FromUtf8(error->message ? error->message : "unknown error");
  g_error_free(error);
  return text;
}

bool IsStorage(GsfInput* child) {
  return GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0;
}

// Catches what libgsf reports while it reads a container, instead of letting it
// print to the terminal; the first report explains a read that then fails.
// libgsf warns about many flaws it can work around, so a report alone does not
// fail a read: a file with a flawed allocation table whose archive can still
// be read in full opens.
class GsfReports {
 public:
  GsfReports() {
    for (size_t i = 0; i < kDomains.size(); ++i) {
      handlers_[i] = g_log_set_handler(kDomains[i], kLevels, &GsfReports::Catch, this);
    }
  }
  GsfReports(const GsfReports&) = delete;
  GsfReports& operator=(const GsfReports&) = delete;
  ~GsfReports() {
    for (size_t i = 0; i < kDomains.size(); ++i) g_log_remove_handler(kDomains[i], handlers_[i]);
  }

  // The first report in parentheses, or nothing.
  std::string Explanation() const { return first_.empty() ? std::string() : " (" + first_ + ")"; }
  void Clear() { first_.clear(); }

 private:
  // libgsf's container code, its generic code, and the default domain that
  // some of its messages use.
  static constexpr std::array<const char*, 3> kDomains = {"libgsf:msole", "libgsf", nullptr};
  static constexpr GLogLevelFlags kLevels =
      static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL);

  static void Catch(const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
    std::string& first = static_cast<GsfReports*>(self)->first_;
    if (first.empty()) first = cp1252::FromUtf8(message && *message ? message : "invalid container");
  }

  std::array<guint, kDomains.size()> handlers_{};
  std::string first_;
};

KContainerRead Failed(KContainerError error, std::string message) {
  KContainerRead result;
  result.error = error;
  result.message = std::move(message);
  result.compound = true;
  return result;
}

// Copies a stream of the compound file into memory. Its size comes from the
// file's directory, so it is checked against the size of the whole file (no
// stream can hold more) before anything is allocated, and every read is
// checked.
bool ReadStream(GsfInput* stream, size_t fileSize, std::vector<std::uint8_t>& out) {
  const gsf_off_t size = gsf_input_size(stream);
  if (size < 0 || static_cast<std::uint64_t>(size) > fileSize) return false;
  try {
    out.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  constexpr size_t kChunk = 1 << 20;
  for (size_t done = 0; done < out.size();) {
    const size_t count = std::min(kChunk, out.size() - done);
    if (!gsf_input_read(stream, count, out.data() + done)) return false;
    done += count;
  }
  return true;
}

std::uint32_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::uint64_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = value << 8 | bytes[static_cast<size_t>(at) + static_cast<size_t>(i)];
  return value;
}

// Whether the directory's root entry names siblings. A valid compound file
// has none (its left and right sibling are "no stream"); libgsf reads any it
// names as further roots that belong nowhere and are never freed. The root is
// the first entry of the first directory sector; a header or directory that
// cannot hold it is left to libgsf to judge.
bool RootHasSiblings(const std::vector<std::uint8_t>& bytes) {
  constexpr std::uint64_t kHeaderSize = 512;
  constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
  if (bytes.size() < kHeaderSize) return false;
  const std::uint32_t shift = LittleEndian(bytes, 0x1E, 2);  // sector size as a power of two
  if (shift > 30) return false;
  const std::uint64_t firstDirectorySector = LittleEndian(bytes, 0x30, 4);
  const std::uint64_t root =
      std::max<std::uint64_t>(kHeaderSize, std::uint64_t{1} << shift) + (firstDirectorySector << shift);
  constexpr std::uint64_t kEntrySize = 128;
  if (root > bytes.size() || bytes.size() - root < kEntrySize) return false;
  return LittleEndian(bytes, root + 0x44, 4) != kNoStream || LittleEndian(bytes, root + 0x48, 4) != kNoStream;
}

}  // namespace

KContainerRead KGsfCompoundFile::Read(const std::filesystem::path& path) const {
  fileio::ReadResult file = fileio::ReadWholeFile(path);
  if (!file.ok()) {
    KContainerRead result;
    result.error = file.error == fileio::ReadError::kNotFound ? KContainerError::kNotFound
                                                              : KContainerError::kUnreadable;
    result.message = std::move(file.message);
    return result;
  }
  if (file.bytes.size() < kSignature.size() ||
      !std::equal(kSignature.begin(), kSignature.end(), file.bytes.begin())) {
    KContainerRead result;
    result.contents = std::move(file.bytes);
    return result;
  }

  if (RootHasSiblings(file.bytes)) {
    return Failed(
        KContainerError::kDamaged,
        "The file is damaged: its compound-file directory is not valid (the root entry has siblings).");
  }

  GsfReports reports;
  GObjectRef<GsfInput> input(
      gsf_input_memory_new(file.bytes.data(), static_cast<gsf_off_t>(file.bytes.size()), FALSE));
  if (!input) return Failed(KContainerError::kUnreadable, "The file could not be read into memory.");
  GError* error = nullptr;
  GObjectRef<GsfInfile> root(gsf_infile_msole_new(input.get(), &error));
  if (!root) {
    return Failed(
        KContainerError::kDamaged,
        "The file is damaged: its compound-file structure cannot be read (" + TakeErrorText(error) + ").");
  }
  if (error) g_error_free(error);

  // Storage names compare without regard to case, as in the systems that wrote
  // these files. Other storages are embedded items; other streams are too,
  // unless their name starts with a control character, which marks the
  // storage's own bookkeeping streams (class information, summaries).
  KContainerRead result;
  result.compound = true;
  int contentsIndex = -1;
  const int count = gsf_infile_num_children(root.get());
  for (int i = 0; i < count; ++i) {
    const char* name = gsf_infile_name_by_index(root.get(), i);
    if (contentsIndex < 0 && name && g_ascii_strcasecmp(name, KCompoundFile::kContentsStream) == 0) {
      contentsIndex = i;
      continue;
    }
    GObjectRef<GsfInput> child(gsf_infile_child_by_index(root.get(), i));
    const bool systemStream =
        child && !IsStorage(child.get()) && name && static_cast<unsigned char>(name[0]) < 0x20;
    if (!systemStream) result.hasEmbeddedItems = true;
  }
  if (contentsIndex < 0) {
    return Failed(KContainerError::kNoContents,
                  "The file holds no score: its compound file has no \"Contents\" stream.");
  }

  reports.Clear();
  GObjectRef<GsfInput> stream(gsf_infile_child_by_index(root.get(), contentsIndex));
  if (!stream) {
    return Failed(KContainerError::kDamaged,
                  "The file is damaged: its score stream cannot be opened" + reports.Explanation() + ".");
  }
  if (IsStorage(stream.get())) {
    return Failed(KContainerError::kNoContents,
                  "The file holds no score: its \"Contents\" entry is a storage, not a stream.");
  }
  if (!ReadStream(stream.get(), file.bytes.size(), result.contents)) {
    return Failed(
        KContainerError::kDamaged,
        "The file is damaged: its score stream cannot be read completely" + reports.Explanation() + ".");
  }
  return result;
}

KContainerWrite KGsfCompoundFile::Write(const std::filesystem::path& path,
                                        std::span<const std::uint8_t> contents) const {
  auto failed = [](std::string message) {
    return KContainerWrite{KContainerError::kWriteFailed, std::move(message)};
  };

  // The compound file is built in memory, then written in one go, so that the
  // file on disk is replaced only by a complete container.
  GObjectRef<GsfOutput> sink(gsf_output_memory_new());
  if (!sink) return failed("There is not enough memory to build the file.");
  {
    GObjectRef<GsfOutfile> root(gsf_outfile_msole_new(sink.get()));
    if (!root) return failed("The compound file could not be started.");
    bool written = false;
    {
      GObjectRef<GsfOutput> stream(gsf_outfile_new_child(root.get(), KCompoundFile::kContentsStream, FALSE));
      written =
          stream && (contents.empty() || gsf_output_write(stream.get(), contents.size(), contents.data()));
      if (stream) written = gsf_output_close(stream.get()) && written;
    }
    written = gsf_output_close(GSF_OUTPUT(root.get())) && written;
    if (!written) return failed("The compound file could not be built.");
  }
  if (!gsf_output_is_closed(sink.get()) && !gsf_output_close(sink.get())) {
    return failed("The compound file could not be built.");
  }
  const gsf_off_t size = gsf_output_size(sink.get());
  const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
  if (size < 0 || (size > 0 && !data)) return failed("The compound file could not be built.");

  const fileio::WriteResult saved =
      fileio::ReplaceFile(path, std::as_bytes(std::span(data, static_cast<size_t>(size))));
  if (!saved.ok) return failed(saved.message);
  return {};
}
