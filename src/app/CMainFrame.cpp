#include "app/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <vector>

#include "app/AdTabLegend.h"
#include "app/CChildFrame.h"
#include "app/KInputMidiWindow.h"
#include "app/KPlayMidiWindow.h"
#include "app/KTextFrame.h"
#include "app/KToolBoxWindow.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "midi/CMaxMidiOut.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this)) {
  setWindowTitle(QStringLiteral("Stavlin"));
  // Sub-windows, so that two scores show side by side.
  m_mdiArea->setViewMode(QMdiArea::SubWindowView);
  m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdiArea);
  resize(640, 480);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* w) { OnSubWindowActivated(w); });

  AddFrameCommands();
  AddToolBoxCommands();
  SetUpMidiOutput();
  BuildMenus();
  AddMidiCommands();
  BuildToolbars();
  BuildStatusBar();
  m_recent.Load();
  UpdateRecentFileMenu();
  UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
  m_clock.stop();
  // The play window lets go of its score before the scores go.
  m_playWindow.reset();
  m_closingPlayWindow.reset();
  m_inputWindow.reset();
  m_closingInputWindow.reset();
  // The toolboxes go with the frame; their saved positions stay open.
  m_closingDown = true;
  for (QPointer<KToolBoxWindow>& box : m_toolBoxes) delete box.data();
  // The score windows (and their views, which tell this frame) go first.
  m_activeView = nullptr;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
    m_mdiArea->removeSubWindow(window);
    delete window;
  }
  m_activeView = nullptr;
  TearDownMidiOutput();
}

// ---- Score windows --------------------------------------------------------------------

CChildFrame* CMainFrame::AddScoreWindow(std::unique_ptr<CStavlinDoc> document) {
  auto* child = new CChildFrame(std::move(document), this);
  // However the window closes, the menus and the status bar follow once it
  // is gone (the last score's line, column and mode leave the bar).
  connect(child, &QObject::destroyed, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { AfterViewInput(); }, Qt::QueuedConnection);
  });
  m_mdiArea->addSubWindow(child);
  child->resize(CChildFrame::kDefaultWidth, CChildFrame::kDefaultHeight);
  child->show();
  child->InitialUpdate();
  m_mdiArea->setActiveSubWindow(child);
  if (KViewWidget* pane = child->ActivePane()) {
    pane->setFocus();
    SetActiveScoreView(&pane->View());
  }
  UpdateCommandUi();
  UpdateStatusBar();
  return child;
}

KTextFrame* CMainFrame::AddTextWindow(std::unique_ptr<KTextDoc> document) {
  // The prompt is asked for when a save needs it: the application may set
  // another one meanwhile.
  auto* window = new KTextFrame(std::move(document), [this](const CString& suggested) {
    return m_textSavePrompt ? m_textSavePrompt(suggested) : CString();
  });
  m_mdiArea->addSubWindow(window);
  window->show();
  m_mdiArea->setActiveSubWindow(window);
  window->Editor()->setFocus();
  m_activeView = nullptr;
  UpdateCommandUi();
  UpdateStatusBar();
  return window;
}

KTextFrame* CMainFrame::ActiveTextWindow() const {
  auto* window = dynamic_cast<KTextFrame*>(m_mdiArea->currentSubWindow());
  return window != nullptr && !window->IsClosing() ? window : nullptr;
}

std::vector<KTextFrame*> CMainFrame::TextWindows() const {
  std::vector<KTextFrame*> windows;
  for (QMdiSubWindow* w : m_mdiArea->subWindowList()) {
    if (auto* text = dynamic_cast<KTextFrame*>(w); text != nullptr && !text->IsClosing())
      windows.push_back(text);
  }
  return windows;
}

bool CMainFrame::OpenTextDocument(const CString& title, const CString& text) {
  auto document = std::make_unique<KTextDoc>();
  document->SetTitle(title.ToUtf8());
  document->SetTextFromScore(text);
  AddTextWindow(std::move(document));
  return true;
}

CChildFrame* CMainFrame::ActiveChild() const {
  auto* child = dynamic_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
  return child != nullptr && !child->IsClosing() ? child : nullptr;
}

std::vector<CChildFrame*> CMainFrame::ScoreWindows() const {
  std::vector<CChildFrame*> windows;
  for (QMdiSubWindow* w : m_mdiArea->subWindowList()) {
    if (auto* child = dynamic_cast<CChildFrame*>(w); child != nullptr && !child->IsClosing())
      windows.push_back(child);
  }
  return windows;
}

// ---- The active score view --------------------------------------------------------------

CStavlinView* CMainFrame::GetActiveScoreView(bool refresh) {
  if (!refresh) return m_activeView;
  if (ActiveTextWindow() != nullptr) {
    // The score commands do not reach a score behind a text window.
    m_activeView = nullptr;
    return nullptr;
  }
  CChildFrame* child = ActiveChild();
  if (child == nullptr) {
    // No active window (it is closing, or the frame is not active): take the
    // first score window left.
    const std::vector<CChildFrame*> windows = ScoreWindows();
    child = windows.empty() ? nullptr : windows.front();
  }
  KViewWidget* pane = child != nullptr ? child->ActivePane() : nullptr;
  CStavlinView* view = pane != nullptr ? &pane->View() : nullptr;
  // Another score became the active one (the one before closed): the status
  // bar and the rules read its state from now on.
  if (view != m_activeView && view != nullptr) view->PublishMirrors();
  const bool changed = view != m_activeView;
  m_activeView = view;
  if (changed) ReattachPlayWindow();
  return m_activeView;
}

void CMainFrame::SetActiveScoreView(CStavlinView* view) {
  if (view == m_activeView && view != nullptr) return;
  if (view == nullptr) {
    GetActiveScoreView(true);
    return;
  }
  view->PublishMirrors();
  m_activeView = view;
  ReattachPlayWindow();
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
  auto* child = dynamic_cast<CChildFrame*>(window);
  if (child != nullptr && !child->IsClosing()) {
    if (KViewWidget* pane = child->ActivePane()) {
      BuildMidiDeviceMenus();
      SetActiveScoreView(&pane->View());
      pane->View().OnActivateView(TRUE);
    }
  } else {
    GetActiveScoreView(true);
  }
  UpdateCommandUi();
  UpdateStatusBar();
  SyncToolBoxes();
}

// ---- Commands ----------------------------------------------------------------------------

void CMainFrame::AddCommands(std::vector<KFrameCommand> commands) {
  for (KFrameCommand& command : commands) m_commands.push_back(std::move(command));
  UpdateCommandUi();
}

const CMainFrame::KFrameCommand* CMainFrame::FindFrameCommand(UINT id) const {
  for (const KFrameCommand& command : m_commands)
    if (id >= command.first && id <= command.last) return &command;
  return nullptr;
}

bool CMainFrame::IsAvailable(UINT id) const {
  return FindViewCommandHandler(id) != nullptr || FindFrameCommand(id) != nullptr;
}

bool CMainFrame::RunCommand(UINT id) {
  // A text window carries out a few commands itself.
  if (KTextFrame* text = ActiveTextWindow();
      text != nullptr && m_textCommandHandles && m_textCommandHandles(id)) {
    m_textCommandRun(*text, id);
    return true;
  }
  if (FindViewCommandHandler(id) != nullptr) {
    // The score's own handler, or (the bars) the frame's without a score.
    CStavlinView* view = GetActiveScoreView(true);
    if (view != nullptr) return ExecuteViewCommand(*view, id);
    if (FindFrameCommand(id) == nullptr) return false;
  }
  const KFrameCommand* command = FindFrameCommand(id);
  if (command == nullptr) return false;
  command->run(id);
  return true;
}

void CMainFrame::OnCommand(UINT id) {
  if (!RunCommand(id)) MessageBeep(MB_ICONASTERISK);
  GetActiveScoreView(true);
  UpdateCommandUi();
  UpdateStatusBar();
  SyncToolBoxes();
}

void CMainFrame::AfterViewInput() {
  GetActiveScoreView(true);
  UpdateCommandUi();
  UpdateStatusBar();
  SyncToolBoxes();
}

void CMainFrame::AddFrameCommands() {
  using namespace cmd;
  AddCommands({
      {kWindowCascade, kWindowCascade, [this](UINT) { CascadeScoreWindows(); }},
      {kWindowTile, kWindowTile, [this](UINT) { m_mdiArea->tileSubWindows(); }},
      // Minimised windows sit along the bottom already: nothing to arrange.
      {kWindowArrange, kWindowArrange, [](UINT) {}},
      {kWindowSplit, kWindowSplit,
       [this](UINT) {
         CChildFrame* child = ActiveChild();
         if (child == nullptr) {
           MessageBeep(MB_ICONASTERISK);
           return;
         }
         if (!child->Split()) child->Unsplit();
       }},
      {kViewMainToolbar, kViewMainToolbar,
       [this](UINT) { ShowMainToolbar(m_mainToolBar->isHidden() ? 1 : 0); }},
      {kViewExtraToolbar, kViewExtraToolbar,
       [this](UINT) { ShowExtraToolsToolbar(m_extraToolBar->isHidden() ? 1 : 0); }},
      {kViewStatusBar, kViewStatusBar, [this](UINT) { ShowStatusBar(statusBar()->isHidden() ? 1 : 0); }},
      {kFilePreferences, kFilePreferences, [this](UINT) { OnFileSetPreferences(); }},
      {kViewAdTabGuide, kViewAdTabGuide, [this](UINT) { ShowTabLegend(); }},
      {kViewClock, kViewClock,
       [](UINT) {
         g_prefToolViewOptions.clock = g_prefToolViewOptions.clock != 0 ? 0 : 1;
         WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kToolViewOptions);
       }},
  });
}

void CMainFrame::CascadeScoreWindows() {
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::StackingOrder)) {
    if (window->isVisible() && !window->isMinimized()) windows.push_back(window);
  }
  if (windows.empty()) return;
  const QSize area = m_mdiArea->viewport()->size();
  const int step = std::max(16, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4);
  const int count = static_cast<int>(windows.size());
  // Each window keeps at least two thirds of the area however many there are;
  // the steps start again at the top left when they would leave less.
  const int fits = std::max(1, std::min(count, std::min(area.width(), area.height()) / 3 / step + 1));
  const int width = std::max(area.width() - (fits - 1) * step, 200);
  const int height = std::max(area.height() - (fits - 1) * step, 150);
  for (int i = 0; i < count; ++i) {
    QMdiSubWindow* window = windows[static_cast<size_t>(i)];
    if (window->isMaximized()) window->showNormal();
    const int offset = (i % fits) * step;
    window->setGeometry(offset, offset, width, height);
    window->raise();
  }
  m_mdiArea->setActiveSubWindow(windows.back());
}

void CMainFrame::ShowTabLegend() {
  if (m_tabLegend != nullptr) return;
  auto* legend = new KDlgAdTabLegend(this, [this] { CloseTabLegend(); });
  m_tabLegend = legend;
  legend->show();
}

void CMainFrame::CloseTabLegend() {
  if (m_tabLegend == nullptr) return;
  m_tabLegend->hide();
  m_tabLegend->deleteLater();
  m_tabLegend = nullptr;
}

// ---- Bars ----------------------------------------------------------------------------------

void CMainFrame::ShowMainToolbar(int show) {
  if (m_mainToolBar != nullptr && m_mainToolBar->isHidden() == (show != 0))
    m_mainToolBar->setVisible(show != 0);
}

void CMainFrame::ShowExtraToolsToolbar(int show) {
  if (m_extraToolBar != nullptr && m_extraToolBar->isHidden() == (show != 0))
    m_extraToolBar->setVisible(show != 0);
}

void CMainFrame::ShowStatusBar(int show) {
  if (statusBar()->isHidden() == (show != 0)) statusBar()->setVisible(show != 0);
}

RECT CMainFrame::GetFrameRect() const {
  const QRect g = frameGeometry();
  return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

SIZE CMainFrame::GetScreenSize() const {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return SIZE{640, 480};
  const QSize size = screen->size();
  return SIZE{size.width(), size.height()};
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Closing the main window is File/Exit: every score and text is asked first.
  if ((!ScoreWindows().empty() || !TextWindows().empty()) && FindFrameCommand(cmd::kAppExit) != nullptr) {
    RunCommand(cmd::kAppExit);
    if (!ScoreWindows().empty() || !TextWindows().empty()) {
      event->ignore();
      return;
    }
  }
  m_closingDown = true;
  // The windows that belong to the main window (help, the toolboxes) close
  // with it; the toolboxes open now are remembered as open.
  for (QWidget* owned : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (owned->isWindow() && owned->isVisible()) owned->close();
  }
  event->accept();
}
