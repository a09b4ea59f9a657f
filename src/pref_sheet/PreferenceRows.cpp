// The rows of the preferences pages, page by page in the order of the page's
// groups. A row's limits are those the store has always applied to it.

#include "pref_sheet/PreferenceRows.h"

#include <algorithm>
#include <array>

#include "common/AppServices.h"
#include "common/Globals.h"

namespace {

using G = KPrefGroup;

constexpr KPrefLimits Between(int low, int high) { return KPrefLimits{low, high, std::nullopt, false}; }
constexpr KPrefLimits AtLeast(int low) { return KPrefLimits{low, INT_MAX, std::nullopt, false}; }
// An instrument outside 1 to 129 is the line's usual one; compared as limited.
constexpr KPrefLimits Instrument(int usual) { return KPrefLimits{1, 129, usual, true}; }

using DocLayPrt = KPropDocLayPrt;
const std::array kDocLayPrtRows{
    KPrefRow<DocLayPrt>{&DocLayPrt::docWidth, &g_prefNewDocWnd.width, G::kNewDocXYSizeXYPos, AtLeast(100)},
    KPrefRow<DocLayPrt>{&DocLayPrt::docHeight, &g_prefNewDocWnd.height, G::kNewDocXYSizeXYPos, AtLeast(100)},
    KPrefRow<DocLayPrt>{&DocLayPrt::startupAction, &g_nStartupAction, G::kNewDocXYSizeXYPos},
    KPrefRow<DocLayPrt>{&DocLayPrt::printSize, &g_prefPgOptions.printSize, G::kPgOptions, Between(20, 400)},
    KPrefRow<DocLayPrt>{&DocLayPrt::showPageBreaks, &g_prefPgOptions.showPageBreaks, G::kPgOptions},
    KPrefRow<DocLayPrt>{&DocLayPrt::alert, &g_prefPgOptions.alertOversize, G::kPgOptions},
    KPrefRow<DocLayPrt>{&DocLayPrt::numberType, &g_prefPgNum.type, G::kPgNum},
    KPrefRow<DocLayPrt>{&DocLayPrt::numberVertical, &g_prefPgNum.vertical, G::kPgNum},
    KPrefRow<DocLayPrt>{&DocLayPrt::numberHorizontal, &g_prefPgNum.horizontal, G::kPgNum},
    KPrefRow<DocLayPrt>{&DocLayPrt::pageXofY, &g_prefPgNum.pageXofY, G::kPgNum},
    KPrefRow<DocLayPrt>{&DocLayPrt::symbolSizeX, &g_prefPrintCorr.symbolSizeX, G::kPrintCorr,
                        Between(50, 200)},
    KPrefRow<DocLayPrt>{&DocLayPrt::symbolSizeY, &g_prefPrintCorr.symbolSizeY, G::kPrintCorr,
                        Between(50, 200)},
    KPrefRow<DocLayPrt>{&DocLayPrt::staffLineThickness, &g_lineWidthSetting, G::kPrintCorr, Between(0, 20)},
    KPrefRow<DocLayPrt>{&DocLayPrt::slurThickness, &g_prefPrintCorr.slurThickness, G::kPrintCorr,
                        Between(0, 20)},
    KPrefRow<DocLayPrt>{&DocLayPrt::tabDigitPosition, &g_prefPrintCorr.tabDigitOffset, G::kPrintCorr,
                        Between(-10, 10)},
    KPrefRow<DocLayPrt>{&DocLayPrt::fontScaling, &g_textPrintCorr, G::kPrintCorr2, AtLeast(10)},
    KPrefRow<DocLayPrt>{&DocLayPrt::invertDiagrams, &g_prefPrintCorr2.invertChordDiagrams, G::kPrintCorr2},
};
const std::array kDocLayPrtTexts{
    KPrefTextRow<DocLayPrt>{&DocLayPrt::pageNumberFont, &g_prefPgNumFont, G::kPgNumFont},
};

using OptAsvVw = KPropOptAsvVw;
const std::array kOptAsvVwRows{
    KPrefRow<OptAsvVw>{&OptAsvVw::cursorMode, &g_prefEntryOptions.cursorMode, G::kEntryOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::keyboardChangesCursor, &g_prefEntryOptions.keyboardChangesCursor,
                       G::kEntryOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::upDownMode, &g_prefEntryOptions.upDownMode, G::kEntryOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::advanceAfterNote, &g_prefEntryOptions.advanceAfterNote, G::kEntryOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::mainToolbar, &g_prefToolViewOptions.showMainToolbar, G::kToolViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::extraToolbar, &g_prefToolViewOptions.showExtraToolbar, G::kToolViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::statusBar, &g_prefToolViewOptions.showStatusBar, G::kToolViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::clock, &g_prefToolViewOptions.clock, G::kToolViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::saveToolboxesOnQuit, &g_bRememberToolBoxes, G::kToolViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::lineLabels, &g_prefDocViewOptions.lineLabels, G::kDocViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::barNumbering, &g_prefDocViewOptions.barNumbering, G::kDocViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::largeSymbols, &g_prefDocViewOptions.largeSymbols, G::kDocViewOptions},
    KPrefRow<OptAsvVw>{&OptAsvVw::autosaveMode, &g_prefAutoSave.mode, G::kAutoSave},
    KPrefRow<OptAsvVw>{&OptAsvVw::autosaveInterval, &g_prefAutoSave.interval, G::kAutoSave, AtLeast(1)},
    KPrefRow<OptAsvVw>{&OptAsvVw::makeBackups, &g_prefAutoSave.makeBackups, G::kAutoSave},
    KPrefRow<OptAsvVw>{&OptAsvVw::undoEnabled, &g_prefAutoSave.undoEnabled, G::kAutoSave},
    KPrefRow<OptAsvVw>{&OptAsvVw::undoLevels, &g_prefAutoSave.undoLevels, G::kAutoSave},
};

using StfDrmTxt = KPropStfDrmTxt;
const std::array kStfDrmTxtRows{
    KPrefRow<StfDrmTxt>{&StfDrmTxt::fixedLength, &g_prefStaffLines.allFixedLength, G::kStaffLines},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::staffLength, &g_prefStaffLines.initialStaffLength, G::kStaffLines,
                        Between(50, 32000)},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::extentMarker, &g_prefStaffLines.showExtentMarker, G::kStaffLines},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::barWord, &g_prefStaffLines.showBarWord, G::kStaffLines},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::drumClefStyle, &g_prefStaffLines.drumClefStyle, G::kStaffLines},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::autoBars, &g_prefStaffLines2.autoBarEntry, G::kStaffLines2},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::autoJoin, &g_prefStaffLines2.autoJoin, G::kStaffLines2},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::autoStem, &g_prefStaffLines2.autoStem, G::kStaffLines2},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::warnTiming, &g_prefStaffLines2.warnBarTiming, G::kStaffLines2},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::autoWrap, &g_prefStaffLines3.autoWrap, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::rewrapBelow, &g_prefStaffLines3.rewrapBelow, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::leftBarMusic, &g_prefStaffLines3.leftBarMusic, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::leftBarTab, &g_prefStaffLines3.leftBarTab, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::rightBarMusic, &g_prefStaffLines3.rightBarMusic, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::rightBarTab, &g_prefStaffLines3.rightBarTab, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::keyboardBars, &g_prefStaffLines3.keyboardBars, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::keepBarsAligned, &g_prefStaffLines3.keepBarsAligned, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::trebleTabBars, &g_prefStaffLines3.trebleTabBars, G::kStaffLines3},
    KPrefRow<StfDrmTxt>{&StfDrmTxt::evenSpacing, &g_prefStaffLines3.evenSpacing, G::kStaffLines3},
};

using Tab = KPropTab;
const std::array kTabRows{
    KPrefRow<Tab>{&Tab::fretFromPrevious, &g_prefTabOptions.fretFromPrevious, G::kTabOptions},
    KPrefRow<Tab>{&Tab::stemsOnTab, &g_prefTabOptions.stemsOnTab, G::kTabOptions},
    KPrefRow<Tab>{&Tab::tabWord, &g_prefTabOptions.showTabWord, G::kTabOptions},
    KPrefRow<Tab>{&Tab::altPitches, &g_prefTabOptions.altTuningPitches, G::kTabOptions},
    KPrefRow<Tab>{&Tab::banjoFingering, &g_prefTabOptions.banjoFingering, G::kTabOptions},
    KPrefRow<Tab>{&Tab::dulcimerPlus, &g_HalfFretLabels, G::kTabOptions},
    // A banjo start fret outside 0 to 17 is 5.
    KPrefRow<Tab>{&Tab::banjoStartFret, &g_prefStaffLines2.banjoStartFret, G::kStaffLines2,
                  KPrefLimits{0, 17, 5, true}},
    KPrefRow<Tab>{&Tab::titleThreshold, &g_prefStaffLines3.titleFontThreshold, G::kStaffLines3},
    KPrefRow<Tab>{&Tab::resetBarCount, &g_prefStaffLines3.resetBarCount, G::kStaffLines3},
};
const std::array kTabTexts{
    KPrefTextRow<Tab>{&Tab::textFont, &g_prefTextFont, G::kTextFont},
};

using Chord = KPropChord;
const std::array kChordRows{
    KPrefRow<Chord>{&Chord::showDiagrams, &g_prefChords.showDiagrams, G::kChords},
    KPrefRow<Chord>{&Chord::variationNumbers, &g_prefChords.variationNumbering, G::kChords},
    KPrefRow<Chord>{&Chord::scan, &g_prefChords.scanForCustomChords, G::kChords},
    KPrefRow<Chord>{&Chord::customOnTop, &g_prefChords.customOnTop, G::kChords},
    KPrefRow<Chord>{&Chord::fretPosition, &g_prefChords2.fretNumberPos, G::kChords2},
    KPrefRow<Chord>{&Chord::barreStyle, &g_prefChords2.barreStyle, G::kChords2},
    KPrefRow<Chord>{&Chord::playSelected, &g_prefChords2.playSelected, G::kChords2},
    KPrefRow<Chord>{&Chord::onlyCustom, &g_prefChords2.onlyCustom, G::kChords2},
    KPrefRow<Chord>{&Chord::diagramWidth, &g_prefChords2.diagramWidth, G::kChords2},
    KPrefRow<Chord>{&Chord::diagramHeight, &g_prefChords2.diagramHeight, G::kChords2},
    KPrefRow<Chord>{&Chord::altFromDictionary, &g_prefChords2.altFromDictionary, G::kChords2},
    KPrefRow<Chord>{&Chord::arpeggioDelay, &g_prefChords2.arpeggioDelay, G::kChords2},
    KPrefRow<Chord>{&Chord::altFromCustom, &g_prefChords2.altFromCustom, G::kChords2},
    KPrefRow<Chord>{&Chord::variationsView, &g_prefChords2.variationsView, G::kChords2},
};

using SclTxfTrns = KPropSclTxfTrns;
const std::array kSclTxfTrnsRows{
    KPrefRow<SclTxfTrns>{&SclTxfTrns::scrollLines, &g_prefScrolling.lines, G::kScrolling, Between(1, 150)},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::groupAsOne, &g_prefScrolling.countGroupAsOne, G::kScrolling},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::sound, &g_prefScrolling.soundOn, G::kScrolling},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::repeat, &g_prefScrolling.repeat, G::kScrolling},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::lineBreaks, &g_prefTextFiles.autoLineBreaks, G::kTextFiles},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::openAsScore, &g_prefTextFiles.openAsScore, G::kTextFiles},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::translateTab, &g_prefTextFiles.autoTranslateTab, G::kTextFiles},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::removeTextTab, &g_prefTextFiles.removeTextTab, G::kTextFiles},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::abcTreble, &g_prefTextFiles.includeAbc, G::kTextFiles},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::convertAbc, &g_prefTextFiles.convertAbc, G::kTextFiles},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::imageFormat, &g_prefExporting.imageFormat, G::kExporting},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::interlaced, &g_prefExporting.interlaced, G::kExporting},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::altTuningPlacement, &g_prefTransAltTun.placement, G::kTransAltTun},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::wrapAbc, &g_prefTransAltTun.wrapAbc, G::kTransAltTun},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::mergeStaffs, &g_prefTranslation.mergeStaffs, G::kTranslation},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::shiftBass, &g_prefTranslation.shiftBassIntoRange, G::kTranslation},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::takeAbove, &g_prefTranslation.takeAbove, G::kTranslation},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::takeBelow, &g_prefTranslation.takeBelow, G::kTranslation},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::accidentals, &g_prefTranspose.accidentals, G::kTranspose},
    KPrefRow<SclTxfTrns>{&SclTxfTrns::transposePlacement, &g_prefTranspose.placement, G::kTranspose},
};

using Midi = KPropMIDI;
const std::array kMidiRows{
    // A tempo or loudness that makes no sense gets the usual one.
    KPrefRow<Midi>{&Midi::tempo, &g_prefMidi.tempo, G::kMidi, KPrefLimits{1, 450, 120, false}},
    KPrefRow<Midi>{&Midi::loop, &g_prefMidi.loop, G::kMidi},
    KPrefRow<Midi>{&Midi::ignoreRepeats, &g_prefMidi.ignoreRepeats, G::kMidi},
    KPrefRow<Midi>{&Midi::loudness, &g_prefMidi.loudness, G::kMidi, KPrefLimits{0, 127, 100, false}},
    KPrefRow<Midi>{&Midi::showCaret, &g_prefMidi.showCaret, G::kMidi},
    KPrefRow<Midi>{&Midi::depthFactor, &g_prefMidiEffects.depthFactor, G::kMidiEffects},
    KPrefRow<Midi>{&Midi::treble, &g_prefMidiInstruments.treble, G::kMidiInstruments, Instrument(1)},
    KPrefRow<Midi>{&Midi::bass, &g_prefMidiInstruments.bass, G::kMidiInstruments, Instrument(34)},
    KPrefRow<Midi>{&Midi::tab, &g_prefMidiInstruments.tab, G::kMidiInstruments, Instrument(26)},
    KPrefRow<Midi>{&Midi::alto, &g_prefMidiInstruments.alto, G::kMidiInstruments, Instrument(42)},
    KPrefRow<Midi>{&Midi::tenor, &g_prefMidiInstruments.tenor, G::kMidiInstruments, Instrument(58)},
    KPrefRow<Midi>{&Midi::bassTab, &g_prefMidiInstruments.bassTab, G::kMidiInstruments, Instrument(34)},
    KPrefRow<Midi>{&Midi::tabOctaveLower, &g_prefMidiInstruments.tabOctaveLower, G::kMidiInstruments},
    KPrefRow<Midi>{&Midi::playWhileEditing, &g_prefMidiInstruments.playWhileEditing, G::kMidiInstruments},
};

using MidiInput = KPropMIDIInput;
const std::array kMidiInputRows{
    KPrefRow<MidiInput>{&MidiInput::addSpaces, &g_prefAutoFormat.addSpaces, G::kAutoFormat},
    KPrefRow<MidiInput>{&MidiInput::afterQuarter, &g_prefAutoFormat.afterQuarter, G::kAutoFormat},
    KPrefRow<MidiInput>{&MidiInput::afterHalf, &g_prefAutoFormat.afterHalf, G::kAutoFormat},
    KPrefRow<MidiInput>{&MidiInput::afterCluster, &g_prefAutoFormat.afterCluster, G::kAutoFormat},
    KPrefRow<MidiInput>{&MidiInput::beforeBar, &g_prefAutoFormat.beforeBar, G::kAutoFormat},
    KPrefRow<MidiInput>{&MidiInput::afterBar, &g_prefAutoFormat.afterBar, G::kAutoFormat},
    KPrefRow<MidiInput>{&MidiInput::importTypes, &g_prefMidiImport.lineTypes, G::kMidiImport},
    KPrefRow<MidiInput>{&MidiInput::keyboardPercent, &g_prefMidiImport.keyboardPercent, G::kMidiImport},
    KPrefRow<MidiInput>{&MidiInput::importLength, &g_prefMidiImport.lineLength, G::kMidiImport},
    KPrefRow<MidiInput>{&MidiInput::metronomeSound, &g_prefMidiImport.metronomeSound, G::kMidiImport},
    KPrefRow<MidiInput>{&MidiInput::metronomeLoudness, &g_prefMidiImport.metronomeLoudness, G::kMidiImport},
    KPrefRow<MidiInput>{&MidiInput::importShortest, &g_prefMidiInput.shortestImportNote, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::inputDevice, &g_prefMidiInput.inputDevice, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::metronome, &g_prefMidiInput.metronome, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::remote, &g_prefMidiInput.remoteStartStop, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::liveLength, &g_prefMidiInput.liveLineLength, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::liveTempo, &g_prefMidiInput.tempo, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::liveShortest, &g_prefMidiInput.shortestLiveNote, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::liveTrigger, &g_prefMidiInput.liveTrigger, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::liveLineType, &g_prefMidiInput.lineType, G::kMidiInput},
    KPrefRow<MidiInput>{&MidiInput::transposeGuitar, &g_prefMidiInput.transposeGuitar, G::kMidiInput},
};

// The page value a row compares with its stored value.
template <typename Page>
int Compared(const Page& page, const KPrefRow<Page>& row) {
  const int value = page.*row.control;
  return row.limits.beforeCompare ? row.limits.Apply(value) : value;
}

}  // namespace

int KPrefLimits::Apply(int value) const {
  if (value >= low && value <= high) return value;
  return outside ? *outside : std::clamp(value, low, high);
}

template <>
KPrefPageRows<KPropDocLayPrt> PreferenceRowsOf<KPropDocLayPrt>() {
  return {kDocLayPrtRows, kDocLayPrtTexts};
}
template <>
KPrefPageRows<KPropOptAsvVw> PreferenceRowsOf<KPropOptAsvVw>() {
  return {kOptAsvVwRows, {}};
}
template <>
KPrefPageRows<KPropStfDrmTxt> PreferenceRowsOf<KPropStfDrmTxt>() {
  return {kStfDrmTxtRows, {}};
}
template <>
KPrefPageRows<KPropTab> PreferenceRowsOf<KPropTab>() {
  return {kTabRows, kTabTexts};
}
template <>
KPrefPageRows<KPropChord> PreferenceRowsOf<KPropChord>() {
  return {kChordRows, {}};
}
template <>
KPrefPageRows<KPropSclTxfTrns> PreferenceRowsOf<KPropSclTxfTrns>() {
  return {kSclTxfTrnsRows, {}};
}
template <>
KPrefPageRows<KPropMIDI> PreferenceRowsOf<KPropMIDI>() {
  return {kMidiRows, {}};
}
template <>
KPrefPageRows<KPropMIDIInput> PreferenceRowsOf<KPropMIDIInput>() {
  return {kMidiInputRows, {}};
}

void FillPreferenceRows(KPreferencesSheet& pages) {
  VisitPreferenceRows(pages, [](auto& page, const auto& rows) {
    for (const auto& row : rows.numbers) page.*row.control = *row.stored;
    for (const auto& row : rows.texts) page.*row.control = *row.stored;
  });
}

bool PreferenceRowsDiffer(const KPreferencesSheet& pages, KPrefGroup group) {
  bool differs = false;
  VisitPreferenceRows(pages, [&](const auto& page, const auto& rows) {
    for (const auto& row : rows.numbers)
      if (row.group == group && Compared(page, row) != *row.stored) differs = true;
    for (const auto& row : rows.texts)
      if (row.group == group && page.*row.control != *row.stored) differs = true;
  });
  return differs;
}

void StorePreferenceRows(const KPreferencesSheet& pages, KPrefGroup group) {
  VisitPreferenceRows(pages, [group](const auto& page, const auto& rows) {
    for (const auto& row : rows.numbers)
      if (row.group == group) *row.stored = row.limits.Apply(page.*row.control);
    for (const auto& row : rows.texts)
      if (row.group == group) *row.stored = page.*row.control;
  });
}
