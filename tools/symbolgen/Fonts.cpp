#include "Fonts.h"

#include <QTransform>
#include <cstdio>

namespace {

// Outlines are taken at a large pixel size and scaled down, so that the font's
// own rounding plays no part.
constexpr double kMusicEm = 400.0;  // SMuFL: one em is four staff spaces
constexpr double kTextEm = 100.0;

}  // namespace

QRawFont& Fonts::MusicFont() {
  static QRawFont font;
  return font;
}

QRawFont& Fonts::TextFont() {
  static QRawFont font;
  return font;
}

bool Fonts::Load(const QString& musicFontPath, const QString& textFontPath) {
  MusicFont().loadFromFile(musicFontPath, kMusicEm, QFont::PreferNoHinting);
  if (!MusicFont().isValid()) {
    std::fprintf(stderr, "symbolgen: cannot read the music font %s (run tools/fetch-bravura.sh)\n",
                 qPrintable(musicFontPath));
    return false;
  }
  TextFont().loadFromFile(textFontPath, kTextEm, QFont::PreferNoHinting);
  if (!TextFont().isValid()) {
    std::fprintf(stderr, "symbolgen: cannot read the text font %s\n", qPrintable(textFontPath));
    return false;
  }
  return true;
}

QPainterPath Fonts::Music(char32_t codePoint) {
  const QString text = QString::fromUcs4(&codePoint, 1);
  const QList<quint32> glyphs = MusicFont().glyphIndexesForString(text);
  if (glyphs.isEmpty() || glyphs.front() == 0) {
    return {};
  }
  const double unit = kMusicEm / 4.0;
  return QTransform::fromScale(1.0 / unit, 1.0 / unit).map(MusicFont().pathForGlyph(glyphs.front()));
}

QPainterPath Fonts::Text(const QString& text) {
  QRawFont& font = TextFont();
  const QList<quint32> glyphs = font.glyphIndexesForString(text);
  const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
  QPainterPath path;
  double x = 0;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    path.addPath(font.pathForGlyph(glyphs[i]).translated(x, 0));
    x += advances[i].x();
  }
  return QTransform::fromScale(1.0 / kTextEm, 1.0 / kTextEm).map(path);
}
