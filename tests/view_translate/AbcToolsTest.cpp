// The ABC the score exports is checked by the ABC tools people use: abcm2ps
// and abc2midi read it without an error, and the notes abc2midi plays (read
// back from its MIDI file through midicsv) are the notes of the score, at the
// times the score has them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TranslateFixture.h"
#include "support/OutsideTools.h"
#include "support/TempFolder.h"

namespace {

using stavlin_test::HaveTool;
using stavlin_test::RunTool;

// An onset of the music: the time (480 a quarter) and the notes that start then.
using Onsets = std::map<long, std::multiset<int>>;

// The notes the score plays: each note column of each staff, one after the
// other, lasting its note value (with dots); rests take their time too.
Onsets ScoreOnsets(CStavlinView& view) {
  Onsets onsets;
  long time = 0;
  for (int d = 0; d < view.GetDisplayLineCount(); ++d) {
    const auto* staff = dynamic_cast<const KStaffLine*>(view.GetDisplayLineObj(d));
    if (staff == nullptr) continue;
    for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(staff->GetObjList()->GetNext(node));
      if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
      int ticks = 0;
      int eighths = 8;
      std::vector<int> notes;
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        if (note.code == KChord::kDot) eighths = 12;
        if (note.code == KChord::kDoubleDot) eighths = 14;
        int value = 0;
        if (note.code <= 12) {
          static constexpr int kTicks[13] = {240, 240, 120, 120, 60, 60, 30, 30, 480, 480, 960, 960, 1920};
          value = kTicks[note.code];
          notes.push_back(staff->GetPitchAtRow(note.position, column->GetPos()) + KStaffLine::kPitchToMidi);
        } else if (note.code >= 14 && note.code <= 20) {
          value = 1920 >> (note.code - 14);
        }
        ticks = std::max(ticks, value);
      }
      if (ticks == 0) continue;
      if (!notes.empty()) onsets[time].insert(notes.begin(), notes.end());
      time += ticks * eighths / 8;
    }
  }
  return onsets;
}

// The melody's notes of a MIDI file as midicsv lists them (channel 0),
// times scaled to 480 a quarter.
Onsets MidiOnsets(const std::string& csv) {
  Onsets onsets;
  long division = 480;
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    std::string field;
    while (std::getline(parts, field, ',')) {
      field.erase(0, field.find_first_not_of(' '));
      fields.push_back(field);
    }
    if (fields.size() >= 6 && fields[2] == "Header") division = std::stol(fields[5]);
    if (fields.size() < 6 || fields[2] != "Note_on_c" || fields[3] != "0" || fields[5] == "0") continue;
    // abc2midi spreads the notes of a chord over a few ticks.
    long time = (std::stol(fields[1]) * 480 / division + 5) / 10 * 10;
    if (auto near = onsets.lower_bound(time - 15); near != onsets.end() && near->first <= time)
      time = near->first;
    onsets[time].insert(std::stoi(fields[4]));
  }
  return onsets;
}

std::string Show(const Onsets& onsets) {
  std::string out;
  for (const auto& [time, notes] : onsets) {
    out += std::to_string(time) + ":";
    for (int note : notes) out += " " + std::to_string(note);
    out += "\n";
  }
  return out;
}

class AbcTools : public viewtest::TranslateFixture {};

TEST_F(AbcTools, AcceptTheExportedScoreAndPlayItsNotes) {
  if (!HaveTool("abc2midi") || !HaveTool("abcm2ps") || !HaveTool("midicsv"))
    GTEST_SKIP() << "abc2midi, abcm2ps or midicsv is not installed";
  // A score read from ABC: two tunes, meters and keys changing between and
  // within lines, accidentals, chords, dotted and broken rhythms, rests,
  // chord names, slurs and a title.
  AddTextBlock(
      "X:1\n"
      "T:Over the Water\n"
      "M:6/8\n"
      "L:1/8\n"
      "Q:1/4=120\n"
      "K:G\n"
      "\"G\"GAB \"D\"A2F|\"Em\"E>FG \"C\"c2B|[DB]2d =f2e|d3 z3|\n"
      "M:4/4\n"
      "K:Bb\n"
      "B,CDE F2_A2|(B/c/d) c>B A4|[K:D]FGAB c2d2|\n"
      "X:2\n"
      "T:Second Tune\n"
      "M:3/4\n"
      "K:Em\n"
      "E2 ^D2 E2|G3 F/E/ D2|E6|]");
  Layout();
  SelectLines(0, view->GetDisplayLineCount() - 1);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  const Onsets score = ScoreOnsets(*view);
  ASSERT_GT(score.size(), 20u);

  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  ASSERT_TRUE(Run(cmd::kExportAbc));
  ASSERT_EQ(frame.textDocuments.size(), 1u);
  const std::string abc(frame.textDocuments[0].second.View());
  // The chord names read over the notes stand over the same notes again.
  // (A quarter note stays in the run of eighths before it when its stem goes
  // their way: nothing it could beam with needs a blank.)
  EXPECT_NE(abc.find("\"G\"GAB\"D\"A2F|\"Em\"E3/2F/2G \"C\"c2B|"), std::string::npos) << abc;

  stavlin_test::TempFolder folder("abctools");
  const std::string file = (folder.Path() / "export.abc").string();
  std::ofstream(file, std::ios::binary) << abc;

  int status = 0;
  const std::string ps =
      RunTool("abcm2ps -q -O " + (folder.Path() / "export.ps").string() + " " + file, status);
  EXPECT_EQ(status, 0) << ps;
  EXPECT_EQ(ps.find("rror"), std::string::npos) << ps << "\n" << abc;

  // Only the first tune: abc2midi writes each tune to a file of its own.
  const std::string midi = (folder.Path() / "tune.mid").string();
  const std::string played = RunTool("abc2midi " + file + " 1 -o " + midi, status);
  EXPECT_EQ(status, 0) << played;
  EXPECT_EQ(played.find("rror"), std::string::npos) << played << "\n" << abc;
  const std::string csv = RunTool("midicsv " + midi, status);
  ASSERT_EQ(status, 0) << csv;

  // The first tune's notes: those of the score before the second title.
  Onsets firstTune;
  const Onsets played1 = MidiOnsets(csv);
  long end = 0;
  for (const auto& [time, notes] : played1) end = std::max(end, time);
  for (const auto& [time, notes] : score) {
    if (time <= end) firstTune[time] = notes;
  }
  EXPECT_EQ(Show(played1), Show(firstTune)) << abc;
}

}  // namespace
