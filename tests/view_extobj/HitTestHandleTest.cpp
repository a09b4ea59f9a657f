// The end handles of a tie, a slur and a line/V: where they stand for the
// line type, the line's top, the column x and the symbol size, and which of
// them holds a point.

#include <gtest/gtest.h>

#include "model/KExtendedObj.h"
#include "support/ViewTestSupport.h"

namespace {

using viewtest::CaseName;

struct HandleCase {
  const char* name;
  int kind;
  int lineType;
  int sizeIndex;
  CPoint first;  // top-left of each 3 x 3 grip
  CPoint second;
};

void PrintTo(const HandleCase& c, std::ostream* os) { *os << c.name; }

// A tie with its end points at (10, -5) and (30, 4) and a V through (12, 6),
// anchored on row 14, at column x 100 of a line drawn from y 50.
KExtendedObj MakeObject(int kind) {
  const RECT points{10, -5, 30, 4};
  return KExtendedObj(0, 14, kind, 12, 6, 40, 0, 0, 0, CString(), CString(), CString(),
                      kind == KExtendedObj::kLineOrV ? nullptr : &points);
}

class HandlesPlaced : public ::testing::TestWithParam<HandleCase> {};

TEST_P(HandlesPlaced, OnTheGripsGrownForThePointer) {
  const HandleCase& c = GetParam();
  KExtendedObj object = MakeObject(c.kind);
  CRect first;
  CRect second;
  EXPECT_EQ(object.HitTestHandle(first, second, c.lineType, 50, 100, c.sizeIndex), 1);
  const int m = KExtendedObj::kHandleMargin;
  EXPECT_EQ(first, CRect(c.first.x - m, c.first.y - m, c.first.x + 3 + m, c.first.y + 3 + m));
  EXPECT_EQ(second, CRect(c.second.x - m, c.second.y - m, c.second.x + 3 + m, c.second.y + 3 + m));
}

// Origin: x + half a column (9 or 11), row 14 of a staff at y; the points
// scale by 11 / 9 at the large size, truncating toward zero.
INSTANTIATE_TEST_SUITE_P(
    Kinds, HandlesPlaced,
    ::testing::Values(
        HandleCase{"tie on a staff", KExtendedObj::kTie, 0, 0, {119, 45}, {139, 54}},
        HandleCase{"slur on a staff", KExtendedObj::kSlur, 0, 0, {119, 45}, {139, 54}},
        HandleCase{"tie at the large size", KExtendedObj::kTie, 0, 1, {111 + 12, 50 - 6}, {111 + 36, 54}},
        HandleCase{"line or V has both on its middle", KExtendedObj::kLineOrV, 0, 0, {121, 56}, {121, 56}}),
    [](const ::testing::TestParamInfo<HandleCase>& info) { return CaseName(info.param.name); });

TEST(HitTestHandle, KindsWithoutEndsHaveNoHandles) {
  for (int kind : {KExtendedObj::kNumberedBracket, KExtendedObj::kTextBox, KExtendedObj::kCrescendo, 7, 22}) {
    KExtendedObj object(0, 14, kind, 0, 0, 40, 7);
    CRect first(1, 1, 5, 5);
    CRect second(1, 1, 5, 5);
    EXPECT_EQ(object.HitTestHandle(first, second, 0, 50, 100, 0), 0) << kind;
    EXPECT_TRUE(first.IsRectEmpty()) << kind;
    EXPECT_TRUE(second.IsRectEmpty()) << kind;
  }
}

struct PointCase {
  const char* name;
  CPoint point;
  int handle;
};

void PrintTo(const PointCase& c, std::ostream* os) { *os << c.name; }

class HandleAtPoint : public ::testing::TestWithParam<PointCase> {};

TEST_P(HandleAtPoint, NamesTheHandleUnderThePoint) {
  const CRect first(10, 10, 17, 17);
  const CRect second(15, 12, 22, 19);
  EXPECT_EQ(KExtendedObj::HandleAtPoint(first, second, GetParam().point), GetParam().handle);
}

INSTANTIATE_TEST_SUITE_P(Points, HandleAtPoint,
                         ::testing::Values(PointCase{"inside the first", {11, 11}, 0},
                                           PointCase{"inside the second", {20, 18}, 1},
                                           PointCase{"where they overlap the first wins", {16, 13}, 0},
                                           PointCase{"right edge is outside", {22, 15}, -1},
                                           PointCase{"beside both", {40, 40}, -1}),
                         [](const ::testing::TestParamInfo<PointCase>& info) {
                           return CaseName(info.param.name);
                         });

}  // namespace
