#include "platform/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstring>
#include <map>

TEST(CString, ExtractionClampsOutOfRangeArguments) {
  const CString s("abcdef");
  struct Case {
    int first;
    int count;
    const char* mid;
  };
  const Case cases[] = {
      {0, 3, "abc"}, {2, 2, "cd"}, {4, 10, "ef"},    {-2, 3, "abc"},     {6, 1, ""},
      {7, 1, ""},    {2, -1, ""},  {0, 6, "abcdef"}, {INT_MIN, 2, "ab"}, {3, INT_MAX, "def"},
  };
  for (const Case& c : cases) EXPECT_EQ(s.Mid(c.first, c.count), c.mid) << c.first << "," << c.count;

  struct OneArg {
    int n;
    const char* mid;
    const char* left;
    const char* right;
  };
  const OneArg oneArg[] = {
      {-1, "abcdef", "", ""},      {0, "abcdef", "", ""},       {2, "cdef", "ab", "ef"},
      {6, "", "abcdef", "abcdef"}, {9, "", "abcdef", "abcdef"}, {INT_MIN, "abcdef", "", ""},
  };
  for (const OneArg& c : oneArg) {
    EXPECT_EQ(s.Mid(c.n), c.mid) << c.n;
    EXPECT_EQ(s.Left(c.n), c.left) << c.n;
    EXPECT_EQ(s.Right(c.n), c.right) << c.n;
  }
}

TEST(CString, SearchesReturnIndexOrMinusOne) {
  const CString s("a,b;c,d");
  EXPECT_EQ(s.Find(','), 1);
  EXPECT_EQ(s.Find('x'), -1);
  EXPECT_EQ(s.ReverseFind(','), 5);
  EXPECT_EQ(s.ReverseFind('x'), -1);
  EXPECT_EQ(s.FindOneOf(";,"), 1);
  EXPECT_EQ(s.FindOneOf("xy"), -1);
  EXPECT_EQ(s.FindOneOf(""), -1);

  struct Case {
    const char* sub;
    int start;
    int found;
  };
  const Case cases[] = {
      {"c,", 0, 4}, {",", 2, 5}, {",", 6, -1}, {",", -3, 1},  {"", 0, 0},
      {"", 7, 7},   {"", 8, -1}, {"d", 6, 6},  {"zz", 0, -1}, {nullptr, 2, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(s.Find(c.sub, c.start), c.found) << (c.sub ? c.sub : "null") << c.start;

  struct CharCase {
    char ch;
    int start;
    int found;
  };
  const CharCase charCases[] = {{',', 2, 5}, {'d', 6, 6}, {'d', 7, -1}, {'a', -5, 0}, {'a', 1, -1}};
  for (const CharCase& c : charCases) EXPECT_EQ(s.Find(c.ch, c.start), c.found) << c.ch << c.start;
}

TEST(CString, SearchesSeeBytesAfterAnEmbeddedNul) {
  const CString s("ab\0cd", 5);
  EXPECT_EQ(s.GetLength(), 5);
  EXPECT_EQ(std::strlen(s), 2u);
  EXPECT_EQ(s.Find('c'), 3);
  EXPECT_EQ(s.Find("cd"), 3);
  EXPECT_EQ(s.Find('\0'), 2);
}

TEST(CString, SpansStopAtTheFirstByteOutsideOrInsideTheSet) {
  struct Case {
    const char* text;
    const char* set;
    const char* including;
    const char* excluding;
  };
  const Case cases[] = {
      {"123abc", "0123456789", "123", ""},
      {"abc123", "0123456789", "", "abc"},
      {"abc", "", "", "abc"},
      {"", "abc", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CString(c.text).SpanIncluding(c.set), c.including) << c.text;
    EXPECT_EQ(CString(c.text).SpanExcluding(c.set), c.excluding) << c.text;
  }
}

TEST(CString, CaseMappingCoversWindows1252Letters) {
  CString s(
      "az\xE0\xFE\xF7\xDF\x9A\x9C\x9E\xFF\xB5"
      "09");
  s.MakeUpper();
  EXPECT_EQ(s,
            "AZ\xC0\xDE\xF7\xDF\x8A\x8C\x8E\x9F\xB5"
            "09");
  s.MakeLower();
  EXPECT_EQ(s,
            "az\xE0\xFE\xF7\xDF\x9A\x9C\x9E\xFF\xB5"
            "09");
  CString mixed(
      "\xC0"
      "Z\xD7");
  mixed.MakeLower();
  EXPECT_EQ(mixed, "\xE0z\xD7");
}

TEST(CString, ComparisonsOrderByUnsignedBytes) {
  struct Case {
    const char* a;
    const char* b;
    int compare;
    int noCase;
  };
  const Case cases[] = {
      {"abc", "abc", 0, 0}, {"abc", "abd", -1, -1}, {"ab", "abc", -1, -1},
      {"b", "a", 1, 1},     {"ABC", "abc", -1, 0},  {"\xE9", "\xC9", 1, 0},
      {"\x80", "z", 1, 1},  {"_", "A", 1, -1},      {"", nullptr, 0, 0},
  };
  for (const Case& c : cases) {
    const CString a(c.a);
    EXPECT_EQ(a.Compare(c.b), c.compare) << c.a << " " << c.b;
    EXPECT_EQ(a.CompareNoCase(c.b), c.noCase) << c.a << " " << c.b;
    EXPECT_EQ(a == c.b, c.compare == 0);
    EXPECT_EQ(a < CString(c.b), c.compare < 0);
    EXPECT_EQ(c.b > a, c.compare < 0);
  }
  std::map<CString, int> byName{{"b", 2}, {"a", 1}};
  EXPECT_EQ(byName.begin()->second, 1);
}

TEST(CString, TrimmingRemovesWhitespaceACharOrASet) {
  CString s(" \t\r\nab c \v\f");
  s.TrimLeft();
  EXPECT_EQ(s, "ab c \v\f");
  s.TrimRight();
  EXPECT_EQ(s, "ab c");

  CString stars("**a*b**");
  stars.TrimLeft('*');
  stars.TrimRight('*');
  EXPECT_EQ(stars, "a*b");

  CString set("-+x+-");
  set.TrimLeft("+-");
  EXPECT_EQ(set, "x+-");
  set.TrimRight("+-x");
  EXPECT_EQ(set, "");

  CString untouched("abc");
  untouched.TrimLeft("");
  untouched.TrimRight('z');
  EXPECT_EQ(untouched, "abc");
}

TEST(CString, EditsReportCountsAndClampPositions) {
  CString s("a-b-c");
  EXPECT_EQ(s.Replace('-', '+'), 2);
  EXPECT_EQ(s, "a+b+c");
  EXPECT_EQ(s.Replace('+', '+'), 0);
  EXPECT_EQ(s.Remove('+'), 2);
  EXPECT_EQ(s, "abc");

  struct Case {
    const char* text;
    const char* from;
    const char* to;
    int count;
    const char* result;
  };
  const Case cases[] = {
      {"aaaa", "aa", "b", 2, "bb"}, {"abcabc", "bc", "", 2, "aa"}, {"abc", "", "x", 0, "abc"},
      {"abc", "x", "y", 0, "abc"},  {"ab", "b", "bb", 1, "abb"},   {"abc", "b", nullptr, 1, "ac"},
  };
  for (const Case& c : cases) {
    CString t(c.text);
    EXPECT_EQ(t.Replace(c.from, c.to), c.count) << c.text;
    EXPECT_EQ(t, c.result) << c.text;
  }

  struct DeleteCase {
    int index;
    int count;
    const char* result;
  };
  const DeleteCase deletes[] = {{1, 2, "ade"},   {-3, 1, "bcde"}, {3, 99, "abc"},
                                {5, 1, "abcde"}, {2, 0, "abcde"}, {2, -1, "abcde"}};
  for (const DeleteCase& d : deletes) {
    CString t("abcde");
    EXPECT_EQ(t.Delete(d.index, d.count), static_cast<int>(std::strlen(d.result)))
        << d.index << "," << d.count;
    EXPECT_EQ(t, d.result) << d.index << "," << d.count;
  }

  CString ins("ac");
  EXPECT_EQ(ins.Insert(1, 'b'), 3);
  EXPECT_EQ(ins.Insert(-4, "<"), 4);
  EXPECT_EQ(ins.Insert(99, ">"), 5);
  EXPECT_EQ(ins, "<abc>");
  ins.MakeReverse();
  EXPECT_EQ(ins, ">cba<");
}

TEST(CString, ElementAccessOutsideTheStringIsHarmless) {
  CString s("ab");
  EXPECT_EQ(s[1], 'b');
  EXPECT_EQ(s.GetAt(2), '\0');
  EXPECT_EQ(s.GetAt(-1), '\0');
  s.SetAt(5, 'x');
  s.SetAt(-1, 'x');
  s.SetAt(0, 'z');
  EXPECT_EQ(s, "zb");
}

TEST(CString, ConstructorsAndConcatenation) {
  EXPECT_EQ(CString('x', 3), "xxx");
  EXPECT_EQ(CString('x', -1), "");
  EXPECT_EQ(CString("abcdef", 3), "abc");
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
  const CString a("ab");
  EXPECT_EQ(a + "c" + 'd' + CString("e"), "abcde");
  EXPECT_EQ("<" + a + '>', "<ab>");
  EXPECT_EQ('[' + a, "[ab");
  CString b;
  b += a;
  b += "!";
  b += '?';
  EXPECT_EQ(b, "ab!?");
  EXPECT_FALSE(b.IsEmpty());
  b.Empty();
  EXPECT_TRUE(b.IsEmpty());
}

TEST(CString, FormatIgnoresTheProcessLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  // Any locale with a decimal comma shows the point of the test; fall back to C.
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  }
  CString s;
  s.Format("%d|%5.2f|%s|%c|%x", -42, 1.5, "txt", 'q', 255);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(s, "-42| 1.50|txt|q|ff");

  CString longText;
  longText.Format("%s%s", std::string(3000, 'a').c_str(), "b");
  EXPECT_EQ(longText.GetLength(), 3001);
  longText.Format("%s", "");
  EXPECT_TRUE(longText.IsEmpty());
}

TEST(CString, BufferAccessSetsTheLength) {
  CString s("abc");
  char* buffer = s.GetBuffer(11);
  std::strcpy(buffer, "hello world");
  s.ReleaseBuffer();
  EXPECT_EQ(s, "hello world");

  buffer = s.GetBuffer(0);
  buffer[0] = 'H';
  s.ReleaseBuffer(5);
  EXPECT_EQ(s, "Hello");

  buffer = s.GetBufferSetLength(2);
  EXPECT_EQ(s.GetLength(), 2);
  buffer[1] = 'i';
  s.ReleaseBuffer(99);
  EXPECT_EQ(s, "Hi");
}

TEST(CString, Utf8ConversionRoundTrips) {
  const CString s = CString::FromUtf8("caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(s, "caf\xE9 \x80");
  EXPECT_EQ(s.ToUtf8(), "caf\xC3\xA9 \xE2\x82\xAC");
}
