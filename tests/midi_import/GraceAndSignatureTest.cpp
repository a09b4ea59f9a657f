// Two readings of a MIDI file that decide what a tune's notes are: which
// short notes are grace notes (played on the beat, the note after them late)
// and where the file's signatures stand (any track, anywhere before the
// first note, changes later).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SmfBytes.h"
#include "midi/MidiImportFile.h"
#include "midi/MidiImportNotes.h"
#include "platform/MidiFileReader.h"
#include "support/CaseName.h"

namespace {

using namespace midiimport;
using namespace smftest;

struct GraceCase {
  const char* name;
  std::vector<std::pair<int, int>> times;  // (start, end) of each note, in order
  // Per note: 'g' a grace note, '.' not; and the starts after the marking.
  std::string graces;
  std::vector<int> starts;
};

void PrintTo(const GraceCase& c, std::ostream* out) { *out << c.name; }

class GraceNotes : public ::testing::TestWithParam<GraceCase> {};

TEST_P(GraceNotes, AreToldFromShortNotesOfTheTune) {
  const GraceCase& c = GetParam();
  std::vector<ImportNote> notes;
  int pitch = 60;
  for (const auto& [start, end] : c.times) notes.push_back({start, end, start, end, pitch++, 100, 0});
  MarkGraces(notes);
  std::string graces;
  std::vector<int> starts;
  for (const ImportNote& n : notes) {
    graces += IsGrace(n.mark) ? 'g' : '.';
    starts.push_back(n.start);
  }
  EXPECT_EQ(graces, c.graces);
  EXPECT_EQ(starts, c.starts);
}

INSTANTIATE_TEST_SUITE_P(
    Import, GraceNotes,
    ::testing::Values(
        // A quarter, then a 32nd grace before a quarter (as abc2midi plays {c}B2).
        GraceCase{"one grace before a quarter", {{1, 480}, {481, 540}, {541, 960}}, ".g.", {1, 481, 481}},
        GraceCase{"two graces before a half",
                  {{1, 480}, {481, 540}, {541, 600}, {601, 1440}},
                  ".gg.",
                  {1, 481, 481, 481}},
        // Sixteenths then a dotted 16th: the short notes are the tune's own.
        GraceCase{"a 32nd after a longer note and before a dotted eighth is a note",
                  {{0, 180}, {180, 240}, {240, 600}},
                  "...",
                  {0, 180, 240}},
        GraceCase{"a run of 32nd notes is a passage",
                  {{0, 60}, {60, 120}, {120, 180}, {180, 240}, {240, 300}, {300, 480}},
                  "......",
                  {0, 60, 120, 180, 240, 300}},
        GraceCase{"a short note before a note no longer than twice it is a note",
                  {{0, 60}, {60, 120}},
                  "..",
                  {0, 60}},
        GraceCase{"a short note with a rest after it is a note", {{0, 60}, {240, 720}}, "..", {0, 240}},
        GraceCase{"a short note in a chord is a note", {{0, 60}, {0, 60}, {60, 480}}, "...", {0, 0, 60}}),
    [](const ::testing::TestParamInfo<GraceCase>& info) { return viewtest::CaseName(info.param.name); });

MidiImportFile FileOf(const std::vector<std::uint8_t>& bytes) {
  MidiFileContent content;
  std::string error;
  EXPECT_TRUE(ParseMidiFile(bytes, content, error)) << error;
  return MidiImportFile(std::move(content));
}

struct SignatureCase {
  const char* name;
  std::vector<Track> tracks;
  int noteTrack;
  std::vector<SignatureChange> times;
  std::vector<SignatureChange> keys;
  int tempo;
};

void PrintTo(const SignatureCase& c, std::ostream* out) { *out << c.name; }

class FileSignatures : public ::testing::TestWithParam<SignatureCase> {};

std::string Text(const std::vector<SignatureChange>& list) {
  std::string text;
  for (const SignatureChange& s : list) text += std::to_string(s.tick) + ":" + std::to_string(s.value) + " ";
  return text;
}

TEST_P(FileSignatures, AreTheOnesTheNotesStandUnder) {
  const SignatureCase& c = GetParam();
  const MidiImportFile file = FileOf(Smf(1, 480, c.tracks));
  const std::vector<SignatureChange> scoreTimes = file.ScoreTimeSignatures();
  const std::vector<SignatureChange> scoreKeys = file.ScoreKeySignatures();
  EXPECT_EQ(Text(file.TimeSignatures(c.noteTrack, &scoreTimes)), Text(c.times));
  EXPECT_EQ(Text(file.KeySignatures(c.noteTrack, &scoreKeys)), Text(c.keys));
  EXPECT_EQ(file.Tempo(), c.tempo);
}

const Track kNotes = {On(0, 0, 69), Off(480, 0, 69), On(0, 0, 72), Off(480, 0, 72)};
const Track kLateNotes = {On(960, 0, 69), Off(480, 0, 69)};

INSTANTIATE_TEST_SUITE_P(
    Import, FileSignatures,
    ::testing::Values(
        SignatureCase{"in the first track",
                      {{Time(0, 3, 2), Key(0, -1), Tempo(0, 90)}, kNotes},
                      1,
                      {{0, 3004}},
                      {{0, 3}},
                      90},
        // A conductor track with names only; the signatures in the notes' track.
        SignatureCase{
            "in the track of the notes",
            {{Name(0, "Song")}, {Time(0, 9, 3), Key(0, 2), Tempo(0, 72), On(0, 0, 69), Off(480, 0, 69)}},
            1,
            {{0, 9008}},
            {{0, 4}},
            72},
        SignatureCase{"in a track without notes after the notes' track",
                      {{Name(0, "Song")}, kNotes, {Time(0, 2, 0), Key(0, -3), Tempo(0, 60)}},
                      1,
                      {{0, 2001}},
                      {{0, 7}},
                      60},
        // Given a little after the start, before the first note.
        SignatureCase{"before the first note but not at its start",
                      {{Time(240, 3, 2), Key(0, 1), Tempo(0, 100)}, kLateNotes},
                      1,
                      {{0, 3004}},
                      {{0, 2}},
                      100},
        SignatureCase{"changed after the first note",
                      {{Time(0, 4, 2), Key(0, 0), Time(1920, 3, 2), Key(0, 2), Tempo(0, 120)}, kNotes},
                      1,
                      {{0, 4004}, {1920, 3004}},
                      {{0, 0}, {1920, 4}},
                      120},
        // A minor key reads by its signature: A minor has none, like C major.
        SignatureCase{"a minor key",
                      {{Meta(0, 0x59, {0x00, 0x01}), Meta(0, 0x51, {0x07, 0xA1, 0x20})}, kNotes},
                      1,
                      {{0, 4004}},
                      {{0, 0}},
                      120}),
    [](const ::testing::TestParamInfo<SignatureCase>& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
