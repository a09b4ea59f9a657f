#include "platform/PixelSurface.h"

#include <new>

namespace {

// Larger bitmaps are refused rather than attempted: the drawing code reports a
// failed creation, which is better than exhausting memory.
constexpr long long kMaxBitmapBytes = 1LL << 30;
constexpr int kMaxSide = 1 << 20;

}  // namespace

std::shared_ptr<BitmapData> BitmapData::Make(int width, int height, int bitsPixel) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  if (bitsPixel != 1) bitsPixel = 32;
  const int stride = StrideFor(width, bitsPixel);
  const long long bytes = static_cast<long long>(stride) * height;
  if (bytes > kMaxBitmapBytes) return nullptr;
  try {
    auto data = std::make_shared<BitmapData>();
    data->width = width;
    data->height = height;
    data->bitsPixel = bitsPixel;
    data->stride = stride;
    // Colour pixels start opaque black, monochrome ones black.
    data->words.assign(static_cast<size_t>(bytes / 4), bitsPixel == 32 ? 0xFF000000u : 0u);
    return data;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
