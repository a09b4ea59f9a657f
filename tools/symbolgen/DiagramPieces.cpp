// The pieces from which chord diagrams and the keyboard picture are composed.
// Their sizes are fixed by the drawers; the print pieces are three times the
// screen pieces in each direction. All have their origin at the top-left.
//
// Diagram: the empty grid (8 strings by 7 fret rows, 6 px apart), the barre
// strips (pieces 6t - 1 wide for t = 2..8 strings, side by side), the four
// 5 x 5 marks (dot, muted string, second-kind dot, open string), the 25
// base-fret numbers and the 27 finger labels "0".."9" and the note names
// Ab A A# Bb B C C# Db D D# Eb E F F# Gb G G#, each 6 x 6.
// Keyboard: two octaves and a note of white keys (15 keys 6 px wide) with
// their black keys, a white band below for the labels, the dots that mark
// white and black keys, and three labels naming the C an octave above middle
// C, middle C, and the C an octave below.

#include <QPainterPath>
#include <cmath>

#include "Catalog.h"
#include "PixelFont.h"
#include "Shapes.h"

namespace {

const SetMetrics kScreen = SetMetrics::Small();
const SetMetrics kPrint{SymbolSet::Print, 18.0, 3.0, 15, 21, 24, 21, 3};

constexpr int kBarreStarts[7] = {0, 11, 28, 51, 80, 115, 156};

const QStringList& FingerLabels() {
  static const QStringList labels = {"0", "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                     "9", "Ab", "A",  "A#", "Bb", "B",  "C",  "C#", "Db",
                                     "D", "D#", "Eb", "E",  "F",  "F#", "Gb", "G",  "G#"};
  return labels;
}

// s = 1 on the screen, 3 for print; rectangles are given in screen pixels.
void Px(Canvas& c, int s, double x, double y, double w, double h) {
  c.Fill(QRectF(x * s, y * s, w * s, h * s));
}

Bitmap Grid(Canvas& c, int s) {
  for (int i = 0; i < 8; ++i) {
    Px(c, s, 6 * i, 0, 1, 43);
    Px(c, s, 0, 6 * i, 43, 1);
  }
  return c.Exact(QRect(0, 0, 43 * s, 43 * s));
}

Bitmap BarreStrip(Canvas& c, int s, bool arcs) {
  const int height = arcs ? 5 : 4;
  for (int t = 2; t <= 8; ++t) {
    const double x = kBarreStarts[t - 2];
    const double w = 6 * t - 1;
    if (arcs) {
      QPainterPath p;
      p.moveTo(x * s, 4.8 * s);
      p.cubicTo((x + w * 0.2) * s, 0.4 * s, (x + w * 0.8) * s, 0.4 * s, (x + w) * s, 4.8 * s);
      p.cubicTo((x + w * 0.8) * s, 2.0 * s, (x + w * 0.2) * s, 2.0 * s, x * s, 4.8 * s);
      c.Fill(p);
    } else {
      Px(c, s, x + 1, 0, w - 2, 4);
      Px(c, s, x, 1, w, 2);
    }
  }
  return c.Exact(QRect(0, 0, 203 * s, height * s));
}

// Marks in 5 x 5 cells: 0 dot, 1 muted string, 2 second-kind dot, 3 open string.
void Mark(Canvas& c, int s, int kind, double x0) {
  if (s == 1) {
    static const char* const kPatterns[4][5] = {
        {".###.", "#####", "#####", "#####", ".###."},
        {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"},
        {"..#..", ".###.", "#####", ".###.", "..#.."},
        {".###.", "#...#", "#...#", "#...#", ".###."},
    };
    for (int r = 0; r < 5; ++r) {
      for (int col = 0; col < 5; ++col) {
        if (kPatterns[kind][r][col] == '#') {
          Px(c, 1, x0 + col, r, 1, 1);
        }
      }
    }
    return;
  }
  const QPointF centre((x0 + 2.5) * s, 2.5 * s);
  QPainterPath p;
  switch (kind) {
    case 0:
      p.addEllipse(centre, 2.4 * s, 2.4 * s);
      c.Fill(p);
      break;
    case 1:
      c.Line(centre.x() - 2 * s, 0.5 * s, centre.x() + 2 * s, 4.5 * s, 1.1 * s);
      c.Line(centre.x() - 2 * s, 4.5 * s, centre.x() + 2 * s, 0.5 * s, 1.1 * s);
      break;
    case 2:
      p.moveTo(centre.x(), 0);
      p.lineTo(centre.x() + 2.5 * s, 2.5 * s);
      p.lineTo(centre.x(), 5 * s);
      p.lineTo(centre.x() - 2.5 * s, 2.5 * s);
      p.closeSubpath();
      c.Fill(p);
      break;
    default:
      p.addEllipse(centre, 2.0 * s, 2.0 * s);
      c.Stroke(p, 0.9 * s);
      break;
  }
}

Bitmap Marks(Canvas& c, int s) {
  for (int kind = 0; kind < 4; ++kind) {
    Mark(c, s, kind, 5 * kind);
  }
  return c.Exact(QRect(0, 0, 20 * s, 5 * s));
}

// A strip of 6 x 6 cells holding labels: the pixel font on the screen, the
// outline font in print.
Bitmap LabelStrip(Canvas& c, int s, const QStringList& labels) {
  for (int i = 0; i < labels.size(); ++i) {
    if (s == 1) {
      const QString text = labels[i];
      DrawPixelText(c, text, 6 * i + (6 - PixelTextWidth(text)) / 2, 0, 1);
    } else {
      const QString text = labels[i];
      const double cap = 13.0;
      double size = cap / 0.72;
      const double width = c.TextWidth(text, size);
      c.painter().save();
      if (width > 17) {
        c.painter().translate(18.0 * i + 0.5, 0);
        c.painter().scale(17.0 / width, 1.0);
        c.Text(text, size, 0, 14.5);
      } else {
        c.Text(text, size, 18.0 * i + 9.0, 14.5, 0);
      }
      c.painter().restore();
    }
  }
  return c.Exact(QRect(0, 0, static_cast<int>(labels.size()) * 6 * s, 6 * s));
}

// The keyboard: 15 white keys 6 px wide over rows 0..26, black keys 5 px wide
// over rows 0..16 centred on the borders after C, D, F, G and A, and a white
// band (rows 27..35) for the labels.
Bitmap Keyboard(Canvas& c, int s) {
  Px(c, s, 0, 0, 91, 1);
  Px(c, s, 0, 26, 91, 1);
  for (int k = 0; k <= 15; ++k) {
    Px(c, s, 6 * k, 0, 1, 27);
  }
  for (int octave = 0; octave < 2; ++octave) {
    for (int border : {6, 12, 24, 30, 36}) {
      Px(c, s, 42 * octave + border - 2, 0, 5, 17);
    }
  }
  return c.Exact(QRect(0, 0, 91 * s, 36 * s));
}

// The 5 x 5 key dots: for a white key a black dot on white; for a black key a
// white dot on black (the dot is copied over the key).
Bitmap KeyDot(Canvas& c, int s, bool blackKey) {
  QPainterPath dot;
  dot.addEllipse(QPointF(2.5 * s, 2.5 * s), 2.2 * s, 2.2 * s);
  if (blackKey) {
    Px(c, s, 0, 0, 5, 5);
    c.painter().setBrush(Qt::white);
    c.painter().drawPath(dot);
    c.painter().setBrush(Qt::black);
  } else {
    c.Fill(dot);
  }
  return c.Exact(QRect(0, 0, 5 * s, 5 * s));
}

// The colour dots for colour devices: red on white, red on black.
Bitmap KeyDotColour(Canvas& c, int s, bool blackKey) {
  if (blackKey) {
    Px(c, s, 0, 0, 5, 5);
  }
  QPainterPath dot;
  dot.addEllipse(QPointF(2.5 * s, 2.5 * s), 2.2 * s, 2.2 * s);
  c.painter().setRenderHint(QPainter::Antialiasing, false);
  c.painter().setBrush(QColor(204, 0, 0));
  c.painter().drawPath(dot);
  return c.ExactColour(QRect(0, 0, 5 * s, 5 * s));
}

// Three 9 x 10 labels: the C an octave above middle C, middle C, an octave below.
Bitmap KeyLabels(Canvas& c, int s) {
  const char* const texts[3] = {"C5", "C4", "C3"};
  for (int i = 0; i < 3; ++i) {
    if (s == 1) {
      DrawPixelText(c, texts[i], 9 * i + 1, 3, 1);
    } else {
      c.Text(texts[i], 16.0 / 0.72, 27.0 * i + 13.5, 24.0, 0);
    }
  }
  // A tick over the label points at the key it names.
  for (int i = 0; i < 3; ++i) {
    Px(c, s, 9 * i + 4, 0, 1, 2);
  }
  return c.Exact(QRect(0, 0, 27 * s, 10 * s));
}

QStringList BaseFretNumbers(bool pixel) {
  QStringList numbers;
  for (int n = 0; n < 25; ++n) {
    numbers << (pixel ? PixelNumber(n) : QString::number(n));
  }
  return numbers;
}

}  // namespace

void AddDiagramPieces(Catalog& catalog) {
  const QString diagram = "chord-diagram pieces (screen, print = 3 x)";
  const QString keyboard = "keyboard-picture pieces (screen, print = 3 x)";
  for (int s : {1, 3}) {
    const SetMetrics& m = s == 1 ? kScreen : kPrint;
    const bool p = s == 3;
    AddSymbol(catalog, p ? 5204 : 5203, "diagram-grid", diagram, m, [s](Canvas& c) { return Grid(c, s); });
    AddSymbol(catalog, p ? 3851 : 3850, "diagram-barres", diagram, m,
              [s](Canvas& c) { return BarreStrip(c, s, false); });
    AddSymbol(catalog, p ? 3853 : 3852, "diagram-barre-arcs", diagram, m,
              [s](Canvas& c) { return BarreStrip(c, s, true); });
    AddSymbol(catalog, p ? 3855 : 3854, "diagram-marks", diagram, m, [s](Canvas& c) { return Marks(c, s); });
    AddSymbol(catalog, p ? 3857 : 3856, "diagram-base-frets", diagram, m,
              [s](Canvas& c) { return LabelStrip(c, s, BaseFretNumbers(s == 1)); });
    AddSymbol(catalog, p ? 3859 : 3858, "diagram-finger-labels", diagram, m,
              [s](Canvas& c) { return LabelStrip(c, s, FingerLabels()); });
    AddSymbol(catalog, p ? 5114 : 5107, "keyboard", keyboard, m, [s](Canvas& c) { return Keyboard(c, s); });
    AddSymbol(catalog, p ? 5116 : 5109, "keyboard-labels", keyboard, m,
              [s](Canvas& c) { return KeyLabels(c, s); });
    AddSymbol(catalog, p ? 5115 : 5108, "keyboard-dot-white-key", keyboard, m,
              [s](Canvas& c) { return KeyDot(c, s, false); });
    AddSymbol(catalog, p ? 5117 : 5113, "keyboard-dot-black-key", keyboard, m,
              [s](Canvas& c) { return KeyDot(c, s, true); });
  }
  AddSymbol(catalog, 5620, "keyboard-dot-white-key-colour", keyboard, kPrint,
            [](Canvas& c) { return KeyDotColour(c, 3, false); });
  AddSymbol(catalog, 5621, "keyboard-dot-black-key-colour", keyboard, kPrint,
            [](Canvas& c) { return KeyDotColour(c, 3, true); });
}
