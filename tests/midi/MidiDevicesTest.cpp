// The MIDI output and input wrappers and the device menus over the machine's
// devices (fake ones here).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/CMaxMidiIn.h"
#include "midi/CMaxMidiOut.h"
#include "midi/CMaxMidiSync.h"
#include "midi/MidiDeviceMenu.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class DevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    devices.outputs = {"Midi Through Port-0", "FLUID Synth (1234)"};
    devices.inputs = {"Keyboard"};
    previous_ = SetMidiDevices(&devices);
  }
  void TearDown() override { SetMidiDevices(previous_); }

  static MidiShortEvent Event(BYTE status, BYTE data1, BYTE data2 = 0) {
    MidiShortEvent e;
    e.time = kMidiSendNow;
    e.status = status;
    e.data1 = data1;
    e.data2 = data2;
    return e;
  }

  FakeMidiDevices devices;

 private:
  MidiDeviceSystem* previous_ = nullptr;
};

TEST_F(DevicesTest, OutputSendsEachEventAsItsMessageAndASystemExclusiveRunWhole) {
  CMaxMidiOut out;
  ASSERT_TRUE(out.Open(1, 0x13320));
  EXPECT_EQ(out.GetDeviceName(), "FLUID Synth (1234)");
  EXPECT_TRUE(out.Put(Event(0x91, 60, 100)));
  EXPECT_TRUE(out.Put(Event(0xC2, 40, 99)));  // a program change has one data byte
  for (BYTE b : {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) EXPECT_TRUE(out.Put(Event(0xF0, b)));
  EXPECT_FALSE(out.Put(Event(0xF8, 0)));  // not a message this output sends
  EXPECT_EQ(devices.sent[1],
            (std::vector<Bytes>{{0x91, 60, 100}, {0xC2, 40}, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
}

TEST_F(DevicesTest, ClosingSilencesEveryChannelAndAClosedOutputDropsEvents) {
  CMaxMidiOut out;
  ASSERT_TRUE(out.Open(0, 0));
  out.Close();
  ASSERT_EQ(devices.sent[0].size(), 16u);
  EXPECT_EQ(devices.sent[0][0], (Bytes{0xB0, 123, 0}));
  EXPECT_EQ(devices.sent[0][15], (Bytes{0xBF, 123, 0}));
  EXPECT_EQ(devices.openOutputs[0], 0);
  EXPECT_TRUE(out.Put(Event(0x90, 60, 100)));
  EXPECT_EQ(devices.sent[0].size(), 16u);
}

TEST_F(DevicesTest, ADeviceThatWillNotOpenLeavesTheOutputClosed) {
  devices.failingOutputs = {1};
  CMaxMidiOut out;
  EXPECT_FALSE(out.Open(1, 0));
  EXPECT_FALSE(out.IsOpen());
  EXPECT_FALSE(out.Open(7, 0));
  EXPECT_FALSE(out.Open(CMaxMidiOut::kMapper, 0));
  EXPECT_TRUE(out.Open(0, 0));
}

TEST_F(DevicesTest, OutputMenuListsTheDevicesAndChecksOnlyADeviceThatOpened) {
  CMaxMidiOut out;
  CMidiOutDeviceMenu menu;
  menu.Create("MIDI Output Device...", 41264);
  menu.SetOutput(&out);
  ASSERT_EQ(menu.GetItemCount(), 2);
  EXPECT_EQ(menu.Items()[1].id, 41265u);
  EXPECT_EQ(menu.Items()[1].text, "FLUID Synth (1234)");
  struct Case {
    int n;
    BOOL result;
    int checked;
  } cases[] = {{1, TRUE, 1}, {41264, TRUE, 0}, {2, FALSE, 0}, {41266, FALSE, 0}, {-1, FALSE, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(menu.SelectDevice(c.n), c.result) << c.n;
    EXPECT_EQ(menu.CheckedIndex(), c.checked) << c.n;
  }
  EXPECT_EQ(out.GetDevice(), 0);
  devices.failingOutputs = {1};
  EXPECT_TRUE(menu.SelectDevice(1));
  EXPECT_EQ(menu.CheckedIndex(), -1);
}

TEST_F(DevicesTest, WithoutDevicesTheMenusAreEmpty) {
  FakeMidiDevices none;
  MidiDeviceSystem* previous = SetMidiDevices(&none);
  CMidiOutDeviceMenu out;
  out.Create("MIDI Output Device...", 41264);
  CMidiInDeviceMenu in;
  in.Create("MIDI Input Device...", 41274);
  EXPECT_EQ(out.GetItemCount(), 0);
  EXPECT_EQ(in.GetItemCount(), 0);
  EXPECT_FALSE(out.SelectDevice(0));
  SetMidiDevices(previous);
}

TEST_F(DevicesTest, TheInputMenuChecksADeviceOnlyWhenItReallyOpened) {
  CMaxMidiIn in;
  CMidiInDeviceMenu menu;
  menu.Create("MIDI Input Device...", 41274);
  menu.SetInput(&in);
  devices.failingInputs = {0};
  EXPECT_TRUE(menu.SelectDevice(0));
  EXPECT_FALSE(in.IsOpen());
  EXPECT_EQ(menu.CheckedIndex(), -1);
  devices.failingInputs.clear();
  EXPECT_TRUE(menu.SelectDevice(0));
  EXPECT_TRUE(in.IsOpen());
  EXPECT_EQ(menu.CheckedIndex(), 0);
}

// An input that keeps the events it is given.
class KeptInput : public CMaxMidiIn {
 public:
  BOOL FilterEvent(const MidiShortEvent& event) override {
    events.push_back(event);
    return TRUE;
  }
  std::vector<MidiShortEvent> events;
};

TEST_F(DevicesTest, InputDeliversWhileStartedWithTimesInTicksOfTheSync) {
  FakeMidiClock clock;
  MidiClock* previousClock = SetMidiClock(&clock);
  CMaxMidiSync sync;
  sync.SetTempo(CMaxMidiSync::BpmToTempo(60));  // a quarter a second
  KeptInput in;
  in.SetSync(&sync);
  CMidiInDeviceMenu menu;
  menu.Create("MIDI Input Device...", 41274);
  menu.SetInput(&in);
  ASSERT_TRUE(menu.SelectDevice(41274));
  EXPECT_TRUE(in.IsStarted());
  EXPECT_TRUE(devices.Feed(0, {1000000, {0x90, 60, 90}}));
  EXPECT_TRUE(devices.Feed(0, {1500000, {0x80, 60, 0}}));
  EXPECT_TRUE(devices.Feed(0, {1500000, {0xF0, 0x01, 0xF7}}));
  in.Stop();
  EXPECT_FALSE(devices.Feed(0, {1600000, {0x90, 62, 90}}));
  ASSERT_EQ(in.events.size(), 5u);
  EXPECT_EQ(in.events[0].status, 0x90);
  EXPECT_EQ(in.events[1].time, 240u);  // half a second at 60 a minute, 480 to the quarter
  EXPECT_EQ(in.events[2].status, 0xF0);
  EXPECT_EQ(in.events[4].data1, 0xF7);
  SetMidiClock(previousClock);
}

TEST_F(DevicesTest, SyncBeatsOncePerQuarterWhileItRuns) {
  FakeMidiClock clock;
  MidiClock* previousClock = SetMidiClock(&clock);
  struct Counting : CMaxMidiSync {
    void OnBeat() override { ++beats; }
    int beats = 0;
  } sync;
  sync.Open(0, 10);
  sync.SetTempo(CMaxMidiSync::BpmToTempo(120));
  sync.Start();
  clock.Advance(2100000);
  EXPECT_EQ(sync.beats, 4);
  sync.Stop();
  clock.Advance(2000000);
  EXPECT_EQ(sync.beats, 4);
  EXPECT_EQ(CMaxMidiSync::BpmToTempo(0), 500000u);
  SetMidiClock(previousClock);
}

}  // namespace
