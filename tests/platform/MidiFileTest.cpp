// The file calls of the MIDI library by handle: open for reading or writing,
// read in chunks, meta events, refusals that change nothing, and a written
// file that the outside tool midicsv reads as we meant it.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "MidiFileTestBytes.h"
#include "platform/FileBytes.h"
#include "platform/MidiFile.h"
#include "support/TempFolder.h"

namespace {

using stavlin_test::TempFolder;

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(MidiFile, ReadsTracksInChunksAndMetaEvents) {
  TempFolder folder("smf");
  const auto path = folder.Path() / "bass.mid";
  WriteBytes(path, midi_test::BassFile());
  DWORD format = 7, tracks = 7;
  const HSMF h = OpenSMF(path.c_str(), &format, 'r', &tracks);
  ASSERT_NE(h, 0u) << GetSMFLastError();
  EXPECT_EQ(format, 1u);
  EXPECT_EQ(tracks, 1u);
  EXPECT_EQ(GetSMFResolution(h), 96u);

  MidiShortEvent buffer[4];
  std::vector<DWORD> chunks;
  while (DWORD n = ReadSMF(h, 0, buffer, 4)) chunks.push_back(n);
  EXPECT_EQ(chunks, (std::vector<DWORD>{4, 4, 1}));
  EXPECT_EQ(ReadSMF(h, 1, buffer, 4), 0u);
  RewindSMF(h);
  ASSERT_EQ(ReadSMF(h, 0, buffer, 2), 2u);
  EXPECT_EQ(buffer[1].time, 16u);

  const BYTE* data = nullptr;
  DWORD length = 0;
  ASSERT_EQ(ReadMetaEvent(h, 0, 0x03, &data, &length), 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length), "Bass");
  EXPECT_EQ(ReadMetaEvent(h, 0, 0x58, &data, &length), -1);
  EXPECT_EQ(WriteSMF(h, 0, buffer, 1), 0u);  // not a file opened for writing
  EXPECT_EQ(CloseSMF(h), TRUE);
  EXPECT_EQ(ReadSMF(h, 0, buffer, 4), 0u);  // the handle is gone
}

TEST(MidiFile, OpenRefusesMissingAndMalformedFiles) {
  TempFolder folder("smf");
  WriteBytes(folder.Path() / "garbage.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 0x60, 'M'});
  const std::filesystem::path paths[] = {folder.Path() / "none.mid", folder.Path() / "garbage.mid",
                                         folder.Path()};
  for (const auto& path : paths) {
    DWORD format = 1, tracks = 5;
    EXPECT_EQ(OpenSMF(path.c_str(), &format, 'r', &tracks), 0u) << path;
    EXPECT_FALSE(GetSMFLastError().empty());
    EXPECT_EQ(tracks, 5u);
  }
}

TEST(MidiFile, WritesTracksOnCloseAndRefusedEventsAddNothing) {
  TempFolder folder("smf");
  const auto path = folder.Path() / "out.mid";
  DWORD format = 0, tracks = 9;
  const HSMF h = OpenSMF(path.c_str(), &format, 'w', &tracks);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(tracks, 0u);
  const BYTE name[] = {'L', 'e', 'a', 'd'};
  EXPECT_EQ(WriteMetaEvent(h, 1, 0x03, name, 4, 0), 0);
  const MidiShortEvent good[] = {{0, 0x91, 0x40, 0x64, 0}, {96, 0x81, 0x40, 0x00, 0}};
  const MidiShortEvent bad[] = {{0, 0x91, 0x40, 0x64, 0}, {0, 0x91, 0x90, 0x64, 0}};
  EXPECT_EQ(WriteSMF(h, 1, bad, 2), 0u);
  EXPECT_EQ(WriteSMF(h, 1, good, 2), 2u);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_EQ(CloseSMF(h), TRUE);

  // Two tracks (track 0 empty) make the format 1; written files count 480 ticks per quarter.
  const std::vector<std::uint8_t> lead = {0x00, 0xFF, 0x03, 0x04, 'L',  'e',  'a',  'd',  0x00, 0x91,
                                          0x40, 0x64, 0x60, 0x81, 0x40, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(fileio::ReadWholeFile(path).bytes,
            midi_test::WithHeader(1, 2, {{0x00, 0xFF, 0x2F, 0x00}, lead}, 480));
}

TEST(MidiFile, CloseReportsAFileThatCannotBeWritten) {
  TempFolder folder("smf");
  const auto path = folder.Path() / "missing-folder" / "out.mid";
  DWORD format = 1, tracks = 0;
  const HSMF h = OpenSMF(path.c_str(), &format, 'w', &tracks);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(CloseSMF(h), FALSE);
  EXPECT_FALSE(GetSMFLastError().empty());
}

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

TEST(MidiFile, MidicsvReadsAWrittenFileAsMeant) {
  if (!std::filesystem::exists("/usr/bin/midicsv")) GTEST_SKIP() << "midicsv is not installed";
  TempFolder folder("smf");
  const auto path = folder.Path() / "check.mid";
  DWORD format = 0, tracks = 0;
  const HSMF h = OpenSMF(path.c_str(), &format, 'w', &tracks);
  const BYTE name[] = {'P', 'i', 'a', 'n', 'o'};
  const BYTE tempo[] = {0x07, 0xA1, 0x20};
  WriteMetaEvent(h, 0, 0x03, name, 5, 0);
  WriteMetaEvent(h, 0, 0x51, tempo, 3, 0);
  const MidiShortEvent events[] = {
      {0, 0xC0, 0x18, 0, 0},     {0, 0x90, 0x3C, 0x64, 0}, {48, 0x90, 0x40, 0x50, 0},
      {48, 0x80, 0x3C, 0x00, 0}, {0, 0x80, 0x40, 0x00, 0}, {10, 0xF0, 0xF0, 0, 0},
      {0, 0xF0, 0x7E, 0, 0},     {0, 0xF0, 0xF7, 0, 0},    {5, 0xE0, 0x00, 0x40, 0}};
  ASSERT_EQ(WriteSMF(h, 0, events, 9), 9u);
  ASSERT_EQ(CloseSMF(h), TRUE);
  const std::string expected =
      "0, 0, Header, 0, 1, 480\n"
      "1, 0, Start_track\n"
      "1, 0, Title_t, \"Piano\"\n"
      "1, 0, Tempo, 500000\n"
      "1, 0, Program_c, 0, 24\n"
      "1, 0, Note_on_c, 0, 60, 100\n"
      "1, 48, Note_on_c, 0, 64, 80\n"
      "1, 96, Note_off_c, 0, 60, 0\n"
      "1, 96, Note_off_c, 0, 64, 0\n"
      "1, 106, System_exclusive, 2, 126, 247\n"
      "1, 111, Pitch_bend_c, 0, 8192\n"
      "1, 111, End_track\n"
      "0, 0, End_of_file\n";
  EXPECT_EQ(RunCommand("/usr/bin/midicsv '" + path.string() + "'"), expected);
}

}  // namespace
