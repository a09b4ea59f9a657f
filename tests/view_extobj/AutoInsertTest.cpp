// Insert/Extended Object over a selection of notes in one staff line: the
// object is made at once from the selected columns, or the command is
// refused with message 7157 and nothing changes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtObjFixture.h"

namespace extobjtest {
namespace {

using viewtest::CaseName;

constexpr UINT kMsgCannotAutoInsert = 7157;
// A selection of one column: select the bar line that closes it too.
constexpr UINT kMsgOneColumnSelected = 7158;

struct AutoCase {
  const char* name;
  UINT command;
  int firstColumn;  // the selected columns
  int lastColumn;
  int kind;
  int pos;
  int width;
  CPoint offset;
};

void PrintTo(const AutoCase& c, std::ostream* os) { *os << c.name; }

class AutoInsertMakesObject : public ExtObjFixture, public ::testing::WithParamInterface<AutoCase> {};

TEST_P(AutoInsertMakesObject, AtOnceOverTheSelectedColumns) {
  const AutoCase& c = GetParam();
  StaffScore();
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [](KDlgPhraseLine& choice) {
    choice.style = 0;
    choice.textChoice = 0;
  });
  Select(0, 0, c.firstColumn, c.lastColumn);
  ASSERT_EQ(view->OnInsertExtendedObject(c.command), 1);
  ASSERT_EQ(ObjectCount(), 1);
  const KExtendedObj* object = Object();
  EXPECT_EQ(object->GetKind(), c.kind);
  EXPECT_EQ(object->GetPos(), c.pos);
  EXPECT_EQ(object->GetSize().cx, c.width);
  EXPECT_EQ(object->GetOffset(), c.offset);
  EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLine, 0, 0}}));
  EXPECT_FALSE(view->HasSelection());
  EXPECT_EQ(view->GetCaretColumn(), c.lastColumn);
  EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AutoInsertMakesObject,
    ::testing::Values(AutoCase{"crescendo over two columns", 41091, 3, 5, 4, 3, 2 * 18 - 5, {0, -2}},
                      AutoCase{"decrescendo over three columns", 41092, 0, 3, 5, 0, 3 * 18 - 5, {0, -2}},
                      AutoCase{"bracket over columns 3 to 6 without bars", 41093, 3, 6, 7, 3, 53, {1, 0}},
                      AutoCase{"tie over two notes spans one column", 41088, 0, 2, 0, 0, 18, {0, -2}},
                      AutoCase{"slur over four notes", 41089, 1, 5, 1, 1, 3 * 18, {0, 2}}),
    [](const ::testing::TestParamInfo<AutoCase>& info) { return CaseName(info.param.name); });

// A click leaves a selection of no width behind it: the command must then
// wait for the placement clicks, not try to insert over an empty range.
TEST_F(ExtObjFixture, SelectionOfNoWidthLeftByAClickAsksForPlacement) {
  StaffScore();
  view->UpdateSelection(2, 2, 0, 0, 0);
  view->m_selRect.right = view->m_selRect.left;
  view->m_selHidden = 0;
  ASSERT_EQ(view->OnInsertExtendedObject(41088), 1);
  EXPECT_EQ(view->m_pendingExtendedObject, 41088U);
  EXPECT_EQ(ObjectCount(), 0);
  EXPECT_TRUE(ui.Messages().empty()) << "no refusal (7157)";
}

TEST_F(ExtObjFixture, CrescendoStandsBelowTheStaff) {
  StaffScore();
  Select(0, 0, 3, 5);
  view->OnInsertExtendedObject(41091);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_GE(Object()->GetRow(), 26);
}

TEST_F(ExtObjFixture, TieOverNotesAtOneHeightCurvesAboveThem) {
  StaffScore();
  Select(0, 0, 0, 2);
  view->OnInsertExtendedObject(41088);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetSize(), CSize(18, 0));
  EXPECT_LT(Object()->GetAnchor().y, 0);
}

// A slur or tie over two notes on the middle line (its head at 12 below the
// top line) keeps clear of the stems on its side: a stem up ends 19 higher, at
// -7, a stem down 20 lower, at 32. On the other side it hugs the heads.
struct CurveCase {
  const char* name;
  int code;  // 8: quarter, stem up; 9: quarter, stem down
  UINT command;
  int highest;  // the curve's start lies between these heights (top line 0)
  int lowest;
};

void PrintTo(const CurveCase& c, std::ostream* os) { *os << c.name; }

class CurveOverStems : public ExtObjFixture, public ::testing::WithParamInterface<CurveCase> {};

TEST_P(CurveOverStems, KeepsClearOfTheStemsOnItsSide) {
  const CurveCase& c = GetParam();
  Add(viewtest::MakeStaff({{0, 18}, {1, 18}, {2, 18}}, {}, c.code));
  Layout(0, 0);
  Select(0, 0, 0, 2);
  ASSERT_EQ(view->OnInsertExtendedObject(c.command), 1);
  ASSERT_EQ(ObjectCount(), 1);
  const int start = (Object()->GetRow() - 14) * 3 + Object()->GetOffset().y;
  EXPECT_GE(start, c.highest);
  EXPECT_LE(start, c.lowest);
}

INSTANTIATE_TEST_SUITE_P(
    Stems, CurveOverStems,
    ::testing::Values(CurveCase{"over stems up it clears their ends", 8, 41088, -30, -8},
                      CurveCase{"under stems down it clears their ends", 9, 41089, 33, 50},
                      CurveCase{"over stems down it hugs the heads", 9, 41088, 0, 11},
                      CurveCase{"under stems up it hugs the heads", 8, 41089, 13, 24}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return CaseName(info.param.name); });

struct RefusalCase {
  const char* name;
  UINT command;
  int firstLine;
  int lastLine;
  int firstColumn;
  int lastColumn;
  UINT message = kMsgCannotAutoInsert;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class AutoInsertRefused : public ExtObjFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(AutoInsertRefused, WithAMessageAndNoChange) {
  const RefusalCase& c = GetParam();
  auto* staff = viewtest::MakeStaff({{0, 18}, {2, 18}, {3, 18}});
  staff->GetObjList()->AddTail(new KChord(4, 18, 15, 0));  // a rest
  Add(staff);
  AddText("words");
  Layout(0, 0);
  Select(c.firstLine, c.lastLine, c.firstColumn, c.lastColumn);
  EXPECT_EQ(view->OnInsertExtendedObject(c.command), 0);
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{c.message});
  EXPECT_EQ(ObjectCount(0), 0);
  EXPECT_TRUE(EditSteps().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Selections, AutoInsertRefused,
    ::testing::Values(RefusalCase{"tie over one note and a rest", 41088, 0, 0, 3, 5},
                      RefusalCase{"V line over notes", 41094, 0, 0, 0, 4},
                      RefusalCase{"text string over notes", 41095, 0, 0, 0, 4},
                      RefusalCase{"selection over two lines", 41091, 0, 1, 0, 4},
                      RefusalCase{"one column only", 41091, 0, 0, 2, 3, kMsgOneColumnSelected}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return CaseName(info.param.name); });

TEST_F(ExtObjFixture, TripletIsPlusThreeOnlyForOneVoiceLowInTheStaff) {
  // Odd-code quarter notes (9) on rows 17 and lower: the bracket goes below.
  Add(viewtest::MakeStaff({{0, 18}, {1, 20}, {2, 18}}, {}, 9));
  Add(viewtest::MakeStaff({{0, 18}, {1, 12}, {2, 18}}, {}, 9));
  Add(viewtest::MakeStaff({{0, 18}, {1, 20}, {2, 18}}, {}, 8));
  Layout(0, 0);
  const char* expected[] = {"+3", "-3", "-3"};
  for (int line = 0; line < 3; ++line) {
    Select(line, line, 0, 3);
    view->OnInsertExtendedObject(41090);
    ASSERT_EQ(ObjectCount(line), 1) << line;
    EXPECT_EQ(Object(line)->GetText(), expected[line]) << line;
  }
}

TEST_F(ExtObjFixture, BracketWithTextNoneKeepsTheFontPreference) {
  StaffScore();
  const CString before = g_prefBracket2TextFont;
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [](KDlgPhraseLine& choice) {
    choice.style = 0;
    choice.textChoice = 0;
    choice.fontPicked = 1;
    choice.fontText = "20,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  });
  Select(0, 0, 1, 4);
  view->OnInsertExtendedObject(41093);
  EXPECT_EQ(ObjectCount(), 1);
  EXPECT_EQ(g_prefBracket2TextFont, before);
}

TEST_F(ExtObjFixture, BracketWithFirstEndingCarriesItsText) {
  StaffScore();
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [](KDlgPhraseLine& choice) {
    choice.style = 1;
    choice.textChoice = 1;
  });
  Select(0, 0, 1, 4);
  view->OnInsertExtendedObject(41093);
  ASSERT_EQ(ObjectCount(), 1);
  EXPECT_EQ(Object()->GetKind(), 8);
  EXPECT_EQ(Object()->GetText(), "1.");
  // The text is used once; the next bracket starts without one.
  EXPECT_TRUE(view->m_bracketText.IsEmpty());
}

}  // namespace
}  // namespace extobjtest
