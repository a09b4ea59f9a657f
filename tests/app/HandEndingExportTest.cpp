// First and second endings placed by hand in the real window over a song
// whose repeat has no start sign, then written by File | Export | Full Score
// As MIDI File: the repeat goes back to the song's start, the first ending
// is passed over the second time, and the second ending, over the last bar,
// sounds last, note by note.

#include <QAction>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgPhraseLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "support/CaseName.h"
#include "support/MidiCsvTable.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

namespace fs = std::filesystem;

struct HandCase {
  const char* name;
  const char* tune;
  // How far right of the caret the end point is clicked, in columns; 0: the
  // ending is made from a selection of the note and its closing bar line.
  double reach;
  std::vector<int> keys;
};

void PrintTo(const HandCase& c, std::ostream* out) { *out << c.name; }

class HandEndings : public ShellTest, public ::testing::WithParamInterface<HandCase> {
 protected:
  // Opens the tune (an ABC file becomes a score) with its view focused.
  bool OpenTune(const char* tune) {
    const std::string source = (Dir() / "song.abc").string();
    std::ofstream(source, std::ios::binary) << tune;
    App().SetOpenPrompt([source](const CString&, const QStringList&) { return CString(source.c_str()); });
    Frame().UpdateCommandUi();
    QAction* open = Frame().ActionFor(cmd::kFileOpen);
    if (open == nullptr) return false;
    open->trigger();
    QApplication::processEvents();
    if (Frame().ScoreWindows().size() != 1) return false;
    pane_ = Frame().ScoreWindows()[0]->ActivePane();
    Frame().show();
    Frame().activateWindow();
    pane_->setFocus();
    QApplication::processEvents();
    return true;
  }
  CStavlinView& View() const { return pane_->View(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, QString(), held);
    QApplication::processEvents();
  }
  Qt::KeyboardModifiers LineStep() const {
    return View().Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  }
  void CaretTo(int line, int column) {
    for (int i = 0; i < 50 && View().GetCurrentLine() < line; ++i) Key(Qt::Key_Down, LineStep());
    for (int i = 0; i < 50 && View().GetCurrentLine() > line; ++i) Key(Qt::Key_Up, LineStep());
    for (int i = 0; i < 200 && View().GetCaretColumn() > column; ++i) Key(Qt::Key_Left);
    for (int i = 0; i < 200 && View().GetCaretColumn() < column; ++i) Key(Qt::Key_Right);
    ASSERT_EQ(View().GetCurrentLine(), line);
    ASSERT_EQ(View().GetCaretColumn(), column);
  }
  // Insert | Extended Object | Bracket (Ctrl+Shift+H) with the caret on the
  // note: a full bracket with the ending's text, its end clicked `reach`
  // columns to the right.
  void PlaceEnding(int line, int column, UINT text, double reach) {
    ASSERT_NO_FATAL_FAILURE(CaretTo(line, column));
    ui_.AnswerDialog(KDlgPhraseLine::kTemplateId, [text](KModalDialog& d) {
      d.Controls().SetChecked(KDlgPhraseLine::kIdFirstStyle, 1);
      d.Controls().SetChecked(text, 1);
      return IDOK;
    });
    if (reach == 0) {
      // The note with the bar line that closes its bar.
      KListLine* staff = View().GetDisplayLineObj(line)->AsListLine();
      int bar = staff->GetLength();
      for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
        const auto* chord = dynamic_cast<const KChord*>(staff->GetObjList()->GetNext(node));
        if (chord != nullptr && chord->GetPos() > column && chord->IsBarColumn()) {
          bar = chord->GetPos();
          break;
        }
      }
      for (int i = 0; i < 50 && View().GetCaretColumn() <= bar; ++i) Key(Qt::Key_Right, Qt::ShiftModifier);
      Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
      ASSERT_EQ(View().m_pendingExtendedObject, 0u) << "made at once";
      return;
    }
    Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(View().m_pendingExtendedObject, 0u) << "the view waits for the end point";
    const POINT start = extobj::PlacementStart(View());
    const POINT scroll = View().GetVirtualScrollPosition();
    QTest::mouseClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(start.x - scroll.x + static_cast<int>(reach * 18), start.y - scroll.y));
    QApplication::processEvents();
    ASSERT_EQ(View().m_pendingExtendedObject, 0u);
  }

  KViewWidget* pane_ = nullptr;
};

TEST_P(HandEndings, TheSecondEndingSoundsLast) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  const HandCase& c = GetParam();
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenTune(c.tune));
  // The notes of the staff lines: display line and column.
  std::vector<std::pair<int, int>> notes;
  for (int i = 0; i < View().GetDisplayLineCount(); ++i) {
    KLineObj* line = View().GetDisplayLineObj(i);
    if (line == nullptr || line->GetFamily() != KLineObj::kFamilyStaff) continue;
    const CObList* objects = line->AsListLine()->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* chord = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (chord != nullptr && !chord->IsBarColumn() && chord->GetNoteCount() > 0 &&
          chord->GetNote(0).code <= 12)
        notes.emplace_back(i, chord->GetPos());
    }
  }
  ASSERT_GE(notes.size(), 2u);
  // The first ending over the bar before the repeat end, the second over the last bar.
  const auto [firstLine, firstColumn] = notes[notes.size() - 2];
  const auto [lastLine, lastColumn] = notes.back();
  ASSERT_NO_FATAL_FAILURE(PlaceEnding(firstLine, firstColumn, KDlgPhraseLine::kIdFirstEnding, c.reach));
  ASSERT_NO_FATAL_FAILURE(PlaceEnding(lastLine, lastColumn, KDlgPhraseLine::kIdSecondEnding, c.reach));

  const fs::path path = Dir() / "song.mid";
  ui_.AnswerSaveFile([path](KSaveFileRequest& request) {
    request.fileName = CString::FromUtf8(path.string());
    return true;
  });
  Trigger(cmd::kExportMidi);
  std::string error;
  const std::string table = midicsv::Table(path, &error);
  ASSERT_FALSE(table.empty()) << error;
  EXPECT_EQ(midicsv::KeysStarted(table), c.keys) << table;
  // Each note follows the one before without a silence.
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(path));
  for (std::size_t i = 1; i < played.size(); ++i)
    EXPECT_EQ(played[i].onset, played[i - 1].onset + played[i - 1].length) << "note " << i << "\n" << table;
}

INSTANTIATE_TEST_SUITE_P(InTheWindow, HandEndings,
                         ::testing::Values(HandCase{"one system, the endings drawn short of their bar lines",
                                                    "X:1\nT:Song\nM:4/4\nL:1/4\nK:C\nC4|D4|E4:|F4|]\n",
                                                    0.6,
                                                    {60, 62, 64, 60, 62, 65}},
                                           HandCase{"one system, the endings made from selections",
                                                    "X:1\nT:Song\nM:4/4\nL:1/4\nK:C\nC4|D4|E4:|F4|]\n",
                                                    0,
                                                    {60, 62, 64, 60, 62, 65}},
                                           HandCase{"one system, the endings drawn over their bar lines",
                                                    "X:1\nT:Song\nM:4/4\nL:1/4\nK:C\nC4|D4|E4:|F4|]\n",
                                                    1.0,
                                                    {60, 62, 64, 60, 62, 65}},
                                           HandCase{
                                               "the second ending at the system's end without a closing bar",
                                               "X:1\nT:Song\nM:4/4\nL:1/4\nK:C\nC4|D4|E4:|F4\n",
                                               0.6,
                                               {60, 62, 64, 60, 62, 65}},
                                           HandCase{"the second ending on a system of its own",
                                                    "X:1\nT:Song\nM:4/4\nL:1/4\nK:C\nC4|D4|E4:|\nF4|]\n",
                                                    0.6,
                                                    {60, 62, 64, 60, 62, 65}},
                                           HandCase{"the endings on a system of their own",
                                                    "X:1\nT:Song\nM:4/4\nL:1/4\nK:C\nC4|D4|\nE4:|F4|]\n",
                                                    0.6,
                                                    {60, 62, 64, 60, 62, 65}}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
