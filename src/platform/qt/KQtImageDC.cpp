#include "platform/qt/KQtImageDC.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/RasterOps.h"
#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtShapeMask.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtTextMeasurer.h"

namespace {

DeviceCaps ImageCaps(const QImage& image, int dpiX, int dpiY) {
  DeviceCaps caps;
  caps.technology = DT_RASDISPLAY;
  caps.logPixelsX = dpiX > 0 ? dpiX : 96;
  caps.logPixelsY = dpiY > 0 ? dpiY : 96;
  caps.horzRes = image.width();
  caps.vertRes = image.height();
  caps.bitsPixel = 32;
  caps.numColors = -1;
  return caps;
}

// Lines longer than this are first cut to the visible area.
constexpr long long kLongLine = 1 << 15;

QPolygonF CentredPolygon(const std::vector<CPoint>& points) {
  QPolygonF polygon;
  for (const CPoint& p : points) polygon << QPointF(p.x + 0.5, p.y + 0.5);
  return polygon;
}

CRect BoundsOf(const std::vector<CPoint>& points) {
  CRect box(points.front().x, points.front().y, points.front().x + 1, points.front().y + 1);
  for (const CPoint& p : points) {
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x + 1);
    box.bottom = std::max(box.bottom, p.y + 1);
  }
  return box;
}

}  // namespace

KQtImageDC::KQtImageDC(QImage& image, int dpiX, int dpiY)
    : CDC(ImageCaps(image, dpiX, dpiY), &QtTextMeasurer::Screen(), false, false) {
  if (image.format() != QImage::Format_RGB32) image.convertTo(QImage::Format_RGB32);
  m_window = {image.bits(), image.width(), image.height(), static_cast<int>(image.bytesPerLine()), 32};
}

KQtImageDC::KQtImageDC(const DeviceCaps& caps) : CDC(caps, &QtTextMeasurer::Screen(), false, true) {}

std::unique_ptr<CDC> KQtImageDC::CreateMemoryDC(const DeviceCaps& caps) {
  return std::unique_ptr<CDC>(new KQtImageDC(caps));
}

std::unique_ptr<CDC> KQtImageDC::NewCompatibleDC(const DeviceCaps& caps) { return CreateMemoryDC(caps); }

PixelSurface KQtImageDC::Target() const {
  if (IsMemoryDC()) return SelectedBitmapData()->Surface();
  return m_window;
}

std::optional<PixelSurface> KQtImageDC::ReadablePixels() const { return Target(); }

void KQtImageDC::Touch() {
  if (IsMemoryDC()) ++SelectedBitmapData()->generation;
}

bool KQtImageDC::HasPen() const { return SelectedPen().lopnStyle != static_cast<UINT>(PS_NULL); }

bool KQtImageDC::HasBrush() const { return SelectedBrush().lbStyle != BS_NULL; }

int KQtImageDC::PenWidth() const { return std::max(1, static_cast<int>(SelectedPen().lopnWidth.x)); }

// ---------------------------------------------------------------- lines

void KQtImageDC::PaintThinPath(const std::vector<CPoint>& points, bool includeLast) {
  PixelSurface target = Target();
  const CRect clip = DeviceClip();
  if (clip.IsRectEmpty() || points.size() < 2) return;
  const std::vector<int> dashes = raster::DashPattern(SelectedPen().lopnStyle);
  int dashTotal = 0;
  for (const int d : dashes) dashTotal += d;
  const RgbWord pen = target.Native(RgbFromColorRef(SelectedPen().lopnColor));
  const RgbWord gap = target.Native(RgbFromColorRef(GetBkColor()));
  const bool fillGaps = GetBkMode() == OPAQUE;
  const int rop2 = GetROP2();
  CRect box = clip;
  box.InflateRect(2, 2);
  long long step = 0;  // position along the whole path, for the dash pattern
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    CPoint from = points[i], to = points[i + 1];
    bool withEnd = includeLast && i + 2 == points.size();
    const long long spanX = std::llabs(static_cast<long long>(to.x) - from.x);
    const long long spanY = std::llabs(static_cast<long long>(to.y) - from.y);
    if (spanX > kLongLine || spanY > kLongLine) {
      bool endCut = false;
      if (!raster::ClipSegment(from, to, box, endCut)) continue;
      withEnd = withEnd || endCut;
    }
    // A solid horizontal or vertical segment (staff lines, bar lines, stems)
    // is cut to the clip exactly and set pixel by pixel without listing the
    // pixels outside it: the same pixels, at the cost of what is visible.
    if (dashTotal == 0 && (from.y == to.y || from.x == to.x)) {
      PaintSolidAxisSegment(target, clip, from, to, withEnd, pen, rop2);
      continue;
    }
    for (const CPoint& p : raster::LinePixels(from, to, withEnd)) {
      bool on = true;
      if (dashTotal > 0) {
        int pos = static_cast<int>(step % dashTotal);
        size_t k = 0;
        while (pos >= dashes[k]) pos -= dashes[k++];
        on = k % 2 == 0;
      }
      ++step;
      if (!clip.PtInRect(p) || (!on && !fillGaps)) continue;
      target.Set(p.x, p.y, target.Native(raster::ApplyRop2(rop2, on ? pen : gap, target.Get(p.x, p.y))));
    }
  }
  Touch();
}

void KQtImageDC::PaintSolidAxisSegment(PixelSurface& target, const CRect& clip, const CPoint& from,
                                       const CPoint& to, bool withEnd, RgbWord pen, int rop2) {
  const bool horizontal = from.y == to.y;
  const long long a = horizontal ? from.x : from.y;
  const long long b = horizontal ? to.x : to.y;
  // The pixels from a toward b, b itself only when the end is drawn; a
  // segment of no length draws its one pixel only with its end.
  long long lo = std::min(a, b);
  long long hi = std::max(a, b);
  if (a == b) {
    if (!withEnd) return;
  } else if (!withEnd) {
    if (b > a) --hi;
    else ++lo;
  }
  const long long fixed = horizontal ? from.y : from.x;
  const long long clipLo = horizontal ? clip.left : clip.top;
  const long long clipHi = horizontal ? clip.right - 1 : clip.bottom - 1;
  const long long fixedLo = horizontal ? clip.top : clip.left;
  const long long fixedHi = horizontal ? clip.bottom - 1 : clip.right - 1;
  if (fixed < fixedLo || fixed > fixedHi) return;
  lo = std::max(lo, clipLo);
  hi = std::min(hi, clipHi);
  for (long long v = lo; v <= hi; ++v) {
    const int x = static_cast<int>(horizontal ? v : fixed);
    const int y = static_cast<int>(horizontal ? fixed : v);
    target.Set(x, y, target.Native(raster::ApplyRop2(rop2, pen, target.Get(x, y))));
  }
}

void KQtImageDC::PaintWidePath(const std::vector<CPoint>& points, bool closed) {
  const int width = PenWidth();
  CRect area = BoundsOf(points);
  area.InflateRect(width / 2 + 2, width / 2 + 2);
  area &= DeviceClip();
  if (area.IsRectEmpty()) return;
  const QPolygonF polygon = CentredPolygon(points);
  Combine(qtshape::Render(area, [&](QPainter& painter) {
    painter.setPen(qtshape::WidePen(width, raster::kPen));
    painter.setBrush(Qt::NoBrush);
    if (closed)
      painter.drawPolygon(polygon);
    else
      painter.drawPolyline(polygon);
  }));
}

void KQtImageDC::Combine(const raster::ShapeMask& mask) {
  PixelSurface target = Target();
  raster::CombineMask(target, mask, DeviceClip(), GetROP2(), RgbFromColorRef(SelectedBrush().lbColor),
                      RgbFromColorRef(SelectedPen().lopnColor), RgbFromColorRef(GetBkColor()));
  Touch();
}

void KQtImageDC::DeviceLine(const CPoint& from, const CPoint& to) { DevicePolyline({from, to}); }

void KQtImageDC::DevicePolyline(const std::vector<CPoint>& points) {
  if (!HasPen()) return;
  if (PenWidth() > 1)
    PaintWidePath(points, false);
  else
    PaintThinPath(points, false);
}

void KQtImageDC::DevicePolyBezier(const std::vector<CPoint>& points) {
  if (!HasPen()) return;
  std::vector<CPoint> path{points.front()};
  for (size_t i = 0; i + 3 < points.size(); i += 3) {
    const std::vector<CPoint> curve =
        raster::FlattenBezier(points[i], points[i + 1], points[i + 2], points[i + 3]);
    path.insert(path.end(), curve.begin() + 1, curve.end());
  }
  if (path.size() < 2) path.push_back(path.front());
  if (PenWidth() > 1)
    PaintWidePath(path, false);
  else
    PaintThinPath(path, true);  // a curve is drawn to its very end
}

// ---------------------------------------------------------------- shapes

void KQtImageDC::DevicePolygon(const std::vector<CPoint>& points) {
  const int width = HasPen() ? PenWidth() : 0;
  CRect area = BoundsOf(points);
  area.InflateRect(width / 2 + 2, width / 2 + 2);
  area &= DeviceClip();
  if (area.IsRectEmpty()) return;
  const bool winding = GetPolyFillMode() == WINDING;
  raster::ShapeMask mask = qtshape::Render(area, [&](QPainter& painter) {
    if (HasBrush()) {
      QPolygonF polygon;
      for (const CPoint& p : points) polygon << QPointF(p.x, p.y);
      painter.setPen(Qt::NoPen);
      painter.setBrush(qtshape::LabelColor(raster::kBrush));
      painter.drawPolygon(polygon, winding ? Qt::WindingFill : Qt::OddEvenFill);
    }
    if (width > 1) {
      painter.setPen(qtshape::WidePen(width, raster::kPen));
      painter.setBrush(Qt::NoBrush);
      painter.drawPolygon(CentredPolygon(points));
    }
  });
  if (width == 1) {
    std::vector<CPoint> closed = points;
    closed.push_back(points.front());
    for (size_t i = 0; i + 1 < closed.size(); ++i)
      for (const CPoint& p : raster::LinePixels(closed[i], closed[i + 1], false))
        mask.Mark(p.x, p.y, raster::kPen);
  }
  Combine(mask);
}

void KQtImageDC::DeviceRectangle(const CRect& rect) {
  const int width = HasPen() ? PenWidth() : 0;
  CRect area = rect;
  area.InflateRect(width / 2 + 1, width / 2 + 1);
  area &= DeviceClip();
  if (area.IsRectEmpty() || rect.IsRectEmpty()) return;
  raster::ShapeMask mask(area);
  // The pen frame lies on the rectangle's outer pixels; the brush fills what
  // is inside it (without a pen: all but the last column and row).
  if (HasBrush()) {
    const CRect inside = width == 0 ? CRect(rect.left, rect.top, rect.right - 1, rect.bottom - 1)
                                    : CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    const CRect fill = inside & area;
    for (int y = fill.top; y < fill.bottom; ++y)
      for (int x = fill.left; x < fill.right; ++x) mask.At(x, y) = raster::kBrush;
  }
  if (width == 1) {
    const CPoint corners[5] = {{rect.left, rect.top},
                               {rect.right - 1, rect.top},
                               {rect.right - 1, rect.bottom - 1},
                               {rect.left, rect.bottom - 1},
                               {rect.left, rect.top}};
    for (int i = 0; i < 4; ++i)
      for (const CPoint& p : raster::LinePixels(corners[i], corners[i + 1], true))
        mask.Mark(p.x, p.y, raster::kPen);
  } else if (width > 1) {
    const raster::ShapeMask frame = qtshape::Render(area, [&](QPainter& painter) {
      painter.setPen(qtshape::WidePen(width, raster::kPen));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width() - 1, rect.Height() - 1));
    });
    for (size_t i = 0; i < mask.labels.size(); ++i)
      if (frame.labels[i] != raster::kNone) mask.labels[i] = raster::kPen;
  }
  Combine(mask);
}

void KQtImageDC::DeviceEllipse(const CRect& rect) {
  const int width = HasPen() ? PenWidth() : 0;
  CRect area = rect;
  area.InflateRect(width / 2 + 1, width / 2 + 1);
  area &= DeviceClip();
  if (area.IsRectEmpty() || rect.IsRectEmpty()) return;
  Combine(qtshape::Render(area, [&](QPainter& painter) {
    if (HasBrush()) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(qtshape::LabelColor(raster::kBrush));
      painter.drawEllipse(QRectF(rect.left, rect.top, rect.Width(), rect.Height()));
    }
    if (width > 0) {
      QPen pen =
          width > 1 ? qtshape::WidePen(width, raster::kPen) : QPen(qtshape::LabelColor(raster::kPen), 0);
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width() - 1, rect.Height() - 1));
    }
  }));
}

// ---------------------------------------------------------------- fills and pixels

void KQtImageDC::DeviceFillSolid(const CRect& rect, COLORREF color) {
  PixelSurface target = Target();
  raster::PatBlt(target, rect, DeviceClip(), PATCOPY, RgbFromColorRef(color), true);
  Touch();
}

void KQtImageDC::DevicePatBlt(const CRect& rect, DWORD rop, const LOGBRUSH& brush) {
  PixelSurface target = Target();
  raster::PatBlt(target, rect, DeviceClip(), rop, RgbFromColorRef(brush.lbColor), brush.lbStyle != BS_NULL);
  Touch();
}

void KQtImageDC::DeviceSetPixel(int x, int y, COLORREF color) {
  PixelSurface target = Target();
  if (!target.Contains(x, y)) return;
  target.Set(x, y, target.Native(RgbFromColorRef(color)));
  Touch();
}

COLORREF KQtImageDC::DeviceGetPixel(int x, int y) const {
  const PixelSurface target = Target();
  if (!target.Contains(x, y)) return CLR_INVALID;
  return ColorRefFromRgb(target.Get(x, y));
}

// ---------------------------------------------------------------- blits

bool KQtImageDC::DeviceBlt(const CRect& dest, const CDC& source, const CRect& sourceRect, DWORD rop) {
  const std::optional<PixelSurface> pixels = source.ReadablePixels();
  if (!pixels) return false;
  raster::BlitColors colors;
  colors.textColor = RgbFromColorRef(GetTextColor());
  colors.bkColor = RgbFromColorRef(GetBkColor());
  colors.sourceBkColor = RgbFromColorRef(source.GetBkColor());
  colors.pattern = RgbFromColorRef(SelectedBrush().lbColor);
  colors.hasPattern = HasBrush();
  PixelSurface target = Target();
  raster::Blit(target, dest, DeviceClip(), *pixels, sourceRect, rop, GetStretchBltMode(), colors);
  Touch();
  return true;
}

// ---------------------------------------------------------------- text

void KQtImageDC::DeviceText(int x, int y, UINT options, const CRect* rect, std::string_view text,
                            const int* dx) {
  PixelSurface target = Target();
  const CRect deviceClip = DeviceClip();
  if (rect != nullptr && (options & ETO_OPAQUE))
    raster::PatBlt(target, *rect, deviceClip, PATCOPY, RgbFromColorRef(GetBkColor()), true);
  if (text.empty()) {
    Touch();
    return;
  }
  CRect clip = deviceClip;
  if (rect != nullptr && (options & ETO_CLIPPED)) clip &= *rect;

  const QFont font = QtFontMapper::ToQFont(SelectedFont());
  const QFontMetrics metrics(font);
  const QString string = ToQString(text);
  const int ascent = metrics.ascent();
  const int cellHeight = ascent + metrics.descent();
  std::vector<int> offsets;  // x of each character when advances are given
  int width;
  if (dx != nullptr) {
    offsets.reserve(text.size());
    int at = 0;
    for (size_t i = 0; i < text.size(); ++i) offsets.push_back(at), at += dx[i];
    width = at;
  } else {
    width = metrics.horizontalAdvance(string);
  }
  const CRect cell(x, y, x + width, y + cellHeight);
  if (GetBkMode() == OPAQUE) raster::PatBlt(target, cell, clip, PATCOPY, RgbFromColorRef(GetBkColor()), true);

  // Glyphs may reach outside their cell (italic overhang, accents).
  CRect area = cell;
  area.InflateRect(cellHeight, cellHeight);
  area &= clip;
  if (!area.IsRectEmpty()) {
    QImage coverage(area.Width(), area.Height(), QImage::Format_Alpha8);
    coverage.fill(0);
    {
      QPainter painter(&coverage);
      const bool smooth = !target.IsMono() && SelectedFont().lfQuality != NONANTIALIASED_QUALITY;
      painter.setRenderHint(QPainter::TextAntialiasing, smooth);
      painter.setRenderHint(QPainter::Antialiasing, smooth);
      QFont drawn = font;
      if (!smooth) drawn.setStyleStrategy(QFont::NoAntialias);
      painter.setFont(drawn);
      painter.setPen(QColor(0, 0, 0, 255));
      const QPointF baseline(x - area.left, y + ascent - area.top);
      if (dx == nullptr) {
        painter.drawText(baseline, string);
      } else {
        for (qsizetype i = 0; i < string.size(); ++i)
          painter.drawText(baseline + QPointF(offsets[static_cast<size_t>(i)], 0), QString(string.at(i)));
      }
    }
    raster::BlendCoverage(target, area.TopLeft(), coverage.width(), coverage.height(), coverage.constBits(),
                          static_cast<int>(coverage.bytesPerLine()), clip, RgbFromColorRef(GetTextColor()));
  }
  Touch();
}
