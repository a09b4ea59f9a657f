// Rendering the drawing cache, read back from a recording device context.

#include <algorithm>
#include <cstdio>

#include "SpeedLineTestSupport.h"
#include "common/ErrorReporter.h"

namespace {

using namespace speedline;

class SpeedLineRender : public SpeedLineTest {
 protected:
  static bool Has(const Texts& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // The MoveTo / LineTo pairs as "x1,y1-x2,y2".
  static Texts Strokes(const RecordingDC& dc) {
    Texts out;
    const Texts lines = TargetLines(dc, {"MoveTo ", "LineTo "});
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
      out.push_back(lines[i].substr(7) + "-" + lines[i + 1].substr(7));
    return out;
  }

  KListLine staff{0, kStaffKind, 0, -1, 0};
  KListLine tab{0, kTabKind, 0, -1, 0};
};

TEST_F(SpeedLineRender, AStaffDrawsItsFrameThenHeadsStemsAndBars) {
  // A quarter of voice 1 on step 18, a bar, an eighth of voice 0 on step 10.
  FillLine(staff, {StaffColumn(0, {{18, 8}}), new KChord(1, 1, 21, 0), StaffColumn(2, {{10, 1}})});
  KSpeedLine cache(kStaffKind, 0, staff.GetObjList(), 0, 0, 0, 0, "");
  cache.Render(&screen, 0, 0, 10000, 0);

  // The top line lies at the space above the staff (22); the columns start after the clef area (34).
  const Texts strokes = Strokes(screen);
  ASSERT_GE(strokes.size(), 6u);
  EXPECT_EQ(Texts(strokes.begin(), strokes.begin() + 6),
            (Texts{"0,22-108,22", "0,28-108,28", "0,34-108,34", "0,40-108,40", "0,46-108,46", "0,22-0,46"}));
  EXPECT_TRUE(Has(strokes, "46,34-46,14")) << "the quarter's stem, up 19 pixels from its head";
  EXPECT_TRUE(Has(strokes, "60,22-60,46")) << "the bar of column 1 over the staff";
  EXPECT_TRUE(Has(strokes, "75,10-75,31")) << "the eighth's stem, down 20 pixels";
  EXPECT_TRUE(Has(strokes, "72,16-86,16")) << "the ledger line on step 12 round the eighth's head";
  EXPECT_TRUE(Has(strokes, "72,10-86,10")) << "the ledger line on step 10";
  const Texts blits = Blits(screen);
  EXPECT_TRUE(Has(blits, "2268 39,31 8x12")) << "the quarter's head";
  EXPECT_TRUE(Has(blits, "2268 75,7 8x12")) << "the eighth's head";
  EXPECT_TRUE(Has(blits, "2231 75,15 8x12")) << "the eighth's flag below its stem";
}

// A staff that ends with a bar ends at that bar, its lines stopping at the
// bar's rightmost stroke; a staff that ends with notes runs on 20 pixels past
// its last column, where the next note goes.
TEST_F(SpeedLineRender, StaffLinesEndAtAClosingBar) {
  struct Case {
    const char* what;
    int lastCode;  // the code of column 2, after a quarter and a bar
    bool closing;  // the line ends at the bar's strokes
  };
  const Case cases[] = {{"final bar", 23, true},  {"single bar", 21, true},       {"double bar", 22, true},
                        {"end repeat", 25, true}, {"repeat both ways", 96, true}, {"quarter note", 8, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KListLine line{0, kStaffKind, 0, -1, 0};
    KChord* last = c.closing ? new KChord(2, 1, c.lastCode, 0) : StaffColumn(2, {{18, c.lastCode}});
    FillLine(line, {StaffColumn(0, {{18, 8}}), new KChord(1, 1, 21, 0), last});
    KSpeedLine cache(kStaffKind, 0, line.GetObjList(), 0, 0, 0, 0, "");
    screen.Clear();
    cache.Render(&screen, 0, 0, 10000, 0);
    int lineEnd = -1;    // the end of the top line (y 22)
    int rightmost = -1;  // the rightmost vertical stroke right of column 2's x
    for (const std::string& stroke : Strokes(screen)) {
      int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      ASSERT_EQ(std::sscanf(stroke.c_str(), "%d,%d-%d,%d", &x1, &y1, &x2, &y2), 4) << stroke;
      if (y1 == 22 && y2 == 22) lineEnd = std::max(lineEnd, x2);
      if (x1 == x2 && x1 >= 34 + 2 * 18) rightmost = std::max(rightmost, x1);
    }
    if (c.closing) {
      EXPECT_EQ(lineEnd, rightmost + 1);
    } else {
      EXPECT_EQ(lineEnd, 34 + 3 * 18 + 20);
    }
  }
}

TEST_F(SpeedLineRender, TablatureFretsAreTextOnAnOpaqueBoxAndHalvesAreRinged) {
  FillLine(tab, {TabColumn(0, {Fret(3, 5, 8)}), TabColumn(1, {Fret(2, 12, 10)})});
  KSpeedLine cache(kTabKind, 0, tab.GetObjList(), 0, 0, 0, 0, kGuitar);
  cache.Render(&screen, 0, 0, 10000, 0);
  // Row 3 lies at 14 + 11; the text stands 7 higher, a one-digit fret a third
  // of the column further right. The box has the margin of the setting round
  // the text (8 x 16 in the recording context's font).
  const Texts text = TargetLines(screen, {"FillSolidRect", "TextOut"});
  EXPECT_EQ(text, (Texts{"FillSolidRect 38,16,50,36 RGB(255,255,255)", "TextOut 40,18 \"5\"",
                         "FillSolidRect 50,5,70,25 RGB(255,255,255)", "TextOut 52,7 \"12\""}));
  EXPECT_EQ(Blits(screen), Texts{"3325 54,9 8x12"});
  // Both stems hang under the bottom string (row 7 at 14 + 55), clear of
  // its fret numbers.
  EXPECT_TRUE(Has(Strokes(screen), "43,76-43,87")) << "the quarter's stem under the strings";
  EXPECT_TRUE(Has(Strokes(screen), "61,76-61,87")) << "the half's stem under the strings";

  for (int margin : {0, 99}) {
    screen.Clear();
    g_fretBoxMargin = margin;
    cache.Render(&screen, 0, 0, 10000, 0);
    EXPECT_EQ(TargetLines(screen, {"FillSolidRect"}), Texts{}) << margin;
  }
}

TEST_F(SpeedLineRender, TheColourModeColoursFretsAndRestoresTheTextColour) {
  FillLine(tab, {TabColumn(0, {Fret(3, 5, 8)})});
  KSpeedLine cache(kTabKind, 0, tab.GetObjList(), 0, 0, 0, 0, kGuitar);
  g_colourMode = 3;
  cache.Render(&screen, 0, 0, 10000, 0);
  EXPECT_EQ(TargetLines(screen, {"SetTextColor"}),
            (Texts{"SetTextColor RGB(128,0,128)", "SetTextColor RGB(0,0,0)"}));
}

TEST_F(SpeedLineRender, OnlyTheColumnsInTheRangeAndLeftOfTheClipAreDrawn) {
  FillLine(tab, {TabColumn(0, {Fret(2, 0, 12)}), TabColumn(1, {Fret(2, 1, 12)}),
                 TabColumn(2, {Fret(2, 2, 12)}), TabColumn(3, {Fret(2, 3, 12)})});
  KSpeedLine cache(kTabKind, 0, tab.GetObjList(), 0, 0, 0, 0, kGuitar);
  auto frets = [&] {
    Texts out;
    for (const std::string& line : TargetLines(screen, {"TextOut"}))
      out.push_back(line.substr(line.size() - 2, 1));
    return out;
  };
  cache.Render(&screen, 0, 1, 2, 0);
  EXPECT_EQ(frets(), (Texts{"1", "2"}));
  screen.Clear();
  // Column 2 starts on the clip's right edge and is drawn (its symbols may
  // reach left of it); column 3 lies beyond.
  screen.IntersectClipRect(0, 0, 34 + 2 * 18, 200);
  cache.Render(&screen, 0, 0, 10000, 0);
  EXPECT_EQ(frets(), (Texts{"0", "1", "2"}));
}

TEST_F(SpeedLineRender, PrintingDrawsLinesWithPensOfThePrintAndBeamsThick) {
  g_screenResX = g_screenResY = g_deviceResX = g_deviceResY = 300;
  g_printSizePct = 200;
  g_deviceDpiX = 600;
  g_lineWidthSetting = 2;
  FillLine(staff, {StaffColumn(0, {{18, 8}})});
  KSpeedLine cache(kStaffKind, 0, staff.GetObjList(), 0, 0, 0, 0, "");
  cache.Render(&printer, 0, 0, 10000, 0);
  const Texts pens = TargetLines(printer, {"SelectObject pen"});
  // Thin: (2 - 1) x 200 / 100 + 1; the stem is drawn with it.
  EXPECT_TRUE(Has(pens, "SelectObject pen(PS_SOLID,3,RGB(0,0,0))"));
  // Thick: 4 x 200 / 100 + min(600 / 130, 5) - 2.
  EXPECT_TRUE(Has(pens, "SelectObject pen(PS_SOLID,10,RGB(0,0,0))"));
}

TEST_F(SpeedLineRender, APenThatCannotBeMadeIsReportedOnceAndNothingIsDrawn) {
  FillLine(staff, {StaffColumn(0, {{18, 8}})});
  KSpeedLine cache(kStaffKind, 0, staff.GetObjList(), 0, 0, 0, 0, "");
  for (int run = 0; run < 2; ++run) {
    printer.Clear();
    FailNextGdiCreations(GdiResource::Pen);
    cache.Render(&printer, 0, 0, 10000, 0);
    EXPECT_EQ(TargetLines(printer, {"MoveTo", "LineTo", "BitBlt", "StretchBlt"}), Texts{});
  }
  const auto texts = MessageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(Ending(texts[0]), "(Error KSp-1)");
}

}  // namespace
