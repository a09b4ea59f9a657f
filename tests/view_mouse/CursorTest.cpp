// The cursor over the view shows what a click does there.

#include "MouseFixture.h"
#include "doc/pref_values/Preferences.h"

namespace mousetest {
namespace {

struct CursorCase {
  std::string name;
  std::function<void(CStavlinView&)> setUp;
  int x;  // window x; the pointer is over the staff
  int id;
};
void PrintTo(const CursorCase& c, std::ostream* os) { *os << c.name; }

class Cursor : public MouseFixture, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(Cursor, ShowsWhatAClickDoes) {
  const CursorCase& c = GetParam();
  host.cursor = -1;
  c.setUp(*view);
  EXPECT_TRUE(view->OnSetCursor(POINT{c.x, Top(kStaff) + 30}));
  EXPECT_EQ(host.cursor, c.id);
}

const auto kNothing = [](CStavlinView&) {};
const CursorCase kCursorCases[] = {
    {"arrow before a symbol is chosen", kNothing, 100, 0},
    {"labels show the line cursor", kNothing, 5, 998},
    {"chosen symbol shows its own cursor", [](CStavlinView& v) { v.m_toolboxSymbol = 8; }, 100, 608},
    {"alternate symbol shows its cursor", [](CStavlinView& v) { v.m_toolboxSymbol = 10021; }, 100, 821},
    {"labels win over the symbol", [](CStavlinView& v) { v.m_toolboxSymbol = 8; }, 5, 998},
    {"arrow cursor option",
     [](CStavlinView& v) {
       v.m_toolboxSymbol = 8;
       g_prefEntryOptions.cursorMode = 0;
     },
     100, 0},
    {"hover off shows the arrow",
     [](CStavlinView& v) {
       v.m_toolboxSymbol = 8;
       v.m_hoverOff = 1;
     },
     100, 0},
    {"play range start awaited", [](CStavlinView& v) { v.m_playAwaitStart = 1; }, 5, 999},
    {"play range end awaited", [](CStavlinView& v) { v.m_playAwaitEnd = 1; }, 100, 1000},
    {"object placement shows the cross", [](CStavlinView& v) { v.m_extClicksWanted = 2; }, 100,
     CStavlinView::kCursorCross},
};
INSTANTIATE_TEST_SUITE_P(Places, Cursor, ::testing::ValuesIn(kCursorCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(MouseFixture, CursorOverTheLabelsCountsTheHorizontalScroll) {
  host.total = SIZE{3000, 2000};
  host.scroll.x = 50;
  view->m_toolboxSymbol = 8;
  view->OnSetCursor(POINT{5, 30});
  EXPECT_EQ(host.cursor, 608) << "window x 5 is page x 55, right of the labels";
}

}  // namespace
}  // namespace mousetest
