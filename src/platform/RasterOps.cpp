#include "platform/RasterOps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

RgbWord ApplyRop3(BYTE code, RgbWord p, RgbWord s, RgbWord d) {
  switch (code) {  // the common ones directly
    case 0xCC:
      return s;
    case 0x88:
      return s & d;
    case 0x66:
      return s ^ d;
    case 0xEE:
      return s | d;
    case 0xF0:
      return p;
    case 0x55:
      return ~d & 0xFFFFFF;
    case 0x00:
      return 0;
    case 0xFF:
      return 0xFFFFFF;
    default:
      break;
  }
  RgbWord r = 0;
  for (int i = 0; i < 8; ++i) {
    if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}

RgbWord ApplyRop2(int mode, RgbWord pen, RgbWord d) {
  if (mode == R2_COPYPEN) return pen;
  const int code = mode - 1;
  RgbWord r = 0;
  for (int i = 0; i < 4; ++i) {
    if ((code >> i) & 1) r |= ((i & 2) ? pen : ~pen) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}

namespace {

// A source span per destination column or row: [first, last) in source pixels.
struct Span {
  int first;
  int last;
};

std::vector<Span> Spans(int destStart, int destCount, int srcStart, int srcCount, int from, int to) {
  std::vector<Span> spans;
  spans.reserve(static_cast<size_t>(std::max(0, to - from)));
  for (int v = from; v < to; ++v) {
    const long long i = v - destStart;
    const int a = static_cast<int>(i * srcCount / destCount);
    const int b = std::max(a + 1, static_cast<int>((i + 1) * srcCount / destCount));
    spans.push_back({srcStart + a, srcStart + b});
  }
  return spans;
}

RgbWord Convert(RgbWord s, bool srcMono, bool destMono, const BlitColors& c) {
  if (srcMono && !destMono) return (s & 1) ? c.bkColor : c.textColor;
  if (!srcMono && destMono) return s == c.sourceBkColor ? 0xFFFFFFu : 0u;
  return s;
}

// Combines the source pixels of one box by the stretch mode, in the source's
// own values (so that AND and OR work on monochrome bits); HALFTONE averages
// the converted colours. False when the box lies outside the source.
bool Sample(const PixelSurface& src, Span xs, Span ys, int mode, bool destMono, const BlitColors& c,
            RgbWord& out) {
  xs.first = std::max(xs.first, 0);
  xs.last = std::min(xs.last, src.width);
  ys.first = std::max(ys.first, 0);
  ys.last = std::min(ys.last, src.height);
  if (xs.first >= xs.last || ys.first >= ys.last) return false;
  const bool single = (xs.last - xs.first == 1 && ys.last - ys.first == 1) || mode == COLORONCOLOR;
  if (single) {
    out = Convert(src.Get(xs.first, ys.first), src.IsMono(), destMono, c);
    return true;
  }
  if (mode == HALFTONE) {
    unsigned long r = 0, g = 0, b = 0, n = 0;
    for (int y = ys.first; y < ys.last; ++y)
      for (int x = xs.first; x < xs.last; ++x) {
        const RgbWord v = Convert(src.Get(x, y), src.IsMono(), false, c);
        r += (v >> 16) & 0xFF, g += (v >> 8) & 0xFF, b += v & 0xFF, ++n;
      }
    const RgbWord avg = static_cast<RgbWord>(((r / n) << 16) | ((g / n) << 8) | (b / n));
    out = destMono ? (MonoBitOf(avg) ? 0xFFFFFFu : 0u) : avg;
    return true;
  }
  RgbWord v = mode == WHITEONBLACK ? 0u : 0xFFFFFFu;
  for (int y = ys.first; y < ys.last; ++y)
    for (int x = xs.first; x < xs.last; ++x) {
      if (mode == WHITEONBLACK)
        v |= src.Get(x, y);
      else
        v &= src.Get(x, y);
    }
  out = Convert(v, src.IsMono(), destMono, c);
  return true;
}

CRect Visible(const PixelSurface& dest, const CRect& rect, const CRect& clip) {
  return rect & clip & CRect(0, 0, dest.width, dest.height);
}

}  // namespace

namespace {

// One row of a blit that copies pixel for pixel onto a colour surface: the
// source row from sx on, the destination row from x0 to x1.
template <typename Combine>
void BlitRow(const PixelSurface& src, int sy, int sx, std::uint32_t* row, int x0, int x1, RgbWord zero,
             RgbWord one, Combine combine) {
  const BYTE* in = src.bits + static_cast<std::ptrdiff_t>(sy) * src.stride;
  if (src.IsMono()) {
    for (int x = x0, bit = sx; x < x1; ++x, ++bit) {
      const RgbWord s = (in[bit >> 3] & (0x80 >> (bit & 7))) ? one : zero;
      row[x] = 0xFF000000u | (combine(s, row[x] & 0xFFFFFFu) & 0xFFFFFFu);
    }
  } else {
    const auto* words = reinterpret_cast<const std::uint32_t*>(in) + (sx - x0);
    for (int x = x0; x < x1; ++x)
      row[x] = 0xFF000000u | (combine(words[x] & 0xFFFFFFu, row[x] & 0xFFFFFFu) & 0xFFFFFFu);
  }
}

// A blit without stretching onto a colour surface from another surface: the
// common case of every symbol drawn, done a row at a time with the raster
// operation chosen once. The same pixels as the general path.
void BlitUnstretched(PixelSurface& dest, const CRect& destRect, CRect area, const PixelSurface& src,
                     const CRect& srcRect, BYTE code, const BlitColors& colors) {
  // Only the part whose source pixels exist is drawn.
  const int dx = srcRect.left - destRect.left;
  const int dy = srcRect.top - destRect.top;
  area &= CRect(-dx, -dy, src.width - dx, src.height - dy);
  if (area.IsRectEmpty()) return;
  // What a monochrome source's 0 and 1 bits become on a colour surface.
  const RgbWord zero = src.IsMono() ? colors.textColor & 0xFFFFFFu : 0u;
  const RgbWord one = src.IsMono() ? colors.bkColor & 0xFFFFFFu : 0xFFFFFFu;
  const RgbWord pattern = dest.Native(colors.pattern);
  for (int y = area.top; y < area.bottom; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(dest.bits + static_cast<std::ptrdiff_t>(y) * dest.stride);
    const int sy = y + dy;
    const int sx = area.left + dx;
    switch (code) {
      case 0xCC:
        BlitRow(src, sy, sx, row, area.left, area.right, zero, one, [](RgbWord s, RgbWord) { return s; });
        break;
      case 0x88:
        BlitRow(src, sy, sx, row, area.left, area.right, zero, one,
                [](RgbWord s, RgbWord d) { return s & d; });
        break;
      case 0xEE:
        BlitRow(src, sy, sx, row, area.left, area.right, zero, one,
                [](RgbWord s, RgbWord d) { return s | d; });
        break;
      case 0x66:
        BlitRow(src, sy, sx, row, area.left, area.right, zero, one,
                [](RgbWord s, RgbWord d) { return s ^ d; });
        break;
      default:
        BlitRow(src, sy, sx, row, area.left, area.right, zero, one,
                [code, pattern](RgbWord s, RgbWord d) { return ApplyRop3(code, pattern, s, d); });
        break;
    }
  }
}

}  // namespace

void Blit(PixelSurface& dest, const CRect& destRect, const CRect& clip, const PixelSurface& source,
          const CRect& srcRect, DWORD rop, int stretchMode, const BlitColors& colors) {
  const CRect area = Visible(dest, destRect, clip);
  if (area.IsRectEmpty() || srcRect.IsRectEmpty() || destRect.IsRectEmpty()) return;
  const BYTE code = Rop3Code(rop);
  if (UsesPattern(rop) && !colors.hasPattern) return;
  if (!dest.IsMono() && source.bits != dest.bits && srcRect.Width() == destRect.Width() &&
      srcRect.Height() == destRect.Height()) {
    BlitUnstretched(dest, destRect, area, source, srcRect, code, colors);
    return;
  }

  // Reading and writing one surface: read from a copy of the source rows.
  PixelSurface src = source;
  std::vector<std::uint32_t> copy;
  if (source.bits == dest.bits) {
    copy.resize(static_cast<size_t>(source.stride / 4) * source.height);
    std::copy_n(source.bits, static_cast<size_t>(source.stride) * source.height,
                reinterpret_cast<BYTE*>(copy.data()));
    src.bits = reinterpret_cast<BYTE*>(copy.data());
  }

  const std::vector<Span> xs =
      Spans(destRect.left, destRect.Width(), srcRect.left, srcRect.Width(), area.left, area.right);
  const std::vector<Span> ys =
      Spans(destRect.top, destRect.Height(), srcRect.top, srcRect.Height(), area.top, area.bottom);
  const RgbWord pattern = dest.Native(colors.pattern);
  const bool destMono = dest.IsMono();
  for (int y = area.top; y < area.bottom; ++y) {
    const Span sy = ys[static_cast<size_t>(y - area.top)];
    for (int x = area.left; x < area.right; ++x) {
      RgbWord s;
      if (!Sample(src, xs[static_cast<size_t>(x - area.left)], sy, stretchMode, destMono, colors, s))
        continue;
      const RgbWord d = dest.Get(x, y);
      dest.Set(x, y, dest.Native(ApplyRop3(code, pattern, s, d)));
    }
  }
}

void PatBlt(PixelSurface& dest, const CRect& rect, const CRect& clip, DWORD rop, RgbWord pattern,
            bool hasPattern) {
  if (UsesPattern(rop) && !hasPattern) return;
  const CRect area = Visible(dest, rect, clip);
  const BYTE code = Rop3Code(rop);
  const RgbWord p = dest.Native(pattern);
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      dest.Set(x, y, dest.Native(ApplyRop3(code, p, 0, dest.Get(x, y))));
}

ShapeMask::ShapeMask(const CRect& area)
    : origin(area.TopLeft()),
      width(std::max(area.Width(), 0)),
      height(std::max(area.Height(), 0)),
      labels(static_cast<size_t>(width) * height, kNone) {}

void CombineMask(PixelSurface& dest, const ShapeMask& mask, const CRect& clip, int rop2, RgbWord brush,
                 RgbWord pen, RgbWord gap) {
  const CRect area = Visible(dest, CRect(mask.origin, CSize(mask.width, mask.height)), clip);
  const RgbWord colors[4] = {0, dest.Native(brush), dest.Native(pen), dest.Native(gap)};
  for (int y = area.top; y < area.bottom; ++y) {
    const BYTE* row = mask.labels.data() + static_cast<size_t>(y - mask.origin.y) * mask.width;
    for (int x = area.left; x < area.right; ++x) {
      const BYTE label = row[x - mask.origin.x];
      if (label == kNone) continue;
      dest.Set(x, y, dest.Native(ApplyRop2(rop2, colors[label], dest.Get(x, y))));
    }
  }
}

void BlendCoverage(PixelSurface& dest, const CPoint& origin, int width, int height, const BYTE* coverage,
                   int stride, const CRect& clip, RgbWord color) {
  const CRect area = Visible(dest, CRect(origin, CSize(width, height)), clip);
  for (int y = area.top; y < area.bottom; ++y) {
    const BYTE* row = coverage + static_cast<std::ptrdiff_t>(y - origin.y) * stride;
    for (int x = area.left; x < area.right; ++x) {
      const unsigned a = row[x - origin.x];
      if (a == 0) continue;
      if (dest.IsMono()) {
        if (a >= 128) dest.Set(x, y, dest.Native(color));
        continue;
      }
      if (a == 255) {
        dest.Set(x, y, color);
        continue;
      }
      const RgbWord d = dest.Get(x, y);
      RgbWord out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned dc = (d >> shift) & 0xFF, cc = (color >> shift) & 0xFF;
        out |= static_cast<RgbWord>((dc * (255 - a) + cc * a + 127) / 255) << shift;
      }
      dest.Set(x, y, out);
    }
  }
}

std::vector<CPoint> LinePixels(const CPoint& from, const CPoint& to, bool includeEnd) {
  std::vector<CPoint> pixels;
  const long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
  const long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
  const int sx = from.x < to.x ? 1 : -1;
  const int sy = from.y < to.y ? 1 : -1;
  pixels.reserve(static_cast<size_t>(std::max(dx, -dy)) + 1);
  long long err = dx + dy;
  int x = from.x, y = from.y;
  while (true) {
    const bool atEnd = x == to.x && y == to.y;
    if (atEnd) {
      if (includeEnd) pixels.emplace_back(x, y);
      break;
    }
    pixels.emplace_back(x, y);
    const long long e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
  }
  return pixels;
}

std::vector<CPoint> FlattenBezier(const CPoint& p0, const CPoint& p1, const CPoint& p2, const CPoint& p3) {
  const auto dist = [](const CPoint& a, const CPoint& b) {
    return std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
  };
  const double length = dist(p0, p1) + dist(p1, p2) + dist(p2, p3);
  const int steps = std::clamp(static_cast<int>(length / 3), 2, 512);
  std::vector<CPoint> points;
  points.reserve(static_cast<size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps, u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    const CPoint p(static_cast<int>(std::lround(a * p0.x + b * p1.x + c * p2.x + d * p3.x)),
                   static_cast<int>(std::lround(a * p0.y + b * p1.y + c * p2.y + d * p3.y)));
    if (points.empty() || points.back() != p) points.push_back(p);
  }
  if (points.back() != p3) points.push_back(p3);
  return points;
}

bool ClipSegment(CPoint& from, CPoint& to, const CRect& box, bool& endCut) {
  // Liang-Barsky on the closed box [left, right - 1] x [top, bottom - 1].
  const double x0 = from.x, y0 = from.y, dx = static_cast<double>(to.x) - from.x,
               dy = static_cast<double>(to.y) - from.y;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left, box.right - 1 - x0, y0 - box.top, box.bottom - 1 - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
    if (t0 > t1) return false;
  }
  endCut = t1 < 1;
  const CPoint a(static_cast<int>(std::lround(x0 + t0 * dx)), static_cast<int>(std::lround(y0 + t0 * dy)));
  const CPoint b(static_cast<int>(std::lround(x0 + t1 * dx)), static_cast<int>(std::lround(y0 + t1 * dy)));
  from = a;
  to = b;
  return true;
}

std::vector<int> DashPattern(UINT penStyle) {
  switch (penStyle) {
    case PS_DASH:
      return {18, 6};
    case PS_DOT:
      return {3, 3};
    case PS_DASHDOT:
      return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

}  // namespace raster
