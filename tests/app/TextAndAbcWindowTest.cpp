// Text files and ABC in the real window: File/Open of an ABC file, a text
// window's From ABC, New Text File, Import ABC File, Full Score as ABC File
// into a text window that saves, and rows of guitar tab pasted into a score
// and translated by To TAB.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ShellTestSupport.h"
#include "app/KTextFrame.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "support/OutsideTools.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr const char* kTune =
    "X:1\n"
    "T:The Kesh\n"
    "R:jig\n"
    "M:6/8\n"
    "L:1/8\n"
    "K:G\n"
    "|:\"G\"GAG GAB|\"D\"ABA ABd|\"G\"edd gdd|\"C\"edB \"D\"dBA:|\n"
    "X:2\n"
    "T:Second\n"
    "K:D\n"
    "DEF GAB|\n";

class TextAndAbcWindow : public ShellTest {
 protected:
  std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = (Dir() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // File/Open through its menu item, the file dialog answering the path.
  void OpenThroughTheMenu(const std::string& path) {
    App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
    Trigger(cmd::kFileOpen);
  }
  bool Enabled(UINT id) {
    Frame().UpdateCommandUi();
    QAction* action = Frame().ActionFor(id);
    return action != nullptr && action->isEnabled();
  }
  static std::string Kinds(const CStavlinView& view) {
    std::string out;
    for (int i = 0; i < view.GetDisplayLineCount(); ++i)
      out += (i > 0 ? " " : "") + std::to_string(view.GetDisplayEntry(i).type);
    return out;
  }
  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
  }
};

TEST_F(TextAndAbcWindow, OpeningAnAbcFileMakesAScoreTitledAfterIt) {
  const std::string path = WriteFile("kesh.abc", kTune);
  ASSERT_TRUE(Start());
  OpenThroughTheMenu(path);
  // The text went to a new score; no text window stays.
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  EXPECT_TRUE(Frame().TextWindows().empty());
  CChildFrame* child = Frame().ScoreWindows().front();
  EXPECT_EQ(child->windowTitle(), QStringLiteral("kesh"));
  const std::string kinds = Kinds(child->ActivePane()->View());
  // Both tunes: their titles, and their staves.
  EXPECT_EQ(Count(kinds, "0"), 2) << kinds;
  EXPECT_TRUE(child->Document().IsModified());
}

TEST_F(TextAndAbcWindow, AnAbcFileShownAsTextTurnsIntoAScoreByFromAbc) {
  const std::string path = WriteFile("kesh.abc", kTune);
  ASSERT_TRUE(Start());
  g_prefTextFiles.convertAbc = 0;
  OpenThroughTheMenu(path);
  ASSERT_EQ(Frame().TextWindows().size(), 1u);
  EXPECT_TRUE(Frame().ScoreWindows().empty());
  KTextFrame* text = Frame().ActiveTextWindow();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->windowTitle(), QStringLiteral("kesh.abc"));
  EXPECT_EQ(text->Editor()->toPlainText().toStdString(), kTune);
  // The score commands do not reach past the text window; From ABC does.
  EXPECT_FALSE(Enabled(cmd::kInsertTextLine));
  EXPECT_FALSE(Enabled(cmd::kEditUndo));
  Trigger(cmd::kTranslateFromAbc);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CChildFrame* child = Frame().ScoreWindows().front();
  EXPECT_EQ(child->windowTitle(), QStringLiteral("kesh"));
  const CStavlinView& view = child->ActivePane()->View();
  const std::string kinds = Kinds(view);
  EXPECT_EQ(Count(kinds, "0"), 2) << kinds;
  // The first tune's notes: G A G G A B in G major.
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    const auto* staff = dynamic_cast<const KStaffLine*>(view.GetDisplayLineObj(i));
    if (staff == nullptr) continue;
    EXPECT_EQ(staff->GetKeySignatureAt(0), 2);
    break;
  }
  // The text window stays as it was.
  EXPECT_EQ(Frame().TextWindows().size(), 1u);
}

TEST_F(TextAndAbcWindow, ImportAbcReadsATxtFileAsAbcWhateverThePreferences) {
  const std::string path = WriteFile("kesh.txt", kTune);
  ASSERT_TRUE(Start());
  g_prefTextFiles.convertAbc = 0;
  g_prefTextFiles.openAsScore = 0;
  App().SetOpenPrompt([path](const CString&, const QStringList& filters) {
    EXPECT_EQ(filters,
              (QStringList{QStringLiteral("ABC Files (*.abc)"), QStringLiteral("ABC Text Files (*.txt)")}));
    return CString(path.c_str());
  });
  Trigger(cmd::kImportAbc);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  EXPECT_EQ(Count(Kinds(Frame().ScoreWindows().front()->ActivePane()->View()), "0"), 2);
  EXPECT_EQ(g_prefTextFiles.convertAbc, 0);
  EXPECT_EQ(g_prefTextFiles.openAsScore, 0);
}

// Files named .abc that hold no tune: a MIDI file, 64 KB of random bytes, and
// prose. Each is refused with a message naming it; no window opens.
TEST_F(TextAndAbcWindow, AnAbcFileThatHoldsNoTuneIsRefusedWithAMessage) {
  std::string garbage(65536, '\0');
  std::uint32_t state = 7;
  for (char& c : garbage) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  const struct {
    const char* file;
    std::string bytes;
    const char* said;
  } cases[] = {
      {"song.abc", std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xE0MTrk\0\0\0\x04\0\xFF\x2F\0", 26),
       "binary data"},
      {"noise.abc", garbage, "binary data"},
      {"letter.abc", "Dear Mary,\nthe tune is in G.\nAll the best\n", "not ABC notation"},
  };
  ASSERT_TRUE(Start());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ui_.ClearRecords();
    const std::string path = WriteFile(c.file, c.bytes);
    OpenThroughTheMenu(path);
    EXPECT_TRUE(Frame().ScoreWindows().empty());
    EXPECT_TRUE(Frame().TextWindows().empty());
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_NE(ui_.Messages()[0].text.find(c.file), std::string::npos) << ui_.Messages()[0].text;
    EXPECT_NE(ui_.Messages()[0].text.find(c.said), std::string::npos) << ui_.Messages()[0].text;
    EXPECT_EQ(ReadFile(path), c.bytes);
  }
}

TEST_F(TextAndAbcWindow, FileOpenListsEveryDocumentKind) {
  ASSERT_TRUE(Start());
  QStringList offered;
  App().SetOpenPrompt([&offered](const CString&, const QStringList& filters) {
    offered = filters;
    return CString();
  });
  Trigger(cmd::kFileOpen);
  EXPECT_EQ(offered, (QStringList{"Stavlin Files (*.svd)", "Text Files (*.txt)", "Text-Tab Files (*.tab)",
                                  "Chord Files (*.crd)", "Bass Tab Files (*.bta)", "Pro Files (*.pro)",
                                  "ABC Files (*.abc)", "All Files (*)"}));
}

TEST_F(TextAndAbcWindow, ANewTextFileIsEditedSavedAndAsksBeforeClosing) {
  ASSERT_TRUE(Start());
  g_prefTextFiles.openAsScore = 1;
  Trigger(cmd::kFileNewText);
  KTextFrame* text = Frame().ActiveTextWindow();
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(Frame().ScoreWindows().empty()) << "a new text file never goes to a score";
  Frame().show();
  text->Editor()->setFocus();
  QTest::keyClicks(text->Editor(), QStringLiteral("Tune notes"));
  text->Editor()->insertPlainText(QStringLiteral(" caf\u00e9"));
  QApplication::processEvents();
  EXPECT_TRUE(text->windowTitle().endsWith(QStringLiteral("*")));

  const std::string path = (Dir() / "notes.txt").string();
  App().SetSaveAsPrompt([path](const CString&) { return CString::FromUtf8(path); });
  Trigger(cmd::kFileSave);
  EXPECT_EQ(ReadFile(path), "Tune notes caf\xC3\xA9");
  EXPECT_EQ(text->windowTitle(), QStringLiteral("notes.txt"));

  // A change asks before the window closes; Cancel keeps it.
  QTest::keyClicks(text->Editor(), QStringLiteral("!"));
  ui_.Answer(0, IDCANCEL);
  Trigger(cmd::kFileClose);
  EXPECT_EQ(Frame().TextWindows().size(), 1u);
  ASSERT_FALSE(ui_.Messages().empty());
  EXPECT_EQ(ui_.Messages().back().text, "Save changes to notes.txt?");
}

TEST_F(TextAndAbcWindow, FullScoreAsAbcFileOpensATextWindowThatTheAbcToolsRead) {
  const std::string source = WriteFile("kesh.abc", kTune);
  ASSERT_TRUE(Start());
  OpenThroughTheMenu(source);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  Trigger(cmd::kExportAbc);
  KTextFrame* text = Frame().ActiveTextWindow();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->windowTitle(), QStringLiteral("kesh.abc *"));
  const std::string abc = text->Editor()->toPlainText().toStdString();
  EXPECT_EQ(Count(abc, "X:"), 2) << abc;
  EXPECT_NE(abc.find("T:The Kesh"), std::string::npos) << abc;
  EXPECT_NE(abc.find("K:G"), std::string::npos) << abc;

  const std::string path = (Dir() / "exported.abc").string();
  App().SetSaveAsPrompt([path](const CString&) { return CString::FromUtf8(path); });
  Trigger(cmd::kFileSave);
  const std::string saved = ReadFile(path);
  EXPECT_NE(saved.find("X:1\nT:The Kesh\n"), std::string::npos) << saved;
  if (!stavlin_test::HaveTool("abc2midi"))
    GTEST_SKIP() << "abc2midi is not installed: the saved ABC file is not read by an ABC player";
  int status = 0;
  const std::string output = stavlin_test::RunTool(
      "abc2midi '" + path + "' -o '" + (Dir() / "out.mid").string() + "'", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.find("rror"), std::string::npos) << output << saved;
  EXPECT_TRUE(std::filesystem::exists(Dir() / "out.mid")) << output;
}

TEST_F(TextAndAbcWindow, SixPastedRowsOfGuitarTabBecomeATablatureLine) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = PasteIntoNewScore(
      QStringLiteral("e|--0--3--|--12h14--|--15p12--|\n"
                     "B|--1-----|---------|---------|\n"
                     "G|--0-----|--7b-----|--5/7----|\n"
                     "D|--2-----|---------|---------|\n"
                     "A|--3-----|---------|---------|\n"
                     "E|--------|---------|---------|"));
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  ASSERT_EQ(Kinds(view), "5 5 5 5 5 5 5");
  // To the first row, and Actions/Translate/To TAB.
  QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(pane, Qt::Key_Down);
  QApplication::processEvents();
  ASSERT_EQ(view.GetCurrentLine(), 1);
  Trigger(cmd::kTranslateFirst + 8);
  EXPECT_EQ(Kinds(view), "5 5 5 5 5 5 5 2");
  const auto* tab = dynamic_cast<const KTabLine*>(view.GetDisplayLineObj(7));
  ASSERT_NE(tab, nullptr);
  EXPECT_GE(tab->GetObjCount(), 8);
}

}  // namespace
