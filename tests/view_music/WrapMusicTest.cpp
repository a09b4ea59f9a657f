// Wrap Music against the view: bars pushed down and pulled up between the
// lines of a part, new lines and groups made, emptied lines removed, the
// messages of the run, and one undo step that gives the score back.

#include <gtest/gtest.h>

#include <numeric>

#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/music/ViewMusic.h"

namespace {

using namespace viewtest;

// Staff length of 250 pixels: 34 for the clef, then room for 11 columns.
constexpr int kShort = 250;

// A staff of `bars` bars of three quarter notes each, every bar closed by a
// bar line: notes at 4k, 4k + 1, 4k + 2 and the bar at 4k + 3.
KStaffLine* BarsStaff(int bars, int staffLength, const char* label = "") {
  auto* staff = new KStaffLine(0, 0, 0);
  for (int b = 0; b < bars; ++b) {
    for (int i = 0; i < 3; ++i) staff->GetObjList()->AddTail(new KChord(4 * b + i, 10 + i, kQuarter, 0));
    staff->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, 0));
  }
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(staffLength);
  staff->SetLabel(label);
  return staff;
}

class WrapMusicTest : public ViewScoreFixture {
 protected:
  void WrapAll() {
    Select(0, view->GetDisplayLineCount() - 1, 0, 32000);
    view->UpdateSelection(0, 32000, 0, view->GetDisplayLineCount() - 1, 10);
    ExecuteViewCommand(*view, cmd::kActionsWrapMusic);
  }
  int CountObjects() const {
    int count = 0;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = doc.GetNextLine(pos);
      if (const KListLine* list = line->AsListLine()) count += list->GetObjCount();
    }
    return count;
  }
  std::vector<std::string> Dumps() const {
    std::vector<std::string> out;
    for (int d = 0; d < view->GetDisplayLineCount(); ++d) out.push_back(Dump(d));
    return out;
  }
};

TEST_F(WrapMusicTest, BarsPastTheEndGoToNewLinesOfTheSamePart) {
  Add(BarsStaff(6, kShort, "Flute"));
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  // The first line keeps the bars that fit, the bar line at the break goes
  // down with the music that follows it.
  EXPECT_EQ(Dump(0), "0:8@10 1:8@11 2:8@12 3:21@1 4:8@10 5:8@11 6:8@12 7:21@1 8:8@10 9:8@11 10:8@12");
  EXPECT_EQ(Dump(1), "0:21@1 1:8@10 2:8@11 3:8@12 4:21@1 5:8@10 6:8@11 7:8@12");
  EXPECT_EQ(Dump(2), "0:21@1 1:8@10 2:8@11 3:8@12 4:21@1");
  for (int d = 1; d < 3; ++d) {
    EXPECT_EQ(Line(d)->GetLabelName(), CString("Flute"));
    EXPECT_EQ(Line(d)->GetStaffLength(), kShort);
  }
  EXPECT_EQ(CountObjects(), 24);
  EXPECT_EQ(UndoSteps().front().kind, 4);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(WrapMusicTest, ALongerStaffPullsTheBarsBackAndTheEmptiedLinesGo) {
  Add(BarsStaff(2, 2000));
  Add(BarsStaff(2, 2000));
  Add(BarsStaff(1, 2000));
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 1);
  EXPECT_EQ(CountObjects(), 20);
  EXPECT_EQ(List(0)->GetObjCount(), 20);
}

TEST_F(WrapMusicTest, LinesThatFitAndCannotTakeAWholeBarStayAsTheyAre) {
  // Room for 10 columns: the first line's 8 leave 2, too few for a bar of 3.
  Add(BarsStaff(2, 225));
  Add(BarsStaff(2, 225));
  Layout(0, 0);
  const std::vector<std::string> before = Dumps();
  WrapAll();
  EXPECT_EQ(Dumps(), before);
}

TEST_F(WrapMusicTest, AMeasureLongerThanTheStaffStaysAloneAndIsReportedOnce) {
  auto* staff = new KStaffLine(0, 0, 0);
  for (int c = 0; c < 20; ++c) staff->GetObjList()->AddTail(new KChord(c, 10, kEighth, 0));
  staff->GetObjList()->AddTail(new KChord(20, 1, kBar, 0));
  for (int c = 21; c < 24; ++c) staff->GetObjList()->AddTail(new KChord(c, 10, kQuarter, 0));
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(kShort);
  Add(staff);
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(List(0)->GetObjCount(), 20);
  EXPECT_EQ(Dump(1), "0:21@1 1:8@10 2:8@10 3:8@10");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{kWrapMeasureTooLongMessage});
}

TEST_F(WrapMusicTest, ALineOfNaturalLengthTakesTheWidestNotationWidth) {
  Add(BarsStaff(6, 0));
  Layout(0, 0);
  view->m_widest = kShort;
  WrapAll();
  EXPECT_EQ(Line(0)->GetStaffLength(), kShort);
  EXPECT_EQ(view->GetDisplayLineCount(), 3);
}

TEST_F(WrapMusicTest, AGroupMovesAsOneAndItsLastGroupGetsAMatchingGroup) {
  const POSITION staff = Add(BarsStaff(6, kShort));
  auto* tab = new KTabLine(0, kGuitar, 0);
  for (int b = 0; b < 6; ++b) {
    for (int i = 0; i < 3; ++i)
      tab->GetObjList()->AddTail(new KChord(4 * b + i, 4, KChord::kFirstFret + 2 + i, kTabRhythm));
    tab->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, KChord::kTabRhythm));
  }
  tab->UpdateTimeSigCache();
  tab->SetStaffLength(kShort);
  const POSITION tabPos = Add(tab);
  Group(1, {staff, tabPos}, true);
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(doc.GetLineGroupCount(), 3);
  ASSERT_EQ(view->GetDisplayLineCount(), 6);
  for (int g = 0; g < 3; ++g) {
    const KListLine* upper = List(2 * g);
    const KListLine* lower = List(2 * g + 1);
    EXPECT_EQ(upper->GetType(), 0);
    EXPECT_EQ(lower->GetType(), 2);
    EXPECT_NE(upper->GetGroupId(), KLineObj::kNoGroup);
    EXPECT_EQ(upper->GetGroupId(), lower->GetGroupId());
    // Column by column the staff and its tablature still hold the same music.
    EXPECT_EQ(upper->GetObjCount(), lower->GetObjCount()) << "group " << g;
  }
  EXPECT_EQ(CountObjects(), 48);
}

TEST_F(WrapMusicTest, UndoGivesBackTheScoreAsItWas) {
  Add(BarsStaff(6, kShort));
  Add(BarsStaff(1, kShort));
  Layout(0, 0);
  const std::vector<std::string> before = Dumps();
  WrapAll();
  ASSERT_NE(Dumps(), before);
  view->OnEditUndo();
  EXPECT_EQ(Dumps(), before);
}

struct HiddenCase {
  const char* name;
  bool grouped;
  int answer;
  bool wrapped;
};

void PrintTo(const HiddenCase& c, std::ostream* out) { *out << c.name; }

class WrapHiddenTest : public WrapMusicTest, public ::testing::WithParamInterface<HiddenCase> {};

TEST_P(WrapHiddenTest, HiddenLinesAskFirst) {
  const HiddenCase& c = GetParam();
  const POSITION staff = Add(BarsStaff(6, kShort));
  const POSITION text = AddText("words");
  if (c.grouped) Group(1, {staff, text}, false);
  view->m_show[8] = 0;
  view->m_show[0] = 1;
  view->m_show[5] = 0;
  view->m_allShown = 0;
  Layout(0, 0);
  ui.Answer(c.grouped ? kGroupsNeedAllLinesMessage : kWrapHiddenLinesMessage, c.answer);
  WrapAll();
  EXPECT_EQ(ui.MessageIds().front(), c.grouped ? kGroupsNeedAllLinesMessage : kWrapHiddenLinesMessage);
  EXPECT_EQ(doc.GetLineCount() > 2, c.wrapped);
}

INSTANTIATE_TEST_SUITE_P(
    Hidden, WrapHiddenTest,
    ::testing::Values(HiddenCase{"without groups No wraps the lines shown", false, IDNO, true},
                      HiddenCase{"without groups Cancel changes nothing", false, IDCANCEL, false},
                      HiddenCase{"with groups No changes nothing", true, IDNO, false}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- The automatic check ---------------------------------------------------------------

TEST_F(WrapMusicTest, AutoWrapOffLeavesLongLinesAlone) {
  Add(BarsStaff(6, kShort));
  Layout(0, 0);
  view->m_autoWrap = 0;
  EXPECT_EQ(AutoWrapCheck(*view, 0, -1), 0);
  EXPECT_EQ(view->GetDisplayLineCount(), 1);
}

TEST_F(WrapMusicTest, AutoWrapStopsAtTheNextPieceAndLeavesLinesAboveAlone) {
  Add(BarsStaff(1, kShort));             // fits: stays
  Add(BarsStaff(6, kShort));             // overflows
  Add(new KStrLine("Second piece", 2));  // a title: it starts the next piece
  view->m_textFonts[2].lfUnderline = 1;
  Add(BarsStaff(6, kShort));  // the next piece: not wrapped
  Layout(1, 0);
  view->m_autoWrap = 1;
  const std::string first = Dump(0);
  EXPECT_EQ(AutoWrapCheck(*view, 1, -1), 1);
  EXPECT_EQ(Dump(0), first);
  EXPECT_EQ(view->GetDisplayLineCount(), 6);  // 1 + 3 + title + the untouched piece
  EXPECT_EQ(List(5)->GetObjCount(), 24);
}

TEST_F(WrapMusicTest, TypingPastTheStaffLengthWrapsWhenAutoWrapIsOn) {
  Add(BarsStaff(3, kShort));
  Layout(0, 11);
  view->m_autoWrap = 1;
  view->OnChar('|', 1, 0);
  view->OnChar('c', 1, 0);
  view->OnChar('q', 1, 0);
  EXPECT_GE(view->GetDisplayLineCount(), 2);
}

}  // namespace
