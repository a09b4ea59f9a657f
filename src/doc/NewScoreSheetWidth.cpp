#include "doc/NewScoreSheetWidth.h"

#include <algorithm>

#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"

namespace {

// Margins are kept in hundredths of an inch (units 0) or millimetres.
int MarginDots(int margin, int units, int dpi) {
  const double inches = units == 0 ? margin / 100.0 : margin / 25.4;
  return static_cast<int>(std::max(0.0, inches) * dpi + 1e-9);
}

}  // namespace

int NewScoreSheetWidth() {
  const KPrefPrinterParams& printer = g_prefPrinterParams;
  const int dpi = std::max(1, printer.resolutionX);
  const int page = printer.pageWidth > 0 ? printer.pageWidth : KPrefPrinterParams{}.pageWidth;
  const int units = g_prefPgMargins.units;
  const int printable =
      page - MarginDots(g_prefPgMargins.left, units, dpi) - MarginDots(g_prefPgMargins.right, units, dpi);
  return std::max(0, printable) * std::max(1, g_screenResX) / dpi;
}

int NewScoreStaffLength(int wanted, int leftEdge) {
  // The shortest staff a sheet must hold to be a measure for new staves.
  constexpr int kShortestSheetStaff = 200;
  const int sheetStaff = NewScoreSheetWidth() - leftEdge;
  return sheetStaff >= kShortestSheetStaff ? std::min(wanted, sheetStaff) : wanted;
}
