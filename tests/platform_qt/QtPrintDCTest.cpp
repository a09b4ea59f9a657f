#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "WidgetTestApp.h"
#include "platform/qt/KQtPrintDC.h"

namespace {

constexpr int kDpi = 100;

const std::vector<std::string> kGlyph = {
    "........", "..####..", ".#....#.", ".#....#.", "..####..", "........",
};

void MakeGlyph(CBitmap& bitmap) {
  ASSERT_TRUE(bitmap.CreateBitmap(8, 6, 1, 1, nullptr));
  PixelSurface surface = bitmap.Pixels()->Surface();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      surface.Set(x, y, kGlyph[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#' ? 0 : 0xFFFFFF);
}

// Renders the first page of a PDF at the writer's resolution, when Ghostscript is there.
QImage Render(const QString& pdf, const QString& png) {
  const QString gs = QStandardPaths::findExecutable("gs");
  if (gs.isEmpty()) return {};
  QProcess process;
  process.start(gs, {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pnggray", QString("-r%1").arg(kDpi),
                     "-dGraphicsAlphaBits=1", "-dTextAlphaBits=1", "-sOutputFile=" + png, pdf});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QImage(png);
}

class QtPrintDC : public ::testing::Test {
 protected:
  void SetUp() override {
    WidgetTestApp();
    ASSERT_TRUE(m_dir.isValid());
  }
  QString Path(const char* name) const { return m_dir.filePath(name); }

  QTemporaryDir m_dir;
};

TEST_F(QtPrintDC, DrawsAPdfPageWithSymbolsAsMasks) {
  const QString pdf = Path("page.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(kDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(2, 1), QPageSize::Inch), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    ASSERT_TRUE(painter.begin(&writer));
    {
      KQtPrintDC dc(painter);
      EXPECT_TRUE(dc.IsPrinting());
      EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), kDpi);
      EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 2 * kDpi);
      EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);

      CBitmap glyph;
      MakeGlyph(glyph);
      std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
      ASSERT_NE(memory, nullptr);
      EXPECT_FALSE(memory->IsPrinting());
      EXPECT_EQ(memory->GetDeviceCaps(LOGPIXELSX), kDpi);
      CBitmap* old = memory->SelectObject(&glyph);

      dc.FillSolidRect(10, 10, 50, 40, RGB(0, 0, 0));
      // On black ink: the glyph's white must not show.
      EXPECT_TRUE(dc.StretchBlt(20, 20, 32, 24, memory.get(), 0, 0, 8, 6, SRCAND));
      // On white paper: the glyph's black shows.
      EXPECT_TRUE(dc.StretchBlt(100, 20, 32, 24, memory.get(), 0, 0, 8, 6, SRCAND));
      memory->SelectObject(old);

      dc.SetBkMode(TRANSPARENT);
      dc.TextOut(140, 10, "Bar 3");
      dc.MoveTo(0, 90);
      dc.LineTo(200, 90);
    }
    EXPECT_TRUE(painter.end());
  }
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_GT(file.size(), 200);
  EXPECT_TRUE(file.read(5).startsWith("%PDF"));
  file.close();

  const QImage page = Render(pdf, Path("page.png"));
  if (page.isNull()) GTEST_SKIP() << "Ghostscript (gs) is needed to look at the printed page";
  ASSERT_EQ(page.width(), 2 * kDpi);
  const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 100; };
  for (int gy = 0; gy < 6; ++gy)
    for (int gx = 0; gx < 8; ++gx) {
      const bool ink = kGlyph[static_cast<size_t>(gy)][static_cast<size_t>(gx)] == '#';
      EXPECT_TRUE(dark(20 + gx * 4 + 2, 20 + gy * 4 + 2)) << gx << "," << gy;      // on the black square
      EXPECT_EQ(dark(100 + gx * 4 + 2, 20 + gy * 4 + 2), ink) << gx << "," << gy;  // on paper
    }
  EXPECT_TRUE(dark(100, 90));  // the line
  bool text = false;
  for (int y = 10; y < 30; ++y)
    for (int x = 140; x < 200; ++x) text = text || dark(x, y);
  EXPECT_TRUE(text);
}

TEST_F(QtPrintDC, OperationsThatReadThePaperPaintOnlyWhatWouldNotBeWhite) {
  const QString pdf = Path("ops.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(kDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(1, 1), QPageSize::Inch), QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    KQtPrintDC dc(painter);
    dc.FillSolidRect(0, 0, 50, 50, RGB(0, 0, 0));
    CBrush white(RGB(255, 255, 255));
    dc.SelectObject(&white);
    dc.SetROP2(R2_MASKPEN);  // black AND white: the ink stays
    dc.Rectangle(10, 10, 40, 40);
    dc.SetROP2(R2_COPYPEN);
    dc.PatBlt(60, 0, 30, 30, PATCOPY);     // white on white paper
    dc.PatBlt(60, 60, 30, 30, DSTINVERT);  // inverted paper is black
  }
  const QImage page = Render(pdf, Path("ops.png"));
  if (page.isNull()) GTEST_SKIP() << "Ghostscript (gs) is needed to look at the printed page";
  EXPECT_LT(qGray(page.pixel(25, 25)), 100);
  EXPECT_GT(qGray(page.pixel(75, 15)), 200);
  EXPECT_LT(qGray(page.pixel(75, 75)), 100);
}

// Each drawing on paper shows only inside the clip in force when it is made,
// however the clip changed before; a drawing whose edge reaches into the
// clip shows there even when its middle lies outside.
struct KClipCase {
  const char* what;
  CRect clip;        // empty: no clip
  int penWidth;      // 0: the glyph blitted at (x, 40) instead of a line
  int x;             // the vertical line's or the glyph's left
  int inkX, blankX;  // a column that must be dark, one that must stay white (-1: none)
};

TEST_F(QtPrintDC, EachDrawingShowsOnlyInsideTheClipInForceWhenItIsMade) {
  const KClipCase cases[] = {
      {"a line left of the clip", CRect(50, 0, 100, 160), 1, 20, -1, 20},
      {"a line inside the clip", CRect(50, 0, 100, 160), 1, 70, 70, -1},
      {"the same line with no clip", CRect(), 1, 20, 20, -1},
      {"a wide line centred outside that reaches in", CRect(50, 0, 100, 160), 9, 46, 50, 45},
      {"a narrower clip after it", CRect(0, 0, 30, 160), 9, 46, -1, 46},
      {"a glyph half in the clip", CRect(0, 0, 56, 160), 0, 40, 50, 58},
      {"a glyph wholly out of the clip", CRect(0, 0, 30, 160), 0, 40, -1, 50},
  };
  QImage paper(100, 160, QImage::Format_RGB32);
  paper.fill(Qt::white);
  QPainter painter(&paper);
  KQtPrintDC dc(painter);
  CBitmap glyph;
  MakeGlyph(glyph);
  std::unique_ptr<CDC> memory = dc.CreateCompatibleDC();
  ASSERT_NE(memory, nullptr);
  CBitmap* oldBitmap = memory->SelectObject(&glyph);
  int y = 0;
  for (const KClipCase& c : cases) {
    SCOPED_TRACE(c.what);
    dc.SelectClipRgn(nullptr);
    if (!c.clip.IsRectEmpty()) dc.IntersectClipRect(&c.clip);
    CPen pen(PS_SOLID, std::max(1, c.penWidth), RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    // Each case draws in its own band of rows (round caps stay inside it),
    // checked at once: the painter paints the image as it goes.
    const int top = y;
    const int bottom = y + 12;
    if (c.penWidth > 0) {
      dc.MoveTo(c.x, top);
      dc.LineTo(c.x, bottom);
    } else {
      // The glyph's ring, four times enlarged, spans its columns 1 to 6.
      EXPECT_TRUE(dc.StretchBlt(c.x, top, 32, 12, memory.get(), 0, 0, 8, 6, SRCAND));
    }
    dc.SelectObject(oldPen);
    const int row = c.penWidth > 0 ? top + 6 : top + 3;  // the glyph's top stroke is at its row 1
    if (c.inkX >= 0) {
      EXPECT_LT(qGray(paper.pixel(c.inkX, row)), 100) << "at " << c.inkX;
    }
    if (c.blankX >= 0) {
      EXPECT_GT(qGray(paper.pixel(c.blankX, row)), 200) << "at " << c.blankX;
    }
    y += 20;
  }
  memory->SelectObject(oldBitmap);
}

}  // namespace
