#include "platform/Timers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Timers, OnlyRunningTimersTick) {
  FakeTimerHost host;
  std::vector<UINT_PTR> ticks;
  host.SetHandler([&](UINT_PTR id) { ticks.push_back(id); });

  EXPECT_FALSE(host.Fire(1111));
  EXPECT_EQ(host.SetTimer(1111, 100), 1111u);
  EXPECT_EQ(host.SetTimer(2222, 30000), 2222u);
  EXPECT_TRUE(host.Fire(1111));
  EXPECT_TRUE(host.Fire(2222));
  EXPECT_TRUE(host.KillTimer(1111));
  EXPECT_FALSE(host.KillTimer(1111));
  EXPECT_FALSE(host.Fire(1111));
  EXPECT_EQ(ticks, (std::vector<UINT_PTR>{1111, 2222}));
}

TEST(Timers, SettingARunningTimerRestartsItWithTheNewInterval) {
  FakeTimerHost host;
  host.SetTimer(1111, 400);
  host.SetTimer(1111, 150);
  EXPECT_EQ(host.Interval(1111), 150u);
  host.KillTimer(1111);
  EXPECT_EQ(host.Interval(1111), 0u);
}

TEST(Timers, AHandlerMayStopItsOwnTimer) {
  FakeTimerHost host;
  int ticks = 0;
  host.SetHandler([&](UINT_PTR id) {
    ++ticks;
    host.KillTimer(id);
  });
  host.SetTimer(1111, 50);
  EXPECT_TRUE(host.Fire(1111));
  EXPECT_FALSE(host.Fire(1111));
  EXPECT_EQ(ticks, 1);
}

TEST(Timers, NoFreeTimerFailsUntilOneIsFree) {
  FakeTimerHost host;
  host.FailNextSetTimers(2);
  int attempts = 1;
  while (host.SetTimer(2222, 30000) == 0) ++attempts;  // the Retry answer of the timer question
  EXPECT_EQ(attempts, 3);
  EXPECT_EQ(host.SetTimerCalls(), 3);
  EXPECT_TRUE(host.IsRunning(2222));
}

}  // namespace
