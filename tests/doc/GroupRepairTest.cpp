// The check and repair of line groups after a score was read: complete groups
// are bound, broken ones dissolved with the messages that say so, loose lines
// taken in, and hostile ids never leave a line or a group pointing at
// something that does not point back.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "DocTestSupport.h"
#include "common/AppServices.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "model/KLineGroup.h"

namespace {

using GroupRepair = DocTest;

constexpr UINT kDamaged = 8229;
constexpr UINT kOneConfused = 8240;
constexpr UINT kSeveralConfused = 8241;
constexpr UINT kUngroupQuestion = 7083;
constexpr UINT kRepairDone = 7093;

struct LineSpec {
  int type;
  int group;
};
struct GroupSpec {
  int id;
  std::vector<int> types;
};

void Fill(CStavlinDoc& doc, const std::vector<LineSpec>& lines, const std::vector<GroupSpec>& groups) {
  for (const LineSpec& l : lines)
    doc.AddTailLine(new KDocTestLine(static_cast<BYTE>(l.type), 0, "", 0, l.group));
  for (const GroupSpec& g : groups) {
    auto* group = new KLineGroup(g.id, static_cast<int>(g.types.size()), 0);
    for (int i = 0; i < static_cast<int>(g.types.size()); ++i) group->SetSlotType(i, g.types[i]);
    doc.AddLineGroup(group);
  }
}

TEST_F(GroupRepair, GroupsAreFilledFromTheirLinesOrDissolved) {
  struct Case {
    const char* name;
    std::vector<LineSpec> lines;
    std::vector<GroupSpec> groups;
    std::string groupsAfter;
    std::vector<UINT> messages;
    const char* lineNumber = nullptr;  // named by the confusion message
    int damagedFlag = 0;
    int regroupedText = 0;
  };
  const Case cases[] = {
      {"complete groups",
       {{0, 3}, {2, 3}, {5, -1}, {0, 5}, {1, 5}},
       {{3, {0, 2}}, {5, {0, 1}}},
       "3:0,1 5:3,4",
       {}},
      {"a group that lacks its last line", {{0, 3}, {2, 3}, {5, -1}}, {{3, {0, 2, 5}}}, "", {}},
      {"another group starts before the group is complete",
       {{5, -1}, {0, 3}, {0, 5}, {2, 3}},
       {{3, {0, 2}}, {5, {0}}},
       "5:2",
       {kOneConfused},
       "line 3"},
      {"two groups end too soon",
       {{0, 1}, {0, 2}, {0, 3}, {0, 4}},
       {{1, {0, 0}}, {2, {0}}, {3, {0, 0}}, {4, {0}}},
       "2:1 4:3",
       {kSeveralConfused},
       "line 2"},
      {"bass tablature in a treble tablature slot", {{0, 3}, {15, 3}}, {{3, {0, 2}}}, "3:0,1", {}},
      {"a loose line between the lines of a group",
       {{0, 3}, {5, -1}, {2, 3}, {5, -1}},
       {{3, {0, 2}}},
       "3:0,1,2",
       {}},
      {"text lines in slots after the first",
       {{0, 3}, {5, 3}, {5, 3}},
       {{3, {0, 5, 5}}},
       "3:0,1,2",
       {},
       nullptr,
       0,
       2},
      {"a group id repeated", {{0, 3}, {2, 3}}, {{3, {0, 2}}, {3, {0}}}, "3:0,1", {kDamaged}},
      {"a group the reader found damaged",
       {{0, 3}, {2, 3}, {0, 7}},
       {{3, {0, 2}}, {-800, {0}}},
       "3:0,1",
       {kDamaged},
       nullptr,
       1},
      {"a damaged id left alone when no damage was reported", {{0, -800}}, {{-800, {0}}}, "-800:0", {}},
      {"an empty group", {{0, -1}}, {{4, {}}}, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.ClearRecords();
    g_lineGroupRepair = c.damagedFlag;
    CStavlinDoc doc;
    Fill(doc, c.lines, c.groups);
    EXPECT_EQ(doc.CheckLineGroups(), 1);
    EXPECT_EQ(DescribeGroups(doc), c.groupsAfter);
    EXPECT_EQ(ui_.MessageIds(), c.messages);
    if (c.lineNumber) {
      ASSERT_FALSE(ui_.Messages().empty());
      EXPECT_NE(ui_.Messages()[0].text.find(c.lineNumber), std::string::npos) << ui_.Messages()[0].text;
    }
    EXPECT_EQ(GroupViolations(doc), "");
    EXPECT_EQ(doc.GetLineCount(), static_cast<int>(c.lines.size()));
    EXPECT_EQ(doc.GetRegroupedTextLineCount(), c.regroupedText);
    EXPECT_EQ(g_lineGroupRepair, 0);
  }
}

TEST_F(GroupRepair, BassTablatureSlotAndLooseLineDetails) {
  CStavlinDoc doc;
  Fill(doc, {{0, 3}, {5, -1}, {15, 3}}, {{3, {0, 2}}});
  doc.CheckLineGroups();
  const KLineGroup* group = doc.FindLineGroup(3);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotType(1), 5);
  EXPECT_EQ(group->GetSlotBracket(1, 1), 0);
  EXPECT_EQ(group->GetSlotType(2), 15);
}

// A confused grouping asks whether to ungroup the whole score: Yes ungroups
// every line and says how to go on; No keeps what could be checked.
TEST_F(GroupRepair, ConfusedGroupingOffersToUngroupEverything) {
  struct Case {
    const char* name;
    std::vector<LineSpec> lines;
    std::vector<GroupSpec> groups;
    std::string keptOnNo;
  };
  const Case cases[] = {
      {"a line names a group that is not there", {{0, 3}, {2, 3}, {0, 9}}, {{3, {0, 2}}}, "3:0,1"},
      {"a group is met a second time", {{0, 3}, {0, 5}, {0, 3}}, {{3, {0}}, {5, {0}}}, "3:0 5:1"},
      {"a line of the wrong kind", {{0, 4}, {0, 3}, {1, 3}}, {{4, {0}}, {3, {0, 2}}}, "4:0"},
      {"a first line of the wrong kind", {{2, 3}}, {{3, {0}}}, ""},
      {"more lines than slots", {{0, 3}, {0, 3}}, {{3, {0}}}, "3:0"},
  };
  for (const Case& c : cases) {
    for (const int answer : {IDNO, IDYES}) {
      SCOPED_TRACE(std::string(c.name) + (answer == IDYES ? ", Yes" : ", No"));
      ui_.ClearRecords();
      ui_.AnswerNext(kUngroupQuestion, {answer});
      CStavlinDoc doc;
      Fill(doc, c.lines, c.groups);
      EXPECT_EQ(doc.CheckLineGroups(), 1);
      if (answer == IDYES) {
        EXPECT_EQ(ui_.MessageIds(), (std::vector<UINT>{kUngroupQuestion, kRepairDone}));
        EXPECT_EQ(DescribeGroups(doc), "");
      } else {
        EXPECT_EQ(ui_.MessageIds(), std::vector<UINT>{kUngroupQuestion});
        EXPECT_EQ(DescribeGroups(doc), c.keptOnNo);
      }
      EXPECT_EQ(GroupViolations(doc), "");
      EXPECT_EQ(doc.GetLineCount(), static_cast<int>(c.lines.size()));
    }
  }
}

TEST_F(GroupRepair, UndoLineGroupsRequestAlwaysAsks) {
  for (const int answer : {IDYES, IDNO}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    ui_.ClearRecords();
    ui_.AnswerNext(kUngroupQuestion, {answer});
    g_undoLineGroupsRequested = 1;
    CStavlinDoc doc;
    Fill(doc, {{0, 3}, {2, 3}}, {{3, {0, 2}}});
    doc.CheckLineGroups();
    EXPECT_EQ(ui_.MessageIds(), answer == IDYES ? (std::vector<UINT>{kUngroupQuestion, kRepairDone})
                                                : std::vector<UINT>{kUngroupQuestion});
    EXPECT_EQ(DescribeGroups(doc), answer == IDYES ? "" : "3:0,1");
    EXPECT_EQ(GroupViolations(doc), "");
  }
}

// More damaged groups than any fixed list would hold: every one goes, and
// its lines stay, ungrouped.
TEST_F(GroupRepair, ManyDamagedGroupsAreAllDissolved) {
  CStavlinDoc doc;
  std::vector<LineSpec> lines;
  std::vector<GroupSpec> groups;
  for (int id = 0; id < 150; ++id) {
    lines.push_back({0, id});
    groups.push_back({KLineGroup::BadGroupId(id), {0}});
  }
  lines.push_back({0, 500});
  groups.push_back({500, {0}});
  Fill(doc, lines, groups);
  g_lineGroupRepair = 1;
  doc.CheckLineGroups();
  EXPECT_EQ(ui_.MessageIds(), std::vector<UINT>{kDamaged});
  EXPECT_EQ(DescribeGroups(doc), "500:150");
  EXPECT_EQ(GroupViolations(doc), "");
  EXPECT_EQ(doc.GetLineCount(), 151);
}

// Random ids, kinds and slot counts: whatever the check finds, it never
// crashes, keeps every line and leaves nothing pointing where it should not.
TEST_F(GroupRepair, HostileGroupingsEndConsistent) {
  std::mt19937 random(2024);
  const int kinds[] = {0, 1, 2, 5, 15, 99, 3};
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    ui_.ClearRecords();
    ui_.AnswerNext(kUngroupQuestion, {random() % 2 ? IDYES : IDNO});
    g_lineGroupRepair = static_cast<int>(random() % 4 == 0);
    std::vector<LineSpec> lines(random() % 25);
    for (LineSpec& l : lines) l = {kinds[random() % 7], static_cast<int>(random() % 8) - 2};
    std::vector<GroupSpec> groups(random() % 6);
    for (GroupSpec& g : groups) {
      g.id = random() % 5 == 0 ? KLineGroup::BadGroupId(static_cast<int>(random() % 6))
                               : static_cast<int>(random() % 8) - 2;
      g.types.resize(random() % 22);
      for (int& t : g.types) t = kinds[random() % 7];
    }
    CStavlinDoc doc;
    Fill(doc, lines, groups);
    doc.CheckLineGroups();
    ASSERT_EQ(GroupViolations(doc), "") << DescribeGroups(doc);
    ASSERT_EQ(doc.GetLineCount(), static_cast<int>(lines.size()));
    // A second check finds nothing more to repair.
    const std::string first = DescribeGroups(doc);
    ui_.ClearRecords();
    g_lineGroupRepair = 0;
    g_undoLineGroupsRequested = 0;
    doc.CheckLineGroups();
    EXPECT_EQ(DescribeGroups(doc), first);
    EXPECT_EQ(ui_.MessageIds(), std::vector<UINT>{});
  }
}

}  // namespace
