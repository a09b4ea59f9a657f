#include "dialogs/toolbox/ToolBoxPositions.h"

#include <algorithm>
#include <cstdlib>

namespace toolbox {

namespace {
constexpr int kScreenMargin = 20;
}

bool IsOpenPosition(POINT saved) { return std::abs(static_cast<long>(saved.x)) < kClosedFactor; }

POINT ClosedPosition(POINT saved) {
  // Closing twice must not multiply again (it would overflow and reopen).
  if (!IsOpenPosition(saved)) return saved;
  return POINT{saved.x == 0 ? kClosedAtZero : saved.x * kClosedFactor, saved.y};
}

POINT DecodedPosition(POINT saved) {
  if (IsOpenPosition(saved)) return saved;
  return POINT{saved.x == kClosedAtZero ? 0 : saved.x / kClosedFactor, saved.y};
}

POINT PlaceOnScreen(POINT offset, POINT mainTopLeft, SIZE screen) {
  return POINT{std::min<LONG>(screen.cx - kScreenMargin, offset.x + mainTopLeft.x),
               std::min<LONG>(screen.cy - kScreenMargin, offset.y + mainTopLeft.y)};
}

POINT PulledOntoScreen(POINT offset, POINT mainTopLeft, SIZE screen) {
  POINT pulled = offset;
  if (pulled.x + mainTopLeft.x >= screen.cx - kScreenMargin)
    pulled.x = screen.cx - mainTopLeft.x - kScreenMargin;
  if (pulled.y + mainTopLeft.y >= screen.cy - kScreenMargin)
    pulled.y = screen.cy - mainTopLeft.y - kScreenMargin;
  return pulled;
}

}  // namespace toolbox
