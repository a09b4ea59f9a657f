#include <gtest/gtest.h>

#include <string>

#include "PreferenceTestSupport.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"

namespace {

using PreferenceWriters = PreferenceTest;

// Texts in each writer's shape with a different value in every field and no
// value that a reader rule replaces: read and written again, each must come
// back byte for byte, so a field read into the wrong place or written from the
// wrong one shows.
TEST_F(PreferenceWriters, EveryWriterGivesBackWhatTheReaderRead) {
  const std::pair<KPrefGroup, const char*> texts[] = {
      {KPrefGroup::kStavlinXYSizeXYPos, "801,602,13,14,9,9,9,9"},
      {KPrefGroup::kNewDocXYSizeXYPos, "501,302,15,16,1,9,9,9"},
      {KPrefGroup::kDocOptions, "3,9,9,9,9"},
      {KPrefGroup::kStartFolder, "/home/me/Scores/"},
      {KPrefGroup::kLastOpenFile, "/home/me/Scores/Tune.svd"},
      {KPrefGroup::kPgMargins, "11,12,13,14,1,9,9,9,9"},
      {KPrefGroup::kPgOptions, "120,1,0,2,7,9,9"},
      {KPrefGroup::kPgNum, "2,1,3,1,9,9,9,9"},
      {KPrefGroup::kPgNumFont, "12,0,0,0,400,0,0,0,0,0,0,0,25,Courier New"},
      {KPrefGroup::kPrintCorr, "110,95,37,3,4,-5"},
      {KPrefGroup::kPrintCorr2, "80,1,999,999,999,999,999,999,999,999"},
      {KPrefGroup::kEntryOptions, "0,1,0,2,9,9,9"},
      {KPrefGroup::kToolViewOptions, "0,2,3,0,1,9,9,9,9,9"},
      {KPrefGroup::kToolBoxPos,
       "1,2,3,4,5,6,7,8,10001,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,"
       "36,37,"
       "38,39,40,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0"},
      {KPrefGroup::kDocViewOptions, "2,1,1,17,9,9,9,9"},
      {KPrefGroup::kAutoSave, "1,15,0,0,33,9,9"},
      {KPrefGroup::kTabOptions, "1,0,2,3,4,5,6,9,9"},
      {KPrefGroup::kTabTuning, "D A D G B E  303742475156!@!Drop D"},
      {KPrefGroup::kBassTabTuning, "B E A D G   *152025303500"},
      {KPrefGroup::kTabFont, "17,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
      {KPrefGroup::kStaffLines, "0,650,3,4,5,1,1"},
      {KPrefGroup::kStaffLines2, "0,3,2,14,1,7,9999,8,20,24,16,10"},
      {KPrefGroup::kStaffLines3, "1,12,2,3,4,5,6,7,8,10,11,13"},
      {KPrefGroup::kExtTextFont, "14,0,0,0,700,255,0,0,0,3,2,1,18,Arial"},
      {KPrefGroup::k2ndExtTextFont, "15,0,0,0,700,255,0,0,0,3,2,1,18,Arial"},
      {KPrefGroup::k2ndBracketTextFont, "16,0,0,0,700,255,0,0,0,3,2,1,18,Arial"},
      {KPrefGroup::kTripletFont, "17,0,0,0,700,255,0,0,0,3,2,1,18,Arial"},
      {KPrefGroup::kTextFont, "18,0,0,0,700,255,0,0,0,3,2,1,18,Arial"},
      {KPrefGroup::kChords, "0,2,3,-999,4,1"},
      {KPrefGroup::kChords2, "0,2,1,2,3,4,5,6,101,102,7,250,8,2"},
      {KPrefGroup::kChordNameFont, "19,0,0,0,700,0,0,0,0,3,2,1,25,Courier New"},
      {KPrefGroup::kRhythmFont, "20,0,0,0,700,255,0,0,0,3,2,1,18,Arial"},
      {KPrefGroup::kScrolling, "4,120,0,2,3,9,9,9,9"},
      {KPrefGroup::kTextFiles, "1,2,3,5,6,7,8"},
      {KPrefGroup::kExporting, "1,1,999,999,999,999,999,999,999,999,999,999,999,999,999"},
      {KPrefGroup::kTranslation, "0,2,3,4,5,6,7,8"},
      {KPrefGroup::kTransAltTun, "1,0,9,9,9"},
      {KPrefGroup::kTranspose, "1,2,9,9,9,9"},
      {KPrefGroup::kLineGroups, "2,1,600,0,1,Guitar,2,1,,"},
      {KPrefGroup::kMidi, "140,1,2,90,4,0"},
      {KPrefGroup::kMidiEffects, "2,3,4,5,6,7,8,10,11,12,13,14,15,16,17,9,18,120"},
      {KPrefGroup::kAutoFormat, "0,2,3,4,5,6,999,999,999,999,999,999,999,999,999,999"},
      {KPrefGroup::kMidiImport, "2,70,45,5,60,800,38,90,0,9,9,9,9"},
      {KPrefGroup::kMidiInput, "3,4,0,1,700,100,61,2,0,1,1,9"},
      {KPrefGroup::kMidiInstruments, "2,3,4,5,6,7,8,10,0,9"},
      {KPrefGroup::kPrinterParams, "4000,5000,600,300,9,9,9,9,9,9"},
  };
  for (const auto& [group, text] : texts) Store(group, text);
  LoadRegistrySettings();
  for (const auto& [group, text] : texts) {
    SCOPED_TRACE(PreferenceGroupName(group));
    EXPECT_EQ(std::string(FormatPreferenceGroup(group)), text);
  }
}

TEST_F(PreferenceWriters, WriteThroughTheOpenKeyOrTheFullPath) {
  g_strLastOpenFile = "/scores/last.svd";
  ASSERT_EQ(WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kLastOpenFile), ERROR_SUCCESS);
  EXPECT_EQ(Stored("LastOpenFile"), "/scores/last.svd");

  HKEY root = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Stavlin", &root), ERROR_SUCCESS);
  g_prefScrolling.lines = 7;
  ASSERT_EQ(WritePreferenceGroup(root, KPrefGroup::kScrolling), ERROR_SUCCESS);
  EXPECT_EQ(Stored("Scrolling"), "7,100,1,1,1,9,9,9,9");
  g_fingerRowOption = 1;
  g_prefChords2.barreStyle = 2;
  g_prefChords2.diagramWidth = 150;
  ASSERT_EQ(WritePreferenceText(root, KPrefGroup::kChords2, FormatChords2ForDesigner()), ERROR_SUCCESS);
  EXPECT_EQ(Stored("Chords2"), "1,1,0,2,0,0,9,9,9,9,9,9,9,9");
  EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
}

TEST_F(PreferenceWriters, TabTuningIsWrittenWithItsLabelWhenItHasOne) {
  g_prefTabTuning = "D A D G B E  303742475156";
  EXPECT_EQ(std::string(FormatPreferenceGroup(KPrefGroup::kTabTuning)), "D A D G B E  303742475156");
  g_prefLabelledTabTuning = "D A D G B E  303742475156!@!Drop D";
  EXPECT_EQ(std::string(FormatPreferenceGroup(KPrefGroup::kTabTuning)), "D A D G B E  303742475156!@!Drop D");
}

TEST_F(PreferenceWriters, PrintCorrWritesTheClippingAsTheSheetShowsIt) {
  struct Case {
    int noClipping, tens, units;
    const char* text;
  };
  const Case cases[] = {
      {1, 0, 4, "100,100,0,2,2,0"},
      {0, 3, 7, "100,100,37,2,2,0"},
      {0, 0, 2, "100,100,2,2,2,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    g_prefPrintCorr.noClipping = c.noClipping;
    g_prefPrintCorr.clipTens = c.tens;
    g_prefPrintCorr.clipUnits = c.units;
    EXPECT_EQ(std::string(FormatPreferenceGroup(KPrefGroup::kPrintCorr)), c.text);
  }
}

}  // namespace
