// Playing a score in the real window: the MIDI device submenus list the
// machine's outputs (a fake synthesizer here, or none at all), Actions/MIDI/
// Play Current Score opens the play window at the main window's top right,
// its Play button starts the music on a fake MIDI clock, the caret follows
// the notes and the elapsed time counts as the clock moves on, the key s
// stops the music, and Exit closes the window.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "app/KPlayMidiWindow.h"
#include "common/Globals.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "midi/LinePlayEvents.h"
#include "model/KChord.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"
#include "platform/MidiScheduler.h"
#include "platform/qt/KQtDialogBinder.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/play/ViewPlayer.h"

namespace {

constexpr std::int64_t kQuarterUs = 500000;  // at 120 beats a minute
constexpr int kQuarter = 8;

class PlaybackWindow : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    previousClock_ = SetMidiClock(&clock_);
    ResetSoundScheduler();
  }
  void TearDown() override {
    for (CChildFrame* child : Frame().ScoreWindows()) {
      if (KViewWidget* pane = child->ActivePane()) pane->View().Player().Halt();
    }
    ResetSoundScheduler();
    SetMidiClock(previousClock_);
    if (devicesInstalled_) SetMidiDevices(previousDevices_);
    ShellTest::TearDown();
  }

  void InstallDevices() {
    devices_.outputs = {"Fake Synth"};
    devices_.inputs = {"Fake Keyboard"};
    previousDevices_ = SetMidiDevices(&devices_);
    devicesInstalled_ = true;
  }

  // A score of one treble staff with eight quarter notes, C5 up to C6.
  std::string WriteTune() {
    const std::string path = (Dir() / "tune.svd").string();
    CStavlinDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    auto* staff = new KStaffLine(0, 0, 0);
    int row = 17;
    for (int column = 0; column < 8; ++column)
      staff->GetObjList()->AddTail(new KChord(column, row--, kQuarter, 0));
    staff->UpdateTimeSigCache();
    doc.AddTailLine(staff);
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }

  void OpenTune() {
    ASSERT_TRUE(Start());
    child_ = OpenFocused(WriteTune(), pane_);
    ASSERT_NE(pane_, nullptr);
    staffLine_ = -1;
    for (int i = 0; i < View().GetDisplayLineCount(); ++i)
      if (View().GetDisplayEntry(i).type == 0) staffLine_ = i;
    ASSERT_GE(staffLine_, 0);
  }

  CStavlinView& View() const { return pane_->View(); }
  KPlayMidiWindow& PlayWindow() { return *Frame().PlayWindow(); }

  // Opens the play window and gives it the keyboard, as a click on it does.
  void OpenPlayWindow() {
    Frame().ActionFor(cmd::kMidiPlay)->trigger();
    QApplication::processEvents();
    ASSERT_NE(Frame().PlayWindow(), nullptr);
    PlayWindow().Window().activateWindow();
    Control(KDlgPlayMidi::kIdPlay)->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(pane_->hasFocus()) << "the play window has the keyboard";
  }
  void Click(UINT id) {
    QTest::mouseClick(Control(id), Qt::LeftButton);
    QApplication::processEvents();
  }

  // The keys of the notes the synthesizer was told to start, in order.
  std::vector<int> KeysSounded() const {
    std::vector<int> keys;
    if (devices_.sent.empty()) return keys;
    for (const auto& message : devices_.sent[0])
      if (message.size() == 3 && (message[0] & 0xF0) == 0x90 && message[2] != 0) keys.push_back(message[1]);
    return keys;
  }

  // Whether the score shows its caret: the caret's mark across its column,
  // in the caret's colour, on the window's picture.
  bool CaretShown() const {
    const QImage picture = pane_->viewport()->grab().toImage();
    const POINT caret = View().PlaceCaret();
    const int size = View().GetSizeIndex() != 0 ? 1 : 0;
    for (int y = std::max(int(caret.y), 0); y < std::min(int(caret.y) + 80, picture.height()); ++y) {
      bool across = true;
      for (int x = caret.x + 3; x < caret.x + g_NoteColumnWidth[size] - 3 && across; ++x) {
        if (x < 0 || x >= picture.width()) return false;
        const QColor c = picture.pixelColor(x, y);
        across = c.blue() > 150 && c.red() < 80;
      }
      if (across) return true;
    }
    return false;
  }
  // The status bar names the caret's line and column (both counted from 1).
  bool StatusShowsCaret() {
    const QString place =
        QStringLiteral("L %1, C %2").arg(View().GetCurrentLine() + 1).arg(View().GetCaretColumn() + 1);
    for (const QString& text : Frame().StatusPaneTexts())
      if (text.contains(place)) return true;
    return false;
  }
  QWidget* Control(UINT id) { return PlayWindow().Binder().WidgetOf(id); }

  FakeMidiClock clock_;
  FakeMidiDevices devices_;
  KViewWidget* pane_ = nullptr;
  CChildFrame* child_ = nullptr;
  int staffLine_ = -1;

 private:
  MidiClock* previousClock_ = nullptr;
  MidiDeviceSystem* previousDevices_ = nullptr;
  bool devicesInstalled_ = false;
};

TEST_F(PlaybackWindow, PlayFollowsTheNotesWithTheCaretCountsTheTimeAndStopsOnS) {
  InstallDevices();
  OpenTune();

  // The device submenus list the fake devices; the synthesizer is chosen and kept.
  QMenu* outputs = Frame().MidiOutputPopup();
  ASSERT_NE(outputs, nullptr);
  ASSERT_EQ(outputs->actions().size(), 1);
  EXPECT_EQ(outputs->actions().front()->text(), QStringLiteral("Fake Synth"));
  EXPECT_TRUE(outputs->actions().front()->isChecked());
  EXPECT_TRUE(outputs->menuAction()->isEnabled());
  EXPECT_EQ(g_prefMidi.outputDevice, 1);
  ASSERT_NE(Frame().MidiInputPopup(), nullptr);
  EXPECT_EQ(Frame().MidiInputPopup()->actions().size(), 1);

  // Actions/MIDI/Play Current Score opens the window.
  QAction* play = Frame().ActionFor(cmd::kMidiPlay);
  ASSERT_NE(play, nullptr);
  ASSERT_TRUE(play->isEnabled());
  play->trigger();
  QApplication::processEvents();
  ASSERT_NE(Frame().PlayWindow(), nullptr);
  QDialog& window = PlayWindow().Window();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Play Score as MIDI"));
  auto* playButton = qobject_cast<QPushButton*>(Control(KDlgPlayMidi::kIdPlay));
  auto* elapsed = qobject_cast<QLabel*>(Control(KDlgPlayMidi::kIdElapsed));
  ASSERT_NE(playButton, nullptr);
  ASSERT_NE(elapsed, nullptr);
  EXPECT_EQ(elapsed->text(), QStringLiteral("0:00:00"));

  // Play from the start of the tune.
  View().m_currentLine = staffLine_;
  View().m_caretColumn = 0;
  const std::int64_t start = clock_.NowUs();
  QTest::mouseClick(playButton, Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_TRUE(View().IsPlaying());
  EXPECT_EQ(playButton->text(), QStringLiteral("&Stop"));
  EXPECT_FALSE(Control(KDlgPlayMidi::kIdBack)->isEnabled());

  clock_.AdvanceTo(start + 3 * kQuarterUs + 1);
  QApplication::processEvents();
  EXPECT_EQ(View().GetCurrentLine(), staffLine_);
  EXPECT_EQ(View().GetCaretColumn(), 3) << "the caret stands on the fourth note as it sounds";
  EXPECT_EQ(elapsed->text(), QStringLiteral("0:00:01"));
  // The notes reached the synthesizer: C5, D5, E5, F5.
  std::vector<int> keys;
  ASSERT_FALSE(devices_.sent.empty());
  for (const auto& message : devices_.sent[0])
    if (message.size() == 3 && (message[0] & 0xF0) == 0x90 && message[2] != 0) keys.push_back(message[1]);
  EXPECT_EQ(keys, (std::vector<int>{72, 74, 76, 77}));

  // s in the play window stops the music where it is.
  QTest::keyClick(&window, Qt::Key_S, Qt::NoModifier);
  QApplication::processEvents();
  EXPECT_FALSE(View().IsPlaying());
  EXPECT_EQ(playButton->text(), QStringLiteral("&Play"));
  EXPECT_TRUE(Control(KDlgPlayMidi::kIdBack)->isEnabled());
  EXPECT_EQ(View().GetCaretColumn(), 4) << "after the last note played";
  clock_.AdvanceTo(start + 8 * kQuarterUs);
  EXPECT_EQ(View().GetCaretColumn(), 4) << "nothing plays on";

  // Exit closes the window; the score keeps the settings.
  QTest::mouseClick(Control(KDlgPlayMidi::kIdExit), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(Frame().PlayWindow(), nullptr);
  EXPECT_TRUE(ui_.Messages().empty());
}

// To Start, Back and Fwd step through the music while the play window keeps
// the keyboard: each step shows the caret in the score and in the status
// bar, from a caret on the title as well; Fwd sounds the column at the caret
// and goes on to the next, Back goes back a column and sounds it.
TEST_F(PlaybackWindow, TransportButtonsStepTheCaretThroughTheMusicAndShowIt) {
  InstallDevices();
  OpenTune();
  ASSERT_NE(staffLine_, 0) << "a title stands above the music";
  ASSERT_NO_FATAL_FAILURE(OpenPlayWindow());

  struct Step {
    const char* what;
    UINT button;
    int line;    // where the caret stands before the click (-1: where it is)
    int column;  // after the click
    int key;     // the note sounded (0: none)
  };
  const Step steps[] = {
      {"To Start from the title", KDlgPlayMidi::kIdToStart, 0, 0, 0},
      {"Fwd sounds C5", KDlgPlayMidi::kIdForward, -1, 1, 72},
      {"Fwd sounds D5", KDlgPlayMidi::kIdForward, -1, 2, 74},
      {"Fwd sounds E5", KDlgPlayMidi::kIdForward, -1, 3, 76},
      {"Back sounds E5 again", KDlgPlayMidi::kIdBack, -1, 2, 76},
      {"Back sounds D5", KDlgPlayMidi::kIdBack, -1, 1, 74},
      {"Fwd from the title starts the music", KDlgPlayMidi::kIdForward, 0, 1, 72},
      {"Back from the title sounds the first note", KDlgPlayMidi::kIdBack, 0, 0, 72},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.line >= 0) {
      View().m_currentLine = step.line;
      View().m_caretColumn = 3;
      View().m_caretRow = 18;
    }
    const std::size_t before = KeysSounded().size();
    Click(step.button);
    ASSERT_TRUE(clock_.RunUntilIdle());
    QApplication::processEvents();
    EXPECT_FALSE(View().IsPlaying());
    EXPECT_EQ(View().GetCurrentLine(), staffLine_);
    EXPECT_EQ(View().GetCaretColumn(), step.column);
    const std::vector<int> keys = KeysSounded();
    EXPECT_EQ(std::vector<int>(keys.begin() + static_cast<std::ptrdiff_t>(before), keys.end()),
              step.key != 0 ? std::vector<int>{step.key} : std::vector<int>{});
    EXPECT_FALSE(pane_->hasFocus()) << "the play window keeps the keyboard";
    EXPECT_TRUE(CaretShown()) << "the score shows the caret";
    EXPECT_TRUE(StatusShowsCaret());
  }
}

// Stop leaves the caret after the last note played, shown; Play then goes on
// from there, not from the beginning.
TEST_F(PlaybackWindow, StopLeavesTheCaretWherePlayStoppedAndPlayGoesOnFromThere) {
  InstallDevices();
  OpenTune();
  ASSERT_NO_FATAL_FAILURE(OpenPlayWindow());
  View().m_currentLine = staffLine_;
  View().m_caretColumn = 0;
  std::int64_t start = clock_.NowUs();
  Click(KDlgPlayMidi::kIdPlay);
  clock_.AdvanceTo(start + 3 * kQuarterUs + 1);
  QApplication::processEvents();
  ASSERT_EQ(KeysSounded(), (std::vector<int>{72, 74, 76, 77}));

  Click(KDlgPlayMidi::kIdPlay);  // the button reads Stop
  ASSERT_FALSE(View().IsPlaying());
  EXPECT_EQ(View().GetCurrentLine(), staffLine_);
  EXPECT_EQ(View().GetCaretColumn(), 4) << "after the last note played, not at the line's end";
  EXPECT_TRUE(CaretShown());

  start = clock_.NowUs();
  Click(KDlgPlayMidi::kIdPlay);
  clock_.AdvanceTo(start + kQuarterUs + 1);
  QApplication::processEvents();
  EXPECT_EQ(KeysSounded(), (std::vector<int>{72, 74, 76, 77, 79, 81})) << "on from G5";
  EXPECT_EQ(View().GetCaretColumn(), 5);
  Click(KDlgPlayMidi::kIdPlay);
}

TEST_F(PlaybackWindow, WithoutMidiDevicesTheSubmenusStayEmptyAndTheTunePlaysSilently) {
  // The container has no ALSA sequencer: the machine's real device list is empty.
  OpenTune();
  ASSERT_NE(Frame().MidiOutputPopup(), nullptr);
  EXPECT_TRUE(Frame().MidiOutputPopup()->actions().isEmpty());
  EXPECT_FALSE(Frame().MidiOutputPopup()->menuAction()->isEnabled());
  EXPECT_TRUE(ui_.Messages().empty()) << "no error at start";

  Frame().ActionFor(cmd::kMidiPlay)->trigger();
  QApplication::processEvents();
  ASSERT_NE(Frame().PlayWindow(), nullptr);
  View().m_currentLine = staffLine_;
  View().m_caretColumn = 0;
  QTest::mouseClick(Control(KDlgPlayMidi::kIdPlay), Qt::LeftButton);
  ASSERT_TRUE(View().IsPlaying());
  ASSERT_TRUE(clock_.RunUntilIdle());
  QApplication::processEvents();
  EXPECT_FALSE(View().IsPlaying());
  EXPECT_EQ(View().GetCaretColumn(), 8) << "the caret went through the whole tune";
  EXPECT_TRUE(ui_.Messages().empty());
}

}  // namespace
