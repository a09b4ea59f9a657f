#include <QImage>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "AttachmentTestSupport.h"
#include "common/ErrorReporter.h"
#include "platform/GdiFaults.h"
#include "platform/RecordingDC.h"
#include "platform/qt/KQtImageDC.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

constexpr int kTreble = 0;
constexpr int kTab = 2;
constexpr int kRhythm = 3;
constexpr int kChordLine = 4;
constexpr int kText = 5;
constexpr int kPercussion = 16;
// A font of 6-pixel characters, 13 pixels high, for the recording device context.
constexpr const char* kFont = "13,0,0,0,400,0,0,0,0,3,2,1,18,Arial";

class KExtendedObjDraw : public AttachmentTest {
 protected:
  KExtendedObjDraw() { ResetGdiFaults(); }
  ~KExtendedObjDraw() override { ResetGdiFaults(); }

  RecordingDC screen;
  RecordingDC printer{DeviceCaps(), true};
};

// An attachment with the given geometry, its end points (10, -6) and (30, -6)
// and a text in kFont.
KExtendedObj Make(int kind, CPoint anchor, CSize size, const char* text = "") {
  KExtendedObj attachment(0, 14, kind, anchor.x, anchor.y, size.cx, size.cy, 0, 0, "", kFont, "");
  attachment.SetText(text);
  attachment.SetPoint(0, 10, -6);
  attachment.SetPoint(1, 30, -6);
  return attachment;
}

// The shapes and texts a device context was asked to draw, joined by "; ".
std::string Shapes(const RecordingDC& dc) {
  std::string out;
  for (const std::string& line : dc.Lines()) {
    for (const char* prefix : {"MoveTo ", "LineTo ", "PolyBezier ", "TextOut ", "ExtTextOut "}) {
      if (line.rfind(prefix, 0) == 0) {
        out += (out.empty() ? "" : "; ") + line;
        break;
      }
    }
  }
  return out;
}

bool Contains(const RecordingDC& dc, const std::string& line) {
  for (const std::string& l : dc.Lines())
    if (l == line) return true;
  return false;
}

TEST_F(KExtendedObjDraw, EachKindDrawsItsShapeOnItsLine) {
  struct Case {
    const char* what;
    int type, kind, size;
    int x;  // the column's pixel x; the line's drawing top is y = 50
    CPoint anchor;
    CSize stored;
    const char* text;
    const char* shapes;
  };
  // On a staff at row 14 and x = 91 the origin is (100, 50).
  // clang-format off
  const Case cases[] = {
      {"crescendo", kTreble, 4, 0, 91, {0, 0}, {40, 10}, "",
       "MoveTo 140,50; LineTo 100,55; LineTo 140,60"},
      {"decrescendo", kTreble, 5, 0, 91, {0, 0}, {40, 10}, "",
       "MoveTo 100,50; LineTo 140,55; LineTo 100,60"},
      {"crescendo at the large size", kTreble, 4, 1, 89, {0, 0}, {36, 9}, "",
       "MoveTo 144,50; LineTo 100,55; LineTo 144,61"},
      {"V through its anchor", kTreble, 6, 0, 91, {20, 8}, {40, 0}, "",
       "MoveTo 98,50; LineTo 120,58; LineTo 140,50"},
      {"tie: a curve, then again a pixel higher", kTreble, 0, 0, 91, {0, 0}, {40, 0}, "",
       "PolyBezier 100,50 110,44 130,44 140,50; PolyBezier 100,50 110,43 130,43 140,50"},
      {"tie on a tablature line at the large size: its points are not scaled", kTab, 0, 1, 89, {0, 0},
       {40, 0}, "",
       "PolyBezier 100,62 110,56 130,56 148,62; PolyBezier 100,62 110,55 130,55 148,62"},
      {"tuplet number, hooks down", kTreble, 2, 0, 91, {0, 0}, {30, 0}, "-3",
       "MoveTo 94,55; LineTo 94,50; LineTo 124,50; LineTo 124,56; "
       "ExtTextOut 105,44 ETO_OPAQUE|ETO_CLIPPED 103,47,117,55 \"3\""},
      {"tuplet number, hooks up", kTreble, 2, 0, 91, {0, 0}, {30, 0}, "+3",
       "MoveTo 94,45; LineTo 94,50; LineTo 124,50; LineTo 124,44; "
       "ExtTextOut 105,44 ETO_OPAQUE|ETO_CLIPPED 103,47,117,55 \"3\""},
      {"text box", kTreble, 3, 0, 91, {0, 0}, {5, 5}, "Hi",
       "TextOut 97,43 \"Hi\""},
      {"bracket with both hooks", kTreble, 7, 0, 91, {0, 0}, {40, 13}, "",
       "MoveTo 94,51; LineTo 94,63; MoveTo 94,51; LineTo 134,51; MoveTo 134,51; LineTo 134,63"},
      {"bracket with a start hook and an indented text", kTreble, 8, 0, 91, {0, 0}, {40, 13}, "ab",
       "TextOut 98,52 \"ab\"; MoveTo 94,51; LineTo 94,63; MoveTo 94,51; LineTo 134,51"},
      {"bracket 9 starts its line after its text", kTreble, 9, 0, 91, {0, 0}, {40, 13}, "ab",
       "TextOut 94,44 \"ab\"; MoveTo 108,51; LineTo 134,51; MoveTo 134,51; LineTo 134,63"},
      {"bracket 9 without a text starts at its origin", kTreble, 9, 0, 91, {0, 0}, {40, 13}, "",
       "MoveTo 94,51; LineTo 134,51; MoveTo 134,51; LineTo 134,63"},
      {"reversed bracket on a staff", kTreble, 10, 0, 91, {0, 0}, {40, -13}, "",
       "MoveTo 94,51; LineTo 94,37; MoveTo 94,51; LineTo 134,51; MoveTo 134,51; LineTo 134,37"},
      {"reversed bracket on a rhythm line: 27 lower, hooks too", kRhythm, 10, 0, 91, {0, 0}, {40, -13}, "",
       "MoveTo 89,73; LineTo 89,60; MoveTo 89,73; LineTo 129,73; MoveTo 129,73; LineTo 129,60"},
      {"reversed bracket on a chord line lies 27 lower", kChordLine, 10, 0, 91, {0, 0}, {40, -13}, "",
       "MoveTo 89,73; LineTo 89,33; MoveTo 89,73; LineTo 129,73; MoveTo 129,73; LineTo 129,33"},
      {"dashed reversed bracket on a rhythm line", kRhythm, 17, 0, 91, {0, 0}, {40, -13}, "",
       "MoveTo 89,59; LineTo 89,60; MoveTo 89,59; LineTo 129,59; MoveTo 129,59; LineTo 129,60"},
      {"dashed bracket with its text centred above", kTreble, 14, 0, 91, {0, 0}, {40, 13}, "ab",
       "TextOut 108,37 \"ab\"; MoveTo 94,51; LineTo 94,63; MoveTo 94,51; LineTo 134,51; "
       "MoveTo 134,51; LineTo 134,63"},
      {"dashed bracket with its text lower", kTreble, 15, 0, 91, {0, 0}, {40, 13}, "ab",
       "TextOut 98,54 \"ab\"; MoveTo 94,51; LineTo 94,63; MoveTo 94,51; LineTo 134,51"},
      // The boxed brackets take no half column; only 22 moves 6 left.
      {"closed box with its text in the middle", kTreble, 22, 0, 91, {0, 0}, {40, 13}, "ab",
       "TextOut 99,51 \"ab\"; MoveTo 85,51; LineTo 85,63; MoveTo 85,51; LineTo 125,51; "
       "MoveTo 125,51; LineTo 125,63; MoveTo 85,63; LineTo 125,63"},
      {"open box on the right", kTreble, 23, 0, 91, {0, 0}, {40, 13}, "ab",
       "TextOut 91,37 \"ab\"; MoveTo 91,51; LineTo 91,63; MoveTo 91,51; LineTo 131,51; "
       "MoveTo 91,63; LineTo 131,63"},
      {"open box on the left", kTreble, 24, 0, 91, {0, 0}, {40, 13}, "",
       "MoveTo 91,51; LineTo 131,51; MoveTo 131,51; LineTo 131,63; MoveTo 91,63; LineTo 131,63"},
      {"double bar with end bars and its text above", kTreble, 21, 0, 91, {0, 0}, {40, 0}, "ab",
       "MoveTo 101,49; LineTo 140,49; MoveTo 101,51; LineTo 140,51; MoveTo 100,44; LineTo 100,56; "
       "MoveTo 140,44; LineTo 140,56; TextOut 114,37 \"ab\""},
      {"text box on a text line", kText, 3, 0, 91, {0, 0}, {5, 5}, "Hi",
       "TextOut 97,43 \"Hi\""},
      {"crescendo on a percussion staff, 6 steps higher", kPercussion, 4, 0, 91, {0, 0}, {40, 10}, "",
       "MoveTo 140,32; LineTo 100,37; LineTo 140,42"},
      {"a negative kind draws nothing", kTreble, -1, 0, 91, {0, 0}, {40, 10}, "", ""},
      {"an unknown kind draws nothing", kTreble, 25, 0, 91, {0, 0}, {40, 10}, "", ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    KExtendedObj attachment = Make(c.kind, c.anchor, c.stored, c.text);
    if (c.type == kTab) attachment.SetRow(3);  // one string below the first row
    screen.Clear();
    attachment.Draw(&screen, c.type, c.x, 50, c.size);
    EXPECT_EQ(Shapes(screen), c.shapes) << c.what;
  }
}

TEST_F(KExtendedObjDraw, DefaultsOfASlurWithoutPointsAndATupletWithoutText) {
  KExtendedObj slur = Make(KExtendedObj::kSlur, {0, -6}, {30, 0});
  slur.SetPoint(0, 0, 0);
  slur.SetPoint(1, 0, 0);
  slur.Draw(&screen, kTreble, 91, 50, 0);
  EXPECT_EQ(slur.GetPoint(0), CPoint(10, -6));
  EXPECT_EQ(slur.GetPoint(1), CPoint(20, -6));
  EXPECT_EQ(Shapes(screen), "PolyBezier 100,50 110,44 120,44 130,50; PolyBezier 100,50 110,43 120,43 130,50");

  // A tie without points is drawn as it is: flat.
  KExtendedObj tie = Make(KExtendedObj::kTie, {0, -6}, {30, 0});
  tie.SetPoint(0, 0, 0);
  tie.SetPoint(1, 0, 0);
  tie.Draw(&screen, kTreble, 91, 50, 0);
  EXPECT_EQ(tie.GetPoint(0), CPoint(0, 0));

  KExtendedObj tuplet = Make(KExtendedObj::kNumberedBracket, {0, 0}, {30, 0});
  tuplet.SetText("");
  screen.Clear();
  tuplet.Draw(&screen, kTreble, 91, 50, 0);
  EXPECT_EQ(tuplet.GetText(), CString("-3"));
  EXPECT_EQ(Shapes(screen),
            "MoveTo 94,55; LineTo 94,50; LineTo 124,50; LineTo 124,56; "
            "ExtTextOut 105,44 ETO_OPAQUE|ETO_CLIPPED 103,47,117,55 \"3\"");
}

TEST_F(KExtendedObjDraw, DevicePathMapsPointsAndThickensCurvesAndPens) {
  g_screenResX = g_screenResY = 96;
  g_deviceResX = g_deviceResY = 192;
  g_lineWidthSetting = 3;
  g_printSizePct = 150;

  KExtendedObj tie = Make(KExtendedObj::kTie, {0, 0}, {40, 0});
  tie.Draw(&printer, kTreble, 91, 50, 0);
  EXPECT_TRUE(Contains(printer, "SelectObject pen(PS_SOLID,4,RGB(0,0,0))"));  // (3 - 1) x 150 / 100 + 1
  EXPECT_EQ(Shapes(printer),
            "PolyBezier 200,100 220,88 260,88 280,100; PolyBezier 200,100 220,86 260,88 280,100; "
            "PolyBezier 200,100 220,90 260,86 280,100; PolyBezier 200,100 220,86 260,86 280,100");

  // The screen keeps a thin pen, whatever the print settings.
  tie.Draw(&screen, kTreble, 91, 50, 0);
  EXPECT_TRUE(Contains(screen, "SelectObject pen(PS_SOLID,0,RGB(0,0,0))"));

  // Device-resolution export takes the device path on any device context.
  RecordingDC image;
  g_deviceRender = 1;
  tie.Draw(&image, kTreble, 91, 50, 0);
  EXPECT_EQ(Shapes(image), Shapes(printer));

  printer.Clear();
  KExtendedObj bar = Make(KExtendedObj::kDoubleBar, {0, 0}, {40, 0});
  bar.Draw(&printer, kTreble, 91, 50, 0);
  EXPECT_TRUE(Contains(printer, "SelectObject pen(PS_SOLID,9,RGB(0,0,0))"));  // 6 x 150 / 100
}

TEST_F(KExtendedObjDraw, DashedLinesAreDottedOnTheScreenAndDashedOnTheDevice) {
  g_deviceResX = g_deviceResY = g_screenResX = g_screenResY = 96;
  KExtendedObj bracket = Make(14, {0, 0}, {40, 13});
  bracket.Draw(&screen, kTreble, 91, 50, 0);
  const std::vector<std::string> lines = screen.Lines();
  const auto dotted = std::find(lines.begin(), lines.end(), "SelectObject pen(PS_DOT,1,RGB(0,0,0))");
  ASSERT_NE(dotted, lines.end());
  EXPECT_EQ(dotted[1], "MoveTo 94,51");  // the line itself, between the solid hooks
  EXPECT_EQ(dotted[2], "LineTo 134,51");
  EXPECT_EQ(dotted[3], "SelectObject pen(PS_SOLID,0,RGB(0,0,0))");

  bracket.Draw(&printer, kTreble, 91, 50, 0);
  EXPECT_EQ(Shapes(printer),
            "MoveTo 94,51; LineTo 94,63; "
            "MoveTo 94,51; LineTo 100,51; MoveTo 106,51; LineTo 112,51; MoveTo 118,51; LineTo 124,51; "
            "MoveTo 130,51; LineTo 134,51; "
            "MoveTo 134,51; LineTo 134,63");
}

TEST_F(KExtendedObjDraw, TextTakesItsColourAndOpacityAndTheContextComesBack) {
  CPen pen(PS_SOLID, 3, RGB(1, 2, 3));
  CFont font;
  LOGFONT lf;
  lf.lfHeight = 20;
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  screen.SelectObject(&pen);
  screen.SelectObject(&font);
  screen.SetTextColor(RGB(9, 9, 9));
  screen.SetBkMode(TRANSPARENT);

  KExtendedObj link(0, 14, "site", kFont);
  link.SetLinkTarget("www.example.org");
  link.SetOpaque(1);
  screen.Clear();
  link.Draw(&screen, kTreble, 91, 50, 0);
  const std::vector<std::string> lines = screen.Lines();
  const auto text = std::find(lines.begin(), lines.end(), "TextOut 97,43 \"site\"");
  ASSERT_NE(text, lines.end());
  EXPECT_EQ(text[-1], "SetBkMode OPAQUE");
  EXPECT_TRUE(Contains(screen, "SetTextColor RGB(0,0,255)"));  // the link colour
  EXPECT_EQ(screen.GetCurrentPen(), &pen);
  EXPECT_EQ(screen.GetCurrentFont(), &font);
  EXPECT_EQ(screen.GetTextColor(), RGB(9, 9, 9));
  EXPECT_EQ(screen.GetBkMode(), OPAQUE);

  link.SetOpaque(0);
  screen.Clear();
  link.Draw(&screen, kTreble, 91, 50, 0);
  const std::vector<std::string> plain = screen.Lines();
  const auto clear = std::find(plain.begin(), plain.end(), "TextOut 97,43 \"site\"");
  ASSERT_NE(clear, plain.end());
  EXPECT_EQ(clear[-1], "SetBkMode TRANSPARENT");
}

TEST_F(KExtendedObjDraw, PenThatCannotBeMadeIsReportedOnceAndNothingIsDrawn) {
  struct Case {
    bool printing;
    const char* ending;
  };
  for (const Case& c : {Case{false, "(Error OC2-2)"}, Case{true, "(Error OC2-1)"}}) {
    g_ReportedOnce = 0;
    m_ui.ClearRecords();
    RecordingDC dc(DeviceCaps(), c.printing);
    KExtendedObj hairpin = Make(KExtendedObj::kCrescendo, {0, 0}, {40, 10});
    FailNextGdiCreations(GdiResource::Pen, 2);
    hairpin.Draw(&dc, kTreble, 91, 50, 0);
    hairpin.Draw(&dc, kTreble, 91, 50, 0);
    ASSERT_EQ(m_ui.Messages().size(), 1u) << c.ending;
    const std::string& message = m_ui.Messages()[0].text;
    EXPECT_EQ(message.substr(message.rfind('(')), c.ending);
    EXPECT_EQ(Shapes(dc), "");
    hairpin.Draw(&dc, kTreble, 91, 50, 0);  // the pen can be made again
    EXPECT_NE(Shapes(dc), "");
  }
}

TEST_F(KExtendedObjDraw, HostileStoredValuesDrawNearTheLine) {
  // Every coordinate drawn stays within the bound of the line's own position
  // (2^24) plus a few stored lengths, for any stored value; the printer maps
  // that from 96 to 360 dots per inch.
  constexpr long long kNear = (1LL << 24) + 200000;
  g_screenResX = g_screenResY = 96;
  g_deviceResX = g_deviceResY = 360;
  const std::regex number(R"(-?\d+)");
  for (int kind = -1; kind <= 25; ++kind) {
    for (int extreme : {INT_MAX, INT_MIN}) {
      KExtendedObj attachment = Hostile(kind, extreme);
      attachment.SetFontText(kFont);
      attachment.SetText(kind == KExtendedObj::kNumberedBracket ? "+9" : "x");
      for (RecordingDC* dc : {&screen, &printer}) {
        const long long limit = dc == &printer ? kNear * 360 / 96 : kNear;
        for (int size : {0, 1}) {
          dc->Clear();
          attachment.Draw(dc, kRhythm, extreme, -1 - extreme, size);
          const std::string shapes = Shapes(*dc);
          for (auto it = std::sregex_iterator(shapes.begin(), shapes.end(), number);
               it != std::sregex_iterator(); ++it) {
            EXPECT_LT(std::abs(std::stoll(it->str())), limit)
                << "kind " << kind << ": " << shapes.substr(0, 80);
          }
        }
      }
    }
  }
}

// A staff with a tie, a slur, a hairpin and a text box drawn over it into an
// image. Every dark pixel lies on a staff line or inside the rectangle that
// the attachment says it covers; the picture is kept for a look.
TEST_F(KExtendedObjDraw, AttachmentsOverAStaffRenderIntoAnImage) {
  WidgetTestApp();
  QImage image(360, 130, QImage::Format_RGB32);
  image.fill(Qt::white);
  KQtImageDC dc(image);
  constexpr int kTop = 40;  // the top staff line (row 14)
  for (int line = 0; line < 5; ++line) {
    dc.MoveTo(10, kTop + line * 6);
    dc.LineTo(350, kTop + line * 6);
  }
  struct Placed {
    KExtendedObj attachment;
    int x;
  };
  Placed placed[] = {
      {KExtendedObj(0, 24, KExtendedObj::kTie, 0, 0, 60, 0), 20},    // below the staff, bowing down
      {KExtendedObj(0, 10, KExtendedObj::kSlur, 0, 0, 90, 0), 110},  // above, bowing up
      {KExtendedObj(0, 30, KExtendedObj::kCrescendo, 0, 0, 70, 12), 20},
      {KExtendedObj(0, 30, KExtendedObj::kDecrescendo, 0, 0, 70, 12), 110},
      {KExtendedObj(0, 4, "Allegro", "16,0,0,0,700,0,0,0,0,3,2,1,18,Arial"), 230},
  };
  placed[0].attachment.SetPoint(0, 15, 9);
  placed[0].attachment.SetPoint(1, 45, 9);
  placed[1].attachment.SetPoint(0, 20, -14);
  placed[1].attachment.SetPoint(1, 70, -14);
  std::vector<CRect> covered;
  for (Placed& p : placed) {
    p.attachment.Draw(&dc, kTreble, p.x, kTop, 0);
    CRect rect;
    p.attachment.GetScreenRect(rect, &dc, kTreble, p.x, kTop, 0);
    covered.push_back(rect);
  }
  const QString path = QString::fromStdString(::testing::TempDir()) + "AttachmentsOverStaff.png";
  ASSERT_TRUE(image.save(path, "PNG"));
  std::printf("attachments drawn into %s\n", path.toUtf8().constData());

  std::vector<int> inked(covered.size(), 0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) > 128) continue;
      const bool onStaff = x >= 10 && x < 350 && y >= kTop && y <= kTop + 24 && (y - kTop) % 6 == 0;
      bool inside = false;
      for (size_t i = 0; i < covered.size(); ++i) {
        CRect grown = covered[i];
        grown.InflateRect(1, 1);
        if (grown.PtInRect(CPoint(x, y))) inked[i] += 1, inside = true;
      }
      EXPECT_TRUE(onStaff || inside) << "stray ink at " << x << "," << y;
    }
  }
  for (size_t i = 0; i < covered.size(); ++i) EXPECT_GT(inked[i], 20) << "attachment " << i << " left no ink";
}

}  // namespace
