// Double clicks select the word at the caret, or the line group of a label.

#include "MouseFixture.h"

namespace mousetest {
namespace {

class WordAndGroup : public MouseFixture {
 protected:
  int TextX(int column) {
    auto* text = dynamic_cast<KStrLine*>(Line(kText));
    return text->GetXOfColumn(host.GetMeasureDC(), view->m_textFonts, column) + view->m_contentLeft + 1;
  }
};

struct WordCase {
  std::string name;
  int column;  // clicked column of "hello brave world"
  int first;   // selected columns, last exclusive; first < 0: nothing
  int last;
};
void PrintTo(const WordCase& c, std::ostream* os) { *os << c.name; }

class DoubleClickWord : public WordAndGroup, public ::testing::WithParamInterface<WordCase> {};

TEST_P(DoubleClickWord, SelectsExactlyTheWordsColumns) {
  const WordCase& c = GetParam();
  DoubleClick(TextX(c.column), Top(kText) + 4);
  ASSERT_EQ(view->GetCaretColumn(), c.column);
  EXPECT_EQ(view->m_selFirstLine, kText);
  EXPECT_EQ(view->m_selFirstColumn, c.first);
  EXPECT_EQ(view->m_selLastColumn, c.last);
  EXPECT_EQ(view->m_selAnchorColumn, c.first);
  EXPECT_TRUE(view->SelectionRectShown());
}

const WordCase kWords[] = {
    {"first word from its start", 0, 0, 5},
    {"middle word from inside", 8, 6, 11},
    {"last word at its last letter", 16, 12, 17},
};
INSTANTIATE_TEST_SUITE_P(Text, DoubleClickWord, ::testing::ValuesIn(kWords),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(WordAndGroup, StaffColumnWithoutANoteSelectsNothing) {
  DoubleClick(NoteColumnX(6), Top(kStaff) + 40);
  EXPECT_EQ(view->GetCaretColumn(), 6);
  EXPECT_FALSE(view->SelectionRectShown());
}

TEST_F(WordAndGroup, StaffNoteSelectsItsColumn) {
  DoubleClick(NoteColumnX(1), Top(kStaff) + 40);
  EXPECT_EQ(view->m_selFirstColumn, 1);
  EXPECT_EQ(view->m_selLastColumn, 2);
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(WordAndGroup, LabelOfAGroupedLineSelectsTheWholeGroup) {
  Group(1, {lines[kStaff], lines[kTab], lines[kRhythm]}, true);
  Layout(kText, 0);
  view->m_mouseArmed = 1;
  DoubleClick(3, Top(kTab) + 10);
  EXPECT_EQ(view->GetCurrentLine(), kTab) << "the caret goes to the clicked line";
  EXPECT_EQ(std::min(view->m_selFirstLine, view->m_selLastLine), kStaff);
  EXPECT_EQ(std::max(view->m_selFirstLine, view->m_selLastLine), kRhythm);
  EXPECT_EQ(view->m_selPixelLeft, 0);
}

TEST_F(WordAndGroup, LabelOfAnUngroupedLineSelectsOnlyThatLine) {
  DoubleClick(3, Top(kTab) + 10);
  EXPECT_EQ(view->m_selFirstLine, kTab);
  EXPECT_EQ(view->m_selLastLine, kTab);
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(WordAndGroup, RightDoubleClickOnALabelSelectsTheGroupFromTheClefOn) {
  Group(1, {lines[kStaff], lines[kTab]}, true);
  Layout(kText, 0);
  view->m_mouseArmed = 1;
  const POINT at = Client(3, Top(kStaff) + 10);
  view->OnRButtonDown(MK_RBUTTON, at);
  view->OnRButtonUp(0, at);
  view->OnRButtonDblClk(MK_RBUTTON, at);
  view->OnRButtonUp(0, at);
  EXPECT_EQ(std::max(view->m_selFirstLine, view->m_selLastLine), kTab);
  EXPECT_EQ(view->m_selPixelLeft, 34 + view->m_contentLeft);
  EXPECT_EQ(view->m_rightButton, 0);
}

}  // namespace
}  // namespace mousetest
