// Line groups: construction, bracket numbers, inserting and removing lines.

#include <algorithm>
#include <string>

#include "KLineGroupTestSupport.h"

namespace {

class KLineGroupTest : public LineTest {
 protected:
  KLineGroupTest() { ResetLineGroupServices(); }
  ~KLineGroupTest() override { ResetLineGroupServices(); }

  LineList lines;
};

using Ints = std::vector<int>;

TEST_F(KLineGroupTest, ConstructorsFillTheirSlotsAndLeaveTheRestEmpty) {
  const POSITION a = lines.Add(kTreble);
  const POSITION b = lines.Add(kTab);

  KLineGroup pair(3, a, kTreble, 4, b, kTab, 9, 1);
  EXPECT_EQ(SlotTypes(pair), (Ints{kTreble, kTab}));
  EXPECT_EQ(SlotBrackets(pair), (Ints{1, 1}));
  EXPECT_EQ(pair.GetFlags(), 1u);
  EXPECT_EQ(pair.GetKeySignature(), 9);
  EXPECT_EQ(pair.GetNoteLineCount(), 2);
  EXPECT_EQ(pair.FindSlot(b), 1);
  EXPECT_EQ(pair.GetSlotType(2), KLineGroup::kEmptySlotType);

  KLineGroup unbracketed(3, a, kTreble, 0, b, kText, 0, 0);
  EXPECT_EQ(SlotBrackets(unbracketed), (Ints{0, 0}));
  EXPECT_EQ(unbracketed.GetFlags(), 0u);
  EXPECT_EQ(unbracketed.GetNoteLineCount(), 1);

  // The copy takes the slots' kinds, raw brackets and partners, not the lines.
  KLineGroup source(3, a, kTreble, 16, b, kBass, 0, 0);
  source.SetSlotBracket(0, 2);
  source.SetSlotLine(0, lines.Line(a));
  source.SetSlotPartner(0, 1);
  source.SetSlotPartner(1, -1);
  KLineGroup copy(8, source);
  EXPECT_EQ(copy.GetId(), 8);
  EXPECT_EQ(SlotTypes(copy), (Ints{kTreble, kBass}));
  EXPECT_EQ(SlotBrackets(copy), (Ints{2, 0}));
  EXPECT_EQ(SlotPartners(copy), (Ints{1, -1}));
  EXPECT_EQ(copy.GetKeySignature(), 0) << "a key above 15 reads as 0";
  EXPECT_EQ(copy.GetSlotLineRef(0), nullptr);
  EXPECT_EQ(copy.GetSlotLine(0), nullptr);

  // The array constructor stops at 20 slots.
  std::vector<POSITION> positions(25, a);
  std::vector<int> types(25, kTab);
  KLineGroup many(1, positions, types, 3);
  EXPECT_EQ(many.GetSlotCount(), KLineGroup::kMaxSlots);
  EXPECT_EQ(many.GetNoteLineCount(), KLineGroup::kMaxSlots);
  EXPECT_EQ(many.GetFlags(), 1u);

  KLineGroup defaults;
  EXPECT_EQ(defaults.GetId(), KLineGroup::kDefaultId);
  EXPECT_EQ(defaults.GetSlotCount(), 0);
}

TEST_F(KLineGroupTest, EffectiveBracketIsZeroWhenTheBracketHoldsTwoLinesOfOneFamily) {
  struct Case {
    const char* name;
    Ints types;
    Ints brackets;
    Ints slotBrackets;  // GetSlotBracket without raw
    Ints lineBrackets;  // GetLineBracket without raw
  };
  const std::vector<Case> cases = {
      {"staff and tablature translate", {kTreble, kTab}, {1, 1}, {1, 1}, {1, 1}},
      {"two treble staves only join", {kTreble, kTreble}, {1, 1}, {0, 0}, {0, 0}},
      {"treble above bass is a grand staff", {kTreble, kBass}, {1, 1}, {1, 1}, {0, 0}},
      {"bass above treble is not", {kBass, kTreble}, {1, 1}, {0, 0}, {0, 0}},
      {"the grand staff must be adjacent", {kTreble, kTab, kBass}, {1, 1, 1}, {0, 1, 0}, {0, 1, 0}},
      {"alto is a staff too", {kTreble, 9, kTab}, {2, 2, 2}, {0, 0, 2}, {0, 0, 2}},
      {"other numbers do not count", {kTreble, kTreble, kTab}, {1, 2, 2}, {1, 2, 2}, {1, 2, 2}},
      {"no bracket", {kTreble, kTab}, {0, 0}, {0, 0}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<POSITION> positions;
    auto group = MakeGroup(lines, {c.types, c.brackets}, &positions);
    Ints slot;
    Ints line;
    for (int i = 0; i < group->GetSlotCount(); ++i) {
      slot.push_back(group->GetSlotBracket(i, 0));
      line.push_back(group->GetLineBracket(positions[i], 0));
      EXPECT_EQ(group->GetLineBracket(positions[i], 1), c.brackets[i]);
    }
    EXPECT_EQ(slot, c.slotBrackets);
    EXPECT_EQ(line, c.lineBrackets);
    EXPECT_EQ(group->GetLineBracket(lines.Add(kTreble), 1), 0) << "a line outside the group";
  }
}

TEST_F(KLineGroupTest, TripleBracketFlagsFollowTheBracketNumbers) {
  struct Case {
    const char* name;
    Ints types;
    Ints brackets;
    DWORD flags;
  };
  const std::vector<Case> cases = {
      {"three note lines in bracket 1", {kTreble, kTab, kBass}, {1, 1, 1}, 2},
      {"bracket 2", {kTreble, kTab, kBassTab}, {2, 2, 2}, 4},
      {"bracket 3", {kTreble, kTab, kBass, kText}, {3, 3, 3, 0}, 8},
      {"bracket 4 has no flag", {kTreble, kTab, kBass}, {4, 4, 4}, 0},
      {"a rhythm line does not count", {kTreble, kTab, kRhythm}, {1, 1, 1}, 0},
      {"an alto staff does not count", {kTreble, kTab, 9}, {1, 1, 1}, 0},
      {"four lines are not three", {kTreble, kTab, kBass, kTab}, {1, 1, 1, 1}, 0},
      {"two brackets of three", {kTreble, kTab, kBass, kTreble, kTab, kBass}, {1, 1, 1, 2, 2, 2}, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto group = MakeGroup(lines, {c.types, c.brackets});
    group->ModifyFlags(0x10 | 1, 1);
    group->SetSlotBracket(0, c.brackets[0]);
    EXPECT_EQ(group->GetFlags(), c.flags | 0x10 | 1) << "the view's bits stay";
  }

  auto group = MakeGroup(lines, {{kTreble, kTab, kBass}, {1, 1, 1}});
  group->SetSlotBracket(2, 0);
  EXPECT_EQ(group->TestFlags(KLineGroup::kTripleBracketFlags), 0u);
  group->SetSlotBracket(2, 7);
  EXPECT_EQ(group->GetSlotBracket(2, 1), 0) << "numbers above 4 are refused";
}

TEST_F(KLineGroupTest, RemoveLineKeepsBracketsCompactAndPairsConsistent) {
  struct Case {
    const char* name;
    GroupRecipe recipe;
    int removed;  // slot
    Ints types;
    Ints brackets;
    Ints partners;
  };
  const std::vector<Case> cases = {
      {"a bracket left with one line is dissolved",
       {{kTreble, kTab, kText}, {1, 1, 0}},
       1,
       {kTreble, kText},
       {0, 0},
       {0, 0}},
      {"brackets 1 and 3 become 1 and 2",
       {{kTreble, kTab, kTreble, kTab, kText}, {1, 1, 3, 3, 0}},
       4,
       {kTreble, kTab, kTreble, kTab},
       {1, 1, 2, 2},
       {0, 0, 0, 0}},
      {"a dissolved bracket 1 leaves 3 to become 1",
       {{kTreble, kTab, kTreble, kTab, kTab}, {1, 1, 3, 3, 3}},
       0,
       {kTab, kTreble, kTab, kTab},
       {0, 1, 1, 1},
       {0, 0, 0, 0}},
      {"removing the upper staff unpairs the lower",
       {{kTreble, kBass, kText}, {}, {1, -1, 0}},
       0,
       {kBass, kText},
       {0, 0},
       {0, 0}},
      {"removing the lower staff unpairs the upper",
       {{kText, kTreble, kBass}, {}, {0, 1, -1}},
       2,
       {kText, kTreble},
       {0, 0},
       {0, 0}},
      {"a pair around the removed slot closes up",
       {{kTreble, kText, kBass}, {}, {2, 0, -2}},
       1,
       {kTreble, kBass},
       {0, 0},
       {1, -1}},
      {"the joined-bars mark stays on the upper offset",
       {{kTreble, kText, kBass}, {}, {102, 0, -2}},
       1,
       {kTreble, kBass},
       {0, 0},
       {101, -1}},
      {"a pair that moves up whole keeps its offsets",
       {{kText, kTreble, kText, kBass}, {}, {0, 2, 0, -2}},
       0,
       {kTreble, kText, kBass},
       {0, 0, 0},
       {2, 0, -2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<POSITION> positions;
    auto group = MakeGroup(lines, c.recipe, &positions);
    POSITION remaining = positions[0];
    const int count = group->RemoveLine(positions[c.removed], remaining);
    EXPECT_EQ(count, int(c.types.size()));
    EXPECT_EQ(remaining, nullptr);
    EXPECT_EQ(SlotTypes(*group), c.types);
    EXPECT_EQ(SlotBrackets(*group), c.brackets);
    EXPECT_EQ(SlotPartners(*group), c.partners);
    EXPECT_EQ(group->FindSlot(positions[c.removed]), -1);
    EXPECT_EQ(group->GetSlotType(count), KLineGroup::kEmptySlotType) << "the freed slot is empty";
    EXPECT_EQ(group->GetNoteLineCount(),
              int(std::count_if(c.types.begin(), c.types.end(), [](int t) { return t != kText; })));
  }
}

TEST_F(KLineGroupTest, RemoveLineHandsBackTheLastLineOfTheGroup) {
  std::vector<POSITION> positions;
  auto group = MakeGroup(lines, {{kTreble, kTab}, {1, 1}}, &positions);
  POSITION remaining = nullptr;
  EXPECT_EQ(group->RemoveLine(positions[1], remaining), 1);
  EXPECT_EQ(remaining, positions[0]);
  EXPECT_EQ(SlotBrackets(*group), (Ints{0})) << "the remaining line loses the bracket too";

  // A one-line group keeps its line.
  remaining = nullptr;
  EXPECT_EQ(group->RemoveLine(positions[0], remaining), 1);
  EXPECT_EQ(remaining, positions[0]);
  EXPECT_EQ(group->GetSlotCount(), 1);

  // A line that is not in the group changes nothing.
  auto other = MakeGroup(lines, {{kTreble, kTab, kText}, {1, 1, 0}}, &positions);
  remaining = positions[0];
  EXPECT_EQ(other->RemoveLine(lines.Add(kText), remaining), 3);
  EXPECT_EQ(remaining, nullptr);
  EXPECT_EQ(SlotTypes(*other), (Ints{kTreble, kTab, kText}));
  EXPECT_EQ(SlotBrackets(*other), (Ints{1, 1, 0}));
}

TEST_F(KLineGroupTest, RemoveLineRecomputesTheTripleBracketFlags) {
  std::vector<POSITION> positions;
  auto group = MakeGroup(lines, {{kTreble, kTab, kBass, kTab}, {1, 1, 1, 1}}, &positions);
  EXPECT_EQ(group->TestFlags(2), 0u);
  POSITION remaining = nullptr;
  group->RemoveLine(positions[3], remaining);
  EXPECT_EQ(group->TestFlags(2), 2u);
}

TEST_F(KLineGroupTest, InsertLinePlacesTheLineAndWidensPairsAroundIt) {
  struct Case {
    const char* name;
    GroupRecipe recipe;
    int neighbour;  // slot
    int before;
    int type;
    Ints types;
    Ints partners;
  };
  const std::vector<Case> cases = {
      {"after the upper staff",
       {{kTreble, kBass}, {}, {1, -1}},
       0,
       0,
       kText,
       {kTreble, kText, kBass},
       {2, 0, -2}},
      {"before the lower staff",
       {{kTreble, kBass}, {}, {1, -1}},
       1,
       1,
       kTab,
       {kTreble, kTab, kBass},
       {2, 0, -2}},
      {"before the upper staff",
       {{kTreble, kBass}, {}, {1, -1}},
       0,
       1,
       kText,
       {kText, kTreble, kBass},
       {0, 1, -1}},
      {"after the lower staff",
       {{kTreble, kBass}, {}, {1, -1}},
       1,
       0,
       kText,
       {kTreble, kBass, kText},
       {1, -1, 0}},
      {"the joined-bars mark widens too",
       {{kTreble, kBass}, {}, {101, -1}},
       0,
       0,
       kText,
       {kTreble, kText, kBass},
       {102, 0, -2}},
      {"a later pair moves whole",
       {{kText, kTreble, kBass}, {}, {0, 1, -1}},
       0,
       0,
       kText,
       {kText, kText, kTreble, kBass},
       {0, 0, 1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<POSITION> positions;
    auto group = MakeGroup(lines, c.recipe, &positions);
    const POSITION added = lines.Add(c.type);
    const int count =
        group->InsertLine(positions[c.neighbour], added, lines.Line(added), c.type, 0, c.before, 0);
    EXPECT_EQ(count, int(c.types.size()));
    EXPECT_EQ(SlotTypes(*group), c.types);
    EXPECT_EQ(SlotPartners(*group), c.partners);
    const int slot = group->FindSlot(added);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(group->GetSlotLine(slot), lines.Line(added));
    EXPECT_EQ(slot, c.neighbour + (c.before != 0 ? 0 : 1));
  }
}

TEST_F(KLineGroupTest, InsertLineWithTranslationSharesAFreeBracketNumber) {
  struct Case {
    const char* name;
    GroupRecipe recipe;
    int neighbour;
    int before;
    Ints brackets;  // after inserting a tablature line
    bool refused;   // message 7154
  };
  const std::vector<Case> cases = {
      {"a neighbour without a bracket", {{kTreble, kTreble, kTab}, {1, 0, 1}}, 1, 0, {1, 2, 2, 1}, false},
      {"inserted before it", {{kTreble, kTreble, kTab}, {1, 0, 1}}, 1, 1, {1, 2, 2, 1}, false},
      {"a bracket that only joins staves is dissolved",
       {{kTreble, kTreble, kText}, {1, 1, 0}},
       1,
       0,
       {0, 1, 1, 0},
       false},
      {"a translating bracket refuses the new line", {{kTreble, kTab}, {1, 1}}, 0, 0, {1, 0, 1}, true},
      {"all four numbers taken: no bracket for the new line",
       {{kTreble, kTab, kTreble, kTab, kTreble, kTab, kTreble, kTab, kText}, {1, 1, 2, 2, 3, 3, 4, 4, 0}},
       8,
       0,
       {1, 1, 2, 2, 3, 3, 4, 4, 0, 0},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_ui.ClearRecords();
    std::vector<POSITION> positions;
    auto group = MakeGroup(lines, c.recipe, &positions);
    const POSITION added = lines.Add(kTab);
    group->InsertLine(positions[c.neighbour], added, lines.Line(added), kTab, 0, c.before, 1);
    EXPECT_EQ(SlotBrackets(*group), c.brackets);
    EXPECT_EQ(m_ui.CountOf(KLineGroup::kMsgNoMutualTranslation), c.refused ? 1 : 0);
    EXPECT_EQ(m_ui.Messages().size(), c.refused ? 1u : 0u);
  }
}

TEST_F(KLineGroupTest, InsertedLineLinesUpWithTheGroup) {
  std::vector<POSITION> positions;
  auto group = MakeGroup(lines, {{kText, kTreble, kTab}}, &positions);
  lines.Line(positions[0])->SetIndent(-40);  // read as 40
  lines.Line(positions[1])->SetStaffLength(300);
  lines.Line(positions[1])->ModifyFlags(16, 1);
  lines.Line(positions[2])->SetStaffLength(500);
  group->InsertLine(positions[2], nullptr, nullptr, kText, 0, 0, 0);  // a slot without a line is allowed

  const POSITION staff = lines.Add(kBass);
  lines.Line(staff)->SetIndent(3);
  EXPECT_EQ(group->InsertLine(positions[0], staff, lines.Line(staff), kBass, 11, 0, 0), 5);
  EXPECT_EQ(lines.Line(staff)->GetIndent(), 40);
  EXPECT_EQ(lines.Line(staff)->GetStaffLength(), 300) << "from the first note line";
  EXPECT_EQ(lines.Line(staff)->TestFlags(16), 1);
  EXPECT_EQ(group->GetKeySignature(), 11);
  EXPECT_EQ(group->GetNoteLineCount(), 3);

  const POSITION text = lines.Add(kText);
  lines.Line(text)->ModifyFlags(16, 1);
  group->InsertLine(positions[0], text, lines.Line(text), kText, 2, 1, 0);
  EXPECT_EQ(lines.Line(text)->GetIndent(), 40);
  EXPECT_EQ(lines.Line(text)->GetStaffLength(), 0) << "only note lines take the staff length";
  EXPECT_EQ(lines.Line(text)->TestFlags(16), 1);
  EXPECT_EQ(group->GetKeySignature(), 11);
  EXPECT_EQ(group->GetNoteLineCount(), 3);
  EXPECT_EQ(group->FindSlot(text), 0);
}

TEST_F(KLineGroupTest, FullGroupOrForeignNeighbourRefusesTheLine) {
  std::vector<POSITION> positions;
  auto full = MakeGroup(lines, {std::vector<int>(20, kTab)}, &positions);
  const POSITION added = lines.Add(kTab);
  EXPECT_EQ(full->InsertLine(positions[3], added, lines.Line(added), kTab, 0, 0, 1), 0);
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<UINT>{KLineGroup::kMsgGroupFull}));
  EXPECT_EQ(full->GetSlotCount(), 20);
  EXPECT_EQ(full->FindSlot(added), -1);

  auto group = MakeGroup(lines, {{kTreble, kTab}, {1, 1}});
  EXPECT_EQ(group->InsertLine(added, lines.Add(kText), nullptr, kText, 5, 0, 1), 2);
  EXPECT_EQ(SlotTypes(*group), (Ints{kTreble, kTab}));
  EXPECT_EQ(group->GetKeySignature(), 0);
  EXPECT_EQ(m_ui.Messages().size(), 1u);
}

TEST_F(KLineGroupTest, InsertLineToTripleBracketRaisesItsFlag) {
  std::vector<POSITION> positions;
  auto group = MakeGroup(lines, {{kTreble, kTab, kText}, {0, 0, 0}}, &positions);
  const POSITION tab = lines.Add(kTab);
  group->InsertLine(positions[0], tab, lines.Line(tab), kTab, 0, 0, 1);  // treble and new tab: bracket 1
  EXPECT_EQ(group->TestFlags(2), 0u);
  group->SetSlotBracket(2, 1);  // the old tab joins: three note lines
  EXPECT_EQ(group->TestFlags(2), 2u);
  const POSITION text = lines.Add(kText);
  group->InsertLine(positions[2], text, lines.Line(text), kText, 0, 0, 0);
  EXPECT_EQ(group->TestFlags(2), 2u);
}

}  // namespace
