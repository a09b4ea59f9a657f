// The container of a score file: the bytes are a file on disk, read by the
// compound-file reader the program installs (on libgsf). A file it reads
// gives the archive bytes, which a new compound file written with them gives
// back unchanged; a file it refuses says why.

#include <filesystem>
#include <fstream>
#include <vector>

#include "FuzzEnvironment.h"
#include "FuzzFolder.h"
#include "platform/qt/GsfCompoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  static const KGsfCompoundFile container;
  const std::filesystem::path input = StavlinFuzzFolder() / "input.svd";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const KContainerRead read = container.Read(input);
  if (!read.ok()) {
    if (read.message.empty()) StavlinFuzzFail("a refused file gives no reason");
    return 0;
  }
  if (read.contents.size() > size) StavlinFuzzFail("the archive is larger than the file that holds it");
  if (!read.compound && read.contents != std::vector<std::uint8_t>(data, data + size))
    StavlinFuzzFail("a plain archive is not the file's bytes");

  const std::filesystem::path output = StavlinFuzzFolder() / "output.svd";
  const KContainerWrite written = container.Write(output, read.contents);
  if (!written.ok()) StavlinFuzzFail("the archive cannot be written into a new compound file");
  const KContainerRead back = container.Read(output);
  if (!back.ok() || !back.compound) StavlinFuzzFail("a written compound file does not read back");
  if (back.contents != read.contents) StavlinFuzzFail("the archive changes through a written compound file");
  return 0;
}
