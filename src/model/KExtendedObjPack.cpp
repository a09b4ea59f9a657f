// The packed word record of an attachment, in which text lines keep their
// attachments:
//
//   word 0..6   kind, pos, row, anchorX, anchorY, sizeX, sizeY
//   word 7      n, the number of text bytes
//   word 8..    the text bytes (as the archive record's text), four to a word
//               with the first byte in the highest byte; a last partial word
//               holds its 1..3 bytes in its low bytes, first byte highest
//
// The words come from a file, so reading checks that the record holds what
// its header says before it takes anything from it.

#include <climits>
#include <string>

#include "model/KExtendedObj.h"
#include "platform/CArchiveException.h"

namespace {
constexpr int kHeaderWords = 8;
constexpr int kTextLengthWord = 7;

long long RecordLength(long long textBytes) { return kHeaderWords + (textBytes + 3) / 4; }
}  // namespace

int KExtendedObj::PackedLength(std::span<const std::int32_t> words) {
  if (words.size() < static_cast<std::size_t>(kHeaderWords) || words[kTextLengthWord] < 0) return -1;
  const long long length = RecordLength(words[kTextLengthWord]);
  return length > INT_MAX ? -1 : static_cast<int>(length);
}

std::vector<std::int32_t> KExtendedObj::Pack() {
  if (AnchorIsOffset()) SetAnchor(m_offsetX, m_offsetY);
  const CString text = StoredText();
  const int n = text.GetLength();
  std::vector<std::int32_t> words = {m_kind, GetPos(), m_row, m_anchorX, m_anchorY, m_sizeX, m_sizeY, n};
  words.reserve(static_cast<std::size_t>(RecordLength(n)));
  for (int at = 0; at < n; at += 4) {
    std::uint32_t word = 0;
    for (int k = at; k < n && k < at + 4; ++k) word = (word << 8) | static_cast<BYTE>(text.GetAt(k));
    words.push_back(static_cast<std::int32_t>(word));
  }
  return words;
}

KExtendedObj::KExtendedObj(std::span<const std::int32_t> packed) {
  const int length = PackedLength(packed);
  if (length < 0 || static_cast<std::size_t>(length) > packed.size()) {
    AfxThrowArchiveException(CArchiveException::generic);
  }
  m_kind = packed[0];
  SetPos(packed[1]);
  m_row = packed[2];
  SetAnchor(packed[3], packed[4]);
  m_sizeX = packed[5];
  m_sizeY = packed[6];
  const int n = packed[kTextLengthWord];
  std::string bytes(static_cast<std::size_t>(n), '\0');
  for (int at = 0; at < n; at += 4) {
    const auto word = static_cast<std::uint32_t>(packed[kHeaderWords + at / 4]);
    const int count = n - at < 4 ? n - at : 4;
    for (int k = 0; k < count; ++k) bytes[at + k] = static_cast<char>((word >> (8 * (count - 1 - k))) & 0xFF);
  }
  FinishLoad(CString(std::string_view(bytes)), false);
}
