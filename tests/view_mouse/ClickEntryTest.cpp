// A click with a toolbox symbol chosen enters that symbol at the clicked
// column and row, as the keystrokes that type it, in one undo step.

#include "MouseFixture.h"
#include "doc/pref_values/Preferences.h"

namespace mousetest {
namespace {

class ClickEntry : public MouseFixture {
 protected:
  // Clicks the staff at the column and row.
  void ClickStaff(int column, int row) {
    Click(NoteColumnX(column), Top(kStaff) + SpaceAbove(kStaff) + (row - 15) * 3 + 3);
  }
  std::string Staff() const { return Dump(kStaff); }
};

TEST_F(ClickEntry, ChosenNoteEntersAtTheClickedColumnAndRow) {
  view->m_toolboxSymbol = viewtest::kQuarter;
  ClickStaff(4, 16);
  EXPECT_EQ(view->GetCurrentLine(), kStaff);
  EXPECT_NE(Staff().find("4:8@16"), std::string::npos) << Staff();
  EXPECT_EQ(EditSteps(), 1);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(ClickEntry, NothingIsEnteredWhenTheArrowCursorIsChosen) {
  g_prefEntryOptions.cursorMode = 0;
  view->m_toolboxSymbol = viewtest::kQuarter;
  const std::string before = Staff();
  ClickStaff(4, 16);
  EXPECT_EQ(view->GetCaretColumn(), 4);
  EXPECT_EQ(Staff(), before);
  EXPECT_EQ(EditSteps(), 0);
}

TEST_F(ClickEntry, NothingIsEnteredBeforeASymbolIsChosen) {
  const std::string before = Staff();
  ClickStaff(4, 16);
  EXPECT_EQ(Staff(), before);
}

TEST_F(ClickEntry, RightClickOnlyMovesTheCaret) {
  view->m_toolboxSymbol = viewtest::kQuarter;
  const std::string before = Staff();
  const POINT at = Client(NoteColumnX(4), Top(kStaff) + SpaceAbove(kStaff) + 6);
  view->OnRButtonDown(MK_RBUTTON, at);
  view->OnRButtonUp(0, at);
  EXPECT_EQ(view->GetCurrentLine(), kStaff);
  EXPECT_EQ(view->GetCaretColumn(), 4);
  EXPECT_EQ(Staff(), before);
  EXPECT_EQ(view->m_noSymbolEntry, 0) << "the flag lives for one click";
  ClickStaff(5, 16);
  EXPECT_NE(Staff().find("5:8@16"), std::string::npos) << "the next left click enters again";
}

TEST_F(ClickEntry, TextLinesTakeNoToolboxSymbol) {
  view->m_toolboxSymbol = viewtest::kQuarter;
  Click(40, Top(kText) + 4);
  EXPECT_EQ(Text(kText), "hello brave world");
  EXPECT_EQ(EditSteps(), 0);
}

TEST_F(ClickEntry, DoubledKeySymbolTypesItsKeyTwiceAsOneUndoStep) {
  // The cell after the sharp is the sharp's key typed twice.
  view->m_toolboxSymbol = 29;
  ClickStaff(1, 16);
  EXPECT_EQ(EditSteps(), 1);
  const std::string clicked = Staff();

  // The same keys typed at the same place.
  ViewScoreFixture::TearDown();
  SetUp();
  ClickStaff(1, 16);
  view->OnChar('#', 1, 0);
  view->OnChar('#', 1, 0);
  EXPECT_EQ(Staff(), clicked);
  EXPECT_EQ(EditSteps(), 2) << "typed, they are two steps";
}

TEST_F(ClickEntry, CombinedRepeatBarsAreOneColumnAndOneUndoStep) {
  // Both ways: an end repeat joined by a start repeat; two bars: the repeat
  // sign doubled. The step back between the keys keeps them one edit.
  view->m_toolboxSymbol = 96;
  ClickStaff(1, 16);
  EXPECT_NE(Staff().find("1:96@"), std::string::npos) << Staff();
  EXPECT_EQ(EditSteps(), 1);
  view->m_toolboxSymbol = 97;
  ClickStaff(3, 16);
  EXPECT_NE(Staff().find("3:97@"), std::string::npos) << Staff();
  EXPECT_EQ(EditSteps(), 2);
}

TEST_F(ClickEntry, AlternateSymbolComesFromTheAlternatePageOnlyForThatClick) {
  view->m_alternateSymbols = 0;
  view->m_toolboxSymbol = 10000 + viewtest::kQuarter;
  ClickStaff(4, 16);
  EXPECT_EQ(view->m_alternateSymbols, 0);
  EXPECT_NE(Staff().find("4:10008@16"), std::string::npos) << Staff();
}

TEST_F(ClickEntry, FirstClickOfADoubleClickEntersTheSecondDoesNot) {
  view->m_toolboxSymbol = viewtest::kQuarter;
  const int y = Top(kStaff) + SpaceAbove(kStaff) + 6;
  DoubleClick(NoteColumnX(5), y);
  EXPECT_NE(Staff().find("5:8@16"), std::string::npos) << Staff();
  EXPECT_EQ(EditSteps(), 1);
}

}  // namespace
}  // namespace mousetest
