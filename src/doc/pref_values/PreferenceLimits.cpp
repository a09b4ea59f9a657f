#include "doc/pref_values/PreferenceLimits.h"

#include <algorithm>
#include <utility>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "model/DocServices.h"

namespace {

// Window edges and sizes beyond any screen; the window is fitted to the
// screen it opens on (FitOnScreen, PreferenceLimits.h).
constexpr int kLargestWindowSize = 16384;
constexpr int kFarthestWindowPlace = 16384;
// Page margins of 10 inches or 254 millimetres leave no page to print on.
constexpr int kLargestMargin = 1000;
// A printer page of 100 inches at 9600 dots per inch.
constexpr int kLargestPageDots = 960000;
constexpr int kLargestPrinterDpi = 9600;
constexpr int kHighestNote = 127;
constexpr int kLargestLineLength = 32000;
constexpr int kFastestTempo = 1000;

// value within low..high, else fallback.
void Keep(int& value, int low, int high, int fallback) {
  if (value < low || value > high) value = fallback;
}

void Flag(int& value, int fallback) { Keep(value, 0, 1, fallback); }

void KeepWindow(KWindowPlacement& w, const KWindowPlacement& builtIn, bool unsetAllowed) {
  // A main window width of -1 means "not set": the start-up sizes it from
  // the screen.
  if (!(unsetAllowed && w.width == -1)) Keep(w.width, 40, kLargestWindowSize, builtIn.width);
  Keep(w.height, 40, kLargestWindowSize, builtIn.height);
  Keep(w.left, -kFarthestWindowPlace, kFarthestWindowPlace, builtIn.left);
  Keep(w.top, -kFarthestWindowPlace, kFarthestWindowPlace, builtIn.top);
}

}  // namespace

void KeepPreferencesInRange() {
  // Windows.
  KeepWindow(g_rcMainWnd, KWindowPlacement{-1, 480, 0, 0}, true);
  KeepWindow(g_prefNewDocWnd, KWindowPlacement{625, 350, 0, 0}, false);
  Keep(g_nStartupAction, 0, 2, 2);

  // Page layout and printing.
  const KPrefPgMargins margins;
  KPrefPgMargins& m = g_prefPgMargins;
  Keep(m.top, 0, kLargestMargin, margins.top);
  Keep(m.bottom, 0, kLargestMargin, margins.bottom);
  Keep(m.left, 0, kLargestMargin, margins.left);
  Keep(m.right, 0, kLargestMargin, margins.right);
  Flag(m.units, margins.units);
  const KPrefPgOptions options;
  KPrefPgOptions& o = g_prefPgOptions;
  Keep(o.printSize, 20, 400, options.printSize);
  Keep(o.pageOverlap, 0, 400, options.pageOverlap);
  const KPrefPgNum numbering;
  Keep(g_prefPgNum.type, 0, 2, numbering.type);
  Flag(g_prefPgNum.vertical, numbering.vertical);
  Keep(g_prefPgNum.horizontal, 0, 3, numbering.horizontal);
  const KPrefPrintCorr corrections;
  KPrefPrintCorr& pc = g_prefPrintCorr;
  Keep(pc.symbolSizeX, 50, 200, corrections.symbolSizeX);
  Keep(pc.symbolSizeY, 50, 200, corrections.symbolSizeY);
  // The clipping code's digits: each 0 to 9.
  Flag(pc.noClipping, corrections.noClipping);
  if (pc.clipTens < 0 || pc.clipTens > 9 || pc.clipUnits < 0 || pc.clipUnits > 9) {
    pc.clipTens = corrections.clipTens;
    pc.clipUnits = corrections.clipUnits;
  }
  Keep(pc.slurThickness, 0, 20, corrections.slurThickness);
  Keep(pc.tabDigitOffset, -10, 10, corrections.tabDigitOffset);
  Keep(g_lineWidthSetting, 0, 20, 2);
  Keep(g_textPrintCorr, 10, 1000, 90);
  const KPrefPrinterParams printer;
  KPrefPrinterParams& p = g_prefPrinterParams;
  Keep(p.pageWidth, 1, kLargestPageDots, printer.pageWidth);
  Keep(p.pageHeight, 1, kLargestPageDots, printer.pageHeight);
  Keep(p.resolutionX, 1, kLargestPrinterDpi, printer.resolutionX);
  Keep(p.resolutionY, 1, kLargestPrinterDpi, printer.resolutionY);

  // The view, autosave, undo and scrolling.
  Keep(g_prefDocViewOptions.lineLabels, 0, 2, 0);
  Keep(g_lineGap, 0, 30, 4);
  const KPrefAutoSave autosave;
  KPrefAutoSave& a = g_prefAutoSave;
  Keep(a.mode, 0, 3, autosave.mode);
  Keep(a.interval, 0, 32000, autosave.interval);
  Keep(a.undoLevels, 1, 99, autosave.undoLevels);
  const KPrefScrolling scrolling;
  Keep(g_prefScrolling.lines, 1, 150, scrolling.lines);
  Keep(g_prefScrolling.delay, 0, 3000, scrolling.delay);

  // Staffs and tablature.
  const KPrefStaffLines staffs;
  Keep(g_prefStaffLines.initialStaffLength, 50, kLargestLineLength, staffs.initialStaffLength);
  const KPrefStaffLines2 staffs2;
  KPrefStaffLines2& s2 = g_prefStaffLines2;
  Keep(s2.tabLineSpacing, 8, 16, staffs2.tabLineSpacing);
  Keep(s2.autoStem, 0, 2, staffs2.autoStem);
  Keep(s2.banjoStartFret, 0, 24, staffs2.banjoStartFret);
  Keep(s2.defaultIndent, 0, 1000, staffs2.defaultIndent);
  Keep(s2.spaceAboveStaff, 0, 500, staffs2.spaceAboveStaff);
  Keep(s2.spaceBelowStaff, 0, 500, staffs2.spaceBelowStaff);
  Keep(s2.spaceAboveTab, 0, 500, staffs2.spaceAboveTab);
  Keep(s2.spaceBelowTab, 0, 500, staffs2.spaceBelowTab);
  Keep(g_prefStaffLines3.evenSpacing, 1, 15, KPrefStaffLines3{}.evenSpacing);

  // Chords.
  const KPrefChords2 chords;
  KPrefChords2& c = g_prefChords2;
  Keep(c.diagramWidth, 25, 250, chords.diagramWidth);
  Keep(c.diagramHeight, 25, 250, chords.diagramHeight);
  Keep(c.arpeggioDelay, 0, 2000, chords.arpeggioDelay);
  Keep(c.fretNumberPos, 0, 2, chords.fretNumberPos);
  Keep(c.barreStyle, 0, 2, chords.barreStyle);
  Keep(c.variationsView, 0, 2, chords.variationsView);

  // Export.
  Flag(g_prefExporting.imageFormat, 0);

  // MIDI.
  const KPrefMidi midi;
  Keep(g_prefMidi.tempo, 1, kFastestTempo, midi.tempo);
  Keep(g_prefMidi.loudness, 0, kHighestNote, midi.loudness);
  Keep(g_prefMidi.outputDevice, -1, 255, midi.outputDevice);
  Keep(g_prefMidiEffects.depthFactor, 0, 1000, KPrefMidiEffects{}.depthFactor);
  const KPrefMidiImport import;
  KPrefMidiImport& mi = g_prefMidiImport;
  Keep(mi.lineTypes, 0, 3, import.lineTypes);
  Keep(mi.trebleUpperTone, 0, kHighestNote, import.trebleUpperTone);
  Keep(mi.bassLowerTone, 0, kHighestNote, import.bassLowerTone);
  Keep(mi.keyboardPercent, 1, 100, import.keyboardPercent);
  Keep(mi.splitTone, 0, kHighestNote, import.splitTone);
  Keep(mi.lineLength, 60, kLargestLineLength, import.lineLength);
  Keep(mi.metronomeSound, 0, kHighestNote, import.metronomeSound);
  Keep(mi.metronomeLoudness, 0, kHighestNote, import.metronomeLoudness);
  const KPrefMidiInput input;
  KPrefMidiInput& in = g_prefMidiInput;
  Keep(in.shortestImportNote, 0, 3, input.shortestImportNote);
  Keep(in.inputDevice, 0, 255, input.inputDevice);
  Keep(in.liveLineLength, 60, kLargestLineLength, input.liveLineLength);
  Keep(in.tempo, 1, kFastestTempo, input.tempo);
  Keep(in.triggerTone, 0, kHighestNote, input.triggerTone);
  Keep(in.shortestLiveNote, 0, 3, input.shortestLiveNote);
  Keep(in.liveTrigger, 0, 2, input.liveTrigger);
  Keep(in.lineType, 0, 3, input.lineType);
  const KPrefMidiInstruments instruments;
  KPrefMidiInstruments& pi = g_prefMidiInstruments;
  const std::pair<int*, int> programs[] = {
      {&pi.treble, instruments.treble}, {&pi.bass, instruments.bass},   {&pi.tab, instruments.tab},
      {&pi.alto, instruments.alto},     {&pi.tenor, instruments.tenor}, {&pi.bassTab, instruments.bassTab}};
  for (const auto& [value, builtIn] : programs) Keep(*value, 0, 130, builtIn);

  // The copies the reader made of values put back here.
  g_printCorrX = pc.symbolSizeX;
  g_printCorrY = pc.symbolSizeY;
  g_tabDigitOffset = pc.tabDigitOffset;
  g_defaultLineLength = g_prefStaffLines.initialStaffLength;
  g_tabStringSpacing = s2.tabLineSpacing;
  g_MidiOutDevice = g_prefMidi.outputDevice;
  g_liveLineType = in.lineType;
  g_deviceDpiX = p.resolutionX;
  g_deviceResX = p.resolutionX * o.printSize / 100;
  g_deviceResY = p.resolutionY * o.printSize / 100;
}

KWindowPlacement FitOnScreen(const KWindowPlacement& window, int screenWidth, int screenHeight) {
  KWindowPlacement fitted = window;
  fitted.width = std::clamp(window.width, std::min(100, screenWidth), std::max(1, screenWidth));
  fitted.height = std::clamp(window.height, std::min(100, screenHeight), std::max(1, screenHeight));
  fitted.left = std::clamp(window.left, 0, std::max(0, screenWidth - fitted.width));
  fitted.top = std::clamp(window.top, 0, std::max(0, screenHeight - fitted.height));
  return fitted;
}
