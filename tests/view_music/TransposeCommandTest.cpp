// Actions/Transpose against the view: the key maps, which lines change and
// how, the dialog's defaults from the current line, and the placements.

#include <gtest/gtest.h>

#include "dialogs/KDlgTranspose.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/music/ViewMusic.h"

namespace {

using namespace viewtest;

constexpr int kIndexD = 8;
constexpr int kIndexE = 10;
constexpr int kIndexBb = 2;

// Key code -> list index and back, for every key.
TEST(TransposeKeyMapTest, CodesAndListIndexesMapBothWays) {
  const int codeToIndex[16] = {5, 5, 14, 11, 8, 2, 1, 9, 10, 0, 3, 7, 12, 13, 6, 4};
  const int indexToCode[15] = {9, 6, 5, 10, 15, 0, 14, 11, 4, 7, 8, 3, 12, 13, 2};
  for (int code = 0; code < 16; ++code) EXPECT_EQ(TransposeKeyIndexOfCode(code), codeToIndex[code]) << code;
  for (int index = 0; index < 15; ++index)
    EXPECT_EQ(TransposeKeyCodeOfIndex(index), indexToCode[index]) << index;
}

class TransposeTest : public ViewScoreFixture {
 protected:
  void Answer(int target, int placement, int scope) {
    ui.AnswerDialog(KDlgTranspose::kTemplateId, [=](KModalDialog& d) {
      d.Controls().Select(KDlgTranspose::kIdTargetKey, target);
      static constexpr UINT kPlacement[] = {KDlgTranspose::kIdReplace, KDlgTranspose::kIdAbove,
                                            KDlgTranspose::kIdBelow};
      static constexpr UINT kScope[] = {KDlgTranspose::kIdCurrentLine, KDlgTranspose::kIdSelection,
                                        KDlgTranspose::kIdAll};
      d.Controls().SetChecked(kPlacement[placement], 1);
      d.Controls().SetChecked(kScope[scope], 1);
      return IDOK;
    });
  }
};

TEST_F(TransposeTest, TheDialogOpensOnTheCurrentTabsFingering) {
  Add(MakeTab({0, 1, 2}));  // fret 2 throughout
  Layout(0, 0);
  KDlgTranspose shown;
  ui.AnswerDialog(KDlgTranspose::kTemplateId, [&shown](KModalDialog& d) {
    auto& t = static_cast<KDlgTranspose&>(d);
    shown.keepClose = t.keepClose;
    shown.fret = t.fret;
    shown.neverBelow = t.neverBelow;
    shown.scope = t.scope;
    return IDCANCEL;
  });
  ExecuteViewCommand(*view, cmd::kActionsTranspose);
  EXPECT_EQ(shown.keepClose, 1);
  EXPECT_EQ(shown.fret, 2);
  EXPECT_EQ(shown.neverBelow, 0);
  EXPECT_EQ(shown.scope, KDlgTranspose::kScopeAll);
  EXPECT_TRUE(UndoSteps().empty());
}

TEST_F(TransposeTest, AllLinesMoveToTheNewKeyInOneStep) {
  Add(MakeStaff({{0, 10}, {1, 12}}));
  AddText("la la");
  Add(MakeTab({0, 1}));
  Layout(0, 0);
  Answer(kIndexD, 0, 2);
  ExecuteViewCommand(*view, cmd::kActionsTranspose);
  EXPECT_EQ(List(0)->GetKey(), 4);
  EXPECT_EQ(List(2)->GetKey(), 4);
  EXPECT_NE(Dump(0), "0:8@10 1:8@12");
  EXPECT_EQ(Text(1), "la la");
  EXPECT_EQ(view->m_defaultKey, 4);
  EXPECT_EQ(UndoSteps().front().kind, 2);
  view->OnEditUndo();
  EXPECT_EQ(Dump(0), "0:8@10 1:8@12");
  EXPECT_EQ(List(0)->GetKey(), 0);
}

// A group in G transposed to B flat draws two flats on its staff and its
// tablature's lead-in follows: the group's key is the new key.
TEST_F(TransposeTest, AGroupTakesTheNewKeyForItsLeadIn) {
  KStaffLine* staff = MakeStaff({{0, 10}, {1, 12}});
  staff->SetKeySignature(2, 2, 0);
  KTabLine* tab = MakeTab({0, 1});
  tab->SetKeySignature(2, 2, 0);
  KLineGroup* group = Group(1, {Add(staff), Add(tab)}, true);
  group->EqualizeLeadInSteps(doc);
  Layout(0, 0);
  ASSERT_EQ(group->GetLeadInSteps(), 2);
  Answer(kIndexBb, 0, 2);
  ExecuteViewCommand(*view, cmd::kActionsTranspose);
  EXPECT_EQ(group->GetLeadInSteps(), 5);
  EXPECT_EQ(List(0)->GetKey(), 5);
  EXPECT_EQ(List(0)->GetLayoutKey(), 5);
}

TEST_F(TransposeTest, GoBelowAddsALineLabelledWithTheKey) {
  KStaffLine* staff = MakeStaff({{0, 10}});
  staff->SetLabel("Guitar");
  Add(staff);
  Layout(0, 0);
  Answer(kIndexD, 2, 2);
  ExecuteViewCommand(*view, cmd::kActionsTranspose);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(Line(0)->GetLabelName(), CString("Guitar"));
  EXPECT_EQ(Line(1)->GetLabelName(), CString("D  Guitar"));
  EXPECT_EQ(List(0)->GetKey(), 0);
  EXPECT_EQ(List(1)->GetKey(), 4);
}

TEST_F(TransposeTest, FixedLengthLinesGrowByTheWiderKeySignature) {
  KStaffLine* staff = MakeStaff({{0, 10}});
  staff->SetStaffLength(400);
  Add(staff);
  Layout(0, 0);
  Answer(kIndexE, 0, 2);  // C to E: four sharps, five accidental places
  ExecuteViewCommand(*view, cmd::kActionsTranspose);
  EXPECT_EQ(Line(0)->GetStaffLength(), 400 + 5 * 5);
}

TEST_F(TransposeTest, PartOfALineKeepsItsKeySignature) {
  Add(MakeStaff({{0, 10}, {1, 10}, {2, 10}, {3, 10}, {4, 10}}));
  Layout(0, 0);
  Select(0, 0, 2, 4);
  ASSERT_TRUE(view->SelectionRectShown());
  Answer(kIndexBb, 0, 1);
  ExecuteViewCommand(*view, cmd::kActionsTranspose);
  EXPECT_EQ(List(0)->GetKey(), 0);
  EXPECT_EQ(UndoSteps().front().kind, 4);
}

}  // namespace
