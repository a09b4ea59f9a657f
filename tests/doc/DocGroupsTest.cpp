// The score's line-group list: ids, matching shapes, deleting groups, the
// starting time signature of a group and the layout of all groups.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"

namespace {

using DocListGroups = DocTest;

KLineGroup* Group(int id, std::vector<int> types) {
  auto* group = new KLineGroup(id, static_cast<int>(types.size()), 0);
  for (int i = 0; i < static_cast<int>(types.size()); ++i) group->SetSlotType(i, types[i]);
  return group;
}

// A group of the lines at the positions, with the lines pointing at it and
// the group bound to them.
KLineGroup* BoundGroupOf(CStavlinDoc& doc, int id, const std::vector<POSITION>& positions) {
  KLineGroup* group = GroupOf(doc, id, positions);
  group->BindLines(doc);
  return group;
}

// A staff line whose time signature changes to beats / noteValue in its
// last column (none when beats is 0).
KStaffLine* StaffEndingIn(int beats, int noteValue) {
  auto* line = new KStaffLine(0, 0, 0);
  line->GetObjList()->AddTail(new KChord(0, 18, 8, 0));
  if (beats != 0) {
    auto* column = new KChord(1);
    column->SetNoteCount(3);
    column->SetNoteCode(0, KChord::kTimeSignature);
    column->SetNoteCode(1, 99 + beats);
    column->SetNoteCode(2, 99 + noteValue);
    line->GetObjList()->AddTail(column);
  }
  return line;
}

TEST_F(DocListGroups, NewIdsFollowTheLargestAndAreNeverNegative) {
  struct Case {
    std::vector<int> ids;
    int expected;
  };
  const Case cases[] = {
      {{}, 0}, {{3, 7}, 8}, {{7, 3}, 8}, {{-5, -2}, 0}, {{INT_MAX, 0, 1, 3}, 2},
  };
  for (const Case& c : cases) {
    CStavlinDoc doc;
    for (int id : c.ids) doc.AddLineGroup(new KLineGroup(id, 0, 0));
    EXPECT_EQ(doc.GetNewLineGroupId(), c.expected) << ::testing::PrintToString(c.ids);
  }
}

TEST_F(DocListGroups, GroupsMatchByTheirKindsSlotBySlot) {
  CStavlinDoc doc;
  doc.AddLineGroup(Group(1, {0, 2, 5}));
  doc.AddLineGroup(Group(2, {0, 2, 5}));
  doc.AddLineGroup(Group(3, {0, 15, 5}));
  doc.AddLineGroup(Group(4, {0, 2}));
  struct Case {
    int a;
    int b;
    BOOL match;
  };
  for (const Case& c : {Case{1, 2, TRUE}, Case{2, 1, TRUE}, Case{1, 3, FALSE}, Case{1, 4, FALSE},
                        Case{1, 9, FALSE}, Case{9, 9, FALSE}}) {
    EXPECT_EQ(doc.LineGroupsMatch(c.a, c.b), c.match) << c.a << " and " << c.b;
  }
  EXPECT_EQ(doc.FindLineGroup(3)->GetSlotType(1), 15);
  EXPECT_EQ(doc.FindLineGroup(5), nullptr);
}

// Groups are found by id however the list changed since the last lookup: a
// group added straight to the list, a group given a new id, a group dropped
// and another added in its place, the first of two groups of one id.
TEST_F(DocListGroups, GroupsAreFoundByIdAfterTheListChanges) {
  CStavlinDoc doc;
  KLineGroup* first = Group(3, {0});
  doc.AddLineGroup(first);
  ASSERT_EQ(doc.FindLineGroup(3), first);
  EXPECT_EQ(doc.FindLineGroup(-1), nullptr);

  KLineGroup* added = Group(7, {0, 2});
  doc.lineGroups.AddTail(added);
  EXPECT_EQ(doc.FindLineGroup(7), added);

  first->SetId(9);
  EXPECT_EQ(doc.FindLineGroup(9), first);
  EXPECT_EQ(doc.FindLineGroup(3), nullptr);

  doc.DeleteLineGroup(9, FALSE);
  KLineGroup* replacement = Group(9, {2});
  doc.AddLineGroup(replacement);
  EXPECT_EQ(doc.FindLineGroup(9), replacement);

  KLineGroup* twin = Group(7, {5});
  doc.AddLineGroup(twin);
  EXPECT_EQ(doc.FindLineGroup(7), added) << "the first group of an id in the list";
}

TEST_F(DocListGroups, DeletedGroupTakesItsLinesOrLeavesThemUngrouped) {
  for (const BOOL deleteLines : {FALSE, TRUE}) {
    SCOPED_TRACE(deleteLines ? "lines deleted" : "lines kept");
    CStavlinDoc doc;
    const POSITION before = doc.AddTailLine(new KDocTestLine(5, 0, "title"));
    const POSITION a = doc.AddTailLine(new KDocTestLine(0, 0, "a"));
    const POSITION b = doc.AddTailLine(new KDocTestLine(2, 0, "b"));
    const POSITION other = doc.AddTailLine(new KDocTestLine(0, 0, "other"));
    BoundGroupOf(doc, 4, {a, b});
    BoundGroupOf(doc, 5, {other});

    doc.DeleteLineGroup(4, deleteLines);
    EXPECT_EQ(doc.FindLineGroup(4), nullptr);
    ASSERT_NE(doc.FindLineGroup(5), nullptr);
    if (deleteLines) {
      EXPECT_EQ(LineSummary(doc), (std::vector<std::string>{"5/0/title", "0/0/other"}));
    } else {
      EXPECT_EQ(doc.GetLineCount(), 4);
      for (POSITION pos : {a, b}) {
        EXPECT_EQ(doc.GetLineAt(pos)->GetGroupId(), -1);
        EXPECT_EQ(doc.GetLineAt(pos)->GetGroup(), nullptr);
      }
    }
    EXPECT_EQ(doc.GetLineAt(other)->GetGroupId(), 5);
    EXPECT_EQ(doc.GetLineAt(before)->GetGroupId(), -1);
    doc.DeleteLineGroup(12, TRUE);
    EXPECT_EQ(doc.GetLineGroupCount(), 1);
  }
}

// The note lines of a group start in the signature of the same slot of the
// next group of the same shape, else in the one the note line before the
// group ends in, else in 4/4.
TEST_F(DocListGroups, GroupStartTimeSignatureComesFromTheNextMatchOrTheLineBefore) {
  struct Case {
    const char* name;
    int beforeBeats;          // the note line before group 1 (0: no such line)
    bool matchingGroupAfter;  // group 3 has group 1's shape and ends in 6/8
    int beats;
    int beatTicks;
  };
  const Case cases[] = {
      {"next group of the same shape", 3, true, 6, 240},
      {"the note line before", 3, false, 3, 480},
      {"nothing known", 0, false, 4, 480},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStavlinDoc doc;
    if (c.beforeBeats != 0) doc.AddTailLine(StaffEndingIn(c.beforeBeats, 4));
    doc.AddTailLine(new KDocTestLine(5, 0, "between"));
    auto* first = StaffEndingIn(0, 0);
    const POSITION g1a = doc.AddTailLine(first);
    const POSITION g1b = doc.AddTailLine(new KDocTestLine(5, 0, "lyrics"));
    const POSITION g2 = doc.AddTailLine(StaffEndingIn(0, 0));
    const POSITION g3a = doc.AddTailLine(StaffEndingIn(6, 8));
    const POSITION g3b = doc.AddTailLine(
        c.matchingGroupAfter ? static_cast<KLineObj*>(new KDocTestLine(5, 0, "x")) : StaffEndingIn(0, 0));
    BoundGroupOf(doc, 1, {g1a, g1b});
    BoundGroupOf(doc, 2, {g2});
    BoundGroupOf(doc, 3, {g3a, g3b});
    doc.PropagateTimeSignatures();
    first->SetTimeSignature(2, 960, 1);

    EXPECT_TRUE(doc.SetGroupStartTimeSignature(1));
    EXPECT_EQ(first->GetStartBeats(), c.beats);
    EXPECT_EQ(first->GetStartBeatTicks(), c.beatTicks);
  }
  CStavlinDoc empty;
  EXPECT_FALSE(empty.SetGroupStartTimeSignature(1));
}

TEST_F(DocListGroups, LayoutReachesEveryGroup) {
  CStavlinDoc doc;
  const POSITION a = doc.AddTailLine(new KDocTestLine(5, 0, "a"));
  const POSITION b = doc.AddTailLine(new KDocTestLine(5, 0, "b"));
  KLineGroup* first = BoundGroupOf(doc, 0, {a});
  KLineGroup* second = BoundGroupOf(doc, 1, {b});
  const DisplayLine shown[] = {{a, 0, 5, 10, 40, {0, 0}}, {b, 0, 5, 50, 90, {0, 0}}};
  doc.LayoutLineGroups(shown, 0, 0);
  EXPECT_EQ(first->GetVerticalExtent().first, 10);
  EXPECT_EQ(second->GetVerticalExtent().first, 50);
}

}  // namespace
