#pragma once
// The numeric constants of the drawing model: raster operations, mix modes,
// pen styles, background and stretch modes, device-capability indexes, stock
// object numbers and text-output options. The values are the ones score files
// and settings texts were written with (pen styles, font fields) and the ones
// the drawing code passes around, so they keep the classic GDI numbers.

#include "platform/WinTypes.h"

// Ternary raster operations (BitBlt, StretchBlt, PatBlt). Bits 16..23 of each
// code are its truth table over pattern P (0xF0), source S (0xCC) and
// destination D (0xAA); the drawing code evaluates any code from that byte.
constexpr DWORD SRCCOPY = 0x00CC0020;      // S
constexpr DWORD SRCPAINT = 0x00EE0086;     // S | D
constexpr DWORD SRCAND = 0x008800C6;       // S & D
constexpr DWORD SRCINVERT = 0x00660046;    // S ^ D
constexpr DWORD SRCERASE = 0x00440328;     // S & ~D
constexpr DWORD NOTSRCCOPY = 0x00330008;   // ~S
constexpr DWORD NOTSRCERASE = 0x001100A6;  // ~(S | D)
constexpr DWORD MERGECOPY = 0x00C000CA;    // P & S
constexpr DWORD MERGEPAINT = 0x00BB0226;   // ~S | D
constexpr DWORD PATCOPY = 0x00F00021;      // P
constexpr DWORD PATPAINT = 0x00FB0A09;     // P | ~S | D
constexpr DWORD PATINVERT = 0x005A0049;    // P ^ D
constexpr DWORD DSTINVERT = 0x00550009;    // ~D
constexpr DWORD BLACKNESS = 0x00000042;    // 0
constexpr DWORD WHITENESS = 0x00FF0062;    // 1

// Binary mix modes of pens and brushes (SetROP2). Value - 1 is the truth table
// over pen P (0b1100) and destination D (0b1010).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Stretch modes: when a blit shrinks, BLACKONWHITE ANDs the source pixels that
// fall on one destination pixel (black wins), WHITEONBLACK ORs them (white
// wins), COLORONCOLOR keeps one of them, HALFTONE averages them.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles and hatch kinds.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;

// Mapping modes: only the one-unit-per-pixel mode is used.
constexpr int MM_TEXT = 1;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// Clip-region results.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// GetPixel's answer outside the drawable area or on a device that cannot be read.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// GetDeviceCaps indexes.
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// TECHNOLOGY answers.
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;

// RASTERCAPS bits.
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_STRETCHBLT = 0x0800;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;

// LOGFONT field values.
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;
