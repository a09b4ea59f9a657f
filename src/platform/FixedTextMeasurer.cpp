#include "platform/FixedTextMeasurer.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Fonts may come from a damaged score with any height at all: sizes are
// worked out in 64 bits and given back saturated to int.
int Saturated(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

int FixedTextMeasurer::CellHeight(const LOGFONT& font) {
  const std::int64_t height = font.lfHeight;
  if (height > 0) return font.lfHeight;
  if (height < 0) return Saturated(-height + -height / 8);
  return 16;
}

int FixedTextMeasurer::AveCharWidth(const LOGFONT& font) {
  if (font.lfWidth > 0) return font.lfWidth;
  return std::max(1, CellHeight(font) / 2);
}

CSize FixedTextMeasurer::GetTextExtent(const LOGFONT& font, std::string_view text) const {
  return {Saturated(static_cast<std::int64_t>(text.size()) * AveCharWidth(font)), CellHeight(font)};
}

TEXTMETRIC FixedTextMeasurer::GetTextMetrics(const LOGFONT& font) const {
  TEXTMETRIC tm;
  const int h = CellHeight(font);
  tm.tmHeight = h;
  tm.tmDescent = h / 4;
  tm.tmAscent = h - tm.tmDescent;
  tm.tmInternalLeading = font.lfHeight < 0 ? Saturated(-std::int64_t{font.lfHeight} / 8) : h / 8;
  tm.tmExternalLeading = 0;
  tm.tmAveCharWidth = AveCharWidth(font);
  tm.tmMaxCharWidth = tm.tmAveCharWidth;
  tm.tmWeight = font.lfWeight == 0 ? FW_NORMAL : font.lfWeight;
  CopyFontStyle(font, tm);
  return tm;
}
