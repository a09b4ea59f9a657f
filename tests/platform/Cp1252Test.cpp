#include "platform/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesUtf8RoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1252::FromUtf8(cp1252::ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheHighRangeToItsTypographicCharacters) {
  struct Case {
    unsigned char byte;
    const char* utf8;
  };
  const Case cases[] = {
      {0x80, "\xE2\x82\xAC"},  // euro sign
      {0x93, "\xE2\x80\x9C"},  // left double quotation mark
      {0xE9, "\xC3\xA9"},      // e acute
      {0x81, "\xC2\x81"},      // undefined in the code page: kept as C1 control
  };
  for (const Case& c : cases) {
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(cp1252::ToUtf8(byte), c.utf8) << int(c.byte);
    EXPECT_EQ(cp1252::FromUtf8(c.utf8), byte) << int(c.byte);
  }
}

TEST(Cp1252, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(cp1252::FromUtf8("\xE4\xB8\xAD"), "?");   // a CJK character
  EXPECT_EQ(cp1252::FromUtf8("a\xC3"), "a?");         // cut-off sequence
  EXPECT_EQ(cp1252::FromUtf8("\xFF" "b"), "?b");      // invalid lead byte
  EXPECT_EQ(cp1252::FromUtf8("\xE2\x82" "x"), "??x"); // bad continuation
}
