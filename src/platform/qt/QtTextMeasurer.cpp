#include "platform/qt/QtTextMeasurer.h"

#include <QFontMetrics>
#include <algorithm>

#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtText.h"

namespace {

QFontMetrics MetricsFor(const QFont& font, QPaintDevice* device) {
  return device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
}

}  // namespace

const QtTextMeasurer& QtTextMeasurer::Screen() {
  static const QtTextMeasurer measurer;
  return measurer;
}

CSize QtTextMeasurer::GetTextExtent(const LOGFONT& font, std::string_view text) const {
  const QFontMetrics metrics = MetricsFor(QtFontMapper::ToQFont(font), m_device);
  return {metrics.horizontalAdvance(ToQString(text)), metrics.ascent() + metrics.descent()};
}

TEXTMETRIC QtTextMeasurer::GetTextMetrics(const LOGFONT& font) const {
  const QFont qfont = QtFontMapper::ToQFont(font);
  const QFontMetrics metrics = MetricsFor(qfont, m_device);
  TEXTMETRIC tm;
  tm.tmAscent = metrics.ascent();
  tm.tmDescent = metrics.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - qfont.pixelSize());
  tm.tmExternalLeading = std::max(0, metrics.leading());
  tm.tmAveCharWidth = metrics.averageCharWidth();
  tm.tmMaxCharWidth = metrics.maxWidth();
  tm.tmWeight = font.lfWeight <= 0 ? FW_NORMAL : font.lfWeight;
  CopyFontStyle(font, tm);
  return tm;
}
