// View/Line Types To Show: hiding and showing kinds of lines, and the
// refusal to hide the last kind still on screen.

#include <string>

#include "ViewLifeTestSupport.h"
#include "common/Globals.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KLineObj.h"

namespace {

constexpr int kTrebleStaff = 0;
constexpr int kTrebleTab = 2;
constexpr int kText = 5;
constexpr int kShowAll = 8;
constexpr int kBassTab = 15;

class LineTypesTest : public ViewLifeTest {
 protected:
  // A score of text lines and one treble staff, every type shown one by one.
  CStavlinView& TextAndStaffView() {
    AddTextLines({"title", "words"});
    AddStaffLine(kTrebleStaff);
    for (BYTE& flag : Settings().showLineType) flag = 1;
    Settings().showLineType[kShowAll] = 0;
    return UpdatedView();
  }
};

TEST_F(LineTypesTest, HidingAShownTypeTakesItsLinesOut) {
  CStavlinView& view = TextAndStaffView();
  ASSERT_EQ(view.GetDisplayLineCount(), 3);

  view.ToggleLineTypeShown(kTrebleStaff);

  EXPECT_EQ(view.m_show[kTrebleStaff], 0);
  EXPECT_EQ(view.GetDisplayLineCount(), 2);
  EXPECT_EQ(view.m_allShown, 0);
  EXPECT_EQ(doc_->settings.showLineType[kTrebleStaff], 0);
  EXPECT_TRUE(doc_->IsModified());
}

TEST_F(LineTypesTest, ShowingItAgainBringsTheLinesBack) {
  CStavlinView& view = TextAndStaffView();
  view.ToggleLineTypeShown(kTrebleStaff);
  view.ToggleLineTypeShown(kTrebleStaff);
  EXPECT_EQ(view.GetDisplayLineCount(), 3);
  EXPECT_EQ(view.m_allShown, 1);
}

TEST_F(LineTypesTest, HidingTheLastShownKindIsRefused) {
  CStavlinView& view = TextAndStaffView();
  view.ToggleLineTypeShown(kTrebleStaff);
  ui_.ClearRecords();

  view.ToggleLineTypeShown(kText);

  EXPECT_EQ(ui_.CountOf(7044), 1);
  ASSERT_EQ(ui_.Beeps().size(), 1u);
  EXPECT_EQ(ui_.Beeps().front(), MB_ICONASTERISK);
  EXPECT_EQ(view.m_show[kText], 1);
  EXPECT_EQ(view.GetDisplayLineCount(), 2);
  EXPECT_EQ(doc_->settings.showLineType[kText], 1);
}

TEST_F(LineTypesTest, HidingATypeWithoutLinesIsAllowed) {
  CStavlinView& view = TextAndStaffView();
  view.ToggleLineTypeShown(kTrebleStaff);
  view.ToggleLineTypeShown(kTrebleTab);
  EXPECT_EQ(view.m_show[kTrebleTab], 0);
  EXPECT_EQ(ui_.CountOf(7044), 0);
}

TEST_F(LineTypesTest, AllTablatureHidesAndShowsBothKinds) {
  AddTextLines({"x"});
  CStavlinView& view = UpdatedView();
  view.OnViewShowAllTablature();
  EXPECT_EQ(view.m_show[kTrebleTab], 0);
  EXPECT_EQ(view.m_show[kBassTab], 0);
  view.OnViewShowAllTablature();
  EXPECT_EQ(view.m_show[kTrebleTab], 1);
  EXPECT_EQ(view.m_show[kBassTab], 1);
}

TEST_F(LineTypesTest, BassTablatureOnlyScoreKeepsItsBassTablature) {
  doc_->AddTailLine(new KTabLine(0, g_DefaultBassTuning, 0x20));
  for (BYTE& flag : Settings().showLineType) flag = 1;
  Settings().showLineType[kShowAll] = 0;
  CStavlinView& view = UpdatedView();
  ASSERT_EQ(view.GetDisplayEntry(0).type, kBassTab);

  view.RunLineTypeCommand(41123);
  EXPECT_EQ(ui_.CountOf(7044), 1);
  EXPECT_EQ(view.m_show[kBassTab], 1);

  // All Tablature hides treble tablature, then refuses bass tablature.
  view.RunLineTypeCommand(41121);
  EXPECT_EQ(view.m_show[kTrebleTab], 0);
  EXPECT_EQ(view.m_show[kBassTab], 1);
  EXPECT_EQ(ui_.CountOf(7044), 2);
  EXPECT_EQ(view.GetDisplayLineCount(), 1);
}

TEST_F(LineTypesTest, LeavingShowAllWithTheTypesOwnFlagClearHidesNothingElse) {
  AddTextLines({"a"});
  AddStaffLine(kTrebleStaff);
  for (BYTE& flag : Settings().showLineType) flag = 1;
  Settings().showLineType[kTrebleStaff] = 0;
  CStavlinView& view = UpdatedView();
  ASSERT_EQ(view.GetDisplayLineCount(), 2);

  view.RunLineTypeCommand(41124);

  EXPECT_EQ(view.m_show[kShowAll], 0);
  EXPECT_EQ(view.m_show[kTrebleStaff], 0);
  EXPECT_EQ(view.GetDisplayLineCount(), 1);
  EXPECT_EQ(doc_->settings.showLineType[kShowAll], 0);
}

TEST_F(LineTypesTest, ShowAllCannotBeLeftWhenEveryLineIsOfAHiddenType) {
  AddStaffLine(kTrebleStaff);
  for (BYTE& flag : Settings().showLineType) flag = 1;
  Settings().showLineType[kTrebleStaff] = 0;
  CStavlinView& view = UpdatedView();

  view.RunLineTypeCommand(41119);

  EXPECT_EQ(ui_.CountOf(7044), 1);
  EXPECT_EQ(view.m_show[kShowAll], 1);
  EXPECT_EQ(view.GetDisplayLineCount(), 1);
}

TEST_F(LineTypesTest, ChordDiagramsShowChordLinesAndKeepTheScaleBits) {
  CStavlinView& view = TextAndStaffView();
  view.m_show[4] = 0;
  view.m_chordDiagramsShown = 0;
  view.m_diagramWidth = 260;
  view.m_diagramHeight = 90;

  view.RunLineTypeCommand(41133);

  EXPECT_EQ(view.m_chordDiagramsShown, 1);
  EXPECT_EQ(view.m_show[4], 1);
  EXPECT_EQ(doc_->settings.flags48, 1 | 2);
  EXPECT_EQ(doc_->settings.diagramScale, (4 << 8) | 90);
  EXPECT_EQ(doc_->settings.showLineType[4], 1);
}

TEST_F(LineTypesTest, OtherCommandIdsAreNotLineTypeCommands) {
  CStavlinView& view = TextAndStaffView();
  EXPECT_FALSE(view.RunLineTypeCommand(41136));
  EXPECT_FALSE(view.RunLineTypeCommand(41118));
  EXPECT_TRUE(view.RunLineTypeCommand(41120));
}

}  // namespace
