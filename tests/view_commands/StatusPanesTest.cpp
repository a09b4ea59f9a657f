// The status bar's information panes, from the mirrors of the active view.

#include <gtest/gtest.h>

#include <string>

#include "view/commands/StatusPanes.h"

namespace {

KStatusInputs ChildActive() {
  KStatusInputs inputs;
  inputs.childActive = true;
  return inputs;
}

std::string Pane(UINT id, const KViewMirrors& m, const KStatusInputs& inputs = ChildActive()) {
  return std::string(static_cast<LPCTSTR>(StatusPaneText(id, m, inputs).text));
}

// ---- Entry options: "WBJ" places, then the stem letters -----------------------------

struct EntryCase {
  const char* name;
  int autoWrap, autoBars, autoJoin, stems;
  const char* text;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class EntryOptionsPane : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryOptionsPane, ShowsOneLetterPlacePerOption) {
  const EntryCase& c = GetParam();
  KViewMirrors m;
  m.autoWrap = c.autoWrap;
  m.autoBars = c.autoBars;
  m.autoJoin = c.autoJoin;
  m.stemDirection = c.stems;
  EXPECT_EQ(Pane(5603, m), c.text);
}

const EntryCase kEntryCases[] = {
    {"OnlyAutoBarsReadsBlankBBlank", 0, 1, 0, 0, " B "}, {"EverythingOffReadsThreeBlanks", 0, 0, 0, 0, "   "},
    {"AllOnWithInwardStems", 1, 1, 3, 1, "WBJSi"},       {"WrapWithOutwardStems", 1, 0, 0, 2, "W  So"},
    {"UnknownStemStateAddsNothing", 0, 0, 1, 7, "  J"},
};

INSTANTIATE_TEST_SUITE_P(Letters, EntryOptionsPane, ::testing::ValuesIn(kEntryCases),
                         [](const ::testing::TestParamInfo<EntryCase>& info) {
                           return std::string(info.param.name);
                         });

// ---- Clock ---------------------------------------------------------------------------

struct ClockCase {
  const char* name;
  int hour, minute;
  bool twentyFourHour;
  const char* text;
};

void PrintTo(const ClockCase& c, std::ostream* os) { *os << c.name; }

class ClockPane : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockPane, FormatsTheTimeOfDay) {
  const ClockCase& c = GetParam();
  KStatusInputs inputs;
  inputs.clockOn = true;
  inputs.twentyFourHour = c.twentyFourHour;
  inputs.time = KClockTime{c.hour, c.minute};
  EXPECT_EQ(Pane(5606, KViewMirrors(), inputs), c.text);
}

const ClockCase kClockCases[] = {
    {"MidnightIsTwelveAM", 0, 5, false, "12:05 AM"},
    {"MorningPadsTheHour", 9, 0, false, " 9:00 AM"},
    {"NoonIsTwelvePM", 12, 30, false, "12:30 PM"},
    {"AfternoonTakesTwelveOff", 13, 7, false, " 1:07 PM"},
    {"LastMinuteOfTheDay", 23, 59, false, "11:59 PM"},
    {"LocalisedWordsUseTwentyFourHours", 13, 7, true, "13:07 "},
    {"TwentyFourHourMidnight", 0, 0, true, " 0:00 "},
};

INSTANTIATE_TEST_SUITE_P(Times, ClockPane, ::testing::ValuesIn(kClockCases),
                         [](const ::testing::TestParamInfo<ClockCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(ClockPaneOption, OffShowsNothingAndRunsWithoutAScore) {
  KStatusInputs inputs;
  inputs.time = KClockTime{10, 15};
  EXPECT_EQ(Pane(5606, KViewMirrors(), inputs), "");
  inputs.clockOn = true;
  const KStatusPane clock = StatusPaneText(5606, KViewMirrors(), inputs);
  EXPECT_TRUE(clock.enabled);
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(clock.text)), "10:15 AM");
}

// ---- Autosave -------------------------------------------------------------------------

struct AutosaveCase {
  const char* name;
  int state;
  const char* text;
};

void PrintTo(const AutosaveCase& c, std::ostream* os) { *os << c.name; }

class AutosavePane : public ::testing::TestWithParam<AutosaveCase> {};

TEST_P(AutosavePane, NamesTheState) {
  KViewMirrors m;
  m.autosaveState = GetParam().state;
  EXPECT_EQ(Pane(5604, m), GetParam().text);
}

const AutosaveCase kAutosaveCases[] = {
    {"ReadOnlyScore", 0, "Read Only"},
    {"AutosaveOff", 1, "ASave OFF"},
    {"AutosaveOn", 2, "ASave ON "},
    {"UnknownStateReadsOff", 5, "ASave OFF"},
};

INSTANTIATE_TEST_SUITE_P(States, AutosavePane, ::testing::ValuesIn(kAutosaveCases),
                         [](const ::testing::TestParamInfo<AutosaveCase>& info) {
                           return std::string(info.param.name);
                         });

// ---- The other panes ----------------------------------------------------------------------

TEST(StatusPanes, CaretPaneCountsLinesAndColumnsFromOne) {
  KViewMirrors m;
  m.currentPage = 2;
  m.currentLine = 4;
  m.caretColumn = 7;
  EXPECT_EQ(Pane(5601, m), "P 2, L 5, C 8");
}

TEST(StatusPanes, ModePaneShowsScrollingFirstThenIndependenceThenTranslation) {
  KViewMirrors m;
  EXPECT_FALSE(StatusPaneText(5602, m, ChildActive()).enabled);
  m.mutualTranslation = 1;
  EXPECT_EQ(Pane(5602, m), "Auto Trans");
  m.independentEditing = 1;
  EXPECT_EQ(Pane(5602, m), "INDEP LINE EDITING");
  m.autoScroll = 1;
  m.scrollLines = 3;
  m.scrollSeconds = 10;
  EXPECT_EQ(Pane(5602, m), "Scrl 3 L/10 S");
}

TEST(StatusPanes, NoteStylePaneShowsAlternateSymbolsOrTheStyleLetter) {
  KViewMirrors m;
  m.noteStyle = 6;
  EXPECT_EQ(Pane(5600, m), "T");
  m.noteStyle = 1;
  EXPECT_EQ(Pane(5600, m), "/");
  m.noteStyle = 9;
  EXPECT_EQ(Pane(5600, m), "");
  m.alternateSymbols = 1;
  EXPECT_EQ(Pane(5600, m), "AS");
}

TEST(StatusPanes, OverwritePaneShowsOvrOrIns) {
  KViewMirrors m;
  EXPECT_EQ(Pane(5605, m), "INS");
  m.overwrite = 1;
  EXPECT_EQ(Pane(5605, m), "OVR");
}

TEST(StatusPanes, WithoutAScoreWindowEveryPaneButTheClockIsEmpty) {
  KViewMirrors m;
  m.overwrite = 1;
  m.autoScroll = 1;
  KStatusInputs inputs;
  inputs.clockOn = true;
  for (UINT id : StatusPaneIds()) {
    const KStatusPane pane = StatusPaneText(id, m, inputs);
    if (id == 5606) {
      EXPECT_TRUE(pane.enabled);
      continue;
    }
    EXPECT_FALSE(pane.enabled) << "pane " << id;
    EXPECT_TRUE(pane.text.IsEmpty()) << "pane " << id;
  }
}

}  // namespace
