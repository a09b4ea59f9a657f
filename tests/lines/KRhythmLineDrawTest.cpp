// Measuring a rhythm line, converting between caret columns and pixels,
// finding the attachment under the mouse and drawing the items with the
// beams of linked runs (through the recording device context), and one line
// painted with the real symbol pictures into a PNG for a look.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "RhythmLineTestSupport.h"
#include "common/SymbolCache.h"
#include "lines/RhythmLineServices.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/GdiFaults.h"
#include "platform/RecordingDC.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

using namespace rhythm;

class RhythmLineDrawTest : public RhythmLineTest {
 protected:
  RhythmLineDrawTest() { ResetSymbolCache(); }
  ~RhythmLineDrawTest() override { ResetSymbolCache(); }

  // Items placed by hand at pixel positions.
  void Add(int pos, int code, const char* text = "") {
    auto* item = code != 0 ? new KRhythmObj(pos, code) : new KRhythmObj(pos, CString(text));
    line.GetObjList()->AddTail(item);
  }
  std::string Drawn(int sizeIndex = 0) {
    RecordingDC dc;
    line.Draw(&dc, 100, 0, sizeIndex, 10, 0, 0, 0, 0, 0);
    return dc.Text();
  }

  FakeSymbolLoader loader;
  ScopedSymbolLoader loaderScope{loader};
};

TEST_F(RhythmLineDrawTest, MeasuringLaysOverlapsEndToEndAndKeepsGaps) {
  Add(0, 0, "abc");
  Add(10, 207);
  Add(100, 224);
  Add(105, 0, "x");
  RecordingDC dc;
  line.MeasureSymbols(&dc, 0);
  EXPECT_EQ(Dump(line), "\"abc\"@0 207/0@27 224/0@100 \"x\"@118");
  EXPECT_EQ(line.GetColumnWidth(), 9);
  EXPECT_EQ(line.GetMeasuredEnd(), 127);
}

TEST_F(RhythmLineDrawTest, ColumnsAndPixels) {
  Add(0, 0, "abc");
  Add(27, 207);
  Add(72, 0, "de");
  RecordingDC dc;
  struct Case {
    int column;
    int x;
  } cases[] = {{0, 0}, {2, 18}, {3, 27}, {4, 36}, {6, 54}, {8, 72}, {9, 81}, {10, 90}, {13, 117}};
  for (const Case& c : cases) EXPECT_EQ(line.GetColumnX(&dc, c.column, 0), c.x) << c.column;

  struct Hit {
    int x;
    int rounding;
    int column;
  } hits[] = {{0, 0, 0},  {13, 0, 1}, {14, 0, 2}, {29, 0, 3}, {33, 0, 4},   {33, 2, 3}, {29, 1, 4},
              {40, 0, 4}, {72, 0, 8}, {76, 0, 8}, {77, 0, 9}, {200, 0, 22}, {-5, 0, 0}};
  for (const Hit& h : hits) EXPECT_EQ(line.GetColumnAtX(&dc, 0, h.x, 0, 0, h.rounding), h.column) << h.x;
  // Mode 1 subtracts the indent, mode 2 also the extra offset.
  line.SetIndent(20);
  EXPECT_EQ(line.GetColumnAtX(&dc, 1, 20 + 72, 0, 0, 0), 8);
  EXPECT_EQ(line.GetColumnAtX(&dc, 2, 20 + 5 + 72, 0, 5, 0), 8);
}

TEST_F(RhythmLineDrawTest, EmptyLineColumnsAreBlankWidths) {
  RecordingDC dc;
  for (const int column : {0, 1, 5}) EXPECT_EQ(line.GetColumnX(&dc, column, 0), column * 9);
  EXPECT_EQ(line.GetColumnAtX(&dc, 0, 47, 0, 0, 0), 5);
}

// The MoveTo/LineTo pairs of a recording, as "x1-x2@y" joined by blanks.
std::string Beams(const std::string& recording) {
  std::string out;
  std::istringstream lines(recording);
  std::string text;
  int fromX = 0;
  while (std::getline(lines, text)) {
    int x = 0;
    int y = 0;
    if (std::sscanf(text.c_str(), "MoveTo %d,%d", &x, &y) == 2) fromX = x;
    if (std::sscanf(text.c_str(), "LineTo %d,%d", &x, &y) == 2)
      out += (out.empty() ? "" : " ") + std::to_string(fromX) + "-" + std::to_string(x) + "@" +
             std::to_string(y);
  }
  return out;
}

TEST_F(RhythmLineDrawTest, LinkedRunsAreJoinedByBeams) {
  // Origin 10, top 100: the beam base is 19 x 20 / 25 - 12 + 100 = 103, the
  // stems are 8 pixels right of each symbol, the beams 3 pixels apart.
  struct Case {
    const char* keys;
    const char* beams;
  } cases[] = {
      {"^t~t", "18-36@103"},
      {"^s~t", "18-36@103 18-27@106"},
      {"^t~s", "18-36@103 27-36@106"},
      {"^t~s~t", "18-54@103 36-45@106"},
      {"^x~x", "18-36@103 18-36@106 18-36@109 18-36@112"},
      {"^t^t", ""},
  };
  for (const Case& c : cases) {
    KRhythmLine run;
    Type(run, c.keys);
    RecordingDC dc;
    run.Draw(&dc, 100, 0, 0, 10, 0, 0, 0, 0, 0);
    EXPECT_EQ(Beams(dc.Text()), c.beams) << c.keys;
  }
}

TEST_F(RhythmLineDrawTest, DrawsTextSymbolsDotsAndAttachments) {
  Type(line, "Go^q^t~t^.");
  line.AddAttachment(new KExtendedObj(1, 3, "Fine", ""));
  const std::string drawn = Drawn();
  EXPECT_NE(drawn.find("TextOut 10,105 \"Go\""), std::string::npos);
  // q (index 7) at 18 + 10; the dot after the flagged t at 63 + 10 - 7.
  EXPECT_NE(drawn.find("BitBlt 28,103"), std::string::npos);
  EXPECT_NE(drawn.find("BitBlt 66,103"), std::string::npos);
  // The attachment is drawn after the items, at its column's x.
  EXPECT_NE(drawn.find("\"Fine\""), std::string::npos);
  EXPECT_GT(drawn.find("\"Fine\""), drawn.find("BitBlt 66,103"));
  // The device context gets its pen and font back.
  EXPECT_NE(drawn.rfind("SelectObject stock(BLACK_PEN)"), std::string::npos);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(RhythmLineDrawTest, PenFailureIsReportedOnceAndNothingIsDrawn) {
  Type(line, "Go^q");
  struct Case {
    bool printing;
    const char* code;
  } cases[] = {{false, "TCR-5"}, {true, "TCR-4"}};
  for (const Case& c : cases) {
    ResetCommonGlobals();
    m_ui.ClearRecords();
    for (int time = 0; time < 2; ++time) {
      FailNextGdiCreations(GdiResource::Pen);
      RecordingDC dc(DeviceCaps(), c.printing);
      line.Draw(&dc, 100, 0, 0, 10, 0, 0, 0, 0, 0);
      EXPECT_EQ(dc.Text(), "") << c.code;
    }
    ASSERT_EQ(m_ui.CountOf(7008), 1) << c.code;
    EXPECT_NE(m_ui.Messages()[0].text.find(c.code), std::string::npos) << m_ui.Messages()[0].text;
  }
}

TEST_F(RhythmLineDrawTest, FindsTheAttachmentUnderThePoint) {
  Type(line, "abcdef");
  KExtendedObj* fine = new KExtendedObj(3, 3, "Fine", "");
  line.AddAttachment(fine);
  RecordingDC dc;
  CRect rect;
  fine->GetScreenRect(rect, &dc, 3, 27, 100, 0);
  EXPECT_EQ(line.FindAttachmentAtPoint(&dc, rect.left + 1, rect.top + 1, 100, 0), fine);
  EXPECT_EQ(line.FindAttachmentAtPoint(&dc, rect.left + 1, rect.bottom + 20, 100, 0), nullptr);
  EXPECT_EQ(line.FindAttachmentAtPoint(&dc, 2, rect.top + 1, 100, 0), nullptr);
}

// One line with text, plain and linked symbols and a dot, painted with the
// program's symbol pictures (written to the temporary folder for a look).
TEST(RhythmLineImage, PaintsWithTheSymbolPictures) {
  WidgetTestApp();
  FakeUiPort ui;
  ScopedUiPort uiScope(ui);
  ResetSymbolCache();
  ResetViewServices();
  KQtSymbolLoader loader;
  ScopedSymbolLoader scope(loader);
  SelectSymbolSize(0, 0);
  g_blankRunCount = 8;
  KRhythmLine line;
  QImage image(360, 50, QImage::Format_RGB32);
  image.fill(0xFFFFFFFF);
  int firstStem = 0;
  int lastStem = 0;
  {
    // The view measures typed text with its screen context.
    KQtImageDC dc(image);
    SetRhythmMeasureDC(&dc);
    Type(line, "Swing ^q^q ^t~t~s~t^.^|^h ^y~y~y~y");
    SetRhythmMeasureDC(nullptr);
    line.Draw(&dc, 10, 0, 0, 6, 0, 0, 0, 0, 0);
    firstStem = 6 + line.GetColumnX(&dc, 9, 0) + 8;
    lastStem = 6 + line.GetColumnX(&dc, 12, 0) + 8;
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  image.save(QString::fromStdString((folder / "stavlin-rhythmline.png").string()));
  image.scaled(image.width() * 3, image.height() * 3)
      .save(QString::fromStdString((folder / "stavlin-rhythmline-x3.png").string()));
  // The first beam of the t-t-s-t run (beam base 19 x 20 / 25 - 12 + 10 = 13)
  // is black from the first stem to the last, and white beyond.
  ASSERT_GT(lastStem, firstStem + 20);
  for (int x = firstStem; x < lastStem; ++x) EXPECT_EQ(image.pixel(x, 13), 0xFF000000u) << x;
  EXPECT_EQ(image.pixel(lastStem + 4, 13), 0xFFFFFFFFu);
  EXPECT_TRUE(ui.Messages().empty());
  ResetSymbolCache();
}

}  // namespace
