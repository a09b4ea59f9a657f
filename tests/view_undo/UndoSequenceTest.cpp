// Undo and Redo over whole command sequences: after each command the score
// is stored; Undo must give back, step by step, exactly the stored score from
// before each command, and Redo exactly the one after it.

#include <functional>
#include <string>
#include <vector>

#include "UndoFixture.h"

namespace undotest {
namespace {

using viewtest::MakeStaff;
using viewtest::MakeTab;
using Action = std::function<void(UndoFixture&)>;

constexpr int kGroupId = 1;
constexpr int kSelectWholeLines = 10;

// Scores. Each lays itself out and places the caret on its first note line.

// One staff line and nothing else.
void OneStaff(UndoFixture& f) {
  f.Add(MakeStaff({{0, 12}, {1, 14}}, {2}));
  f.Start(0, 3);
}

// A title, a staff, a tablature line and a closing text line.
void Mixed(UndoFixture& f) {
  f.AddText("Title");
  f.Add(MakeStaff({{0, 12}, {1, 14}}, {2}));
  f.Add(MakeTab({0, 1}));
  f.AddText("end words");
  f.Start(1, 3);
}

// A title, then a staff and its tablature bound in a group with one bracket,
// then a text line.
void Grouped(UndoFixture& f) {
  f.AddText("Title");
  const POSITION staff = f.Add(MakeStaff({{0, 12}, {1, 14}}, {2}));
  const POSITION tab = f.Add(MakeTab({0, 1}));
  f.Group(kGroupId, {staff, tab}, true);
  f.AddText("end");
  f.Start(1, 0);
}

// A title, then a group as a song sheet has it: chord names, a staff and its
// tablature bracketed, and lyrics; the group's layout indents its lines.
void SongSheet(UndoFixture& f) {
  f.AddText("Title");
  const POSITION chords = f.AddChordLine();
  const POSITION staff = f.Add(MakeStaff({{0, 12}, {1, 14}}, {2}));
  const POSITION tab = f.Add(MakeTab({0, 1}));
  const POSITION words = f.AddText("la la");
  KLineGroup* group = f.Group(kGroupId, {chords, staff, tab, words}, false);
  group->SetSlotBracket(1, 1);
  group->SetSlotBracket(2, 1);
  f.Start(2, 0);
}

struct Sequence {
  std::string name;
  std::function<void(UndoFixture&)> build;
  Action prepare;             // after the build, before the first stored score
  std::vector<Action> steps;  // each makes one undo step
};

void PrintTo(const Sequence& s, std::ostream* os) { *os << s.name; }

void NoPreparation(UndoFixture&) {}

// Copies display lines first..last whole and puts the caret on a line.
Action CopyWholeLines(int first, int last, int caretLine) {
  return [=](UndoFixture& f) {
    f.view->UpdateSelection(0, 1, first, last, kSelectWholeLines);
    ASSERT_TRUE(f.Command(cmd::kEditCopy));
    f.view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
    f.CaretAt(caretLine, 0);
  };
}

Action SelectEverything() {
  return [](UndoFixture& f) {
    f.view->UpdateSelection(0, 1, 0, f.view->GetDisplayLineCount() - 1, kSelectWholeLines);
  };
}

std::vector<Sequence> Sequences() {
  return {
      {"typing two notes into a one line score",
       OneStaff,
       NoPreparation,
       {[](UndoFixture& f) { f.Type("q"); }, [](UndoFixture& f) { f.Type("t"); }}},
      {"typing text into a title",
       Mixed,
       [](UndoFixture& f) { f.CaretAt(0, 5); },
       {[](UndoFixture& f) { f.Type("X"); }, [](UndoFixture& f) { f.Type("Y"); }}},
      {"deleting a note", Mixed, [](UndoFixture& f) { f.CaretAt(1, 0, 12); }, {[](UndoFixture& f) {
         f.Press(VK_DELETE);
       }}},
      {"alt right on a grouped staff note",
       Grouped,
       [](UndoFixture& f) { f.CaretAt(1, 0, 12); },
       {[](UndoFixture& f) { f.AltPress(VK_RIGHT); }}},
      {"a note typed into a group", Grouped, [](UndoFixture& f) { f.CaretAt(1, 3); }, {[](UndoFixture& f) {
         f.Type("q");
       }}},
      {"a note typed into a song sheet's group", SongSheet, [](UndoFixture& f) { f.CaretAt(2, 1); },
       {[](UndoFixture& f) { f.Type("q"); }}},
      {"edits of different lines one after another",
       Mixed,
       NoPreparation,
       {[](UndoFixture& f) {
          f.CaretAt(1, 3);
          f.Type("q");
        },
        [](UndoFixture& f) {
          f.CaretAt(3, 2);
          f.Type("Z");
        },
        [](UndoFixture& f) {
          f.CaretAt(1, 0, 12);
          f.Press(VK_DELETE);
        },
        [](UndoFixture& f) {
          f.CaretAt(0, 0);
          f.Type("A");
        }}},
      {"pasting copied columns into a staff",
       Mixed,
       [](UndoFixture& f) {
         f.Select(1, 1, 0, 1);
         ASSERT_TRUE(f.Command(cmd::kEditCopy));
         f.view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
         f.CaretAt(1, 3);
       },
       {[](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kEditPaste)); }}},
      {"pasting copied lines as new lines", Mixed, CopyWholeLines(1, 2, 3), {[](UndoFixture& f) {
         ASSERT_TRUE(f.Command(cmd::kEditPaste));
       }}},
      {"pasting lines above the first line and again below it",
       Mixed,
       CopyWholeLines(2, 3, 0),
       {[](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kEditPaste)); },
        [](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kEditPaste)); }}},
      {"inserting a text line below the staff",
       Mixed,
       [](UndoFixture& f) { f.CaretAt(1, 0); },
       {[](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kInsertTextLine)); }}},
      {"inserting a text line at the head of the score",
       Mixed,
       [](UndoFixture& f) { f.CaretAt(0, 0); },
       {[](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kInsertTextLine)); }}},
      {"inserting a line into a one line score", OneStaff, NoPreparation, {[](UndoFixture& f) {
         ASSERT_TRUE(f.Command(cmd::kInsertTextLine));
       }}},
      {"toggling the symbol size", Mixed, NoPreparation, {[](UndoFixture& f) {
         ASSERT_TRUE(f.Command(cmd::kViewSymbolSize));
       }}},
      {"select everything then delete", Mixed, SelectEverything(), {[](UndoFixture& f) {
         f.Press(VK_DELETE);
       }}},
      {"select everything then cut", Grouped, SelectEverything(), {[](UndoFixture& f) {
         ASSERT_TRUE(f.Command(cmd::kEditCut));
       }}},
      {"cutting the first line",
       Mixed,
       [](UndoFixture& f) { f.view->UpdateSelection(0, 1, 0, 0, kSelectWholeLines); },
       {[](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kEditCut)); }}},
      {"cutting the only line then typing",
       OneStaff,
       SelectEverything(),
       {[](UndoFixture& f) { ASSERT_TRUE(f.Command(cmd::kEditCut)); },
        [](UndoFixture& f) {
          f.CaretAt(0, 0);
          f.Type("a");
        },
        [](UndoFixture& f) { f.Type("b"); }}},
  };
}

class UndoSequence : public UndoFixture, public ::testing::WithParamInterface<Sequence> {};

TEST_P(UndoSequence, UndoGivesEachEarlierScoreAndRedoEachLaterOne) {
  const Sequence& sequence = GetParam();
  sequence.build(*this);
  sequence.prepare(*this);
  std::vector<State> states{Take()};
  for (const Action& step : sequence.steps) {
    step(*this);
    states.push_back(Take());
    ASSERT_NE(states.back().bytes, states[states.size() - 2].bytes)
        << "step " << states.size() - 1 << " changed nothing";
  }
  const int count = static_cast<int>(sequence.steps.size());

  for (int round = 0; round < 2; ++round) {
    for (int i = count; i > 0; --i) {
      ASSERT_TRUE(Command(cmd::kEditUndo)) << "undo of step " << i << ", round " << round;
      ExpectState(states[static_cast<size_t>(i - 1)],
                  "after undo of step " + std::to_string(i) + ", round " + std::to_string(round));
    }
    EXPECT_FALSE(Enabled(cmd::kEditUndo));
    for (int i = 1; i <= count; ++i) {
      ASSERT_TRUE(Command(cmd::kEditRedo)) << "redo of step " << i << ", round " << round;
      ExpectState(states[static_cast<size_t>(i)],
                  "after redo of step " + std::to_string(i) + ", round " + std::to_string(round));
    }
    EXPECT_FALSE(Enabled(cmd::kEditRedo));
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, UndoSequence, ::testing::ValuesIn(Sequences()),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
}  // namespace undotest
