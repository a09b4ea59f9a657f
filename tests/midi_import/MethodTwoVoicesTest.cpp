// Method 2 of the import: a note still sounding when the next one starts
// keeps its length beside a rest of the new voice, whose row keeps out of the
// way of the sounding notes; and a bar that the chosen resolution cannot
// fill stops the import with its message, leaving nothing made.

#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "SmfBytes.h"
#include "lines/KStaffLine.h"

namespace {

using namespace smftest;
using importtest::ImportFixture;
using importtest::PlayScore;
using importtest::ToText;

constexpr int kQuarterRest = 16;

// The first note column of the score that also holds a rest.
const KChord* ColumnWithVoiceRest(const CStavlinDoc& doc) {
  for (const KChord* c : importtest::Columns(doc)) {
    bool note = false;
    bool rest = false;
    for (int i = 0; i < c->GetNoteCount(); ++i) {
      note = note || c->GetNote(i).code <= 13;
      rest = rest || (c->GetNote(i).code >= 14 && c->GetNote(i).code <= 20);
    }
    if (note && rest) return c;
  }
  return nullptr;
}

int RowOf(const KChord& column, int code) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    if (column.GetNote(i).code == code) return column.GetNote(i).position;
  }
  return -1;
}

class MethodTwo : public ::testing::Test, public ImportFixture {
 protected:
  void SetUp() override {
    g_midiImportMethod = 0;
    settingsScript = [this](KDlgMidiImpSettings& dialog) {
      dialog.methodIndex = 1;
      dialog.SelectRows({0});
      dialog.OnResolution(resolution);
      dialog.OnStaffType(KDlgMidiImpSettings::kTreble);  // whatever the range
      return IDOK;
    };
  }
  void TearDown() override { g_midiImportMethod = 1; }
  int resolution = 1;  // 1/16
};

// Two held notes sound for a half note while a new voice enters on beat 2;
// the new note's row decides where the quarter rest of its voice stands in
// the column. Treble staff rows: C6 10, C5 17, C4 24, E3 29, A2 33 (a row a
// step).
struct VoiceCase {
  const char* name;
  int low;
  int high;
  int newKey;
  int restRow;
  int halfCode;  // 10 stems up, 11 stems down: away from the rest
};
void PrintTo(const VoiceCase& c, std::ostream* out) { *out << c.name; }

class MethodTwoVoice : public MethodTwo, public ::testing::WithParamInterface<VoiceCase> {};

TEST_P(MethodTwoVoice, HeldNotesKeepTheirLengthBesideTheNewVoicesRest) {
  const VoiceCase& c = GetParam();
  const Track tune = {Name(0, "Organ"),     On(0, 0, c.low),    On(0, 0, c.high),
                      On(480, 0, c.newKey), Off(480, 0, c.low), Off(0, 0, c.high),
                      Off(0, 0, c.newKey),  On(0, 0, 79),       Off(960, 0, 79)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  ASSERT_NE(result.document, nullptr);
  const KChord* column = ColumnWithVoiceRest(*result.document);
  ASSERT_NE(column, nullptr) << importtest::Dump(*result.document);
  // Both held notes are written as half notes with their stems away from
  // the rest; the rest lasts until the new voice enters, so the column moves
  // the time on by a quarter.
  int halves = 0;
  for (int i = 0; i < column->GetNoteCount(); ++i) {
    if (column->GetNote(i).code == c.halfCode) ++halves;
  }
  EXPECT_EQ(halves, 2) << importtest::Dump(*result.document);
  EXPECT_EQ(RowOf(*column, kQuarterRest), c.restRow) << importtest::Dump(*result.document);
  EXPECT_EQ(column->GetTicks(0, true), 480);
  // Played back, every note starts where the file has it.
  EXPECT_EQ(ToText(PlayScore(*result.document).at("Organ")),
            ToText({{0, c.low}, {0, c.high}, {480, c.newKey}, {960, 79}}));
  EXPECT_EQ(ui.CountOf(7131), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Import, MethodTwoVoice,
    ::testing::Values(VoiceCase{"InTheUpperHalfGoesAboveTheHeldNotes", 60, 72, 67, 12, 11},     // G4, row 20
                      VoiceCase{"JustAboveTheHeldNotesGoesAboveThem", 60, 72, 76, 12, 11},      // E5, row 15
                      VoiceCase{"InTheLowerHalfGoesBelowTheHeldNotes", 60, 72, 65, 29, 10},     // F4, row 21
                      VoiceCase{"FarAboveTheHeldNotesStaysInItsRow", 60, 72, 84, 10, 11},       // C6, row 10
                      VoiceCase{"PushedOffTheStaffRowsStaysAtTheirEdge", 45, 60, 52, 36, 10}),  // E3, row 29
    [](const ::testing::TestParamInfo<VoiceCase>& info) { return info.param.name; });

// A lone held note with a new voice below it: the rest keeps the new note's
// row when that lies clear of the held note.
TEST_F(MethodTwo, NewVoiceFarFromTheHeldNoteKeepsItsRow) {
  const Track tune = {Name(0, "Flute"), On(0, 0, 84), On(480, 0, 64), Off(480, 0, 84),
                      Off(0, 0, 64),    On(0, 0, 72), Off(960, 0, 72)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  ASSERT_NE(result.document, nullptr);
  const KChord* column = ColumnWithVoiceRest(*result.document);
  ASSERT_NE(column, nullptr) << importtest::Dump(*result.document);
  KStaffLine treble(0, 0, 0);
  int accidental = 0;
  EXPECT_EQ(RowOf(*column, kQuarterRest), treble.PitchToRow(64, 2, accidental, 0));
  EXPECT_EQ(ToText(PlayScore(*result.document).at("Flute")), ToText({{0, 84}, {480, 64}, {960, 72}}));
}

// 7/16 bars of eighth notes: at 1/8 the fourth eighth of each bar has only a
// sixteenth left, too little to tie over and too much to drop, so method 2
// gives up with its message and makes nothing; a finer resolution, or
// method 1, imports the same file.
struct OverrunCase {
  const char* name;
  int methodIndex;
  int resolution;
  bool refused;
};
void PrintTo(const OverrunCase& c, std::ostream* out) { *out << c.name; }

class MethodTwoOverrun : public ::testing::Test,
                         public ImportFixture,
                         public ::testing::WithParamInterface<OverrunCase> {
 protected:
  void TearDown() override { g_midiImportMethod = 1; }
};

TEST_P(MethodTwoOverrun, BarTheResolutionCannotFillStopsTheImport) {
  const OverrunCase& c = GetParam();
  g_midiImportMethod = c.methodIndex == 0 ? 1 : 0;
  settingsScript = [&c](KDlgMidiImpSettings& dialog) {
    dialog.methodIndex = c.methodIndex;
    dialog.SelectRows({0});
    dialog.OnResolution(c.resolution);
    return IDOK;
  };
  Track tune = {Name(0, "Reel"), Time(0, 7, 4)};
  for (int i = 0; i < 8; ++i) {
    tune.push_back(On(0, 0, 72 + i % 5));
    tune.push_back(Off(240, 0, 72 + i % 5));
  }
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  if (c.refused) {
    EXPECT_EQ(result.document, nullptr);
    ASSERT_EQ(ui.CountOf(7131), 1);
    EXPECT_EQ(ui.Messages().back().text,
              "Sorry, but there is a problem converting this file to notation.\n"
              "Changing the \"shortest note value to use\" in File|Preferences|MIDI Input might help.");
  } else {
    EXPECT_NE(result.document, nullptr);
    EXPECT_EQ(ui.CountOf(7131), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Import, MethodTwoOverrun,
                         ::testing::Values(OverrunCase{"MethodTwoAtEighths", 1, 0, true},
                                           OverrunCase{"MethodTwoAtSixteenths", 1, 1, false},
                                           OverrunCase{"MethodOneAtEighths", 0, 0, false}),
                         [](const ::testing::TestParamInfo<OverrunCase>& info) { return info.param.name; });

}  // namespace
