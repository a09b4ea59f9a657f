// The sheet's pages, and how they are filled from the preference variables:
// margins as distances from the paper's edge, the clipping code as one
// number, the scrolling delay in seconds, the text-tab kinds as three radio
// pairs, the fingering flag as a radio, and note numbers as note names.

#include "pref_sheet/PreferencesSheet.h"

#include <algorithm>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "dialogs/MarginUnits.h"
#include "model/DocServices.h"
#include "platform/StringTable.h"

namespace {

constexpr UINT kSheetCaption = 8002;
// The note names by (number + 4) mod 12, and the octave digits.
constexpr const char* kNoteNames[12] = {"Ab", "A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G"};

}  // namespace

KPreferencesSheet::KPreferencesSheet() : m_sheet(kSheetId, LoadString(kSheetCaption).Str()) {
  for (KModalDialog* page : std::initializer_list<KModalDialog*>{&docLayPrt, &optAsvVw, &stfDrmTxt, &tab,
                                                                 &chord, &sclTxfTrns, &midi, &midiInput})
    m_sheet.AddPage(*page);
}

bool KPrefStoreResult::Changed(KPrefGroup group) const {
  return std::find(changed.begin(), changed.end(), group) != changed.end();
}

CString ToneNameOf(int number) {
  const int shifted = std::max(0, number + 4);
  // Octaves change at A: Ab is counted with the A above it.
  const int octave = std::clamp(shifted / 12 - 1, 0, 9);
  return CString(kNoteNames[shifted % 12]) + static_cast<char>('0' + octave);
}

KWindowPlacement ShownMainWindow(const KPrefSheetContext& context) {
  return g_rcMainWnd.width > 0 ? g_rcMainWnd : context.mainWindow;
}

void FillPreferencePages(KPreferencesSheet& pages, const KPrefSheetContext& context) {
  // Page 1.
  KPropDocLayPrt& p1 = pages.docLayPrt;
  p1.printSize = g_prefPgOptions.printSize;
  p1.docWidth = g_prefNewDocWnd.width;
  p1.docHeight = g_prefNewDocWnd.height;
  p1.docLeft = g_prefNewDocWnd.left;
  p1.docTop = g_prefNewDocWnd.top;
  p1.symbolSizeX = g_prefPrintCorr.symbolSizeX;
  p1.symbolSizeY = g_prefPrintCorr.symbolSizeY;
  p1.numberHorizontal = g_prefPgNum.horizontal;
  p1.numberVertical = g_prefPgNum.vertical;
  p1.numberType = g_prefPgNum.type;
  const KWindowPlacement shownMain = ShownMainWindow(context);
  p1.mainWidth = shownMain.width;
  p1.mainHeight = shownMain.height;
  p1.mainLeft = std::max(0, shownMain.left);
  p1.mainTop = std::max(0, shownMain.top);
  p1.clipping = g_prefPrintCorr.ClippingCode();
  p1.showPageBreaks = g_prefPgOptions.showPageBreaks;
  p1.units = g_prefPgMargins.units != 0 ? kMarginMillimetres : kMarginInches;
  p1.marginTop = ShownMargin(g_prefPgMargins.top, p1.units);
  p1.marginBottom = ShownMargin(g_prefPgMargins.bottom, p1.units);
  p1.marginLeft = ShownMargin(g_prefPgMargins.left, p1.units);
  p1.marginRight = ShownMargin(g_prefPgMargins.right, p1.units);
  p1.pageXofY = g_prefPgNum.pageXofY;
  p1.overlap = g_prefPgOptions.pageOverlap;
  p1.alert = g_prefPgOptions.alertOversize;
  p1.staffLineThickness = g_lineWidthSetting;
  p1.slurThickness = g_prefPrintCorr.slurThickness;
  p1.tabDigitPosition = g_prefPrintCorr.tabDigitOffset;
  p1.startFolder = g_strStartFolder;
  p1.startupAction = g_nStartupAction;
  p1.fontScaling = g_textPrintCorr;
  p1.invertDiagrams = g_prefPrintCorr2.invertChordDiagrams;
  p1.pageNumberFont = g_prefPgNumFont;
  const KWindowPlacement& main = context.mainWindow;
  const int mainRect[4] = {main.width, main.height, main.left, main.top};
  const KWindowPlacement& last = context.lastScoreWindow;
  const int lastRect[4] = {last.width, last.height, last.left, last.top};
  for (int k = 0; k < 4; ++k) {
    p1.mainRect[k] = std::max(0, mainRect[k]);
    p1.lastDocRect[k] = std::max(0, lastRect[k]);
  }

  // Page 2.
  KPropOptAsvVw& p2 = pages.optAsvVw;
  p2.makeBackups = g_prefAutoSave.makeBackups;
  p2.autosaveInterval = g_prefAutoSave.interval;
  p2.autosaveMode = g_prefAutoSave.mode;
  p2.largeSymbols = g_prefDocViewOptions.largeSymbols;
  p2.barNumbering = g_prefDocViewOptions.barNumbering;
  p2.lineSpacing = g_lineGap;
  p2.keyboardChangesCursor = g_prefEntryOptions.keyboardChangesCursor;
  p2.upDownMode = g_prefEntryOptions.upDownMode;
  p2.cursorMode = g_prefEntryOptions.cursorMode;
  p2.clock = g_prefToolViewOptions.clock;
  p2.mainToolbar = g_prefToolViewOptions.showMainToolbar;
  p2.statusBar = g_prefToolViewOptions.showStatusBar;
  p2.saveToolboxesNow = 0;
  p2.saveToolboxesOnQuit = g_bRememberToolBoxes;
  p2.extraToolbar = g_prefToolViewOptions.showExtraToolbar;
  p2.advanceAfterNote = g_prefEntryOptions.advanceAfterNote;
  p2.lineLabels = g_prefDocViewOptions.lineLabels;
  p2.undoEnabled = g_prefAutoSave.undoEnabled;
  p2.undoLevels = g_prefAutoSave.undoLevels;

  // Page 3.
  KPropStfDrmTxt& p3 = pages.stfDrmTxt;
  const KPrefStaffLines& staff = g_prefStaffLines;
  const KPrefStaffLines2& staff2 = g_prefStaffLines2;
  const KPrefStaffLines3& staff3 = g_prefStaffLines3;
  p3.fixedLength = staff.allFixedLength;
  p3.staffLength = staff.initialStaffLength;
  p3.extentMarker = staff.showExtentMarker;
  p3.barWord = staff.showBarWord;
  p3.drumClefStyle = staff.drumClefStyle;
  p3.autoBars = staff2.autoBarEntry;
  p3.warnTiming = staff2.warnBarTiming;
  p3.autoStem = staff2.autoStem;
  p3.autoWrap = staff3.autoWrap;
  p3.rewrapBelow = staff3.rewrapBelow;
  p3.leftBarTab = staff3.leftBarTab;
  p3.leftBarMusic = staff3.leftBarMusic;
  p3.rightBarTab = staff3.rightBarTab;
  p3.rightBarMusic = staff3.rightBarMusic;
  p3.keyboardBars = staff3.keyboardBars;
  p3.keepBarsAligned = staff3.keepBarsAligned;
  p3.trebleTabBars = staff3.trebleTabBars;
  p3.evenSpacing = staff3.evenSpacing;
  p3.autoJoin = staff2.autoJoin;
  p3.staffTextFont = g_prefExtTextFont;
  p3.tripletFont = g_prefTripletFont;

  // Page 4.
  KPropTab& p4 = pages.tab;
  const KPrefTabOptions& tab = g_prefTabOptions;
  p4.altPitches = tab.altTuningPitches;
  p4.stemsOnTab = tab.stemsOnTab;
  p4.tabWord = tab.showTabWord;
  p4.fretFromPrevious = tab.fretFromPrevious;
  p4.banjoFingering = tab.banjoFingering;
  p4.dulcimerPlus = g_HalfFretLabels;
  p4.tabSpacing = staff2.tabLineSpacing;
  p4.banjoStartFret = staff2.banjoStartFret;
  p4.titleThreshold = staff3.titleFontThreshold;
  p4.resetBarCount = staff3.resetBarCount;
  p4.currentTuning = context.currentTuning;
  p4.currentLabelledTuning = context.currentLabelledTuning;
  p4.currentBassTuning = context.currentBassTuning;
  p4.defaultTuning = g_prefTabTuning;
  p4.defaultLabelledTuning = g_prefLabelledTabTuning;
  p4.defaultBassTuning = g_prefBassTabTuning;
  p4.tabFont = g_prefTabFont;
  p4.rhythmFont = g_prefRhythmFont;
  p4.textFont = g_prefTextFont;
  p4.tuningChanged = 0;
  p4.bassTuningChanged = 0;

  // Page 5.
  KPropChord& p5 = pages.chord;
  const KPrefChords& chords = g_prefChords;
  const KPrefChords2& chords2 = g_prefChords2;
  p5.scan = chords.scanForCustomChords;
  p5.showDiagrams = chords.showDiagrams;
  p5.variationNumbers = chords.variationNumbering;
  p5.customOnTop = chords.customOnTop;
  p5.fretPosition = chords2.fretNumberPos;
  p5.barreStyle = chords2.barreStyle;
  p5.fingering = g_fingerRowOption == 1 ? 0 : 1;
  p5.onlyCustom = chords2.onlyCustom;
  p5.playSelected = chords2.playSelected;
  p5.diagramWidth = chords2.diagramWidth;
  p5.diagramHeight = chords2.diagramHeight;
  p5.altFromDictionary = chords2.altFromDictionary;
  p5.arpeggioDelay = chords2.arpeggioDelay;
  p5.altFromCustom = chords2.altFromCustom;
  p5.variationsView = chords2.variationsView;
  p5.chordNameFont = g_prefChordNameFont;

  // Page 6.
  KPropSclTxfTrns& p6 = pages.sclTxfTrns;
  p6.groupAsOne = g_prefScrolling.countGroupAsOne;
  p6.repeat = g_prefScrolling.repeat;
  p6.sound = g_prefScrolling.soundOn;
  p6.scrollLines = g_prefScrolling.lines;
  p6.scrollSeconds = g_prefScrolling.delay / 10;
  p6.transposePlacement = g_prefTranspose.placement;
  p6.altTuningPlacement = g_prefTransAltTun.placement;
  p6.accidentals = g_prefTranspose.accidentals;
  const int kinds = g_prefTextFiles.textTabKinds;
  p6.sixStringsBass = kinds & 1;
  p6.fiveStringsBass = (kinds >> 1) & 1;
  p6.fourStringsBass = (kinds >> 2) & 1;
  p6.lineBreaks = g_prefTextFiles.autoLineBreaks;
  p6.openAsScore = g_prefTextFiles.openAsScore;
  p6.removeTextTab = g_prefTextFiles.removeTextTab;
  p6.translateTab = g_prefTextFiles.autoTranslateTab;
  p6.shiftBass = g_prefTranslation.shiftBassIntoRange;
  p6.mergeStaffs = g_prefTranslation.mergeStaffs;
  p6.takeAbove = g_prefTranslation.takeAbove;
  p6.takeBelow = g_prefTranslation.takeBelow;
  p6.interlaced = g_prefExporting.interlaced;
  p6.imageFormat = g_prefExporting.imageFormat;
  p6.abcTreble = g_prefTextFiles.includeAbc;
  p6.wrapAbc = g_prefTransAltTun.wrapAbc;
  p6.convertAbc = g_prefTextFiles.convertAbc;

  // Page 7.
  KPropMIDI& p7 = pages.midi;
  const KPrefMidi& m = g_prefMidi;
  const KPrefMidiInstruments& inst = g_prefMidiInstruments;
  p7.ignoreRepeats = m.ignoreRepeats;
  p7.loop = m.loop;
  p7.loudness = m.loudness;
  p7.tempo = m.tempo;
  p7.outputDevice = m.outputDevice;
  p7.bass = inst.bass;
  p7.tab = inst.tab;
  p7.treble = inst.treble;
  p7.alto = inst.alto;
  p7.tenor = inst.tenor;
  p7.bassTab = inst.bassTab;
  p7.showCaret = m.showCaret;
  p7.tabOctaveLower = inst.tabOctaveLower;
  for (int i = 0; i < kMidiEffectFlagCount; ++i) p7.effects[i] = g_prefMidiEffects.flags[i];
  p7.effects[KPropMIDI::kEffectCount - 1] = g_prefMidiEffects.staccato;
  p7.playWhileEditing = inst.playWhileEditing;
  p7.depthFactor = g_prefMidiEffects.depthFactor;

  // Page 8.
  KPropMIDIInput& p8 = pages.midiInput;
  const KPrefMidiInput& in = g_prefMidiInput;
  const KPrefMidiImport& imp = g_prefMidiImport;
  const KPrefAutoFormat& af = g_prefAutoFormat;
  p8.inputDevice = in.inputDevice;
  p8.importShortest = in.shortestImportNote;
  p8.metronome = in.metronome;
  p8.remote = in.remoteStartStop;
  p8.transposeGuitar = in.transposeGuitar;
  p8.liveLength = in.liveLineLength;
  p8.liveTempo = in.tempo;
  p8.triggerTone = ToneNameOf(in.triggerTone);
  p8.liveShortest = in.shortestLiveNote;
  p8.liveTrigger = in.liveTrigger;
  p8.liveLineType = in.lineType;
  p8.importTypes = imp.lineTypes;
  p8.trebleThreshold = ToneNameOf(imp.trebleUpperTone);
  p8.bassThreshold = ToneNameOf(imp.bassLowerTone);
  p8.keyboardPercent = imp.keyboardPercent;
  p8.splitTone = ToneNameOf(imp.splitTone);
  p8.importLength = imp.lineLength;
  p8.metronomeLoudness = imp.metronomeLoudness;
  p8.metronomeSound = imp.metronomeSound;
  p8.afterBar = af.afterBar;
  p8.afterCluster = af.afterCluster;
  p8.afterHalf = af.afterHalf;
  p8.afterQuarter = af.afterQuarter;
  p8.beforeBar = af.beforeBar;
  p8.addSpaces = af.addSpaces;
}
