#include "platform/CString.h"

#include "platform/Cp1252.h"

#include <locale.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string_view ViewOf(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

// Windows-1252 case mapping: ASCII letters, the accented Latin-1 letters
// (except the multiplication and division signs, sharp s and y diaeresis,
// whose capital is 0x9F) and the pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
unsigned char ToUpper1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

unsigned char ToLower1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int ClampIndex(int index, int length) { return std::clamp(index, 0, length); }

// The "C" locale for formatting, made once and kept for the whole run.
locale_t ClassicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

}  // namespace

CString::CString(const char* text) : m_str(ViewOf(text)) {}

CString::CString(const unsigned char* text) : CString(reinterpret_cast<const char*>(text)) {}

CString::CString(const char* bytes, int length) {
  if (bytes != nullptr && length > 0) m_str.assign(bytes, static_cast<std::size_t>(length));
}

CString::CString(char ch, int repeat) {
  if (repeat > 0) m_str.assign(static_cast<std::size_t>(repeat), ch);
}

CString::CString(std::string_view bytes) : m_str(bytes) {}

CString& CString::operator=(const char* text) {
  m_str = ViewOf(text);
  return *this;
}

CString& CString::operator=(const unsigned char* text) { return *this = reinterpret_cast<const char*>(text); }

CString& CString::operator=(char ch) {
  m_str.assign(1, ch);
  return *this;
}

char CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return '\0';
  return m_str[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, char ch) {
  if (index < 0 || index >= GetLength()) return;
  m_str[static_cast<std::size_t>(index)] = ch;
}

CString CString::Mid(int first) const {
  // Computed wide: first may be as low as INT_MIN.
  const long long count = static_cast<long long>(GetLength()) - first;
  return Mid(first, static_cast<int>(std::clamp<long long>(count, 0, GetLength())));
}

CString CString::Mid(int first, int count) const {
  const long long length = GetLength();
  long long start = std::max(first, 0);
  long long n = std::max(count, 0);
  if (start + n > length) n = length - start;
  if (start > length) n = 0;
  if (n <= 0) return CString();
  return CString(
      std::string_view(m_str).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(n)));
}

CString CString::Left(int count) const {
  const int n = ClampIndex(count, GetLength());
  return CString(std::string_view(m_str).substr(0, static_cast<std::size_t>(n)));
}

CString CString::Right(int count) const {
  const int n = ClampIndex(count, GetLength());
  return CString(std::string_view(m_str).substr(static_cast<std::size_t>(GetLength() - n)));
}

CString CString::SpanIncluding(const char* charSet) const {
  const std::size_t end = m_str.find_first_not_of(ViewOf(charSet));
  return CString(std::string_view(m_str).substr(0, end));
}

CString CString::SpanExcluding(const char* charSet) const {
  const std::string_view set = ViewOf(charSet);
  const std::size_t end = set.empty() ? std::string::npos : m_str.find_first_of(set);
  return CString(std::string_view(m_str).substr(0, end));
}

int CString::Find(char ch, int start) const {
  start = std::max(start, 0);
  if (start >= GetLength()) return -1;
  const std::size_t at = m_str.find(ch, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
  start = std::max(start, 0);
  if (start > GetLength()) return -1;
  const std::size_t at = m_str.find(ViewOf(sub), static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  const std::size_t at = m_str.rfind(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* charSet) const {
  const std::string_view set = ViewOf(charSet);
  if (set.empty()) return -1;
  const std::size_t at = m_str.find_first_of(set);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

void CString::MakeUpper() {
  for (char& c : m_str) c = static_cast<char>(ToUpper1252(static_cast<unsigned char>(c)));
}

void CString::MakeLower() {
  for (char& c : m_str) c = static_cast<char>(ToLower1252(static_cast<unsigned char>(c)));
}

void CString::MakeReverse() { std::reverse(m_str.begin(), m_str.end()); }

void CString::TrimLeft() {
  const auto first = std::find_if_not(m_str.begin(), m_str.end(), IsAsciiSpace);
  m_str.erase(m_str.begin(), first);
}

void CString::TrimLeft(char target) {
  m_str.erase(0, std::min(m_str.find_first_not_of(target), m_str.size()));
}

void CString::TrimLeft(const char* targets) {
  m_str.erase(0, std::min(m_str.find_first_not_of(ViewOf(targets)), m_str.size()));
}

void CString::TrimRight() {
  const auto last = std::find_if_not(m_str.rbegin(), m_str.rend(), IsAsciiSpace);
  m_str.erase(last.base(), m_str.end());
}

void CString::TrimRight(char target) {
  const std::size_t last = m_str.find_last_not_of(target);
  m_str.erase(last == std::string::npos ? 0 : last + 1);
}

void CString::TrimRight(const char* targets) {
  const std::size_t last = m_str.find_last_not_of(ViewOf(targets));
  m_str.erase(last == std::string::npos ? 0 : last + 1);
}

int CString::Remove(char ch) {
  const auto newEnd = std::remove(m_str.begin(), m_str.end(), ch);
  const int removed = static_cast<int>(m_str.end() - newEnd);
  m_str.erase(newEnd, m_str.end());
  return removed;
}

int CString::Replace(char oldCh, char newCh) {
  if (oldCh == newCh) return 0;
  int count = 0;
  for (char& c : m_str) {
    if (c == oldCh) {
      c = newCh;
      ++count;
    }
  }
  return count;
}

int CString::Replace(const char* oldText, const char* newText) {
  const std::string_view from = ViewOf(oldText);
  const std::string_view to = ViewOf(newText);
  if (from.empty()) return 0;
  std::string result;
  int count = 0;
  std::size_t done = 0;
  for (std::size_t at = m_str.find(from); at != std::string::npos; at = m_str.find(from, done)) {
    result.append(m_str, done, at - done);
    result.append(to);
    done = at + from.size();
    ++count;
  }
  if (count == 0) return 0;
  result.append(m_str, done, std::string::npos);
  m_str = std::move(result);
  return count;
}

int CString::Insert(int index, char ch) {
  m_str.insert(static_cast<std::size_t>(ClampIndex(index, GetLength())), 1, ch);
  return GetLength();
}

int CString::Insert(int index, const char* text) {
  m_str.insert(static_cast<std::size_t>(ClampIndex(index, GetLength())), ViewOf(text));
  return GetLength();
}

int CString::Delete(int index, int count) {
  index = std::max(index, 0);
  if (count > 0 && index < GetLength()) {
    m_str.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
  }
  return GetLength();
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
  if (format == nullptr) {
    m_str.clear();
    return;
  }
  const locale_t previous = uselocale(ClassicLocale());
  va_list measure;
  va_copy(measure, args);
  const int needed = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string result;
  if (needed > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    result.assign(buffer.data(), static_cast<std::size_t>(needed));
  }
  uselocale(previous);
  m_str = std::move(result);
}

int CString::CompareBytes(std::string_view other) const {
  // std::char_traits<char>::compare orders bytes as unsigned char, like strcmp.
  const int c = std::string_view(m_str).compare(other);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::Compare(const char* other) const { return CompareBytes(ViewOf(other)); }

int CString::CompareNoCaseBytes(std::string_view other) const {
  const std::size_t n = std::min(m_str.size(), other.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char a = ToLower1252(static_cast<unsigned char>(m_str[i]));
    const unsigned char b = ToLower1252(static_cast<unsigned char>(other[i]));
    if (a != b) return a < b ? -1 : 1;
  }
  if (m_str.size() == other.size()) return 0;
  return m_str.size() < other.size() ? -1 : 1;
}

int CString::CompareNoCase(const char* other) const { return CompareNoCaseBytes(ViewOf(other)); }

int CString::CompareNoCase(const CString& other) const { return CompareNoCaseBytes(other.m_str); }

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_str.resize(static_cast<std::size_t>(minLength));
  return m_str.data();
}

char* CString::GetBufferSetLength(int length) {
  m_str.resize(static_cast<std::size_t>(std::max(length, 0)));
  return m_str.data();
}

void CString::ReleaseBuffer(int newLength) {
  std::size_t length;
  if (newLength < 0) {
    length = std::min(std::strlen(m_str.c_str()), m_str.size());
  } else {
    length = std::min(static_cast<std::size_t>(newLength), m_str.size());
  }
  m_str.resize(length);
}

CString CString::FromUtf8(std::string_view utf8) { return CString(cp1252::FromUtf8(utf8)); }

std::string CString::ToUtf8() const { return cp1252::ToUtf8(m_str); }

CString& CString::operator+=(const CString& other) {
  m_str += other.m_str;
  return *this;
}

CString& CString::operator+=(const char* text) {
  m_str += ViewOf(text);
  return *this;
}

CString& CString::operator+=(char ch) {
  m_str += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, const char* b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const char* a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, char b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(char a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}
