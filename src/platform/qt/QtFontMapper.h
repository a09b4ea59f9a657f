#pragma once
// The one place where a LOGFONT becomes a QFont.
// - Height: a positive lfHeight is the cell height (ascent + descent as Qt
//   reports them): the largest pixel size whose cell is not taller is chosen;
//   a negative lfHeight is the character (em) height, which is the pixel size.
//   0 asks for the default 16-pixel cell. Heights are limited to 4000 pixels.
// - Width: a nonzero lfWidth stretches the face to that average character width.
// - lfEscapement and lfOrientation never turn the text (the program keeps a
//   text colour in the escapement); text is always upright.
// - Weight, italic, underline, strike-out as given; kerning off, as the
//   character-by-character layout of the program expects.
// - Faces: Arial (and the other sans-serif interface faces), Times New Roman
//   and Courier New resolve to the metric-compatible Liberation Sans, Serif and
//   Mono; another installed face is used as it is; an unknown one falls back
//   by the pitch-and-family field.

#include <QFont>
#include <QString>

#include "platform/GdiObjects.h"

class QtFontMapper {
 public:
  static QFont ToQFont(const LOGFONT& font);
  // The family a face name resolves to.
  static QString FamilyFor(const LOGFONT& font);
};
