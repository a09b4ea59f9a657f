// The settings file is outside input: every number the program sizes, counts
// or places something by is kept within its range as it is read, and the main
// window always fits the screen it opens on.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "PreferenceTestSupport.h"
#include "common/AppServices.h"
#include "common/ViewServices.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/PreferenceLimits.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KSpeedLine.h"
#include "model/DocServices.h"

namespace {

using PreferenceLimits = PreferenceTest;

// A group text of 40 copies of the number, as a damaged file might hold.
std::string AllOf(long long number) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += (i > 0 ? "," : "") + std::to_string(number);
  return text;
}

struct LimitCase {
  const char* what;
  std::function<int()> value;
  int expected;  // the built-in value
};

TEST_F(PreferenceLimits, NumbersFarOutOfRangeAreReadAsTheBuiltInValues) {
  const LimitCase cases[] = {
      {"main window width (not set)", [] { return g_rcMainWnd.width; }, -1},
      {"main window height", [] { return g_rcMainWnd.height; }, 480},
      {"main window left", [] { return g_rcMainWnd.left; }, 0},
      {"new score window width", [] { return g_prefNewDocWnd.width; }, 625},
      {"new score window height", [] { return g_prefNewDocWnd.height; }, 350},
      {"start-up action", [] { return g_nStartupAction; }, 2},
      {"top margin", [] { return g_prefPgMargins.top; }, 25},
      {"margin units", [] { return g_prefPgMargins.units; }, 0},
      {"printout size", [] { return g_prefPgOptions.printSize; }, 100},
      {"page overlap", [] { return g_prefPgOptions.pageOverlap; }, 5},
      {"page number place", [] { return g_prefPgNum.horizontal; }, 0},
      {"symbol size", [] { return g_printCorrX; }, 100},
      {"clipping code", [] { return g_prefPrintCorr.ClippingCode(); }, 2},
      {"fret box margin", [] { return g_fretBoxMargin; }, 2},
      {"staff-line thickness", [] { return g_lineWidthSetting; }, 2},
      {"font scaling", [] { return g_textPrintCorr; }, 90},
      {"printer page width", [] { return g_prefPrinterParams.pageWidth; }, 2880},
      {"printer resolution", [] { return g_prefPrinterParams.resolutionY; }, 360},
      {"scaled printer resolution", [] { return g_deviceResX; }, 360},
      {"line spacing", [] { return g_lineGap; }, 4},
      {"undo levels", [] { return g_prefAutoSave.undoLevels; }, 20},
      {"lines to scroll", [] { return g_prefScrolling.lines; }, 3},
      {"initial staff length", [] { return g_defaultLineLength; }, 700},
      {"tab line spacing", [] { return g_tabStringSpacing; }, 12},
      {"diagram width", [] { return g_prefChords2.diagramWidth; }, 100},
      {"arpeggio delay", [] { return g_prefChords2.arpeggioDelay; }, 300},
      {"image format", [] { return g_prefExporting.imageFormat; }, 0},
      {"tempo", [] { return g_prefMidi.tempo; }, 120},
      {"loudness", [] { return g_prefMidi.loudness; }, 100},
      {"imported line length", [] { return g_prefMidiImport.lineLength; }, 730},
      {"live line length", [] { return g_prefMidiInput.liveLineLength; }, 738},
      {"instrument", [] { return g_prefMidiInstruments.tab; }, 26},
  };
  for (const long long number : {static_cast<long long>(INT_MAX), static_cast<long long>(INT_MIN)}) {
    ResetAll();
    for (KPrefGroup group : AllPreferenceGroups()) {
      const std::string_view name = PreferenceGroupName(group);
      if (name.find("Font") == std::string_view::npos && name.find("Tuning") == std::string_view::npos &&
          name != "StartFolder" && name != "LastOpenFile" && name != "LineGroups")
        Store(group, AllOf(number));
    }
    LoadRegistrySettings();
    for (const LimitCase& c : cases) EXPECT_EQ(c.value(), c.expected) << c.what << " from " << number;
  }
}

TEST_F(PreferenceLimits, ValuesAtTheEdgesOfTheirRangesAreKept) {
  Store("NewDocXYSizeXYPos", "40,16384,-16384,16384,0");
  Store("PgOptions", "20,0,1,1,400");
  Store("AutoSave", "3,30,1,1,99");
  Store("StaffLines2", "1,1,0,16,0,5,0,0,22,26,14,12");
  LoadRegistrySettings();
  EXPECT_EQ(g_prefNewDocWnd.width, 40);
  EXPECT_EQ(g_prefNewDocWnd.height, 16384);
  EXPECT_EQ(g_prefNewDocWnd.left, -16384);
  EXPECT_EQ(g_nStartupAction, 0);
  EXPECT_EQ(g_prefPgOptions.printSize, 20);
  EXPECT_EQ(g_prefPgOptions.pageOverlap, 400);
  EXPECT_EQ(g_prefAutoSave.undoLevels, 99);
  EXPECT_EQ(g_tabStringSpacing, 16);
}

struct HostileGroupCase {
  const char* group;
  const char* text;
  const char* what;
  std::function<int()> value;
  int expected;
};

// One group at a time, numbers a damaged or hand-edited file might hold
// where the program sizes or places something by them: each reads as a
// value within its range.
TEST_F(PreferenceLimits, AHostileNumberInOneGroupReadsWithinItsRange) {
  const HostileGroupCase cases[] = {
      {"PrintCorr", "100,100,2147483647,2,2,0", "fret box margin", [] { return g_fretBoxMargin; }, 2},
      {"PrintCorr", "100,100,-2147483648,2,2,0", "fret box margin", [] { return g_fretBoxMargin; }, 2},
      {"PrintCorr", "100,100,100,2,2,0", "clipping code", [] { return g_prefPrintCorr.ClippingCode(); }, 2},
      {"PrintCorr", "100,100,-7,2,2,0", "clipping code", [] { return g_prefPrintCorr.ClippingCode(); }, 2},
      {"PrintCorr", "100,100,35,2,2,0", "fret box margin", [] { return g_fretBoxMargin; }, 35},
      {"PrintCorr", "100,100,99,2,2,0", "fret box margin", [] { return g_fretBoxMargin; }, 0},
      {"PrintCorr", "100,100,2,2147483647,2,0", "staff-line thickness", [] { return g_lineWidthSetting; }, 2},
      {"PrintCorr", "100,100,2,2,2,2147483647", "tab-digit offset", [] { return g_tabDigitOffset; }, 1},
      {"PrintCorr", "1000000,100,2,2,2,0", "symbol size", [] { return g_printCorrX; }, 100},
      {"PrintCorr2", "2147483647,0", "font scaling", [] { return g_textPrintCorr; }, 90},
      {"PgOptions", "2147483647,0,1,1,5", "printout size", [] { return g_prefPgOptions.printSize; }, 100},
      {"PrinterParams", "2880,3780,2147483647,360", "scaled printer resolution", [] { return g_deviceResX; },
       360},
      {"DocViewOptions", "0,0,0,2147483647", "line spacing", [] { return g_lineGap; }, 4},
      {"StaffLines", "1,2147483647,0,0,1,1,0", "staff length", [] { return g_defaultLineLength; }, 700},
      {"StaffLines2", "1,1,0,2147483647,0,5,0,0,22,26,14,12", "tab line spacing",
       [] { return g_tabStringSpacing; }, 12},
      {"StaffLines2", "1,1,0,12,0,5,0,2147483647,22,26,14,12", "staff indent",
       [] { return g_prefStaffLines2.defaultIndent; }, 0},
      {"StaffLines3", "0,99,0,1,1,1,1,1,1,0,1,2147483647", "even spacing",
       [] { return g_prefStaffLines3.evenSpacing; }, 9},
      {"Chords2", "1,1,0,0,0,0,1,0,2147483647,100,1,300,1,0", "diagram width",
       [] { return g_prefChords2.diagramWidth; }, 100},
      {"Scrolling", "0,100,1,1,1", "lines to scroll", [] { return g_prefScrolling.lines; }, 3},
      {"MidiImport", "3,67,50,4,59,-2147483648,37,100,1", "imported line length",
       [] { return g_prefMidiImport.lineLength; }, 730},
  };
  for (const HostileGroupCase& c : cases) {
    ResetAll();
    Store(c.group, c.text);
    LoadRegistrySettings();
    EXPECT_EQ(c.value(), c.expected) << c.group << "=" << c.text << ": " << c.what;
  }
}

struct FitCase {
  const char* what;
  KWindowPlacement window;
  KWindowPlacement fitted;
};

TEST(WindowOnScreen, TheWholeWindowShowsOnTheScreen) {
  const FitCase cases[] = {
      {"fits as it is", {950, 700, 40, 40}, {950, 700, 40, 40}},
      {"larger than the screen", {INT_MAX, INT_MAX, 0, 0}, {1920, 1080, 0, 0}},
      {"beyond the right edge", {800, 600, 1500, 900}, {800, 600, 1120, 480}},
      {"left of the screen", {800, 600, INT_MIN, -5}, {800, 600, 0, 0}},
      {"too small", {10, 10, 0, 0}, {100, 100, 0, 0}},
  };
  for (const FitCase& c : cases) {
    const KWindowPlacement got = FitOnScreen(c.window, 1920, 1080);
    EXPECT_EQ(got.width, c.fitted.width) << c.what;
    EXPECT_EQ(got.height, c.fitted.height) << c.what;
    EXPECT_EQ(got.left, c.fitted.left) << c.what;
    EXPECT_EQ(got.top, c.fitted.top) << c.what;
  }
}

}  // namespace
