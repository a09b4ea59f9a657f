// The bracketed partner of the current line, with mutual translation on.

#include "EntryFixture.h"

namespace {

TEST_F(EntryFixture, PartnerOfTheSecondToLastLineIsFoundOnTheLastLine) {
  AddText("title");
  const POSITION staff = AddStaff();
  const POSITION tab = AddTab();
  Group(10000, staff, tab, 1);
  view->m_mutualTranslation = 1;
  CaretAt(1, 0, 18);
  int first = -1;
  int last = -1;
  EXPECT_EQ(view->FindPartnerLine(first, last), 10000);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 2);
  CaretAt(2, 0, 3);
  EXPECT_EQ(view->FindPartnerLine(first, last), 10000);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 2);
}

TEST_F(EntryFixture, NoPartnerWithoutMutualTranslationOrBracket) {
  const POSITION staff = AddStaff();
  const POSITION tab = AddTab();
  KLineGroup* group = Group(10000, staff, tab, 1);
  CaretAt(0, 0, 18);
  int first = -1;
  int last = -1;
  EXPECT_EQ(view->FindPartnerLine(first, last), -1);
  view->m_mutualTranslation = 1;
  group->SetSlotBracket(0, 0);
  group->SetSlotBracket(1, 0);
  EXPECT_EQ(view->FindPartnerLine(first, last), -1);
}

}  // namespace
