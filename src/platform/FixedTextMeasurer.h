#pragma once
// A text measurer with simple, predictable numbers, for tests:
// - cell height H: lfHeight when positive; for a negative lfHeight, the
//   character height -lfHeight plus an internal leading of -lfHeight / 8;
//   16 when lfHeight is 0;
// - internal leading H / 8 for a positive lfHeight; ascent H - H / 4, descent H / 4;
// - every character, blanks included, is AveCharWidth wide: lfWidth when
//   positive, else max(1, H / 2); so a text of n bytes is n * AveCharWidth wide.

#include "platform/TextMeasurer.h"

class FixedTextMeasurer : public TextMeasurer {
 public:
  CSize GetTextExtent(const LOGFONT& font, std::string_view text) const override;
  TEXTMETRIC GetTextMetrics(const LOGFONT& font) const override;

  static int CellHeight(const LOGFONT& font);
  static int AveCharWidth(const LOGFONT& font);
};
