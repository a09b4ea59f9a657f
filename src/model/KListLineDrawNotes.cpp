// The frame of a staff or tablature line: staff lines with clef and key
// signature, or string lines with the word "TAB", and the opening bar.

#include <algorithm>

#include "common/AppServices.h"
#include "common/BarLines.h"
#include "common/Globals.h"
#include "common/KeySignature.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "model/DocServices.h"
#include "model/KListLine.h"
#include "platform/GdiConstants.h"

int g_drumClefOption = 1;

namespace {

constexpr int kClefFamily = 4;
constexpr int kLargeClefs = 10;  // index of the large form of a clef
constexpr int kStaffLineCount = 5;
constexpr int kLargeBarOffset = 112;

// Clef pictures by kind: index in the clef family and the offset of its top
// from the top staff line, at size 0 and 1.
struct Clef {
  int index;
  int dy[2];
};

bool ClefOfKind(int kind, Clef& clef) {
  switch (kind) {
    case 0:
      clef = {3, {-7, -11}};
      return true;
    case 1:
      clef = {4, {0, 0}};
      return true;
    case 9:
      clef = {5, {0, 0}};
      return true;
    case 10:
      clef = {5, {-6, -6}};
      return true;
    case 11:
      clef = {6, {-15, -19}};
      return true;
    case 12:
      clef = {7, {-7, -11}};
      return true;
    case 13:
      clef = g_drumClefOption != 0 ? Clef{9, {2, 2}} : Clef{8, {6, 8}};
      return true;
    case 16:
      clef = {8, {6, 8}};
      return true;
    default:
      return false;  // 14 no clef, and anything unknown
  }
}

// The clef's left edge within the 34-pixel clef area.
constexpr int kClefX[2] = {4, 3};

// The word "TAB": the tall form for five strings and more, the four-string
// form, and the short form for two strings; their heights by size.
constexpr int kTabWordHeight[2][3] = {{47, 28, 16}, {63, 37, 21}};
constexpr int kTabWordX[2] = {8, 6};
// Beside string names: the word ends at the clef area's right edge.
constexpr int kTabWordBesideNamesX[2] = {19, 18};

int TabWordForm(int strings) { return strings >= 5 ? 0 : strings >= 3 ? 1 : 2; }

// How far right of its drawing x each bar draws its first stroke, so that the
// opening bar can stand on the line's left end.
int FirstStrokeOffset(int smallCode) {
  switch (smallCode) {
    case 21:
      return 8;
    case 22:
      return 5;
    case 23:
      return 8;
    case 24:
      return 2;
    case 25:
      return 6;
    case 26:
      return 2;
    case 96:
      return 5;
    case 97:
      return 6;
    case 10023:
      return 6;
    default:
      return -1;
  }
}

// The bar code as the bar drawers want it at the size (large codes are the
// small ones + 112); -1 when it is no bar code.
int BarCodeForSize(int code, int size, int& smallCode) {
  smallCode = code;
  if (code >= kLargeBarOffset && code < 1000) smallCode = code - kLargeBarOffset;
  if (code > 10023) smallCode = code - kLargeBarOffset;
  if (FirstStrokeOffset(smallCode) < 0) return -1;
  return size != 0 ? smallCode + kLargeBarOffset : smallCode;
}

// Horizontal lines from x over width; on the device path with a thin pen of
// the print's line width (the caller's pen when it cannot be made).
void DrawRules(CDC* dc, int x, int width, const int* ys, int count) {
  CPen thin;
  CPen* previous = nullptr;
  if (UsesDevicePath(dc) &&
      thin.CreatePen(PS_SOLID, ((g_lineWidthSetting - 1) * g_printSizePct) / 100 + 1, RGB(0, 0, 0))) {
    previous = dc->SelectObject(&thin);
  }
  for (int i = 0; i < count; ++i) {
    ScaledMoveTo(dc, x, ys[i]);
    ScaledLineTo(dc, x + width, ys[i]);
  }
  if (previous != nullptr) dc->SelectObject(previous);
}

}  // namespace

void KListLine::DrawNotes(CDC* dc, int kind, int sizeIndex, int x, int y, int key, int width, int barCode,
                          DWORD flags, int stringCount) const {
  if (dc == nullptr) return;
  const int s = sizeIndex != 0 ? 1 : 0;
  const bool tab = FamilyOf(kind) == kFamilyTab;
  const int shownKey = !tab && key > 0 && key <= kMaxKey ? key : 0;
  if (width <= 0) width = kClefWidth + (shownKey != 0 ? kAccidentalWidth[s] * (shownKey / 2 + 1) : 0);

  int smallBar = 0;
  const int bar = BarCodeForSize(barCode, s, smallBar);
  if (tab) {
    const int strings = std::clamp(stringCount, 2, 8);
    const int step = TabStringSpacing(s) + 1;
    const int firstRow = strings < 6 ? 3 : 2;
    const int lastRow = strings < 6 ? strings + 2 : strings + 1;
    int ys[8];
    for (int row = firstRow; row <= lastRow; ++row) ys[row - firstRow] = y + (row - 2) * step;
    DrawRules(dc, x, width, ys, strings);
    const int top = ys[0];
    const int height = (lastRow - firstRow) * step;
    if ((flags & kFrameNoTabWord) == 0) {
      const int form = TabWordForm(strings);
      const int wordX = (flags & kFrameTabWordRight) != 0 ? kTabWordBesideNamesX[s] : kTabWordX[s];
      LoadSymbolBitmap(dc, kClefFamily, form + kLargeClefs * s, x + wordX,
                       top + (height - kTabWordHeight[s][form]) / 2, 100, 100, SRCAND);
    }
    if (bar >= 0) DrawTabBarLine(dc, bar, top, x - FirstStrokeOffset(smallBar), s, height);
    return;
  }

  const int spacing = g_StaffLineSpacing[s];
  int ys[kStaffLineCount];
  for (int i = 0; i < kStaffLineCount; ++i) ys[i] = y + i * spacing;
  DrawRules(dc, x, width, ys, kStaffLineCount);
  Clef clef;
  if (ClefOfKind(kind, clef)) {
    LoadSymbolBitmap(dc, kClefFamily, clef.index + kLargeClefs * s, x + kClefX[s], y + clef.dy[s], 100, 100,
                     SRCAND);
  }
  if (shownKey != 0) DrawKeySignature(dc, y, shownKey, kind, 0, x, s, 0, 0);
  if (bar >= 0) {
    DrawStaffBarLine(dc, bar, y - spacing, x - FirstStrokeOffset(smallBar), kStaffLineCount, s, spacing,
                     (kStaffLineCount - 1) * spacing);
  }
}
