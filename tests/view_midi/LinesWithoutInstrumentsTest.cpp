// A score written by another program: its staffs and tablature lines carry
// labels the score's instrument table does not list. Their notes play, each
// line with the instrument of its kind under its own label; and a score whose
// lines truly cannot sound says why, not that it has no lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MidiViewTestSupport.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/midi/ViewPlayInput.h"

namespace {

using miditest::MidiViewFixture;
namespace fs = std::filesystem;

constexpr const char* kGuitarTuning = "E A D G B E  323742475156";
constexpr int kTabRhythm = 72;  // a quarter note on tablature

class LinesWithoutInstruments : public MidiViewFixture {
 protected:
  // Three staffs and two tablature lines, each labelled, none of the labels
  // in the instrument table (as another program leaves it).
  void MakeForeignScore() {
    const char* const staffs[] = {"Violin", "Viola", "Cello"};
    for (int i = 0; i < 3; ++i) {
      auto* staff = new KStaffLine(i == 2 ? 1 : 0, 0, 0);
      FillNotes(*staff, i == 2 ? "0=8@18 1=8@17" : "0=8@17 1=8@16");
      staff->SetLabel(staffs[i]);
      Add(staff);
    }
    for (const char* label : {"Guitar 1", "Guitar 2"}) {
      auto* tab = new KTabLine(2, kGuitarTuning, 0);
      for (int pos = 0; pos < 2; ++pos) {
        auto* column = new KChord(pos);
        column->SetNoteCount(1);
        column->SetNoteValue(0, 2);                        // the second string
        column->SetNoteCode(0, KChord::kFirstFret + pos);  // open, then the first fret
        column->SetRhythmCode(kTabRhythm);
        tab->GetObjList()->AddTail(column);
      }
      tab->UpdateTimeSigCache();
      tab->SetLabel(label);
      Add(tab);
    }
    Open(0, 0);
    ui.ClearRecords();
  }
};

// The notes each track sounds, as MIDI note numbers in order.
std::vector<int> NotesOf(const KPerformance& performance, int track) {
  std::vector<int> notes;
  for (const KPerfEvent& event : performance.events) {
    if (event.track == track && event.IsNoteOn()) notes.push_back(event.data1);
  }
  return notes;
}

TEST_F(LinesWithoutInstruments, LabelsTheTableLacksPlayWithTheirLineKindsInstrument) {
  MakeForeignScore();
  const int treble = view->m_labels[0].program;
  const int bass = view->m_labels[1].program;
  const int tab = view->m_labels[2].program;
  const KPerformance performance = BuildViewPerformance(*view, false);
  ASSERT_EQ(performance.tracks.size(), 5u);
  const struct {
    const char* name;
    int program;
  } expected[] = {
      {"Violin", treble}, {"Viola", treble}, {"Cello", bass}, {"Guitar 1", tab}, {"Guitar 2", tab}};
  for (int t = 0; t < 5; ++t) {
    EXPECT_EQ(performance.tracks[static_cast<std::size_t>(t)].name, expected[t].name);
    EXPECT_EQ(performance.tracks[static_cast<std::size_t>(t)].program, expected[t].program)
        << expected[t].name;
    EXPECT_EQ(NotesOf(performance, t).size(), 2u) << expected[t].name;
  }
  // One string open, then at its first fret: a semitone higher.
  const std::vector<int> guitar = NotesOf(performance, 3);
  ASSERT_EQ(guitar.size(), 2u);
  EXPECT_EQ(guitar[1], guitar[0] + 1);
}

TEST_F(LinesWithoutInstruments, TheExportCommandWritesEveryLine) {
  MakeForeignScore();
  const fs::path path = folder.Path() / "foreign.mid";
  SaveAs(path);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  EXPECT_TRUE(ui.Messages().empty()) << ui.Messages().front().text;
  EXPECT_TRUE(fs::exists(path));
}

TEST_F(LinesWithoutInstruments, AnEntryWithoutAProgramTakesItsLineKinds) {
  MakeForeignScore();
  view->SetLineLabel(Line(0), "Violin");
  for (int i = 0; i < view->m_labelCount; ++i) {
    LabelEntry& entry = view->m_labels[static_cast<std::size_t>(i)];
    if (entry.name == "Violin") entry.program = 0;  // a program another program counted from 0
  }
  const KPerformance performance = BuildViewPerformance(*view, false);
  ASSERT_FALSE(performance.tracks.empty());
  EXPECT_EQ(performance.tracks[0].name, "Violin");
  EXPECT_EQ(performance.tracks[0].program, view->m_labels[0].program);
}

TEST_F(LinesWithoutInstruments, LinesThatAllPlayTheSilentInstrumentSaySo) {
  MakeForeignScore();
  for (int i = 0; i < 5; ++i) {
    view->SetLineLabel(Line(i), "Quiet");
  }
  for (int i = 0; i < view->m_labelCount; ++i) {
    LabelEntry& entry = view->m_labels[static_cast<std::size_t>(i)];
    if (entry.name == "Quiet") entry.program = 129;
  }
  ui.ClearRecords();
  SaveAs(folder.Path() / "quiet.mid");
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(
      ui.Messages()[0].text,
      "Every staff, tablature and drum line of the score plays the silent instrument, so no MIDI file was "
      "written.");
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

}  // namespace
