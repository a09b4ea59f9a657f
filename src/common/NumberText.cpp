#include "common/NumberText.h"

#include <cstdint>
#include <limits>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads one "%d" at pos; on success stores the value, advances pos and returns true.
bool ReadInteger(std::string_view text, std::size_t& pos, int& value) {
  std::size_t p = pos;
  while (p < text.size() && IsSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p >= text.size() || !IsDigit(text[p])) return false;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; p < text.size() && IsDigit(text[p]); ++p) {
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[p] - '0');
  }
  if (magnitude > kLimit) magnitude = kLimit;
  std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<int>::max()) signedValue = std::numeric_limits<int>::max();
  value = static_cast<int>(signedValue);
  pos = p;
  return true;
}

}  // namespace

int ScanCommaIntegers(std::string_view text, std::span<int> out) {
  std::size_t pos = 0;
  int count = 0;
  for (int& slot : out) {
    if (count > 0) {
      if (pos >= text.size() || text[pos] != ',') break;
      ++pos;
    }
    int value = 0;
    if (!ReadInteger(text, pos, value)) break;
    slot = value;
    ++count;
  }
  return count;
}
