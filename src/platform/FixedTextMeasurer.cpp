#include "platform/FixedTextMeasurer.h"

#include <algorithm>

int FixedTextMeasurer::CellHeight(const LOGFONT& font) {
  if (font.lfHeight > 0) return font.lfHeight;
  if (font.lfHeight < 0) return -font.lfHeight + -font.lfHeight / 8;
  return 16;
}

int FixedTextMeasurer::AveCharWidth(const LOGFONT& font) {
  if (font.lfWidth > 0) return font.lfWidth;
  return std::max(1, CellHeight(font) / 2);
}

CSize FixedTextMeasurer::GetTextExtent(const LOGFONT& font, std::string_view text) const {
  return {static_cast<int>(text.size()) * AveCharWidth(font), CellHeight(font)};
}

TEXTMETRIC FixedTextMeasurer::GetTextMetrics(const LOGFONT& font) const {
  TEXTMETRIC tm;
  const int h = CellHeight(font);
  tm.tmHeight = h;
  tm.tmDescent = h / 4;
  tm.tmAscent = h - tm.tmDescent;
  tm.tmInternalLeading = font.lfHeight < 0 ? -font.lfHeight / 8 : h / 8;
  tm.tmExternalLeading = 0;
  tm.tmAveCharWidth = AveCharWidth(font);
  tm.tmMaxCharWidth = tm.tmAveCharWidth;
  tm.tmWeight = font.lfWeight == 0 ? FW_NORMAL : font.lfWeight;
  CopyFontStyle(font, tm);
  return tm;
}
