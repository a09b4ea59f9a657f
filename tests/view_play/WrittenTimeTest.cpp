// What is written is what is heard: scores made in the view, exported as
// File | Export | Full Score As MIDI File and read back with midicsv, tick by
// tick. Two voices typed on one staff keep each its own time; the welcome
// score plays its melody one note after another, and its staff and
// tablature once; a rest on a tablature line takes its time as on a staff.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "doc/pref_values/Preferences.h"
#include "lines/KTabLine.h"
#include "platform/Keys.h"
#include "platform/qt/GsfCompoundFile.h"
#include "support/CaseName.h"
#include "support/MidiCsvTable.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view_midi/MidiViewTestSupport.h"

namespace {

namespace fs = std::filesystem;

// The notes of a MIDI file as "onset key length" lines, in order of onset and key.
std::string Notes(const fs::path& file) {
  std::multimap<std::pair<long, int>, long> notes;
  std::map<std::pair<int, int>, std::vector<long>> open;
  std::istringstream lines(midicsv::Run(file));
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = midicsv::Fields(line);
    if (f.size() < 6 || (f[2] != "Note_on_c" && f[2] != "Note_off_c")) continue;
    const long tick = std::stol(f[1]);
    const std::pair<int, int> at{std::stoi(f[3]), std::stoi(f[4])};
    if (f[2] == "Note_on_c" && f[5] != "0") {
      open[at].push_back(tick);
    } else if (!open[at].empty()) {
      notes.emplace(std::pair<long, int>{open[at].front(), at.second}, tick - open[at].front());
      open[at].erase(open[at].begin());
    }
  }
  std::string out;
  for (const auto& [on, length] : notes)
    out += std::to_string(on.first) + " " + std::to_string(on.second) + " " + std::to_string(length) + "\n";
  return out;
}

class WrittenTime : public miditest::MidiViewFixture {
 protected:
  void SetUp() override {
    MidiViewFixture::SetUp();
    savedInstruments_ = g_prefMidiInstruments;
    g_prefMidiInstruments.tabOctaveLower = 0;
  }
  void TearDown() override {
    g_prefMidiInstruments = savedInstruments_;
    MidiViewFixture::TearDown();
  }

  // File | Export | Full Score As MIDI File; the notes of the file written.
  std::string Export() {
    const fs::path path = folder.Path() / "score.mid";
    SaveAs(path);
    EXPECT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
    return Notes(path);
  }

  void Type(const std::string& keys) {
    for (char c : keys) view->OnChar(static_cast<unsigned char>(c), 1, 0);
  }
  void Left() { view->OnKeyDown(VK_LEFT, 1, 0); }

 private:
  KPrefMidiInstruments savedInstruments_;
};

TEST_F(WrittenTime, TwoVoicesTypedOnOneStaffKeepEachItsOwnTime) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  // A melody of eighths with stems up (E5) over half notes with stems down
  // (E4), typed as a user types them: the half note, back one column, up an
  // octave, the eighths; then the second half note under the fifth eighth.
  Add(new KStaffLine(0, 0, 0));
  Open(0, 0);
  view->m_autoBars = 1;
  view->m_caretRow = 22;
  Type("H");
  Left();
  Type("Etttt");
  Type("eH");
  Left();
  Type("Etttt");
  // Automatic bar entry closes the bar when both voices have filled it.
  ASSERT_EQ(DumpLine(Line(0)), "0:0@15,11@22 1:0@15 2:0@15 3:0@15 4:0@15,11@22 5:0@15 6:0@15 7:0@15 8:21@15");
  EXPECT_EQ(Export(),
            "0 64 960\n0 76 240\n240 76 240\n480 76 240\n720 76 240\n"
            "960 64 960\n960 76 240\n1200 76 240\n1440 76 240\n1680 76 240\n");
}

TEST_F(WrittenTime, TheWelcomeScorePlaysItsMelodyOneNoteAfterAnotherAndOnce) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  const fs::path welcome = fs::path(STAVLIN_RESOURCE_DIR) / "samples" / "_Welcome To Stavlin_.svd";
  // The score file as the program opens it.
  std::unique_ptr<KCompoundFile> previous = SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  const bool opened = doc.OnOpenDocument(welcome.string().c_str());
  SetCurrentCompoundFile(std::move(previous));
  ASSERT_TRUE(opened);
  Open(0, 0);
  // GABc d2B2|c2e2 g2e2|dcBA F2A2|B4 G4|] in G, each note once.
  EXPECT_EQ(Export(),
            "0 67 240\n240 69 240\n480 71 240\n720 72 240\n960 74 480\n1440 71 480\n"
            "1920 72 480\n2400 76 480\n2880 79 480\n3360 76 480\n"
            "3840 74 240\n4080 72 240\n4320 71 240\n4560 69 240\n4800 66 480\n5280 69 480\n"
            "5760 71 960\n6720 67 960\n");
}

TEST_F(WrittenTime, ARestOnATablatureLineTakesItsTimeAsOnAStaff) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  // Quarter, quarter rest, quarter, half rest, quarter on the open high E
  // string: the rests keep their time.
  Add(new KTabLine(0, viewtest::kGuitar, 0));
  Open(0, 0);
  view->m_caretRow = 2;
  Type("q0!0-0");
  EXPECT_EQ(Export(), "0 76 480\n960 76 480\n2400 76 480\n") << DumpLine(Line(0));
}

// Automatic bar entry counts every column at its true length, in 4/4.
struct BarCase {
  const char* name;
  const char* keys;
  std::vector<int> bars;
};

class AutoBars : public WrittenTime, public ::testing::WithParamInterface<BarCase> {};

TEST_P(AutoBars, CloseTheMeasureTheNotesFill) {
  Add(new KStaffLine(0, 0, 0));
  Open(0, 0);
  view->m_autoBars = 1;
  view->m_caretRow = 18;
  Type(GetParam().keys);
  std::vector<int> bars;
  const CObList* objects = List(0)->GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(objects->GetNext(node));
    if (column != nullptr && column->IsBarColumn()) bars.push_back(column->GetPos());
  }
  EXPECT_EQ(bars, GetParam().bars) << DumpLine(Line(0));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AutoBars,
    ::testing::Values(BarCase{"a dot typed before a half note counts", ".hq", {2}},
                      BarCase{"eighths with stems both ways count as one melody", "tTtTtTtT", {8}},
                      BarCase{"a dotted half then a quarter rest", ".h!", {2}},
                      BarCase{"a whole note after a full bar gets its own bar", "ww", {1, 3}},
                      BarCase{"a measure short of its time gets no bar", "qqq", {}}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
