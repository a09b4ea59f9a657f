#include "doc/pref_values/PreferenceWriters.h"

#include <cstdarg>
#include <string>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"

namespace {

CString Formatted(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

CString Formatted(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  CString text;
  text.FormatV(pattern, args);
  va_end(args);
  return text;
}

// The 40 numbers of the toolbox slots, then six closed filler slots.
CString FormatToolBoxPos() {
  CString text;
  for (const POINT& slot : g_ptToolBoxPos) {
    if (!text.IsEmpty()) text += ',';
    text += Formatted("%d,%d", static_cast<int>(slot.x), static_cast<int>(slot.y));
  }
  for (int i = 0; i < 6; ++i) text += ",10000,0";
  return text;
}

CString FormatMidiEffects() {
  const KPrefMidiEffects& e = g_prefMidiEffects;
  CString text;
  for (int flag : e.flags) text += Formatted("%d,", flag);
  text += Formatted("9,%d,%d", e.staccato, e.depthFactor);
  return text;
}

}  // namespace

CString FormatPreferenceGroup(KPrefGroup group) {
  switch (group) {
    case KPrefGroup::kStavlinXYSizeXYPos: {
      const KWindowPlacement& w = g_rcMainWnd;
      return Formatted("%d,%d,%d,%d,9,9,9,9", w.width, w.height, w.left, w.top);
    }
    case KPrefGroup::kNewDocXYSizeXYPos: {
      const KWindowPlacement& w = g_prefNewDocWnd;
      return Formatted("%d,%d,%d,%d,%d,9,9,9", w.width, w.height, w.left, w.top, g_nStartupAction);
    }
    case KPrefGroup::kDocOptions:
      return Formatted("%d,9,9,9,9", g_prefDocOptions);
    case KPrefGroup::kStartFolder:
      return g_strStartFolder;
    case KPrefGroup::kLastOpenFile:
      return g_strLastOpenFile;
    case KPrefGroup::kPgMargins: {
      const KPrefPgMargins& m = g_prefPgMargins;
      return Formatted("%d,%d,%d,%d,%d,9,9,9,9", m.top, m.bottom, m.left, m.right, m.units);
    }
    case KPrefGroup::kPgOptions: {
      const KPrefPgOptions& o = g_prefPgOptions;
      return Formatted("%d,%d,%d,%d,%d,9,9", o.printSize, o.showPageBreaks, o.builtInFlag, o.alertOversize,
                       o.pageOverlap);
    }
    case KPrefGroup::kPgNum: {
      const KPrefPgNum& n = g_prefPgNum;
      return Formatted("%d,%d,%d,%d,9,9,9,9", n.type, n.vertical, n.horizontal, n.pageXofY);
    }
    case KPrefGroup::kPgNumFont:
      return g_prefPgNumFont;
    case KPrefGroup::kPrintCorr: {
      const KPrefPrintCorr& c = g_prefPrintCorr;
      return Formatted("%d,%d,%d,%d,%d,%d", c.symbolSizeX, c.symbolSizeY, c.ClippingCode(),
                       g_lineWidthSetting, c.slurThickness, c.tabDigitOffset);
    }
    case KPrefGroup::kPrintCorr2:
      return Formatted("%d,%d,999,999,999,999,999,999,999,999", g_textPrintCorr,
                       g_prefPrintCorr2.invertChordDiagrams);
    case KPrefGroup::kEntryOptions: {
      const KPrefEntryOptions& o = g_prefEntryOptions;
      return Formatted("%d,%d,%d,%d,9,9,9", o.cursorMode, o.keyboardChangesCursor, o.upDownMode,
                       o.advanceAfterNote);
    }
    case KPrefGroup::kToolViewOptions: {
      const KPrefToolViewOptions& o = g_prefToolViewOptions;
      return Formatted("%d,%d,%d,%d,%d,9,9,9,9,9", o.showMainToolbar, o.showExtraToolbar, o.showStatusBar,
                       o.clock, g_bRememberToolBoxes);
    }
    case KPrefGroup::kToolBoxPos:
      return FormatToolBoxPos();
    case KPrefGroup::kDocViewOptions: {
      const KPrefDocViewOptions& o = g_prefDocViewOptions;
      return Formatted("%d,%d,%d,%d,9,9,9,9", o.lineLabels, o.barNumbering, o.largeSymbols, g_lineGap);
    }
    case KPrefGroup::kAutoSave: {
      const KPrefAutoSave& a = g_prefAutoSave;
      return Formatted("%d,%d,%d,%d,%d,9,9", a.mode, a.interval, a.makeBackups, a.undoEnabled, a.undoLevels);
    }
    case KPrefGroup::kTabOptions: {
      const KPrefTabOptions& o = g_prefTabOptions;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,9,9", o.builtInTabFlag, o.fretFromPrevious, o.stemsOnTab,
                       o.showTabWord, o.altTuningPitches, o.banjoFingering, g_HalfFretLabels);
    }
    case KPrefGroup::kTabTuning:
      return g_prefLabelledTabTuning.IsEmpty() ? g_prefTabTuning : g_prefLabelledTabTuning;
    case KPrefGroup::kBassTabTuning:
      return g_prefBassTabTuning;
    case KPrefGroup::kTabFont:
      return g_prefTabFont;
    case KPrefGroup::kStaffLines: {
      const KPrefStaffLines& s = g_prefStaffLines;
      return Formatted("%d,%d,%d,%d,%d,%d,%d", s.allFixedLength, s.initialStaffLength, s.staffLengthOption,
                       s.showExtentMarker, s.showBarWord, s.drumClefStyle, s.staffLengthOption2);
    }
    case KPrefGroup::kStaffLines2: {
      const KPrefStaffLines2& s = g_prefStaffLines2;
      return Formatted("%d,%d,%d,%d,%d,%d,9999,%d,%d,%d,%d,%d", s.autoBarEntry, s.autoJoin, s.autoStem,
                       s.tabLineSpacing, s.warnBarTiming, s.banjoStartFret, s.defaultIndent,
                       s.spaceAboveStaff, s.spaceBelowStaff, s.spaceAboveTab, s.spaceBelowTab);
    }
    case KPrefGroup::kStaffLines3: {
      const KPrefStaffLines3& s = g_prefStaffLines3;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", s.autoWrap, s.titleFontThreshold, s.rewrapBelow,
                       s.leftBarMusic, s.leftBarTab, s.rightBarMusic, s.rightBarTab, s.keyboardBars,
                       s.keepBarsAligned, s.trebleTabBars, s.resetBarCount, s.evenSpacing);
    }
    case KPrefGroup::kExtTextFont:
      return g_prefExtTextFont;
    case KPrefGroup::k2ndExtTextFont:
      return g_prefExt2TextFont;
    case KPrefGroup::k2ndBracketTextFont:
      return g_prefBracket2TextFont;
    case KPrefGroup::kTripletFont:
      return g_prefTripletFont;
    case KPrefGroup::kTextFont:
      return g_prefTextFont;
    case KPrefGroup::kChords: {
      const KPrefChords& c = g_prefChords;
      return Formatted("%d,%d,%d,-999,%d,%d", c.showDiagrams, c.variationNumbering, c.scanForCustomChords,
                       c.customOnTop, c.nameStyle);
    }
    case KPrefGroup::kChords2: {
      const KPrefChords2& c = g_prefChords2;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", g_fingerRowOption, c.displayFlag,
                       c.fretNumberPos, c.barreStyle, c.displayFlag2, c.displayFlag3, c.playSelected,
                       c.onlyCustom, c.diagramWidth, c.diagramHeight, c.altFromDictionary, c.arpeggioDelay,
                       c.altFromCustom, c.variationsView);
    }
    case KPrefGroup::kChordNameFont:
      return g_prefChordNameFont;
    case KPrefGroup::kRhythmFont:
      return g_prefRhythmFont;
    case KPrefGroup::kScrolling: {
      const KPrefScrolling& s = g_prefScrolling;
      return Formatted("%d,%d,%d,%d,%d,9,9,9,9", s.lines, s.delay, s.countGroupAsOne, s.soundOn, s.repeat);
    }
    case KPrefGroup::kTextFiles: {
      const KPrefTextFiles& t = g_prefTextFiles;
      return Formatted("%d,%d,%d,%d,%d,%d,%d", t.autoLineBreaks, t.openAsScore, t.autoTranslateTab,
                       t.textTabKinds, t.removeTextTab, t.includeAbc, t.convertAbc);
    }
    case KPrefGroup::kExporting:
      return Formatted("%d,%d,999,999,999,999,999,999,999,999,999,999,999,999,999",
                       g_prefExporting.imageFormat, g_prefExporting.interlaced);
    case KPrefGroup::kTranslation: {
      const KPrefTranslation& t = g_prefTranslation;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,%d", t.options[0], t.options[1], t.options[2], t.options[3],
                       t.mergeStaffs, t.shiftBassIntoRange, t.takeAbove, t.takeBelow);
    }
    case KPrefGroup::kTransAltTun:
      return Formatted("%d,%d,9,9,9", g_prefTransAltTun.placement, g_prefTransAltTun.wrapAbc);
    case KPrefGroup::kTranspose:
      return Formatted("%d,%d,9,9,9,9", g_prefTranspose.accidentals, g_prefTranspose.placement);
    case KPrefGroup::kLineGroups:
      return g_prefLineGroups;
    case KPrefGroup::kMidi: {
      const KPrefMidi& m = g_prefMidi;
      return Formatted("%d,%d,%d,%d,%d,%d", m.tempo, m.loop, m.ignoreRepeats, m.loudness, m.outputDevice,
                       m.showCaret);
    }
    case KPrefGroup::kMidiEffects:
      return FormatMidiEffects();
    case KPrefGroup::kAutoFormat: {
      const KPrefAutoFormat& a = g_prefAutoFormat;
      return Formatted("%d,%d,%d,%d,%d,%d,999,999,999,999,999,999,999,999,999,999", a.addSpaces,
                       a.afterQuarter, a.afterHalf, a.afterCluster, a.beforeBar, a.afterBar);
    }
    case KPrefGroup::kMidiImport: {
      const KPrefMidiImport& m = g_prefMidiImport;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,%d,%d,9,9,9,9", m.lineTypes, m.trebleUpperTone, m.bassLowerTone,
                       m.keyboardPercent, m.splitTone, m.lineLength, m.metronomeSound, m.metronomeLoudness,
                       m.importFlag);
    }
    case KPrefGroup::kMidiInput: {
      const KPrefMidiInput& m = g_prefMidiInput;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,9", m.shortestImportNote, m.inputDevice, m.metronome,
                       m.remoteStartStop, m.liveLineLength, m.tempo, m.triggerTone, m.shortestLiveNote,
                       m.liveTrigger, m.lineType, m.transposeGuitar);
    }
    case KPrefGroup::kMidiInstruments: {
      const KPrefMidiInstruments& m = g_prefMidiInstruments;
      return Formatted("%d,%d,%d,%d,%d,%d,%d,%d,%d,9", m.treble, m.bass, m.tab, m.playbackNumber,
                       m.tabOctaveLower, m.alto, m.tenor, m.bassTab, m.playWhileEditing);
    }
    case KPrefGroup::kPrinterParams: {
      const KPrefPrinterParams& p = g_prefPrinterParams;
      return Formatted("%d,%d,%d,%d,9,9,9,9,9,9", p.pageWidth, p.pageHeight, p.resolutionX, p.resolutionY);
    }
  }
  return {};
}

CString FormatChords2ForDesigner() {
  const KPrefChords2& c = g_prefChords2;
  return Formatted("%d,%d,%d,%d,%d,%d,9,9,9,9,9,9,9,9", g_fingerRowOption, c.displayFlag, c.fretNumberPos,
                   c.barreStyle, c.displayFlag2, c.displayFlag3);
}

LONG WritePreferenceText(HKEY key, KPrefGroup group, const CString& text) {
  std::string path(PreferenceGroupName(group));
  if (key == HKEY_CURRENT_USER) path = "Software\\Stavlin\\" + path;
  return RegSetValue(key, path.c_str(), REG_SZ, text, static_cast<DWORD>(text.GetLength() + 1));
}

LONG WritePreferenceGroup(HKEY key, KPrefGroup group) {
  return WritePreferenceText(key, group, FormatPreferenceGroup(group));
}
