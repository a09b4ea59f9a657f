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
#include "support/OutsideTools.h"
#include "support/TempFolder.h"
#include "translate/KTextDoc.h"
#include "view_translate/TranslateFixture.h"

namespace {

namespace fs = std::filesystem;

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
  if (!stavlin_test::HaveTool("abc2midi") || !midicsv::Installed())
    GTEST_SKIP() << "abc2midi or midicsv is not installed";
  const Tune& tune = GetParam();
  const fs::path abc = folder.Path() / "tune.abc";
  std::ofstream(abc, std::ios::binary) << tune.abc;
  const fs::path theirs = folder.Path() / "theirs.mid";
  int status = 0;
  stavlin_test::RunTool("abc2midi " + abc.string() + " 1 -o " + theirs.string(), status);
  const std::vector<midicsv::PlayedNote> expected = midicsv::PlayedNotes(midicsv::Run(theirs));
  ASSERT_FALSE(expected.empty()) << "abc2midi played nothing";

  ImportAbc(abc);
  const fs::path ours = folder.Path() / "ours.mid";
  ExportMidi(ours);
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(ours));
  EXPECT_TRUE(midicsv::SameNotes(played, expected, 10)) << "the program:\n"
                                                        << midicsv::Show(played) << "abc2midi:\n"
                                                        << midicsv::Show(expected) << "score:\n"
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
