// Clicking in the real window: a score of a text line, a treble staff, a
// guitar tablature, a rhythm line and a chord-name line is opened and the
// mouse clicks the view widget's viewport as the window system would. A
// click puts the caret on the clicked line, column and row of each line
// family; with a toolbox symbol chosen a click enters it; the pointer shows
// that symbol's cursor over the score and the line cursor over the labels.

#include <QApplication>
#include <QTest>
#include <string>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "support/MusicNames.h"
#include "support/WaitFor.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
enum ScoreLine { kTitle = 0, kStaff = 1, kTab = 2, kRhythm = 3, kChords = 4 };
constexpr int kQuarter = 8;

class ClickingInTheWindow : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    const std::string path = (Dir() / "clicks.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      doc.AddTailLine(new KStaffLine(0, 0, 0));
      doc.AddTailLine(new KTabLine(0, kGuitar, 0));
      doc.AddTailLine(new KRhythmLine(0, "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
      doc.AddTailLine(new KChordPicLine(0, kGuitar, "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial", 100, 100));
      ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    }
    ASSERT_TRUE(Start());
    child_ = OpenFocused(path, pane_);
    ASSERT_NE(child_, nullptr);
    ASSERT_NE(pane_, nullptr);
    ASSERT_GE(View().GetDisplayLineCount(), 5);
    ASSERT_EQ(View().GetDisplayEntry(kStaff).type, 0);
    ASSERT_EQ(View().GetDisplayEntry(kTab).type, 2);
  }

  CStavlinView& View() const { return pane_->View(); }
  KListLine* List(int line) const { return View().GetDisplayLineObj(line)->AsListLine(); }

  // The viewport point of a page point.
  QPoint At(int pageX, int pageY) const {
    const POINT scroll = View().GetVirtualScrollPosition();
    return QPoint(pageX - scroll.x, pageY - scroll.y);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(pane_->viewport(), button, Qt::NoModifier, at);
    QApplication::processEvents();
  }
  // Page x of a staff or tablature column, and page y of a staff row.
  int ColumnX(int line, int column) const {
    return View().GetContentLeft() + List(line)->GetLeadInWidth(0) + 18 * column + 2;
  }
  int StaffRowY(int row) const {
    return View().GetDisplayEntry(kStaff).top + List(kStaff)->GetSpaceAbove(0) + (row - 15) * 3 + 3;
  }

  musicnames::LineDump StaffDump() const {
    std::string out;
    CObList* objects = List(kStaff)->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column == nullptr || column->GetNoteCount() == 0) continue;
      out += std::to_string(column->GetPos()) + ':' + std::to_string(column->GetNote(0).code) + '@' +
             std::to_string(column->GetNote(0).position) + ' ';
    }
    return musicnames::WithNames(out, List(kStaff));
  }

  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
};

TEST_F(ClickingInTheWindow, ClickOnTheStaffPutsTheCaretOnTheRowAndColumn) {
  Click(At(ColumnX(kStaff, 3), StaffRowY(20)));
  EXPECT_EQ(View().GetCurrentLine(), kStaff);
  EXPECT_EQ(View().GetCaretColumn(), 3);
  EXPECT_EQ(View().GetCaretRow(), 20);
  EXPECT_TRUE(StaffDump().codes.empty()) << "no symbol chosen, nothing entered";
}

TEST_F(ClickingInTheWindow, ClickOnTheTablaturePutsTheCaretOnTheString) {
  const int top = View().GetDisplayEntry(kTab).top + List(kTab)->GetSpaceAbove(0);
  Click(At(ColumnX(kTab, 2), top + 10 * 3 + 1));  // on the fourth string, row 5
  EXPECT_EQ(View().GetCurrentLine(), kTab);
  EXPECT_EQ(View().GetCaretColumn(), 2);
  EXPECT_EQ(View().GetCaretRow(), 5);
}

TEST_F(ClickingInTheWindow, ClickOnRhythmChordAndTextLinesMovesTheCaretThere) {
  for (int line : {kRhythm, kChords, kTitle}) {
    const DisplayLine& entry = View().GetDisplayEntry(line);
    Click(At(View().GetContentLeft() + 1, (entry.top + entry.bottom) / 2));
    EXPECT_EQ(View().GetCurrentLine(), line);
    EXPECT_EQ(View().GetCurrentType(), View().GetDisplayEntry(line).type);
  }
}

TEST_F(ClickingInTheWindow, ChosenSymbolIsEnteredWhereTheStaffIsClicked) {
  View().m_toolboxSymbol = kQuarter;
  const QPoint at = At(ColumnX(kStaff, 2), StaffRowY(16));
  QTest::mouseMove(pane_->viewport(), at);
  // On a real display the pointer's move comes back through the window system.
  stavlin_test::WaitFor([&] { return pane_->CursorId() == CStavlinView::kCursorSymbolBase + kQuarter; });
  EXPECT_EQ(pane_->CursorId(), CStavlinView::kCursorSymbolBase + kQuarter);
  EXPECT_EQ(pane_->viewport()->cursor().shape(), Qt::BitmapCursor) << "made from the symbol's picture";
  Click(at);
  EXPECT_NE(StaffDump().codes.find("2:8@16"), std::string::npos) << StaffDump();
  EXPECT_TRUE(child_->Document().IsModified());
}

TEST_F(ClickingInTheWindow, RightClickPlacesTheCaretWithoutEntering) {
  View().m_toolboxSymbol = kQuarter;
  Click(At(ColumnX(kStaff, 4), StaffRowY(18)), Qt::RightButton);
  EXPECT_EQ(View().GetCurrentLine(), kStaff);
  EXPECT_EQ(View().GetCaretColumn(), 4);
  EXPECT_TRUE(StaffDump().codes.empty());
}

TEST_F(ClickingInTheWindow, PointerOverTheLabelsShowsTheLineCursor) {
  QTest::mouseMove(pane_->viewport(), At(2, StaffRowY(18)));
  stavlin_test::WaitFor([&] { return pane_->CursorId() == CStavlinView::kCursorLabels; });
  EXPECT_EQ(pane_->CursorId(), CStavlinView::kCursorLabels);
}

TEST_F(ClickingInTheWindow, WheelNotchMovesOneDisplayLine) {
  pane_->resize(pane_->width(), 160);
  QApplication::processEvents();
  const int before = View().GetVirtualScrollPosition().y;
  ASSERT_EQ(before, 0);
  QWheelEvent wheel(QPointF(50, 50), pane_->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(pane_->viewport(), &wheel);
  QApplication::processEvents();
  EXPECT_EQ(View().GetVirtualScrollPosition().y, View().GetDisplayEntry(1).top);
}

}  // namespace
