// Blits that copy pixel for pixel (every symbol drawn on the screen) against
// the definition of a blit, pixel by pixel: each destination pixel inside the
// destination rectangle, the clip and both surfaces becomes the raster
// operation of pattern, converted source and destination; every other pixel
// keeps its value.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/GdiConstants.h"
#include "platform/RasterOps.h"

namespace {

struct Surface {
  std::vector<std::uint32_t> words;
  PixelSurface pixels;
  Surface(int width, int height, int bitsPixel, std::mt19937& random) {
    const int stride = BitmapData::StrideFor(width, bitsPixel);
    words.resize(static_cast<size_t>(stride / 4) * height);
    for (std::uint32_t& w : words) w = random() | (bitsPixel == 32 ? 0xFF000000u : 0u);
    pixels = PixelSurface{reinterpret_cast<BYTE*>(words.data()), width, height, stride, bitsPixel};
  }
};

// The blit by its definition.
std::vector<RgbWord> Expected(const PixelSurface& dest, const CRect& destRect, const CRect& clip,
                              const PixelSurface& src, const CRect& srcRect, DWORD rop,
                              const raster::BlitColors& colors) {
  std::vector<RgbWord> out;
  for (int y = 0; y < dest.height; ++y) {
    for (int x = 0; x < dest.width; ++x) {
      RgbWord d = dest.Get(x, y);
      const int sx = x - destRect.left + srcRect.left;
      const int sy = y - destRect.top + srcRect.top;
      const bool inside =
          destRect.PtInRect(CPoint(x, y)) && clip.PtInRect(CPoint(x, y)) && src.Contains(sx, sy);
      if (inside) {
        RgbWord s = src.Get(sx, sy);
        if (src.IsMono()) s = (s & 1) ? colors.bkColor : colors.textColor;
        d = raster::ApplyRop3(raster::Rop3Code(rop), colors.pattern, s, d) & 0xFFFFFF;
      }
      out.push_back(d);
    }
  }
  return out;
}

std::vector<RgbWord> Pixels(const PixelSurface& surface) {
  std::vector<RgbWord> out;
  for (int y = 0; y < surface.height; ++y)
    for (int x = 0; x < surface.width; ++x) out.push_back(surface.Get(x, y));
  return out;
}

TEST(RasterBlit, UnstretchedBlitsPaintWhatTheDefinitionSays) {
  struct Place {
    const char* what;
    CRect dest;
    CRect clip;
    CPoint sourceAt;
  };
  const Place places[] = {
      {"inside everything", CRect(3, 2, 20, 12), CRect(0, 0, 40, 30), CPoint(1, 1)},
      {"cut by the clip", CRect(3, 2, 20, 12), CRect(8, 5, 15, 9), CPoint(0, 0)},
      {"past the destination's edges", CRect(-4, -3, 30, 25), CRect(-100, -100, 100, 100), CPoint(0, 0)},
      {"past the source's edges", CRect(10, 10, 35, 28), CRect(0, 0, 40, 30), CPoint(9, 6)},
      {"odd bit offsets", CRect(5, 1, 38, 29), CRect(0, 0, 40, 30), CPoint(3, 0)},
  };
  const DWORD rops[] = {SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, NOTSRCCOPY, MERGECOPY, 0x00B8074A};
  std::mt19937 random(7);
  for (const int sourceBits : {1, 32}) {
    for (const Place& place : places) {
      for (const DWORD rop : rops) {
        Surface dest(40, 30, 32, random);
        Surface source(26, 18, sourceBits, random);
        raster::BlitColors colors;
        colors.textColor = 0x123456;
        colors.bkColor = 0xFEDCBA;
        colors.pattern = 0x00FF80;
        const CRect srcRect(place.sourceAt, place.dest.Size());
        const std::vector<RgbWord> expected =
            Expected(dest.pixels, place.dest, place.clip, source.pixels, srcRect, rop, colors);
        raster::Blit(dest.pixels, place.dest, place.clip, source.pixels, srcRect, rop, BLACKONWHITE, colors);
        EXPECT_EQ(Pixels(dest.pixels), expected)
            << place.what << ", source of " << sourceBits << " bits, rop " << std::hex << rop;
      }
    }
  }
}

}  // namespace
