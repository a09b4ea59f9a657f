// Storing the preferences sheet on OK: what the pages' values become in the
// preference variables, which groups change (and so are written), and what
// the frame is asked to do; then the whole command with the store behind it.

#include <gtest/gtest.h>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/NoteConversions.h"
#include "common/ViewServices.h"
#include "doc/PreferenceTestSupport.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "platform/FakeUiPort.h"
#include "pref_sheet/PreferencesSheet.h"
#include "support/CaseName.h"

namespace {

class PreferencesStore : public PreferenceTest {
 protected:
  void SetUp() override {
    PreferenceTest::SetUp();
    context.mainWindow = KWindowPlacement{900, 700, 10, 20};
    context.screenWidth = 1280;
    context.screenHeight = 900;
    context.currentTuning = "E A D G B E  323742475156";
    context.folderUsable = [](const CString& folder) { return folder == "/music"; };
  }
  // Fills the pages, lets enter change them, stores them.
  KPrefStoreResult StoreWith(void (*enter)(KPreferencesSheet&)) {
    FillPreferencePages(pages, context);
    if (enter != nullptr) enter(pages);
    return StorePreferencePages(pages, context);
  }

  KPrefSheetContext context;
  KPreferencesSheet pages;
};

// ---- What OK stores ------------------------------------------------------------------------

struct StoreCase {
  const char* name;
  void (*before)();                   // the preferences before the sheet opens
  void (*enter)(KPreferencesSheet&);  // what the user enters
  std::vector<KPrefGroup> changed;
  bool (*stored)();  // what the variables hold afterwards
};

void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.name; }

class StoreOnOk : public PreferencesStore, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreOnOk, StoresWhatChanged) {
  const StoreCase& c = GetParam();
  if (c.before != nullptr) c.before();
  const KPrefStoreResult result = StoreWith(c.enter);
  EXPECT_EQ(result.changed, c.changed);
  if (c.stored != nullptr) {
    EXPECT_TRUE(c.stored());
  }
}

const StoreCase kStoreCases[] = {
    {"nothing entered stores nothing", nullptr, nullptr, {}, nullptr},
    {"a main window 60 wide is stored 120 wide",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.mainWidth = 60; },
     {KPrefGroup::kStavlinXYSizeXYPos},
     [] { return g_rcMainWnd.width == 120; }},
    {"a main window left of the screen's right edge",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.mainLeft = 2000; },
     {KPrefGroup::kStavlinXYSizeXYPos},
     [] { return g_rcMainWnd.left == 1280 - 100; }},
    {"a new score window at least 100 wide",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.docWidth = 40; },
     {KPrefGroup::kNewDocXYSizeXYPos},
     [] { return g_prefNewDocWnd.width == 100; }},
    {"a margin of 0.1 inch is stored as 0",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.marginLeft = 0.1; },
     {KPrefGroup::kPgMargins},
     [] { return g_prefPgMargins.left == 0; }},
    {"a margin of 4 inches is stored as 300",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.marginTop = 4.0; },
     {KPrefGroup::kPgMargins},
     [] { return g_prefPgMargins.top == 300; }},
    {"a margin of 0.58 inch shown again keeps its 33 hundredths",
     [] { g_prefPgMargins.top = 33; },
     nullptr,
     {},
     [] { return g_prefPgMargins.top == 33; }},
    {"a margin typed as 0.576 inch is the nearest hundredth",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.marginBottom = 0.576; },
     {KPrefGroup::kPgMargins},
     [] { return g_prefPgMargins.bottom == 33; }},
    {"a margin of 11.6 millimetres is the nearest whole millimetre",
     [] {
       g_prefPgMargins = KPrefPgMargins{5, 5, 5, 5, 1};
     },
     [](KPreferencesSheet& p) { p.docLayPrt.marginRight = 11.6; },
     {KPrefGroup::kPgMargins},
     [] { return g_prefPgMargins.right == 6 && g_prefPgMargins.units == 1; }},
    {"an overlap outside 0 to 400 keeps the one before",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.overlap = 500; },
     {KPrefGroup::kPgOptions},
     [] { return g_prefPgOptions.pageOverlap == 5; }},
    {"clipping 0 means no clipping",
     [] { g_prefPrintCorr.clipUnits = 3; },
     [](KPreferencesSheet& p) { p.docLayPrt.clipping = 0; },
     {KPrefGroup::kPrintCorr},
     [] { return g_prefPrintCorr.noClipping == 1 && g_prefPrintCorr.ClippingCode() == 0; }},
    {"clipping 99 means no clipping too",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.clipping = 99; },
     {KPrefGroup::kPrintCorr},
     [] { return g_prefPrintCorr.noClipping == 1 && g_prefPrintCorr.clipUnits == 4; }},
    {"clipping 37 is tens 3 and units 7",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.clipping = 37; },
     {KPrefGroup::kPrintCorr},
     [] {
       return g_prefPrintCorr.clipTens == 3 && g_prefPrintCorr.clipUnits == 7 &&
              g_prefPrintCorr.ClippingCode() == 37;
     }},
    {"a new symbol size is also the one in use",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.symbolSizeX = 120; },
     {KPrefGroup::kPrintCorr},
     [] { return g_printCorrX == 120; }},
    {"a MIDI instrument number 0 is the line's usual one",
     nullptr,
     [](KPreferencesSheet& p) { p.midi.bass = 0; },
     {},
     [] { return g_prefMidiInstruments.bass == 34; }},
    {"a MIDI instrument number above 129 is the line's usual one",
     nullptr,
     [](KPreferencesSheet& p) { p.midi.treble = 200; },
     {},
     [] { return g_prefMidiInstruments.treble == 1; }},
    {"a tempo of 0 plays at 120",
     [] { g_prefMidi.tempo = 90; },
     [](KPreferencesSheet& p) { p.midi.tempo = 0; },
     {KPrefGroup::kMidi},
     [] { return g_prefMidi.tempo == 120; }},
    {"no output device chosen stays so while nothing changes",
     nullptr,
     nullptr,
     {},
     [] { return g_prefMidi.outputDevice == -1; }},
    {"an output device of 0 is device 2",
     nullptr,
     [](KPreferencesSheet& p) { p.midi.outputDevice = 0; },
     {KPrefGroup::kMidi},
     [] { return g_prefMidi.outputDevice == 2; }},
    {"a trigger tone that is no note name keeps the tone before",
     nullptr,
     [](KPreferencesSheet& p) { p.midiInput.triggerTone = "xyz"; },
     {},
     [] { return g_prefMidiInput.triggerTone == 100; }},
    {"a trigger tone C5 is note 72",
     nullptr,
     [](KPreferencesSheet& p) { p.midiInput.triggerTone = "C5"; },
     {KPrefGroup::kMidiInput},
     [] { return g_prefMidiInput.triggerTone == 72; }},
    {"a scrolling delay of 45 seconds is kept as 30",
     nullptr,
     [](KPreferencesSheet& p) { p.sclTxfTrns.scrollSeconds = 45; },
     {KPrefGroup::kScrolling},
     [] { return g_prefScrolling.delay == 300; }},
    {"the text-tab kinds come from their three radio pairs",
     nullptr,
     [](KPreferencesSheet& p) {
       p.sclTxfTrns.fourStringsBass = 0;
       p.sclTxfTrns.sixStringsBass = 1;
     },
     {KPrefGroup::kTextFiles},
     [] { return g_prefTextFiles.textTabKinds == 1; }},
    {"always hiding chord fingering clears the fingering flag",
     [] { g_fingerRowOption = 1; },
     [](KPreferencesSheet& p) { p.chord.fingering = 1; },
     {KPrefGroup::kChords2},
     [] { return g_fingerRowOption == 0; }},
    {"a banjo start fret outside 0 to 17 is 5",
     [] { g_prefStaffLines2.banjoStartFret = 7; },
     [](KPreferencesSheet& p) { p.tab.banjoStartFret = 30; },
     {KPrefGroup::kStaffLines2},
     [] { return g_prefStaffLines2.banjoStartFret == 5; }},
    {"an initial staff length below 50 is 50",
     nullptr,
     [](KPreferencesSheet& p) { p.stfDrmTxt.staffLength = 10; },
     {KPrefGroup::kStaffLines},
     [] { return g_prefStaffLines.initialStaffLength == 50 && g_defaultLineLength == 50; }},
    {"a start folder that can be entered",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.startFolder = "/music"; },
     {KPrefGroup::kStartFolder},
     [] { return g_strStartFolder == "/music"; }},
    {"a start folder that cannot be entered changes nothing",
     nullptr,
     [](KPreferencesSheet& p) { p.docLayPrt.startFolder = "/nowhere"; },
     {},
     [] { return g_strStartFolder != "/nowhere"; }},
    {"the tuning in use made the default",
     [] { g_prefTabTuning = "D A D G B E  303742475156"; },
     [](KPreferencesSheet& p) { p.tab.OnMakeTuningDefault(); },
     {KPrefGroup::kTabTuning},
     [] { return g_prefTabTuning == "E A D G B E  323742475156"; }},
};

INSTANTIATE_TEST_SUITE_P(Cases, StoreOnOk, ::testing::ValuesIn(kStoreCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(PreferencesStore, EveryStoredMarginShowsAndStoresBackAsItWas) {
  for (const int units : {0, 1}) {
    for (int margin = 0; margin <= (units == 0 ? 300 : 75); ++margin) {
      g_prefPgMargins = KPrefPgMargins{margin, margin, margin, margin, units};
      EXPECT_TRUE(StoreWith(nullptr).changed.empty()) << margin << (units == 0 ? " hundredths" : " mm");
      EXPECT_EQ(g_prefPgMargins.left, margin);
    }
  }
}

TEST_F(PreferencesStore, WhatTheFrameIsAskedToDo) {
  KPrefStoreResult result = StoreWith([](KPreferencesSheet& p) {
    p.optAsvVw.statusBar = 0;
    p.optAsvVw.lineSpacing = 12;
    p.stfDrmTxt.keepBarsAligned = 0;
    p.docLayPrt.mainTop = 30;
  });
  EXPECT_TRUE(result.barsChanged);
  EXPECT_TRUE(result.relayout);
  EXPECT_TRUE(result.keepBarsAlignedChanged);
  EXPECT_TRUE(result.mainWindowMoved);
  EXPECT_EQ(g_lineGap, 12);
  EXPECT_EQ(g_prefToolViewOptions.showStatusBar, 0);
  // Nothing of this the second time.
  result = StoreWith(nullptr);
  EXPECT_FALSE(result.barsChanged || result.relayout || result.keepBarsAlignedChanged ||
               result.mainWindowMoved);
}

TEST_F(PreferencesStore, TheToolboxPositionsAreSavedWhenAskedEvenWithNothingElseChanged) {
  const KPrefStoreResult result = StoreWith([](KPreferencesSheet& p) { p.optAsvVw.saveToolboxesNow = 1; });
  EXPECT_TRUE(result.changed.empty());
  EXPECT_TRUE(result.saveToolboxPositions);
}

TEST_F(PreferencesStore, NoteNamesShowAsTheReaderReadsThem) {
  for (int number = 8; number <= 127; ++number) {
    EXPECT_EQ(ParseNoteName(ToneNameOf(number)), number) << ToneNameOf(number).Str();
  }
  EXPECT_EQ(ToneNameOf(60), "C4");
  EXPECT_EQ(ToneNameOf(57), "A4");
  EXPECT_EQ(ToneNameOf(68), "Ab5");
}

// ---- The whole command ---------------------------------------------------------------------

class PreferencesCommand : public PreferencesStore {
 protected:
  void SetUp() override {
    PreferencesStore::SetUp();
    LoadRegistrySettings();
  }
  FakeUiPort ui;
  ScopedUiPort uiScope{ui};
};

TEST_F(PreferencesCommand, AValueEnteredOnAPageIsWrittenAndReadAtTheNextStart) {
  ui.AnswerPropertySheet(KPreferencesSheet::kSheetId, [](KPropertySheet& sheet) {
    // Page 7: the tempo, typed.
    sheet.Page(6).Controls().SetText(KPropMIDI::kIdTempo, "96");
    return IDOK;
  });
  const KPrefStoreResult result = RunPreferencesSheet(context);
  EXPECT_EQ(result.changed, std::vector<KPrefGroup>{KPrefGroup::kMidi});
  EXPECT_EQ(Stored(KPrefGroup::kMidi), "96,0,0,100,-1,1");
  ResetPreferences();
  LoadRegistrySettings();
  EXPECT_EQ(g_prefMidi.tempo, 96);
}

TEST_F(PreferencesCommand, OkWithoutChangesWritesNoGroup) {
  // A text of an older shape would be rewritten by any write.
  Store(KPrefGroup::kPgMargins, "25,25,25,25,0");
  ui.AnswerPropertySheet(KPreferencesSheet::kSheetId, [](KPropertySheet&) { return IDOK; });
  EXPECT_TRUE(RunPreferencesSheet(context).changed.empty());
  EXPECT_EQ(Stored(KPrefGroup::kPgMargins), "25,25,25,25,0");
}

TEST_F(PreferencesCommand, CancelStoresNothing) {
  ui.AnswerPropertySheet(KPreferencesSheet::kSheetId, [](KPropertySheet& sheet) {
    sheet.Page(6).Controls().SetText(KPropMIDI::kIdTempo, "96");
    return IDCANCEL;
  });
  EXPECT_TRUE(RunPreferencesSheet(context).changed.empty());
  EXPECT_EQ(g_prefMidi.tempo, 120);
  EXPECT_EQ(Stored(KPrefGroup::kMidi), "120,0,0,100,-1,1");
}

TEST_F(PreferencesCommand, AnEntryOutsideItsRangeKeepsTheSheetOpenOnItsPage) {
  ui.AnswerPropertySheet(KPreferencesSheet::kSheetId, [](KPropertySheet& sheet) {
    sheet.Page(1).Controls().SetText(KPropOptAsvVw::kIdUndoLevels, "500");
    return IDOK;
  });
  EXPECT_TRUE(RunPreferencesSheet(context).changed.empty());
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_TRUE(ui.Dialogs()[0].okRefused);
  EXPECT_EQ(ui.Messages().back().text, "Please enter an integer between 1 and 99.");
  EXPECT_EQ(g_prefAutoSave.undoLevels, 20);
}

}  // namespace
