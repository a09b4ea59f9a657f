#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/Geometry.h"

namespace {

struct RectPair {
  const char* name;
  CRect a;
  CRect b;
  BOOL intersects;
  CRect intersection;
  CRect unionRect;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RectPair& c, std::ostream* os) { *os << c.name; }

class GeometryRectPairs : public ::testing::TestWithParam<RectPair> {};

TEST_P(GeometryRectPairs, IntersectAndUnionFollowThePixelConvention) {
  const RectPair& c = GetParam();
  CRect out(9, 9, 9, 9);
  EXPECT_EQ(out.IntersectRect(&c.a, &c.b), c.intersects);
  EXPECT_EQ(out, c.intersection);
  EXPECT_EQ(c.a & c.b, c.intersection);
  CRect joined;
  joined.UnionRect(&c.a, &c.b);
  EXPECT_EQ(joined, c.unionRect);
  EXPECT_EQ(c.a | c.b, c.unionRect);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, GeometryRectPairs,
    ::testing::Values(
        RectPair{"Overlapping", {0, 0, 10, 10}, {5, 5, 20, 8}, TRUE, {5, 5, 10, 8}, {0, 0, 20, 10}},
        // Right and bottom are outside, so rectangles sharing an edge share no pixel.
        RectPair{"SharingAnEdge", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}, {0, 0, 20, 10}},
        RectPair{"Disjoint", {0, 0, 4, 4}, {6, 6, 8, 8}, FALSE, {0, 0, 0, 0}, {0, 0, 8, 8}},
        RectPair{
            "EmptyOperandIgnoredByUnion", {50, 50, 50, 90}, {1, 2, 3, 4}, FALSE, {0, 0, 0, 0}, {1, 2, 3, 4}},
        RectPair{
            "BothEmptyGiveTheNullRectangle", {5, 5, 5, 5}, {7, 7, 6, 9}, FALSE, {0, 0, 0, 0}, {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<RectPair>& info) { return std::string(info.param.name); });

TEST(Geometry, PtInRectIncludesLeftAndTopButNotRightAndBottom) {
  const CRect r(10, 20, 30, 40);
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_TRUE(r.PtInRect(CPoint(29, 39)));
  EXPECT_FALSE(r.PtInRect(CPoint(30, 39)));
  EXPECT_FALSE(r.PtInRect(CPoint(29, 40)));
  EXPECT_FALSE(r.PtInRect(CPoint(9, 25)));
}

TEST(Geometry, NormalizeRectSwapsReversedSidesOnly) {
  CRect r(30, 5, 10, 25);
  EXPECT_TRUE(r.IsRectEmpty());
  r.NormalizeRect();
  EXPECT_EQ(r, CRect(10, 5, 30, 25));
  EXPECT_EQ(r.Width(), 20);
  EXPECT_EQ(r.Height(), 20);
  EXPECT_FALSE(r.IsRectEmpty());
}

TEST(Geometry, EmptyAndNullAreDifferentQuestions) {
  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(CRect().IsRectEmpty());
}

TEST(Geometry, MovingAndResizingKeepTheOtherMeasures) {
  CRect r(10, 10, 20, 30);
  r.OffsetRect(5, -10);
  EXPECT_EQ(r, CRect(15, 0, 25, 20));
  r.InflateRect(2, 3);
  EXPECT_EQ(r, CRect(13, -3, 27, 23));
  r.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(r, CRect(14, -1, 24, 19));
  r.MoveToXY(0, 0);
  EXPECT_EQ(r, CRect(0, 0, 10, 20));
  EXPECT_EQ(r.CenterPoint(), CPoint(5, 10));
  EXPECT_EQ(r.TopLeft(), CPoint(0, 0));
  EXPECT_EQ(r.BottomRight(), CPoint(10, 20));
  EXPECT_EQ(r.Size(), CSize(10, 20));
}

TEST(Geometry, PointArithmeticGivesSizesAndPoints) {
  const CPoint a(7, 9), b(2, 4);
  EXPECT_EQ(a - b, CSize(5, 5));
  EXPECT_EQ(b + CSize(5, 5), a);
  CPoint c = a;
  c -= CSize(7, 9);
  EXPECT_EQ(c, CPoint(0, 0));
  EXPECT_EQ(CRect(1, 1, 3, 3) + CPoint(10, 20), CRect(11, 21, 13, 23));
}

}  // namespace
