// The display-line table of a score of every line kind, worked out by hand:
// tops, bottoms, kinds, first bar numbers and page codes; the height of each
// line kind; which lines are shown; and the scroll size of the whole.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "view/core/ViewMirrors.h"

namespace {

// An entry as "type top-bottom bar page" for readable differences.
std::string Describe(const DisplayLine& e) {
  return std::to_string(e.type) + " " + std::to_string(e.top) + "-" + std::to_string(e.bottom) + " bar " +
         std::to_string(e.extra[CStavlinView::kFirstBar]) + " page " +
         std::to_string(e.extra[CStavlinView::kPageCode]);
}

class DisplayTable : public LayoutFixture {
 protected:
  std::vector<std::string> Table() const {
    std::vector<std::string> rows;
    for (int i = 0; i < view_->GetDisplayLineCount(); ++i) rows.push_back(Describe(Entry(i)));
    return rows;
  }
};

TEST_F(DisplayTable, MixedScoreLaysOutAsWorkedOutByHand) {
  view_->m_barNumbersShown = 1;
  view_->m_chordDiagramsShown = 0;
  const POSITION title = AddText("Etude", 2);
  const POSITION staffA = AddStaff(2);
  const POSITION tabA = AddTab(2);
  Group(1, {staffA, tabA});
  AddRhythm(20);
  AddChordLine(15);
  AddText("", 1, kPageBreak);
  const POSITION staffB = AddStaff(3);
  const POSITION tabB = AddTab(3);
  Group(2, {staffB, tabB});
  AddText("la la la", 1);
  AddStaff(4, kHidden);
  AddStaff(1);

  ASSERT_EQ(Layout(), 10);

  const std::vector<std::string> expected = {
      "5 0-41 bar 0 page 10",     // title: 4 + 40 - 3
      "0 42-93 bar 1 page 10",    // staff: 4 + 47
      "2 94-212 bar 1 page 10",   // tab of the same group: 4 + 87 + 27 under the strings
      "3 213-238 bar 0 page 10",  // rhythm, font 20: 4 + 21
      "4 239-258 bar 0 page 10",  // chord names only: 4 + 15
      "5 259-260 bar 0 page 2",   // page break: one pixel, keeps code 2
      "0 261-312 bar 3 page 20",  // second group: after the 2 bars of the first
      "2 313-431 bar 3 page 20",  //
      "5 432-449 bar 0 page 20",  // lyrics, font 16: 4 + 13
      "0 450-501 bar 6 page 21",  // ungrouped: after the 3 bars of the second group
  };
  EXPECT_EQ(Table(), expected);
  EXPECT_EQ(LineAt(title)->TestFlags(kTitle), 1);
  EXPECT_EQ(view_->m_onlyChordsAndText, 0);
  // 501 + 20, plus 14 units of 3 below a staff, then 100.
  EXPECT_EQ(host_.total.cy, 663);
  EXPECT_EQ(host_.page.cx, 330);
  EXPECT_EQ(host_.line.cx, 110);
  EXPECT_EQ(g_viewMirrors.lineCount, 10);
  EXPECT_EQ(g_viewMirrors.pageCount, 2);
}

TEST_F(DisplayTable, ShowAllShowsHiddenLinesAndTypesSwitchedOff) {
  AddStaff(1);
  AddStaff(1, kHidden);
  AddText("words", 1);
  view_->m_show[5] = 0;
  EXPECT_EQ(Layout(), 1);
  view_->m_show[8] = 1;
  EXPECT_EQ(Layout(), 3);
}

TEST_F(DisplayTable, NothingShownSwitchesEveryKindOnAndLaysOutAgain) {
  AddTab(1);
  for (int type = 0; type <= 8; ++type) view_->m_show[static_cast<size_t>(type)] = 0;
  EXPECT_EQ(Layout(), 1);
  for (int type = 0; type <= 8; ++type) EXPECT_EQ(view_->m_show[static_cast<size_t>(type)], 1) << type;
}

TEST_F(DisplayTable, EmptyScoreGivesNoLinesAndTheSmallestScrollSize) {
  host_.total = SIZE{5, 5};
  EXPECT_EQ(Layout(), 0);
  EXPECT_EQ(view_->GetScrollWidth(), 100);
  EXPECT_EQ(view_->GetScrollHeight(), 100);
  EXPECT_EQ(host_.total.cx, 5);  // the scroll bars are left alone
  EXPECT_EQ(g_viewMirrors.lineCount, 0);
}

TEST_F(DisplayTable, TitleFlagFollowsTheFont) {
  const POSITION text = AddText("Heading", 2);
  Layout();
  EXPECT_EQ(LineAt(text)->TestFlags(kTitle), 1);
  view_->m_textFonts[2].lfHeight = 30;  // not above 20 + 10
  Layout();
  EXPECT_EQ(LineAt(text)->TestFlags(kTitle), 0);
  view_->m_textFonts[2].lfUnderline = 1;
  Layout();
  EXPECT_EQ(LineAt(text)->TestFlags(kTitle), 1);
}

TEST_F(DisplayTable, LongTextLineWidensTheScrollArea) {
  // 100 characters of a 20-pixel font at 10 pixels each, from x 11.
  AddText(std::string(100, 'x').c_str(), 0);
  Layout();
  EXPECT_EQ(view_->GetScrollWidth(), 1000 + 11 + 40);
  EXPECT_EQ(host_.total.cx, 1051);
  // 4 + 17 + 20 is below the least height of 300; then 100 more.
  EXPECT_EQ(host_.total.cy, 400);
  EXPECT_EQ(view_->m_onlyChordsAndText, 1);
}

TEST_F(DisplayTable, WidestNotationHasTheLeastLineLengthAsFloor) {
  AddStaff(1);
  Layout();
  EXPECT_EQ(view_->m_widest, g_defaultLineLength);
  EXPECT_EQ(g_widestNotation, g_defaultLineLength);
  EXPECT_EQ(view_->GetScrollWidth(), g_defaultLineLength + 20);
}

TEST_F(DisplayTable, HeldWidestWidthIsLeftAlone) {
  g_holdWidest = 1;
  view_->m_widest = 123;
  AddStaff(1);
  Layout();
  EXPECT_EQ(view_->m_widest, 123);
}

TEST_F(DisplayTable, TableGrowsPastItsFirstHundredEntries) {
  for (int i = 0; i < 250; ++i) AddText("", 1);
  EXPECT_EQ(Layout(), 250);
  EXPECT_GE(view_->m_display.size(), 251U);
  EXPECT_EQ(Entry(249).top, 249 * 18);
}

TEST_F(DisplayTable, OwnTimeSignatureBeforeAnyCarryLeavesTheCarryAtFourFour) {
  const POSITION first = AddStaff(1);
  const POSITION second = AddStaff(1);
  ListLineAt(first)->SetTimeSignature(3, 240, 0);
  ListLineAt(second)->SetTimeSignature(0, 480, 1);
  Layout();
  EXPECT_EQ(ListLineAt(first)->GetOverrideBeats(), 3);
  EXPECT_EQ(ListLineAt(second)->GetStartBeats(), 4);
  EXPECT_EQ(ListLineAt(second)->GetStartBeatTicks(), 480);
}

// ---- Heights of the line kinds ------------------------------------------------------

enum class Kind { kStaff, kTab, kRhythm, kChord, kChordDiagrams, kText, kTextCharHeight, kPageBreak, kOther };

struct HeightCase {
  const char* name;
  Kind kind;
  int value;  // font height where the kind has one
  int sizeIndex;
  int bottom;  // of the line laid out first, top 0
};

void PrintTo(const HeightCase& c, std::ostream* os) { *os << c.name; }

class LineHeight : public LayoutFixture, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(LineHeight, BottomIsGapPlusHeight) {
  const HeightCase& c = GetParam();
  view_->m_sizeIndex = c.sizeIndex;
  switch (c.kind) {
    case Kind::kStaff:
      AddStaff(1);
      break;
    case Kind::kTab:
      AddTab(1);
      break;
    case Kind::kRhythm:
      AddRhythm(c.value);
      break;
    case Kind::kChord:
      view_->m_chordDiagramsShown = 0;
      AddChordLine(c.value);
      break;
    case Kind::kChordDiagrams:
      AddChordLine(c.value);
      break;
    case Kind::kText:
      view_->m_textFonts[3].lfHeight = c.value;
      AddText("text", 3);
      break;
    case Kind::kTextCharHeight:
      view_->m_textFonts[3].lfHeight = -c.value;
      AddText("text", 3);
      break;
    case Kind::kPageBreak:
      AddText("", 2, kPageBreak);
      break;
    case Kind::kOther:
      view_->m_typeHeight[7] = c.value;
      doc_.AddTailLine(new KLineObj(7, 0, KLineObj::kNoGroup, 0, 0));
      break;
  }
  ASSERT_EQ(Layout(), 1);
  EXPECT_EQ(Entry(0).top, 0);
  EXPECT_EQ(Entry(0).bottom, c.bottom);
}

const HeightCase kHeightCases[] = {
    {"staff at small symbols", Kind::kStaff, 0, 0, 4 + 10 + 12 + 25},
    {"staff at large symbols scales its spaces", Kind::kStaff, 0, 1, 4 + 13 + 15 + 33},
    // A tablature line keeps room under its strings for its rhythm and the
    // hairpins copied from its staff: two string distances, a hairpin's
    // opening and 2, less what its space below leaves under the bottom string.
    {"tab at small symbols", Kind::kTab, 0, 0, 4 + 14 + 12 + 5 * 12 + 1 + (26 + 7 + 2 - 8)},
    {"tab at large symbols", Kind::kTab, 0, 1, 4 + 18 + 15 + 5 * 16 + 1 + (34 + 8 + 2 - 11)},
    {"rhythm font 12 is 21 high", Kind::kRhythm, 12, 0, 4 + 21},
    {"rhythm font 20 is 21 high", Kind::kRhythm, 20, 0, 4 + 21},
    {"rhythm font 21 is 22 high", Kind::kRhythm, 21, 0, 4 + 22},
    {"chord names only", Kind::kChord, 15, 0, 4 + 15},
    {"chord names with diagrams", Kind::kChordDiagrams, 15, 0, 4 + 15 + 31},
    {"text is its font less 3", Kind::kText, 16, 0, 4 + 13},
    {"text font given by character height", Kind::kTextCharHeight, 16, 0, 4 + 13},
    {"page break line is one pixel whatever its font", Kind::kPageBreak, 0, 0, 1},
    {"other kinds take their fixed height", Kind::kOther, 33, 0, 4 + 33},
};

INSTANTIATE_TEST_SUITE_P(Kinds, LineHeight, ::testing::ValuesIn(kHeightCases),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
