#pragma once
// Windows-1252 is the byte encoding of every string in the core: score files,
// preference texts and messages. These convert at the boundaries (Qt, the
// settings file, file names) with our own table, independent of the locale.

#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of one Windows-1252 byte. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// controls of the same value, as Windows itself does, so every byte survives a
// round trip.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or '?' when it has none.
unsigned char FromUnicode(char32_t codePoint);

// Whole-string conversions. Malformed UTF-8 sequences become '?'.
std::string ToUtf8(std::string_view bytes);
std::string FromUtf8(std::string_view utf8);

}  // namespace cp1252
