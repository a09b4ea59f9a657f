// The song with repeats, endings, D.S. al Coda, dynamics, tempo words and
// three instruments: written as a MIDI file that the outside tool midicsv
// reads, event by event as checked by hand; and played on the fake clock into
// a recording output, which hears the same messages at the same ticks as the
// file holds.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "PlayTestSupport.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/LivePlayback.h"
#include "midi/MidiEventTrack.h"
#include "midi/MidiExport.h"
#include "midi/PlayOrder.h"
#include "midi/PlaySequencer.h"
#include "platform/CObList.h"
#include "platform/FakeUiPort.h"
#include "platform/FileBytes.h"
#include "platform/MidiClock.h"
#include "platform/MidiFileReader.h"
#include "support/MidiCsvTable.h"
#include "support/TempFolder.h"

namespace {

using namespace playtest;

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) {
    const std::size_t first = field.find_first_not_of(' ');
    fields.push_back(first == std::string::npos ? "" : field.substr(first));
  }
  return fields;
}

// The song's performance and its file.
class SongTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scope_ = std::make_unique<ScopedUiPort>(ui);
    MakeSong(song);
    score = song.Score();
    ASSERT_EQ(BuildPlayOrder(score, directions, jumps), 1);
    KPlaySettings settings;
    settings.tempo = 100;  // the play dialog's tempo; "Allegro" at the start takes over
    settings.instruments = DefaultInstruments();
    settings.instruments.push_back({"Flute", 74, 100});
    KPlaySequencer sequencer(score, &jumps, settings);
    performance = sequencer.Run(KPlayRange{});
    sequencer.ClearPlayEvents();
  }
  void TearDown() override {
    ClearPlayLists(directions, jumps);
    scope_.reset();
  }

  // Writes the file; its path.
  std::filesystem::path Export() {
    const std::filesystem::path path = folder.Path() / "song.mid";
    CMaxMidiSMF file;
    std::vector<std::unique_ptr<MidiEventTrack>> tracks;
    const MidiExportOutcome outcome =
        ExportPerformance(performance, path.c_str(), file, [&](const char* name) {
          tracks.push_back(std::make_unique<MidiEventTrack>());
          tracks.back()->SetName(name);
          return tracks.back().get();
        });
    EXPECT_EQ(outcome.result, MidiExportOutcome::Result::kWritten) << outcome.reason;
    return path;
  }

  FakeUiPort ui;
  TestScore song;
  KPlayScore score;
  CObList directions;
  CObList jumps;
  KPerformance performance;
  stavlin_test::TempFolder folder{"song"};

 private:
  std::unique_ptr<ScopedUiPort> scope_;
};

// The melody as played: C5 D5 | E5 F5 |: G5 A5 |1. B5 :| G5 A5 |2. C6 | D5 | E5 D.S.
// E5 F5 | G5 A5 |2. C6 | D5 To Coda | F5. Velocities: 100, then 106 from "mf"
// (level 53 of loudness 100: 53 x 100 x 2 / 100 = 106, + 64 - 64), 60 from
// "pp" (30 x 2); the D.S. pass meets "mf" and "pp" again.
struct Note {
  int tick;
  int key;
  int velocity;
};
const std::vector<Note> kMelody = {{0, 72, 100},    {480, 74, 100},  {960, 76, 106},  {1440, 77, 106},
                                   {1920, 79, 106}, {2400, 81, 106}, {2880, 83, 106}, {3360, 79, 106},
                                   {3840, 81, 106}, {4320, 84, 106}, {4800, 74, 60},  {5280, 76, 60},
                                   {5760, 76, 106}, {6240, 77, 106}, {6720, 79, 106}, {7200, 81, 106},
                                   {7680, 84, 106}, {8160, 74, 60},  {8640, 77, 60}};

TEST_F(SongTest, TheFileMidicsvReadsHoldsTheHandCheckedEvents) {
  if (!std::filesystem::exists("/usr/bin/midicsv")) GTEST_SKIP() << "midicsv is not installed";
  const std::filesystem::path path = Export();
  const std::string csv = RunCommand("/usr/bin/midicsv '" + path.string() + "' 2>&1");
  ASSERT_NE(csv.find("End_of_file"), std::string::npos) << csv;

  std::map<int, std::vector<Note>> notesByChannel;
  std::map<int, std::vector<std::string>> offsByChannel;
  std::vector<std::string> programs;
  std::vector<std::string> tempi;
  std::vector<std::string> signatures;
  std::vector<std::string> trackNames;
  std::vector<std::string> markers;
  std::string header;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 3) continue;
    const std::string& type = f[2];
    if (type == "Header") header = f[3] + " " + f[4] + " " + f[5];
    if (type == "Note_on_c" && std::stoi(f[5]) > 0) {
      notesByChannel[std::stoi(f[3])].push_back({std::stoi(f[1]), std::stoi(f[4]), std::stoi(f[5])});
    }
    if (type == "Note_off_c" || (type == "Note_on_c" && std::stoi(f[5]) == 0)) {
      offsByChannel[std::stoi(f[3])].push_back(f[1] + " " + f[4]);
    }
    if (type == "Program_c") programs.push_back(f[0] + " " + f[1] + " " + f[3] + " " + f[4]);
    if (type == "Tempo") tempi.push_back(f[0] + " " + f[1] + " " + f[3]);
    if (type == "Time_signature") signatures.push_back(f[0] + " " + f[1] + " " + f[3] + "/" + f[4]);
    if (type == "Title_t") trackNames.push_back(f[0] + " " + f[3]);
    if (type == "Marker_t") markers.push_back(f[3]);
  }
  // Format 1: the conductor "FileInfo", then the instruments as they first play.
  EXPECT_EQ(header, "1 4 480");
  EXPECT_EQ(trackNames, (std::vector<std::string>{"1 \"FileInfo\"", "2 \"Flute\"", "3 \"UL Bass\"",
                                                  "4 \"UL Percussion\""}));
  // "Allegro" (120) starts the file; "Andante" (100) follows at the first E5 of the second system.
  EXPECT_EQ(tempi, (std::vector<std::string>{"1 0 500000", "1 5280 600000"}));
  EXPECT_EQ(signatures, std::vector<std::string>{"1 0 4/2"});
  // Programs 74 and 34 (data 73 and 33); the drums on channel 10 get none.
  EXPECT_EQ(programs, (std::vector<std::string>{"2 0 0 73", "3 0 1 33"}));
  // A marker for each channel that plays (none for the thirteen unused ones),
  // then the program's own.
  EXPECT_EQ(markers, (std::vector<std::string>{"\"C1-P74-Flute\"", "\"C2-P34-Elec. Bass (finger)\"",
                                               "\"C10-Percussion\"", "\"Stavlin 3.94.0.2\""}));

  ASSERT_EQ(notesByChannel[0].size(), kMelody.size());
  for (std::size_t i = 0; i < kMelody.size(); ++i) {
    const Note& got = notesByChannel[0][i];
    EXPECT_EQ(got.tick, kMelody[i].tick) << "melody note " << i;
    EXPECT_EQ(got.key, kMelody[i].key) << "melody note " << i;
    EXPECT_EQ(got.velocity, kMelody[i].velocity) << "melody note " << i;
  }
  // Bass (D3) and snare (38) sound with every melody note, at loudness 100.
  for (int channel : {1, 9}) {
    ASSERT_EQ(notesByChannel[channel].size(), kMelody.size()) << "channel " << channel;
    for (std::size_t i = 0; i < kMelody.size(); ++i) {
      EXPECT_EQ(notesByChannel[channel][i].tick, kMelody[i].tick) << "channel " << channel << ", note " << i;
      EXPECT_EQ(notesByChannel[channel][i].key, channel == 1 ? 50 : 38);
      EXPECT_EQ(notesByChannel[channel][i].velocity, 100);
    }
  }
  // Every note ends a quarter after it began.
  ASSERT_EQ(offsByChannel[0].size(), kMelody.size());
  EXPECT_EQ(offsByChannel[0].front(), "480 72");
  EXPECT_EQ(offsByChannel[0].back(), "9120 77");
}

// The same file as golden text, one line per event (support/MidiCsvTable.h):
// the conductor's tempo changes and time signature, the track names, then
// each channel's program, notes and their ends, as checked by hand against
// the melody above (the bass on channel 2, the drums on channel 10 with no
// program).
TEST_F(SongTest, TheFileReadsAsTheHandCheckedEventTable) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  const std::filesystem::path path = Export();
  std::string error;
  const std::string table = midicsv::Table(path, &error);
  ASSERT_FALSE(table.empty()) << error;
  const fileio::ReadResult golden =
      fileio::ReadWholeFile(std::filesystem::path(STAVLIN_TEST_DIR) / "fixtures" / "song-events.txt");
  ASSERT_TRUE(golden.ok());
  EXPECT_EQ(table, std::string(golden.bytes.begin(), golden.bytes.end()));
}

// A channel message with its tick, as text.
std::string Message(std::uint32_t tick, const MidiShortEvent& e) {
  char text[48];
  std::snprintf(text, sizeof text, "%u %02x %02x %02x", tick, e.status, e.data1, e.data2);
  return text;
}

TEST_F(SongTest, PlayingOnTheFakeClockSendsTheFilesMessagesAtTheFilesTicks) {
  // The file, read back: every channel message at its absolute tick, and its tempo changes.
  const std::filesystem::path path = Export();
  const fileio::ReadResult bytes = fileio::ReadWholeFile(path);
  ASSERT_TRUE(bytes.ok());
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(bytes.bytes, content, error)) << error;
  std::vector<std::pair<std::uint32_t, std::string>> fromFile;
  std::vector<std::pair<std::uint32_t, int>> tempo;  // (tick, µs per quarter)
  for (const MidiFileTrack& track : content.tracks) {
    std::uint32_t tick = 0;
    std::size_t meta = 0;
    for (std::size_t i = 0; i <= track.events.size(); ++i) {
      std::uint32_t offset = 0;
      for (; meta < track.metas.size() && track.metas[meta].before == i; ++meta) {
        offset = track.metas[meta].offset;
        if (track.metas[meta].type == 0x51) {
          const auto& d = track.metas[meta].data;
          tempo.emplace_back(tick + offset, (d[0] << 16) | (d[1] << 8) | d[2]);
        }
      }
      if (i == track.events.size()) break;
      tick += track.events[i].time;
      fromFile.emplace_back(tick, Message(tick, track.events[i]));
    }
  }
  std::stable_sort(fromFile.begin(), fromFile.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  // The same performance live, into a recording output stamped by the fake clock.
  FakeMidiClock clock;
  RecordingMidiOut out;
  out.StampWith(&clock);
  out.SetOpen(true);
  KLivePlayback live(clock);
  bool ended = false;
  live.Start(performance, out, nullptr, [&] { ended = true; });
  ASSERT_TRUE(clock.RunUntilIdle());
  EXPECT_TRUE(ended);
  EXPECT_EQ(live.Scheduler().WorstLateUs(), 0);

  // Each send time back to ticks through the file's tempo map.
  std::sort(tempo.begin(), tempo.end());
  std::vector<std::pair<std::uint32_t, std::string>> heard;
  for (std::size_t i = 0; i < out.Events().size(); ++i) {
    const double us = static_cast<double>(out.Times()[i] - live.StartUs());
    double segmentUs = 0;
    std::uint32_t segmentTick = 0;
    int perQuarter = 500000;
    for (std::size_t t = 0; t < tempo.size(); ++t) {
      const double startUs = segmentUs + (tempo[t].first - segmentTick) * perQuarter / 480.0;
      if (startUs > us + 0.5) break;
      segmentUs = startUs;
      segmentTick = tempo[t].first;
      perQuarter = tempo[t].second;
    }
    const auto tick =
        static_cast<std::uint32_t>(std::lround(segmentTick + (us - segmentUs) * 480.0 / perQuarter));
    heard.emplace_back(tick, Message(tick, out.Events()[i]));
  }
  ASSERT_EQ(heard.size(), fromFile.size());
  // At one tick the order of tracks may differ; compare each tick's messages as sets.
  auto byTick = [](std::vector<std::pair<std::uint32_t, std::string>> v) {
    std::map<std::uint32_t, std::multiset<std::string>> m;
    for (auto& [tick, text] : v) m[tick].insert(text);
    return m;
  };
  EXPECT_EQ(byTick(heard), byTick(fromFile));
}

}  // namespace
