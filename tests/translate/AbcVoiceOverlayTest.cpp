// A voice overlay ("&" within a bar) is a second voice of the bar: its notes
// stand in the bar's columns at the times they sound, with stems down under
// the first voice's stems up, so that each voice keeps its own time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "AbcReaderTestSupport.h"
#include "model/KLineTime.h"
#include "support/CaseName.h"

namespace {

struct Timed {
  int start;
  int midi;
  int length;
  bool down;  // the note's stem goes down (the lower voice)
};

// Every note of the staff lines as "name@start:ticks", in order of start and
// pitch (lowest first), with "v" after the lower voice's notes when the bar
// is written in two voices.
std::string TimedNotes(const std::vector<std::unique_ptr<KLineObj>>& lines) {
  static const char* const kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  std::vector<std::tuple<int, int, int, bool, bool>> notes;
  int offset = 0;
  for (const auto& line : lines) {
    const auto* staff = dynamic_cast<const KStaffLine*>(line.get());
    if (staff == nullptr) continue;
    const KLineTime time(*staff);
    for (const KColumnTime& column : time.Columns()) {
      if (column.chord == nullptr || column.kind != KColumnTime::Kind::kNotes) continue;
      const KChord& chord = *column.chord;
      for (int i = 0; i < chord.GetNoteCount(); ++i) {
        const NotePair note = chord.GetNote(i);
        if (note.code < 0 || note.code > KChord::kWholeNote) continue;
        const int midi = staff->GetPitchAtRow(note.position, chord.GetPos()) + 20;
        notes.emplace_back(offset + column.start, midi, chord.GetNoteLength(i), note.code % 2 == 1,
                           column.twoVoices);
      }
    }
    offset += time.End();
  }
  std::sort(notes.begin(), notes.end());
  std::string out;
  for (const auto& [start, midi, length, down, two] : notes) {
    if (!out.empty()) out += ' ';
    out += std::string(kNames[midi % 12]) + std::to_string(midi / 12 - 1) + '@' + std::to_string(start) +
           ':' + std::to_string(length) + (two && down ? "v" : "");
  }
  return out;
}

struct OverlayCase {
  const char* name;
  const char* abc;
  const char* notes;  // TimedNotes of what it reads as
};

class AbcVoiceOverlayTest : public AbcReaderTest, public ::testing::WithParamInterface<OverlayCase> {};

TEST_P(AbcVoiceOverlayTest, EachVoiceSoundsInItsOwnTime) {
  EXPECT_EQ(TimedNotes(ReadAbcText(GetParam().abc)), GetParam().notes) << GetParam().abc;
}

INSTANTIATE_TEST_SUITE_P(
    Overlays, AbcVoiceOverlayTest,
    ::testing::Values(
        // A held note under a melody: it sounds from the bar's start, and the
        // melody goes on over it.
        OverlayCase{"held note under a melody", "L:1/8\nK:C\nA2 B2 c4 & C8 |",
                    "C4@0:1920 A4@0:480 B4@480:480 C5@960:960"},
        // Notes of both voices that start together share a column; one that
        // starts while the other voice holds gets a column of its own.
        OverlayCase{
            "onsets of either voice", "L:1/8\nK:C\ncdef & C2 D/E/F |",
            "C4@0:480v C5@0:240 D5@240:240 D4@480:120v E5@480:240 E4@600:120v F4@720:240v F5@720:240"},
        // The bar after the overlay starts when both voices have ended.
        OverlayCase{"next bar after both voices", "L:1/8\nK:C\nc2d2 & C4- | C2 e2 |",
                    "C4@0:960v C5@0:480 D5@480:480 C4@960:480 E5@1440:480"},
        // A rest in the overlay keeps the lower voice's time.
        OverlayCase{"rest in the overlay", "L:1/8\nK:C\nc2d2 & z2 D2 |", "C5@0:480 D4@480:480v D5@480:480"},
        // An overlay with nothing in it, or standing alone, leaves the bar as it is.
        OverlayCase{"empty overlay", "L:1/4\nK:C\nc d & | e &&", "C5@0:480 D5@480:480 E5@960:480"},
        // A third voice joins the second, under the first.
        OverlayCase{"third voice", "L:1/4\nK:C\nc d & E2 & C2 |", "C4@0:960v E4@0:960v C5@0:480 D5@480:480"},
        // Several bars each with its overlay; a plain bar between them.
        OverlayCase{"overlay in several bars", "L:1/4\nK:C\nc d & C2 | e f | g a & G,2 |",
                    "C4@0:960v C5@0:480 D5@480:480 E5@960:480 F5@1440:480 G3@1920:960v G5@1920:480 "
                    "A5@2400:480"}),
    [](const ::testing::TestParamInfo<OverlayCase>& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
