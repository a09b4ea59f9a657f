// The line-group rebuilder: completing a group's slots with new lines,
// starting a following group by splitting the group's lines at a pixel x
// (Enter on a grouped line) or with new empty lines (Wrap Music).

#include <string>

#include "StructureTestSupport.h"

namespace {

using namespace structtest;

constexpr DWORD kPairMember = KLineObj::kFlagPairedStaff;
constexpr DWORD kPairUpper = KLineObj::kFlagPairUpper;
constexpr DWORD kLongBars = KLineObj::kFlagPairLong;

class RebuildLineGroup : public StructureFixture {
 protected:
  // A new group of empty slots of these kinds, appended to the document.
  KLineGroup* NewGroup(int id, std::initializer_list<int> types, DWORD flags) {
    auto* group = new KLineGroup(id, static_cast<int>(types.size()), flags);
    int slot = 0;
    for (int type : types) group->SetSlotType(slot++, type);
    doc.AddLineGroup(group);
    return group;
  }
  std::vector<CString> labels = std::vector<CString>(KLineGroup::kMaxSlots);
};

TEST_F(RebuildLineGroup, CompletingMakesEveryMissingLineBelowTheCaretLine) {
  AddText("title");
  AddText("end");
  Open(0, 3);
  KLineGroup* group = NewGroup(7, {0, 2, 3, 4, 5}, 1);
  group->SetSlotBracket(0, 1);
  group->SetSlotBracket(1, 1);
  labels[0] = "Flute";
  ASSERT_EQ(view->RebuildLineGroup(7, 500, -1, labels.data()), group);
  EXPECT_EQ(Kinds(), "5 0g7 2g7 3g7 4g7 5g7 5 5");
  EXPECT_EQ(std::string(DocLine(1)->GetLabelName().View()), "Flute");
  EXPECT_EQ(DocLine(1)->GetStaffLength(), 500);
  EXPECT_EQ(DocLine(2)->GetStaffLength(), 500);
  EXPECT_EQ(DocLine(3)->GetStaffLength(), 0) << "only note lines take the width";
  EXPECT_EQ(view->GetCurrentLine(), 1) << "the caret goes to the first new line";
  EXPECT_EQ(view->GetCaretColumn(), 0);
  for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(group->GetSlotLine(slot), DocLine(slot + 1));
}

TEST_F(RebuildLineGroup, CompletingAFullGroupOnlyRenewsItsLinesAndAddsTheSpaceBelow) {
  AddText("title");
  const POSITION upper = Add(new KStaffLine(0, 0, 0));
  const POSITION lower = Add(new KStaffLine(1, 0, kLongBars));
  AddText("end");
  Open(1, 0);
  KLineGroup* group = NewGroup(2, {0, 1}, 1);
  group->SetSlotLineRef(0, upper);
  group->SetSlotLineRef(1, lower);
  group->SetSlotPartner(0, 1);
  group->SetSlotPartner(1, -1);
  labels[0] = "Piano";
  view->RebuildLineGroup(2, 400, -1, labels.data());
  EXPECT_EQ(Kinds(), "5 0g2 1g2 5 5");
  EXPECT_EQ(DocLine(1)->GetFlagWord() & (kPairMember | kPairUpper), kPairMember | kPairUpper);
  EXPECT_EQ(DocLine(2)->GetFlagWord() & (kPairMember | kPairUpper | kLongBars), kPairMember);
  EXPECT_EQ(std::string(DocLine(1)->GetLabelName().View()), "Piano");
  EXPECT_EQ(DocLine(1)->GetStaffLength(), 400);
  EXPECT_EQ(view->GetCurrentLine(), 1) << "the caret stays on its line";
}

TEST_F(RebuildLineGroup, ABlankLineAlreadyBelowTheGroupIsNotDoubled) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(viewtest::MakeTab({}));
  AddText("");
  Open(1, 0);
  KLineGroup* group = NewGroup(2, {0, 2}, 1);
  group->SetSlotLineRef(0, staff);
  group->SetSlotLineRef(1, tab);
  view->RebuildLineGroup(2, 400, -1, labels.data());
  EXPECT_EQ(Kinds(), "5 0g2 2g2 5");
}

TEST_F(RebuildLineGroup, WithoutSpaceAtTheBottomNoBlankLineFollows) {
  AddText("title");
  Open(0, 0);
  NewGroup(3, {0, 2}, 0);
  view->RebuildLineGroup(3, -1, -1, labels.data());
  EXPECT_EQ(Kinds(), "5 0g3 2g3");
}

TEST_F(RebuildLineGroup, AnUpperLinkAbove100GivesJoinedBarsAndIsTakenBackToTheDistance) {
  AddText("title");
  Open(0, 0);
  KLineGroup* group = NewGroup(1, {0, 5, 5, 1}, 0);
  group->SetSlotPartner(0, 103);
  group->SetSlotPartner(3, -3);
  view->RebuildLineGroup(1, -1, -1, labels.data());
  EXPECT_EQ(DocLine(1)->GetFlagWord() & (kPairMember | kPairUpper | kLongBars),
            kPairMember | kPairUpper | kLongBars);
  EXPECT_EQ(group->GetSlotPartner(0), 3);
  EXPECT_EQ(DocLine(4)->GetFlagWord() & (kPairMember | kPairUpper), kPairMember);
}

TEST_F(RebuildLineGroup, OnlyTheFirstNoteLineOfEachLongBarSetGetsLongBars) {
  AddText("title");
  Open(0, 0);
  KLineGroup* group = NewGroup(1, {0, 2, 0, 2}, 0x10 | 0x20);
  group->SetSlotBracket(0, 1);
  group->SetSlotBracket(1, 1);
  group->SetSlotBracket(2, 2);
  group->SetSlotBracket(3, 2);
  view->RebuildLineGroup(1, -1, -1, labels.data());
  EXPECT_EQ(DocLine(1)->TestFlags(kLongBars), 1);
  EXPECT_EQ(DocLine(2)->TestFlags(kLongBars), 0);
  EXPECT_EQ(DocLine(3)->TestFlags(kLongBars), 1);
  EXPECT_EQ(DocLine(4)->TestFlags(kLongBars), 0);
}

TEST_F(RebuildLineGroup, ShowAllThatIsOnStaysOn) {
  AddText("title");
  Open(0, 0);
  ASSERT_EQ(view->m_show[8], 1);
  NewGroup(1, {0, 2}, 0);
  view->RebuildLineGroup(1, -1, -1, labels.data());
  EXPECT_EQ(view->m_show[8], 1);
  EXPECT_EQ(view->GetDisplayLineCount(), 3);
}

TEST_F(RebuildLineGroup, ShowAllThatIsOffIsTurnedOnSoTheNewLinesShow) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  doc.settings.showLineType[8] = 0;
  doc.settings.showLineType[2] = 0;
  Open(1, 0);
  NewGroup(1, {2}, 0);
  view->RebuildLineGroup(1, -1, -1, labels.data());
  EXPECT_EQ(view->m_show[8], 1);
  EXPECT_EQ(view->GetDisplayLineCount(), 3);
}

// A staff and its tablature bracketed in a group with space below, each
// holding a note at columns 0 to 3.
class SplitGroup : public RebuildLineGroup {
 protected:
  void SetUp() override {
    RebuildLineGroup::SetUp();
    AddText("title");
    staff_ = Add(viewtest::MakeStaff({{0, 18}, {1, 17}, {2, 16}, {3, 15}}));
    tab_ = Add(viewtest::MakeTab({0, 1, 2, 3}));
    Group(5, {staff_, tab_}, true)->ModifyFlags(1, 1);
    AddText("");
    AddText("end");
  }
  POSITION staff_ = nullptr;
  POSITION tab_ = nullptr;
};

TEST_F(SplitGroup, EnterOnAGroupedLineSplitsTheWholeGroupAtTheCaret) {
  Open(1, 2);
  view->OnChar(13, 1, 0);
  EXPECT_EQ(Kinds(), "5 0g5 2g5 5 0g6 2g6 5 5");
  EXPECT_EQ(DumpAt(staff_), "0:8@18 1:8@17");
  EXPECT_EQ(DumpAt(tab_), "0:228@4 1:228@4");
  EXPECT_EQ(Dump(4), "0:8@16 1:8@15");
  EXPECT_EQ(Dump(5), "0:228@4 1:228@4");
  EXPECT_EQ(view->GetCurrentLine(), 4) << "the caret follows to its line of the new group";
  EXPECT_EQ(view->GetCaretColumn(), 0);
  ASSERT_FALSE(viewtest::UndoSteps().empty());
  EXPECT_EQ(viewtest::UndoSteps().front().kind, 5);
  EXPECT_EQ(ui.Beeps().size(), 0u);
  const KLineGroup* following = doc.FindLineGroup(6);
  ASSERT_NE(following, nullptr);
  EXPECT_EQ(following->GetSlotBracket(0, 1), 1);
  EXPECT_EQ(following->GetSlotBracket(1, 1), 1);
}

TEST_F(SplitGroup, SplittingLeftOfTheFirstColumnMovesEverythingToTheNewGroup) {
  Open(1, 0);
  view->RebuildLineGroup(5, 0, 0, nullptr);
  EXPECT_EQ(DumpAt(staff_), "");
  EXPECT_EQ(Dump(4), "0:8@18 1:8@17 2:8@16 3:8@15");
}

TEST_F(SplitGroup, AFollowingGroupOfEmptyLinesKeepsTheKindsTuningAndLength) {
  doc.GetLineAt(staff_)->SetStaffLength(600);
  doc.GetLineAt(tab_)->SetStaffLength(600);
  Open(2, 0);
  view->RebuildLineGroup(5, 0, CStavlinView::kFollowingEmptyGroup, nullptr);
  EXPECT_EQ(Kinds(), "5 0g5 2g5 5 0g6 2g6 5 5");
  EXPECT_EQ(Dump(4), "");
  auto* tab = dynamic_cast<KTabLine*>(Line(5));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(std::string(tab->GetTuning().View()), kGuitar);
  EXPECT_EQ(tab->GetStaffLength(), 600);
  EXPECT_EQ(view->GetCurrentLine(), 5);
}

}  // namespace
