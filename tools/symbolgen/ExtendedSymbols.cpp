// Family 0 codes 10000..10111 (the alternate symbol page; large forms
// 10112..10223): stemless and ghost notes, grace notes, turns, mordents,
// metronome marks, drum and guitar marks. Note-like symbols keep the note
// head where the normal notes have it; all are cut tightly with their origin
// (the column x and the step's y) recorded in index.txt.

#include <QPainterPath>
#include <cmath>

#include "Recipes.h"
#include "Shapes.h"
#include "Smufl.h"

namespace {

// A note head without stem, optionally in round brackets (a ghost note).
Recipe Stemless(int style, HeadKind kind, bool brackets) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    DrawHead(c, style, kind, m.headLeft);
    if (brackets) {
      const double w = HeadWidth(m, kind);
      GlyphCentred(c, smufl::kNoteheadParenthesisLeft, m.headLeft - 0.35 * m.space, m.mid());
      GlyphCentred(c, smufl::kNoteheadParenthesisRight, m.headLeft + w + 0.35 * m.space, m.mid());
    }
    return c.Tight();
  };
}

Recipe Breve() {
  return [](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QRectF b = c.GlyphBounds(smufl::kNoteheadDoubleWhole);
    c.Glyph(smufl::kNoteheadDoubleWhole, m.headLeft - 0.2 * m.space - b.left(), m.mid());
    return c.Tight();
  };
}

// Grace notes standing before the main note: count small notes with stems up
// or down, a flag (one note) or beams (several), optionally slashed, and an
// optional slide line from the last grace note towards the main note.
Recipe GraceGroup(int count, bool up, bool slash, int beams, int slide = 0) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double s = m.space;
    const double headW = 0.75 * m.headWidth, headH = 0.7 * m.headHeight;
    const double gap = 1.35 * headW;
    const double stem = 2.2 * s;
    const double lastLeft = m.headLeft - 0.5 * s - headW;
    const double dir = up ? -1.0 : 1.0;
    std::vector<double> stemX;
    for (int i = 0; i < count; ++i) {
      const double left = lastLeft - (count - 1 - i) * gap;
      c.GlyphInBox(smufl::kNoteheadBlack, QRectF(left, m.mid() - headH / 2, headW, headH));
      const double x = up ? left + headW - m.line : left;
      c.Fill(QRectF(x, up ? m.mid() - stem : m.mid(), m.line, stem));
      stemX.push_back(x);
    }
    const double end = m.mid() + dir * stem;
    if (count == 1) {
      c.Glyph(up ? smufl::kFlag8thUp : smufl::kFlag8thDown, stemX[0], end, 0.55);
    } else {
      for (int b = 0; b < beams; ++b) {
        const double y = end - dir * b * 0.45 * s;
        c.Fill(QRectF(stemX.front(), up ? y : y - 0.3 * s, stemX.back() - stemX.front() + m.line, 0.3 * s));
      }
    }
    if (slash) {
      const double mx = (stemX.front() + stemX.back()) / 2;
      c.Line(mx - 0.7 * s, end - dir * 0.2 * s, mx + 0.9 * s, end - dir * 1.5 * s, 0.7 * m.scale);
    }
    if (slide != 0) {
      const double x0 = lastLeft + headW + 0.2 * s;
      c.Line(x0, m.mid() - slide * 0.9 * s, m.headLeft - 0.15 * s, m.mid() + slide * 0.3 * s, 0.8 * m.scale);
    }
    return c.Tight();
  };
}

// A glyph centred on the head with a small accidental centred above it.
Recipe GlyphWithAccidental(char32_t glyph, char32_t accidental) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double x = HeadCentre(m);
    const QRectF b = c.GlyphBounds(glyph);
    GlyphCentred(c, glyph, x, m.mid());
    const QRectF a = c.GlyphBounds(accidental, 0.5);
    GlyphCentred(c, accidental, x, m.mid() - b.height() / 2 - a.height() / 2 - 0.15 * m.space, 0.5);
    return c.Tight();
  };
}

// An accidental in round brackets, ending left of the note head.
Recipe BracketedAccidental(char32_t glyph) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double size = 0.8;
    const QRectF r = c.GlyphBounds(smufl::kAccidentalParensRight, size);
    const QRectF g = c.GlyphBounds(glyph, size);
    const QRectF l = c.GlyphBounds(smufl::kAccidentalParensLeft, size);
    double x = m.headLeft - 0.2 * m.space - r.width();
    c.Glyph(smufl::kAccidentalParensRight, x - r.left(), m.mid(), size);
    x -= g.width() + 0.05 * m.space;
    c.Glyph(glyph, x - g.left(), m.mid(), size);
    x -= l.width() + 0.05 * m.space;
    c.Glyph(smufl::kAccidentalParensLeft, x - l.left(), m.mid(), size);
    return c.Tight();
  };
}

// A metronome mark: the note value and "=", the number is text beside it.
Recipe Metronome(char32_t note) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const QRectF b = c.GlyphBounds(note, 0.9);
    c.Glyph(note, -b.left(), m.mid() + 0.3 * m.space, 0.9);
    TextCentred(c, "=", 0.9 * m.space, b.width() + 0.9 * m.space, m.mid() - 0.3 * m.space);
    return c.Tight();
  };
}

// A bar line of a five-line staff: kind 0 dashed, kind 1 thick-thin. The
// origin is the top line at the bar symbol's x, as for the other bars.
Recipe StaffBar(bool dashed) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double unit = m.isLarge() ? 1.0 : m.scale;
    const double height = 4 * m.space + m.line;
    if (dashed) {
      for (double y = 0; y < height; y += 1.5 * m.space) {
        c.Fill(QRectF(8 * unit, y, unit, 0.9 * m.space));
      }
    } else {
      c.Fill(QRectF(6 * unit, 0, 3 * unit, height));
      c.Fill(QRectF(11 * unit, 0, unit, height));
    }
    return c.FromTopLeft(0, 0);
  };
}

// A slur-like arc over the head's width with a letter above (hammer-on, pull-off).
Recipe ArcWithLetter(const QString& letter) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double x = HeadCentre(m);
    DrawTie(c, x - 1.2 * m.space, m.mid(), 2.4 * m.space, false);
    TextCentred(c, letter, 0.9 * m.space, x, m.mid() - 1.4 * m.space);
    return c.Tight();
  };
}

// A short falling curve to the right of the head (a fall-off).
Recipe Fall() {
  return [](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double x = m.headLeft + m.headWidth + 0.2 * m.space;
    QPainterPath p;
    p.moveTo(x, m.mid());
    p.quadTo(x + 1.4 * m.space, m.mid(), x + 1.8 * m.space, m.mid() + 1.4 * m.space);
    c.Stroke(p, 1.0 * m.scale);
    return c.Tight();
  };
}

// A square bracket beside the head, one and a half spaces high.
Recipe SquareBracket(bool left) {
  return [=](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double x = left ? m.headLeft - 0.6 * m.space : m.headLeft + m.headWidth + 0.3 * m.space;
    const double h = 1.6 * m.space;
    const double t = std::max(m.line, 0.15 * m.space);
    c.Fill(QRectF(x, m.mid() - h / 2, t, h));
    c.Fill(QRectF(left ? x : x - 0.3 * m.space + t, m.mid() - h / 2, 0.3 * m.space, t));
    c.Fill(QRectF(left ? x : x - 0.3 * m.space + t, m.mid() + h / 2 - t, 0.3 * m.space, t));
    return c.Tight();
  };
}

// The end of a pedal line: a horizontal stroke turning up.
Recipe PedalLineEnd() {
  return [](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double t = std::max(m.line, 0.15 * m.space);
    const double x = HeadCentre(m);
    c.Fill(QRectF(x - 1.5 * m.space, m.mid() + 0.5 * m.space - t, 1.5 * m.space + t, t));
    c.Fill(QRectF(x, m.mid() - 0.5 * m.space, t, m.space));
    return c.Tight();
  };
}

Recipe TripleDot() {
  return [](Canvas& c) {
    const SetMetrics& m = c.metrics();
    const double d = m.isLarge() ? 4.0 : 3.0 * m.scale;
    const double x = m.isLarge() ? 17 : m.px(14);
    for (int i = 0; i < 3; ++i) {
      DrawDot(c, x + d / 2 + i * d * 1.7, m.mid(), d);
    }
    return c.Tight();
  };
}

const std::vector<CodeRecipe>& ExtendedTable() {
  using namespace smufl;
  static const std::vector<CodeRecipe> table = {
      {0, "ghost-half", Stemless(0, HeadKind::Hollow, true)},
      {1, "cue-head", Stemless(4, HeadKind::Filled, false)},
      {2, "ghost-quarter", Stemless(0, HeadKind::Filled, true)},
      {3, "grace-slide-from-above", GraceGroup(1, true, false, 0, 1)},
      {4, "grace-acciaccatura", GraceGroup(1, true, true, 0)},
      {5, "grace-appoggiatura", GraceGroup(1, true, false, 0)},
      {6, "grace-pair", GraceGroup(2, true, false, 2)},
      {7, "grace-slide-from-below", GraceGroup(1, true, false, 0, -1)},
      {8, "stemless-filled", Stemless(0, HeadKind::Filled, false)},
      {9, "stemless-filled-2", Stemless(0, HeadKind::Filled, false)},
      {10, "stemless-hollow", Stemless(0, HeadKind::Hollow, false)},
      {11, "stemless-hollow-2", Stemless(0, HeadKind::Hollow, false)},
      {12, "breve", Breve()},
      {13, "grace-acciaccatura-down", GraceGroup(1, false, true, 0)},
      {14, "multi-bar-rest", CentredGlyph(kRestHBar, 0.8)},
      {15, "vibrato-extra-wide", Wave(kWideVibratoStroke, 3)},
      {16, "turn-slashed", CentredGlyph(kTurnSlash)},
      {17, "caesura", CentredGlyph(kCaesura, 0.8)},
      {18, "turn-inverted", CentredGlyph(kTurnInverted)},
      {19, "turn-sharp", GlyphWithAccidental(kTurn, kSharp)},
      {20, "turn-flat", GlyphWithAccidental(kTurn, kFlat)},
      {21, "unused-10021", EmptyFrame(false)},
      {22, "bar-dashed", StaffBar(true)},
      {23, "bar-thick-thin", StaffBar(false)},
      {24, "hi-hat-open", CentredGlyph(kMuteOpen)},
      {25, "hi-hat-closed", CentredGlyph(kMuteClosed)},
      {26, "repeat-four-bars", CentredGlyph(kRepeat4Bars, 0.8)},
      {27, "natural-bracketed", BracketedAccidental(kNatural)},
      {28, "sharp-bracketed", BracketedAccidental(kSharp)},
      {29, "stemless-x", Stemless(2, HeadKind::Filled, false)},
      {30, "flat-bracketed", BracketedAccidental(kFlat)},
      {31, "stemless-circle-x", Stemless(7, HeadKind::Filled, false)},
      {32, "metronome-8th", Metronome(kMetNote8thUp)},
      {33, "metronome-16th", Metronome(kMetNote16thUp)},
      {34, "metronome-quarter", Metronome(kMetNoteQuarterUp)},
      {35, "metronome-half", Metronome(kMetNoteHalfUp)},
      {36, "triple-dot", TripleDot()},
      {37, "unused-10037", EmptyFrame(false)},
      {38, "trill-extension", Wave(kWiggleTrill, 4)},
      {39, "unused-10039", EmptyFrame(false)},
      {40, "mordent-upper", CentredGlyph(kShortTrill)},
      {41, "mordent-lower", CentredGlyph(kMordent)},
      {42, "hammer-on-arc", ArcWithLetter("H")},
      {43, "hammer-on-arc-2", ArcWithLetter("H")},
      {44, "pull-off-arc", ArcWithLetter("P")},
      {45, "pull-off-arc-2", ArcWithLetter("P")},
      {46, "slide-arc", ArcWithLetter("sl.")},
      {47, "slide-arc-2", ArcWithLetter("sl.")},
      {48, "tremolo-1", CentredGlyph(kTremolo1)},
      {49, "scoop", CentredGlyph(kVibratoBarScoop, 0.6)},
      {50, "tremolo-2", CentredGlyph(kTremolo1 + 1)},
      {51, "fall", Fall()},
      {52, "staccatissimo", CentredGlyph(kStaccatissimoAbove)},
      {53, "unused-10053", EmptyFrame(false)},
      {54, "arpeggio-up", Arpeggio(true, true)},
      {55, "arpeggio-down", Arpeggio(true, false)},
      {56, "finger-1", CentredGlyph(kFingering0 + 1)},
      {57, "finger-1-below", CentredGlyph(kFingering0 + 1)},
      {58, "finger-2", CentredGlyph(kFingering0 + 2)},
      {59, "finger-2-below", CentredGlyph(kFingering0 + 2)},
      {60, "finger-3", CentredGlyph(kFingering0 + 3)},
      {61, "finger-3-below", CentredGlyph(kFingering0 + 3)},
      {62, "finger-4", CentredGlyph(kFingering0 + 4)},
      {63, "finger-4-below", CentredGlyph(kFingering0 + 4)},
      {64, "marcato", CentredGlyph(kMarcatoAbove)},
      {65, "marcato-below", CentredGlyph(kMarcatoBelow)},
      {66, "choke", CentredGlyph(kBreathMarkTick)},
      {67, "choke-below", CentredGlyph(kBreathMarkTick)},
      {68, "clef-change-treble-8va", ClefChange(kGClef8va)},
      {69, "clef-change-drums", ClefChange(kPercussionClef1)},
      {70, "grace-flam", GraceGroup(1, true, true, 0)},
      {71, "grace-drag", GraceGroup(2, true, false, 2)},
      {72, "let-ring", CentredText("l.r.", 1.0)},
      {73, "ring-mark", CentredGlyph(kHarmonic)},
      {74, "vibrato-bar-dip", CentredGlyph(kVibratoBarDip, 0.6)},
      {75, "vibrato-bar-scoop", CentredGlyph(kVibratoBarScoop, 0.6)},
      {76, "grace-ruff", GraceGroup(3, true, false, 2)},
      {77, "grace-pair-down", GraceGroup(2, false, false, 2)},
      {78, "pre-bend-down", StraightArrow(false)},
      {79, "bend-release-half", BendArrow(true, "1/2")},
      {80, "bracket-left", SquareBracket(true)},
      {81, "bracket-right", SquareBracket(false)},
      {82, "hi-hat-foot", CentredText("HH", 1.0)},
      {83, "pedal-line-end", PedalLineEnd()},
      {84, "vibrato-bar", CentredText("w/bar", 0.9)},
      {85, "tremolo-4", CentredGlyph(kTremolo1 + 3)},
      {86, "rake-text", CentredText("rake", 0.9)},
      {87, "fermata-below", CentredGlyph(kFermataBelow)},
      {88, "artificial-harmonic", CentredText("A.H.", 0.9)},
      {89, "grace-down", GraceGroup(1, false, false, 0)},
      {90, "grace-pair-slashed", GraceGroup(2, false, true, 2)},
      {91, "bend-quarter", BendArrow(false, "1/4")},
      {92, "release-quarter", BendArrow(true, "1/4")},
      {93, "turn-inverted-2", CentredGlyph(kTurnInverted)},
      {94, "simile", CentredGlyph(kRepeat1Bar, 0.6)},
      {95, "breath-tick", CentredGlyph(kBreathMarkTick)},
  };
  return table;
}

}  // namespace

void AddExtendedSymbols(Catalog& catalog) {
  for (const SetMetrics& m : {SetMetrics::Small(), SetMetrics::Large(), SetMetrics::Print()}) {
    // Small ids 4110 + c, large 4410 + c (codes 10112 + c), print 4710 + c.
    const int base = m.set == SymbolSet::Small ? 4110 : m.set == SymbolSet::Large ? 4410 : 4710;
    const QString group = QString("alternate symbols 10000.., %1").arg(m.name());
    int next = 0;
    for (const CodeRecipe& entry : ExtendedTable()) {
      AddSymbol(catalog, base + entry.code, entry.name, group, m, entry.draw);
      next = entry.code + 1;
    }
    for (int code = next; code < 112; ++code) {
      AddSymbol(catalog, base + code, QString("unused-%1").arg(10000 + code), group, m, EmptyFrame(false));
    }
  }
}
