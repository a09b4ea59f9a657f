#include "common/SymbolKeys.h"

namespace symbol_keys {

namespace {

// The typing character of each symbol row; 0 for rows without a key. The
// first row whose character matches is the code.
constexpr char kKeyTable[] =
    "tTsSyYxXqQhHw$"                              // 0..13 notes
    "_-!,'jJ"                                     // 14..20 rests
    "|\"I[]%"                                     // 21..26 bars and repeats
    "N#\0&\0"                                     // 27..31 marks
    "u\0n\0"                                      // 32..35 ties
    ".\0"                                         // 36, 37
    "~\0W\0v\0V\0l\0/\0\\\0;\0z\0p\0i\0m\0r\0"    // 38..63
    ">\0L\0U\0M\0^\0k\0<\0{}()P*K=R?@O\0+\0oZ`";  // 64..95
static_assert(sizeof kKeyTable - 1 == kKeyRows, "one key table row per symbol code 0..95");

}  // namespace

char KeyOfCode(int code) { return code >= 0 && code < kKeyRows ? kKeyTable[code] : '\0'; }

int CodeOfKey(char key) {
  if (key == '\0') return -1;
  for (int r = 0; r < kKeyRows; ++r) {
    if (kKeyTable[r] == key) return r;
  }
  return key == ':' ? kColonCode : -1;
}

}  // namespace symbol_keys
