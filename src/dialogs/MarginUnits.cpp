#include "dialogs/MarginUnits.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kInchOffset = 0.25;
constexpr double kMillimetreOffset = 6.0;
constexpr double kMillimetresPerInch = 25.4;

// The margin's length from the printable area, in its unit (inches or millimetres).
double Length(double shown, int units) {
  return std::max(0.0, shown - (units == kMarginInches ? kInchOffset : kMillimetreOffset));
}

}  // namespace

double ShownMargin(int stored, int units) {
  return units == kMarginInches ? stored * 0.01 + kInchOffset : stored + kMillimetreOffset;
}

int StoredMargin(double shown, int units) {
  const double length = Length(shown, units);
  return static_cast<int>(std::lround(units == kMarginInches ? length * 100.0 : length));
}

double ConvertShownMargin(double shown, int fromUnits, int toUnits) {
  if (fromUnits == toUnits) return shown;
  const double length = Length(shown, fromUnits);
  if (toUnits == kMarginMillimetres) return length * kMillimetresPerInch + kMillimetreOffset;
  return length / kMillimetresPerInch + kInchOffset;
}

void ConvertMarginFields(DialogControls& controls, std::initializer_list<UINT> ids, int fromUnits,
                         int toUnits) {
  if (fromUnits == toUnits) return;
  for (const UINT id : ids) {
    DialogControl* field = controls.Find(id);
    if (field == nullptr) continue;
    if (const std::optional<double> shown = ParseDialogReal(field->text)) {
      field->text = FormatDialogReal(ConvertShownMargin(*shown, fromUnits, toUnits));
      field->entered = true;
    }
  }
}
