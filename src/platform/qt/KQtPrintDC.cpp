#include "platform/qt/KQtPrintDC.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainterPath>
#include <QPrinter>
#include <algorithm>

#include "platform/RasterOps.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtText.h"

namespace {

constexpr RgbWord kPaper = 0xFFFFFF;
constexpr size_t kMaxCachedImages = 4096;

DeviceCaps PrintCaps(QPainter& painter) {
  DeviceCaps caps;
  QPaintDevice* device = painter.device();
  caps.technology = DT_RASPRINTER;
  if (device == nullptr) return caps;
  caps.logPixelsX = std::max(1, device->logicalDpiX());
  caps.logPixelsY = std::max(1, device->logicalDpiY());
  caps.horzRes = device->width();
  caps.vertRes = device->height();
  caps.horzSizeMm = device->widthMM();
  caps.vertSizeMm = device->heightMM();
  if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device)) {
    const QPageLayout layout = paged->pageLayout();
    const QRect full = layout.fullRectPixels(caps.logPixelsX);
    const QRect paint = layout.paintRectPixels(caps.logPixelsX);
    caps.physicalWidth = full.width();
    caps.physicalHeight = full.height();
    caps.physicalOffsetX = paint.left();
    caps.physicalOffsetY = paint.top();
  }
  const auto* printer = dynamic_cast<QPrinter*>(device);
  const bool mono = printer != nullptr && printer->colorMode() == QPrinter::GrayScale;
  caps.bitsPixel = mono ? 1 : 32;
  caps.numColors = mono ? 2 : -1;
  return caps;
}

QColor ToQColor(RgbWord rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

QRectF Centred(const CRect& rect) {
  return QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width() - 1, rect.Height() - 1);
}

QPolygonF CentredPolygon(const std::vector<CPoint>& points) {
  QPolygonF polygon;
  for (const CPoint& p : points) polygon << QPointF(p.x + 0.5, p.y + 0.5);
  return polygon;
}

}  // namespace

KQtPrintDC::KQtPrintDC(QPainter& painter)
    : CDC(PrintCaps(painter), nullptr, true, false), m_painter(painter), m_measurer(painter.device()) {
  SetMeasurer(&m_measurer);
  m_painter.save();
  m_painter.setRenderHint(QPainter::Antialiasing, true);
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
  m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

KQtPrintDC::~KQtPrintDC() { m_painter.restore(); }

std::unique_ptr<CDC> KQtPrintDC::NewCompatibleDC(const DeviceCaps& caps) {
  return KQtImageDC::CreateMemoryDC(caps);
}

void KQtPrintDC::ApplyClip(const CRect* narrower) {
  CRect clip = DeviceClip();
  if (narrower != nullptr) clip &= *narrower;
  const QRect rect(clip.left, clip.top, std::max(0, clip.Width()), std::max(0, clip.Height()));
  // Each new clip starts a new graphics state in a PDF page, with the pen
  // and brush written out again: it is set only when it changes.
  if (m_clip == rect) return;
  m_painter.setClipRect(rect);
  m_clip = rect;
}

// ---------------------------------------------------------------- pens and brushes on paper

std::optional<QPen> KQtPrintDC::PaperPen() const {
  const LOGPEN& logPen = SelectedPen();
  if (logPen.lopnStyle == static_cast<UINT>(PS_NULL)) return std::nullopt;
  const RgbWord color = raster::ApplyRop2(GetROP2(), RgbFromColorRef(logPen.lopnColor), kPaper);
  if (raster::Rop2UsesDest(GetROP2()) && color == kPaper) return std::nullopt;
  const int width = std::max(1, static_cast<int>(logPen.lopnWidth.x));
  QPen pen(ToQColor(color), width, Qt::SolidLine, width > 1 ? Qt::RoundCap : Qt::FlatCap, Qt::RoundJoin);
  const std::vector<int> dashes = raster::DashPattern(logPen.lopnStyle);
  if (width == 1 && !dashes.empty()) {
    // Dash lengths are screen pixels; a printer has many more per inch.
    const qreal scale = std::max(1, Caps().logPixelsX / 96);
    QList<qreal> pattern;
    for (const int d : dashes) pattern << d * scale;
    pen.setDashPattern(pattern);
  }
  return pen;
}

std::optional<QBrush> KQtPrintDC::PaperBrush() const {
  const LOGBRUSH& logBrush = SelectedBrush();
  if (logBrush.lbStyle == BS_NULL) return std::nullopt;
  const RgbWord color = raster::ApplyRop2(GetROP2(), RgbFromColorRef(logBrush.lbColor), kPaper);
  if (raster::Rop2UsesDest(GetROP2()) && color == kPaper) return std::nullopt;
  return QBrush(ToQColor(color));
}

bool KQtPrintDC::OutsideClip(const QRectF& bounds) const {
  const CRect clip = DeviceClip();
  return bounds.right() <= clip.left || bounds.left() >= clip.right || bounds.bottom() <= clip.top ||
         bounds.top() >= clip.bottom;
}

void KQtPrintDC::StrokePath(const QPainterPath& path) {
  const std::optional<QPen> pen = PaperPen();
  if (!pen) return;
  // A part of the score beside the sheet would only be clipped away: it is
  // left out of the page. Caps and joins reach at most the pen's width out.
  const qreal reach = pen->widthF() + 1;
  if (OutsideClip(path.controlPointRect().adjusted(-reach, -reach, reach, reach))) return;
  ApplyClip();
  if (pen->style() == Qt::CustomDashLine && GetBkMode() == OPAQUE) {
    // The gaps of a styled line show the background colour.
    QPen gaps = *pen;
    gaps.setStyle(Qt::SolidLine);
    gaps.setColor(ToQColor(RgbFromColorRef(GetBkColor())));
    m_painter.strokePath(path, gaps);
  }
  // The pen stays selected, so that a run of strokes in one pen writes it
  // once.
  m_painter.setPen(*pen);
  m_painter.setBrush(Qt::NoBrush);
  m_painter.drawPath(path);
}

// ---------------------------------------------------------------- lines and shapes

void KQtPrintDC::DeviceLine(const CPoint& from, const CPoint& to) { DevicePolyline({from, to}); }

void KQtPrintDC::DevicePolyline(const std::vector<CPoint>& points) {
  QPainterPath path;
  path.addPolygon(CentredPolygon(points));
  StrokePath(path);
}

void KQtPrintDC::DevicePolyBezier(const std::vector<CPoint>& points) {
  const auto at = [](const CPoint& p) { return QPointF(p.x + 0.5, p.y + 0.5); };
  QPainterPath path(at(points.front()));
  for (size_t i = 0; i + 3 < points.size(); i += 3)
    path.cubicTo(at(points[i + 1]), at(points[i + 2]), at(points[i + 3]));
  StrokePath(path);
}

void KQtPrintDC::DevicePolygon(const std::vector<CPoint>& points) {
  if (const std::optional<QBrush> brush = PaperBrush()) {
    QPolygonF polygon;
    for (const CPoint& p : points) polygon << QPointF(p.x, p.y);
    ApplyClip();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(*brush);
    m_painter.drawPolygon(polygon, GetPolyFillMode() == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  }
  QPainterPath outline;
  outline.addPolygon(CentredPolygon(points));
  outline.closeSubpath();
  StrokePath(outline);
}

void KQtPrintDC::DeviceRectangle(const CRect& rect) {
  if (rect.IsRectEmpty()) return;
  const bool framed = SelectedPen().lopnStyle != static_cast<UINT>(PS_NULL);
  if (const std::optional<QBrush> brush = PaperBrush()) {
    const CRect inside = framed ? CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1)
                                : CRect(rect.left, rect.top, rect.right - 1, rect.bottom - 1);
    if (!inside.IsRectEmpty()) {
      ApplyClip();
      m_painter.fillRect(QRect(inside.left, inside.top, inside.Width(), inside.Height()), *brush);
    }
  }
  QPainterPath frame;
  frame.addRect(Centred(rect));
  StrokePath(frame);
}

void KQtPrintDC::DeviceEllipse(const CRect& rect) {
  if (rect.IsRectEmpty()) return;
  if (const std::optional<QBrush> brush = PaperBrush()) {
    ApplyClip();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(*brush);
    m_painter.drawEllipse(QRectF(rect.left, rect.top, rect.Width(), rect.Height()));
  }
  QPainterPath outline;
  outline.addEllipse(Centred(rect));
  StrokePath(outline);
}

// ---------------------------------------------------------------- fills and pixels

void KQtPrintDC::DeviceFillSolid(const CRect& rect, COLORREF color) {
  if (rect.IsRectEmpty()) return;
  ApplyClip();
  m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                     ToQColor(RgbFromColorRef(color)));
}

void KQtPrintDC::DevicePatBlt(const CRect& rect, DWORD rop, const LOGBRUSH& brush) {
  if (rect.IsRectEmpty()) return;
  if (raster::UsesPattern(rop) && brush.lbStyle == BS_NULL) return;
  const RgbWord result = raster::ApplyRop3(raster::Rop3Code(rop), RgbFromColorRef(brush.lbColor), 0, kPaper);
  if (raster::UsesDest(rop) && result == kPaper) return;
  ApplyClip();
  m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(result));
}

void KQtPrintDC::DeviceSetPixel(int x, int y, COLORREF color) {
  DeviceFillSolid(CRect(x, y, x + 1, y + 1), color);
}

// ---------------------------------------------------------------- blits

QImage KQtPrintDC::BlitImage(const PixelSurface& source, const std::shared_ptr<BitmapData>& data,
                             const CRect& sourceRect, const CSize& size, DWORD rop, const CDC& sourceDC) {
  const COLORREF brushColor = SelectedBrush().lbColor;
  const bool hasPattern = SelectedBrush().lbStyle != BS_NULL;
  const ImageKey key{data.get(),
                     data ? data->generation : 0,
                     sourceRect.left,
                     sourceRect.top,
                     sourceRect.Width(),
                     sourceRect.Height(),
                     size.cx,
                     size.cy,
                     rop,
                     GetTextColor(),
                     GetBkColor(),
                     sourceDC.GetBkColor(),
                     brushColor,
                     hasPattern,
                     GetStretchBltMode()};
  if (data) {
    const auto it = m_images.find(key);
    if (it != m_images.end() && it->second.data.lock() == data) return it->second.image;
  }

  // The source converted to colour at the output size (reduced by the stretch mode).
  auto converted = BitmapData::Make(size.cx, size.cy, 32);
  if (!converted) return {};
  PixelSurface out = converted->Surface();
  raster::BlitColors colors;
  colors.textColor = RgbFromColorRef(GetTextColor());
  colors.bkColor = RgbFromColorRef(GetBkColor());
  colors.sourceBkColor = RgbFromColorRef(sourceDC.GetBkColor());
  raster::Blit(out, CRect(0, 0, size.cx, size.cy), CRect(0, 0, size.cx, size.cy), source, sourceRect, SRCCOPY,
               GetStretchBltMode(), colors);

  const BYTE code = raster::Rop3Code(rop);
  const bool readsPaper = raster::UsesDest(rop);
  const RgbWord pattern = RgbFromColorRef(brushColor);
  QImage image(size.cx, size.cy, QImage::Format_ARGB32);
  for (int y = 0; y < size.cy; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.cx; ++x) {
      const RgbWord result = raster::ApplyRop3(code, pattern, out.Get(x, y), kPaper);
      row[x] = readsPaper && result == kPaper ? 0u : (0xFF000000u | result);
    }
  }
  if (data) {
    if (m_images.size() >= kMaxCachedImages) m_images.clear();
    m_images[key] = {data, image};
  }
  return image;
}

bool KQtPrintDC::DeviceBlt(const CRect& dest, const CDC& source, const CRect& sourceRect, DWORD rop) {
  const std::optional<PixelSurface> pixels = source.ReadablePixels();
  if (!pixels) return false;
  if (raster::UsesPattern(rop) && SelectedBrush().lbStyle == BS_NULL) return true;
  // Only the part of the source that exists is drawn, where it would fall.
  const CRect available = sourceRect & CRect(0, 0, pixels->width, pixels->height);
  if (available.IsRectEmpty()) return true;
  const double scaleX = static_cast<double>(dest.Width()) / sourceRect.Width();
  const double scaleY = static_cast<double>(dest.Height()) / sourceRect.Height();
  const QRectF target(dest.left + (available.left - sourceRect.left) * scaleX,
                      dest.top + (available.top - sourceRect.top) * scaleY, available.Width() * scaleX,
                      available.Height() * scaleY);
  // Shrinking is done here, by the stretch mode; enlarging is left to the device.
  if (OutsideClip(target)) return true;
  const CSize size(std::max(1, std::min(available.Width(), static_cast<int>(target.width()))),
                   std::max(1, std::min(available.Height(), static_cast<int>(target.height()))));
  const QImage image = BlitImage(*pixels, source.SelectedBitmapData(), available, size, rop, source);
  if (image.isNull()) return false;
  ApplyClip();
  m_painter.drawImage(target, image);
  return true;
}

// ---------------------------------------------------------------- text

void KQtPrintDC::DeviceText(int x, int y, UINT options, const CRect* rect, std::string_view text,
                            const int* dx) {
  const QColor background = ToQColor(RgbFromColorRef(GetBkColor()));
  if (rect != nullptr && (options & ETO_OPAQUE) && !rect->IsRectEmpty()) {
    ApplyClip();
    m_painter.fillRect(QRect(rect->left, rect->top, rect->Width(), rect->Height()), background);
  }
  if (text.empty()) return;
  const bool clipped = rect != nullptr && (options & ETO_CLIPPED);

  const QFont font = QtFontMapper::ToQFont(SelectedFont());
  const QFontMetrics metrics(font, m_painter.device());
  const QString string = ToQString(text);
  const int ascent = metrics.ascent();
  int width = 0;
  if (dx != nullptr)
    for (size_t i = 0; i < text.size(); ++i) width += dx[i];
  else
    width = metrics.horizontalAdvance(string);

  ApplyClip(clipped ? rect : nullptr);
  if (GetBkMode() == OPAQUE) m_painter.fillRect(QRect(x, y, width, ascent + metrics.descent()), background);
  m_painter.setFont(font);
  m_painter.setPen(ToQColor(RgbFromColorRef(GetTextColor())));
  const QPointF baseline(x, y + ascent);
  if (dx == nullptr) {
    m_painter.drawText(baseline, string);
    return;
  }
  int at = 0;
  for (qsizetype i = 0; i < string.size(); ++i) {
    m_painter.drawText(baseline + QPointF(at, 0), QString(string.at(i)));
    at += dx[i];
  }
}
