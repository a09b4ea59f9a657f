#pragma once
// The user chord dictionary: the file ZODireda.dat of fixed 132-character
// records (ChordRecord.h) in the user's data folder, and the program-wide map
// from tuning key to the KTuningInfo of that tuning.
//
// The start-up load reads only the tunings and roots present; the chords of a
// tuning and root are read when a dialog asks for them (KTuningInfo::LoadChords).
// A damaged file (a record without its '$' or a short piece at the end) is
// copied to a dated backup beside it and repaired: the good records before
// the damage stay, and whole records found after it are kept.

#include <ctime>
#include <filesystem>
#include <functional>

#include "platform/CMapStringToOb.h"
#include "platform/CString.h"

// Tuning key -> KTuningInfo (owned; ClearChordDictionary deletes them).
extern CMapStringToOb g_ChordDictionary;

// The 1-based number of the record last read by the load (0 before any).
extern int g_ChordRecordNumber;
// Chord-file errors waiting for the first score view: starts at 1000; +1 for
// each time the file cannot be opened, +10 for each root code outside the root
// table. ReportPendingChordFileErrors reports them and sets it to 0, after
// which errors are reported at once.
extern int g_ChordFileErrors;
// Set once the bad-root message (7053) has been shown.
extern bool g_ChordRootErrorShown;
// 1 when the last load opened the file, 0 when not.
extern int g_ChordLoadResult;

// Messages of the chord file.
inline constexpr unsigned kMsgNoChordFile = 7035;
inline constexpr unsigned kMsgChordConfusion = 7103;
inline constexpr unsigned kMsgChordFileRepaired = 8242;

// The file name, and its place in the data folder: $XDG_DATA_HOME/stavlin, else
// ~/.local/share/stavlin. Empty when neither can be found.
inline constexpr const char* kChordFileName = "ZODireda.dat";
std::filesystem::path DefaultChordFilePath();

// Indexes the chord file named by g_ChordFilePath into g_ChordDictionary (an
// empty path is first filled with DefaultChordFilePath). Returns 1 when the
// file was read, 0 when it could not be opened (with a beep, counted in
// g_ChordFileErrors). The result is kept in g_ChordLoadResult.
int LoadChordDictionary();

// Deletes every KTuningInfo of the map and empties it.
void ClearChordDictionary();

// The root error of KTuningInfo: counts it, and reports message 7053 with the
// location code unless one was shown already or the errors still wait for
// the first score view.
void ReportChordRootError(const char* locationCode);

// The first score view's report of the waiting errors: message 7035 for a file
// that could not be opened, message 7053 ("QV1-1") for bad root codes.
void ReportPendingChordFileErrors();

// The clock that dates the backup copy of a damaged file (tests fix it).
void SetChordBackupClock(std::function<std::time_t()> clock);

// Restores the load state and the clock, and empties the map (tests).
void ResetChordDictionary();
