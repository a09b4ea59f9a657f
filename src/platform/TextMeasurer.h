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
};
