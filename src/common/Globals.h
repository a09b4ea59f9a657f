#pragma once
// The program-wide tables and state of the shared module: note-name and key
// tables, duration and symbol letters, digit tables, General MIDI instrument
// names, marker strings, the built-in tunings, version texts, per-size metrics
// and the start-up state that every subsystem reads.
//
// The fixed tables are const and never change. The mutable values start with
// the defaults given here; ResetCommonGlobals() restores them (tests call it so
// that one test's changes never leak into the next).

#include <cstdint>

#include "common/StaffGeometry.h"
#include "platform/CString.h"

// ---- Note names --------------------------------------------------------------

// 12 two-character cells from A: "A A#B C C#D D#E F F#G G#".
extern const CString g_NoteNamesSharp;
// 12 two-character cells from Ab: "AbA BbB C DbD EbE F GbG ".
extern const CString g_NoteNamesFlat;
// 17 two-character cells: "AbA A#BbB C C#DbD D#EbE F F#GbG G#".
extern const CString g_NoteNamesAll;
// Two-character names indexed by (pitch number + 24) mod 12; pitch 32 is "E ".
extern const CString g_PitchNames[12];
// The g_PitchNames entry of a pitch number, for any pitch (negative ones too).
const CString& PitchNameOf(int pitch);
extern const CString g_NoteNameList[26];
// Piano key names from G#/Ab upward.
extern const CString g_PianoKeyNames[12];
extern const CString g_NoteLetters;  // "abcdefgABCDEFG"

// ---- Keys --------------------------------------------------------------------

// Major / relative minor, flats to sharps (the 15-key list).
extern const CString g_KeySigNames[15];
// Two-character cells read by the ABC reader.
extern const CString g_AbcKeyTable;

// ---- Duration and symbol letters ---------------------------------------------

extern const CString g_DurationKeys;         // "tTsSyYxXqQhHw$"
extern const CString g_DurationKeysNoWhole;  // "tTsSyYxXqQhH"
extern const CString g_DurationLetters;      // "whHqQtTsSyYxX"
extern const CString g_RhythmSymbolLetters;  // 32 characters, starting "|\"I[]"

// ---- Digits ------------------------------------------------------------------

extern const CString g_Digits;         // "0123456789"
extern const CString g_TwoDigitBlank;  // 0..99 as blank-padded cells: " 0 1 2".."99"
extern const CString g_TwoDigitZero;   // 0..99 as zero-padded cells: "000102".."99"

// ---- Instruments -------------------------------------------------------------

// Entry n - 1 names instrument number n (1..130): the 128 General MIDI programs,
// then 129 "Silence" and 130 "Percussion".
inline constexpr int kInstrumentNameCount = 130;
extern const CString g_GmInstrumentNames[kInstrumentNameCount];

// ---- Marker strings ----------------------------------------------------------

extern const CString g_LabelSeparator;  // "!@!"
extern const CString g_FretListMarker;  // "!@@!"
extern const CString g_ChordPicMarker;  // "!@@@!"

// ---- Built-in tunings (the tuning string form is described in TuningCodec.h) --

extern const CString g_TuningBass2;
extern const CString g_TuningBass3;
extern const CString g_TuningBass4;
extern const CString g_TuningBass5;
extern const CString g_TuningBass6;
extern const CString g_TuningBass7;
extern const CString g_TuningBass8;
extern const CString g_TuningTwoString;
extern const CString g_TuningDiatonic;
extern const CString g_TuningFourString;
extern const CString g_TuningFiveString;
extern const CString g_TuningGuitar;
extern const CString g_TuningGuitar7;
extern const CString g_TuningGuitar8;
extern const CString g_DefaultTrebleTuning;
extern const CString g_DefaultBassTuning;

// ---- Version and language texts ----------------------------------------------

extern const CString g_ProgramVersionText;  // "3.94.0.2"
extern const CString g_LanguageName;        // "English"
extern const CString g_AbcFileTitle;        // "ABC File"

// ---- Metrics (pixels or layout units), indexed by the symbol size index 0/1 ----

inline constexpr int g_SizeStep[2] = {10, 13};
inline constexpr int g_ViewInsetA[2] = {110, 10};
inline constexpr int g_ViewInsetB[2] = {330, 10};
// Indexed by line family 0..5.
inline constexpr int g_AttachmentColumnWidths[6] = {18, 18, 18, 9, 8, 9};

// Size-indexed layout constants shared by the drawing and layout code.
inline constexpr int g_RhythmColumnWidth[2] = {9, 11};  // rhythm and chord-diagram lines
inline constexpr int g_NoteColumnWidth[2] = {18, 22};   // staff and tablature lines
inline constexpr int g_StemMetric[2] = {14, 17};
inline constexpr int g_ChordNameWidth[2] = {8, 10};    // column and character width of names
inline constexpr int g_GroupIndentBase[2] = {34, 34};  // line-group indent computation
inline constexpr int g_GroupIndentStep[2] = {5, 7};

// The three layout ratios that the drawing and layout code shares.
inline constexpr float g_Ratio23_14 = 23.0f / 14.0f;
inline constexpr float g_Ratio20_14 = 20.0f / 14.0f;
inline constexpr float g_Ratio22_14 = 22.0f / 14.0f;

// ---- Mutable program-wide state (restored by ResetCommonGlobals) -------------

// Tuning of the fretboard toolbox, of tab fingering and of new tablature lines;
// a copy of g_TuningGuitar at start, replaced by the view as the user chooses.
extern CString g_CurrentTuning;
// Symbol code of the current note value; 8 at start, replaced by the view.
extern int g_CurrentNoteCode;
// The display form of the loaded file's version; "3.94.0.2" at start.
extern CString g_FileVersionText;
// The buffer into which the error reporter and other message paths format.
extern CString g_MessageText;
extern CString g_HelpDir;        // folder of the help file, set at start-up
extern CString g_ChordFilePath;  // the user chord dictionary file, set at start-up
// "UL Treble" .. "UL Bass Tab", loaded from strings 8030..8036 at start-up.
inline constexpr int kUnlabelledLineNameCount = 7;
inline constexpr unsigned kFirstUnlabelledLineNameId = 8030;
extern CString g_UnlabelledLineNames[kUnlabelledLineNameCount];
// Loads the texts of the globals above from the string table (start-up).
void LoadGlobalTexts();
// The MIDI output device number (the device opened is one less); 2 at start.
extern std::int32_t g_MidiOutDevice;
// The start-up copy of g_MidiOutDevice.
extern std::int32_t g_MidiOutDeviceAtStart;
// Preference: half-fret labels on diatonic fretboards (0 off).
extern int g_HalfFretLabels;
// One bit per kind of failure already reported in this run (see ErrorReporter.h).
extern std::uint32_t g_ReportedOnce;

// Restores every mutable value above (and the recent-chord list) to its start value.
void ResetCommonGlobals();
