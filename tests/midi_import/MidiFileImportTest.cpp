// Standard MIDI Files written by hand become scores whose notes, played back
// through the sequencer, are the files' notes: one table of (tick, key) per
// file.

#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "SmfBytes.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/DocServices.h"

namespace {

using namespace smftest;
using importtest::ImportFixture;
using importtest::Played;
using importtest::PlayScore;
using importtest::ToText;

class MidiFileImport : public ::testing::Test, public ImportFixture {
 protected:
  void SetUp() override {
    g_midiImportMethod = 1;
    g_midiShortNoteWarning = 1;
  }
  void TearDown() override { g_midiImportMethod = 1; }
};

// Type 0, a time division of 96 and running status (note-on with velocity 0
// as the release): quarter, two eighths and a half note.
TEST_F(MidiFileImport, TypeZeroWithRunningStatusGivesTheMelodyInOrder) {
  const auto bytes =
      Smf(0, 96,
          {{Name(0, "Melody"), Time(0, 4, 2), On(0, 0, 60), Data(96, 60, 0), Data(0, 62, 100),
            Data(48, 62, 0), Data(0, 64, 100), Data(48, 64, 0), Data(0, 65, 100), Data(192, 65, 0)}});
  const MidiFileImportResult result = Import(bytes);
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(result.title, "Test Tune");
  const auto parts = PlayScore(*result.document);
  ASSERT_EQ(parts.count("Melody"), 1u);
  EXPECT_EQ(ToText(parts.at("Melody")), ToText({{0, 60}, {480, 62}, {720, 64}, {960, 65}}));
  // One staff and its system's empty text line; no groups for one part.
  ASSERT_EQ(importtest::Staves(*result.document).size(), 1u);
  EXPECT_EQ(result.document->GetLineGroupCount(), 0);
  EXPECT_TRUE(result.document->GetPathName().IsEmpty());
}

// Type 1 with a conductor track (tempo 90 then 120, 3/4 then 2/4, one sharp)
// and a melody and a bass track: the two parts are offered as one keyboard
// pair, built as a grand staff in line groups.
TEST_F(MidiFileImport, TypeOneWithTempoTimeAndKeyChangesGivesAGrandStaff) {
  const Track conductor = {Tempo(0, 90), Time(0, 3, 2), Key(0, 1), Time(2880, 2, 2), Tempo(0, 120)};
  const Track right = {Name(0, "Right"), On(0, 0, 67),    Off(480, 0, 67), On(0, 0, 69),     Off(480, 0, 69),
                       On(0, 0, 71),     Off(480, 0, 71), On(0, 0, 72),    Off(1440, 0, 72), On(0, 0, 74),
                       Off(480, 0, 74),  On(0, 0, 66),    Off(480, 0, 66)};
  const Track left = {Name(0, "Left"),  On(0, 1, 43), Off(1440, 1, 43), On(0, 1, 50),
                      Off(1440, 1, 50), On(0, 1, 43), Off(960, 1, 43)};
  const MidiFileImportResult result = Import(Smf(1, 480, {conductor, right, left}));
  ASSERT_NE(result.document, nullptr);
  ASSERT_EQ(shownRows.size(), 1u);
  EXPECT_EQ(shownRows[0].kind, KDlgMidiImpSettings::kKeyboard);

  const CStavlinDoc& doc = *result.document;
  const auto parts = PlayScore(doc);
  ASSERT_EQ(parts.count("Right"), 1u);
  EXPECT_EQ(ToText(parts.at("Right")), ToText({{0, 43},
                                               {0, 67},
                                               {480, 69},
                                               {960, 71},
                                               {1440, 50},
                                               {1440, 72},
                                               {2880, 43},
                                               {2880, 74},
                                               {3360, 66}}));
  const auto staves = importtest::Staves(doc);
  ASSERT_GE(staves.size(), 2u);
  EXPECT_EQ(staves[0]->GetType(), 0);
  EXPECT_EQ(staves[1]->GetType(), 1);
  EXPECT_EQ(staves[0]->GetKeySignatureAt(0), 2);
  EXPECT_NE(dynamic_cast<KStaffLine*>(staves[0])->GetPartner(), nullptr);
  EXPECT_GE(doc.GetLineGroupCount(), 1);
  EXPECT_EQ(doc.settings.midiTempo, 90);
  // The change to 2/4 stands in the music.
  int twoFour = 0;
  for (const KChord* c : importtest::Columns(doc)) {
    if (c->GetNote(0).code == KChord::kTimeSignature && c->GetNote(1).code == 101 &&
        c->GetNote(2).code == 103)
      ++twoFour;
  }
  EXPECT_EQ(twoFour, 2);  // on both staves
}

// A drum track on channel 10 becomes a drum staff whose notes play the same
// percussion keys; the melody beside it stays a staff of its own.
TEST_F(MidiFileImport, DrumTrackPlaysTheSamePercussionKeys) {
  Track drums = {Name(0, "Kit")};
  const int pattern[4][2] = {{36, 42}, {38, 42}, {36, 42}, {38, 46}};
  for (const auto& beat : pattern) {
    drums.push_back(On(0, 9, beat[0]));
    drums.push_back(On(0, 9, beat[1]));
    drums.push_back(Off(240, 9, beat[0]));
    drums.push_back(Off(0, 9, beat[1]));
    drums.push_back({240, {}});
  }
  // The pauses above are empty items: fold them into the next delta.
  Track folded;
  std::uint32_t carry = 0;
  for (const Item& item : drums) {
    if (item.bytes.empty()) {
      carry += item.delta;
      continue;
    }
    folded.push_back({item.delta + carry, item.bytes});
    carry = 0;
  }
  const Track melody = {Name(0, "Tune"), On(0, 0, 72), Off(1920, 0, 72)};
  const MidiFileImportResult result = Import(Smf(1, 480, {melody, folded}));
  ASSERT_NE(result.document, nullptr);
  ASSERT_EQ(shownRows.size(), 2u);
  EXPECT_EQ(shownRows[1].kind, KDlgMidiImpSettings::kDrum);
  EXPECT_EQ(shownRows[1].program, 130);
  const auto parts = PlayScore(*result.document);
  ASSERT_EQ(parts.count("Kit"), 1u);
  EXPECT_EQ(ToText(parts.at("Kit")),
            ToText({{0, 36}, {0, 42}, {480, 38}, {480, 42}, {960, 36}, {960, 42}, {1440, 38}, {1440, 46}}));
  EXPECT_EQ(ToText(parts.at("Tune")), ToText({{0, 72}}));
  const auto staves = importtest::Staves(*result.document);
  ASSERT_EQ(staves.size(), 2u);
  EXPECT_EQ(staves[1]->GetType(), 13);
}

// One piano part over the whole keyboard is split at the split note into a
// treble and a bass staff.
TEST_F(MidiFileImport, PianoPartSplitsIntoAGrandStaff) {
  const int keys[] = {36, 84, 48, 72, 60, 55};
  Track piano = {Name(0, "Piano")};
  for (int key : keys) {
    piano.push_back(On(0, 0, key));
    piano.push_back(Off(480, 0, key));
  }
  const MidiFileImportResult result = Import(Smf(1, 480, {piano}));
  ASSERT_NE(result.document, nullptr);
  ASSERT_EQ(shownRows.size(), 1u);
  EXPECT_EQ(shownRows[0].kind, KDlgMidiImpSettings::kKeyboard);
  const auto staves = importtest::Staves(*result.document);
  ASSERT_EQ(staves.size(), 2u);
  EXPECT_EQ(staves[0]->GetType(), 0);
  EXPECT_EQ(staves[1]->GetType(), 1);
  // The staves carry their own halves of the notes ...
  importtest::ImportFixture* self = this;
  (void)self;
  const auto parts = PlayScore(*result.document);
  EXPECT_EQ(ToText(parts.at("Piano")),
            ToText({{0, 36}, {480, 84}, {960, 48}, {1440, 72}, {1920, 60}, {2400, 55}}));
  // ... the upper one only those at or above the split note.
  int upperNotes = 0;
  const CObList& upper = *staves[0]->GetObjList();
  for (POSITION pos = upper.GetHeadPosition(); pos != nullptr;) {
    const auto* c = dynamic_cast<const KChord*>(upper.GetNext(pos));
    for (int i = 0; c != nullptr && i < c->GetNoteCount(); ++i) {
      if (c->GetNote(i).code <= 13 && !c->IsSignatureColumn()) ++upperNotes;
    }
  }
  EXPECT_EQ(upperNotes, 3);
}

// Three notes in the time of two eighths are written as a triplet group of
// eighths under one bracket, and play back at their times.
TEST_F(MidiFileImport, EighthTripletsBecomeATripletGroup) {
  const Track tune = {Name(0, "Flute"), On(0, 0, 72), Off(160, 0, 72), On(0, 0, 74),
                      Off(160, 0, 74),  On(0, 0, 76), Off(160, 0, 76), On(0, 0, 77),
                      Off(480, 0, 77),  On(0, 0, 79), Off(960, 0, 79)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(importtest::CountAttachments(*result.document, 2), 1);
  const auto parts = PlayScore(*result.document);
  EXPECT_EQ(ToText(parts.at("Flute")), ToText({{0, 72}, {160, 74}, {320, 76}, {480, 77}, {960, 79}}));
  // The three notes are written as eighths.
  int eighths = 0;
  for (const KChord* c : importtest::Columns(*result.document)) {
    for (int i = 0; i < c->GetNoteCount(); ++i) {
      if (!c->IsSignatureColumn() && (c->GetNote(i).code == 0 || c->GetNote(i).code == 1)) ++eighths;
    }
  }
  EXPECT_EQ(eighths, 3) << importtest::Dump(*result.document);
}

// Method 2 keeps a note's length over the bar line as two tied notes, which
// play as one.
TEST_F(MidiFileImport, MethodTwoTiesANoteOverTheBarLine) {
  settingsScript = [](KDlgMidiImpSettings& dialog) {
    dialog.methodIndex = 1;
    return IDOK;
  };
  g_midiImportMethod = 0;
  const Track tune = {Name(0, "Horn"), On(1440, 0, 67), Off(960, 0, 67), On(0, 0, 69), Off(480, 0, 69)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  ASSERT_NE(result.document, nullptr);
  // Two written notes of G4, the first tied on.
  int written = 0;
  for (KListLine* line : importtest::Staves(*result.document)) {
    auto* staff = dynamic_cast<KStaffLine*>(line);
    const CObList& list = *line->GetObjList();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      const auto* c = dynamic_cast<const KChord*>(list.GetNext(pos));
      for (int i = 0; c != nullptr && !c->IsSignatureColumn() && i < c->GetNoteCount(); ++i) {
        if (c->GetNote(i).code <= 13 && staff->GetPitchAtRow(c->GetNote(i).position, c->GetPos()) + 20 == 67)
          ++written;
      }
    }
  }
  EXPECT_EQ(written, 2);
  const auto parts = PlayScore(*result.document);
  EXPECT_EQ(ToText(parts.at("Horn")), ToText({{1440, 67}, {2400, 69}})) << importtest::Dump(*result.document);
}

// The score's text lines: the title, then the file's copyright, text and
// lyric events; the title is the file's name without folder or extension.
TEST_F(MidiFileImport, TitleAndTextEventsHeadTheScore) {
  const std::string rights = "(c) Someone";
  const Track tune = {Meta(0, 2, std::vector<std::uint8_t>(rights.begin(), rights.end())), On(0, 0, 60),
                      Off(480, 0, 60)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}), "/home/me/old.versions/my SONG.MID");
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(result.title, "My Song");
  std::vector<std::string> texts;
  for (KLineObj* line : importtest::Lines(*result.document)) {
    if (auto* text = dynamic_cast<KStrLine*>(line)) texts.push_back(text->GetText().Str());
  }
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[1], "My Song");
  EXPECT_EQ(texts[3], "(c) Someone");
}

// What the reader left out of a file (here a System Exclusive message with
// a status byte inside) is shown, naming the track.
TEST_F(MidiFileImport, ReaderWarningsAreShown) {
  const Track tune = {{0, {0xF0, 0x03, 0x43, 0x90, 0xF7}}, On(0, 0, 60), Off(480, 0, 60)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  ASSERT_NE(result.document, nullptr);
  bool shown = false;
  for (const FakeUiPort::Message& m : ui.Messages()) {
    if (m.text.find("were left out") != std::string::npos && m.text.find("track") != std::string::npos)
      shown = true;
  }
  EXPECT_TRUE(shown);
}

// Cancelling anywhere leaves nothing made.
struct CancelCase {
  const char* name;
  int dialogAnswer;
  int stopAtPoll;
};

class MidiFileImportCancel : public ::testing::TestWithParam<CancelCase>, public ImportFixture {};

TEST_P(MidiFileImportCancel, LeavesNoScore) {
  settingsScript = [](KDlgMidiImpSettings&) { return GetParam().dialogAnswer; };
  progress.stopAt = GetParam().stopAtPoll;
  Track tune = {Name(0, "Long")};
  for (int i = 0; i < 400; ++i) {
    tune.push_back(On(0, 0, 60 + i % 12));
    tune.push_back(Off(240, 0, 60 + i % 12));
  }
  const Track bass = {On(0, 1, 40), Off(1920, 1, 40)};
  const MidiFileImportResult result = Import(Smf(1, 480, {tune, bass}));
  EXPECT_EQ(result.document, nullptr);
  if (GetParam().stopAtPoll > 0) {
    EXPECT_EQ(progress.polls, GetParam().stopAtPoll);
  }
}

INSTANTIATE_TEST_SUITE_P(Import, MidiFileImportCancel,
                         ::testing::Values(CancelCase{"InTheSettingsDialog", IDCANCEL, 0},
                                           CancelCase{"WhileConvertingNotes", IDOK, 1},
                                           CancelCase{"WhileConvertingLater", IDOK, 3},
                                           CancelCase{"WhileAligningOrBuildingLines", IDOK, 45},
                                           CancelCase{"WhileCleaningUp", IDOK, 49}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.name; });

// The importing flag is up while the import's dialog and passes run, and down
// again however the import ends.
struct ImportingFlagCase {
  const char* name;
  int dialogAnswer;
  int stopAtPoll;
  bool made;
};

class MidiFileImportFlag : public ::testing::TestWithParam<ImportingFlagCase>, public ImportFixture {
 protected:
  void TearDown() override { g_midiImporting = 0; }
};

TEST_P(MidiFileImportFlag, IsRaisedWhileTheImportRunsAndPutBackAfter) {
  const ImportingFlagCase& c = GetParam();
  std::vector<int> seen;
  settingsScript = [&](KDlgMidiImpSettings&) {
    seen.push_back(g_midiImporting);
    return c.dialogAnswer;
  };
  progress.stopAt = c.stopAtPoll;
  ASSERT_EQ(g_midiImporting, 0);
  const Track tune = {Name(0, "Tune"), On(0, 0, 60), Off(480, 0, 60), On(0, 0, 62), Off(480, 0, 62)};
  const MidiFileImportResult result = Import(Smf(0, 480, {tune}));
  EXPECT_EQ(result.document != nullptr, c.made);
  EXPECT_EQ(seen, std::vector<int>{1}) << "the settings dialog opens during the import";
  EXPECT_EQ(g_midiImporting, 0);
}

INSTANTIATE_TEST_SUITE_P(Import, MidiFileImportFlag,
                         ::testing::Values(ImportingFlagCase{"WhenTheScoreIsMade", IDOK, 0, true},
                                           ImportingFlagCase{"WhenTheDialogIsCancelled", IDCANCEL, 0, false},
                                           ImportingFlagCase{"WhenAPassIsStopped", IDOK, 1, false}),
                         [](const ::testing::TestParamInfo<ImportingFlagCase>& info) {
                           return info.param.name;
                         });

TEST_F(MidiFileImport, AFileThatIsNotMidiLeavesTheImportingFlagDown) {
  EXPECT_EQ(Import({'h', 'e', 'l', 'l', 'o'}).document, nullptr);
  EXPECT_EQ(g_midiImporting, 0);
}

// Unreadable or unsuitable files are refused with a message, and nothing is made.
TEST_F(MidiFileImport, FileThatIsNotMidiIsRefused) {
  const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(Import(text).document, nullptr);
  EXPECT_EQ(ui.CountOf(7079), 1);
  EXPECT_EQ(ImportMidiFile(CString("/nowhere/tune.txt")).document, nullptr);
  EXPECT_EQ(ui.CountOf(7130), 1);
  EXPECT_EQ(ImportMidiFile(CString("/nowhere/missing.mid")).document, nullptr);
  EXPECT_EQ(ui.CountOf(8207), 1);
}

}  // namespace

namespace {

// Notes shorter than the chosen resolution are counted and reported; "No"
// to the question turns the report into a beep for the rest of the run.
TEST_F(MidiFileImport, NotesShorterThanTheResolutionAreReportedUntilTurnedOff) {
  settingsScript = [](KDlgMidiImpSettings& dialog) {
    dialog.SelectRows({0});
    dialog.OnResolution(0);  // 1/8
    return IDOK;
  };
  const Track tune = {On(0, 0, 72),    Off(120, 0, 72), On(0, 0, 74),
                      Off(120, 0, 74), On(0, 0, 76),    Off(480, 0, 76)};
  ui.Answer(7105, IDNO);
  ASSERT_NE(Import(Smf(0, 480, {tune})).document, nullptr);
  ASSERT_EQ(ui.CountOf(7105), 1);
  EXPECT_NE(ui.Messages().back().text.find("2 notes or rests shorter"), std::string::npos);
  EXPECT_EQ(g_midiShortNoteWarning, 0);
  ASSERT_NE(Import(Smf(0, 480, {tune})).document, nullptr);
  EXPECT_EQ(ui.CountOf(7105), 1);
  EXPECT_EQ(ui.Beeps().size(), 1u);
}

}  // namespace
