#pragma once
// The device context of the screen and of image export: it draws into a Qt
// image (the view's backing store) or, as a memory device context, into the
// selected bitmap. Blits, pattern fills, mix modes and pixels are worked out
// pixel by pixel as the classic model defines them; QPainter only rasterises
// wide lines, filled shapes and glyphs into coverage masks, which are then
// combined the same way. Lines are not antialiased and leave out their end
// point; text is antialiased on colour surfaces and thresholded on
// monochrome ones.

#include <QImage>
#include <memory>

#include "platform/CDC.h"
#include "platform/RasterOps.h"

class KQtImageDC : public CDC {
 public:
  // Draws into image, which is converted to 32-bit RGB if it has another
  // format. The image must outlive the device context and keep its size.
  explicit KQtImageDC(QImage& image, int dpiX = 96, int dpiY = 96);

  // A memory device context with the given capabilities (those of the device
  // it is to be compatible with), holding the stock 1 x 1 monochrome bitmap.
  static std::unique_ptr<CDC> CreateMemoryDC(const DeviceCaps& caps);

  std::optional<PixelSurface> ReadablePixels() const override;

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
  COLORREF DeviceGetPixel(int x, int y) const override;
  bool DeviceBlt(const CRect& dest, const CDC& source, const CRect& sourceRect, DWORD rop) override;
  void DeviceText(int x, int y, UINT options, const CRect* rect, std::string_view text,
                  const int* dx) override;
  std::unique_ptr<CDC> NewCompatibleDC(const DeviceCaps& caps) override;

 private:
  explicit KQtImageDC(const DeviceCaps& caps);

  PixelSurface Target() const;
  void Touch();
  bool HasPen() const;
  bool HasBrush() const;
  int PenWidth() const;
  // One-pixel lines through the points, each segment without its end point
  // (the last one with it when asked), in the pen's style.
  void PaintThinPath(const std::vector<CPoint>& points, bool includeLast);
  // One solid horizontal or vertical piece of a thin path, cut to the clip.
  static void PaintSolidAxisSegment(PixelSurface& target, const CRect& clip, const CPoint& from, const CPoint& to,
                                    bool withEnd, RgbWord pen, int rop2);
  // Wide lines through the points, stroked with the pen's width.
  void PaintWidePath(const std::vector<CPoint>& points, bool closed);
  void Combine(const raster::ShapeMask& mask);

  PixelSurface m_window;
};
