// Hearing a chord shape: which notes a shape sounds on a tuning, and what the
// output receives when, on the fake MIDI clock.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordAudition.h"
#include "platform/MidiClock.h"
#include "platform/MidiScheduler.h"

namespace {

const char* const kGuitar = "E A D G B E  323742475156";

struct NotesCase {
  const char* name;
  std::string shape;
  const char* tuning;
  bool octaveLower;
  std::vector<int> notes;
};

// Six blank-padded fields after the string characters, then the flags, the
// string count, the fret rows and the high-row mask (positions 7..25).
std::string WithRows(const std::string& head, char strings, char rows, char high) {
  return head + std::string(9, ' ') + "0000000" + strings + rows + high;
}

class ShapeNotes : public ::testing::TestWithParam<NotesCase> {};

TEST_P(ShapeNotes, AreTheStringsPitchesLowestFirst) {
  const NotesCase& c = GetParam();
  EXPECT_EQ(ChordShapeNotes(CString(c.shape.c_str()), CString(c.tuning), c.octaveLower), c.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapeNotes,
    ::testing::Values(
        // Pitch number + 20: the low E (32) is note 52.
        NotesCase{"OpenEMajor", "0022100", kGuitar, false, {52, 59, 64, 68, 71, 76}},
        NotesCase{"OctaveLowerSoundsTwelveBelow", "0022100", kGuitar, true, {40, 47, 52, 56, 59, 64}},
        NotesCase{"SixMutedStringsSoundNothing", "0999999", kGuitar, false, {}},
        NotesCase{"TooShortAShapeSoundsNothing", "002210", kGuitar, false, {}},
        // Base fret 5 puts row 1 on fret 5.
        NotesCase{"BaseFretMovesTheRows", "5133311", kGuitar, false, {57, 64, 69, 74, 76, 81}},
        // A second-kind dot (5..8) and a muted string give no note; a barre
        // start ('E' = '1' + 20) is its row.
        NotesCase{"MarkedAndBarredStrings", "09E5100", kGuitar, false, {58, 68, 71, 76}},
        // A high-row bit adds four rows: row 1 of the low string is fret 5.
        NotesCase{"HighRowAddsFourFrets",
                  WithRows("0100000", '6', '5', '1'),
                  kGuitar,
                  false,
                  {57, 57, 62, 67, 71, 76}},
        // A four-string bass: one pad, then the strings from its lowest.
        NotesCase{"FourStringBassAfterItsPad",
                  WithRows("0900009", '4', '4', '0'),
                  "  E A D G   *002025303500",
                  false,
                  {40, 45, 50, 55}}),
    [](const ::testing::TestParamInfo<NotesCase>& info) { return std::string(info.param.name); });

class ChordAudition : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMidiClock(&clock_);
    ResetSoundScheduler();
    out_.StampWith(&clock_);
  }
  void TearDown() override {
    ResetSoundScheduler();
    SetMidiClock(previous_);
  }
  std::vector<std::string> Heard() const {
    return out_.TimedEvents(start_);
  }

  FakeMidiClock clock_;
  const std::int64_t start_ = clock_.NowUs();
  RecordingMidiOut out_;
  MidiClock* previous_ = nullptr;
};

TEST_F(ChordAudition, AChordSoundsTogetherForItsHoldAndTheCallReturnsAtOnce) {
  PlayChordShapeOn(&out_, 0, CString("0902210"), CString(kGuitar), 0, 25, false);
  // Only what is due now has gone out when the call returns.
  EXPECT_EQ(out_.Events().size(), 1u + 5u);
  ASSERT_TRUE(clock_.RunUntilIdle());
  EXPECT_EQ(Heard(), (std::vector<std::string>{"0 c0 19 3f", "0 90 39 3f", "0 90 40 3f", "0 90 45 3f",
                                               "0 90 48 3f", "0 90 4c 3f", "1920 80 39 3f", "1920 80 40 3f",
                                               "1920 80 45 3f", "1920 80 48 3f", "1920 80 4c 3f"}));
  EXPECT_EQ(out_.Log().front(), "open 0 78624");
}

TEST_F(ChordAudition, AStrumSoundsEachStringForTheDelayInTurn) {
  PlayChordShapeOn(&out_, 0, CString("0999100"), CString(kGuitar), 25, 0, false);
  ASSERT_TRUE(clock_.RunUntilIdle());
  EXPECT_EQ(Heard(), (std::vector<std::string>{"0 c0 00 3f", "0 90 44 3f", "25 80 44 3f", "25 90 47 3f",
                                               "50 80 47 3f", "50 90 4c 3f", "75 80 4c 3f"}));
}

TEST_F(ChordAudition, OnlyAProgramOfADataByteIsSent) {
  // 128 and above would put a status byte where a data byte belongs.
  for (int program : {-1, 128, 130}) {
    RecordingMidiOut out;
    out.SetOpen(true);
    PlayChordShapeOn(&out, 0, CString("0999991"), CString(kGuitar), 0, program, false);
    ASSERT_FALSE(out.Events().empty());
    for (const MidiShortEvent& e : out.Events()) EXPECT_NE(e.status & 0xF0, 0xC0) << program;
  }
  ResetSoundScheduler();
}

TEST_F(ChordAudition, WithoutADeviceNothingIsSentAndNothingWaits) {
  out_.SetOpenFails(true);
  PlayChordShapeOn(&out_, 3, CString("0022100"), CString(kGuitar), 0, 25, false);
  EXPECT_TRUE(out_.Events().empty());
  EXPECT_TRUE(SoundScheduler().Empty());
  // And with no output at all.
  PlayChordShapeOn(nullptr, 0, CString("0022100"), CString(kGuitar), 0, 25, false);
  EXPECT_TRUE(SoundScheduler().Empty());
}

TEST_F(ChordAudition, TheDialogsReachTheInstalledPlayer) {
  std::vector<std::string> calls;
  SetChordAudition([&](const CString& shape, const CString& tuning, int strum, int program) {
    calls.push_back(std::string(shape.View()) + "|" + std::to_string(strum) + "|" + std::to_string(program));
  });
  PlayChordShape(CString("0022100"), CString(kGuitar), 25, 7);
  SetChordAudition(nullptr);
  PlayChordShape(CString("0022100"), CString(kGuitar), 25, 7);
  EXPECT_EQ(calls, std::vector<std::string>{"0022100|25|7"});
}

}  // namespace
