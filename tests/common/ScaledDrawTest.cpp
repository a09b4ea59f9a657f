#include <string>
#include <vector>

#include "DrawTestSupport.h"
#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"

namespace {

using Lines = std::vector<std::string>;

class ScaledDraw : public SymbolDrawTest {
 protected:
  ScaledDraw() {
    g_screenResX = g_screenResY = 96;
    g_deviceResX = 600;
    g_deviceResY = 300;
    font.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    italic.CreateFont(12, 0, 0, 0, 400, 1, 0, 0, 0, 0, 0, 0, 0, "Arial");
  }

  // A monochrome 7 x 5 picture.
  void MakePicture() { ASSERT_TRUE(picture.CreateBitmap(7, 5, 1, 1, nullptr)); }

  CFont font;
  CFont italic;
  CBitmap picture;
};

TEST_F(ScaledDraw, DevicePathMapsEachPointFromScreenUnits) {
  struct Case {
    bool printing;
    int deviceRender;
    int x;
    int y;
    std::string moved;
  };
  const std::vector<Case> cases = {
      {false, 0, 10, 20, "MoveTo 10,20"},   // the screen passes points through
      {true, 0, 10, 20, "MoveTo 62,62"},    // 6000 / 96 and 6000 / 96
      {true, 0, -10, -3, "MoveTo -62,-9"},  // truncated toward zero
      {false, 1, 10, 20, "MoveTo 62,62"},   // device-resolution rendering
  };
  for (const Case& c : cases) {
    RecordingDC dc(DeviceCaps(), c.printing);
    g_deviceRender = c.deviceRender;
    ScaledMoveTo(&dc, c.x, c.y);
    EXPECT_EQ(dc.Lines(), Lines{c.moved});
  }
}

TEST_F(ScaledDraw, LinesAndCurvesAreMapped) {
  ScaledLineTo(&printer, 96, 192);
  const POINT points[4] = {{0, 0}, {96, 0}, {96, 96}, {192, 96}};
  ScaledPolyBezier(&printer, points, 4);
  ScaledPolyBezier(&screen, points, 4);
  EXPECT_EQ(printer.Lines(), (Lines{"LineTo 600,600", "PolyBezier 0,0 600,0 600,300 1200,300"}));
  EXPECT_EQ(screen.Lines(), Lines{"PolyBezier 0,0 96,0 96,96 192,96"});
}

TEST_F(ScaledDraw, BlitsCopyThroughAMemoryContext) {
  MakePicture();
  picture.SetLabel("p");
  BlitBitmap(&screen, &picture, 3, 4, SRCAND);
  StretchBlitBitmap(&screen, &picture, 3, 4, 150, 50, SRCAND);
  EXPECT_EQ(screen.Lines(), (Lines{
                                "CreateCompatibleDC mem1",
                                "mem1: SelectObject bitmap(p 7x5x1)",
                                "BitBlt 3,4 7x5 mem1=bitmap(p 7x5x1) 0,0 SRCAND",
                                "mem1: SelectObject stock(DEFAULT_BITMAP)",
                                "CreateCompatibleDC mem2",
                                "mem2: SelectObject bitmap(p 7x5x1)",
                                "SetStretchBltMode BLACKONWHITE",
                                "StretchBlt 3,4 10x2 mem2=bitmap(p 7x5x1) 0,0 7x5 SRCAND",
                                "mem2: SelectObject stock(DEFAULT_BITMAP)",
                            }));
}

TEST_F(ScaledDraw, BlitsOfNothingDrawNothing) {
  CBitmap empty;
  BlitBitmap(&screen, nullptr, 0, 0, SRCAND);
  BlitBitmap(&screen, &empty, 0, 0, SRCAND);
  StretchBlitBitmap(&screen, &empty, 0, 0, 100, 100, SRCAND);
  MakePicture();
  StretchBlitBitmap(&screen, &picture, 0, 0, 10, 100, SRCAND);  // less than a pixel wide
  EXPECT_TRUE(screen.Lines().empty());
}

TEST_F(ScaledDraw, BlitWithoutAMemoryContextIsReportedOncePerRun) {
  MakePicture();
  FailNextGdiCreations(GdiResource::MemoryDC, 3);
  BlitBitmap(&screen, &picture, 0, 0, SRCAND);
  BlitBitmap(&screen, &picture, 0, 0, SRCAND);
  StretchBlitBitmap(&screen, &picture, 0, 0, 50, 50, SRCAND);
  EXPECT_TRUE(TargetLines(screen, {"BitBlt", "StretchBlt"}).empty());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, kMsgInternalProblem);
  EXPECT_EQ(Ending(ui.Messages()[0].text), "(Error Glb-2)");

  g_ReportedOnce = 0;
  FailNextGdiCreations(GdiResource::MemoryDC, 1);
  StretchBlitBitmap(&screen, &picture, 0, 0, 50, 50, SRCAND);
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(Ending(ui.Messages()[1].text), "(Error Glb-13)");
}

TEST_F(ScaledDraw, TextLeavesTheBackgroundOpaque) {
  ScaledTextOut(&screen, 5, 6, CString("ab"), 0);
  ScaledTextOutBk(&screen, 5, 6, "cde", 2, 1);
  EXPECT_EQ(screen.Lines(), (Lines{"SetBkMode TRANSPARENT", "TextOut 5,6 \"ab\"", "SetBkMode OPAQUE",
                                   "SetBkMode OPAQUE", "TextOut 5,6 \"cd\"", "SetBkMode OPAQUE"}));
}

TEST_F(ScaledDraw, DeviceTextUsesTheFontScaledToTheDevice) {
  printer.SelectObject(&font);
  printer.Clear();
  ScaledTextOut(&printer, 96, 96, CString("ab"), 1);
  EXPECT_EQ(printer.Lines(), (Lines{
                                 "SetBkMode OPAQUE",
                                 "SelectObject font(37,0,0,0,400,0,0,0,0,0,0,0,0,Arial)",  // 12 * 300 / 96
                                 "TextOut 600,300 \"ab\"",
                                 "SelectObject font(12,0,0,0,400,0,0,0,0,0,0,0,0,Arial)",
                                 "SetBkMode OPAQUE",
                             }));
  EXPECT_EQ(printer.GetCurrentFont(), &font);
}

TEST_F(ScaledDraw, ExtTextMapsThePointAndTheRectangle) {
  const RECT box{96, 96, 192, 192};
  const int widths[2] = {4, 5};
  ScaledExtTextOutStr(&screen, 96, 96, ETO_OPAQUE, box, CString("xyz"), 2, widths);
  ScaledExtTextOutStr(&printer, 96, 96, ETO_OPAQUE, box, CString("xy"), 5, widths);  // at most the string
  EXPECT_EQ(screen.Lines(), Lines{"ExtTextOut 96,96 ETO_OPAQUE 96,96,192,192 \"xy\" dx=4,5"});
  EXPECT_EQ(TargetLines(printer, {"ExtTextOut", "SetBkMode"}),
            Lines{"ExtTextOut 600,300 ETO_OPAQUE 600,300,1200,600 \"xy\" dx=4,5"});
}

TEST_F(ScaledDraw, FittedTextDrawsNothingOnTheScreen) {
  ScaledTextOutFitted(&screen, 0, 0, CString("some words"));
  EXPECT_TRUE(screen.Lines().empty());
}

// Layout 96 dots per inch both ways, device 96 across and 192 down: the device
// font is twice as high, so twice as wide, while positions across stay.
TEST_F(ScaledDraw, FittedWordsKeepTheirPlaceButNeverOverlap) {
  g_deviceResX = 96;
  g_deviceResY = 192;
  g_textPrintCorr = 100;
  RecordingDC layout;
  layout.SelectObject(&font);  // 6 pixels a character on the layout
  g_layoutDC = &layout;
  printer.SelectObject(&font);
  printer.Clear();
  ScaledTextOutFitted(&printer, 10, 5, CString("ab  cd          ef"));
  // Device font 24 high: 12 a character, space width 12 - 1 = 11. A word
  // keeps one space from the end of the one before (the first from 0):
  // "ab" stands at 10, goes to 11, ends 35; "cd" stands at 10 + 24 = 34, goes
  // to 46; "ef" stands at 10 + 96 = 106, clear of "cd".
  EXPECT_EQ(TargetLines(printer, {"TextOut", "SetBkMode"}),
            (Lines{"SetBkMode TRANSPARENT", "TextOut 11,10 \"ab\"", "TextOut 46,10 \"cd\"",
                   "TextOut 106,10 \"ef\"", "SetBkMode OPAQUE"}));
  EXPECT_EQ(printer.GetCurrentFont(), &font);
}

TEST_F(ScaledDraw, FittedTextIsScaledByTheTextCorrection) {
  g_textPrintCorr = 50;
  printer.SelectObject(&font);
  ScaledTextOutFitted(&printer, 0, 0, CString("a"));
  // 12 * 50 * 300 / (96 * 100) = 18.75
  EXPECT_EQ(TargetLines(printer, {"SelectObject font(18,"}).size(), 1u);
}

TEST_F(ScaledDraw, FittedItalicTextIsDrawnInOnePieceFromItsFirstWord) {
  g_deviceResX = 96;
  printer.SelectObject(&italic);
  printer.Clear();
  // Without a layout context the words are measured in the selected font: 6 a character.
  ScaledTextOutFitted(&printer, 10, 0, CString("  ab cd"));
  EXPECT_EQ(TargetLines(printer, {"TextOut"}), Lines{"TextOut 22,0 \"ab cd\""});
}

}  // namespace
