#pragma once
// Page margins as the page-layout dialogs show them and as a score and the
// preferences store them. A stored margin is measured from the printable
// area of the page: in hundredths of an inch (units 0) or whole millimetres
// (units 1). The dialogs show the distance from the paper's edge, taking the
// printable area to start a quarter of an inch (6 millimetres) in: shown =
// stored x 0.01 + 0.25 inches, or stored + 6 millimetres.

#include <initializer_list>

#include "platform/DialogControls.h"

inline constexpr int kMarginInches = 0;
inline constexpr int kMarginMillimetres = 1;

// The margin shown for a stored one.
double ShownMargin(int stored, int units);
// The stored margin for a shown one, rounded to the nearest hundredth of an
// inch or whole millimetre (so that a shown value stores back as the value
// it came from), and never below 0.
int StoredMargin(double shown, int units);
// A shown margin in the other unit, keeping the margin's length from the
// printable area: 0.50 inches (a quarter inch stored) become 12.35
// millimetres (6.35 stored), and back.
double ConvertShownMargin(double shown, int fromUnits, int toUnits);

// The margin fields of a dialog as typed, shown in the other unit; a field
// that holds no number is left as it is.
void ConvertMarginFields(DialogControls& controls, std::initializer_list<UINT> ids, int fromUnits,
                         int toUnits);
