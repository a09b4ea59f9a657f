#include "common/BarLines.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/AppServices.h"
#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"

namespace {

constexpr int kLargeOffset = 112;
constexpr int kMaxStrokes = 5;

struct BarKind {
  int code;
  int dotCode;                   // -1: no dots
  std::array<int, 2> dotExtent;  // vertical extent of the dots, small and large size
  int xOffset;
  std::array<int, kMaxStrokes> strokes;  // x offsets from x + xOffset; a negative value ends the list
};

constexpr std::array<BarKind, 9> kBarKinds = {{
    {21, -1, {0, 0}, 8, {0, -1, -1, -1, -1}},
    {22, -1, {0, 0}, 5, {0, 4, -1, -1, -1}},
    {23, -1, {0, 0}, 8, {0, 3, 4, 5, -1}},
    {24, 24, {11, 10}, 2, {0, 1, 2, 5, -1}},
    {25, 25, {11, 10}, 1, {5, 8, 9, 10, -1}},
    {26, 26, {13, 16}, 2, {-1, -1, -1, -1, -1}},
    {96, 96, {11, 10}, 0, {5, 8, 9, 10, 13}},
    {97, 97, {18, 21}, 0, {6, -1, -1, -1, -1}},
    {10023, -1, {0, 0}, 6, {0, 1, 2, 5, -1}},
}};

std::optional<BarKind> FindBarKind(int code, int size) {
  const int reduced = code - (size != 0 ? kLargeOffset : 0);
  for (const BarKind& kind : kBarKinds)
    if (kind.code == reduced) return kind;
  return std::nullopt;
}

int StrokeCount(const BarKind& kind) {
  int count = 0;
  while (count < kMaxStrokes && kind.strokes[count] >= 0) ++count;
  return count;
}

// Strokes standing next to another one (one layout pixel apart) are drawn thick.
bool IsThickStroke(const BarKind& kind, int i, int count) {
  const int offset = kind.strokes[i];
  if (i + 1 < count && kind.strokes[i + 1] == offset + 1) return true;
  return i > 0 && kind.strokes[i - 1] == offset - 1;
}

void DrawScreenStrokes(CDC* dc, const BarKind& kind, int x, int start, int end) {
  const int count = StrokeCount(kind);
  for (int i = 0; i < count; ++i) {
    const int strokeX = x + kind.xOffset + kind.strokes[i];
    ScaledMoveTo(dc, strokeX, start);
    ScaledLineTo(dc, strokeX, end);
  }
}

// False when a pen could not be made (reported once per run): the bar is not drawn.
bool DrawDeviceStrokes(CDC* dc, const BarKind& kind, int x, int start, int end) {
  const int thinWidth = ((g_lineWidthSetting - 1) * g_printSizePct) / 100 + 1;
  const int extra = std::max(0, std::min(10, g_printSizePct / 100 + g_deviceDpiX / 100) - 2);
  const int thickWidth = (g_printSizePct * 4) / 100 + extra;
  CPen thin;
  if (!thin.CreatePen(PS_SOLID, thinWidth, RGB(0, 0, 0))) {
    ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "Glb-3");
    return false;
  }
  CPen thick;
  if (!thick.CreatePen(PS_SOLID, thickWidth, RGB(0, 0, 0))) {
    thin.DeleteObject();
    ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "Glb-4");
    return false;
  }
  CPen* callerPen = nullptr;
  const int count = StrokeCount(kind);
  for (int i = 0; i < count; ++i) {
    CPen* previous = dc->SelectObject(IsThickStroke(kind, i, count) ? &thick : &thin);
    if (callerPen == nullptr) callerPen = previous;
    const int strokeX = x + kind.xOffset + kind.strokes[i];
    ScaledMoveTo(dc, strokeX, start);
    ScaledLineTo(dc, strokeX, end - 1);
  }
  if (callerPen != nullptr) dc->SelectObject(callerPen);
  thin.DeleteObject();
  thick.DeleteObject();
  return true;
}

bool DrawStrokes(CDC* dc, const BarKind& kind, int x, int start, int end) {
  if (UsesDevicePath(dc)) return DrawDeviceStrokes(dc, kind, x, start, end);
  DrawScreenStrokes(dc, kind, x, start, end);
  return true;
}

}  // namespace

int ClosingBarRightEdge(int code, int size) {
  const int reduced = code - (size != 0 ? kLargeOffset : 0);
  if (reduced == 24 || reduced == 26 || reduced == 97) return -1;
  const std::optional<BarKind> kind = FindBarKind(code, size);
  if (!kind) return -1;
  return kind->xOffset + kind->strokes[static_cast<size_t>(StrokeCount(*kind) - 1)] + 1;
}

void DrawStaffBarLine(CDC* dc, int code, int topY, int x, int lineCount, int size, int lineSpacing,
                      int height) {
  if (dc == nullptr) return;
  const std::optional<BarKind> kind = FindBarKind(code, size);
  if (!kind) return;
  const int start = topY + (lineCount < 6 ? lineSpacing : 0);
  if (!DrawStrokes(dc, *kind, x, start, start + height)) return;
  if (kind->dotCode < 0) return;
  const int extent = kind->dotExtent[size != 0 ? 1 : 0];
  const int y = ((lineCount - 1) * lineSpacing - extent) / 2 + start + 1;
  LoadSymbolBitmap(dc, 0, kind->dotCode, x + kind->xOffset, y, 100, 100, SRCAND);
}

void DrawTabBarLine(CDC* dc, int code, int topY, int x, int size, int height) {
  if (dc == nullptr) return;
  const std::optional<BarKind> kind = FindBarKind(code, size);
  if (!kind) return;
  if (!DrawStrokes(dc, *kind, x, topY, topY + height)) return;
  if (kind->dotCode < 0) return;
  const int extent = kind->dotExtent[size != 0 ? 1 : 0];
  const int staffSpace = size != 0 ? 8 : 6;  // dots centred on a five-line staff of the size
  const int y = (staffSpace * 4 - extent + 1) / 2 + topY;
  LoadSymbolBitmap(dc, 0, kind->dotCode, x + kind->xOffset, y, 100, 100, SRCAND);
}
