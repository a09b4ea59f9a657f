// Placing extended objects with the mouse after an Insert/Extended Object
// command: the clicks each command takes, the points it refuses, and the
// object made from the clicked vectors.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtObjFixture.h"

namespace extobjtest {
namespace {

using viewtest::CaseName;

struct MadeCase {
  const char* name;
  UINT command;
  int bracketStyle;           // kind - 7 for the bracket command
  std::vector<POINT> clicks;  // vectors from the start point
  int kind;
  POINT anchor;
  POINT size;
  int row = 18;  // the caret's row; a hairpin among the notes goes under the staff
};

void PrintTo(const MadeCase& c, std::ostream* os) { *os << c.name; }

class PlacementMakesObject : public ExtObjFixture, public ::testing::WithParamInterface<MadeCase> {};

TEST_P(PlacementMakesObject, FromTheClickedVectorsAsOneUndoStep) {
  const MadeCase& c = GetParam();
  StaffScore();
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [&c](KDlgPhraseLine& choice) {
    choice.style = c.bracketStyle;
    choice.textChoice = 0;
  });
  ASSERT_EQ(view->OnInsertExtendedObject(c.command), 1);
  EXPECT_EQ(view->m_extClicksWanted, static_cast<int>(c.clicks.size()));
  EXPECT_EQ(host.cursor, CStavlinView::kCursorCross);

  for (const POINT& click : c.clicks) {
    EXPECT_EQ(ObjectCount(), 0);
    Click(FromStart(click.x, click.y));
  }
  ASSERT_EQ(ObjectCount(), 1);
  const KExtendedObj* object = Object();
  EXPECT_EQ(object->GetKind(), c.kind);
  EXPECT_EQ(object->GetPos(), 1);
  EXPECT_EQ(object->GetRow(), c.row);
  EXPECT_EQ(object->GetAnchor(), CPoint(c.anchor));
  EXPECT_EQ(object->GetSize(), CSize(c.size.x, c.size.y));
  EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLine, 0, 0}}));
  EXPECT_TRUE(ui.Beeps().empty());
  // The placement is over: no clicks wanted, the arrow is back.
  EXPECT_EQ(view->m_pendingExtendedObject, 0u);
  EXPECT_EQ(view->m_extClicksWanted, 0);
  EXPECT_EQ(host.cursor, 0);
  EXPECT_EQ(view->m_extMarkers, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PlacementMakesObject,
    ::testing::Values(
        MadeCase{
            "down tie takes a mid and an end point", 41088, 0, {{20, -6}, {40, 0}}, 0, {20, -6}, {40, 0}},
        MadeCase{"up slur takes a mid and an end point", 41089, 0, {{24, 9}, {54, 3}}, 1, {24, 9}, {54, 3}},
        MadeCase{"crescendo takes one point", 41091, 0, {{50, 4}}, 4, {0, 0}, {56, 7}, 26},
        MadeCase{"decrescendo takes one point", 41092, 0, {{30, -2}}, 5, {0, 0}, {36, 7}, 26},
        MadeCase{"V line may end left of its start", 41094, 0, {{-20, 10}, {30, 0}}, 6, {-20, 10}, {30, 0}},
        // A bracket placed by hand stands clear of the staff whatever the caret's
        // row: hooks down over the top line (row 9), hooks up under the bottom.
        MadeCase{"full bracket is 13 high", 41093, 0, {{60, 0}}, 7, {0, 0}, {66, 13}, 9},
        MadeCase{"bracket up points its hooks up", 41093, 3, {{40, 5}}, 10, {0, 0}, {46, -6}, 26},
        MadeCase{
            "left vertical bracket counts 5 more to the right", 41093, 16, {{40, 20}}, 23, {0, 0}, {45, 20}},
        MadeCase{
            "a click next to the start gives a small object", 41091, 0, {{1, 1}}, 4, {0, 0}, {9, 7}, 26}),
    [](const ::testing::TestParamInfo<MadeCase>& info) { return CaseName(info.param.name); });

struct RefusedCase {
  const char* name;
  UINT command;
  int dx;     // from the start point
  int where;  // 0: the start's height, -1: 51 above the line's top, 1: 51 below its bottom
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class PlacementPointRefused : public ExtObjFixture, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(PlacementPointRefused, BeepsAndKeepsWaiting) {
  const RefusedCase& c = GetParam();
  StaffScore();
  ASSERT_EQ(view->OnInsertExtendedObject(c.command), 1);
  const int wanted = view->m_extClicksWanted;
  POINT point = FromStart(c.dx, 0);
  if (c.where < 0) point.y = Entry(0).top - 51;
  if (c.where > 0) point.y = Entry(0).bottom + 51;
  Click(point);
  EXPECT_EQ(ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
  EXPECT_EQ(view->m_extClicksWanted, wanted);
  EXPECT_EQ(view->m_pendingExtendedObject, c.command);
  EXPECT_EQ(ObjectCount(), 0);
  EXPECT_TRUE(EditSteps().empty());
}

INSTANTIATE_TEST_SUITE_P(Points, PlacementPointRefused,
                         ::testing::Values(RefusedCase{"tie point left of the start", 41088, -10, 0},
                                           RefusedCase{"tie point right above the start", 41088, 0, 0},
                                           RefusedCase{"tie point far above the line", 41088, 30, -1},
                                           RefusedCase{"crescendo point far below the line", 41091, 30, 1},
                                           RefusedCase{"V line point far above the line", 41094, -30, -1}),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) {
                           return CaseName(info.param.name);
                         });

TEST_F(ExtObjFixture, TieMarksItsMidPointUntilTheEndPointArrives) {
  StaffScore();
  view->OnInsertExtendedObject(41088);
  EXPECT_EQ(view->m_extMarkers, 1);
  Click(FromStart(20, -6));
  EXPECT_EQ(view->m_extMarkers, 3);
  EXPECT_EQ(view->m_extClicksWanted, 1);
  Click(FromStart(40, 0));
  EXPECT_EQ(view->m_extMarkers, 0);
  EXPECT_EQ(ObjectCount(), 1);
}

TEST_F(ExtObjFixture, BoxMayReachFurtherBelowTheLine) {
  StaffScore();
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [](KDlgPhraseLine& choice) {
    choice.style = 15;
    choice.textChoice = 0;
  });
  view->OnInsertExtendedObject(41093);
  const POINT below{Start().x + 40, Entry(0).bottom + 60};
  Click(below);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetKind(), 22);
  EXPECT_EQ(Object()->GetSize().cy, below.y - Start().y);
}

TEST_F(ExtObjFixture, BoxWithTextIsMadeAtTheCaretWithoutClicks) {
  StaffScore();
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [](KDlgPhraseLine& choice) {
    choice.style = 15;
    choice.textChoice = 1;
  });
  EXPECT_EQ(view->OnInsertExtendedObject(41093), 1);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetKind(), 22);
  EXPECT_EQ(Object()->GetText(), "1.");
  EXPECT_EQ(view->m_extClicksWanted, 0);
  EXPECT_EQ(view->m_pendingExtendedObject, 0u);
  EXPECT_EQ(EditSteps().size(), 1u);
}

TEST_F(ExtObjFixture, BracketDialogCancelledArmsNothing) {
  StaffScore();
  ui.AnswerDialog(KDlgPhraseLine::kTemplateId, IDCANCEL);
  EXPECT_EQ(view->OnInsertExtendedObject(41093), 0);
  EXPECT_EQ(view->m_pendingExtendedObject, 0u);
  EXPECT_EQ(view->m_extClicksWanted, 0);
}

TEST_F(ExtObjFixture, TextStringIsMadeAtTheCaretFromTheDialog) {
  StaffScore(2);
  Answer<KDlgExtText>(KDlgExtText::kTemplateId, [](KDlgExtText& choice) {
    EXPECT_EQ(choice.background, 0);
    EXPECT_TRUE(choice.text.IsEmpty());
    choice.text = "Allegro";
    choice.background = 1;
  });
  EXPECT_EQ(view->OnInsertExtendedObject(41095), 1);
  ASSERT_EQ(ObjectCount(), 1);
  const KExtendedObj* object = Object();
  EXPECT_EQ(object->GetKind(), KExtendedObj::kTextBox);
  EXPECT_EQ(object->GetText(), "Allegro");
  EXPECT_EQ(object->GetOpaque(), 1);
  EXPECT_EQ(object->GetPos(), 2);
  EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLine, 0, 0}}));
  EXPECT_EQ(view->m_pendingExtendedObject, 0u);
}

TEST_F(ExtObjFixture, TextCancelledMakesNothingAndRecordsNothing) {
  StaffScore();
  ui.AnswerDialog(KDlgExtText::kTemplateId, IDCANCEL);
  view->OnInsertExtendedObject(41095);
  EXPECT_EQ(ObjectCount(), 0);
  EXPECT_TRUE(EditSteps().empty());
  EXPECT_EQ(view->m_pendingExtendedObject, 0u);
}

TEST_F(ExtObjFixture, TextOnATextLineStandsAtTheCaretsPixelX) {
  AddText("some words here");
  Layout(0, 5);
  Answer<KDlgExtText>(KDlgExtText::kTemplateId, [](KDlgExtText& choice) { choice.text = "note"; });
  view->OnInsertExtendedObject(41095);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetPos(), extobj::CaretColumnX(*view) + 10000);
  EXPECT_GT(Object()->GetPos(), 10000);
  EXPECT_EQ(Object()->GetRow(), 0);
}

TEST_F(ExtObjFixture, TripletOnStaffRow18OffersUpAndMakesPlusThree) {
  StaffScore();
  CString offeredText;
  int offeredDirection = -1;
  Answer<KDlgTriplet>(KDlgTriplet::kTemplateId, [&](KDlgTriplet& choice) {
    offeredText = choice.text;
    offeredDirection = choice.direction;
  });
  view->OnInsertExtendedObject(41090);
  Click(FromStart(40, 0));
  EXPECT_EQ(offeredText, "3");
  EXPECT_EQ(offeredDirection, 1);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetText(), "+3");
  EXPECT_EQ(Object()->GetKind(), KExtendedObj::kNumberedBracket);
}

TEST_F(ExtObjFixture, TripletCancelledMakesNothingAndEndsThePlacement) {
  StaffScore();
  ui.AnswerDialog(KDlgTriplet::kTemplateId, IDCANCEL);
  view->OnInsertExtendedObject(41090);
  Click(FromStart(40, 0));
  EXPECT_EQ(ObjectCount(), 0);
  EXPECT_TRUE(EditSteps().empty());
  EXPECT_EQ(view->m_extClicksWanted, 0);
}

TEST_F(ExtObjFixture, ClicksAtLargeSymbolsAreStoredAtTheNormalSize) {
  StaffScore();
  view->m_sizeIndex = 1;
  view->OnInsertExtendedObject(41091);
  Click(FromStart(44, 0));
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetSize().cx, 44 * 9 / 11 + 6);
}

}  // namespace
}  // namespace extobjtest
