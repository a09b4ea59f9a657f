#pragma once
// Measures text with QFontMetrics of the font QtFontMapper makes, for a paint
// device (a printer measures at its own resolution) or the screen.

#include <QPaintDevice>

#include "platform/TextMeasurer.h"

class QtTextMeasurer : public TextMeasurer {
 public:
  explicit QtTextMeasurer(QPaintDevice* device = nullptr) : m_device(device) {}

  CSize GetTextExtent(const LOGFONT& font, std::string_view text) const override;
  TEXTMETRIC GetTextMetrics(const LOGFONT& font) const override;

  // The measurer for screen and image drawing.
  static const QtTextMeasurer& Screen();

 private:
  QPaintDevice* m_device;
};
