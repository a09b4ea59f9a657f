// The Delete key: inside a line, at its end (joining the next line), over a
// selection, in a line group under mutual translation, and its guards.

#include "KeysFixture.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"

namespace {

using DeleteKey = KeysFixture;

TEST_F(DeleteKey, InsideATextLineDeletesTheCharacterAtTheCaret) {
  CaretAt(kTextAbc, 1);
  Press(VK_DELETE);
  EXPECT_EQ(Text(kTextAbc), "ac def");
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(UndoKinds().front(), 0);
}

TEST_F(DeleteKey, AtTheEndOfATextLineJoinsTheNextTextLine) {
  const int before = doc.GetLineCount();
  CaretAt(kTextAbc, 7);
  Press(VK_DELETE);
  EXPECT_EQ(Text(kTextAbc), "abc defxyz");
  EXPECT_EQ(doc.GetLineCount(), before - 1);
  EXPECT_EQ(view->GetDisplayLineCount(), before - 1);
  EXPECT_EQ(UndoKinds(), std::vector<int>{6});
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DeleteKey, AtTheEndOfATabLineFollowedByAnEmptyStaffRemovesTheStaff) {
  const int before = doc.GetLineCount();
  CaretAt(kTabBottom, Line(kTabBottom)->GetLength());
  Press(VK_DELETE);
  EXPECT_EQ(doc.GetLineCount(), before - 1);
  EXPECT_EQ(Text(kEmptyStaff), "end");
  EXPECT_TRUE(ui.Messages().empty());
}

struct RefusedJoin {
  const char* name;
  int line;
  UINT message;  // 0: none
};
void PrintTo(const RefusedJoin& c, std::ostream* os) { *os << c.name; }

class RefusedJoins : public KeysFixture, public ::testing::WithParamInterface<RefusedJoin> {};

TEST_P(RefusedJoins, BeepAndChangeNothing) {
  const RefusedJoin& c = GetParam();
  const int before = doc.GetLineCount();
  CaretAt(c.line, Line(c.line)->GetLength());
  Press(VK_DELETE);
  EXPECT_EQ(doc.GetLineCount(), before);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(ui.MessageIds(), c.message != 0 ? std::vector<UINT>{c.message} : std::vector<UINT>{});
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(UndoKinds().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Joins, RefusedJoins,
    ::testing::Values(RefusedJoin{"a text line followed by a staff", KeysFixture::kTitle, 7042},
                      RefusedJoin{"a line in a line group", KeysFixture::kGroupStaff, 0},
                      RefusedJoin{"the last line of the score", KeysFixture::kTextEnd, 0},
                      RefusedJoin{"a staff followed by a tablature line", KeysFixture::kStaff, 7042}),
    [](const ::testing::TestParamInfo<RefusedJoin>& info) { return CaseName(info.param.name); });

struct HiddenJoin {
  const char* name;
  int answer;
  int linesRemoved;
  const char* joined;
};
void PrintTo(const HiddenJoin& c, std::ostream* os) { *os << c.name; }

class JoinAcrossHiddenLines : public KeysFixture, public ::testing::WithParamInterface<HiddenJoin> {};

TEST_P(JoinAcrossHiddenLines, AsksFirst) {
  // A text line "more" below the rhythm line; rhythm lines are not shown, so
  // "more" shows right below "xyz" with the rhythm line hidden between them.
  doc.InsertLineAfter(lines[5], new KStrLine("more", 0));
  view->m_show[8] = 0;
  view->m_show[3] = 0;
  ui.Answer(7095, GetParam().answer);
  CaretAt(kTextXyz, 3);
  ASSERT_EQ(Text(kTextXyz + 1), "more");
  const int before = doc.GetLineCount();
  Press(VK_DELETE);
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7095});
  EXPECT_EQ(doc.GetLineCount(), before - GetParam().linesRemoved);
  EXPECT_EQ(Text(kTextXyz), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Answers, JoinAcrossHiddenLines,
                         ::testing::Values(HiddenJoin{"cancel keeps both lines", IDCANCEL, 0, "xyz"},
                                           HiddenJoin{"ok joins the shown line below", IDOK, 1, "xyzmore"}),
                         [](const ::testing::TestParamInfo<HiddenJoin>& info) {
                           return CaseName(info.param.name);
                         });

TEST_F(DeleteKey, InAutoScrollModeDoesNothing) {
  CaretAt(kTextAbc, 1);
  view->m_autoScroll = 1;
  Press(VK_DELETE);
  EXPECT_EQ(Text(kTextAbc), "abc def");
  EXPECT_TRUE(UndoKinds().empty());
}

TEST_F(DeleteKey, ReadOnlyAnsweredNoChangesNothing) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  CaretAt(kTextAbc, 1);
  Press(VK_DELETE);
  EXPECT_EQ(Text(kTextAbc), "abc def");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7094});
  EXPECT_TRUE(UndoKinds().empty());
  EXPECT_EQ(view->IsReadOnly(), 1);
}

TEST_F(DeleteKey, ReadOnlyAnsweredYesLeavesReadOnlyAndDeletes) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDYES);
  CaretAt(kTextAbc, 1);
  Press(VK_DELETE);
  EXPECT_EQ(view->IsReadOnly(), 0);
  EXPECT_EQ(Text(kTextAbc), "ac def");
}

TEST_F(DeleteKey, WithASelectionDeletesTheSelectedRegion) {
  CaretAt(kTextAbc, 0);
  Select(kTextAbc, kTextAbc, 0, 4);
  Press(VK_DELETE);
  EXPECT_NE(Text(kTextAbc), "abc def");
  EXPECT_EQ(UndoKinds().front(), 4);
}

TEST_F(DeleteKey, WithASelectionInAReadOnlyScoreAsksFirstAndNoKeepsEverything) {
  view->m_readOnly = 1;
  ui.Answer(7094, IDNO);
  CaretAt(kTextAbc, 0);
  Select(kTextAbc, kTextAbc, 0, 4);
  Press(VK_DELETE);
  EXPECT_EQ(Text(kTextAbc), "abc def");
  EXPECT_TRUE(UndoKinds().empty());
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(DeleteKey, InAGroupWithMutualTranslationGoesThroughTheLinkedEntryWithOneGroupUndoStep) {
  view->m_mutualTranslation = 1;
  CaretAt(kGroupStaff, 0, 12);
  Press(VK_DELETE);
  EXPECT_EQ(Dump(kGroupStaff).codes.substr(0, 7), "0:8@14 ")
      << "the note at the caret went, the rest closed up";
  EXPECT_EQ(UndoKinds(), std::vector<int>{5});
  EXPECT_TRUE(doc.IsModified());
}

}  // namespace
