// Full Score As MIDI File and the MIDI settings in the real main window: the
// keys Ctrl+Alt+S write the open score to the file the save dialog names,
// repeats played twice; the menu item does the same; Ctrl+Alt+M opens the
// instruments and effects dialog.

#include <QAction>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "app/CChildFrame.h"
#include "chords/ChordAudition.h"
#include "dialogs/KDlgMidiInstruments.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "platform/MidiDevices.h"
#include "platform/MidiOutPort.h"
#include "platform/MidiScheduler.h"
#include "support/MidiCsvTable.h"
#include "support/OutsideTools.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

namespace fs = std::filesystem;

// Two bars repeated, then one more: twelve notes written, twenty played.
constexpr const char* kTune =
    "X:1\n"
    "T:Round\n"
    "M:4/4\n"
    "L:1/4\n"
    "K:C\n"
    "|:CDEF|GABc:|cBAG|\n";

class MidiExportWindow : public ShellTest {
 protected:
  // Opens the tune (an ABC file becomes a score) with its view focused.
  KViewWidget* OpenTune(const char* tune = kTune) {
    const std::string source = (Dir() / "round.abc").string();
    std::ofstream(source, std::ios::binary) << tune;
    App().SetOpenPrompt([source](const CString&, const QStringList&) { return CString(source.c_str()); });
    Frame().UpdateCommandUi();
    QAction* open = Frame().ActionFor(cmd::kFileOpen);
    if (open == nullptr) return nullptr;
    open->trigger();
    QApplication::processEvents();
    if (Frame().ScoreWindows().size() != 1) return nullptr;
    KViewWidget* pane = Frame().ScoreWindows()[0]->ActivePane();
    Frame().show();
    Frame().activateWindow();
    pane->setFocus();
    QApplication::processEvents();
    return pane;
  }
  void SaveAs(const fs::path& path) {
    ui_.AnswerSaveFile([path](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(path.string());
      return true;
    });
  }
  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
  }
};

TEST_F(MidiExportWindow, CtrlAltSWritesTheScoreWithItsRepeatsPlayed) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  ASSERT_TRUE(Start());
  KViewWidget* pane = OpenTune();
  ASSERT_NE(pane, nullptr);
  const fs::path path = Dir() / "round.mid";
  SaveAs(path);
  QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_S, QString(), Qt::ControlModifier | Qt::AltModifier);
  QApplication::processEvents();
  ASSERT_EQ(ui_.SaveFileDialogs().size(), 1u);
  // The score was never saved: it is offered under the name its window shows.
  EXPECT_EQ(std::string(ui_.SaveFileDialogs()[0].shown.fileName.View()), "round.mid");
  std::string error;
  const std::string table = midicsv::Table(path, &error);
  ASSERT_FALSE(table.empty()) << error;
  // One unlabelled treble staff: a format 0 file with its program (piano),
  // one 4/4 time signature, 8 notes twice and 4 more.
  EXPECT_EQ(Count(table, "track "), 1) << table;
  EXPECT_EQ(Count(table, "conductor 0 time 4/2\n"), 1) << table;
  EXPECT_NE(table.find("ch1 0 program 0\n"), std::string::npos) << table;
  EXPECT_EQ(Count(table, " on "), 20) << table;
  EXPECT_NE(table.find("ch1 0 on 60 "), std::string::npos) << table;
  EXPECT_NE(table.find("ch1 3840 on 60 "), std::string::npos) << "the repeat starts again at C" << table;
}

// A repeat with first and second endings, the second a single whole note:
// bars C D [1. E :| [2. F play C D E C D F.
TEST_F(MidiExportWindow, FirstAndSecondEndingsPlayEachInItsTurn) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  ASSERT_TRUE(Start());
  KViewWidget* pane = OpenTune("X:1\nT:Endings\nM:2/4\nL:1/4\nK:C\nCC|DD|[1 EE:|[2 F2|]\n");
  ASSERT_NE(pane, nullptr);
  // The first ending as a short drag by hand leaves it: from the bar line
  // before E E, one column wide.
  KListLine* staff = nullptr;
  CStavlinView& view = pane->View();
  for (int i = 0; i < view.GetDisplayLineCount() && staff == nullptr; ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    if (line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff) staff = line->AsListLine();
  }
  ASSERT_NE(staff, nullptr);
  KExtendedObj* first = nullptr;
  CObList* attachments = staff->GetAttachments();
  for (POSITION node = attachments != nullptr ? attachments->GetHeadPosition() : nullptr; node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    if (attachment->GetText() == "1.") first = attachment;
  }
  ASSERT_NE(first, nullptr);
  std::vector<int> bars;
  for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* chord = dynamic_cast<const KChord*>(staff->GetObjList()->GetNext(node));
    if (chord != nullptr && chord->IsBarColumn()) bars.push_back(chord->GetPos());
  }
  ASSERT_EQ(bars.size(), 4u);
  first->SetPos(bars[1]);
  first->SetOffset(0, first->GetOffset().y);
  first->SetSize(18, 8);
  const fs::path path = Dir() / "endings.mid";
  SaveAs(path);
  Trigger(cmd::kExportMidi);
  std::string error;
  const std::string table = midicsv::Table(path, &error);
  ASSERT_FALSE(table.empty()) << error;
  std::vector<int> expected;
  for (const int key : {60, 62, 64, 60, 62}) expected.insert(expected.end(), 2, key);
  expected.push_back(65);
  EXPECT_EQ(midicsv::KeysStarted(table), expected) << table;
}

// A reel whose first system ends with the first ending: Ctrl+Alt+S writes the
// second ending, which opens the next system, straight after the repeat, as
// abc2midi plays the tune, note by note.
TEST_F(MidiExportWindow, ASecondEndingOnTheNextSystemFollowsTheRepeatAtOnce) {
  if (!midicsv::Installed() || !stavlin_test::HaveTool("abc2midi"))
    GTEST_SKIP() << "midicsv or abc2midi is not installed";
  constexpr const char* kReel =
      "X:1\nT:Review Reel\nM:4/4\nL:1/8\nQ:1/4=100\nK:G\n"
      "|:G2 B>c d2 (3efg|{a}g2 e2 d4-|d2 B2 A2 G2|1 A8:|2 G8|]\n";
  ASSERT_TRUE(Start());
  KViewWidget* pane = OpenTune(kReel);
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  std::vector<int> staves;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    if (line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff) staves.push_back(i);
  }
  ASSERT_EQ(staves.size(), 2u) << "the tune takes two systems";
  const fs::path path = Dir() / "reel.mid";
  SaveAs(path);
  QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_S, QString(), Qt::ControlModifier | Qt::AltModifier);
  QApplication::processEvents();
  ASSERT_TRUE(fs::exists(path));
  int status = 0;
  const fs::path theirs = Dir() / "theirs.mid";
  stavlin_test::RunTool("abc2midi " + (Dir() / "round.abc").string() + " 1 -o " + theirs.string(), status);
  const std::vector<midicsv::PlayedNote> expected = midicsv::PlayedNotes(midicsv::Run(theirs));
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(path));
  ASSERT_EQ(expected.size(), 30u);
  EXPECT_TRUE(midicsv::SameNotes(played, expected, 10)) << "the program:\n"
                                                        << midicsv::Show(played) << "abc2midi:\n"
                                                        << midicsv::Show(expected);
}

// Actions | Evenly Space Notation (Shift+Alt+E) opens blank columns between
// the notes: a tie across the bar widens with them, so that it still reaches
// the note it ties to, on the screen and in the sound.
TEST_F(MidiExportWindow, EvenSpacingKeepsATieOnTheNoteItTiesTo) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  ASSERT_TRUE(Start());
  KViewWidget* pane = OpenTune("X:1\nT:Tie\nM:4/4\nL:1/8\nK:C\nC2 E2 G4-|G2 E2 C4|]\n");
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  int staffLine = -1;
  for (int i = 0; i < view.GetDisplayLineCount() && staffLine < 0; ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    if (line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff) staffLine = i;
  }
  ASSERT_GE(staffLine, 0);
  KListLine* staff = view.GetDisplayLineObj(staffLine)->AsListLine();
  // The columns of the tied notes (the two G's, either side of the bar) and the tie.
  const auto tied = [&]() {
    std::vector<int> columns;
    for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* chord = dynamic_cast<const KChord*>(staff->GetObjList()->GetNext(node));
      if (chord != nullptr && !chord->IsBarColumn() && chord->GetNoteCount() > 0 && chord->GetNote(0).position == 20)
        columns.push_back(chord->GetPos());
    }
    return columns;
  };
  const auto tieEnd = [&]() {
    for (POSITION node = staff->GetAttachments()->GetHeadPosition(); node != nullptr;) {
      const auto* tie = static_cast<const KExtendedObj*>(staff->GetAttachments()->GetNext(node));
      if (tie->GetKind() == KExtendedObj::kTie) return (tie->GetPos() * 18 + tie->GetOffset().x + tie->GetSize().cx) / 18;
    }
    return -1;
  };
  const std::vector<int> before = tied();
  ASSERT_EQ(before.size(), 2u);
  ASSERT_EQ(tieEnd(), before[1]);
  view.m_currentLine = staffLine;
  view.m_currentType = 0;
  view.m_currentFamily = 0;
  QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_E, QString(), Qt::ShiftModifier | Qt::AltModifier);
  QApplication::processEvents();
  const std::vector<int> after = tied();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_GT(after[1] - after[0], before[1] - before[0]) << "the notes were spread";
  EXPECT_EQ(tieEnd(), after[1]) << "the tie reaches the second G";

  const fs::path path = Dir() / "spaced.mid";
  SaveAs(path);
  Trigger(cmd::kExportMidi);
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(path));
  ASSERT_EQ(played.size(), 5u) << midicsv::Show(played);
  EXPECT_EQ(played[2].pitch, 67);
  EXPECT_EQ(played[2].length, 1440) << "the G sounds once, for a half and a quarter";
}

TEST_F(MidiExportWindow, TheMenuItemWritesTheFileToo) {
  ASSERT_TRUE(Start());
  ASSERT_NE(OpenTune(), nullptr);
  const fs::path path = Dir() / "menu.mid";
  SaveAs(path);
  Frame().UpdateCommandUi();
  QAction* action = Frame().ActionFor(cmd::kExportMidi);
  ASSERT_NE(action, nullptr);
  ASSERT_TRUE(action->isEnabled());
  EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
  action->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(fs::exists(path));
  EXPECT_GT(fs::file_size(path), 100u);
}

TEST_F(MidiExportWindow, CtrlAltMOpensTheInstrumentsAndEffects) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = OpenTune();
  ASSERT_NE(pane, nullptr);
  std::vector<std::string> labels;
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [&](KModalDialog& d) {
    for (const auto& e : static_cast<KDlgMidiInstruments&>(d).entries) labels.emplace_back(e.label.View());
    return IDCANCEL;
  });
  QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_M, QString(), Qt::ControlModifier | Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_EQ(labels, std::vector<std::string>{"UL Treble"});
}

// The chord dialogs sound through the main frame's output; on a machine
// without a MIDI device it cannot open, and nothing is sent or left waiting.
TEST_F(MidiExportWindow, AChordAuditionWithoutADeviceSendsNothing) {
  ASSERT_TRUE(Start());
  if (!CurrentMidiDevices().OutputNames().empty()) GTEST_SKIP() << "this machine has a MIDI output";
  MidiOutPort* out = Frame().PreviewOutput();
  ASSERT_NE(out, nullptr);
  ResetSoundScheduler();
  PlayChordShape(CString("0022100"), CString("E A D G B E  323742475156"), 0, 25);
  EXPECT_FALSE(out->IsOpen());
  EXPECT_TRUE(SoundScheduler().Empty());
}

}  // namespace
