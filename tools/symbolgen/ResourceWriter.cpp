#include "ResourceWriter.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

bool Fail(const QString& what) {
  std::fprintf(stderr, "symbolgen: %s\n", qPrintable(what));
  return false;
}

}  // namespace

bool WriteResources(const Catalog& catalog, const QString& folder, const QString& licencePath) {
  QDir dir(folder);
  if (!dir.mkpath(".")) {
    return Fail("cannot create " + folder);
  }
  // Old pictures go first, so that a symbol dropped from the catalogue does not linger.
  const QRegularExpression numbered("^[0-9]+\\.png$");
  for (const QString& name : dir.entryList({"*.png"}, QDir::Files)) {
    if (numbered.match(name).hasMatch() && !dir.remove(name)) {
      return Fail("cannot remove " + dir.filePath(name));
    }
  }

  std::vector<const Symbol*> sorted;
  for (const Symbol& symbol : catalog) {
    sorted.push_back(&symbol);
  }
  std::sort(sorted.begin(), sorted.end(), [](const Symbol* a, const Symbol* b) { return a->id < b->id; });

  QFile index(dir.filePath("index.txt"));
  if (!index.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    return Fail("cannot write " + index.fileName());
  }
  QTextStream out(&index);
  out << "# id width height origin-x origin-y name (origin: the drawing's reference point in bitmap "
         "pixels)\n";
  for (const Symbol* symbol : sorted) {
    const QString path = dir.filePath(QString::number(symbol->id) + ".png");
    QImageWriter writer(path, "png");
    writer.setQuality(0);  // smallest file
    if (!writer.write(symbol->bitmap.image)) {
      return Fail("cannot write " + path + ": " + writer.errorString());
    }
    out << symbol->id << ' ' << symbol->bitmap.image.width() << ' ' << symbol->bitmap.image.height() << ' '
        << symbol->bitmap.origin.x() << ' ' << symbol->bitmap.origin.y() << ' ' << symbol->name << '\n';
  }

  const QString licenceCopy = dir.filePath("OFL.txt");
  QFile::remove(licenceCopy);
  if (!QFile::copy(licencePath, licenceCopy)) {
    return Fail("cannot copy the font licence " + licencePath);
  }
  QFile::setPermissions(licenceCopy, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ReadGroup | QFileDevice::ReadOther);
  return true;
}
