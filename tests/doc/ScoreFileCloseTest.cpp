// Save, Save As, the backup copy, the question before a changed score closes,
// closing, and the line-group check that opening runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocFile.h"
#include "doc/pref_values/Preferences.h"

namespace {

using ScoreFileClose = DocTest;

constexpr UINT kSettingsQuestion = 7007;
constexpr UINT kUngroupQuestion = 7083;
// The save question has no string of its own: the port knows it as 0.
constexpr UINT kSaveQuestion = 0;

class KPromptScope {
 public:
  explicit KPromptScope(KSaveAsPrompt prompt) { SetScoreSaveAsPrompt(std::move(prompt)); }
  ~KPromptScope() { SetScoreSaveAsPrompt(nullptr); }
  KPromptScope(const KPromptScope&) = delete;
  KPromptScope& operator=(const KPromptScope&) = delete;
};

TEST_F(ScoreFileClose, ChangedScoresAskBeforeTheyClose) {
  struct Case {
    const char* name;
    bool contentChanged;
    bool settingsChanged;
    int answer;
    BOOL mayClose;
    std::vector<UINT> asked;
    bool saved;
  };
  const Case cases[] = {
      {"nothing changed", false, false, IDYES, TRUE, {}, false},
      {"content, Yes", true, false, IDYES, TRUE, {kSaveQuestion}, true},
      {"content, No", true, false, IDNO, TRUE, {kSaveQuestion}, false},
      {"content, Cancel", true, true, IDCANCEL, FALSE, {kSaveQuestion}, false},
      {"settings only, Yes", false, true, IDYES, TRUE, {kSettingsQuestion}, true},
      {"settings only, No", false, true, IDNO, TRUE, {kSettingsQuestion}, false},
      {"settings only, Cancel", false, true, IDCANCEL, FALSE, {kSettingsQuestion}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.ClearRecords();
    std::filesystem::remove(dir_ / "song.svd");
    CStavlinDoc doc;
    doc.lines.AddTail(new KDocTestLine(5, 0, "words"));
    doc.SetPathName(PathOf("song.svd").c_str());
    doc.fileName = "song.svd";
    if (c.contentChanged) doc.SetModifiedFlag(TRUE);
    if (c.settingsChanged) doc.SetSettings(doc.settings, TRUE);
    for (UINT question : c.asked) ui_.AnswerNext(question, {c.answer});

    EXPECT_EQ(doc.SaveModified(), c.mayClose);
    EXPECT_EQ(ui_.MessageIds(), c.asked);
    if (c.asked == std::vector<UINT>{kSaveQuestion}) {
      EXPECT_EQ(ui_.Messages()[0].text, "Save changes to song.svd?");
    }
    EXPECT_EQ(std::filesystem::exists(dir_ / "song.svd"), c.saved);
    if (c.saved) {
      EXPECT_FALSE(doc.IsModified());
    }
    if (!c.mayClose) {
      // Still changed, and asked the same way the next time.
      EXPECT_TRUE(doc.IsModified());
      ui_.ClearRecords();
      for (UINT question : c.asked) ui_.AnswerNext(question, {IDNO});
      EXPECT_TRUE(doc.SaveModified());
      EXPECT_EQ(ui_.MessageIds(), c.asked);
    }
  }
}

TEST_F(ScoreFileClose, SaveAsTakesThePromptsPath) {
  struct Case {
    const char* name;
    bool prompt;
    std::string answer;
    BOOL saved;
    const char* file;
  };
  const Case cases[] = {
      {"no prompt", false, "", FALSE, nullptr},
      {"cancelled", true, "", FALSE, nullptr},
      {"a name without extension", true, "tune", TRUE, "tune.svd"},
      {"a name with an extension", true, "tune.SVD", TRUE, "tune.SVD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStavlinDoc doc;
    doc.lines.AddTail(new KDocTestLine(5, 0, "words"));
    doc.SetModifiedFlag(TRUE);
    std::vector<std::string> offered;
    KPromptScope scope(c.prompt ? KSaveAsPrompt([&](const CString& suggested) {
      offered.push_back(suggested.Str());
      return c.answer.empty() ? CString() : CString(PathOf(c.answer).c_str());
    })
                                : KSaveAsPrompt());
    EXPECT_EQ(doc.DoFileSave(), c.saved);
    EXPECT_EQ(offered, c.prompt ? std::vector<std::string>{""} : std::vector<std::string>{});
    EXPECT_EQ(doc.IsModified(), !c.saved);
    if (c.file) {
      EXPECT_EQ(doc.GetPathName(), PathOf(c.file).c_str());
      EXPECT_TRUE(std::filesystem::exists(dir_ / c.file));
      // Saving again goes to the path without asking.
      offered.clear();
      EXPECT_TRUE(doc.DoFileSave());
      EXPECT_TRUE(offered.empty());
    }
  }
}

// With backups asked for, the first save of a run over an existing file
// keeps the old file as the backup; later saves leave the backup alone.
TEST_F(ScoreFileClose, FirstSaveOverAFileKeepsTheOldOneAsBackup) {
  for (const BYTE makeBackups : {BYTE{1}, BYTE{0}}) {
    SCOPED_TRACE(makeBackups ? "backups on" : "backups off");
    std::filesystem::remove(dir_ / "song.svd");
    std::filesystem::remove(dir_ / "song.bak");
    CStavlinDoc doc;
    doc.settings.makeBackups = makeBackups;
    auto* line = new KDocTestLine(5, 0, "first");
    doc.lines.AddTail(line);
    ASSERT_TRUE(doc.OnSaveDocument(PathOf("song.svd").c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "song.bak")) << "nothing was there to keep";
    const std::vector<BYTE> first = ReadFile("song.svd");

    line->text = "second";
    ASSERT_TRUE(doc.OnSaveDocument(PathOf("song.svd").c_str()));
    line->text = "third";
    ASSERT_TRUE(doc.OnSaveDocument(PathOf("song.svd").c_str()));
    EXPECT_TRUE(ui_.Messages().empty());
    if (makeBackups) {
      EXPECT_EQ(ReadFile("song.bak"), first);
      EXPECT_EQ(doc.backupPath, PathOf("song.bak").c_str());
      EXPECT_EQ(doc.backupMade, 1);
    } else {
      EXPECT_FALSE(std::filesystem::exists(dir_ / "song.bak"));
    }
    doc.OnCloseDocument();
    EXPECT_EQ(std::filesystem::exists(dir_ / "song.bak"), makeBackups != 0) << "a wanted backup stays";
  }
}

TEST_F(ScoreFileClose, ClosingDeletesABackupNoLongerWanted) {
  CStavlinDoc doc;
  doc.settings.makeBackups = 1;
  doc.lines.AddTail(new KDocTestLine(5, 0, "x"));
  ASSERT_TRUE(doc.OnSaveDocument(PathOf("a.svd").c_str()));
  ASSERT_TRUE(doc.OnSaveDocument(PathOf("a.svd").c_str()));
  ASSERT_TRUE(std::filesystem::exists(dir_ / "a.bak"));
  doc.settings.makeBackups = 0;
  doc.OnCloseDocument();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "a.bak"));
  EXPECT_EQ(g_strLastOpenFile, PathOf("a.svd").c_str());
  EXPECT_TRUE(doc.lines.IsEmpty());
}

// A backup that cannot be made is told after the score itself was saved.
TEST_F(ScoreFileClose, BackupThatCannotBeMadeDoesNotStopTheSave) {
  CStavlinDoc doc;
  doc.settings.makeBackups = 1;
  auto* line = new KDocTestLine(5, 0, "old");
  doc.lines.AddTail(line);
  ASSERT_TRUE(doc.OnSaveDocument(PathOf("b.svd").c_str()));
  std::filesystem::create_directory(dir_ / "b.bak");
  line->text = "new";
  ui_.ClearRecords();
  EXPECT_TRUE(doc.OnSaveDocument(PathOf("b.svd").c_str()));
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_NE(ui_.Messages()[0].text.find("could not make the backup copy " + PathOf("b.bak")),
            std::string::npos)
      << ui_.Messages()[0].text;
  EXPECT_EQ(doc.backupMade, 0);
  CStavlinDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(PathOf("b.svd").c_str()));
  EXPECT_EQ(LineSummary(reopened), std::vector<std::string>{"5/0/new"});
}

TEST_F(ScoreFileClose, BackupNamesReplaceTheExtension) {
  EXPECT_EQ(BackupPathOf("/a/song.svd"), "/a/song.bak");
  EXPECT_EQ(BackupPathOf("/a.d/song"), "/a.d/song.bak");
  EXPECT_EQ(BackupPathOf("song.tar.svd"), "song.tar.bak");
}

// Opening checks the groups: a path asking for the groups to be undone
// always asks, and a file's group binds its line.
TEST_F(ScoreFileClose, OpeningChecksTheLineGroups) {
  CStavlinDoc source;
  source.lines.AddTail(new KDocTestLine(0, 0, "staff", 0, 2));
  auto* group = new KLineGroup(2, 1, 0);
  group->SetSlotType(0, 0);
  source.lineGroups.AddTail(group);
  ASSERT_TRUE(source.OnSaveDocument(PathOf("grouped.svd").c_str()));
  ASSERT_TRUE(source.OnSaveDocument(PathOf("grouped-UndoLineGroups.svd").c_str()));

  CStavlinDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(PathOf("grouped.svd").c_str()));
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_EQ(DescribeGroups(doc), "2:0");
  EXPECT_EQ(doc.GetLineAt(doc.GetFirstLinePosition())->GetGroup(), doc.FindLineGroup(2));

  ui_.AnswerNext(kUngroupQuestion, {IDYES});
  ASSERT_TRUE(doc.OnOpenDocument(PathOf("grouped-UndoLineGroups.svd").c_str()));
  EXPECT_EQ(ui_.MessageIds(), (std::vector<UINT>{kUngroupQuestion, 7093}));
  EXPECT_EQ(DescribeGroups(doc), "");
  EXPECT_FALSE(doc.IsModified());
}

}  // namespace
