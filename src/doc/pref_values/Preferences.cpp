#include "doc/pref_values/Preferences.h"

namespace {

constexpr KWindowPlacement kMainWnd{-1, 480, 0, 0};
constexpr KWindowPlacement kNewDocWnd{625, 350, 0, 0};
constexpr int kStartupAction = 2;

// The first 20 pairs of the default "ToolBoxPos" text.
constexpr std::array<POINT, kToolBoxSlotCount> kToolBoxPos = {{
    {6, 354},       {260000, 289},  {460000, 340}, {10000, 115},   {270000, 321},
    {80000, 327},   {10000, 0},     {390000, 318}, {10000, 0},     {3330000, 319},
    {2290000, 319}, {2190000, 324}, {50000, 312},  {3200000, 327}, {2420000, 300},
    {2270000, 307}, {190000, 308},  {0, 481},      {0, 595},       {3420000, 337},
}};

constexpr const char* kPgNumFont = "14,0,0,0,500,0,0,0,0,0,0,0,25,Arial";
constexpr const char* kTabTuning = "E A D G B E  323742475156";
constexpr const char* kBassTabTuning = "  E A D G   *002025303500";
constexpr const char* kTabFont = "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr int kTabDigitHeight = 15;
constexpr int kLineLength = 700;
constexpr const char* kLineGroups = "1,0,530,0,1,,2,1,,";
constexpr const char* kColouredTimes = "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman";
constexpr const char* kTextFont = "19,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman";
constexpr const char* kChordNameFont = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kRhythmFont = "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman";
constexpr int kLiveLineType = 3;

// The effects word of the default flags: every effect but bit 15 (unused).
constexpr std::uint32_t kDefaultEffects = kEffectsBase + 0x7FFF + 0x10000;

}  // namespace

KWindowPlacement g_rcMainWnd = kMainWnd;
KWindowPlacement g_prefNewDocWnd = kNewDocWnd;
int g_nStartupAction = kStartupAction;
int g_prefDocOptions = 1;
CString g_strStartFolder;
CString g_strLastOpenFile;
std::array<POINT, kToolBoxSlotCount> g_ptToolBoxPos = kToolBoxPos;

KPrefPgMargins g_prefPgMargins;
KPrefPgOptions g_prefPgOptions;
KPrefPgNum g_prefPgNum;
CString g_prefPgNumFont = kPgNumFont;
KPrefPrintCorr g_prefPrintCorr;
int g_tabDigitOffset = 0;
KPrefPrintCorr2 g_prefPrintCorr2;
KPrefPrinterParams g_prefPrinterParams;

KPrefEntryOptions g_prefEntryOptions;
KPrefToolViewOptions g_prefToolViewOptions;
int g_bRememberToolBoxes = 0;
KPrefDocViewOptions g_prefDocViewOptions;
KPrefAutoSave g_prefAutoSave;
KPrefScrolling g_prefScrolling;

KPrefTabOptions g_prefTabOptions;
CString g_prefFiveStringTuning = kBanjoFiveStringTuning;
CString g_prefTabTuning = kTabTuning;
CString g_prefLabelledTabTuning;
CString g_prefBassTabTuning = kBassTabTuning;
CString g_prefTabFont = kTabFont;
int g_tabDigitHeight = kTabDigitHeight;
KPrefStaffLines g_prefStaffLines;
int g_defaultLineLength = kLineLength;
KPrefStaffLines2 g_prefStaffLines2;
KPrefStaffLines3 g_prefStaffLines3;
int g_autoWrap = 0;
CString g_prefLineGroups = kLineGroups;

CString g_prefExtTextFont = kColouredTimes;
CString g_prefExt2TextFont = kColouredTimes;
CString g_prefBracket2TextFont = kColouredTimes;
CString g_prefTripletFont = kColouredTimes;
CString g_prefTextFont = kTextFont;
CString g_prefChordNameFont = kChordNameFont;
CString g_prefRhythmFont = kRhythmFont;
CString g_staffTextFont = kColouredTimes;
CString g_tripletFont = kColouredTimes;
CString g_chordNameFont = kChordNameFont;
CString g_rhythmFont = kRhythmFont;

KPrefChords g_prefChords;
KPrefChords2 g_prefChords2;
KPrefTextFiles g_prefTextFiles;
KPrefExporting g_prefExporting;
KPrefTranslation g_prefTranslation;
KPrefTransAltTun g_prefTransAltTun;
KPrefTranspose g_prefTranspose;

KPrefMidi g_prefMidi;
KPrefMidiEffects g_prefMidiEffects;
std::uint32_t g_defaultEffects = kDefaultEffects;
KPrefAutoFormat g_prefAutoFormat;
KPrefMidiImport g_prefMidiImport;
KPrefMidiInput g_prefMidiInput;
int g_liveLineType = kLiveLineType;
KPrefMidiInstruments g_prefMidiInstruments;

void ResetPreferences() {
  g_rcMainWnd = kMainWnd;
  g_prefNewDocWnd = kNewDocWnd;
  g_nStartupAction = kStartupAction;
  g_prefDocOptions = 1;
  g_strStartFolder.Empty();
  g_strLastOpenFile.Empty();
  g_ptToolBoxPos = kToolBoxPos;

  g_prefPgMargins = {};
  g_prefPgOptions = {};
  g_prefPgNum = {};
  g_prefPgNumFont = kPgNumFont;
  g_prefPrintCorr = {};
  g_tabDigitOffset = 0;
  g_prefPrintCorr2 = {};
  g_prefPrinterParams = {};

  g_prefEntryOptions = {};
  g_prefToolViewOptions = {};
  g_bRememberToolBoxes = 0;
  g_prefDocViewOptions = {};
  g_prefAutoSave = {};
  g_prefScrolling = {};

  g_prefTabOptions = {};
  g_prefFiveStringTuning = kBanjoFiveStringTuning;
  g_prefTabTuning = kTabTuning;
  g_prefLabelledTabTuning.Empty();
  g_prefBassTabTuning = kBassTabTuning;
  g_prefTabFont = kTabFont;
  g_tabDigitHeight = kTabDigitHeight;
  g_prefStaffLines = {};
  g_defaultLineLength = kLineLength;
  g_prefStaffLines2 = {};
  g_prefStaffLines3 = {};
  g_autoWrap = 0;
  g_prefLineGroups = kLineGroups;

  g_prefExtTextFont = kColouredTimes;
  g_prefExt2TextFont = kColouredTimes;
  g_prefBracket2TextFont = kColouredTimes;
  g_prefTripletFont = kColouredTimes;
  g_prefTextFont = kTextFont;
  g_prefChordNameFont = kChordNameFont;
  g_prefRhythmFont = kRhythmFont;
  g_staffTextFont = kColouredTimes;
  g_tripletFont = kColouredTimes;
  g_chordNameFont = kChordNameFont;
  g_rhythmFont = kRhythmFont;

  g_prefChords = {};
  g_prefChords2 = {};
  g_prefTextFiles = {};
  g_prefExporting = {};
  g_prefTranslation = {};
  g_prefTransAltTun = {};
  g_prefTranspose = {};

  g_prefMidi = {};
  g_prefMidiEffects = {};
  g_defaultEffects = kDefaultEffects;
  g_prefAutoFormat = {};
  g_prefMidiImport = {};
  g_prefMidiInput = {};
  g_liveLineType = kLiveLineType;
  g_prefMidiInstruments = {};
}
