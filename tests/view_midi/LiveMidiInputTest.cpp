// Live MIDI input into a score view: notes fed through a fake MIDI input
// port with their arrival times, the recording dialog's Start/Stop, and the
// columns the score receives after each step.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../view_structure/StructureTestSupport.h"
#include "common/Globals.h"
#include "dialogs/KDlgInputMidi.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "midi/LinePlayEvents.h"
#include "model/KListLine.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"
#include "platform/MidiOutPort.h"
#include "platform/SettingsStore.h"
#include "view/midi/KSVMidi.h"
#include "view/midi/LiveInputLink.h"
#include "view/midi/LiveRecorder.h"
#include "view/midi/ViewPlayInput.h"

namespace {

using viewtest::kGuitar;

// At 125 beats a minute a tick (480 to the quarter) lasts exactly 1 ms.
constexpr int kTempo = 125;
constexpr std::int64_t kStartUs = 5000000;

class LiveMidiInput : public structtest::StructureFixture {
 protected:
  void SetUp() override {
    StructureFixture::SetUp();
    // The recording window writes its settings: into memory, never the user's file.
    storeScope_ = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
    devices.inputs = {"Keyboard"};
    devices.outputs = {"Synth"};
    previousDevices_ = SetMidiDevices(&devices);
    previousClock_ = SetMidiClock(&clock);
    clock.AdvanceTo(kStartUs);
    input.SetSync(&sync);
    frame.liveInput = &input;
    frame.liveSync = &sync;
    frame.play = &output;
    ResetLiveRecording();
    g_MidiOutDevice = 1;
    settings.tempoMode = 2;
    settings.tempo = kTempo;
    settings.shortest = 1;
    settings.chordWindow = 2;
  }
  void TearDown() override {
    dialog.reset();
    SetLiveInputTarget(nullptr);
    input.Close();
    sync.Close();
    SetMidiClock(previousClock_);
    SetMidiDevices(previousDevices_);
    storeScope_.reset();
    StructureFixture::TearDown();
  }

  // The recording window open over the score, with the view as the target.
  void OpenDialog() {
    dialog = std::make_unique<KDlgInputMidi>(settings, &link);
    dialog->OnInitDialog();
    SetLiveInputTarget(view.get());
  }
  void Start() {
    if (dialog == nullptr) OpenDialog();
    dialog->OnStartStop();
    ASSERT_TRUE(dialog->IsRecording());
  }

  // Messages from the keyboard at a time in ticks (1 ms each) after the start.
  void Send(int ticks, std::vector<std::uint8_t> bytes) {
    const std::int64_t at = kStartUs + std::int64_t{ticks} * 1000;
    clock.AdvanceTo(at);
    devices.Feed(0, {at, std::move(bytes)});
  }
  void Press(int note, int ticks) { Send(ticks, {0x90, static_cast<std::uint8_t>(note), 100}); }
  void Release(int note, int ticks) { Send(ticks, {0x80, static_cast<std::uint8_t>(note), 0}); }
  // A note-on with velocity 0 is a release too.
  void ReleaseByZero(int note, int ticks) { Send(ticks, {0x90, static_cast<std::uint8_t>(note), 0}); }

  std::string Dump(int displayLine = 0) const { return DumpLine(Line(displayLine)); }

  void OneStaff() {
    Add(new KStaffLine(0, 0, 0));
    Open(0, 0);
  }
  void KeyboardPair() {
    POSITION treble = Add(new KStaffLine(0, 0, 0));
    POSITION bass = Add(new KStaffLine(1, 0, 0));
    Group(1, {treble, bass}, false);
    Open(0, 0);
  }

  FakeMidiDevices devices;
  FakeMidiClock clock;
  KSVMidiIn input;
  KSVMidiSync sync;
  RecordingMidiOut output;
  bool closed = false;
  KLiveInputLink link{frame, [this] { closed = true; }};
  KLiveInputSettings settings;
  std::unique_ptr<KDlgInputMidi> dialog;

 private:
  MidiDeviceSystem* previousDevices_ = nullptr;
  MidiClock* previousClock_ = nullptr;
  std::unique_ptr<KSettingsStoreScope> storeScope_;
};

TEST_F(LiveMidiInput, StartOpensTheInputAndSyncAndSendsTheResetMessages) {
  OneStaff();
  Start();
  EXPECT_TRUE(input.IsOpen());
  EXPECT_TRUE(input.IsStarted());
  EXPECT_TRUE(sync.IsRunning());
  EXPECT_EQ(sync.GetTempo(), 480000u);
  EXPECT_EQ(LiveInputTarget(), view.get());
  EXPECT_EQ(dialog->Controls().Find(KDlgInputMidi::kIdStartStop)->caption, "&Stop");
  std::vector<std::string> expected = {"open 0 78624"};  // flags 0x13320
  for (const char* byte : {"f0", "7e", "7f", "09", "01", "f7"})
    expected.push_back(std::string("put ffffffff f0 ") + byte + " 00 00");
  for (const char* reset : {"b0 7d", "bf 7d", "b0 7f", "bf 7f"})
    expected.push_back(std::string("put ffffffff ") + reset + " 00 00");
  EXPECT_EQ(output.Log(), expected);

  dialog->OnStartStop();
  EXPECT_FALSE(dialog->IsRecording());
  EXPECT_FALSE(input.IsOpen());
  EXPECT_FALSE(sync.IsRunning());
  EXPECT_EQ(dialog->Controls().Find(KDlgInputMidi::kIdStartStop)->caption, "&Start");
}

// One case of notes played into a treble staff: the messages in time order
// and the columns the staff holds afterwards.
struct PlayedCase {
  const char* name;
  std::vector<std::pair<int, std::vector<std::uint8_t>>> messages;  // (tick, bytes)
  int autoBars;
  const char* columns;
};

class LiveMidiPlayed : public LiveMidiInput, public ::testing::WithParamInterface<PlayedCase> {};

TEST_P(LiveMidiPlayed, WritesTheColumnsOfWhatWasPlayed) {
  const PlayedCase& c = GetParam();
  OneStaff();
  view->m_autoBars = c.autoBars;
  Start();
  for (const auto& [tick, bytes] : c.messages) Send(tick, bytes);
  EXPECT_EQ(Dump(), c.columns);
}

using Msg = std::pair<int, std::vector<std::uint8_t>>;
Msg On(int tick, int note) { return {tick, {0x90, static_cast<std::uint8_t>(note), 100}}; }
Msg Off(int tick, int note) { return {tick, {0x80, static_cast<std::uint8_t>(note), 0}}; }
Msg Pedal(int tick, int value) { return {tick, {0xB0, 64, static_cast<std::uint8_t>(value)}}; }

// Rows on the treble staff: C4 24, E4 22, G4 20, C5 17. Codes: 8 quarter,
// 10 half, 0 eighth (odd partners the other stem), 16 quarter rest, 21 bar,
// 36 dot, 34 tie.
INSTANTIATE_TEST_SUITE_P(
    Cases, LiveMidiPlayed,
    ::testing::Values(
        PlayedCase{"ANoteSixtyTicksAfterTheFirstJoinsItsChord",
                   {On(0, 60), On(60, 64), Off(480, 60), Off(480, 64)},
                   0,
                   "0:8@22,8@24"},
        PlayedCase{"ANoteSixtyOneTicksAfterTheFirstStartsANewChord",
                   {On(0, 60), On(61, 64), Off(480, 60), Off(541, 64)},
                   0,
                   "0:8@24 1:8@22"},
        PlayedCase{"AVelocityZeroNoteOnReleasesTheNote", {On(0, 60), {480, {0x90, 60, 0}}}, 0, "0:8@24"},
        PlayedCase{"TheGapBetweenChordsBecomesARest",
                   {On(0, 60), Off(480, 60), On(960, 67), Off(1440, 67)},
                   0,
                   "0:8@24 1:16@18 2:8@20"},
        PlayedCase{"TheRestsOfOneSilenceMergeIntoOneDottedRest",
                   {On(0, 60), Off(240, 60), On(960, 67), Off(1440, 67)},
                   0,
                   "0:0@24 1:16@18,36@18 2:8@20"},
        PlayedCase{"RestsThatMakeNoSingleValueMergeOnlyAsFarAsOneDoes",
                   {On(0, 60), Off(240, 60), On(1920, 67), Off(2400, 67)},
                   0,
                   "0:0@24 1:15@18 2:16@18,36@18 3:8@20"},
        PlayedCase{"RestsAreNotMergedAcrossABarLine",
                   {On(0, 60), Off(240, 60), On(2160, 67), Off(2640, 67)},
                   1,
                   "0:0@24 1:15@18 2:16@18,36@18 3:21@1 4:17@18 5:8@20"},
        PlayedCase{"SustainPedalMessagesChangeNothing",
                   {On(0, 60), Pedal(100, 127), Off(480, 60), Pedal(700, 0), On(960, 67), Off(1440, 67)},
                   0,
                   "0:8@24 1:16@18 2:8@20"},
        PlayedCase{"AutoBarInsertionCutsANoteAtTheBarAndTiesIt",
                   {On(0, 60), Off(1440, 60), On(1440, 64), Off(2400, 64)},
                   1,
                   "0:10@24,36@24 1:8@22,34@22 2:21@1 3:8@22"},
        PlayedCase{"WithoutAutoBarInsertionNoBarIsWritten",
                   {On(0, 60), Off(1440, 60), On(1440, 64), Off(2400, 64)},
                   0,
                   "0:10@24,36@24 1:10@22"},
        PlayedCase{"NotesOverTheMiddleLineTakeTheirStemsDown", {On(0, 72), Off(480, 72)}, 0, "0:9@17"},
        // Notes are written as a musician reads what was played: a note held
        // nearly all of a value is that value, and the next note keeps its beat.
        PlayedCase{"AHalfHeldForNinetyTwoPercentIsAHalfAndTheNextNoteKeepsItsBeat",
                   {On(0, 60), Off(883, 60), On(960, 64), Off(1440, 64)},
                   0,
                   "0:10@24 1:8@22"},
        PlayedCase{"AWholeDyadHeldThreeAndTwoThirdsBeatsIsAWhole",
                   {On(0, 60), On(0, 64), Off(1762, 60), Off(1762, 64), On(1920, 67), Off(2400, 67)},
                   0,
                   "0:12@24,12@22 1:8@20"},
        PlayedCase{"ASilenceOfOneGridStepIsARestSoTheNextNoteIsNotEarly",
                   {On(0, 60), Off(360, 60), On(480, 64), Off(960, 64)},
                   0,
                   "0:0@24,36@24 1:18@18 2:8@22"},
        PlayedCase{"ANoteIsNotLengthenedPastTheNextNotesStart",
                   {On(0, 60), On(840, 64), Off(850, 60), Off(1320, 64)},
                   0,
                   "0:8@24,34@24 1:0@24,36@24 2:8@22"},
        PlayedCase{"AStaccatoQuarterStaysAnEighthAndARest",
                   {On(0, 60), Off(250, 60), On(480, 64), Off(960, 64)},
                   0,
                   "0:0@24 1:17@18 2:8@22"},
        PlayedCase{"AChordOfAQuarterAndAnEighthPutsTheEighthOnTheSecondStem",
                   {On(0, 60), On(10, 67), Off(240, 67), Off(480, 60)},
                   0,
                   "0:8@24,1@20"}),
    [](const ::testing::TestParamInfo<PlayedCase>& info) { return std::string(info.param.name); });

// The two staves of a keyboard pair take the same rests for a silence and
// merge them alike, so that their columns stay in step.
TEST_F(LiveMidiInput, BothStavesOfAKeyboardPairMergeTheirRestsAlike) {
  KeyboardPair();
  Start();
  Press(72, 0);
  Press(48, 0);
  Release(72, 240);
  Release(48, 240);
  Press(72, 960);
  Release(72, 1440);
  Press(48, 1440);
  Release(48, 1920);
  Press(72, 2400);
  Release(72, 2880);
  EXPECT_EQ(Dump(0), "0:1@17 1:16@18,36@18 2:9@17 3:16@18 4:21@1 5:16@18 6:9@17");
  EXPECT_EQ(Dump(1), "0:1@19 1:16@18,36@18 2:16@18 3:8@19 4:21@1 5:16@18 6:16@18");
}

TEST_F(LiveMidiInput, TheEighthsOfEachBeatShareABeam) {
  OneStaff();
  Start();
  const int notes[] = {72, 74, 76, 77};
  for (int i = 0; i < 4; ++i) {
    Press(notes[i], i * 240);
    Release(notes[i], i * 240 + 230);
  }
  ASSERT_EQ(Dump(), "0:1@17 1:1@16 2:1@15 3:1@14");
  const auto stem = [&](int column) {
    return dynamic_cast<const KChord*>(List(0)->GetObjAt(column, 0))->GetVoiceStem(0);
  };
  EXPECT_GT(stem(0), KChord::kStemPlain) << "the first beat's group opens";
  EXPECT_GT(stem(1), KChord::kStemPlain) << "and closes";
  EXPECT_GT(stem(2), KChord::kStemPlain) << "the second beat's group opens";
  EXPECT_GT(stem(3), KChord::kStemPlain) << "and closes";
}

TEST_F(LiveMidiInput, SingleStepWritesEveryChordAsAQuarterWithoutRests) {
  settings.tempoMode = 0;
  OneStaff();
  view->m_entryMode = 1;
  Start();
  EXPECT_EQ(view->m_entryMode, 0) << "step entry inserts while recording";
  Press(60, 0);
  Release(60, 100);
  Press(64, 2000);
  Release(64, 5000);
  EXPECT_EQ(Dump(), "0:8@24 1:8@22");
  dialog->OnStartStop();
  EXPECT_EQ(view->m_entryMode, 1) << "the entry mode comes back at Stop";
}

// The tempo controls: (start tempo, typed text or scroll step, tempo shown after).
struct TempoCase {
  const char* name;
  int start;
  const char* typed;  // null: a scroll step
  int step;
  int shown;
  bool startsInput;
};

class LiveTempoControls : public LiveMidiInput, public ::testing::WithParamInterface<TempoCase> {};

TEST_P(LiveTempoControls, ChangeTheTempoWithinTwoToFourHundredEighty) {
  const TempoCase& c = GetParam();
  settings.tempoMode = 1;
  settings.tempo = c.start;
  OneStaff();
  OpenDialog();
  if (c.typed != nullptr) {
    dialog->Controls().SetText(KDlgInputMidi::kIdTempo, c.typed);
  } else {
    dialog->Controls().Step(KDlgInputMidi::kIdTempoScroll, c.step);
  }
  EXPECT_EQ(dialog->Controls().Text(KDlgInputMidi::kIdTempo), std::to_string(c.shown));
  EXPECT_EQ(input.IsOpen(), c.startsInput);
  if (c.startsInput) {
    EXPECT_EQ(dialog->Controls().RadioValue(KDlgInputMidi::kIdSingleStep), 2) << "Set: is chosen";
    EXPECT_EQ(sync.GetTempo(), CMaxMidiSync::BpmToTempo(c.shown));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LiveTempoControls,
    ::testing::Values(TempoCase{"ScrollUpRaisesByOne", 120, nullptr, 1, 121, true},
                      TempoCase{"ScrollUpStopsAt480", 480, nullptr, 1, 480, true},
                      TempoCase{"ScrollDownStopsAt2", 2, nullptr, -1, 2, true},
                      TempoCase{"ATypedTempoIsTaken", 120, "90", 0, 90, true},
                      TempoCase{"ATempoOutOfRangeStartsNothing", 120, "900", 0, 900, false}),
    [](const ::testing::TestParamInfo<TempoCase>& info) { return std::string(info.param.name); });

// The notes the score plays, as (key, start tick, end tick), in start order.
std::vector<std::tuple<int, std::uint32_t, std::uint32_t>> PlayedNotes(const KPerformance& performance) {
  std::vector<std::tuple<int, std::uint32_t, std::uint32_t>> notes;
  for (const KPerfEvent& e : performance.events) {
    if (e.IsNoteOn()) {
      notes.emplace_back(e.data1, e.tick, 0);
    } else if (e.IsNoteOff()) {
      for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
        if (std::get<0>(*it) == e.data1 && std::get<2>(*it) == 0) {
          std::get<2>(*it) = e.tick;
          break;
        }
      }
    }
  }
  std::sort(notes.begin(), notes.end(), [](const auto& a, const auto& b) {
    return std::get<1>(a) != std::get<1>(b) ? std::get<1>(a) < std::get<1>(b)
                                            : std::get<0>(a) < std::get<0>(b);
  });
  return notes;
}

// What a take plays back: each note once, as long as it was written, tied
// parts included, at the tempo it was recorded to.
struct TakeCase {
  const char* name;
  int autoBars;
  std::vector<std::pair<int, std::vector<std::uint8_t>>> messages;  // (tick, bytes)
  std::vector<std::tuple<int, std::uint32_t, std::uint32_t>> heard;
};

class LiveTakePlayed : public LiveMidiInput, public ::testing::WithParamInterface<TakeCase> {
 protected:
  // Lines build their play events as playback does.
  void SetUp() override {
    LiveMidiInput::SetUp();
    InstallLinePlayInterpreter();
  }
  void TearDown() override {
    KListLine::SetPlayTextInterpreter(nullptr);
    LiveMidiInput::TearDown();
  }
};

TEST_P(LiveTakePlayed, SoundsAsPlayedAtTheRecordingTempo) {
  const TakeCase& c = GetParam();
  // A staff of its own group, as a new score's staff is, so that it plays.
  Group(1, {Add(new KStaffLine(0, 0, 0))}, false);
  Open(0, 0);
  view->m_autoBars = c.autoBars;
  ASSERT_NE(view->Options().midiTempo, kTempo) << "the score starts at another tempo";
  Start();
  for (const auto& [tick, bytes] : c.messages) Send(tick, bytes);
  dialog->OnStartStop();
  const KPerformance performance = BuildViewPerformance(*view, false);
  EXPECT_EQ(performance.tempo, kTempo);
  EXPECT_EQ(view->Options().midiTempo, kTempo) << "the play window and a saved score keep the tempo";
  EXPECT_EQ(PlayedNotes(performance), c.heard) << Dump();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LiveTakePlayed,
    ::testing::Values(
        TakeCase{"ANoteCutAtTheBarSoundsOnce",
                 1,
                 {On(0, 60), Off(1440, 60), On(1440, 64), Off(2400, 64), On(2400, 67), Off(2880, 67)},
                 {{60, 0, 1440}, {64, 1440, 2400}, {67, 2400, 2880}}},
        TakeCase{"AHalfAndAWholeDyadHeldShortOfTheirValuesSoundTheirValues",
                 1,
                 {On(0, 76), Off(883, 76), On(960, 74), Off(1440, 74), On(1440, 72), Off(1900, 72),
                  On(1920, 60), On(1920, 64), Off(3682, 60), Off(3682, 64)},
                 {{76, 0, 960}, {74, 960, 1440}, {72, 1440, 1920}, {60, 1920, 3840}, {64, 1920, 3840}}},
        TakeCase{"AQuarterTiedToASixteenthInTheBarSoundsOnce",
                 1,
                 {On(0, 60), Off(600, 60), On(600, 64), Off(1080, 64)},
                 {{60, 0, 600}, {64, 600, 1080}}},
        TakeCase{"ADyadTiedOverTheBarSoundsOnce",
                 1,
                 {On(0, 60), Off(480, 60), On(480, 67), On(480, 72), Off(2400, 67), Off(2400, 72)},
                 {{60, 0, 480}, {67, 480, 2400}, {72, 480, 2400}}}),
    [](const ::testing::TestParamInfo<TakeCase>& info) { return std::string(info.param.name); });

TEST_F(LiveMidiInput, ASingleStepTakeLeavesTheScoresTempoAlone) {
  settings.tempoMode = 0;
  OneStaff();
  const short before = view->Options().midiTempo;
  Start();
  Press(60, 0);
  Release(60, 100);
  dialog->OnStartStop();
  EXPECT_EQ(Dump(), "0:8@24");
  EXPECT_EQ(view->Options().midiTempo, before);
}

TEST_F(LiveMidiInput, AChordIsWrittenOnlyWhenAllItsNotesAndEveryEarlierChordAreReleased) {
  OneStaff();
  Start();
  Press(60, 0);
  Press(64, 200);  // a second chord while the first is held
  Release(64, 400);
  EXPECT_EQ(Dump(), "") << "the first chord is still held";
  Release(60, 480);
  EXPECT_EQ(Dump(), "0:8@24 1:0@22");
  EXPECT_EQ(view->GetCaretColumn(), 2);
  EXPECT_EQ(ProgramLiveRecorder().PendingGroups(), 0);
}

TEST_F(LiveMidiInput, TheKeyboardSplitSendsLowNotesToTheBassStaff) {
  KeyboardPair();
  Start();
  Press(48, 0);  // C3: below the split note 59
  Press(64, 0);
  Release(48, 480);
  Release(64, 480);
  EXPECT_EQ(Dump(0), "0:8@22");
  EXPECT_EQ(Dump(1), "0:8@19");
  // A note for the treble alone: the bass staff gets a rest of its length.
  Press(72, 480);
  Release(72, 960);
  EXPECT_EQ(Dump(0), "0:8@22 1:9@17");
  EXPECT_EQ(Dump(1), "0:8@19 1:16@18");
}

TEST_F(LiveMidiInput, ATablatureTargetGetsTheSameColumnsFingered) {
  OneStaff();
  std::string staffColumns = [&] {
    Start();
    Press(64, 0);
    Release(64, 480);
    Press(67, 960);
    Release(67, 1440);
    return Dump();
  }();
  ASSERT_EQ(staffColumns, "0:8@22 1:16@18 2:8@20");
  dialog->OnStartStop();

  Add(new KTabLine(0, kGuitar, 0));
  Layout(1, 0);
  ResetLiveRecording();
  Start();
  Press(64, 0);
  Release(64, 480);
  Press(67, 960);
  Release(67, 1440);
  const KListLine* tab = List(1);
  ASSERT_NE(tab, nullptr);
  ASSERT_EQ(tab->GetObjCount(), 3) << Dump(1);
  const auto* first = dynamic_cast<const KChord*>(tab->GetObjAt(0, 0));
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsTabColumn());
  EXPECT_EQ(first->GetNote(0).code, KChord::kFirstFret + 2)
      << "E4 at the second fret of the D string: " << Dump(1);
  const auto* third = dynamic_cast<const KChord*>(tab->GetObjAt(2, 0));
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->GetNote(0).code, KChord::kFirstFret + 0) << "G4 on the open G string: " << Dump(1);
  const auto* rest = dynamic_cast<const KChord*>(tab->GetObjAt(1, 0));
  ASSERT_NE(rest, nullptr);
  EXPECT_TRUE(rest->IsTabColumn());
  EXPECT_EQ(rest->GetNote(0).code, 16) << "the quarter rest: " << Dump(1);
}

TEST_F(LiveMidiInput, TheRemoteKeyTogglesRecordingAndWritesNoNote) {
  settings.remoteStartStop = 1;
  settings.remoteKey = 100;
  OneStaff();
  OpenDialog();
  view->StartLiveMidiInput(kTempo);  // the devices listen before recording starts
  Press(100, 0);
  EXPECT_FALSE(dialog->IsRecording()) << "a press alone toggles nothing";
  Release(100, 50);
  EXPECT_TRUE(dialog->IsRecording());
  Press(60, 100);
  Release(60, 580);
  Press(100, 700);
  Release(100, 750);
  EXPECT_FALSE(dialog->IsRecording());
  EXPECT_EQ(Dump(), "0:8@24") << "only the played note is written";
  EXPECT_TRUE(input.IsOpen()) << "with remote start/stop the input keeps listening";
}

TEST_F(LiveMidiInput, FourCountInTapsOverThreeSecondsInFourFourGiveSixtyBeatsAMinute) {
  settings.tempoMode = 1;
  OneStaff();
  Start();
  for (int tap = 0; tap < 4; ++tap) {
    Press(60, tap * 1000);  // one tap a second (a tick lasts 1 ms)
    Release(60, tap * 1000 + 100);
  }
  EXPECT_EQ(dialog->m_tempo, 60);
  EXPECT_EQ(sync.GetTempo(), 1000000u);
  EXPECT_EQ(Dump(), "") << "count-in taps write nothing";
  EXPECT_EQ(dialog->Controls().Text(KDlgInputMidi::kIdTempo), "60");
}

// A line with no time signature of its own yet counts in with the one the
// lines above carry down to it: here 3/4, so three taps make the bar.
TEST_F(LiveMidiInput, TheCountInOfALineWithoutItsOwnMeterTakesTheOneCarriedFromAbove) {
  settings.tempoMode = 1;
  auto* above = new KStaffLine(0, 0, 0);
  auto* meter = new KChord(0);
  meter->SetNoteCount(3);
  meter->SetNoteCode(0, KChord::kTimeSignature);
  meter->SetNoteCode(1, 99 + 3);
  meter->SetNoteCode(2, 99 + 4);
  above->GetObjList()->AddTail(meter);
  above->UpdateTimeSigCache();
  Add(above);
  Add(new KStaffLine(0, 0, 0));
  Open(1, 0);
  // As a line just made has it: no time signature until the lines are laid out again.
  List(1)->SetTimeSignature(0, 0, 1);
  Start();
  for (int tap = 0; tap < 3; ++tap) {
    Press(60, tap * 1000);  // one tap a second (a tick lasts 1 ms)
    Release(60, tap * 1000 + 100);
  }
  EXPECT_EQ(dialog->m_tempo, 60) << "three taps two seconds apart make a bar of 3/4 at 60";
  EXPECT_EQ(Dump(1), "") << "count-in taps write nothing";
}

TEST_F(LiveMidiInput, ElevenNotesInOneChordKeepTenAndBeepOnce) {
  OneStaff();
  Start();
  const int notes[] = {60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77};
  for (int note : notes) Press(note, 0);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  for (int note : notes) Release(note, 480);
  const auto* column = dynamic_cast<const KChord*>(List(0)->GetObjAt(0, 0));
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(column->GetNoteCount(), 10);
  EXPECT_EQ(List(0)->GetObjCount(), 1);
}

TEST_F(LiveMidiInput, MoreThanFiftyHeldChordsAreBoundedAndAllWrittenOnRelease) {
  settings.lineLength = 32000;  // one line takes everything
  settings.tempoMode = 0;       // single step: one quarter-note column a chord
  OneStaff();
  Start();
  for (int i = 0; i < 52; ++i) Press(30 + i, i * 100);
  EXPECT_EQ(ProgramLiveRecorder().PendingGroups(), KLiveRecorder::kRingSize);
  EXPECT_EQ(ui.Beeps().size(), 2u) << "the 51st and 52nd chords have no room";
  EXPECT_EQ(Dump(), "");
  for (int i = 0; i < 52; ++i) Release(30 + i, 6000);
  EXPECT_EQ(ProgramLiveRecorder().PendingGroups(), 0);
  int noteColumns = 0;
  const CObList* columns = List(0)->GetObjList();
  for (POSITION node = columns->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(columns->GetNext(node));
    if (column != nullptr && !column->IsBarColumn() && column->GetNote(0).code != 21) ++noteColumns;
  }
  EXPECT_EQ(noteColumns, KLiveRecorder::kRingSize) << Dump();
}

TEST_F(LiveMidiInput, NoteNumbersBeyondTheTableAreRefusedWithABeep) {
  settings.octaveShift = 1;
  OneStaff();
  Start();
  Press(125, 0);  // 137 after the octave shift
  Release(125, 480);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(Dump(), "");
}

TEST_F(LiveMidiInput, ClosingTheTargetViewWhileRecordingStopsTheInputAndSync) {
  OneStaff();
  Start();
  ASSERT_TRUE(input.IsOpen());
  view->OnDestroy();
  EXPECT_FALSE(input.IsOpen());
  EXPECT_FALSE(sync.IsRunning());
  EXPECT_FALSE(dialog->IsRecording());
  EXPECT_EQ(LiveInputTarget(), nullptr);
}

// The keyboard goes away in the middle of a take: the key still held is
// written as released then, recording stops with one message naming the
// keyboard, and Start records again once a keyboard is there.
TEST_F(LiveMidiInput, AKeyboardThatGoesAwayWhileRecordingEndsTheTakeOnceAndKeepsItsNotes) {
  OneStaff();
  Start();
  Press(60, 0);
  Release(60, 480);
  Press(64, 480);
  clock.AdvanceTo(kStartUs + 720 * 1000);  // E4 held an eighth
  devices.UnplugInput(0);
  EXPECT_FALSE(dialog->IsRecording());
  EXPECT_EQ(dialog->Controls().Find(KDlgInputMidi::kIdStartStop)->caption, "&Start");
  EXPECT_FALSE(input.IsOpen());
  EXPECT_TRUE(input.IsLost());
  EXPECT_FALSE(sync.IsRunning());
  EXPECT_EQ(Dump(), "0:8@24 1:0@22") << "a quarter C4, and the E4 held when the keyboard went";
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "The MIDI input \"Keyboard\" is no longer there.");
  EXPECT_EQ(ProgramLiveRecorder().PendingGroups(), 0);

  // Start opens the keyboard afresh and records into the same line.
  clock.AdvanceTo(kStartUs + 2000 * 1000);
  dialog->OnStartStop();
  ASSERT_TRUE(dialog->IsRecording());
  EXPECT_TRUE(input.IsOpen());
  Press(67, 2000);
  Release(67, 2480);
  EXPECT_EQ(Dump(), "0:8@24 1:0@22 2:8@20");
  EXPECT_EQ(ui.Messages().size(), 1u);
}

// A keyboard that goes away while nothing records is not worth a word; the
// next Start opens whatever keyboard is there.
TEST_F(LiveMidiInput, AKeyboardThatGoesAwayWhileNotRecordingSaysNothing) {
  OneStaff();
  Start();
  dialog->OnStartStop();
  ASSERT_TRUE(input.Open(0, 0x13320));
  input.Start();
  devices.UnplugInput(0);
  EXPECT_TRUE(input.IsLost());
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(Dump(), "");
  dialog->OnStartStop();
  EXPECT_TRUE(dialog->IsRecording());
  EXPECT_TRUE(input.IsOpen()) << "opened afresh";
}

TEST_F(LiveMidiInput, EventsWithoutTheRecordingWindowCloseTheInput) {
  OneStaff();
  Start();
  dialog.reset();
  Press(60, 0);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_FALSE(sync.IsRunning());
  EXPECT_EQ(Dump(), "");
}

TEST_F(LiveMidiInput, EachSyncBeatClicksTheMetronomeAndMovesTheBeatBar) {
  settings.metronomeNote = 37;
  settings.metronomeVelocity = 90;
  OneStaff();
  Start();
  const size_t before = output.Log().size();
  clock.Advance(480000 * 2 + 1000);  // two beats at 125 a minute
  ASSERT_EQ(output.Log().size(), before + 2);
  EXPECT_EQ(output.Log().back(), "put ffffffff 99 25 5a 00");
  EXPECT_EQ(dialog->Controls().Find(KDlgInputMidi::kIdBeat)->value, 60) << "the second beat of four";
}

TEST_F(LiveMidiInput, ExitStoresTheSettingsClosesTheDevicesAndAsksTheFrameToClose) {
  OneStaff();
  Start();
  dialog->Controls().SetText(KDlgInputMidi::kIdLineLength, "900");
  dialog->OnCancel();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_FALSE(sync.IsRunning());
  EXPECT_FALSE(output.IsOpen());
  EXPECT_EQ(g_prefMidiInput.liveLineLength, 900);
  const auto stored = CurrentSettingsStore().Find("MidiInput");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->value.value_or(""), "2,1,1,0,900,125,100,1,2,3,0,9");
  EXPECT_EQ(ActiveInputMidiDialog(), nullptr);
}

TEST_F(LiveMidiInput, AFullLineContinuesOnANewKeyboardStaff) {
  settings.lineLength = 54 + 18 * 10;  // ten columns
  settings.lineKind = 3;
  OneStaff();
  view->m_autoBars = 1;
  Start();
  for (int i = 0; i < 12; ++i) {
    Press(72, i * 480);
    Release(72, i * 480 + 480);
  }
  EXPECT_GT(view->GetDisplayLineCount(), 1);
  EXPECT_EQ(Dump(0).substr(0, 40), "0:9@17 1:9@17 2:9@17 3:9@17 4:21@1 5:9@1");
  EXPECT_NE(Dump(1), "") << "the music goes on on the new line";
}

}  // namespace
