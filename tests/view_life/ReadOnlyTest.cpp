// Read-only mode: the question an edit asks of a read-only score, and what
// entering and leaving the mode does to the score's settings.

#include <string>

#include "ViewLifeTestSupport.h"
#include "doc/pref_values/Preferences.h"
#include "view/core/ViewMirrors.h"

namespace {

struct AnswerCase {
  const char* name;
  int answer;
  BOOL editMayGoOn;
  int stillReadOnly;
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

const AnswerCase kAnswers[] = {
    {"YesLeavesReadOnlyModeAndTheEditGoesOn", IDYES, TRUE, 0},
    {"NoKeepsTheScoreReadOnly", IDNO, FALSE, 1},
    {"CancelKeepsTheScoreReadOnly", IDCANCEL, FALSE, 1},
};

class ReadOnlyQuestionTest : public ViewLifeTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ReadOnlyQuestionTest, AnswerDecidesTheEdit) {
  Settings().readOnly = 1;
  CStavlinView& view = UpdatedView();
  ASSERT_EQ(view.IsReadOnly(), 1);
  ui_.Answer(7094, GetParam().answer);

  EXPECT_EQ(view.LeaveReadOnlyForEdit(), GetParam().editMayGoOn);

  EXPECT_EQ(ui_.CountOf(7094), 1);
  EXPECT_EQ(view.IsReadOnly(), GetParam().stillReadOnly);
  EXPECT_EQ(doc_->settings.readOnly, GetParam().stillReadOnly);
  // Only leaving the mode changes the score's settings.
  EXPECT_EQ(doc_->IsModified() != FALSE, GetParam().stillReadOnly == 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReadOnlyQuestionTest, ::testing::ValuesIn(kAnswers),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ViewLifeTest, EditOfAWritableScoreAsksNothing) {
  CStavlinView& view = UpdatedView();
  EXPECT_EQ(view.LeaveReadOnlyForEdit(), TRUE);
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(ViewLifeTest, ReadOnlyModeShowsInTheAutosaveState) {
  Settings().autosaveAmount = 3;
  Settings().autosaveKind = 1;
  CStavlinView& view = UpdatedView();
  view.OnEditReadOnly();
  EXPECT_EQ(g_viewMirrors.autosaveState, 0);
  view.OnEditReadOnly();
  EXPECT_EQ(g_viewMirrors.autosaveState, 2);
}

TEST_F(ViewLifeTest, LeavingReadOnlyModeGivesTheArrowsOptionBack) {
  Settings().arrowKeysWithinStaff = 1;
  CStavlinView& view = UpdatedView();

  view.OnEditReadOnly();
  EXPECT_EQ(view.m_options.arrowKeysWithinStaff, 0);
  // Changed by the user while read-only: the old value still comes back.
  view.m_options.arrowKeysWithinStaff = 0;
  view.OnEditReadOnly();

  EXPECT_EQ(view.m_options.arrowKeysWithinStaff, 1);
  EXPECT_EQ(doc_->settings.arrowKeysWithinStaff, 1);
}

TEST_F(ViewLifeTest, ScoreOpenedReadOnlyTakesTheArrowsPreferenceWhenLeft) {
  Settings().readOnly = 1;
  g_prefEntryOptions.upDownMode = 1;
  CStavlinView& view = UpdatedView();
  view.OnEditReadOnly();
  EXPECT_EQ(view.IsReadOnly(), 0);
  EXPECT_EQ(view.m_options.arrowKeysWithinStaff, 1);
}

}  // namespace
