#pragma once
// The device context of printers, print preview and PDF: it paints with a
// QPainter on the printing device. IsPrinting() is true.
//
// Paper cannot be read back, so raster operations and mix modes that combine
// with what is already there are worked out against white paper: pixels whose
// result is white are left unpainted (earlier ink stays), the rest are painted
// in their result colour. A monochrome symbol blitted with SRCAND is thus
// drawn as a mask: its black pixels in the text colour, its white ones not at
// all. Bitmaps that shrink are reduced by the stretch mode first (so
// BLACKONWHITE keeps thin black lines); enlarged ones are scaled by the device
// without smoothing. Memory device contexts made from it are image device
// contexts with the printer's capabilities.

#include <QImage>
#include <QPainter>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "platform/CDC.h"
#include "platform/qt/QtTextMeasurer.h"

class KQtPrintDC : public CDC {
 public:
  // painter must be active and outlive the device context; its state is
  // saved here and put back when the device context goes.
  explicit KQtPrintDC(QPainter& painter);
  ~KQtPrintDC() override;

 protected:
  void DeviceLine(const CPoint& from, const CPoint& to) override;
  void DevicePolyline(const std::vector<CPoint>& points) override;
  void DevicePolyBezier(const std::vector<CPoint>& points) override;
  void DevicePolygon(const std::vector<CPoint>& points) override;
  void DeviceRectangle(const CRect& rect) override;
  void DeviceEllipse(const CRect& rect) override;
  void DeviceFillSolid(const CRect& rect, COLORREF color) override;
  void DevicePatBlt(const CRect& rect, DWORD rop, const LOGBRUSH& brush) override;
  void DeviceSetPixel(int x, int y, COLORREF color) override;
  bool DeviceBlt(const CRect& dest, const CDC& source, const CRect& sourceRect, DWORD rop) override;
  void DeviceText(int x, int y, UINT options, const CRect* rect, std::string_view text,
                  const int* dx) override;
  std::unique_ptr<CDC> NewCompatibleDC(const DeviceCaps& caps) override;

 private:
  void ApplyClip(const CRect* narrower = nullptr);
  std::optional<QPen> PaperPen() const;
  std::optional<QBrush> PaperBrush() const;
  // True when nothing inside bounds (device pixels) can show through the clip.
  bool OutsideClip(const QRectF& bounds) const;
  void StrokePath(const QPainterPath& path);
  // The source part as an image ready to draw (converted, reduced, combined
  // with white paper), cached per bitmap and colours so that a symbol used
  // many times is stored once in a PDF.
  QImage BlitImage(const PixelSurface& source, const std::shared_ptr<BitmapData>& data,
                   const CRect& sourceRect, const CSize& size, DWORD rop, const CDC& sourceDC);

  using ImageKey = std::tuple<const BitmapData*, std::uint64_t, int, int, int, int, int, int, DWORD, COLORREF,
                              COLORREF, COLORREF, COLORREF, bool, int>;
  struct CachedImage {
    std::weak_ptr<BitmapData> data;
    QImage image;
  };

  QPainter& m_painter;
  QtTextMeasurer m_measurer;
  std::map<ImageKey, CachedImage> m_images;
  std::optional<QRect> m_clip;  // the clip last given to the painter
};
