#pragma once
// Checks the SMuFL code points of Smufl.h against the font's metadata file.

#include <QString>

// Compares the outline box of every named glyph with the box that the font's
// metadata gives for that name; prints each mismatch. Returns the number of
// glyphs that do not match (0 when all do).
int CheckGlyphs(const QString& metadataPath);
