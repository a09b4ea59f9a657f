#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <ostream>
#include <string>

#include "WidgetTestApp.h"
#include "common/FontCodec.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtTextMeasurer.h"

namespace {

// A font from its stored text form.
LOGFONT ParseFontText(const char* text) {
  LOGFONT font;
  EXPECT_TRUE(StringToLogFont(CString(text), font)) << text;
  return font;
}

LOGFONT Font(const char* face, LONG height, BYTE pitchAndFamily = 0) {
  LOGFONT font;
  font.lfHeight = height;
  font.lfPitchAndFamily = pitchAndFamily;
  SetFaceName(font, face);
  return font;
}

int Cell(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.ascent() + metrics.descent();
}

class QtFontMapping : public ::testing::Test {
 protected:
  void SetUp() override { WidgetTestApp(); }
};

TEST_F(QtFontMapping, StoredBoldArialBecomesBoldLiberationSansWithASixteenPixelCell) {
  const LOGFONT logFont = ParseFontText("16,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
  ASSERT_EQ(logFont.lfHeight, 16);
  ASSERT_EQ(logFont.lfWeight, 700);
  const QFont font = QtFontMapper::ToQFont(logFont);
  const QFontInfo info(font);
  EXPECT_EQ(info.family(), "Liberation Sans");
  EXPECT_TRUE(info.bold());
  EXPECT_FALSE(info.italic());
  EXPECT_EQ(Cell(font), 16);
}

struct FaceCase {
  const char* name;
  LOGFONT font;
  const char* family;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.name; }

class QtFontMapperFaces : public QtFontMapping, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(QtFontMapperFaces, ResolveToInstalledMetricCompatibleFamilies) {
  const QFont font = QtFontMapper::ToQFont(GetParam().font);
  EXPECT_EQ(QtFontMapper::FamilyFor(GetParam().font), GetParam().family);
  EXPECT_EQ(QFontInfo(font).family(), GetParam().family);  // really installed, not a substitute
}

INSTANTIATE_TEST_SUITE_P(
    QtFontMapping, QtFontMapperFaces,
    ::testing::Values(FaceCase{"Arial", Font("Arial", 16), "Liberation Sans"},
                      FaceCase{"ArialAnyCase", Font("aRIAL", 16), "Liberation Sans"},
                      FaceCase{"TimesNewRoman", Font("Times New Roman", 16), "Liberation Serif"},
                      FaceCase{"CourierNew", Font("Courier New", 16), "Liberation Mono"},
                      FaceCase{"NoFaceRoman", Font("", 16, VARIABLE_PITCH | FF_ROMAN), "Liberation Serif"},
                      FaceCase{"UnknownFixedPitch", Font("No Such Face 12", 16, FIXED_PITCH | FF_MODERN),
                               "Liberation Mono"},
                      FaceCase{"UnknownSwiss", Font("No Such Face 12", 16, FF_SWISS), "Liberation Sans"}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.name); });

TEST_F(QtFontMapping, PositiveHeightIsTheTallestCellThatFits) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New"})
    for (const LONG height : {8, 10, 12, 13, 14, 16, 18, 20, 24, 32, 48, 72}) {
      LOGFONT logFont = Font(face, height);
      logFont.lfWeight = height % 3 == 0 ? FW_BOLD : FW_NORMAL;
      const QFont font = QtFontMapper::ToQFont(logFont);
      QFont larger = font;
      larger.setPixelSize(font.pixelSize() + 1);
      EXPECT_LE(Cell(font), height) << face << " " << height;
      EXPECT_GT(Cell(larger), height) << face << " " << height;
    }
}

TEST_F(QtFontMapping, NegativeHeightIsTheCharacterHeight) {
  for (const LONG height : {-9, -12, -16, -30}) {
    const LOGFONT logFont = Font("Arial", height);
    EXPECT_EQ(QtFontMapper::ToQFont(logFont).pixelSize(), -height);
    const TEXTMETRIC tm = QtTextMeasurer::Screen().GetTextMetrics(logFont);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -height);
  }
}

TEST_F(QtFontMapping, StyleFieldsCarryOverAndEscapementNeverTurnsText) {
  LOGFONT logFont = Font("Times New Roman", 20);
  logFont.lfItalic = logFont.lfUnderline = logFont.lfStrikeOut = 1;
  logFont.lfWeight = FW_NORMAL;
  const QFont plain = QtFontMapper::ToQFont(logFont);
  EXPECT_TRUE(plain.italic());
  EXPECT_TRUE(plain.underline());
  EXPECT_TRUE(plain.strikeOut());
  EXPECT_EQ(plain.weight(), QFont::Normal);

  // A text colour kept in the escapement field must not turn the text.
  LOGFONT coloured = logFont;
  coloured.lfEscapement = static_cast<LONG>(RGB(200, 0, 0));
  coloured.lfOrientation = 900;
  EXPECT_EQ(QtFontMapper::ToQFont(coloured), plain);

  const auto draw = [](const LOGFONT& f) {
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    KQtImageDC dc(image);
    CFont font;
    font.CreateFontIndirect(&f);
    dc.SelectObject(&font);
    dc.TextOut(2, 2, "MMMM");
    return image;
  };
  EXPECT_EQ(draw(coloured), draw(logFont));
}

TEST_F(QtFontMapping, WidthStretchesTheFace) {
  LOGFONT narrow = Font("Arial", 20), wide = narrow;
  wide.lfWidth = 2 * QFontMetrics(QtFontMapper::ToQFont(narrow)).averageCharWidth();
  const int natural = QtTextMeasurer::Screen().GetTextExtent(narrow, "abcdefgh").cx;
  const int stretched = QtTextMeasurer::Screen().GetTextExtent(wide, "abcdefgh").cx;
  EXPECT_GT(stretched, natural * 3 / 2);
}

}  // namespace
