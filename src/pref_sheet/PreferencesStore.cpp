// Storing the preferences pages on OK: group by group, the page values (with
// their conversions) are compared with the preference variables; a group
// with a changed value gets its limits applied and its new values, and is
// listed for writing. A group that did not change is not touched, so OK
// without a change writes nothing.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <type_traits>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/NoteConversions.h"
#include "common/ViewServices.h"
#include "dialogs/MarginUnits.h"
#include "lines/KSpeedLine.h"
#include "model/DocServices.h"
#include "pref_sheet/PreferencesSheet.h"

namespace {

// The largest margin that the preferences keep: 3 inches, or 75 millimetres.
constexpr int kLargestDefaultMargin[2] = {300, 75};

// Stores the values into the variables when any differs; true when they did.
// (The groups are records of ints: equal records have equal bytes.)
template <typename T>
bool Update(T& variables, const T& values) {
  static_assert(std::has_unique_object_representations_v<T>);
  if (std::memcmp(&variables, &values, sizeof(T)) == 0) return false;
  variables = values;
  return true;
}

// A window's place as the page shows it.
struct KWindowValues {
  int width, height, left, top;
  bool operator==(const KWindowValues&) const = default;
};

bool FolderUsable(const KPrefSheetContext& context, const CString& folder) {
  if (context.folderUsable) return context.folderUsable(folder);
  std::error_code error;
  return !folder.IsEmpty() && std::filesystem::is_directory(std::filesystem::path(folder.ToUtf8()), error);
}

// A note name from a page: its number when it reads as one above 0, else the
// number it had.
int ToneOf(const CString& name, int previous) {
  const int number = ParseNoteName(name);
  return number > 0 ? number : previous;
}

// The first number of a font text (its height).
int FontHeightOf(const CString& fontText, int previous) {
  int value = 0;
  bool any = false;
  bool negative = false;
  for (int i = 0; i < fontText.GetLength(); ++i) {
    const char c = fontText[i];
    if (i == 0 && c == '-') {
      negative = true;
    } else if (c >= '0' && c <= '9' && value < 100000) {
      value = value * 10 + (c - '0');
      any = true;
    } else {
      break;
    }
  }
  return any ? (negative ? -value : value) : previous;
}

std::uint32_t EffectsWord(const KPrefMidiEffects& e) {
  std::uint32_t word = kEffectsBase;
  if (e.flags[0] != 0) word += 1;
  for (int i = 1; i < kMidiEffectFlagCount; ++i) {
    if (e.flags[i] > 0) word += std::uint32_t{1} << i;
  }
  if (e.staccato > 0) word += 0x10000;
  return word;
}

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

}  // namespace

KPrefStoreResult StorePreferencePages(const KPreferencesSheet& pages, const KPrefSheetContext& context) {
  KPrefStoreResult result;
  auto changed = [&result](KPrefGroup group) { result.changed.push_back(group); };
  const KPropDocLayPrt& p1 = pages.docLayPrt;
  const KPropOptAsvVw& p2 = pages.optAsvVw;
  const KPropStfDrmTxt& p3 = pages.stfDrmTxt;
  const KPropTab& p4 = pages.tab;
  const KPropChord& p5 = pages.chord;
  const KPropSclTxfTrns& p6 = pages.sclTxfTrns;
  const KPropMIDI& p7 = pages.midi;
  const KPropMIDIInput& p8 = pages.midiInput;

  // 1. The main window.
  {
    const KWindowValues shown{p1.mainWidth, p1.mainHeight, p1.mainLeft, p1.mainTop};
    const KWindowPlacement before = ShownMainWindow(context);
    const KWindowValues stored{before.width, before.height, std::max(0, before.left),
                               std::max(0, before.top)};
    if (!(shown == stored)) {
      g_rcMainWnd.width = std::max(120, shown.width);
      g_rcMainWnd.height = std::max(120, shown.height);
      g_rcMainWnd.left = std::min(shown.left, context.screenWidth - 100);
      g_rcMainWnd.top = std::min(shown.top, context.screenHeight - 100);
      changed(KPrefGroup::kStavlinXYSizeXYPos);
      result.mainWindowMoved = true;
    }
  }
  // 2. New score windows and the start-up action.
  {
    const KWindowValues shown{p1.docWidth, p1.docHeight, p1.docLeft, p1.docTop};
    const KWindowValues stored{g_prefNewDocWnd.width, g_prefNewDocWnd.height, g_prefNewDocWnd.left,
                               g_prefNewDocWnd.top};
    if (!(shown == stored) || p1.startupAction != g_nStartupAction) {
      g_prefNewDocWnd.width = std::max(100, shown.width);
      g_prefNewDocWnd.height = std::max(100, shown.height);
      g_prefNewDocWnd.left = std::min(shown.left, g_rcMainWnd.width - 20);
      g_prefNewDocWnd.top = std::min(shown.top, g_rcMainWnd.height - 40);
      g_nStartupAction = p1.startupAction;
      changed(KPrefGroup::kNewDocXYSizeXYPos);
    }
  }
  // 3. The start folder, when it can be entered.
  if (p1.startFolder != g_strStartFolder && FolderUsable(context, p1.startFolder)) {
    g_strStartFolder = p1.startFolder;
    changed(KPrefGroup::kStartFolder);
    result.startFolderChanged = true;
  }
  // 4. Margins: rounded, so that a margin shown and not changed stores back
  // as it was.
  {
    const int units = p1.units == kMarginMillimetres ? kMarginMillimetres : kMarginInches;
    const double shown[4] = {p1.marginTop, p1.marginBottom, p1.marginLeft, p1.marginRight};
    int margins[4];
    for (int k = 0; k < 4; ++k)
      margins[k] = std::min(StoredMargin(shown[k], units), kLargestDefaultMargin[units]);
    KPrefPgMargins values{margins[0], margins[1], margins[2], margins[3], units};
    const KPrefPgMargins& stored = g_prefPgMargins;
    if (values.top != stored.top || values.bottom != stored.bottom || values.left != stored.left ||
        values.right != stored.right || values.units != stored.units) {
      g_prefPgMargins = values;
      changed(KPrefGroup::kPgMargins);
    }
  }
  // 5. Page options.
  {
    KPrefPgOptions& o = g_prefPgOptions;
    if (p1.printSize != o.printSize || p1.showPageBreaks != o.showPageBreaks || p1.alert != o.alertOversize ||
        p1.overlap != o.pageOverlap) {
      if (p1.overlap >= 0 && p1.overlap <= 400) o.pageOverlap = p1.overlap;
      o.printSize = Clamp(p1.printSize, 20, 400);
      o.showPageBreaks = p1.showPageBreaks;
      o.alertOversize = p1.alert;
      changed(KPrefGroup::kPgOptions);
    }
  }
  // 6. Page numbers and their font.
  {
    KPrefPgNum& n = g_prefPgNum;
    if (p1.numberType != n.type || p1.numberVertical != n.vertical || p1.numberHorizontal != n.horizontal ||
        p1.pageXofY != n.pageXofY) {
      n = KPrefPgNum{p1.numberType, p1.numberVertical, p1.numberHorizontal, p1.pageXofY};
      changed(KPrefGroup::kPgNum);
    }
    if (p1.pageNumberFont != g_prefPgNumFont) {
      g_prefPgNumFont = p1.pageNumberFont;
      changed(KPrefGroup::kPgNumFont);
    }
  }
  // 7. Printing corrections; 0 and 99 mean no clipping.
  {
    KPrefPrintCorr& c = g_prefPrintCorr;
    if (p1.symbolSizeX != c.symbolSizeX || p1.symbolSizeY != c.symbolSizeY ||
        p1.clipping != c.ClippingCode() || p1.staffLineThickness != g_lineWidthSetting ||
        p1.slurThickness != c.slurThickness || p1.tabDigitPosition != c.tabDigitOffset) {
      c.symbolSizeX = Clamp(p1.symbolSizeX, 50, 200);
      c.symbolSizeY = Clamp(p1.symbolSizeY, 50, 200);
      // The code is two digits; the page's range keeps it there, and so
      // does this, whoever filled the page.
      const int clipping = Clamp(p1.clipping, 0, 99);
      if (clipping == 0 || clipping == 99) {
        c.noClipping = 1;
        c.clipTens = 0;
        c.clipUnits = 4;
      } else {
        c.noClipping = 0;
        c.clipTens = clipping / 10;
        c.clipUnits = clipping % 10;
      }
      g_fretBoxMargin = c.ClippingCode();
      g_lineWidthSetting = Clamp(p1.staffLineThickness, 0, 20);
      c.slurThickness = Clamp(p1.slurThickness, 0, 20);
      c.tabDigitOffset = Clamp(p1.tabDigitPosition, -10, 10);
      g_printCorrX = c.symbolSizeX;
      g_printCorrY = c.symbolSizeY;
      g_tabDigitOffset = c.tabDigitOffset;
      changed(KPrefGroup::kPrintCorr);
    }
  }
  // 8. Text scaling and chord diagram colours.
  if (p1.fontScaling != g_textPrintCorr || p1.invertDiagrams != g_prefPrintCorr2.invertChordDiagrams) {
    g_textPrintCorr = std::max(10, p1.fontScaling);
    g_prefPrintCorr2.invertChordDiagrams = p1.invertDiagrams;
    changed(KPrefGroup::kPrintCorr2);
  }
  // 9. Entry options.
  if (Update(g_prefEntryOptions,
             KPrefEntryOptions{p2.cursorMode, p2.keyboardChangesCursor, p2.upDownMode, p2.advanceAfterNote}))
    changed(KPrefGroup::kEntryOptions);
  // 10. Bars and the clock.
  {
    KPrefToolViewOptions& t = g_prefToolViewOptions;
    if (p2.mainToolbar != t.showMainToolbar || p2.extraToolbar != t.showExtraToolbar ||
        p2.statusBar != t.showStatusBar || p2.clock != t.clock ||
        p2.saveToolboxesOnQuit != g_bRememberToolBoxes) {
      t = KPrefToolViewOptions{p2.mainToolbar, p2.extraToolbar, p2.statusBar, p2.clock};
      g_bRememberToolBoxes = p2.saveToolboxesOnQuit;
      changed(KPrefGroup::kToolViewOptions);
      result.barsChanged = true;
    }
  }
  // 11. The toolbox positions now, when asked.
  result.saveToolboxPositions = p2.saveToolboxesNow != 0;
  // 12. What new scores show; the line spacing is limited first.
  {
    const int spacing = Clamp(p2.lineSpacing, 0, 100);
    KPrefDocViewOptions& d = g_prefDocViewOptions;
    if (p2.lineLabels != d.lineLabels || p2.barNumbering != d.barNumbering ||
        p2.largeSymbols != d.largeSymbols || spacing != g_lineGap) {
      if (spacing != g_lineGap) result.relayout = true;
      d = KPrefDocViewOptions{p2.lineLabels, p2.barNumbering, p2.largeSymbols};
      g_lineGap = spacing;
      changed(KPrefGroup::kDocViewOptions);
    }
  }
  // 13. Autosave and undo.
  {
    KPrefAutoSave& a = g_prefAutoSave;
    if (p2.autosaveMode != a.mode || p2.autosaveInterval != a.interval || p2.makeBackups != a.makeBackups ||
        p2.undoEnabled != a.undoEnabled || p2.undoLevels != a.undoLevels) {
      a = KPrefAutoSave{p2.autosaveMode, std::max(1, p2.autosaveInterval), p2.makeBackups, p2.undoEnabled,
                        p2.undoLevels};
      changed(KPrefGroup::kAutoSave);
    }
  }
  // 14. Tablature options.
  {
    KPrefTabOptions& t = g_prefTabOptions;
    if (p4.fretFromPrevious != t.fretFromPrevious || p4.stemsOnTab != t.stemsOnTab ||
        p4.tabWord != t.showTabWord || p4.altPitches != t.altTuningPitches ||
        p4.banjoFingering != t.banjoFingering || p4.dulcimerPlus != g_HalfFretLabels) {
      t.fretFromPrevious = p4.fretFromPrevious;
      t.stemsOnTab = p4.stemsOnTab;
      t.showTabWord = p4.tabWord;
      t.altTuningPitches = p4.altPitches;
      t.banjoFingering = p4.banjoFingering;
      g_HalfFretLabels = p4.dulcimerPlus;
      g_prefFiveStringTuning = t.banjoFingering != 0 ? kBanjoFiveStringTuning : kPlainFiveStringTuning;
      changed(KPrefGroup::kTabOptions);
    }
  }
  // 15, 16. The default tunings, when the buttons made the tunings in use the
  // defaults; the tab font.
  if (p4.tuningChanged != 0 &&
      (p4.defaultTuning != g_prefTabTuning || p4.defaultLabelledTuning != g_prefLabelledTabTuning)) {
    g_prefTabTuning = p4.defaultTuning;
    g_prefLabelledTabTuning = p4.defaultLabelledTuning;
    changed(KPrefGroup::kTabTuning);
  }
  if (p4.bassTuningChanged != 0 && p4.defaultBassTuning != g_prefBassTabTuning) {
    g_prefBassTabTuning = p4.defaultBassTuning;
    changed(KPrefGroup::kBassTabTuning);
  }
  if (p4.tabFont != g_prefTabFont) {
    g_prefTabFont = p4.tabFont;
    g_tabDigitHeight = FontHeightOf(p4.tabFont, g_tabDigitHeight);
    changed(KPrefGroup::kTabFont);
  }
  // 17. Staff lines.
  {
    KPrefStaffLines& s = g_prefStaffLines;
    if (p3.fixedLength != s.allFixedLength || p3.staffLength != s.initialStaffLength ||
        p3.extentMarker != s.showExtentMarker || p3.barWord != s.showBarWord ||
        p3.drumClefStyle != s.drumClefStyle) {
      s.allFixedLength = p3.fixedLength;
      s.initialStaffLength = Clamp(p3.staffLength, 50, 32000);
      s.showExtentMarker = p3.extentMarker;
      s.showBarWord = p3.barWord;
      s.drumClefStyle = p3.drumClefStyle;
      g_defaultLineLength = s.initialStaffLength;
      changed(KPrefGroup::kStaffLines);
    }
  }
  // 18. Bars, stems and tab lines; a banjo start fret outside 0 to 17 is 5.
  {
    const int banjoFret = p4.banjoStartFret >= 0 && p4.banjoStartFret <= 17 ? p4.banjoStartFret : 5;
    KPrefStaffLines2& s = g_prefStaffLines2;
    if (p3.autoBars != s.autoBarEntry || p3.autoJoin != s.autoJoin || p3.autoStem != s.autoStem ||
        p4.tabSpacing != s.tabLineSpacing || p3.warnTiming != s.warnBarTiming ||
        banjoFret != s.banjoStartFret) {
      if (p4.tabSpacing != s.tabLineSpacing) {
        g_tabStringSpacing = p4.tabSpacing;
        result.relayout = true;
      }
      s.autoBarEntry = p3.autoBars;
      s.autoJoin = p3.autoJoin;
      s.autoStem = p3.autoStem;
      s.tabLineSpacing = p4.tabSpacing;
      s.warnBarTiming = p3.warnTiming;
      s.banjoStartFret = banjoFret;
      changed(KPrefGroup::kStaffLines2);
    }
  }
  // 19. Wrapping, staff ends and aligned bars.
  {
    KPrefStaffLines3& s = g_prefStaffLines3;
    KPrefStaffLines3 values = s;
    values.autoWrap = p3.autoWrap;
    values.titleFontThreshold = p4.titleThreshold;
    values.rewrapBelow = p3.rewrapBelow;
    values.leftBarMusic = p3.leftBarMusic;
    values.leftBarTab = p3.leftBarTab;
    values.rightBarMusic = p3.rightBarMusic;
    values.rightBarTab = p3.rightBarTab;
    values.keyboardBars = p3.keyboardBars;
    values.keepBarsAligned = p3.keepBarsAligned;
    values.trebleTabBars = p3.trebleTabBars;
    values.resetBarCount = p4.resetBarCount;
    values.evenSpacing = p3.evenSpacing;
    const bool aligned = values.keepBarsAligned != s.keepBarsAligned;
    if (Update(s, values)) {
      result.keepBarsAlignedChanged = aligned;
      changed(KPrefGroup::kStaffLines3);
    }
  }
  // 20. Fonts and chords.
  if (p3.staffTextFont != g_prefExtTextFont) {
    g_prefExtTextFont = g_staffTextFont = p3.staffTextFont;
    changed(KPrefGroup::kExtTextFont);
  }
  if (p3.tripletFont != g_prefTripletFont) {
    g_prefTripletFont = g_tripletFont = p3.tripletFont;
    changed(KPrefGroup::kTripletFont);
  }
  {
    KPrefChords& c = g_prefChords;
    if (p5.showDiagrams != c.showDiagrams || p5.variationNumbers != c.variationNumbering ||
        p5.scan != c.scanForCustomChords || p5.customOnTop != c.customOnTop) {
      c.showDiagrams = p5.showDiagrams;
      c.variationNumbering = p5.variationNumbers;
      c.scanForCustomChords = p5.scan;
      c.customOnTop = p5.customOnTop;
      changed(KPrefGroup::kChords);
    }
  }
  {
    const int showFingering = p5.fingering == 0 ? 1 : 0;
    KPrefChords2 values = g_prefChords2;
    values.fretNumberPos = p5.fretPosition;
    values.barreStyle = p5.barreStyle;
    values.playSelected = p5.playSelected;
    values.onlyCustom = p5.onlyCustom;
    values.diagramWidth = p5.diagramWidth;
    values.diagramHeight = p5.diagramHeight;
    values.altFromDictionary = p5.altFromDictionary;
    values.arpeggioDelay = p5.arpeggioDelay;
    values.altFromCustom = p5.altFromCustom;
    values.variationsView = p5.variationsView;
    const bool fingering = showFingering != g_fingerRowOption;
    if (Update(g_prefChords2, values) || fingering) {
      g_fingerRowOption = showFingering;
      changed(KPrefGroup::kChords2);
    }
  }
  if (p5.chordNameFont != g_prefChordNameFont) {
    g_prefChordNameFont = g_chordNameFont = p5.chordNameFont;
    changed(KPrefGroup::kChordNameFont);
  }
  if (p4.rhythmFont != g_prefRhythmFont) {
    g_prefRhythmFont = g_rhythmFont = p4.rhythmFont;
    changed(KPrefGroup::kRhythmFont);
  }
  if (p4.textFont != g_prefTextFont) {
    g_prefTextFont = p4.textFont;
    changed(KPrefGroup::kTextFont);
  }
  // 21. Auto-scrolling: the delay is edited in seconds, kept in tenths.
  {
    KPrefScrolling& s = g_prefScrolling;
    if (p6.scrollLines != s.lines || p6.scrollSeconds != s.delay / 10 || p6.groupAsOne != s.countGroupAsOne ||
        p6.sound != s.soundOn || p6.repeat != s.repeat) {
      s = KPrefScrolling{Clamp(p6.scrollLines, 1, 150), Clamp(p6.scrollSeconds, 1, 30) * 10, p6.groupAsOne,
                         p6.sound, p6.repeat};
      changed(KPrefGroup::kScrolling);
    }
  }
  // 22. Text files; the text-tab kinds from the three radio pairs.
  {
    KPrefTextFiles values = g_prefTextFiles;
    values.autoLineBreaks = p6.lineBreaks;
    values.openAsScore = p6.openAsScore;
    values.autoTranslateTab = p6.translateTab;
    values.textTabKinds = (p6.sixStringsBass == 1 ? 1 : 0) + 2 * (p6.fiveStringsBass == 1 ? 1 : 0) +
                          4 * (p6.fourStringsBass == 1 ? 1 : 0);
    values.removeTextTab = p6.removeTextTab;
    values.includeAbc = p6.abcTreble;
    values.convertAbc = p6.convertAbc;
    if (Update(g_prefTextFiles, values)) changed(KPrefGroup::kTextFiles);
  }
  // 23. Image export, translation and transposition.
  if (Update(g_prefExporting, KPrefExporting{p6.imageFormat, p6.interlaced})) changed(KPrefGroup::kExporting);
  if (Update(g_prefTransAltTun, KPrefTransAltTun{p6.altTuningPlacement, p6.wrapAbc}))
    changed(KPrefGroup::kTransAltTun);
  {
    KPrefTranslation values = g_prefTranslation;
    values.mergeStaffs = p6.mergeStaffs;
    values.shiftBassIntoRange = p6.shiftBass;
    values.takeAbove = p6.takeAbove;
    values.takeBelow = p6.takeBelow;
    if (Update(g_prefTranslation, values)) changed(KPrefGroup::kTranslation);
  }
  if (Update(g_prefTranspose, KPrefTranspose{p6.accidentals, p6.transposePlacement}))
    changed(KPrefGroup::kTranspose);
  // 24. Playback; values that make no sense get the usual ones. The output
  // device is compared as entered: "none chosen" (-1) stays while the device
  // field is left alone, and a device number entered as 0 or less is 2.
  {
    const int deviceBefore = g_prefMidi.outputDevice;
    const KPrefMidi entered{p7.tempo, p7.loop, p7.ignoreRepeats, p7.loudness, p7.outputDevice, p7.showCaret};
    if (Update(g_prefMidi, entered)) {
      KPrefMidi& m = g_prefMidi;
      if (m.tempo < 1 || m.tempo > 450) m.tempo = 120;
      if (m.loudness < 0 || m.loudness > 127) m.loudness = 100;
      if (m.outputDevice != deviceBefore && m.outputDevice <= 0) m.outputDevice = 2;
      g_MidiOutDevice = m.outputDevice;
      changed(KPrefGroup::kMidi);
    }
  }
  // 25. Playback effects and the spaces of imported scores.
  {
    KPrefMidiEffects values = g_prefMidiEffects;
    for (int i = 0; i < kMidiEffectFlagCount; ++i) values.flags[i] = p7.effects[i];
    values.staccato = p7.effects[KPropMIDI::kEffectCount - 1];
    values.depthFactor = p7.depthFactor;
    if (Update(g_prefMidiEffects, values)) {
      g_defaultEffects = EffectsWord(g_prefMidiEffects);
      changed(KPrefGroup::kMidiEffects);
    }
  }
  if (Update(g_prefAutoFormat, KPrefAutoFormat{p8.addSpaces, p8.afterQuarter, p8.afterHalf, p8.afterCluster,
                                               p8.beforeBar, p8.afterBar}))
    changed(KPrefGroup::kAutoFormat);
  // 26. MIDI file import; a note name that does not read keeps the number.
  {
    KPrefMidiImport values = g_prefMidiImport;
    values.lineTypes = p8.importTypes;
    values.trebleUpperTone = ToneOf(p8.trebleThreshold, values.trebleUpperTone);
    values.bassLowerTone = ToneOf(p8.bassThreshold, values.bassLowerTone);
    values.keyboardPercent = p8.keyboardPercent;
    values.splitTone = ToneOf(p8.splitTone, values.splitTone);
    values.lineLength = p8.importLength;
    values.metronomeSound = p8.metronomeSound;
    values.metronomeLoudness = p8.metronomeLoudness;
    if (Update(g_prefMidiImport, values)) changed(KPrefGroup::kMidiImport);
  }
  // 27. Live input.
  {
    KPrefMidiInput values = g_prefMidiInput;
    values.shortestImportNote = p8.importShortest;
    values.inputDevice = p8.inputDevice;
    values.metronome = p8.metronome;
    values.remoteStartStop = p8.remote;
    values.liveLineLength = p8.liveLength;
    values.tempo = p8.liveTempo;
    values.triggerTone = ToneOf(p8.triggerTone, values.triggerTone);
    values.shortestLiveNote = p8.liveShortest;
    values.liveTrigger = p8.liveTrigger;
    values.lineType = p8.liveLineType;
    values.transposeGuitar = p8.transposeGuitar;
    if (Update(g_prefMidiInput, values)) {
      g_liveLineType = values.lineType;
      changed(KPrefGroup::kMidiInput);
    }
  }
  // 28. Instruments; a number outside 1 to 129 gets the line's usual one.
  {
    auto instrument = [](int value, int fallback) { return value >= 1 && value <= 129 ? value : fallback; };
    KPrefMidiInstruments values = g_prefMidiInstruments;
    values.treble = instrument(p7.treble, 1);
    values.bass = instrument(p7.bass, 34);
    values.tab = instrument(p7.tab, 26);
    values.alto = instrument(p7.alto, 42);
    values.tenor = instrument(p7.tenor, 58);
    values.bassTab = instrument(p7.bassTab, 34);
    values.tabOctaveLower = p7.tabOctaveLower;
    values.playWhileEditing = p7.playWhileEditing;
    if (Update(g_prefMidiInstruments, values)) changed(KPrefGroup::kMidiInstruments);
  }
  return result;
}
