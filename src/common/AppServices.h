#pragma once
// Program-wide values that the application, the score document and the
// preferences own and that the shared code, the score objects and the lines
// read. They stand here with their start values until the application exists;
// the document's load and the preferences' reader then set them.

#include <cstdint>

// The file version written by this program, and set when a new score is made.
inline constexpr std::int32_t kCurrentFileVersion = 3940;

// The version of the score file being read, for the whole load; objects test
// it for older layouts.
extern std::int32_t g_fileVersion;
// Set when a loaded attachment or rhythm-line font carries a text colour.
extern int g_coloredText;
// Set by a line group's load when it holds a line type outside 0..16; the
// document repairs the groups after the load and clears it.
extern int g_lineGroupRepair;

// Print corrections from the preferences "PrintCorr" and "PrintCorr2".
extern int g_printCorrX;        // symbol bitmaps, horizontal percent
extern int g_printCorrY;        // symbol bitmaps, vertical percent
extern int g_lineWidthSetting;  // line thickness, 1 = one pixel
extern int g_textPrintCorr;     // text of text lines, percent (at least 10)
// Show the finger-label row of chord diagrams (0 off).
extern int g_fingerRowOption;

// Restores the start values above.
void ResetAppServices();
