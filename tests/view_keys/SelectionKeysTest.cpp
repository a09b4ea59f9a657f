// Shift extends the selection; the selection filter decides which keys keep
// it, clear it or leave it to typed entry; Ctrl+arrows nudge its highlight.

#include "KeysFixture.h"

namespace {

using SelectionKeys = KeysFixture;

TEST_F(SelectionKeys, ShiftRightWithoutASelectionSelectsTheNextColumn) {
  CaretAt(kStaff, 1);
  Press(VK_RIGHT, kShift);
  EXPECT_TRUE(view->SelectionRectShown());
  EXPECT_EQ(view->m_selFirstColumn, 1);
  EXPECT_EQ(view->m_selLastColumn, 2);
  EXPECT_EQ(view->m_selFirstLine, kStaff);
  EXPECT_EQ(view->GetCaretColumn(), 2);
}

TEST_F(SelectionKeys, ShiftDownWithoutASelectionSelectsTheWholeLineAndLeavesTheCaret) {
  CaretAt(kStaff, 1);
  Press(VK_DOWN, kShift);
  EXPECT_TRUE(view->SelectionRectShown());
  EXPECT_EQ(view->m_selFirstLine, kStaff);
  EXPECT_EQ(view->m_selLastLine, kStaff);
  EXPECT_EQ(view->GetCurrentLine(), kStaff);
  EXPECT_EQ(view->GetCaretColumn(), 1);
}

TEST_F(SelectionKeys, ShiftDownWithASelectionExtendsItByALine) {
  CaretAt(kStaff, 1);
  Press(VK_DOWN, kShift);
  Press(VK_DOWN, kShift);
  EXPECT_EQ(view->m_selFirstLine, kStaff);
  EXPECT_EQ(view->m_selLastLine, kTabTop);
  EXPECT_EQ(view->GetCurrentLine(), kTabTop);
}

TEST_F(SelectionKeys, HomeClearsTheSelectionThenGoesToColumnZero) {
  CaretAt(kStaff, 2);
  Select(kStaff, kStaff, 0, 2);
  Press(VK_HOME);
  EXPECT_FALSE(view->SelectionRectShown());
  EXPECT_EQ(view->GetCaretColumn(), 0);
}

TEST_F(SelectionKeys, EscapeClearsTheSelectionAndLeavesTheCaret) {
  CaretAt(kStaff, 2);
  Select(kStaff, kStaff, 0, 2);
  Press(VK_ESCAPE);
  EXPECT_FALSE(view->SelectionRectShown());
  EXPECT_EQ(view->GetCaretColumn(), 2);
}

struct KeptCase {
  const char* name;
  UINT key;
};
void PrintTo(const KeptCase& c, std::ostream* os) { *os << c.name; }

class KeysThatKeepTheSelection : public KeysFixture, public ::testing::WithParamInterface<KeptCase> {};

TEST_P(KeysThatKeepTheSelection, LeaveSelectionAndCaretAlone) {
  CaretAt(kStaff, 1);
  Select(kStaff, kStaff, 0, 2);
  const RECT before = view->m_selRect;
  Press(GetParam().key);
  EXPECT_TRUE(view->SelectionRectShown());
  EXPECT_EQ(view->m_selRect.left, before.left);
  EXPECT_EQ(view->m_selRect.right, before.right);
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_EQ(view->GetCurrentLine(), kStaff);
}

INSTANTIATE_TEST_SUITE_P(Filter, KeysThatKeepTheSelection,
                         ::testing::Values(KeptCase{"a digit", '5'}, KeptCase{"a note value letter", 'Q'},
                                           KeptCase{"the w key", 'W'}, KeptCase{"a letter that types", 'B'}),
                         [](const ::testing::TestParamInfo<KeptCase>& info) {
                           return CaseName(info.param.name);
                         });

struct NudgeCase {
  const char* name;
  UINT key;
  unsigned mods;
  int dLeft, dTop, dRight, dBottom;
};
void PrintTo(const NudgeCase& c, std::ostream* os) { *os << c.name; }

class SelectionNudge : public KeysFixture, public ::testing::WithParamInterface<NudgeCase> {};

TEST_P(SelectionNudge, MovesOneEdgeOnePixelAndKeepsTheColumns) {
  const NudgeCase& c = GetParam();
  CaretAt(kStaff, 1);
  Select(kStaff, kStaff, 0, 2);
  const RECT before = view->m_selRect;
  Press(c.key, c.mods);
  EXPECT_EQ(view->m_selRect.left - before.left, c.dLeft);
  EXPECT_EQ(view->m_selRect.top - before.top, c.dTop);
  EXPECT_EQ(view->m_selRect.right - before.right, c.dRight);
  EXPECT_EQ(view->m_selRect.bottom - before.bottom, c.dBottom);
  EXPECT_EQ(view->m_selFirstColumn, 0);
  EXPECT_EQ(view->m_selLastColumn, 2);
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_FALSE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SelectionNudge,
    ::testing::Values(NudgeCase{"ctrl right widens to the right", VK_RIGHT, kCtrl, 0, 0, 1, 0},
                      NudgeCase{"ctrl shift right narrows from the right", VK_RIGHT, kCtrl | kShift, 0, 0, -1,
                                0},
                      NudgeCase{"ctrl left widens to the left", VK_LEFT, kCtrl, -1, 0, 0, 0},
                      NudgeCase{"ctrl shift left narrows from the left", VK_LEFT, kCtrl | kShift, 1, 0, 0, 0},
                      NudgeCase{"ctrl up grows upward", VK_UP, kCtrl, 0, -1, 0, 0},
                      NudgeCase{"ctrl down grows downward", VK_DOWN, kCtrl, 0, 0, 0, 1}),
    [](const ::testing::TestParamInfo<NudgeCase>& info) { return CaseName(info.param.name); });

TEST_F(SelectionKeys, CtrlPageDownGoesToTheEndOfTheLastVisibleLineWithoutSelecting) {
  host.client = RECT{0, 0, 800, 200};
  CaretAt(0, 0);
  view->FindTopLine(0);
  const int last = view->GetLastVisible();
  Press(VK_NEXT, kCtrl | kShift);
  EXPECT_EQ(view->GetCurrentLine(), last);
  EXPECT_EQ(view->GetCaretColumn(), Line(last)->GetLength());
  EXPECT_FALSE(view->SelectionRectShown());
}

}  // namespace
