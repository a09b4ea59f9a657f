#pragma once
// Pixel storage for drawing surfaces: the owned pixels of a bitmap, and a plain
// view of a pixel buffer (a bitmap's or a window image's) that the raster code
// reads and writes.
//
// Two layouts exist, both with rows top first and each row padded to 4 bytes:
// - monochrome, 1 bit per pixel, most significant bit first; 0 = black, 1 = white;
// - colour, 32 bits per pixel, a native-endian 0xFFRRGGBB word per pixel (the
//   layout of Qt's RGB32 images, so a window image can be drawn into directly).
// Colours inside the raster code are 0x00RRGGBB words; a monochrome pixel reads
// as 0x000000 or 0xFFFFFF. COLORREF values (0x00BBGGRR) convert at the edges.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

using RgbWord = std::uint32_t;  // 0x00RRGGBB

constexpr RgbWord RgbFromColorRef(COLORREF c) {
  return (static_cast<RgbWord>(GetRValue(c)) << 16) | (static_cast<RgbWord>(GetGValue(c)) << 8) |
         GetBValue(c);
}
constexpr COLORREF ColorRefFromRgb(RgbWord w) {
  return RGB(static_cast<int>((w >> 16) & 0xFF), static_cast<int>((w >> 8) & 0xFF),
             static_cast<int>(w & 0xFF));
}
// The monochrome value a colour is drawn with on a 1-bit surface: white when
// its brightness is at least half, else black.
constexpr bool MonoBitOf(RgbWord w) {
  const int brightness = (((w >> 16) & 0xFF) * 30 + ((w >> 8) & 0xFF) * 59 + (w & 0xFF) * 11) / 100;
  return brightness >= 128;
}

struct PixelSurface {
  BYTE* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;      // bytes per row
  int bitsPixel = 32;  // 1 or 32

  bool IsMono() const { return bitsPixel == 1; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  RgbWord Get(int x, int y) const {
    const BYTE* row = bits + static_cast<std::ptrdiff_t>(y) * stride;
    if (bitsPixel == 1) return (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFu : 0u;
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
  }
  // For a monochrome surface the low bit of the word decides (callers pass
  // 0x000000 or 0xFFFFFF, or any colour through MonoBitOf first).
  void Set(int x, int y, RgbWord rgb) {
    BYTE* row = bits + static_cast<std::ptrdiff_t>(y) * stride;
    if (bitsPixel == 1) {
      const BYTE mask = static_cast<BYTE>(0x80 >> (x & 7));
      if (rgb & 1)
        row[x >> 3] |= mask;
      else
        row[x >> 3] &= static_cast<BYTE>(~mask);
      return;
    }
    reinterpret_cast<std::uint32_t*>(row)[x] = 0xFF000000u | rgb;
  }
  // The word a colour is stored as on this surface: itself, or black or white.
  RgbWord Native(RgbWord rgb) const {
    if (bitsPixel != 1) return rgb & 0xFFFFFFu;
    return MonoBitOf(rgb) ? 0xFFFFFFu : 0u;
  }
};

// The owned pixels of a bitmap. Shared between the bitmap object and a device
// context that has it selected, so that neither outlives the pixels it draws.
struct BitmapData {
  int width = 0;
  int height = 0;
  int bitsPixel = 1;
  int stride = 0;
  std::vector<std::uint32_t> words;  // the rows, stride bytes each (strides are whole words)
  // The memory device context that has the bitmap selected, or null. A bitmap
  // can be selected into one device context at a time.
  const void* selectedIn = nullptr;
  // Counts changes of the pixels, so that devices may cache converted copies.
  std::uint64_t generation = 0;

  static int StrideFor(int width, int bitsPixel) { return ((width * bitsPixel + 31) / 32) * 4; }

  // New pixels, all zero (black): callers paint a fresh bitmap before use.
  // Null when the size is not positive, too large, or the memory cannot be had.
  static std::shared_ptr<BitmapData> Make(int width, int height, int bitsPixel);

  PixelSurface Surface() { return {reinterpret_cast<BYTE*>(words.data()), width, height, stride, bitsPixel}; }
  RgbWord Get(int x, int y) const {
    return PixelSurface{reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(words.data())), width, height,
                        stride, bitsPixel}
        .Get(x, y);
  }
};
