// What the answer to the question before a changed score closes leaves
// behind when the score stays open after all (a later score cancelled the
// program's exit): No lets the changes go, Cancel keeps every flag.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "doc/CStavlinDoc.h"

namespace {

using SaveModifiedAnswer = DocTest;

constexpr UINT kSettingsQuestion = 7007;
constexpr UINT kSaveQuestion = 0;

struct AnswerCase {
  std::string name;
  bool contentChanged;
  bool settingsChanged;
  int answer;
  // What the next SaveModified asks (nothing when the changes were let go).
  std::vector<UINT> askedAgain;
};

class SaveModifiedAnswerCases : public SaveModifiedAnswer,
                                public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(SaveModifiedAnswerCases, LeavesTheScoreAskedOnlyWhenChangesRemain) {
  const AnswerCase& c = GetParam();
  CStavlinDoc doc;
  doc.lines.AddTail(new KDocTestLine(5, 0, "words"));
  doc.SetPathName(PathOf("song.svd").c_str());
  doc.fileName = "song.svd";
  if (c.settingsChanged) doc.SetSettings(doc.settings, TRUE);
  if (c.contentChanged) doc.SetModifiedFlag(TRUE);
  const UINT first = c.contentChanged ? kSaveQuestion : kSettingsQuestion;
  ui_.AnswerNext(first, {c.answer});
  doc.SaveModified();

  const bool letGo = c.answer == IDNO;
  EXPECT_EQ(doc.IsModified() != FALSE, !letGo);
  EXPECT_EQ(doc.settingsModified != 0, !letGo && c.settingsChanged);
  EXPECT_EQ(doc.contentModified != 0, !letGo && c.contentChanged);

  ui_.ClearRecords();
  for (UINT question : c.askedAgain) ui_.AnswerNext(question, {IDNO});
  EXPECT_TRUE(doc.SaveModified());
  EXPECT_EQ(ui_.MessageIds(), c.askedAgain);
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveModifiedAnswerCases,
                         ::testing::Values(AnswerCase{"ContentNo", true, false, IDNO, {}},
                                           AnswerCase{"ContentAndSettingsNo", true, true, IDNO, {}},
                                           AnswerCase{"ContentCancel", true, true, IDCANCEL, {kSaveQuestion}},
                                           AnswerCase{"SettingsNo", false, true, IDNO, {}},
                                           AnswerCase{
                                               "SettingsCancel", false, true, IDCANCEL, {kSettingsQuestion}}),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

}  // namespace
