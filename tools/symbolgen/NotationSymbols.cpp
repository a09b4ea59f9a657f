// Family 0 by symbol code (codes 13..111 and their large forms 125..223), the
// note-head triples of the eight note styles and the six head forms.
//
// Codes with a fixed placement in the line drawing cache (grace note, rests,
// bars, accidentals, ties and dots) are cut out with their top-left corner at
// that offset from the column x and the step's y, so that the drawing lands
// where the cache puts it. The other symbols are centred on the note head's
// middle and cut tightly; index.txt records where the anchor lies in each.

#include <QPainterPath>
#include <cmath>

#include "Recipes.h"
#include "Shapes.h"
#include "Smufl.h"

namespace {

// A glyph drawn with its own origin at (x, middle of the anchor row), shrunk
// just enough that nothing rises above the top row allowed.
void GlyphBelowTop(Canvas& c, char32_t cp, double x, double size, double top) {
  const SetMetrics& m = c.metrics();
  const double rise = -c.GlyphBounds(cp, size).top();
  if (rise > m.mid() - top - 0.3) {
    size *= (m.mid() - top - 0.3) / rise;
  }
  c.Glyph(cp, x, m.mid(), size);
}

double PlacedX(const SetMetrics& m, QPointF small, QPointF large) {
  return m.isLarge() ? large.x() : m.px(small.x());
}
double PlacedY(const SetMetrics& m, QPointF small, QPointF large) {
  return m.isLarge() ? large.y() : m.px(small.y());
}

// A glyph placed by a fixed offset, its origin on the anchor row at offset x.
Recipe PlacedGlyph(char32_t cp, double size, QPointF small, QPointF large, double dx = 0) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    GlyphBelowTop(c, cp, PlacedX(m, small, large) + dx * m.space, size, PlacedY(m, small, large));
    return Placed(c, small, large);
  };
}

Recipe Rest(char32_t cp, QPointF small) { return PlacedGlyph(cp, 1.0, small, LargeOf(small)); }

// Accidentals are drawn a little narrower than the font's, so that the key
// signature's 5 px (small) and 7 px (large) advance keeps them apart.
Recipe Accidental(char32_t cp, QPointF small) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QPointF large = LargeOf(small);
    const double size = 0.85;
    const QRectF b = c.GlyphBounds(cp, size);
    const double top = PlacedY(m, small, large);
    double sy = 1.0;
    if (m.mid() + b.top() < top + 0.3) {
      sy = (m.mid() - top - 0.3) / -b.top();
    }
    const double left = PlacedX(m, small, large);
    c.GlyphInBox(cp, QRectF(left, m.mid() + b.top() * sy, b.width() * 0.9, b.height() * sy));
    return Placed(c, small, large);
  };
}

// Bar symbols drawn from strokes: offsets of thin and thick strokes in pixels
// (the same for both screen sizes), over the height of a five-line staff.
Recipe BarStrokes(std::vector<int> strokes, QPointF small) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double height = 4 * m.space + m.line;
    const double left = m.isLarge() ? small.x() : m.px(small.x());
    for (int x : strokes) {
      c.Fill(QRectF(left + x * m.scale, 0, m.isLarge() ? 1.0 : m.scale, height));
    }
    return Placed(c, small, QPointF(small.x(), 0));
  };
}

// The dot pictures of the repeat bars: pairs of dots in the second and third
// staff spaces, at the given columns (pixels from the bitmap's left edge).
Recipe RepeatDots(std::vector<int> columns, int width, QPointF small, int smallHeight, int largeHeight) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double left = m.isLarge() ? small.x() : m.px(small.x());
    // Small: the drawer puts the bitmap's top 7 px below the top line, so the
    // spaces' middles are rows 2 and 8; large: 12 px below, rows 1 and 9.
    const double rows[2] = {m.isLarge() ? 1.5 : 2.5, m.isLarge() ? 9.5 : 8.5};
    const double d = m.isLarge() ? 3.0 : 3.0 * m.scale;
    for (int col : columns) {
      for (double row : rows) {
        const double x = left + (col + 1.5) * (m.isLarge() ? 1.0 : m.scale);
        const double y = row * (m.isLarge() ? 1.0 : m.scale);
        DrawDot(c, x, y, d);
      }
    }
    const int w = m.isLarge() ? width : m.px(width);
    const int h = m.isLarge() ? largeHeight : m.px(smallHeight);
    return Placed(c, small, QPointF(small.x(), 0), w, h);
  };
}

// A repeat sign (one bar, two bars) filling the drawer's extent, centred on a
// column of the bitmap.
Recipe RepeatSign(char32_t cp, double centre, double width, QPointF small, int smallExtent, int largeExtent) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double unit = m.isLarge() ? 1.0 : m.scale;
    const double left = (m.isLarge() ? small.x() : m.px(small.x())) + (centre - width / 2) * unit;
    const double extent = m.isLarge() ? largeExtent : smallExtent * m.scale;
    c.GlyphInBox(cp, QRectF(left, 0.5 * unit, width * unit, extent - unit));
    return Placed(c, small, QPointF(small.x(), 0), 0, static_cast<int>(extent));
  };
}

Recipe Tie(bool below, int columns) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QPointF small(10, below ? 5 : -9);
    const QPointF large = LargeOf(small);
    const double x = PlacedX(m, small, large);
    const double top = PlacedY(m, small, large);
    const double column = m.isLarge() ? 22 : 18 * m.scale;
    const double width = column * columns - (m.isLarge() ? 1 : m.scale);
    const double depth = std::max(2.5 * m.scale, width * 0.16);
    DrawTie(c, x + 0.5 * m.scale, below ? top + 0.5 : top + depth + 0.5, width - m.scale, below);
    return Placed(c, small, large);
  };
}

Recipe Dots(int count) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QPointF small(14, -3);
    const QPointF large = LargeOf(small);
    const double d = m.isLarge() ? 4.0 : 3.0 * m.scale;
    const double x = PlacedX(m, small, large);
    for (int i = 0; i < count; ++i) {
      DrawDot(c, x + d / 2 + i * d * 1.7, m.mid(), d);
    }
    return Placed(c, small, large);
  };
}

const std::vector<CodeRecipe>& CodeTable() {
  using namespace smufl;
  static const std::vector<CodeRecipe> table = {
      {13, "grace-note", PlacedGlyph(kGraceAcciaccaturaUp, 1.0, {7, -13}, {9, -17})},
      {14, "rest-whole", Rest(kRestWhole, {2, 0})},
      {15, "rest-half", Rest(kRestHalf, {2, -3})},
      {16, "rest-quarter", Rest(kRestQuarter, {5, -8})},
      {17, "rest-8th", Rest(kRest8th, {5, -8})},
      {18, "rest-16th", Rest(kRest16th, {4, -8})},
      {19, "rest-32nd", Rest(kRest32nd, {2, -8})},
      {20, "rest-64th", Rest(kRest64th, {0, -10})},
      {21, "bar-single", BarStrokes({0}, {8, 0})},
      {22, "bar-double", BarStrokes({0, 4}, {2, 0})},
      {23, "bar-final", BarStrokes({0, 3, 4, 5}, {2, 0})},
      {24, "repeat-start-dots", RepeatDots({6}, 10, {2, 0}, 11, 11)},
      {25, "repeat-end-dots", RepeatDots({0}, 4, {1, 0}, 11, 11)},
      {26, "repeat-bar", RepeatSign(kRepeat1Bar, 6, 11, {2, 0}, 13, 16)},
      {27, "natural", Accidental(kNatural, {-2, -7})},
      {28, "sharp", Accidental(kSharp, {-2, -8})},
      {29, "double-sharp", Accidental(kDoubleSharp, {-4, -4})},
      {30, "flat", Accidental(kFlat, {-2, -9})},
      {31, "double-flat", Accidental(kDoubleFlat, {-8, -9})},
      {32, "tie-below", Tie(true, 1)},
      {33, "tie-below-double", Tie(true, 2)},
      {34, "tie-above", Tie(false, 1)},
      {35, "tie-above-double", Tie(false, 2)},
      {36, "dot", Dots(1)},
      {37, "double-dot", Dots(2)},
      {38, "trill", CentredGlyph(kTrill)},
      {39, "trill-line", TrillWithLine()},
      {40, "vibrato", Wave(kVibratoStroke, 2)},
      {41, "vibrato-wide", Wave(kWideVibratoStroke, 2)},
      {42, "hammer-on", CentredText("H")},
      {43, "hammer-on-below", CentredText("H")},
      {44, "pull-off", CentredText("P")},
      {45, "pull-off-below", CentredText("P")},
      {46, "slide-up", SlideLine(-1.0, 1.0, 1.0, -1.0)},
      {47, "slide-down", SlideLine(-1.0, -1.0, 1.0, 1.0)},
      {48, "slide-out-up", SlideLine(0.9, 0.2, 2.4, -0.9)},
      {49, "slide-in-below", SlideLine(-2.6, 1.2, -1.0, 0.1)},
      {50, "slide-out-down", SlideLine(0.9, -0.2, 2.4, 0.9)},
      {51, "slide-in-above", SlideLine(-2.6, -1.2, -1.0, -0.1)},
      {52, "staccato", CentredGlyph(kStaccatoAbove, 1.2)},
      {53, "staccato-below", CentredGlyph(kStaccatoBelow, 1.2)},
      {54, "arpeggio", Arpeggio(false, false)},
      {55, "arpeggio-down", Arpeggio(true, false)},
      {56, "finger-p", CentredGlyph(kFingeringP)},
      {57, "finger-p-below", CentredGlyph(kFingeringP)},
      {58, "finger-i", CentredGlyph(kFingeringI)},
      {59, "finger-i-below", CentredGlyph(kFingeringI)},
      {60, "finger-m", CentredGlyph(kFingeringM)},
      {61, "finger-m-below", CentredGlyph(kFingeringM)},
      {62, "finger-a", CentredGlyph(kFingeringA)},
      {63, "finger-a-below", CentredGlyph(kFingeringA)},
      {64, "accent", CentredGlyph(kAccentAbove)},
      {65, "accent-below", CentredGlyph(kAccentBelow)},
      {66, "tenuto", CentredGlyph(kTenutoAbove)},
      {67, "tenuto-below", CentredGlyph(kTenutoBelow)},
      {68, "clef-change-treble", ClefChange(kGClef)},
      {69, "clef-change-bass", ClefChange(kFClef)},
      {70, "swing-start", CentredText("swing", 1.0)},
      {71, "swing-end", CentredText("even", 1.0)},
      {72, "strum-up", CentredGlyph(kStrumUp)},
      {73, "strum-down", CentredGlyph(kStrumDown)},
      {74, "bend", BendArrow(false, "")},
      {75, "bend-half", BendArrow(false, "1/2")},
      {76, "down-bow", CentredGlyph(kDownBow)},
      {77, "up-bow", CentredGlyph(kUpBow)},
      {78, "pre-bend", StraightArrow(true)},
      {79, "release", BendArrow(true, "")},
      {80, "paren-left", CentredGlyph(kNoteheadParenthesisLeft, 1.4)},
      {81, "paren-right", CentredGlyph(kNoteheadParenthesisRight, 1.4)},
      {82, "pedal-down", CentredGlyph(kPedalPed, 0.8)},
      {83, "pedal-up", CentredGlyph(kPedalUp, 0.8)},
      {84, "bend-full", BendArrow(false, "full")},
      {85, "tremolo-3", CentredGlyph(kTremolo1 + 2)},
      {86, "rake", CentredText("R")},
      {87, "fermata", CentredGlyph(kFermataAbove)},
      {88, "harmonic", CentredGlyph(kHarmonic)},
      {89, "coda", CentredGlyph(kCoda, 0.5)},
      {90, "segno", CentredGlyph(kSegno, 0.6)},
      {91, "stopped", CentredGlyph(kMuteClosed)},
      {92, "open", CentredGlyph(kMuteOpen)},
      {93, "turn", CentredGlyph(kTurn)},
      {94, "chord-repeat", CentredGlyph(kNoteheadSlashVerticalEnds)},
      {95, "breath-mark", CentredGlyph(kBreathMarkComma)},
      {96, "repeat-both-dots", RepeatDots({0, 14}, 18, {0, 0}, 11, 11)},
      {97, "repeat-two-bars", RepeatSign(kRepeat2Bars, 7, 13, {0, 0}, 18, 21)},
      {98, "time-common", TimeSignatureSymbol(kTimeSigCommon)},
      {99, "time-cut", TimeSignatureSymbol(kTimeSigCut)},
      {100, "tab-harmonic", CentredText("<>", 1.1)},
      {101, "dead-note", CentredGlyph(kNoteheadXBlack)},
      {102, "octave-up", CentredText("8va", 1.0)},
      {103, "octave-down", CentredText("8vb", 1.0)},
      {104, "unused-104", EmptyFrame(false)},
      {105, "unused-105", EmptyFrame(false)},
      {106, "unused-106", EmptyFrame(false)},
      {107, "empty-marker", EmptyFrame(true)},
      {108, "dynamic-p", CentredGlyph(kDynamicPiano)},
      {109, "dynamic-mf", CentredGlyphRow({kDynamicMezzo, kDynamicForte}, 1.0, -0.1)},
      {110, "dynamic-f", CentredGlyph(kDynamicForte)},
      {111, "dynamic-sfz", CentredGlyphRow({kDynamicSforzando, kDynamicForte, kDynamicZ}, 1.0, -0.1)},
  };
  return table;
}

}  // namespace

void AddNotationSymbols(Catalog& catalog) {
  const SetMetrics sets[] = {SetMetrics::Small(), SetMetrics::Large(), SetMetrics::Print()};
  for (const SetMetrics& m : sets) {
    const QString setName = m.name();
    // Note-head triples: filled head, hollow head, whole note for each style.
    const int tripleBase = m.set == SymbolSet::Small ? 2268 : m.set == SymbolSet::Large ? 2568 : 2868;
    for (int style = 0; style < kNoteStyles; ++style) {
      const HeadKind kinds[3] = {HeadKind::Filled, HeadKind::Hollow, HeadKind::Whole};
      const char* kindNames[3] = {"filled", "hollow", "whole"};
      for (int k = 0; k < 3; ++k) {
        AddSymbol(catalog, tripleBase + 3 * style + k,
                  QString("head-%1-%2").arg(NoteStyleName(style), kindNames[k]),
                  QString("note heads by style, %1").arg(setName), m, [&](Canvas& c) {
                    const bool whole = kinds[k] == HeadKind::Whole;
                    const QPointF small(whole ? 4 : 5, -3);
                    const QPointF large(whole ? 5 : m.headLeft, -4);
                    DrawHead(c, style, kinds[k], m.isLarge() ? large.x() : m.px(small.x()));
                    return Placed(c, small, large);
                  });
      }
    }
    // The six note-head forms of the styles other than normal and mini.
    const int formStyles[6] = {1, 2, 3, 5, 6, 7};
    const int formBase = m.set == SymbolSet::Small ? 2350 : m.set == SymbolSet::Large ? 2650 : 2950;
    for (int i = 0; i < 6; ++i) {
      AddSymbol(catalog, formBase + i, QString("head-form-%1").arg(NoteStyleName(formStyles[i])),
                QString("note-head forms, %1").arg(setName), m, [&](Canvas& c) {
                  DrawHead(c, formStyles[i], HeadKind::Filled, m.isLarge() ? m.headLeft : m.px(5));
                  return Placed(c, {5, -3}, {m.headLeft, -4});
                });
    }
    // Symbols by code: small ids 2110 + code, large 2298 + (code + 112), print 2710 + code.
    const int codeBase = m.set == SymbolSet::Small ? 2110 : m.set == SymbolSet::Large ? 2410 : 2710;
    for (const CodeRecipe& entry : CodeTable()) {
      AddSymbol(catalog, codeBase + entry.code, entry.name, QString("symbols by code, %1").arg(setName), m,
                entry.draw);
    }
  }
}
