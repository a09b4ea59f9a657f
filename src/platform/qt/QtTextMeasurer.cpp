#include "platform/qt/QtTextMeasurer.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtText.h"

namespace {

QFontMetrics MetricsFor(const QFont& font, QPaintDevice* device) {
  return device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
}

// Texts up to this length are kept with their extents; longer ones (rare,
// and measured in time linear in their length anyway) are measured each time.
constexpr std::size_t kLongestKeptText = 256;
// The kept extents are forgotten when there are this many.
constexpr std::size_t kMostKeptExtents = 1 << 16;

// The font's bytes are the key's first part: equal fonts are equal bytes.
static_assert(std::has_unique_object_representations_v<LOGFONT>);

}  // namespace

const QtTextMeasurer& QtTextMeasurer::Screen() {
  static const QtTextMeasurer measurer;
  return measurer;
}

double QtTextMeasurer::Resolution() const {
  if (m_device != nullptr) return m_device->logicalDpiX() * 10000.0 + m_device->logicalDpiY();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchX() * 10000.0 + screen->logicalDotsPerInchY() : 0;
}

CSize QtTextMeasurer::GetTextExtent(const LOGFONT& font, std::string_view text) const {
  const auto measure = [&] {
    const QFontMetrics metrics = MetricsFor(QtFontMapper::ToQFont(font), m_device);
    return CSize{metrics.horizontalAdvance(ToQString(text)), metrics.ascent() + metrics.descent()};
  };
  if (text.size() > kLongestKeptText) return measure();
  const double resolution = Resolution();
  if (resolution != m_extentsResolution || m_extents.size() >= kMostKeptExtents) {
    m_extents.clear();
    m_extentsResolution = resolution;
  }
  std::string key(sizeof(LOGFONT) + text.size(), '\0');
  std::memcpy(key.data(), &font, sizeof(LOGFONT));
  std::memcpy(key.data() + sizeof(LOGFONT), text.data(), text.size());
  if (const auto kept = m_extents.find(key); kept != m_extents.end()) return kept->second;
  const CSize extent = measure();
  m_extents.emplace(std::move(key), extent);
  return extent;
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
