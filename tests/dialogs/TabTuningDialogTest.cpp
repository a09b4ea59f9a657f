// The tuning dialog's model and the tunings it lists: every built-in tuning
// sounds the notes its name says; the string-count defaults, the list
// matching of an opened tuning, the spinners, the fret list, the banjo's
// shown and stored forms, and the user's saved tunings.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "dialogs/KDlgTabTuning.h"
#include "dialogs/UserTuningStore.h"
#include "platform/FakeUiPort.h"
#include "platform/SettingsStore.h"
#include "platform/StringTable.h"
#include "support/CaseName.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr const char* kBass4 = "  E A D G   *002025303500";
constexpr int kBuiltIn = 72;
constexpr int kUnnamed = 72;

int Semitone(const std::string& name) {
  static const std::map<std::string, int> kNames = {
      {"C", 0},  {"C#", 1}, {"Db", 1}, {"D", 2},  {"D#", 3}, {"Eb", 3},  {"E", 4},   {"F", 5}, {"F#", 6},
      {"Gb", 6}, {"G", 7},  {"G#", 8}, {"Ab", 8}, {"A", 9},  {"A#", 10}, {"Bb", 10}, {"B", 11}};
  std::string trimmed = name;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  const auto it = kNames.find(trimmed);
  return it == kNames.end() ? -1 : it->second;
}

// The string names a list text begins with, in string order as written.
std::vector<std::string> NamedStrings(const std::string& text) {
  std::vector<std::string> names;
  const std::string head = text.substr(0, text.find('-'));
  for (size_t i = 0; i + 1 < head.size(); i += 2) {
    const std::string cell = head.substr(i, 2);
    if (cell == "  ") break;
    names.push_back(cell);
  }
  return names;
}

// The pitches of a tuning in the order its list text names the strings:
// the eighth and seventh strings first, then the six places that hold one.
std::vector<int> DecodedPitches(const std::string& listForm, bool bass) {
  std::string stored = listForm.substr(0, listForm.find("!@@!"));
  if (stored.size() == 28) stored = stored.substr(2);
  if (stored.size() >= 30) stored = stored.substr(4);
  TuningPitches pitches{};
  ParseTuningString(CString(std::string_view(stored)), bass ? kTuningFlagBass : 0, pitches);
  std::vector<int> order;
  if (pitches[7] > -9) order.push_back(pitches[7]);
  if (pitches[6] > -9) order.push_back(pitches[6]);
  for (int entry = 5; entry >= 0; --entry) {
    const std::string name = stored.substr(static_cast<size_t>(2 * (5 - entry)), 2);
    if (name != "  ") order.push_back(pitches[static_cast<size_t>(entry)]);
  }
  return order;
}

TEST(BuiltInTunings, EveryListedTuningSoundsTheNotesItsNameSays) {
  const int count = std::atoi(LoadString(10151).Str().c_str());
  ASSERT_EQ(count, kBuiltIn);
  // The pair after the listed ones is checked too.
  for (int i = 0; i <= count; ++i) {
    const std::string text = LoadString(10000 + 2 * static_cast<UINT>(i)).Str();
    const std::string tuning = LoadString(10001 + 2 * static_cast<UINT>(i)).Str();
    SCOPED_TRACE(text);
    ASSERT_GE(tuning.size(), 25u);
    const bool bass = text.find("- *") != std::string::npos || text.find("Stick-Bass") != std::string::npos;
    std::string stored = tuning.substr(0, tuning.find("!@@!"));
    if (stored.size() == 28) stored = stored.substr(2);
    if (stored.size() >= 30) stored = stored.substr(4);
    EXPECT_EQ(stored[12] == '*', bass) << "bass mark";
    const std::vector<std::string> names = NamedStrings(text);
    EXPECT_EQ(GetTuningStringCount(CString(std::string_view(stored))), static_cast<int>(names.size()));
    const std::vector<int> pitches = DecodedPitches(tuning, bass);
    ASSERT_EQ(pitches.size(), names.size());
    for (size_t s = 0; s < names.size(); ++s) {
      // Pitch number p is the note of MIDI number p + 20.
      EXPECT_EQ((pitches[s] + 20) % 12, Semitone(names[s]))
          << "string " << s + 1 << " is " << names[s] << " but has pitch " << pitches[s];
      EXPECT_GE(pitches[s], 10);
      EXPECT_LE(pitches[s], 70);
    }
  }
}

// A note as the tuning dialog names it ("D#4", C4 the middle C) as a pitch
// number: guitar-like instruments stand an octave above their sound, as their
// music is written, so the guitar's low E is E3, pitch number 32.
int PitchOf(const std::string& note) {
  const int octave = note.back() - '0';
  return 12 * octave + Semitone(note.substr(0, note.size() - 1)) - 8;
}

struct OctaveCase {
  const char* name;
  int entry;
  std::vector<const char*> notes;  // low string first, as the list names them
};
void PrintTo(const OctaveCase& c, std::ostream* os) { *os << c.name; }

class WellKnownTuning : public ::testing::TestWithParam<OctaveCase> {};

TEST_P(WellKnownTuning, StandsAtItsInstrumentsOctaves) {
  const UINT id = 10001 + 2 * static_cast<UINT>(GetParam().entry);
  const std::string tuning = LoadString(id).Str();
  const std::string text = LoadString(id - 1).Str();
  SCOPED_TRACE(text);
  std::vector<int> expected;
  for (const char* note : GetParam().notes) expected.push_back(PitchOf(note));
  EXPECT_EQ(DecodedPitches(tuning, text.find("- *") != std::string::npos), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Instruments, WellKnownTuning,
    ::testing::Values(OctaveCase{"standard guitar", 0, {"E3", "A3", "D4", "G4", "B4", "E5"}},
                      OctaveCase{"half a step down", 1, {"Eb3", "Ab3", "Db4", "Gb4", "Bb4", "Eb5"}},
                      OctaveCase{"a whole step down", 2, {"D3", "G3", "C4", "F4", "A4", "D5"}},
                      OctaveCase{"half a step up", 3, {"F3", "A#3", "D#4", "G#4", "C5", "F5"}},
                      OctaveCase{"a whole step up", 4, {"F#3", "B3", "E4", "A4", "C#5", "F#5"}},
                      OctaveCase{"dropped D", 5, {"D3", "A3", "D4", "G4", "B4", "E5"}},
                      OctaveCase{"open G", 6, {"D3", "G3", "D4", "G4", "B4", "D5"}},
                      OctaveCase{"open D", 7, {"D3", "A3", "D4", "F#4", "A4", "D5"}},
                      OctaveCase{"open E", 8, {"E3", "B3", "E4", "G#4", "B4", "E5"}},
                      OctaveCase{"open C", 9, {"C3", "G3", "C4", "G4", "C5", "E5"}},
                      OctaveCase{"open A", 10, {"E3", "A3", "E4", "A4", "C#5", "E5"}},
                      OctaveCase{"open E minor", 11, {"E3", "B3", "E4", "G4", "B4", "E5"}},
                      OctaveCase{"open D minor", 12, {"D3", "A3", "D4", "F4", "A4", "D5"}},
                      OctaveCase{"DADGAD", 13, {"D3", "A3", "D4", "G4", "A4", "D5"}},
                      OctaveCase{"sawmill", 14, {"D3", "G3", "D4", "G4", "C5", "D5"}},
                      OctaveCase{"guitar down an octave", 16, {"E2", "A2", "D3", "G3", "B3", "E4"}},
                      OctaveCase{"seven strings", 17, {"B2", "E3", "A3", "D4", "G4", "B4", "E5"}},
                      OctaveCase{"eight strings", 18, {"F#2", "B2", "E3", "A3", "D4", "G4", "B4", "E5"}},
                      OctaveCase{"four string bass", 19, {"E2", "A2", "D3", "G3"}},
                      OctaveCase{"five string bass", 20, {"B1", "E2", "A2", "D3", "G3"}},
                      OctaveCase{"six string bass", 21, {"B1", "E2", "A2", "D3", "G3", "C4"}},
                      // The short fifth string is named by the note it sounds at its fret.
                      OctaveCase{"five string banjo", 23, {"G5", "D4", "G4", "B4", "D5"}},
                      OctaveCase{"tenor banjo", 24, {"C3", "G3", "D4", "A4"}},
                      // Mandolins, ukuleles and bowed strings stand where they sound.
                      OctaveCase{"mandolin", 25, {"G3", "D4", "A4", "E5"}},
                      OctaveCase{"ukulele with the high G", 26, {"G4", "C4", "E4", "A4"}},
                      OctaveCase{"tenor ukulele with the low G", 27, {"G3", "C4", "E4", "A4"}},
                      OctaveCase{"violin", 28, {"G3", "D4", "A4", "E5"}},
                      OctaveCase{"viola", 29, {"C3", "G3", "D4", "A4"}},
                      OctaveCase{"cello", 30, {"C2", "G2", "D3", "A3"}},
                      OctaveCase{"double bass", 31, {"E2", "A2", "D3", "G3"}}),
    [](const ::testing::TestParamInfo<OctaveCase>& info) { return viewtest::CaseName(info.param.name); });

class TabTuningDialog : public ::testing::Test {
 protected:
  // Opens the dialog on a tuning as the tuning command does.
  void Open(const char* tuning) {
    dialog = std::make_unique<KDlgTabTuning>();
    dialog->tuning = tuning;
    const std::string t = tuning;
    dialog->bass = t.size() > 12 && t[12] == '*' ? 1 : 0;
    dialog->stringChoice = GetTuningStringCount(dialog->tuning) - 2;
    dialog->scope = 0;
    dialog->placement = 0;
    dialog->banjoFret = 5;
    dialog->OnInitDialog();
  }
  DialogControls& C() { return dialog->Controls(); }
  std::string Tuning() const { return std::string(dialog->tuning.View()); }
  bool Ok() {
    dialog->ShowUnenteredMembers();
    return dialog->OnOK();
  }

  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  std::unique_ptr<KDlgTabTuning> dialog;
};

struct ListCase {
  const char* name;
  const char* tuning;
  int entry;
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class TuningListMatch : public TabTuningDialog, public ::testing::WithParamInterface<ListCase> {};

TEST_P(TuningListMatch, OpeningSelectsTheEntryOfTheTuning) {
  Open(GetParam().tuning);
  EXPECT_EQ(dialog->listIndex, GetParam().entry);
  EXPECT_EQ(C().Selected(KDlgTabTuning::kIdList), GetParam().entry);
  EXPECT_EQ(dialog->unnamed, GetParam().entry == kUnnamed ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Tunings, TuningListMatch,
    ::testing::Values(ListCase{"standard", kGuitar, 0}, ListCase{"open g", "D G D G B D  303542475154", 6},
                      ListCase{"seven strings", "E A D G B E  323742475156/", 17},
                      ListCase{"eight strings", "E A D G B E  323742475156/*", 18},
                      ListCase{"four string bass", kBass4, 19},
                      ListCase{"cello", "  C G D A   *001623303700", 30},
                      ListCase{"stored banjo", "D D G B D   5544247515400!@@!22", 23},
                      ListCase{"dulcimer with its fret list",
                               "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 36},
                      ListCase{"no such tuning", "E A D G B F  323742475157", kUnnamed}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return viewtest::CaseName(info.param.name); });

struct CountCase {
  const char* name;
  const char* from;
  int count;
  const char* tuning;  // the tuning the count gives
  int entry;
};
void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class StringCountDefault : public TabTuningDialog, public ::testing::WithParamInterface<CountCase> {};

TEST_P(StringCountDefault, ChoosingACountGivesItsDefaultTuning) {
  Open(GetParam().from);
  C().SetChecked(KDlgTabTuning::kIdCountFirst + static_cast<UINT>(GetParam().count - 2), 1);
  EXPECT_EQ(Tuning(), GetParam().tuning);
  EXPECT_EQ(dialog->listIndex, GetParam().entry);
  EXPECT_EQ(dialog->stringCount, GetParam().count);
  EXPECT_EQ(dialog->stringChoice, GetParam().count - 2);
  // The columns shown: 1..n up to six strings, 0..n-1 for seven and eight.
  for (int column = 0; column < KDlgTabTuning::kColumns; ++column) {
    const bool shown =
        GetParam().count <= 6 ? column >= 1 && column <= GetParam().count : column < GetParam().count;
    EXPECT_EQ(C().IsShown(KDlgTabTuning::kIdSpinFirst + static_cast<UINT>(column)), shown)
        << "column " << column;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, StringCountDefault,
    ::testing::Values(CountCase{"guitar two", kGuitar, 2, "      G D    000000475400", 42},
                      CountCase{"guitar three", kGuitar, 3,
                                "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 36},
                      CountCase{"guitar four", kGuitar, 4, "  G D A E    003542495600!@@!20", 25},
                      CountCase{"guitar five is the banjo", kGuitar, 5, "G D G B D   5594247515400!@@!22",
                                23},
                      CountCase{"guitar seven", kGuitar, 7, "E A D G B E  323742475156/", 17},
                      CountCase{"guitar eight", kGuitar, 8, "E A D G B E  323742475156/*", 18},
                      CountCase{"guitar six from four", "  G D A E    003542495600!@@!20", 6, kGuitar, 0},
                      CountCase{"bass five", kBass4, 5, "B E A D G   *152025303500", 20},
                      CountCase{"bass six", kBass4, 6, "B E A D G C *152025303540", 21},
                      CountCase{"bass seven", kBass4, 7, "B E A D G C *1520253035402", kUnnamed},
                      CountCase{"bass two keeps the tuning", kBass4, 2, kBass4, kUnnamed}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(TabTuningDialog, BassOnAGuitarTuningGivesTheFourStringBass) {
  Open(kGuitar);
  C().SetChecked(KDlgTabTuning::kIdBass, 1);
  EXPECT_EQ(Tuning(), kBass4);
  EXPECT_EQ(dialog->stringCount, 4);
  EXPECT_EQ(dialog->listIndex, 19);
  Open("B E A D G   *152025303500");
  C().SetChecked(KDlgTabTuning::kIdBass, 1);
  EXPECT_EQ(Tuning(), kBass4) << "bass again on a five-string bass";
}

TEST_F(TabTuningDialog, GuitarOnASevenStringTuningGivesStandardTuning) {
  Open("E A D G B E  323742475156/");
  C().SetChecked(KDlgTabTuning::kIdGuitar, 1);
  EXPECT_EQ(Tuning(), kGuitar);
  EXPECT_EQ(dialog->listIndex, 0);
}

TEST_F(TabTuningDialog, ChoosingTheSevenStringEntryTakesTheLinesForm) {
  Open(kGuitar);
  C().Select(KDlgTabTuning::kIdList, 17);
  EXPECT_EQ(Tuning(), "E A D G B E  323742475156/");
  EXPECT_EQ(dialog->stringCount, 7);
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Tuning(), "E A D G B E  323742475156/");
  EXPECT_EQ(std::string(dialog->selectionText.View()), "B E A D G B E - 7 String Guitar");
}

struct SpinCase {
  const char* name;
  const char* tuning;
  int column;
  int delta;
  const char* shown;
  int pitchChange;
};
void PrintTo(const SpinCase& c, std::ostream* os) { *os << c.name; }

class Spinner : public TabTuningDialog, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(Spinner, StepsTheNameAndThePitchTogether) {
  Open(GetParam().tuning);
  const int entry = GetParam().column - 1;  // six strings: column j is entry j - 1
  const int before = dialog->openPitches[static_cast<size_t>(entry)];
  C().Step(KDlgTabTuning::kIdSpinFirst + static_cast<UINT>(GetParam().column), GetParam().delta);
  EXPECT_EQ(dialog->ColumnName(GetParam().column), GetParam().shown);
  EXPECT_EQ(dialog->openPitches[static_cast<size_t>(entry)] - before, GetParam().pitchChange);
  EXPECT_EQ(dialog->listIndex, kUnnamed);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Spinner,
    ::testing::Values(
        SpinCase{"g sharp up is a flat keeping the pitch", "E A D G#B E  323742485156", 3, 1, "Ab", 0},
        SpinCase{"e up is f a semitone higher", kGuitar, 1, 1, "F ", 1},
        SpinCase{"e down is e flat a semitone lower", kGuitar, 6, -1, "Eb", -1},
        SpinCase{"a flat down is g sharp keeping the pitch", "E A D AbB E  323742485156", 3, -1, "G#", 0},
        SpinCase{"b up is c", kGuitar, 2, 1, "C ", 1}),
    [](const ::testing::TestParamInfo<SpinCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(TabTuningDialog, ASpunTuningIsBuiltFromTheNamesOnOk) {
  Open(kGuitar);
  // E, E flat, D sharp (the same pitch), D.
  for (int step = 0; step < 3; ++step) C().Step(KDlgTabTuning::kIdSpinFirst + 6, -1);
  EXPECT_EQ(dialog->ColumnName(6), "D ");
  EXPECT_EQ(dialog->PitchLabel(6), "D3");
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Tuning(), "D A D G B E  303742475156");
  EXPECT_EQ(std::string(dialog->selectionText.View()), " - Unnamed custom tuning -");
}

struct FretCase {
  const char* name;
  int count;
  std::vector<int> steps;
  const char* tuning;
};
void PrintTo(const FretCase& c, std::ostream* os) { *os << c.name; }

class FretIntervals : public TabTuningDialog, public ::testing::WithParamInterface<FretCase> {};

TEST_P(FretIntervals, TypedFretStepsBecomeTheFretList) {
  Open("E A D G B E  323742475156!@@!20");
  ASSERT_TRUE(C().IsShown(KDlgTabTuning::kIdFretFirst + 1) == false);
  dialog->OnShowIntervals();
  C().SetText(KDlgTabTuning::kIdFretCount, std::to_string(GetParam().count));
  for (size_t i = 0; i < GetParam().steps.size(); ++i)
    C().SetText(KDlgTabTuning::kIdFretFirst + 1 + static_cast<UINT>(i), std::to_string(GetParam().steps[i]));
  EXPECT_EQ(Tuning(), GetParam().tuning);
  EXPECT_EQ(dialog->listIndex, kUnnamed);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FretIntervals,
    ::testing::Values(FretCase{"diatonic steps with sixteen frets",
                               16,
                               {2, 4, 5, 7, 9, 10, 11, 12, 14, 16, 17, 19},
                               "E A D G B E  323742475156!@@!16,2,4,5,7,9,10,11,12,14,16,17,19"},
                      FretCase{"chromatic with twenty four frets has no list",
                               24,
                               {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                               "E A D G B E  323742475156"},
                      FretCase{"chromatic with fewer frets keeps the count",
                               19,
                               {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                               "E A D G B E  323742475156!@@!19"}),
    [](const ::testing::TestParamInfo<FretCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(TabTuningDialog, AStoredBanjoTuningShowsItsShortStringAsItSoundsAndComesBackUnchanged) {
  Open("D D G B D   5544247515400!@@!22");
  EXPECT_EQ(dialog->banjoFingering, 1);
  EXPECT_EQ(dialog->banjoFret, 5);
  EXPECT_EQ(dialog->ColumnName(5), "G ") << "the short string shows the note it sounds";
  EXPECT_EQ(dialog->listIndex, 23);
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Tuning(), "D D G B D   5544247515400!@@!22");
}

TEST_F(TabTuningDialog, ABanjoChosenFromTheListIsStoredWithItsOpenPitch) {
  Open(kGuitar);
  C().Select(KDlgTabTuning::kIdList, 23);
  EXPECT_EQ(dialog->banjoFingering, 1);
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Tuning(), "D D G B D   5544247515400!@@!22");
}

TEST_F(TabTuningDialog, ASavedTuningIsListedAndChoosingItOffersItsRemoval) {
  ASSERT_TRUE(
      user_tunings::WriteStore(user_tunings::WithEntry(CString(), "D A D G B E  303742475156-My Drop")));
  Open(kGuitar);
  ASSERT_EQ(dialog->ListTexts().size(), static_cast<size_t>(kBuiltIn + 2));
  EXPECT_EQ(dialog->ListTexts().back(), "D A D G B E  -My Drop");
  C().Select(KDlgTabTuning::kIdList, kBuiltIn + 1);
  EXPECT_EQ(dialog->removeMode, 1);
  EXPECT_FALSE(C().IsShown(KDlgTabTuning::kIdSaveName));
  EXPECT_EQ(C().Find(KDlgTabTuning::kIdSaveTuning)->caption, "Remove this tuning");
  EXPECT_EQ(Tuning(), "D A D G B E  303742475156");
  C().Select(KDlgTabTuning::kIdList, 0);
  EXPECT_EQ(dialog->removeMode, 0);
  EXPECT_TRUE(C().IsShown(KDlgTabTuning::kIdSaveName));
}

TEST_F(TabTuningDialog, SavingMakesTheEntryFromTheTuningAndTheName) {
  Open("D A D G B E  303742475156");
  C().SetChecked(KDlgTabTuning::kIdSaveTuning, 1);
  C().SetText(KDlgTabTuning::kIdSaveName, "^-Drop D");
  ASSERT_TRUE(Ok());
  EXPECT_EQ(std::string(dialog->entryText.View()), "D A D G B E  303742475156-Drop D");
}

TEST_F(TabTuningDialog, ACancelledDialogChangesNothing) {
  Open(kGuitar);
  C().SetChecked(KDlgTabTuning::kIdBass, 1);
  dialog->OnCancel();
  EXPECT_EQ(Tuning(), kGuitar);
  EXPECT_EQ(dialog->bass, 0);
}

struct StoreCase {
  const char* name;
  const char* value;
  std::vector<std::string> tunings;
  std::vector<std::string> names;
};
void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.name; }

class UserTuningEntries : public ::testing::TestWithParam<StoreCase> {};

TEST_P(UserTuningEntries, SplitIntoTheTuningsAndNamesSaved) {
  const std::vector<CString> entries = user_tunings::Entries(GetParam().value);
  ASSERT_EQ(entries.size(), GetParam().tunings.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(std::string(user_tunings::TuningOf(entries[i]).View()), GetParam().tunings[i]);
    EXPECT_EQ(std::string(user_tunings::NameOf(entries[i]).View()), GetParam().names[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, UserTuningEntries,
    ::testing::Values(StoreCase{"two entries",
                                "^D A D G B E  303742475156-Drop^E A D G B E  323742475156-Plain",
                                {"D A D G B E  303742475156", "E A D G B E  323742475156"},
                                {"Drop", "Plain"}},
                      StoreCase{"short pieces are not tunings",
                                "^x-y^D A D G B E  303742475156-Drop",
                                {"D A D G B E  303742475156"},
                                {"Drop"}},
                      StoreCase{"an eighth string written as a dash",
                                "^B E A D G C *1520253035402--Low",
                                {"B E A D G C *1520253035402-"},
                                {"Low"}},
                      StoreCase{"a name holding dashes",
                                "^D A D G B E  303742475156-Drop - live",
                                {"D A D G B E  303742475156"},
                                {"Drop - live"}},
                      StoreCase{"an empty store", "", {}, {}}),
    [](const ::testing::TestParamInfo<StoreCase>& info) { return viewtest::CaseName(info.param.name); });

TEST(UserTuningStore, RemovingTakesOutTheFirstWholeEntryOnly) {
  const CString entry = "D A D G B E  303742475156-Drop";
  const CString value = "^" + entry + "^" + entry + "^" + entry + "x";
  const std::optional<CString> left = user_tunings::WithoutEntry(value, entry);
  ASSERT_TRUE(left.has_value());
  EXPECT_EQ(std::string(left->View()),
            "^" + std::string(entry.View()) + "^" + std::string(entry.View()) + "x");
  EXPECT_FALSE(user_tunings::WithoutEntry("^" + entry + "x", entry).has_value());
}

// A value that starts with an entry (written by hand, without the mark
// before it) lists that entry, and removing it takes it out.
TEST(UserTuningStore, AnEntryAtTheStartWithoutAMarkIsListedAndRemoved) {
  const CString entry = "D A D G B E  303742475156-Drop";
  const CString value = entry + "^" + entry + "x";
  ASSERT_EQ(user_tunings::Entries(value).front(), entry);
  const std::optional<CString> left = user_tunings::WithoutEntry(value, entry);
  ASSERT_TRUE(left.has_value());
  EXPECT_EQ(std::string(left->View()), "^" + std::string(entry.View()) + "x");
}

TEST(UserTuningStore, AValueLongerThanAThousandBytesIsReadWhole) {
  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
  CString value;
  for (int i = 0; i < 60; ++i)
    value = user_tunings::WithEntry(
        value, "D A D G B E  303742475156-Tuning " + CString(std::string_view(std::to_string(i))));
  ASSERT_GT(value.GetLength(), 1000);
  ASSERT_TRUE(user_tunings::WriteStore(value));
  EXPECT_EQ(user_tunings::ReadStore(), value);
  EXPECT_EQ(user_tunings::Entries(user_tunings::ReadStore()).size(), 60u);
}

TEST(UserTuningStore, ABanjoIsListedByThePitchItsShortStringStartsAt) {
  EXPECT_EQ(std::string(user_tunings::ListTextOf("D D G B D   5544247515400!@@!22-Mine").View()),
            "G D G B D   5-Mine");
  EXPECT_EQ(std::string(user_tunings::ListTextOf("D A D G B E  303742475156").View()),
            "D A D G B E  -Custom Tuning");
}

}  // namespace
