// The frame of staff and tablature lines (KListLine::DrawNotes) as recorded
// drawing calls: staff or string lines, clef or the word "TAB", key
// signature and opening bar.

#include <string>
#include <vector>

#include "common/DrawTestSupport.h"
#include "model/DocServices.h"
#include "model/KListLine.h"

namespace {

using Lines = std::vector<std::string>;

class DrawNotes : public SymbolDrawTest {
 protected:
  DrawNotes() { Reset(); }
  ~DrawNotes() override { Reset(); }
  static void Reset() {
    ResetDocServices();
    g_drumClefOption = 1;
  }

  // The MoveTo / LineTo pairs as "x1,y1-x2,y2".
  static Lines Strokes(const RecordingDC& dc) {
    Lines out;
    const Lines lines = TargetLines(dc, {"MoveTo ", "LineTo "});
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
      out.push_back(lines[i].substr(7) + "-" + lines[i + 1].substr(7));
    return out;
  }

  KListLine line{0, 0, 0, -1, 0};
};

TEST_F(DrawNotes, StaffKindsDrawFiveLinesTheirClefAndAnOpeningBar) {
  struct Case {
    int kind;
    int size;
    int drumOption;
    Lines clef;  // blits of the clef family
  };
  // Clef area from x 10, top line at y 50; clefs stand 4 (small) or 3 (large) in.
  const std::vector<Case> cases = {
      {0, 0, 1, {"2103 14,43 8x12"}},  {0, 1, 1, {"2403 13,39 8x12"}},
      {1, 0, 1, {"2104 14,50 8x12"}},  {1, 1, 1, {"2404 13,50 8x12"}},
      {9, 0, 1, {"2105 14,50 8x12"}},  {10, 0, 1, {"2105 14,44 8x12"}},
      {10, 1, 1, {"2405 13,44 8x12"}}, {11, 0, 1, {"2106 14,35 8x12"}},
      {11, 1, 1, {"2406 13,31 8x12"}}, {12, 0, 1, {"2107 14,43 8x12"}},
      {12, 1, 1, {"2407 13,39 8x12"}}, {13, 0, 0, {"2108 14,56 8x12"}},
      {13, 1, 0, {"2408 13,58 8x12"}}, {13, 0, 1, {"2109 14,52 8x12"}},
      {13, 1, 1, {"2409 13,52 8x12"}}, {14, 0, 1, {}},
      {16, 0, 1, {"2108 14,56 8x12"}}, {16, 1, 1, {"2408 13,58 8x12"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " size " << c.size);
    screen.Clear();
    g_drumClefOption = c.drumOption;
    line.DrawNotes(&screen, c.kind, c.size, 10, 50, 0, 200, 21, 0);
    const int space = c.size == 0 ? 6 : 8;
    Lines expected;
    for (int i = 0; i < 5; ++i) {
      const std::string y = std::to_string(50 + i * space);
      expected.push_back("10," + y + "-210," + y);
    }
    // The single opening bar stands on the line's left end over the staff's height.
    expected.push_back("10,50-10," + std::to_string(50 + 4 * space));
    EXPECT_EQ(Strokes(screen), expected);
    EXPECT_EQ(Blits(screen), c.clef);
  }
}

TEST_F(DrawNotes, TablatureDrawsOneLinePerStringAndTheWordTab) {
  struct Case {
    int strings;
    int size;
    DWORD flags;
    Lines stringYs;
    Lines word;
  };
  // Row 2 at y 50; string rows 11 pixels apart at size 0 (spacing 10 + 1), 14 at size 1.
  const std::vector<Case> cases = {
      {6, 0, 0, {"50", "61", "72", "83", "94", "105"}, {"2100 18,54 8x12"}},
      {6, 1, 0, {"50", "64", "78", "92", "106", "120"}, {"2400 16,53 8x12"}},
      {4, 0, 0, {"61", "72", "83", "94"}, {"2101 18,63 8x12"}},
      {7, 0, 0, {"50", "61", "72", "83", "94", "105", "116"}, {"2100 18,59 8x12"}},
      {2, 0, 0, {"61", "72"}, {"2102 18,59 8x12"}},
      {6, 0, KListLine::kFrameNoTabWord, {"50", "61", "72", "83", "94", "105"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.strings << " strings, size " << c.size);
    screen.Clear();
    line.DrawNotes(&screen, 2, c.size, 10, 50, 0, 150, 21, c.flags, c.strings);
    Lines expected;
    for (const std::string& y : c.stringYs) expected.push_back("10," + y + "-160," + y);
    expected.push_back("10," + c.stringYs.front() + "-10," + c.stringYs.back());
    EXPECT_EQ(Strokes(screen), expected);
    EXPECT_EQ(Blits(screen), c.word);
  }
}

TEST_F(DrawNotes, StringLinesFollowTheStringSpacingSetting) {
  g_tabStringSpacing = 12;
  line.DrawNotes(&screen, 15, 0, 0, 20, 0, 100, 0, KListLine::kFrameNoTabWord, 4);
  EXPECT_EQ(Strokes(screen), (Lines{"0,33-100,33", "0,46-100,46", "0,59-100,59", "0,72-100,72"}));
}

TEST_F(DrawNotes, TheOpeningBarTakesTheFirstColumnsBarWithItsFirstStrokeAtTheLeftEnd) {
  struct Case {
    int code;
    int size;
    Lines barStrokes;
  };
  const std::vector<Case> cases = {
      {0, 0, {}},                               // no opening bar
      {22, 0, {"10,50-10,74", "14,50-14,74"}},  // double bar
      {24, 0, {"10,50-10,74", "11,50-11,74", "12,50-12,74", "15,50-15,74"}},
      {21, 1, {"10,50-10,82"}},   // a small code on a large staff
      {133, 1, {"10,50-10,82"}},  // the large code itself
      {27, 0, {}},                // not a bar
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    screen.Clear();
    line.DrawNotes(&screen, 0, c.size, 10, 50, 0, 100, c.code, 0);
    const Lines strokes = Strokes(screen);
    EXPECT_EQ(Lines(strokes.begin() + 5, strokes.end()), c.barStrokes);
  }
}

TEST_F(DrawNotes, WithoutAWidthTheLinesRunOverTheClefAreaAndTheKey) {
  struct Case {
    int kind;
    int size;
    int key;
    int end;
    int accidentals;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 34, 0},   // the clef area alone
      {0, 0, 4, 49, 2},   // two sharps: 34 + 5 x 3
      {0, 1, 5, 55, 2},   // two flats at the large size: 34 + 7 x 3
      {2, 0, 4, 34, 0},   // tablature lines draw no key
      {13, 0, 4, 49, 0},  // drums leave room for the key but draw none
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " key " << c.key);
    screen.Clear();
    line.DrawNotes(&screen, c.kind, c.size, 0, 50, c.key, 0, 0, KListLine::kFrameNoTabWord);
    EXPECT_EQ(Strokes(screen).front(), "0,50-" + std::to_string(c.end) + ",50");
    int accidentals = 0;
    for (const std::string& id : BlitIds(screen))
      accidentals += id == "2138" || id == "2140" || id == "2440" ? 1 : 0;
    EXPECT_EQ(accidentals, c.accidentals);
  }
}

TEST_F(DrawNotes, PrintingDrawsTheLinesWithAPenOfThePrintsWidth) {
  g_screenResX = g_screenResY = 100;
  g_deviceResX = g_deviceResY = 300;
  g_printSizePct = 200;
  g_lineWidthSetting = 2;
  line.DrawNotes(&printer, 0, 0, 10, 50, 0, 100, 0, 0);
  const Lines pens = TargetLines(printer, {"SelectObject pen"});
  ASSERT_FALSE(pens.empty());
  EXPECT_EQ(pens.front(), "SelectObject pen(PS_SOLID,3,RGB(0,0,0))");  // (2 - 1) x 200 / 100 + 1
  EXPECT_EQ(Strokes(printer).front(), "30,150-330,150");               // mapped to the device
}

}  // namespace
