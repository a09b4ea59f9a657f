// Insert/Line Group: gathering the lines to group (with their groups), the
// refusals, and the group built from the dialog's rows.

#include <string>

#include "StructureTestSupport.h"
#include "dialogs/KDlgLineGroup.h"
#include "platform/SettingsStore.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace structtest;

constexpr UINT kDialog = KDlgLineGroup::kTemplateId;

class LineGroupCommand : public StructureFixture {
 protected:
  // The dialog as the command filled it, and OK.
  void AnswerOk(std::function<void(KDlgLineGroup&)> change = {}) {
    ui.AnswerDialog(kDialog, [this, change](KModalDialog& d) {
      auto& dlg = static_cast<KDlgLineGroup&>(d);
      shown_ = std::vector<int>(dlg.types.begin(), dlg.types.begin() + std::max(dlg.gatheredCount, 2));
      shownSets_ = std::vector<int>(dlg.sets.begin(), dlg.sets.begin() + std::max(dlg.gatheredCount, 2));
      if (change) change(dlg);
      return IDOK;
    });
  }
  std::vector<int> shown_;
  std::vector<int> shownSets_;
  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
};

TEST_F(LineGroupCommand, WithNothingGatheredTheSavedDefaultsMakeANewStaffAndTab) {
  AddText("title");
  Open(0, 2);
  g_prefLineGroups = "1,0,530,0,1,,2,1,,";
  AnswerOk();
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kInsertLineGroup));
  EXPECT_EQ(shown_, (std::vector<int>{0, 2}));
  EXPECT_EQ(Kinds(), "5 0g0 2g0 5");
  const KLineGroup* group = doc.FindLineGroup(0);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotBracket(0, 1), 1);
  EXPECT_EQ(group->GetSlotBracket(1, 1), 1);
  EXPECT_EQ(group->TestFlags(1), 1u);
  EXPECT_EQ(view->m_mutualTranslation, 1);
}

TEST_F(LineGroupCommand, SelectedLinesAreGroupedWithBracketsAndABrace) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  Add(viewtest::MakeTab({0, 1}));
  Add(new KStaffLine(0, 0, 0));
  Add(new KStaffLine(1, 0, 0));
  Open(1, 0);
  Select(1, 4, 0, 3);
  AnswerOk([](KDlgLineGroup& dlg) {
    dlg.Controls().SetChecked(KDlgLineGroup::kIdSet1 + 0, 1);
    dlg.Controls().SetChecked(KDlgLineGroup::kIdSet1 + 1, 1);
    dlg.Controls().SetChecked(KDlgLineGroup::kIdBrace + 2, 1);
    dlg.Controls().SetText(KDlgLineGroup::kIdLabel + 0, "Guitar");
  });
  view->OnInsertLineGroup();
  EXPECT_EQ(shown_, (std::vector<int>{0, 2, 0, 1}));
  EXPECT_EQ(Kinds(), "5 0g0 2g0 0g0 1g0 5");
  const KLineGroup* group = doc.FindLineGroup(0);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotBracket(0, 1), 1);
  EXPECT_EQ(group->GetSlotBracket(1, 1), 1);
  // The braced treble joins its bars to the bass right below it.
  EXPECT_EQ(group->GetSlotPartner(2), 1);
  EXPECT_EQ(group->GetSlotPartner(3), -1);
  EXPECT_EQ(DocLine(3)->GetFlagWord() & 0x300004u, 0x300004u);
  EXPECT_EQ(std::string(DocLine(1)->GetLabelName().View()), "Guitar");
  EXPECT_EQ(Dump(2), "0:228@4 1:228@4") << "the lines keep their music";
}

TEST_F(LineGroupCommand, AGroupedLineBringsItsWholeGroupAndLeavesItWhenLeftOut) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(viewtest::MakeTab({}));
  Group(7, {staff, tab}, true);
  AddText("after");
  Open(2, 0);
  AnswerOk([](KDlgLineGroup& dlg) { dlg.Controls().SetChecked(KDlgLineGroup::kIdInGroup + 1, 0); });
  view->OnInsertLineGroup();
  EXPECT_EQ(shown_, (std::vector<int>{0, 2}));
  EXPECT_EQ(shownSets_, (std::vector<int>{1, 1}));
  EXPECT_EQ(doc.FindLineGroup(7), nullptr) << "the old group is gone";
  EXPECT_EQ(doc.GetLineGroupCount(), 0);
  EXPECT_EQ(Kinds(), "5 0 2 5");
  EXPECT_EQ(ui.CountOf(0), 1) << "the single-line message";
  EXPECT_FALSE(ui.Beeps().empty());
}

TEST_F(LineGroupCommand, TwoGroupsSetsFollowOneAnotherAndAFifthSetIsTurnedOff) {
  AddText("title");
  std::vector<POSITION> first;
  for (int i = 0; i < 2; ++i) first.push_back(Add(viewtest::MakeTab({})));
  std::vector<POSITION> second;
  for (int i = 0; i < 3; ++i) second.push_back(Add(viewtest::MakeTab({})));
  KLineGroup* a = Group(1, first, false);
  a->SetSlotBracket(0, 1);
  a->SetSlotBracket(1, 2);
  KLineGroup* b = Group(2, second, false);
  b->SetSlotBracket(0, 1);
  b->SetSlotBracket(1, 2);
  b->SetSlotBracket(2, 3);
  Open(1, 0);
  Select(1, 3, 0, 1);
  AnswerOk();
  view->OnInsertLineGroup();
  EXPECT_EQ(shownSets_, (std::vector<int>{1, 2, 3, 4, 0}));
  EXPECT_EQ(ui.CountOf(0), 1) << "the message about the sets past four";
}

TEST_F(LineGroupCommand, MoreThanTwentyOneSelectedLinesAreRefused) {
  AddText("title");
  for (int i = 0; i < 22; ++i) AddText("line");
  Open(1, 0);
  Select(1, 22, 0, 1);
  view->OnInsertLineGroup();
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(ui.CountOf(0), 1);
  EXPECT_EQ(doc.GetLineGroupCount(), 0);
}

TEST_F(LineGroupCommand, TwentyUngroupedLinesAreGathered) {
  AddText("title");
  for (int i = 0; i < 20; ++i) Add(viewtest::MakeTab({}));
  Open(1, 0);
  Select(1, 20, 0, 1);
  int gathered = 0;
  ui.AnswerDialog(kDialog, [&gathered](KModalDialog& d) {
    gathered = static_cast<KDlgLineGroup&>(d).gatheredCount;
    return IDCANCEL;
  });
  view->OnInsertLineGroup();
  EXPECT_EQ(gathered, 20);
  EXPECT_EQ(doc.GetLineGroupCount(), 0) << "cancel changes nothing";
}

TEST_F(LineGroupCommand, HiddenLineTypesAreShownFirstAndTheUserAskedToSelectAgain) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  doc.settings.showLineType[8] = 0;
  doc.settings.showLineType[0] = 0;
  Open(0, 0);
  ASSERT_EQ(view->GetDisplayLineCount(), 1);
  view->OnInsertLineGroup();
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(view->m_show[8], 1);
  EXPECT_EQ(view->GetDisplayLineCount(), 2);
  // Once every line shows, the command goes on to the dialog.
  view->OnInsertLineGroup();
  EXPECT_EQ(ui.Dialogs().size(), 1u);
}

TEST_F(LineGroupCommand, ALineHiddenByItsLabelIsShownBeforeGrouping) {
  AddText("title");
  KLineObj* hidden = new KStaffLine(0, 0, 0);
  hidden->ModifyFlags(2, 1);
  Add(hidden);
  Add(viewtest::MakeTab({}));
  doc.settings.showLineType[8] = 0;
  Open(2, 0);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  view->OnInsertLineGroup();
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(view->GetDisplayLineCount(), 3);
}

TEST_F(LineGroupCommand, UsingTheSettingsAsDefaultsSavesThem) {
  AddText("title");
  Open(0, 0);
  g_prefLineGroups = "1,0,530,0,1,,2,1,,";
  AnswerOk([](KDlgLineGroup& dlg) {
    dlg.Controls().SetChecked(KDlgLineGroup::kIdDefaults, 1);
    dlg.Controls().SetChecked(KDlgLineGroup::kIdSpaceBelow, 0);
  });
  view->OnInsertLineGroup();
  EXPECT_EQ(std::string(g_prefLineGroups.View()), "0,0,700,0,1,,2,1,,");
  EXPECT_EQ(Kinds(), "5 0g0 2g0");
}

}  // namespace
