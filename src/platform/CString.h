#pragma once
// CString: the core's string, a value type holding 8-bit Windows-1252 bytes.
//
// It behaves as the framework's string class the program was written against:
// the same operations, the same clamping of out-of-range arguments (Mid, Left,
// Right, Insert and Delete never fail, they return what lies in range), and the
// same -1 for "not found". A string may hold any byte, including NUL; the
// C-string view (operator LPCTSTR) simply stops at the first NUL, as it did.
//
// Choices where the framework relied on the C run time or left behaviour
// undefined:
// - Searches (Find, ReverseFind, FindOneOf, Span...) look at every byte, not
//   only up to an embedded NUL.
// - A negative start for Find counts as 0; a start at or past the end finds
//   nothing (except an empty substring, found at the end).
// - GetAt, SetAt and operator[] outside the string read as NUL and write
//   nothing, instead of touching memory outside it.
// - Delete(index, count) with a count that runs past the end removes up to the
//   end and returns the new length.
// - Case mapping (MakeUpper, MakeLower, CompareNoCase) covers ASCII and the
//   Windows-1252 letters (accented Latin letters, Š, Œ, Ž, Ÿ), as Windows does
//   for that code page, independent of the process locale.
// - Collate is locale-independent and orders as Compare (byte values).
// - Format formats numbers in the "C" locale whatever the process locale is
//   (Qt sets the user's locale at start-up, which would turn 1.5 into "1,5").
// - A null const char* argument is an empty string everywhere.

#include "platform/WinTypes.h"

#include <compare>
#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* text);  // implicit, as in the framework
  CString(const unsigned char* text);
  CString(const char* bytes, int length);
  explicit CString(char ch, int repeat = 1);
  explicit CString(std::string_view bytes);

  CString& operator=(const char* text);
  CString& operator=(const unsigned char* text);
  CString& operator=(char ch);

  // Size and content.
  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  char GetAt(int index) const;
  void SetAt(int index, char ch);
  char operator[](int index) const { return GetAt(index); }

  operator LPCTSTR() const { return m_str.c_str(); }  // implicit, as in the framework
  std::string_view View() const { return m_str; }
  const std::string& Str() const { return m_str; }

  // Extraction (arguments clamped to the string).
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* charSet) const;
  CString SpanExcluding(const char* charSet) const;

  // Searching: the index found, or -1.
  int Find(char ch) const { return Find(ch, 0); }
  int Find(const char* sub) const { return Find(sub, 0); }
  int Find(char ch, int start) const;
  int Find(const char* sub, int start) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* charSet) const;

  // Changing in place.
  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  void TrimLeft();  // ASCII white space
  void TrimLeft(char target);
  void TrimLeft(const char* targets);
  void TrimRight();
  void TrimRight(char target);
  void TrimRight(const char* targets);
  int Remove(char ch);                  // number removed
  int Replace(char oldCh, char newCh);  // number replaced
  int Replace(const char* oldText, const char* newText);
  int Insert(int index, char ch);  // new length
  int Insert(int index, const char* text);
  int Delete(int index, int count = 1);  // new length

  // printf-style formatting; numbers always in the "C" locale.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

  // Comparison: negative, 0 or positive, by unsigned byte values.
  int Compare(const char* other) const;
  int Compare(const CString& other) const { return CompareBytes(other.m_str); }
  int CompareNoCase(const char* other) const;
  int CompareNoCase(const CString& other) const;
  int Collate(const char* other) const { return Compare(other); }
  int Collate(const CString& other) const { return Compare(other); }

  // Direct buffer access: write into the buffer, then ReleaseBuffer. The
  // buffer holds at least minLength bytes plus a terminating NUL.
  char* GetBuffer(int minLength);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);  // -1: up to the first NUL
  void FreeExtra() { m_str.shrink_to_fit(); }

  // Conversion at the Unicode boundary.
  static CString FromUtf8(std::string_view utf8);
  std::string ToUtf8() const;

  CString& operator+=(const CString& other);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(char a, const CString& b);

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
    return a.CompareBytes(b.m_str) <=> 0;
  }
  friend std::strong_ordering operator<=>(const CString& a, const char* b) { return a.Compare(b) <=> 0; }

 private:
  int CompareBytes(std::string_view other) const;
  int CompareNoCaseBytes(std::string_view other) const;

  std::string m_str;
};

template <>
struct std::hash<CString> {
  std::size_t operator()(const CString& s) const noexcept { return std::hash<std::string_view>()(s.View()); }
};
