#pragma once
// Drawing pieces shared by several families: note heads of the eight note
// styles, accidentals, ties, dots, bar strokes and placement helpers.

#include <QPointF>
#include <QString>

#include "Canvas.h"
#include "SetMetrics.h"

enum class HeadKind { Filled, Hollow, Whole };

// Note styles: 0 normal, 1 strum (slash), 2 muted (x), 3 harmonic (diamond),
// 4 mini, 5 square, 6 triangle, 7 circled x.
constexpr int kNoteStyles = 8;
QString NoteStyleName(int style);

// The Bravura glyph of a head of the style and kind.
char32_t HeadGlyph(int style, HeadKind kind);

// Width of a head of the kind in the canvas's set.
double HeadWidth(const SetMetrics& m, HeadKind kind);
// A note head of the style with its left edge at x, centred on the anchor row.
void DrawHead(Canvas& c, int style, HeadKind kind, double left);

// The horizontal middle of a normal note head, from the column x.
double HeadCentre(const SetMetrics& m);

// A glyph whose outline is centred on (x, y); size in staff spaces.
void GlyphCentred(Canvas& c, char32_t codePoint, double x, double y, double size = 1.0);
// Text whose cap height is capHeight pixels, centred on (x, y).
void TextCentred(Canvas& c, const QString& text, double capHeight, double x, double y);

// Cuts a family-0 symbol out with its top-left corner at the placement offset
// from the column x and the step's y: the small-set offset, or for the large
// set its own, and for the print set the small one scaled.
Bitmap Placed(Canvas& c, QPointF small, QPointF large, int minWidth = 0, int minHeight = 0);
// The large-set placement that goes with a small-set one when none is given.
QPointF LargeOf(QPointF small);

// A tie: a crescent arc of the given width starting at x, its ends on row y;
// bulging downwards (below the notes) or upwards.
void DrawTie(Canvas& c, double x, double y, double width, bool below);
// A round dot of diameter d centred on (x, y).
void DrawDot(Canvas& c, double x, double y, double d);
