#pragma once
// Measuring text in a font: how wide a run of Windows-1252 bytes is, and the
// font's cell metrics. Device contexts measure through this interface, so the
// layout code can be tested with a fake whose widths are known in advance.

#include <string_view>

#include "platform/GdiObjects.h"
#include "platform/Geometry.h"

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width of the text and the font's cell height, in pixels.
  virtual CSize GetTextExtent(const LOGFONT& font, std::string_view text) const = 0;
  virtual TEXTMETRIC GetTextMetrics(const LOGFONT& font) const = 0;

 protected:
  // The metrics that every measurer takes from the font as they are: italic,
  // underline, strike-out, pitch and family, character set.
  static void CopyFontStyle(const LOGFONT& font, TEXTMETRIC& tm) {
    tm.tmItalic = font.lfItalic;
    tm.tmUnderlined = font.lfUnderline;
    tm.tmStruckOut = font.lfStrikeOut;
    tm.tmPitchAndFamily = font.lfPitchAndFamily;
    tm.tmCharSet = font.lfCharSet;
  }
};
