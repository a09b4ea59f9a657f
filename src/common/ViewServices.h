#pragma once
// Program-wide values that the score view sets and the lines read while they
// draw, measure and edit. They stand here with their start values until the
// view exists; the view then sets them as it draws, prints and exports.

class CDC;
struct CPrintInfo;

// Logical resolution of the layout (dots per inch) and the resolution of the
// output times the print-size percent / 100. Positions are computed in screen
// units and mapped by device / screen when printing or while g_deviceRender is set.
extern int g_screenResX;
extern int g_screenResY;
extern int g_deviceResX;
extern int g_deviceResY;
// The printer's horizontal resolution before the print-size percent.
extern int g_deviceDpiX;
// Print size in percent of the current print job or image export.
extern int g_printSizePct;
// Set while the view renders at device resolution (high-resolution export).
extern int g_deviceRender;
// The device context with which text is measured as on the screen, while the
// view draws; null otherwise.
extern CDC* g_layoutDC;
// The print job while printing; null otherwise.
extern CPrintInfo* g_printInfo;
// The view's drawing mode value (3 colours fret numbers).
extern int g_colourMode;
// Set while frets are added in bulk (entries are added, never replaced).
extern int g_bulkEntry;
// Blanks inserted by key code 32763 (the text line's Tab width).
extern int g_blankRunCount;
// What the beaming test answers for symbols that are not notes.
extern int g_beamDefault;
// The three alignment options of the layout (all off: aligned lines shift together).
extern int g_alignOptions[3];
// Asks the refresh after an edit to rebuild the layout.
extern int g_relayout;
// Vertical space the layout adds below every display line (pixels).
extern int g_lineGap;

// Restores the start values above.
void ResetViewServices();
