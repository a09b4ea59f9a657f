#include <string>
#include <vector>

#include "DrawTestSupport.h"
#include "common/BarLines.h"
#include "common/ErrorReporter.h"

namespace {

using Lines = std::vector<std::string>;

class BarLines : public SymbolDrawTest {
 protected:
  BarLines() {
    // The device draws at the layout's resolution, so device points read as layout points.
    g_screenResX = g_screenResY = 300;
    g_deviceResX = g_deviceResY = 300;
  }

  // The x of each stroke, checking that each runs from `from` to `to`.
  static std::vector<int> StrokeXs(const RecordingDC& dc, int from, int to) {
    std::vector<int> xs;
    const Lines lines = TargetLines(dc, {"MoveTo", "LineTo"});
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
      const int x = std::stoi(lines[i].substr(7));
      EXPECT_EQ(lines[i], "MoveTo " + std::to_string(x) + "," + std::to_string(from));
      EXPECT_EQ(lines[i + 1], "LineTo " + std::to_string(x) + "," + std::to_string(to));
      xs.push_back(x);
    }
    EXPECT_EQ(lines.size() % 2, 0u);
    return xs;
  }
};

TEST_F(BarLines, EachKindDrawsItsStrokesAndDots) {
  struct Case {
    int code;
    int size;
    std::vector<int> strokes;
    Lines dots;
  };
  // Tablature bar at x 50 from y 100 over 30 pixels.
  const std::vector<Case> cases = {
      {21, 0, {58}, {}},
      {22, 0, {55, 59}, {}},
      {23, 0, {58, 61, 62, 63}, {}},
      {24, 0, {52, 53, 54, 57}, {"2134 52,107 8x12"}},
      {25, 0, {56, 59, 60, 61}, {"2135 51,107 8x12"}},
      {26, 0, {}, {"2136 52,106 8x12"}},
      {96, 0, {55, 58, 59, 60, 63}, {"2206 50,107 8x12"}},
      {97, 0, {56}, {"2207 50,103 8x12"}},
      {10023, 0, {56, 57, 58, 61}, {}},
      {133, 1, {58}, {}},                                // large codes are reduced by 112
      {136, 1, {52, 53, 54, 57}, {"2134 52,111 8x12"}},  // the same dots, centred on the large staff
      {10135, 1, {56, 57, 58, 61}, {}},
      {21, 1, {}, {}},
      {27, 0, {}, {}},
      {98, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    screen.Clear();
    DrawTabBarLine(&screen, c.code, 100, 50, c.size, 30);
    EXPECT_EQ(StrokeXs(screen, 100, 130), c.strokes);
    EXPECT_EQ(Blits(screen), c.dots);
  }
}

TEST_F(BarLines, StaffStrokesStartOneSpaceLowerOnFewerThanSixLines) {
  struct Case {
    int lines;
    int start;
    std::string dots;
  };
  const std::vector<Case> cases = {
      {5, 106, "2134 52,113 8x12"},  // (4 * 6 - 11) / 2 + 106 + 1
      {6, 100, "2134 52,110 8x12"},  // (5 * 6 - 11) / 2 + 100 + 1
  };
  for (const Case& c : cases) {
    screen.Clear();
    DrawStaffBarLine(&screen, 24, 100, 50, c.lines, 0, 6, 24);
    EXPECT_EQ(StrokeXs(screen, c.start, c.start + 24), (std::vector<int>{52, 53, 54, 57}));
    EXPECT_EQ(Blits(screen), Lines{c.dots});
  }
}

TEST_F(BarLines, DeviceStrokesStandingTogetherAreThick) {
  DrawTabBarLine(&printer, 23, 100, 50, 0, 30);
  EXPECT_EQ(TargetLines(printer, {"SelectObject pen", "SelectObject stock", "MoveTo", "LineTo"}),
            (Lines{
                "SelectObject pen(PS_SOLID,2,RGB(0,0,0))",
                "MoveTo 58,100",
                "LineTo 58,129",
                "SelectObject pen(PS_SOLID,6,RGB(0,0,0))",
                "MoveTo 61,100",
                "LineTo 61,129",
                "SelectObject pen(PS_SOLID,6,RGB(0,0,0))",
                "MoveTo 62,100",
                "LineTo 62,129",
                "SelectObject pen(PS_SOLID,6,RGB(0,0,0))",
                "MoveTo 63,100",
                "LineTo 63,129",
                "SelectObject stock(BLACK_PEN)",
            }));
}

TEST_F(BarLines, DevicePenWidthsFollowPrintSizeAndResolution) {
  struct Case {
    int printSize;
    int dpi;
    int lineWidth;
    int thin;
    int thick;
  };
  const std::vector<Case> cases = {
      {100, 360, 2, 2, 6},
      {200, 1200, 1, 1, 16},
      {50, 100, 3, 2, 2},
      {100, 2400, 1, 1, 12},
  };
  for (const Case& c : cases) {
    g_printSizePct = c.printSize;
    g_deviceDpiX = c.dpi;
    g_lineWidthSetting = c.lineWidth;
    printer.Clear();
    DrawStaffBarLine(&printer, 24, 100, 50, 5, 0, 6, 24);  // strokes 0, 1, 2 thick, 5 thin
    const Lines pens = TargetLines(printer, {"SelectObject pen"});
    const std::string thick = "SelectObject pen(PS_SOLID," + std::to_string(c.thick) + ",RGB(0,0,0))";
    const std::string thin = "SelectObject pen(PS_SOLID," + std::to_string(c.thin) + ",RGB(0,0,0))";
    EXPECT_EQ(pens, (Lines{thick, thick, thick, thin})) << c.printSize << " " << c.dpi;
  }
}

TEST_F(BarLines, DeviceDotsComeFromThePrintSet) {
  DrawTabBarLine(&printer, 24, 100, 50, 0, 30);
  EXPECT_EQ(Blits(printer), Lines{"2734 52,107 8x12"});
}

TEST_F(BarLines, APenThatCannotBeMadeDrawsNoBarAndIsReportedOnce) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    FailNextGdiCreations(GdiResource::Pen, 1);
    DrawTabBarLine(&printer, 24, 100, 50, 0, 30);
  }
  EXPECT_TRUE(TargetLines(printer, {"MoveTo", "LineTo", "SelectObject pen"}).empty());
  EXPECT_TRUE(Blits(printer).empty());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, kMsgInternalProblem);
  EXPECT_EQ(Ending(ui.Messages()[0].text), "(Error Glb-3)");
  // The screen uses the caller's pen and cannot fail so.
  FailNextGdiCreations(GdiResource::Pen, 1);
  DrawTabBarLine(&screen, 21, 100, 50, 0, 30);
  EXPECT_EQ(StrokeXs(screen, 100, 130), std::vector<int>{58});
}

}  // namespace
