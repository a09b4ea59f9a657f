// The symbol cache drawing the committed pictures onto real pixels.

#include <gtest/gtest.h>

#include <QImage>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "support/ImageTestSupport.h"

namespace {

using namespace stavlin_test;

class SymbolCacheOnImage : public ::testing::Test {
 protected:
  SymbolCacheOnImage() { Reset(); }
  ~SymbolCacheOnImage() override { Reset(); }
  static void Reset() {
    ResetSymbolCache();
    ResetCommonGlobals();
    ResetViewServices();
    ResetAppServices();
  }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};

TEST_F(SymbolCacheOnImage, ASymbolPaintsItsBlackPixelsAtItsPlace) {
  CBitmap picture;
  ASSERT_TRUE(loader.Load(2123, picture));
  const CSize size = picture.GetSize();
  QImage image = WhiteImage(40, 50);
  {
    KQtImageDC dc(image);
    LoadSymbolBitmap(&dc, 0, 13, 10, 20, 100, 100, SRCAND);
  }
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int px = x - 10, py = y - 20;
      const bool inside = px >= 0 && py >= 0 && px < size.cx && py < size.cy;
      const QRgb expected = inside && picture.Pixels()->Get(px, py) == 0 ? 0xFF000000 : kWhite;
      ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
    }
  }
}

// The print picture of a wide symbol is larger than 100 pixels across: all of
// it must be white but for the screen picture copied into its corner.
TEST_F(SymbolCacheOnImage, AWidePrintSymbolIsBlackOnlyWhereItsPictureIs) {
  CBitmap screenPicture;
  ASSERT_TRUE(loader.Load(2370, screenPicture));
  const CSize screenSize = screenPicture.GetSize();
  CBitmap printPicture;
  ASSERT_TRUE(loader.Load(2970, printPicture));
  const CSize printSize = printPicture.GetSize();
  ASSERT_GT(printSize.cx, 100);

  g_deviceRender = 1;
  g_screenResX = g_screenResY = g_deviceResX = g_deviceResY = 300;
  QImage image = WhiteImage(3 * printSize.cx + 20, 3 * printSize.cy + 20);
  {
    KQtImageDC dc(image, 300, 300);
    LoadSymbolBitmap(&dc, 12, 0, 0, 0, 100, 100, SRCAND);
  }
  int black = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == kWhite) continue;
      ++black;
      // Stretched three times: only the screen picture's area can be dark,
      // and only where the screen picture is black.
      ASSERT_LT(x, 3 * screenSize.cx) << x << "," << y;
      ASSERT_LT(y, 3 * screenSize.cy) << x << "," << y;
      ASSERT_EQ(screenPicture.Pixels()->Get(x / 3, y / 3), 0u) << x << "," << y;
    }
  }
  EXPECT_GT(black, 0);
}

}  // namespace
