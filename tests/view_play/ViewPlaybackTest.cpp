// Playing a score from the view on a fake MIDI clock into a recording
// output: the caret follows the notes, the play window's time and buttons
// follow the music, the stop keys and clicks end it, Back, Fwd and To Start
// step through the columns, the marks limit the range, Loop starts again,
// and the autosave waits while the music plays.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/KDlgPlayMidi.h"
#include "midi/LinePlayEvents.h"
#include "platform/Keys.h"
#include "platform/MidiClock.h"
#include "platform/MidiOutPort.h"
#include "platform/MidiScheduler.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/play/ViewPlayer.h"

namespace {

using namespace viewtest;

constexpr std::int64_t kQuarterUs = 500000;  // at 120 beats a minute

class PlaybackTest : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    InstallLinePlayInterpreter();
    previousClock_ = SetMidiClock(&clock);
    ResetSoundScheduler();
    out.StampWith(&clock);
    frame.play = &out;
    // Two staffs of four quarter notes, each its own line group: C5 D5 E5 F5
    // and G5 A5 B5 C6.
    Add(MakeStaff({{0, 17}, {1, 16}, {2, 15}, {3, 14}}));
    Add(MakeStaff({{0, 13}, {1, 12}, {2, 11}, {3, 10}}));
    Layout(0, 0);
    KPlayParams params = view->Player().GetPlayParams();
    params.tempo = 120;
    params.loudness = 0;
    params.loop = 0;
    params.ignoreRepeats = 1;
    params.betweenMarks = 0;
    params.showCaret = 1;
    view->Player().SetPlayParams(params);
  }
  void TearDown() override {
    if (view != nullptr) view->Player().Halt();
    view.reset();
    ResetSoundScheduler();
    SetMidiClock(previousClock_);
    KListLine::SetPlayTextInterpreter(nullptr);
    ViewScoreFixture::TearDown();
  }

  KViewPlayer& Player() { return view->Player(); }
  void Play(int mode) { Player().PlayOrExportMidi(mode); }
  // Moves the clock on to just after the quarter number n from the start.
  void AtQuarter(std::int64_t start, int n) { clock.AdvanceTo(start + n * kQuarterUs + 1); }
  std::pair<int, int> Caret() const { return {view->GetCurrentLine(), view->GetCaretColumn()}; }

  // The keys of the note-ons sent so far, in order.
  std::vector<int> NotesOn() const {
    std::vector<int> keys;
    for (const MidiShortEvent& e : out.Events())
      if ((e.status & 0xF0) == 0x90 && e.data2 != 0) keys.push_back(e.data1);
    return keys;
  }
  int NotesSounding() const {
    int count = 0;
    for (const MidiShortEvent& e : out.Events()) {
      if ((e.status & 0xF0) == 0x90 && e.data2 != 0) ++count;
      if ((e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0)) --count;
    }
    return count;
  }

  FakeMidiClock clock;
  RecordingMidiOut out;

 private:
  MidiClock* previousClock_ = nullptr;
};

TEST_F(PlaybackTest, TheCaretFollowsTheNotesAsTheyPlayAndStandsAfterTheLastWhenTheMusicEnds) {
  const std::int64_t start = clock.NowUs();
  Play(KViewPlayer::kModePlay);
  EXPECT_TRUE(view->IsPlaying());
  ASSERT_FALSE(out.Log().empty());
  EXPECT_EQ(out.Log().front(), "open 0 78624") << "the output opens on the chosen device";

  const std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 1}, {0, 2}, {0, 3},
                                                     {1, 0}, {1, 1}, {1, 2}, {1, 3}};
  for (int n = 0; n < static_cast<int>(expected.size()); ++n) {
    AtQuarter(start, n);
    EXPECT_EQ(Caret(), expected[static_cast<std::size_t>(n)]) << "quarter " << n;
    EXPECT_EQ(static_cast<int>(NotesOn().size()), n + 1) << "quarter " << n;
    // The tall caret of playback.
    EXPECT_EQ(host.caret.GetSize().cy, KViewPlayer::kPlayCaretHeight);
  }
  EXPECT_EQ(NotesOn(), (std::vector<int>{72, 74, 76, 77, 79, 81, 83, 84}));
  // Each note starts on its quarter.
  std::vector<std::int64_t> onTimes;
  for (std::size_t i = 0; i < out.Events().size(); ++i) {
    const MidiShortEvent& e = out.Events()[i];
    if ((e.status & 0xF0) == 0x90 && e.data2 != 0) onTimes.push_back(out.Times()[i] - start);
  }
  for (std::size_t i = 0; i < onTimes.size(); ++i)
    EXPECT_EQ(onTimes[i], static_cast<std::int64_t>(i) * kQuarterUs);

  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_FALSE(view->IsPlaying());
  EXPECT_EQ(Caret(), std::make_pair(1, 4));
  EXPECT_EQ(NotesSounding(), 0);
  EXPECT_EQ(out.Log().back(), "close");
  EXPECT_NE(host.caret.GetSize().cy, KViewPlayer::kPlayCaretHeight) << "the caret of editing is back";
}

// Play where the music ended (after a finished play, or with the caret put
// past the last note) plays the score again from the top.
TEST_F(PlaybackTest, PlayWithTheCaretPastTheMusicStartsAgainFromTheTop) {
  const std::vector<int> all = {72, 74, 76, 77, 79, 81, 83, 84};
  // (-1, -1): after a whole play, which leaves the caret at the music's end.
  const std::vector<std::pair<int, int>> ends = {{-1, -1}, {1, 4}, {1, 9}};
  for (const auto& [line, column] : ends) {
    if (line >= 0) {
      view->m_currentLine = line;
      view->m_caretColumn = column;
    } else {
      Play(KViewPlayer::kModePlay);
      ASSERT_TRUE(clock.RunUntilIdle());
      ASSERT_EQ(Caret(), std::make_pair(1, 4));
    }
    const std::size_t before = NotesOn().size();
    const std::int64_t start = clock.NowUs();
    Play(KViewPlayer::kModePlay);
    EXPECT_TRUE(view->IsPlaying()) << "caret at " << line << "," << column;
    AtQuarter(start, 0);
    EXPECT_EQ(Caret(), std::make_pair(0, 0)) << "caret at " << line << "," << column;
    ASSERT_TRUE(clock.RunUntilIdle());
    const std::vector<int> on = NotesOn();
    EXPECT_EQ(std::vector<int>(on.begin() + static_cast<std::ptrdiff_t>(before), on.end()), all)
        << "caret at " << line << "," << column;
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
  }
}

// The main frame as the play window sees it: this test's score is the active one.
class OneScoreFrame : public KPlayMidiOwner {
 public:
  explicit OneScoreFrame(KPlayMidiTarget* target) : m_target(target) {}
  KPlayMidiTarget* GetActivePlayTarget() override { return m_target; }
  void ClosePlayMidiDialog() override {}

 private:
  KPlayMidiTarget* m_target;
};

TEST_F(PlaybackTest, ThePlayWindowCountsTheTimeAndIsReadyAgainWhenTheMusicEnds) {
  OneScoreFrame owner(&Player());
  KDlgPlayMidi dialog(Player().GetPlayParams(), &owner);
  dialog.OnInitDialog();
  dialog.AttachView(&Player());
  const std::int64_t start = clock.NowUs();
  dialog.PressButton(KDlgPlayMidi::kIdPlay);
  EXPECT_TRUE(view->IsPlaying());
  EXPECT_EQ(dialog.Controls().Find(KDlgPlayMidi::kIdPlay)->caption, "&Stop");

  AtQuarter(start, 2);
  EXPECT_EQ(dialog.Controls().Find(KDlgPlayMidi::kIdElapsed)->caption, "0:00:01");
  AtQuarter(start, 7);
  EXPECT_EQ(dialog.Controls().Find(KDlgPlayMidi::kIdElapsed)->caption, "0:00:03");

  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_FALSE(dialog.IsPlaying());
  EXPECT_EQ(dialog.Controls().Find(KDlgPlayMidi::kIdPlay)->caption, "&Play");
  EXPECT_EQ(host.focusRequests, 1) << "the score gets the keyboard back";
}

struct StopCase {
  const char* name;
  UINT character;  // 0: a click instead
  bool stops;
};

class PlaybackStopTest : public PlaybackTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(PlaybackStopTest, SOrSpaceOrAClickStopsTheMusicAndNoKeyEditsTheScore) {
  const StopCase& c = GetParam();
  const std::string before = Dump(0);
  const std::int64_t start = clock.NowUs();
  Play(KViewPlayer::kModePlay);
  AtQuarter(start, 1);
  ASSERT_EQ(Caret(), std::make_pair(0, 1));
  if (c.character == 0) {
    view->OnLButtonDown(0, POINT{300, 300});
    view->OnLButtonUp(0, POINT{300, 300});
  } else {
    view->OnKeyDown(VK_DELETE, 1, 0);
    view->OnKeyDown(c.character >= 'a' ? c.character - 32 : c.character, 1, 0);
    view->OnChar(c.character, 1, 0);
  }
  EXPECT_EQ(view->IsPlaying(), !c.stops);
  EXPECT_EQ(Dump(0), before) << "the score is not edited while the music plays";
  if (c.stops) {
    EXPECT_EQ(NotesSounding(), 0) << "the note that sounded ends";
    EXPECT_EQ(Caret(), std::make_pair(0, 2)) << "the caret stands after the last column played";
    AtQuarter(start, 4);
    EXPECT_EQ(NotesOn().size(), 2u) << "nothing more plays";
  } else {
    AtQuarter(start, 2);
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
  }
}

INSTANTIATE_TEST_SUITE_P(Stops, PlaybackStopTest,
                         ::testing::Values(StopCase{"small_s", 's', true}, StopCase{"capital_S", 'S', true},
                                           StopCase{"space", ' ', true}, StopCase{"click", 0, true},
                                           StopCase{"other_letter", 'x', false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StepCase {
  const char* name;
  int mode;
  bool played;  // something was played before (Back then steps back)
  int line;
  int column;
  std::vector<int> sounded;
  int caretLine;
  int caretColumn;
};

void PrintTo(const StepCase& c, std::ostream* out) { *out << c.name; }

class PlaybackStepTest : public PlaybackTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(PlaybackStepTest, BackFwdAndToStartSoundOneColumnAndMoveTheCaret) {
  const StepCase& c = GetParam();
  if (c.played) {
    // One column sounded first leaves the step memory.
    view->m_currentLine = 0;
    view->m_caretColumn = 0;
    Play(KViewPlayer::kModeForward);
    ASSERT_TRUE(clock.RunUntilIdle());
  } else {
    Play(KViewPlayer::kModeToStart);
  }
  const std::size_t soundedBefore = NotesOn().size();
  view->m_currentLine = c.line;
  view->m_caretColumn = c.column;
  Play(c.mode);
  ASSERT_TRUE(clock.RunUntilIdle());
  const std::vector<int> all = NotesOn();
  EXPECT_EQ(std::vector<int>(all.begin() + static_cast<long>(soundedBefore), all.end()), c.sounded);
  EXPECT_EQ(Caret(), std::make_pair(c.caretLine, c.caretColumn));
  EXPECT_FALSE(view->IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PlaybackStepTest,
    ::testing::Values(
        StepCase{"fwd_sounds_the_caret_column", KViewPlayer::kModeForward, true, 0, 1, {74}, 0, 2},
        StepCase{"fwd_past_the_end_sounds_the_next_line", KViewPlayer::kModeForward, true, 0, 4, {79}, 1, 1},
        StepCase{"back_sounds_the_column_before", KViewPlayer::kModeBack, true, 0, 2, {74}, 0, 1},
        StepCase{
            "back_at_a_line_start_goes_to_the_line_above", KViewPlayer::kModeBack, true, 1, 0, {77}, 0, 3},
        StepCase{"back_without_step_memory_sounds_the_first_column",
                 KViewPlayer::kModeBack,
                 false,
                 1,
                 2,
                 {72},
                 0,
                 0},
        StepCase{
            "to_start_moves_the_caret_and_sounds_nothing", KViewPlayer::kModeToStart, true, 1, 2, {}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlaybackTest, BetweenMarksPlaysOnlyTheMarkedColumnsFromTheStartMark) {
  view->m_playFirstLine = 0;
  view->m_playFirstColumn = 1;
  view->m_playLastLine = 0;
  view->m_playLastColumn = 2;
  KPlayParams params = Player().GetPlayParams();
  params.betweenMarks = 1;
  Player().SetPlayParams(params);
  view->m_currentLine = 1;  // outside the marks
  view->m_caretColumn = 3;
  Play(KViewPlayer::kModePlay);
  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(NotesOn(), (std::vector<int>{74, 76}));
  EXPECT_EQ(Caret(), std::make_pair(0, 3));
}

TEST_F(PlaybackTest, LoopStartsTheRangeAgainUntilStopped) {
  KPlayParams params = Player().GetPlayParams();
  params.loop = 1;
  Player().SetPlayParams(params);
  view->m_currentLine = 1;
  view->m_caretColumn = 2;
  const std::int64_t start = clock.NowUs();
  Play(KViewPlayer::kModePlay);
  AtQuarter(start, 5);
  EXPECT_TRUE(view->IsPlaying());
  EXPECT_EQ(NotesOn(), (std::vector<int>{83, 84, 83, 84, 83, 84}));
  view->OnChar(' ', 1, 0);
  EXPECT_FALSE(view->IsPlaying());
  EXPECT_EQ(NotesSounding(), 0);
}

TEST_F(PlaybackTest, TheCaretPassesOverLinesWithoutNotesAndEndsAfterTheLastNote) {
  AddText("Words under the music");
  Layout(0, 0);
  Play(KViewPlayer::kModePlay);
  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(Caret(), std::make_pair(1, 4));
}

TEST_F(PlaybackTest, TheSoundingNotesAreMarkedOnTheFretboardAndKeyboardAndClearedAtTheEnd) {
  const std::int64_t start = clock.NowUs();
  Play(KViewPlayer::kModePlay);
  AtQuarter(start, 1);
  ASSERT_GE(frame.playedNotes.size(), 3u);
  EXPECT_EQ(frame.playedNotes[0], std::make_pair(0, -1)) << "the marks of before are cleared first";
  EXPECT_EQ(frame.playedNotes[1], std::make_pair(1, 72));
  EXPECT_EQ(frame.playedNotes[2], std::make_pair(0, 72));
  EXPECT_EQ(frame.playedNotes[3], std::make_pair(1, 74));
  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(frame.playedNotes.back(), std::make_pair(0, -1));
}

TEST_F(PlaybackTest, WithoutAnOutputTheMusicPlaysSilentlyAndTheCaretStillFollows) {
  frame.play = nullptr;
  const std::int64_t start = clock.NowUs();
  Play(KViewPlayer::kModePlay);
  AtQuarter(start, 5);
  EXPECT_EQ(Caret(), std::make_pair(1, 1));
  EXPECT_TRUE(out.Log().empty());
  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_FALSE(view->IsPlaying());
}

TEST_F(PlaybackTest, TheAutosaveThatFallsDueWhilePlayingWaitsForTheEnd) {
  Play(KViewPlayer::kModePlay);
  view->m_autosaveDue = 1;
  view->AutosaveIfDue();
  EXPECT_EQ(view->m_autosaveDue, 1);
  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(view->m_autosaveDue, 0);
}

TEST_F(PlaybackTest, AutoScrollWaitsWhileTheMusicPlays) {
  view->m_autoScroll = 1;
  view->m_scrollStep = 1;
  const POINT before = view->GetVirtualScrollPosition();
  const int firstVisible = view->GetFirstVisible();
  Play(KViewPlayer::kModePlay);
  view->OnTimer(CStavlinView::kScrollTimer);
  EXPECT_EQ(view->GetVirtualScrollPosition().y, before.y);
  EXPECT_EQ(view->GetFirstVisible(), firstVisible);
  view->m_autoScroll = 0;
}

TEST_F(PlaybackTest, AMenuCommandEndsTheMusicFirst) {
  Play(KViewPlayer::kModePlay);
  ExecuteViewCommand(*view, cmd::kMidiMarks);
  EXPECT_FALSE(view->IsPlaying());
  EXPECT_EQ(NotesSounding(), 0);
}

TEST_F(PlaybackTest, SetMidiPlayRangeMarksClearsTheMarksAndWaitsForTwoClicks) {
  view->m_playFirstLine = 0;
  view->m_playLastLine = 1;
  view->m_options.word70 = 0;
  doc.SetModifiedFlag(FALSE);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kMidiMarks));
  EXPECT_EQ(view->m_playFirstLine, -1);
  EXPECT_EQ(view->m_playAwaitStart, 1);
  EXPECT_EQ(doc.settings.word70, 10000);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_FALSE(host.invalidated.empty());
}

TEST_F(PlaybackTest, ClosingThePlayWindowSilencesEveryNoteOnEveryChannel) {
  Player().SilenceAll();
  ASSERT_EQ(out.Log().size(), 1152u);
  EXPECT_EQ(out.Log().front(), "put ffffffff 80 1c 00 00");
  EXPECT_EQ(out.Log().back(), "put ffffffff 8f 63 00 00");
}

TEST_F(PlaybackTest, ThePlaySettingsAreKeptInTheScoreOnlyWhenTheyChange) {
  doc.SetModifiedFlag(FALSE);
  Player().SetPlayParams(Player().GetPlayParams());
  EXPECT_FALSE(doc.IsModified());
  KPlayParams params = Player().GetPlayParams();
  params.loudness = -20;
  params.tempo = 96;
  Player().SetPlayParams(params);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view->m_options.midiLevel, 107);
  EXPECT_EQ(view->m_options.midiTempo, 96);
}

TEST_F(PlaybackTest, AViewClosedWhilePlayingStopsTheMusicAndFreesThePlayWindow) {
  OneScoreFrame owner(&Player());
  KDlgPlayMidi dialog(Player().GetPlayParams(), &owner);
  dialog.OnInitDialog();
  dialog.AttachView(&Player());
  dialog.PressButton(KDlgPlayMidi::kIdPlay);
  ASSERT_TRUE(view->IsPlaying());
  view->OnDestroy();
  EXPECT_EQ(NotesSounding(), 0);
  view.reset();
  EXPECT_EQ(dialog.BoundTarget(), nullptr);
  EXPECT_FALSE(dialog.IsPlaying());
  EXPECT_FALSE(clock.NextDue().has_value()) << "nothing is left to wake";
}

}  // namespace
