#include "Recipes.h"

#include <QPainterPath>

#include "Shapes.h"
#include "Smufl.h"

Recipe CentredGlyph(char32_t codePoint, double size, double dy) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    GlyphCentred(c, codePoint, HeadCentre(m), m.mid() + dy * m.space, size);
    return c.Tight();
  };
}

Recipe CentredGlyphRow(std::vector<char32_t> codePoints, double size, double gap) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    double total = 0;
    for (char32_t cp : codePoints) {
      total += c.GlyphBounds(cp, size).width() + gap * m.space;
    }
    total -= gap * m.space;
    double x = HeadCentre(m) - total / 2;
    for (char32_t cp : codePoints) {
      const QRectF b = c.GlyphBounds(cp, size);
      GlyphCentred(c, cp, x + b.width() / 2, m.mid(), size);
      x += b.width() + gap * m.space;
    }
    return c.Tight();
  };
}

Recipe CentredText(const QString& text, double capHeight) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    TextCentred(c, text, capHeight * m.space, HeadCentre(m), m.mid());
    return c.Tight();
  };
}

Recipe EmptyFrame(bool dotted) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double s = m.space * 1.2;
    const double x = HeadCentre(m) - s / 2;
    const double y = m.mid() - s / 2;
    const double w = m.line;
    if (dotted) {
      const int steps = 4;
      for (int i = 0; i <= steps; ++i) {
        const double t = s * i / steps - w / 2;
        for (const QRectF& r : {QRectF(x + t, y, w, w), QRectF(x + t, y + s - w, w, w),
                                QRectF(x, y + t, w, w), QRectF(x + s - w, y + t, w, w)}) {
          c.Fill(r);
        }
      }
    } else {
      c.Fill(QRectF(x, y, s, w));
      c.Fill(QRectF(x, y + s - w, s, w));
      c.Fill(QRectF(x, y, w, s));
      c.Fill(QRectF(x + s - w, y, w, s));
    }
    return c.Tight();
  };
}

// A line from (x1, y1) to (x2, y2) in staff spaces from the head's middle.
Recipe SlideLine(double x1, double y1, double x2, double y2) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double cx = HeadCentre(m);
    c.Line(cx + x1 * m.space, m.mid() + y1 * m.space, cx + x2 * m.space, m.mid() + y2 * m.space,
           1.2 * m.scale);
    return c.Tight();
  };
}

// A curved bend arrow rising to the right, with an optional label above it.
Recipe BendArrow(bool release, const QString& label) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double s = m.space;
    const double x0 = HeadCentre(m);
    const double y0 = m.mid() + s;
    QPainterPath path;
    const double dir = release ? 1.0 : -1.0;
    const double yStart = release ? y0 - 2.2 * s : y0;
    path.moveTo(x0, yStart);
    path.cubicTo(x0 + 0.9 * s, yStart, x0 + 1.3 * s, yStart + dir * 1.0 * s, x0 + 1.3 * s,
                 yStart + dir * 2.0 * s);
    c.Stroke(path, 1.1 * m.scale);
    const double tipY = yStart + dir * 2.4 * s;
    QPainterPath head;
    head.moveTo(x0 + 1.3 * s, tipY);
    head.lineTo(x0 + 0.85 * s, tipY - dir * 0.75 * s);
    head.lineTo(x0 + 1.75 * s, tipY - dir * 0.75 * s);
    head.closeSubpath();
    c.Fill(head);
    if (!label.isEmpty()) {
      TextCentred(c, label, 0.9 * s, x0 + 1.3 * s, std::min(tipY, yStart) - 0.9 * s);
    }
    return c.Tight();
  };
}

// A straight arrow standing on the head's middle: a pre-bend.
Recipe StraightArrow(bool up) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double s = m.space;
    const double x = HeadCentre(m);
    const double y0 = m.mid() + (up ? 1.2 : -1.2) * s;
    const double y1 = m.mid() + (up ? -1.2 : 1.2) * s;
    c.Line(x, y0, x, y1 + (up ? 0.5 : -0.5) * s, 1.1 * m.scale);
    QPainterPath head;
    head.moveTo(x, y1 - (up ? 0.2 : -0.2) * s);
    head.lineTo(x - 0.45 * s, y1 + (up ? 0.6 : -0.6) * s);
    head.lineTo(x + 0.45 * s, y1 + (up ? 0.6 : -0.6) * s);
    head.closeSubpath();
    c.Fill(head);
    return c.Tight();
  };
}

// The arpeggio sign: a vertical wavy line three staff spaces high, with an
// optional arrowhead at its lower end.
Recipe Arpeggio(bool arrow, bool up) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double s = m.space;
    const double x = HeadCentre(m) - m.headWidth;
    const double top = m.mid() - 1.5 * s;
    const double bottom = m.mid() + 1.5 * s;
    QPainterPath wave;
    wave.moveTo(x, top);
    const double wavelength = 0.9 * s;
    for (double y = top; y < bottom - 0.01; y += wavelength) {
      wave.cubicTo(x + 0.45 * s, y + wavelength / 3, x - 0.45 * s, y + 2 * wavelength / 3, x, y + wavelength);
    }
    c.Stroke(wave, 0.9 * m.scale);
    if (arrow) {
      const double dir = up ? -1.0 : 1.0;
      const double tip = (up ? top : bottom) + dir * 0.8 * s;
      QPainterPath head;
      head.moveTo(x, tip);
      head.lineTo(x - 0.45 * s, tip - dir * 0.8 * s);
      head.lineTo(x + 0.45 * s, tip - dir * 0.8 * s);
      head.closeSubpath();
      c.Fill(head);
    }
    return c.Tight();
  };
}

// A clef in the middle of a line, at three quarters of its size, with its own
// origin (the G, F or C line) on the anchor row.
Recipe ClefChange(char32_t cp) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    c.Glyph(cp, m.headLeft, m.mid(), 0.75);
    return c.Tight();
  };
}

// A trill sign followed by its wavy line.
Recipe TrillWithLine() {
  return [](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QRectF tr = c.GlyphBounds(smufl::kTrill);
    const double x = HeadCentre(m) - tr.width() / 2;
    c.Glyph(smufl::kTrill, x - tr.left(), m.mid() + tr.height() / 2 - tr.bottom());
    const QRectF w = c.GlyphBounds(smufl::kWiggleTrill);
    double wx = x + tr.width() + 0.1 * m.space;
    for (int i = 0; i < 3; ++i) {
      c.Glyph(smufl::kWiggleTrill, wx - w.left(), m.mid() + tr.height() / 2 - 0.3 * m.space - w.bottom());
      wx += w.width() * 0.92;
    }
    return c.Tight();
  };
}

// A wavy line made of repeated vibrato strokes.
Recipe Wave(char32_t cp, int repeats) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QRectF w = c.GlyphBounds(cp);
    double x = HeadCentre(m) - w.width() * repeats * 0.46;
    for (int i = 0; i < repeats; ++i) {
      c.Glyph(cp, x - w.left(), m.mid() - w.center().y());
      x += w.width() * 0.92;
    }
    return c.Tight();
  };
}

Recipe TimeSignatureSymbol(char32_t cp) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    c.Glyph(cp, 0, m.mid());
    return c.Tight();
  };
}
