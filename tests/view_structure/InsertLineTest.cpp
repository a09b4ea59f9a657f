// The Insert menu's line commands through the insert-line worker: each builds
// its kind of line below the caret's line with the settings at the caret, and
// the line joins the caret's group only where it belongs.

#include <string>

#include "StructureTestSupport.h"
#include "lines/KRhythmLine.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace structtest;

struct InsertCase {
  const char* name;
  UINT command;
  int type;
};

void PrintTo(const InsertCase& c, std::ostream* os) { *os << c.name; }

class InsertLineCommand : public StructureFixture, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(InsertLineCommand, PutsAnEmptyLineOfItsKindBelowTheCaretLineAndTakesTheCaret) {
  AddText("title");
  AddText("below");
  Open(0, 2);
  ASSERT_TRUE(ExecuteViewCommand(*view, GetParam().command));
  ASSERT_EQ(doc.GetLineCount(), 3);
  KLineObj* made = DocLine(1);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetType(), GetParam().type);
  EXPECT_EQ(made->GetLength(), 0);
  EXPECT_EQ(made->GetGroupId(), KLineObj::kNoGroup);
  EXPECT_EQ(view->GetCurrentLine(), 1);
  EXPECT_EQ(view->GetCaretColumn(), 0);
  EXPECT_EQ(view->GetCurrentType(), GetParam().type);
  EXPECT_EQ(Entry(1).type, GetParam().type) << "the new line is laid out";
  EXPECT_TRUE(doc.IsModified());
  switch (KLineObj::FamilyOf(GetParam().type)) {
    case KLineObj::kFamilyStaff:
      EXPECT_NE(dynamic_cast<KStaffLine*>(made), nullptr);
      break;
    case KLineObj::kFamilyTab: {
      auto* tab = dynamic_cast<KTabLine*>(made);
      ASSERT_NE(tab, nullptr);
      EXPECT_EQ(std::string(tab->GetTuning().View()),
                GetParam().type == 15 ? std::string(view->m_bassTabTuning.View()) : std::string(kGuitar));
      EXPECT_EQ(tab->TestFlags(KTabLine::kFlagBass), GetParam().type == 15 ? 1 : 0);
      break;
    }
    case KLineObj::kFamilyRhythm:
      EXPECT_NE(dynamic_cast<KRhythmLine*>(made), nullptr);
      break;
    case KLineObj::kFamilyChord:
      EXPECT_NE(dynamic_cast<KChordPicLine*>(made), nullptr);
      break;
    default:
      EXPECT_NE(dynamic_cast<KStrLine*>(made), nullptr);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, InsertLineCommand,
    ::testing::Values(InsertCase{"text", cmd::kInsertTextLine, 5},
                      InsertCase{"treble", cmd::kInsertTreble, 0}, InsertCase{"bass", 41042, 1},
                      InsertCase{"alto", 41043, 9}, InsertCase{"tenor", 41044, 10},
                      InsertCase{"8va treble", 41045, 11}, InsertCase{"8vb treble", 41046, 12},
                      InsertCase{"drums", 41047, 13}, InsertCase{"percussion", 41048, 16},
                      InsertCase{"no clef", 41049, 14}, InsertCase{"tablature", 41051, 2},
                      InsertCase{"bass tablature", 41052, 15}, InsertCase{"rhythm", 41053, 3},
                      InsertCase{"chord names and diagrams", cmd::kInsertChordLine, 4}),
    [](const ::testing::TestParamInfo<InsertCase>& info) { return viewtest::CaseName(info.param.name); });

using InsertLine = StructureFixture;

TEST_F(InsertLine, AtTheVeryStartTheNewStaffHeadsTheScoreInFourFour) {
  AddText("title");
  Open(0, 0);
  view->InsertLineOfType(0, 0);
  EXPECT_EQ(Kinds(), "0 5");
  auto* staff = dynamic_cast<KStaffLine*>(DocLine(0));
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->GetStartBeats(), 4);
  EXPECT_EQ(staff->GetStartBeatTicks(), 480);
  EXPECT_EQ(view->GetCurrentLine(), 0);
}

TEST_F(InsertLine, ANewStaffStartsInTheTimeOfTheStaffAbove) {
  AddText("title");
  auto* above = viewtest::MakeStaff({{0, 18}}, {2});
  Add(above);
  Open(1, 0);
  above->SetTimeSignature(3, 480, 1);
  view->InsertLineOfType(0, 0);
  auto* staff = dynamic_cast<KStaffLine*>(DocLine(2));
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->GetStartBeats(), 3);
}

TEST_F(InsertLine, TheFirstTablatureLineStartsAtTheOpenPosition) {
  AddText("title");
  Add(new KRhythmLine(0, CString()));
  Open(1, 0);
  view->m_fretFromPrevious = 1;
  view->m_handPosition = 9;
  view->InsertLineOfType(2, 0);
  ASSERT_NE(dynamic_cast<KTabLine*>(DocLine(2)), nullptr);
  EXPECT_EQ(view->m_handPosition, 0);
}

TEST_F(InsertLine, ATablatureLineTakesTheFretPositionOfTheTablatureAboveWhenAsked) {
  AddText("title");
  auto* tab = new KTabLine(0, kGuitar, 0);
  tab->GetObjList()->AddTail(new KChord(0, 4, KChord::kFirstFret + 7, viewtest::kTabRhythm));
  Add(tab);
  Open(1, 0);
  view->m_fretFromPrevious = 1;
  view->InsertLineOfType(2, 0);
  EXPECT_EQ(view->m_handPosition, 7);
  view->m_currentLine = 1;
  view->m_fretFromPrevious = 0;
  view->InsertLineOfType(2, 0);
  EXPECT_EQ(view->m_handPosition, 0);
}

TEST_F(InsertLine, AHiddenKindIsShownFirstAndTheWholeScoreIsRecorded) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  doc.settings.showLineType[8] = 0;
  doc.settings.showLineType[3] = 0;
  Open(0, 1);
  view->InsertLineOfType(3, 0);
  EXPECT_EQ(view->m_show[3], 1);
  ASSERT_FALSE(viewtest::UndoSteps().empty());
  EXPECT_EQ(viewtest::UndoSteps().front().kind, 2);
  EXPECT_EQ(Kinds(), "5 3 0");
}

TEST_F(InsertLine, OnTheUpperStaffOfAKeyboardPairTheNewStaffGoesBelowThePair) {
  AddText("title");
  const POSITION upper = Add(new KStaffLine(0, 0, KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper));
  const POSITION lower = Add(new KStaffLine(1, 0, KLineObj::kFlagPairedStaff));
  KLineGroup* group = Group(3, {upper, lower}, false);
  group->SetSlotPartner(0, 1);
  group->SetSlotPartner(1, -1);
  Open(1, 1);
  ui.Answer(7097, IDNO);
  view->InsertLineOfType(0, 0);
  EXPECT_EQ(Kinds(), "5 0g3 1g3 0");
  EXPECT_EQ(view->GetCurrentLine(), 3);
}

TEST_F(InsertLine, BetweenLinesOfAGroupTheLineJoinsWithoutAsking) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(viewtest::MakeTab({}));
  Group(4, {staff, tab}, true);
  Open(1, 0);
  view->InsertLineOfType(3, 0);
  EXPECT_EQ(Kinds(), "5 0g4 3g4 2g4");
  EXPECT_EQ(ui.CountOf(7097), 0);
  EXPECT_EQ(doc.FindLineGroup(4)->GetSlotCount(), 3);
}

struct JoinCase {
  const char* name;
  int answer;
  const char* kinds;
};
void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.name; }

class InsertBelowAGroup : public StructureFixture, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(InsertBelowAGroup, AsksWhetherTheLineJoinsTheGroup) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(viewtest::MakeTab({}));
  Group(4, {staff, tab}, true);
  AddText("after");
  Open(2, 0);
  ui.Answer(7097, GetParam().answer);
  view->InsertLineOfType(4, 0);
  EXPECT_EQ(ui.CountOf(7097), 1);
  EXPECT_EQ(Kinds(), GetParam().kinds);
}

INSTANTIATE_TEST_SUITE_P(Answers, InsertBelowAGroup,
                         ::testing::Values(JoinCase{"yes joins", IDYES, "5 0g4 2g4 4g4 5"},
                                           JoinCase{"no stays independent", IDNO, "5 0g4 2g4 4 5"}),
                         [](const ::testing::TestParamInfo<JoinCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST_F(InsertLine, AFullGroupKeepsTheNewLineOutsideWithoutAMessage) {
  AddText("title");
  std::vector<POSITION> members;
  for (int i = 0; i < 20; ++i) members.push_back(AddText("member"));
  Group(6, members, false);
  Open(20, 0);
  view->InsertLineOfType(5, 0);
  EXPECT_EQ(doc.FindLineGroup(6)->GetSlotCount(), 20);
  EXPECT_EQ(DocLine(21)->GetGroupId(), KLineObj::kNoGroup);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(InsertLine, APairedTablatureTuningGivesTwoLabelledLinesInAGroupOfTheirOwn) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(viewtest::MakeTab({}));
  Group(4, {staff, tab}, true);
  Open(2, 0);
  view->m_options.tabTuningFull = CString("F#B E A D    424752576100!@!E A D G C   *202530354000");
  view->InsertLineOfType(2, 0);
  EXPECT_EQ(ui.CountOf(7097), 0) << "a pair is never offered to a second group";
  const KLineObj* upper = DocLine(3);
  const KLineObj* lower = DocLine(4);
  ASSERT_NE(upper, nullptr);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(std::string(upper->GetLabelName().View()), "Tab-T");
  EXPECT_EQ(std::string(lower->GetLabelName().View()), "Tab-B");
  EXPECT_EQ(upper->GetGroupId(), lower->GetGroupId());
  EXPECT_NE(upper->GetGroupId(), 4);
  EXPECT_NE(upper->GetGroupId(), KLineObj::kNoGroup);
  EXPECT_EQ(lower->GetType(), 15);
  EXPECT_EQ(upper->TestFlags(0x200), 1);
  EXPECT_EQ(lower->TestFlags(0x200), 1);
  EXPECT_EQ(doc.FindLineGroup(4)->GetSlotCount(), 2);
}

TEST_F(InsertLine, KeyboardStaffMakesABracedPairWithASpaceBelow) {
  AddText("title");
  Open(0, 1);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kInsertKeyboardStaff));
  EXPECT_EQ(Kinds(), "5 0g0 1g0 5");
  const KLineObj* upper = DocLine(1);
  const KLineObj* lower = DocLine(2);
  EXPECT_EQ(upper->GetFlagWord() & (KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper),
            KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper);
  EXPECT_EQ(lower->GetFlagWord() & (KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper),
            KLineObj::kFlagPairedStaff);
  EXPECT_EQ(upper->TestFlags(KLineObj::kFlagPairLong), g_prefStaffLines3.keyboardBars != 0 ? 1 : 0);
  EXPECT_EQ(view->GetCurrentLine(), 1) << "the caret goes to the treble staff";
  const KLineGroup* group = doc.FindLineGroup(0);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotPartner(0), 1);
  EXPECT_EQ(group->GetSlotPartner(1), -1);
}

TEST_F(InsertLine, ASecondKeyboardStaffOnTheFirstGoesBelowItAndItsSpace) {
  AddText("title");
  Open(0, 1);
  view->OnInsertKeyboardStaff();
  ASSERT_EQ(view->GetCurrentLine(), 1);
  view->OnInsertKeyboardStaff();
  EXPECT_EQ(Kinds(), "5 0g0 1g0 5 0g1 1g1 5");
}

TEST_F(InsertLine, PageBreakAtTheTopMarksTheNewLine) {
  AddText("first");
  AddText("second");
  Open(0, 0);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kInsertPageBreak));
  ASSERT_EQ(doc.GetLineCount(), 3);
  EXPECT_EQ(DocLine(0)->TestFlags(0x1000), 1);
  EXPECT_EQ(DocLine(1)->TestFlags(0x1000), 0);
  EXPECT_EQ(view->m_pageMarks, 1);
}

}  // namespace
