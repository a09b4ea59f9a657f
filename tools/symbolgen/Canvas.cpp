#include "Canvas.h"

#include <QTransform>
#include <algorithm>
#include <cstdio>

#include "Fonts.h"

namespace {

// Grey levels below this are black. A little darker than the middle keeps the
// thin strokes of small glyphs from breaking up.
constexpr int kThreshold = 150;

bool IsInk(QRgb pixel) { return qGray(pixel) < kThreshold; }

}  // namespace

Canvas::Canvas(const SetMetrics& metrics) : metrics_(metrics) {
  const int side = metrics.set == SymbolSet::Print ? 1600 : 640;
  image_ = QImage(side, side, QImage::Format_RGB32);
  image_.fill(Qt::white);
  anchor_ = QPoint(side / 3, side / 3);
  painter_ = std::make_unique<QPainter>(&image_);
  painter_->setRenderHint(QPainter::Antialiasing, true);
  painter_->translate(anchor_);
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(Qt::black);
}

Canvas::~Canvas() = default;

void Canvas::Glyph(char32_t codePoint, double x, double y, double size) {
  const double s = size * metrics_.space;
  FillGlyph(QTransform(s, 0, 0, s, x, y).map(Fonts::Music(codePoint)));
}

void Canvas::FillGlyph(const QPainterPath& path) {
  Fill(path);
  // At screen sizes a glyph's hairlines are thinner than a pixel and would break
  // up when thresholded: an outline stroke makes every part at least a pixel.
  if (metrics_.set != SymbolSet::Print) {
    Stroke(path, metrics_.set == SymbolSet::Small ? 0.45 : 0.35);
  }
}

void Canvas::GlyphInBox(char32_t codePoint, const QRectF& box) {
  const QPainterPath path = Fonts::Music(codePoint);
  const QRectF bounds = path.boundingRect();
  if (bounds.isEmpty()) {
    return;
  }
  const double sx = box.width() / bounds.width();
  const double sy = box.height() / bounds.height();
  FillGlyph(
      QTransform(sx, 0, 0, sy, box.left() - bounds.left() * sx, box.top() - bounds.top() * sy).map(path));
}

QRectF Canvas::GlyphBounds(char32_t codePoint, double size) const {
  const QRectF b = Fonts::Music(codePoint).boundingRect();
  const double s = size * metrics_.space;
  return {b.left() * s, b.top() * s, b.width() * s, b.height() * s};
}

void Canvas::Text(const QString& text, double pixelSize, double x, double baseline, int align) {
  const double width = TextWidth(text, pixelSize);
  const double left = align < 0 ? x : align == 0 ? x - width / 2 : x - width;
  Fill(QTransform(pixelSize, 0, 0, pixelSize, left, baseline).map(Fonts::Text(text)));
}

double Canvas::TextWidth(const QString& text, double pixelSize) const {
  const QRectF b = Fonts::Text(text).boundingRect();
  return (b.right() - std::min(0.0, b.left())) * pixelSize;
}

void Canvas::Fill(const QRectF& rect) {
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(Qt::black);
  painter_->drawRect(rect);
}

void Canvas::Fill(const QPainterPath& path) {
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(Qt::black);
  painter_->drawPath(path);
}

void Canvas::Stroke(const QPainterPath& path, double width) {
  painter_->setBrush(Qt::NoBrush);
  painter_->setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter_->drawPath(path);
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(Qt::black);
}

void Canvas::Line(double x1, double y1, double x2, double y2, double width) {
  QPainterPath path;
  path.moveTo(x1, y1);
  path.lineTo(x2, y2);
  Stroke(path, width);
}

void Canvas::Clear(const QRectF& rect) {
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(Qt::white);
  painter_->drawRect(rect);
  painter_->setBrush(Qt::black);
}

QRect Canvas::InkBounds() const {
  int left = image_.width(), top = image_.height(), right = -1, bottom = -1;
  for (int y = 0; y < image_.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    for (int x = 0; x < image_.width(); ++x) {
      if (IsInk(row[x])) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  if (right < 0) {
    return {anchor_, QSize(1, 1)};
  }
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage Canvas::Threshold(const QRect& canvasRect) const {
  QImage mono(canvasRect.size(), QImage::Format_Mono);
  mono.setColorCount(2);
  mono.setColor(0, qRgb(255, 255, 255));
  mono.setColor(1, qRgb(0, 0, 0));
  mono.fill(0);
  for (int y = 0; y < canvasRect.height(); ++y) {
    for (int x = 0; x < canvasRect.width(); ++x) {
      const QPoint at = canvasRect.topLeft() + QPoint(x, y);
      if (image_.rect().contains(at) && IsInk(image_.pixel(at))) {
        mono.setPixel(x, y, 1);
      }
    }
  }
  return mono;
}

Bitmap Canvas::Tight(int margin) {
  painter_->end();
  const QRect ink = InkBounds().adjusted(-margin, -margin, margin, margin);
  return {Threshold(ink), anchor_ - ink.topLeft()};
}

Bitmap Canvas::FromTopLeft(int left, int top, int minWidth, int minHeight) {
  painter_->end();
  const QRect ink = InkBounds();
  const QPoint corner = anchor_ + QPoint(left, top);
  if (ink.left() < corner.x() || ink.top() < corner.y()) {
    std::fprintf(stderr, "symbolgen: %s is clipped by %d px left, %d px top\n", qPrintable(label_),
                 std::max(0, corner.x() - ink.left()), std::max(0, corner.y() - ink.top()));
  }
  const int width = std::max(minWidth, ink.right() - corner.x() + 1);
  const int height = std::max(minHeight, ink.bottom() - corner.y() + 1);
  const QRect cut(corner, QSize(std::max(1, width), std::max(1, height)));
  return {Threshold(cut), anchor_ - cut.topLeft()};
}

Bitmap Canvas::Exact(const QRect& rect) {
  painter_->end();
  const QRect cut = rect.translated(anchor_);
  return {Threshold(cut), anchor_ - cut.topLeft()};
}

Bitmap Canvas::ExactColour(const QRect& rect) {
  painter_->end();
  const QRect cut = rect.translated(anchor_);
  return {image_.copy(cut).convertToFormat(QImage::Format_RGB32), anchor_ - cut.topLeft()};
}
