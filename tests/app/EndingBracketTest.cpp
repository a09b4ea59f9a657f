// First and second endings in the real window, over bars that each hold one
// whole note. Selected with its chord alone, a one-chord bar cannot take an
// ending made from the selection: the window says to select the chord with
// the bar line that closes its bar, and that selection makes the ending.
// Placed by hand with the caret on a note, an ending stands with its whole
// height over the top line of its staff or tablature: the picture changes
// above that line only.

#include <QImage>
#include <QTest>
#include <fstream>
#include <iterator>
#include <string>

#include "GroupedSongWindow.h"
#include "dialogs/KDlgPhraseLine.h"
#include "model/KExtendedObj.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

constexpr UINT kMsgOneColumnSelected = 7158;

bool Dark(QRgb pixel) { return qGray(pixel) < 160; }

// A row of a staff or string line: dark over a long unbroken stretch.
bool RuleRow(const QImage& picture, int y) {
  int run = 0;
  for (int x = 0; x < picture.width(); ++x) {
    run = Dark(picture.pixel(x, y)) ? run + 1 : 0;
    if (run >= 40) return true;
  }
  return false;
}

class Endings : public GroupedSongWindow {
 protected:
  void SetUp() override {
    GroupedSongWindow::SetUp();
    ASSERT_NO_FATAL_FAILURE(ToLine(kStaffLine));
    // Two bars of one whole note each (a bar typed where Auto Bar
    // Insertion did not put one).
    for (const char* note : {"Aw", "Bw"}) {
      Type(note);
      const auto* last = dynamic_cast<const KChord*>(staff_->GetObjList()->GetTail());
      if (last == nullptr || !last->IsBarColumn()) Type("|");
    }
    ASSERT_EQ(staff_->GetLength(), 4);
  }
  void AnswerEnding(UINT text) {
    ui_.AnswerDialog(KDlgPhraseLine::kTemplateId, [text](KModalDialog& d) {
      d.Controls().SetChecked(KDlgPhraseLine::kIdFirstStyle, 1);  // the full bracket
      d.Controls().SetChecked(text, 1);
      return IDOK;
    });
  }
  int Brackets(KLineObj& line) const {
    int count = 0;
    CObList* list = line.GetAttachments();
    for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
      const auto* object = static_cast<const KExtendedObj*>(list->GetNext(node));
      if (object->GetKind() >= KExtendedObj::kFirstBracketLine) ++count;
    }
    return count;
  }
  void CaretTo(int column) {
    while (View().GetCaretColumn() > column) Key(Qt::Key_Left);
    while (View().GetCaretColumn() < column) Key(Qt::Key_Right);
  }
  QImage Picture() {
    pane_->viewport()->repaint();
    QApplication::processEvents();
    return pane_->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(Endings, AOneChordBarTakesItsEndingWhenItsClosingBarLineIsSelectedWithIt) {
  // The whole note of bar 2 alone: refused, with what to select instead.
  CaretTo(2);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  ASSERT_TRUE(View().SelectionRectShown());
  AnswerEnding(KDlgPhraseLine::kIdSecondEnding);
  Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages().back().id, kMsgOneColumnSelected);
  EXPECT_EQ(Brackets(*staff_), 0) << "nothing is made";
  EXPECT_NE(ui_.Messages().back().text.find("together with the bar line that closes its bar"),
            std::string::npos);
  // The bracket's help page says the same.
  std::ifstream page(std::string(STAVLIN_RESOURCE_DIR) + "/help/HIDD_PHRASE_LINE.html");
  const std::string help((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
  EXPECT_NE(help.find("together with the bar line that closes its bar"), std::string::npos);

  // The chord with the bar line after it: the "2." ending over the bar.
  CaretTo(2);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  AnswerEnding(KDlgPhraseLine::kIdSecondEnding);
  Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(ui_.Messages().size(), 1u) << "no message";
  ASSERT_EQ(Brackets(*staff_), 1);
  const auto* ending = static_cast<const KExtendedObj*>(staff_->GetAttachments()->GetHead());
  EXPECT_EQ(std::string(ending->GetText().Str()), "2.");
  EXPECT_EQ(ending->GetPos(), 2);
  EXPECT_GT(ending->GetSize().cx, 0);
  EXPECT_EQ(Brackets(*tab_), 1) << "the tablature takes the ending too";
}

struct HandCase {
  const char* name;
  int line;   // display line the ending is placed on
  UINT text;  // the dialog's text choice
};

class EndingsByHand : public Endings, public ::testing::WithParamInterface<HandCase> {};

TEST_P(EndingsByHand, StandWithTheirWholeHeightOverTheTopLine) {
  const HandCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ToLine(c.line));
  CaretTo(0);
  const DisplayLine& entry = View().GetDisplayEntry(c.line);
  const QImage before = Picture();

  AnswerEnding(c.text);
  Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_NE(View().m_pendingExtendedObject, 0u) << "the view waits for the end point";
  const POINT start = extobj::PlacementStart(View());
  const POINT scroll = View().GetVirtualScrollPosition();
  QTest::mouseClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(start.x - scroll.x + 3 * 18, start.y - scroll.y));
  QApplication::processEvents();
  KLineObj& line = *View().GetDisplayLineObj(c.line);
  ASSERT_EQ(Brackets(line), 1);
  const QImage after = Picture();
  ASSERT_EQ(before.size(), after.size());

  // The line's top rule: the first rule row of its entry.
  const int entryTop = entry.top - static_cast<int>(scroll.y);
  const int entryBottom = entry.bottom - static_cast<int>(scroll.y);
  int topRule = -1;
  for (int y = std::max(entryTop, 0); y < std::min(entryBottom, before.height()) && topRule < 0; ++y) {
    if (RuleRow(before, y)) topRule = y;
  }
  ASSERT_GE(topRule, 0);
  int drawn = 0;
  int lowest = -1;
  // The line's own band: the partner line takes a copy of the ending.
  for (int y = std::max(entryTop, 0); y < std::min(entryBottom, after.height()); ++y) {
    for (int x = 0; x < after.width(); ++x) {
      if (before.pixel(x, y) == after.pixel(x, y) || !Dark(after.pixel(x, y))) continue;
      ++drawn;
      lowest = std::max(lowest, y);
    }
  }
  EXPECT_GT(drawn, 20) << "the ending is drawn";
  EXPECT_LT(lowest, topRule) << "the ending reaches down to y " << lowest << ", the top line is at "
                             << topRule;
}

INSTANTIATE_TEST_SUITE_P(
    InTheWindow, EndingsByHand,
    ::testing::Values(
        HandCase{"FirstOnTheStaff", GroupedSongWindow::kStaffLine, KDlgPhraseLine::kIdFirstEnding},
        HandCase{"SecondOnTheStaff", GroupedSongWindow::kStaffLine, KDlgPhraseLine::kIdSecondEnding},
        HandCase{"FirstOnTheTablature", GroupedSongWindow::kTabLine, KDlgPhraseLine::kIdFirstEnding}),
    [](const ::testing::TestParamInfo<HandCase>& info) { return std::string(info.param.name); });

}  // namespace
