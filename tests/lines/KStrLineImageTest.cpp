// A lyric line with a text box and a bracket drawn onto a real image with the
// program's symbol pictures and fonts. The picture is written to the temporary
// folder (stavlin-strline.png, and a three times magnified copy) for a look;
// the test checks where ink must and must not be.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "StrLineTestSupport.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"
#include "support/ImageTestSupport.h"

namespace {

using namespace strline;

using namespace stavlin_test;

class KStrLineImage : public StrLineTest {
 protected:
  KStrLineImage() {
    WidgetTestApp();
    ResetSymbolCache();
    SelectSymbolSize(0, 0);
  }
  ~KStrLineImage() override { ResetSymbolCache(); }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};

TEST_F(KStrLineImage, ALyricLineWithItsAttachments) {
  QImage image = WhiteImage(420, 70);
  KQtImageDC qtdc(image);

  // Font 3 of the table: 20-pixel Arial (Liberation Sans), its colour (the
  // escapement) set aside when the font is made.
  fonts[3].lfHeight = -20;
  fonts[3].lfEscapement = 0x0000FF;
  KStrLine line("   (c) Stavlin lyrics: la la la", 3);
  line.HandleKey(')', 0, 0, 5, 0, 0, 0, 0);                   // "(c)" typed: the copyright sign
  line.HandleKey(KStrLine::kKeyDelete, 0, 0, 4, 0, 0, 0, 0);  // the ")" that was there
  line.SetIndent(10);
  line.AppendAttachment(new KExtendedObj(10330, 0, "Chorus", "14,0,0,0,700,0,0,0,0,3,2,1,34,Arial"));
  line.AppendAttachment(new KExtendedObj(2, 0, 7, 0, 0, 60, 8));

  LOGFONT chosen = fonts[3];
  chosen.lfEscapement = 0;
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&chosen));
  CFont* old = qtdc.SelectObject(&font);
  const int width = line.GetWidth(&qtdc, fonts);
  line.Draw(&qtdc, 30, 0, 0, 20, 0, 0, 0, 0, 0);
  qtdc.SelectObject(old);

  SaveForLook(image, "stavlin-strline");

  ASSERT_GT(width, 150);
  ASSERT_LT(width, 320);
  const int start = 20 + 10;
  const int firstInk = start + line.GetXOfColumn(&qtdc, fonts, 3);
  EXPECT_FALSE(Inked(image, 0, 0, firstInk - 1, 26)) << "nothing left of the first character";
  EXPECT_TRUE(Inked(image, firstInk, 27, start + width, 50)) << "the text, raised 3 pixels";
  EXPECT_FALSE(Inked(image, start + width + 2, 27, start + 325, 50)) << "nothing after the text";
  EXPECT_TRUE(m_ui.Messages().empty());
}

}  // namespace
