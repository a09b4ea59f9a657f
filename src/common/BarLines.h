#pragma once
// The bar-line symbols of staff and tablature lines: plain, double and final
// bars and the repeat signs, built from vertical strokes and, for the repeat
// signs, a bitmap of repeat dots (symbol codes 24, 25, 26, 96 and 97 of the
// symbol cache). Drawn through the scaled primitives, so the same calls serve
// the screen, printers and device-resolution export.
//
// Bar codes (reduced first by the size offset: 112 for the large size):
//   21 single, 22 double, 23 final, 24 repeat start, 25 repeat end,
//   26 one-bar repeat sign, 96 repeat both ways, 97 two-bar repeat sign,
//   10023 the flagged form of the final bar. Any other code draws nothing.
//
// On the screen the strokes use the pen the caller selected. On the device
// path each stroke gets a pen of its own: thick where strokes stand side by
// side (one pixel apart in layout), thin otherwise, sized by the print size
// and the device's resolution.

#include "platform/CDC.h"

// The bar of a staff line whose top line is at topY: the strokes run over
// `height`, starting one line spacing lower on staves of fewer than 6 lines.
void DrawStaffBarLine(CDC* dc, int code, int topY, int x, int lineCount, int size, int lineSpacing,
                      int height);
// How far right of the x it is drawn at a bar that can close a line reaches
// (its rightmost stroke, the stroke included): the single, double and final
// bars and the end repeats (codes 21, 22, 23, 25, 96, 10023, reduced by the
// size offset as above). -1 for the other codes.
int ClosingBarRightEdge(int code, int size);
// The bar of a tablature line: strokes from topY over `height`; repeat dots
// centred on a five-line staff of the size.
void DrawTabBarLine(CDC* dc, int code, int topY, int x, int size, int height);
