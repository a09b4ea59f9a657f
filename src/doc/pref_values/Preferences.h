#pragma once
// The program-wide preferences: the defaults for new scores and the program's
// own behaviour. Each integer group of the preference store has a struct here
// whose fields follow the group's comma-separated text in order; the text
// groups (fonts, tunings, paths) are CStrings. Every value starts with its
// built-in value (the default member initialisers below); LoadRegistrySettings
// (LoadRegistrySettings.h) overwrites them once at start-up, and from then on
// the preferences sheet and a few commands change them together with the
// store (PreferenceWriters.h).
//
// Some fields live elsewhere because the shared code reads them there:
//   PrintCorr (4) staff-line thickness   g_lineWidthSetting (common/AppServices.h)
//   PrintCorr2 (1) font scaling %        g_textPrintCorr    (common/AppServices.h)
//   Chords2 (1) show chord fingering     g_fingerRowOption  (common/AppServices.h)
//   DocViewOptions (4) line spacing      g_lineGap          (common/ViewServices.h)
//   TabOptions (7) "+" dulcimer frets    g_HalfFretLabels   (common/Globals.h)
// and the reader also sets the values "in use" that other code reads:
//   PrintCorr (1), (2)                   -> g_printCorrX, g_printCorrY
//   PrintCorr (6)                        -> g_tabDigitOffset (below)
//   StaffLines2 (4) tab line spacing     -> g_tabStringSpacing (model/DocServices.h)
//   Midi (5) output device               -> g_MidiOutDevice (common/Globals.h)
//   PrinterParams with PgOptions (1)     -> g_deviceResX, g_deviceResY, g_deviceDpiX
//
// ResetPreferences() restores every value declared here (tests call it with
// the resets of the shared modules).

#include <array>
#include <cstdint>

#include "platform/CString.h"
#include "platform/WinTypes.h"

// ---- Window, start-up and files -----------------------------------------------

// A window's size and place in pixels, in the order the store keeps them.
struct KWindowPlacement {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
};

// "StavlinXYSizeXYPos": the main window; a width of -1 (or any width not above
// 0) means not set, and start-up sizes the window from the screen.
extern KWindowPlacement g_rcMainWnd;
// "NewDocXYSizeXYPos" (1) to (4): the window of a new score.
extern KWindowPlacement g_prefNewDocWnd;
// "NewDocXYSizeXYPos" (5): what start-up opens (0 nothing, 1 a new score, 2 the
// last score).
extern int g_nStartupAction;
// "DocOptions": one flag; a stored value below 1 marks preferences of an older
// version (see the PrintCorr migration in LoadRegistrySettings.cpp).
extern int g_prefDocOptions;
// "StartFolder": the start folder, also the first folder of File Open.
extern CString g_strStartFolder;
// "LastOpenFile": full path of the score open when the program last ended.
extern CString g_strLastOpenFile;

// "ToolBoxPos": one pair per symbol-toolbox window slot. A slot whose x has a
// magnitude of 10000 or more is closed (x / 10000 keeps its old position).
inline constexpr int kToolBoxSlotCount = 20;
extern std::array<POINT, kToolBoxSlotCount> g_ptToolBoxPos;

// ---- Page layout and printing -------------------------------------------------

struct KPrefPgMargins {
  // Hundredths of an inch (units 0) or millimetres (units 1) from the
  // printable area of the page.
  int top = 25;
  int bottom = 25;
  int left = 25;
  int right = 25;
  int units = 0;  // 0 inches, 1 millimetres
};
extern KPrefPgMargins g_prefPgMargins;

struct KPrefPgOptions {
  int printSize = 100;  // printout size, % of normal (20 to 400)
  int showPageBreaks = 0;
  int builtInFlag = 1;    // stored and restored as read
  int alertOversize = 1;  // alert if the score is slightly larger than the page
  int pageOverlap = 5;    // horizontal page overlap, pixels (0 to 400)
};
extern KPrefPgOptions g_prefPgOptions;

struct KPrefPgNum {
  int type = 1;        // 0 none, 1 file name + page number, 2 numbering text + page number
  int vertical = 0;    // 0 top, 1 bottom
  int horizontal = 0;  // 0 left, 1 centre, 2 right, 3 odd pages right and even pages left
  int pageXofY = 0;
};
extern KPrefPgNum g_prefPgNum;
extern CString g_prefPgNumFont;  // "PgNumFont"

struct KPrefPrintCorr {
  int symbolSizeX = 100;  // symbol size, horizontal % (50 to 200)
  int symbolSizeY = 100;  // vertical %
  // The clipping code, split: no clipping at all, or tens and units.
  int noClipping = 0;
  int clipTens = 0;
  int clipUnits = 2;
  // (4) staff-line thickness is g_lineWidthSetting.
  int slurThickness = 2;   // slur and tie thickness (0 to 20)
  int tabDigitOffset = 0;  // tab-digit position offset (-10 to 10)

  // The clipping code as stored: 0 without clipping, else tens x 10 + units.
  int ClippingCode() const { return noClipping ? 0 : clipTens * 10 + clipUnits; }
};
extern KPrefPrintCorr g_prefPrintCorr;
// The tab-digit position offset in use, from "PrintCorr" (6).
extern int g_tabDigitOffset;

struct KPrefPrintCorr2 {
  // (1) font scaling % is g_textPrintCorr.
  int invertChordDiagrams = 0;
};
extern KPrefPrintCorr2 g_prefPrintCorr2;

struct KPrefPrinterParams {
  int pageWidth = 2880;  // printable page, printer dots
  int pageHeight = 3780;
  int resolutionX = 360;  // dots per inch of the last printer used
  int resolutionY = 360;
};
extern KPrefPrinterParams g_prefPrinterParams;

// ---- Entry, view, autosave and scrolling ----------------------------------------

struct KPrefEntryOptions {
  int cursorMode = 1;  // 0 arrow cursor, 1 symbol cursor
  int keyboardChangesCursor = 0;
  int upDownMode = 1;  // 0 line to line, 1 within staff lines
  int advanceAfterNote = 1;
};
extern KPrefEntryOptions g_prefEntryOptions;

struct KPrefToolViewOptions {
  int showMainToolbar = 1;
  int showExtraToolbar = 1;
  int showStatusBar = 1;
  int clock = 1;
  // (5) save toolbox positions when quitting is g_bRememberToolBoxes.
};
extern KPrefToolViewOptions g_prefToolViewOptions;
extern int g_bRememberToolBoxes;

struct KPrefDocViewOptions {
  int lineLabels = 0;  // 0 don't show, 1 on all lines, 2 on the first line(s) only
  int barNumbering = 0;
  int largeSymbols = 0;
  // (4) vertical line spacing is g_lineGap.
};
extern KPrefDocViewOptions g_prefDocViewOptions;

struct KPrefAutoSave {
  int mode = 3;       // 0 by characters, 1 by minutes, 2 never, 3 ask for each new file
  int interval = 30;  // characters or minutes between autosaves
  int makeBackups = 1;
  int undoEnabled = 1;
  int undoLevels = 20;  // 1 to 99
};
extern KPrefAutoSave g_prefAutoSave;

struct KPrefScrolling {
  int lines = 3;    // lines to advance
  int delay = 100;  // tenths of a second
  int countGroupAsOne = 1;
  int soundOn = 1;
  int repeat = 1;
};
extern KPrefScrolling g_prefScrolling;

// ---- Tablature, staff and line options -------------------------------------------

struct KPrefTabOptions {
  // (1) is not read; it is written from this built-in flag.
  int builtInTabFlag = 1;
  int fretFromPrevious = 1;  // set fret positions from the previous one while translating
  int stemsOnTab = 1;
  int showTabWord = 1;       // "TAB" on the staff
  int altTuningPitches = 1;  // alternate-tuning pitches on the staff
  int banjoFingering = 1;    // banjo fingering on the 5th string
  // (7) "+" notation for dulcimer frets is g_HalfFretLabels.
};
extern KPrefTabOptions g_prefTabOptions;
// The built-in 5-string tuning, chosen by TabOptions (6).
extern CString g_prefFiveStringTuning;
inline constexpr const char* kBanjoFiveStringTuning = "D D G B D   5594247515400!@@!22";
inline constexpr const char* kPlainFiveStringTuning = "G D G B D    594247515400";

// "TabTuning": the default tuning of tablature and chord lines, and the whole
// stored text when it carries a label after the label separator.
extern CString g_prefTabTuning;
extern CString g_prefLabelledTabTuning;
extern CString g_prefBassTabTuning;  // "BassTabTuning"
extern CString g_prefTabFont;        // "TabFont"
// Height of tab fingering digits: the first number of the tab font.
extern int g_tabDigitHeight;

struct KPrefStaffLines {
  int allFixedLength = 1;
  int initialStaffLength = 700;  // pixels, 50 to 32000
  int staffLengthOption = 0;     // an option of the Set Staff Length command
  int showExtentMarker = 0;      // the vertical-extent marker
  int showBarWord = 1;           // "Bar" in bar numbering
  int drumClefStyle = 1;         // 0 double bars, 1 tall box
  int staffLengthOption2 = 0;    // a second option of the Set Staff Length command
};
extern KPrefStaffLines g_prefStaffLines;
// The layout's default line length, from "StaffLines" (2).
extern int g_defaultLineLength;

struct KPrefStaffLines2 {
  int autoBarEntry = 1;
  int autoJoin = 1;         // cluster duration: 0 none, 1 by time signature, 2.. fixed durations
  int autoStem = 0;         // 0 none, 1 inward, 2 outward
  int tabLineSpacing = 12;  // 8 to 16
  int warnBarTiming = 0;
  int banjoStartFret = 5;
  // (7) is not read; written as 9999.
  int defaultIndent = 0;  // pixels
  int spaceAboveStaff = 22;
  int spaceBelowStaff = 26;
  int spaceAboveTab = 14;
  int spaceBelowTab = 12;
};
extern KPrefStaffLines2 g_prefStaffLines2;

struct KPrefStaffLines3 {
  int autoWrap = 0;             // auto-wrap music in the edited line
  int titleFontThreshold = 99;  // points above the default text font size; 99 off
  int rewrapBelow = 0;
  int leftBarMusic = 1;  // vertical lines at the ends of musical and tab staffs
  int leftBarTab = 1;
  int rightBarMusic = 1;
  int rightBarTab = 1;
  int keyboardBars = 1;  // bars connected from treble to bass on keyboard staffs
  int keepBarsAligned = 1;
  int trebleTabBars = 0;  // bars connected from treble to tab on translating pairs
  int resetBarCount = 1;  // after title fonts
  int evenSpacing = 9;    // degree of even symbol spacing, 1 to 15
};
extern KPrefStaffLines3 g_prefStaffLines3;
// The view's auto-wrap state, from "StaffLines3" (1).
extern int g_autoWrap;

extern CString g_prefLineGroups;  // "LineGroups": the Insert Line Group dialog's text

// ---- Fonts (font texts) --------------------------------------------------------

extern CString g_prefExtTextFont;       // default staff-text font
extern CString g_prefExt2TextFont;      // "2ndExtTextFont"
extern CString g_prefBracket2TextFont;  // "2ndBracketTextFont"
extern CString g_prefTripletFont;
extern CString g_prefTextFont;  // default text-line font
extern CString g_prefChordNameFont;
extern CString g_prefRhythmFont;
// The fonts in use, copied from the preferences above.
extern CString g_staffTextFont;
extern CString g_tripletFont;
extern CString g_chordNameFont;
extern CString g_rhythmFont;

// ---- Chords, text files, export, translation and transposition --------------------

struct KPrefChords {
  int showDiagrams = 1;
  int variationNumbering = 1;
  int scanForCustomChords = 1;
  // (4) is not read; written as -999.
  int customOnTop = 0;
  int nameStyle = 3;  // chooses the default chord-name font
};
extern KPrefChords g_prefChords;

struct KPrefChords2 {
  // (1) show chord fingering is g_fingerRowOption.
  int displayFlag = 1;
  int fretNumberPos = 0;  // 0 as designed, 1 right, 2 left
  int barreStyle = 0;     // 0 as designed, 1 arcs, 2 bars
  int displayFlag2 = 0;
  int displayFlag3 = 0;
  int playSelected = 1;       // play the sound of the selected variation
  int onlyCustom = 0;         // only show custom chords even in standard tuning
  int diagramWidth = 100;     // % (25 to 250)
  int diagramHeight = 100;    // % (25 to 250)
  int altFromDictionary = 1;  // alternate-tuning chords from the chord dictionary
  int arpeggioDelay = 300;    // milliseconds (0 to 2000)
  int altFromCustom = 1;      // ... from all custom chords in standard tuning
  int variationsView = 0;     // 0 grids, 1 notes, 2 keyboards
};
extern KPrefChords2 g_prefChords2;

struct KPrefTextFiles {
  int autoLineBreaks = 0;
  int openAsScore = 0;  // text becomes text lines
  int autoTranslateTab = 0;
  // Text-tab kind by string count: bit 0 six, bit 1 five, bit 2 four strings;
  // a set bit means bass tab.
  int textTabKinds = 4;
  int removeTextTab = 0;
  int includeAbc = 0;  // ABC translation of treble lines
  int convertAbc = 1;  // convert ABC files to notation automatically
};
extern KPrefTextFiles g_prefTextFiles;

struct KPrefExporting {
  int imageFormat = 0;  // 0 PNG, 1 BMP
  int interlaced = 0;
};
extern KPrefExporting g_prefExporting;

struct KPrefTranslation {
  int options[4] = {1, 1, 1, 1};  // of the Line and Clipboard Translation dialog
  int mergeStaffs = 1;            // merge treble and bass into a single staff
  int shiftBassIntoRange = 1;     // 0 ignore, 1 shift bass-staff notes into guitar range
  int takeAbove = 1;              // when merging, notes above (up stems)
  int takeBelow = 1;              // and below (down stems)
};
extern KPrefTranslation g_prefTranslation;

struct KPrefTransAltTun {
  int placement = 2;  // translated alternate tunings: 0 replace, 1 above, 2 below
  int wrapAbc = 1;    // wrap imported ABC staff lines
};
extern KPrefTransAltTun g_prefTransAltTun;

struct KPrefTranspose {
  int accidentals = 0;  // 0 simple, 1 double flats and sharps
  int placement = 0;    // transposed lines: 0 replace, 1 above, 2 below
};
extern KPrefTranspose g_prefTranspose;

// ---- MIDI ------------------------------------------------------------------------

struct KPrefMidi {
  int tempo = 120;  // beats per minute
  int loop = 0;
  int ignoreRepeats = 0;
  int loudness = 100;     // of new lines, 0 to 127
  int outputDevice = -1;  // menu item number, -1 none
  int showCaret = 1;      // during playback
};
extern KPrefMidi g_prefMidi;

// "MidiEffects": fields (1) to (15) in order (bends, accents, fermata,
// glissando, multi-bar rests, tremolo, trills, vibrato, slides, grace notes,
// triplets, multiple repeats, octave shifts, bar repeats, tempo changes),
// (16) unused, (17) staccato, (18) depth factor.
inline constexpr int kMidiEffectFlagCount = 15;
struct KPrefMidiEffects {
  int flags[kMidiEffectFlagCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  int staccato = 1;
  int depthFactor = 100;  // bend, vibrato and whammy depth %
};
extern KPrefMidiEffects g_prefMidiEffects;
// The playback-effects word a new score starts with, built from the flags.
extern std::uint32_t g_defaultEffects;
inline constexpr std::uint32_t kEffectsBase = 0x0FFE0000;

struct KPrefAutoFormat {
  int addSpaces = 1;  // on single-instrument imported scores
  int afterQuarter = 1;
  int afterHalf = 2;
  int afterCluster = 0;
  int beforeBar = 1;
  int afterBar = 1;
};
extern KPrefAutoFormat g_prefAutoFormat;

struct KPrefMidiImport {
  int lineTypes = 3;         // 0 tab and/or bass tab, 1 treble, 2 bass only, 3 keyboard by range
  int trebleUpperTone = 67;  // note numbers
  int bassLowerTone = 50;
  int keyboardPercent = 4;  // % of notes beyond a threshold that needs a keyboard staff
  int splitTone = 59;
  int lineLength = 730;     // pixels
  int metronomeSound = 37;  // percussion note number
  int metronomeLoudness = 100;
  int importFlag = 1;
};
extern KPrefMidiImport g_prefMidiImport;

struct KPrefMidiInput {
  int shortestImportNote = 2;  // 0 to 3
  int inputDevice = 1;         // menu item number, 1 to 12
  int metronome = 1;
  int remoteStartStop = 0;
  int liveLineLength = 738;  // pixels
  int tempo = 120;
  int triggerTone = 100;     // note number
  int shortestLiveNote = 1;  // 0 to 3
  int liveTrigger = 1;       // 0 single-step entry, 1 auto-sense, 2 set tempo
  int lineType = 3;          // 0 tab, 1 treble, 2 bass, 3 keyboard
  int transposeGuitar = 0;   // up one octave
};
extern KPrefMidiInput g_prefMidiInput;
// The live-input line type in use, from "MidiInput" (10).
extern int g_liveLineType;

struct KPrefMidiInstruments {
  // General MIDI programs of unlabelled lines.
  int treble = 1;
  int bass = 34;
  int tab = 26;
  int playbackNumber = 130;  // stored and restored as read
  int tabOctaveLower = 0;    // play tab, "Guitar" and "Gtr" lines an octave lower
  int alto = 42;
  int tenor = 58;
  int bassTab = 34;
  int playWhileEditing = 1;  // play notes entered while editing
};
extern KPrefMidiInstruments g_prefMidiInstruments;

// Restores every value declared above to its built-in value.
void ResetPreferences();
