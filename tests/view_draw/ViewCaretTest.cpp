// Caret placement by line family, caret shapes, the horizontal follow and the
// refresh after an edit.

#include <functional>
#include <ostream>
#include <string>

#include "ViewTestFixture.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kTop = 100;

// One line of the family at top 100 with the caret on it.
struct CaretCase {
  const char* name;
  std::function<KLineObj*()> make;
  int row;
  // Expected offset from the top and height, from the line itself.
  std::function<int(KLineObj&)> offset;
  std::function<int(KLineObj&)> height;
};
void PrintTo(const CaretCase& c, std::ostream* out) { *out << c.name; }

int SpaceAbove(KLineObj& line) { return line.AsListLine()->GetSpaceAbove(0); }

class CaretByFamily : public ViewTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(CaretByFamily, StandsAtTheRowOfItsLineWithTheLinesHeight) {
  const CaretCase& c = GetParam();
  AddLine(new KStrLine("spacer", 0), kTop - 1);
  KLineObj* line = c.make();
  view.m_textFonts[1] = Font(20);
  const int index = AddLine(line, 60);
  ASSERT_EQ(Entry(index).top, kTop);
  view.m_currentLine = index;
  view.m_caretRow = c.row;
  const POINT at = view.PlaceCaret();
  EXPECT_EQ(at.y, kTop + c.offset(*line));
  EXPECT_EQ(host.caret.GetSize().cy, c.height(*line));
  EXPECT_EQ(host.caret.GetSize().cx, 2) << "a plain caret";
  EXPECT_TRUE(host.caret.IsVisible());
  EXPECT_EQ(g_viewMirrors.currentLine, index);
  EXPECT_EQ(g_viewMirrors.currentType, line->GetType());
}

// Staff rows are 3 pixels (half a staff space) apart from row 15 at the top
// staff line; tablature rows a string spacing apart from row 2.5.
INSTANTIATE_TEST_SUITE_P(
    Families, CaretByFamily,
    ::testing::Values(
        CaretCase{"TrebleStaff", [] { return new KStaffLine(0, 0, 0); }, 18,
                  [](KLineObj& l) { return SpaceAbove(l) + 3 * 3; }, [](KLineObj&) { return 7; }},
        CaretCase{"PercussionSixUnitsHigher", [] { return new KStaffLine(16, 0, 0); }, 18,
                  [](KLineObj& l) { return SpaceAbove(l) + 3 * 3 - 6 * 3; }, [](KLineObj&) { return 7; }},
        CaretCase{
            "Tablature", [] { return new KTabLine(0, kGuitar, 0); }, 4,
            [](KLineObj& l) { return static_cast<int>(SpaceAbove(l) + 1.5 * TabStringSpacing(0) + 1.0); },
            [](KLineObj&) { return 7; }},
        CaretCase{
            "Rhythm", [] { return new KRhythmLine(0, "20,0,0,0,400,0,0,0,0,3,2,1,34,Arial"); }, 0,
            [](KLineObj& l) { return dynamic_cast<KRhythmLine&>(l).GetFontHeight(0) * 20 / 25 - 12 + 1; },
            [](KLineObj& l) {
              const int h = dynamic_cast<KRhythmLine&>(l).GetFontHeight(0);
              return h <= 20 ? 21 : h + 1;
            }},
        CaretCase{"ChordNames", [] { return new KChordPicLine(0, kGuitar, "", 100, 100); }, 0,
                  [](KLineObj&) { return 0; },
                  [](KLineObj& l) { return dynamic_cast<KChordPicLine&>(l).GetLineHeight(1); }},
        CaretCase{"TextInTwentyPixelFontIsTwelveHigh", [] { return new KStrLine("some words", 1); }, 0,
                  [](KLineObj&) { return 1; }, [](KLineObj&) { return 12; }}),
    [](const ::testing::TestParamInfo<CaretCase>& info) { return std::string(info.param.name); });

TEST_F(ViewTest, OverwriteModeGivesABlockCaretOnNoteLines) {
  view.m_currentLine = AddLine(new KStaffLine(0, 0, 0), 60);
  view.m_entryMode = 1;
  view.PlaceCaret();
  EXPECT_GT(host.caret.GetSize().cx, 2);
  EXPECT_TRUE(host.caret.IsVisible());
}

TEST_F(ViewTest, NameOnlyTrebleTuningBecomesStandardWhenTheCaretLandsOnIt) {
  auto* tab = new KTabLine(0, kGuitar, 0);
  view.m_currentLine = AddLine(tab, 80);
  // An older line that kept only the string names.
  tab->SetTuning(0, CString("E A D G B E "), 0);
  view.PlaceCaret();
  EXPECT_EQ(tab->GetTuning(), CString(kGuitar));
  EXPECT_EQ(g_CurrentTuning, CString(kGuitar));
}

// A chord line whose columns are 8 pixels: the caret of column c stands at
// 8 c + 11 (content left), whatever the window.
class CaretFollow : public ViewTest {
 protected:
  CaretFollow() {
    view.m_typeColumnWidth[4] = 8;
    view.m_chordDiagramsShown = 1;
    view.m_currentLine = AddLine(new KChordPicLine(0, kGuitar, "", 100, 100), 40);
  }
  // Puts the caret on column 50 (x 411) in a window of the width and refreshes.
  int FollowWithWidth(int width) {
    host.client = RECT{0, 0, width, 300};
    view.m_caretColumn = 50;
    view.UpdateAfterEdit(0, 0);
    return host.scroll.x;
  }
};

TEST_F(CaretFollow, CaretWhoseRightSideIs41PixelsFromTheEdgeDoesNotScroll) {
  // x 411 with its 2 pixels: 41 from the right edge of a 454-pixel window.
  EXPECT_EQ(FollowWithWidth(411 + 2 + 41), 0);
}

TEST_F(CaretFollow, CaretPastTheMarginScrollsByItsOvershoot) {
  // 43 pixels past width - 42: scrolls right by exactly 43.
  EXPECT_EQ(FollowWithWidth(411 + 42 - 43), 43);
  EXPECT_EQ(host.caret.GetPos().x, 411 - 43);
}

TEST_F(CaretFollow, CaretAtColumnZeroScrollsBackToTheLeft) {
  host.ScrollToPosition(POINT{200, 0});
  view.m_caretColumn = 0;
  view.UpdateAfterEdit(0, 0);
  EXPECT_EQ(host.scroll.x, 0);
}

TEST_F(CaretFollow, CaretLeftOfTheWindowComesBackIntoView) {
  host.ScrollToPosition(POINT{1000, 0});
  view.m_caretColumn = 10;  // x 91, far left of the window
  view.UpdateAfterEdit(0, 0);
  EXPECT_EQ(host.scroll.x, 91 - 42);
  EXPECT_GE(host.caret.GetPos().x, 0);
}

TEST_F(CaretFollow, EditMarksTheScoreModifiedAndRepaints) {
  view.UpdateAfterEdit(CStavlinView::kHintAll, 0);
  EXPECT_TRUE(document.IsModified());
  EXPECT_FALSE(host.invalidated.empty());
}

TEST_F(CaretFollow, NoModifyFlagKeepsTheScoreUnmodified) {
  g_noModify = 1;
  view.UpdateAfterEdit(CStavlinView::kHintAll, 0);
  EXPECT_FALSE(document.IsModified());
  EXPECT_FALSE(host.invalidated.empty());
}

TEST_F(CaretFollow, ClearingTheSelectionForgetsIt) {
  view.m_selFirstLine = 0;
  view.m_selLastLine = 0;
  view.m_selHidden = 0;
  view.m_selRect = RECT{20, 0, 80, 40};
  view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
  EXPECT_LT(view.m_selFirstLine, 0);
  EXPECT_EQ(view.m_selHidden, 1);
}

}  // namespace
