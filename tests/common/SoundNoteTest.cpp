#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Globals.h"
#include "common/SoundNote.h"
#include "platform/MidiClock.h"
#include "platform/MidiScheduler.h"

namespace {

using Log = std::vector<std::string>;

// A recording output stamped by a fake clock; the note-off waits on the
// clock's alarm, so a test moves the time to hear the note end.
class SoundNote : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCommonGlobals();
    m_previousClock = SetMidiClock(&m_clock);
    ResetSoundScheduler();
    m_out.StampWith(&m_clock);
  }
  void TearDown() override {
    ResetSoundScheduler();
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
  std::int64_t offAfterUs;
};

TEST_F(SoundNote, SendsProgramAndNoteOnAtOnceAndTheNoteOffAtTheNotesEnd) {
  const std::vector<PreviewCase> cases = {
      {60,
       1,
       200,
       63,
       {"open 1 78624", "put ffffffff c0 00 3f 00", "put ffffffff 90 3c 3f 00", "put ffffffff 80 3c 3f 00"},
       200000},
      {127,
       128,
       960,
       100,
       {"open 1 78624", "put ffffffff c0 7f 64 00", "put ffffffff 90 7f 64 00", "put ffffffff 80 7f 64 00"},
       960000},
      // Instrument 0 also sends program 0; a negative length ends at once.
      {0,
       0,
       -5,
       0,
       {"open 1 78624", "put ffffffff c0 00 00 00", "put ffffffff 90 00 00 00", "put ffffffff 80 00 00 00"},
       0},
      // Velocities outside the data-byte range are clamped.
      {40,
       25,
       240,
       500,
       {"open 1 78624", "put ffffffff c0 18 7f 00", "put ffffffff 90 28 7f 00", "put ffffffff 80 28 7f 00"},
       240000},
      {40,
       25,
       240,
       -3,
       {"open 1 78624", "put ffffffff c0 18 00 00", "put ffffffff 90 28 00 00", "put ffffffff 80 28 00 00"},
       240000},
  };
  for (const auto& c : cases) {
    RecordingMidiOut out;
    out.StampWith(&m_clock);
    const std::int64_t start = m_clock.NowUs();
    PlayPreviewNote(&out, c.note, c.instrument, c.durationMs, c.velocity);
    // The call does not wait: the note-off is still to come.
    ASSERT_EQ(out.Log().size(), c.expected.size() - 1) << "note " << c.note;
    EXPECT_TRUE(m_clock.Pauses().empty());
    ASSERT_TRUE(m_clock.RunUntilIdle());
    EXPECT_EQ(out.Log(), c.expected) << "note " << c.note << ", instrument " << c.instrument;
    ASSERT_EQ(out.Times().size(), 3u);
    EXPECT_EQ(out.Times()[1], start);
    EXPECT_EQ(out.Times()[2], start + c.offAfterUs) << "note " << c.note;
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
  EXPECT_FALSE(m_clock.NextDue().has_value());
}

TEST_F(SoundNote, NotesTypedQuicklyOverlapAndEachEndsOnItsOwnTime) {
  PlayPreviewNote(&m_out, 60, 1, 200, 63);
  m_clock.Advance(50000);
  PlayPreviewNote(&m_out, 64, 1, 200, 63);
  ASSERT_TRUE(m_clock.RunUntilIdle());
  const Log expected = {"open 1 78624",
                        "put ffffffff c0 00 3f 00",
                        "put ffffffff 90 3c 3f 00",
                        "put ffffffff c0 00 3f 00",
                        "put ffffffff 90 40 3f 00",
                        "put ffffffff 80 3c 3f 00",
                        "put ffffffff 80 40 3f 00"};
  EXPECT_EQ(m_out.Log(), expected);
  // Times of the sent events: program, on 60, program, on 64, off 60, off 64.
  ASSERT_EQ(m_out.Times().size(), 6u);
  EXPECT_EQ(m_out.Times()[4] - m_out.Times()[1], 200000);
  EXPECT_EQ(m_out.Times()[5] - m_out.Times()[3], 200000);
}

TEST_F(SoundNote, OpensTheChosenDeviceLessOneAndLeavesItOpenForTheNext) {
  g_MidiOutDevice = 5;
  PlayPreviewNote(&m_out, 64, 1, kPreviewDurationMs, kPreviewVelocity);
  ASSERT_TRUE(m_clock.RunUntilIdle());
  ASSERT_FALSE(m_out.Log().empty());
  EXPECT_EQ(m_out.Log().front(), "open 4 78624");
  EXPECT_TRUE(m_out.IsOpen());
  PlayPreviewNote(&m_out, 65, 1, kPreviewDurationMs, kPreviewVelocity);
  EXPECT_EQ(std::count(m_out.Log().begin(), m_out.Log().end(), "open 4 78624"), 1);
}

TEST_F(SoundNote, AnOutputThatWillNotOpenIsLeftAlone) {
  m_out.SetOpenFails(true);
  PlayPreviewNote(&m_out, 64, 1, kPreviewDurationMs, kPreviewVelocity);
  EXPECT_EQ(m_out.Log(), Log{"open 1 78624"});
  EXPECT_FALSE(m_clock.NextDue().has_value());
  EXPECT_FALSE(m_out.IsOpen());
}

TEST_F(SoundNote, AnOutputThatGoesAwayLosesItsPendingNoteOff) {
  {
    RecordingMidiOut out;
    PlayPreviewNote(&out, 64, 1, kPreviewDurationMs, kPreviewVelocity);
    ForgetMidiPortEverywhere(&out);
  }
  EXPECT_TRUE(m_clock.RunUntilIdle());
}

}  // namespace
