#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <ostream>
#include <string>
#include <vector>

#include "WidgetTestApp.h"
#include "platform/RasterOps.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtFontMapper.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrey = 0xFF808080;

QImage Filled(int width, int height, QRgb color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// A monochrome bitmap from rows of '#' (black) and '.' (white).
void MakeMono(CBitmap& bitmap, const std::vector<std::string>& rows) {
  const int width = static_cast<int>(rows.front().size()), height = static_cast<int>(rows.size());
  ASSERT_TRUE(bitmap.CreateBitmap(width, height, 1, 1, nullptr));
  PixelSurface surface = bitmap.Pixels()->Surface();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      surface.Set(x, y, rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#' ? 0 : 0xFFFFFF);
}

const std::vector<std::string> kGlyph = {
    "........", "..####..", ".#....#.", ".#....#.", "..####..", "........",
};

// Blits the bitmap through a memory device context, as the symbol code does.
void Blit(CDC& dc, CBitmap& bitmap, int x, int y, DWORD rop) {
  std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
  ASSERT_NE(memory, nullptr);
  CBitmap* old = memory->SelectObject(&bitmap);
  ASSERT_NE(old, nullptr);
  const CSize size = bitmap.GetSize();
  EXPECT_TRUE(dc.BitBlt(x, y, size.cx, size.cy, memory.get(), 0, 0, rop));
  memory->SelectObject(old);
}

class QtImageDC : public ::testing::Test {
 protected:
  void SetUp() override { WidgetTestApp(); }
};

TEST_F(QtImageDC, AndBlitOfAMonochromeGlyphKeepsItsBlackAndTheGreyAroundIt) {
  QImage image = Filled(20, 12, kGrey);
  CBitmap glyph;
  MakeMono(glyph, kGlyph);
  {
    KQtImageDC dc(image);
    Blit(dc, glyph, 5, 3, SRCAND);
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int gx = x - 5, gy = y - 3;
      const bool ink = gx >= 0 && gy >= 0 && gx < 8 && gy < 6 &&
                       kGlyph[static_cast<size_t>(gy)][static_cast<size_t>(gx)] == '#';
      EXPECT_EQ(image.pixel(x, y), ink ? kBlack : kGrey) << "at " << x << "," << y;
    }
}

TEST_F(QtImageDC, XorBlitTwiceRestoresTheImage) {
  QImage image(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) image.setPixel(x, y, qRgb(x * 16, y * 16, (x * y) & 0xFF));
  const QImage before = image.copy();
  CBitmap marker;
  MakeMono(marker, kGlyph);
  CBitmap colour;
  ASSERT_TRUE(CreateBitmapFromQImage(colour, before.mirrored(true, false), false));

  KQtImageDC dc(image);
  for (CBitmap* source : {&marker, &colour}) {
    Blit(dc, *source, 3, 4, SRCINVERT);
    EXPECT_NE(image, before);
    Blit(dc, *source, 3, 4, SRCINVERT);
    EXPECT_EQ(image, before);
  }
  dc.InvertRect(CRect(2, 2, 9, 9));
  EXPECT_NE(image, before);
  dc.InvertRect(CRect(2, 2, 9, 9));
  EXPECT_EQ(image, before);
}

TEST_F(QtImageDC, MonochromeSourceTakesTheTextColourForBlackAndTheBackgroundColourForWhite) {
  QImage image = Filled(10, 8, kGrey);
  CBitmap glyph;
  MakeMono(glyph, kGlyph);
  KQtImageDC dc(image);
  dc.SetTextColor(RGB(255, 0, 0));
  dc.SetBkColor(RGB(0, 0, 255));
  Blit(dc, glyph, 0, 0, SRCCOPY);
  EXPECT_EQ(image.pixel(2, 1), qRgb(255, 0, 0));  // a black glyph pixel
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));  // a white one
  EXPECT_EQ(image.pixel(9, 7), kGrey);
}

TEST_F(QtImageDC, ColourOntoMonochromeGivesWhiteWhereTheSourceHasItsBackgroundColour) {
  QImage screen = Filled(4, 4, kWhite);
  KQtImageDC dc(screen);
  CBitmap colour, mono;
  QImage picture = Filled(3, 1, qRgb(0, 255, 0));
  picture.setPixel(1, 0, qRgb(200, 200, 200));
  ASSERT_TRUE(CreateBitmapFromQImage(colour, picture, false));
  ASSERT_TRUE(mono.CreateBitmap(3, 1, 1, 1, nullptr));

  std::unique_ptr<CDC> from = dc.CreateCompatibleDC(), to = dc.CreateCompatibleDC();
  from->SelectObject(&colour);
  to->SelectObject(&mono);
  from->SetBkColor(RGB(0, 255, 0));
  to->BitBlt(0, 0, 3, 1, from.get(), 0, 0, SRCCOPY);
  EXPECT_EQ(to->GetPixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(to->GetPixel(1, 0), RGB(0, 0, 0));  // light grey, but not the background colour
  EXPECT_EQ(to->GetPixel(2, 0), RGB(255, 255, 255));
}

struct LineCase {
  const char* name;
  CPoint from;
  CPoint to;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class QtImageDCLines : public QtImageDC, public ::testing::WithParamInterface<LineCase> {};

TEST_P(QtImageDCLines, LineToPaintsItsStartButNotItsEnd) {
  const LineCase& c = GetParam();
  QImage image = Filled(20, 20, kWhite);
  KQtImageDC dc(image);
  dc.MoveTo(c.from);
  dc.LineTo(c.to);
  EXPECT_EQ(dc.GetCurrentPosition(), c.to);
  EXPECT_EQ(image.pixel(c.from.x, c.from.y), kBlack);
  EXPECT_EQ(image.pixel(c.to.x, c.to.y), kWhite);
  // The pixel before the end is painted: the line runs all the way up to it.
  const CPoint before(c.to.x - (c.to.x > c.from.x) + (c.to.x < c.from.x),
                      c.to.y - (c.to.y > c.from.y) + (c.to.y < c.from.y));
  EXPECT_EQ(image.pixel(before.x, before.y), kBlack);
}

INSTANTIATE_TEST_SUITE_P(
    QtImageDC, QtImageDCLines,
    ::testing::Values(LineCase{"Rightwards", {2, 5}, {12, 5}}, LineCase{"Leftwards", {12, 5}, {2, 5}},
                      LineCase{"Downwards", {4, 1}, {4, 15}}, LineCase{"Diagonal", {1, 1}, {11, 11}},
                      LineCase{"UpAndLeft", {15, 15}, {5, 5}}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

struct AxisLineCase {
  const char* name;
  CPoint from;
  CPoint to;
  bool curve;  // drawn as a Bezier curve, which paints its very end too
};
void PrintTo(const AxisLineCase& c, std::ostream* os) { *os << c.name; }

class QtImageDCAxisLines : public QtImageDC, public ::testing::WithParamInterface<AxisLineCase> {};

// Horizontal and vertical solid lines take a shorter road than other lines:
// they must paint exactly the pixels of the general line walk, cut to the
// clip, and an XOR pen must touch each of them once.
TEST_P(QtImageDCAxisLines, PaintExactlyTheWalkedPixelsInsideTheClip) {
  const AxisLineCase& c = GetParam();
  QImage image = Filled(30, 30, kWhite);
  KQtImageDC dc(image);
  dc.IntersectClipRect(5, 5, 25, 25);
  dc.SetROP2(R2_XORPEN);
  CPen white(PS_SOLID, 0, RGB(255, 255, 255));
  dc.SelectObject(&white);
  // The general walk: every segment's pixels in turn (the last with its end
  // when the path asks for it), each one flipped by the XOR pen.
  std::vector<CPoint> path{c.from, c.to};
  if (c.curve) {
    const POINT points[4] = {c.from, c.from, c.to, c.to};
    dc.PolyBezier(points, 4);
    path = raster::FlattenBezier(c.from, c.from, c.to, c.to);
    if (path.size() < 2) path.push_back(path.front());
  } else {
    dc.MoveTo(c.from);
    dc.LineTo(c.to);
  }
  QImage expected = Filled(30, 30, kWhite);
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    for (const CPoint& p : raster::LinePixels(path[i], path[i + 1], c.curve && i + 2 == path.size())) {
      if (p.x < 5 || p.x >= 25 || p.y < 5 || p.y >= 25) continue;
      expected.setPixel(p.x, p.y, expected.pixel(p.x, p.y) == kWhite ? kBlack : kWhite);
    }
  }
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(image.pixel(x, y), expected.pixel(x, y)) << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    QtImageDC, QtImageDCAxisLines,
    ::testing::Values(AxisLineCase{"RightwardsAcrossTheClip", {0, 10}, {29, 10}, false},
                      AxisLineCase{"LeftwardsEndingInsideTheClip", {29, 12}, {8, 12}, false},
                      AxisLineCase{"DownwardsStartingInsideTheClip", {7, 9}, {7, 29}, false},
                      AxisLineCase{"UpwardsCurveWithItsEndPainted", {20, 24}, {20, 6}, true},
                      AxisLineCase{"RowAboveTheClip", {0, 2}, {29, 2}, false},
                      AxisLineCase{"ColumnRightOfTheClip", {26, 0}, {26, 29}, false},
                      AxisLineCase{"PointWithoutItsEnd", {10, 10}, {10, 10}, false},
                      AxisLineCase{"CurveOfOnePoint", {10, 10}, {10, 10}, true},
                      AxisLineCase{"DiagonalStillWalked", {6, 6}, {20, 14}, false}),
    [](const ::testing::TestParamInfo<AxisLineCase>& info) { return std::string(info.param.name); });

TEST_F(QtImageDC, LinesFarLongerThanTheImageDrawOnlyTheirVisiblePart) {
  QImage image = Filled(20, 20, kWhite);
  KQtImageDC dc(image);
  dc.MoveTo(-2000000000, 5);
  dc.LineTo(2000000000, 5);
  dc.MoveTo(10, -2000000000);
  dc.LineTo(10, 2000000000);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(image.pixel(i, 5), kBlack);
    EXPECT_EQ(image.pixel(10, i), kBlack);
  }
  EXPECT_EQ(image.pixel(3, 3), kWhite);
}

// The first and last rows holding a pixel that differs from `background`.
std::pair<int, int> InkRows(const QImage& image, QRgb background) {
  int first = -1, last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) {
        if (first < 0) first = y;
        last = y;
      }
  return {first, last};
}

TEST_F(QtImageDC, TextOutPlacesTheTopOfTheCharacterCellAtY) {
  LOGFONT logFont;
  logFont.lfHeight = 24;
  SetFaceName(logFont, "Arial");
  CFont font;
  font.CreateFontIndirect(&logFont);

  QImage image = Filled(60, 60, kWhite);
  KQtImageDC dc(image);
  dc.SelectObject(&font);
  TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(4, 20, "HdI");
  const auto [first, last] = InkRows(image, kWhite);
  // Tall letters start a little below y (the internal leading), never above,
  // and the ink stays inside the cell.
  EXPECT_GE(first, 20);
  EXPECT_LE(first, 20 + tm.tmInternalLeading + 2);
  EXPECT_LT(last, 20 + tm.tmHeight);
  // Precisely: the baseline is y + ascent, so the ink sits where the font's
  // own glyph box puts it under that baseline.
  const QRect ink = QFontMetrics(QtFontMapper::ToQFont(logFont)).tightBoundingRect("HdI");
  EXPECT_NEAR(first, 20 + tm.tmAscent + ink.top(), 1);
  EXPECT_NEAR(last, 20 + tm.tmAscent + ink.bottom(), 1);

  // In OPAQUE mode the whole cell is filled, from row y exactly.
  QImage opaque = Filled(60, 60, kWhite);
  KQtImageDC opaqueDC(opaque);
  opaqueDC.SelectObject(&font);
  opaqueDC.SetBkColor(RGB(255, 255, 0));
  opaqueDC.TextOut(4, 20, "HdI");
  const CSize extent = opaqueDC.GetTextExtent("HdI");
  EXPECT_EQ(opaque.pixel(4, 19), kWhite);
  EXPECT_EQ(opaque.pixel(4, 20), qRgb(255, 255, 0));
  EXPECT_EQ(opaque.pixel(4, 20 + tm.tmHeight - 1), qRgb(255, 255, 0));
  EXPECT_EQ(opaque.pixel(4, 20 + tm.tmHeight), kWhite);
  EXPECT_EQ(opaque.pixel(4 + extent.cx, 20), kWhite);
}

TEST_F(QtImageDC, ExtTextOutFillsAndClipsToItsRectangle) {
  QImage image = Filled(60, 30, kWhite);
  KQtImageDC dc(image);
  dc.SetBkColor(RGB(0, 255, 255));
  dc.SetBkMode(TRANSPARENT);
  const CRect box(10, 5, 20, 25);
  dc.ExtTextOut(12, 6, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWWWWWW");
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
      if (!box.PtInRect(CPoint(x, y))) {
        ASSERT_EQ(image.pixel(x, y), kWhite) << x << "," << y;
      }
  EXPECT_EQ(image.pixel(10, 5), qRgb(0, 255, 255));
  bool ink = false;
  for (int x = 12; x < 20; ++x) ink = ink || qRed(image.pixel(x, 12)) < 128;
  EXPECT_TRUE(ink);
}

TEST_F(QtImageDC, BlackOnWhiteShrinkingKeepsThinBlackLines) {
  CBitmap lines;
  std::vector<std::string> rows(40, std::string(40, '.'));
  for (std::string& row : rows) row[3] = row[17] = row[30] = '#';
  rows[21] = std::string(40, '#');
  MakeMono(lines, rows);

  const auto shrink = [&](int mode) {
    QImage image = Filled(10, 10, kWhite);
    KQtImageDC dc(image);
    std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
    memory->SelectObject(&lines);
    dc.SetStretchBltMode(mode);
    dc.StretchBlt(0, 0, 10, 10, memory.get(), 0, 0, 40, 40, SRCCOPY);
    memory->SelectObject(StockBitmap());
    return image;
  };
  const QImage kept = shrink(BLACKONWHITE);
  for (int i = 0; i < 10; ++i) {
    for (const int column : {3 / 4, 17 / 4, 30 / 4})
      EXPECT_EQ(kept.pixel(column, i), kBlack) << column << "," << i;
    EXPECT_EQ(kept.pixel(i, 21 / 4), kBlack);
  }
  EXPECT_EQ(kept.pixel(2, 2), kWhite);
  // Keeping one pixel in four loses lines that fall between the kept ones.
  const QImage sampled = shrink(COLORONCOLOR);
  int blackColumns = 0;
  for (int x = 0; x < 10; ++x) blackColumns += sampled.pixel(x, 0) == kBlack;
  EXPECT_LT(blackColumns, 3);
}

TEST_F(QtImageDC, PatternOperationsFollowTheirTruthTables) {
  struct Case {
    DWORD rop;
    QRgb expected;
  };
  const QRgb start = qRgb(0x30, 0x60, 0x90);
  for (const Case& c :
       {Case{WHITENESS, kWhite}, Case{BLACKNESS, kBlack}, Case{DSTINVERT, qRgb(0xCF, 0x9F, 0x6F)},
        Case{PATCOPY, qRgb(0xFF, 0x00, 0x00)}, Case{PATINVERT, qRgb(0xCF, 0x60, 0x90)}}) {
    QImage image = Filled(6, 6, start);
    KQtImageDC dc(image);
    CBrush red(RGB(255, 0, 0));
    dc.SelectObject(&red);
    EXPECT_TRUE(dc.PatBlt(1, 1, 3, 3, c.rop));
    EXPECT_EQ(image.pixel(2, 2), c.expected) << std::hex << c.rop;
    EXPECT_EQ(image.pixel(4, 4), start);
  }
}

TEST_F(QtImageDC, DrawingStaysInsideTheClipAndFollowsTheOrigin) {
  QImage image = Filled(30, 30, kWhite);
  KQtImageDC dc(image);
  dc.SetViewportOrg(-100, -200);  // logical (100, 200) is pixel (0, 0)
  dc.IntersectClipRect(105, 205, 115, 215);
  dc.FillSolidRect(CRect(100, 200, 130, 230), RGB(0, 0, 0));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(image.pixel(x, y), (x >= 5 && x < 15 && y >= 5 && y < 15) ? kBlack : kWhite) << x << "," << y;
  EXPECT_EQ(dc.GetPixel(106, 206), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(120, 206), CLR_INVALID);  // outside the clip
}

TEST_F(QtImageDC, MixModesCombinePenAndBrushWithThePixels) {
  QImage image(12, 12, QImage::Format_RGB32);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) image.setPixel(x, y, qRgb(x * 20, y * 20, 99));
  const QImage before = image.copy();
  KQtImageDC dc(image);
  CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
  CBrush brush(RGB(0, 255, 0));
  dc.SelectObject(&pen);
  dc.SelectObject(&brush);
  dc.SetROP2(R2_XORPEN);
  const POINT triangle[3] = {{1, 1}, {10, 2}, {4, 10}};
  for (int pass = 0; pass < 2; ++pass) {
    dc.Rectangle(2, 2, 9, 9);
    dc.Polygon(triangle, 3);
    dc.Polyline(triangle, 3);
  }
  EXPECT_EQ(image, before);
  dc.SetROP2(R2_NOP);
  dc.Ellipse(0, 0, 12, 12);
  EXPECT_EQ(image, before);
}

TEST_F(QtImageDC, RectangleFramesWithThePenAndFillsInsideWithTheBrush) {
  QImage image = Filled(12, 12, kWhite);
  KQtImageDC dc(image);
  CBrush blue(RGB(0, 0, 255));
  dc.SelectObject(&blue);
  dc.Rectangle(2, 3, 8, 9);
  EXPECT_EQ(image.pixel(2, 3), kBlack);
  EXPECT_EQ(image.pixel(7, 8), kBlack);  // right and bottom frame: last column and row inside
  EXPECT_EQ(image.pixel(8, 5), kWhite);  // right is outside
  EXPECT_EQ(image.pixel(5, 9), kWhite);
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
  dc.SelectStockObject(NULL_PEN);
  dc.Rectangle(0, 0, 2, 2);  // without a pen only the brush paints, one column and row smaller
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(1, 1), kWhite);
}

TEST_F(QtImageDC, DottedPenLeavesGapsOrFillsThemWithTheBackgroundWhenOpaque) {
  const auto dotted = [](int bkMode) {
    QImage image = Filled(20, 1, kWhite);
    KQtImageDC dc(image);
    CPen pen(PS_DOT, 1, RGB(0, 0, 0));
    dc.SelectObject(&pen);
    dc.SetBkMode(bkMode);
    dc.SetBkColor(RGB(255, 0, 0));
    dc.MoveTo(0, 0);
    dc.LineTo(20, 0);
    return image;
  };
  const QImage transparent = dotted(TRANSPARENT), opaque = dotted(OPAQUE);
  int dots = 0, gaps = 0;
  for (int x = 0; x < 20; ++x) {
    if (transparent.pixel(x, 0) == kBlack) {
      ++dots;
      EXPECT_EQ(opaque.pixel(x, 0), kBlack);
    } else {
      ++gaps;
      EXPECT_EQ(transparent.pixel(x, 0), kWhite);
      EXPECT_EQ(opaque.pixel(x, 0), qRgb(255, 0, 0));
    }
  }
  EXPECT_GT(dots, 0);
  EXPECT_GT(gaps, 0);
}

TEST_F(QtImageDC, AMonochromeBitmapTakesTextAndLinesInBlackAndWhite) {
  QImage screen = Filled(4, 4, kWhite);
  KQtImageDC dc(screen);
  CBitmap surface;
  ASSERT_TRUE(surface.CreateBitmap(40, 24, 1, 1, nullptr));
  std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
  memory->SelectObject(&surface);
  memory->PatBlt(0, 0, 40, 24, WHITENESS);
  memory->SetTextColor(RGB(40, 40, 40));
  memory->SetBkMode(TRANSPARENT);
  memory->TextOut(1, 1, "Wg");
  memory->MoveTo(0, 22);
  memory->LineTo(40, 22);
  const QImage picture = BitmapToQImage(surface);
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) black += picture.pixelIndex(x, y) == 0;
  EXPECT_GT(black, 10);
  EXPECT_EQ(memory->GetPixel(39, 22), RGB(0, 0, 0));
  EXPECT_EQ(memory->GetPixel(39, 23), RGB(255, 255, 255));
}

TEST_F(QtImageDC, OverlappingCopyWithinOneImageReadsTheOriginalPixels) {
  QImage image = Filled(10, 1, kWhite);
  for (int x = 0; x < 5; ++x) image.setPixel(x, 0, qRgb(x * 50, 0, 0));
  const QImage before = image.copy();
  KQtImageDC dc(image);
  EXPECT_TRUE(dc.BitBlt(2, 0, 5, 1, &dc, 0, 0, SRCCOPY));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(image.pixel(x + 2, 0), before.pixel(x, 0));
}

}  // namespace
