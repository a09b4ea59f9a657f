// Random and truncated texts through every codec: nothing may read or write out
// of bounds (the sanitizers watch), and every result stays in its range.

#include "common/FontCodec.h"
#include "common/Globals.h"
#include "common/SettingCodec.h"
#include "common/TuningCodec.h"
#include "platform/FakeUiPort.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

class CodecFuzz : public ::testing::Test {
 protected:
  void SetUp() override { ResetCommonGlobals(); }
  void TearDown() override { ResetCommonGlobals(); }

  // Text from the characters that codecs look for, random bytes, and fragments
  // of real tunings, fret lists and font texts, cut anywhere.
  std::string RandomText() {
    static const std::string kFragments[] = {"E A D G B E  323742475156",
                                          "B E A D G C *1520253035402-",
                                          "!@@!",
                                          "!@@!16,2,4,5,7,9,10,11,12,14",
                                          "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial",
                                          "0999999",
                                          "99999999999",
                                          "-",
                                          ",",
                                          " ",
                                          "*",
                                          "12"};
    static const char kChars[] = "0123456789,, *!@#bABCDEFG-+/";
    std::string text;
    int parts = Pick(0, 6);
    for (int i = 0; i < parts; ++i) {
      switch (Pick(0, 2)) {
        case 0: {
          const std::string& fragment = kFragments[Pick(0, std::size(kFragments) - 1)];
          text += fragment.substr(Pick(0, fragment.size()), Pick(0, fragment.size()));
          break;
        }
        case 1:
          for (int n = Pick(1, 12); n > 0; --n) text += kChars[Pick(0, sizeof kChars - 2)];
          break;
        default:
          for (int n = Pick(1, 6); n > 0; --n) text += static_cast<char>(Pick(0, 255));
      }
    }
    return text;
  }

  int Pick(std::size_t low, std::size_t high) {
    return static_cast<int>(std::uniform_int_distribution<std::size_t>(low, high)(m_random));
  }

  std::mt19937 m_random{20240607};
};

TEST_F(CodecFuzz, TuningReadersStayInRange) {
  FakeUiPort ui;
  ScopedUiPort scope(ui);
  for (int round = 0; round < 20000; ++round) {
    g_HalfFretLabels = round % 2;
    CString text(RandomText());
    SCOPED_TRACE(text.ToUtf8());

    TuningPitches pitches;
    ParseTuningString(text, round % 3 == 0 ? kTuningFlagBass : 0, pitches);
    for (int pitch : pitches) {
      ASSERT_GE(pitch, -40);
      ASSERT_LE(pitch, 255);
    }
    int strings = GetTuningStringCount(text);
    ASSERT_GE(strings, 2);
    ASSERT_LE(strings, 8);
    CString names;
    ASSERT_LE(GetTuningNoteNames(text, names), 8);
    ASSERT_EQ(NormalizeTuningName(text).GetLength(), text.GetLength());

    FretMap map;
    int frets = ParseFretList(text, &map);
    ASSERT_GE(frets, 0);
    ASSERT_LE(frets, 24);
    ASSERT_EQ(map[0], 0);
    int semitone = Pick(0, 40) - 5;
    int fret = FindFretIndex(map, semitone, false);
    if (fret >= 0) {
      ASSERT_EQ(map[fret], semitone);
    }
    FretLabels labels;
    int halfFrets = GetFretLabels(text, labels);
    ASSERT_TRUE(halfFrets == 0 || (halfFrets == 1 && g_HalfFretLabels == 1));

    int shapeStrings = GetShapeStringCount(text);
    ASSERT_GE(shapeStrings, 2);
    ASSERT_LE(shapeStrings, 8);
    int rows = GetShapeFretRows(text);
    ASSERT_GE(rows, 4);
    ASSERT_LE(rows, 7);
  }
  EXPECT_TRUE(ui.Beeps().empty());
}

TEST_F(CodecFuzz, FontTextsReadBackAsWritten) {
  for (int round = 0; round < 20000; ++round) {
    CString text(RandomText());
    SCOPED_TRACE(text.ToUtf8());
    LOGFONT font;
    StringToLogFont(text, font);
    ASSERT_LT(std::strlen(font.lfFaceName), static_cast<std::size_t>(LF_FACESIZE));
    // Whatever was read, writing it and reading it again gives the same font.
    CString written;
    LogFontToString(font, written);
    LOGFONT again;
    ASSERT_TRUE(StringToLogFont(written, again));
    CString rewritten;
    LogFontToString(again, rewritten);
    ASSERT_EQ(rewritten, written);

    int flag = ParseTripleFlag(text);
    ASSERT_TRUE(flag == 0 || flag == 1);
    int limit = ParseFiveValueLimit(text);
    ASSERT_TRUE(limit == 0 || limit == 1);
  }
}

}  // namespace
