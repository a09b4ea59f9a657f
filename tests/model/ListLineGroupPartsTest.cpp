// A line among its group's lines: its bracketed partner, and closing up the
// empty columns in front of its music without moving the group's others.

#include <memory>
#include <string>
#include <vector>

#include "LineTestSupport.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "support/CaseName.h"

namespace {

constexpr int kTreble = 0;
constexpr int kTab = 2;
constexpr int kGroupId = 40;

class GroupParts : public LineTest {
 protected:
  // Lines of the kinds with the raw bracket numbers in one group.
  void Build(const std::vector<int>& types, const std::vector<int>& brackets) {
    group = std::make_unique<KLineGroup>(kGroupId, int(types.size()), 0);
    for (std::size_t i = 0; i < types.size(); ++i) {
      lines.push_back(std::make_unique<KListLine>(0, types[i], 0, KLineObj::kNoGroup, 0));
      group->SetSlotType(int(i), types[i]);
      group->SetSlotBracket(int(i), brackets[i]);
      group->SetSlotLine(int(i), lines.back().get());
      lines.back()->SetGroup(kGroupId, group.get());
    }
  }
  // The slot of a line, or -1 for none.
  int SlotOf(const KListLine* line) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].get() == line) return int(i);
    return -1;
  }
  std::vector<std::unique_ptr<KListLine>> lines;
  std::unique_ptr<KLineGroup> group;
};

struct PartnerCase {
  const char* name;
  std::vector<int> types;
  std::vector<int> brackets;
  int asked;    // the slot whose partner is looked for
  int given;    // the slot handed in, -1 none
  int partner;  // the slot found, -1 none
};
void PrintTo(const PartnerCase& c, std::ostream* os) { *os << c.name; }

class AlignWithGroup : public GroupParts, public ::testing::WithParamInterface<PartnerCase> {};

TEST_P(AlignWithGroup, FindsTheBracketedPartner) {
  const PartnerCase& c = GetParam();
  Build(c.types, c.brackets);
  KListLine* given = c.given >= 0 ? lines[std::size_t(c.given)].get() : nullptr;
  EXPECT_EQ(SlotOf(lines[std::size_t(c.asked)]->AlignWithGroup(given, 0)), c.partner);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, AlignWithGroup,
    ::testing::Values(
        PartnerCase{"a staff and its tab", {kTreble, kTab}, {1, 1}, 0, -1, 1},
        PartnerCase{"the other family comes first", {kTreble, kTreble, kTab}, {1, 1, 1}, 0, -1, 2},
        PartnerCase{"two staves of one bracket", {kTreble, kTreble}, {1, 1}, 1, -1, 0},
        PartnerCase{"no bracket no partner", {kTreble, kTab}, {0, 1}, 0, -1, -1},
        PartnerCase{"another bracket is no partner", {kTreble, kTab}, {1, 2}, 0, -1, -1},
        PartnerCase{"a given line of the bracket", {kTreble, kTab, 3}, {1, 1, 0}, 0, 1, 1},
        PartnerCase{"a given line of another bracket", {kTreble, kTab, kTab}, {1, 1, 2}, 0, 2, -1}),
    [](const ::testing::TestParamInfo<PartnerCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(GroupParts, ALineOutsideAnyGroupHasNoPartner) {
  KListLine line(0, kTreble, 0, KLineObj::kNoGroup, 0);
  EXPECT_EQ(line.AlignWithGroup(nullptr, 0), nullptr);
}

TEST_F(GroupParts, LeadingSpaceClosesUpOnTheLineAloneWithItsAttachments) {
  Build({kTreble, kTab}, {1, 1});
  Fill(*lines[0], {Note(3), Note(5)});
  Fill(*lines[1], {Note(3)});
  lines[0]->AddAttachment(new KExtendedObj(5, 18, 0, 9, -6, 18, 0));
  EXPECT_EQ(lines[0]->RemoveLeadingSpace(), 3);
  EXPECT_EQ(Positions(*lines[0]->GetObjList()), (std::vector<int>{0, 2}));
  EXPECT_EQ(Positions(*lines[1]->GetObjList()), (std::vector<int>{3})) << "the group's other line stays";
  const auto* tie = static_cast<const KPosObj*>(lines[0]->GetAttachments()->GetHead());
  EXPECT_EQ(tie->GetPos(), 2);
  EXPECT_EQ(lines[0]->RemoveLeadingSpace(), 0) << "nothing in front any more";
}

}  // namespace
