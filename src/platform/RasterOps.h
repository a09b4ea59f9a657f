#pragma once
// Pixel-exact raster operations on pixel surfaces: blits with any ternary
// raster operation and the four stretch modes, pattern fills, pen and brush
// coverage combined under a mix mode, text coverage blended in, and thin-line
// pixels. The image device context draws through these, so the screen and
// exported images get exactly the classic results (AND keeps black, XOR twice
// restores, shrinking with BLACKONWHITE keeps thin black lines).

#include <cstdint>
#include <vector>

#include "platform/GdiConstants.h"
#include "platform/Geometry.h"
#include "platform/PixelSurface.h"

namespace raster {

constexpr BYTE Rop3Code(DWORD rop) { return static_cast<BYTE>((rop >> 16) & 0xFF); }
// Whether the result of a ternary operation depends on source, pattern, destination.
constexpr bool UsesSource(DWORD rop) {
  const BYTE c = Rop3Code(rop);
  return ((c >> 2) & 0x33) != (c & 0x33);
}
constexpr bool UsesPattern(DWORD rop) {
  const BYTE c = Rop3Code(rop);
  return ((c >> 4) & 0x0F) != (c & 0x0F);
}
constexpr bool UsesDest(DWORD rop) {
  const BYTE c = Rop3Code(rop);
  return ((c >> 1) & 0x55) != (c & 0x55);
}
constexpr bool Rop2UsesDest(int mode) {
  const int c = mode - 1;
  return ((c >> 1) & 0x5) != (c & 0x5);
}

// Bitwise evaluation of a ternary operation code on pattern, source and destination words.
RgbWord ApplyRop3(BYTE code, RgbWord p, RgbWord s, RgbWord d);
// Bitwise evaluation of a mix mode (R2_*) on pen and destination words.
RgbWord ApplyRop2(int mode, RgbWord pen, RgbWord d);

// The colours a blit needs from the two device contexts.
struct BlitColors {
  RgbWord textColor = 0;             // destination: what 0 bits of a monochrome source become
  RgbWord bkColor = 0xFFFFFF;        // destination: what 1 bits of a monochrome source become
  RgbWord sourceBkColor = 0xFFFFFF;  // source: colour pixels equal to it become 1 on a monochrome destination
  RgbWord pattern = 0xFFFFFF;        // the destination's brush colour
  bool hasPattern = true;            // false for a null brush: pattern operations paint nothing
};

// Copies srcRect of source onto destRect of dest (stretching when the sizes
// differ) with a ternary raster operation, painting only inside clip and the
// destination's bounds. Source pixels outside the source surface leave their
// destination pixels alone. dest and source may be the same surface.
void Blit(PixelSurface& dest, const CRect& destRect, const CRect& clip, const PixelSurface& source,
          const CRect& srcRect, DWORD rop, int stretchMode, const BlitColors& colors);

// A raster operation without source over rect.
void PatBlt(PixelSurface& dest, const CRect& rect, const CRect& clip, DWORD rop, RgbWord pattern,
            bool hasPattern);

// Coverage labels of a drawn shape.
enum MaskLabel : BYTE { kNone = 0, kBrush = 1, kPen = 2, kPenGap = 3 };

// A rectangle of labels (one byte per pixel) placed at origin on the surface.
struct ShapeMask {
  CPoint origin;
  int width = 0;
  int height = 0;
  std::vector<BYTE> labels;

  ShapeMask() = default;
  ShapeMask(const CRect& area);
  BYTE& At(int x, int y) { return labels[static_cast<size_t>(y - origin.y) * width + (x - origin.x)]; }
  bool Contains(int x, int y) const {
    return x >= origin.x && y >= origin.y && x < origin.x + width && y < origin.y + height;
  }
  void Mark(int x, int y, BYTE label) {
    if (Contains(x, y)) At(x, y) = label;
  }
};

// Paints the labelled pixels: brush pixels in brush colour, pen pixels in pen
// colour, pen-gap pixels (the gaps of styled lines in OPAQUE mode) in the
// background colour, each combined with the destination by the mix mode.
void CombineMask(PixelSurface& dest, const ShapeMask& mask, const CRect& clip, int rop2, RgbWord brush,
                 RgbWord pen, RgbWord gap);

// Blends text coverage (0..255 per pixel, placed at origin) in the colour: a
// colour surface mixes by coverage, a monochrome one takes pixels covered at
// least half.
void BlendCoverage(PixelSurface& dest, const CPoint& origin, int width, int height, const BYTE* coverage,
                   int stride, const CRect& clip, RgbWord color);

// The pixels of a one-pixel line from `from` to `to`, in drawing order; the end
// point is included only when asked.
std::vector<CPoint> LinePixels(const CPoint& from, const CPoint& to, bool includeEnd);

// Points along a cubic Bezier curve from p0 to p3 (controls p1, p2), close
// enough for one-pixel drawing; the first is p0 and the last p3.
std::vector<CPoint> FlattenBezier(const CPoint& p0, const CPoint& p1, const CPoint& p2, const CPoint& p3);

// Cuts the segment to the box, for lines far longer than what can be seen.
// False when nothing of it lies in the box. endCut tells whether `to` moved.
bool ClipSegment(CPoint& from, CPoint& to, const CRect& box, bool& endCut);

// The on/off lengths of a styled one-pixel pen (PS_DASH .. PS_DASHDOTDOT),
// starting with an "on" run; empty for solid pens.
std::vector<int> DashPattern(UINT penStyle);

}  // namespace raster
