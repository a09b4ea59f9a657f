#pragma once
// Small recipe builders used by the symbol tables: a glyph or a text centred on
// the note head, cut out tightly with its origin recorded.

#include <QString>
#include <vector>

#include "Catalog.h"

// One drawn symbol of a table: the code it stands for, its name and recipe.
struct CodeRecipe {
  int code;
  const char* name;
  Recipe draw;
};

// A SMuFL glyph centred on the note head's middle (dy staff spaces lower).
Recipe CentredGlyph(char32_t codePoint, double size = 1.0, double dy = 0.0);
// Several glyphs side by side, centred together on the note head's middle.
Recipe CentredGlyphRow(std::vector<char32_t> codePoints, double size = 1.0, double gap = 0.1);
// Sans-serif text with a cap height in staff spaces, centred on the head.
Recipe CentredText(const QString& text, double capHeight = 1.3);
// An empty frame: codes for which the program defines no picture.
Recipe EmptyFrame(bool dotted);
// A line from (x1, y1) to (x2, y2), in staff spaces from the head's middle.
Recipe SlideLine(double x1, double y1, double x2, double y2);
// A curved bend arrow (or a release, curving down), with an optional label.
Recipe BendArrow(bool release, const QString& label);
// A straight arrow through the head's middle.
Recipe StraightArrow(bool up);
// The arpeggio's wavy line, three staff spaces high, with an optional arrow.
Recipe Arpeggio(bool arrow, bool up);
// A clef at three quarters of its size, its own line on the anchor row.
Recipe ClefChange(char32_t codePoint);
// A trill sign followed by its wavy line.
Recipe TrillWithLine();
// A wavy line of repeated strokes of the glyph.
Recipe Wave(char32_t codePoint, int repeats);
// Common or cut time: the glyph's own origin (its middle) on the anchor row.
Recipe TimeSignatureSymbol(char32_t codePoint);
