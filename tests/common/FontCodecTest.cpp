#include "common/FontCodec.h"
#include "common/SettingCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

LOGFONT Read(const char* text) {
  LOGFONT font;
  StringToLogFont(text, font);
  return font;
}

std::string Write(const LOGFONT& font) {
  CString text;
  LogFontToString(font, text);
  return std::string(text.View());
}

TEST(FontCodec, ReadsEveryFieldOfAFontText) {
  LOGFONT font;
  EXPECT_TRUE(StringToLogFont("16,-2,3,4,700,1,0,1,255,3,2,1,34,Arial", font));
  EXPECT_EQ(font.lfHeight, 16);
  EXPECT_EQ(font.lfWidth, -2);
  EXPECT_EQ(font.lfEscapement, 3);
  EXPECT_EQ(font.lfOrientation, 4);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_EQ(font.lfUnderline, 0);
  EXPECT_EQ(font.lfStrikeOut, 1);
  EXPECT_EQ(font.lfCharSet, 255);
  EXPECT_EQ(font.lfOutPrecision, 3);
  EXPECT_EQ(font.lfClipPrecision, 2);
  EXPECT_EQ(font.lfQuality, 1);
  EXPECT_EQ(font.lfPitchAndFamily, 34);
  EXPECT_STREQ(font.lfFaceName, "Arial");
}

TEST(FontCodec, FontTextsRoundTrip) {
  const std::vector<std::string> texts = {
      "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial",
      "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman",
      "-13,0,16711680,0,400,1,1,1,0,3,2,1,49,Courier New",  // a colour in the escapement
      "14,0,0,0,500,0,0,0,0,0,0,0,25,Arial",
      "-2147483648,2147483647,0,0,0,0,0,0,0,0,0,0,0,",
  };
  for (const std::string& text : texts) EXPECT_EQ(Write(Read(text.c_str())), text);
}

TEST(FontCodec, WritesEightBitFieldsUnsignedAndStopsTheFaceAtItsEnd) {
  LOGFONT font;
  font.lfHeight = -12;
  font.lfWeight = 400;
  font.lfItalic = 200;
  font.lfPitchAndFamily = 255;
  std::memset(font.lfFaceName, 'x', sizeof font.lfFaceName);  // no terminator at all
  EXPECT_EQ(Write(font), "-12,0,0,0,400,200,0,0,0,0,0,0,255," + std::string(LF_FACESIZE, 'x'));
}

TEST(FontCodec, IncompleteOrOddTextsFillWhatTheyHold) {
  const char* arial = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  struct Case {
    const char* text;
    bool complete;
    std::string result;  // the font text after reading into the Arial font
  };
  const std::vector<Case> cases = {
      {"12,abc", false, "12,0,0,0,700,0,0,0,0,3,2,1,34,abc"},
      {"1,2,3", false, "1,2,3,0,700,0,0,0,0,3,2,1,34,3"},
      {"Courier New", false, "16,0,0,0,700,0,0,0,0,3,2,1,34,Courier New"},
      {"", false, "16,0,0,0,700,0,0,0,0,3,2,1,34,"},
      {"16;0,0", false, "16,0,0,0,700,0,0,0,0,3,2,1,34,0"},
      // 8-bit fields take the low 8 bits; numbers beyond 32 bits saturate.
      {"16,0,0,0,700,256,-1,257,0,3,2,1,34,Arial", true, "16,0,0,0,700,0,255,1,0,3,2,1,34,Arial"},
      {"99999999999,-99999999999,0,0,0,0,0,0,0,0,0,0,0,X", true,
       "2147483647,-2147483648,0,0,0,0,0,0,0,0,0,0,0,X"},
      // A face name longer than the record holds is cut to 31 bytes.
      {"16,0,0,0,700,0,0,0,0,3,2,1,34,ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij", true,
       "16,0,0,0,700,0,0,0,0,3,2,1,34,ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LOGFONT font = Read(arial);
    EXPECT_EQ(StringToLogFont(c.text, font), c.complete);
    EXPECT_EQ(Write(font), c.result);
  }
}

TEST(SettingCodec, TripleFlagAndFiveValueLimit) {
  struct Case {
    const char* text;
    int tripleFlag;
    int fiveLimit;
  };
  const std::vector<Case> cases = {
      {"1,1,0", 0, 0},
      {"0,0,5", 1, 0},
      {"0,0,-1", 1, 0},
      {"1,2,3,4,600", 1, 1},
      {"1,2,0,4,599", 0, 0},
      {"0,0,0,0,32000", 0, 1},
      {"1,1", 0, 0},
      {"", 0, 0},
      {"a,b,c,d,e", 0, 0},
      {"1,2;3,4,600", 0, 0},
      {" 1, 2, 3, 4, 700", 1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseTripleFlag(c.text), c.tripleFlag) << c.text;
    EXPECT_EQ(ParseFiveValueLimit(c.text), c.fiveLimit) << c.text;
  }
}

}  // namespace
