#pragma once
// Measures text with QFontMetrics of the font QtFontMapper makes, for a paint
// device (a printer measures at its own resolution) or the screen. A text is
// measured once per font: the layout asks for the widths of the same title
// and text lines at every rebuild, so the extents of short texts are kept
// (and forgotten when the device's resolution changes).

#include <QPaintDevice>
#include <string>
#include <unordered_map>

#include "platform/TextMeasurer.h"

class QtTextMeasurer : public TextMeasurer {
 public:
  explicit QtTextMeasurer(QPaintDevice* device = nullptr) : m_device(device) {}

  CSize GetTextExtent(const LOGFONT& font, std::string_view text) const override;
  TEXTMETRIC GetTextMetrics(const LOGFONT& font) const override;

  // The measurer for screen and image drawing.
  static const QtTextMeasurer& Screen();

 private:
  // The logical resolution the texts are measured at now.
  double Resolution() const;

  QPaintDevice* m_device;
  mutable std::unordered_map<std::string, CSize> m_extents;  // by font bytes and text
  mutable double m_extentsResolution = 0;
};
