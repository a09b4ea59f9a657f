// Alarms of the fake MIDI clock, and timed output through the scheduler.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MidiClock.h"
#include "platform/MidiScheduler.h"

namespace {

MidiShortEvent Note(BYTE key) {
  MidiShortEvent e;
  e.time = kMidiSendNow;
  e.status = 0x90;
  e.data1 = key;
  e.data2 = 100;
  return e;
}

TEST(FakeMidiClock, AlarmsFireInDeadlineOrderAtTheirTime) {
  FakeMidiClock clock;
  const std::int64_t start = clock.NowUs();
  std::vector<std::string> fired;
  auto a = clock.NewAlarm([&] { fired.push_back("a@" + std::to_string(clock.NowUs() - start)); });
  auto b = clock.NewAlarm([&] { fired.push_back("b@" + std::to_string(clock.NowUs() - start)); });
  a->ArmAt(start + 3000);
  b->ArmAt(start + 1000);
  clock.AdvanceTo(start + 2000);
  EXPECT_EQ(fired, std::vector<std::string>{"b@1000"});
  EXPECT_EQ(clock.NowUs(), start + 2000);
  EXPECT_TRUE(a->IsArmed());
  EXPECT_FALSE(b->IsArmed());
  b->ArmAt(start + 2500);
  a->Cancel();
  EXPECT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(fired, (std::vector<std::string>{"b@1000", "b@2500"}));
}

TEST(FakeMidiClock, ALateEventLoopWakesLateAndAnAlarmThatGoesAwayIsForgotten) {
  FakeMidiClock clock;
  clock.SetLateness(1500);
  const std::int64_t start = clock.NowUs();
  std::int64_t woke = 0;
  auto alarm = clock.NewAlarm([&] { woke = clock.NowUs() - start; });
  alarm->ArmAt(start + 10000);
  {
    auto gone = clock.NewAlarm([] { FAIL() << "a deleted alarm woke"; });
    gone->ArmAt(start + 5000);
  }
  EXPECT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(woke, 11500);
}

class SchedulerTest : public ::testing::Test {
 protected:
  KMidiScheduler::Item At(std::int64_t us, BYTE key) {
    KMidiScheduler::Item item;
    item.dueUs = start + us;
    item.port = &out;
    item.event = Note(key);
    return item;
  }
  KMidiScheduler::Item Cue(std::int64_t us, int cue) {
    KMidiScheduler::Item item;
    item.dueUs = start + us;
    item.cue = cue;
    return item;
  }
  FakeMidiClock clock;
  std::int64_t start = clock.NowUs();
  RecordingMidiOut out;
};

TEST_F(SchedulerTest, SendsEachMessageAtItsDeadlineAndRunsCuesInOrder) {
  out.SetOpen(true);
  out.StampWith(&clock);
  KMidiScheduler scheduler(clock);
  std::vector<int> cues;
  scheduler.SetCueHandler([&](int cue) { cues.push_back(cue); });
  int drained = 0;
  scheduler.SetDrainedHandler([&] { ++drained; });
  scheduler.Add({At(2000, 62), Cue(1000, 7), At(1000, 60), At(1000, 61)});
  EXPECT_TRUE(clock.RunUntilIdle());
  ASSERT_EQ(out.Events().size(), 3u);
  EXPECT_EQ(out.Events()[0].data1, 60);
  EXPECT_EQ(out.Events()[1].data1, 61);
  EXPECT_EQ(out.Events()[2].data1, 62);
  EXPECT_EQ(out.Times(), (std::vector<std::int64_t>{start + 1000, start + 1000, start + 2000}));
  EXPECT_EQ(cues, std::vector<int>{7});
  EXPECT_EQ(drained, 1);
  EXPECT_EQ(scheduler.WorstLateUs(), 0);
  EXPECT_EQ(scheduler.SentCount(), 3);
}

TEST_F(SchedulerTest, MessagesCloseTogetherGoInOneWakeAndLateWakesAreMeasured) {
  out.SetOpen(true);
  KMidiScheduler scheduler(clock);
  scheduler.Add({At(1000, 60), At(1000 + KMidiScheduler::kEarlyUs, 61), At(5000, 62)});
  clock.SetLateness(700);
  EXPECT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(clock.Wakes(), 2);
  EXPECT_EQ(scheduler.WorstLateUs(), 700);
}

TEST_F(SchedulerTest, ItemsAddedOrClearedFromACueAndAForgottenPort) {
  out.SetOpen(true);
  RecordingMidiOut other;
  other.SetOpen(true);
  KMidiScheduler scheduler(clock);
  scheduler.SetCueHandler([&](int cue) {
    if (cue == 1) scheduler.Add({At(4000, 70)});
    if (cue == 2) scheduler.Clear();
  });
  KMidiScheduler::Item elsewhere = At(3000, 50);
  elsewhere.port = &other;
  scheduler.Add({Cue(1000, 1), elsewhere, At(6000, 71), Cue(5000, 2), At(7000, 72)});
  scheduler.ForgetPort(&other);
  EXPECT_TRUE(clock.RunUntilIdle());
  EXPECT_TRUE(other.Events().empty());
  ASSERT_EQ(out.Events().size(), 1u);
  EXPECT_EQ(out.Events()[0].data1, 70);
  EXPECT_TRUE(scheduler.Empty());
}

}  // namespace
