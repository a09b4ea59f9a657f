// Clipboard word streams: the reader takes any bytes. What it accepts must
// write back to the same words and read again to the same records.

#include <span>

#include "FuzzEnvironment.h"
#include "view/edit/ClipStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  const KClipStream stream = KClipStream::FromBytes(std::span<const BYTE>(data, size));
  const std::optional<KClipData> read = ReadClipStream(stream);
  if (!read) return 0;
  const KClipStream written = WriteClipStream(*read);
  const std::optional<KClipData> again = ReadClipStream(written);
  if (!again) StavlinFuzzFail("a stream the reader accepted does not read again once written");
  if (!(*again == *read)) StavlinFuzzFail("a written stream reads back different records");
  if (!(WriteClipStream(*again) == written)) StavlinFuzzFail("writing is not stable");
  return 0;
}
