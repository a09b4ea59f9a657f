// Update hints become the window rectangles to repaint.

#include <ostream>
#include <string>

#include "ViewTestFixture.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"

namespace {

// Six lines: text, staff, tablature, chord, staff, text, with these tops and
// bottoms: 0-20, 21-81, 82-152, 153-183, 184-244, 245-265.
class ViewUpdate : public ViewTest {
 protected:
  ViewUpdate() {
    AddLine(new KStrLine("title", 0), 20);
    auto* staff = new KStaffLine(0, 0, 0);
    staff->GetObjList()->AddTail(new KChord(2, 20, 8, 0));
    AddLine(staff, 60);
    AddLine(new KTabLine(0, "E A D G B E  323742475156", 0), 70);
    AddLine(new KChordPicLine(0, "E A D G B E  323742475156", "", 100, 100), 30);
    AddLine(new KStaffLine(0, 0, 0), 60);
    AddLine(new KStrLine("words", 0), 20);
    view.m_scrollWidth = 5000;
    view.m_scrollHeight = 5000;
  }
  int Line(int line, int column) { return CStavlinView::kHintLineFrom + 10000 * line + column + 1; }
};

struct HintCase {
  const char* name;
  int hint;
  RECT expected;
};
void PrintTo(const HintCase& c, std::ostream* out) { *out << c.name; }

constexpr int kLineFrom = CStavlinView::kHintLineFrom;
constexpr int kBelow = CStavlinView::kHintLineAndBelow;
constexpr int kRange = CStavlinView::kHintRange;

class HintRectangles : public ViewUpdate, public ::testing::WithParamInterface<HintCase> {};

TEST_P(HintRectangles, RepaintTheRectangleOfTheHint) {
  view.OnUpdate(nullptr, GetParam().hint);
  ASSERT_EQ(host.invalidated.size(), 1u);
  const RECT& got = host.invalidated[0];
  const RECT& want = GetParam().expected;
  EXPECT_EQ(got.left, want.left);
  EXPECT_EQ(got.top, want.top);
  EXPECT_EQ(got.right, want.right);
  EXPECT_EQ(got.bottom, want.bottom);
}

// Staff lines reach two lines up and down, others one; a change from column 0
// repaints 30 more pixels below, every line change 50.
INSTANTIATE_TEST_SUITE_P(
    Hints, HintRectangles,
    ::testing::Values(
        HintCase{
            "StaffFromColumnZeroReachesTwoLinesEachWay", kLineFrom + 10000 * 1 + 1, {0, 0, 30000, 183 + 80}},
        HintCase{
            "TextFromColumnZeroReachesOneLineEachWay", kLineFrom + 10000 * 5 + 1, {0, 184, 30000, 265 + 80}},
        HintCase{"ChordLineFromALaterColumnRepaintsFromTheLeftEdge",
                 kLineFrom + 10000 * 3 + 6,
                 {0, 82, 30000, 244 + 50}},
        // Column 3 of the staff, whose note before it stands at column 2:
        // from that note, 2 columns of 18 past the clef area (34) and the
        // content left (11).
        HintCase{"StaffFromALaterColumnRepaintsFromTheNoteBeforeIt",
                 kLineFrom + 10000 * 1 + 4,
                 {2 * 18 + 34 + 11, 0, 30000, 183 + 50}},
        HintCase{"LineAndBelowRepaintsToTheBottom", kBelow + 10000 * 1, {0, 0, 30000, 32000}},
        HintCase{"RangeReachesTwoLinesAboveAndTheExtraLinesBelow",
                 kRange + 100000 * 2 + 1000 * 1,
                 {0, 0, 30000, 265 + 50}},
        HintCase{"LineBeyondTheTableTakesTheLastLine", kLineFrom + 10000 * 40 + 1, {0, 184, 30000, 265 + 80}},
        HintCase{"WholeViewRepaintsTheWindow", CStavlinView::kHintAll, {0, 0, 800, 600}},
        HintCase{"NewScoreRepaintsTheWindow", CStavlinView::kHintNewScore, {0, 0, 800, 600}}),
    [](const ::testing::TestParamInfo<HintCase>& info) { return std::string(info.param.name); });

TEST_F(ViewUpdate, NewScoreShrinksTheScrollSizes) {
  view.OnUpdate(nullptr, CStavlinView::kHintNewScore);
  EXPECT_EQ(host.total.cx, 100);
  EXPECT_EQ(host.total.cy, 100);
}

TEST_F(ViewUpdate, RectanglesAreInWindowCoordinatesWhenScrolled) {
  host.ScrollToPosition(POINT{40, 100});
  view.OnUpdate(nullptr, Line(3, 0));
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0].left, -40);
  EXPECT_EQ(host.invalidated[0].top, 82 - 100);
  EXPECT_EQ(host.invalidated[0].bottom, 244 + 80 - 100);
}

// A change two lines below a grouped line repaints that group's band down to
// the reach of the change (and through a group it ends in), never the whole
// window: a keystroke must not repaint the world.
TEST_F(ViewUpdate, ChangeBelowAGroupedLineRepaintsTheGroupsBand) {
  view.GetDisplayLineObj(1)->SetGroup(7, nullptr);
  view.GetDisplayLineObj(2)->SetGroup(7, nullptr);
  view.OnUpdate(nullptr, Line(4, 2));
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0].top, 21);
  EXPECT_EQ(host.invalidated[0].bottom, 265 + 50);
  EXPECT_EQ(host.invalidated[0].left, 0);
}

TEST_F(ViewUpdate, ChangeBandRunsOnThroughTheGroupItEndsIn) {
  view.GetDisplayLineObj(1)->SetGroup(7, nullptr);
  view.GetDisplayLineObj(4)->SetGroup(9, nullptr);
  view.GetDisplayLineObj(5)->SetGroup(9, nullptr);
  // A chord line reaches one line down, into group 9, whose last line is 5.
  view.OnUpdate(nullptr, Line(3, 2));
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0].top, 21);
  EXPECT_EQ(host.invalidated[0].bottom, 265 + 50);
}

TEST_F(ViewUpdate, JoinedStaffRepaintsOnlyDownToTheStaffBelow) {
  view.GetDisplayLineObj(1)->ModifyFlags(0x200000, 1);
  view.OnUpdate(nullptr, Line(1, 0));
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0].bottom, 152 + 50);
}

// An update before any line is laid out must not read the empty table.
TEST_F(ViewTest, HintWithoutDisplayLinesRepaintsTheWindow) {
  ASSERT_EQ(view.GetDisplayLineCount(), 0);
  view.OnUpdate(nullptr, CStavlinView::kHintLineFrom + 10000 * 3 + 5);
  view.OnUpdate(nullptr, CStavlinView::kHintRange + 100000 * 2);
  ASSERT_EQ(host.invalidated.size(), 2u);
  EXPECT_EQ(host.invalidated[1].right, 800);
  EXPECT_EQ(host.invalidated[1].bottom, 600);
}

}  // namespace
