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
      {"sysex holding a status", WithHeader(1, 1, {{0x00, 0xF0, 0x03, 0x7E, 0x90, 0xF7}})},
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
