#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "PreferenceTestSupport.h"
#include "chords/ChordNameSources.h"
#include "common/ChordDiagramServices.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineServices.h"
#include "lines/KSpeedLine.h"
#include "model/AttachmentServices.h"
#include "model/KListLine.h"
#include "model/KListLineAutoBeamServices.h"
#include "model/KListLineRestsServices.h"
#include "platform/SettingsTable.h"
#include "translate/ParseTextTabOptions.h"

namespace fs = std::filesystem;

namespace {

// A store that holds the given groups and refuses every change, as a settings
// file that cannot be written.
class KReadOnlyStore final : public KSettingsStore {
 public:
  explicit KReadOnlyStore(std::string_view fileText) : table_(KSettingsTable::Parse(fileText)) {}

 protected:
  const KSettingsTable& Load() const override { return table_; }
  KSettingsResult Update(const Editor&) override { return KSettingsResult::kWriteFailed; }

 private:
  KSettingsTable table_;
};

using PreferenceReader = PreferenceTest;

// Every group and its default text, in reading order; the start folder and the
// last open file follow from the documents folder.
std::vector<std::pair<std::string, std::string>> ExpectedDefaults(const std::string& startFolder) {
  return {
      {"StavlinXYSizeXYPos", "-1,480,0,0,9,9,9,9"},
      {"NewDocXYSizeXYPos", "625,350,0,0,2,9,9,9"},
      {"DocOptions", "1,9,9,9,9"},
      {"StartFolder", startFolder},
      {"LastOpenFile", startFolder + "_Welcome To Stavlin_.svd"},
      {"PgMargins", "25,25,25,25,0,9,9,9,9"},
      {"PgOptions", "100,0,1,1,5,9,9"},
      {"PgNum", "1,0,0,0,9,9,9,9"},
      {"PgNumFont", "14,0,0,0,500,0,0,0,0,0,0,0,25,Arial"},
      {"PrintCorr", "100,100,2,2,2,0"},
      {"PrintCorr2", "90,0,3493,999,999,999,999,999,999,999"},
      {"EntryOptions", "1,0,1,1,9,9,9"},
      {"ToolViewOptions", "1,1,1,1,0,9,9,9,9,9"},
      {"ToolBoxPos",
       "6,354,260000,289,460000,340,10000,115,270000,321,80000,327,10000,0,390000,318,10000,0,3330000,319,"
       "2290000,319,2190000,324,50000,312,3200000,327,2420000,300,2270000,307,190000,308,0,481,0,595,3420000,"
       "337,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0"},
      {"DocViewOptions", "0,0,0,4,9,9,9,9"},
      {"AutoSave", "3,30,1,1,20,9,9"},
      {"TabOptions", "1,1,1,1,1,1,1,9,9"},
      {"TabTuning", "E A D G B E  323742475156"},
      {"BassTabTuning", "  E A D G   *002025303500"},
      {"TabFont", "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
      {"StaffLines", "1,700,0,0,1,1,0"},
      {"StaffLines2", "1,1,0,12,0,5,0,0,22,26,14,12"},
      {"StaffLines3", "0,99,0,1,1,1,1,1,1,0,1,9"},
      {"ExtTextFont", "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman"},
      {"2ndExtTextFont", "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman"},
      {"2ndBracketTextFont", "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman"},
      {"TripletFont", "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman"},
      {"TextFont", "19,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman"},
      {"Chords", "1,1,1,-999,0,3"},
      {"Chords2", "1,1,0,0,0,0,1,0,100,100,1,300,1,0"},
      {"ChordNameFont", "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
      {"RhythmFont", "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman"},
      {"Scrolling", "3,100,1,1,1,9,9,9,9"},
      {"TextFiles", "0,0,0,4,0,0,1"},
      {"Exporting", "0,0,999,999,999,999,999,999,999,999,999,999,999,999,999"},
      {"Translation", "1,1,1,1,1,1,1,1"},
      {"TransAltTun", "2,1,9,9,9"},
      {"Transpose", "0,0,9,9,9,9"},
      {"LineGroups", "1,0,530,0,1,,2,1,,"},
      {"Midi", "120,0,0,100,-1,1"},
      {"MidiEffects", "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,100"},
      {"AutoFormat", "1,1,2,0,1,1,999,999,999,999,999,999,999,999,999,999"},
      {"MidiImport", "3,67,50,4,59,730,37,100,1,9,9,9,9"},
      {"MidiInput", "2,1,1,0,38,120,100,1,1,3,0,9"},
      {"MidiInstruments", "1,1,26,20,0,42,58,34,0,9"},
      {"PrinterParams", "2880,3780,360,360,9,9,9,9,9,9"},
  };
}

TEST_F(PreferenceReader, EmptyStoreGetsEveryGroupWithItsDefaultTextInReadingOrder) {
  fs::create_directory(Documents() / "Stavlin");
  LoadRegistrySettings();

  const std::string startFolder = Documents().string() + "/Stavlin/Samples/";
  const auto expected = ExpectedDefaults(startFolder);
  std::vector<std::string> names;
  for (const auto& [name, text] : expected) {
    SCOPED_TRACE(name);
    names.push_back(name);
    EXPECT_EQ(Stored(name), text);
  }
  EXPECT_EQ(CurrentSettingsStore().GroupNames(), names);
  EXPECT_EQ(std::string(g_strStartFolder), startFolder);
}

TEST_F(PreferenceReader, EmptyStoreSetsTheValuesOtherCodeReads) {
  LoadRegistrySettings();
  EXPECT_EQ(g_rcMainWnd.width, -1) << "the window is sized from the screen";
  EXPECT_EQ(g_nStartupAction, 2);
  EXPECT_EQ(g_printCorrX, 100);
  EXPECT_EQ(g_lineWidthSetting, 2);
  EXPECT_EQ(g_textPrintCorr, 90);
  EXPECT_EQ(g_lineGap, 4);
  EXPECT_EQ(g_tabStringSpacing, 12);
  EXPECT_EQ(TabStringSpacing(1), 16);
  EXPECT_EQ(g_HalfFretLabels, 1);
  EXPECT_EQ(g_fingerRowOption, 1);
  EXPECT_EQ(g_MidiOutDevice, -1);
  EXPECT_EQ(g_tabDigitHeight, 15);
  EXPECT_EQ(g_defaultLineLength, 700);
  EXPECT_EQ(g_prefMidiInput.liveLineLength, 738) << "38 columns";
  EXPECT_EQ(g_liveLineType, 3);
  EXPECT_EQ(std::string(g_prefFiveStringTuning), "D D G B D   5594247515400!@@!22");
  EXPECT_EQ(g_deviceResX, 360);
  EXPECT_EQ(g_deviceResY, 360);
}

TEST_F(PreferenceReader, StartFolderIsCreatedOnlyWhenItsParentExists) {
  struct Case {
    const char* name;
    std::optional<std::string> xdgDocuments;  // relative to the temporary folder; nothing: unset
    const char* home;                         // relative to the temporary folder
    const char* documents;                    // the documents folder expected
    bool parentExists;
  };
  const Case cases[] = {
      {"XDG folder, parent present", "docs", "home", "docs", true},
      {"XDG folder, parent missing", "docs", "home", "docs", false},
      {"home Documents when XDG unset", std::nullopt, "home", "home/Documents", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseStore(std::make_unique<KMemorySettingsStore>());
    ResetAll();
    const fs::path base = Documents() / "case";
    fs::remove_all(base);
    const KEnvironmentOverride xdg("XDG_DOCUMENTS_DIR", c.xdgDocuments
                                                            ? std::optional((base / *c.xdgDocuments).string())
                                                            : std::nullopt);
    const KEnvironmentOverride home("HOME", (base / c.home).string());
    const fs::path documents = base / c.documents;
    if (c.parentExists) fs::create_directories(documents / "Stavlin");

    LoadRegistrySettings();

    const std::string expected = documents.string() + "/Stavlin/Samples/";
    EXPECT_EQ(Stored("StartFolder"), expected);
    EXPECT_EQ(Stored("LastOpenFile"), expected + "_Welcome To Stavlin_.svd");
    EXPECT_EQ(fs::is_directory(documents / "Stavlin" / "Samples"), c.parentExists);
    EXPECT_EQ(fs::exists(documents / "Stavlin"), c.parentExists) << "only the last folder is made";
  }
}

TEST_F(PreferenceReader, StoredStartFolderIsKeptAndNothingIsCreated) {
  Store("StartFolder", "/music/scores/");
  LoadRegistrySettings();
  EXPECT_EQ(std::string(g_strStartFolder), "/music/scores/");
  EXPECT_EQ(Stored("LastOpenFile"), "/music/scores/_Welcome To Stavlin_.svd");
  EXPECT_FALSE(fs::exists(Documents() / "Stavlin"));
}

// A fixed 1000-byte buffer would have made these look missing and replaced
// them by their defaults.
TEST_F(PreferenceReader, ValuesOfAThousandBytesAndMoreAreReadWhole) {
  const std::string folder = "/" + std::string(1200, 'f') + "/";
  const std::string lastFile = folder + "score.svd";
  const std::string lineGroups = "1,0,530,0,1," + std::string(1500, 'x') + ",2,1,,";
  Store("StartFolder", folder);
  Store("LastOpenFile", lastFile);
  Store("LineGroups", lineGroups);
  LoadRegistrySettings();
  EXPECT_EQ(std::string(g_strStartFolder), folder);
  EXPECT_EQ(std::string(g_strLastOpenFile), lastFile);
  EXPECT_EQ(std::string(g_prefLineGroups), lineGroups);
  EXPECT_EQ(Stored("StartFolder"), folder);
  EXPECT_EQ(Stored("LineGroups"), lineGroups);
}

TEST_F(PreferenceReader, UnparsableNumbersLeaveTheRemainingTargetsAsTheyWere) {
  // Values from before the read, not the built-in ones.
  g_prefMidi = {77, 1, 1, 55, 4, 0};
  g_prefPgMargins = {11, 12, 13, 14, 1};
  g_prefScrolling = {5, 50, 0, 0, 0};
  Store("Midi", "130,0,x,1,2,3");
  Store("PgMargins", "40,,10,10,0");
  Store("Scrolling", "abc");
  LoadRegistrySettings();
  EXPECT_EQ(FormatPreferenceGroup(KPrefGroup::kMidi), "130,0,1,55,4,0");
  EXPECT_EQ(g_MidiOutDevice, 4);
  EXPECT_EQ(FormatPreferenceGroup(KPrefGroup::kPgMargins), "40,12,13,14,1,9,9,9,9");
  EXPECT_EQ(FormatPreferenceGroup(KPrefGroup::kScrolling), "5,50,0,0,0,9,9,9,9");
  EXPECT_EQ(Stored("Midi"), "130,0,x,1,2,3") << "a stored text is never rewritten for being odd";
}

// Every preference as its writer would store it.
std::vector<std::string> AllGroupTexts() {
  std::vector<std::string> texts;
  for (KPrefGroup group : AllPreferenceGroups()) texts.emplace_back(FormatPreferenceGroup(group).Str());
  return texts;
}

TEST_F(PreferenceReader, StoreThatRefusesWritesLeavesTheDefaultsInUse) {
  LoadRegistrySettings();
  const std::vector<std::string> defaults = AllGroupTexts();
  const auto effects = g_defaultEffects;
  const auto resolution = g_deviceResX;

  ResetAll();
  UseStore(std::make_unique<KReadOnlyStore>(""));
  LoadRegistrySettings();
  EXPECT_TRUE(CurrentSettingsStore().GroupNames().empty());
  EXPECT_EQ(AllGroupTexts(), defaults);
  EXPECT_EQ(g_defaultEffects, effects);
  EXPECT_EQ(g_deviceResX, resolution);
}

TEST_F(PreferenceReader, StoreThatRefusesWritesStillGivesItsValuesAndItsMigration) {
  UseStore(std::make_unique<KReadOnlyStore>(
      "DocOptions=0,9,9,9,9\nPrintCorr=100,100,4,2,2,0\nMidi=90,1,0,100,3,1\nTabTuning=E A D G B E \n"));
  LoadRegistrySettings();
  EXPECT_EQ(g_prefMidi.tempo, 90);
  EXPECT_EQ(g_MidiOutDevice, 3);
  EXPECT_EQ(g_prefPrintCorr.clipUnits, 2);
  EXPECT_EQ(std::string(g_prefTabTuning), "E A D G B E  323742475156");
  EXPECT_EQ(Stored("PrintCorr"), "100,100,4,2,2,0");
}

}  // namespace

TEST_F(PreferenceReader, HandsTheLinePreferencesDownToTheScoreObjects) {
  Store("TabOptions", "1,1,1,0,0,1,1,9,9");
  Store("StaffLines3", "0,112,0,1,1,1,1,1,1,1,1,9");
  Store("RhythmFont", "20,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman");
  Store("ChordNameFont", "17,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
  Store("Chords", "1,1,1,-999,0,3");
  Store("ExtTextFont", "14,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman");
  Store("TripletFont", "11,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
  Store("Chords2", "1,1,2,1,0,0,1,0,120,80,0,300,1,0");
  Store("PrintCorr", "100,100,35,2,2,0");
  Store("StaffLines", "1,700,0,0,1,0,0");
  Store("Translation", "1,1,1,1,1,0,1,1");
  Store("TextFiles", "0,0,0,2,1,1,1");
  Store("StaffLines2", "1,1,0,12,1,5,0,0,22,26,14,12");
  Store("MidiInput", "2,1,1,0,38,120,100,3,1,3,0,9");
  LoadRegistrySettings();
  EXPECT_EQ(g_shiftBassIntoTabRange, 0);
  EXPECT_EQ(g_diagramOptionA, 1);  // barre style: arcs
  EXPECT_EQ(g_diagramOptionB, 2);  // fret number: left
  EXPECT_EQ(g_warnBarTiming, 1);
  EXPECT_EQ(g_liveShortestNote, 3);
  EXPECT_EQ(g_diagramFretNumbers, 1);  // variation numbering on
  EXPECT_EQ(g_adaptLibraryShapes, 0);
  EXPECT_EQ(g_textTabBassKinds, 2);
  EXPECT_EQ(g_textTabBanjoFingering, 1);
  EXPECT_EQ(g_textTabRemoveRows, 1);
  EXPECT_EQ(g_defaultTextFontText, CString("14,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman"));
  EXPECT_EQ(g_defaultNumberFontText, CString("11,0,0,0,700,0,0,0,0,3,2,1,34,Arial"));
  EXPECT_EQ(g_staffLines3Second, 112);
  EXPECT_EQ(g_fretBoxMargin, 35);
  EXPECT_EQ(g_drumClefOption, 0);
  EXPECT_EQ(g_staffTextAsAbc, 1);
  EXPECT_EQ(g_tabShowTabWord, 0);
  EXPECT_EQ(g_tabAltTuningNames, 0);
  EXPECT_EQ(g_joinBracketedLines, 1);
  EXPECT_EQ(g_defaultRhythmFontText, CString("20,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman"));
  EXPECT_EQ(g_defaultChordNameFontText, CString("17,0,0,0,700,0,0,0,0,3,2,1,34,Arial"));
  EXPECT_EQ(g_defaultDiagramWidthPct, 120);
  EXPECT_EQ(g_defaultDiagramHeightPct, 80);
}
