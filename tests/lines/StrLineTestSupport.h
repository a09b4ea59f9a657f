#pragma once
// Shared pieces of the text-line tests: a fixture that restores the program's
// start values, the text-line services and the injected drawing faults; a
// text measurer with two character widths, so that measuring has to walk; and
// a font table for it.

#include <string>
#include <string_view>
#include <vector>

#include "common/ErrorReporter.h"
#include "lines/KStrLine.h"
#include "lines/KStrLineServices.h"
#include "model/LineTestSupport.h"
#include "platform/GdiFaults.h"
#include "platform/RecordingDC.h"

namespace strline {

// "W" is 12 pixels wide, every other byte 6; cells are 14 high. It remembers
// the fonts it measured with.
class TwoWidthMeasurer : public TextMeasurer {
 public:
  static constexpr int kNarrow = 6;
  static constexpr int kWide = 12;

  CSize GetTextExtent(const LOGFONT& font, std::string_view text) const override {
    fonts.push_back(font);
    int width = 0;
    for (char ch : text) width += ch == 'W' ? kWide : kNarrow;
    return {width, 14};
  }
  TEXTMETRIC GetTextMetrics(const LOGFONT& font) const override {
    fonts.push_back(font);
    TEXTMETRIC metrics;
    metrics.tmHeight = 14;
    metrics.tmAscent = 11;
    metrics.tmDescent = 3;
    metrics.tmAveCharWidth = kNarrow;
    metrics.tmMaxCharWidth = kWide;
    return metrics;
  }

  mutable std::vector<LOGFONT> fonts;
};

// Font numbers 0 to 40; font n has height 10 + n and its colour n in the escapement.
inline std::vector<LOGFONT> FontTable() {
  std::vector<LOGFONT> table(41);
  for (int n = 0; n < 41; ++n) {
    table[static_cast<std::size_t>(n)].lfHeight = 10 + n;
    table[static_cast<std::size_t>(n)].lfEscapement = n;
    SetFaceName(table[static_cast<std::size_t>(n)], "Arial");
  }
  return table;
}

class StrLineTest : public LineTest {
 protected:
  StrLineTest() { Reset(); }
  ~StrLineTest() override { Reset(); }

  static void Reset() {
    ResetTextLineServices();
    ResetGdiFaults();
  }

  TwoWidthMeasurer measurer;
  RecordingDC dc{DeviceCaps(), false, &measurer};
  std::vector<LOGFONT> fonts = FontTable();
};

}  // namespace strline
