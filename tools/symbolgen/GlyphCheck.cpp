#include "GlyphCheck.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>

#include "Fonts.h"
#include "Smufl.h"

int CheckGlyphs(const QString& metadataPath) {
  QFile file(metadataPath);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "symbolgen: cannot read %s\n", qPrintable(metadataPath));
    return 1;
  }
  const QJsonObject boxes = QJsonDocument::fromJson(file.readAll()).object().value("glyphBBoxes").toObject();
  int failures = 0;
  for (const smufl::NamedGlyph& glyph : smufl::kNamed) {
    const QJsonObject box = boxes.value(glyph.name).toObject();
    const QRectF outline = Fonts::Music(glyph.code).boundingRect();
    if (box.isEmpty() || outline.isEmpty()) {
      std::printf("%-32s U+%04X: %s\n", glyph.name, static_cast<unsigned>(glyph.code),
                  box.isEmpty() ? "not in the metadata" : "no outline in the font");
      ++failures;
      continue;
    }
    // The metadata's y axis points up; the outline's points down.
    const double left = box["bBoxSW"].toArray()[0].toDouble();
    const double bottom = box["bBoxSW"].toArray()[1].toDouble();
    const double right = box["bBoxNE"].toArray()[0].toDouble();
    const double top = box["bBoxNE"].toArray()[1].toDouble();
    const double error = std::fabs(outline.left() - left) + std::fabs(outline.right() - right) +
                         std::fabs(-outline.top() - top) + std::fabs(-outline.bottom() - bottom);
    if (error > 0.05) {
      std::printf("%-32s U+%04X: outline (%.3f %.3f)-(%.3f %.3f), metadata (%.3f %.3f)-(%.3f %.3f)\n",
                  glyph.name, static_cast<unsigned>(glyph.code), outline.left(), -outline.bottom(),
                  outline.right(), -outline.top(), left, bottom, right, top);
      ++failures;
    }
  }
  std::printf("%d of %zu glyphs do not match\n", failures, smufl::kNamed.size());
  return failures;
}
