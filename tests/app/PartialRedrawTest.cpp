// What the window shows after an edit that repaints only part of it is what
// a full repaint shows: typing next to a bar line, and taking it back, leaves
// no white gap where the bar line stood and no bar line where it no longer
// stands. The picture compared is the one on screen (the window's backing
// store), taken before and after a repaint of the whole view, with no event
// in between, so the caret blinks in neither.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <string>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";

class PartialRedraw : public ShellTest {
 protected:
  // The view's area of the window as the screen shows it now.
  static QImage OnScreen(KViewWidget* pane) {
    QWidget* top = pane->window();
    const QPoint at = pane->viewport()->mapTo(top, QPoint(0, 0));
    const QSize size = pane->viewport()->size();
    return top->screen()->grabWindow(top->winId(), at.x(), at.y(), size.width(), size.height()).toImage();
  }
  // The same area once the whole view has been painted again.
  static QImage FullyRepainted(KViewWidget* pane) {
    pane->viewport()->repaint();
    return OnScreen(pane);
  }
  // How many pixels differ between two pictures of the view, and where.
  static int Differing(const QImage& shown, const QImage& full, QRect& where) {
    int count = 0;
    where = QRect();
    for (int y = 0; y < std::min(shown.height(), full.height()); ++y)
      for (int x = 0; x < std::min(shown.width(), full.width()); ++x)
        if (shown.pixel(x, y) != full.pixel(x, y)) {
          ++count;
          where |= QRect(x, y, 1, 1);
        }
    return count;
  }
  // The line's columns: where each stands, whether it is a bar line and
  // the notes it holds.
  static std::string Columns(KListLine& line) {
    std::string out;
    const CObList* objects = line.GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column == nullptr) continue;
      out += std::to_string(column->GetPos()) + (column->IsBarColumn() ? "|" : ":");
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        out += std::to_string(note.position) + "/" + std::to_string(note.code) + ",";
      }
      out += " ";
    }
    return out;
  }
  static int BarCount(KListLine& line) {
    int bars = 0;
    const CObList* objects = line.GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column != nullptr && column->IsBarColumn()) ++bars;
    }
    return bars;
  }
};

TEST_F(PartialRedraw, TypingNextToABarLineLeavesThePictureAFullRepaintShows) {
  const std::string path = (Dir() / "bars.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.AddTailLine(new KStaffLine(0, 0, 0));
    doc.AddTailLine(new KTabLine(0, kGuitar, 0));
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  const Qt::KeyboardModifiers lineStep =
      view.Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  const auto toLine = [&](int line) {
    while (view.GetCurrentLine() < line) QTest::keyClick(pane, Qt::Key_Down, lineStep);
    while (view.GetCurrentLine() > line) QTest::keyClick(pane, Qt::Key_Up, lineStep);
  };
  int staffLine = -1;
  int tabLine = -1;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    if (dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(i)) != nullptr) staffLine = i;
    if (dynamic_cast<KTabLine*>(view.GetDisplayLineObj(i)) != nullptr) tabLine = i;
  }
  ASSERT_GE(staffLine, 0);
  ASSERT_GE(tabLine, 0);

  // Two bars of music on each line, written from the keys.
  toLine(staffLine);
  QTest::keyClicks(pane, "qq|qq");
  toLine(tabLine);
  QTest::keyClicks(pane, "02|30");
  QApplication::processEvents();
  auto* staff = static_cast<KListLine*>(view.GetDisplayLineObj(staffLine));
  auto* tab = static_cast<KListLine*>(view.GetDisplayLineObj(tabLine));
  ASSERT_EQ(BarCount(*staff), 1);
  ASSERT_EQ(BarCount(*tab), 1);

  const struct {
    const char* name;
    int line;
    int stepsBack;  // Left presses from the end of the music
    const char* keys;
  } cases[] = {
      {"a note typed just after the staff's bar line", staffLine, 2, "q"},
      {"a note typed on the staff's bar line", staffLine, 3, "q"},
      {"a note typed just before the staff's bar line", staffLine, 4, "q"},
      {"a higher note typed just after the staff's bar line", staffLine, 2, "Cq"},
      {"a second bar line typed beside the staff's", staffLine, 2, "|"},
      {"a fret typed just after the tablature's bar line", tabLine, 2, "5"},
      {"a fret typed on the tablature's bar line", tabLine, 3, "5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    toLine(c.line);
    QTest::keyClick(pane, Qt::Key_End);
    for (int i = 0; i < c.stepsBack; ++i) QTest::keyClick(pane, Qt::Key_Left);
    QApplication::processEvents();
    auto* line = static_cast<KListLine*>(view.GetDisplayLineObj(c.line));
    const std::string before = Columns(*line);

    QTest::keyClicks(pane, c.keys);
    QApplication::processEvents();
    ASSERT_NE(Columns(*line), before) << "the key entered something";
    QRect where;
    const QImage typed = OnScreen(pane);
    ASSERT_FALSE(typed.isNull());
    EXPECT_EQ(Differing(typed, FullyRepainted(pane), where), 0)
        << "after typing the window differs from a full repaint in " << where.x() << "," << where.y() << " "
        << where.width() << "x" << where.height();

    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    // Undo puts back a copy of the line: the one the view shows now.
    line = static_cast<KListLine*>(view.GetDisplayLineObj(c.line));
    ASSERT_EQ(Columns(*line), before) << "Undo took the entry back";
    const QImage undone = OnScreen(pane);
    EXPECT_EQ(Differing(undone, FullyRepainted(pane), where), 0)
        << "after Undo the window differs from a full repaint in " << where.x() << "," << where.y() << " "
        << where.width() << "x" << where.height();
  }
}

// With Auto Bar Insertion on, the bar line that closes a full bar goes in
// when the next note is typed, in the column before it: that column shows
// its bar line at once, with the staff lines running through it.
TEST_F(PartialRedraw, AnAutomaticBarLineShowsAsSoonAsTheNoteAfterItIsTyped) {
  const std::string path = (Dir() / "autobars.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.AddTailLine(new KStaffLine(0, 0, 0));
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  const Qt::KeyboardModifiers lineStep =
      view.Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  int staffLine = -1;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i)
    if (dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(i)) != nullptr) staffLine = i;
  ASSERT_GE(staffLine, 0);
  while (view.GetCurrentLine() < staffLine) QTest::keyClick(pane, Qt::Key_Down, lineStep);
  if (view.m_autoBars == 0) QTest::keyClick(pane, Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier);
  ASSERT_NE(view.m_autoBars, 0);
  auto* staff = static_cast<KListLine*>(view.GetDisplayLineObj(staffLine));

  // A full bar of quarters, then the note that starts the next bar: one at
  // a time, each picture compared with a full repaint.
  for (int note = 1; note <= 6; ++note) {
    SCOPED_TRACE("quarter note " + std::to_string(note));
    QTest::keyClicks(pane, "q");
    QApplication::processEvents();
    QRect where;
    const QImage typed = OnScreen(pane);
    ASSERT_FALSE(typed.isNull());
    EXPECT_EQ(Differing(typed, FullyRepainted(pane), where), 0)
        << "the window differs from a full repaint in " << where.x() << "," << where.y() << " "
        << where.width() << "x" << where.height() << "\n"
        << Columns(*staff);
  }
  EXPECT_EQ(BarCount(*staff), 1) << Columns(*staff);
}

}  // namespace
