// How far an import goes: a file too large is refused by its size before it is
// read; a large file within the limits imports; notes past the last bar an
// import makes are left out and counted in the message.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ImportTestSupport.h"
#include "SmfBytes.h"
#include "midi/MidiImportFile.h"
#include "platform/MidiFileReader.h"
#include "support/TempFolder.h"

namespace {

using namespace smftest;
using importtest::ImportFixture;

class MidiImportLimits : public ::testing::Test, public ImportFixture {};

bool SaidAnywhere(const FakeUiPort& ui, const std::string& words) {
  for (const FakeUiPort::Message& m : ui.Messages()) {
    if (m.text.find(words) != std::string::npos) return true;
  }
  return false;
}

struct TooLargeCase {
  std::uintmax_t bytes;
  const char* told;  // the size the message gives, beside the limit of 64.0 MB
};

// A file over the limit (sparse: no byte of it is on the disk) is refused by
// the size the file system gives, with a message that says it is too large,
// and not as a damaged file. The message gives its size and the limit in the
// same unit, so that a file a few bytes over reads as larger than the limit.
TEST_F(MidiImportLimits, AFileTooLargeIsRefusedBySizeBeforeItIsRead) {
  const TooLargeCase cases[] = {
      {(std::uintmax_t{64} << 20) + 154, "64.1"},
      {(std::uintmax_t{64} << 20) + 1, "64.1"},
      {(std::uintmax_t{100} << 20), "100.0"},
      {std::uintmax_t{2} << 30, "2048.0"},
  };
  stavlin_test::TempFolder folder("midi-limits");
  const std::filesystem::path path = folder.Path() / "huge.mid";
  for (const TooLargeCase& c : cases) {
    ui.ClearRecords();
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      const std::vector<std::uint8_t> start = Smf(0, 480, {{On(0, 0, 60), Off(480, 0, 60)}});
      out.write(reinterpret_cast<const char*>(start.data()), static_cast<std::streamsize>(start.size()));
    }
    std::filesystem::resize_file(path, c.bytes);
    const MidiFileImportResult result = ImportMidiFile(CString(path.string().c_str()));
    EXPECT_EQ(result.document, nullptr) << c.bytes;
    ASSERT_EQ(ui.Messages().size(), 1u) << c.bytes;
    const std::string expected = std::string("too large to import: it holds ") + c.told +
                                 " MB, and the most a MIDI file may hold is 64.0 MB.";
    EXPECT_NE(ui.Messages()[0].text.find(expected), std::string::npos) << ui.Messages()[0].text;
    EXPECT_NE(ui.Messages()[0].text.find("huge.mid"), std::string::npos);
    EXPECT_EQ(ui.CountOf(7079), 0);
  }
}

// A valid file of 17 MB (a long sequencer-specific event before its notes)
// imports; it is not called damaged.
TEST_F(MidiImportLimits, AValidFileOverSixteenMegabytesImports) {
  const std::vector<std::uint8_t> blob(17u << 20, 0x11);
  const std::vector<std::uint8_t> file = Smf(0, 480, {{Meta(0, 0x7F, blob), On(0, 0, 60), Off(480, 0, 60)}});
  ASSERT_GT(file.size(), 16u << 20);
  const MidiFileImportResult result = Import(file);
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(ui.CountOf(7079), 0);
  EXPECT_EQ(importtest::AllNotes(importtest::PlayScore(*result.document)).size(), 1u);
}

// Notes far into a long piece (bar 4,500) are imported; notes after the last
// bar an import makes are left out, and the message counts them.
TEST_F(MidiImportLimits, NotesPastTheLastBarAreLeftOutAndCounted) {
  const std::uint32_t bar = 1920;
  const std::vector<std::uint8_t> far =
      Smf(0, 480, {{On(0, 0, 60), Off(480, 0, 60), On(4500 * bar, 0, 62), Off(480, 0, 62)}});
  const midiimport::MidiImportFile farFile([&far] {
    MidiFileContent content;
    std::string error;
    EXPECT_TRUE(ParseMidiFile(far, content, error)) << error;
    return content;
  }());
  EXPECT_EQ(farFile.Events(0).size(), 4u);
  EXPECT_EQ(farFile.NotesLeftOut(), 0);
  EXPECT_TRUE(farFile.Warnings().empty());

  Track past = {On(0, 0, 60), Off(480, 0, 60)};
  past.push_back(On(static_cast<std::uint32_t>(midiimport::kLatestTick), 0, 64));
  for (int i = 0; i < 2; ++i) {
    past.push_back(Off(240, 0, 64));
    past.push_back(On(0, 0, 64));
  }
  past.push_back(Off(240, 0, 64));
  const MidiFileImportResult result = Import(Smf(0, 480, {past}));
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(importtest::AllNotes(importtest::PlayScore(*result.document)).size(), 1u);
  EXPECT_TRUE(SaidAnywhere(ui, "3 notes after bar 20000"))
      << (ui.Messages().empty() ? "" : ui.Messages()[0].text);
}

// Past the 40 parts (track and channel pairs) the import offers, the rest are
// left out, and the message says how many, with their notes.
TEST_F(MidiImportLimits, PartsPastTheFortiethAreLeftOutAndCounted) {
  std::vector<Track> tracks;
  for (int t = 0; t < 15; ++t) {
    Track track;
    for (int channel = 0; channel < 3; ++channel) {
      track.push_back(On(0, channel, 60 + t));
      track.push_back(Off(480, channel, 60 + t));
    }
    tracks.push_back(track);
  }
  const MidiFileImportResult result = Import(Smf(1, 480, tracks));
  ASSERT_NE(result.document, nullptr);
  EXPECT_TRUE(SaidAnywhere(ui, "5 parts (track and channel) after the first 40, with 5 notes"));
}

}  // namespace
