// MIDI file import in the real window: File/Import/MIDI File with the file
// dialog answering a path opens a new score window titled after the file,
// holding the file's notes; its method items switch the import method and
// show it checked; File/Open of a ".mid" file imports it too; the text of
// the file stands clear of the tempo mark over the first staff.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "midi/CMaxMidiSync.h"
#include "midi_import/SmfBytes.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "platform/ProgressPort.h"
#include "support/MidiCsvTable.h"
#include "support/OutsideTools.h"
#include "support/WaitFor.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/commands/MidiFileImport.h"

namespace {

// A type 0 file: a track named "Tune", C5 D5 E5 F5 in quarter notes.
std::vector<char> TuneFile() {
  std::vector<unsigned char> track = {0x00, 0xFF, 0x03, 0x04, 'T', 'u', 'n', 'e'};
  const unsigned char keys[] = {72, 74, 76, 77};
  for (unsigned char key : keys) {
    track.insert(track.end(), {0x00, 0x90, key, 0x64, 0x83, 0x60, 0x80, key, 0x40});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<char> file = {'M',  'T',
                            'h',  'd',
                            0,    0,
                            0,    6,
                            0,    0,
                            0,    1,
                            0x01, static_cast<char>(0xE0),
                            'M',  'T',
                            'r',  'k',
                            0,    0,
                            0,    static_cast<char>(track.size())};
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

class MidiImportWindow : public ShellTest {
 protected:
  std::string WriteTune(const std::string& name) {
    const std::string path = (Dir() / name).string();
    const std::vector<char> bytes = TuneFile();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  bool Checked(UINT id) {
    Frame().UpdateCommandUi();
    QAction* action = Frame().ActionFor(id);
    return action != nullptr && action->isChecked();
  }
  // The note keys of the score's staves, in column order.
  static std::vector<int> Keys(CStavlinDoc& doc) {
    std::vector<int> keys;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      auto* staff = dynamic_cast<KStaffLine*>(doc.GetNextLine(pos));
      if (staff == nullptr) continue;
      const std::vector<int> more = StaffNoteKeys(*staff);
      keys.insert(keys.end(), more.begin(), more.end());
    }
    return keys;
  }
};

TEST_F(MidiImportWindow, ImportMidiFileOpensANewScoreWindowWithTheNotes) {
  const std::string path = WriteTune("blue tune.mid");
  ASSERT_TRUE(Start());
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
  QStringList offered;
  App().SetOpenPrompt([path, &offered](const CString&, const QStringList& filters) {
    offered = filters;
    return CString(path.c_str());
  });
  Trigger(cmd::kImportMidi);
  EXPECT_EQ(offered, QStringList{QStringLiteral("Midi Files (*.mid)")});
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CChildFrame* child = Frame().ScoreWindows().front();
  EXPECT_TRUE(child->windowTitle().contains(QStringLiteral("Blue Tune")))
      << child->windowTitle().toStdString();
  CStavlinDoc& doc = child->Document();
  EXPECT_TRUE(doc.GetPathName().IsEmpty());
  EXPECT_EQ(Keys(doc), (std::vector<int>{72, 74, 76, 77}));
  // The score is shown: its view lays out the staff.
  ASSERT_NE(child->ActivePane(), nullptr);
  EXPECT_GT(child->ActivePane()->View().GetDisplayLineCount(), 2);
}

// After the settings window and the progress window have gone, the main
// window is the active one and the new score has the keyboard: Alt+F opens
// the File menu at once and letters typed go to the score.
TEST_F(MidiImportWindow, AfterAnImportTheMenusAnswerTheKeyboardAtOnce) {
  const std::string path = WriteTune("keys.mid");
  ASSERT_TRUE(Start());
  Frame().show();
  Frame().activateWindow();
  // A user's main window is on the screen and active before they import.
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  Trigger(cmd::kImportMidi);
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  KViewWidget* pane = Frame().ScoreWindows().front()->ActivePane();
  ASSERT_NE(pane, nullptr);
  stavlin_test::WaitFor([&] { return QApplication::activeWindow() == &Frame() && pane->hasFocus(); });
  EXPECT_EQ(QApplication::activeWindow(), &Frame());
  ASSERT_TRUE(pane->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
  QApplication::processEvents();
  QAction* active = Frame().menuBar()->activeAction();
  ASSERT_NE(active, nullptr) << "Alt+F opened no menu";
  EXPECT_EQ(active->text(), QStringLiteral("&File"));
  if (active->menu() != nullptr) active->menu()->close();
}

TEST_F(MidiImportWindow, MethodItemsSwitchTheMethodAndImport) {
  const std::string path = WriteTune("tune.mid");
  ASSERT_TRUE(Start());
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  EXPECT_TRUE(Checked(cmd::kImportMidiMethod1));
  Trigger(cmd::kImportMidiMethod2);
  EXPECT_EQ(g_midiImportMethod, 0);
  EXPECT_TRUE(Checked(cmd::kImportMidiMethod2));
  EXPECT_FALSE(Checked(cmd::kImportMidiMethod1));
  EXPECT_EQ(Frame().ScoreWindows().size(), 1u);
  Trigger(cmd::kImportMidiMethod1);
  EXPECT_EQ(g_midiImportMethod, 1);
  EXPECT_EQ(Frame().ScoreWindows().size(), 2u);
}

TEST_F(MidiImportWindow, OpeningAMidFileImportsItAndCancelMakesNothing) {
  const std::string path = WriteTune("song.MID");
  ASSERT_TRUE(Start());
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDCANCEL);
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  Trigger(cmd::kFileOpen);
  EXPECT_EQ(Frame().ScoreWindows().size(), 0u);
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
  Trigger(cmd::kFileOpen);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  EXPECT_EQ(Keys(Frame().ScoreWindows().front()->Document()), (std::vector<int>{72, 74, 76, 77}));
}

}  // namespace

namespace {

// A row set to Tab in the settings dialog gets a tablature line of its notes
// once the score has its window.
TEST_F(MidiImportWindow, TabRowGetsATablatureLine) {
  const std::string path = WriteTune("guitar.mid");
  ASSERT_TRUE(Start());
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, [](KModalDialog& dialog) {
    auto& settings = static_cast<KDlgMidiImpSettings&>(dialog);
    settings.SelectRows({0});
    settings.OnStaffType(KDlgMidiImpSettings::kTab);
    return IDOK;
  });
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  Trigger(cmd::kImportMidi);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CStavlinDoc& doc = Frame().ScoreWindows().front()->Document();
  int tabs = 0;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    if (line->GetType() == 2) ++tabs;
    EXPECT_EQ(line->TestFlags(0x20000), 0);
  }
  EXPECT_GE(tabs, 1);
}

}  // namespace

namespace {

// The live-recording clock (the main frame's sync) keeps its resolution
// whatever becomes of an import, even of a file with another time division.
struct SyncCase {
  const char* name;
  int answer;       // the settings window's button
  int methodIndex;  // 1: method 2
  int resolution;   // 0: 1/8
  int stopAtPoll;   // the progress window's stop (0: none)
  size_t windows;   // score windows made
};

class ImportLeavesSync : public MidiImportWindow, public ::testing::WithParamInterface<SyncCase> {
 protected:
  void TearDown() override {
    g_midiImportMethod = 1;
    MidiImportWindow::TearDown();
  }
};

// Stops at the chosen poll.
class StoppingProgress : public ProgressPort {
 public:
  explicit StoppingProgress(int stopAt) : m_stopAt(stopAt) {}
  bool PollStop() override { return m_stopAt > 0 && ++m_polls >= m_stopAt; }

 private:
  int m_stopAt;
  int m_polls = 0;
};

TEST_P(ImportLeavesSync, ImportLeavesTheRecordingClocksResolution) {
  const SyncCase& c = GetParam();
  using namespace smftest;
  // 7/16 bars of eighths, at 192 ticks a quarter.
  Track tune = {Name(0, "Reel"), Time(0, 7, 4)};
  for (int i = 0; i < 8; ++i) {
    tune.push_back(On(0, 0, 72 + i % 5));
    tune.push_back(Off(96, 0, 72 + i % 5));
  }
  const std::vector<std::uint8_t> bytes = Smf(0, 192, {tune});
  const std::string path = (Dir() / "reel.mid").string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(Start());
  CMaxMidiSync* sync = Frame().MidiOut().GetSync();
  ASSERT_NE(sync, nullptr);
  sync->SetResolution(96);
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, [&c](KModalDialog& dialog) {
    auto& settings = static_cast<KDlgMidiImpSettings&>(dialog);
    settings.methodIndex = c.methodIndex;
    settings.SelectRows({0});
    settings.OnResolution(c.resolution);
    return c.answer;
  });
  StoppingProgress progress(c.stopAtPoll);
  ScopedProgressPort installed(progress);
  App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
  Trigger(cmd::kImportMidi);
  EXPECT_EQ(Frame().ScoreWindows().size(), c.windows);
  EXPECT_EQ(sync->GetResolution(), 96u);
}

INSTANTIATE_TEST_SUITE_P(Import, ImportLeavesSync,
                         ::testing::Values(SyncCase{"CancelledInTheSettings", IDCANCEL, 0, 1, 0, 0},
                                           SyncCase{"RefusedForABarTheResolutionCannotFill", IDOK, 1, 0, 0,
                                                    0},
                                           SyncCase{"StoppedWhileConverting", IDOK, 0, 1, 1, 0},
                                           SyncCase{"Completed", IDOK, 0, 1, 0, 1}),
                         [](const ::testing::TestParamInfo<SyncCase>& info) { return info.param.name; });

}  // namespace

namespace {

// A tune with notes tied over the bar line, a triplet, a dotted rhythm and a
// grace note, made into a MIDI file by abc2midi, imported in the window by
// each method item and exported again with File/Export: the exported file
// plays what abc2midi's file plays, note for note.
class MidiImportWindowJudged : public MidiImportWindow, public ::testing::WithParamInterface<UINT> {};

TEST_P(MidiImportWindowJudged, TheImportedTuneExportsAsAbc2midiPlaysIt) {
  if (!stavlin_test::HaveTool("abc2midi") || !midicsv::Installed())
    GTEST_SKIP() << "abc2midi or midicsv is not installed";
  const std::filesystem::path abc = Dir() / "tune.abc";
  std::ofstream(abc, std::ios::binary)
      << "X:1\nT:Window\nM:4/4\nL:1/8\nK:Em\nE2 (3GAB e2 d2-|d2 B>A {A}G2 E2|E8|]\n";
  const std::filesystem::path theirs = Dir() / "window tune.mid";
  int status = 0;
  stavlin_test::RunTool("abc2midi '" + abc.string() + "' 1 -o '" + theirs.string() + "'", status);
  const std::vector<midicsv::PlayedNote> expected = midicsv::PlayedNotes(midicsv::Run(theirs));
  ASSERT_FALSE(expected.empty());

  ASSERT_TRUE(Start());
  ui_.AnswerDialog(KDlgMidiImpSettings::kTemplateId, IDOK);
  App().SetOpenPrompt([theirs](const CString&, const QStringList&) { return CString(theirs.c_str()); });
  Trigger(GetParam());
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);

  const std::filesystem::path ours = Dir() / "ours.mid";
  ui_.AnswerSaveFile([ours](KSaveFileRequest& request) {
    request.fileName = CString(ours.c_str());
    return true;
  });
  Trigger(cmd::kExportMidi);
  ASSERT_TRUE(std::filesystem::exists(ours)) << "File/Export wrote no MIDI file";
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(ours));
  EXPECT_TRUE(midicsv::SameNotes(played, expected, 10)) << "the program:\n"
                                                        << midicsv::Show(played) << "abc2midi:\n"
                                                        << midicsv::Show(expected);
}

INSTANTIATE_TEST_SUITE_P(Methods, MidiImportWindowJudged,
                         ::testing::Values(cmd::kImportMidiMethod1, cmd::kImportMidiMethod2),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                           return std::string(info.param == cmd::kImportMidiMethod1 ? "Method1" : "Method2");
                         });

}  // namespace

// A file such as abc2midi writes: a text event "note track" before the
// tempo and the notes. The imported score shows the text on a line of its
// own above the first staff, and the tempo mark the import puts over the
// staff is drawn clear of that text: no pixel of the mark stands within the
// text's ink. The mark's ink is what taking the mark away removes from the
// picture; the text's ink is what is left in the text line's rows.
TEST_F(MidiImportWindow, TheFilesTextIsNotDrawnOverTheTempoMarkOfTheFirstStaff) {
  using namespace smftest;
  Track tune = {Meta(0, 0x01, {'n', 'o', 't', 'e', ' ', 't', 'r', 'a', 'c', 'k'}), Tempo(0, 100),
                Time(0, 3, 2)};
  for (const int key : {67, 71, 74, 76, 74, 71}) {
    tune.push_back(On(0, 0, key));
    tune.push_back(Off(480, 0, key));
  }
  const std::vector<std::uint8_t> bytes = Smf(0, 480, {tune});
  const std::string path = (Dir() / "waltz.mid").string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(Start());
  Frame().show();
  KViewWidget* pane = ImportMidiAsOffered(path);
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();

  int textLine = -1;
  KStaffLine* staff = nullptr;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    if (auto* text = dynamic_cast<KStrLine*>(line);
        text != nullptr && text->GetText() == CString("note track"))
      textLine = i;
    if (staff == nullptr) staff = dynamic_cast<KStaffLine*>(line);
  }
  ASSERT_GE(textLine, 0) << "the file's text has a line of its own";
  ASSERT_NE(staff, nullptr);
  KExtendedObj* mark = nullptr;
  CObList* attachments = staff->GetAttachments();
  ASSERT_NE(attachments, nullptr);
  for (POSITION at = attachments->GetHeadPosition(); at != nullptr;) {
    auto* attachment = dynamic_cast<KExtendedObj*>(attachments->GetNext(at));
    if (attachment != nullptr && std::string(attachment->GetText().View()).find("100") != std::string::npos)
      mark = attachment;
  }
  ASSERT_NE(mark, nullptr) << "the first staff carries the tempo mark";

  const auto picture = [pane] {
    pane->viewport()->update();
    QApplication::processEvents();
    return pane->viewport()->grab().toImage();
  };
  const auto dark = [](const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 160; };
  const QImage withMark = picture();
  ASSERT_EQ(staff->RemoveAttachment(mark), 1);
  delete mark;
  const QImage withoutMark = picture();
  ASSERT_EQ(withMark.size(), withoutMark.size());

  const DisplayLine& entry = view.GetDisplayEntry(textLine);
  const int scrollY = view.GetVirtualScrollPosition().y;
  QRect text;
  for (int y = std::max(entry.top - scrollY, 0); y < std::min(entry.bottom - scrollY, withoutMark.height());
       ++y)
    for (int x = 0; x < withoutMark.width(); ++x)
      if (dark(withoutMark, x, y)) text |= QRect(x, y, 1, 1);
  ASSERT_FALSE(text.isEmpty()) << "the text is drawn";
  int markInk = 0;
  int overText = 0;
  for (int y = 0; y < withMark.height(); ++y)
    for (int x = 0; x < withMark.width(); ++x) {
      if (!dark(withMark, x, y) || dark(withoutMark, x, y)) continue;
      ++markInk;
      if (text.adjusted(-1, -1, 1, 1).contains(x, y)) ++overText;
    }
  EXPECT_GT(markInk, 20) << "the tempo mark is drawn";
  EXPECT_EQ(overText, 0) << "the tempo mark touches the text drawn in " << text.x() << "," << text.y() << " "
                         << text.width() << "x" << text.height();
}
