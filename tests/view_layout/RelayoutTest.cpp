// The relayout after a line kind was shown or hidden: the caret stays on its
// line while that is shown, else moves to the nearest shown line above at
// the same x, and the mirrors follow.

#include <gtest/gtest.h>

#include "LayoutFixture.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kTab = 2;
constexpr int kText = 5;

class Relayout : public LayoutFixture {
 protected:
  void SetUp() override {
    LayoutFixture::SetUp();
    view_->m_typeColumnWidth[0] = 18;
    view_->m_typeColumnWidth[kTab] = 18;
  }
  void PutCaret(int line, int column) {
    view_->m_currentLine = line;
    view_->m_caretColumn = column;
    view_->PlaceCaret();
  }
  void Hide(int type) {
    view_->m_show[static_cast<size_t>(type)] = 0;
    view_->RelayoutKeepingCaretLine(type);
  }
};

TEST_F(Relayout, CaretOnAHiddenKindMovesToTheShownLineAboveAtTheSameX) {
  AddStaff(3);
  AddTab(3);
  const POSITION staff = AddStaff(3);
  AddTab(3);
  Layout();
  PutCaret(3, 2);

  Hide(kTab);

  ASSERT_EQ(view_->GetDisplayLineCount(), 2);
  EXPECT_EQ(view_->GetCurrentLine(), 1);
  EXPECT_EQ(Entry(1).line, staff);
  EXPECT_EQ(view_->GetCurrentType(), 0);
  EXPECT_EQ(view_->GetCaretColumn(), 2);
  EXPECT_EQ(view_->GetCaretRow(), 18);
  EXPECT_EQ(g_viewMirrors.currentLine, 1);
  EXPECT_EQ(g_viewMirrors.currentType, 0);
}

TEST_F(Relayout, CaretOnAShownLineStaysOnItWhenOtherLinesGo) {
  AddText("words", 1);
  AddStaff(2);
  AddText("more words", 1);
  const POSITION staff = AddStaff(2);
  Layout();
  PutCaret(3, 1);

  Hide(kText);

  ASSERT_EQ(view_->GetDisplayLineCount(), 2);
  EXPECT_EQ(view_->GetCurrentLine(), 1);
  EXPECT_EQ(Entry(1).line, staff);
  EXPECT_EQ(view_->GetCaretColumn(), 1);
}

TEST_F(Relayout, CaretAtTheTopWithNothingShownAboveGoesToTheFirstLine) {
  AddTab(2);
  AddStaff(2);
  Layout();
  PutCaret(0, 1);

  Hide(kTab);

  ASSERT_EQ(view_->GetDisplayLineCount(), 1);
  EXPECT_EQ(view_->GetCurrentLine(), 0);
  EXPECT_EQ(view_->GetCurrentType(), 0);
}

TEST_F(Relayout, EmptyScoreLeavesTheCaretAtTheOrigin) {
  host_.caret.SetPos(40, 50);
  view_->RelayoutKeepingCaretLine(8);
  EXPECT_EQ(host_.caret.GetPos().x, 0);
  EXPECT_EQ(host_.caret.GetPos().y, 0);
}

}  // namespace
