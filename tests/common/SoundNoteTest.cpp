#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Globals.h"
#include "common/SoundNote.h"
#include "platform/MidiClock.h"

namespace {

using Log = std::vector<std::string>;

// A recording output and a fake clock whose pauses land in the output's log.
class SoundNote : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCommonGlobals();
    m_previousClock = SetMidiClock(&m_clock);
    m_clock.OnSleep([this](std::uint32_t ms) { m_out.Note("pause " + std::to_string(ms)); });
  }
  void TearDown() override {
    SetMidiClock(m_previousClock);
    ResetCommonGlobals();
  }

  RecordingMidiOut m_out;
  FakeMidiClock m_clock;
  MidiClock* m_previousClock = nullptr;
};

struct PreviewCase {
  int note;
  int instrument;
  int durationMs;
  int velocity;
  Log expected;
};

TEST_F(SoundNote, OpensSendsProgramNoteOnPauseNoteOffAndCloses) {
  const std::vector<PreviewCase> cases = {
      {60,
       1,
       200,
       63,
       {"open 1 78624", "put ffffffff c0 00 3f 00", "put ffffffff 90 3c 3f 00", "pause 200",
        "put ffffffff 80 3c 3f 00", "close"}},
      {127,
       128,
       960,
       100,
       {"open 1 78624", "put ffffffff c0 7f 64 00", "put ffffffff 90 7f 64 00", "pause 960",
        "put ffffffff 80 7f 64 00", "close"}},
      // Instrument 0 also sends program 0; a negative length pauses not at all.
      {0,
       0,
       -5,
       0,
       {"open 1 78624", "put ffffffff c0 00 00 00", "put ffffffff 90 00 00 00", "pause 0",
        "put ffffffff 80 00 00 00", "close"}},
      // Velocities outside the data-byte range are clamped.
      {40,
       25,
       240,
       500,
       {"open 1 78624", "put ffffffff c0 18 7f 00", "put ffffffff 90 28 7f 00", "pause 240",
        "put ffffffff 80 28 7f 00", "close"}},
      {40,
       25,
       240,
       -3,
       {"open 1 78624", "put ffffffff c0 18 00 00", "put ffffffff 90 28 00 00", "pause 240",
        "put ffffffff 80 28 00 00", "close"}},
  };
  for (const auto& c : cases) {
    RecordingMidiOut out;
    m_clock.OnSleep([&out](std::uint32_t ms) { out.Note("pause " + std::to_string(ms)); });
    PlayPreviewNote(&out, c.note, c.instrument, c.durationMs, c.velocity);
    EXPECT_EQ(out.Log(), c.expected) << "note " << c.note << ", instrument " << c.instrument;
    EXPECT_FALSE(out.IsOpen());
  }
}

TEST_F(SoundNote, SilentInstrumentsAndImpossibleNotesSendNothing) {
  struct Silent {
    int note;
    int instrument;
  };
  const std::vector<Silent> cases = {{60, 129}, {60, 130}, {60, 1000}, {60, -1}, {128, 1}, {-1, 1}};
  for (const auto& c : cases) {
    PlayPreviewNote(&m_out, c.note, c.instrument, kPreviewDurationMs, kPreviewVelocity);
    EXPECT_EQ(m_out.Log(), Log{}) << "note " << c.note << ", instrument " << c.instrument;
  }
  PlayPreviewNote(nullptr, 60, 1, kPreviewDurationMs, kPreviewVelocity);
  EXPECT_TRUE(m_clock.Pauses().empty());
}

TEST_F(SoundNote, ClosesAnOutputThatPlaybackHadOpened) {
  m_out.SetOpen(true);
  PlayPreviewNote(&m_out, 64, 1, kPreviewDurationMs, kPreviewVelocity);
  const Log expected = {"put ffffffff c0 00 3f 00", "put ffffffff 90 40 3f 00", "pause 200",
                        "put ffffffff 80 40 3f 00", "close"};
  EXPECT_EQ(m_out.Log(), expected);
  EXPECT_FALSE(m_out.IsOpen());
}

TEST_F(SoundNote, OpensTheChosenDeviceLessOne) {
  g_MidiOutDevice = 5;
  PlayPreviewNote(&m_out, 64, 1, kPreviewDurationMs, kPreviewVelocity);
  ASSERT_FALSE(m_out.Log().empty());
  EXPECT_EQ(m_out.Log().front(), "open 4 78624");
}

TEST_F(SoundNote, AnOutputThatWillNotOpenIsLeftAlone) {
  m_out.SetOpenFails(true);
  PlayPreviewNote(&m_out, 64, 1, kPreviewDurationMs, kPreviewVelocity);
  EXPECT_EQ(m_out.Log(), Log{"open 1 78624"});
  EXPECT_TRUE(m_clock.Pauses().empty());
  EXPECT_FALSE(m_out.IsOpen());
}

}  // namespace
