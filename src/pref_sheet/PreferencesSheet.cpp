// The sheet's pages, and how they are filled from the preference variables:
// the plain ones by their rows (PreferenceRows.h), then by hand the rest:
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
#include "pref_sheet/PreferenceRows.h"

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
  FillPreferenceRows(pages);

  // Page 1.
  KPropDocLayPrt& p1 = pages.docLayPrt;
  p1.docLeft = g_prefNewDocWnd.left;
  p1.docTop = g_prefNewDocWnd.top;
  const KWindowPlacement shownMain = ShownMainWindow(context);
  p1.mainWidth = shownMain.width;
  p1.mainHeight = shownMain.height;
  p1.mainLeft = std::max(0, shownMain.left);
  p1.mainTop = std::max(0, shownMain.top);
  p1.clipping = g_prefPrintCorr.ClippingCode();
  p1.units = g_prefPgMargins.units != 0 ? kMarginMillimetres : kMarginInches;
  p1.marginTop = ShownMargin(g_prefPgMargins.top, p1.units);
  p1.marginBottom = ShownMargin(g_prefPgMargins.bottom, p1.units);
  p1.marginLeft = ShownMargin(g_prefPgMargins.left, p1.units);
  p1.marginRight = ShownMargin(g_prefPgMargins.right, p1.units);
  p1.overlap = g_prefPgOptions.pageOverlap;
  p1.startFolder = g_strStartFolder;
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
  p2.lineSpacing = g_lineGap;
  p2.saveToolboxesNow = 0;

  // Page 3.
  KPropStfDrmTxt& p3 = pages.stfDrmTxt;
  p3.staffTextFont = g_prefExtTextFont;
  p3.tripletFont = g_prefTripletFont;

  // Page 4.
  KPropTab& p4 = pages.tab;
  p4.tabSpacing = g_prefStaffLines2.tabLineSpacing;
  p4.currentTuning = context.currentTuning;
  p4.currentLabelledTuning = context.currentLabelledTuning;
  p4.currentBassTuning = context.currentBassTuning;
  p4.defaultTuning = g_prefTabTuning;
  p4.defaultLabelledTuning = g_prefLabelledTabTuning;
  p4.defaultBassTuning = g_prefBassTabTuning;
  p4.tabFont = g_prefTabFont;
  p4.rhythmFont = g_prefRhythmFont;
  p4.tuningChanged = 0;
  p4.bassTuningChanged = 0;

  // Page 5.
  KPropChord& p5 = pages.chord;
  p5.fingering = g_fingerRowOption == 1 ? 0 : 1;
  p5.chordNameFont = g_prefChordNameFont;

  // Page 6.
  KPropSclTxfTrns& p6 = pages.sclTxfTrns;
  p6.scrollSeconds = g_prefScrolling.delay / 10;
  const int kinds = g_prefTextFiles.textTabKinds;
  p6.sixStringsBass = kinds & 1;
  p6.fiveStringsBass = (kinds >> 1) & 1;
  p6.fourStringsBass = (kinds >> 2) & 1;

  // Page 7.
  KPropMIDI& p7 = pages.midi;
  p7.outputDevice = g_prefMidi.outputDevice;
  for (int i = 0; i < kMidiEffectFlagCount; ++i) p7.effects[i] = g_prefMidiEffects.flags[i];
  p7.effects[KPropMIDI::kEffectCount - 1] = g_prefMidiEffects.staccato;

  // Page 8.
  KPropMIDIInput& p8 = pages.midiInput;
  p8.triggerTone = ToneNameOf(g_prefMidiInput.triggerTone);
  p8.trebleThreshold = ToneNameOf(g_prefMidiImport.trebleUpperTone);
  p8.bassThreshold = ToneNameOf(g_prefMidiImport.bassLowerTone);
  p8.splitTone = ToneNameOf(g_prefMidiImport.splitTone);
}
