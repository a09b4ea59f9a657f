#pragma once
// A drawing surface for one symbol bitmap.
//
// Coordinates are pixels relative to the symbol's reference point (the anchor),
// which sits on a pixel corner: the pixel right of and below the anchor is
// (0, 0)..(1, 1). Drawing is antialiased in grey; Finish thresholds the result
// to black and white and cuts the bitmap out, recording where the anchor lies
// in it (the origin).

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <memory>

#include "SetMetrics.h"

struct Bitmap {
  QImage image;   // Format_Mono, or Format_RGB32 for the few colour pieces
  QPoint origin;  // the anchor, in bitmap pixels (may lie outside the bitmap)
};

class Canvas {
 public:
  explicit Canvas(const SetMetrics& metrics);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  const SetMetrics& metrics() const { return metrics_; }
  QPainter& painter() { return *painter_; }

  // A SMuFL glyph with its own origin at (x, y); size 1.0 = the set's staff space.
  void Glyph(char32_t codePoint, double x, double y, double size = 1.0);
  // A SMuFL glyph scaled (unevenly if need be) so that its outline fills the box.
  void GlyphInBox(char32_t codePoint, const QRectF& box);
  // The outline box of a glyph drawn at (0, 0) with the given size.
  QRectF GlyphBounds(char32_t codePoint, double size = 1.0) const;

  // Text in the sans-serif font, cap height about 0.73 x pixelSize; align is
  // -1 (x is the left end), 0 (x is the centre) or 1 (x is the right end).
  void Text(const QString& text, double pixelSize, double x, double baseline, int align = -1);
  double TextWidth(const QString& text, double pixelSize) const;

  void Fill(const QRectF& rect);        // black rectangle
  void Fill(const QPainterPath& path);  // black area
  void Stroke(const QPainterPath& path, double width);
  void Line(double x1, double y1, double x2, double y2, double width);
  void Clear(const QRectF& rect);  // white rectangle (cuts into what is drawn)

  // Cuts the bitmap out. Tight: the smallest rectangle holding every black pixel
  // (grown by margin). FromTopLeft: the top-left corner is fixed at (left, top)
  // from the anchor and the bitmap reaches as far right and down as the drawing
  // (at least minWidth x minHeight); black pixels left of or above the corner
  // are reported as clipped. Exact: the given rectangle, whatever is drawn.
  Bitmap Tight(int margin = 0);
  Bitmap FromTopLeft(int left, int top, int minWidth = 0, int minHeight = 0);
  Bitmap Exact(const QRect& rect);
  // Exact, keeping colour: for the colour pieces.
  Bitmap ExactColour(const QRect& rect);

  // A label used in warnings about clipped drawings.
  void SetLabel(const QString& label) { label_ = label; }

 private:
  void FillGlyph(const QPainterPath& path);
  QRect InkBounds() const;  // in canvas pixels
  QImage Threshold(const QRect& canvasRect) const;

  SetMetrics metrics_;
  QImage image_;
  std::unique_ptr<QPainter> painter_;
  QPoint anchor_;
  QString label_;
};
