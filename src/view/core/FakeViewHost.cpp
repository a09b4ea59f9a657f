#include "view/core/FakeViewHost.h"

#include <algorithm>

FakeViewHost::FakeViewHost() = default;

void FakeViewHost::SetScrollSizes(SIZE totalSize, SIZE pageSize, SIZE lineSize) {
  total = totalSize;
  page = pageSize;
  line = lineSize;
  // The framework keeps the position inside the new range.
  ScrollToPosition(scroll);
}

void FakeViewHost::ScrollToPosition(POINT position) {
  const int maxX = std::max(0, static_cast<int>(total.cx - (client.right - client.left)));
  const int maxY = std::max(0, static_cast<int>(total.cy - (client.bottom - client.top)));
  scroll.x = std::clamp(static_cast<int>(position.x), 0, maxX);
  scroll.y = std::clamp(static_cast<int>(position.y), 0, maxY);
}

void FakeViewHost::InvalidateRect(const RECT* rect, BOOL /*erase*/) {
  invalidated.push_back(rect != nullptr ? *rect : client);
}

void FakeViewHost::PlaceChildFrame(int x, int y, int width, int height) {
  childRect = RECT{x, y, x + width, y + height};
}
