#include "common/StaffGeometry.h"
#include "common/KeySignature.h"

#include <array>

#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"

namespace {

constexpr int kNatural = 27;
constexpr int kSharp = 28;
constexpr int kFlat = 30;
constexpr int kLargeOffset = 112;
constexpr int kDialogFamily = 7;
constexpr int kMaxAccidentals = 7;

// Per size (0 small, 1 large).
constexpr std::array<int, 2> kColumnWidth = {18, 22};
constexpr std::array<int, 2> kLeadIn = {34, 34};
constexpr std::array<int, 2> kBassShift = {6, 8};
constexpr std::array<int, 2> kAdvance = {5, 7};

// y of the i-th accidental relative to the top line - 100, by size, sharps then flats.
constexpr int kPositions[2][2][kMaxAccidentals] = {
    {{100, 109, 97, 106, 115, 103, 112}, {112, 103, 115, 106, 118, 109, 121}},
    {{100, 112, 96, 108, 120, 104, 116}, {116, 104, 120, 108, 124, 112, 128}},
};

// Where the top-left corner of an accidental's picture lies from the point it
// marks (the middle of its note's step), by size: natural, sharp, flat.
struct Offset {
  int x;
  int y;
};
constexpr Offset kAccidentalOffsets[2][3] = {
    {{-2, -7}, {-2, -8}, {-2, -9}},
    {{-2, -9}, {-2, -11}, {-2, -12}},
};

Offset AccidentalOffset(int code, int size) {
  const int base = code - (size != 0 ? kLargeOffset : 0);
  const int which = base == kNatural ? 0 : base == kSharp ? 1 : 2;
  return kAccidentalOffsets[size][which];
}

}  // namespace

void DrawKeySignature(CDC* dc, int referenceY, int keyCode, int lineKind, int columns, int x, int size,
                      int xShift, int previousKey) {
  if (dc == nullptr) return;
  if (lineKind == kKeyLineDrums || lineKind == kKeyLineNoClef || lineKind == kKeyLinePercussion) return;
  if (keyCode < 0 || keyCode > 31) return;
  const int s = size != 0 ? 1 : 0;
  const bool cancel = keyCode > 15;
  const int key = cancel ? keyCode - 16 : keyCode;
  const int count = key / 2;
  const int flats = key % 2;
  if (count < 1) return;

  const int code = (s != 0 ? kLargeOffset : 0) + (cancel ? kNatural : flats != 0 ? kFlat : kSharp);
  int xStart = kLeadIn[s] - (s == 0 ? 5 : 0) + xShift;
  const int extraX = (columns > 0 ? kColumnWidth[s] * columns + 5 : 0) +
                     (previousKey > 0 ? kAdvance[s] * (previousKey / 2 + 1) : 0);

  int base = referenceY - 100;
  int limit = 0;  // accidentals at or above the top line + limit go down an octave
  int family = 0;
  int index = code;
  switch (lineKind) {
    case kKeyLineTreble:
    case kKeyLineTreble8va:
    case kKeyLineTreble8vb:
      limit = flats != 0 ? 0 : -4;
      break;
    case kKeyLineBass:
      base += kBassShift[s];
      break;
    case kKeyLineAlto:
      base += g_StaffStep[s];
      limit = -1;
      break;
    case kKeyLineTenor:
      base -= g_StaffStep[s];
      limit = -1;
      break;
    case kKeyPictureDialog:
      xStart = kLeadIn[s] - kAdvance[s] + 11;
      limit = flats != 0 ? 0 : -5;
      family = kDialogFamily;
      index = cancel ? 2 : flats;
      break;
    case kKeyPictureOther:
      xStart = 20;
      limit = flats != 0 ? 0 : -4;
      break;
    default:
      break;
  }
  if (UsesDevicePath(dc) && flats == 0) {
    base -= 1;
    limit -= 1;
  }

  const Offset offset = AccidentalOffset(code, s);
  for (int i = 0; i < count; ++i) {
    int y = base + kPositions[s][flats][i];
    const bool tooHigh = s == 0 ? y <= referenceY + limit : y < referenceY + limit;
    if (tooHigh) y += 7 * g_StaffStep[s];
    LoadSymbolBitmap(dc, family, index, offset.x + extraX + xStart + x, y + offset.y, 100, 100, SRCAND);
    xStart += kAdvance[s];
  }
}
