// ABC notation: the input's lines go through the line reader in order, as an
// ABC file's import does; every line that comes out must store as a score
// record.

#include <memory>
#include <string_view>

#include "FuzzEnvironment.h"
#include "model/KLineObj.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "translate/AbcReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::unique_ptr<KLineObj> read = ReadAbcLine(CString(line.data(), static_cast<int>(line.size())), 1);
    if (!read) continue;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(read.get());
    ar.Close();
  }
  return 0;
}
