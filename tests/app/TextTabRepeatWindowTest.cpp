// A tab from the web with repeat signs written as most tabs write them
// ("|:" ... ":|"), pasted into a new score and turned into tablature with
// Actions/Translate/To TAB: the repeated bars play twice in the MIDI export.

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "support/MidiCsvTable.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

namespace fs = std::filesystem;

class TextTabRepeatWindow : public ShellTest {};

TEST_F(TextTabRepeatWindow, ColonRepeatSignsOfAPastedTabAreRepeatsThatPlayTwice) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  ASSERT_TRUE(Start());
  KViewWidget* pane = PasteIntoNewScore(
      QStringLiteral("e|:--0--3--:|--5--|\n"
                     "B|:--------:|-----|\n"
                     "G|:--------:|-----|\n"
                     "D|:--------:|-----|\n"
                     "A|:--------:|-----|\n"
                     "E|:--------:|-----|"));
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  ASSERT_EQ(view.GetDisplayLineCount(), 7);
  QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(pane, Qt::Key_Down);
  QApplication::processEvents();
  Trigger(cmd::kTranslateFirst + 8);
  ASSERT_EQ(view.GetDisplayLineCount(), 8);
  const auto* tab = dynamic_cast<const KTabLine*>(view.GetDisplayLineObj(7));
  ASSERT_NE(tab, nullptr);
  std::vector<int> bars;
  for (POSITION node = tab->GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(tab->GetObjList()->GetNext(node));
    if (column != nullptr && column->IsBarColumn()) bars.push_back(column->GetNote(0).code);
  }
  // A repeat start and a repeat end (the plain bar closing the tab goes, as
  // every outer bar of a block does).
  EXPECT_EQ(bars, (std::vector<int>{24, 25}));

  const fs::path path = Dir() / "tab.mid";
  ui_.AnswerSaveFile([path](KSaveFileRequest& request) {
    request.fileName = CString::FromUtf8(path.string());
    return true;
  });
  Trigger(cmd::kExportMidi);
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(path));
  ASSERT_EQ(played.size(), 5u) << midicsv::Show(played);
  EXPECT_EQ(played[2].pitch, played[0].pitch) << midicsv::Show(played);
  EXPECT_EQ(played[3].pitch, played[1].pitch) << midicsv::Show(played);
  EXPECT_NE(played[4].pitch, played[0].pitch) << midicsv::Show(played);
  for (std::size_t i = 1; i < played.size(); ++i) EXPECT_GT(played[i].onset, played[i - 1].onset);
}

}  // namespace
