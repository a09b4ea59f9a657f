// The real main window: scores open into child windows whose views show
// their lines, File/New through its menu item, scrolling by scroll bar and
// wheel, two scores side by side, a split window, menus that follow the
// rules after each command, the recent files and a picture of it all.

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "model/KLineObj.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

KViewWidget* PaneOf(CChildFrame* child) { return child != nullptr ? child->ActivePane() : nullptr; }

TEST_F(ShellTest, OpenedScoreShowsItsLinesInAChildWindow) {
  const std::string path = WriteScore("song.svd", 3);
  ASSERT_TRUE(Start());
  CChildFrame* child = App().OpenDocumentFile(path.c_str());
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  EXPECT_EQ(child->Document().GetPathName().Str(), path);
  EXPECT_EQ(child->Document().GetLineCount(), 3);
  CStavlinView& view = PaneOf(child)->View();
  EXPECT_EQ(view.GetDocument(), &child->Document());
  EXPECT_GT(view.GetDisplayLineCount(), 0);
  EXPECT_EQ(Frame().GetActiveScoreView(), &view);
  EXPECT_EQ(child->windowTitle(), QStringLiteral("song.svd"));

  // Opening it again shows the same window.
  EXPECT_EQ(App().OpenDocumentFile(path.c_str()), child);
  EXPECT_EQ(Frame().ScoreWindows().size(), 1u);
}

TEST_F(ShellTest, ScoreGivenOnTheCommandLineOpensInsteadOfTheStartupAction) {
  const std::string path = WriteScore("given.svd", 2);
  StoreStartupAction(1);
  ASSERT_TRUE(Start({QString::fromStdString(path)}));
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  EXPECT_EQ(Frame().ScoreWindows().front()->Document().GetPathName().Str(), path);
}

TEST_F(ShellTest, FileNewThroughItsMenuItemMakesAScoreWithOneTextLineAndACaret) {
  ASSERT_TRUE(Start());
  QAction* fileNew = Frame().ActionFor(cmd::kFileNew);
  ASSERT_NE(fileNew, nullptr);
  EXPECT_TRUE(fileNew->isEnabled());
  fileNew->trigger();
  QApplication::processEvents();

  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CChildFrame* child = Frame().ScoreWindows().front();
  const CStavlinDoc& doc = child->Document();
  // The title line of the new document, and the text line made below it
  // with the caret in it.
  ASSERT_EQ(doc.GetLineCount(), 2);
  POSITION pos = doc.GetFirstLinePosition();
  while (pos != nullptr) EXPECT_EQ(doc.GetNextLine(pos)->GetType(), 5);
  KViewWidget* pane = PaneOf(child);
  EXPECT_EQ(pane->View().GetDisplayLineCount(), 2);
  EXPECT_EQ(pane->View().GetCurrentLine(), 1);
  EXPECT_TRUE(pane->Caret().Exists());
  // Nothing to save yet: closing asks nothing.
  EXPECT_FALSE(doc.IsModified());
  child->close();
  QApplication::processEvents();
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_TRUE(Frame().ScoreWindows().empty());
}

TEST_F(ShellTest, ScrollBarAndWheelMoveTheViewsScrollPosition) {
  const std::string path = WriteScore("long.svd", 80);
  ASSERT_TRUE(Start());
  CChildFrame* child = App().OpenDocumentFile(path.c_str());
  ASSERT_NE(child, nullptr);
  KViewWidget* pane = PaneOf(child);
  CStavlinView& view = pane->View();
  ASSERT_GT(pane->verticalScrollBar()->maximum(), 0) << "the score is taller than its window";

  pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum() / 2);
  QApplication::processEvents();
  const int afterBar = view.GetVirtualScrollPosition().y;
  EXPECT_GT(afterBar, 0);
  EXPECT_EQ(pane->GetScrollPosition().y, afterBar);

  const QPointF at(20, 20);
  QWheelEvent down(at, pane->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(pane->viewport(), &down);
  EXPECT_GT(view.GetVirtualScrollPosition().y, afterBar);

  QWheelEvent up(at, pane->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 3 * 120), Qt::NoButton,
                 Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(pane->viewport(), &up);
  EXPECT_LT(view.GetVirtualScrollPosition().y, afterBar);
}

TEST_F(ShellTest, OpenedScoreStartsAtItsTopLeftWithThumbsTheSizeOfTheWindow) {
  const std::string path = WriteScore("start.svd", 80);
  ASSERT_TRUE(Start());
  CChildFrame* child = App().OpenDocumentFile(path.c_str());
  ASSERT_NE(child, nullptr);
  KViewWidget* pane = PaneOf(child);
  QApplication::processEvents();
  EXPECT_EQ(pane->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(pane->verticalScrollBar()->value(), 0);
  EXPECT_EQ(pane->View().GetVirtualScrollPosition().x, 0);
  // A page of the scroll bar is a window's worth, so the thumb shows how
  // much of the score the window holds.
  EXPECT_EQ(pane->verticalScrollBar()->pageStep(), pane->viewport()->height());
  EXPECT_EQ(pane->horizontalScrollBar()->pageStep(), pane->viewport()->width());
}

TEST_F(ShellTest, TwoScoresShowSideBySide) {
  const std::string first = WriteScore("first.svd", 2);
  const std::string second = WriteScore("second.svd", 4);
  ASSERT_TRUE(Start());
  CChildFrame* a = App().OpenDocumentFile(first.c_str());
  CChildFrame* b = App().OpenDocumentFile(second.c_str());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  Frame().OnCommand(cmd::kWindowTile);
  QApplication::processEvents();
  ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 2);
  EXPECT_FALSE(a->geometry().intersects(b->geometry()));
  EXPECT_EQ(PaneOf(a)->View().GetDocument(), &a->Document());
  EXPECT_EQ(PaneOf(b)->View().GetDocument(), &b->Document());

  // Activating a window makes its view the active score view.
  Frame().MdiArea()->setActiveSubWindow(a);
  QApplication::processEvents();
  EXPECT_EQ(Frame().GetActiveScoreView(), &PaneOf(a)->View());
}

TEST_F(ShellTest, SplitGivesASecondPaneOnTheSameScore) {
  const std::string path = WriteScore("split.svd", 3);
  ASSERT_TRUE(Start());
  CChildFrame* child = App().OpenDocumentFile(path.c_str());
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(child->Split());
  ASSERT_EQ(child->PaneCount(), 2);
  EXPECT_FALSE(child->Split()) << "two panes at most";
  EXPECT_EQ(child->Document().Views().size(), 2u);
  EXPECT_EQ(child->Pane(1)->View().GetDocument(), &child->Document());
  EXPECT_GT(child->Pane(1)->View().GetDisplayLineCount(), 0);
  EXPECT_LT(child->Pane(0)->geometry().bottom(), child->Pane(1)->geometry().top()) << "one above the other";
  EXPECT_TRUE(child->Unsplit());
  EXPECT_EQ(child->Document().Views().size(), 1u);
}

TEST_F(ShellTest, MovedScoreWindowIsRecordedNeverNegative) {
  const std::string path = WriteScore("moved.svd", 1);
  ASSERT_TRUE(Start());
  CChildFrame* child = App().OpenDocumentFile(path.c_str());
  ASSERT_NE(child, nullptr);
  child->move(-40, -25);
  EXPECT_EQ(g_rcNewDoc.left, 0);
  EXPECT_EQ(g_rcNewDoc.top, 0);
  child->move(30, 12);
  EXPECT_EQ(g_rcNewDoc.left, 30);
  EXPECT_EQ(g_rcNewDoc.top, 12);
  EXPECT_EQ(g_rcNewDoc.width, child->width());
  EXPECT_EQ(g_rcNewDoc.height, child->height());
}

TEST_F(ShellTest, MenusFollowTheRulesAfterEachCommand) {
  ASSERT_TRUE(Start());
  QAction* save = Frame().ActionFor(cmd::kFileSave);
  QAction* close = Frame().ActionFor(cmd::kFileClose);
  QAction* toolbox = Frame().ActionFor(cmd::kToolBoxFirst);
  ASSERT_NE(save, nullptr);
  ASSERT_NE(close, nullptr);
  EXPECT_FALSE(save->isEnabled()) << "no score is open";
  EXPECT_FALSE(close->isEnabled());

  Frame().OnCommand(cmd::kFileNew);
  EXPECT_TRUE(save->isEnabled());
  EXPECT_TRUE(close->isEnabled());
  ASSERT_NE(toolbox, nullptr);
  EXPECT_TRUE(toolbox->isEnabled()) << "a toolbox opens with or without a score";

  // A command no handler carries out (OLE objects) beeps and changes nothing.
  const size_t beeps = ui_.Beeps().size();
  Frame().OnCommand(cmd::kOleInsertNew);
  EXPECT_EQ(ui_.Beeps().size(), beeps + 1);

  Frame().OnCommand(cmd::kFileClose);
  QApplication::processEvents();
  EXPECT_TRUE(Frame().ScoreWindows().empty());
  EXPECT_FALSE(save->isEnabled());
  EXPECT_EQ(Frame().GetActiveScoreView(), nullptr);
}

TEST_F(ShellTest, OpenedScoresJoinTheRecentFilesKeptForTheNextStart) {
  const std::string first = WriteScore("one.svd", 1);
  const std::string second = WriteScore("two.svd", 1);
  ASSERT_TRUE(Start());
  ASSERT_NE(App().OpenDocumentFile(first.c_str()), nullptr);
  ASSERT_NE(App().OpenDocumentFile(second.c_str()), nullptr);
  ASSERT_EQ(Frame().RecentFiles().Paths().size(), 2u);
  EXPECT_EQ(Frame().RecentFiles().Paths()[0].Str(), second);
  RecentFileList next;
  next.Load();
  ASSERT_EQ(next.Paths().size(), 2u);
  EXPECT_EQ(next.Paths()[1].Str(), first);

  QAction* recent = Frame().ActionFor(kFirstRecentFileId);
  ASSERT_NE(recent, nullptr);
  EXPECT_TRUE(recent->isVisible());
  EXPECT_TRUE(recent->text().contains(QStringLiteral("two.svd")));
  EXPECT_FALSE(Frame().ActionFor(kFirstRecentFileId + 2)->isVisible());
}

TEST_F(ShellTest, StatusBarShowsThePanesOfTheActiveScore) {
  ASSERT_TRUE(Start());
  const std::vector<QString> empty = Frame().StatusPaneTexts();
  ASSERT_EQ(empty.size(), 7u);
  for (size_t i = 0; i + 1 < empty.size(); ++i) EXPECT_TRUE(empty[i].isEmpty()) << "pane " << i;
  Frame().OnCommand(cmd::kFileNew);
  const std::vector<QString> shown = Frame().StatusPaneTexts();
  EXPECT_TRUE(shown[2].startsWith(QStringLiteral("P "))) << shown[2].toStdString();
  EXPECT_FALSE(shown[5].isEmpty());
}

TEST_F(ShellTest, ExitClosesTheHelpWindowsWithTheMainWindow) {
  ASSERT_TRUE(Start());
  Frame().show();
  Frame().OnCommand(cmd::kHelpIndex);
  QWidget* help = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget != &Frame()) help = widget;
  ASSERT_NE(help, nullptr) << "a help window opened";
  EXPECT_EQ(help->parentWidget(), &Frame()) << "it belongs to the main window";

  Frame().OnCommand(cmd::kAppExit);
  QApplication::processEvents();
  for (QWidget* widget : QApplication::topLevelWidgets())
    EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className() << " is still shown";
}

TEST_F(ShellTest, StatusBarShowsTheScoreLeftWhenOneClosesAndEmptiesAfterTheLast) {
  ASSERT_TRUE(Start());
  const std::string path = WriteScore("left.svd", 3);
  struct Way {
    const char* what;
    std::function<void()> close;
  };
  const Way ways[] = {
      {"File | Close", [this] { Frame().OnCommand(cmd::kFileClose); }},
      {"the window's own close button", [this] { Frame().ActiveChild()->close(); }},
  };
  const auto settle = [] {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    ASSERT_NE(App().OpenDocumentFile(path.c_str()), nullptr);
    const std::vector<QString> left = Frame().StatusPaneTexts();
    Frame().OnCommand(cmd::kFileNew);
    ASSERT_NE(Frame().StatusPaneTexts()[2], left[2]) << "the new score's caret stands elsewhere";
    // The keyboard focus is not in the score left (the close button was
    // clicked): it shows again all the same.
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    way.close();
    settle();
    ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
    EXPECT_EQ(Frame().StatusPaneTexts()[2], left[2]) << "the score left shows its own caret";
    way.close();
    settle();
    ASSERT_TRUE(Frame().ScoreWindows().empty());
    const std::vector<QString> panes = Frame().StatusPaneTexts();
    for (size_t i = 0; i + 1 < panes.size(); ++i)
      EXPECT_TRUE(panes[i].isEmpty()) << "pane " << i << ": " << panes[i].toStdString();
  }
}

TEST_F(ShellTest, MainWindowPictureShowsTheScore) {
  const std::string path = WriteScore("picture.svd", 6);
  ASSERT_TRUE(Start());
  ASSERT_NE(App().OpenDocumentFile(path.c_str()), nullptr);
  Frame().OnCommand(cmd::kFileNew);
  Frame().OnCommand(cmd::kWindowTile);
  QApplication::processEvents();
  const QImage picture = Frame().grab().toImage();
  ASSERT_FALSE(picture.isNull());
  const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/shell-main-window.png");
  EXPECT_TRUE(picture.save(file));
  // The score's white page shows in the window.
  KViewWidget* pane = PaneOf(Frame().ActiveChild());
  const QImage viewPicture = pane->viewport()->grab().toImage();
  EXPECT_EQ(viewPicture.pixelColor(viewPicture.width() - 5, viewPicture.height() - 5), QColor(Qt::white));
}

}  // namespace

namespace {

// Window/Cascade keeps the score windows large: each takes most of the area,
// one title bar below and to the right of the one behind it.
TEST_F(ShellTest, CascadeKeepsEveryScoreWindowLarge) {
  const std::string first = WriteScore("one.svd", 4);
  const std::string second = WriteScore("two.svd", 4);
  ASSERT_TRUE(Start());
  Frame().resize(1000, 800);
  Frame().show();
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(first, pane), nullptr);
  ASSERT_NE(OpenFocused(second, pane), nullptr);
  ASSERT_EQ(Frame().ScoreWindows().size(), 2u);
  Trigger(cmd::kWindowCascade);
  auto* area = Frame().findChild<QMdiArea*>();
  ASSERT_NE(area, nullptr);
  const QSize free = area->viewport()->size();
  std::vector<QRect> places;
  for (QMdiSubWindow* window : area->subWindowList()) {
    const QRect place = window->geometry();
    EXPECT_GE(place.width(), free.width() * 2 / 3) << place.width() << " of " << free.width();
    EXPECT_GE(place.height(), free.height() * 2 / 3) << place.height() << " of " << free.height();
    places.push_back(place);
  }
  ASSERT_EQ(places.size(), 2u);
  EXPECT_NE(places[0].topLeft(), places[1].topLeft());
}

}  // namespace
