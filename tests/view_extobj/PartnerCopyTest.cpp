// Hairpins and texts placed on a staff bracketed with its tablature line:
// where engraving puts them on each line, and the copy on the partner line
// going wherever its original goes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtObjFixture.h"
#include "platform/Keys.h"
#include "support/CaseName.h"

namespace extobjtest {
namespace {

using viewtest::CaseName;

constexpr int kStaffLine = 0;
constexpr int kTabLine = 1;

// A staff with quarter notes and the tablature line of the same notes,
// bracketed in one line group, mutual translation on.
class GroupedStaffAndTab : public ExtObjFixture {
 protected:
  void SetUp() override {
    ExtObjFixture::SetUp();
    const POSITION staff = Add(viewtest::MakeStaff({{0, 18}, {1, 18}, {2, 16}, {3, 18}, {4, 20}, {5, 18}}));
    const POSITION tab = Add(viewtest::MakeTab({0, 1, 2, 3, 4, 5}));
    Group(1, {staff, tab}, true);
    view->m_mutualTranslation = 1;
  }

  // Places the object with the caret on the display line at the row: a text
  // through its dialog, a hairpin with one click three columns to the right.
  void Place(UINT command, int displayLine, int caretRow, const char* text = "dolce") {
    Layout(displayLine, 1);
    view->m_caretRow = caretRow;
    Answer<KDlgExtText>(KDlgExtText::kTemplateId, [text](KDlgExtText& dialog) { dialog.text = text; });
    ASSERT_EQ(view->OnInsertExtendedObject(command), 1);
    if (view->m_extClicksWanted > 0) Click(FromStart(54, 0));
    ASSERT_EQ(ObjectCount(displayLine), 1);
  }
};

struct PlacedCase {
  const char* name;
  UINT command;
  int line;      // display line of the caret
  int caretRow;  // staff step or string row
  int row;       // the object's row on its line
  int copyRow;   // the copy's row on the partner line
};

void PrintTo(const PlacedCase& c, std::ostream* os) { *os << c.name; }

class PlacedMark : public GroupedStaffAndTab, public ::testing::WithParamInterface<PlacedCase> {};

TEST_P(PlacedMark, StandsWhereEngravingPutsItOnBothLines) {
  const PlacedCase& c = GetParam();
  Place(c.command, c.line, c.caretRow);
  const int partner = c.line == kStaffLine ? kTabLine : kStaffLine;
  ASSERT_EQ(ObjectCount(partner), 1);
  EXPECT_EQ(Object(c.line)->GetRow(), c.row);
  EXPECT_EQ(Object(partner)->GetRow(), c.copyRow);
  EXPECT_TRUE(Object(partner)->SameButRow(*Object(c.line)));
}

// Staff rows: 14 the top line, 22 the bottom line; 26 clears the bottom line
// by a hairpin, 10 the top line by a line of text. String rows of the guitar
// tablature: 2 to 7; rows 8 and 9 under them hold the rhythm's stems and then
// the copied hairpins and texts, row 1 over them.
INSTANTIATE_TEST_SUITE_P(
    Marks, PlacedMark,
    ::testing::Values(
        PlacedCase{"crescendo among the notes goes under the staff", 41091, kStaffLine, 18, 26, 9},
        PlacedCase{"decrescendo among the notes goes under the staff", 41092, kStaffLine, 21, 26, 9},
        PlacedCase{"crescendo below the staff keeps its row", 41091, kStaffLine, 30, 30, 9},
        PlacedCase{"crescendo above the staff keeps its row", 41091, kStaffLine, 6, 6, 1},
        PlacedCase{"text among the notes goes over the staff", 41095, kStaffLine, 20, 10, 1},
        PlacedCase{"text below the staff keeps its row", 41095, kStaffLine, 28, 28, 9},
        PlacedCase{"crescendo on the strings goes under them and their rhythm", 41091, kTabLine, 4, 9, 31},
        PlacedCase{"text on the strings goes over them", 41095, kTabLine, 5, 1, 10}),
    [](const ::testing::TestParamInfo<PlacedCase>& info) { return CaseName(info.param.name); });

TEST_F(GroupedStaffAndTab, CopyMovesWithItsOriginalAndGoesWhenItIsDeleted) {
  Place(41091, kStaffLine, 18);
  KExtendedObj* hairpin = Object(kStaffLine);
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*hairpin, kStaffLine), FALSE), CStavlinView::kExtSelected);

  // Dragged two columns to the right and a little lower on its staff.
  CRect frame(view->m_extTracker);
  frame.OffsetRect(36, 4);
  ASSERT_TRUE(view->FinishExtObjFrameDrag(frame));
  ASSERT_EQ(ObjectCount(kTabLine), 1);
  EXPECT_TRUE(Object(kTabLine)->SameButRow(*hairpin));
  EXPECT_EQ(Object(kTabLine)->GetOffset(), hairpin->GetOffset());
  EXPECT_EQ(Object(kTabLine)->GetRow(), 9);

  // Reshaped by a double click's handles it is not (a hairpin has none); its
  // deletion takes the copy along.
  view->OnKeyDown(VK_DELETE, 1, 0);
  EXPECT_EQ(ObjectCount(kStaffLine), 0);
  EXPECT_EQ(ObjectCount(kTabLine), 0);
}

TEST_F(GroupedStaffAndTab, EditedTextChangesItsCopy) {
  Place(41095, kStaffLine, 18, "dolce");
  KExtendedObj* text = Object(kStaffLine);
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*text, kStaffLine), FALSE), CStavlinView::kExtSelected);
  Answer<KDlgExtText>(KDlgExtText::kTemplateId, [](KDlgExtText& dialog) { dialog.text = "espressivo"; });
  view->EditSelectedExtendedObject();
  EXPECT_EQ(std::string(Object(kTabLine)->GetText().Str()), "espressivo");
  EXPECT_EQ(Object(kTabLine)->GetRow(), 1);
}

TEST_F(GroupedStaffAndTab, WithoutMutualTranslationTheLinesKeepTheirOwnMarks) {
  Place(41091, kStaffLine, 18);
  view->m_mutualTranslation = 0;
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*Object(kStaffLine), kStaffLine), FALSE),
            CStavlinView::kExtSelected);
  view->OnKeyDown(VK_DELETE, 1, 0);
  EXPECT_EQ(ObjectCount(kStaffLine), 0);
  EXPECT_EQ(ObjectCount(kTabLine), 1) << "the tablature's copy is its own once the lines are edited apart";
}

TEST_F(GroupedStaffAndTab, ACopyMovedByItselfNoLongerFollows) {
  Place(41091, kStaffLine, 18);
  KExtendedObj* copy = Object(kTabLine);
  copy->SetOffset(copy->GetOffset().x + 18, copy->GetOffset().y);  // the user moved the copy
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*Object(kStaffLine), kStaffLine), FALSE),
            CStavlinView::kExtSelected);
  view->OnKeyDown(VK_DELETE, 1, 0);
  EXPECT_EQ(ObjectCount(kTabLine), 1);
}

}  // namespace
}  // namespace extobjtest
