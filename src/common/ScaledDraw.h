#pragma once
// The drawing primitives of the score lines. The score is laid out once, in
// screen units (pixels of the screen at its logical resolution); the same line
// drawing then paints the screen, a printer, or an off-screen bitmap at a
// higher resolution (high-resolution export, chord-diagram pictures).
//
// On the screen every primitive passes straight through to the device context.
// On the device path (the device context is printing, or g_deviceRender is
// set) each point is mapped from screen units to device units,
//   X = x * g_deviceResX / g_screenResX,  Y = y * g_deviceResY / g_screenResY
// (product first, division truncating toward zero), and text is drawn in the
// selected font scaled to the device. The symbol bitmaps of the print set are
// stretched to the device by the symbol cache (SymbolCache.h) through the
// blits below.

#include "platform/CDC.h"
#include "platform/CString.h"

// True when dc draws on the device path: it is printing, or g_deviceRender is set.
bool UsesDevicePath(const CDC* dc);

// A layout coordinate mapped to the device (unchanged while a resolution is not positive).
int MapToDeviceX(int x);
int MapToDeviceY(int y);

// Copies the bitmap at its natural size to (x, y) of dc with the raster
// operation, through a memory device context. A null or empty bitmap draws
// nothing. When the memory device context cannot be made, reports 7008 "Glb-2"
// once per run and draws nothing. TRUE when the blit was made.
BOOL BlitBitmap(CDC* dc, CBitmap* bitmap, int x, int y, DWORD rop);
// As BlitBitmap, stretched to width * percentX / 100 by height * percentY / 100
// (truncating) with the target's stretch mode set to BLACKONWHITE, so that
// shrinking keeps thin black lines. Reports "Glb-13" instead.
BOOL StretchBlitBitmap(CDC* dc, CBitmap* bitmap, int x, int y, int percentX, int percentY, DWORD rop);

// Text at (x, y) with the background mode OPAQUE when opaque is nonzero, else
// TRANSPARENT; the mode is OPAQUE afterwards in both cases. On the device path
// in the selected font scaled to the device, at the mapped point.
void ScaledTextOutBk(CDC* dc, int x, int y, const char* text, int count, int opaque);
void ScaledTextOut(CDC* dc, int x, int y, const CString& text, int opaque);

// ExtTextOut; on the device path in the scaled font with the point and the four
// sides of the rectangle mapped (options and widths unchanged). The background
// mode is left alone. The Str form draws at most the string's length.
void ScaledExtTextOut(CDC* dc, int x, int y, UINT options, RECT rect, const char* text, int count,
                      const int* widths);
void ScaledExtTextOutStr(CDC* dc, int x, int y, UINT options, RECT rect, const CString& text, int count,
                         const int* widths);

// The text of a text line on the device path (on the screen the line draws its
// text itself, and this draws nothing). The font is scaled by g_textPrintCorr
// as well. Each word starts where it stands on the screen (its x measured with
// g_layoutDC, or with the selected font when no layout context is set), but
// never closer than one space width to the end of the previous word, so that
// words do not run into each other when the device font is wider; italic text
// is drawn in one piece from its first word. Drawn TRANSPARENT; OPAQUE afterwards.
void ScaledTextOutFitted(CDC* dc, int x, int y, const CString& text);

// Bezier curve (count = 4: start, two control points, end), mapped on the device path.
void ScaledPolyBezier(CDC* dc, const POINT* points, int count);
void ScaledMoveTo(CDC* dc, int x, int y);
void ScaledLineTo(CDC* dc, int x, int y);
