// The note conversion's parts: pairing, quantisation with legato fill,
// triplet detection, and the analysis that proposes staves.

#include <gtest/gtest.h>

#include "SmfBytes.h"
#include "midi/MidiImportFile.h"
#include "midi/MidiImportNotes.h"
#include "platform/MidiFileReader.h"

namespace {

using namespace midiimport;

// Notes from (start, end) pairs, pitch 60 up by one each.
std::vector<ImportNote> Notes(std::initializer_list<std::pair<int, int>> times) {
  std::vector<ImportNote> notes;
  int pitch = 60;
  int ordinal = 1;
  for (const auto& [start, end] : times) notes.push_back({start, end, start, end, pitch++, 100, ordinal++});
  return notes;
}

std::vector<int> Places(const std::vector<ImportNote>& notes) {
  std::vector<int> places;
  for (const ImportNote& n : notes) places.push_back(TripletPlace(n.mark));
  return places;
}

struct TripletCase {
  const char* name;
  std::vector<std::pair<int, int>> times;
  int resolution;
  std::vector<int> places;       // 1 first, 2 middle, 3 last, 0 none
  std::vector<int> stepLengths;  // quantised lengths of the marked notes
};

class TripletDetection : public ::testing::TestWithParam<TripletCase> {};

TEST_P(TripletDetection, MarksTheGroupAndItsSteps) {
  const TripletCase& c = GetParam();
  std::vector<ImportNote> notes;
  int pitch = 60;
  for (const auto& [start, end] : c.times) notes.push_back({start, end, start, end, pitch++, 100, 0});
  QuantiseNotes(notes, c.resolution, 1920);
  EXPECT_EQ(Places(notes), c.places);
  std::vector<int> lengths;
  for (const ImportNote& n : notes) {
    if (TripletPlace(n.mark) != 0) lengths.push_back(n.qEnd - n.qStart);
  }
  EXPECT_EQ(lengths, c.stepLengths);
}

INSTANTIATE_TEST_SUITE_P(
    Import, TripletDetection,
    ::testing::Values(TripletCase{"ThreeEighthTripletSteps",
                                  {{0, 150}, {160, 310}, {320, 470}, {480, 960}, {960, 1440}},
                                  2,
                                  {1, 2, 3, 0, 0},
                                  {160, 160, 160}},
                      TripletCase{"StepsOf150And170StillCount",
                                  {{0, 140}, {150, 310}, {320, 470}, {480, 960}, {960, 1440}},
                                  2,
                                  {1, 2, 3, 0, 0},
                                  {160, 160, 160}},
                      TripletCase{"GapOf320Then160IsATwoNoteGroup",
                                  {{0, 300}, {320, 470}, {480, 960}, {960, 1440}},
                                  3,
                                  {1, 2, 0, 0},
                                  {160, 320}},
                      TripletCase{"StraightEighthsAreNoTriplet",
                                  {{0, 240}, {240, 480}, {480, 720}, {720, 960}, {960, 1440}},
                                  2,
                                  {0, 0, 0, 0, 0},
                                  {}}),
    [](const ::testing::TestParamInfo<TripletCase>& info) { return info.param.name; });

// Legato fill: a note that ends a little before the next start is held on
// to it; one that ends more than 60 ticks before is not. At 1/64 the grid
// keeps those distances.
TEST(ImportQuantisation, LegatoFillsOnlyShortGaps) {
  struct Case {
    int gap;
    int end;
  };
  for (const Case c : {Case{30, 480}, Case{90, 390}}) {
    std::vector<ImportNote> notes = Notes({{0, 480 - c.gap}, {480, 960}, {960, 1440}});
    QuantiseNotes(notes, 3, 1920);
    EXPECT_EQ(notes[0].qEnd, c.end) << "gap " << c.gap;
  }
}

TEST(ImportQuantisation, ShortNoteIsRoundedToOneGridStep) {
  std::vector<ImportNote> notes = Notes({{0, 100}, {960, 1440}, {1920, 2400}});
  QuantiseNotes(notes, 1, 1920);
  EXPECT_EQ(notes[0].qEnd - notes[0].qStart, 120);
  // A note never released becomes one grid step long.
  std::vector<ImportNote> held = Notes({{0, -1}, {1920, 2400}});
  QuantiseNotes(held, 1, 1920);
  EXPECT_EQ(held[0].qEnd - held[0].qStart, 120);
}

// Pairing: a key struck again while it sounds ends the note before there,
// however many times it is struck; pitches moved out of range open nothing.
TEST(ImportPairing, OverlapsAndRangeAreHandled) {
  std::vector<TimedEvent> events;
  auto on = [&](int tick, int key) { events.push_back({tick, 0x90, static_cast<BYTE>(key), 100}); };
  auto off = [&](int tick, int key) { events.push_back({tick, 0x80, static_cast<BYTE>(key), 0}); };
  on(0, 60);
  on(10, 60);
  on(20, 60);
  on(30, 60);  // a fourth overlap
  off(40, 60);
  off(50, 60);
  off(60, 60);
  off(70, 60);
  off(80, 61);  // nothing sounds on 61
  on(90, 125);  // moved up an octave: out of range
  NoteFilter filter;
  filter.transpose = 12;
  const std::vector<ImportNote> notes = PairNotes(events, filter, 100);
  ASSERT_EQ(notes.size(), 4u);
  for (size_t i = 0; i < notes.size(); ++i) {
    EXPECT_EQ(notes[i].start, static_cast<int>(i) * 10) << "note " << i;
    EXPECT_EQ(notes[i].end, static_cast<int>(i) * 10 + 10) << "note " << i;
    EXPECT_EQ(notes[i].pitch, 72) << "note " << i;
  }
  // The capacity bounds the notes read.
  EXPECT_EQ(PairNotes(events, filter, 2).size(), 2u);
}

// A long track: every note is paired with its own release, however many
// notes came before it (notes past the thousandth were once taken for
// overlap counts, never released, and the pitch's later notes were lost).
TEST(ImportPairing, EveryNoteOfALongTrackIsPaired) {
  std::vector<TimedEvent> events;
  constexpr int kNotes = 5000;
  for (int i = 0; i < kNotes; ++i) {
    const BYTE key = static_cast<BYTE>(60 + i % 12);
    events.push_back({i * 120, 0x90, key, 100});
    events.push_back({i * 120 + 100, 0x80, key, 0});
  }
  const std::vector<ImportNote> notes = PairNotes(events, NoteFilter{}, 100000);
  ASSERT_EQ(notes.size(), static_cast<size_t>(kNotes));
  for (int i = 0; i < kNotes; ++i) {
    ASSERT_EQ(notes[static_cast<size_t>(i)].start, i * 120) << "note " << i;
    ASSERT_EQ(notes[static_cast<size_t>(i)].end, i * 120 + 100) << "note " << i;
  }
}

MidiImportFile FileOf(const std::vector<std::uint8_t>& bytes) {
  MidiFileContent content;
  std::string error;
  EXPECT_TRUE(ParseMidiFile(bytes, content, error)) << error;
  return MidiImportFile(std::move(content));
}

// The analysis of tracks and channels into proposed staves.
TEST(ImportAnalysis, ProposesStavesByChannelRangeAndName) {
  using namespace smftest;
  const Track first = {Name(0, "Lead Guitar  "), On(0, 0, 45), Off(480, 0, 45), On(0, 0, 50),
                       Off(480, 0, 50)};
  const Track second = {On(0, 2, 72), Off(480, 2, 72), On(0, 9, 36), Off(480, 9, 36), Program(0, 2, 40)};
  const MidiImportFile file = FileOf(Smf(1, 480, {first, second}));
  const std::vector<ImportTrackInfo> rows = file.Analyse(AnalysisPreferences{});
  ASSERT_EQ(rows.size(), 3u);
  // A guitar part with low notes goes up an octave.
  EXPECT_EQ(rows[0].label, "Lead Guitar");
  EXPECT_EQ(rows[0].octave, kOctaveUp);
  // A track without a name: its track and channel.
  EXPECT_EQ(rows[1].label, "Trk1-Ch2");
  EXPECT_EQ(rows[1].program, 41);
  // Channel 10 is always drums.
  EXPECT_EQ(rows[2].kind, kKindDrum);
  EXPECT_EQ(rows[2].program, kDrumProgram);
}

TEST(ImportAnalysis, TempoOutsideTenTo400IsNotTaken) {
  using namespace smftest;
  for (const auto& [bpm, taken] : {std::pair{5, 0}, std::pair{500, 0}, std::pair{96, 96}}) {
    const MidiImportFile file = FileOf(Smf(0, 480, {{Tempo(0, bpm), On(0, 0, 60), Off(480, 0, 60)}}));
    EXPECT_EQ(file.Tempo(), taken) << bpm;
  }
}

TEST(ImportAnalysis, TitleIsTheBaseNameInCapitals) {
  EXPECT_EQ(ImportTitleFromPath(CString("/a/b.c/my old SONG.MID")), "My Old Song");
  EXPECT_EQ(ImportTitleFromPath(CString("tune.mid")), "Tune");
  // A dot in the name is kept; only the extension goes.
  EXPECT_EQ(ImportTitleFromPath(CString("/music/tune.v2.mid")), "Tune.v2");
  EXPECT_EQ(ImportTitleFromPath(CString("C:\\Songs\\blue moon.mid")), "Blue Moon");
}

}  // namespace
