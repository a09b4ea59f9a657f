// Help and menus from the real main window: every item of a menu has an
// access key of its own, the status bar shows a command's prompt without its
// tooltip, a dialog's help page opens in front of the dialog and stays usable
// while the dialog is open, and Help | Keyboard Shortcuts lists the keys that
// enter music in a window that fits the screen.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <map>
#include <string>

#include "ShellTestSupport.h"
#include "app/KToolBoxWindow.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "doc/CStavlinDoc.h"
#include "platform/StringTable.h"
#include "platform/qt/KQtUiPort.h"
#include "support/WaitFor.h"
#include "view/commands/CommandIds.h"

namespace {

// The access key of a menu text ("Fretb&oard" -> 'o'), or 0.
QChar AccessKey(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i;
      continue;
    }
    return text[i + 1].toLower();
  }
  return QChar();
}

// Every menu and submenu of the menu bar, with its path for messages.
void CollectMenus(QMenu* menu, const QString& path, std::vector<std::pair<QString, QMenu*>>& into) {
  into.emplace_back(path, menu);
  for (QAction* action : menu->actions())
    if (action->menu() != nullptr) CollectMenus(action->menu(), path + " | " + action->text(), into);
}

// Runs check on the modal window that opens next, then lets it go on.
void WhenAWindowOpens(std::function<void(QWidget&)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) {
      ADD_FAILURE() << "no window opened";
      return;
    }
    check(*window);
  });
}

class HelpAndMenus : public ShellTest {};

TEST_F(HelpAndMenus, NoTwoItemsOfAMenuShareAnAccessKey) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("menus.svd", 2), pane), nullptr);
  std::vector<std::pair<QString, QMenu*>> menus;
  for (QAction* top : Frame().menuBar()->actions())
    if (top->menu() != nullptr) CollectMenus(top->menu(), top->text(), menus);
  ASSERT_GE(menus.size(), 9u);
  for (const auto& [path, menu] : menus) {
    std::map<QChar, QString> taken;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator() || !action->isVisible()) continue;
      const QChar key = AccessKey(action->text());
      if (key.isNull()) continue;
      const auto [at, fresh] = taken.emplace(key, action->text());
      EXPECT_TRUE(fresh) << path.toStdString() << ": \"" << action->text().toStdString() << "\" and \""
                         << at->second.toStdString() << "\" share the key " << QString(key).toStdString();
    }
  }
}

TEST_F(HelpAndMenus, AltTThenOOpensTheFretboard) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("fretboard.svd", 2), pane), nullptr);
  // The fretboard may open with the program: closed first, as its item does.
  if (Frame().ToolBox(toolbox::kFretboard) != nullptr) Trigger(41202);
  ASSERT_EQ(Frame().ToolBox(toolbox::kFretboard), nullptr);
  QMenu* toolboxes = nullptr;
  for (QAction* top : Frame().menuBar()->actions())
    if (top->text() == "&Toolboxes") toolboxes = top->menu();
  ASSERT_NE(toolboxes, nullptr);
  // The menu opens as Alt+T opens it; O is then the fretboard's key alone.
  Frame().menuBar()->setActiveAction(toolboxes->menuAction());
  QApplication::processEvents();
  ASSERT_TRUE(toolboxes->isVisible());
  QTest::keyClick(toolboxes, Qt::Key_O);
  QApplication::processEvents();
  EXPECT_FALSE(toolboxes->isVisible());
  KToolBoxWindow* board = Frame().ToolBox(toolbox::kFretboard);
  ASSERT_NE(board, nullptr);
  // Its prompt while the pointer is off the strings is spelt right.
  EXPECT_EQ(std::string(LoadString(8130).View()),
            "Float mouse over image to see corresponding notes, click to enter the note");
}

// Alt+F and F10 take the keyboard from the score to the menu bar; Escape
// gives it back, and the score has taken no letter.
TEST_F(HelpAndMenus, AltFAndF10OpenTheFileMenuFromTheScore) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  CChildFrame* child = OpenFocused(WriteScore("menus.svd", 2), pane);
  ASSERT_NE(child, nullptr);
  const struct {
    const char* key;
    Qt::Key code;
    Qt::KeyboardModifiers held;
  } cases[] = {{"Alt+F", Qt::Key_F, Qt::AltModifier}, {"F10", Qt::Key_F10, Qt::NoModifier}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_TRUE(stavlin_test::WaitFor([&] { return pane->hasFocus(); }));
    const bool modified = child->Document().IsModified();
    QTest::keyClick(pane, c.code, c.held);
    stavlin_test::WaitFor([&] { return Frame().menuBar()->activeAction() != nullptr; });
    QAction* active = Frame().menuBar()->activeAction();
    ASSERT_NE(active, nullptr) << "no menu opened";
    EXPECT_EQ(active->text(), QStringLiteral("&File"));
    ASSERT_NE(active->menu(), nullptr);
    EXPECT_TRUE(stavlin_test::WaitFor([&] { return active->menu()->isVisible(); }));
    active->menu()->close();
    Frame().menuBar()->setActiveAction(nullptr);
    QApplication::processEvents();
    EXPECT_EQ(child->Document().IsModified(), modified) << "the key went into the score";
    Frame().activateWindow();
    pane->setFocus();
  }
}

TEST_F(HelpAndMenus, TheStatusBarShowsAPromptWithoutItsTooltip) {
  ASSERT_TRUE(Start());
  QAction* fileNew = Frame().ActionFor(40960);  // File | New Stavlin File, Ctrl+N
  ASSERT_NE(fileNew, nullptr);
  EXPECT_EQ(fileNew->statusTip(), "Create a new score");
  EXPECT_EQ(fileNew->toolTip(), "New score (Ctrl+N)");
  // Pointing at a menu item or a button puts its prompt in the status bar.
  fileNew->showStatusText(&Frame());
  QApplication::processEvents();
  EXPECT_EQ(Frame().statusBar()->currentMessage(), "Create a new score");
  for (UINT id : {cmd::kFileNew, cmd::kInsertLineGroup, cmd::kHelpShortcuts}) {
    EXPECT_FALSE(Frame().ActionFor(id)->statusTip().contains(u'\n')) << id;
  }
}

TEST_F(HelpAndMenus, ADialogsHelpPageOpensInFrontOfTheDialogAndStaysAfterIt) {
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(WriteScore("grouping.svd", 3), pane), nullptr);
  KQtUiPort qtUi;
  ScopedUiPort real(qtUi);
  QString title;
  bool inFront = false;
  QString shown;
  WhenAWindowOpens([&](QWidget& dialog) {
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // The dialog's Help button (F1 runs the same press).
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("&Help")) QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    auto* help = dialog.findChild<QTextBrowser*>();
    if (help != nullptr) {
      title = help->windowTitle();
      shown = help->toPlainText();
      // A window of the dialog's own stands over it, and the dialog's
      // modality leaves it free for the user.
      inFront = help->isVisible() && help->isWindow() && help->parentWidget() == &dialog;
    }
    static_cast<QDialog&>(dialog).reject();
  });
  Frame().ActionFor(cmd::kInsertLineGroup)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(inFront) << "the help page belongs to the dialog while it is open";
  EXPECT_EQ(title, "Line Grouping");
  for (const char* control : {"set", "curly brace", "long bar"})
    EXPECT_TRUE(shown.contains(QString::fromLatin1(control), Qt::CaseInsensitive)) << control;
  // With the dialog gone the page stays open, over the main window.
  QTextBrowser* help = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* browser = qobject_cast<QTextBrowser*>(window); browser != nullptr && browser->isVisible())
      help = browser;
  ASSERT_NE(help, nullptr) << "the help page stays open";
  EXPECT_EQ(help->parentWidget(), &Frame());
  help->close();
}

TEST_F(HelpAndMenus, TheKeyboardShortcutsWindowFitsTheScreenAndListsTheKeysThatEnterMusic) {
  ASSERT_TRUE(Start());
  KQtUiPort qtUi;
  ScopedUiPort real(qtUi);
  int height = 0;
  int room = 0;
  bool scrolls = false;
  QString caption;
  QString text;
  WhenAWindowOpens([&](QWidget& window) {
    QApplication::processEvents();
    height = window.frameGeometry().height();
    room = window.screen()->availableGeometry().height();
    caption = window.windowTitle();
    if (auto* scroll = window.findChild<QScrollArea*>()) {
      scrolls = true;
      if (auto* label = qobject_cast<QLabel*>(scroll->widget())) text = label->text();
    }
    static_cast<QDialog&>(window).accept();
  });
  Frame().ActionFor(cmd::kHelpShortcuts)->trigger();
  EXPECT_TRUE(scrolls);
  EXPECT_GT(height, 0);
  EXPECT_LE(height, room);
  EXPECT_EQ(caption, "Keyboard Shortcuts");
  for (const char* heading : {"NOTE VALUES", "DOTS", "RESTS", "TIES", "TRIPLETS", "BARS AND REPEATS",
                              "ACCIDENTALS", "FRETS", "CHORDS", "LYRICS", "RHYTHM LINES", "MENU COMMANDS"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(heading))) << heading;
  // A key of each kind, with the name of what it enters.
  for (const char* line :
       {"q (quarter)", "Quarter note with tail up", "Dot (dotted note)", "8th rest", "Tie below, one column",
        "Ctrl+Shift+P", "End repeat", "Flat", "Fret 0 to 9", "Hammer-on", "Shift+Tab", "Ctrl+D"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(line))) << line;
  EXPECT_FALSE(text.contains("ct+"));
  EXPECT_FALSE(text.contains("eigh_t_h"));
  EXPECT_TRUE(text.contains("_ (underscore)"));
}

}  // namespace
