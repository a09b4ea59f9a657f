// UpdateSelection: what each mode stores (columns, lines, rectangle) and
// what it asks the window to repaint.

#include <gtest/gtest.h>

#include "platform/RecordingDC.h"
#include "support/ViewTestSupport.h"

namespace {

using namespace viewtest;

constexpr int K = CStavlinView::kKeep;

// The score, by display line: 0 text, 1 staff, 2 tablature, 3 text, 4 staff.
class SelectionFixture : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    AddText("Title");
    Add(MakeStaff({{0, 12}, {1, 14}, {2, 16}, {3, 12}}, {4}));
    Add(MakeTab({0, 1, 2}));
    AddText("abc def");
    Add(MakeStaff({{0, 12}}));
    Layout(1);
  }
  int X(int column) const { return kStaffColumnX + kColumnWidth * column; }
};

struct Call {
  int firstColumn, lastColumn, firstLine, lastLine, mode;
};

struct ModeCase {
  const char* name;
  bool preselect;  // columns 2..5 of display line 1 selected first
  Call call;
  int firstColumn, lastColumn, firstLine, lastLine;
  int left, right;          // expected pixel edges
  int topLine, bottomLine;  // display lines whose top and bottom bound the rectangle
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class SelectionModeTest : public SelectionFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SelectionModeTest, StoresColumnsLinesAndRectangle) {
  const ModeCase& c = GetParam();
  if (c.preselect) Select(1, 1, 2, 5);
  view->UpdateSelection(c.call.firstColumn, c.call.lastColumn, c.call.firstLine, c.call.lastLine,
                        c.call.mode);
  EXPECT_EQ(view->m_selFirstColumn, c.firstColumn);
  EXPECT_EQ(view->m_selLastColumn, c.lastColumn);
  EXPECT_EQ(view->m_selFirstLine, c.firstLine);
  EXPECT_EQ(view->m_selLastLine, c.lastLine);
  EXPECT_EQ(view->m_selRect.left, c.left);
  EXPECT_EQ(view->m_selRect.right, c.right);
  EXPECT_EQ(view->m_selRect.top, Entry(c.topLine).top);
  EXPECT_EQ(view->m_selRect.bottom, Entry(c.bottomLine).bottom);
  EXPECT_TRUE(view->HasSelection());
}

constexpr int X(int column) { return kStaffColumnX + kColumnWidth * column; }

INSTANTIATE_TEST_SUITE_P(
    Modes, SelectionModeTest,
    ::testing::Values(
        ModeCase{"columns of one staff", false, {2, 5, 1, 1, 0}, 2, 5, 1, 1, X(2), X(5), 1, 1},
        ModeCase{"lines picked bottom up keep their order and span the same lines",
                 false,
                 {2, 5, 2, 1, 0},
                 2,
                 5,
                 2,
                 1,
                 X(2),
                 X(5),
                 1,
                 2},
        ModeCase{"a last line past the score is limited to the last display line",
                 false,
                 {2, 5, 1, 99, 0},
                 2,
                 5,
                 1,
                 99,
                 X(2),
                 X(5),
                 1,
                 4},
        ModeCase{
            "kept arguments keep the stored values", true, {K, 7, K, K, 0}, 2, 7, 1, 1, X(2), X(7), 1, 1},
        ModeCase{"key extension right of the first column moves the last",
                 true,
                 {6, K, K, K, 22},
                 2,
                 6,
                 1,
                 1,
                 X(2),
                 X(6),
                 1,
                 1},
        ModeCase{"key extension at the first column collapses the range",
                 true,
                 {2, K, K, K, 22},
                 2,
                 2,
                 1,
                 1,
                 X(2),
                 X(2),
                 1,
                 1},
        ModeCase{"key extension left of the first column moves the first",
                 true,
                 {1, K, K, K, 22},
                 1,
                 5,
                 1,
                 1,
                 X(1),
                 X(5),
                 1,
                 1},
        ModeCase{"key extension by the last column past it moves the last",
                 true,
                 {K, 8, K, K, 22},
                 2,
                 8,
                 1,
                 1,
                 X(2),
                 X(8),
                 1,
                 1},
        ModeCase{"key extension at the last column collapses to it",
                 true,
                 {K, 5, K, K, 22},
                 5,
                 5,
                 1,
                 1,
                 X(5),
                 X(5),
                 1,
                 1},
        ModeCase{"key extension before the last column moves the first",
                 true,
                 {K, 3, K, K, 22},
                 3,
                 5,
                 1,
                 1,
                 X(3),
                 X(5),
                 1,
                 1},
        ModeCase{
            "key extension leaves the lines alone", true, {6, K, 3, 4, 22}, 2, 6, 1, 1, X(2), X(6), 1, 1},
        ModeCase{"one column left moves both edges a column",
                 true,
                 {1, 4, K, K, 12},
                 1,
                 4,
                 1,
                 1,
                 X(1),
                 X(4),
                 1,
                 1},
        ModeCase{"one column right moves both edges a column",
                 true,
                 {3, 6, K, K, 13},
                 3,
                 6,
                 1,
                 1,
                 X(3),
                 X(6),
                 1,
                 1},
        ModeCase{"a drag keeps the pixel edges its caller set",
                 true,
                 {3, K, K, 2, 14},
                 3,
                 5,
                 1,
                 2,
                 X(2),
                 X(5),
                 1,
                 2}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return CaseName(info.param.name); });

TEST_F(SelectionFixture, ClearEmptiesEveryFieldAndRepaintsTheOldHighlight) {
  Select(1, 2, 2, 5);
  const RECT old = view->m_selRect;
  host.invalidated.clear();
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  EXPECT_EQ(view->m_selFirstColumn, 0);
  EXPECT_EQ(view->m_selLastColumn, 0);
  EXPECT_EQ(view->m_selAnchorColumn, 0);
  EXPECT_EQ(view->m_selPixelLeft, 0);
  EXPECT_EQ(view->m_selPixelRight, 0);
  EXPECT_FALSE(view->SelectionRectShown());
  EXPECT_FALSE(view->HasSelection());
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0].left, old.left);
  EXPECT_EQ(host.invalidated[0].bottom, old.bottom);
}

TEST_F(SelectionFixture, ChangeRepaintsOldAndNewRectanglesInWindowCoordinates) {
  Select(1, 1, 2, 5);
  host.scroll = POINT{10, 20};
  host.invalidated.clear();
  Select(2, 2, 1, 3);
  ASSERT_EQ(host.invalidated.size(), 2u);
  EXPECT_EQ(host.invalidated[0].left, X(2) - 10);
  EXPECT_EQ(host.invalidated[0].top, Entry(1).top - 20);
  EXPECT_EQ(host.invalidated[1].left, X(1) - 10);
  EXPECT_EQ(host.invalidated[1].bottom, Entry(2).bottom - 20);
}

TEST_F(SelectionFixture, SelectEverythingRunsFromZeroPastEveryLineEnd) {
  view->UpdateSelection(0, 32000, 0, view->GetDisplayLineCount() - 1, 10);
  EXPECT_EQ(view->m_selRect.left, 0);
  EXPECT_EQ(view->m_selFirstColumn, 0);
  // The longest note line has 5 columns.
  EXPECT_EQ(view->m_selLastColumn, 6);
  EXPECT_GE(view->m_selRect.right, X(5));
  EXPECT_GE(view->m_selRect.right, view->m_widest);
  EXPECT_EQ(view->m_selRect.top, Entry(0).top);
  EXPECT_EQ(view->m_selRect.bottom, Entry(4).bottom);
}

TEST_F(SelectionFixture, RightLabelClickStartsPastTheClefArea) {
  view->UpdateSelection(0, 0, 1, 2, 9);
  EXPECT_EQ(view->m_selRect.left, 34 + 11);
}

TEST_F(SelectionFixture, WrapSelectionStartsAtItsFirstColumn) {
  view->UpdateSelection(3, 0, 1, 1, 17);
  EXPECT_EQ(view->m_selFirstColumn, 3);
  EXPECT_EQ(view->m_selRect.left, X(3));
  EXPECT_EQ(view->m_selLastColumn, 6);
}

class ChordLabelFixture : public ViewScoreFixture {};

TEST_F(ChordLabelFixture, RightLabelClickOverAChordLineStartsAtTheContent) {
  Add(MakeStaff({{0, 12}}));
  AddChordLine();
  Layout(0);
  view->UpdateSelection(0, 0, 0, 1, 9);
  EXPECT_EQ(view->m_selRect.left, 11);
}

class GroupLabelFixture : public ViewScoreFixture {};

TEST_F(GroupLabelFixture, GroupLabelDoubleClickSelectsTheWholeGroup) {
  AddText("before");
  const POSITION staff = Add(MakeStaff({{0, 12}}));
  const POSITION tab = Add(MakeTab({0}));
  const POSITION words = AddText("words");
  AddText("after");
  Group(3, {staff, tab, words}, false);
  Layout(0);
  view->UpdateSelection(0, 0, 2, 2, 16);
  EXPECT_EQ(view->m_selFirstLine, 1);
  EXPECT_EQ(view->m_selLastLine, 3);
  EXPECT_EQ(view->m_selRect.left, 0);
  EXPECT_EQ(view->m_selRect.top, Entry(1).top);
  EXPECT_EQ(view->m_selRect.bottom, Entry(3).bottom);
}

TEST_F(SelectionFixture, DraggingLeftPastColumnZeroKeepsTheFirstColumnAtZero) {
  view->m_leftButtonHeld = 1;
  view->m_selAnchorColumn = 0;
  view->m_selPixelLeft = X(0);
  view->m_selPixelRight = X(1);
  view->UpdateSelection(0, 1, 1, 1, 14);
  view->m_mousePoints[0] = POINT{X(0) + 2, Entry(1).top + 5};
  for (int x : {X(0) - 5, X(0) - 30, 5, 1}) view->OnMouseMove(1, POINT{x, Entry(1).top + 5});
  EXPECT_EQ(view->m_selFirstColumn, 0);
  EXPECT_GE(view->m_selRect.left, 0);
}

TEST_F(SelectionFixture, DraggingDownAndBackUpMovesTheLastLine) {
  view->m_leftButtonHeld = 1;
  view->m_selPixelLeft = X(0);
  view->m_selPixelRight = X(1);
  view->UpdateSelection(0, 1, 1, 1, 14);
  view->m_mousePoints[0] = POINT{X(1), Entry(1).top + 5};
  view->OnMouseMove(1, POINT{X(1), Entry(2).bottom + 3});
  EXPECT_EQ(view->m_selLastLine, 2);
  view->OnMouseMove(1, POINT{X(1), Entry(2).top + 2});
  EXPECT_EQ(view->m_selLastLine, 1);
  EXPECT_EQ(view->m_selRect.bottom, Entry(1).bottom);
}

TEST_F(SelectionFixture, HoverAboveAStaffShowsLedgerMarksAndLeavingRemovesThem) {
  view->m_currentLine = 0;  // the hover ignores the caret's own line
  const KListLine* staff = List(4);
  const int staffTop = Entry(4).top + staff->GetSpaceAbove(0);
  // Two staff spaces (6 pixels each) above the top staff line.
  view->m_mousePoints[0] = POINT{X(0) + 50, staffTop - 12};
  view->OnMouseMove(0, POINT{X(0) + 50, staffTop - 12});
  EXPECT_EQ(view->m_hoverLine, 4);
  EXPECT_EQ(view->m_hoverCount, 2);
  EXPECT_EQ(view->m_hoverY[0], staffTop - 7);
  EXPECT_EQ(view->m_hoverY[1], staffTop - 13);
  RecordingDC dc;
  view->OnDraw(&dc);
  const std::string drawn = dc.Text();
  EXPECT_NE(drawn.find("LineTo " + std::to_string(view->m_hoverX + 5) + "," + std::to_string(staffTop - 13)),
            std::string::npos)
      << drawn;
  view->m_hoverOff = 1;
  view->OnMouseMove(0, POINT{X(0) + 50, staffTop - 12});
  EXPECT_EQ(view->m_hoverCount, 0);
  EXPECT_EQ(view->m_hoverX, -1);
}

}  // namespace
