// The wheel and the vertical scroll bar move the window by whole display
// lines; the horizontal bar moves freely and repaints without changing the
// score.

#include "MouseFixture.h"

namespace mousetest {
namespace {

class ScrollWheel : public MouseFixture {
 protected:
  void SetUp() override {
    MouseFixture::SetUp();
    // A window of 150 pixels over a score of six lines.
    host.client = RECT{0, 0, 400, 150};
    host.total = SIZE{1200, Bottom(kDrums) + 1};
    view->FindTopLine(0);
    ui.ClearRecords();
  }
  void Wheel(short delta) { view->OnMouseWheel(0, delta, POINT{10, 10}); }
  int Limit() const { return static_cast<int>(host.total.cy - 150); }
};

TEST_F(ScrollWheel, NotchDownMovesExactlyOneDisplayLine) {
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(host.scroll.y, Top(kStaff));
  EXPECT_EQ(view->GetFirstVisible(), kStaff);
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(host.scroll.y, Top(kTab));
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(host.scroll.y, Top(kStaff));
}

TEST_F(ScrollWheel, NotchUpAtTheFirstLineDoesNothingSilently) {
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(host.scroll.y, 0);
  EXPECT_TRUE(ui.Beeps().empty());
}

TEST_F(ScrollWheel, ScrollingMovesTheCaretWithTheScore) {
  view->PlaceCaret();
  const POINT before = host.caret.GetPos();
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(host.caret.GetPos().y, before.y - Top(kStaff));
}

struct BarCase {
  std::string name;
  UINT code;
  int startLine;  // first line shown before the request
  int wantLine;   // the line whose top the window starts on after it
};
void PrintTo(const BarCase& c, std::ostream* os) { *os << c.name; }

class VerticalBar : public ScrollWheel, public ::testing::WithParamInterface<BarCase> {};

TEST_P(VerticalBar, LandsOnTheTopOfALine) {
  const BarCase& c = GetParam();
  view->SetVirtualScrollPosition(0, view->FindTopLine(Top(c.startLine)));
  view->OnVScroll(c.code, 0);
  EXPECT_EQ(host.scroll.y, Top(c.wantLine));
  EXPECT_EQ(view->GetFirstVisible(), c.wantLine);
  EXPECT_TRUE(ui.Beeps().empty());
}

const BarCase kBarCases[] = {
    {"line down", SB_LINEDOWN, kStaff, kTab},
    {"line up", SB_LINEUP, kTab, kStaff},
    {"line up at the first line stays", SB_LINEUP, kText, kText},
    {"page down brings the last whole line to the top", SB_PAGEDOWN, kText, kStaff},
    {"page down under a line taller than the window moves on", SB_PAGEDOWN, kStaff, kTab},
    {"page up moves back by a window", SB_PAGEUP, kRhythm, kTab},
    {"top", SB_TOP, kTab, kText},
    {"thumb being dragged does not scroll", SB_THUMBTRACK, kStaff, kStaff},
    {"end of scrolling does not scroll", SB_ENDSCROLL, kStaff, kStaff},
};
INSTANTIATE_TEST_SUITE_P(Codes, VerticalBar, ::testing::ValuesIn(kBarCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(ScrollWheel, ThumbAtTheEndOfTheBarLandsOnTheLastLinesTop) {
  // Room below the score, so that the last line can reach the window's top.
  host.total.cy = Bottom(kDrums) + 150;
  view->m_scrollHeight = static_cast<int>(host.total.cy);
  view->OnVScroll(SB_THUMBPOSITION, static_cast<UINT>(Limit()));
  EXPECT_EQ(view->GetFirstVisible(), kDrums);
  EXPECT_EQ(host.scroll.y, Top(kDrums));
}

TEST_F(ScrollWheel, ThumbHalfWayLandsOnALineTop) {
  view->OnVScroll(SB_THUMBPOSITION, static_cast<UINT>(Limit() / 2));
  EXPECT_EQ(host.scroll.y, Top(view->GetFirstVisible()));
  EXPECT_EQ(view->GetFirstVisible(), (kLineCount - 1) / 2);
}

TEST_F(ScrollWheel, LineStepsStartFromAWindowLeftInTheMiddleOfALine) {
  host.scroll.y = Top(kTab) + 5;  // where a dragged thumb left it
  view->OnVScroll(SB_LINEDOWN, 0);
  EXPECT_EQ(host.scroll.y, Top(kRhythm));
  host.scroll.y = Top(kTab) + 5;
  view->OnVScroll(SB_LINEUP, 0);
  EXPECT_EQ(host.scroll.y, Top(kTab)) << "up first aligns on the line cut at the top";
}

TEST_F(ScrollWheel, ScoreWithoutShownLinesBeepsAndSaysSo) {
  view->m_lineCount = 0;
  view->OnVScroll(SB_LINEDOWN, 0);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(ui.CountOf(7041), 1);
}

TEST_F(ScrollWheel, HorizontalBarRepaintsWithoutMarkingTheScore) {
  view->m_scrollWidth = static_cast<int>(host.total.cx);
  doc.SetModifiedFlag(FALSE);
  host.invalidated.clear();
  view->OnHScroll(SB_LINERIGHT, 0);
  EXPECT_EQ(host.scroll.x, 110);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_FALSE(host.invalidated.empty());
  view->OnHScroll(SB_THUMBTRACK, 500);
  EXPECT_EQ(host.scroll.x, 500);
  view->OnHScroll(SB_LEFT, 0);
  EXPECT_EQ(host.scroll.x, 0);
  view->OnHScroll(SB_PAGERIGHT, 0);
  EXPECT_EQ(host.scroll.x, 400);
}

}  // namespace
}  // namespace mousetest
