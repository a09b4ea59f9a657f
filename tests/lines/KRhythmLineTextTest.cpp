// The rhythm letters, the text and ABC writers, and the tempo and swing that
// playback reads from a rhythm line.

#include <gtest/gtest.h>

#include "RhythmLineTestSupport.h"

namespace {

using namespace rhythm;

TEST(RhythmLetters, EveryLetterEntersItsCodeAndIsWrittenBack) {
  for (int i = 0; i < 32; ++i) {
    const int letter = static_cast<unsigned char>(kRhythmLetters[i]);
    for (int style = 0; style < 4; ++style) {
      const int code = RhythmCodeOfOffset(RhythmLetterOffset(i), style);
      EXPECT_EQ(RhythmLetterOfCode(code), letter) << i << "/" << style;
    }
  }
  struct Case {
    char letter;
    int style;
    int code;
  } cases[] = {{'w', 0, 205}, {'w', 3, 214}, {'q', 1, 210}, {'t', 0, 223}, {'x', 3, 238},
               {'.', 2, 222}, {'|', 1, 200}, {'F', 0, 249}, {'S', 0, 253}};
  for (const Case& c : cases)
    EXPECT_EQ(RhythmCodeOfOffset(RhythmLetterOffset(RhythmLetterIndex(c.letter)), c.style), c.code)
        << c.letter;
  EXPECT_EQ(RhythmLetterIndex('a'), -1);
  EXPECT_EQ(RhythmLetterIndex(0), -1);
  EXPECT_EQ(RhythmLetterOfCode(254), 0);
  EXPECT_EQ(RhythmLetterOfCode(47 + 200), 0);
}

TEST(RhythmLetters, NoteCodesOfTheSymbols) {
  struct Case {
    int code;
    int note;
  } cases[] = {{200, 21}, {204, 25}, {205, 12}, {215, 10}, {216, 8},  {217, 16}, {221, 20},
               {222, 36}, {223, 0},  {238, 6},  {233, 4},  {239, 14}, {240, 15}, {241, 34},
               {242, 26}, {243, 89}, {244, 90}, {245, -1}, {199, -1}};
  for (const Case& c : cases) EXPECT_EQ(NoteCodeOfRhythmCode(c.code), c.note) << c.code;
}

TEST_F(RhythmLineTest, WriterModes) {
  Type(line, "ab^q^|  ^j^.");
  // Mode 0 writes a blank for every symbol, mode 1 the letters of note values and the dot.
  EXPECT_EQ(line.WriteText(0, 32000, 0).value().Str(), "ab      ");
  EXPECT_EQ(line.WriteText(0, 32000, 1).value().Str(), "abq    .");
  EXPECT_EQ(line.WriteText(0, 32000, 2).value().Str(), "abq|  j.");
  // Items outside the columns are left out; the blanks count from the first column.
  EXPECT_EQ(line.WriteText(2, 5, 2).value().Str(), "q|  ");
}

TEST_F(RhythmLineTest, AbcWriterWritesNoteValuesOnly) {
  Type(line, "Swing ^q^|");
  EXPECT_EQ(line.WriteAbc().value().Str(), "N:Swing q \r\n");
}

TEST_F(RhythmLineTest, TempoFromAMetronomeMark) {
  struct Case {
    const char* keys;
    int bpm;
  } cases[] = {
      {"^q=120", 120}, {"^q^.=80", 120}, {"^h=60", 120}, {"^t=480", 240}, {"^q=600", -1},      {"^w=30", 120},
      {"^q=", -1},     {"^q =abc", -1},  {"^q a5", -1},  {"^q^|=90", -1}, {"^q=x^.=100", 150},
  };
  for (const Case& c : cases) {
    KRhythmLine tempo;
    Type(tempo, c.keys);
    EXPECT_EQ(tempo.GetTempoBpm(), c.bpm) << c.keys;
  }
}

TEST_F(RhythmLineTest, TempoFromWords) {
  struct Case {
    const char* text;
    int bpm;
  } cases[] = {{"Allegro moderato", 120}, {"andantino", 105}, {"Allegretto", 110}, {"Prestissimo", 200},
               {"Presto", 160},           {"slowly", -1},     {"Largo", 50}};
  for (const Case& c : cases) {
    KRhythmLine tempo;
    Type(tempo, c.text);
    EXPECT_EQ(tempo.GetTempoBpm(), c.bpm) << c.text;
  }
  // The attachments' texts are read after the items.
  KRhythmLine attached;
  Type(attached, "swing");
  attached.AddAttachment(new KExtendedObj(0, 3, "Vivace", ""));
  EXPECT_EQ(attached.GetTempoBpm(), 140);
}

TEST_F(RhythmLineTest, SwingRatio) {
  struct Case {
    const char* keys;
    float ratio;
  } cases[] = {
      {"^M^L2:1", 2.0f / 3}, {"^M^L3 : 1", 0.75f}, {"^M^Lswing", 0.666f}, {"^M^L2:0", 0.0f},
      {"^M^M^L2:1", 0.0f},   {"^L^M2:1", -1.0f},   {"2:1", -1.0f},        {"^M^Lx 1:1^q 3:1", 0.5f},
  };
  for (const Case& c : cases) {
    KRhythmLine swing;
    Type(swing, c.keys);
    EXPECT_FLOAT_EQ(swing.GetSwingRatio(), c.ratio) << c.keys;
  }
}

TEST_F(RhythmLineTest, SwingRatioFromTextAttachments) {
  Type(line, "^M^Lswing");
  line.AddAttachment(new KExtendedObj(0, 3, "no digits", ""));
  EXPECT_FLOAT_EQ(line.GetSwingRatio(), -1.0f);
  line.AddAttachment(new KExtendedObj(1, 3, "ratio 3/1", ""));
  EXPECT_FLOAT_EQ(line.GetSwingRatio(), 0.75f);
}

}  // namespace
