#pragma once
// Shared pieces of the staff line tests: a fixture that also restores the
// staff line's preference and registers its class, the staff kinds, and
// builders of staff columns.

#include <initializer_list>

#include "lines/KStaffLine.h"
#include "model/LineTestSupport.h"

class StaffLineTest : public LineTest {
 protected:
  StaffLineTest() {
    ResetStaffLineServices();
    CRuntimeClass::Register(RUNTIME_CLASS(KStaffLine));
  }
  ~StaffLineTest() override { ResetStaffLineServices(); }
};

// Every staff kind: treble, bass, alto, tenor, treble 8va, treble 8vb, drums,
// no clef, percussion.
inline constexpr int kStaffKinds[] = {0, 1, 9, 10, 11, 12, 13, 14, 16};
inline constexpr int kBass = 1;
inline constexpr int kAlto = 9;
inline constexpr int kTenor = 10;
inline constexpr int kTreble8va = 11;
inline constexpr int kTreble8vb = 12;

// Accidental codes of a column's entries.
inline constexpr int kNaturalSign = 27;
inline constexpr int kSharpSign = 28;
inline constexpr int kDoubleSharpSign = 29;
inline constexpr int kFlatSign = 30;
inline constexpr int kDoubleFlatSign = 31;
// A quarter note of voice 1 (drawn with its stem up).
inline constexpr int kQuarter = 8;

// A staff column holding the entries (row, code), made as a file holds it.
inline KChord* Column(int pos, std::initializer_list<Entry> entries) {
  auto* column = new KChord(pos);
  FillColumn(*column, 0, entries);
  return column;
}
