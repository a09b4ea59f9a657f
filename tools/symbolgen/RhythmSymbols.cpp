// Family 5: the rhythm line's symbols, index = symbol code - 200, screen ids
// 3505 + i and print ids 3605 + i. A symbol is 9 px wide (18 px for codes 223
// to 249) and hangs from the line's beam base: its origin is the top-left
// corner, the stem stands in column 8 from row 0 so that joining beams (drawn
// by the line every 3 px from the beam base) meet it, and the head sits below.

#include <QMap>
#include <QPainterPath>
#include <cmath>

#include "Recipes.h"
#include "Shapes.h"
#include "Smufl.h"

namespace {

constexpr double kHeight = 18;  // small-set pixels

// Rhythm symbols are designed in small-set pixels; u converts to the set's.
struct Rhythm {
  Canvas& c;
  double u;
  explicit Rhythm(Canvas& canvas) : c(canvas), u(canvas.metrics().scale) {}

  QRectF R(double x, double y, double w, double h) const { return {x * u, y * u, w * u, h * u}; }

  void Head(int style, HeadKind kind) {
    const double w = kind == HeadKind::Whole ? 7.5 : 6.5;
    const double left = kind == HeadKind::Whole ? 1.0 : 9.0 - w;
    if (style == 1) {  // slash: a thick stroke rising to the stem
      QPainterPath slash;
      slash.moveTo(left * u, 16.5 * u);
      slash.lineTo((left + w - 2.6) * u, 10.0 * u);
      slash.lineTo((left + w) * u, 10.0 * u);
      slash.lineTo((left + 2.6) * u, 16.5 * u);
      slash.closeSubpath();
      if (kind == HeadKind::Filled) {
        c.Fill(slash);
      } else {
        c.Stroke(slash, 1.0 * u);
      }
      return;
    }
    c.GlyphInBox(HeadGlyph(style, kind), R(left, 11.0, w, 5.0));
  }
  void Stem() { c.Fill(R(8, 0, 1, 13.5)); }
  void Flags(int count) {
    const char32_t flags[4] = {smufl::kFlag8thUp, smufl::kFlag16thUp, smufl::kFlag32ndUp, smufl::kFlag64thUp};
    const char32_t glyph = flags[count - 1];
    const QRectF b = c.GlyphBounds(glyph, 1.0);
    // Fit the flag's height into the stem's upper part.
    const double height = std::min(12.0, 4.5 + 2.5 * count) * u;
    const double width = std::min(b.width() / b.height() * height, 7.0 * u);
    c.GlyphInBox(glyph, QRectF(8 * u, 0, width, height));
  }
  void GlyphFit(char32_t glyph, double cx, double cy, double maxW, double maxH) {
    const QRectF b = c.GlyphBounds(glyph, 1.0);
    const double k = std::min(maxW * u / b.width(), maxH * u / b.height());
    c.GlyphInBox(glyph, QRectF(cx * u - b.width() * k / 2, cy * u - b.height() * k / 2, b.width() * k,
                               b.height() * k));
  }
  Bitmap Cut(int width) {
    return c.Exact(
        QRect(0, 0, static_cast<int>(std::lround(width * u)), static_cast<int>(std::lround(kHeight * u))));
  }
};

void Bar(Rhythm& r, std::vector<double> thin, std::vector<double> thick, std::vector<double> dots) {
  for (double x : thin) r.c.Fill(r.R(x, 0, 1, kHeight));
  for (double x : thick) r.c.Fill(r.R(x, 0, 3, kHeight));
  for (double x : dots) {
    DrawDot(r.c, (x + 1) * r.u, 6.5 * r.u, 2.2 * r.u);
    DrawDot(r.c, (x + 1) * r.u, 11.5 * r.u, 2.2 * r.u);
  }
}

Bitmap RhythmSymbol(Canvas& c, int index) {
  Rhythm r(c);
  const int code = 200 + index;
  const int width = code >= 223 && code <= 249 ? 18 : 9;
  if (code <= 204) {
    switch (code) {
      case 200:
        Bar(r, {4}, {}, {});
        break;
      case 201:
        Bar(r, {2, 6}, {}, {});
        break;
      case 202:
        Bar(r, {1}, {4}, {});
        break;
      case 203:
        Bar(r, {4}, {0}, {6});
        break;
      default:
        Bar(r, {4}, {6}, {0});
        break;
    }
  } else if (code <= 216) {  // w, h, q in four styles
    const int value = (code - 205) % 3;
    const int style = (code - 205) / 3;
    r.Head(style, value == 0 ? HeadKind::Whole : value == 1 ? HeadKind::Hollow : HeadKind::Filled);
    if (value > 0) r.Stem();
  } else if (code <= 221) {  // rests: quarter, eighth, 16th, 32nd, 64th
    const char32_t rests[5] = {smufl::kRestQuarter, smufl::kRest8th, smufl::kRest16th, smufl::kRest32nd,
                               smufl::kRest64th};
    r.GlyphFit(rests[code - 217], 4.5, 9.0, 8.0, 14.0);
  } else if (code == 222) {
    DrawDot(c, 2.0 * r.u, 13.5 * r.u, 2.4 * r.u);
  } else if (code <= 238) {  // t, s, y, x in four styles
    const int flags = (code - 223) % 4 + 1;
    const int style = (code - 223) / 4;
    r.Head(style, HeadKind::Filled);
    r.Stem();
    r.Flags(flags);
  } else if (code == 239 || code == 240) {  // whole and half rest
    c.Fill(r.R(1, 0, 7, 1));
    c.Fill(r.R(1.5, code == 239 ? 8 : 6, 6, 2.5));
    c.Fill(r.R(0.5, code == 239 ? 7 : 8.5, 8, 1));
  } else if (code == 241) {
    DrawTie(c, 0.5 * r.u, 15.5 * r.u, 8 * r.u, true);
  } else if (code == 242) {
    r.GlyphFit(smufl::kRepeat1Bar, 4.5, 9.0, 8.5, 12.0);
  } else if (code == 243 || code == 244) {
    r.GlyphFit(code == 243 ? smufl::kCoda : smufl::kSegno, 9.0, 9.0, 16.0, 16.0);
  } else if (code == 245 || code == 246) {  // swing marker: "Sw(" ratio ")"
    TextCentred(c, code == 245 ? "Sw(" : ")", 7 * r.u, 9 * r.u, 9.0 * r.u);
  } else if (code == 248) {  // a strum slash with its stem
    QPainterPath slash;
    slash.moveTo(1 * r.u, 17 * r.u);
    slash.lineTo(6 * r.u, 8 * r.u);
    slash.lineTo(9 * r.u, 8 * r.u);
    slash.lineTo(4 * r.u, 17 * r.u);
    slash.closeSubpath();
    c.Fill(slash);
    c.Fill(r.R(8, 0, 1, 9));
  } else if (code == 249) {
    r.GlyphFit(smufl::kFermataAbove, 9.0, 9.0, 16.0, 12.0);
  } else if (code >= 250 && code <= 252) {
    const char32_t glyphs[3] = {smufl::kSharp, smufl::kFlat, smufl::kNatural};
    r.GlyphFit(glyphs[code - 250], 4.5, 9.0, 8.0, 15.0);
  } else if (code == 253) {
    TextCentred(c, "S", 10 * r.u, 4.5 * r.u, 9.0 * r.u);
  } else {  // 247: no symbol is defined
    const double t = r.u;
    c.Fill(r.R(2, 3, 14, 1));
    c.Fill(r.R(2, 14, 14, 1));
    c.Fill(QRectF(2 * t, 3 * t, t, 12 * t));
    c.Fill(QRectF(15 * t, 3 * t, t, 12 * t));
  }
  return r.Cut(width);
}

QString RhythmName(int index) {
  const int code = 200 + index;
  static const char* const kStyles[4] = {"", "-slash", "-x", "-diamond"};
  if (code >= 205 && code <= 216) {
    static const char* const kValues[3] = {"whole", "half", "quarter"};
    return QString("rhythm-%1%2").arg(kValues[(code - 205) % 3], kStyles[(code - 205) / 3]);
  }
  if (code >= 223 && code <= 238) {
    static const char* const kValues[4] = {"8th", "16th", "32nd", "64th"};
    return QString("rhythm-%1%2").arg(kValues[(code - 223) % 4], kStyles[(code - 223) / 4]);
  }
  static const QMap<int, QString> kNames = {
      {200, "bar"},         {201, "bar-double"},   {202, "bar-final"},  {203, "repeat-start"},
      {204, "repeat-end"},  {217, "rest-quarter"}, {218, "rest-8th"},   {219, "rest-16th"},
      {220, "rest-32nd"},   {221, "rest-64th"},    {222, "dot"},        {239, "rest-whole"},
      {240, "rest-half"},   {241, "tie"},          {242, "repeat-bar"}, {243, "coda"},
      {244, "segno"},       {245, "swing-start"},  {246, "swing-end"},  {247, "unused-247"},
      {248, "strum-slash"}, {249, "fermata"},      {250, "sharp"},      {251, "flat"},
      {252, "natural"},     {253, "letter-s"}};
  return "rhythm-" + kNames.value(code);
}

}  // namespace

void AddRhythmSymbols(Catalog& catalog) {
  for (const SetMetrics& m : {SetMetrics::Small(), SetMetrics::Print()}) {
    const int base = m.isPrint() ? 3605 : 3505;
    for (int i = 0; i < 54; ++i) {
      AddSymbol(catalog, base + i, RhythmName(i), QString("rhythm-line symbols, %1").arg(m.name()), m,
                [i](Canvas& c) { return RhythmSymbol(c, i); });
    }
  }
}
