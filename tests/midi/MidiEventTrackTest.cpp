// The event track: recording appends and grows, readers see nothing while a
// flag is set, absolute times and copies of runs, names, and detaching.

#include <gtest/gtest.h>

#include "MidiTrackTestSupport.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/MidiEventTrack.h"

namespace {

TEST(MidiEventTrack, StartsWithAZeroFilledChunkAllocatedOnce) {
  MidiEventTrack track;
  EXPECT_EQ(track.GetCapacity(), 8192u);
  EXPECT_EQ(track.GetCount(), 0u);
  EXPECT_EQ(track.GetEvents()[8191].status, 0);
  EXPECT_EQ(track.Allocate(100), FALSE);
  EXPECT_EQ(track.GetCapacity(), 8192u);
  EXPECT_EQ(track.GetNextEvent(), nullptr);
}

TEST(MidiEventTrack, AppendsOnlyWhileRecordingAndGrowsByAChunk) {
  MidiEventTrack track;
  track.AddEvent(Note(1, 0x90, 60, 100));
  EXPECT_EQ(track.GetCount(), 0u);
  track.SetRecording(true);
  for (DWORD i = 0; i < 8193; ++i) track.AddEvent(Note(i, 0x90, static_cast<BYTE>(i % 128), 1));
  EXPECT_EQ(track.GetCount(), 8193u);
  EXPECT_EQ(track.GetCapacity(), 16384u);
  EXPECT_EQ(track.GetEvents()[8191].time, 8191u);
  EXPECT_EQ(track.GetEvents()[8192].data1, 8192 % 128);
  EXPECT_EQ(track.GetEvents()[8193].status, 0);  // new space is zero-filled
}

TEST(MidiEventTrack, OffersEventsOnlyWithBothFlagsClear) {
  struct Case {
    bool recording, hidden, offered;
  };
  for (const Case c : {Case{false, false, true}, Case{true, false, false}, Case{false, true, false},
                       Case{true, true, false}}) {
    SCOPED_TRACE(::testing::Message() << "recording " << c.recording << " hidden " << c.hidden);
    MidiEventTrack track;
    Record(track, {Note(0, 0x90, 60, 100), Note(10, 0x80, 60, 0)});
    track.SetRecording(c.recording);
    track.SetHidden(c.hidden);
    DWORD count = 2;
    EXPECT_EQ(track.CopyOut(0, count) != nullptr, c.offered);
    EXPECT_EQ(count, c.offered ? 2u : 0u);
    const MidiEvent* first = track.GetNextEvent();
    EXPECT_EQ(first != nullptr, c.offered);
    if (!c.offered) continue;
    EXPECT_EQ(first->data1, 60);
    EXPECT_EQ(track.GetNextEvent()->status, 0x80);
    EXPECT_EQ(track.GetNextEvent(), nullptr);
    EXPECT_EQ(track.GetCursor(), 2u);
  }
}

TEST(MidiEventTrack, CopiesRunsWithAbsoluteTimes) {
  MidiEventTrack track;
  Record(track, {Note(5, 0x90, 60, 1), Note(10, 0x90, 62, 1), Note(0, 0x90, 64, 1), Note(7, 0x80, 60, 0)});
  EXPECT_EQ(track.GetAbsoluteTime(0), 5u);
  EXPECT_EQ(track.GetAbsoluteTime(3), 22u);
  EXPECT_EQ(track.GetAbsoluteTime(4), 0u);
  struct Case {
    DWORD first, count;
    std::vector<DWORD> times;
  };
  const std::vector<Case> cases = {
      {0, 4, {5, 15, 15, 22}},
      {1, 2, {15, 15}},
      {2, 100, {15, 22}},
      {3, 1, {22}},
      {4, 1, {}},
      {9, 3, {}},
      {1, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "first " << c.first << " count " << c.count);
    DWORD count = c.count;
    const auto block = track.CopyOut(c.first, count);
    ASSERT_EQ(count, c.times.size());
    EXPECT_EQ(block == nullptr, c.times.empty());
    for (DWORD i = 0; i < count; ++i) {
      EXPECT_EQ(block[i].time, c.times[i]);
      EXPECT_EQ(block[i].data1, track.GetEvents()[c.first + i].data1);
    }
  }
  EXPECT_EQ(track.GetEvents()[1].time, 10u);  // the track keeps its delta times
}

TEST(MidiEventTrack, KeepsItsOwnCopyOfTheName) {
  MidiEventTrack track;
  EXPECT_EQ(track.GetName(), nullptr);
  char text[] = "Lead";
  track.SetName(text);
  text[0] = 'X';
  EXPECT_STREQ(track.GetName(), "Lead");
  track.SetName("");
  EXPECT_STREQ(track.GetName(), "");
  track.SetName(nullptr);
  EXPECT_EQ(track.GetName(), nullptr);
}

TEST(MidiEventTrack, DetachLeavesFileWrapperAndOutput) {
  FakeTrackOutput output;
  CMaxMidiSMF smf;
  MidiEventTrack kept;
  {
    MidiEventTrack track;
    smf.AddTrack(&kept);
    smf.AddTrack(&track);
    output.Add(&track);
    track.Detach();
    EXPECT_EQ(track.GetSMF(), nullptr);
    EXPECT_EQ(track.GetOutput(), nullptr);
    EXPECT_EQ(smf.GetTrackCount(), 1);
    EXPECT_TRUE(output.tracks.empty());

    smf.AddTrack(&track);
    output.Add(&track);
  }  // the destructor detaches as well
  EXPECT_EQ(smf.GetTrackCount(), 1);
  EXPECT_EQ(smf.GetTrack(0), &kept);
  EXPECT_TRUE(output.tracks.empty());
  EXPECT_EQ(output.removals, 2);
}

}  // namespace
