// Note moves by Shift+Ctrl+Up/Down, the F-keys, and the Alt-arrow edits of
// the caret's note, of a selection and of a line group.

#include "KeysFixture.h"
#include "model/KListLine.h"

namespace {

using EditKeys = KeysFixture;

TEST_F(EditKeys, ShiftCtrlUpMovesTheStaffNoteOneStepAndTheCaretWithIt) {
  CaretAt(kStaff, 0, 12);
  Press(VK_UP, kShift | kCtrl);
  EXPECT_EQ(Dump(kStaff).codes.substr(0, 6), "0:8@11");
  EXPECT_EQ(view->GetCaretRow(), 11);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(UndoKinds(), std::vector<int>{0});
}

TEST_F(EditKeys, ShiftCtrlUpWithNoNoteAtTheCaretBeepsAfterRecordingItsStep) {
  CaretAt(kStaff, 0, 30);
  const std::string before = Dump(kStaff);
  Press(VK_UP, kShift | kCtrl);
  EXPECT_EQ(Dump(kStaff), before);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(UndoKinds(), std::vector<int>{0});
}

TEST_F(EditKeys, ShiftCtrlUpInAReadOnlyScoreAsksFirst) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  CaretAt(kStaff, 0, 12);
  const std::string before = Dump(kStaff);
  Press(VK_UP, kShift | kCtrl);
  EXPECT_EQ(Dump(kStaff), before);
  EXPECT_TRUE(UndoKinds().empty());
}

TEST_F(EditKeys, F1OnAStaffLineDoesNothing) {
  view->m_readOnly = 1;
  CaretAt(kStaff, 0, 12);
  Press(VK_F1);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(view->m_colourState, 0);
}

TEST_F(EditKeys, F1OnATabLineInAReadOnlyScoreAsksFirst) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  CaretAt(kTabTop, 0, 4);
  Press(VK_F1);
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7094});
  EXPECT_EQ(view->m_colourState, 0);
}

TEST_F(EditKeys, F1OnATabLineFirstMakesTheScoreUseColour) {
  CaretAt(kTabTop, 0, 4);
  Press(VK_F1);
  EXPECT_EQ(view->m_colourState, 2);
  EXPECT_EQ(doc.UsesColor(), 1);
  EXPECT_EQ(view->m_options.adTabMode & 6, 6);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(EditKeys, F6OnATabLineLeavesTheColourAlone) {
  CaretAt(kTabTop, 0, 4);
  Press(VK_F6);
  EXPECT_EQ(view->m_colourState, 0);
  EXPECT_EQ(doc.UsesColor(), 0);
}

// ---- Alt-arrow edits --------------------------------------------------------------

TEST_F(EditKeys, AltRightMovesTheStaffNoteOneColumnAndTheCaretFollows) {
  CaretAt(kStaff, 0, 12);
  AltPress(VK_RIGHT);
  EXPECT_EQ(List(kStaff)->GetObjAt(0, 0), nullptr);
  EXPECT_NE(List(kStaff)->GetObjAt(1, 0), nullptr);
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_EQ(UndoKinds(), std::vector<int>{0});
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(EditKeys, AltDownMovesTheNoteAtTheCaretOneRowDown) {
  CaretAt(kStaff, 0, 12);
  AltPress(VK_DOWN);
  EXPECT_EQ(Dump(kStaff).codes.substr(0, 6), "0:8@13");
  EXPECT_EQ(view->GetCaretRow(), 13);
}

TEST_F(EditKeys, AltArrowOnATextLineDoesNothing) {
  CaretAt(kTextAbc, 1);
  AltPress(VK_RIGHT);
  EXPECT_EQ(Text(kTextAbc), "abc def");
  EXPECT_TRUE(UndoKinds().empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(EditKeys, AltUpOnARhythmLineIsRefused) {
  CaretAt(kRhythm, 0);
  AltPress(VK_UP);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(view->GetCaretRow(), 18);
}

TEST_F(EditKeys, AltArrowInAReadOnlyScoreAsksBeforeAnyChange) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  CaretAt(kStaff, 0, 12);
  const std::string before = Dump(kStaff);
  AltPress(VK_RIGHT);
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7094});
  EXPECT_EQ(Dump(kStaff), before);
  EXPECT_TRUE(UndoKinds().empty());
}

TEST_F(EditKeys, AltArrowInAutoScrollModeBeepsAndChangesNothing) {
  view->m_autoScroll = 1;
  CaretAt(kStaff, 0, 12);
  const std::string before = Dump(kStaff);
  AltPress(VK_RIGHT);
  EXPECT_EQ(Dump(kStaff), before);
  EXPECT_EQ(ui.Beeps().size(), 1u);
}

TEST_F(EditKeys, ShiftAltLeftNudgesTheNoteUntilItsLimitThenBeeps) {
  CaretAt(kStaff, 0, 12);
  int presses = 0;
  while (ui.Beeps().empty() && presses < 40) {
    AltPress(VK_LEFT, kShift);
    ++presses;
  }
  EXPECT_EQ(presses, 16) << "fifteen nudges, then the beep";
  EXPECT_EQ(view->GetCaretColumn(), 0) << "the caret does not follow a nudge";
}

TEST_F(EditKeys, AltLeftAtColumnZeroWithASelectionDoesNothing) {
  CaretAt(kStaff, 0, 12);
  Select(kStaff, kStaff, 0, 1);
  const std::string before = Dump(kStaff);
  AltPress(VK_LEFT);
  EXPECT_EQ(Dump(kStaff), before);
  EXPECT_TRUE(UndoKinds().empty());
}

TEST_F(EditKeys, AltDownWithASelectionOnOneLineMovesItsNotesAndKeepsTheSelection) {
  CaretAt(kStaff, 0, 12);
  Select(kStaff, kStaff, 0, 2);
  AltPress(VK_DOWN);
  EXPECT_EQ(Dump(kStaff).codes.substr(0, 14), "0:8@13 1:8@17 ");
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(EditKeys, AltRightWithASelectionOverSeveralLinesShiftsThemAllAndClearsTheSelection) {
  CaretAt(kStaff, 0, 12);
  Select(kStaff, kTabBottom, 0, 1);
  AltPress(VK_RIGHT);
  for (int line : {kStaff, kTabTop, kTabBottom}) {
    EXPECT_EQ(List(line)->GetObjAt(0, 0), nullptr) << "display line " << line;
    EXPECT_NE(List(line)->GetObjAt(1, 0), nullptr) << "display line " << line;
  }
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_FALSE(view->SelectionRectShown());
  EXPECT_EQ(UndoKinds(), std::vector<int>{4}) << "one step that covers every selected line";
}

TEST_F(EditKeys, AltRightOnABracketedStaffShiftsItsTablatureToo) {
  view->m_mutualTranslation = 1;
  CaretAt(kGroupStaff, 0, 12);
  AltPress(VK_RIGHT);
  EXPECT_EQ(List(kGroupStaff)->GetObjAt(0, 0), nullptr);
  EXPECT_EQ(List(kGroupTab)->GetObjAt(0, 0), nullptr);
  EXPECT_NE(List(kGroupTab)->GetObjAt(1, 0), nullptr);
  EXPECT_EQ(UndoKinds(), std::vector<int>{1}) << "one undo step for the group";
}

TEST_F(EditKeys, AltUpOnABracketedStaffRebuildsTheTablatureColumn) {
  view->m_mutualTranslation = 1;
  CaretAt(kGroupStaff, 0, 12);
  const std::string tabBefore = Dump(kGroupTab);
  AltPress(VK_UP);
  EXPECT_EQ(Dump(kGroupStaff).codes.substr(0, 6), "0:8@11");
  EXPECT_NE(Dump(kGroupTab), tabBefore);
  EXPECT_EQ(view->GetCaretRow(), 11);
}

TEST_F(EditKeys, HandleAltKeyEditRefusesRhythmLinesUpAndDown) {
  view->m_mutualTranslation = 1;
  CaretAt(kGroupStaff, 0, 12);
  EXPECT_EQ(view->HandleAltKeyEdit(kGroupId, lines[5], 0, 0, VK_UP, 18, 0), -1)
      << "the rhythm line is in no group: refused";
  EXPECT_EQ(view->HandleAltKeyEdit(99, lines[1], 0, 0, VK_UP, 12, 0), -1) << "no such group";
}

}  // namespace
