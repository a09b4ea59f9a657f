// The scan of the score's display lines for text-tab blocks: ranges, the
// refusal of too few rows, insertion and removal of the rows, measuring, and
// round trips through the tablature line's plain-text writer.

#include <gtest/gtest.h>

#include <sstream>

#include "TextTabTestSupport.h"
#include "lines/TranslationServices.h"
#include "platform/UiPort.h"
#include "translate/ParseTextTab.h"

namespace {

const std::vector<std::string> kSixRows = {"e|---0---|", "B|---1---|", "G|---0---|",
                                           "D|---2---|", "A|---3---|", "E|-------|"};

class ParseTextTabTest : public TextTabTest {
 protected:
  FakeTextTabView m_view;
};

TEST_F(ParseTextTabTest, SixRowsWithoutSelectionGiveGuitarLineBelowFollowingLine) {
  m_view.AddTexts(kSixRows);
  m_view.AddText("chords: G C D");
  m_view.AddText("after");
  EXPECT_EQ(ParseTextTab(m_view, 0), 0);

  const std::vector<std::string> kinds = m_view.Kinds();
  ASSERT_EQ(kinds.size(), 9u);
  EXPECT_EQ(kinds[6], "T:chords: G C D");
  EXPECT_EQ(kinds[7], "tab6");
  EXPECT_EQ(kinds[8], "T:after");
  auto& line = static_cast<KTabLine&>(*m_view.lines[7]);
  EXPECT_EQ(line.GetTuning(), CString("E A D G B E  323742475156"));
  // The row names are letters that mean nothing; the frets share one column.
  EXPECT_EQ(DumpTabLine(line), "5:2/226,3/227,4/226,5/228,6/229");
  EXPECT_EQ(m_view.undoSteps, (std::vector<std::pair<int, int>>{{6, 0}}));
  EXPECT_EQ(m_view.finished, 1);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(ParseTextTabTest, NewLineGoesAtEndWhenNothingFollows) {
  g_textTabBassKinds = 1;
  m_view.AddTexts(kSixRows);
  ParseTextTab(m_view, 0);
  EXPECT_EQ(m_view.Kinds().back(), "bass6");
  EXPECT_EQ(static_cast<KTabLine&>(*m_view.lines.back()).GetTuning(), CString("B E A D G C *152025303540"));
}

TEST_F(ParseTextTabTest, TooFewRowsWithoutSelectionBeepsAndChangesNothing) {
  for (const char* text : {"e|---0---|", "B|---1---|", "G|---0---|", "no dashes", "x", "y"})
    m_view.AddText(text);
  const std::vector<std::string> before = m_view.Kinds();
  EXPECT_EQ(ParseTextTab(m_view, 0), 0);
  EXPECT_EQ(m_view.Kinds(), before);
  EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
  ASSERT_EQ(m_ui.MessageIds(), std::vector<UINT>{7055});
  EXPECT_EQ(
      m_ui.Messages()[0].text,
      "There must be at least four consecutive text-tab lines.\nAll text-tab lines are assumed to have at "
      "least \"---\".\nAdd three hyphens to the end of any lines without this pattern.");
  EXPECT_EQ(m_view.finished, 0);
}

TEST_F(ParseTextTabTest, SelectionReadsEveryBlockAndRemovesRows) {
  g_textTabRemoveRows = 1;
  m_view.AddText("title");
  m_view.AddTexts({"|-3-|---", "|---|", "|---|"});  // three rows: passed over quietly
  m_view.AddText("gap");
  m_view.AddTexts({"--5----", "-----", "-----", "-----"});
  m_view.AddText("between");
  m_view.AddTexts({"--7----", "-----", "-----", "-----", "-----"});
  m_view.AddText("end");
  m_view.Select(0, 100);
  ParseTextTab(m_view, 0);

  EXPECT_EQ(m_view.Kinds(), (std::vector<std::string>{"T:title", "T:|-3-|---", "T:|---|", "T:|---|", "T:gap",
                                                      "T:between", "bass4", "T:end", "tab5"}));
  EXPECT_EQ(m_view.undoSteps, (std::vector<std::pair<int, int>>{{4, 0}}));
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_EQ(m_view.finished, 1);
}

// Three rows at the score's end, from the caret or selected, make nothing
// and say why.
TEST_F(ParseTextTabTest, TooFewRowsAtTheScoresEndOrSelectedAreRefusedWithTheMessage) {
  for (const bool selected : {false, true}) {
    SCOPED_TRACE(selected ? "selected" : "at the caret");
    FakeTextTabView view;
    view.AddText("head");
    view.AddTexts({"--5----", "-------", "-------"});
    if (selected) view.Select(1, 3);
    const std::vector<std::string> before = view.Kinds();
    m_ui.ClearRecords();
    ParseTextTab(view, 1);
    EXPECT_EQ(view.Kinds(), before);
    EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
    EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{7055});
    EXPECT_EQ(view.finished, 0);
  }
}

// A seventh row directly below six starts the next block, which is read whole
// (with its six rows, not five), and each new line stands below its own rows.
TEST_F(ParseTextTabTest, AdjacentBlocksAreBothReadWhole) {
  m_view.AddTexts(kSixRows);
  m_view.AddTexts(kSixRows);
  m_view.AddText("after");
  m_view.Select(0, 12);
  ParseTextTab(m_view, 0);
  const std::vector<std::string> kinds = m_view.Kinds();
  ASSERT_EQ(kinds.size(), 15u);
  EXPECT_EQ(kinds[6], "tab6");
  EXPECT_EQ(kinds[7], "T:" + kSixRows[0]);
  EXPECT_EQ(kinds[13], "T:after");
  EXPECT_EQ(kinds[14], "tab6");
}

TEST_F(ParseTextTabTest, ColumnsComeFromMeasuredTextAndSymbolSize) {
  // Size 2: lead-in 6 and columns 14 wide; 7-pixel characters put two
  // characters over each tab column.
  m_view.sizeIndex = 2;
  m_view.leadIn = 0;
  m_view.charWidth = 7;
  m_view.AddTexts({"3-3---3-", "--------", "--------", "--------"});
  ParseTextTab(m_view, 0);
  ASSERT_EQ(m_view.lines.size(), 5u);
  EXPECT_EQ(DumpTabLine(static_cast<KTabLine&>(*m_view.lines[4])), "0:3/229 1:3/229 3:3/229");
}

TEST_F(ParseTextTabTest, OversizedIndentAndSizeIndexAreBounded) {
  m_view.sizeIndex = 99;
  m_view.AddTexts({"-3-3---", "-------", "-------", "-------"});
  m_view.lines[0]->SetIndent(INT32_MIN);
  ParseTextTab(m_view, 0);
  ASSERT_EQ(m_view.lines.size(), 5u);
  EXPECT_EQ(DumpTabLine(static_cast<KTabLine&>(*m_view.lines[4])), "30001:3/229 30002:3/229");
}

// The text rows of a tab line's plain-text form.
std::vector<std::string> WrittenRows(KTabLine& line) {
  const std::optional<CString> text = line.WriteText(0, 32000, 0);
  std::vector<std::string> rows;
  std::string all(text.value().View());
  for (size_t start = 0; start < all.size();) {
    const size_t end = all.find("\r\n", start);
    rows.push_back(all.substr(start, end - start));
    start = end + 2;
  }
  return rows;
}

// What must survive a round trip: per column in order, its frets or bar code
// and its rhythm.
std::vector<std::string> Content(KTabLine& line) {
  std::vector<std::string> out;
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(line.GetObjList()->GetNext(node));
    std::ostringstream item;
    if (column->IsBarColumn()) {
      item << "bar" << column->GetNote(0).code;
    } else {
      for (const RowFret& f : FretsOf(*column)) item << f.row << '/' << f.fret << ' ';
      item << "d" << column->GetVoiceDuration(0) << "," << column->GetVoiceDuration(1);
    }
    out.push_back(item.str());
  }
  return out;
}

struct RoundTripCase {
  const char* name;
  CString tuning;
  std::vector<std::pair<int, Frets>> notes;  // empty frets: a bar of the code in first
  std::vector<std::pair<int, int>> bars;
};

class TextTabRoundTripTest : public ParseTextTabTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(TextTabRoundTripTest, WrittenLineReadsBackSame) {
  const RoundTripCase& c = GetParam();
  if (c.tuning.Find('*') >= 0) g_textTabBassKinds = 7;
  KTabLine original(0, c.tuning, c.tuning.Find('*') >= 0 ? KTabLine::kFlagBass : 0);
  std::vector<std::pair<int, KChord*>> columns;
  for (const auto& [pos, frets] : c.notes) columns.emplace_back(pos, TabNotes(pos, frets));
  for (const auto& [pos, code] : c.bars)
    columns.emplace_back(pos, new KChord(pos, 1, code, KChord::kTabRhythm));
  std::sort(columns.begin(), columns.end());
  for (const auto& column : columns) original.GetObjList()->AddTail(column.second);

  m_view.AddTexts(WrittenRows(original));
  m_view.Select(0, static_cast<int>(m_view.lines.size()) - 1);
  ParseTextTab(m_view, 0);
  auto* read = dynamic_cast<KTabLine*>(m_view.lines.back().get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetTuning(), original.GetTuning());
  EXPECT_EQ(Content(*read), Content(original));
}

INSTANTIATE_TEST_SUITE_P(
    WriterForms, TextTabRoundTripTest,
    ::testing::Values(
        RoundTripCase{
            "GuitarFretsAndBars",
            kStandardTuning,
            {{0, {{2, 0}, {7, 3}}}, {2, {{3, 12}}}, {3, {{4, 2}, {5, 2}}}, {6, {{6, 24}}}, {9, {{2, 5}}}},
            {{5, 21}}},
        RoundTripCase{"RepeatsAndDoubleBar",
                      kStandardTuning,
                      {{1, {{2, 1}}}, {3, {{3, 10}}}, {6, {{7, 0}}}, {9, {{4, 4}}}},
                      {{0, 24}, {4, 22}, {7, 25}}},
        RoundTripCase{
            "FourStringBass", kBassTuning4, {{0, {{3, 0}}}, {2, {{6, 3}}}, {4, {{4, 15}, {5, 2}}}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
