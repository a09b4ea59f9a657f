// Score files: the document opens the bytes as the archive of a score file
// (through the same open road as a file on disk). What opens must save, and
// the saved bytes must open again and save the same bytes.

#include <cstring>
#include <memory>
#include <vector>

#include "FuzzEnvironment.h"
#include "doc/CStavlinDoc.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "platform/CompoundFile.h"

namespace {

// A container that reads the current input and never writes.
class InputContainer : public KCompoundFile {
 public:
  std::vector<std::uint8_t> contents;

  KContainerRead Read(const std::filesystem::path&) const override {
    KContainerRead read;
    read.contents = contents;
    return read;
  }
  KContainerWrite Write(const std::filesystem::path&, std::span<const std::uint8_t>) const override {
    return {KContainerError::kWriteFailed, "the fuzz container does not write"};
  }
};

InputContainer& Container() {
  static InputContainer* container = [] {
    auto owned = std::make_unique<InputContainer>();
    InputContainer* raw = owned.get();
    SetCurrentCompoundFile(std::move(owned));
    return raw;
  }();
  return *container;
}

std::vector<std::uint8_t> Store(CStavlinDoc& doc) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
  }
  return file.Detach();
}

// Opens the bytes as a score; null when the document refuses them.
std::unique_ptr<CStavlinDoc> Open(const std::vector<std::uint8_t>& bytes) {
  Container().contents = bytes;
  auto doc = std::make_unique<CStavlinDoc>();
  if (!doc->OnOpenDocument("fuzz-input.svd")) return nullptr;
  return doc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  std::unique_ptr<CStavlinDoc> doc = Open(std::vector<std::uint8_t>(data, data + size));
  if (!doc) return 0;
  const std::vector<std::uint8_t> first = Store(*doc);
  doc.reset();

  StavlinFuzzStart();
  std::unique_ptr<CStavlinDoc> again = Open(first);
  if (!again) StavlinFuzzFail("a saved score does not open again");
  const std::vector<std::uint8_t> second = Store(*again);
  if (first != second) StavlinFuzzFail("saving an opened saved score changes its bytes");
  return 0;
}
