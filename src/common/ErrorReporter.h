#pragma once
// The one reporter of internal failures a user cannot mend (a drawing object or
// bitmap that cannot be created, memory that cannot be had, a file that cannot
// be written): a message from the string table with a short location code such
// as "Glb-2" in place of its %1, so that a user's report can be traced.
//
// Drawing code fails on every repaint, so it reports each kind of failure at
// most once per run: g_ReportedOnce (Globals.h) holds one bit per kind.

#include <cstdint>

#include "platform/WinTypes.h"

// Messages shown with a location code.
inline constexpr UINT kMsgInternalProblem = 7008;  // the usual one
inline constexpr UINT kMsgImageLoadProblem = 7009;
inline constexpr UINT kMsgChordLookupProblem = 7011;
inline constexpr UINT kMsgChordRemoveProblem = 7013;
inline constexpr UINT kMsgLineInfoMemory = 7029;
inline constexpr UINT kMsgClipboardProblem = 7032;
inline constexpr UINT kMsgMidiFileProblem = 7047;
inline constexpr UINT kMsgTuningLookupProblem = 7051;
inline constexpr UINT kMsgBadChordKey = 7053;
inline constexpr UINT kMsgImageMemory = 7132;
inline constexpr UINT kMsgUndoMemory = 7155;

// The kinds of failure reported at most once per run (bits of g_ReportedOnce).
inline constexpr std::uint32_t kOncePenFailed = 1;             // creating a drawing pen
inline constexpr std::uint32_t kOnceFontFailed = 2;            // creating a text font
inline constexpr std::uint32_t kOnceBitmapDrawFailed = 4;      // drawing a bitmap
inline constexpr std::uint32_t kOnceSymbolLoadFailed = 16;     // loading a symbol image
inline constexpr std::uint32_t kOnceChordLibraryMissing = 32;  // the chord-string library
inline constexpr std::uint32_t kOnceChordFileAppendFailed = 128;

// Loads the message, puts the location code in place of %1, keeps the result in
// g_MessageText and shows it in a message box with the OK button only. Returns
// the box's answer. A missing message id shows an empty box.
int ReportInternalError(UINT messageId, const char* locationCode);

// A file that could not be written, told as a save failure is told: the
// message with the location code in place of %1, then the file's path and,
// in brackets, the reason the system gave. Shown with OK only; returns the
// answer.
int ReportFileProblem(UINT messageId, const char* locationCode, const char* path, const char* reason);

// True when the kind has not been reported yet in this run; marks it reported
// at once, so that a failure repeated while the message is open (a repaint
// behind the modal box) shows nothing more. Callers show their message only on
// true, then carry on with their fallback.
bool FirstReportOf(std::uint32_t kind);

// The report-once pattern with the reporter: reports unless the kind was
// reported before. Returns whether a message was shown.
bool ReportInternalErrorOnce(std::uint32_t kind, UINT messageId, const char* locationCode);
