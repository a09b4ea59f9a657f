// The undo ring as the user meets it: how many steps it keeps for an undo
// level preference, Undo and Redo across a ring that has wrapped, a new step
// after Undo, the per-score switch and the read-only question.

#include <string>
#include <vector>

#include "UndoFixture.h"

namespace undotest {
namespace {

using viewtest::MakeStaff;

class UndoRing : public UndoFixture {
 protected:
  // A one-staff score with `notes` notes typed one by one; the stored score
  // before the first and after each note.
  std::vector<Bytes> TypeNotes(int notes) {
    Add(MakeStaff({{0, 12}}, {}));
    Start(0, 1);
    std::vector<Bytes> states{Store()};
    for (int i = 0; i < notes; ++i) {
      Type(i % 2 == 0 ? "q" : "t");
      states.push_back(Store());
    }
    return states;
  }

  // Undo until the command is disabled; the number of undos that ran.
  int UndoAll() {
    int undone = 0;
    while (Command(cmd::kEditUndo)) {
      if (++undone > 200) break;
    }
    return undone;
  }
};

TEST_F(UndoRing, TwentyRecordsAfterTwentyFiveStepsUndoNineteenAndTheLastBeeps) {
  RemakeView(20);
  const std::vector<Bytes> states = TypeNotes(25);
  for (int i = 1; i <= 19; ++i) {
    const int beepsBefore = BeepCount();
    ASSERT_TRUE(Command(cmd::kEditUndo)) << "undo " << i;
    EXPECT_EQ(Store(), states[static_cast<size_t>(25 - i)]) << "undo " << i;
    EXPECT_EQ(BeepCount() - beepsBefore, i == 19 ? 1 : 0) << "undo " << i;
  }
  EXPECT_FALSE(Enabled(cmd::kEditUndo));
  EXPECT_EQ(view->m_undoCurrent, 0);
}

TEST_F(UndoRing, RedoAfterUndoReachedTheOldestStepOfAWrappedRingGoesForwardInOrder) {
  RemakeView(5);
  const std::vector<Bytes> states = TypeNotes(8);
  ASSERT_EQ(UndoAll(), 4);
  EXPECT_EQ(Store(), states[4]);
  for (int i = 5; i <= 8; ++i) {
    ASSERT_TRUE(Command(cmd::kEditRedo)) << "redo to state " << i;
    EXPECT_EQ(Store(), states[static_cast<size_t>(i)]) << "redo to state " << i;
  }
  EXPECT_FALSE(Enabled(cmd::kEditRedo));
}

TEST_F(UndoRing, ANewStepAfterUndoReachedTheOldestDropsRedoAndUndoesToThatState) {
  RemakeView(5);
  const std::vector<Bytes> states = TypeNotes(8);
  ASSERT_EQ(UndoAll(), 4);
  ASSERT_TRUE(Enabled(cmd::kEditRedo));
  Type("h");
  EXPECT_FALSE(Enabled(cmd::kEditRedo));
  const int beepsBefore = BeepCount();
  view->OnEditRedo();
  EXPECT_EQ(BeepCount() - beepsBefore, 1);
  ASSERT_TRUE(Command(cmd::kEditUndo));
  EXPECT_EQ(Store(), states[4]);
  EXPECT_FALSE(Enabled(cmd::kEditUndo));
}

TEST_F(UndoRing, ANewStepAfterSomeUndosDropsTheStepsThatFollowed) {
  const std::vector<Bytes> states = TypeNotes(4);
  ASSERT_TRUE(Command(cmd::kEditUndo));
  ASSERT_TRUE(Command(cmd::kEditUndo));
  Type("h");
  const Bytes branched = Store();
  EXPECT_FALSE(Enabled(cmd::kEditRedo));
  ASSERT_TRUE(Command(cmd::kEditUndo));
  EXPECT_EQ(Store(), states[2]);
  ASSERT_TRUE(Command(cmd::kEditRedo));
  EXPECT_EQ(Store(), branched);
}

struct LevelCase {
  int levels;
  int undoable;
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.levels << " levels"; }

std::string LevelName(const LevelCase& c) {
  return (c.levels < 0 ? "Minus" + std::to_string(-c.levels) : std::to_string(c.levels)) + "LevelsKeep" +
         std::to_string(c.undoable) + "Steps";
}

class UndoLevels : public UndoRing, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(UndoLevels, ThePreferenceIsHeldToARingThatKeepsAtLeastOneStep) {
  RemakeView(GetParam().levels);
  const int undoable = GetParam().undoable;
  const std::vector<Bytes> states = TypeNotes(undoable + 2);
  EXPECT_EQ(UndoAll(), undoable);
  EXPECT_EQ(Store(), states[2]);
}

INSTANTIATE_TEST_SUITE_P(Preference, UndoLevels,
                         ::testing::Values(LevelCase{0, 1}, LevelCase{-4, 1}, LevelCase{1, 1},
                                           LevelCase{3, 2}, LevelCase{250, 98}),
                         [](const auto& info) { return LevelName(info.param); });

TEST_F(UndoRing, SwitchedOffTheNextEditEmptiesTheRingAndTheScoreKeepsTheSwitch) {
  TypeNotes(2);
  ASSERT_TRUE(Command(cmd::kEditUndoSwitch));
  ScoreSettings stored;
  doc.GetSettings(stored);
  EXPECT_EQ(stored.editFlags & 0x40, 0);
  EXPECT_FALSE(Enabled(cmd::kEditUndo));
  Type("q");
  ASSERT_TRUE(Command(cmd::kEditUndoSwitch));
  doc.GetSettings(stored);
  EXPECT_EQ(stored.editFlags & 0x40, 0x40);
  EXPECT_FALSE(Enabled(cmd::kEditUndo)) << "the steps before the switch went off are gone";
  const Bytes before = Store();
  Type("t");
  ASSERT_TRUE(Command(cmd::kEditUndo));
  EXPECT_EQ(Store(), before);
}

TEST_F(UndoRing, UndoInAReadOnlyScoreAsksFirstAndChangesNothingOnNo) {
  const std::vector<Bytes> states = TypeNotes(1);
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  EXPECT_TRUE(Command(cmd::kEditUndo));
  EXPECT_EQ(ui.CountOf(7094), 1);
  EXPECT_EQ(Store(), states[1]);
  EXPECT_TRUE(Enabled(cmd::kEditUndo));
  ui.Answer(7094, IDYES);
  EXPECT_TRUE(Command(cmd::kEditUndo));
  EXPECT_EQ(Store(), states[0]);
}

}  // namespace
}  // namespace undotest
