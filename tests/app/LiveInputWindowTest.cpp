// Recording from a MIDI keyboard in the real window: Actions/MIDI/Live MIDI
// Input opens the MIDI Recording window at the main window's top-left
// corner, Start opens the fake keyboard, the notes played land in the score
// as columns, Stop and Exit close everything again.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <string>

#include "ShellTestSupport.h"
#include "app/KInputMidiWindow.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"
#include "platform/qt/KQtDialogBinder.h"
#include "support/MusicNames.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/midi/KSVMidi.h"
#include "view/midi/LiveRecorder.h"

namespace {

constexpr std::int64_t kTickUs = 1000;  // at 125 beats a minute

class LiveInputWindow : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    previousClock_ = SetMidiClock(&clock_);
    devices_.outputs = {"Fake Synth"};
    devices_.inputs = {"Fake Keyboard"};
    previousDevices_ = SetMidiDevices(&devices_);
    ResetLiveRecording();
  }
  void TearDown() override {
    ShellTest::TearDown();
    SetMidiDevices(previousDevices_);
    SetMidiClock(previousClock_);
  }

  std::string WriteEmptyStaff() {
    const std::string path = (Dir() / "empty.svd").string();
    CStavlinDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    doc.AddTailLine(new KStaffLine(0, 0, 0));
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }

  void Play(int note, int fromTick, int toTick) {
    clock_.AdvanceTo(start_ + fromTick * kTickUs);
    devices_.Feed(0, {clock_.NowUs(), {0x90, static_cast<std::uint8_t>(note), 100}});
    clock_.AdvanceTo(start_ + toTick * kTickUs);
    devices_.Feed(0, {clock_.NowUs(), {0x80, static_cast<std::uint8_t>(note), 0}});
    QApplication::processEvents();
  }

  musicnames::LineDump Columns(const CStavlinView& view, int displayLine) {
    std::string out;
    const KListLine* list = view.GetDisplayLineObj(displayLine)->AsListLine();
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(list->GetObjList()->GetNext(node));
      if (!out.empty()) out += ' ';
      out += std::to_string(column->GetPos()) + ':' + std::to_string(column->GetNote(0).code) + '@' +
             std::to_string(column->GetNote(0).position);
    }
    return musicnames::WithNames(out, list);
  }

  FakeMidiClock clock_;
  FakeMidiDevices devices_;
  std::int64_t start_ = 0;

 private:
  MidiClock* previousClock_ = nullptr;
  MidiDeviceSystem* previousDevices_ = nullptr;
};

TEST_F(LiveInputWindow, StartRecordsTheKeyboardIntoTheScoreUntilStopAndExit) {
  ASSERT_TRUE(Start());
  g_prefMidiInput.liveTrigger = 2;  // the tempo as set
  g_prefMidiInput.tempo = 125;
  KViewWidget* pane = nullptr;
  OpenFocused(WriteEmptyStaff(), pane);
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  int staff = -1;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i)
    if (view.GetDisplayEntry(i).type == 0) staff = i;
  ASSERT_GE(staff, 0);
  view.m_currentLine = staff;
  view.m_currentType = 0;
  view.m_caretColumn = 0;
  view.m_autoBars = 0;

  // The keyboard is chosen in the input submenu (it really opened).
  ASSERT_NE(Frame().MidiInputPopup(), nullptr);
  ASSERT_EQ(Frame().MidiInputPopup()->actions().size(), 1);
  EXPECT_TRUE(Frame().MidiInputPopup()->actions().front()->isChecked());

  QAction* live = Frame().ActionFor(cmd::kMidiLiveInput);
  ASSERT_NE(live, nullptr);
  Frame().UpdateCommandUi();
  ASSERT_TRUE(live->isEnabled());
  live->trigger();
  QApplication::processEvents();
  ASSERT_NE(Frame().InputMidiWindow(), nullptr);
  KInputMidiWindow& recording = *Frame().InputMidiWindow();
  QDialog& window = recording.Window();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("MIDI Recording..."));
  EXPECT_EQ(LiveInputTarget(), &view);
  live->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Frame().InputMidiWindow(), &recording) << "one recording window at a time";

  auto* startStop = qobject_cast<QPushButton*>(recording.Binder().WidgetOf(KDlgInputMidi::kIdStartStop));
  ASSERT_NE(startStop, nullptr);
  QTest::mouseClick(startStop, Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_TRUE(recording.Model().IsRecording());
  EXPECT_EQ(startStop->text(), QStringLiteral("&Stop"));

  start_ = clock_.NowUs() + 1000000;
  Play(72, 0, 480);  // C5, a quarter
  EXPECT_EQ(Columns(view, staff), "0:9@17");
  Play(76, 960, 1200);  // a quarter rest, then E5 an eighth
  EXPECT_EQ(Columns(view, staff), "0:9@17 1:16@18 2:1@15");
  EXPECT_EQ(view.GetCaretColumn(), 3);

  QTest::mouseClick(startStop, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(recording.Model().IsRecording());
  EXPECT_EQ(startStop->text(), QStringLiteral("&Start"));
  Play(79, 1500, 1980);
  EXPECT_EQ(Columns(view, staff), "0:9@17 1:16@18 2:1@15") << "nothing is written after Stop";

  QTest::mouseClick(recording.Binder().WidgetOf(KDlgInputMidi::kIdExit), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(Frame().InputMidiWindow(), nullptr);
  EXPECT_TRUE(ui_.Messages().empty());
}

// A keyboard plugged in after the program started: its submenu, greyed for
// want of devices, never opens, so the menu that holds it reads the ports
// again when it opens.
TEST_F(LiveInputWindow, AKeyboardPluggedInLaterIsListedWhenTheMidiMenuOpens) {
  devices_.inputs.clear();
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  OpenFocused(WriteEmptyStaff(), pane);
  ASSERT_NE(pane, nullptr);
  QMenu* inputs = Frame().MidiInputPopup();
  ASSERT_NE(inputs, nullptr);
  EXPECT_FALSE(inputs->menuAction()->isEnabled()) << "no keyboard yet";

  devices_.inputs = {"Fake Keyboard"};
  QMenu* holder = nullptr;
  for (QObject* object : inputs->menuAction()->associatedObjects())
    if (auto* menu = qobject_cast<QMenu*>(object)) holder = menu;
  ASSERT_NE(holder, nullptr) << "the input submenu stands in a menu";
  holder->popup(Frame().geometry().center());
  QApplication::processEvents();
  holder->close();
  QApplication::processEvents();
  EXPECT_TRUE(inputs->menuAction()->isEnabled());
  ASSERT_EQ(inputs->actions().size(), 1);
  EXPECT_EQ(inputs->actions().front()->text(), QStringLiteral("Fake Keyboard"));
}

}  // namespace
