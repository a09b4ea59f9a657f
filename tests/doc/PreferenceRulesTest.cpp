#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "PreferenceTestSupport.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"

namespace {

using PreferenceRules = PreferenceTest;

// A stored text and what the group holds after the read, shown as its writer
// would store it.
struct RuleCase {
  KPrefGroup group;
  const char* stored;
  const char* read;
};

TEST_F(PreferenceRules, ReaderRulesOfTheIntegerGroups) {
  const RuleCase cases[] = {
      {KPrefGroup::kNewDocXYSizeXYPos, "600,300,5,6,9", "600,300,5,6,2,9,9,9"},
      {KPrefGroup::kPgMargins, "0,10,0,30,9", "25,10,25,30,0,9,9,9,9"},
      {KPrefGroup::kPgOptions, "150,1,0,0,9", "150,1,0,0,5,9,9"},
      {KPrefGroup::kPrintCorr2, "120,999,77", "120,0,999,999,999,999,999,999,999,999"},
      {KPrefGroup::kAutoSave, "1,10,0,9,9", "1,10,0,1,20,9,9"},
      {KPrefGroup::kAutoSave, "1,10,0,0,30", "1,10,0,0,30,9,9"},
      // Field (1) is written from the built-in flag, whatever was stored.
      {KPrefGroup::kTabOptions, "0,0,0,0,0,9,9", "1,0,0,0,0,1,1,9,9"},
      {KPrefGroup::kStaffLines, "0,900,1,1,0,5,-3", "0,900,1,1,0,1,1"},
      {KPrefGroup::kStaffLines2, "0,7,2,10,1,3,0,9,9,9,9,9", "0,1,2,10,1,3,9999,0,22,26,14,12"},
      {KPrefGroup::kStaffLines2, "0,-1,2,10,1,3,0,9,30,9,9,9", "0,1,2,10,1,3,9999,9,30,9,9,9"},
      {KPrefGroup::kStaffLines2, "0,5,2,10,1,3", "0,5,2,10,1,3,9999,0,22,26,14,12"},
      {KPrefGroup::kStaffLines3, "1,-999,-999,-999,-999,-999,-999,-999,-999,-999,-999,-999",
       "1,99,0,1,1,1,1,1,1,0,1,9"},
      {KPrefGroup::kStaffLines3, "1,5,1,0", "1,5,1,0,1,1,1,1,1,0,1,9"},
      {KPrefGroup::kChords, "0,0,9,5,9,9", "0,0,1,-999,0,0"},
      {KPrefGroup::kChords2, "0,2,1,2,1,1,9,9,9,9,9,9,9,9", "0,2,1,2,1,1,1,0,100,100,1,300,1,0"},
      {KPrefGroup::kTextFiles, "1,1,1,9,9,9,9", "1,1,1,4,0,0,1"},
      {KPrefGroup::kTranslation, "0,0,0,0,9,9,9,9", "0,0,0,0,1,1,1,1"},
      {KPrefGroup::kTransAltTun, "0,9", "0,1,9,9,9"},
      {KPrefGroup::kMidi, "200,1,1,9,9,0", "200,1,1,100,-1,0"},
      {KPrefGroup::kMidiEffects, "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,5,0,9",
       "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,9,0,100"},
      {KPrefGroup::kMidiImport, "0,60,40,0,55,20,9,9,0", "0,60,40,4,55,414,37,63,0,9,9,9,9"},
      {KPrefGroup::kMidiImport, "0,60,40,-3,55,730,36,64,0", "0,60,40,4,55,730,36,64,0,9,9,9,9"},
      // A length beyond any line is read as the built-in length.
      {KPrefGroup::kMidiImport, "0,60,40,5,55,-99999999999", "0,60,40,5,55,730,37,100,1,9,9,9,9"},
      {KPrefGroup::kMidiInput, "1,2,0,1,10,90,60,2,0,1,9", "1,2,0,1,234,90,60,2,0,1,0,9"},
      {KPrefGroup::kMidiInput, "1,2,0,1,500,90,60,2,0,1,7", "1,2,0,1,500,90,60,2,0,1,1,9"},
      {KPrefGroup::kMidiInstruments, "5,6,7,9,9,9,9,9,9", "5,6,7,10,0,42,58,34,1,9"},
      {KPrefGroup::kPrinterParams, "0,0,0,0", "2880,3780,360,360,9,9,9,9,9,9"},
      {KPrefGroup::kPrinterParams, "0,4000,600,0", "2880,4000,600,360,9,9,9,9,9,9"},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(std::string(PreferenceGroupName(c.group)) + " " + c.stored);
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    Store(c.group, c.stored);
    LoadRegistrySettings();
    EXPECT_EQ(std::string(FormatPreferenceGroup(c.group)), c.read);
    EXPECT_EQ(Stored(c.group), c.stored) << "rules change the values, not the stored text";
  }
}

TEST_F(PreferenceRules, ReaderCopiesValuesToThoseInUse) {
  Store(KPrefGroup::kStaffLines, "1,1234,0,0,1,1,0");
  Store(KPrefGroup::kStaffLines2, "1,1,0,9,0,5,0,0,22,26,14,12");
  Store(KPrefGroup::kStaffLines3, "1,99,0,1,1,1,1,1,1,0,1,9");
  Store(KPrefGroup::kMidi, "120,0,0,100,5,1");
  Store(KPrefGroup::kMidiInput, "2,1,1,0,38,120,100,1,1,1,0,9");
  Store(KPrefGroup::kTabFont, "21,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
  Store(KPrefGroup::kExtTextFont, "11,0,0,0,400,255,0,0,0,3,2,1,18,Arial");
  Store(KPrefGroup::kTripletFont, "12,0,0,0,400,0,0,0,0,3,2,1,18,Arial");
  Store(KPrefGroup::kRhythmFont, "18,0,0,0,400,0,0,0,0,3,2,1,18,Arial");
  Store(KPrefGroup::kTabOptions, "1,1,1,1,1,0,0,9,9");
  Store(KPrefGroup::kDocViewOptions, "0,0,0,17,9,9,9,9");
  LoadRegistrySettings();
  EXPECT_EQ(g_defaultLineLength, 1234);
  EXPECT_EQ(g_tabStringSpacing, 9);
  EXPECT_EQ(TabStringSpacing(1), 12) << "11 x 9 / 8";
  EXPECT_EQ(g_autoWrap, 1);
  EXPECT_EQ(g_MidiOutDevice, 5);
  EXPECT_EQ(g_liveLineType, 1);
  EXPECT_EQ(g_tabDigitHeight, 21);
  EXPECT_EQ(std::string(g_staffTextFont), "11,0,0,0,400,255,0,0,0,3,2,1,18,Arial");
  EXPECT_EQ(std::string(g_tripletFont), "12,0,0,0,400,0,0,0,0,3,2,1,18,Arial");
  EXPECT_EQ(std::string(g_rhythmFont), "18,0,0,0,400,0,0,0,0,3,2,1,18,Arial");
  EXPECT_EQ(g_HalfFretLabels, 0);
  EXPECT_EQ(std::string(g_prefFiveStringTuning), "G D G B D    594247515400");
  EXPECT_EQ(g_lineGap, 17);
}

TEST_F(PreferenceRules, PrintCorrectionsAndTheirMigration) {
  struct Case {
    std::optional<const char*> docOptions;
    const char* stored;
    int noClipping, tens, units, lineWidth, slur, offset;
    const char* storedAfter;
    const char* docOptionsAfter;
  };
  const Case cases[] = {
      {std::nullopt, "110,90,35,3,4,-2", 0, 3, 5, 3, 4, -2, "110,90,35,3,4,-2", "1,9,9,9,9"},
      {std::nullopt, "100,100,99,2,2,0", 1, 0, 2, 2, 2, 0, "100,100,99,2,2,0", "1,9,9,9,9"},
      {std::nullopt, "100,100,0,2,2,0", 1, 0, 2, 2, 2, 0, "100,100,0,2,2,0", "1,9,9,9,9"},
      {std::nullopt, "100,100,9,9,9,12", 0, 0, 2, 1, 1, 1, "100,100,9,9,9,12", "1,9,9,9,9"},
      {std::nullopt, "100,100,4,2,0,-10", 0, 0, 4, 2, 1, 1, "100,100,4,2,0,-10", "1,9,9,9,9"},
      {"1,9,9,9,9", "100,100,4,2,2,0", 0, 0, 4, 2, 2, 0, "100,100,4,2,2,0", "1,9,9,9,9"},
      {"0,9,9,9,9", "100,100,4,2,2,0", 0, 0, 2, 2, 2, 0, "100,100,2,2,2,0", "1,9,9,9,9"},
      // The migration writes the values as read, before their own rules.
      {"0,9,9,9,9", "120,80,4,9,9,15", 0, 0, 2, 1, 1, 1, "120,80,2,9,9,15", "1,9,9,9,9"},
      // The tens of the clipping survive the migration.
      {"-1", "100,100,34,2,2,0", 0, 3, 2, 2, 2, 0, "100,100,32,2,2,0", "1,9,9,9,9"},
      {"0,9,9,9,9", "100,100,5,2,2,0", 0, 0, 5, 2, 2, 0, "100,100,5,2,2,0", "1,9,9,9,9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.docOptions.value_or("(none)")) + " / " + c.stored);
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    if (c.docOptions) Store(KPrefGroup::kDocOptions, *c.docOptions);
    Store(KPrefGroup::kPrintCorr, c.stored);
    LoadRegistrySettings();
    const KPrefPrintCorr& pc = g_prefPrintCorr;
    EXPECT_EQ(pc.noClipping, c.noClipping);
    EXPECT_EQ(pc.clipTens, c.tens);
    EXPECT_EQ(pc.clipUnits, c.units);
    EXPECT_EQ(g_lineWidthSetting, c.lineWidth);
    EXPECT_EQ(pc.slurThickness, c.slur);
    EXPECT_EQ(pc.tabDigitOffset, c.offset);
    EXPECT_EQ(g_tabDigitOffset, c.offset);
    EXPECT_EQ(g_printCorrX, pc.symbolSizeX);
    EXPECT_EQ(g_printCorrY, pc.symbolSizeY);
    EXPECT_EQ(Stored(KPrefGroup::kPrintCorr), c.storedAfter);
    EXPECT_EQ(Stored(KPrefGroup::kDocOptions), c.docOptionsAfter);
  }
}

TEST_F(PreferenceRules, TuningsWithoutPitchesAreReplacedAndLabelsSplitOff) {
  struct Case {
    KPrefGroup group;
    const char* stored;
    const char* tuning;
    const char* labelled;
    const char* storedAfter;
  };
  const Case cases[] = {
      {KPrefGroup::kTabTuning, "E A D G B E ", "E A D G B E  323742475156", "", "E A D G B E  323742475156"},
      {KPrefGroup::kTabTuning, "", "E A D G B E  323742475156", "", "E A D G B E  323742475156"},
      {KPrefGroup::kTabTuning, "D A D G B E  303742475156!@!Drop D", "D A D G B E  303742475156",
       "D A D G B E  303742475156!@!Drop D", "D A D G B E  303742475156!@!Drop D"},
      {KPrefGroup::kTabTuning, "!@!odd", "!@!odd", "", "!@!odd"},
      {KPrefGroup::kTabTuning, "E A D G B E  3237424751", "E A D G B E  3237424751", "",
       "E A D G B E  3237424751"},
      {KPrefGroup::kBassTabTuning, "  E A D G   ", "  E A D G   *002025303500", "",
       "  E A D G   *002025303500"},
      {KPrefGroup::kBassTabTuning, "", "  E A D G   *002025303500", "", "  E A D G   *002025303500"},
      {KPrefGroup::kBassTabTuning, "B E A D G   *152025303500", "B E A D G   *152025303500", "",
       "B E A D G   *152025303500"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(PreferenceGroupName(c.group)) + " \"" + c.stored + "\"");
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    Store(c.group, c.stored);
    LoadRegistrySettings();
    const CString& tuning = c.group == KPrefGroup::kTabTuning ? g_prefTabTuning : g_prefBassTabTuning;
    EXPECT_EQ(std::string(tuning), c.tuning);
    EXPECT_EQ(std::string(g_prefLabelledTabTuning), c.labelled);
    EXPECT_EQ(Stored(c.group), c.storedAfter);
  }
}

TEST_F(PreferenceRules, ToolBoxPositionsOfTheOldFormAreConvertedOnce) {
  struct Case {
    const char* stored;
    const char* storedAfter;
    POINT first, second, last;
  };
  const char* kNewForm =
      "6,354,-260000,289,460000,340,10000,115,270000,321,80000,327,10000,0,390000,318,10000,0,3330000,319,"
      "2290000,319,2190000,324,50000,312,3200000,327,2420000,300,2270000,307,190000,308,0,481,0,595,3420000,"
      "337,10000,0";
  const Case cases[] = {
      {"10,20,-26,289,-1,340,30,40,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,"
       "31,"
       "32,33,34,-9999,99,1,1,1",
       "10,20,260000,289,10000,340,30,40,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,"
       "29,30,"
       "31,32,33,34,99990000,99,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0",
       {10, 20},
       {260000, 289},
       {99990000, 99}},
      // Already in the new form: read as it is and left alone, fillers or not.
      {kNewForm, kNewForm, {6, 354}, {-260000, 289}, {3420000, 337}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    Store(KPrefGroup::kToolBoxPos, c.stored);
    for (int start = 1; start <= 2; ++start) {
      SCOPED_TRACE(start);
      ResetPreferences();
      LoadRegistrySettings();
      EXPECT_EQ(Stored(KPrefGroup::kToolBoxPos), c.storedAfter);
      EXPECT_EQ(g_ptToolBoxPos[0].x, c.first.x);
      EXPECT_EQ(g_ptToolBoxPos[0].y, c.first.y);
      EXPECT_EQ(g_ptToolBoxPos[1].x, c.second.x);
      EXPECT_EQ(g_ptToolBoxPos[1].y, c.second.y);
      EXPECT_EQ(g_ptToolBoxPos[19].x, c.last.x);
      EXPECT_EQ(g_ptToolBoxPos[19].y, c.last.y);
    }
  }
}

TEST_F(PreferenceRules, EffectsWordOfNewScoresFollowsTheEffectFlags) {
  struct Case {
    const char* stored;
    std::uint32_t word;
  };
  const Case cases[] = {
      {"0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,100", 0x0FFE0000},
      {"1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,100", 0x0FFE0000 + 0x7FFF + 0x10000},
      // Bends count when nonzero, the others only above 0; (16) counts for nothing.
      {"-1,-1,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,100", 0x0FFE0000 + 1},
      {"0,2,0,0,0,0,0,0,0,0,0,0,0,0,3,0,1,100", 0x0FFE0000 + 2 + 16384 + 65536},
      {"0,0,1,0,0,0,0,1,0,0,1", 0x0FFE0000 + 4 + 128 + 1024 + 2048 + 4096 + 8192 + 16384 + 65536},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    Store(KPrefGroup::kMidiEffects, c.stored);
    LoadRegistrySettings();
    EXPECT_EQ(g_defaultEffects, c.word);
  }
}

TEST_F(PreferenceRules, PrintScalesFollowResolutionAndPrintoutSize) {
  struct Case {
    const char* pgOptions;
    const char* printerParams;
    int scaleX, scaleY, dpiX;
  };
  const Case cases[] = {
      {"100,0,1,1,5", "0,0,0,0", 360, 360, 360},
      {"150,0,1,1,5", "2880,3780,600,300", 900, 450, 600},
      // A resolution no printer has is read as the built-in 360.
      {"33,0,1,1,5", "2880,3780,100,-100", 33, 118, 100},
      {"400,0,1,1,5", "1,1,2000000000,7", 1440, 28, 360},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pgOptions) + " / " + c.printerParams);
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    Store(KPrefGroup::kPgOptions, c.pgOptions);
    Store(KPrefGroup::kPrinterParams, c.printerParams);
    LoadRegistrySettings();
    EXPECT_EQ(g_deviceResX, c.scaleX);
    EXPECT_EQ(g_deviceResY, c.scaleY);
    EXPECT_EQ(g_deviceDpiX, c.dpiX);
  }
}

TEST_F(PreferenceRules, ChordNameFontDefaultFollowsTheChordNameStyle) {
  struct Case {
    const char* chords;
    const char* font;
  };
  const Case cases[] = {
      {"1,1,1,-999,0,0", "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
      {"1,1,1,-999,0,1", "16,0,0,0,700,0,0,0,0,3,2,1,25,Courier New"},
      {"1,1,1,-999,0,2", "15,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman"},
      {"1,1,1,-999,0,3", "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
      {"1,1,1,-999,0,9", "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chords);
    ResetAll();
    UseStore(std::make_unique<KMemorySettingsStore>());
    Store(KPrefGroup::kChords, c.chords);
    LoadRegistrySettings();
    EXPECT_EQ(Stored(KPrefGroup::kChordNameFont), c.font);
    EXPECT_EQ(std::string(g_chordNameFont), c.font);
  }
}

}  // namespace
