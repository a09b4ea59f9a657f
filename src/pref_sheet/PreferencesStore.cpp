// Storing the preferences pages on OK: group by group, the page values are
// compared with the preference variables (the group's rows, PreferenceRows.h,
// then by hand the values that need a conversion); a group with a changed
// value gets its limits applied and its new values, and is listed for
// writing. A group that did not change is not touched, so OK without a change
// writes nothing.

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/NoteConversions.h"
#include "common/ViewServices.h"
#include "dialogs/MarginUnits.h"
#include "lines/KSpeedLine.h"
#include "model/DocServices.h"
#include "pref_sheet/PreferenceRows.h"
#include "pref_sheet/PreferencesSheet.h"

namespace {

// The largest margin that the preferences keep: 3 inches, or 75 millimetres.
constexpr int kLargestDefaultMargin[2] = {300, 75};

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
  // Compares the group's rows (and, by the caller, its values kept by hand);
  // when any differs, stores the rows and lists the group. True when it did:
  // the caller then stores the values it keeps by hand.
  auto store = [&](KPrefGroup group, bool byHandDiffers = false) {
    if (!PreferenceRowsDiffer(pages, group) && !byHandDiffers) return false;
    StorePreferenceRows(pages, group);
    result.changed.push_back(group);
    return true;
  };
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
    if (store(KPrefGroup::kStavlinXYSizeXYPos, !(shown == stored))) {
      g_rcMainWnd.width = std::max(120, shown.width);
      g_rcMainWnd.height = std::max(120, shown.height);
      g_rcMainWnd.left = std::min(shown.left, context.screenWidth - 100);
      g_rcMainWnd.top = std::min(shown.top, context.screenHeight - 100);
      result.mainWindowMoved = true;
    }
  }
  // 2. New score windows and the start-up action; the window's corner stays
  // within the main window.
  if (store(KPrefGroup::kNewDocXYSizeXYPos,
            p1.docLeft != g_prefNewDocWnd.left || p1.docTop != g_prefNewDocWnd.top)) {
    g_prefNewDocWnd.left = std::min(p1.docLeft, g_rcMainWnd.width - 20);
    g_prefNewDocWnd.top = std::min(p1.docTop, g_rcMainWnd.height - 40);
  }
  // 3. The start folder, when it can be entered.
  if (p1.startFolder != g_strStartFolder && FolderUsable(context, p1.startFolder)) {
    g_strStartFolder = p1.startFolder;
    result.changed.push_back(KPrefGroup::kStartFolder);
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
    if (store(KPrefGroup::kPgMargins, values.top != stored.top || values.bottom != stored.bottom ||
                                          values.left != stored.left || values.right != stored.right ||
                                          values.units != stored.units))
      g_prefPgMargins = values;
  }
  // 5. Page options; an overlap outside 0 to 400 keeps the stored one.
  if (store(KPrefGroup::kPgOptions, p1.overlap != g_prefPgOptions.pageOverlap)) {
    if (p1.overlap >= 0 && p1.overlap <= 400) g_prefPgOptions.pageOverlap = p1.overlap;
  }
  // 6. Page numbers and their font.
  store(KPrefGroup::kPgNum);
  store(KPrefGroup::kPgNumFont);
  // 7. Printing corrections; 0 and 99 mean no clipping.
  {
    KPrefPrintCorr& c = g_prefPrintCorr;
    if (store(KPrefGroup::kPrintCorr, p1.clipping != c.ClippingCode())) {
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
      g_printCorrX = c.symbolSizeX;
      g_printCorrY = c.symbolSizeY;
      g_tabDigitOffset = c.tabDigitOffset;
    }
  }
  // 8. Text scaling and chord diagram colours.
  store(KPrefGroup::kPrintCorr2);
  // 9. Entry options.
  store(KPrefGroup::kEntryOptions);
  // 10. Bars and the clock.
  if (store(KPrefGroup::kToolViewOptions)) result.barsChanged = true;
  // 11. The toolbox positions now, when asked.
  result.saveToolboxPositions = p2.saveToolboxesNow != 0;
  // 12. What new scores show; the line spacing is limited first, and a new
  // spacing lays the scores out again.
  {
    const int spacing = Clamp(p2.lineSpacing, 0, 100);
    const bool spacingChanged = spacing != g_lineGap;
    if (store(KPrefGroup::kDocViewOptions, spacingChanged)) {
      if (spacingChanged) result.relayout = true;
      g_lineGap = spacing;
    }
  }
  // 13. Autosave and undo.
  store(KPrefGroup::kAutoSave);
  // 14. Tablature options; the banjo fingering chooses the five-string tuning.
  if (store(KPrefGroup::kTabOptions))
    g_prefFiveStringTuning =
        g_prefTabOptions.banjoFingering != 0 ? kBanjoFiveStringTuning : kPlainFiveStringTuning;
  // 15, 16. The default tunings, when the buttons made the tunings in use the
  // defaults; the tab font.
  if (p4.tuningChanged != 0 &&
      (p4.defaultTuning != g_prefTabTuning || p4.defaultLabelledTuning != g_prefLabelledTabTuning)) {
    g_prefTabTuning = p4.defaultTuning;
    g_prefLabelledTabTuning = p4.defaultLabelledTuning;
    result.changed.push_back(KPrefGroup::kTabTuning);
  }
  if (p4.bassTuningChanged != 0 && p4.defaultBassTuning != g_prefBassTabTuning) {
    g_prefBassTabTuning = p4.defaultBassTuning;
    result.changed.push_back(KPrefGroup::kBassTabTuning);
  }
  if (store(KPrefGroup::kTabFont, p4.tabFont != g_prefTabFont)) {
    g_prefTabFont = p4.tabFont;
    g_tabDigitHeight = FontHeightOf(p4.tabFont, g_tabDigitHeight);
  }
  // 17. Staff lines.
  if (store(KPrefGroup::kStaffLines)) g_defaultLineLength = g_prefStaffLines.initialStaffLength;
  // 18. Bars, stems and tab lines; a new tab-line spacing lays the scores out
  // again.
  {
    KPrefStaffLines2& s = g_prefStaffLines2;
    const bool tabSpacingChanged = p4.tabSpacing != s.tabLineSpacing;
    if (store(KPrefGroup::kStaffLines2, tabSpacingChanged)) {
      if (tabSpacingChanged) {
        g_tabStringSpacing = p4.tabSpacing;
        result.relayout = true;
      }
      s.tabLineSpacing = p4.tabSpacing;
    }
  }
  // 19. Wrapping, staff ends and aligned bars.
  {
    const bool aligned = p3.keepBarsAligned != g_prefStaffLines3.keepBarsAligned;
    if (store(KPrefGroup::kStaffLines3)) result.keepBarsAlignedChanged = aligned;
  }
  // 20. Fonts and chords; the fonts in use follow the preferred ones.
  if (store(KPrefGroup::kExtTextFont, p3.staffTextFont != g_prefExtTextFont))
    g_prefExtTextFont = g_staffTextFont = p3.staffTextFont;
  if (store(KPrefGroup::kTripletFont, p3.tripletFont != g_prefTripletFont))
    g_prefTripletFont = g_tripletFont = p3.tripletFont;
  store(KPrefGroup::kChords);
  {
    const int showFingering = p5.fingering == 0 ? 1 : 0;
    if (store(KPrefGroup::kChords2, showFingering != g_fingerRowOption)) g_fingerRowOption = showFingering;
  }
  if (store(KPrefGroup::kChordNameFont, p5.chordNameFont != g_prefChordNameFont))
    g_prefChordNameFont = g_chordNameFont = p5.chordNameFont;
  if (store(KPrefGroup::kRhythmFont, p4.rhythmFont != g_prefRhythmFont))
    g_prefRhythmFont = g_rhythmFont = p4.rhythmFont;
  store(KPrefGroup::kTextFont);
  // 21. Auto-scrolling: the delay is edited in seconds, kept in tenths.
  if (store(KPrefGroup::kScrolling, p6.scrollSeconds != g_prefScrolling.delay / 10))
    g_prefScrolling.delay = Clamp(p6.scrollSeconds, 1, 30) * 10;
  // 22. Text files; the text-tab kinds from the three radio pairs.
  {
    const int kinds = (p6.sixStringsBass == 1 ? 1 : 0) + 2 * (p6.fiveStringsBass == 1 ? 1 : 0) +
                      4 * (p6.fourStringsBass == 1 ? 1 : 0);
    if (store(KPrefGroup::kTextFiles, kinds != g_prefTextFiles.textTabKinds))
      g_prefTextFiles.textTabKinds = kinds;
  }
  // 23. Image export, translation and transposition.
  store(KPrefGroup::kExporting);
  store(KPrefGroup::kTransAltTun);
  store(KPrefGroup::kTranslation);
  store(KPrefGroup::kTranspose);
  // 24. Playback. The output device is compared as entered: "none chosen"
  // (-1) stays while the device field is left alone, and a device number
  // entered as 0 or less is 2.
  {
    KPrefMidi& m = g_prefMidi;
    if (store(KPrefGroup::kMidi, p7.outputDevice != m.outputDevice)) {
      if (p7.outputDevice != m.outputDevice) m.outputDevice = p7.outputDevice <= 0 ? 2 : p7.outputDevice;
      g_MidiOutDevice = m.outputDevice;
    }
  }
  // 25. Playback effects and the spaces of imported scores.
  {
    KPrefMidiEffects& e = g_prefMidiEffects;
    bool effectsDiffer = p7.effects[KPropMIDI::kEffectCount - 1] != e.staccato;
    for (int i = 0; i < kMidiEffectFlagCount; ++i)
      effectsDiffer = effectsDiffer || p7.effects[i] != e.flags[i];
    if (store(KPrefGroup::kMidiEffects, effectsDiffer)) {
      for (int i = 0; i < kMidiEffectFlagCount; ++i) e.flags[i] = p7.effects[i];
      e.staccato = p7.effects[KPropMIDI::kEffectCount - 1];
      g_defaultEffects = EffectsWord(e);
    }
  }
  store(KPrefGroup::kAutoFormat);
  // 26. MIDI file import; a note name that does not read keeps the number.
  {
    KPrefMidiImport& i = g_prefMidiImport;
    const int treble = ToneOf(p8.trebleThreshold, i.trebleUpperTone);
    const int bass = ToneOf(p8.bassThreshold, i.bassLowerTone);
    const int split = ToneOf(p8.splitTone, i.splitTone);
    if (store(KPrefGroup::kMidiImport,
              treble != i.trebleUpperTone || bass != i.bassLowerTone || split != i.splitTone)) {
      i.trebleUpperTone = treble;
      i.bassLowerTone = bass;
      i.splitTone = split;
    }
  }
  // 27. Live input.
  {
    KPrefMidiInput& i = g_prefMidiInput;
    const int trigger = ToneOf(p8.triggerTone, i.triggerTone);
    if (store(KPrefGroup::kMidiInput, trigger != i.triggerTone)) {
      i.triggerTone = trigger;
      g_liveLineType = i.lineType;
    }
  }
  // 28. Instruments; a number outside 1 to 129 gets the line's usual one.
  store(KPrefGroup::kMidiInstruments);
  return result;
}
