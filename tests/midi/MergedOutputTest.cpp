// The output's merge of its attached tracks (Restart, Pump, BuildBlock), put
// at their times on the MIDI clock, and an output whose device goes away.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MidiTrackTestSupport.h"
#include "midi/CMaxMidiOut.h"
#include "midi/CMaxMidiSync.h"
#include "midi/MidiDeviceMenu.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class MergedOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    devices_.outputs = {"Synth"};
    previousDevices_ = SetMidiDevices(&devices_);
    previousClock_ = SetMidiClock(&clock_);
  }
  void TearDown() override {
    SetMidiClock(previousClock_);
    SetMidiDevices(previousDevices_);
  }

  // A track of the events (times are deltas), attached to the output.
  MidiEventTrack& Attach(CMaxMidiOut& out, const std::vector<MidiEvent>& events) {
    tracks_.push_back(std::make_unique<MidiEventTrack>());
    Record(*tracks_.back(), events);
    out.AddTrack(tracks_.back().get());
    return *tracks_.back();
  }
  // The block as "delta:status:data1" texts.
  static std::vector<std::string> BlockText(const CMaxMidiOut& out) {
    std::vector<std::string> text;
    for (DWORD i = 0; i < out.GetBlockCount(); ++i) {
      const MidiShortEvent& e = out.Block()[i];
      char item[32];
      std::snprintf(item, sizeof item, "%u:%02X:%u", e.time, e.status, e.data1);
      text.emplace_back(item);
    }
    return text;
  }

  FakeMidiDevices devices_;
  FakeMidiClock clock_;
  std::vector<std::unique_ptr<MidiEventTrack>> tracks_;

 private:
  MidiDeviceSystem* previousDevices_ = nullptr;
  MidiClock* previousClock_ = nullptr;
};

TEST_F(MergedOutput, TracksMergeByTimeAndEqualTimesGoToTheTrackAttachedFirst) {
  CMaxMidiOut out;
  Attach(out, {Note(0, 0x90, 60, 100), Note(100, 0x80, 60, 0)});
  Attach(out, {Note(0, 0x91, 64, 100), Note(50, 0x81, 64, 0), Note(50, 0x91, 67, 90)});
  out.BuildBlock();
  EXPECT_EQ(BlockText(out),
            (std::vector<std::string>{"0:90:60", "0:91:64", "50:81:64", "50:80:60", "0:91:67"}));
  out.BuildBlock();
  EXPECT_EQ(out.GetBlockCount(), 0u) << "the tracks are used up";
}

TEST_F(MergedOutput, ASystemExclusiveRunStaysWholeAndATrackThatGoesBackWaitsNothing) {
  CMaxMidiOut out;
  // Track 1: a SysEx run at 10 whose bytes come later than track 2's note.
  Attach(out, {Note(10, 0xF0, 0xF0, 0), Note(0, 0xF0, 0x7E, 0), Note(20, 0xF0, 0xF7, 0)});
  Attach(out, {Note(15, 0x90, 60, 100)});
  out.BuildBlock();
  EXPECT_EQ(BlockText(out), (std::vector<std::string>{"10:F0:240", "0:F0:126", "20:F0:247", "0:90:60"}))
      << "the note at 15 waits for the end of the run at 30, then goes at once";
}

TEST_F(MergedOutput, ABlockHoldsAtMost512EventsAndTheNextContinuesFromIt) {
  CMaxMidiOut out;
  std::vector<MidiEvent> many;
  for (int i = 0; i < 600; ++i) many.push_back(Note(i == 0 ? 0 : 2, 0x90, 60, 1));
  Attach(out, many);
  out.BuildBlock();
  ASSERT_EQ(out.GetBlockCount(), 512u);
  out.BuildBlock();
  ASSERT_EQ(out.GetBlockCount(), 88u);
  EXPECT_EQ(out.Block()[0].time, 2u) << "the first delta counts from the last event of the block before";
}

TEST_F(MergedOutput, RestartPutsEachEventAtItsTimeOnTheClockAndTellsAfterEachWake) {
  struct Notified : CMaxMidiOut {
    void OnOutputNotify() override { ++notices; }
    int notices = 0;
  } out;
  CMaxMidiSync sync;
  sync.SetResolution(480);
  ASSERT_TRUE(sync.SetTempo(500000));  // a tick is 500000 / 480 µs
  out.SetSync(&sync);
  ASSERT_TRUE(out.Open(0, 0x13320));
  Attach(out, {Note(0, 0x90, 60, 100), Note(480, 0x80, 60, 0)});
  Attach(out, {Note(240, 0x91, 64, 90)});
  const std::int64_t start = clock_.NowUs();
  out.Restart();
  EXPECT_EQ(devices_.sent[0], (std::vector<Bytes>{{0x90, 60, 100}})) << "what is due at once goes at once";
  EXPECT_TRUE(out.IsPumping());
  clock_.AdvanceTo(start + 249000);
  EXPECT_EQ(devices_.sent[0].size(), 1u);
  clock_.AdvanceTo(start + 250000);
  EXPECT_EQ(devices_.sent[0].back(), (Bytes{0x91, 64, 90}));
  ASSERT_TRUE(clock_.RunUntilIdle());
  EXPECT_EQ(devices_.sent[0].back(), (Bytes{0x80, 60, 0}));
  EXPECT_EQ(clock_.NowUs(), start + 500000);
  EXPECT_FALSE(out.IsPumping());
  EXPECT_EQ(out.notices, 2);
  out.SetSync(nullptr);
}

TEST_F(MergedOutput, RestartWithoutTracksOrWithHiddenTracksSendsNothing) {
  CMaxMidiOut out;
  ASSERT_TRUE(out.Open(0, 0x13320));
  out.Restart();
  MidiEventTrack& hidden = Attach(out, {Note(0, 0x90, 60, 100)});
  hidden.SetRecording(true);  // a track being recorded offers nothing
  out.Restart();
  EXPECT_TRUE(devices_.sent[0].empty());
  EXPECT_FALSE(out.IsPumping());
  EXPECT_FALSE(clock_.NextDue().has_value());
}

TEST_F(MergedOutput, ADeviceThatGoesAwayClosesTheOutputAndSaysWhich) {
  CMaxMidiOut out;
  ASSERT_TRUE(out.Open(0, 0x13320));
  EXPECT_TRUE(out.Put(SendNowEvent(0x90, 60, 100)));
  devices_.Unplug(0);
  EXPECT_FALSE(out.Put(SendNowEvent(0x80, 60, 0)));
  EXPECT_FALSE(out.IsOpen());
  EXPECT_TRUE(out.IsLost());
  EXPECT_EQ(out.GetLastError(), "The MIDI output \"Synth\" is no longer there.");
  EXPECT_TRUE(out.Put(SendNowEvent(0x90, 62, 100))) << "a closed output drops what it is sent";
  EXPECT_FALSE(out.Open(0, 0x13320));
  EXPECT_FALSE(out.IsLost()) << "a new open starts afresh";
}

TEST_F(MergedOutput, TheChosenDeviceIsFoundByItsNameWhereverItStands) {
  devices_.outputs = {"Synth", "Piano"};
  CMaxMidiOut out;
  out.SetWantedName("Piano");
  ASSERT_TRUE(out.Open(0, 0x13320)) << "number 0 is Synth now; the name wins";
  EXPECT_EQ(out.GetDeviceName(), "Piano");
  EXPECT_TRUE(out.Put(SendNowEvent(0x90, 60, 100)));
  EXPECT_EQ(devices_.sent[1].size(), 1u);
  out.Close();
  devices_.outputs = {"Synth"};
  EXPECT_FALSE(out.Open(1, 0x13320));
  EXPECT_EQ(out.GetLastError(), "The MIDI output \"Piano\" is not there now.");
}

TEST_F(MergedOutput, TheMapperIsTheItemAfterTheDevicesAndOpensTheSystemsOwnPort) {
  devices_.mapper = "Stavlin own output (JACK)";
  CMaxMidiOut out;
  CMidiOutDeviceMenu menu;
  menu.SetOutput(&out);
  menu.Create("MIDI Output Device...", 41264);
  ASSERT_EQ(menu.GetItemCount(), 2);
  EXPECT_EQ(menu.MapperIndex(), 1);
  EXPECT_EQ(menu.Items()[1].text, "Stavlin own output (JACK)");
  ASSERT_TRUE(menu.SelectDevice(41265));
  EXPECT_EQ(menu.CheckedIndex(), 1);
  EXPECT_TRUE(out.IsOpen());
  EXPECT_EQ(out.GetDevice(), CMaxMidiOut::kMapper);
  EXPECT_TRUE(out.Put(SendNowEvent(0x90, 60, 100)));
  EXPECT_EQ(devices_.mapperSent, (std::vector<Bytes>{{0x90, 60, 100}}));
  // Opened again by its menu number, the mapper chosen by name stays the mapper.
  out.Close();
  ASSERT_TRUE(out.Open(1, 0x13320));
  EXPECT_EQ(out.GetDevice(), CMaxMidiOut::kMapper);
}

TEST_F(MergedOutput, WithTenDevicesAndAMapperTheMenuKeepsToItsTenItems) {
  devices_.outputs.clear();
  for (int i = 0; i < 12; ++i) devices_.outputs.push_back("Port " + std::to_string(i));
  devices_.mapper = "Own";
  CMidiOutDeviceMenu menu;
  menu.Create("MIDI Output Device...", 41264);
  ASSERT_EQ(menu.GetItemCount(), CMidiOutDeviceMenu::kMaxItems);
  EXPECT_EQ(menu.MapperIndex(), 9);
  EXPECT_EQ(menu.Items().back().id, 41273u) << "the last output command; 41274 is the first input's";
}

}  // namespace
