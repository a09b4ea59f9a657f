// Writing into a score in the real window: notes typed past a fixed staff
// length stand on staff lines, an empty lyric line of a group shows where it
// is and takes the clicks made under the tablature above it, and a fragment
// of text tablature too short to read says so.

#include <QApplication>
#include <QImage>
#include <QTest>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KLineGroup.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";

class ScoreEditing : public ShellTest {
 protected:
  // The pane's picture as the user sees it.
  QImage Picture(KViewWidget* pane) {
    pane->viewport()->update();
    QApplication::processEvents();
    return pane->viewport()->grab().toImage();
  }
  static bool DarkNear(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
      if (y + dy < 0 || y + dy >= image.height() || x < 0 || x >= image.width()) continue;
      if (qGray(image.pixel(x, y + dy)) < 128) return true;
    }
    return false;
  }
  void Click(KViewWidget* pane, int pageX, int pageY) {
    const POINT scroll = pane->View().GetVirtualScrollPosition();
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(pageX - scroll.x, pageY - scroll.y));
    QApplication::processEvents();
  }
};

TEST_F(ScoreEditing, NotesTypedPastAFixedStaffLengthStandOnStaffLines) {
  const std::string path = (Dir() / "short.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    auto* staff = new KStaffLine(0, 0, 0);
    staff->SetStaffLength(120);  // room for a few notes only
    doc.AddTailLine(staff);
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  int staffLine = -1;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i)
    if (dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(i)) != nullptr) staffLine = i;
  ASSERT_GE(staffLine, 0);
  while (view.GetCurrentLine() != staffLine) QTest::keyClick(pane, Qt::Key_Down, Qt::ControlModifier);
  ASSERT_EQ(view.GetCurrentLine(), staffLine);
  for (int i = 0; i < 14; ++i) QTest::keyClick(pane, 'q');
  auto* staff = static_cast<KStaffLine*>(view.GetDisplayLineObj(staffLine));
  ASSERT_GE(staff->GetLength(), 14);
  ASSERT_EQ(view.GetDisplayLineCount() > staffLine, true);
  const QImage picture = Picture(pane);
  const DisplayLine& entry = view.GetDisplayEntry(staffLine);
  const POINT scroll = view.GetVirtualScrollPosition();
  const int lead = view.GetContentLeft() + staff->GetIndent() + staff->GetLeadInWidth(0);
  const int top = entry.top + staff->GetSpaceAbove(0);
  // Under the last notes, well past the fixed length, the five lines run on.
  for (int column : {11, 13}) {
    const int x = lead + column * 18 + 2 - scroll.x;
    for (int k = 0; k < 5; ++k)
      EXPECT_TRUE(DarkNear(picture, x, top + 6 * k - scroll.y))
          << "column " << column << ", staff line " << k;
  }
}

TEST_F(ScoreEditing, AnEmptyLyricLineShowsWhereItIsAndTakesTheClicksUnderTheTablature) {
  const std::string path = (Dir() / "song.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    const POSITION positions[3] = {doc.AddTailLine(new KStaffLine(0, 0, 0)),
                                   doc.AddTailLine(new KTabLine(0, kGuitar, 0)),
                                   doc.AddTailLine(new KStrLine(0))};
    const int types[3] = {0, 2, 5};
    constexpr int kGroupId = 10000;
    auto* group = new KLineGroup(kGroupId, positions, types, 0);
    doc.AddLineGroup(group);
    for (const POSITION at : positions) doc.GetLineAt(at)->SetGroup(kGroupId, group);
    group->BindLines(doc);
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  int tabLine = -1;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i)
    if (dynamic_cast<KTabLine*>(view.GetDisplayLineObj(i)) != nullptr) tabLine = i;
  ASSERT_GE(tabLine, 0);
  ASSERT_LT(tabLine + 1, view.GetDisplayLineCount());
  auto* lyrics = dynamic_cast<KStrLine*>(view.GetDisplayLineObj(tabLine + 1));
  ASSERT_NE(lyrics, nullptr);
  auto* tab = static_cast<KTabLine*>(view.GetDisplayLineObj(tabLine));

  // The empty lyric line shows a light rule where its words will stand.
  const QImage picture = Picture(pane);
  const DisplayLine& lyricEntry = view.GetDisplayEntry(tabLine + 1);
  const POINT scroll = view.GetVirtualScrollPosition();
  int marked = 0;
  for (int x = view.GetContentLeft(); x < view.GetContentLeft() + 100; ++x) {
    const QColor c(picture.pixel(x - scroll.x, lyricEntry.bottom - 2 - scroll.y));
    if (c != QColor(Qt::white) && qGray(c.rgb()) > 100) ++marked;
  }
  EXPECT_GT(marked, 20) << "no mark shows the empty lyric line";

  // A click under the lowest string, where the words go, reaches the lyric line.
  const DisplayLine& tabEntry = view.GetDisplayEntry(tabLine);
  const int lowest = tabEntry.top + tab->GetSpaceAbove(0) + 5 * view.m_tabSpacing[0];
  const int y = std::min(lowest + 2 * view.m_tabSpacing[0], tabEntry.bottom);
  ASSERT_GT(y, lowest + view.m_tabSpacing[0]);
  Click(pane, view.GetContentLeft() + 60, y);
  EXPECT_EQ(view.GetCurrentLine(), tabLine + 1);
  QTest::keyClicks(pane, "la");
  EXPECT_EQ(std::string(lyrics->GetText().View()).find("la") != std::string::npos, true)
      << lyrics->GetText().View();
  EXPECT_EQ(tab->GetObjList()->GetCount(), 0) << "nothing went onto the tablature";
  // A click on the strings still reaches the tablature.
  Click(pane, view.GetContentLeft() + 60, lowest);
  EXPECT_EQ(view.GetCurrentLine(), tabLine);
}

TEST_F(ScoreEditing, TranslatingThreeRowsOfTextTabToTablatureSaysWhyNothingIsMade) {
  const std::string path = (Dir() / "fragment.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    for (const char* row : {"e|---0---3---|", "B|---1---0---|", "G|---0---0---|"}) {
      auto* text = new KStrLine(0);
      text->SetText(CString(row));
      doc.AddTailLine(text);
    }
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  CStavlinView& view = pane->View();
  const int lines = view.GetDisplayLineCount();
  // The three rows selected, as a user selects what to translate.
  while (view.GetCurrentLine() < lines - 3) QTest::keyClick(pane, Qt::Key_Down);
  QTest::keyClick(pane, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(pane, Qt::Key_Down, Qt::ShiftModifier);
  ui_.ClearRecords();
  Trigger(41228);  // Actions | Translate | To TAB
  EXPECT_EQ(view.GetDisplayLineCount(), lines);
  ASSERT_FALSE(ui_.MessageIds().empty()) << "nothing was said";
  EXPECT_EQ(ui_.MessageIds().back(), 7055u);
}

}  // namespace
