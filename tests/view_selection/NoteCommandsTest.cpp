// The note commands over a selection and at the caret: note-head styles,
// note values, ties and joined tails.

#include <gtest/gtest.h>

#include "dialogs/KDlgSwitchNote.h"
#include "model/KExtendedObj.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace viewtest;

constexpr UINT kStyleMuted = cmd::kNoteStyleFirst + 2;
constexpr UINT kF1 = 112;

const KChord* ColumnAt(const KListLine* line, int column) {
  return line != nullptr ? AsChord(line->GetObjAt(column, 0)) : nullptr;
}

// The score, by display line: 0 staff (quarters at 0..3), 1 tablature
// (frets at 0..3), grouped with bracket 1; 2 text; 3 staff (quarter at 0).
class NoteCommandsTest : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    staff = Add(MakeStaff({{0, 12}, {1, 14}, {2, 16}, {3, 12}}));
    tab = Add(MakeTab({0, 1, 2, 3}));
    AddText("words");
    Add(MakeStaff({{0, 12}}));
    Group(6, {staff, tab}, true);
    Layout(0);
  }
  POSITION staff = nullptr;
  POSITION tab = nullptr;
};

TEST_F(NoteCommandsTest, StyleOverASelectionSetsTheColumnStylesInRange) {
  Select(0, 0, 1, 3);
  view->OnOptionsNoteStyle(kStyleMuted);
  EXPECT_EQ(ColumnAt(List(0), 0)->GetNoteStyle(), 0);
  EXPECT_EQ(ColumnAt(List(0), 1)->GetNoteStyle(), 2);
  EXPECT_EQ(ColumnAt(List(0), 2)->GetNoteStyle(), 2);
  EXPECT_EQ(ColumnAt(List(0), 3)->GetNoteStyle(), 0);
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps()[0].kind, 0);
  EXPECT_TRUE(view->HasSelection());
  EXPECT_EQ(view->m_noteStyle, 0);  // the entry style stays
}

TEST_F(NoteCommandsTest, StyleOverSeveralLinesRecordsFromTheFirstLineToTheEnd) {
  Select(1, 0, 0, 2);
  view->OnOptionsNoteStyle(kStyleMuted);
  EXPECT_EQ(ColumnAt(List(0), 1)->GetNoteStyle(), 2);
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps()[0], (UndoStep{4, 0, 0}));
}

TEST_F(NoteCommandsTest, FunctionKeyStyleWithoutSelectionMarksTheNoteAtTheCaretRow) {
  Layout(0, 1);
  view->m_caretRow = 14;
  view->OnOptionsNoteStyle(kF1);
  EXPECT_EQ(ColumnAt(List(0), 1)->GetNoteStyleAt(0), 8);
  EXPECT_EQ(view->m_noteStyle, 0);  // styles past 7 are not entry styles
  EXPECT_FALSE(UndoSteps().empty());
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(NoteCommandsTest, FunctionKeyStyleOverASelectionChangesNothing) {
  Select(0, 0, 0, 4);
  view->OnOptionsNoteStyle(kF1);
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(ColumnAt(List(0), c)->GetNoteStyle(), 0);
    EXPECT_EQ(ColumnAt(List(0), c)->GetNoteStyleAt(0), 0);
  }
}

TEST_F(NoteCommandsTest, StyleWithoutSelectionOnATextLineOnlySetsTheEntryStyle) {
  Layout(2);
  view->OnOptionsNoteStyle(kStyleMuted);
  EXPECT_EQ(view->m_noteStyle, 2);
  EXPECT_EQ(g_viewMirrors.noteStyle, 2);
  EXPECT_EQ(frame.toolboxRefreshes, 1);
  EXPECT_TRUE(UndoSteps().empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(NoteCommandsTest, AlternateSymbolCommandTogglesTheMode) {
  view->OnOptionsNoteStyle(cmd::kInsertAlternateSymbol);
  EXPECT_EQ(view->m_alternateSymbols, 1);
  EXPECT_EQ(g_viewMirrors.alternateSymbols, 1);
  view->OnOptionsNoteStyle(cmd::kInsertAlternateSymbol);
  EXPECT_EQ(view->m_alternateSymbols, 0);
}

TEST_F(NoteCommandsTest, NoteValueOverAStaffSelectionChangesTheSelectedNotes) {
  Layout(3);
  Select(3, 3, 0, 1);
  view->SetSelectedNoteValue(10);
  EXPECT_EQ(Dump(3), "0:10@12");
  EXPECT_FALSE(view->HasSelection());
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps()[0], (UndoStep{0, 3, 0}));
}

TEST_F(NoteCommandsTest, NoteValueOnAGroupedLineRecordsTheGroup) {
  Select(0, 0, 0, 2);
  view->SetSelectedNoteValue(10);
  EXPECT_EQ(Dump(0), "0:10@12 1:10@14 2:8@16 3:8@12");
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps()[0], (UndoStep{1, 6, 0}));
}

TEST_F(NoteCommandsTest, DollarOverAStaffOnlySelectionChangesNothing) {
  Layout(3);
  Select(3, 3, 0, 1);
  view->SetSelectedNoteValue(13);
  EXPECT_EQ(Dump(3), "0:8@12");
}

TEST_F(NoteCommandsTest, MutualTranslationCarriesTheValueToThePartnerTab) {
  view->m_mutualTranslation = 1;
  const int tabBefore = ColumnAt(List(1), 0)->GetRhythmCode();
  const int tabNext = ColumnAt(List(1), 1)->GetRhythmCode();
  Select(0, 0, 0, 1);
  view->SetSelectedNoteValue(10);
  EXPECT_EQ(Dump(0), "0:10@12 1:8@14 2:8@16 3:8@12");
  EXPECT_NE(ColumnAt(List(1), 0)->GetRhythmCode(), tabBefore);
  EXPECT_EQ(ColumnAt(List(1), 1)->GetRhythmCode(), tabNext);
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps()[0].kind, 1);
}

class NoteValueDialogTest : public ViewScoreFixture,
                            public ::testing::WithParamInterface<std::pair<int, const char*>> {};

TEST_P(NoteValueDialogTest, BothVoicesAskHowToChange) {
  auto* line = MakeStaff({{0, 12}, {1, 14}});
  AsChord(line->GetObjAt(1, 0))->SetNoteCode(0, 9);  // the second column's note is down-stemmed
  Add(line);
  Layout(0);
  ui.AnswerDialog(KDlgSwitchNote::kTemplateId, GetParam().first);
  Select(0, 0, 0, 2);
  view->SetSelectedNoteValue(10);
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_EQ(ui.Dialogs()[0].templateId, 5523u);
  EXPECT_EQ(Dump(0), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Answers, NoteValueDialogTest,
                         ::testing::Values(std::pair<int, const char*>{IDCANCEL, "0:8@12 1:9@14"},
                                           std::pair<int, const char*>{KDlgSwitchNote::kChangeBoth,
                                                                       "0:10@12 1:10@14"}),
                         [](const auto& info) {
                           return info.param.first == IDCANCEL
                                      ? std::string("CancelLeavesTheLine")
                                      : std::string("ChangeBothGivesEveryNoteTheValue");
                         });

TEST_F(NoteCommandsTest, TieLetterTiesRepeatedNotesOfTheSelection) {
  Layout(3);
  Add(MakeStaff({{0, 12}, {1, 12}}));
  Layout(4);
  Select(4, 4, 0, 2);
  view->ApplyLetterToSelection('n');
  ASSERT_EQ(Line(4)->GetAttachmentCount(), 1);
  const auto* tie = static_cast<const KExtendedObj*>(Line(4)->GetAttachments()->GetHead());
  EXPECT_EQ(tie->GetPos(), 0);
  EXPECT_FALSE(view->HasSelection());
}

class TailsTest : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    // Eighth notes of the first voice (odd codes).
    Add(MakeStaff({{0, 12}, {1, 14}, {2, 16}, {3, 12}}, {}, 1));
    AddText("words");
    Layout(0);
  }
  int Stem(int column) const { return ColumnAt(List(0), column)->GetVoiceStem(0); }
};

TEST_F(TailsTest, JoinWithoutSelectionTogglesJoiningWhileEntering) {
  view->OnActionsJoinTails();
  EXPECT_EQ(view->m_joinTails, 1);
  view->OnActionsJoinTails();
  EXPECT_EQ(view->m_joinTails, 0);
  EXPECT_TRUE(UndoSteps().empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(TailsTest, JoinThenUnjoinBeamsAndFreesTheSelectedNotes) {
  Select(0, 0, 0, 3);
  view->OnActionsJoinTails();
  EXPECT_FALSE(UndoSteps().empty());
  EXPECT_GT(Stem(0), KChord::kStemPlain);  // opens the group
  EXPECT_LT(Stem(1), 0);                   // inside it
  EXPECT_GT(Stem(2), KChord::kStemPlain);  // closes it
  EXPECT_EQ(Stem(2) % 2, 0);
  EXPECT_LE(Stem(3), KChord::kStemPlain);  // outside the selection
  EXPECT_TRUE(view->HasSelection());

  view->OnActionsUnjoinTails();
  for (int c = 0; c < 3; ++c) EXPECT_LE(Stem(c), KChord::kStemPlain) << c;
  EXPECT_GE(Stem(0), 0);
}

TEST_F(TailsTest, UnjoiningTheMiddleOfAGroupKeepsTheRestBeamed) {
  Select(0, 0, 0, 4);
  view->OnActionsJoinTails();
  Select(0, 0, 2, 4);
  view->OnActionsUnjoinTails();
  EXPECT_GT(Stem(0), KChord::kStemPlain);
  EXPECT_EQ(Stem(0) % 2, 1);
  EXPECT_GT(Stem(1), KChord::kStemPlain);
  EXPECT_EQ(Stem(1) % 2, 0);
  for (int c : {2, 3}) {
    EXPECT_LE(Stem(c), KChord::kStemPlain) << c;
    EXPECT_GE(Stem(c), 0) << c;
  }
}

TEST_F(TailsTest, JoinInReadOnlyModeAsksAndStopsOnNo) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  Select(0, 0, 0, 3);
  view->OnActionsJoinTails();
  EXPECT_EQ(ui.CountOf(7094), 1);
  EXPECT_LE(Stem(0), KChord::kStemPlain);
  EXPECT_TRUE(UndoSteps().empty());
}

}  // namespace
