#pragma once
// KBigChord: one drawing entry of a line's drawing cache, precomputed from one
// column: the symbols to draw with their offsets, the ledger lines, the stems
// and the beam segments. The cache builds and reads the fields directly. It
// lives only in memory and answers as a plain KPosObj (pos = the column).
//
// Offsets are in pixels of the entry's size index. itemY, ledgerY and the
// stem and beam y values are "+ 100" values: the staff's top line lies at 100.

#include <cstdint>

#include "model/KPosObj.h"
#include "platform/WinTypes.h"

class KBigChord : public KPosObj {
 public:
  static constexpr int kMaxItems = 22;
  static constexpr int kMaxLedgers = 14;
  static constexpr int kMaxStems = 6;
  static constexpr int kMaxBeams = 8;
  // extent[] value when no symbol lies on that side.
  static constexpr int kNoExtentMin = 1000;
  static constexpr int kNoExtentMax = -1000;

  explicit KBigChord(int pos) : KPosObj(pos) {}
  ~KBigChord() override = default;

  // Drawn items.
  BYTE itemCount = 0;
  // Symbol id (code + the size's symbol-set base); 255: the next item holds a
  // flagged code - 10000.
  BYTE itemSymbol[kMaxItems] = {};
  BYTE itemStyle[kMaxItems] = {};  // note style, 100 = the column's
  // Below 100: x of a symbol of family 0; 100 and up: x + 100 of family 1;
  // special drawing kinds as signed values (-105 time signature, -104 key
  // signature, -70 hollow tablature mark).
  signed char itemX[kMaxItems] = {};
  BYTE itemY[kMaxItems] = {};
  BYTE columnStyle = 0;

  BYTE ledgerCount = 0;
  BYTE ledgerY[kMaxLedgers] = {};
  // Smallest and largest x of the symbols above the staff, then below it.
  std::int32_t extent[4] = {};

  BYTE stemCount = 0;
  BYTE stemX[kMaxStems] = {};
  BYTE stemY1[kMaxStems] = {};
  BYTE stemKind[kMaxStems] = {};  // 1 voice 1 (and moved notes), 0 voice 0
  BYTE stemY2[kMaxStems] = {};

  BYTE beamCount = 0;
  BYTE beamX1[kMaxBeams] = {};
  BYTE beamY1[kMaxBeams] = {};
  std::int32_t beamX2[kMaxBeams] = {};  // may lie several columns to the right
  BYTE beamY2[kMaxBeams] = {};
};
