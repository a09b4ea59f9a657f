#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <string>

#include "WidgetTestApp.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtTextMeasurer.h"

namespace {

LOGFONT Font(const char* face, LONG height) {
  LOGFONT font;
  font.lfHeight = height;
  SetFaceName(font, face);
  return font;
}

class QtTextMeasuring : public ::testing::Test {
 protected:
  void SetUp() override { WidgetTestApp(); }
};

TEST_F(QtTextMeasuring, MeasuresWindows1252TextWithTheMappedFont) {
  const LOGFONT logFont = Font("Arial", 18);
  const QFontMetrics metrics(QtFontMapper::ToQFont(logFont));
  const QtTextMeasurer& measurer = QtTextMeasurer::Screen();
  const CSize extent = measurer.GetTextExtent(logFont, "Caf\xE9 \x80");
  EXPECT_EQ(extent.cx, metrics.horizontalAdvance(QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC")));
  const TEXTMETRIC tm = measurer.GetTextMetrics(logFont);
  EXPECT_EQ(extent.cy, tm.tmHeight);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 0);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(measurer.GetTextExtent(logFont, "").cx, 0);
}

// Texts measured before are answered from what was kept: each answer is still
// that of its own font and text, asked again in any order.
TEST_F(QtTextMeasuring, ATextMeasuredAgainKeepsTheWidthOfItsOwnFont) {
  LOGFONT bold = Font("Arial", 18);
  bold.lfWeight = 700;
  const LOGFONT fonts[] = {Font("Arial", 18), bold, Font("Arial", 30), Font("Times New Roman", 18)};
  // The last is longer than the texts that are kept.
  const std::string texts[] = {"The Hunters' Jig", "The Hunters' Jig ", "W", std::string(300, 'W')};
  const QtTextMeasurer& measurer = QtTextMeasurer::Screen();
  for (int round = 0; round < 2; ++round) {
    for (const LOGFONT& font : fonts) {
      const QFontMetrics metrics(QtFontMapper::ToQFont(font));
      for (const std::string& text : texts) {
        EXPECT_EQ(measurer.GetTextExtent(font, text).cx,
                  metrics.horizontalAdvance(QString::fromLatin1(text.data(), static_cast<int>(text.size()))))
            << font.lfFaceName << " " << font.lfHeight << "/" << font.lfWeight << " \"" << text << "\" round " << round;
      }
    }
  }
}

TEST_F(QtTextMeasuring, FixedPitchFacesGiveEveryCharacterTheSameWidth) {
  const QtTextMeasurer& measurer = QtTextMeasurer::Screen();
  const LOGFONT mono = Font("Courier New", 16), sans = Font("Arial", 16);
  EXPECT_EQ(measurer.GetTextExtent(mono, "iiii").cx, measurer.GetTextExtent(mono, "WWWW").cx);
  EXPECT_LT(measurer.GetTextExtent(sans, "iiii").cx, measurer.GetTextExtent(sans, "WWWW").cx);
}

TEST_F(QtTextMeasuring, TheImageDeviceContextMeasuresWhatItDraws) {
  QImage image(200, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  KQtImageDC dc(image);
  CFont font;
  const LOGFONT logFont = Font("Arial", 20);
  font.CreateFontIndirect(&logFont);
  dc.SelectObject(&font);
  dc.SetBkColor(RGB(0, 0, 0));
  dc.TextOut(10, 5, "Measure me");
  const CSize extent = dc.GetTextExtent("Measure me");
  EXPECT_EQ(extent, QtTextMeasurer::Screen().GetTextExtent(logFont, "Measure me"));
  // The opaque cell is exactly the measured extent.
  EXPECT_EQ(image.pixel(10 + extent.cx - 1, 5 + extent.cy - 1), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(10 + extent.cx, 5), qRgb(255, 255, 255));
}

}  // namespace
