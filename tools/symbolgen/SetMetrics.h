#pragma once
// The three symbol sets and the measures every drawing takes from them.
//
// Glyphs are designed against the small screen set (staff space 6 px, staff step
// 3 px, column 18 px). The large set has an 8 px staff space; the print set is
// drawn for 300 dpi while the layout is in 96 dpi screen pixels, so one small
// layout pixel is 300 / 96 = 3.125 print pixels there.

#include <cmath>

enum class SymbolSet { Small, Large, Print };

struct SetMetrics {
  SymbolSet set;
  double space;       // staff space in pixels
  double scale;       // pixels per small-set layout pixel
  double headLeft;    // left edge of a note head from the column x
  double stemOffset;  // from the head's left edge to the up-stem column
  double headWidth;   // width of a normal note head (its right edge is the up-stem)
  double headHeight;  // height of a normal note head
  double line;        // width of a thin stroke (bar line, stem, ledger)

  // A small-set distance in this set's pixels, rounded to whole pixels.
  int px(double smallPixels) const { return static_cast<int>(std::lround(smallPixels * scale)); }
  // The vertical middle of the layout row at the anchor (a staff line or step).
  double mid() const { return 0.5 * scale; }
  bool isLarge() const { return set == SymbolSet::Large; }
  bool isPrint() const { return set == SymbolSet::Print; }
  const char* name() const {
    return set == SymbolSet::Small ? "small" : set == SymbolSet::Large ? "large" : "print";
  }

  static SetMetrics Small() { return {SymbolSet::Small, 6.0, 1.0, 5.0, 7.0, 8.0, 7.0, 1.0}; }
  static SetMetrics Large() { return {SymbolSet::Large, 8.0, 8.0 / 6.0, 6.0, 10.0, 11.0, 9.0, 1.0}; }
  static SetMetrics Print() { return {SymbolSet::Print, 18.75, 3.125, 15.625, 21.875, 25.0, 21.875, 3.0}; }
};
