// Plain-text tablature and its ABC comment form: the grid of string rows,
// columns and two-digit frets, bars and time signatures, technique marks,
// string names of other tunings, the rhythm rows, and damaged input.

#include <string>

#include "TabLineTestSupport.h"
#include "lines/TranslationServices.h"

namespace {

class TabTextWriterTest : public TabLineTest {
 protected:
  TabTextWriterTest() { ResetTranslationServices(); }
  ~TabTextWriterTest() override { ResetTranslationServices(); }
};

// The rows of a text; every row must end with CR LF.
std::vector<std::string> Rows(const std::optional<CString>& text) {
  std::vector<std::string> rows;
  EXPECT_TRUE(text.has_value());
  if (!text) return rows;
  std::string rest(text->View());
  while (!rest.empty()) {
    const size_t end = rest.find("\r\n");
    EXPECT_NE(end, std::string::npos) << "a row without CR LF: " << rest;
    if (end == std::string::npos) break;
    rows.push_back(rest.substr(0, end));
    rest.erase(0, end + 2);
  }
  return rows;
}

std::string Dashes(int n) { return std::string(n, '-'); }
std::string Blanks(int n) { return std::string(n, ' '); }

TEST_F(TabTextWriterTest, FretsStandOnTheirStringWithDashesBetweenAndTwoDigitsWiden) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 0}}), TabNotes(1, {{2, 3}}), TabNotes(2, {{2, 12}}), TabNotes(3, {{7, 5}})});
  const std::vector<std::string> rows = Rows(line.WriteText(0, 10000, 0));
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], Blanks(14));
  EXPECT_EQ(rows[1], "|---0-3-12-" + Dashes(2) + "|");
  for (int r = 2; r <= 5; ++r) EXPECT_EQ(rows[r], "|" + Dashes(12) + "|") << r;
  EXPECT_EQ(rows[6], "|" + Dashes(10) + "5-|");
}

struct EmptyCase {
  int mode;
  std::string top;
  std::string string;
};

TEST_F(TabTextWriterTest, AnEmptyLineGivesHeadersThreeDashesAndTheClosingBar) {
  const EmptyCase cases[] = {
      {0, Blanks(5), "|---|"},
      {2, Blanks(5), "|---|"},
      {10, "N: " + Blanks(5), "N: |---|"},
      {12, "N: " + Blanks(5), "N: |---|"},
  };
  for (const EmptyCase& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    const std::vector<std::string> rows = Rows(line.WriteText(0, 32000, c.mode));
    ASSERT_EQ(rows.size(), 7u) << c.mode;
    EXPECT_EQ(rows[0], c.top) << c.mode;
    for (int r = 1; r <= 6; ++r) EXPECT_EQ(rows[r], c.string) << c.mode;
  }
}

TEST_F(TabTextWriterTest, TheAbcFormPutsEveryRowBehindTheCommentField) {
  g_textTabMode = 0;
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{3, 1}})});
  const std::vector<std::string> rows = Rows(line.WriteAbc());
  ASSERT_EQ(rows.size(), 7u);
  for (const std::string& row : rows) EXPECT_EQ(row.substr(0, 3), "N: ");
  EXPECT_EQ(rows[2], "N: |---1-|");
  EXPECT_EQ(Rows(line.WriteText(0, 32000, 10)), rows);
}

struct MarkCase {
  int fret;
  int code;  // a further entry on the note's row; 0 none
  int style;
  int textRow;  // the text row checked
  std::string expected;
};

TEST_F(TabTextWriterTest, TechniqueMarksStandBesideTheirFret) {
  // The note stands on string row 3, text row 2.
  const MarkCase cases[] = {
      {5, 42, 0, 2, "|---5h|"},                              // hammer-on after the fret
      {12, 44, 0, 2, "|---12p|"},                            // past a second digit
      {5, 32, 0, 2, "|---5^|"},                              // tie
      {5, 40, 0, 2, "|---5~|"},                              // vibrato
      {5, 48, 0, 2, "|---5/|"},                              // slide out
      {5, 81, 0, 2, "|---5)|"},   {5, 49, 0, 2, "|--/5-|"},  // slide in, left of the fret
      {5, 80, 0, 2, "|--(5-|"},   {5, 56, 0, 1, "|---p-|"},  // finger on the row above
      {5, 63, 0, 3, "|---a-|"},                              // finger on the row below
      {5, 0, 1, 2, "|---/-|"},                               // slash style
      {5, 0, 2, 2, "|---X-|"},                               // dead-note style
      {5, 0, 3, 2, "|--<5>|"},                               // ghost-note style
      {5, 36, 0, 2, "|---5-|"},                              // a dot writes nothing without rhythm rows
  };
  for (const MarkCase& c : cases) {
    KTabLine line(0, kStandardTuning, 0);
    KChord* column = c.code != 0 ? TabNotes(0, {{3, c.fret}}, {{3, c.code}}) : TabNotes(0, {{3, c.fret}});
    column->SetRhythmCode(column->GetRhythmCode() + c.style);
    Fill(line, {column});
    const std::vector<std::string> rows = Rows(line.WriteText(0, 100, 1));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[c.textRow], c.expected) << "code " << c.code << " style " << c.style;
  }
}

TEST_F(TabTextWriterTest, BarsRepeatsAndTimeSignaturesAreWritten) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TimeSig(0, 103, 103), TabNotes(1, {{2, 1}}), TabBar(2), TabNotes(3, {{2, 2}}),
              new KChord(4, 1, 22, KChord::kTabRhythm), new KChord(5, 1, 24, KChord::kTabRhythm),
              TimeSig(6, 98, 0)});
  const std::vector<std::string> rows = Rows(line.WriteText(0, 100, 0));
  ASSERT_EQ(rows.size(), 7u);
  // Text columns: 4 sig (wide), 7 fret, 9 bar, 11 fret, 13 double bar (wide),
  // 16 repeat (wide), 19 common time (wide), closing bar at 22.
  EXPECT_EQ(rows[1], "|------1-|-2-||-|-----|");
  EXPECT_EQ(rows[2], "|--------|---||-|-----|");
  EXPECT_EQ(rows[3], "|---4:---|---||-|*-C:-|");
  EXPECT_EQ(rows[4], "|---4:---|---||-|*----|");
}

TEST_F(TabTextWriterTest, OnlyColumnsInTheRangeAreWritten) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 1}}), TabNotes(2, {{2, 2}}), TabNotes(3, {{2, 3}}), TabNotes(6, {{2, 4}})});
  const std::vector<std::string> rows = Rows(line.WriteText(2, 3, 0));
  EXPECT_EQ(rows[1], "|---2-3-|");
}

TEST_F(TabTextWriterTest, OtherTuningsNameTheirStrings) {
  KTabLine bass(0, kBassTuning4, KTabLine::kFlagBass);
  const std::vector<std::string> rows = Rows(bass.WriteText(0, 100, 0));
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], Blanks(5));
  EXPECT_EQ(rows[1], Blanks(5));
  EXPECT_EQ(rows[2], "G---|");
  EXPECT_EQ(rows[3], "D---|");
  EXPECT_EQ(rows[4], "A---|");
  EXPECT_EQ(rows[5], "E---|");

  KTabLine dropD(0, "D A D G B E  303742475156", 0);
  const std::vector<std::string> dropRows = Rows(dropD.WriteText(0, 100, 10));
  ASSERT_EQ(dropRows.size(), 7u);
  EXPECT_EQ(dropRows[1], "N: E---|");
  EXPECT_EQ(dropRows[6], "N: D---|");
}

TEST_F(TabTextWriterTest, RhythmRowsCarryTheNoteValuesAndRests) {
  KTabLine line(0, kStandardTuning, 0);
  // A quarter, a sixteenth, and a quarter rest on string row 5.
  Fill(line,
       {TabNotes(0, {{2, 3}}, {}, 0, 0, 8), TabNotes(1, {{2, 5}}, {}, 0, 0, 2), TabNotes(2, {}, {{5, 16}})});
  g_rhythmAbove = 1;
  std::vector<std::string> rows = Rows(line.WriteText(0, 100, 0));
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], "    q s q  ");
  EXPECT_EQ(rows[1], "|---3-5---|");
  EXPECT_EQ(rows[4], "|-------R-|");

  g_rhythmAbove = 0;
  g_rhythmBelow = 1;
  rows = Rows(line.WriteText(0, 100, 0));
  // The down-stem row lies below the last string and is written too.
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0], Blanks(11));
  EXPECT_EQ(rows[6], "|" + Dashes(9) + "|");
  EXPECT_EQ(rows[7][8], 'q');
}

TEST_F(TabTextWriterTest, DamagedColumnsNeverWriteOutsideTheRows) {
  KTabLine line(0, kStandardTuning, 0);
  auto* lone = new KChord(0);
  FillColumn(*lone, 0, {{1, KChord::kTimeSignature}});  // a signature without its numbers
  Fill(line, {lone, TabNotes(3, {{9, 24}}, {{9, 48}, {1, 96}}), TabNotes(30000, {{2, 1}})});
  for (int mode : {0, 2, 12, -5, 99}) {
    for (auto [from, to] : {std::pair{0, 32000}, std::pair{-2000000000, 2000000000}, std::pair{500, 0}}) {
      const std::vector<std::string> rows = Rows(line.WriteText(from, to, mode));
      ASSERT_FALSE(rows.empty());
      for (const std::string& row : rows) EXPECT_EQ(row.size(), rows[0].size());
    }
  }
}

}  // namespace
