// File/Set Preferences, and what the frame does with the preferences the
// sheet changed: the main window's place, its bars and clock, the start
// folder, the editing mode of grouped lines, and a repaint of every score
// (laid out again when the line spacing changed).

#include <unistd.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CStavlinApp.h"
#include "common/Globals.h"
#include "doc/pref_values/Preferences.h"
#include "pref_sheet/PreferencesSheet.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

void CMainFrame::OnFileSetPreferences() {
  KPrefSheetContext context;
  const QRect frame = frameGeometry();
  context.mainWindow = KWindowPlacement{frame.width(), frame.height(), frame.left(), frame.top()};
  context.lastScoreWindow = g_prefNewDocWnd;
  if (CChildFrame* child = ActiveChild()) {
    const QRect score = child->geometry();
    context.lastScoreWindow = KWindowPlacement{score.width(), score.height(), score.left(), score.top()};
  }
  const SIZE screen = GetScreenSize();
  context.screenWidth = screen.cx;
  context.screenHeight = screen.cy;
  context.currentTuning = g_CurrentTuning;
  context.currentLabelledTuning = g_prefLabelledTabTuning;
  context.currentBassTuning = g_prefBassTabTuning;
  if (CStavlinView* view = GetActiveScoreView(false)) {
    if (!view->m_bassTabTuning.IsEmpty()) context.currentBassTuning = view->m_bassTabTuning;
  }

  const KPrefStoreResult result = RunPreferencesSheet(context);
  if (result.storeFailed) return;

  if (result.mainWindowMoved) {
    setGeometry(g_rcMainWnd.left, g_rcMainWnd.top, g_rcMainWnd.width, g_rcMainWnd.height);
  }
  if (result.barsChanged) {
    ShowMainToolbar(g_prefToolViewOptions.showMainToolbar);
    ShowExtraToolsToolbar(g_prefToolViewOptions.showExtraToolbar);
    ShowStatusBar(g_prefToolViewOptions.showStatusBar);
    UpdateStatusBar();
  }
  if (result.startFolderChanged && ::chdir(g_strStartFolder.ToUtf8().c_str()) == 0) {
    g_strCurrentFolder = g_strStartFolder;
  }
  if (result.keepBarsAlignedChanged && GetActiveScoreView(false) != nullptr &&
      IsAvailable(cmd::kEditGroupLinesIndependently)) {
    RunCommand(cmd::kEditGroupLinesIndependently);
  }

  // Every score repaints now; a changed spacing lays them out first.
  g_relayoutOnPaint = result.relayout ? 1 : 0;
  for (CChildFrame* child : ScoreWindows()) {
    for (int i = 0; i < child->PaneCount(); ++i) {
      if (KViewWidget* pane = child->Pane(i)) pane->viewport()->repaint();
    }
  }
  g_relayoutOnPaint = 0;
  update();
  UpdateCommandUi();
}
