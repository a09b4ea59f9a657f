// Writing Standard MIDI Files: the exact bytes of a hand-built file come back
// from what was read of it, the format follows the track count, and events
// that a file cannot hold are refused.

#include <gtest/gtest.h>

#include "MidiFileTestBytes.h"
#include "platform/MidiFileReader.h"
#include "platform/MidiFileWriter.h"

namespace {

TEST(MidiFileWriter, WritesBackTheBytesItRead) {
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(midi_test::BassFile(), content, error)) << error;
  EXPECT_EQ(MidiFileBytes(content), midi_test::BassFile());
}

TEST(MidiFileWriter, WritesFormatZeroWithSeveralTracksAsFormatOne) {
  struct Case {
    std::uint16_t format;
    std::size_t tracks;
    std::uint8_t written;
  };
  for (const Case c : {Case{0, 1, 0}, Case{0, 2, 1}, Case{1, 1, 1}, Case{2, 3, 2}}) {
    MidiFileContent content;
    content.format = c.format;
    content.tracks.resize(c.tracks);
    const auto bytes = MidiFileBytes(content);
    EXPECT_EQ(bytes[9], c.written) << c.format << " with " << c.tracks;
    EXPECT_EQ(bytes[11], c.tracks);
  }
}

TEST(MidiFileWriter, PlacesAMetaEventNoLaterThanTheNextEvent) {
  MidiFileContent content;
  content.tracks.resize(1);
  content.tracks[0].events = {{10, 0x90, 0x40, 0x40, 0}};
  content.tracks[0].metas = {{0, 4, 0x06, {'A'}}, {0, 30, 0x06, {'B'}}, {1, 7, 0x06, {'C'}}};
  const std::vector<std::uint8_t> expected = {
      0x04, 0xFF, 0x06, 0x01, 'A',  // marker A at 4
      0x06, 0xFF, 0x06, 0x01, 'B',  // marker B held back to the note's time, 10
      0x00, 0x90, 0x40, 0x40,       // the note at 10
      0x07, 0xFF, 0x06, 0x01, 'C',  // marker C 7 ticks after the note
      0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(MidiFileBytes(content), midi_test::WithHeader(1, 1, {expected}, 480));
}

struct BadEvents {
  const char* name;
  std::vector<MidiShortEvent> events;
};

TEST(MidiFileWriter, RefusesEventsAFileCannotHold) {
  const std::vector<BadEvents> cases = {
      {"data byte as status", {{0, 0x40, 0x40, 0x40, 0}}},
      {"real-time status", {{0, 0xF8, 0, 0, 0}}},
      {"meta status", {{0, 0xFF, 0x2F, 0, 0}}},
      {"data1 out of range", {{0, 0x90, 0x80, 0x40, 0}}},
      {"data2 out of range", {{0, 0xB0, 0x07, 0xFF, 0}}},
      {"send-now time", {{0xFFFFFFFF, 0x90, 0x40, 0x40, 0}}},
      {"sysex not starting with F0", {{0, 0xF0, 0x7E, 0, 0}, {0, 0xF0, 0xF7, 0, 0}}},
      {"sysex never closed", {{0, 0xF0, 0xF0, 0, 0}, {0, 0xF0, 0x7E, 0, 0}}},
      {"sysex interrupted", {{0, 0xF0, 0xF0, 0, 0}, {0, 0x90, 0x40, 0x40, 0}, {0, 0xF0, 0xF7, 0, 0}}},
      {"sysex spread over time", {{0, 0xF0, 0xF0, 0, 0}, {5, 0xF0, 0xF7, 0, 0}}},
  };
  for (const BadEvents& bad : cases) EXPECT_NE(CheckMidiEvents(bad.events), "") << bad.name;
  // A program change's unused second byte does not matter.
  EXPECT_EQ(CheckMidiEvents(std::vector<MidiShortEvent>{{0, 0xC0, 0x05, 0xFF, 0}}), "");
}

}  // namespace

namespace {

TEST(MidiFileWriter, KeepsEventTimesBeyondTheLongestDelta) {
  // The reader sums the deltas of metas and escapes into the next event, so
  // an event may lie further from the one before than one delta can hold.
  MidiFileContent content;
  content.tracks.resize(1);
  content.tracks[0].events = {{5, 0x90, 0x40, 0x40, 0}, {2 * kMidiMaxDelta + 7, 0x80, 0x40, 0x00, 0}};
  ASSERT_EQ(CheckMidiEvents(content.tracks[0].events), "");
  const std::vector<std::uint8_t> bytes = MidiFileBytes(content);
  MidiFileContent read;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(bytes, read, error)) << error;
  ASSERT_EQ(read.tracks[0].events.size(), 2u);
  EXPECT_EQ(read.tracks[0].events[1].time, 2 * kMidiMaxDelta + 7);
  EXPECT_TRUE(read.tracks[0].metas.empty());
  EXPECT_EQ(MidiFileBytes(read), bytes);
}

TEST(MidiFileWriter, WritesTheStatusAgainAfterALongDelta) {
  // Two note-offs of one status: the second lies beyond one delta, and the
  // escape events that carry its time end running status.
  MidiFileContent content;
  content.tracks.resize(1);
  content.tracks[0].events = {{0, 0x80, 0x40, 0x00, 0}, {kMidiMaxDelta + 5, 0x80, 0x3C, 0x00, 0}};
  const std::vector<std::uint8_t> bytes = MidiFileBytes(content);
  MidiFileContent read;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(bytes, read, error)) << error;
  ASSERT_EQ(read.tracks[0].events.size(), 2u);
  EXPECT_EQ(read.tracks[0].events[1].status, 0x80);
  EXPECT_EQ(read.tracks[0].events[1].data1, 0x3C);
  EXPECT_EQ(read.tracks[0].events[1].time, kMidiMaxDelta + 5);
}

TEST(MidiFileWriter, KeepsTheTimesOfMetasFarAfterTheLastEvent) {
  // Five markers 4,000 ticks apart, the first more than a delta can hold
  // after the last note (the reader takes such a file: it sums the deltas).
  MidiFileContent content;
  content.tracks.resize(1);
  content.tracks[0].events = {{0, 0x90, 0x40, 0x40, 0}, {96, 0x80, 0x40, 0x00, 0}};
  for (std::uint32_t k = 0; k < 5; ++k) {
    content.tracks[0].metas.push_back({2, kMidiMaxDelta + 10 + 4000 * k, 0x06, {static_cast<BYTE>('a' + k)}});
  }
  const std::vector<std::uint8_t> bytes = MidiFileBytes(content);
  MidiFileContent read;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(bytes, read, error)) << error;
  ASSERT_EQ(read.tracks[0].metas.size(), 5u);
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(read.tracks[0].metas[k].offset, content.tracks[0].metas[k].offset) << k;
    EXPECT_EQ(read.tracks[0].metas[k].before, 2u) << k;
  }
  EXPECT_EQ(read.tracks[0].events.size(), 2u);
  EXPECT_EQ(MidiFileBytes(read), bytes);
}

}  // namespace
