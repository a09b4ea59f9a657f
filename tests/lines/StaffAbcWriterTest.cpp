// The ABC writer of staff lines: note names by row, lengths relative to the
// unit length, meter and tempo header lines, chords, bars, signs and the
// slurs, tuplets and endings of the attachments.

#include <gtest/gtest.h>

#include <string>

#include "StaffLineTestSupport.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kC = 17;  // the row of c
constexpr int kFlagged = KChord::kFlagFlagged;

class StaffAbcWriterTest : public StaffLineTest {
 protected:
  StaffAbcWriterTest() { g_abcUnitLength = 240; }
  ~StaffAbcWriterTest() override { g_abcUnitLength = 240; }

  std::string Abc() {
    const std::optional<CString> text = line.WriteAbc();
    return text ? std::string(text->View()) : std::string("<none>");
  }

  KStaffLine line;
};

struct LengthCase {
  int unit;
  int code;
  int dot;  // 0: none
  const char* expected;
};

TEST_F(StaffAbcWriterTest, WritesNoteAndRestLengthsAgainstTheUnitLength) {
  const LengthCase cases[] = {
      {240, 8, 0, "c2"},         // quarter
      {240, 0, 0, "c"},          // eighth
      {240, 2, 0, "c/2"},        // sixteenth
      {240, 12, 0, "c8"},        // whole
      {480, 6, 0, "c/16"},       // thirty-second against a quarter unit
      {240, 109, 0, "c2"},       // quarter-note head variant
      {240, 110, 0, "c4"},       // half-note head variant
      {240, 8, 36, "c3"},        // dotted quarter
      {120, 0, 36, "c3"},        // dotted eighth against a sixteenth unit
      {240, 0, 36, "c3/2"},      // dotted eighth keeps its dot
      {240, 8, 37, "c7/2"},      // double-dotted quarter: 840 ticks
      {240, 8, 10036, "c15/4"},  // triple-dotted quarter: 900 ticks
  };
  for (const LengthCase& c : cases) {
    SCOPED_TRACE(c.expected);
    KStaffLine fresh;
    g_abcUnitLength = c.unit;
    KChord* column = c.dot == 0      ? Column(0, {{kC, c.code}})
                     : c.dot > 10000 ? Column(0, {{kC, c.code}, {kC, c.dot - 10000, kFlagged}})
                                     : Column(0, {{kC, c.code}, {kC, c.dot}});
    Fill(fresh, {column});
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), std::string(c.expected) + "\r\n");
  }
}

TEST_F(StaffAbcWriterTest, WritesRestsAsZ) {
  Fill(line, {Column(0, {{18, 16}}), Column(1, {{18, 17}}), Column(2, {{18, 14}})});
  EXPECT_EQ(Abc(), "z2zz8\r\n");
}

TEST_F(StaffAbcWriterTest, NamesEachRowAndSkipsRowsWithoutName) {
  const struct {
    int row;
    const char* name;
  } cases[] = {{1, "e''"}, {3, "c''"}, {4, "b'"},  {10, "c'"},  {11, "b"}, {17, "c"}, {18, "B"},
               {24, "C"},  {25, "B,"}, {31, "C,"}, {36, "E,,"}, {0, ""},   {37, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    KStaffLine fresh;
    Fill(fresh, {Column(0, {{c.row, 0}})});
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), std::string(c.name) + "\r\n");
  }
}

TEST_F(StaffAbcWriterTest, MeterColumnWritesHeaderAndSetsUnitLength) {
  const struct {
    int upper;
    int lower;
    const char* expected;  // the whole text for the meter and a quarter note c
    int unit;
  } cases[] = {
      {105, 107, "M:6/8\r\nL:1/8\r\nc2\r\n", 240},
      {101, 103, "M:2/4\r\nL:1/16\r\nc4\r\n", 120},
      {102, 103, "M:3/4\r\nL:1/8\r\nc2\r\n", 240},
      {98, 103, "M:4/4\r\nL:1/8\r\nc2\r\n", 240},
      {99, 103, "M:C|\r\nL:1/8\r\nc2\r\n", 240},
      {111, 107, "M:12/8\r\nL:1/8\r\nc2\r\n", 240},
      {50, 103, "c4\r\n", 120},
      {105, 99, "c4\r\n", 120},  // no valid meter: unit kept
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    KStaffLine fresh;
    g_abcUnitLength = 120;
    Fill(fresh, {TimeSig(0, c.upper, c.lower), Column(1, {{kC, 8}})});
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), c.expected);
    EXPECT_EQ(g_abcUnitLength, c.unit);
  }
}

TEST_F(StaffAbcWriterTest, MeterAfterMusicIsAnInlineField) {
  Fill(line, {KeySig(0, 2), Column(1, {{kC, 0}}), TimeSig(2, 101, 103), Column(3, {{kC, 0}})});
  EXPECT_EQ(Abc(), "c[M:2/4][L:1/16]c2\r\n");
}

// A key change within a line is an inline key field, so that the notes after
// it are read in their key; a change back to C is written as 16 + the old key.
TEST_F(StaffAbcWriterTest, KeyChangeIsAnInlineKeyField) {
  const struct {
    int code;
    const char* expected;
  } cases[] = {{2, "c[K:G]c\r\n"}, {15, "c[K:Cb]c\r\n"}, {18, "c[K:C]c\r\n"}, {5, "c[K:Bb]c\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    KStaffLine fresh;
    Fill(fresh, {Column(0, {{kC, 0}}), KeySig(1, c.code), Column(4, {{kC, 0}})});
    fresh.ModifyFlags(KLineObj::kFlagKeyChanges, 1);
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), c.expected);
  }
  // A line that does not say it has key changes does not read the column.
  KStaffLine unflagged;
  Fill(unflagged, {Column(0, {{kC, 0}}), KeySig(1, 2), Column(4, {{kC, 0}})});
  EXPECT_EQ(std::string(unflagged.WriteAbc()->View()), "cc\r\n");
}

TEST_F(StaffAbcWriterTest, WritesBarsFromTheirCodes) {
  const struct {
    int code;
    int flag;
    const char* text;
  } cases[] = {{21, 0, "|"},  {22, 0, "||"}, {23, 0, "|]"},       {24, 0, "|:"},
               {25, 0, ":|"}, {96, 0, "::"}, {23, kFlagged, "[|"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    KStaffLine fresh;
    Fill(fresh, {Column(0, {{kC, 0}}), Column(1, {{18, c.code, c.flag}})});
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), std::string("c") + c.text + "\r\n");
  }
}

TEST_F(StaffAbcWriterTest, WritesDecorationsThenAccidentalBeforeTheNote) {
  const struct {
    int code;
    const char* text;
  } cases[] = {{27, "=c"}, {28, "^c"}, {29, "^^c"}, {30, "_c"}, {31, "__c"}, {52, ".c"}, {53, ".c"},
               {64, "~c"}, {65, "~c"}, {76, "vc"},  {77, "uc"}, {13, "c"},   {26, "c"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    KStaffLine fresh;
    Fill(fresh, {Column(0, {{kC, 0}, {kC, c.code}})});
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), std::string(c.text) + "\r\n");
  }
  KStaffLine both;
  Fill(both, {Column(0, {{kC, 28}, {kC, 64}, {kC, 0}})});
  EXPECT_EQ(std::string(both.WriteAbc()->View()), "~^c\r\n");
}

TEST_F(StaffAbcWriterTest, ColumnOfSeveralRowsIsAChord) {
  Fill(line, {Column(0, {{kC, 8}, {15, 8}, {15, 28}, {13, 8}}), Column(1, {{13, 0}, {13, 13}})});
  EXPECT_EQ(Abc(), "[c2^e2g2]g\r\n");
}

TEST_F(StaffAbcWriterTest, LooseDotLengthensTheColumnsNotes) {
  Fill(line, {Column(0, {{18, 8}, {17, 36}})});
  EXPECT_EQ(Abc(), "B3\r\n");
}

TEST_F(StaffAbcWriterTest, TempoSymbolWithItsTextWritesTempoLine) {
  const struct {
    int code;  // flagged at row 9
    const char* text;
    const char* expected;
  } cases[] = {{34, "120", "Q:1/4=120\r\nc\r\n"},
               {35, "60", "Q:1/2=60\r\nc\r\n"},
               {32, "q. = 96", "Q:1/8=96\r\nc\r\n"},
               {33, "200", "Q:1/16=200\r\nc\r\n"},
               {34, "fast", "c\r\n"}};  // no digits: no tempo line
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    KStaffLine fresh;
    Fill(fresh, {Column(0, {{9, c.code, kFlagged}}), Column(1, {{kC, 0}})});
    fresh.AddAttachment(new KExtendedObj(0, 9, CString(c.text), CString()));
    EXPECT_EQ(std::string(fresh.WriteAbc()->View()), c.expected);
  }
}

TEST_F(StaffAbcWriterTest, AttachmentsBecomeSlursTupletsAndEndings) {
  Fill(line, {Column(0, {{kC, 0}}), Column(1, {{kC, 0}}), Column(2, {{kC, 0}}), Column(3, {{18, 21}}),
              Column(4, {{kC, 0}})});
  line.AddAttachment(new KExtendedObj(0, 12, KExtendedObj::kNumberedBracket, 0, 0, 2 * 18 - 2, 10, 0, 0,
                                      CString("-3"), CString(), CString()));
  line.AddAttachment(new KExtendedObj(1, 12, KExtendedObj::kSlur, 0, 0, 18, 10));
  line.AddAttachment(new KExtendedObj(4, 5, KExtendedObj::kFirstBracketLine, 0, 0, 18, 10, 0, 0,
                                      CString("2."), CString(), CString()));
  line.AddAttachment(new KExtendedObj(4, 5, CString("2."), CString()));
  // The eighths have no beam: each is written on its own (the slur's sign
  // parts the second from the first).
  EXPECT_EQ(Abc(), "(3c(c c)|[2c\r\n");
}

TEST_F(StaffAbcWriterTest, SlurPastTheLastColumnStillCloses) {
  Fill(line, {Column(0, {{kC, 0}})});
  line.AddAttachment(new KExtendedObj(0, 12, KExtendedObj::kSlur, 0, 0, 5 * 18, 10));
  EXPECT_EQ(Abc(), "(c)\r\n");
}

TEST_F(StaffAbcWriterTest, EmptyLineWritesNothingAndSignatureOnlyLineAnEmptyLine) {
  EXPECT_EQ(Abc(), "<none>");
  Fill(line, {KeySig(0, 3)});
  EXPECT_EQ(Abc(), "\r\n");
}

TEST_F(StaffAbcWriterTest, PlainTextWriterReturnsTheAbcTextWhenAsked) {
  Fill(line, {Column(0, {{kC, 8}})});
  EXPECT_EQ(std::string(line.WriteText(0, 100, 0)->View()), "");
  g_staffTextAsAbc = 1;
  EXPECT_EQ(std::string(line.WriteText(0, 100, 0)->View()), "c2\r\n");
}

TEST_F(StaffAbcWriterTest, GarbageColumnsAndAttachmentsNeverBreakTheText) {
  for (int code = 0; code < 256; ++code) {
    for (int flag : {0, kFlagged}) {
      KStaffLine fresh;
      g_abcUnitLength = 30;
      KChord* odd = Column(0, {{0, 0}, {40, 0}, {kC, 0}});
      KChord* meter = Column(1, {{kC, 225}, {kC, 0}});
      for (int i = 0; i < 3; ++i) {
        odd->SetNoteCode(i, code);
        odd->SetNoteFlags(i, flag);
      }
      meter->SetNoteCode(1, code);
      Fill(fresh, {odd, meter});
      fresh.AddAttachment(new KExtendedObj(-5, 0, KExtendedObj::kSlur, 0, 0, -1000, 0));
      fresh.AddAttachment(new KExtendedObj(1, 0, KExtendedObj::kNumberedBracket, 0, 0, 0, 0, 0, 0,
                                           CString("x"), CString(), CString()));
      const std::string text(fresh.WriteAbc()->View());
      ASSERT_GE(text.size(), 2u);
      EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    }
  }
}

}  // namespace
