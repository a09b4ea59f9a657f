#include "app/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "app/CChildFrame.h"
#include "doc/CStavlinDoc.h"
#include "doc/PreferenceWriters.h"
#include "doc/Preferences.h"
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

  BuildMenus();
  BuildToolbars();
  BuildStatusBar();
  m_recent.Load();
  UpdateRecentFileMenu();
  UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
  m_clock.stop();
  // The score windows (and their views, which tell this frame) go first.
  m_activeView = nullptr;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
    m_mdiArea->removeSubWindow(window);
    delete window;
  }
  m_activeView = nullptr;
}

// ---- Score windows --------------------------------------------------------------------

CChildFrame* CMainFrame::AddScoreWindow(std::unique_ptr<CStavlinDoc> document) {
  auto* child = new CChildFrame(std::move(document), this);
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
  CChildFrame* child = ActiveChild();
  if (child == nullptr) {
    // No active window (it is closing, or the frame is not active): take the
    // first score window left.
    const std::vector<CChildFrame*> windows = ScoreWindows();
    child = windows.empty() ? nullptr : windows.front();
  }
  KViewWidget* pane = child != nullptr ? child->ActivePane() : nullptr;
  m_activeView = pane != nullptr ? &pane->View() : nullptr;
  return m_activeView;
}

void CMainFrame::SetActiveScoreView(CStavlinView* view) {
  if (view == m_activeView && view != nullptr) return;
  if (view == nullptr) {
    GetActiveScoreView(true);
    return;
  }
  m_activeView = view;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
  auto* child = dynamic_cast<CChildFrame*>(window);
  if (child != nullptr && !child->IsClosing()) {
    if (KViewWidget* pane = child->ActivePane()) {
      SetActiveScoreView(&pane->View());
      pane->View().OnActivateView(TRUE);
    }
  } else if (window == nullptr) {
    GetActiveScoreView(true);
  }
  UpdateCommandUi();
  UpdateStatusBar();
}

// ---- Commands ----------------------------------------------------------------------------

void CMainFrame::OnCommand(UINT id) {
  bool done = false;
  if (IsAvailable(id)) {
    CStavlinView* view = GetActiveScoreView(true);
    if (view != nullptr) done = ExecuteViewCommand(*view, id);
    if (!done) done = OnFrameCommand(id);
    if (!done && m_appCommands) done = m_appCommands(id);
  }
  if (!done) MessageBeep(MB_ICONASTERISK);
  GetActiveScoreView(true);
  UpdateCommandUi();
  UpdateStatusBar();
}

void CMainFrame::AfterViewInput() {
  GetActiveScoreView(true);
  UpdateCommandUi();
  UpdateStatusBar();
}

bool CMainFrame::OnFrameCommand(UINT id) {
  switch (id) {
    case cmd::kWindowCascade:
      m_mdiArea->cascadeSubWindows();
      return true;
    case cmd::kWindowTile:
      m_mdiArea->tileSubWindows();
      return true;
    case cmd::kWindowArrange:
      // Minimised windows sit along the bottom already: nothing to arrange.
      return true;
    case cmd::kWindowSplit: {
      CChildFrame* child = ActiveChild();
      if (child == nullptr) return false;
      if (!child->Split()) child->Unsplit();
      return true;
    }
    case cmd::kViewMainToolbar:
      ShowMainToolbar(m_mainToolBar->isHidden() ? 1 : 0);
      return true;
    case cmd::kViewExtraToolbar:
      ShowExtraToolsToolbar(m_extraToolBar->isHidden() ? 1 : 0);
      return true;
    case cmd::kViewStatusBar:
      ShowStatusBar(statusBar()->isHidden() ? 1 : 0);
      return true;
    case cmd::kViewClock:
      g_prefToolViewOptions.clock = g_prefToolViewOptions.clock != 0 ? 0 : 1;
      WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kToolViewOptions);
      return true;
    default:
      return false;
  }
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
  // Closing the main window is File/Exit: every score is asked first.
  if (m_appCommands && !ScoreWindows().empty()) {
    m_appCommands(cmd::kAppExit);
    if (!ScoreWindows().empty()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}
