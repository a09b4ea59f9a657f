#include "doc/pref_values/LoadRegistrySettings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "chords/ChordNameSources.h"
#include "chords/ChordSettings.h"
#include "common/AppServices.h"
#include "common/ChordDiagramServices.h"
#include "common/Globals.h"
#include "common/NumberText.h"
#include "common/ViewServices.h"
#include "doc/UserDocumentsFolder.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/PreferenceLimits.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "lines/KChordPicLineServices.h"
#include "lines/KRhythmLineDefaults.h"
#include "lines/KSpeedLine.h"
#include "lines/KStaffLine.h"
#include "lines/TabLineOptions.h"
#include "lines/TranslationServices.h"
#include "model/AttachmentServices.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/KListLineAutoBeamServices.h"
#include "model/KListLineRestsServices.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "translate/ParseTextTabOptions.h"

namespace {

constexpr unsigned kSamplesFolderId = 8129;  // "Samples\"
constexpr unsigned kWelcomeFileId = 8120;    // "_Welcome To Stavlin_.svd"

// Tunings stored with their string names but without pitches.
constexpr const char* kTabNamesOnly = "E A D G B E ";
constexpr const char* kBassNamesOnly = "  E A D G   ";

// Reads comma-separated integers from the start of text into the targets in
// order. Reading stops at the first place without a number: that target and
// the ones after it keep their values. Numbers beyond the targets are ignored.
void ReadInts(const CString& text, std::initializer_list<int*> targets) {
  std::vector<int> values;
  values.reserve(targets.size());
  for (int* target : targets) values.push_back(*target);
  const int read = ScanCommaIntegers(text.View(), values);
  int index = 0;
  for (int* target : targets) {
    if (index >= read) break;
    *target = values[static_cast<size_t>(index++)];
  }
}

void NineBecomes(int& value, int replacement) {
  if (value == 9) value = replacement;
}

int SaturatedInt(std::int64_t value) {
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// A line length below 60 is a number of columns: 18 pixels each plus 54.
void LineLengthFromCount(int& length) {
  if (length < 60) length = SaturatedInt(std::int64_t{18} * length + 54);
}

// A resolution times the printout size in percent.
int PrintScale(int resolution, int printSize) {
  return SaturatedInt(std::int64_t{resolution} * printSize / 100);
}

class KPreferenceReader {
 public:
  void Run();

 private:
  // The group's stored text, of any length; nothing when it is missing or
  // cannot be read.
  std::optional<CString> Query(KPrefGroup group) const;
  // The stored text, or defaultText, which is then written back.
  CString ReadOr(KPrefGroup group, const CString& defaultText);
  CString Read(KPrefGroup group) { return ReadOr(group, FixedPreferenceDefault(group)); }
  // Stores a text; a store that refuses it leaves the value in use for this run.
  void Write(KPrefGroup group, const CString& text);

  void ReadGroup(KPrefGroup group);
  void ReadStartFolder();
  void ReadPrintCorr();
  void ReadToolBoxPos();
  void ReadTabTuning(const CString& text);
  void ReadMidiEffects(const CString& text);

  HKEY root_ = nullptr;
  // "DocOptions" held preferences of an older version.
  bool migrate_ = false;
};

std::optional<CString> KPreferenceReader::Query(KPrefGroup group) const {
  if (!root_) return std::nullopt;
  // Read whole whatever its length: a fixed buffer would make a long path or
  // line-group text look missing and have it replaced by the default.
  std::string text;
  const std::string name(PreferenceGroupName(group));
  if (RegQueryValueString(root_, name.c_str(), text) != ERROR_SUCCESS) return std::nullopt;
  return CString(std::string_view(text));
}

CString KPreferenceReader::ReadOr(KPrefGroup group, const CString& defaultText) {
  if (std::optional<CString> text = Query(group)) return *text;
  Write(group, defaultText);
  return defaultText;
}

void KPreferenceReader::Write(KPrefGroup group, const CString& text) {
  if (root_) WritePreferenceText(root_, group, text);
}

void KPreferenceReader::Run() {
  if (RegCreateKey(HKEY_CURRENT_USER, "Software\\Stavlin", &root_) != ERROR_SUCCESS) root_ = nullptr;
  for (KPrefGroup group : AllPreferenceGroups()) ReadGroup(group);
  if (root_) RegCloseKey(root_);
  root_ = nullptr;
}

// The default start folder is "<documents>/Stavlin/Samples/": the sample
// folder's name comes from the string table, whose text ends in a backslash;
// paths here use '/'. When the group is missing the folder itself is created
// if its parent exists (a failure is ignored).
void KPreferenceReader::ReadStartFolder() {
  if (std::optional<CString> text = Query(KPrefGroup::kStartFolder)) {
    g_strStartFolder = *text;
    return;
  }
  const std::filesystem::path documents = UserDocumentsFolder();
  CString folder;
  if (!documents.empty()) {
    CString samples = LoadString(kSamplesFolderId);
    samples.Replace('\\', '/');
    folder = CString::FromUtf8(documents.string());
    if (folder.Right(1) != "/") folder += '/';
    folder += "Stavlin/";
    folder += samples;
    std::error_code ignored;
    std::filesystem::create_directory(std::filesystem::path(folder.ToUtf8()), ignored);
  }
  g_strStartFolder = folder;
  Write(KPrefGroup::kStartFolder, folder);
}

// "PrintCorr": symbol sizes H and V, clipping code c, staff-line thickness t,
// slur thickness s and tab-digit offset p.
void KPreferenceReader::ReadPrintCorr() {
  KPrefPrintCorr& pc = g_prefPrintCorr;
  int code = pc.ClippingCode();
  ReadInts(Read(KPrefGroup::kPrintCorr), {&pc.symbolSizeX, &pc.symbolSizeY, &code, &g_lineWidthSetting,
                                          &pc.slurThickness, &pc.tabDigitOffset});

  // The clipping code is two decimal digits (0 to 99); any other number is
  // not a code this program wrote and reads as the built-in 2.
  if (code < 0 || code > 99) code = KPrefPrintCorr{}.ClippingCode();
  pc.noClipping = code == 99 || code == 0 ? 1 : 0;
  if (code == 9 || code == 99 || code == 0) {
    pc.clipTens = 0;
    pc.clipUnits = 2;
  } else {
    pc.clipTens = code / 10;
    pc.clipUnits = code % 10;
  }
  // Older versions stored units of 4 where 2 is meant now. The tens are kept
  // in the text written back, so that a clipping of 34 becomes 32, not 2.
  if (migrate_ && pc.clipUnits == 4) {
    pc.clipUnits = 2;
    Write(KPrefGroup::kPrintCorr, FormatPreferenceGroup(KPrefGroup::kPrintCorr));
  }

  if (g_lineWidthSetting == 9) g_lineWidthSetting = 1;
  if (pc.slurThickness < 1 || pc.slurThickness >= 9) pc.slurThickness = 1;
  if (pc.tabDigitOffset < -9 || pc.tabDigitOffset > 9) pc.tabDigitOffset = 1;
  g_printCorrX = pc.symbolSizeX;
  g_printCorrY = pc.symbolSizeY;
  g_tabDigitOffset = pc.tabDigitOffset;
}

// "ToolBoxPos": the first 40 numbers. Older versions marked a closed toolbox
// with a negative x; now a magnitude of 10000 or more does. A text in the old
// form (no x of that magnitude) is converted once and written back.
void KPreferenceReader::ReadToolBoxPos() {
  std::array<int, 2 * kToolBoxSlotCount> numbers{};
  for (int slot = 0; slot < kToolBoxSlotCount; ++slot) {
    numbers[static_cast<size_t>(2 * slot)] = static_cast<int>(g_ptToolBoxPos[static_cast<size_t>(slot)].x);
    numbers[static_cast<size_t>(2 * slot + 1)] =
        static_cast<int>(g_ptToolBoxPos[static_cast<size_t>(slot)].y);
  }
  const CString stored = Read(KPrefGroup::kToolBoxPos);
  ScanCommaIntegers(stored.View(), numbers);

  bool newForm = false;
  for (int slot = 0; slot < kToolBoxSlotCount; ++slot) {
    const int x = numbers[static_cast<size_t>(2 * slot)];
    if (x <= -10000 || x >= 10000) newForm = true;
  }
  if (!newForm) {
    // Every x is above -10000 here, so the product fits.
    for (int slot = 0; slot < kToolBoxSlotCount; ++slot) {
      int& x = numbers[static_cast<size_t>(2 * slot)];
      if (x < 0) x *= -10000;
    }
  }
  for (int slot = 0; slot < kToolBoxSlotCount; ++slot) {
    g_ptToolBoxPos[static_cast<size_t>(slot)] = {numbers[static_cast<size_t>(2 * slot)],
                                                 numbers[static_cast<size_t>(2 * slot + 1)]};
  }
  if (newForm) return;
  // Written in the new form, with six closed filler slots after the 20.
  const CString converted = FormatPreferenceGroup(KPrefGroup::kToolBoxPos);
  if (!(converted == stored)) Write(KPrefGroup::kToolBoxPos, converted);
}

// "TabTuning": a text without pitches is replaced by the default. A text that
// carries a label after the label separator is the labelled default tuning,
// and the tuning is the part before the separator.
void KPreferenceReader::ReadTabTuning(const CString& stored) {
  CString text = stored;
  if (text.IsEmpty() || text == kTabNamesOnly) {
    text = FixedPreferenceDefault(KPrefGroup::kTabTuning);
    Write(KPrefGroup::kTabTuning, text);
  }
  const int separator = text.Find(g_LabelSeparator);
  if (separator > 0) {
    g_prefLabelledTabTuning = text;
    g_prefTabTuning = text.Left(separator);
  } else {
    g_prefTabTuning = text;
  }
}

// "MidiEffects", and from its flags the effects word of new scores.
void KPreferenceReader::ReadMidiEffects(const CString& text) {
  KPrefMidiEffects& e = g_prefMidiEffects;
  int unused = 9;
  int* const f = e.flags;
  ReadInts(text, {&f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8], &f[9], &f[10], &f[11],
                  &f[12], &f[13], &f[14], &unused, &e.staccato, &e.depthFactor});
  NineBecomes(e.depthFactor, 100);

  std::uint32_t word = kEffectsBase;
  if (e.flags[0] != 0) word += 1;  // bends: any nonzero value
  for (int i = 1; i < kMidiEffectFlagCount; ++i) {
    if (e.flags[i] > 0) word += std::uint32_t{1} << i;
  }
  if (e.staccato > 0) word += 0x10000;
  g_defaultEffects = word;
}

void KPreferenceReader::ReadGroup(KPrefGroup group) {
  switch (group) {
    case KPrefGroup::kStavlinXYSizeXYPos: {
      KWindowPlacement& w = g_rcMainWnd;
      ReadInts(Read(group), {&w.width, &w.height, &w.left, &w.top});
      break;
    }
    case KPrefGroup::kNewDocXYSizeXYPos: {
      KWindowPlacement& w = g_prefNewDocWnd;
      ReadInts(Read(group), {&w.width, &w.height, &w.left, &w.top, &g_nStartupAction});
      NineBecomes(g_nStartupAction, 2);
      break;
    }
    case KPrefGroup::kDocOptions:
      ReadInts(Read(group), {&g_prefDocOptions});
      if (g_prefDocOptions < 1) {
        migrate_ = true;
        g_prefDocOptions = 1;
        Write(group, FixedPreferenceDefault(group));
      }
      break;
    case KPrefGroup::kStartFolder:
      ReadStartFolder();
      break;
    case KPrefGroup::kLastOpenFile:
      g_strLastOpenFile = ReadOr(group, g_strStartFolder + LoadString(kWelcomeFileId));
      break;
    case KPrefGroup::kPgMargins: {
      KPrefPgMargins& m = g_prefPgMargins;
      ReadInts(Read(group), {&m.top, &m.bottom, &m.left, &m.right, &m.units});
      for (int* margin : {&m.top, &m.bottom, &m.left, &m.right}) {
        if (*margin == 0) *margin = 25;
      }
      NineBecomes(m.units, 0);
      break;
    }
    case KPrefGroup::kPgOptions: {
      KPrefPgOptions& o = g_prefPgOptions;
      ReadInts(Read(group),
               {&o.printSize, &o.showPageBreaks, &o.builtInFlag, &o.alertOversize, &o.pageOverlap});
      NineBecomes(o.pageOverlap, 5);
      break;
    }
    case KPrefGroup::kPgNum: {
      KPrefPgNum& n = g_prefPgNum;
      ReadInts(Read(group), {&n.type, &n.vertical, &n.horizontal, &n.pageXofY});
      break;
    }
    case KPrefGroup::kPgNumFont:
      g_prefPgNumFont = Read(group);
      break;
    case KPrefGroup::kPrintCorr:
      ReadPrintCorr();
      break;
    case KPrefGroup::kPrintCorr2: {
      int unused = 0;
      ReadInts(Read(group), {&g_textPrintCorr, &g_prefPrintCorr2.invertChordDiagrams, &unused});
      if (g_prefPrintCorr2.invertChordDiagrams == 999) g_prefPrintCorr2.invertChordDiagrams = 0;
      break;
    }
    case KPrefGroup::kEntryOptions: {
      KPrefEntryOptions& o = g_prefEntryOptions;
      ReadInts(Read(group), {&o.cursorMode, &o.keyboardChangesCursor, &o.upDownMode, &o.advanceAfterNote});
      break;
    }
    case KPrefGroup::kToolViewOptions: {
      KPrefToolViewOptions& o = g_prefToolViewOptions;
      ReadInts(Read(group),
               {&o.showMainToolbar, &o.showExtraToolbar, &o.showStatusBar, &o.clock, &g_bRememberToolBoxes});
      break;
    }
    case KPrefGroup::kToolBoxPos:
      ReadToolBoxPos();
      break;
    case KPrefGroup::kDocViewOptions: {
      KPrefDocViewOptions& o = g_prefDocViewOptions;
      ReadInts(Read(group), {&o.lineLabels, &o.barNumbering, &o.largeSymbols, &g_lineGap});
      break;
    }
    case KPrefGroup::kAutoSave: {
      KPrefAutoSave& a = g_prefAutoSave;
      ReadInts(Read(group), {&a.mode, &a.interval, &a.makeBackups, &a.undoEnabled, &a.undoLevels});
      NineBecomes(a.undoEnabled, 1);
      NineBecomes(a.undoLevels, 20);
      break;
    }
    case KPrefGroup::kTabOptions: {
      KPrefTabOptions& o = g_prefTabOptions;
      int unused = 0;  // written from the built-in flag, never read
      ReadInts(Read(group), {&unused, &o.fretFromPrevious, &o.stemsOnTab, &o.showTabWord, &o.altTuningPitches,
                             &o.banjoFingering, &g_HalfFretLabels});
      NineBecomes(o.banjoFingering, 1);
      NineBecomes(g_HalfFretLabels, 1);
      g_prefFiveStringTuning = o.banjoFingering != 0 ? kBanjoFiveStringTuning : kPlainFiveStringTuning;
      break;
    }
    case KPrefGroup::kTabTuning:
      ReadTabTuning(Read(group));
      break;
    case KPrefGroup::kBassTabTuning: {
      CString text = Read(group);
      if (text.IsEmpty() || text == kBassNamesOnly) {
        text = FixedPreferenceDefault(KPrefGroup::kBassTabTuning);
        Write(group, text);
      }
      g_prefBassTabTuning = text;
      break;
    }
    case KPrefGroup::kTabFont:
      g_prefTabFont = Read(group);
      ReadInts(g_prefTabFont, {&g_tabDigitHeight});
      break;
    case KPrefGroup::kStaffLines: {
      KPrefStaffLines& s = g_prefStaffLines;
      ReadInts(Read(group), {&s.allFixedLength, &s.initialStaffLength, &s.staffLengthOption,
                             &s.showExtentMarker, &s.showBarWord, &s.drumClefStyle, &s.staffLengthOption2});
      s.drumClefStyle = s.drumClefStyle != 0 ? 1 : 0;
      s.staffLengthOption2 = s.staffLengthOption2 != 0 ? 1 : 0;
      g_defaultLineLength = s.initialStaffLength;
      break;
    }
    case KPrefGroup::kStaffLines2: {
      KPrefStaffLines2& s = g_prefStaffLines2;
      int unused = 0;
      ReadInts(Read(group), {&s.autoBarEntry, &s.autoJoin, &s.autoStem, &s.tabLineSpacing, &s.warnBarTiming,
                             &s.banjoStartFret, &unused, &s.defaultIndent, &s.spaceAboveStaff,
                             &s.spaceBelowStaff, &s.spaceAboveTab, &s.spaceBelowTab});
      if (s.autoJoin < 0 || s.autoJoin > 5) s.autoJoin = 1;
      // Texts of older versions end with fillers where the indent and spaces are.
      if (s.defaultIndent == 9 && s.spaceAboveStaff == 9) {
        s.defaultIndent = 0;
        s.spaceAboveStaff = 22;
        s.spaceBelowStaff = 26;
        s.spaceAboveTab = 14;
        s.spaceBelowTab = 12;
      }
      g_tabStringSpacing = s.tabLineSpacing;
      break;
    }
    case KPrefGroup::kStaffLines3: {
      KPrefStaffLines3& s = g_prefStaffLines3;
      ReadInts(Read(group), {&s.autoWrap, &s.titleFontThreshold, &s.rewrapBelow, &s.leftBarMusic,
                             &s.leftBarTab, &s.rightBarMusic, &s.rightBarTab, &s.keyboardBars,
                             &s.keepBarsAligned, &s.trebleTabBars, &s.resetBarCount, &s.evenSpacing});
      // -999 marks a field as not set.
      const auto unset = [](int& value, int replacement) {
        if (value == -999) value = replacement;
      };
      unset(s.titleFontThreshold, 99);
      unset(s.rewrapBelow, 0);
      for (int* flag : {&s.leftBarMusic, &s.leftBarTab, &s.rightBarMusic, &s.rightBarTab, &s.keyboardBars,
                        &s.keepBarsAligned})
        unset(*flag, 1);
      unset(s.trebleTabBars, 0);
      unset(s.resetBarCount, 1);
      unset(s.evenSpacing, 9);
      g_autoWrap = s.autoWrap;
      break;
    }
    case KPrefGroup::kExtTextFont:
      g_prefExtTextFont = Read(group);
      g_staffTextFont = g_prefExtTextFont;
      break;
    case KPrefGroup::k2ndExtTextFont:
      g_prefExt2TextFont = Read(group);
      break;
    case KPrefGroup::k2ndBracketTextFont:
      g_prefBracket2TextFont = Read(group);
      break;
    case KPrefGroup::kTripletFont:
      g_prefTripletFont = Read(group);
      g_tripletFont = g_prefTripletFont;
      break;
    case KPrefGroup::kTextFont:
      g_prefTextFont = Read(group);
      break;
    case KPrefGroup::kChords: {
      KPrefChords& c = g_prefChords;
      int unused = 0;
      ReadInts(Read(group), {&c.showDiagrams, &c.variationNumbering, &c.scanForCustomChords, &unused,
                             &c.customOnTop, &c.nameStyle});
      NineBecomes(c.scanForCustomChords, 1);
      NineBecomes(c.customOnTop, 0);
      NineBecomes(c.nameStyle, 0);
      break;
    }
    case KPrefGroup::kChords2: {
      KPrefChords2& c = g_prefChords2;
      ReadInts(Read(group),
               {&g_fingerRowOption, &c.displayFlag, &c.fretNumberPos, &c.barreStyle, &c.displayFlag2,
                &c.displayFlag3, &c.playSelected, &c.onlyCustom, &c.diagramWidth, &c.diagramHeight,
                &c.altFromDictionary, &c.arpeggioDelay, &c.altFromCustom, &c.variationsView});
      NineBecomes(c.playSelected, 1);
      NineBecomes(c.onlyCustom, 0);
      NineBecomes(c.diagramWidth, 100);
      NineBecomes(c.diagramHeight, 100);
      NineBecomes(c.altFromDictionary, 1);
      NineBecomes(c.arpeggioDelay, 300);
      NineBecomes(c.altFromCustom, 1);
      NineBecomes(c.variationsView, 0);
      break;
    }
    case KPrefGroup::kChordNameFont:
      g_prefChordNameFont = ReadOr(group, DefaultChordNameFont(g_prefChords.nameStyle));
      g_chordNameFont = g_prefChordNameFont;
      break;
    case KPrefGroup::kRhythmFont:
      g_prefRhythmFont = Read(group);
      g_rhythmFont = g_prefRhythmFont;
      break;
    case KPrefGroup::kScrolling: {
      KPrefScrolling& s = g_prefScrolling;
      ReadInts(Read(group), {&s.lines, &s.delay, &s.countGroupAsOne, &s.soundOn, &s.repeat});
      break;
    }
    case KPrefGroup::kTextFiles: {
      KPrefTextFiles& t = g_prefTextFiles;
      ReadInts(Read(group), {&t.autoLineBreaks, &t.openAsScore, &t.autoTranslateTab, &t.textTabKinds,
                             &t.removeTextTab, &t.includeAbc, &t.convertAbc});
      NineBecomes(t.textTabKinds, 4);
      NineBecomes(t.removeTextTab, 0);
      NineBecomes(t.includeAbc, 0);
      NineBecomes(t.convertAbc, 1);
      break;
    }
    case KPrefGroup::kExporting:
      ReadInts(Read(group), {&g_prefExporting.imageFormat, &g_prefExporting.interlaced});
      break;
    case KPrefGroup::kTranslation: {
      KPrefTranslation& t = g_prefTranslation;
      ReadInts(Read(group), {&t.options[0], &t.options[1], &t.options[2], &t.options[3], &t.mergeStaffs,
                             &t.shiftBassIntoRange, &t.takeAbove, &t.takeBelow});
      for (int* flag : {&t.mergeStaffs, &t.shiftBassIntoRange, &t.takeAbove, &t.takeBelow})
        NineBecomes(*flag, 1);
      break;
    }
    case KPrefGroup::kTransAltTun:
      ReadInts(Read(group), {&g_prefTransAltTun.placement, &g_prefTransAltTun.wrapAbc});
      NineBecomes(g_prefTransAltTun.wrapAbc, 1);
      break;
    case KPrefGroup::kTranspose:
      ReadInts(Read(group), {&g_prefTranspose.accidentals, &g_prefTranspose.placement});
      break;
    case KPrefGroup::kLineGroups:
      g_prefLineGroups = Read(group);
      break;
    case KPrefGroup::kMidi: {
      KPrefMidi& m = g_prefMidi;
      ReadInts(Read(group),
               {&m.tempo, &m.loop, &m.ignoreRepeats, &m.loudness, &m.outputDevice, &m.showCaret});
      NineBecomes(m.loudness, 100);
      NineBecomes(m.outputDevice, -1);
      g_MidiOutDevice = m.outputDevice;
      break;
    }
    case KPrefGroup::kMidiEffects:
      ReadMidiEffects(Read(group));
      break;
    case KPrefGroup::kAutoFormat: {
      KPrefAutoFormat& a = g_prefAutoFormat;
      ReadInts(Read(group),
               {&a.addSpaces, &a.afterQuarter, &a.afterHalf, &a.afterCluster, &a.beforeBar, &a.afterBar});
      break;
    }
    case KPrefGroup::kMidiImport: {
      KPrefMidiImport& m = g_prefMidiImport;
      ReadInts(Read(group),
               {&m.lineTypes, &m.trebleUpperTone, &m.bassLowerTone, &m.keyboardPercent, &m.splitTone,
                &m.lineLength, &m.metronomeSound, &m.metronomeLoudness, &m.importFlag});
      if (m.keyboardPercent < 1) m.keyboardPercent = 4;
      LineLengthFromCount(m.lineLength);
      NineBecomes(m.metronomeSound, 37);
      NineBecomes(m.metronomeLoudness, 63);
      break;
    }
    case KPrefGroup::kMidiInput: {
      KPrefMidiInput& m = g_prefMidiInput;
      ReadInts(Read(group), {&m.shortestImportNote, &m.inputDevice, &m.metronome, &m.remoteStartStop,
                             &m.liveLineLength, &m.tempo, &m.triggerTone, &m.shortestLiveNote, &m.liveTrigger,
                             &m.lineType, &m.transposeGuitar});
      LineLengthFromCount(m.liveLineLength);
      g_liveLineType = m.lineType;
      m.transposeGuitar = m.transposeGuitar == 9 ? 0 : (m.transposeGuitar > 0 ? 1 : 0);
      break;
    }
    case KPrefGroup::kMidiInstruments: {
      KPrefMidiInstruments& m = g_prefMidiInstruments;
      ReadInts(Read(group), {&m.treble, &m.bass, &m.tab, &m.playbackNumber, &m.tabOctaveLower, &m.alto,
                             &m.tenor, &m.bassTab, &m.playWhileEditing});
      NineBecomes(m.playbackNumber, 10);
      NineBecomes(m.tabOctaveLower, 0);
      NineBecomes(m.alto, 42);
      NineBecomes(m.tenor, 58);
      NineBecomes(m.bassTab, 34);
      NineBecomes(m.playWhileEditing, 1);
      break;
    }
    case KPrefGroup::kPrinterParams: {
      KPrefPrinterParams& p = g_prefPrinterParams;
      const KPrefPrinterParams defaults;
      ReadInts(Read(group), {&p.pageWidth, &p.pageHeight, &p.resolutionX, &p.resolutionY});
      if (p.pageWidth == 0) p.pageWidth = defaults.pageWidth;
      if (p.pageHeight == 0) p.pageHeight = defaults.pageHeight;
      if (p.resolutionX == 0) p.resolutionX = defaults.resolutionX;
      if (p.resolutionY == 0) p.resolutionY = defaults.resolutionY;
      g_deviceDpiX = p.resolutionX;
      g_deviceResX = PrintScale(p.resolutionX, g_prefPgOptions.printSize);
      g_deviceResY = PrintScale(p.resolutionY, g_prefPgOptions.printSize);
      break;
    }
  }
}

}  // namespace

namespace {

// The score objects keep their own copies of the preferences they read, since
// they sit below the application; these hand the values down.
void ApplyLinePreferences() {
  g_staffTextAsAbc = g_prefTextFiles.includeAbc != 0;
  g_tabAltTuningNames = g_prefTabOptions.altTuningPitches;
  g_tabShowTabWord = g_prefTabOptions.showTabWord;
  g_joinBracketedLines = g_prefStaffLines3.trebleTabBars;
  g_defaultRhythmFontText = g_prefRhythmFont;
  g_defaultChordNameFontText = g_prefChordNameFont;
  g_defaultDiagramWidthPct = g_prefChords2.diagramWidth;
  g_defaultDiagramHeightPct = g_prefChords2.diagramHeight;
  g_fretBoxMargin = g_prefPrintCorr.ClippingCode();
  g_drumClefOption = g_prefStaffLines.drumClefStyle;
  g_shiftBassIntoTabRange = g_prefTranslation.shiftBassIntoRange;
  g_textTabMode = std::clamp(g_prefTranslation.options[0], 0, 2);
  g_rhythmAbove = g_prefTranslation.takeAbove;
  g_rhythmBelow = g_prefTranslation.takeBelow;
  g_diagramOptionA = g_prefChords2.barreStyle;
  g_diagramOptionB = g_prefChords2.fretNumberPos;
  g_warnBarTiming = g_prefStaffLines2.warnBarTiming;
  g_liveShortestNote = g_prefMidiInput.shortestLiveNote;
  g_diagramFretNumbers = g_prefChords.variationNumbering;
  g_adaptLibraryShapes = g_prefChords2.altFromDictionary;
  // The chord dialogs' preferences.
  g_chordSettings.libraryOff = g_prefChords2.onlyCustom;
  g_chordSettings.userTypesFirst = g_prefChords.customOnTop;
  g_chordSettings.scanOnOpen = g_prefChords.scanForCustomChords;
  g_chordSettings.pictureMode = g_prefChords2.variationsView;
  g_chordSettings.playOnSelect = g_prefChords2.playSelected;
  g_chordSettings.designer[0] = g_fingerRowOption;
  g_chordSettings.designer[1] = g_prefChords2.displayFlag;
  g_chordSettings.designer[2] = g_prefChords2.fretNumberPos;
  g_chordSettings.designer[3] = g_prefChords2.barreStyle;
  g_chordSettings.designer[4] = g_prefChords2.displayFlag2;
  g_chordSettings.designer[5] = g_prefChords2.displayFlag3;
  g_textTabBassKinds = g_prefTextFiles.textTabKinds;
  g_textTabBanjoFingering = g_prefTabOptions.banjoFingering;
  g_textTabRemoveRows = g_prefTextFiles.removeTextTab;
  g_defaultTextFontText = g_prefExtTextFont;
  g_defaultNumberFontText = g_prefTripletFont;
  g_staffLines3Second = g_prefStaffLines3.titleFontThreshold;
}

}  // namespace

void LoadRegistrySettings() {
  KPreferenceReader reader;
  reader.Run();
  KeepPreferencesInRange();
  ApplyLinePreferences();
}
