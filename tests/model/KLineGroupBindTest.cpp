// Line groups: binding lines, grand-staff pairs, joined bracketed lines, key
// signatures and indents.

#include <string>

#include "KLineGroupTestSupport.h"
#include "common/SharedGdiObjects.h"
#include "platform/RecordingDC.h"

namespace {

using Ints = std::vector<int>;

class KLineGroupBind : public LineTest {
 protected:
  KLineGroupBind() { ResetLineGroupServices(); }
  ~KLineGroupBind() override { ResetLineGroupServices(); }

  // A group over new lines, not yet bound.
  std::unique_ptr<KLineGroup> Unbound(const Ints& types, const std::vector<DWORD>& flags,
                                      std::vector<POSITION>& positions, const Ints& brackets = {}) {
    positions.clear();
    for (std::size_t i = 0; i < types.size(); ++i) positions.push_back(lines.Add(types[i], 0, flags[i]));
    auto group = std::make_unique<KLineGroup>(7, positions, types, 0);
    for (std::size_t i = 0; i < brackets.size(); ++i) group->SetSlotBracket(int(i), brackets[i]);
    return group;
  }

  LineList lines;
};

TEST_F(KLineGroupBind, BindLinesPairsGrandStaves) {
  constexpr DWORD U = kUpperStaff;
  constexpr DWORD L = kLowerStaff;
  struct Case {
    const char* name;
    Ints types;
    std::vector<DWORD> flags;
    int version;
    Ints partners;
    Ints linked;  // slot of the staff linked to each line; -1 none
    Ints pairFlag;
  };
  const std::vector<Case> cases = {
      {"treble over bass", {0, 1}, {U, L}, 3940, {1, -1}, {1, 0}, {1, 1}},
      {"a text line between", {0, 5, 1}, {U, 0, L}, 3940, {2, 0, -2}, {2, -1, 0}, {1, 0, 1}},
      {"an alto staff is skipped",
       {0, 9, 2, 1},
       {U, 0, 0, L},
       3940,
       {3, 0, 0, -3},
       {3, -1, -1, 0},
       {1, 0, 0, 1}},
      {"two pairs", {0, 1, 0, 1}, {U, L, U, L}, 3940, {1, -1, 1, -1}, {1, 0, 3, 2}, {1, 1, 1, 1}},
      {"a lower staff without flag 4 unpairs the upper", {0, 1}, {U, 0}, 3940, {0, 0}, {-1, -1}, {0, 0}},
      {"files before 3706 give the lower staff flag 4", {0, 1}, {U, 0}, 3705, {1, -1}, {1, 0}, {1, 1}},
      {"an upper staff without a staff below is unpaired",
       {1, 5, 0},
       {0, 0, U},
       3940,
       {0, 0, 0},
       {-1, -1, -1},
       {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_fileVersion = c.version;
    std::vector<POSITION> positions;
    auto group = Unbound(c.types, c.flags, positions);
    group->BindLines(lines);
    EXPECT_EQ(SlotPartners(*group), c.partners);
    Ints linked;
    Ints pairFlag;
    int notes = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
      KLineObj* line = lines.Line(positions[i]);
      EXPECT_EQ(group->GetSlotLine(int(i)), line);
      EXPECT_EQ(line->GetGroup(), group.get());
      pairFlag.push_back(line->TestFlags(KLineObj::kFlagPairedStaff));
      if (c.types[i] != kText) ++notes;
      const GroupLine* staff = lines.Group(positions[i]);
      int slot = -1;
      for (std::size_t j = 0; staff != nullptr && j < positions.size(); ++j)
        if (staff->Partner() != nullptr && staff->Partner() == lines.Line(positions[j])) slot = int(j);
      linked.push_back(slot);
    }
    EXPECT_EQ(linked, c.linked);
    EXPECT_EQ(pairFlag, c.pairFlag);
    EXPECT_EQ(group->GetNoteLineCount(), notes);
  }
}

TEST_F(KLineGroupBind, BindLinesStopsAtAStaffSlotWithoutALine) {
  std::vector<POSITION> positions;
  auto group = Unbound({kText, kTreble, kTab}, {0, 0, 0}, positions);
  group->SetSlotLineRef(1, nullptr);
  group->BindLines(lines);
  EXPECT_EQ(group->GetSlotLine(0), lines.Line(positions[0]));
  EXPECT_EQ(group->GetSlotLine(2), nullptr);
  EXPECT_EQ(lines.Line(positions[2])->GetGroup(), nullptr);

  // Other slots without a line are left unbound and the binding goes on.
  auto other = Unbound({kText, kTab, kTreble}, {0, 0, 0}, positions);
  other->SetSlotLineRef(0, nullptr);
  other->BindLines(lines);
  EXPECT_EQ(other->GetSlotLine(0), nullptr);
  EXPECT_EQ(other->GetSlotLine(2), lines.Line(positions[2]));
  EXPECT_EQ(other->GetNoteLineCount(), 2);
}

TEST_F(KLineGroupBind, JoinedBracketsMarkTheFirstLineOfEachBracketedPair) {
  struct Case {
    const char* name;
    Ints types;
    Ints brackets;
    std::vector<DWORD> flags;
    Ints marked;  // flag 0x100000 per line
  };
  const std::vector<Case> cases = {
      {"staff over tablature", {0, 2}, {1, 1}, {0, 0}, {1, 0}},
      {"a text line between", {0, 5, 2}, {1, 0, 1}, {0, 0, 0}, {1, 0, 0}},
      {"two brackets", {0, 2, 1, 15}, {1, 1, 2, 2}, {0, 0, 0, 0}, {1, 0, 1, 0}},
      {"a grand staff and tablature: the walk goes on after the pair",
       {0, 1, 2},
       {1, 1, 1},
       {0, 0, 0},
       {1, 0, 0}},
      {"staves that only join", {0, 0, 2}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}},
      {"the upper staff of a grand staff is left alone", {0, 1}, {1, 1}, {kUpperStaff, kLowerStaff}, {0, 0}},
      {"a rhythm line is not joined", {3, 2}, {1, 1}, {0, 0}, {0, 0}},
  };
  for (int join : {1, 0}) {
    g_joinBracketedLines = join;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (join ? "" : " (preference off)"));
      std::vector<POSITION> positions;
      auto group = Unbound(c.types, c.flags, positions, c.brackets);
      group->BindLines(lines);
      Ints marked;
      for (POSITION p : positions) marked.push_back(lines.Line(p)->TestFlags(KLineObj::kFlagPairLong));
      EXPECT_EQ(marked, join ? c.marked : Ints(c.types.size(), 0));
    }
  }
}

TEST_F(KLineGroupBind, NoteLinesTakeTheLargestKeyAndOtherLinesAreIndentedPastIt) {
  std::vector<POSITION> positions;
  auto group = MakeGroup(lines, {{kTreble, kTab, kText, kRhythm}, {}, {}, {}, {3, 7, 0, 0}}, &positions);
  for (POSITION p : positions) lines.Line(p)->SetGroup(7, group.get());
  group->EqualizeKeySignatures(lines);
  EXPECT_EQ(group->GetKeySignature(), 7);
  EXPECT_EQ(group->GetLeadInSteps(), 7);
  for (int i : {0, 1}) {
    const KListLine* line = lines.Line(positions[i])->AsListLine();
    EXPECT_EQ(line->GetLayoutKey(), 7);
    EXPECT_EQ(line->GetKey(), i == 0 ? 3 : 7) << "each line keeps its own key";
  }
  EXPECT_EQ(lines.Line(positions[3])->AsListLine()->GetLayoutKey(), 0) << "the rhythm line is no note line";

  group->IndentOtherLines();
  EXPECT_EQ(lines.Line(positions[2])->GetIndent(), 29 + 5 * (7 / 2 + 1));
  EXPECT_EQ(lines.Line(positions[3])->GetIndent(), 29 + 5 * (7 / 2 + 1));
  EXPECT_EQ(lines.Line(positions[0])->GetIndent(), 0);

  auto plain = MakeGroup(lines, {{kTreble, kText}}, &positions);
  plain->EqualizeKeySignatures(lines);
  plain->IndentOtherLines();
  EXPECT_EQ(lines.Line(positions[1])->GetIndent(), 29);
}

class KLineGroupIndent : public KLineGroupBind {
 protected:
  KLineGroupIndent() {
    LOGFONT font{};
    font.lfHeight = 16;
    font.lfWidth = 7;  // every character 7 pixels wide
    g_LabelFont.CreateFontIndirect(&font);
  }
  ~KLineGroupIndent() override { g_LabelFont.DeleteObject(); }

  RecordingDC dc;
};

TEST_F(KLineGroupIndent, LabelsSetTheIndentAndNoteLinesGetACommonLength) {
  std::vector<POSITION> positions;
  auto group = MakeGroup(lines, {{kTreble, kTab, kText}, {}, {}, {0, 0, 0}, {0, 4, 0}}, &positions);
  KLineObj* staff = lines.Line(positions[0]);
  KLineObj* tab = lines.Line(positions[1]);
  KLineObj* text = lines.Line(positions[2]);
  staff->SetLabel("Violin");
  tab->SetLabel("Gtr!@!data");
  text->SetLabel("Words");
  text->SetIndent(5);
  Fill(*staff->AsListLine(), {Note(0), Note(1), Note(2)});
  CFont* before = dc.GetCurrentFont();

  group->ComputeIndent(&dc, 100, 0, 1);
  EXPECT_EQ(group->GetIndent(), 0) << "no line has its own label";
  EXPECT_EQ(staff->GetStaffLength(), 0);
  EXPECT_EQ(text->GetIndent(), 5);

  text->ModifyFlags(16, 1);
  group->ComputeIndent(&dc, 100, 0, 1);
  const int label = 6 * 7 + 6;  // "Violin" is the widest label name
  EXPECT_EQ(group->GetIndent(), label);
  for (KLineObj* line : {staff, tab, text}) EXPECT_EQ(line->TestFlags(16), 1);
  EXPECT_EQ(staff->GetIndent(), label);
  EXPECT_EQ(tab->GetIndent(), label);
  EXPECT_EQ(text->GetIndent(), 5 + label);
  // Staff: 3 columns + clef area + end room = 108; tablature: key 4 adds 15 to
  // an empty line's 54, but its minimum is the staff's 108.
  EXPECT_EQ(staff->GetStaffLength(), 108 + label);
  EXPECT_EQ(tab->GetStaffLength(), 108 + label);
  EXPECT_EQ(text->GetStaffLength(), 0);
  EXPECT_EQ(dc.GetCurrentFont(), before) << "the caller's font is selected again";
}

TEST_F(KLineGroupIndent, WithoutLabelsTheWidestNoteIndentIsTheGroupIndent) {
  struct Case {
    const char* name;
    int sizeIndex;
    int fixedLength;
    int minWidth;
    int staffLength;  // expected for both note lines; 0: left alone
  };
  const std::vector<Case> cases = {
      {"a fixed staff length at size 0", 0, 200, 0, 200 + 30},
      {"at size 1 it is scaled by 22 / 18", 1, 200, 0, 244 + 30},
      {"a group narrower than the minimum keeps its lengths", 0, 0, 500, 0},
      {"natural lengths wider than the minimum", 0, 0, 10, 18 * 2 + 34 + 20 + 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<POSITION> positions;
    auto group = MakeGroup(lines, {{kTreble, kTab, kText}}, &positions);
    KLineObj* staff = lines.Line(positions[0]);
    KLineObj* tab = lines.Line(positions[1]);
    KLineObj* text = lines.Line(positions[2]);
    staff->SetIndent(12);
    staff->SetStaffLength(c.fixedLength);
    Fill(*staff->AsListLine(), {Note(0), Note(1)});
    tab->SetIndent(30);
    Fill(*tab->AsListLine(), {Note(0)});
    text->SetIndent(4);

    group->ComputeIndent(&dc, c.minWidth, c.sizeIndex, 0);
    EXPECT_EQ(group->GetIndent(), 30);
    EXPECT_EQ(staff->GetIndent(), 30);
    EXPECT_EQ(tab->GetIndent(), 30);
    EXPECT_EQ(text->GetIndent(), 34);
    EXPECT_EQ(staff->GetStaffLength(), c.staffLength != 0 ? c.staffLength : c.fixedLength);
    EXPECT_EQ(tab->GetStaffLength(), c.staffLength);
  }
}

}  // namespace
