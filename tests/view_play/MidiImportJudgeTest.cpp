// MIDI files made by an outside player (abc2midi, from short ABC tunes written
// for each feature of written time) imported with File | Import | MIDI File by
// both methods, then exported again with File | Export | Full Score As MIDI
// File: the exported file must play the tune as abc2midi's file does, note
// for note (onset, key and length within 1/48 of a quarter note), with the
// same tempo, time signature and key signature (its minor flag too). And an
// import of the program's own export gives back the same score.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/KDlgMidiImpSettings.h"
#include "midi/LinePlayEvents.h"
#include "platform/FileBytes.h"
#include "support/CaseName.h"
#include "support/MidiCsvTable.h"
#include "support/OutsideTools.h"
#include "support/TempFolder.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/commands/MidiFileImport.h"

namespace {

namespace fs = std::filesystem;

struct Tune {
  const char* name;
  const char* abc;
};

struct Case {
  Tune tune;
  int method;  // 1 or 2
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.tune.name << " by method " << c.method; }

// The meta events that say how the music is to be read: the first tempo, time
// signature and key signature of the file, as midicsv prints them.
std::string Conductor(const std::string& csv) {
  std::string tempo;
  std::string time;
  std::string key;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = midicsv::Fields(line);
    if (f.size() < 4) continue;
    if (f[2] == "Tempo" && tempo.empty()) tempo = "tempo " + f[3];
    if (f[2] == "Time_signature" && time.empty() && f.size() >= 5) time = "time " + f[3] + "/" + f[4];
    if (f[2] == "Key_signature" && key.empty() && f.size() >= 5) key = "key " + f[3] + " " + f[4];
  }
  return tempo + ", " + time + ", " + key;
}

class MidiImportJudge : public viewtest::ViewScoreFixture, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    InstallLinePlayInterpreter();
    savedMethod_ = g_midiImportMethod;
    savedWarning_ = g_midiShortNoteWarning;
  }
  void TearDown() override {
    g_midiImportMethod = savedMethod_;
    g_midiShortNoteWarning = savedWarning_;
    KListLine::SetPlayTextInterpreter(nullptr);
    ViewScoreFixture::TearDown();
  }

  // File | Import | MIDI File | Method 1 or 2, the settings dialog confirmed
  // with the same method; the new score gets a view of its own.
  CStavlinDoc* Import(const fs::path& file, int method) {
    g_midiImportMethod = method == 1 ? 1 : 0;
    ui.AnswerDialog(KDlgMidiImpSettings::kTemplateId, [method](KModalDialog& dialog) {
      static_cast<KDlgMidiImpSettings&>(dialog).methodIndex = method == 1 ? 0 : 1;
      return IDOK;
    });
    const fileio::ReadResult bytes = fileio::ReadWholeFile(file);
    if (!bytes.ok()) return nullptr;
    MidiFileImportResult result = ImportMidiBytes(CString(file.string().c_str()), bytes.bytes);
    if (result.document == nullptr) return nullptr;
    view.reset();
    imported_.push_back(std::move(result.document));
    view = std::make_unique<CStavlinView>(imported_.back().get(), &host);
    Layout(0);
    return imported_.back().get();
  }

  // File | Export | Full Score As MIDI File of the score in the view.
  bool Export(const fs::path& file) {
    ui.AnswerSaveFile([file](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(file.string());
      return true;
    });
    return ExecuteViewCommand(*view, cmd::kExportMidi) && fs::exists(file);
  }

  // The score's staves, column by column.
  std::string Score() const {
    std::string out;
    for (int i = 0; i < view->GetDisplayLineCount(); ++i) {
      const KLineObj* line = Line(i);
      if (line != nullptr && KLineObj::IsNoteFamily(line->GetFamily())) out += DumpLine(line) + "\n";
    }
    return out;
  }

  stavlin_test::TempFolder folder{"midijudge"};

 private:
  std::vector<std::unique_ptr<CStavlinDoc>> imported_;
  int savedMethod_ = 1;
  int savedWarning_ = 1;
};

TEST_P(MidiImportJudge, TheImportedScorePlaysTheTuneAsAbc2midiDoes) {
  if (!stavlin_test::HaveTool("abc2midi") || !midicsv::Installed())
    GTEST_SKIP() << "abc2midi or midicsv is not installed";
  const Case& c = GetParam();
  const fs::path abc = folder.Path() / "tune.abc";
  std::ofstream(abc, std::ios::binary) << c.tune.abc;
  const fs::path theirs = folder.Path() / "theirs.mid";
  int status = 0;
  const std::string said =
      stavlin_test::RunTool("abc2midi " + abc.string() + " 1 -o " + theirs.string(), status);
  const std::string theirCsv = midicsv::Run(theirs);
  const std::vector<midicsv::PlayedNote> expected = midicsv::PlayedNotes(theirCsv);
  ASSERT_FALSE(expected.empty()) << "abc2midi played nothing: " << said;

  ASSERT_NE(Import(theirs, c.method), nullptr) << "the import made no score";
  const std::string first = Score();
  const fs::path ours = folder.Path() / "ours.mid";
  ASSERT_TRUE(Export(ours)) << "no MIDI file was written";
  const std::string ourCsv = midicsv::Run(ours);
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(ourCsv);
  EXPECT_TRUE(midicsv::SameNotes(played, expected, 10)) << "the program:\n"
                                                        << midicsv::Show(played) << "abc2midi:\n"
                                                        << midicsv::Show(expected) << "score:\n"
                                                        << first;
  EXPECT_EQ(Conductor(ourCsv), Conductor(theirCsv));

  // The program's own file imports as the same score.
  ASSERT_NE(Import(ours, c.method), nullptr) << "the second import made no score";
  EXPECT_EQ(Score(), first);
}

const Tune kTunes[] = {
    {"notes tied across bar lines",
     "X:1\nT:Ties\nM:4/4\nL:1/8\nK:C\nC2 E2 G2 c2-|c2 G2 E2 f2-|f2 e2 d2 c2|C3 D3 E2-|E8|]\n"},
    {"dotted and broken rhythms",
     "X:1\nT:Dots\nM:4/4\nL:1/8\nK:G\nG3 A B2 d2|c>B A>G F<G A2|B<c d>e d4|G6 z2|]\n"},
    {"eighth note triplets", "X:1\nT:Triplets\nM:4/4\nL:1/8\nK:C\n(3CDE F2 (3GAB c2|(3cBA G2 E2 C2|]\n"},
    {"grace notes", "X:1\nT:Graces\nM:4/4\nL:1/8\nK:D\nd2 {e}d2 {fe}d2 A2|{g}f4 d4|]\n"},
    {"a minor key", "X:1\nT:Minor\nM:4/4\nL:1/8\nK:Am\nA2 c2 e2 c2|B2 G2 E2 ^G2|A8|]\n"},
    {"a minor key with flats", "X:1\nT:Minor\nM:3/4\nL:1/8\nK:Dm\nD2 F2 A2|_B4 A2|^c2 e2 A2|d6|]\n"},
    {"nine eight time", "X:1\nT:Slip\nM:9/8\nL:1/8\nK:D\nDFA dAF DFA|G3 B3 d3|A3 F3 D3|]\n"},
    {"three four time", "X:1\nT:Waltz\nM:3/4\nL:1/8\nK:F\nF2 A2 c2|f4 d2|c6|]\n"},
    {"two one time", "X:1\nT:Breve\nM:2/1\nL:1/4\nK:C\nC2 E2 G2 c2|B4 G4|c8|]\n"},
    {"a tempo", "X:1\nT:Slow\nM:4/4\nL:1/8\nQ:1/4=72\nK:Bb\nB2 d2 f2 d2|c2 e2 g4|f8|]\n"},
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (int method : {1, 2}) {
    for (const Tune& tune : kTunes) cases.push_back({tune, method});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Tunes, MidiImportJudge, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return viewtest::CaseName(std::string(info.param.tune.name) + " by method " +
                                                     std::to_string(info.param.method));
                         });

}  // namespace
