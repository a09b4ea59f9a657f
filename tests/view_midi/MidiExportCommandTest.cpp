// File/Export/Full Score As MIDI File from the score view: the file it
// writes, the questions it asks, and what it says when it cannot write.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "MidiViewTestSupport.h"
#include "common/ErrorReporter.h"
#include "support/MidiCsvTable.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/midi/ViewPlayInput.h"

namespace {

using miditest::MidiViewFixture;
namespace fs = std::filesystem;

constexpr UINT kOnlyBetweenMarks = 7084;

class MidiExportCommand : public MidiViewFixture {};

TEST_F(MidiExportCommand, WritesTheScoreAsItPlaysUnderTheNameChosen) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  MakeScore();
  const fs::path path = folder.Path() / "tune";
  SaveAs(path);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));

  ASSERT_EQ(ui.SaveFileDialogs().size(), 1u);
  const KSaveFileRequest& shown = ui.SaveFileDialogs()[0].shown;
  EXPECT_EQ(std::string(shown.fileName.View()), "Untitled.mid");
  ASSERT_EQ(shown.filters.size(), 2u);
  EXPECT_EQ(shown.filters[0].pattern, "*.mid");
  EXPECT_TRUE(ui.Messages().empty());

  // The name gets its extension; the tempo is the score's (120).
  std::string error;
  EXPECT_EQ(midicsv::Table(fs::path(path.string() + ".mid"), &error),
            "track 1 name \"FileInfo\"\n"
            "conductor 0 tempo 500000\n"
            "conductor 0 time 4/2\n"
            "track 2 name \"Flute\"\n"
            "track 3 name \"UL Bass\"\n"
            "ch1 0 program 73\n"
            "ch1 0 on 72 100\n"
            "ch1 480 off 72\n"
            "ch1 480 on 74 100\n"
            "ch1 960 off 74\n"
            "ch1 960 on 76 100\n"
            "ch1 1440 off 76\n"
            "ch1 1440 on 77 100\n"
            "ch1 1920 off 77\n"
            "ch2 0 program 33\n"
            "ch2 0 on 50 100\n"
            "ch2 480 off 50\n"
            "ch2 480 on 50 100\n"
            "ch2 960 off 50\n"
            "ch2 960 on 50 100\n"
            "ch2 1440 off 50\n"
            "ch2 1440 on 50 100\n"
            "ch2 1920 off 50\n")
      << error;
  EXPECT_FALSE(fs::exists(path)) << "only the name with its extension is written";
}

TEST_F(MidiExportCommand, CancellingTheSaveDialogWritesNothing) {
  MakeScore();
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  EXPECT_EQ(ui.SaveFileDialogs().size(), 1u);
  EXPECT_TRUE(fs::is_empty(folder.Path()));
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(MidiExportCommand, AScoreWithNothingToPlaySaysSoAndAsksNoName) {
  AddText("Only words");
  Open(0, 0);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  EXPECT_TRUE(ui.SaveFileDialogs().empty());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("no MIDI file was written"), std::string::npos);
}

// With "between marks" chosen, the command asks whether to write only the
// marked part: Cancel ends, No writes the whole score and clears the choice,
// Yes writes the part between the marks.
TEST_F(MidiExportCommand, BetweenMarksAsksWhatToWrite) {
  MakeScore();
  view->m_options.midiBetweenMarks = 1;
  // The marks: display line 0, columns 3..4 (the second bar).
  view->m_options.word70 = 0;
  view->m_options.word71 = 3;
  view->m_options.word72 = 1;
  view->m_options.word73 = 4;
  const fs::path path = folder.Path() / "part.mid";
  SaveAs(path);

  ui.AnswerNext(kOnlyBetweenMarks, {IDCANCEL});
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  EXPECT_TRUE(ui.SaveFileDialogs().empty());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
  EXPECT_EQ(ui.Messages()[0].type & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON2));

  ui.AnswerNext(kOnlyBetweenMarks, {IDYES});
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  ASSERT_TRUE(fs::exists(path));
  if (midicsv::Installed()) {
    const std::string table = midicsv::Table(path);
    EXPECT_EQ(table.find("on 72 "), std::string::npos) << table;
    EXPECT_NE(table.find("ch1 0 on 76 100"), std::string::npos) << table;
  }
  EXPECT_EQ(view->m_options.midiBetweenMarks, 1);

  fs::remove(path);
  ui.AnswerNext(kOnlyBetweenMarks, {IDNO});
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  ASSERT_TRUE(fs::exists(path));
  if (midicsv::Installed()) {
    EXPECT_NE(midicsv::Table(path).find("ch1 0 on 72 100"), std::string::npos);
  }
  EXPECT_EQ(view->m_options.midiBetweenMarks, 0);
  EXPECT_EQ(doc.settings.midiBetweenMarks, 0);
}

TEST_F(MidiExportCommand, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
  MakeScore();
  const fs::path path = folder.Path() / "old.mid";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("old", f);
    std::fclose(f);
  }
  SaveAs(path);
  ui.AnswerNext(0, {IDNO});
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  EXPECT_EQ(fs::file_size(path), 3u);
  ui.AnswerNext(0, {IDYES});
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  EXPECT_GT(fs::file_size(path), 3u);
}

TEST_F(MidiExportCommand, AFileThatCannotBeCreatedIsReportedAndNothingIsLeft) {
  MakeScore();
  SaveAs(folder.Path() / "missing" / "tune.mid");
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  ASSERT_EQ(ui.CountOf(kMsgMidiFileProblem), 1);
  const std::string text = ui.Messages().back().text;
  EXPECT_NE(text.find("(Error QV4-"), std::string::npos) << text;
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

// A read-only file is never replaced, as the score's own Save keeps it: the
// message names the file and says why, and no question is asked first.
TEST_F(MidiExportCommand, AReadOnlyFileIsKeptAndTheMessageNamesIt) {
  MakeScore();
  const fs::path path = folder.Path() / "kept.mid";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("older file", f);
    std::fclose(f);
  }
  fs::permissions(path, fs::perms::owner_read);
  SaveAs(path);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kExportMidi));
  fs::permissions(path, fs::perms::owner_all);
  EXPECT_EQ(fs::file_size(path), 10u);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, kMsgMidiFileProblem);
  EXPECT_EQ(ui.Messages()[0].text, "The MIDI file could not be created due to a problem. (Error QV4-1)\n" +
                                       path.string() + "\n( The file is read-only. )");
}

// A disk that fills up half-way (a file size limit here): the write fails,
// is reported with its reason, and neither the half-written file nor a
// temporary one stays behind; an older file of that name is kept.
TEST_F(MidiExportCommand, AWriteThatFailsHalfWayLeavesNoPartialFile) {
  MakeScore();
  const KPerformance performance = BuildViewPerformance(*view, false);
  const fs::path fresh = folder.Path() / "fresh.mid";
  const fs::path kept = folder.Path() / "kept.mid";
  {
    std::FILE* f = std::fopen(kept.c_str(), "wb");
    std::fputs("older file", f);
    std::fclose(f);
  }
  const int status = stavlin_test::RunInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{64, 64};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    FakeUiPort ui;
    ScopedUiPort scope(ui);
    if (ExportPerformanceToFile(performance, CString(fresh.c_str()))) return 11;
    if (ExportPerformanceToFile(performance, CString(kept.c_str()))) return 12;
    if (ui.CountOf(kMsgMidiFileProblem) != 2) return 13;
    // The message names the file, then the reason.
    if (ui.Messages()[0].text.find("(Error QV4-4)\n" + fresh.string() + "\n( ") == std::string::npos)
      return 14;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(fs::exists(fresh));
  ASSERT_TRUE(fs::exists(kept));
  EXPECT_EQ(fs::file_size(kept), 10u);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path())) ++files;
  EXPECT_EQ(files, 1) << "no temporary file is left";
}

}  // namespace
