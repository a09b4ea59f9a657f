// Families other than the symbols by code: note flags, clefs, time-signature
// figures, bar-line pieces, bracket hooks, braces, stroke symbols, wide
// symbols and the accidentals of chord names and of the key-signature picture.

#include <QPainterPath>
#include <cmath>

#include "Recipes.h"
#include "Shapes.h"
#include "Smufl.h"

namespace {

const SetMetrics kSets[] = {SetMetrics::Small(), SetMetrics::Large(), SetMetrics::Print()};

int SetBase(const SetMetrics& m, int small, int large, int print) {
  return m.set == SymbolSet::Small ? small : m.set == SymbolSet::Large ? large : print;
}

// ---- Flags -------------------------------------------------------------------
// Index = note code: even codes have the stem up, odd codes down; 0..7 are the
// eighth to the 64th, 8..11 small grace-note flags (10, 11 slashed). The bitmap
// holds the flag with the stem beside it; its origin is the stem's free end:
// the top of an up-stem, the bottom of a down-stem, at the stem's left edge.
Bitmap Flag(Canvas& c, int index) {
  const SetMetrics& m = c.metrics();
  const bool up = index % 2 == 0;
  const bool grace = index >= 8;
  const char32_t glyphs[8] = {smufl::kFlag8thUp,    smufl::kFlag8thDown, smufl::kFlag16thUp,
                              smufl::kFlag16thDown, smufl::kFlag32ndUp,  smufl::kFlag32ndDown,
                              smufl::kFlag64thUp,   smufl::kFlag64thDown};
  const char32_t glyph = grace ? (up ? smufl::kFlag8thUp : smufl::kFlag8thDown) : glyphs[index];
  const double size = grace ? 0.5 : 0.75;
  const QRectF b = c.GlyphBounds(glyph, size);
  // SMuFL flags hang from the stem end at their origin; the stem is drawn along.
  const double stemLength = std::max(b.height() + 0.5 * m.space, 2.5 * m.space * (grace ? 0.6 : 1.0));
  c.Fill(QRectF(0, up ? 0 : -stemLength, m.line, stemLength));
  c.Glyph(glyph, 0, 0, size);
  if (index >= 10) {  // the slash of a grace note
    const double dir = up ? 1.0 : -1.0;
    c.Line(-0.5 * m.space, dir * 1.6 * m.space, 1.0 * m.space, dir * 0.5 * m.space, 0.8 * m.scale);
  }
  return c.Tight();
}

const char* FlagName(int index) {
  static const char* const kNames[12] = {"flag-8th-up",     "flag-8th-down",       "flag-16th-up",
                                         "flag-16th-down",  "flag-32nd-up",        "flag-32nd-down",
                                         "flag-64th-up",    "flag-64th-down",      "flag-grace-up",
                                         "flag-grace-down", "flag-grace-slash-up", "flag-grace-slash-down"};
  return kNames[index];
}

// ---- Clefs -------------------------------------------------------------------
// Index 0..2 tablature clefs (six strings, four strings, short lines), 3
// treble, 4 bass, 5 C clef, 6 treble 8va, 7 treble 8vb, 8 and 9 the two drum
// clefs. The origin is the staff's top line at the clef's left edge, and each
// bitmap starts at the row the staff drawer puts it (treble 7 px above the top
// line, 11 at the large size, and so on).
struct ClefDesign {
  const char* name;
  char32_t glyph;
  double line;   // staff space of the glyph's own origin below the top line
  int topSmall;  // bitmap top from the top line, small set
  int topLarge;  // the same, large set
};

constexpr ClefDesign kClefs[10] = {
    {"clef-tab-6", smufl::kTabClef6, 0, 0, 0},
    {"clef-tab-4", smufl::kTabClef4, 0, 0, 0},
    {"clef-tab-short", 0, 0, 0, 0},
    {"clef-treble", smufl::kGClef, 3, -7, -11},
    {"clef-bass", smufl::kFClef, 1, 0, 0},
    {"clef-c", smufl::kCClef, 2, 0, 0},
    {"clef-treble-8va", smufl::kGClef8va, 3, -15, -19},
    {"clef-treble-8vb", smufl::kGClef8vb, 3, -7, -11},
    {"clef-drums", smufl::kPercussionClef1, 2, 6, 8},
    {"clef-drums-box", smufl::kPercussionClef2, 2, 2, 2},
};

Bitmap Clef(Canvas& c, int index) {
  const SetMetrics& m = c.metrics();
  const ClefDesign& d = kClefs[index];
  const int top = m.isLarge() ? d.topLarge : m.px(d.topSmall);
  if (index <= 2) {
    // Tablature: string lines 11 px apart at the small size.
    const double gap = 11.0 * m.scale;
    if (index == 2) {
      c.Text("TAB", 0.9 * gap / 0.72, 0.2 * gap, 1.45 * gap);
    } else {
      const double strings = index == 0 ? 6 : 4;
      const double height = (strings - 2) * gap * (index == 0 ? 0.85 : 0.95);
      const QRectF b = c.GlyphBounds(smufl::kTabClef6);
      const double width = b.width() / b.height() * height;
      c.GlyphInBox(smufl::kTabClef6,
                   QRectF(0.2 * gap, (strings - 1) * gap / 2 - height / 2 + m.mid(), width, height));
    }
    return c.FromTopLeft(0, 0);
  }
  // Shrink the glyph about its origin line until it fits below the given top.
  const double originY = d.line * m.space + m.mid();
  double size = 1.0;
  const double rise = -c.GlyphBounds(d.glyph).top();
  if (originY - rise < top + 0.3) {
    size = (originY - top - 0.3) / rise;
  }
  c.Glyph(d.glyph, 0.3 * m.space, originY, size);
  return c.FromTopLeft(0, top);
}

// ---- Time-signature figures ---------------------------------------------------
// Index 0 common time, 1 cut time, 2..17 the numbers 1..16. The figure is two
// staff spaces high; its origin is the left end of its top row (the staff line
// it stands on), so an upper number is placed at the top line and a lower one
// two spaces lower.
Bitmap TimeFigure(Canvas& c, int index) {
  const SetMetrics& m = c.metrics();
  const double middle = m.space + m.mid();
  if (index < 2) {
    c.Glyph(index == 0 ? smufl::kTimeSigCommon : smufl::kTimeSigCut, 0.1 * m.space, middle);
    return c.FromTopLeft(0, index == 0 ? 0 : -m.px(3));
  }
  const QString digits = QString::number(index - 1);
  double x = 0.1 * m.space;
  for (QChar digit : digits) {
    const char32_t glyph = smufl::kTimeSig0 + static_cast<char32_t>(digit.digitValue());
    const QRectF b = c.GlyphBounds(glyph);
    c.Glyph(glyph, x - b.left(), middle);
    x += b.width() + 0.05 * m.space;
  }
  return c.FromTopLeft(0, 0);
}

QString TimeFigureName(int index) {
  return index == 0   ? QString("time-common")
         : index == 1 ? QString("time-cut")
                      : QString("time-%1").arg(index - 1);
}

// ---- Bar-line pieces ----------------------------------------------------------
// Kinds 0..7: single, double, final, start repeat, end repeat, one-bar repeat,
// end-and-start repeat, two-bar repeat; the strokes follow the bar drawer's
// offsets. Groups: 0 a five-line staff; 1 what is drawn over group 0 (wings of
// the repeats, the count of the two-bar repeat) or, for the other kinds, dashed
// and four-bar forms; 2 a six-string tablature line; 3 the rhythm line; 4 a
// one-line percussion staff. The origin is the top of the line (group 4: the
// line itself) at the bar symbol's x; groups 0 and 1 share one frame, so that
// the overlay lands on its underlay.
struct BarKind {
  int offset;
  std::vector<int> strokes;
};

const BarKind kBarKinds[8] = {
    {8, {0}},           {5, {0, 4}}, {8, {0, 3, 4, 5}},      {2, {0, 1, 2, 5}},
    {1, {5, 8, 9, 10}}, {2, {}},     {0, {5, 8, 9, 10, 13}}, {0, {6}},
};

const char* const kBarKindNames[8] = {"single",     "double",     "final",       "repeat-start",
                                      "repeat-end", "repeat-bar", "repeat-both", "repeat-two-bars"};

Bitmap BarPiece(Canvas& c, int group, int kind) {
  const SetMetrics& m = c.metrics();
  const double unit = m.isLarge() ? 1.0 : m.scale;  // stroke offsets are pixels at both screen sizes
  const BarKind& k = kBarKinds[kind];
  double top = 0, bottom = 4 * m.space;  // the span the bar covers
  switch (group) {
    case 2:
      bottom = 5 * (m.isLarge() ? 14.0 : 11.0 * m.scale);
      break;
    case 3:
      bottom = (m.isLarge() ? 20.0 : 16.0 * m.scale);
      break;
    case 4:
      top = -m.space;
      bottom = m.space;
      break;
    default:
      break;
  }
  const double height = bottom - top + m.line;
  const double x0 = k.offset * unit;
  const bool dashed = group == 1 && (kind <= 2 || kind == 5);
  if (group != 1 || dashed) {
    for (int o : k.strokes) {
      const double x = x0 + o * unit;
      if (dashed) {
        for (double y = top; y < top + height; y += 1.5 * m.space) {
          c.Fill(QRectF(x, y, unit, 0.9 * m.space));
        }
      } else {
        c.Fill(QRectF(x, top, unit, height));
      }
    }
  }
  const double middle = (top + bottom) / 2 + m.mid();
  const double dotGap = group == 2 ? (m.isLarge() ? 14.0 : 11.0 * m.scale) : m.space;
  auto dots = [&](double col) {
    const double d = (m.isLarge() ? 3.0 : 3.0 * m.scale) * (group == 3 ? 0.8 : 1.0);
    DrawDot(c, x0 + (col + 1.5) * unit, middle - dotGap / 2, d);
    DrawDot(c, x0 + (col + 1.5) * unit, middle + dotGap / 2, d);
  };
  if (group != 1) {
    if (kind == 3) dots(7);
    if (kind == 4) dots(0);
    if (kind == 6) {
      dots(0);
      dots(15);
    }
    if (kind == 5 || kind == 7) {
      const double h = std::min(bottom - top, 3 * m.space) * (kind == 5 ? 0.9 : 1.1);
      const char32_t glyph = kind == 5 ? smufl::kRepeat1Bar : smufl::kRepeat2Bars;
      const QRectF b = c.GlyphBounds(glyph);
      const double w = b.width() / b.height() * h;
      const double centre = x0 + (kind == 5 ? 6 : 6.5) * unit;
      c.GlyphInBox(glyph, QRectF(centre - w / 2, middle - h / 2, w, h));
    }
  } else if (kind == 3 || kind == 4 || kind == 6) {
    // Wings: short curved hooks off the thick stroke's ends, pointing away from the dots.
    auto wing = [&](double x, double dir) {
      for (double end : {top, bottom + m.line}) {
        const double v = end == top ? -1.0 : 1.0;
        QPainterPath p;
        p.moveTo(x, end);
        p.quadTo(x + dir * 0.8 * m.space, end, x + dir * 1.2 * m.space, end + v * 0.8 * m.space);
        c.Stroke(p, 1.2 * unit);
      }
    };
    if (kind == 3) wing(x0 + 0.5 * unit, 1.0);
    if (kind == 4) wing(x0 + 11 * unit, -1.0);
    if (kind == 6) {
      wing(x0 + 8 * unit, -1.0);
      wing(x0 + 11 * unit, 1.0);
    }
  } else if (kind == 7) {
    TextCentred(c, "2", 1.2 * m.space, x0 + 6.5 * unit, top - 0.8 * m.space);
  }
  if (dashed && kind == 5) {
    const double h = 3 * m.space;
    const QRectF b = c.GlyphBounds(smufl::kRepeat4Bars);
    const double w = b.width() / b.height() * h;
    c.GlyphInBox(smufl::kRepeat4Bars, QRectF(x0 + 7 * unit - w / 2, middle - h / 2, w, h));
  }
  // Groups 0 and 1 share a frame one staff space beyond the staff on each side.
  const double margin = group <= 1 ? 1.6 * m.space : 0.0;
  const double frameTop = std::floor(top - margin);
  const double width = (k.offset + 18) * unit;
  return c.Exact(QRect(0, static_cast<int>(frameTop), static_cast<int>(std::ceil(width)),
                       static_cast<int>(std::ceil(bottom + m.line + margin - frameTop))));
}

// ---- Bracket hooks and braces -------------------------------------------------
// The hooks sit at (x - 3, top - 5) and (x - 3, bottom) while the bracket's
// two strokes run at x - 3 and x - 2: each hook continues them and curls to
// the right. The origin is (x, top) and (x, bottom) of the bracket.
Bitmap BracketHook(Canvas& c, bool top) {
  const SetMetrics& m = c.metrics();
  const double u = m.scale;
  const double dir = top ? -1.0 : 1.0;
  const double y0 = 0;
  QPainterPath p;
  p.moveTo(-3 * u, y0);
  p.lineTo(-3 * u, y0 + dir * 2.5 * u);
  p.cubicTo(-3 * u, y0 + dir * 4.8 * u, 3 * u, y0 + dir * 3.5 * u, 7 * u, y0 + dir * 5 * u);
  p.cubicTo(3 * u, y0 + dir * 2.2 * u, -1 * u, y0 + dir * 1.5 * u, -1 * u, y0);
  p.closeSubpath();
  c.Fill(p);
  return top ? c.Exact(QRect(m.px(-3), -m.px(5), m.px(11), m.px(5)))
             : c.Exact(QRect(m.px(-3), 0, m.px(11), m.px(5)));
}

// A brace for a pair of staves, drawn tall; the caller stretches it to the
// pair's height. Origin: its top-left corner.
Bitmap Brace(Canvas& c, double height, double width) {
  c.GlyphInBox(smufl::kBrace, QRectF(0, 0, width, height));
  return c.Exact(QRect(0, 0, static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height))));
}

// ---- Wide symbols -------------------------------------------------------------
// Marks that span several columns: index 0..9 (10..19 the large forms). The
// origin is the left end on the row the mark belongs to.
const char* const kWideNames[10] = {"multi-bar-rest",   "crescendo",      "decrescendo", "octave-up-line",
                                    "octave-down-line", "let-ring",       "palm-mute",   "trill-line",
                                    "ritardando",       "vibrato-bar-dip"};

void DashedLine(Canvas& c, double x1, double x2, double y, bool hook) {
  const SetMetrics& m = c.metrics();
  for (double x = x1; x < x2 - 0.6 * m.space; x += 1.2 * m.space) {
    c.Fill(QRectF(x, y, 0.6 * m.space, m.line));
  }
  if (hook) {
    c.Fill(QRectF(x2 - m.line, y, m.line, 0.8 * m.space));
  }
}

void WideSymbol(Canvas& c, int index) {
  const SetMetrics& m = c.metrics();
  const double s = m.space;
  const double w = 6 * s;
  const double y = m.mid();
  switch (index) {
    case 0: {
      c.GlyphInBox(smufl::kRestHBar, QRectF(0, y - s, w, 2 * s));
      break;
    }
    case 1:
    case 2: {
      const double open = index == 1 ? w : 0;
      const double closed = index == 1 ? 0 : w;
      c.Line(closed, y, open, y - 0.7 * s, 1.1 * m.scale);
      c.Line(closed, y, open, y + 0.7 * s, 1.1 * m.scale);
      break;
    }
    case 3:
    case 4: {
      c.Text(index == 3 ? "8va" : "8vb", 1.3 * s, 0, y + 0.45 * s);
      const double start = c.TextWidth("8va", 1.3 * s) + 0.3 * s;
      DashedLine(c, start, w, index == 3 ? y - 0.5 * s : y + 0.3 * s, true);
      break;
    }
    case 5:
    case 6: {
      const QString text = index == 5 ? "let ring" : "P.M.";
      c.Text(text, 1.2 * s, 0, y + 0.45 * s);
      DashedLine(c, c.TextWidth(text, 1.2 * s) + 0.3 * s, index == 5 ? 1.6 * w : w, y, true);
      break;
    }
    case 7: {
      const QRectF tr = c.GlyphBounds(smufl::kTrill);
      c.Glyph(smufl::kTrill, -tr.left(), y + tr.height() / 2 - tr.bottom());
      const QRectF wig = c.GlyphBounds(smufl::kWiggleTrill);
      for (double x = tr.width() + 0.1 * s; x + wig.width() < w * 1.2; x += wig.width() * 0.92) {
        c.Glyph(smufl::kWiggleTrill, x - wig.left(), y - wig.center().y());
      }
      break;
    }
    case 8: {
      c.Text("rit.", 1.3 * s, 0, y + 0.5 * s);
      DashedLine(c, c.TextWidth("rit.", 1.3 * s) + 0.3 * s, w, y + 0.3 * s, false);
      break;
    }
    default: {
      c.Text("w/bar", 1.1 * s, 0, y - 0.3 * s);
      const QRectF dip = c.GlyphBounds(smufl::kVibratoBarDip);
      c.GlyphInBox(smufl::kVibratoBarDip,
                   QRectF(0, y, w, std::min(1.2 * s, dip.height() / dip.width() * w * 0.5)));
      break;
    }
  }
}

Bitmap WideColour(Canvas& c, int index, QColor colour) {
  // Draw in black to learn the extent, then recolour the black pixels.
  WideSymbol(c, index);
  Bitmap mono = c.Tight();
  QImage colourImage(mono.image.size(), QImage::Format_RGB32);
  for (int y = 0; y < mono.image.height(); ++y) {
    for (int x = 0; x < mono.image.width(); ++x) {
      colourImage.setPixel(x, y, mono.image.pixelIndex(x, y) == 1 ? colour.rgb() : qRgb(255, 255, 255));
    }
  }
  return {colourImage, mono.origin};
}

// Accidentals drawn by themselves (chord names and the key-signature picture):
// the staff accidentals' design, cut tightly, origin on the row they stand for.
Recipe LoneAccidental(char32_t glyph, double size) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QRectF b = c.GlyphBounds(glyph, size);
    c.GlyphInBox(glyph, QRectF(0, m.mid() + b.top(), b.width() * 0.9, b.height()));
    return c.Tight();
  };
}

}  // namespace

void AddStaffPieces(Catalog& catalog) {
  for (const SetMetrics& m : kSets) {
    const QString setName = m.name();
    for (int i = 0; i < 12; ++i) {
      AddSymbol(catalog, SetBase(m, 2230, 2530, 2830) + i, FlagName(i), "note flags, " + setName, m,
                [i](Canvas& c) { return Flag(c, i); });
    }
    for (int i = 0; i < 10; ++i) {
      AddSymbol(catalog, SetBase(m, 2100, 2400, 2700) + i, kClefs[i].name, "clefs, " + setName, m,
                [i](Canvas& c) { return Clef(c, i); });
    }
    for (int i = 0; i < 18; ++i) {
      AddSymbol(catalog, SetBase(m, 2250, 2550, 2850) + i, TimeFigureName(i),
                "time-signature figures, " + setName, m, [i](Canvas& c) { return TimeFigure(c, i); });
    }
    for (int group = 0; group < 5; ++group) {
      for (int kind = 0; kind < 8; ++kind) {
        AddSymbol(catalog, SetBase(m, 2300, 2600, 2900) + 8 * group + kind,
                  QString("bar-%1-%2").arg(group).arg(kBarKindNames[kind]), "bar-line pieces, " + setName, m,
                  [=](Canvas& c) { return BarPiece(c, group, kind); });
      }
    }
    // Stroke symbols: strum up, strum down, down-bow, up-bow.
    const char32_t strokes[4] = {smufl::kStrumUp, smufl::kStrumDown, smufl::kDownBow, smufl::kUpBow};
    const char* strokeNames[4] = {"stroke-strum-up", "stroke-strum-down", "stroke-down-bow", "stroke-up-bow"};
    for (int i = 0; i < 4; ++i) {
      AddSymbol(catalog, SetBase(m, 2356, 2656, 2956) + i, strokeNames[i], "stroke symbols, " + setName, m,
                CentredGlyph(strokes[i]));
    }
  }

  const SetMetrics small = SetMetrics::Small(), large = SetMetrics::Large(), print = SetMetrics::Print();
  AddSymbol(catalog, 3800, "bracket-hook-top", "bracket hooks and braces", small,
            [](Canvas& c) { return BracketHook(c, true); });
  AddSymbol(catalog, 3801, "bracket-hook-bottom", "bracket hooks and braces", small,
            [](Canvas& c) { return BracketHook(c, false); });
  AddSymbol(catalog, 3804, "bracket-hook-top", "bracket hooks and braces", print,
            [](Canvas& c) { return BracketHook(c, true); });
  AddSymbol(catalog, 3805, "bracket-hook-bottom", "bracket hooks and braces", print,
            [](Canvas& c) { return BracketHook(c, false); });
  AddSymbol(catalog, 3820, "brace", "bracket hooks and braces", small,
            [](Canvas& c) { return Brace(c, 80, 8); });
  AddSymbol(catalog, 3821, "brace", "bracket hooks and braces", large,
            [](Canvas& c) { return Brace(c, 106, 10); });
  AddSymbol(catalog, 3822, "brace-printer", "bracket hooks and braces", print,
            [](Canvas& c) { return Brace(c, 250, 25); });
  AddSymbol(catalog, 3823, "brace-device", "bracket hooks and braces", print,
            [](Canvas& c) { return Brace(c, 250, 25); });

  // Wide symbols: screen forms (small 2370.., large 2670..), their colour
  // variants, and print pictures three times the small screen size.
  for (int i = 0; i < 10; ++i) {
    const QString name = kWideNames[i];
    AddSymbol(catalog, 2370 + i, name, "wide symbols", small, [i](Canvas& c) {
      WideSymbol(c, i);
      return c.Tight();
    });
    AddSymbol(catalog, 2670 + i, name, "wide symbols", large, [i](Canvas& c) {
      WideSymbol(c, i);
      return c.Tight();
    });
    AddSymbol(catalog, 2380 + i, name + "-colour", "wide symbols", small,
              [i](Canvas& c) { return WideColour(c, i, QColor(176, 24, 24)); });
    AddSymbol(catalog, 2680 + i, name + "-colour", "wide symbols", large,
              [i](Canvas& c) { return WideColour(c, i, QColor(176, 24, 24)); });
    for (int v = 0; v < 2; ++v) {
      AddSymbol(catalog, 2970 + 10 * v + i, name + (v ? "-colour" : ""), "wide symbols", print,
                [i](Canvas& c) {
                  // Exactly three times the small screen picture.
                  Canvas screen(SetMetrics::Small());
                  WideSymbol(screen, i);
                  const Bitmap s = screen.Tight();
                  const SetMetrics triple{SymbolSet::Print, 18.0, 3.0, 15, 21, 24, 21, 3};
                  Canvas big(triple);
                  WideSymbol(big, i);
                  (void)c;
                  return big.Exact(QRect(-s.origin * 3, s.image.size() * 3));
                });
    }
  }

  // Accidentals of the key-signature picture (sharp, flat, natural) and of
  // chord names (normal = the staff's sharp and flat; enlarged = these).
  AddSymbol(catalog, 5361, "key-picture-sharp", "lone accidentals", small,
            LoneAccidental(smufl::kSharp, 0.85));
  AddSymbol(catalog, 5362, "key-picture-flat", "lone accidentals", small, LoneAccidental(smufl::kFlat, 0.85));
  AddSymbol(catalog, 5363, "key-picture-natural", "lone accidentals", small,
            LoneAccidental(smufl::kNatural, 0.85));
  AddSymbol(catalog, 5205, "chord-flat-large", "lone accidentals", large, LoneAccidental(smufl::kFlat, 0.85));
  AddSymbol(catalog, 5206, "chord-sharp-large", "lone accidentals", large,
            LoneAccidental(smufl::kSharp, 0.85));
  AddSymbol(catalog, 5207, "chord-sharp-large", "lone accidentals", print,
            LoneAccidental(smufl::kSharp, 0.85 * 4 / 3));
  AddSymbol(catalog, 5208, "chord-flat-large", "lone accidentals", print,
            LoneAccidental(smufl::kFlat, 0.85 * 4 / 3));
}
