// The Standard MIDI File wrapper: tracks written with their names and read
// back, chunked reading into growing arrays, the format following the track
// count, and calls in the wrong mode or for stray tracks doing nothing.

#include <gtest/gtest.h>

#include "MidiTrackTestSupport.h"
#include "midi/CMaxMidiSMF.h"
#include "support/TempFolder.h"

namespace {

using stavlin_test::TempFolder;

const std::vector<MidiEvent> kLead = {Note(0, 0xC0, 24, 0),   Note(0, 0x90, 60, 100), Note(480, 0x80, 60, 0),
                                      Note(0, 0xF0, 0xF0, 0), Note(0, 0xF0, 0x7E, 0), Note(0, 0xF0, 0xF7, 0),
                                      Note(240, 0x91, 64, 90)};

std::vector<MidiEvent> EventsOf(const MidiEventTrack& track) {
  return {track.GetEvents(), track.GetEvents() + track.GetCount()};
}

void ExpectSameEvents(const std::vector<MidiEvent>& actual, const std::vector<MidiEvent>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].time, expected[i].time);
    EXPECT_EQ(actual[i].status, expected[i].status);
    EXPECT_EQ(actual[i].data1, expected[i].data1);
    EXPECT_EQ(actual[i].data2, expected[i].data2);
  }
}

TEST(CMaxMidiSMF, WritesTracksWithNamesAndReadsThemBack) {
  TempFolder folder("smf");
  const std::string path = (folder.Path() / "song.mid").string();
  {
    MidiEventTrack lead, bass;
    lead.SetName("Lead");
    Record(lead, kLead);
    Record(bass, {Note(960, 0x92, 40, 70)});
    CMaxMidiSMF smf;
    ASSERT_TRUE(smf.Open(path.c_str(), 'w', 0));
    smf.AddTrack(&lead);
    EXPECT_EQ(smf.GetFormat(), 0u);
    smf.AddTrack(&bass);
    EXPECT_EQ(smf.GetFormat(), 1u);
    EXPECT_TRUE(smf.WriteAll());
    EXPECT_TRUE(smf.Close());
    EXPECT_EQ(lead.GetSMF(), nullptr);
    EXPECT_EQ(smf.GetTrackCount(), 0);
    EXPECT_EQ(lead.GetCount(), kLead.size());  // closing deletes nothing
  }
  CMaxMidiSMF smf;
  ASSERT_TRUE(smf.Open(path.c_str(), 'r', 1));
  EXPECT_EQ(smf.GetFormat(), 1u);
  ASSERT_EQ(smf.GetNumTracks(), 2u);
  MidiEventTrack lead, bass;
  FakeTrackOutput output;
  output.Add(&lead);
  smf.AddTrack(&lead);
  smf.AddTrack(&bass);
  ASSERT_TRUE(smf.ReadAll());
  ExpectSameEvents(EventsOf(lead), kLead);
  ExpectSameEvents(EventsOf(bass), {Note(960, 0x92, 40, 70)});
  EXPECT_STREQ(lead.GetName(), "Lead");
  EXPECT_EQ(bass.GetName(), nullptr);  // no name was written for it
  std::vector<BYTE> data;
  EXPECT_EQ(smf.ReadMetaEvent(&bass, 3, data), -1);
  EXPECT_EQ(output.resolutions, std::vector<DWORD>{480});
  EXPECT_EQ(lead.GetNextEvent()->status, 0xC0);
  ASSERT_TRUE(smf.ReadAll());  // reading again starts from the beginning
  EXPECT_EQ(lead.GetCount(), kLead.size());
  EXPECT_EQ(lead.GetCursor(), 0u);
  smf.Close();
  EXPECT_EQ(smf.GetNumTracks(), 0u);
  EXPECT_FALSE(smf.IsOpen());
}

TEST(CMaxMidiSMF, ReadTrackGrowsTheArrayByWhatWasRead) {
  struct Case {
    DWORD events, capacity;
  };
  TempFolder folder("smf");
  for (const Case c : {Case{0, 8192}, Case{100, 8292}, Case{8192, 16384}, Case{20000, 32768}}) {
    SCOPED_TRACE(c.events);
    const std::string path = (folder.Path() / ("n" + std::to_string(c.events) + ".mid")).string();
    {
      MidiEventTrack track;
      track.SetRecording(true);
      for (DWORD i = 0; i < c.events; ++i) track.AddEvent(Note(1, 0x90, static_cast<BYTE>(i % 128), 64));
      track.SetRecording(false);
      CMaxMidiSMF smf;
      ASSERT_TRUE(smf.Open(path.c_str(), 'w', 0));
      smf.AddTrack(&track);
      smf.WriteAll();
    }
    CMaxMidiSMF smf;
    ASSERT_TRUE(smf.Open(path.c_str(), 'r', 1));
    MidiEventTrack track;
    smf.AddTrack(&track);
    EXPECT_EQ(smf.ReadTrack(&track), c.events > 0 ? TRUE : FALSE);
    EXPECT_EQ(track.GetCount(), c.events);
    EXPECT_EQ(track.GetCapacity(), c.capacity);
    if (c.events > 0) {
      EXPECT_EQ(track.GetEvents()[c.events - 1].data1, (c.events - 1) % 128);
    }
  }
}

TEST(CMaxMidiSMF, WriteTrackWritesTheEventsFromTheCursorOn) {
  TempFolder folder("smf");
  const std::string path = (folder.Path() / "rest.mid").string();
  {
    MidiEventTrack track;
    Record(track, {Note(0, 0x90, 60, 1), Note(5, 0x90, 62, 1), Note(5, 0x90, 64, 1)});
    track.GetNextEvent();
    CMaxMidiSMF smf;
    ASSERT_TRUE(smf.Open(path.c_str(), 'w', 0));
    smf.AddTrack(&track);
    EXPECT_TRUE(smf.WriteTrack(&track));
  }
  CMaxMidiSMF smf;
  ASSERT_TRUE(smf.Open(path.c_str(), 'r', 1));
  MidiEventTrack track;
  smf.AddTrack(&track);
  smf.ReadAll();
  ExpectSameEvents(EventsOf(track), {Note(5, 0x90, 62, 1), Note(5, 0x90, 64, 1)});
}

TEST(CMaxMidiSMF, RefusesCallsInTheWrongModeOrForStrayTracks) {
  TempFolder folder("smf");
  const std::string path = (folder.Path() / "one.mid").string();
  {
    MidiEventTrack track;
    Record(track, {Note(0, 0x90, 60, 1)});
    track.SetName("One");
    CMaxMidiSMF smf;
    smf.Open(path.c_str(), 'w', 0);
    smf.AddTrack(&track);
    smf.WriteAll();
  }
  const BYTE text[] = {'x'};
  std::vector<BYTE> data{9};
  MidiEventTrack stray;
  Record(stray, {Note(0, 0x90, 1, 1)});

  CMaxMidiSMF closed;
  MidiEventTrack attached;
  closed.AddTrack(&attached);
  EXPECT_FALSE(closed.ReadTrack(&attached));
  EXPECT_FALSE(closed.WriteTrack(&attached));
  EXPECT_FALSE(closed.ReadAll());
  EXPECT_FALSE(closed.WriteAll());
  EXPECT_EQ(closed.ReadMetaEvent(&attached, 3, data), -1);

  CMaxMidiSMF reader;
  ASSERT_TRUE(reader.Open(path.c_str(), 'r', 1));
  EXPECT_FALSE(reader.ReadAll());  // no tracks attached yet
  MidiEventTrack track;
  reader.AddTrack(&track);
  EXPECT_FALSE(reader.WriteTrack(&track));
  EXPECT_FALSE(reader.WriteAll());
  EXPECT_FALSE(reader.WriteMetaEvent(&track, 6, text, 1));
  EXPECT_FALSE(reader.ReadTrack(&stray));
  EXPECT_EQ(reader.ReadMetaEvent(&stray, 3, data), -1);
  EXPECT_EQ(data, std::vector<BYTE>{9});
  EXPECT_EQ(stray.GetCount(), 1u);

  CMaxMidiSMF writer;
  ASSERT_TRUE(writer.Open((folder.Path() / "two.mid").c_str(), 'w', 0));
  EXPECT_FALSE(writer.WriteAll());  // no tracks attached yet
  EXPECT_FALSE(writer.WriteTrack(&stray));
  EXPECT_FALSE(writer.WriteMetaEvent(&stray, 6, text, 1));
  EXPECT_FALSE(writer.WriteMetaEvent(&attached, 6, text, 1));  // attached elsewhere
}

TEST(CMaxMidiSMF, OpenFailureLeavesItClosed) {
  TempFolder folder("smf");
  CMaxMidiSMF smf;
  EXPECT_FALSE(smf.Open((folder.Path() / "none.mid").c_str(), 'r', 1));
  EXPECT_FALSE(smf.IsOpen());
  EXPECT_EQ(smf.GetNumTracks(), 0u);
  // A file that cannot be written is reported when it is closed.
  ASSERT_TRUE(smf.Open((folder.Path() / "no-folder" / "x.mid").c_str(), 'w', 0));
  EXPECT_FALSE(smf.Close());
}

TEST(CMaxMidiSMF, TrackBelongsToOneWrapperAtATime) {
  CMaxMidiSMF first, second;
  MidiEventTrack a, b;
  first.AddTrack(&a);
  first.AddTrack(&b);
  first.AddTrack(&a);  // already there: nothing changes
  EXPECT_EQ(first.GetTrackCount(), 2);
  second.AddTrack(&a);
  EXPECT_EQ(first.GetTrackCount(), 1);
  EXPECT_EQ(first.GetTrack(0), &b);
  EXPECT_EQ(a.GetSMF(), &second);
  EXPECT_FALSE(first.RemoveTrack(&a));
  EXPECT_TRUE(first.RemoveTrack(&b));
  EXPECT_EQ(b.GetSMF(), nullptr);
  EXPECT_EQ(first.GetTrackCount(), 0);
}

}  // namespace
