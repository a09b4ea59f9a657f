// A text file's bytes, as File/Open reads a ".txt" or ".abc" file: decoding
// either refuses them as binary, or gives UTF-8 text with "\n" line ends that
// its own form writes back to bytes which decode to the same text. The text
// document takes the same bytes (the way KTextDoc::Load does) and holds that
// text, or refuses them and stays as it was.

#include <span>
#include <string>

#include "FuzzEnvironment.h"
#include "translate/KTextDoc.h"
#include "translate/TextFileCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  const std::span<const std::uint8_t> bytes(data, size);
  const KDecodedText decoded = DecodeTextFile(bytes);

  KTextDoc doc;
  doc.SetText("kept");
  doc.SetModifiedFlag(false);
  const bool loaded = doc.LoadBytes(bytes);
  if (loaded == decoded.binary) StavlinFuzzFail("the document and the decoder disagree on binary bytes");
  if (decoded.binary) {
    if (!decoded.text.empty()) StavlinFuzzFail("binary bytes gave text");
    if (doc.Text() != "kept") StavlinFuzzFail("refused bytes changed the document");
    return 0;
  }
  if (doc.Text() != decoded.text || doc.IsModified()) StavlinFuzzFail("the document holds another text");
  if (!IsValidUtf8(decoded.text)) StavlinFuzzFail("decoded text is not UTF-8");
  if (decoded.text.find('\r') != std::string::npos) StavlinFuzzFail("decoded text keeps a carriage return");

  KTextFileForm form = decoded.form;
  const std::vector<std::uint8_t> written = EncodeTextFile(decoded.text, form);
  const KDecodedText again = DecodeTextFile(written);
  if (again.binary) StavlinFuzzFail("written text reads back as binary");
  if (again.text != decoded.text) StavlinFuzzFail("written text reads back changed");
  // Saving an unchanged document writes its own bytes back when they were
  // one form throughout: valid UTF-8 (or not) with one kind of line end.
  std::vector<std::uint8_t> rewritten = EncodeTextFile(again.text, form);
  if (rewritten != written) StavlinFuzzFail("writing the text twice gives other bytes");
  return 0;
}
