// Files as nobody should write them: the import finishes (or refuses with a
// message) and never crashes or hangs, whatever the event lists hold.

#include <gtest/gtest.h>

#include <chrono>

#include "ImportTestSupport.h"
#include "SmfBytes.h"

namespace {

using namespace smftest;

struct OddFile {
  const char* name;
  std::vector<std::uint8_t> bytes;
  bool imports;  // a score is made (else a message refuses the file)
};

std::vector<OddFile> OddFiles() {
  std::vector<OddFile> files;
  files.push_back(
      {"NoteNeverReleased", Smf(0, 480, {{On(0, 0, 60), On(480, 0, 62), Off(480, 0, 62)}}), true});
  files.push_back(
      {"ReleaseWithoutNote", Smf(0, 480, {{Off(0, 0, 61), On(0, 0, 60), Off(480, 0, 60)}}), true});
  files.push_back(
      {"NotesAtAbsurdTimes",
       Smf(0, 480, {{On(0, 0, 60), Off(480, 0, 60), On(0x0FFFFFFF, 0, 62), Off(0x0FFFFFFF, 0, 62)}}), true});
  files.push_back({"NotesFarApartInALongSilence",
                   Smf(0, 1, {{On(0, 0, 60), Off(1, 0, 60), On(3000, 0, 62), Off(1, 0, 62)}}), true});
  Track overlaps;
  for (int i = 0; i < 200; ++i) overlaps.push_back(On(0, 0, 60));
  for (int i = 0; i < 200; ++i) overlaps.push_back(Off(i == 0 ? 480 : 0, 0, 60));
  files.push_back({"TwoHundredOverlapsOfOnePitch", Smf(0, 480, {overlaps}), true});
  Track cluster;
  for (int key = 30; key < 100; ++key) cluster.push_back(On(0, 0, key));
  for (int key = 30; key < 100; ++key) cluster.push_back(Off(key == 30 ? 480 : 0, 0, key));
  files.push_back({"SeventyNotesAtOnce", Smf(0, 480, {cluster}), true});
  files.push_back({"BrokenSignaturesAndTempo",
                   Smf(1, 480,
                       {{Meta(0, 0x58, {0, 200}), Meta(0, 0x58, {255, 0}), Meta(0, 0x59, {0x9C, 0}),
                         Meta(0, 0x51, {0, 0, 0}), Meta(0, 0x58, {}), Meta(0, 0x59, {}), Meta(0, 0x51, {1})},
                        {On(0, 0, 60), Off(480, 0, 60), On(0, 0, 64), Off(1, 0, 64)}}),
                   true});
  files.push_back(
      {"TimeSignatureOfOneSixtyFourth",
       Smf(0, 480, {{Time(0, 1, 6), On(0, 0, 60), Off(7, 0, 60), On(100, 0, 62), Off(170, 0, 62)}}), true});
  files.push_back({"ZeroLengthNotesAndTriplesAtOnce",
                   Smf(0, 480,
                       {{On(0, 0, 60), Off(0, 0, 60), On(0, 0, 60), Off(0, 0, 60), On(160, 0, 62),
                         On(10, 0, 63), On(10, 0, 64), Off(300, 0, 62)}}),
                   true});
  files.push_back({"SmpteTimeDivision", Smf(0, 0xE728, {{On(0, 0, 60), Off(40, 0, 60)}}), true});
  std::vector<Track> many;
  for (int t = 0; t < 30; ++t) {
    Track track;
    for (int channel = 0; channel < 3; ++channel) {
      track.push_back(On(0, channel, 60 + t));
      track.push_back(Off(480, channel, 60 + t));
    }
    many.push_back(track);
  }
  files.push_back({"NinetyPartsOverTheLimits", Smf(1, 480, many), true});
  files.push_back({"NoNotesAtAll", Smf(0, 480, {{Tempo(0, 100)}}), false});
  files.push_back({"HeaderOnly", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0}, false});
  return files;
}

class OddMidiFile : public ::testing::TestWithParam<OddFile>, public importtest::ImportFixture {};

TEST_P(OddMidiFile, ImportsOrRefusesWithoutHarm) {
  const auto started = std::chrono::steady_clock::now();
  const MidiFileImportResult result = Import(GetParam().bytes);
  EXPECT_EQ(result.document != nullptr, GetParam().imports);
  if (!GetParam().imports) {
    EXPECT_FALSE(ui.Messages().empty());
  } else {
    ASSERT_NE(result.document, nullptr);
    EXPECT_FALSE(importtest::Staves(*result.document).empty());
    // Every staff's columns stand in rising order.
    for (KListLine* line : importtest::Staves(*result.document)) {
      int last = -1;
      const CObList& list = *line->GetObjList();
      for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const int at = static_cast<const KPosObj*>(list.GetNext(pos))->GetPos();
        EXPECT_GT(at, last);
        last = at;
      }
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
}

INSTANTIATE_TEST_SUITE_P(Import, OddMidiFile, ::testing::ValuesIn(OddFiles()),
                         [](const ::testing::TestParamInfo<OddFile>& info) { return info.param.name; });

}  // namespace
