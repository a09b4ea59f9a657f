#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/MidiClock.h"

namespace {

TEST(MidiClock, SystemClockSleepsAndAnInstalledClockReplacesIt) {
  const auto start = std::chrono::steady_clock::now();
  CurrentMidiClock().Sleep(30);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));

  FakeMidiClock fake;
  MidiClock* previous = SetMidiClock(&fake);
  const auto fakeStart = std::chrono::steady_clock::now();
  CurrentMidiClock().Sleep(60000);
  EXPECT_LT(std::chrono::steady_clock::now() - fakeStart, std::chrono::seconds(10));
  EXPECT_EQ(fake.Pauses(), std::vector<std::uint32_t>{60000});
  EXPECT_EQ(SetMidiClock(previous), &fake);
}

}  // namespace
