#include <gtest/gtest.h>

#include <vector>

#include "platform/FixedTextMeasurer.h"
#include "platform/GdiFaults.h"
#include "platform/RecordingDC.h"

namespace {

LOGFONT BoldArial16() {
  LOGFONT font;
  font.lfHeight = 16;
  font.lfWeight = FW_BOLD;
  font.lfOutPrecision = 3;
  font.lfClipPrecision = 2;
  font.lfQuality = 1;
  font.lfPitchAndFamily = 34;
  SetFaceName(font, "Arial");
  return font;
}

// Draws a small symbol the way the symbol code does: the bitmap goes through a
// memory device context and is ANDed onto the target.
void BlitSymbol(CDC& dc, CBitmap& symbol, int x, int y) {
  std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
  ASSERT_NE(memory, nullptr);
  CBitmap* old = memory->SelectObject(&symbol);
  const CSize size = symbol.GetSize();
  dc.BitBlt(x, y, size.cx, size.cy, memory.get(), 0, 0, SRCAND);
  memory->SelectObject(old);
}

TEST(RecordingDC, WritesDownADrawingCallByCall) {
  RecordingDC dc;
  CPen pen(PS_DOT, 1, RGB(0, 0, 0));
  CFont font;
  const LOGFONT logFont = BoldArial16();
  ASSERT_TRUE(font.CreateFontIndirect(&logFont));
  CBitmap symbol;
  ASSERT_TRUE(symbol.CreateBitmap(8, 12, 1, 1, nullptr));
  symbol.SetLabel("2123");

  CPen* oldPen = dc.SelectObject(&pen);
  dc.MoveTo(0, 98);
  dc.LineTo(10000, 98);
  dc.SelectObject(oldPen);
  CFont* oldFont = dc.SelectObject(&font);
  dc.SetTextColor(RGB(255, 0, 0));
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(2, 40, "Bar \"3\"\xE9");
  dc.SetBkMode(OPAQUE);
  dc.SelectObject(oldFont);
  BlitSymbol(dc, symbol, 30, 50);
  dc.SetStretchBltMode(BLACKONWHITE);
  const CRect box(1, 2, 30, 20);
  dc.ExtTextOut(5, 6, ETO_OPAQUE | ETO_CLIPPED, &box, "C#");
  dc.InvertRect(CRect(0, 0, 4, 4));

  const std::vector<std::string> expected = {
      "SelectObject pen(PS_DOT,1,RGB(0,0,0))",
      "MoveTo 0,98",
      "LineTo 10000,98",
      "SelectObject stock(BLACK_PEN)",
      "SelectObject font(16,0,0,0,700,0,0,0,0,3,2,1,34,Arial)",
      "SetTextColor RGB(255,0,0)",
      "SetBkMode TRANSPARENT",
      "TextOut 2,40 \"Bar \\\"3\\\"\\xE9\"",
      "SetBkMode OPAQUE",
      "SelectObject stock(SYSTEM_FONT)",
      "CreateCompatibleDC mem1",
      "mem1: SelectObject bitmap(2123 8x12x1)",
      "BitBlt 30,50 8x12 mem1=bitmap(2123 8x12x1) 0,0 SRCAND",
      "mem1: SelectObject stock(DEFAULT_BITMAP)",
      "SetStretchBltMode BLACKONWHITE",
      "ExtTextOut 5,6 ETO_OPAQUE|ETO_CLIPPED 1,2,30,20 \"C#\"",
      "InvertRect 0,0,4,4",
  };
  EXPECT_EQ(dc.Lines(), expected);
}

TEST(RecordingDC, SelectingReturnsWhatWasSelectedBefore) {
  RecordingDC dc;
  CPen pen(PS_SOLID, 2, RGB(1, 2, 3));
  CBrush brush(RGB(9, 9, 9));
  CFont font;
  const LOGFONT logFont = BoldArial16();
  font.CreateFontIndirect(&logFont);

  EXPECT_EQ(dc.SelectObject(&pen), StockPen(BLACK_PEN));
  EXPECT_EQ(dc.SelectObject(&brush), StockBrush(WHITE_BRUSH));
  EXPECT_EQ(dc.SelectObject(&font), StockFont(SYSTEM_FONT));
  EXPECT_EQ(dc.SelectStockObject(NULL_PEN), &pen);
  EXPECT_EQ(dc.SelectObject(static_cast<CGdiObject*>(StockBrush(BLACK_BRUSH))), &brush);
  EXPECT_EQ(dc.GetCurrentFont(), &font);

  // An object that was never created selects nothing and changes nothing.
  CPen never;
  EXPECT_EQ(dc.SelectObject(&never), nullptr);
  EXPECT_EQ(dc.GetCurrentPen(), StockPen(NULL_PEN));
}

TEST(RecordingDC, DrawingUsesTheDescriptionCopiedWhenSelected) {
  RecordingDC dc;
  {
    CPen pen(PS_SOLID, 3, RGB(0, 0, 255));
    dc.SelectObject(&pen);
  }  // the pen is gone; the context still knows what to draw with
  EXPECT_EQ(dc.SelectedPen().lopnWidth.x, 3);
  EXPECT_EQ(dc.SelectedPen().lopnColor, RGB(0, 0, 255));
}

TEST(RecordingDC, RestoreDCBringsBackObjectsColoursModesAndOrigins) {
  RecordingDC dc;
  CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
  const int first = dc.SaveDC();
  dc.SelectObject(&pen);
  dc.SetTextColor(RGB(1, 1, 1));
  dc.SetBkMode(TRANSPARENT);
  dc.SetViewportOrg(0, -500);
  const int second = dc.SaveDC();
  dc.SetTextColor(RGB(2, 2, 2));
  dc.IntersectClipRect(0, 0, 5, 5);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);

  EXPECT_TRUE(dc.RestoreDC(-1));
  EXPECT_EQ(dc.GetTextColor(), RGB(1, 1, 1));
  CRect clip;
  EXPECT_EQ(dc.GetClipBox(&clip), SIMPLEREGION);
  EXPECT_EQ(clip, CRect(0, 500, 1024, 1268));  // the whole surface again, seen through the origin

  EXPECT_TRUE(dc.RestoreDC(first));
  EXPECT_EQ(dc.GetCurrentPen(), StockPen(BLACK_PEN));
  EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
  EXPECT_FALSE(dc.RestoreDC(1));  // nothing saved any more
  EXPECT_FALSE(dc.RestoreDC(0));
}

TEST(RecordingDC, ClipAndOriginsConvertBetweenLogicalAndDevicePixels) {
  RecordingDC dc;
  dc.SetViewportOrg(-10, -200);  // scrolled 10 right and 200 down
  CPoint p(15, 230);
  dc.LPtoDP(&p);
  EXPECT_EQ(p, CPoint(5, 30));
  dc.DPtoLP(&p);
  EXPECT_EQ(p, CPoint(15, 230));

  EXPECT_EQ(dc.IntersectClipRect(0, 210, 50, 260), SIMPLEREGION);
  CRect box;
  dc.GetClipBox(&box);
  EXPECT_EQ(box, CRect(10, 210, 50, 260));  // limited by the surface's left edge at logical x 10
  EXPECT_TRUE(dc.PtVisible(20, 220));
  EXPECT_FALSE(dc.PtVisible(20, 205));
  EXPECT_EQ(dc.IntersectClipRect(100, 100, 120, 120), NULLREGION);
  EXPECT_EQ(dc.GetPixel(20, 220), CLR_INVALID);
}

TEST(RecordingDC, ArgumentsThatCannotBeDrawnAreRefused) {
  RecordingDC dc;
  const POINT three[3] = {{0, 0}, {1, 1}, {2, 2}};
  EXPECT_FALSE(dc.PolyBezier(three, 3));  // a curve needs 3n + 1 points
  EXPECT_FALSE(dc.Polyline(three, 1));
  EXPECT_FALSE(dc.PatBlt(0, 0, 5, 5, SRCCOPY));  // no source for a pattern fill
  EXPECT_FALSE(dc.BitBlt(0, 0, 5, 5, nullptr, 0, 0, SRCAND));
  EXPECT_EQ(dc.SetBkMode(7), 0);
  EXPECT_EQ(dc.SetROP2(0), 0);
  EXPECT_EQ(dc.SetStretchBltMode(9), 0);
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
}

TEST(RecordingDC, CreationFailuresCanBeInjected) {
  RecordingDC dc;
  FailNextGdiCreations(GdiResource::Pen);
  CPen pen;
  EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, 0));
  EXPECT_EQ(pen.GetSafeHandle(), nullptr);
  EXPECT_TRUE(pen.CreatePen(PS_SOLID, 1, 0));

  FailNextGdiCreations(GdiResource::MemoryDC, 2);
  EXPECT_EQ(dc.CreateCompatibleDC(), nullptr);
  EXPECT_EQ(dc.CreateCompatibleDC(), nullptr);
  EXPECT_NE(dc.CreateCompatibleDC(), nullptr);
  EXPECT_EQ(dc.Lines().front(), "CreateCompatibleDC failed");

  FailNextGdiCreations(GdiResource::Bitmap);
  ResetGdiFaults();
  CBitmap bitmap;
  EXPECT_TRUE(bitmap.CreateBitmap(2, 2, 1, 1, nullptr));
}

TEST(RecordingDC, MeasuresTextWithTheFixedWidthMeasurer) {
  RecordingDC dc;
  CFont font;
  LOGFONT logFont = BoldArial16();
  font.CreateFontIndirect(&logFont);
  dc.SelectObject(&font);
  EXPECT_EQ(dc.GetTextExtent("Hello"), CSize(5 * 8, 16));
  TEXTMETRIC tm;
  ASSERT_TRUE(dc.GetTextMetrics(&tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_EQ(tm.tmAveCharWidth, 8);

  // A negative height is the character height; the cell adds the internal leading.
  logFont.lfHeight = -16;
  CFont characterHeight;
  characterHeight.CreateFontIndirect(&logFont);
  dc.SelectObject(&characterHeight);
  dc.GetTextMetrics(&tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);
  EXPECT_EQ(dc.GetTextExtent("ab").cx, 2 * FixedTextMeasurer::AveCharWidth(logFont));
}

// ---------------------------------------------------------------- memory device contexts

TEST(MemoryDC, ABitmapIsSelectedIntoOneContextAtATime) {
  RecordingDC dc;
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(4, 4, 1, 1, nullptr));
  EXPECT_EQ(dc.SelectObject(&bitmap), nullptr);  // not a memory device context

  std::unique_ptr<CDC> first = dc.CreateCompatibleDC();
  std::unique_ptr<CDC> second = dc.CreateCompatibleDC();
  EXPECT_EQ(first->SelectObject(&bitmap), StockBitmap());
  EXPECT_EQ(second->SelectObject(&bitmap), nullptr);
  EXPECT_FALSE(bitmap.DeleteObject());  // in use

  first.reset();  // a context that goes lets its bitmap go
  EXPECT_EQ(second->SelectObject(&bitmap), StockBitmap());
  second->SelectObject(StockBitmap());
  EXPECT_TRUE(bitmap.DeleteObject());
}

TEST(MemoryDC, DestroyingASelectedBitmapLeavesTheContextDrawable) {
  RecordingDC dc;
  std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
  {
    CBitmap bitmap;
    bitmap.CreateBitmap(3, 3, 1, 32, nullptr);
    memory->SelectObject(&bitmap);
  }
  ASSERT_TRUE(memory->SelectedBitmapData());
  EXPECT_EQ(memory->SelectedBitmapData()->width, 3);
  CRect box;
  memory->GetClipBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 3, 3));
}

TEST(MemoryDC, CompatibleBitmapsTakeTheFormatOfTheDevice) {
  DeviceCaps monoPrinter;
  monoPrinter.bitsPixel = 1;
  monoPrinter.numColors = 2;
  RecordingDC screen, printer(monoPrinter, true);
  std::unique_ptr<CDC> memory = screen.CreateCompatibleDC();

  struct Case {
    CDC* dc;
    int bitsPixel;
  };
  for (const Case& c : {Case{&screen, 32}, Case{&printer, 1}, Case{memory.get(), 1}}) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(c.dc, 5, 5));
    BITMAP info;
    bitmap.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, c.bitsPixel);
  }
  EXPECT_TRUE(printer.IsPrinting());
  EXPECT_FALSE(screen.IsPrinting());
  EXPECT_EQ(printer.GetDeviceCaps(NUMCOLORS), 2);
}

TEST(MemoryDC, BitmapBitsKeepTheClassicRowLayout) {
  // Monochrome rows padded to 2 bytes.
  const BYTE mono[] = {0xA5, 0x80, 0x5A, 0x00};
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(9, 2, 1, 1, mono));
  BYTE back[4] = {};
  EXPECT_EQ(bitmap.GetBitmapBits(sizeof back, back), 4u);
  EXPECT_EQ(back[0], 0xA5);
  EXPECT_EQ(back[1] & 0x80, 0x80);
  EXPECT_EQ(back[2], 0x5A);
  EXPECT_EQ(bitmap.Pixels()->Get(0, 0), 0xFFFFFFu);  // 1 is white
  EXPECT_EQ(bitmap.Pixels()->Get(1, 0), 0u);

  // 24-bit colour rows (B, G, R) come back as 4 bytes per pixel.
  const BYTE colour[] = {1, 2, 3, 4, 5, 6};
  CBitmap colourBitmap;
  ASSERT_TRUE(colourBitmap.CreateBitmap(2, 1, 1, 24, colour));
  BYTE out[8] = {};
  colourBitmap.GetBitmapBits(sizeof out, out);
  EXPECT_EQ(std::vector<BYTE>(out, out + 8), (std::vector<BYTE>{1, 2, 3, 0, 4, 5, 6, 0}));

  CBitmap refused;
  EXPECT_FALSE(refused.CreateBitmap(0, 5, 1, 1, nullptr));
  EXPECT_FALSE(refused.CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr));  // far too large to hold
  EXPECT_FALSE(refused.CreateBitmap(2, 2, 1, 8, colour));                // a depth without a layout
}

}  // namespace
