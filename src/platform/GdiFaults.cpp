#include "platform/GdiFaults.h"

#include <array>

namespace {

constexpr int kResourceKinds = 6;

std::array<int, kResourceKinds>& Pending() {
  static std::array<int, kResourceKinds> pending{};
  return pending;
}

// Creations of each kind that succeed before the pending failures start.
std::array<int, kResourceKinds>& Spared() {
  static std::array<int, kResourceKinds> spared{};
  return spared;
}

}  // namespace

void FailNextGdiCreations(GdiResource kind, int count) {
  Pending()[static_cast<int>(kind)] = count > 0 ? count : 0;
  Spared()[static_cast<int>(kind)] = 0;
}

void FailGdiCreationAfter(GdiResource kind, int goodOnes) {
  Pending()[static_cast<int>(kind)] = 1;
  Spared()[static_cast<int>(kind)] = goodOnes > 0 ? goodOnes : 0;
}

void ResetGdiFaults() {
  Pending().fill(0);
  Spared().fill(0);
}

bool TakeGdiFault(GdiResource kind) {
  int& spared = Spared()[static_cast<int>(kind)];
  if (spared > 0) {
    --spared;
    return false;
  }
  int& pending = Pending()[static_cast<int>(kind)];
  if (pending <= 0) return false;
  --pending;
  return true;
}
