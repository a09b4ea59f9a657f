// The play window's model against a scripted score and main frame: the
// settings it exchanges, the transport while the music plays, the spins and
// their limits, the marks buttons, the stop keys and Exit.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/KDlgPlayMidi.h"

namespace {

using D = KDlgPlayMidi;

// A score that records what the window asks of it.
class ScriptedScore : public KPlayMidiTarget {
 public:
  // As the score view's player does, a score going away tells its window.
  ~ScriptedScore() override {
    if (bound != nullptr) bound->TargetGone(this);
  }
  KPlayParams GetPlayParams() const override { return params; }
  void SetPlayParams(const KPlayParams& p) override {
    params = p;
    ++stores;
  }
  void PlayOrExportMidi(int mode) override {
    modes.push_back(mode);
    if (mode == 0) playing = !endsAtOnce;
    if (mode == 0 && endsAtOnce && bound != nullptr) bound->OnPlayEnded();
  }
  bool IsPlaying() const override { return playing; }
  void StopPlaying() override {
    ++stops;
    playing = false;
    if (bound != nullptr) bound->OnPlayEnded();
  }
  void ClearMidiMarks() override { ++clears; }
  void ArmMidiMarks() override { ++arms; }
  void TakeFocus() override { ++focus; }
  void SetBoundDialog(KDlgPlayMidi* dialog) override { bound = dialog; }

  KPlayParams params;
  std::vector<int> modes;
  bool playing = false;
  bool endsAtOnce = false;
  int stores = 0;
  int stops = 0;
  int clears = 0;
  int arms = 0;
  int focus = 0;
  KDlgPlayMidi* bound = nullptr;
};

class ScriptedFrame : public KPlayMidiOwner {
 public:
  KPlayMidiTarget* GetActivePlayTarget() override { return active; }
  void ClosePlayMidiDialog() override { ++closes; }
  KPlayMidiTarget* active = nullptr;
  int closes = 0;
};

KPlayParams Params(int tempo, int loudness) {
  KPlayParams p;
  p.tempo = tempo;
  p.loudness = loudness;
  p.loop = 1;
  p.ignoreRepeats = 0;
  p.betweenMarks = 1;
  p.showCaret = 1;
  return p;
}

class PlayDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    score.params = Params(90, -5);
    frame.active = &score;
    dialog = std::make_unique<D>(score.params, &frame);
    dialog->Controls();
    dialog->OnInitDialog();
    dialog->AttachView(&score);
  }
  DialogControls& C() { return dialog->Controls(); }
  bool TransportEnabled() {
    for (UINT id : {D::kIdToStart, D::kIdSetMarks, D::kIdForward, D::kIdClearMarks, D::kIdBack})
      if (!C().IsEnabled(id)) return false;
    return true;
  }
  bool TransportDisabled() {
    for (UINT id : {D::kIdToStart, D::kIdSetMarks, D::kIdForward, D::kIdClearMarks, D::kIdBack})
      if (C().IsEnabled(id)) return false;
    return true;
  }
  std::string PlayCaption() { return C().Find(D::kIdPlay)->caption; }

  ScriptedScore score;
  ScriptedFrame frame;
  std::unique_ptr<D> dialog;
};

TEST_F(PlayDialogTest, OpensShowingTheScoresSettingsAndNoTimeYet) {
  EXPECT_EQ(C().Title(), "Play Score as MIDI");
  EXPECT_EQ(C().Text(D::kIdTempo), "90");
  EXPECT_EQ(C().Text(D::kIdLoudness), "-5");
  EXPECT_EQ(C().Checked(D::kIdLoop), 1);
  EXPECT_EQ(C().RadioValue(D::kIdAll), 1);
  EXPECT_EQ(C().Find(D::kIdElapsed)->caption, "0:00:00");
  EXPECT_EQ(PlayCaption(), "&Play");
  EXPECT_EQ(score.bound, dialog.get());
}

TEST_F(PlayDialogTest, PlayStoresWhatTheWindowShowsAndTurnsPlayIntoStopUntilTheMusicEnds) {
  C().SetText(D::kIdTempo, "132");
  C().SetChecked(D::kIdIgnoreRepeats, 1);
  dialog->PressButton(D::kIdPlay);
  EXPECT_EQ(score.modes, std::vector<int>{0});
  EXPECT_EQ(score.params.tempo, 132) << "the typed tempo is played, not the score's old one";
  EXPECT_EQ(score.params.ignoreRepeats, 1);
  EXPECT_TRUE(dialog->IsPlaying());
  EXPECT_EQ(PlayCaption(), "&Stop");
  EXPECT_TRUE(TransportDisabled());

  dialog->SetElapsed(FormatElapsedTime(61'500'000));
  EXPECT_EQ(C().Find(D::kIdElapsed)->caption, "0:01:01");

  score.playing = false;
  dialog->OnPlayEnded();
  EXPECT_FALSE(dialog->IsPlaying());
  EXPECT_EQ(PlayCaption(), "&Play");
  EXPECT_TRUE(TransportEnabled());
  EXPECT_EQ(score.focus, 1) << "the score gets the keyboard back";
}

TEST_F(PlayDialogTest, PlayPressedWhilePlayingStopsTheMusic) {
  dialog->PressButton(D::kIdPlay);
  dialog->PressButton(D::kIdPlay);
  EXPECT_EQ(score.stops, 1);
  EXPECT_EQ(score.modes, std::vector<int>{0}) << "no second start";
  EXPECT_EQ(PlayCaption(), "&Play");
}

TEST_F(PlayDialogTest, MusicThatEndsAtOnceLeavesTheWindowReadyToPlayAgain) {
  score.endsAtOnce = true;
  dialog->PressButton(D::kIdPlay);
  EXPECT_FALSE(dialog->IsPlaying());
  EXPECT_EQ(PlayCaption(), "&Play");
  EXPECT_TRUE(TransportEnabled());
}

TEST_F(PlayDialogTest, PlayWithNoScoreOpenDoesNothingAndLeavesTheButtonsEnabled) {
  frame.active = nullptr;
  dialog->PressButton(D::kIdPlay);
  EXPECT_TRUE(score.modes.empty());
  EXPECT_FALSE(dialog->IsPlaying());
  EXPECT_TRUE(TransportEnabled());
  EXPECT_EQ(PlayCaption(), "&Play");
  EXPECT_EQ(dialog->BoundTarget(), nullptr);
}

struct StopKeyCase {
  const char* name;
  int character;
  bool stops;
};

class PlayDialogStopKeyTest : public PlayDialogTest, public ::testing::WithParamInterface<StopKeyCase> {};

TEST_P(PlayDialogStopKeyTest, OnlySOrSpaceStopsAndEveryKeyIsTaken) {
  const StopKeyCase& c = GetParam();
  dialog->PressButton(D::kIdPlay);
  EXPECT_TRUE(dialog->OnKeyWhilePlaying(c.character));
  EXPECT_EQ(score.stops, c.stops ? 1 : 0);
  EXPECT_EQ(dialog->IsPlaying(), !c.stops);
}

INSTANTIATE_TEST_SUITE_P(Keys, PlayDialogStopKeyTest,
                         ::testing::Values(StopKeyCase{"small_s", 's', true},
                                           StopKeyCase{"capital_S", 'S', true},
                                           StopKeyCase{"space", ' ', true}, StopKeyCase{"x", 'x', false},
                                           StopKeyCase{"digit", '1', false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayDialogTest, KeysAreLeftToTheWindowWhenNothingPlays) {
  EXPECT_FALSE(dialog->OnKeyWhilePlaying('s'));
  EXPECT_EQ(score.stops, 0);
}

struct SpinCase {
  const char* name;
  UINT spin;
  UINT edit;
  const char* shown;
  int delta;
  const char* after;
};

class PlayDialogSpinTest : public PlayDialogTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(PlayDialogSpinTest, TheArrowsStepTheShownValueWithinTheirRange) {
  const SpinCase& c = GetParam();
  C().SetText(c.edit, c.shown);
  C().Step(c.spin, c.delta);
  EXPECT_EQ(C().Text(c.edit), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Spins, PlayDialogSpinTest,
    ::testing::Values(
        SpinCase{"tempo_up", D::kIdTempoSpin, D::kIdTempo, "120", 1, "121"},
        SpinCase{"tempo_stops_at_600", D::kIdTempoSpin, D::kIdTempo, "600", 1, "600"},
        SpinCase{"tempo_stops_at_1", D::kIdTempoSpin, D::kIdTempo, "1", -1, "1"},
        SpinCase{"tempo_typed_above_comes_down_to_600", D::kIdTempoSpin, D::kIdTempo, "900", 1, "600"},
        SpinCase{"loudness_down", D::kIdLoudnessSpin, D::kIdLoudness, "0", -1, "-1"},
        SpinCase{"loudness_stops_at_127", D::kIdLoudnessSpin, D::kIdLoudness, "127", 1, "127"},
        SpinCase{"loudness_stops_at_minus_127", D::kIdLoudnessSpin, D::kIdLoudness, "-127", -1, "-127"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayDialogTest, TypedValuesOutsideTheSpinRangesArePassedOnAsTyped) {
  C().SetText(D::kIdTempo, "1500");
  C().SetText(D::kIdLoudness, "-300");
  dialog->PressButton(D::kIdPlay);
  EXPECT_EQ(score.params.tempo, 1500);
  EXPECT_EQ(score.params.loudness, -300);
}

TEST_F(PlayDialogTest, BackForwardAndToStartRunTheirModesWithoutChangingTheButtons) {
  dialog->PressButton(D::kIdBack);
  dialog->PressButton(D::kIdForward);
  dialog->PressButton(D::kIdToStart);
  EXPECT_EQ(score.modes, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(PlayCaption(), "&Play");
  EXPECT_TRUE(TransportEnabled());
}

TEST_F(PlayDialogTest, ClearMarksPlaysAllAndSetMarksPlaysBetweenThem) {
  dialog->PressButton(D::kIdClearMarks);
  EXPECT_EQ(score.clears, 1);
  EXPECT_EQ(C().RadioValue(D::kIdAll), 0);
  EXPECT_EQ(score.params.betweenMarks, 0);

  dialog->PressButton(D::kIdSetMarks);
  EXPECT_EQ(score.arms, 1);
  EXPECT_EQ(C().RadioValue(D::kIdAll), 1);
  EXPECT_EQ(score.params.betweenMarks, 1);
}

TEST_F(PlayDialogTest, ExitStopsTheMusicAndAsksTheFrameToCloseOnce) {
  dialog->PressButton(D::kIdPlay);
  EXPECT_TRUE(dialog->OnOK());
  EXPECT_EQ(score.stops, 1);
  EXPECT_EQ(frame.closes, 1);
  dialog->OnCancel();  // the window's own close after Exit
  EXPECT_EQ(frame.closes, 1);
}

TEST_F(PlayDialogTest, AnotherScoreBecomingActiveIsShownAndTheMusicOfTheFirstStops) {
  dialog->PressButton(D::kIdPlay);
  ScriptedScore other;
  other.params = Params(200, 7);
  other.params.loop = 0;
  frame.active = &other;
  dialog->AttachView(nullptr);
  EXPECT_EQ(score.stops, 1);
  EXPECT_EQ(score.bound, nullptr);
  EXPECT_EQ(other.bound, dialog.get());
  EXPECT_EQ(C().Text(D::kIdTempo), "200");
  EXPECT_EQ(C().Checked(D::kIdLoop), 0);
  EXPECT_FALSE(dialog->IsPlaying());
}

TEST_F(PlayDialogTest, AScoreThatGoesAwayLeavesTheWindowUnboundAndIdle) {
  dialog->PressButton(D::kIdPlay);
  // What a score does as it goes: it lets go of the window and tells it.
  score.bound = nullptr;
  dialog->TargetGone(&score);
  EXPECT_EQ(dialog->BoundTarget(), nullptr);
  EXPECT_FALSE(dialog->IsPlaying());
  EXPECT_TRUE(TransportEnabled());
}

TEST_F(PlayDialogTest, TheWindowGoingAwayUnbindsItsScore) {
  dialog.reset();
  EXPECT_EQ(score.bound, nullptr);
}

TEST(PlayDialogElapsedTime, ShowsHoursMinutesAndSeconds) {
  EXPECT_EQ(std::string(FormatElapsedTime(0).Str()), "0:00:00");
  EXPECT_EQ(std::string(FormatElapsedTime(999'999).Str()), "0:00:00");
  EXPECT_EQ(std::string(FormatElapsedTime(59'000'000).Str()), "0:00:59");
  EXPECT_EQ(std::string(FormatElapsedTime(3'725'000'000LL).Str()), "1:02:05");
  EXPECT_EQ(std::string(FormatElapsedTime(-5).Str()), "0:00:00");
}

}  // namespace
