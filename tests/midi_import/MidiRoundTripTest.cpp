// A score exported as a Standard MIDI File by our own export imports back
// with the same notes at the same times.

#include <gtest/gtest.h>

#include <memory>

#include "ImportTestSupport.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/MidiEventTrack.h"
#include "midi/MidiExport.h"
#include "midi/PlayTestSupport.h"
#include "support/TempFolder.h"

namespace {

using importtest::AllNotes;
using importtest::Played;
using importtest::PlayLines;
using importtest::ToText;

class MidiRoundTrip : public ::testing::Test, public importtest::ImportFixture {};

TEST_F(MidiRoundTrip, ExportedScoreImportsWithTheSameNotes) {
  playtest::TestScore score;
  // A melody (quarter, two eighths with an F sharp, a half | a quarter rest,
  // a quarter, a dotted quarter and an eighth) over a bass in half notes.
  KListLine& melody =
      score.Line("0=8@17 1=0@16 2=0@14+28@14 3=10@15 4=21@1/44 5=16@18 6=8@13 7=8@12+36@12 8=0@11 9=21@1/44",
                 0, 1, "Flute");
  KListLine& bass = score.Line("0=10@18 1=10@16 2=21@1/44 3=10@17 4=10@15 5=21@1/44", 1, 1, "Cello");
  const std::vector<Played> written = AllNotes(PlayLines({&melody, &bass}));
  ASSERT_EQ(written.size(), 11u);

  KPlaySettings settings;
  settings.instruments = DefaultInstruments();
  settings.instruments.push_back({"Flute", 74, 100});
  settings.instruments.push_back({"Cello", 43, 100});
  const KPlayScore play = score.Score();
  KPlaySequencer sequencer(play, nullptr, settings);
  const KPerformance performance = sequencer.Run(KPlayRange{});
  sequencer.ClearPlayEvents();

  stavlin_test::TempFolder folder("roundtrip");
  const std::filesystem::path path = folder.Path() / "round trip.mid";
  CMaxMidiSMF file;
  std::vector<std::unique_ptr<MidiEventTrack>> tracks;
  const MidiExportOutcome outcome = ExportPerformance(performance, path.c_str(), file, [&](const char*) {
    tracks.push_back(std::make_unique<MidiEventTrack>());
    return tracks.back().get();
  });
  ASSERT_EQ(outcome.result, MidiExportOutcome::Result::kWritten) << outcome.reason;

  const MidiFileImportResult result = ImportMidiFile(CString(path.c_str()));
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(result.title, "Round Trip");
  EXPECT_EQ(ToText(AllNotes(importtest::PlayScore(*result.document))), ToText(written))
      << importtest::Dump(*result.document);
}

}  // namespace
