// The main frame's menus, toolbars and accelerators, all built from the
// command table, and their enabling, check marks and texts, applied when a
// menu opens and after every command.

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtText.h"
#include "view/commands/CommandIds.h"
#include "view/commands/MidiFileImport.h"

namespace {

bool InRange(UINT id, UINT first, UINT last) { return id >= first && id <= last; }

// The table's accelerator text as Qt reads it ("Ctrl+Alt+Return" ...).
QKeySequence KeyOf(const char* text) {
  if (text == nullptr || *text == '\0') return QKeySequence();
  return QKeySequence::fromString(QString::fromLatin1(text), QKeySequence::PortableText);
}

// The program's private clipboard format (registering again gives the same id).
UINT ScoreClipboardFormat() {
  static const UINT format = RegisterClipboardFormat("Stavlin");
  return format;
}

}  // namespace

QAction* CMainFrame::MakeAction(UINT id) {
  if (auto it = m_actions.find(id); it != m_actions.end()) return it->second;
  const KCommandInfo* info = FindCommand(id);
  auto* action = new QAction(this);
  action->setData(static_cast<uint>(id));
  if (info != nullptr) {
    action->setText(ToQString(info->text));
    // A prompt is the status-bar line, then after a line break the button's
    // tooltip; the status bar shows only the line, the button only its tip.
    const QString prompt = ToQString(info->prompt);
    const QString line = prompt.section(QLatin1Char('\n'), 0, 0);
    const QString tip = prompt.section(QLatin1Char('\n'), 1);
    action->setStatusTip(line);
    action->setToolTip(tip.isEmpty() ? line : tip);
    QList<QKeySequence> keys;
    if (QKeySequence key = KeyOf(info->accelerator); !key.isEmpty()) keys.append(key);
    if (QKeySequence key = KeyOf(info->alternateAccelerator); !key.isEmpty()) keys.append(key);
    action->setShortcuts(keys);
    if (*info->icon != '\0') action->setIcon(QIcon::fromTheme(QString::fromLatin1(info->icon)));
  }
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  addAction(action);  // its keys work while the menu bar is closed too
  m_actions.emplace(id, action);
  return action;
}

QAction* CMainFrame::ActionFor(UINT id) const {
  const auto it = m_actions.find(id);
  return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::BuildMenu(QMenu* menu, const std::vector<KMenuNode>& nodes) {
  for (const KMenuNode& node : nodes) {
    if (node.IsSeparator()) {
      menu->addSeparator();
    } else if (node.IsSubmenu()) {
      QMenu* sub = menu->addMenu(ToQString(node.text.Str()));
      m_menus.push_back(sub);
      connect(sub, &QMenu::aboutToShow, this, [this, sub] { UpdateMenu(sub); });
      BuildMenu(sub, node.children);
      // The MIDI device menus list no devices yet: nothing to open.
      if (node.children.empty()) sub->menuAction()->setEnabled(false);
    } else {
      QAction* action = MakeAction(node.id);
      if (!node.text.IsEmpty()) {
        // A second name for the same command: its own item.
        auto* item = new QAction(ToQString(node.text.Str()), menu);
        item->setData(static_cast<uint>(node.id));
        item->setStatusTip(action->statusTip());
        const UINT id = node.id;
        connect(item, &QAction::triggered, this, [this, id] { OnCommand(id); });
        menu->addAction(item);
      } else {
        menu->addAction(action);
      }
    }
  }
}

void CMainFrame::BuildMenus() {
  for (const KMenuNode& top : MainMenu()) {
    QMenu* menu = menuBar()->addMenu(ToQString(MenuNodeText(top).Str()));
    m_menus.push_back(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    BuildMenu(menu, top.children);
    if (MenuNodeText(top).Find("Window") >= 0) m_windowMenu = menu;
  }
  // Commands with keys but no menu item still answer their keys.
  for (const KAccelerator& key : Accelerators()) MakeAction(key.id);
  if (m_windowMenu != nullptr) {
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] { UpdateWindowMenu(); });
  }
  // F10 takes the keyboard to the menu bar, opening its first menu, as the
  // desktops musicians bring their habits from do; the score does not use
  // the key.
  auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menuKey, &QShortcut::activated, this, [this] {
    if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
  });
}

void CMainFrame::BuildToolbars() {
  m_mainToolBar = addToolBar(QStringLiteral("Main"));
  m_mainToolBar->setObjectName(QStringLiteral("MainToolbar"));
  m_extraToolBar = addToolBar(QStringLiteral("Extra Tools"));
  m_extraToolBar->setObjectName(QStringLiteral("ExtraToolsToolbar"));
  for (auto [bar, which] : {std::pair{m_mainToolBar, 1}, std::pair{m_extraToolBar, 2}}) {
    bar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    for (UINT id : ToolbarLayout(which)) {
      if (id == 0) {
        bar->addSeparator();
        continue;
      }
      QAction* action = MakeAction(id);
      // Without a theme icon the button shows a short text.
      if (action->icon().isNull()) {
        auto* button =
            new QAction(action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0), bar);
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
        // The button starts as its command stands and follows every change.
        button->setEnabled(action->isEnabled());
        connect(button, &QAction::triggered, this, [this, id] { OnCommand(id); });
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
        bar->addAction(button);
      } else {
        bar->addAction(action);
      }
    }
  }
}

KAppCommandState CMainFrame::AppState() const {
  KAppCommandState app;
  app.clipboardHasScore = IsClipboardFormatAvailable(ScoreClipboardFormat()) != FALSE;
  app.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  app.mainToolbarShown = m_mainToolBar != nullptr && !m_mainToolBar->isHidden();
  app.extraToolbarShown = m_extraToolBar != nullptr && !m_extraToolBar->isHidden();
  app.statusBarShown = !statusBar()->isHidden();
  for (int kind = 0; kind < 20; ++kind) app.toolBoxShown[kind] = IsToolBoxShown(kind);
  app.midiImportMethod = g_midiImportMethod;
  return app;
}

void CMainFrame::ApplyCommandUi(QAction* action, UINT id, const KAppCommandState& app) {
  // The recent-file entries follow the list, not the rules.
  if (InRange(id, kFirstRecentFileId, kFirstRecentFileId + kRecentFileCount - 1)) return;
  if (ActiveTextWindow() != nullptr && m_textCommandHandles && m_textCommandHandles(id)) {
    action->setEnabled(true);
    return;
  }
  const KCommandUi ui = QueryCommand(id, m_activeView, app);
  action->setEnabled(ui.enabled && IsAvailable(id));
  if (ui.check >= 0) {
    action->setCheckable(true);
    action->setChecked(ui.check == 1);
  }
  if (ui.text) action->setText(ToQString(ui.text->Str()));
}

void CMainFrame::UpdateMenu(QMenu* menu) {
  const KAppCommandState app = AppState();
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu() != nullptr) continue;
    const UINT id = action->data().toUInt();
    if (id != 0) ApplyCommandUi(action, id, app);
  }
}

void CMainFrame::UpdateCommandUi() {
  // The clipboard and the bars are asked once for the whole refresh.
  const KAppCommandState app = AppState();
  for (const auto& [id, action] : m_actions) ApplyCommandUi(action, id, app);
  for (QMenu* menu : m_menus) {
    for (QAction* action : menu->actions()) {
      // Second names of commands follow their command.
      const UINT id = action->data().toUInt();
      if (id == 0 || action->menu() != nullptr) continue;
      if (QAction* main = ActionFor(id); main != nullptr && main != action)
        action->setEnabled(main->isEnabled());
    }
  }
}

void CMainFrame::SetMenuItemText(UINT commandId, const CString& text) {
  if (QAction* action = ActionFor(commandId)) action->setText(ToQString(text.Str()));
}

void CMainFrame::UpdateRecentFileMenu() {
  const std::vector<CString>& paths = m_recent.Paths();
  for (int i = 0; i < kRecentFileCount; ++i) {
    QAction* action = ActionFor(kFirstRecentFileId + static_cast<UINT>(i));
    if (action == nullptr) continue;
    if (i < static_cast<int>(paths.size())) {
      const QString path = ToQString(paths[static_cast<size_t>(i)].Str());
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
      action->setStatusTip(path);
      action->setVisible(true);
      action->setEnabled(true);
    } else {
      action->setVisible(false);
    }
  }
}

void CMainFrame::UpdateWindowMenu() {
  for (QAction* action : m_windowListActions) {
    m_windowMenu->removeAction(action);
    delete action;
  }
  m_windowListActions.clear();
  const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
  if (windows.isEmpty()) return;
  m_windowListActions.push_back(m_windowMenu->addSeparator());
  int number = 1;
  for (QMdiSubWindow* window : windows) {
    auto* action = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
    action->setCheckable(true);
    action->setChecked(window == m_mdiArea->currentSubWindow());
    connect(action, &QAction::triggered, this, [this, window] { m_mdiArea->setActiveSubWindow(window); });
    m_windowListActions.push_back(action);
  }
}
