#pragma once
// The cache of music-symbol bitmaps. Every symbol the program draws from a
// picture (note heads, flags, rests, clefs, accidentals, bar-line pieces,
// time-signature figures, braces, chord-line symbols, fret digits...) is a
// bitmap resource of the program, loaded through the current SymbolLoader the
// first time it is drawn and kept until the views that use its set close,
// printing ends, or the program exits.
//
// Two independent sets of pictures exist:
// - the screen set, in a small and a large size (the view's large-symbol mode);
// - the print set, designed for 300 dots per inch and stretched to the device.
// The print set is used on the device path (the device context is printing,
// or g_deviceRender is set, ScaledDraw.h); otherwise the screen set.
//
// Symbols are asked for by family and index:
//   0  symbols by symbol code: note heads (0..12 through the current head
//      slots), rests, accidentals and the other symbols (13..111, large forms
//      125..223), fret digits (224..249), bar-line pieces (1000..5999),
//      flagged symbols (10000..10111, large forms 10112..10223)
//   1  note flags (12..23 large)         2  line-group bracket hooks (0 top, 1 bottom)
//   3  brace (0 small, other large)       4  clefs (10..19 large)
//   5  rhythm symbols (code - 200)        6  note-head forms (6..11 large)
//   7  the key-signature dialog's accidentals (screen only)
//   8  chord-name flat, 11 chord-name sharp (0 normal, other enlarged)
//   9  time-signature figures by code 98..133 (116..133 large)
//   10 stroke symbols (4..7 large)        12 wide symbols (0..19 and 1000..1019)
// Anything else draws nothing.
//
// A picture that cannot be loaded draws nothing, and message 7070 tells the
// user once per run; every later draw tries to load it again.

#include "platform/CDC.h"

// The current note-head bitmaps: slots 0, 1, 2 = filled head, hollow head and
// whole note of the small screen size; 3, 4, 5 the same for the large screen
// size; 6, 7, 8 for the print set. Null until SelectSymbolSize set them.
extern CBitmap* g_headSlots[9];
// The head size last made current (0..7).
extern int g_currentSymbolSize;
// Views using the small (0) and large (1) screen set.
extern int g_symbolSetUsers[2];
// The small / large screen set may hold loaded pictures (set on the first
// acquire, cleared when the set is freed).
extern int g_symbolSetLoaded[2];

// Draws the symbol with its top-left corner at layout point (x, y), scaled by
// percentX and percentY (100 = natural size), with the raster operation
// (callers pass SRCAND, so the white of a picture leaves the page unchanged).
// Chord-name flats and sharps are nudged first: on the screen the enlarged ones
// by (2, 3); with the print set the normal ones by (1, 0), the enlarged ones by
// (4, 5). The bar-line pieces of group 1 (codes 2000..2999) of kinds 3, 4, 6
// and 7 draw the group-0 piece of the same kind and size under themselves.
// On the screen the picture is blitted, stretched only when a percentage is not
// 100; with the print set it is stretched from 300 dots per inch to the device
// with the print corrections g_printCorrX and g_printCorrY (100 while
// g_deviceRender is set, for braces and for the group-1 bar pieces), three
// times larger again for the wide symbols, at the mapped point.
void LoadSymbolBitmap(CDC* dc, int family, int index, int x, int y, int percentX, int percentY, DWORD rop);

// Makes note-head size `size` (0..7) current: its small (large = 0) or large
// (large = 1) screen triple in slots 0..2 or 3..5, and, while printing or
// rendering at device resolution, its print triple in slots 6..8. Sizes 8..12
// change nothing; other sizes are taken as 0. A triple that cannot be loaded
// leaves the slots as they were and shows message 7070 once per run.
void SelectSymbolSize(int size, int large);

// acquire = 1 counts one more view using screen set `set` (0 small, 1 large);
// acquire = 0 one less, freeing the set when its last user goes. Returns 1.
int RefSymbolBitmapSet(int acquire, int set);

// Delete the pictures of the small / large screen set, or the whole print set
// (at the end of each print job and device-resolution export). Return 1.
int FreeSmallSymbolBitmaps();
int FreeLargeSymbolBitmaps();
int FreePrintBitmaps();
// Deletes the screen pictures that no set frees (flags of the small size,
// bracket hooks, braces, rhythm symbols, the key-signature dialog's
// accidentals, chord-name flats and sharps, stroke symbols); for the
// application's exit, after FreeSmallSymbolBitmaps and FreeLargeSymbolBitmaps.
void FreeRemainingScreenSymbolBitmaps();

// Loads screen flag n (0..23) if needed: 1 when it holds a picture, else 0.
int LoadNoteFlagBitmap(int n);
// The screen flag picture n, or null when it is not loaded.
CBitmap* NoteFlagBitmap(int n);

// The six frame pieces of a chord diagram.
enum class DiagramFramePiece { Grid, Barres, BarresAndOpen, Dots, BaseFretGlyphs, FingerGlyphs };
inline constexpr int kDiagramFramePieceCount = 6;
// Loads the six frame pieces of the set dc draws with (the print pieces, three
// times larger, on the device path): 1 when all six are loaded. Otherwise
// shows message 7009 "Glb-1" once per run and answers 0.
int LoadDiagramFrameBitmaps(CDC* dc);
// A frame piece of the screen or the print set; null when not loaded.
CBitmap* DiagramFrameBitmap(DiagramFramePiece piece, bool printSet);

// Deletes every picture and restores the values above to their start (tests).
void ResetSymbolCache();
