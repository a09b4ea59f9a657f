#include "doc/ScoreSettings.h"

#include <algorithm>
#include <type_traits>

#include "common/Globals.h"
#include "common/RecentChords.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/NewScoreSheetWidth.h"
#include "doc/pref_values/Preferences.h"
#include "platform/StringTable.h"

namespace {

// General MIDI program of percussion lines: the "Percussion" entry after the
// 128 programs.
constexpr int kPercussionProgram = 130;

// Bits 8 to 10 of a chord-diagram percentage, kept in flags48.
constexpr int kDiagramHighBits = 0x700;

// The autosave modes of the preference.
constexpr int kAutosaveByCharacters = 0;
constexpr int kAutosaveByMinutes = 1;
constexpr int kAutosaveNever = 2;
constexpr int kAutosaveAskEachFile = 3;
// The autosave kinds of a score.
constexpr BYTE kCountTime = 0;
constexpr BYTE kCountCharacters = 1;
constexpr BYTE kCountCharactersThenAsk = 10;
// The autosave timer ticks every 30 seconds.
constexpr int kTicksPerMinute = 2;

// The ranges of the values a score file stores (ScoreSettings::KeepInRange).
constexpr int kSmallestWindowSize = 40;
constexpr int kLargestWindowSize = 2500;
constexpr int kLargestWindowPlace = 2500;
constexpr int kLargestStaffLength = 32767;
constexpr int kLargestFirstPage = 9999;
constexpr int kLargestLineSpacing = 30;
constexpr int kGroupedScrollMark = 100;  // added to the lines to scroll when groups count as one
constexpr int kMostScrollLines = 99;
constexpr int kSmallestPrintScale = 20;
constexpr int kLargestPrintScale = 400;
constexpr int kFastestTempo = 1000;

// The stored code of each Ad-Tab display mode 0 to 3.
constexpr BYTE kAdTabCodes[4] = {0, 2, 6, 4};

BYTE ToByte(int value) { return static_cast<BYTE>(value); }
short ToShort(int value) { return static_cast<short>(value); }
BYTE Flag(int value) { return value != 0 ? 1 : 0; }
BYTE ClampToByte(int value) { return static_cast<BYTE>(std::clamp(value, 0, 255)); }

// A chord-diagram percentage: its low byte goes to diagramScale, bits 8 to 10
// to flags48 at the given shift.
int SplitDiagramPercent(int percent, int shift, BYTE& flags) {
  if (percent > 255) {
    flags = static_cast<BYTE>(flags | (((percent & kDiagramHighBits) >> 8) << shift));
    percent &= 0xFF;
  }
  return percent & 0xFF;
}

}  // namespace

ScoreSettings::ScoreSettings() {
  const KWindowPlacement& window = g_prefNewDocWnd;
  windowX = ToShort(window.left);
  windowY = ToShort(window.top);
  windowWidth = ToShort(window.width);
  windowHeight = ToShort(window.height);
  scrollDelay = ToShort(g_prefScrolling.delay);
  // A new score's fixed staff length keeps within a printed sheet at 100 %,
  // so that music wrapped to it prints at its own size.
  fixedLineLength =
      ToShort(g_prefStaffLines.allFixedLength ? NewScoreStaffLength(g_prefStaffLines.initialStaffLength) : 0);

  flags48 = Flag(g_prefChords.showDiagrams);
  const int width = SplitDiagramPercent(g_prefChords2.diagramWidth, 1, flags48);
  const int height = SplitDiagramPercent(g_prefChords2.diagramHeight, 4, flags48);
  diagramScale = static_cast<WORD>(width * 256 + height);

  largeSymbols = ToByte(g_prefDocViewOptions.largeSymbols);
  // The byte holds 1 to 99 lines, plus the mark of grouped lines.
  scrollLines = ToByte(std::clamp(g_prefScrolling.lines, 1, kMostScrollLines) +
                       (g_prefScrolling.countGroupAsOne ? kGroupedScrollMark : 0));
  lineSpacing = ToByte(g_lineGap);

  // The preference counts characters or minutes; a score counts characters or
  // ticks of the 30-second autosave timer.
  const int interval = g_prefAutoSave.interval;
  switch (g_prefAutoSave.mode) {
    case kAutosaveByCharacters:
      autosaveKind = kCountCharacters;
      autosaveAmount = ClampToByte(interval);
      break;
    case kAutosaveByMinutes:
      autosaveKind = kCountTime;
      autosaveAmount = ClampToByte(interval * kTicksPerMinute);
      break;
    case kAutosaveNever:
      autosaveKind = kCountTime;
      autosaveAmount = 0;
      break;
    case kAutosaveAskEachFile:
    default:
      autosaveKind = kCountCharactersThenAsk;
      autosaveAmount = ClampToByte(interval);
      break;
  }

  byte15 = ToByte(g_prefStaffLines.staffLengthOption);
  lineLabelMode = ToByte(g_prefDocViewOptions.lineLabels);
  const int adTab = g_adTabMode >= 0 && g_adTabMode <= 3 ? g_adTabMode : 0;
  adTabMode = static_cast<BYTE>(kAdTabCodes[adTab] + Flag(g_prefTabOptions.stemsOnTab));
  tabDigitPlacement =
      ToByte((g_prefPrintCorr.tabDigitOffset + 10) * 10 + Flag(g_prefDocViewOptions.barNumbering));
  repeatScrolling = Flag(g_prefScrolling.repeat);
  scrollSound = Flag(g_prefScrolling.soundOn);

  std::fill(std::begin(showLineType), std::end(showLineType), BYTE{1});
  showLineType[kPackedShowFlags] = 255;

  arrowKeysWithinStaff = g_prefEntryOptions.upDownMode == 1 ? 1 : 0;
  arrowCursor = g_prefEntryOptions.cursorMode == 0 ? 1 : 0;
  keyChangesCursor = Flag(g_prefEntryOptions.keyboardChangesCursor);
  const KPrefToolViewOptions& bars = g_prefToolViewOptions;
  barFlags = static_cast<BYTE>(Flag(bars.clock) << 3 | Flag(bars.showStatusBar) << 2 |
                               Flag(bars.showExtraToolbar) << 1 | Flag(bars.showMainToolbar));
  makeBackups = Flag(g_prefAutoSave.makeBackups);
  editFlags =
      static_cast<BYTE>(Flag(g_prefAutoSave.undoEnabled) << 6 | Flag(g_prefStaffLines3.rewrapBelow) << 5 |
                        Flag(g_prefStaffLines3.autoWrap) << 4 | Flag(g_prefScrolling.countGroupAsOne) << 3 |
                        Flag(g_prefChords.variationNumbering) << 2 | Flag(g_prefTabOptions.showTabWord) << 1 |
                        Flag(g_prefTabOptions.altTuningPitches));

  tabTuning = g_prefTabTuning;
  bassTabTuning = g_prefBassTabTuning;
  if (g_prefLabelledTabTuning.Find(g_LabelSeparator) >= 0) tabTuningFull = g_prefLabelledTabTuning;

  showVariationNumbers = Flag(g_prefChords.variationNumbering);
  printScale = ToShort(g_prefPgOptions.printSize);
  marginUnit = ToByte(g_prefPgMargins.units);
  marginTop = ToShort(g_prefPgMargins.top);
  marginBottom = ToShort(g_prefPgMargins.bottom);
  marginLeft = ToShort(g_prefPgMargins.left);
  marginRight = ToShort(g_prefPgMargins.right);
  showPageBreaks = Flag(g_prefPgOptions.showPageBreaks);
  pageXofY = Flag(g_prefPgNum.pageXofY);
  pageNumberText = ToByte(g_prefPgNum.type);
  pageNumberVertical = ToByte(g_prefPgNum.vertical);
  pageNumberHorizontal = ToByte(g_prefPgNum.horizontal);
  keepGroupsTogether = Flag(g_prefPgOptions.builtInFlag);
  alertLargerThanPage = Flag(g_prefPgOptions.alertOversize);

  midiTempo = ToShort(g_prefMidi.tempo);
  midiLoop = Flag(g_prefMidi.loop);
  midiIgnoreRepeats = Flag(g_prefMidi.ignoreRepeats);
  midiShowCaret = Flag(g_prefMidi.showCaret);
  tabSpacing = ToByte(g_prefStaffLines2.tabLineSpacing * 10 + Flag(g_prefTabOptions.fretFromPrevious));
  SetFixedInstruments();

  pageNumberFont = g_prefPgNumFont;
  textFont = g_prefTextFont;
  extTextFont = g_prefExtTextFont;
  tripletFont = g_prefTripletFont;
  extTextAndTripletFonts = extTextFont + g_LabelSeparator + tripletFont;
  tabFont = g_prefTabFont;
  chordNameFont = g_prefChordNameFont;
  rhythmFont = g_prefRhythmFont;
  chordAndRhythmFonts = chordNameFont + g_LabelSeparator + rhythmFont;

  const KPrefStaffLines2& staff = g_prefStaffLines2;
  staffValue8 = ToShort(staff.defaultIndent);
  staffValue9 = ToByte(staff.spaceAboveStaff);
  staffValue10 = ToByte(staff.spaceBelowStaff);
  staffValue11 = ToByte(staff.spaceAboveTab);
  staffValue12 = ToByte(staff.spaceBelowTab);
  midiEffects = g_defaultEffects;
}

void ScoreSettings::KeepInRange() {
  const ScoreSettings fresh;
  const auto keep = [](auto& value, int low, int high, auto fallback) {
    if (value < low || value > high) value = static_cast<std::remove_reference_t<decltype(value)>>(fallback);
  };
  // The window: near the frame's client area, and of a size a window has.
  keep(windowX, -kLargestWindowPlace, kLargestWindowPlace, 0);
  keep(windowY, -kLargestWindowPlace, kLargestWindowPlace, 0);
  keep(windowWidth, kSmallestWindowSize, kLargestWindowSize,
       std::clamp<int>(fresh.windowWidth, kSmallestWindowSize, kLargestWindowSize));
  keep(windowHeight, kSmallestWindowSize, kLargestWindowSize,
       std::clamp<int>(fresh.windowHeight, kSmallestWindowSize, kLargestWindowSize));
  keep(fixedLineLength, 0, kLargestStaffLength, 0);
  keep(firstPageNumber, 0, kLargestFirstPage, 0);
  keep(lineSpacing, 0, kLargestLineSpacing, std::min<int>(fresh.lineSpacing, kLargestLineSpacing));
  // Lines to scroll: a count out of range becomes the nearest count allowed
  // (0 scrolls 1 line), and the mark of grouped lines stays as stored.
  const int grouped = scrollLines >= kGroupedScrollMark ? kGroupedScrollMark : 0;
  scrollLines = ToByte(std::clamp(scrollLines - grouped, 1, kMostScrollLines) + grouped);
  if (autosaveKind != kCountTime && autosaveKind != kCountCharacters &&
      autosaveKind != kCountCharactersThenAsk)
    autosaveKind = fresh.autosaveKind;
  // The page: the printout size the print options allow, and the choices
  // of its radio buttons.
  keep(printScale, kSmallestPrintScale, kLargestPrintScale,
       std::clamp<int>(fresh.printScale, kSmallestPrintScale, kLargestPrintScale));
  keep(marginUnit, 0, 1, std::min<int>(fresh.marginUnit, 1));
  keep(pageNumberText, 0, 2, 0);
  keep(pageNumberVertical, 0, 1, 0);
  keep(pageNumberHorizontal, 0, 3, 0);
  // Playback: a tempo of 0 or below takes the preference's.
  keep(midiTempo, 0, kFastestTempo, 0);
}

void ScoreSettings::SetFixedInstruments() {
  const KPrefMidiInstruments& p = g_prefMidiInstruments;
  const int programs[kFixedInstruments] = {p.treble, p.bass,  p.tab,    kPercussionProgram,
                                           p.alto,   p.tenor, p.bassTab};
  const CString volume = FormatNumberLabel(g_prefMidi.loudness);
  for (int i = 0; i < kFixedInstruments; ++i) {
    instrumentTable[i] = FormatNumberLabel(programs[i]) + volume + LoadString(kFirstUnlabelledLineNameId + i);
  }
  for (int i = kFixedInstruments; i < kInstrumentSlots; ++i) instrumentTable[i].Empty();
  instrumentCount = kFixedInstruments;
}
