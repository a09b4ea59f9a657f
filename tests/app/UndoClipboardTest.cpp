// Undo, Redo and the clipboard commands in the real window: Ctrl+C, Ctrl+X,
// Ctrl+V, Ctrl+Z and Ctrl+Shift+Z reach the view through the frame's
// actions, the Edit menu enables by the view's state, and lines copied in
// one score paste into another.

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStrLine.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr int kSelectWholeLines = 10;

std::vector<BYTE> Stored(CStavlinDoc& doc) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return file.Data();
}

std::vector<std::string> Texts(const CStavlinDoc& doc) {
  std::vector<std::string> texts;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const auto* line = dynamic_cast<const KStrLine*>(doc.GetNextLine(pos));
    texts.push_back(line != nullptr ? line->GetText().Str() : std::string("?"));
  }
  return texts;
}

class EditInTheWindow : public ShellTest {
 protected:
  CChildFrame* Open(const std::string& name, int lines) {
    CChildFrame* child = App().OpenDocumentFile(WriteScore(name, lines).c_str());
    EXPECT_NE(child, nullptr);
    return child;
  }

  // Shows the frame and gives the child's view the focus.
  KViewWidget* Focus(CChildFrame* child) {
    Frame().MdiArea()->setActiveSubWindow(child);
    Frame().show();
    Frame().activateWindow();
    KViewWidget* pane = child->ActivePane();
    pane->setFocus();
    QApplication::processEvents();
    return pane;
  }

  // A whole display line selected, as a click on its label does it.
  void SelectLine(CStavlinView& view, int line) {
    view.UpdateSelection(0, 1, line, line, kSelectWholeLines);
    Frame().UpdateCommandUi();
  }

  void Key(KViewWidget* pane, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::sendKeyEvent(QTest::Click, pane, key, QString(), modifiers);
    QApplication::processEvents();
  }

  bool ActionEnabled(UINT id) {
    Frame().UpdateCommandUi();
    QAction* action = Frame().ActionFor(id);
    return action != nullptr && action->isEnabled();
  }
};

TEST_F(EditInTheWindow, CutUndoRedoAndPasteByTheirShortcuts) {
  ASSERT_TRUE(Start());
  CChildFrame* child = Open("three.svd", 3);
  ASSERT_NE(child, nullptr);
  KViewWidget* pane = Focus(child);
  CStavlinView& view = pane->View();
  CStavlinDoc& doc = child->Document();
  const std::vector<BYTE> original = Stored(doc);
  const std::vector<std::string> texts = Texts(doc);
  ASSERT_EQ(texts.size(), 3u);

  EXPECT_FALSE(ActionEnabled(cmd::kEditUndo));
  EXPECT_FALSE(ActionEnabled(cmd::kEditRedo));
  EXPECT_FALSE(ActionEnabled(cmd::kEditCut)) << "nothing is selected";

  SelectLine(view, 1);
  EXPECT_TRUE(ActionEnabled(cmd::kEditCut));
  Key(pane, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{texts[0], texts[2]}));
  EXPECT_TRUE(ActionEnabled(cmd::kEditUndo));
  EXPECT_TRUE(ActionEnabled(cmd::kEditPaste)) << "the cut line is on the clipboard";
  const std::vector<BYTE> cut = Stored(doc);

  Key(pane, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Stored(doc), original);
  EXPECT_FALSE(ActionEnabled(cmd::kEditUndo));
  EXPECT_TRUE(ActionEnabled(cmd::kEditRedo));

  Key(pane, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Stored(doc), cut);
  EXPECT_FALSE(ActionEnabled(cmd::kEditRedo));

  // The cut line goes back in below the first line.
  view.UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  view.m_currentLine = 0;
  view.m_caretColumn = 0;
  Key(pane, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Texts(doc), texts);
  Key(pane, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Stored(doc), cut);
}

TEST_F(EditInTheWindow, LinesCopiedInOneScorePasteIntoAnother) {
  ASSERT_TRUE(Start());
  CChildFrame* source = Open("source.svd", 3);
  CChildFrame* target = Open("target.svd", 1);
  ASSERT_NE(source, nullptr);
  ASSERT_NE(target, nullptr);

  KViewWidget* sourcePane = Focus(source);
  SelectLine(sourcePane->View(), 2);
  ASSERT_TRUE(ActionEnabled(cmd::kEditCopy));
  Frame().ActionFor(cmd::kEditCopy)->trigger();
  QApplication::processEvents();
  const std::string copied = Texts(source->Document())[2];
  EXPECT_EQ(Texts(source->Document()).size(), 3u) << "copying leaves the score as it was";

  KViewWidget* targetPane = Focus(target);
  ASSERT_EQ(Frame().GetActiveScoreView(), &targetPane->View());
  const std::vector<BYTE> before = Stored(target->Document());
  ASSERT_TRUE(ActionEnabled(cmd::kEditPaste));
  Frame().ActionFor(cmd::kEditPaste)->trigger();
  QApplication::processEvents();
  const std::vector<std::string> pasted = Texts(target->Document());
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[1], copied);

  Frame().ActionFor(cmd::kEditUndo)->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Stored(target->Document()), before);
}

}  // namespace
