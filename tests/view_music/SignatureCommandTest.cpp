// Insert/Key Signature and Insert/Time Signature against the view: which
// lines change, what columns are written, and the undo step each takes.

#include <gtest/gtest.h>

#include "dialogs/KDlgKeySig.h"
#include "dialogs/KDlgTimeSig.h"
#include "platform/FakeSymbolLoader.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace viewtest;

class KeySignatureTest : public ViewScoreFixture {
 protected:
  // Plays the dialog: a key by list index, the action, naturals.
  void Answer(int index, int action, bool naturals = false) {
    ui.AnswerDialog(KDlgKeySig::kTemplateId, [=](KModalDialog& d) {
      d.Controls().Select(KDlgKeySig::kIdKeyName, index);
      if (naturals) d.Controls().SetChecked(KDlgKeySig::kIdNaturals, 1);
      d.Controls().SetChecked(action == 0 ? KDlgKeySig::kIdSetKey : KDlgKeySig::kIdInsertKey, 1);
      return IDOK;
    });
  }
  void Run() { ExecuteViewCommand(*view, cmd::kInsertKeySignature); }

  // The dialog's preview draws the clef and the accidentals.
  FakeSymbolLoader symbols;
  ScopedSymbolLoader symbolsInUse{symbols};
};

TEST_F(KeySignatureTest, GOnALineInNoGroupSetsItsOwnAndLayoutKey) {
  Add(MakeStaff({{0, 10}, {1, 12}}));
  Layout(0, 1);
  Answer(1, 0);  // "G   / Em"
  Run();
  EXPECT_EQ(List(0)->GetKey(), 2);
  EXPECT_EQ(List(0)->GetLayoutKey(), 2);
  EXPECT_EQ(view->m_keyAtCaret, 2);
  EXPECT_EQ(UndoSteps().front(), (UndoStep{0, 0, 0}));
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(KeySignatureTest, ASelectionChangesItsNoteLinesInOneStepAndKeepsTextLines) {
  Add(MakeStaff({{0, 10}}));
  AddText("words");
  Add(MakeTab({0}));
  Layout(0, 0);
  Select(0, 2, 0, 3);
  ASSERT_TRUE(view->SelectionRectShown());
  Answer(2, 0);  // D
  Run();
  EXPECT_EQ(List(0)->GetKey(), 4);
  EXPECT_EQ(List(2)->GetKey(), 4);
  ASSERT_EQ(UndoSteps().size(), 2u);  // the step, then the state after it
  EXPECT_EQ(UndoSteps().front().kind, 3);
}

TEST_F(KeySignatureTest, AKeyChangeGoesIntoEveryStaffOfTheGroupOnly) {
  const POSITION staff = Add(MakeStaff({{0, 10}, {8, 12}}));
  const POSITION tab = Add(MakeTab({0, 8}));
  Group(1, {staff, tab}, true);
  Layout(0, 4);
  Answer(8, 1);  // "F   / Dm", code 3, at the caret
  Run();
  EXPECT_EQ(DumpAt(staff), "0:8@10 4:254@1,3@1 9:8@12");
  EXPECT_TRUE(doc.GetLineAt(staff)->TestFlags(0x800));
  EXPECT_EQ(DumpAt(tab), "0:228@4 8:228@4");
  EXPECT_FALSE(doc.GetLineAt(tab)->TestFlags(0x800));
  EXPECT_EQ(UndoSteps().front(), (UndoStep{1, 1, 0}));
}

struct NaturalsCase {
  const char* name;
  int startKey;  // the key at the caret, which the dialog opens on
  int action;
  const char* dump;  // the staff after the command
  std::vector<UINT> messages;
};

void PrintTo(const NaturalsCase& c, std::ostream* out) { *out << c.name; }

class NaturalsTest : public KeySignatureTest, public ::testing::WithParamInterface<NaturalsCase> {};

TEST_P(NaturalsTest, NaturalsCancelAKeyOnlyWhereOneIsInserted) {
  const NaturalsCase& c = GetParam();
  Add(MakeStaff({{0, 10}, {1, 12}}));
  Layout(0, 1);
  view->m_keyAtCaret = c.startKey;
  ui.AnswerDialog(KDlgKeySig::kTemplateId, [&c](KModalDialog& d) {
    d.Controls().SetChecked(KDlgKeySig::kIdNaturals, 1);
    d.Controls().SetChecked(c.action == 0 ? KDlgKeySig::kIdSetKey : KDlgKeySig::kIdInsertKey, 1);
    return IDOK;
  });
  Run();
  EXPECT_EQ(Dump(0), c.dump);
  EXPECT_EQ(ui.MessageIds(), c.messages);
  EXPECT_EQ(List(0)->GetKey(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Naturals, NaturalsTest,
    ::testing::Values(
        NaturalsCase{"naturals of D are inserted as code 20", 4, 1, "0:8@10 1:254@1,20@1 2:8@12", {}},
        NaturalsCase{"naturals of C insert nothing", 0, 1, "0:8@10 1:8@12", {}},
        NaturalsCase{"naturals cannot set a line's key", 4, 0, "0:8@10 1:8@12", {7071}}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- Time signature ------------------------------------------------------------------

struct TimeCase {
  const char* name;
  int choice;
  int beats;
  UINT valueRadio;
  const char* column;  // the entries of the column written at the caret
};

void PrintTo(const TimeCase& c, std::ostream* out) { *out << c.name; }

class TimeSignatureTest : public ViewScoreFixture, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeSignatureTest, TheChosenSignatureIsTheColumnAtTheCaret) {
  const TimeCase& c = GetParam();
  Add(MakeStaff({{0, 10}}));
  Layout(0, 1);
  ui.AnswerDialog(KDlgTimeSig::kTemplateId, [&c](KModalDialog& d) {
    static constexpr UINT kChoice[] = {KDlgTimeSig::kIdCommon, KDlgTimeSig::kIdCut, KDlgTimeSig::kIdNumeric};
    d.Controls().SetText(KDlgTimeSig::kIdBeats, std::to_string(c.beats));
    d.Controls().SetChecked(c.valueRadio, 1);
    d.Controls().SetChecked(kChoice[c.choice], 1);
    return IDOK;
  });
  ExecuteViewCommand(*view, cmd::kInsertTimeSignature);
  EXPECT_EQ(Dump(0), std::string("0:8@10 1:") + c.column);
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, TimeSignatureTest,
    ::testing::Values(TimeCase{"common time", 0, 4, KDlgTimeSig::kIdValue4, "225@1,98@1"},
                      TimeCase{"cut time", 1, 4, KDlgTimeSig::kIdValue4, "225@1,99@1"},
                      TimeCase{"three eight", 2, 3, KDlgTimeSig::kIdValue8, "225@1,102@1,107@1"},
                      TimeCase{"twelve sixteen", 2, 12, KDlgTimeSig::kIdValue16, "225@1,111@1,115@1"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(ViewScoreFixture, TimeSignatureCancelledChangesNothing) {
  Add(MakeStaff({{0, 10}}));
  Layout(0, 1);
  const int numerator = view->m_timeSigNumerator;
  ui.AnswerDialog(KDlgTimeSig::kTemplateId, IDCANCEL);
  ExecuteViewCommand(*view, cmd::kInsertTimeSignature);
  EXPECT_EQ(Dump(0), "0:8@10");
  EXPECT_EQ(view->m_timeSigNumerator, numerator);
  EXPECT_TRUE(UndoSteps().empty());
}

}  // namespace
