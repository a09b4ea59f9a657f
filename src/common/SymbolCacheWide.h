#pragma once
// The print pictures of the wide symbols (family 12 of the symbol cache). Their
// print resource only gives the size (three times the screen picture); the
// picture drawn is a bitmap of that size, compatible with the device, holding
// the screen picture at its natural size in its top-left corner on white. The
// colour variant is used unless the device is black and white.

#include "common/SymbolCacheSlots.h"
#include "platform/CDC.h"

enum class WideSymbolLoad { Loaded, LoadFailed, PrepareFailed };

// Makes the print entry of the wide symbol `index` (0..9 or 1000..1009) ready
// for dc if it is empty. PrepareFailed: a memory device context could not be
// made (reported with 7008 each time); the entry stays empty either way.
WideSymbolLoad EnsureWidePrintSymbol(CDC* dc, const SymbolPlace& place, int index);

// Paints target white and copies source into its top-left corner at its
// natural size. Reports 7008 with "MOC2-26" or "MOC2-28" (every time) when the
// first or the second memory device context cannot be made; false then.
bool PrepareWideSymbolPrintBitmap(CDC* dc, CBitmap& target, CBitmap& source);
