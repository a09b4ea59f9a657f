#pragma once
// A hand-set 3 x 5 pixel font for the chord-diagram and keyboard labels,
// where a cell is only 6 pixels square and an outline font would blur.

#include <QString>

#include "Canvas.h"

// Width in pixels of the text in the pixel font (glyphs plus 1 px gaps, but
// no gap before a narrow glyph that follows a digit of a two-digit number).
int PixelTextWidth(const QString& text);
// Draws the text with its top-left corner at (x, y); each font pixel is a
// square of `pixel` canvas pixels.
void DrawPixelText(Canvas& c, const QString& text, int x, int y, int pixel);
// Two-digit numbers use a narrow tens digit so that they fit six pixels.
QString PixelNumber(int n);
