// Even spacing against the view: the classes of note lengths, where the
// free columns go, and groups kept aligned.

#include <gtest/gtest.h>

#include "model/KExtendedObj.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/music/ViewMusic.h"

namespace {

using namespace viewtest;

struct ClassCase {
  int ticks;
  bool bar;
  int spacingClass;
};

class SpacingClassTest : public ::testing::TestWithParam<ClassCase> {};

TEST_P(SpacingClassTest, LengthsFallIntoTheirClass) {
  EXPECT_EQ(SpacingClass(GetParam().ticks, GetParam().bar), GetParam().spacingClass);
}

INSTANTIATE_TEST_SUITE_P(Classes, SpacingClassTest,
                         ::testing::Values(ClassCase{1920, false, 12}, ClassCase{1441, false, 12},
                                           ClassCase{1440, false, 10}, ClassCase{560, false, 10},
                                           ClassCase{559, false, 8}, ClassCase{320, false, 8},
                                           ClassCase{240, false, 0}, ClassCase{120, false, 2},
                                           ClassCase{60, false, 4}, ClassCase{0, true, 21},
                                           ClassCase{0, false, 90}),
                         [](const auto& info) {
                           return "Ticks" + std::to_string(info.param.ticks) + (info.param.bar ? "Bar" : "");
                         });

class EvenSpacingTest : public ViewScoreFixture {
 protected:
  // A staff of the columns (code, column), staff length giving `free` columns.
  KStaffLine* Staff(std::initializer_list<std::pair<int, int>> columns, int free) {
    auto* staff = new KStaffLine(0, 0, 0);
    int last = 0;
    for (const auto& [code, pos] : columns) {
      staff->GetObjList()->AddTail(code == kBar ? new KChord(pos, 1, kBar, 0) : new KChord(pos, 10, code, 0));
      last = pos;
    }
    staff->UpdateTimeSigCache();
    staff->SetStaffLength(34 + 18 * (last + 1 + free));
    return staff;
  }
  void SpaceCurrent() { ExecuteViewCommand(*view, cmd::kActionsEvenSpace); }
};

struct SpreadCase {
  const char* name;
  int free;
  const char* after;
};

void PrintTo(const SpreadCase& c, std::ostream* out) { *out << c.name; }

class EvenSpreadTest : public EvenSpacingTest, public ::testing::WithParamInterface<SpreadCase> {};

// A half note, an eighth, a whole note and a quarter, then a bar.
TEST_P(EvenSpreadTest, FreeColumnsGoToTheLongestNotesFirst) {
  Add(Staff({{10, 0}, {0, 1}, {12, 2}, {8, 3}, {kBar, 4}}, GetParam().free));
  Layout(0, 0);
  SpaceCurrent();
  EXPECT_EQ(Dump(0), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Spread, EvenSpreadTest,
    ::testing::Values(SpreadCase{"no free column leaves the line", 0, "0:10@10 1:0@10 2:12@10 3:8@10 4:21@1"},
                      SpreadCase{"one goes after the whole note", 1, "0:10@10 1:0@10 2:12@10 4:8@10 5:21@1"},
                      SpreadCase{"two also go before it", 2, "0:10@10 1:0@10 3:12@10 5:8@10 6:21@1"},
                      SpreadCase{"three then give the half note one", 3,
                                 "0:10@10 2:0@10 4:12@10 6:8@10 7:21@1"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(EvenSpacingTest, SpacingAgainGivesTheSameLine) {
  // Columns already spread by hand are closed up first, then spread anew.
  KStaffLine* staff = Staff({{10, 0}, {0, 3}, {12, 4}, {8, 8}, {kBar, 9}}, 0);
  staff->SetStaffLength(34 + 18 * 8);
  Add(staff);
  Layout(0, 0);
  SpaceCurrent();
  const std::string once = Dump(0);
  EXPECT_EQ(once, "0:10@10 2:0@10 4:12@10 6:8@10 7:21@1");
  SpaceCurrent();
  EXPECT_EQ(Dump(0), once);
}

TEST_F(EvenSpacingTest, ALineOfBarsAndEmptyColumnsFillsTheBarsFirst) {
  auto* staff = new KStaffLine(0, 0, 0);
  staff->GetObjList()->AddTail(new KChord(0, 1, kBar, 0));
  staff->GetObjList()->AddTail(new KChord(1, 1, kBar, 0));
  staff->GetObjList()->AddTail(new KChord(2, 1, kBar, 0));
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(34 + 18 * 5);
  Add(staff);
  Layout(0, 0);
  SpaceCurrent();
  EXPECT_EQ(Dump(0), "0:21@1 2:21@1 4:21@1");
}

TEST_F(EvenSpacingTest, TheLinesOfAGroupGetTheSameBlanksAndStayAligned) {
  const POSITION staff = Add(Staff({{12, 0}, {8, 1}, {8, 2}}, 3));
  const POSITION tab = Add(MakeTab({0, 1, 2}));
  doc.GetLineAt(tab)->SetStaffLength(doc.GetLineAt(staff)->GetStaffLength());
  Group(1, {staff, tab}, true);
  Layout(0, 0);
  SpaceCurrent();
  std::vector<int> staffColumns;
  std::vector<int> tabColumns;
  for (POSITION n = List(0)->GetObjList()->GetHeadPosition(); n != nullptr;)
    staffColumns.push_back(static_cast<KPosObj*>(List(0)->GetObjList()->GetNext(n))->GetPos());
  for (POSITION n = List(1)->GetObjList()->GetHeadPosition(); n != nullptr;)
    tabColumns.push_back(static_cast<KPosObj*>(List(1)->GetObjList()->GetNext(n))->GetPos());
  EXPECT_EQ(staffColumns, tabColumns);
  EXPECT_GT(staffColumns.back(), 2);
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps().front().kind, 3);
}

TEST_F(EvenSpacingTest, AttachmentsMoveWithTheirColumns) {
  KStaffLine* staff = Staff({{12, 0}, {8, 1}, {8, 2}}, 2);
  staff->AddAttachment(new KExtendedObj(1, 10, 0, 9, 0, 18, 4));  // a tie from column 1
  Add(staff);
  Layout(0, 0);
  SpaceCurrent();
  const KPosObj* second = static_cast<KPosObj*>(List(0)->GetObjList()->GetAt([&] {
    POSITION n = List(0)->GetObjList()->GetHeadPosition();
    List(0)->GetObjList()->GetNext(n);
    return n;
  }()));
  const auto* tie = static_cast<const KExtendedObj*>(List(0)->GetAttachments()->GetHead());
  EXPECT_EQ(tie->GetPos(), second->GetPos());
  EXPECT_GT(second->GetPos(), 1);
}

}  // namespace
