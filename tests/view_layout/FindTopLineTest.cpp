// Where the window starts for a wanted scroll position: twenty staves of 52
// pixels (tops 0, 52, 104 ...) in a window 600 high, whose scroll range ends
// at 601 (1201 laid out less 600).

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "LayoutFixture.h"
#include "model/KListLine.h"

namespace {

struct TopCase {
  const char* name;
  int wanted;
  int top;
  int firstVisible;
  int visibleCount;
};

void PrintTo(const TopCase& c, std::ostream* os) { *os << c.name; }

class TopLine : public LayoutFixture, public ::testing::WithParamInterface<TopCase> {
 protected:
  void SetUp() override {
    LayoutFixture::SetUp();
    for (int i = 0; i < 20; ++i) AddStaff(1);
    Layout();
  }
};

TEST_P(TopLine, ForWantedPosition) {
  const TopCase& c = GetParam();
  ASSERT_EQ(host_.total.cy, 1201);
  EXPECT_EQ(view_->FindTopLine(c.wanted), c.top);
  EXPECT_EQ(view_->GetFirstVisible(), c.firstVisible);
  EXPECT_EQ(view_->m_visibleCount, c.visibleCount);
  EXPECT_EQ(view_->GetLastVisible(), c.firstVisible + c.visibleCount - 1);
}

const TopCase kTopCases[] = {
    {"start of the score", 0, 0, 0, 11},
    {"exactly a line top", 52, 52, 1, 11},
    {"between tops goes to the next line", 100, 104, 2, 11},
    {"negative position is the start", -50, 0, 0, 11},
    // 900 is lowered to 601; the line at 624 lies past it, so one back.
    {"past the scroll range stops at the range", 900, 572, 11, 9},
};

INSTANTIATE_TEST_SUITE_P(Cases, TopLine, ::testing::ValuesIn(kTopCases),
                         [](const auto& info) { return CaseName(info.param.name); });

using TopLineEdges = LayoutFixture;

TEST_F(TopLineEdges, NoLinesGivesZero) { EXPECT_EQ(view_->FindTopLine(300), 0); }

TEST_F(TopLineEdges, PastTheLastTopWithATallLineStaysAtTheLastLine) {
  // A line of 250 pixels or more switches the range limit off.
  AddStaff(1);
  const POSITION tall = AddStaff(1);
  ListLineAt(tall)->SetSpaceAbove(400, 0);
  Layout();
  ASSERT_EQ(Entry(1).top, 52);
  EXPECT_EQ(view_->FindTopLine(5000), 52);
  EXPECT_EQ(view_->GetFirstVisible(), 1);
}

}  // namespace
