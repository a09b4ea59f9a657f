// Drawing a text line on the screen and on the device path, and finding the
// attachment under a point, through the recording device context.

#include <string>
#include <vector>

#include "StrLineTestSupport.h"
#include "common/ScaledDraw.h"
#include "common/ViewServices.h"

namespace {

using namespace strline;

constexpr const char* kBoxFont = "13,0,0,0,400,0,0,0,0,3,2,1,18,Arial";
constexpr int kOrigin = 100;
constexpr int kIndent = 10;
constexpr int kStart = kOrigin + kIndent;

class KStrLineDraw : public StrLineTest {
 protected:
  KStrLineDraw() {
    g_screenResX = g_screenResY = 96;
    g_deviceResX = g_deviceResY = 96;
  }

  // The text drawing calls a device context received.
  static std::vector<std::string> Texts(const RecordingDC& dc) {
    std::vector<std::string> texts;
    for (const std::string& line : dc.Lines())
      if (line.rfind("TextOut ", 0) == 0 || line.rfind("ExtTextOut ", 0) == 0) texts.push_back(line);
    return texts;
  }
  // How the recording device context writes down text drawn at (x, y).
  std::string TextAt(int x, int y, const char* text) {
    RecordingDC reference{DeviceCaps(), false, &measurer};
    reference.TextOut(x, y, text);
    return Texts(reference).at(0);
  }

  static std::unique_ptr<KStrLine> Line(const char* text, DWORD flags = 0) {
    auto line = std::make_unique<KStrLine>(text, 1);
    line->SetIndent(kIndent);
    line->SetFlagWord(flags);
    return line;
  }
};

TEST_F(KStrLineDraw, ScreenSkipsWhatIsScrolledOffToTheLeft) {
  // "  hello world": the widest character is 12 pixels, every one here 6.
  struct Case {
    const char* name;
    int top, redrawX, mode;
    int x;  // -1: nothing drawn
    int y;
    const char* text;
  };
  const Case cases[] = {
      {"nothing hidden", 50, 0, 0, kStart, 47, "  hello world"},
      {"visible edge at the text start", 50, kStart, 0, kStart, 47, "  hello world"},
      {"40 pixels hidden skip 3 characters", 50, kStart + 40, 0, kStart + 18, 47, "ello world"},
      {"all but the last character hidden", 50, kStart + 155, 0, kStart + 72, 47, "d"},
      {"everything hidden", 50, kStart + 156, 0, -1, 0, ""},
      {"underlined from the first visible character", 50, kStart + 156, KStrLine::kModeUnderlined,
       kStart + 12, 47, "hello world"},
      {"a line at the very top is not raised", 2, 0, 0, kStart, 2, "  hello world"},
  };
  for (const Case& c : cases) {
    dc.Clear();
    std::unique_ptr<KStrLine> line = Line("  hello world");
    line->Draw(&dc, c.top, c.redrawX, 0, kOrigin, c.mode, 0, 0, 0, 0);
    const std::vector<std::string> expected =
        c.x < 0 ? std::vector<std::string>{} : std::vector<std::string>{TextAt(c.x, c.y, c.text)};
    EXPECT_EQ(Texts(dc), expected) << c.name;
  }
}

TEST_F(KStrLineDraw, DevicePathFitsPlainLinesAndDrawsTitlesWhole) {
  struct Case {
    const char* name;
    DWORD flags;
    int mode;
    int redrawX;
    bool fitted;
    const char* drawnText;
  };
  const Case cases[] = {
      {"a plain line is fitted word by word", 0, 0, kStart + 40, true, "  hello world"},
      {"a title draws whole, nothing hidden", KStrLine::kFlagTitle, 0, kStart + 40, false, "  hello world"},
      {"an underlined title starts at its first character", KStrLine::kFlagTitle, KStrLine::kModeUnderlined,
       0, false, "hello world"},
      {"flag 0x400 draws as the screen does", KStrLine::kFlagPrintAsScreen, 0, 0, false, "  hello world"},
  };
  for (const Case& c : cases) {
    RecordingDC printer{DeviceCaps(), true, &measurer};
    RecordingDC expected{DeviceCaps(), true, &measurer};
    std::unique_ptr<KStrLine> line = Line("  hello world", c.flags);
    line->Draw(&printer, 50, c.redrawX, 0, kOrigin, c.mode, 0, 0, 0, 0);
    const int x = std::string(c.drawnText) == "hello world" ? kStart + 12 : kStart;
    if (c.fitted) {
      ScaledTextOutFitted(&expected, x, 47, c.drawnText);
    } else {
      ScaledTextOut(&expected, x, 47, c.drawnText, 0);
    }
    EXPECT_EQ(printer.Lines(), expected.Lines()) << c.name;
    EXPECT_FALSE(Texts(printer).empty()) << c.name;
  }

  // High-resolution export takes the device path too.
  g_deviceRender = 1;
  std::unique_ptr<KStrLine> line = Line("  hello world");
  line->Draw(&dc, 50, kStart + 400, 0, kOrigin, 0, 0, 0, 0, 0);
  EXPECT_FALSE(Texts(dc).empty());
}

TEST_F(KStrLineDraw, AttachmentsStandAtTheirPixelOrColumn) {
  // One at pixel 40 from the text start, one at column 3 (3 x 18 = 54 pixels).
  std::unique_ptr<KStrLine> line = Line("la la");
  auto* byPixel = new KExtendedObj(10040, 0, "Hi", kBoxFont);
  auto* byColumn = new KExtendedObj(3, 0, 7, 0, 0, 30, 10);
  line->AppendAttachment(byPixel);
  line->AppendAttachment(byColumn);

  for (int redrawX : {0, kStart + 400}) {  // also when the text is scrolled off
    RecordingDC expected{DeviceCaps(), false, &measurer};
    if (redrawX == 0) ScaledTextOut(&expected, kStart, 47, "la la", 0);
    KExtendedObj(*byPixel).Draw(&expected, KStrLine::kKind, kStart + 40, 50, 0);
    KExtendedObj(*byColumn).Draw(&expected, KStrLine::kKind, kStart + 54, 50, 0);
    dc.Clear();
    line->Draw(&dc, 50, redrawX, 0, kOrigin, 0, 0, 0, 0, 0);
    EXPECT_EQ(dc.Lines(), expected.Lines()) << redrawX;
  }
}

TEST_F(KStrLineDraw, FindsTheFirstAttachmentWhoseDrawnBoxHoldsThePoint) {
  std::unique_ptr<KStrLine> line = Line("");
  auto* box = new KExtendedObj(10040, 0, "Hi", kBoxFont);
  box->SetOffset(5, 2);
  auto* under = new KExtendedObj(10040, 0, 7, 0, 0, 60, 30);
  auto* byColumn = new KExtendedObj(6, 0, "Yo", kBoxFont);  // column 6: 108 pixels in
  line->AppendAttachment(box);
  line->AppendAttachment(under);
  line->AppendAttachment(byColumn);
  const CSize extent = KExtendedObj(*box).GetExtent(&dc);
  ASSERT_GT(extent.cx, 0);
  ASSERT_GT(extent.cy, 0);

  // Where the texts are drawn, from the line's left edge: half a column
  // right, then 3 pixels left and 7 up.
  constexpr int kTop = 100;
  const int left = 40 + 9 + 5 - 3, top = kTop + 2 - 7;
  const int columnLeft = 108 + 9 - 3, columnTop = kTop - 7;
  dc.Clear();
  line->Draw(&dc, kTop, 0, 0, kOrigin, 0, 0, 0, 0, 0);
  const std::vector<std::string> drawn = Texts(dc);
  ASSERT_EQ(drawn.size(), 3u);  // the line's own (empty) text, then the two
  ASSERT_EQ(drawn[1], TextAt(kStart + left, top, "Hi"));
  ASSERT_EQ(drawn[2], TextAt(kStart + columnLeft, columnTop, "Yo"));

  struct Case {
    const char* what;
    int x, y;
    KExtendedObj* found;
  };
  const Case cases[] = {
      {"the drawn text's top left", left, top, box},
      {"its bottom right", left + extent.cx, top + extent.cy, box},
      {"below the text, where it is not drawn", left + 3, top + extent.cy + 1, under},
      {"left of the text, inside the frame under it", left - 1, kTop + 1, under},
      {"right of the text", left + extent.cx + 1, kTop + 1, under},
      {"the frame's bottom right", 40 + 60, kTop + 30, under},
      {"right of the frame", 40 + 61, kTop, nullptr},
      {"left of everything", 39, kTop, nullptr},
      {"above everything", left, top - 1, nullptr},
      {"a text placed by column", columnLeft + 1, columnTop + 1, byColumn},
  };
  for (const Case& c : cases) EXPECT_EQ(line->FindAttachmentAtPoint(&dc, c.x, c.y, kTop), c.found) << c.what;
  EXPECT_EQ(Line("none")->FindAttachmentAtPoint(&dc, 0, 0, 0), nullptr);
}

}  // namespace
