#pragma once
// Program-wide values of the score object model and the extension blocks of
// its file records.
//
// Extension block: where a record has grown new fields, it holds at a fixed
// place either its ordinary next byte or the marker byte 250; after the marker
// come a count byte N and N bytes of extension data, then the ordinary byte.
// A reader that knows fewer than N bytes keeps what it knows and skips the
// rest, warning once per run (message 7089) that the file comes from a newer
// version of the program. An ordinary byte at such a place is never 250.

#include <span>

#include "platform/WinTypes.h"

class CArchive;

// Set once message 7089 has been shown; never cleared during a run.
extern int g_newerFileWarned;
// Raised by the loaders of columns and rhythm symbols when they meet a marked
// symbol; the line's loader reads it, sets its own flag and clears it.
extern int g_loadMarker;

inline constexpr BYTE kExtensionMarker = 250;

// Shows message 7089 (the file's version against ours) unless it was shown
// before in this run.
void WarnNewerFileOnce();

// Reads the byte at a place that may hold an extension block. When it is the
// marker, reads the block: up to known.size() bytes go into known (their number
// is returned through knownCount), the rest are skipped after the warning, and
// the ordinary byte after the block is read. Returns the ordinary byte.
BYTE ReadByteAfterExtension(CArchive& ar, std::span<BYTE> known, int* knownCount = nullptr);

// Writes the marker, the count and the bytes (at most 255 of them).
void WriteExtensionBlock(CArchive& ar, std::span<const BYTE> bytes);

// Restores the start values above (tests call it).
void ResetModelGlobals();
