// The real main window on real MIDI ports: a JACK server on its dummy driver
// and a JACK client of the test's own, a synthesizer port for the program's
// output and a keyboard port for its input. The output submenu lists the
// synthesizer; choosing it connects; Play sends what the program's own MIDI
// file export of the score holds, each event in time; Stop silences every
// note; a port that goes away in the middle stops play with a message; a
// JACK server that stops in the middle of play or of recording stops it with
// one message, and the program plays again once the server is back.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "app/KInputMidiWindow.h"
#include "app/KPlayMidiWindow.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "platform/FileBytes.h"
#include "platform/MidiDevices.h"
#include "platform/MidiFileReader.h"
#include "platform/MidiScheduler.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KRtMidiDevices.h"
#include "support/JackTestKit.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/midi/LiveRecorder.h"
#include "view/play/ViewPlayer.h"

namespace {

constexpr int kQuarter = 8;
constexpr int kEighth = 7;
// Sent events may stand this far from their time (µs).
constexpr std::int64_t kToleranceUs = 2000;

// One channel message as the port carries it, with its time.
struct Heard {
  std::int64_t us = 0;
  int status = 0;
  int key = 0;
  int velocity = 0;
};

bool IsNoteOn(const Heard& h) { return (h.status & 0xF0) == 0x90 && h.velocity > 0; }
bool IsNoteOff(const Heard& h) {
  return (h.status & 0xF0) == 0x80 || ((h.status & 0xF0) == 0x90 && h.velocity == 0);
}

std::string Describe(const Heard& h) {
  return std::to_string(h.us / 1000) + "ms " + (IsNoteOn(h) ? "on" : "off") + " ch" +
         std::to_string((h.status & 0x0F) + 1) + " " + std::to_string(h.key) +
         (IsNoteOn(h) ? " v" + std::to_string(h.velocity) : std::string());
}

std::int64_t SteadyUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The real devices, with the time each output message was handed to its
// port (the clock the test client times arrivals by).
class StampedDevices final : public MidiDeviceSystem {
 public:
  struct Sent {
    std::int64_t us = 0;
    std::vector<std::uint8_t> bytes;
  };
  explicit StampedDevices(MidiDeviceSystem& real) : m_real(real) {}
  std::vector<std::string> OutputNames() override { return m_real.OutputNames(); }
  std::vector<std::string> InputNames() override { return m_real.InputNames(); }
  std::unique_ptr<MidiOutConnection> OpenOutput(int index) override {
    auto connection = m_real.OpenOutput(index);
    if (!connection) return nullptr;
    return std::make_unique<Out>(std::move(connection), sent);
  }
  std::unique_ptr<MidiInConnection> OpenInput(int index, InputHandler handler) override {
    return m_real.OpenInput(index, std::move(handler));
  }
  std::string LastError() const override { return m_real.LastError(); }
  std::string MapperName() override { return m_real.MapperName(); }
  std::string SystemName() const override { return m_real.SystemName(); }

  std::vector<Sent> sent;

 private:
  class Out final : public MidiOutConnection {
   public:
    Out(std::unique_ptr<MidiOutConnection> real, std::vector<Sent>& log)
        : m_real(std::move(real)), m_log(log) {}
    bool Send(const std::vector<std::uint8_t>& message) override {
      const std::int64_t at = SteadyUs();
      const bool ok = m_real->Send(message);
      if (ok) m_log.push_back({at, message});
      return ok;
    }
    bool Lost() const override { return m_real->Lost(); }

   private:
    std::unique_ptr<MidiOutConnection> m_real;
    std::vector<Sent>& m_log;
  };
  MidiDeviceSystem& m_real;
};

class JackPorts : public ShellTest {
 protected:
  static void SetUpTestSuite() { server_ = new jacktest::Server(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    ShellTest::SetUp();
    if (!server_->Ok()) GTEST_SKIP() << "no JACK server: " << server_->Why();
    client_ = std::make_unique<jacktest::Client>("stavlin-test");
    ASSERT_TRUE(client_->Ok());
    devices_ = std::make_unique<KRtMidiDevices>(KRtMidiDevices::System::kJack);
    stamped_ = std::make_unique<StampedDevices>(*devices_);
    previousDevices_ = SetMidiDevices(stamped_.get());
    installed_ = true;
    ResetSoundScheduler();
  }
  void TearDown() override {
    if (app_ && app_->MainFrame() != nullptr) {
      for (CChildFrame* child : Frame().ScoreWindows()) {
        if (KViewWidget* pane = child->ActivePane()) pane->View().Player().Halt();
      }
    }
    ResetSoundScheduler();
    if (installed_) SetMidiDevices(previousDevices_);
    ShellTest::TearDown();
    stamped_.reset();
    devices_.reset();
    client_.reset();
    own_.reset();
  }

  // Moves the test onto a JACK server of its own, which it may stop without
  // any other test seeing it go: the test's client and the program's devices
  // are made again on it. Before Start.
  void MoveToOwnServer() {
    SetMidiDevices(previousDevices_);
    stamped_.reset();
    devices_.reset();
    client_.reset();
    own_ = std::make_unique<jacktest::Server>(jacktest::Server::kOwn);
    if (!own_->Ok()) GTEST_SKIP() << "no JACK server of the test's own: " << own_->Why();
    client_ = std::make_unique<jacktest::Client>("stavlin-test");
    ASSERT_TRUE(client_->Ok());
    devices_ = std::make_unique<KRtMidiDevices>(KRtMidiDevices::System::kJack);
    stamped_ = std::make_unique<StampedDevices>(*devices_);
    SetMidiDevices(stamped_.get());
  }

  // A score of one treble staff: quarters and eighths going up and down.
  std::string WriteTune() {
    const std::string path = (Dir() / "tune.svd").string();
    CStavlinDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    auto* staff = new KStaffLine(0, 0, 0);
    const int rows[] = {17, 16, 15, 14, 15, 16, 17, 13, 12, 13};
    const int values[] = {kQuarter, kEighth,  kEighth,  kQuarter, kEighth,
                          kEighth,  kQuarter, kQuarter, kEighth,  kEighth};
    for (int column = 0; column < 10; ++column)
      staff->GetObjList()->AddTail(new KChord(column, rows[column], values[column], 0));
    staff->UpdateTimeSigCache();
    doc.AddTailLine(staff);
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }

  void OpenTune() {
    ASSERT_TRUE(Start());
    OpenFocused(WriteTune(), pane_);
    ASSERT_NE(pane_, nullptr);
    staffLine_ = -1;
    for (int i = 0; i < View().GetDisplayLineCount(); ++i)
      if (View().GetDisplayEntry(i).type == 0) staffLine_ = i;
    ASSERT_GE(staffLine_, 0);
  }

  // Opens the output submenu (its list is read again) and picks the
  // synthesizer port of the test's client.
  void ChooseSynth() {
    QMenu* outputs = Frame().MidiOutputPopup();
    ASSERT_NE(outputs, nullptr);
    emit outputs->aboutToShow();
    QAction* synth = nullptr;
    std::string listed;
    for (QAction* action : outputs->actions()) {
      listed += action->text().toStdString() + "; ";
      if (action->text().toStdString() == client_->SynthPort()) synth = action;
    }
    ASSERT_NE(synth, nullptr) << "the output submenu lists " << listed;
    synthName_ = client_->SynthPort();
    synth->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(synth->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return client_->SynthConnections() == 1; }, 2000))
        << "choosing the port connects the program to it";
  }

  CStavlinView& View() const { return pane_->View(); }
  QWidget* Control(UINT id) { return Frame().PlayWindow()->Binder().WidgetOf(id); }

  void ClickPlay() {
    if (Frame().PlayWindow() == nullptr) {
      Frame().ActionFor(cmd::kMidiPlay)->trigger();
      QApplication::processEvents();
    }
    ASSERT_NE(Frame().PlayWindow(), nullptr);
    View().m_currentLine = staffLine_;
    View().m_caretColumn = 0;
    QTest::mouseClick(Control(KDlgPlayMidi::kIdPlay), Qt::LeftButton);
    ASSERT_TRUE(View().IsPlaying());
  }

  // The note messages of the events (on the steady clock).
  template <class Event>
  static std::vector<Heard> NotesOf(const std::vector<Event>& events) {
    std::vector<Heard> notes;
    for (const Event& e : events) {
      if (e.bytes.size() != 3) continue;
      const Heard h{e.us, e.bytes[0], e.bytes[1], e.bytes[2]};
      if (IsNoteOn(h) || IsNoteOff(h)) notes.push_back(h);
    }
    return notes;
  }

  // The note events of the score's MIDI file as the program exports it, at
  // their times at the file's tempo, from the first.
  std::vector<Heard> ExportedNotes() {
    const std::filesystem::path path = Dir() / "tune.mid";
    ui_.AnswerSaveFile([path](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(path.string());
      return true;
    });
    Frame().UpdateCommandUi();
    Frame().ActionFor(cmd::kExportMidi)->trigger();
    QApplication::processEvents();
    const fileio::ReadResult file = fileio::ReadWholeFile(path);
    EXPECT_TRUE(file.ok()) << file.message;
    std::string error;
    MidiFileContent content;
    EXPECT_TRUE(ParseMidiFile(file.bytes, content, error)) << error;
    std::int64_t tempo = 500000;
    std::vector<std::pair<std::uint64_t, Heard>> all;
    for (const MidiFileTrack& track : content.tracks) {
      for (const MidiMetaEvent& meta : track.metas)
        if (meta.type == 0x51 && meta.data.size() == 3)
          tempo = (meta.data[0] << 16) | (meta.data[1] << 8) | meta.data[2];
      std::uint64_t tick = 0;
      for (const MidiShortEvent& event : track.events) {
        tick += event.time;
        const Heard h{0, event.status, event.data1, event.data2};
        if (IsNoteOn(h) || IsNoteOff(h)) all.emplace_back(tick, h);
      }
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Heard> notes;
    for (auto& [tick, h] : all) {
      h.us = static_cast<std::int64_t>(tick) * tempo / content.division;
      notes.push_back(h);
    }
    return notes;
  }

  // Live input at 125 quarters a minute (a tick is a millisecond) into a
  // score of one empty treble staff: the keyboard port of the test's client
  // chosen in the input submenu, the recording window open and recording.
  void StartRecordingIntoEmptyStaff() {
    ResetLiveRecording();
    g_prefMidiInput.liveTrigger = 2;  // the tempo as set
    g_prefMidiInput.tempo = 125;
    const std::string path = (Dir() / "empty.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      doc.AddTailLine(new KStaffLine(0, 0, 0));
      ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    }
    OpenFocused(path, pane_);
    ASSERT_NE(pane_, nullptr);
    staffLine_ = -1;
    for (int i = 0; i < View().GetDisplayLineCount(); ++i)
      if (View().GetDisplayEntry(i).type == 0) staffLine_ = i;
    ASSERT_GE(staffLine_, 0);
    View().m_currentLine = staffLine_;
    View().m_currentType = 0;
    View().m_caretColumn = 0;
    View().m_autoBars = 0;

    QMenu* inputs = Frame().MidiInputPopup();
    ASSERT_NE(inputs, nullptr);
    emit inputs->aboutToShow();
    QAction* keys = nullptr;
    for (QAction* action : inputs->actions())
      if (action->text().toStdString() == client_->KeysPort()) keys = action;
    ASSERT_NE(keys, nullptr) << "the input submenu lists the keyboard port";
    keys->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(keys->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return client_->KeysConnections() == 1; }, 2000));

    Frame().UpdateCommandUi();
    Frame().ActionFor(cmd::kMidiLiveInput)->trigger();
    QApplication::processEvents();
    ASSERT_NE(Frame().InputMidiWindow(), nullptr);
    KInputMidiWindow& recording = *Frame().InputMidiWindow();
    QTest::mouseClick(recording.Binder().WidgetOf(KDlgInputMidi::kIdStartStop), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(recording.Model().IsRecording());
  }

  // A key of the keyboard port pressed and, ms later, released.
  void Press(int note, int ms) {
    client_->Send({0x90, static_cast<std::uint8_t>(note), 100});
    QTest::qWait(ms);
    client_->Send({0x80, static_cast<std::uint8_t>(note), 0});
  }

  // The columns of the recorded staff: column:code@row of each first entry.
  std::string RecordedColumns() {
    std::string columns;
    const KListLine* list = View().GetDisplayLineObj(staffLine_)->AsListLine();
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(list->GetObjList()->GetNext(node));
      if (!columns.empty()) columns += ' ';
      columns += std::to_string(column->GetPos()) + ':' + std::to_string(column->GetNote(0).code) + '@' +
                 std::to_string(column->GetNote(0).position);
    }
    return columns;
  }

  static jacktest::Server* server_;
  std::unique_ptr<jacktest::Server> own_;
  std::unique_ptr<jacktest::Client> client_;
  std::unique_ptr<KRtMidiDevices> devices_;
  std::unique_ptr<StampedDevices> stamped_;
  MidiDeviceSystem* previousDevices_ = nullptr;
  bool installed_ = false;
  KViewWidget* pane_ = nullptr;
  int staffLine_ = -1;
  std::string synthName_;
};

jacktest::Server* JackPorts::server_ = nullptr;

TEST_F(JackPorts, PlaySendsTheNotesOfTheMidiExportToTheChosenPortEachInTime) {
  OpenTune();
  ChooseSynth();
  const std::vector<Heard> exported = ExportedNotes();
  ASSERT_EQ(exported.size(), 20u);

  ClickPlay();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !View().IsPlaying(); }, 20000)) << "the tune ends";
  QTest::qWait(50);
  const std::vector<Heard> heard = NotesOf(client_->Received());
  const std::vector<Heard> sent = NotesOf(stamped_->sent);
  const auto list = [](const std::vector<Heard>& notes) {
    std::string text;
    for (const Heard& h : notes) text += Describe(h) + "\n";
    return text;
  };
  ASSERT_EQ(heard.size(), exported.size()) << "heard:\n" << list(heard) << "exported:\n" << list(exported);
  ASSERT_EQ(sent.size(), heard.size());
  // The port's share of the timing: each message arrives within 2 ms (and
  // the JACK period it waits for) of when the program handed it over, so
  // that its distance from its time in the music is the program's own
  // distance plus no more than that. The program's own punctuality is the
  // playback benchmark's figure (a release build on an idle machine); an
  // instrumented build on a busy machine hands messages over later.
  const std::int64_t periodUs = client_->PeriodUs();
  std::int64_t worstCarry = 0;
  std::int64_t worstTiming = 0;
  std::int64_t worstSendTiming = 0;
  for (std::size_t i = 0; i < heard.size(); ++i) {
    SCOPED_TRACE("event " + std::to_string(i) + ": heard " + Describe(heard[i]) + ", exported " +
                 Describe(exported[i]));
    EXPECT_EQ(IsNoteOn(heard[i]), IsNoteOn(exported[i]));
    EXPECT_EQ(heard[i].status & 0x0F, exported[i].status & 0x0F) << "channel";
    EXPECT_EQ(heard[i].key, exported[i].key);
    if (IsNoteOn(heard[i])) {
      EXPECT_EQ(heard[i].velocity, exported[i].velocity);
    }
    EXPECT_EQ(sent[i].key, heard[i].key) << "the port carries what it was given, in order";
    const std::int64_t carry = heard[i].us - sent[i].us;
    EXPECT_GE(carry, 0);
    EXPECT_LE(carry, kToleranceUs + periodUs) << "the port carries each message within 2 ms and a period";
    worstCarry = std::max(worstCarry, carry);
    const std::int64_t music = exported[i].us - exported[0].us;
    const std::int64_t timing = std::abs((heard[i].us - heard[0].us) - music);
    const std::int64_t sendTiming = std::abs((sent[i].us - sent[0].us) - music);
    EXPECT_LE(timing, sendTiming + kToleranceUs + periodUs);
    worstTiming = std::max(worstTiming, timing);
    worstSendTiming = std::max(worstSendTiming, sendTiming);
  }
  RecordProperty("WorstCarryUs", std::to_string(worstCarry));
  RecordProperty("WorstArrivalDistanceUs", std::to_string(worstTiming));
  RecordProperty("WorstSendDistanceUs", std::to_string(worstSendTiming));
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(JackPorts, StopSilencesEveryNoteThatSounds) {
  OpenTune();
  ChooseSynth();
  ClickPlay();
  QTest::qWait(1300);
  ASSERT_TRUE(View().IsPlaying());
  QTest::mouseClick(Control(KDlgPlayMidi::kIdPlay), Qt::LeftButton);
  ASSERT_FALSE(View().IsPlaying());
  QTest::qWait(100);
  // Every key that went down goes up again (a note-off or all notes off on
  // its channel after it).
  std::vector<jacktest::Client::Event> events = client_->Received();
  int sounded = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const auto& on = events[i].bytes;
    if (on.size() != 3 || (on[0] & 0xF0) != 0x90 || on[2] == 0) continue;
    ++sounded;
    bool silenced = false;
    for (std::size_t j = i + 1; j < events.size() && !silenced; ++j) {
      const auto& off = events[j].bytes;
      if (off.size() != 3 || (off[0] & 0x0F) != (on[0] & 0x0F)) continue;
      silenced = ((off[0] & 0xF0) == 0x80 && off[1] == on[1]) ||
                 ((off[0] & 0xF0) == 0x90 && off[1] == on[1] && off[2] == 0) ||
                 ((off[0] & 0xF0) == 0xB0 && (off[1] == 123 || off[1] == 120));
    }
    EXPECT_TRUE(silenced) << "key " << int(on[1]) << " still sounds";
  }
  EXPECT_GT(sounded, 2);
  const std::size_t after = client_->Received().size();
  QTest::qWait(600);
  EXPECT_EQ(client_->Received().size(), after) << "nothing plays on after Stop";
}

TEST_F(JackPorts, APortThatGoesAwayDuringPlayStopsPlayWithAMessage) {
  OpenTune();
  ChooseSynth();
  ClickPlay();
  QTest::qWait(400);
  ASSERT_TRUE(View().IsPlaying());
  client_->CloseSynthPort();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !View().IsPlaying(); }, 2000)) << "play stops, nothing hangs";
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_NE(ui_.Messages()[0].text.find(synthName_), std::string::npos) << "the message names the port";
  EXPECT_NE(ui_.Messages()[0].text.find("is no longer there"), std::string::npos) << ui_.Messages()[0].text;
  // Play again: the port is not there, which is said at once.
  QTest::mouseClick(Control(KDlgPlayMidi::kIdPlay), Qt::LeftButton);
  EXPECT_FALSE(View().IsPlaying());
  ASSERT_EQ(ui_.Messages().size(), 2u);
  EXPECT_NE(ui_.Messages()[1].text.find("is not there now"), std::string::npos) << ui_.Messages()[1].text;
}

// A note typed on the staff sounds on the port when "Play notes entered while
// editing a score" is on, and not when it is off; the note is entered either way.
TEST_F(JackPorts, ATypedNoteSoundsOnThePortOnlyWithPlayWhileEditingOn) {
  OpenTune();
  ChooseSynth();
  for (const int playWhileEditing : {1, 0}) {
    SCOPED_TRACE(playWhileEditing != 0 ? "on" : "off");
    g_prefMidiInstruments.playWhileEditing = playWhileEditing;
    client_->ClearReceived();
    CStavlinView& view = View();
    const int before = view.GetDisplayLineObj(staffLine_)->GetLength();
    view.m_currentLine = staffLine_;
    view.m_caretColumn = before;
    view.m_caretRow = 17;  // C5
    view.PlaceCaret();
    pane_->setFocus();
    QTest::keyClicks(pane_, QStringLiteral("q"));
    QApplication::processEvents();
    EXPECT_EQ(view.GetDisplayLineObj(staffLine_)->GetLength(), before + 1) << "the note is entered";
    std::vector<int> on;
    std::vector<int> off;
    const auto heard = [&] {
      on.clear();
      off.clear();
      for (const jacktest::Client::Event& e : client_->Received()) {
        if (e.bytes.size() == 3 && (e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0) on.push_back(e.bytes[1]);
        if (e.bytes.size() == 3 && (e.bytes[0] & 0xF0) == 0x80) off.push_back(e.bytes[1]);
      }
      return !off.empty();
    };
    // On: the note ends by itself within its length (a quarter) and some.
    // Off: nothing comes in that time.
    const bool ended = QTest::qWaitFor(heard, playWhileEditing != 0 ? 3000 : 800);
    EXPECT_EQ(ended, playWhileEditing != 0);
    if (playWhileEditing != 0) {
      EXPECT_EQ(on, std::vector<int>{72});
      EXPECT_EQ(off, std::vector<int>{72}) << "the note ends by itself";
    } else {
      EXPECT_TRUE(on.empty());
    }
  }
}

// Live input: a quarter C5, a quarter rest, an eighth E5 played into the
// keyboard port record into the score.
TEST_F(JackPorts, NotesPlayedIntoTheInputPortInTimeRecordIntoTheScore) {
  ASSERT_TRUE(Start());
  ASSERT_NO_FATAL_FAILURE(StartRecordingIntoEmptyStaff());
  KInputMidiWindow& recording = *Frame().InputMidiWindow();

  Press(72, 480);
  QTest::qWait(480);
  Press(76, 240);
  EXPECT_TRUE(QTest::qWaitFor([&] { return View().GetCaretColumn() == 3; }, 2000));
  EXPECT_EQ(RecordedColumns(), "0:9@17 1:16@18 2:1@15") << "a quarter C5, a quarter rest, an eighth E5";

  QTest::mouseClick(recording.Binder().WidgetOf(KDlgInputMidi::kIdStartStop), Qt::LeftButton);
  QTest::mouseClick(recording.Binder().WidgetOf(KDlgInputMidi::kIdExit), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(ui_.Messages().empty());
}

// The JACK server ends while the score plays: play stops at once with one
// message naming the port, and nothing more is said. Once the server runs
// again and the user chooses the synthesizer, Play plays.
TEST_F(JackPorts, AServerThatStopsDuringPlayStopsPlayOnceAndPlaysAgainWhenThePortIsChosen) {
  ASSERT_NO_FATAL_FAILURE(MoveToOwnServer());
  if (IsSkipped()) return;
  OpenTune();
  ChooseSynth();
  ClickPlay();
  QTest::qWait(400);
  ASSERT_TRUE(View().IsPlaying());
  ASSERT_FALSE(client_->Received().empty());

  own_->Stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !View().IsPlaying(); }, 3000)) << "play stops, nothing hangs";
  QTest::qWait(500);
  ASSERT_EQ(ui_.Messages().size(), 1u) << "said once";
  EXPECT_NE(ui_.Messages()[0].text.find(synthName_), std::string::npos) << ui_.Messages()[0].text;
  EXPECT_NE(ui_.Messages()[0].text.find("is no longer there"), std::string::npos) << ui_.Messages()[0].text;
  EXPECT_EQ(Frame().PlayWindow()->Binder().WidgetOf(KDlgPlayMidi::kIdPlay)->isEnabled(), true);

  // The server back, with the synthesizer: chosen again, it plays.
  client_.reset();
  ASSERT_TRUE(own_->Restart());
  client_ = std::make_unique<jacktest::Client>("stavlin-test");
  ASSERT_TRUE(client_->Ok());
  ChooseSynth();
  ASSERT_EQ(ui_.Messages().size(), 1u) << (ui_.Messages().size() > 1 ? ui_.Messages().back().text : "");
  ClickPlay();
  EXPECT_TRUE(QTest::qWaitFor([&] { return NotesOf(client_->Received()).size() >= 2; }, 3000))
      << "the tune sounds on the synthesizer again";
  QTest::mouseClick(Control(KDlgPlayMidi::kIdPlay), Qt::LeftButton);
  EXPECT_FALSE(View().IsPlaying());
  EXPECT_EQ(ui_.Messages().size(), 1u);
}

// The JACK server ends while live input records: recording stops with one
// message naming the port, and the music recorded so far stays in the score
// (the key still held when the input went is written as released then).
TEST_F(JackPorts, AServerThatStopsDuringRecordingStopsItOnceAndKeepsWhatWasRecorded) {
  ASSERT_NO_FATAL_FAILURE(MoveToOwnServer());
  if (IsSkipped()) return;
  ASSERT_TRUE(Start());
  ASSERT_NO_FATAL_FAILURE(StartRecordingIntoEmptyStaff());
  KInputMidiWindow& recording = *Frame().InputMidiWindow();
  const std::string keys = client_->KeysPort();

  Press(72, 480);
  QTest::qWait(480);
  client_->Send({0x90, 76, 100});
  QTest::qWait(240);
  own_->Stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !recording.Model().IsRecording(); }, 3000))
      << "recording stops when its input goes";
  QTest::qWait(500);
  ASSERT_EQ(ui_.Messages().size(), 1u) << "said once";
  EXPECT_NE(ui_.Messages()[0].text.find(keys), std::string::npos) << ui_.Messages()[0].text;
  EXPECT_NE(ui_.Messages()[0].text.find("is no longer there"), std::string::npos) << ui_.Messages()[0].text;
  const std::string columns = RecordedColumns();
  EXPECT_EQ(columns.substr(0, 14), "0:9@17 1:16@18") << columns;
  EXPECT_NE(columns.find(" 2:"), std::string::npos) << "the E5 held when the input went: " << columns;
  EXPECT_NE(columns.find("@15"), std::string::npos) << columns;
  EXPECT_EQ(
      recording.Binder().WidgetOf(KDlgInputMidi::kIdStartStop)->property("text").toString().toStdString(),
      "&Start");

  // Exit closes the window; nothing more is said.
  QTest::mouseClick(recording.Binder().WidgetOf(KDlgInputMidi::kIdExit), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(ui_.Messages().size(), 1u);
}

}  // namespace
