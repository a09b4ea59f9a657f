// Chord diagrams drawn with the program's own pictures into an image; the
// picture is kept for a look.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstdio>
#include <string>
#include <vector>

#include "common/AppServices.h"
#include "common/ChordDiagram.h"
#include "common/ChordDiagramServices.h"
#include "common/Globals.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "model/KChordPic.h"
#include "platform/GdiFaults.h"
#include "platform/SymbolLoader.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

class ChordPicImage : public ::testing::Test {
 protected:
  ChordPicImage() {
    WidgetTestApp();
    Reset();
    SelectSymbolSize(0, 0);
  }
  ~ChordPicImage() override { Reset(); }
  static void Reset() {
    ResetSymbolCache();
    ResetCommonGlobals();
    ResetViewServices();
    ResetAppServices();
    ResetChordDiagramServices();
  }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// Whether any pixel of the rectangle is dark.
bool AnyDark(const QImage& image, int x, int y, int w, int h) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (Dark(image, i, j)) return true;
  return false;
}

TEST_F(ChordPicImage, DiagramsAndKeyboardRenderIntoAnImage) {
  g_fingerRowOption = 1;
  QImage image(400, 70, QImage::Format_RGB32);
  image.fill(Qt::white);
  KQtImageDC dc(image);

  struct Placed {
    const char* name;
    std::string shape;
    const char* picture;
    int x;
  };
  const std::vector<Placed> placed = {
      {"G", "0320003", "", 10},
      {"F", "1m33211         0000100640", "", 60},  // barre on its fret
      {"A", "5133211         0000000640", "", 110},
      {"Am", "0902210         1000000640123456", "", 160},  // finger labels
      {"Blank", "0320003", "", 210},
      {"G", "0320003", "Keyboard", 260},
  };
  for (const Placed& p : placed) {
    KChordPic diagram(0, p.name, CString(p.shape), 1);
    diagram.DrawDiagram(&dc, CString(p.picture), CString());
    ASSERT_NE(diagram.GetDiagramObj(), nullptr) << p.name;
    ASSERT_TRUE(BlitBitmap(&dc, diagram.GetDiagramObj(), p.x, 10, SRCCOPY)) << p.name;
  }
  const QString path = QString::fromStdString(::testing::TempDir()) + "ChordDiagrams.png";
  ASSERT_TRUE(image.scaled(image.width() * 4, image.height() * 4).save(path, "PNG"));
  std::printf("chord diagrams drawn into %s\n", path.toUtf8().constData());

  // G: the dot on the low string's third fret, the open circle on the D
  // string, the grid's cell interior white, and nothing under the grid.
  EXPECT_TRUE(Dark(image, 10 + 2, 10 + 21));
  EXPECT_TRUE(AnyDark(image, 10 + 12, 10, 5, 5));
  EXPECT_FALSE(Dark(image, 10 + 5, 10 + 9));
  EXPECT_FALSE(AnyDark(image, 10, 10 + 32, 42, 8));
  // F: the barre covers the first fret between the strings too.
  EXPECT_TRUE(Dark(image, 60 + 5, 10 + 9));
  EXPECT_TRUE(Dark(image, 60 + 17, 10 + 9));
  // A at the fifth fret: the base-fret number right of the grid, no nut.
  EXPECT_TRUE(AnyDark(image, 110 + 35, 10 + 7, 6, 6));
  EXPECT_FALSE(AnyDark(image, 110 + 8, 10 + 4, 20, 2));
  // Am: a finger-label row under the grid.
  EXPECT_TRUE(AnyDark(image, 160, 10 + 32, 36, 6));
  // Blank: no dots anywhere in the grid's first cells, but the nut.
  EXPECT_FALSE(AnyDark(image, 210 + 3, 10 + 13, 5, 5));
  EXPECT_TRUE(Dark(image, 210 + 10, 10 + 5));
  // Keyboard: G3 B3 D4 G4 B4 fall in the window from 48; B3 (d = 11) is a
  // white key with its dot.
  EXPECT_TRUE(AnyDark(image, 260 + 37, 10 + 17, 5, 5));
}

// The small image of a chord for a tuning: a diagram or the keyboard
// picture, sized to what it shows; a failed memory context or bitmap leaves
// the target empty and says which.
TEST_F(ChordPicImage, TheSmallChordImageIsMadeAtTheSizeOfWhatItShows) {
  QImage screen(8, 8, QImage::Format_RGB32);
  KQtImageDC dc(screen);
  const CString g = "0320003";
  const CString tuning = "E A D G B E  323742475156";
  const struct {
    const char* name;
    ChordImageKind kind;
    GdiResource failing;
    bool fails;
    ChordImageResult result;
    int width;
    int height;
  } cases[] = {
      {"diagram", ChordImageKind::kDiagram, GdiResource::Pen, false, ChordImageResult::kDrawn,
       GetDiagramStringCount(g), GetDiagramFretRows(g)},
      {"keyboard", ChordImageKind::kKeyboard, GdiResource::Pen, false, ChordImageResult::kDrawn, 91, 36},
      {"no memory context", ChordImageKind::kKeyboard, GdiResource::MemoryDC, true,
       ChordImageResult::kNoMemoryDC, 0, 0},
      {"no bitmap", ChordImageKind::kKeyboard, GdiResource::Bitmap, true, ChordImageResult::kNoBitmap, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CBitmap target;
    // An old image goes whatever happens.
    ASSERT_TRUE(target.CreateCompatibleBitmap(&dc, 5, 5));
    if (c.fails) FailNextGdiCreations(c.failing);
    EXPECT_EQ(DrawChordDiagramBitmap(&dc, target, g, tuning, c.kind), c.result);
    ResetGdiFaults();
    EXPECT_EQ(target.GetSize().cx, c.width);
    EXPECT_EQ(target.GetSize().cy, c.height);
    if (c.result != ChordImageResult::kDrawn) continue;
    QImage picture(c.width, c.height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    KQtImageDC into(picture);
    ASSERT_TRUE(BlitBitmap(&into, &target, 0, 0, SRCCOPY));
    EXPECT_TRUE(AnyDark(picture, 0, 0, c.width, c.height));
  }
}

}  // namespace
