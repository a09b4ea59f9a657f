#include "Shapes.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <cmath>

#include "Smufl.h"

namespace {

struct StyleGlyphs {
  char32_t filled, hollow, whole;
};

constexpr StyleGlyphs kStyleGlyphs[kNoteStyles] = {
    {smufl::kNoteheadBlack, smufl::kNoteheadHalf, smufl::kNoteheadWhole},
    {smufl::kNoteheadSlashVerticalEnds, smufl::kNoteheadSlashWhiteHalf, smufl::kNoteheadSlashWhiteWhole},
    {smufl::kNoteheadXBlack, smufl::kNoteheadCircleX, smufl::kNoteheadXBlack},
    {smufl::kNoteheadDiamondBlack, smufl::kNoteheadDiamondWhite, smufl::kNoteheadDiamondWhite},
    {smufl::kNoteheadBlack, smufl::kNoteheadHalf, smufl::kNoteheadWhole},
    {smufl::kNoteheadSquareBlack, smufl::kNoteheadSquareWhite, smufl::kNoteheadSquareWhite},
    {smufl::kNoteheadTriangleUpBlack, smufl::kNoteheadTriangleUpWhite, smufl::kNoteheadTriangleUpWhite},
    {smufl::kNoteheadCircleX, smufl::kNoteheadCircleX, smufl::kNoteheadCircleX},
};

}  // namespace

QString NoteStyleName(int style) {
  static const char* const kNames[kNoteStyles] = {"normal", "slash",  "x",        "diamond",
                                                  "mini",   "square", "triangle", "circle-x"};
  return kNames[style];
}

char32_t HeadGlyph(int style, HeadKind kind) {
  const StyleGlyphs& glyphs = kStyleGlyphs[style];
  return kind == HeadKind::Filled ? glyphs.filled : kind == HeadKind::Hollow ? glyphs.hollow : glyphs.whole;
}

double HeadWidth(const SetMetrics& m, HeadKind kind) {
  return kind == HeadKind::Whole ? m.headWidth * 1.25 : m.headWidth;
}

double HeadCentre(const SetMetrics& m) { return m.headLeft + m.headWidth / 2; }

void DrawHead(Canvas& c, int style, HeadKind kind, double left) {
  const SetMetrics& m = c.metrics();
  if (style == 1) {  // slash heads: a thick parallelogram, outlined when hollow
    const double w = HeadWidth(m, kind);
    const double top = m.mid() - m.headHeight / 2, bottom = m.mid() + m.headHeight / 2;
    const double thick = w * (kind == HeadKind::Whole ? 0.45 : 0.4);
    QPainterPath slash;
    slash.moveTo(left, bottom);
    slash.lineTo(left + w - thick, top);
    slash.lineTo(left + w, top);
    slash.lineTo(left + thick, bottom);
    slash.closeSubpath();
    if (kind == HeadKind::Filled) {
      c.Fill(slash);
    } else {
      QPainterPathStroker stroker;
      stroker.setWidth(1.6 * m.line);
      c.Fill(stroker.createStroke(slash).intersected(slash));
    }
    return;
  }
  const char32_t glyph = HeadGlyph(style, kind);
  double width = HeadWidth(m, kind);
  double height = m.headHeight;
  if (style == 4) {  // mini heads keep the stem side of the normal head
    left += width * 0.3;
    width *= 0.7;
    height *= 0.72;
  }
  c.GlyphInBox(glyph, QRectF(left, m.mid() - height / 2, width, height));
}

void GlyphCentred(Canvas& c, char32_t codePoint, double x, double y, double size) {
  const QRectF b = c.GlyphBounds(codePoint, size);
  c.Glyph(codePoint, x - b.center().x(), y - b.center().y(), size);
}

void TextCentred(Canvas& c, const QString& text, double capHeight, double x, double y) {
  const double pixelSize = capHeight / 0.72;
  c.Text(text, pixelSize, x, y + capHeight / 2, 0);
}

QPointF LargeOf(QPointF small) { return {std::round(small.x() * 1.2), std::round(small.y() * 4.0 / 3.0)}; }

Bitmap Placed(Canvas& c, QPointF small, QPointF large, int minWidth, int minHeight) {
  const SetMetrics& m = c.metrics();
  if (m.isLarge()) {
    return c.FromTopLeft(static_cast<int>(large.x()), static_cast<int>(large.y()), minWidth, minHeight);
  }
  return c.FromTopLeft(m.px(small.x()), m.px(small.y()), minWidth, minHeight);
}

void DrawTie(Canvas& c, double x, double y, double width, bool below) {
  const SetMetrics& m = c.metrics();
  const double depth = std::max(2.5 * m.scale, width * 0.16);
  const double thick = 1.3 * m.scale;
  const double dir = below ? 1.0 : -1.0;
  QPainterPath path;
  path.moveTo(x, y);
  path.cubicTo(x + width * 0.25, y + dir * depth, x + width * 0.75, y + dir * depth, x + width, y);
  path.cubicTo(x + width * 0.75, y + dir * (depth - thick), x + width * 0.25, y + dir * (depth - thick), x,
               y);
  c.Fill(path);
  c.Stroke(path, 0.35 * m.scale);
}

void DrawDot(Canvas& c, double x, double y, double d) {
  QPainterPath path;
  path.addEllipse(QPointF(x, y), d / 2, d / 2);
  c.Fill(path);
}
