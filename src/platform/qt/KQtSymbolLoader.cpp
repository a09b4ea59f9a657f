#include "platform/qt/KQtSymbolLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "platform/qt/QtBitmapImage.h"

namespace {

// Symbol pictures are small; anything larger is not one of ours.
constexpr int kMaxSide = 4096;

QString SymbolsOf(const QString& resourceDir) {
  return QDir(resourceDir).filePath(QStringLiteral("symbols"));
}

}  // namespace

KQtSymbolLoader::KQtSymbolLoader() : KQtSymbolLoader(DefaultResourceDir()) {}

KQtSymbolLoader::KQtSymbolLoader(const QString& resourceDir) : m_symbolDir(SymbolsOf(resourceDir)) {}

void KQtSymbolLoader::SetResourceDir(const QString& resourceDir) { m_symbolDir = SymbolsOf(resourceDir); }

void KQtSymbolLoader::SetSymbolDir(const QString& symbolDir) { m_symbolDir = symbolDir; }

QString KQtSymbolLoader::DefaultResourceDir() {
  if (QCoreApplication::instance() != nullptr) {
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../resources"));
    if (QFileInfo(SymbolsOf(beside)).isDir()) return QDir::cleanPath(beside);
  }
#ifdef STAVLIN_RESOURCE_DIR
  return QStringLiteral(STAVLIN_RESOURCE_DIR);
#else
  return QStringLiteral("resources");
#endif
}

bool KQtSymbolLoader::Load(int id, CBitmap& bitmap) {
  if (id < 0) return false;
  QImageReader reader(QDir(m_symbolDir).filePath(QString::number(id) + QStringLiteral(".png")),
                      QByteArrayLiteral("png"));
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide) return false;
  QImage image;
  if (!reader.read(&image) || image.isNull()) return false;
  const bool monochrome = image.depth() == 1;
  bitmap.DeleteObject();
  if (!CreateBitmapFromQImage(bitmap, image, monochrome)) {
    bitmap.DeleteObject();
    return false;
  }
  return true;
}
