// The main frame's symbol toolboxes: twenty slots, one per kind, opened and
// closed by the Toolboxes commands (the full and mini symbols toolboxes
// exclude each other; the alternate, staff and grace-note palettes open as
// their tablature twins on a tablature line); their saved positions, kept as
// offsets from the main window and reopened at start; what they show of the
// active score view; and their picks, handed to that view.

#include <QGuiApplication>
#include <QScreen>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/KToolBoxWindow.h"
#include "common/Globals.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "dialogs/toolbox/ToolBoxPositions.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewMirrors.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr UINT kUnableToCreateToolbox = 7030;

POINT& SavedPosition(int slot) { return g_ptToolBoxPos[static_cast<size_t>(slot)]; }

}  // namespace

void CMainFrame::AddToolBoxCommands() {
  using namespace cmd;
  AddCommands({
      {kToolBoxCycle, kToolBoxCycle, [this](UINT) { OnToolBoxCycle(); }},
      {kToolBoxFirst, kToolBoxLast, [this](UINT id) { OnToolBox(static_cast<int>(id - kToolBoxFirst)); }},
  });
}

KToolBoxWindow* CMainFrame::ToolBox(int slot) const {
  if (slot < 0 || slot >= toolbox::kKindCount) return nullptr;
  return m_toolBoxes[static_cast<size_t>(slot)].data();
}

bool CMainFrame::IsToolBoxShown(int kind) const { return ToolBox(kind) != nullptr; }

KToolBoxState CMainFrame::ToolBoxState() const {
  KToolBoxState state;
  state.symbol = g_toolboxSymbol;
  state.noteStyle = g_viewMirrors.noteStyle;
  state.arrowCursor = g_prefEntryOptions.cursorMode == 0 ? 1 : 0;
  if (const CStavlinView* view = m_activeView) {
    state.noteStyle = view->m_noteStyle;
    state.joinTails = view->m_joinTails;
    state.mutualTranslation = view->m_mutualTranslation;
  }
  state.tuning = g_CurrentTuning;
  state.defaultTuning = g_prefTabTuning.IsEmpty() ? g_DefaultTrebleTuning : g_prefTabTuning;
  return state;
}

// ---- Opening and closing ----------------------------------------------------------------

void CMainFrame::OpenToolBox(int slot) {
  if (ToolBox(slot) != nullptr) return;
  // The caret's line decides between a palette and its tablature twin.
  const int family = KLineObj::FamilyOf(m_activeView != nullptr ? m_activeView->GetCurrentType()
                                                                : g_viewMirrors.currentType);
  const int lineClass = family == KLineObj::kFamilyTab ? toolbox::kClassTab : toolbox::kClassOther;
  auto* window = new KToolBoxWindow(slot, slot, lineClass, *this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  // The title is the palette's as it opens: on a tablature line the twin's
  // ("Alternate Tab Symbols" in the Alternate Symbols slot).
  window->SetCaption(LoadString(toolbox::KindInfo(window->Box().Kind()).titleId));
  if (!window->Create(ToolBoxState())) {
    delete window;
    AfxMessageBox(kUnableToCreateToolbox, MB_OK);
    return;
  }
  POINT& saved = SavedPosition(slot);
  saved = toolbox::DecodedPosition(saved);
  const QPoint main = ToolBoxOrigin();
  const SIZE screen = GetScreenSize();
  const POINT at = toolbox::PlaceOnScreen(saved, POINT{main.x(), main.y()}, screen);
  m_toolBoxes[static_cast<size_t>(slot)] = window;
  window->Place(QPoint(at.x, at.y));
  // The score keeps the keyboard.
  if (CChildFrame* child = ActiveChild(); child != nullptr && child->ActivePane() != nullptr)
    child->ActivePane()->setFocus();
}

void CMainFrame::CloseToolBox(int slot, bool markClosed) {
  KToolBoxWindow* window = ToolBox(slot);
  if (window == nullptr) return;
  if (markClosed) SavedPosition(slot) = toolbox::ClosedPosition(SavedPosition(slot));
  m_toolBoxes[static_cast<size_t>(slot)] = nullptr;
  window->hide();
  window->deleteLater();
}

void CMainFrame::OnToolBox(int slot) {
  using namespace toolbox;
  if (slot < 0 || slot >= kKindCount) return;
  // The symbols toolboxes, the fretboard and the keyboard stay closed at the
  // next start once closed by their command; the other palettes reopen.
  const bool marks = slot == kSymbols || slot == kMiniSymbols || slot == kFretboard || slot == kKeyboard;
  if (ToolBox(slot) != nullptr) {
    CloseToolBox(slot, marks);
    return;
  }
  if (slot == kSymbols) CloseToolBox(kMiniSymbols, true);
  if (slot == kMiniSymbols) CloseToolBox(kSymbols, true);
  OpenToolBox(slot);
}

void CMainFrame::OnToolBoxCycle() {
  using namespace toolbox;
  // None, full size, mini size, none.
  if (ToolBox(kMiniSymbols) != nullptr) {
    CloseToolBox(kMiniSymbols, true);
  } else if (ToolBox(kSymbols) != nullptr) {
    CloseToolBox(kSymbols, true);
    OpenToolBox(kMiniSymbols);
  } else {
    OpenToolBox(kSymbols);
  }
}

void CMainFrame::ToolBoxClosedByUser(int slot) {
  if (m_closingDown || ToolBox(slot) == nullptr) return;
  SavedPosition(slot) = toolbox::ClosedPosition(SavedPosition(slot));
  m_toolBoxes[static_cast<size_t>(slot)] = nullptr;
  UpdateCommandUi();
}

void CMainFrame::ToolBoxMoved(int slot, QPoint topLeft) {
  if (m_closingDown || ToolBox(slot) == nullptr) return;
  const QPoint main = ToolBoxOrigin();
  SavedPosition(slot) = POINT{topLeft.x() - main.x(), topLeft.y() - main.y()};
}

QPoint CMainFrame::ToolBoxOrigin() {
  constexpr Qt::WindowStates kNotNormal = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
  if ((windowState() & kNotNormal) == 0 || !m_normalTopLeftKnown) {
    m_normalTopLeft = frameGeometry().topLeft();
    m_normalTopLeftKnown = true;
  }
  return m_normalTopLeft;
}

void CMainFrame::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The unmaximized corner is remembered as the window moves.
  ToolBoxOrigin();
}

void CMainFrame::ReopenToolBox(int slot) { RunCommand(cmd::kToolBoxFirst + static_cast<UINT>(slot)); }

void CMainFrame::ReopenSavedToolBoxes() {
  const QPoint main = ToolBoxOrigin();
  const SIZE screen = GetScreenSize();
  for (int slot = 0; slot < toolbox::kKindCount; ++slot) {
    POINT& saved = SavedPosition(slot);
    if (!toolbox::IsOpenPosition(saved)) continue;
    saved = toolbox::PulledOntoScreen(saved, POINT{main.x(), main.y()}, screen);
    if (ToolBox(slot) == nullptr) ReopenToolBox(slot);
  }
}

// ---- What the toolboxes show and do -----------------------------------------------------

void CMainFrame::SyncToolBoxes() {
  const KToolBoxState state = ToolBoxState();
  const int family = m_activeView != nullptr ? m_activeView->GetCurrentFamily() : -1;
  for (int slot = 0; slot < toolbox::kKindCount; ++slot) {
    KToolBoxWindow* window = ToolBox(slot);
    if (window == nullptr) continue;
    // The twins follow the caret's line; the fretboard its tablature's tuning.
    if (family >= 0 && (slot != toolbox::kFretboard || family == KLineObj::kFamilyTab))
      window->Box().SyncToLineKind(family, state);
    window->Box().HighlightCurrentSymbol(state);
    window->update();
  }
}

void CMainFrame::RefreshToolboxes() { SyncToolBoxes(); }

void CMainFrame::PickFromToolBox(int code, int boxKind, int noteValue, int string, int fret) {
  CStavlinView* view = GetActiveScoreView(true);
  if (view == nullptr) return;
  view->PickToolboxSymbol(code, boxKind, noteValue, string, fret);
  // The keyboard goes back to the score.
  if (CChildFrame* child = ActiveChild(); child != nullptr && child->ActivePane() != nullptr) {
    if (!isActiveWindow()) activateWindow();
    child->ActivePane()->setFocus();
  }
  AfterViewInput();
}

void CMainFrame::ShowPlayedNote(int on, int note, int string, int fret) {
  const KToolBoxState state = ToolBoxState();
  for (int slot : {toolbox::kFretboard, toolbox::kKeyboard}) {
    if (KToolBoxWindow* window = ToolBox(slot)) window->Box().ShowPlayedNote(on, note, string, fret, state);
  }
}
