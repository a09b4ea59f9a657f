// DeleteWithRemoveDialog: what leaves the group when a grouped line is
// deleted, and the Remove What? question.

#include <gtest/gtest.h>

#include "dialogs/KDlgRemoveWhat.h"
#include "platform/HelpPort.h"
#include "support/ViewTestSupport.h"

namespace {

using namespace viewtest;

constexpr int kGroupId = 5;

// The score, by display line: 0 text "above", 1 empty staff and 2 empty
// tablature (group 5), 3 text "below".
class RemoveGroupedLineTest : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    AddText("above");
    staff = Add(MakeStaff({}));
    tab = Add(MakeTab({}));
    AddText("below");
    Group(kGroupId, {staff, tab}, false);
    Layout(2);
  }
  POSITION staff = nullptr;
  POSITION tab = nullptr;
};

struct AnswerCase {
  const char* name;
  int button;
  int forward;
  int result;
  int linesLeft;
  int groupsLeft;
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class RemoveWhatAnswerTest : public RemoveGroupedLineTest,
                             public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(RemoveWhatAnswerTest, ActsOnTheAnswer) {
  const AnswerCase& c = GetParam();
  ui.AnswerDialog(KDlgRemoveWhat::kTemplateId, c.button);
  EXPECT_EQ(view->DeleteWithRemoveDialog(kGroupId, c.forward, tab), c.result);
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_EQ(doc.GetLineCount(), c.linesLeft);
  EXPECT_EQ(doc.GetLineGroupCount(), c.groupsLeft);
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps()[0], (UndoStep{5, kGroupId, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RemoveWhatAnswerTest,
    ::testing::Values(AnswerCase{"cancel changes nothing", IDCANCEL, 0, CStavlinView::kRemoveNothing, 4, 1},
                      AnswerCase{"this line leaves a group of two which then goes",
                                 KDlgRemoveWhat::kRemoveLine, 0, CStavlinView::kRemoveLineOnly, 4, 0},
                      AnswerCase{"whole group backward gives the length of the line above",
                                 KDlgRemoveWhat::kRemoveGroup, 0, 5, 2, 0},
                      AnswerCase{"whole group forward gives column zero", KDlgRemoveWhat::kRemoveGroup, 1, 0,
                                 2, 0}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return CaseName(info.param.name); });

TEST_F(RemoveGroupedLineTest, TakingALineOutUngroupsTheLineLeftAlone) {
  ui.AnswerDialog(KDlgRemoveWhat::kTemplateId, KDlgRemoveWhat::kRemoveLine);
  view->DeleteWithRemoveDialog(kGroupId, 0, tab);
  EXPECT_EQ(doc.GetLineAt(staff)->GetGroupId(), KLineObj::kNoGroup);
  EXPECT_EQ(doc.GetLineAt(staff)->GetGroup(), nullptr);
}

TEST_F(RemoveGroupedLineTest, RemovingTheWholeGroupPutsTheCaretBesideIt) {
  ui.AnswerDialog(KDlgRemoveWhat::kTemplateId, KDlgRemoveWhat::kRemoveGroup);
  view->DeleteWithRemoveDialog(kGroupId, 0, tab);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(Text(view->GetCurrentLine()), "above");
}

TEST_F(RemoveGroupedLineTest, ALineWithNotesInTheGroupSkipsTheQuestion) {
  List(1)->GetObjList()->AddTail(new KChord(0, 12, kQuarter, 0));
  EXPECT_EQ(view->DeleteWithRemoveDialog(kGroupId, 0, tab), CStavlinView::kRemoveLineOnly);
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(doc.GetLineGroupCount(), 0);
  EXPECT_EQ(doc.GetLineCount(), 4);
}

TEST_F(RemoveGroupedLineTest, HelpOpensItsPageAndTheDialogStaysOpen) {
  FakeHelpPort help;
  HelpPort* previous = SetHelpPort(&help);
  ui.AnswerDialog(KDlgRemoveWhat::kTemplateId, [](KModalDialog& dialog) {
    static_cast<KDlgRemoveWhat&>(dialog).OnHelp();
    return IDCANCEL;
  });
  EXPECT_EQ(view->DeleteWithRemoveDialog(kGroupId, 0, tab), CStavlinView::kRemoveNothing);
  SetHelpPort(previous);
  ASSERT_EQ(help.Topics().size(), 1u);
  EXPECT_EQ(help.Topics()[0], "HIDD_REMOVE");
}

class OnlyGroupShownTest : public ViewScoreFixture {};

TEST_F(OnlyGroupShownTest, RemovingAGroupThatIsAllTheScoreBeepsAndRefuses) {
  const POSITION staff = Add(MakeStaff({}));
  const POSITION tab = Add(MakeTab({}));
  Group(kGroupId, {staff, tab}, false);
  Layout(1);
  ui.AnswerDialog(KDlgRemoveWhat::kTemplateId, KDlgRemoveWhat::kRemoveGroup);
  EXPECT_EQ(view->DeleteWithRemoveDialog(kGroupId, 0, tab), CStavlinView::kRemoveNothing);
  EXPECT_EQ(ui.CountOf(7044), 1);
  ASSERT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(ui.Beeps()[0], MB_ICONASTERISK);
  EXPECT_EQ(doc.GetLineCount(), 2);
  EXPECT_EQ(doc.GetLineGroupCount(), 1);
}

}  // namespace
