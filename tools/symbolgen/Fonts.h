#pragma once
// The two outline fonts the generator draws from: Bravura for the music glyphs
// (addressed by their SMuFL code points) and a bold sans-serif for digits and
// letters. Both are loaded once; outlines are taken unhinted.

#include <QPainterPath>
#include <QRawFont>
#include <QString>

class Fonts {
 public:
  // Loads both fonts; false with a message on stderr when one cannot be read.
  static bool Load(const QString& musicFontPath, const QString& textFontPath);

  // Outline of a SMuFL glyph with its origin at (0, 0), y downwards, one staff
  // space = 1.0. An empty path when the font has no such glyph.
  static QPainterPath Music(char32_t codePoint);

  // Outline of a text run with its baseline origin at (0, 0), y downwards, at a
  // pixel size of 1.0 (cap height about 0.73).
  static QPainterPath Text(const QString& text);

 private:
  static QRawFont& MusicFont();
  static QRawFont& TextFont();
};
