// Reading Standard MIDI Files from bytes: events, running status, System
// Exclusive runs, meta events with their times, and refusal of malformed input.

#include <gtest/gtest.h>

#include <random>

#include "MidiFileTestBytes.h"
#include "platform/MidiFileReader.h"
#include "platform/MidiFileWriter.h"

namespace {

using midi_test::BassFile;
using midi_test::WithHeader;

struct Ev {
  std::uint32_t time;
  int status, data1, data2;
};

TEST(MidiFileReader, ReadsEventsWithRunningStatusSysExAndFoldedMetaTimes) {
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(BassFile(), content, error)) << error;
  EXPECT_EQ(content.format, 1);
  EXPECT_EQ(content.division, 96);
  ASSERT_EQ(content.tracks.size(), 1u);
  const std::vector<Ev> expected = {{0, 0xC0, 0x21, 0}, {16, 0x90, 0x3C, 0x64}, {8, 0x90, 0x3E, 0x50},
                                    {8, 0x80, 0x3C, 0}, {0, 0xF0, 0xF0, 0},     {0, 0xF0, 0x7E, 0},
                                    {0, 0xF0, 0x01, 0}, {0, 0xF0, 0xF7, 0},     {4, 0xB0, 0x07, 0x64}};
  const auto& events = content.tracks[0].events;
  ASSERT_EQ(events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(events[i].time, expected[i].time);
    EXPECT_EQ(events[i].status, expected[i].status);
    EXPECT_EQ(events[i].data1, expected[i].data1);
    EXPECT_EQ(events[i].data2, expected[i].data2);
    EXPECT_EQ(events[i].reserved, 0);
  }
  const auto& metas = content.tracks[0].metas;
  ASSERT_EQ(metas.size(), 2u);
  EXPECT_EQ(metas[0].type, 3);
  EXPECT_EQ(std::string(metas[0].data.begin(), metas[0].data.end()), "Bass");
  EXPECT_EQ(metas[0].before, 0u);
  EXPECT_EQ(metas[1].type, 0x51);
  EXPECT_EQ(metas[1].before, 3u);
  EXPECT_EQ(metas[1].offset, 5u);
  EXPECT_EQ(metas[1].data, (std::vector<BYTE>{0x07, 0xA1, 0x20}));
}

TEST(MidiFileReader, SkipsUnknownChunksAndIgnoresBytesAfterEndOfTrack) {
  std::vector<std::uint8_t> bytes = WithHeader(0, 1, {});
  bytes.insert(bytes.end(), {'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 1, 2});
  const std::vector<std::uint8_t> body = {0x00, 0x90, 0x40, 0x40, 0x00, 0xFF, 0x2F, 0x00, 0x00, 0x90};
  const auto track = WithHeader(0, 1, {body});
  bytes.insert(bytes.end(), track.begin() + 14, track.end());
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(bytes, content, error)) << error;
  ASSERT_EQ(content.tracks.size(), 1u);
  EXPECT_EQ(content.tracks[0].events.size(), 1u);
}

// count meta events of the longest delta a file can hold, then a note.
std::vector<std::uint8_t> LongSilence(int count) {
  std::vector<std::uint8_t> body;
  for (int i = 0; i < count; ++i) body.insert(body.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00});
  body.insert(body.end(), {0x00, 0x90, 0x40, 0x40});
  return body;
}

struct BadFile {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

TEST(MidiFileReader, RefusesMalformedFilesAndKeepsContent) {
  const std::vector<BadFile> cases = {
      {"empty", {}},
      {"wrong magic", {'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 1, 0, 1, 0, 0x60}},
      {"short header", {'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 1, 0, 1}},
      {"header length beyond file", {'M', 'T', 'h', 'd', 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 1, 0, 0x60}},
      {"format 3", WithHeader(3, 1, {{0x00, 0xFF, 0x2F, 0x00}})},
      {"format 0 with two tracks", WithHeader(0, 2, {{0x00, 0xFF, 0x2F, 0x00}, {0x00, 0xFF, 0x2F, 0x00}})},
      {"missing track", WithHeader(1, 2, {{0x00, 0xFF, 0x2F, 0x00}})},
      {"data byte without status", WithHeader(1, 1, {{0x00, 0x40, 0x40}})},
      {"data byte out of range", WithHeader(1, 1, {{0x00, 0x90, 0x40, 0x80}})},
      {"delta of five bytes", WithHeader(1, 1, {{0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x40, 0x40}})},
      {"delta without event", WithHeader(1, 1, {{0x00}})},
      {"meta length beyond track", WithHeader(1, 1, {{0x00, 0xFF, 0x03, 0x10, 'a'}})},
      {"sysex length beyond track", WithHeader(1, 1, {{0x00, 0xF0, 0x7F, 0x01}})},
      {"real-time status", WithHeader(1, 1, {{0x00, 0xF8}})},
      {"truncated note", WithHeader(1, 1, {{0x00, 0x90, 0x40}})},
      {"times beyond 32 bits", WithHeader(1, 1, {LongSilence(17)})},
  };
  for (const BadFile& bad : cases) {
    SCOPED_TRACE(bad.name);
    MidiFileContent content;
    content.division = 480;
    content.tracks.resize(3);
    std::string error;
    EXPECT_FALSE(ParseMidiFile(bad.bytes, content, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(content.division, 480);
    EXPECT_EQ(content.tracks.size(), 3u);
  }
}

// The data bytes of every System Exclusive run of a track, one vector per run
// (from its 0xF0 to its 0xF7), with the time of its first event.
struct SysExRun {
  std::uint32_t time;
  std::vector<int> bytes;
  bool operator==(const SysExRun&) const = default;
};

std::vector<SysExRun> SysExRuns(const MidiFileTrack& track) {
  std::vector<SysExRun> runs;
  for (const MidiShortEvent& e : track.events) {
    if (e.status != kMidiSysExStatus) continue;
    if (e.data1 == kMidiSysExStatus) runs.push_back({e.time, {}});
    runs.back().bytes.push_back(e.data1);
  }
  return runs;
}

TEST(MidiFileReader, JoinsASysExMessageDividedIntoPackets) {
  // F0 packet without its end, two F7 continuations (the last one ends the
  // message), a note, then an F7 escape outside any message.
  const std::vector<std::uint8_t> body = {0x10, 0xF0, 0x03, 0x43, 0x12, 0x00,  // first packet
                                          0x05, 0xF7, 0x02, 0x01, 0x02,        // continuation
                                          0x07, 0xF7, 0x02, 0x03, 0xF7,        // last packet
                                          0x04, 0x90, 0x3C, 0x40,              // a note
                                          0x02, 0xF7, 0x01, 0x7F,              // escaped byte
                                          0x03, 0x80, 0x3C, 0x00};
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(WithHeader(1, 1, {body}), content, error)) << error;
  EXPECT_TRUE(content.warnings.empty());
  const MidiFileTrack& track = content.tracks[0];
  EXPECT_EQ(SysExRuns(track),
            (std::vector<SysExRun>{{0x10, {0xF0, 0x43, 0x12, 0x00, 0x01, 0x02, 0x03, 0xF7}}}));
  // The note keeps its absolute time (0x10 + 5 + 7 + 4), the release too.
  ASSERT_EQ(track.events.size(), 10u);
  EXPECT_EQ(track.events[8].time, 16u);
  EXPECT_EQ(track.events[9].time, 5u);

  // Written back, the message is one packet, and reading that gives it again.
  MidiFileContent again;
  ASSERT_TRUE(ParseMidiFile(MidiFileBytes(content), again, error)) << error;
  EXPECT_EQ(SysExRuns(again.tracks[0]), SysExRuns(track));
  EXPECT_EQ(MidiFileBytes(again), MidiFileBytes(content));
}

struct DamagedSysEx {
  const char* name;
  std::vector<std::uint8_t> body;
  std::vector<SysExRun> kept;
};

class MidiFileDamagedSysEx : public ::testing::TestWithParam<DamagedSysEx> {};

TEST_P(MidiFileDamagedSysEx, IsLeftOutWithANoteNamingItsTrackAndTheRestIsRead) {
  const DamagedSysEx& c = GetParam();
  const std::vector<std::uint8_t> note = {0x00, 0x90, 0x40, 0x40, 0x30, 0x80, 0x40, 0x00};
  std::vector<std::uint8_t> second = c.body;
  second.insert(second.end(), {0x08, 0x90, 0x3C, 0x40});
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(WithHeader(1, 2, {note, second}), content, error)) << error;
  ASSERT_EQ(content.warnings.size(), 1u);
  EXPECT_EQ(content.warnings[0].rfind("track 2: ", 0), 0u) << content.warnings[0];
  EXPECT_EQ(content.tracks[0].events.size(), 2u);
  EXPECT_EQ(SysExRuns(content.tracks[1]), c.kept);
  // The note after the left-out message keeps its absolute time.
  std::uint32_t at = 0;
  for (const MidiShortEvent& e : content.tracks[1].events) at += e.time;
  EXPECT_EQ(content.tracks[1].events.back().status, 0x90);
  EXPECT_EQ(at, 0x10u + 0x08u);
}

INSTANTIATE_TEST_SUITE_P(
    StatusByteInside, MidiFileDamagedSysEx,
    ::testing::Values(
        DamagedSysEx{"InOnePacket", {0x10, 0xF0, 0x03, 0x7E, 0x90, 0xF7}, {}},
        DamagedSysEx{"InAContinuationPacket", {0x10, 0xF0, 0x02, 0x7E, 0x01, 0x00, 0xF7, 0x02, 0x85, 0xF7}, {}},
        DamagedSysEx{"BeforeASoundMessage",
                     {0x10, 0xF0, 0x02, 0x80, 0xF7, 0x00, 0xF0, 0x02, 0x7D, 0xF7},
                     {{0x10, {0xF0, 0x7D, 0xF7}}}}),
    [](const ::testing::TestParamInfo<DamagedSysEx>& info) { return std::string(info.param.name); });

TEST(MidiFileReader, RefusesEveryTruncationOfAValidFile) {
  const std::vector<std::uint8_t> full = BassFile();
  for (std::size_t n = 0; n < full.size(); ++n) {
    SCOPED_TRACE(n);
    MidiFileContent content;
    std::string error;
    EXPECT_FALSE(ParseMidiFile(std::span(full.data(), n), content, error));
    EXPECT_TRUE(content.tracks.empty());
  }
}

TEST(MidiFileReader, SurvivesRandomCorruption) {
  const std::vector<std::uint8_t> full = BassFile();
  std::mt19937 random(1234);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> bytes = full;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    MidiFileContent content;
    std::string error;
    if (ParseMidiFile(bytes, content, error)) {
      // Whatever is read can be written back as it is.
      for (const auto& track : content.tracks) EXPECT_EQ(CheckMidiEvents(track.events), "");
    } else {
      EXPECT_FALSE(error.empty());
    }
  }
}

}  // namespace
