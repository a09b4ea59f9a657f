#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <map>

#include "platform/qt/KQtSymbolLoader.h"

namespace {

// Width and height of each committed picture, from the index beside them.
std::map<int, QSize> IndexedSizes() {
  std::map<int, QSize> sizes;
  QFile index(QStringLiteral(STAVLIN_RESOURCE_DIR "/symbols/index.txt"));
  if (!index.open(QIODevice::ReadOnly | QIODevice::Text)) return sizes;
  QTextStream in(&index);
  while (!in.atEnd()) {
    const QStringList fields = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3 || fields[0].startsWith(QLatin1Char('#'))) continue;
    sizes[fields[0].toInt()] = QSize(fields[1].toInt(), fields[2].toInt());
  }
  return sizes;
}

TEST(KQtSymbolLoader, LoadsTheCommittedPicturesAsTheyAre) {
  const std::map<int, QSize> sizes = IndexedSizes();
  KQtSymbolLoader loader(QStringLiteral(STAVLIN_RESOURCE_DIR));
  struct Case {
    int id;
    int bitsPixel;
  };
  for (const Case& c : {Case{2123, 1}, Case{2100, 1}, Case{5204, 1}, Case{2380, 32}, Case{5620, 32}}) {
    SCOPED_TRACE(c.id);
    ASSERT_EQ(sizes.count(c.id), 1u);
    CBitmap bitmap;
    ASSERT_TRUE(loader.Load(c.id, bitmap));
    const BitmapData& pixels = *bitmap.Pixels();
    EXPECT_EQ(pixels.width, sizes.at(c.id).width());
    EXPECT_EQ(pixels.height, sizes.at(c.id).height());
    EXPECT_EQ(pixels.bitsPixel, c.bitsPixel);
    // Black where the picture is dark, white where it is light.
    const QImage image(QStringLiteral(STAVLIN_RESOURCE_DIR "/symbols/%1.png").arg(c.id));
    int dark = 0;
    for (int y = 0; y < pixels.height; ++y) {
      for (int x = 0; x < pixels.width; ++x) {
        if (c.bitsPixel == 1) {
          const bool black = qGray(image.pixel(x, y)) < 128;
          dark += black ? 1 : 0;
          ASSERT_EQ(pixels.Get(x, y), black ? 0u : 0xFFFFFFu) << x << "," << y;
        } else {
          ASSERT_EQ(pixels.Get(x, y), image.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
        }
      }
    }
    if (c.bitsPixel == 1) {
      EXPECT_GT(dark, 0);
    }
  }
}

TEST(KQtSymbolLoader, MissingOrUnreadablePicturesFailAndLeaveTheBitmapEmpty) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  {
    QFile broken(dir.filePath(QStringLiteral("7.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\nnot a picture");
  }
  QImage huge(5000, 1, QImage::Format_Mono);
  huge.fill(1);
  ASSERT_TRUE(huge.save(dir.filePath(QStringLiteral("8.png"))));
  QImage small(3, 2, QImage::Format_Mono);
  small.fill(0);
  ASSERT_TRUE(small.save(dir.filePath(QStringLiteral("9.png"))));

  KQtSymbolLoader loader;
  loader.SetSymbolDir(dir.path());
  for (int id : {7, 8, 10, -1}) {
    CBitmap bitmap;
    EXPECT_FALSE(loader.Load(id, bitmap)) << id;
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr) << id;
  }
  CBitmap bitmap;
  ASSERT_TRUE(loader.Load(9, bitmap));
  EXPECT_EQ(bitmap.GetSize(), CSize(3, 2));
}

TEST(KQtSymbolLoader, FindsTheResourceFolder) {
  const QString resources = KQtSymbolLoader::DefaultResourceDir();
  EXPECT_TRUE(QFileInfo(QDir(resources).filePath(QStringLiteral("symbols/index.txt"))).isFile())
      << resources.toStdString();
  KQtSymbolLoader loader;
  loader.SetResourceDir(QStringLiteral("/somewhere"));
  EXPECT_EQ(loader.SymbolDir(), QStringLiteral("/somewhere/symbols"));
  CBitmap bitmap;
  EXPECT_FALSE(loader.Load(2123, bitmap));
}

}  // namespace
