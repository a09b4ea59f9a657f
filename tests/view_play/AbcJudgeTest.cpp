// The program's own road from an ABC file to a MIDI file (File | Import | ABC
// File, then File | Export | Full Score As MIDI File), judged by an outside
// player: abc2midi plays the same tune, and every note of the two files
// (read back with midicsv) must start, sound and end alike, within 1/48 of a
// quarter note. One short tune per feature of written time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "midi/LinePlayEvents.h"
#include "platform/Clipboard.h"
#include "support/CaseName.h"
#include "support/MidiCsvTable.h"
#include "support/TempFolder.h"
#include "translate/KTextDoc.h"
#include "view_translate/TranslateFixture.h"

namespace {

namespace fs = std::filesystem;

// One note as a MIDI file plays it, in ticks of 480 to the quarter.
struct Note {
  long on = 0;
  int key = 0;
  long length = 0;
};

bool HaveTool(const char* name) {
  const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::string RunTool(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

// Every note of a MIDI file, in order of onset and key: each note-on is paired
// with the next note-off of its channel and key.
std::vector<Note> NotesOf(const fs::path& file) {
  std::vector<Note> notes;
  long division = 480;
  std::map<std::pair<int, int>, std::vector<long>> open;  // (channel, key) -> onsets
  std::istringstream lines(midicsv::Run(file));
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = midicsv::Fields(line);
    if (f.size() >= 6 && f[2] == "Header") division = std::stol(f[5]);
    if (f.size() < 6 || (f[2] != "Note_on_c" && f[2] != "Note_off_c")) continue;
    const long tick = std::stol(f[1]) * 480 / division;
    const std::pair<int, int> at{std::stoi(f[3]), std::stoi(f[4])};
    if (f[2] == "Note_on_c" && f[5] != "0") {
      open[at].push_back(tick);
    } else if (!open[at].empty()) {
      notes.push_back({open[at].front(), at.second, tick - open[at].front()});
      open[at].erase(open[at].begin());
    }
  }
  std::sort(notes.begin(), notes.end(),
            [](const Note& a, const Note& b) { return a.on != b.on ? a.on < b.on : a.key < b.key; });
  return notes;
}

std::string Show(const std::vector<Note>& notes) {
  std::string out;
  for (const Note& n : notes)
    out += std::to_string(n.on) + " " + std::to_string(n.key) + " " + std::to_string(n.length) + "\n";
  return out;
}

// The notes match one for one: the same key, onsets and lengths within 10
// ticks (1/48 of a quarter note).
bool Alike(const std::vector<Note>& a, const std::vector<Note>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].key != b[i].key || std::abs(a[i].on - b[i].on) > 10 || std::abs(a[i].length - b[i].length) > 10)
      return false;
  }
  return true;
}

struct Tune {
  const char* name;
  const char* abc;
};

void PrintTo(const Tune& tune, std::ostream* out) { *out << tune.name; }

class AbcJudge : public viewtest::TranslateFixture, public ::testing::WithParamInterface<Tune> {
 protected:
  void SetUp() override {
    TranslateFixture::SetUp();
    InstallLinePlayInterpreter();
    previous_ = SetClipboardPort(&clipboard_);
    // A new score: its title line and the text line with the caret.
    AddText("");
    AddText("");
    Layout(1);
  }
  void TearDown() override {
    SetClipboardPort(previous_);
    KListLine::SetPlayTextInterpreter(nullptr);
    TranslateFixture::TearDown();
  }

  // File | Import | ABC File: the file's text handed to the new score as ABC.
  void ImportAbc(const fs::path& file) {
    KTextDoc document;
    CString message;
    ASSERT_TRUE(document.Load(file.string(), message)) << message.View();
    const KTextDoc::KHandOver handOver = document.DecideHandOver(false, true, false, false, false);
    ASSERT_TRUE(handOver.toScore && handOver.abc);
    view->ReceiveHandedOverText(document.TextForScore(), handOver.abc, handOver.tablature);
  }

  // File | Export | Full Score As MIDI File, saved under the path.
  void ExportMidi(const fs::path& file) {
    ui.AnswerSaveFile([file](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(file.string());
      return true;
    });
    ASSERT_TRUE(Run(cmd::kExportMidi));
    ASSERT_TRUE(fs::exists(file)) << "no MIDI file was written";
  }

  stavlin_test::TempFolder folder{"abcjudge"};

 private:
  MemoryClipboard clipboard_;
  ClipboardPort* previous_ = nullptr;
};

TEST_P(AbcJudge, TheProgramPlaysTheTuneAsAbc2midiDoes) {
  if (!HaveTool("abc2midi") || !midicsv::Installed()) GTEST_SKIP() << "abc2midi or midicsv is not installed";
  const Tune& tune = GetParam();
  const fs::path abc = folder.Path() / "tune.abc";
  std::ofstream(abc, std::ios::binary) << tune.abc;
  const fs::path theirs = folder.Path() / "theirs.mid";
  RunTool("abc2midi " + abc.string() + " 1 -o " + theirs.string());
  const std::vector<Note> expected = NotesOf(theirs);
  ASSERT_FALSE(expected.empty()) << "abc2midi played nothing";

  ImportAbc(abc);
  const fs::path ours = folder.Path() / "ours.mid";
  ExportMidi(ours);
  const std::vector<Note> played = NotesOf(ours);
  EXPECT_TRUE(Alike(played, expected)) << "the program:\n"
                                       << Show(played) << "abc2midi:\n"
                                       << Show(expected) << "score:\n"
                                       << DumpLine(Line(2));
}

const Tune kTunes[] = {
    {"SingleMelodyWithStemsBothWays",
     "X:1\nT:Stems\nM:4/4\nL:1/8\nK:C\nC D E F G A B c|d e f g a g f e|d2 B2 G2 E2|C8|]\n"},
    {"DottedAndBrokenRhythms",
     "X:1\nT:Dots\nM:4/4\nL:1/8\nK:G\nG3 A B2 d2|c>B A>G F<G A2|B3/2c/ d3/2e/ d4|]\n"},
    {"Triplets", "X:1\nT:Triplets\nM:4/4\nL:1/8\nK:C\n(3CDE F2 (3GAB c2|(3cBA G2 E2 C2|]\n"},
    {"GraceNotes", "X:1\nT:Graces\nM:4/4\nL:1/8\nK:D\nd2 {e}d2 {fe}d2 A2|{g}f4 d4|]\n"},
    {"Rests", "X:1\nT:Rests\nM:3/4\nL:1/8\nK:C\nz2 E2 G2|c4 z2|z G E C z2|C6|]\n"},
    {"TiesAcrossBars", "X:1\nT:Ties\nM:4/4\nL:1/8\nK:F\nF2 A2 c4-|c2 A2 F4-|F8|]\n"},
    {"RepeatsWithEndings", "X:1\nT:Endings\nM:4/4\nL:1/8\nK:C\n|:C2 E2 G2 E2|1 D4 G4:|2 C8|]\n"},
};

INSTANTIATE_TEST_SUITE_P(Tunes, AbcJudge, ::testing::ValuesIn(kTunes),
                         [](const ::testing::TestParamInfo<Tune>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
