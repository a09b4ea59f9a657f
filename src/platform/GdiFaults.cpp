#include "platform/GdiFaults.h"

#include <array>

namespace {

constexpr int kResourceKinds = 6;

std::array<int, kResourceKinds>& Pending() {
  static std::array<int, kResourceKinds> pending{};
  return pending;
}

}  // namespace

void FailNextGdiCreations(GdiResource kind, int count) {
  Pending()[static_cast<int>(kind)] = count > 0 ? count : 0;
}

void ResetGdiFaults() { Pending().fill(0); }

bool TakeGdiFault(GdiResource kind) {
  int& pending = Pending()[static_cast<int>(kind)];
  if (pending <= 0) return false;
  --pending;
  return true;
}
