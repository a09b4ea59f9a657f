// The caret keys of the score view: columns, line ends, lines, caret rows,
// the crossing between paired tablature lines, and the refusals that beep.

#include "KeysFixture.h"

namespace {

struct CaretCase {
  const char* name;
  int line, column, row;  // where the caret starts
  UINT key;
  unsigned mods;
  int arrowsWithinStaff;
  int readOnly;
  int wantLine, wantColumn, wantRow;
  size_t beeps;
};

void PrintTo(const CaretCase& c, std::ostream* os) { *os << c.name; }

class CaretKeys : public KeysFixture, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(CaretKeys, PutCaretWhereTheKeySays) {
  const CaretCase& c = GetParam();
  view->m_options.arrowKeysWithinStaff = static_cast<BYTE>(c.arrowsWithinStaff);
  view->m_readOnly = c.readOnly;
  CaretAt(c.line, c.column, c.row);
  Press(c.key, c.mods);
  EXPECT_EQ(view->GetCurrentLine(), c.wantLine);
  EXPECT_EQ(view->GetCaretColumn(), c.wantColumn);
  EXPECT_EQ(view->GetCaretRow(), c.wantRow);
  EXPECT_EQ(ui.Beeps().size(), c.beeps);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_FALSE(doc.IsModified()) << "a caret move is no change to the score";
}

constexpr int S = KeysFixture::kStaff;
constexpr int TT = KeysFixture::kTabTop;
constexpr int TB = KeysFixture::kTabBottom;

INSTANTIATE_TEST_SUITE_P(
    Moves, CaretKeys,
    ::testing::Values(
        CaretCase{"right moves one column", S, 0, 18, VK_RIGHT, kNone, 0, 0, S, 1, 18, 0},
        CaretCase{"left at column zero does nothing", S, 0, 18, VK_LEFT, kNone, 0, 0, S, 0, 18, 0},
        CaretCase{"home goes to column zero", S, 2, 18, VK_HOME, kNone, 0, 0, S, 0, 18, 0},
        CaretCase{"end goes to the end of the line", S, 0, 18, VK_END, kNone, 0, 0, S, 3, 18, 0},
        CaretCase{"ctrl end goes to the end of the last line", S, 0, 18, VK_END, kCtrl, 0, 0,
                  KeysFixture::kTextEnd, 3, 18, 0},
        CaretCase{"ctrl home goes to the first line", S, 2, 18, VK_HOME, kCtrl, 0, 0, 0, 0, 18, 0},
        CaretCase{"down from a staff enters the tablature at row four", KeysFixture::kGroupStaff, 0, 12,
                  VK_DOWN, kNone, 0, 0, KeysFixture::kGroupTab, 0, 4, 0},
        CaretCase{"up from a tablature enters the staff at row eighteen", KeysFixture::kGroupTab, 0, 6, VK_UP,
                  kNone, 0, 0, KeysFixture::kGroupStaff, 0, 18, 0},
        CaretCase{"up on the first line beeps", 0, 0, 18, VK_UP, kNone, 0, 0, 0, 0, 18, 1},
        CaretCase{"down within the staff when arrows move within staff", S, 0, 18, VK_DOWN, kNone, 1, 0, S, 0,
                  19, 0},
        CaretCase{"ctrl up leaves the line when arrows move within staff", TT, 0, 4, VK_UP, kCtrl, 1, 0, S, 0,
                  18, 0},
        CaretCase{"ctrl up moves the row when arrows move between lines", S, 0, 18, VK_UP, kCtrl, 0, 0, S, 0,
                  17, 0},
        CaretCase{"read only ctrl up leaves the line whatever the option", TT, 0, 4, VK_UP, kCtrl, 0, 1, S, 0,
                  18, 0},
        CaretCase{"staff row thirty seven is the lowest", S, 0, 37, VK_DOWN, kNone, 1, 0, S, 0, 37, 1},
        CaretCase{"tablature row zero is the highest", TT, 0, 0, VK_UP, kNone, 1, 0, TT, 0, 0, 1},
        CaretCase{"up from the first string of tab b goes to the last string of tab t", TB, 0, 2, VK_UP,
                  kNone, 1, 0, TT, 0, 7, 0},
        CaretCase{"down from the last string of tab t goes to the first string of tab b", TT, 0, 7, VK_DOWN,
                  kNone, 1, 0, TB, 0, 2, 0},
        CaretCase{"up from the first string of tab t stays on its line", TT, 0, 2, VK_UP, kNone, 1, 0, TT, 0,
                  1, 0}),
    [](const ::testing::TestParamInfo<CaretCase>& info) { return CaseName(info.param.name); });

using CaretMoves = KeysFixture;

TEST_F(CaretMoves, UpAndDownThroughTextLinesKeepTheCaretAtTheSameX) {
  CaretAt(kTextAbc, 3);
  const POINT before = host.caret.GetPos();
  Press(VK_DOWN);
  EXPECT_EQ(view->GetCurrentLine(), kTextXyz);
  EXPECT_EQ(view->GetCaretColumn(), 3);
  EXPECT_EQ(host.caret.GetPos().x, before.x);
}

TEST_F(CaretMoves, RightAtTheEndOfALineTypesABlank) {
  CaretAt(kTextXyz, 3);
  Press(VK_RIGHT);
  EXPECT_EQ(Text(kTextXyz), "xyz ");
  EXPECT_EQ(view->GetCaretColumn(), 4);
}

TEST_F(CaretMoves, CtrlRightStepsToTheNextWord) {
  CaretAt(kTextAbc, 0);
  Press(VK_RIGHT, kCtrl);
  EXPECT_EQ(view->GetCaretColumn(), 4);
}

TEST_F(CaretMoves, AutoScrollModeScrollsOneLineInsteadOfMovingTheRow) {
  host.client = RECT{0, 0, 800, 200};
  view->m_options.arrowKeysWithinStaff = 1;
  CaretAt(kGroupStaff, 0, 18);
  view->FindTopLine(0);
  view->m_autoScroll = 1;
  const int firstBefore = view->GetFirstVisible();
  Press(VK_DOWN);
  EXPECT_EQ(view->GetFirstVisible(), firstBefore + 1);
  EXPECT_EQ(view->GetCurrentLine(), kGroupStaff) << "the caret's line is now the first visible one";
  EXPECT_TRUE(ui.Beeps().empty());
}

TEST_F(CaretMoves, PageDownMovesTheCaretAWindowDown) {
  host.client = RECT{0, 0, 800, 200};
  CaretAt(0, 0);
  view->FindTopLine(0);
  const int lastVisible = view->GetLastVisible();
  Press(VK_NEXT);
  EXPECT_EQ(view->GetFirstVisible(), lastVisible);
  EXPECT_EQ(view->GetCurrentLine(), lastVisible);
  EXPECT_GT(host.scroll.y, 0);
}

TEST_F(CaretMoves, PageUpComesBackAWindowUp) {
  host.client = RECT{0, 0, 800, 200};
  CaretAt(0, 0);
  view->FindTopLine(0);
  Press(VK_NEXT);
  const int paged = view->GetCurrentLine();
  ASSERT_GT(paged, 0);
  Press(VK_PRIOR);
  EXPECT_LT(view->GetCurrentLine(), paged);
  EXPECT_EQ(view->GetFirstVisible(), 0);
}

TEST_F(CaretMoves, ShiftPageDownSelectsWholeLinesToTheTarget) {
  host.client = RECT{0, 0, 800, 200};
  CaretAt(0, 0);
  view->FindTopLine(0);
  Press(VK_NEXT, kShift);
  EXPECT_TRUE(view->SelectionRectShown());
  EXPECT_EQ(view->m_selFirstLine, 0);
  EXPECT_EQ(view->m_selLastLine, view->GetCurrentLine());
}

TEST_F(CaretMoves, InsertTwiceLeavesOverwriteModeAsItWas) {
  CaretAt(kStaff, 0);
  Press(VK_INSERT);
  EXPECT_EQ(view->m_entryMode, 1);
  EXPECT_EQ(g_viewMirrors.overwrite, 1);
  Press(VK_INSERT);
  EXPECT_EQ(view->m_entryMode, 0);
  EXPECT_EQ(g_viewMirrors.overwrite, 0);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(CaretMoves, NoLinesShownBeepsAndSaysSo) {
  view->m_lineCount = 0;
  Press(VK_RIGHT);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7041});
}

// A key lets go of what the mouse was about to mark, and does nothing else:
// the caret stays, and the next key works as usual.
struct PendingMarkCase {
  const char* name;
  int pending;  // 0: a crescendo waiting for its end click, 1: a play range
                // waiting for its start, 2: for its end
  UINT key;
  unsigned mods;
};

void PrintTo(const PendingMarkCase& c, std::ostream* os) { *os << c.name; }

class PendingMark : public KeysFixture, public ::testing::WithParamInterface<PendingMarkCase> {};

TEST_P(PendingMark, IsGivenUpByAnyKey) {
  const PendingMarkCase& c = GetParam();
  CaretAt(kStaff, 1, 18);
  if (c.pending == 0) {
    ASSERT_EQ(view->OnInsertExtendedObject(41091), 1);  // Insert/Extended Object/Crescendo
    ASSERT_EQ(view->m_extClicksWanted, 1);
    ASSERT_EQ(host.cursor, CStavlinView::kCursorCross);
  } else {
    view->m_playAwaitStart = c.pending == 1 ? 1 : 0;
    view->m_playAwaitEnd = c.pending == 2 ? 1 : 0;
    view->m_playFirstLine = c.pending == 2 ? kStaff : -1;
  }
  Press(c.key, c.mods);
  EXPECT_EQ(view->GetCurrentLine(), kStaff);
  EXPECT_EQ(view->GetCaretColumn(), 1) << "the key only ends the marking";
  EXPECT_EQ(view->m_extClicksWanted, 0);
  EXPECT_EQ(view->m_pendingExtendedObject, 0U);
  EXPECT_EQ(view->m_extMarkers, 0);
  EXPECT_EQ(host.cursor, 0) << "the arrow is back";
  EXPECT_EQ(view->m_playAwaitStart, 0);
  EXPECT_EQ(view->m_playAwaitEnd, 0);
  EXPECT_EQ(Line(kStaff)->GetAttachmentCount(), 0);
  if (c.pending != 0) {
    EXPECT_EQ(view->m_playFirstLine, -1);
    ScoreSettings settings;
    doc.GetSettings(settings);
    EXPECT_EQ(settings.word70, 10000) << "no play range is kept with the score";
  }
  EXPECT_TRUE(ui.Beeps().empty());
  Press(VK_RIGHT);
  EXPECT_EQ(view->GetCaretColumn(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PendingMark,
    ::testing::Values(PendingMarkCase{"escape ends a crescendo's placement", 0, VK_ESCAPE, kNone},
                      PendingMarkCase{"an arrow ends a crescendo's placement", 0, VK_LEFT, kNone},
                      PendingMarkCase{"end ends a crescendo's placement", 0, VK_END, kNone},
                      PendingMarkCase{"escape ends a play range awaiting its start", 1, VK_ESCAPE, kNone},
                      PendingMarkCase{"shift home ends a play range awaiting its end", 2, VK_HOME, kShift}),
    [](const ::testing::TestParamInfo<PendingMarkCase>& info) { return CaseName(info.param.name); });

}  // namespace
