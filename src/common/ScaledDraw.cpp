#include "common/ScaledDraw.h"

#include <cstdint>
#include <vector>

#include "common/ViewServices.h"

namespace {

int Scale(int value, int device, int screen) {
  if (device <= 0 || screen <= 0) return value;
  return static_cast<int>(static_cast<std::int64_t>(value) * device / screen);
}

}  // namespace

bool UsesDevicePath(const CDC* dc) { return (dc != nullptr && dc->IsPrinting()) || g_deviceRender != 0; }

int MapToDeviceX(int x) { return Scale(x, g_deviceResX, g_screenResX); }

int MapToDeviceY(int y) { return Scale(y, g_deviceResY, g_screenResY); }

void ScaledPolyBezier(CDC* dc, const POINT* points, int count) {
  if (dc == nullptr || points == nullptr || count <= 0) return;
  if (!UsesDevicePath(dc)) {
    dc->PolyBezier(points, count);
    return;
  }
  std::vector<POINT> mapped(points, points + count);
  for (POINT& p : mapped) {
    p.x = MapToDeviceX(p.x);
    p.y = MapToDeviceY(p.y);
  }
  dc->PolyBezier(mapped.data(), count);
}

void ScaledMoveTo(CDC* dc, int x, int y) {
  if (dc == nullptr) return;
  if (UsesDevicePath(dc))
    dc->MoveTo(MapToDeviceX(x), MapToDeviceY(y));
  else
    dc->MoveTo(x, y);
}

void ScaledLineTo(CDC* dc, int x, int y) {
  if (dc == nullptr) return;
  if (UsesDevicePath(dc))
    dc->LineTo(MapToDeviceX(x), MapToDeviceY(y));
  else
    dc->LineTo(x, y);
}
