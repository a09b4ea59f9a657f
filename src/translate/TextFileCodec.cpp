#include "translate/TextFileCodec.h"

#include "platform/Cp1252.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The number of bytes of the UTF-8 sequence led by the byte; 0 for a byte
// that cannot lead one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int length = SequenceLength(lead);
    if (length == 0 || i + static_cast<size_t>(length) > bytes.size()) return false;
    for (int k = 1; k < length; ++k) {
      if (!IsContinuation(static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]))) return false;
    }
    if (length >= 3) {
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      // Overlong forms, surrogates and code points past U+10FFFF.
      if (lead == 0xE0 && second < 0xA0) return false;
      if (lead == 0xED && second >= 0xA0) return false;
      if (lead == 0xF0 && second < 0x90) return false;
      if (lead == 0xF4 && second >= 0x90) return false;
    }
    i += static_cast<size_t>(length);
  }
  return true;
}

std::string WithLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool LooksBinary(std::string_view bytes) {
  std::size_t controls = 0;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) return true;
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\v' && byte != '\f' && byte != '\r' &&
        byte != 0x1B && byte != 0x1A)
      ++controls;
  }
  return controls > 0 && controls * 100 > bytes.size();
}

KDecodedText DecodeTextFile(std::span<const std::uint8_t> bytes) {
  const std::string_view whole(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string_view raw = whole;
  KDecodedText decoded;
  if (LooksBinary(raw)) {
    decoded.binary = true;
    return decoded;
  }
  if (raw.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    decoded.form.byteOrderMark = true;
    raw.remove_prefix(kByteOrderMark.size());
  }
  decoded.form.crlf = raw.find("\r\n") != std::string_view::npos;
  if (IsValidUtf8(raw)) {
    decoded.form.utf8 = true;
    decoded.text = WithLineFeeds(raw);
  } else {
    // Not UTF-8: the three bytes that looked like a byte-order mark are
    // characters of the Windows-1252 text ("ï»¿") and stay in it.
    decoded.form.utf8 = false;
    decoded.form.byteOrderMark = false;
    decoded.text = WithLineFeeds(cp1252::ToUtf8(whole));
  }
  return decoded;
}

std::vector<std::uint8_t> EncodeTextFile(std::string_view text, KTextFileForm& form) {
  std::string lines;
  lines.reserve(text.size());
  for (char c : text) {
    if (c == '\n' && form.crlf) lines += '\r';
    lines += c;
  }
  std::string out;
  if (!form.utf8) {
    const std::string narrow = cp1252::FromUtf8(lines);
    // A character Windows-1252 lacks would come back as "?": such a text
    // keeps every character as UTF-8.
    if (cp1252::ToUtf8(narrow) == lines) {
      out = narrow;
    } else {
      form.utf8 = true;
    }
  }
  if (form.utf8) out = (form.byteOrderMark ? std::string(kByteOrderMark) : std::string()) + lines;
  return std::vector<std::uint8_t>(out.begin(), out.end());
}
