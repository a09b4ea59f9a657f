// The score view's construction, the growth of its display-line table, and
// its destruction.

#include <algorithm>
#include <new>

#include "common/ErrorReporter.h"
#include "common/SymbolCache.h"
#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewUndoRing.h"
#include "view/play/ViewPlayer.h"

int g_noModify = 0;
int g_relayoutOnPaint = 0;
int g_widestNotation = -1;
int g_holdWidest = 0;

namespace {
// Entries added at a time, and the first block.
constexpr int kTableStep = 100;
}  // namespace

CStavlinView::CStavlinView(CStavlinDoc* document, KViewHost* host) : m_document(document), m_host(host) {
  // The undo ring holds as many records as the preference asks, within
  // 2..99 whatever the preference text says.
  m_undoLevels = KUndoRing::ClampLevels(g_prefAutoSave.undoLevels);
  try {
    m_undoRing = std::make_unique<KUndoRing>(m_undoLevels);
  } catch (const std::bad_alloc&) {
    ReportInternalError(7155, "QV4-1");
    m_undoEnabled = 0;
  }
  m_show.fill(1);
  GrowDisplayTable(kTableStep);
  if (m_document != nullptr) m_document->AddView(this);
}

CStavlinView::~CStavlinView() {
  // The music stops (and the play window forgets this score) while the
  // view's state is still whole.
  m_player.reset();
  // Live input never writes into a view that is gone.
  ForgetLiveInput();
  // A view deleted without its window's destruction still gives its symbol
  // set back, so the set's user count stays right.
  if (m_symbolSetHeld >= 0) RefSymbolBitmapSet(0, m_symbolSetHeld);
  m_symbolSetHeld = -1;
  if (m_document != nullptr) m_document->RemoveView(this);
}

void CStavlinView::OnDestroy() {
  if (m_destroyed) return;
  m_destroyed = true;
  // Recording into this score stops with the window.
  ForgetLiveInput();
  // Music still playing stops with the window.
  if (m_player != nullptr) m_player->Halt();
  if (m_host != nullptr) {
    if (m_scrollTimerRunning != 0) m_host->Timers().KillTimer(kScrollTimer);
    if (m_autosaveTimerOn != 0) m_host->Timers().KillTimer(kAutosaveTimer);
  }
  m_scrollTimerRunning = 0;
  m_autosaveTimerOn = 0;
  for (CFont& font : m_tabFont) font.DeleteObject();
  if (m_symbolSetHeld >= 0) RefSymbolBitmapSet(0, m_symbolSetHeld);
  m_symbolSetHeld = -1;
  // The frame forgets the view only when it is the one it keeps: closing a
  // second window must not leave the frame without the view that is active.
  KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr;
  if (frame != nullptr && frame->GetActiveScoreView() == this) frame->SetActiveScoreView(nullptr);
}

void CStavlinView::OnMove(int x, int y) {
  // Before the first update the settings copy is not filled yet.
  if (!m_initialUpdateDone || m_destroyed || m_document == nullptr) return;
  m_options.windowX = static_cast<short>(x);
  m_options.windowY = static_cast<short>(y);
  m_document->SetSettings(m_options, FALSE);
}

int CStavlinView::GrowDisplayTable(int count) {
  const bool first = m_display.empty();
  try {
    m_display.resize(m_display.size() + static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    ReportInternalError(7029, first ? "QV4-1" : "QV4-2");
    return 0;
  }
  return 1;
}

KLineObj* CStavlinView::GetDisplayLineObj(int index) const {
  if (index < 0 || index >= m_lineCount || m_document == nullptr) return nullptr;
  return m_document->GetLineAt(m_display[static_cast<size_t>(index)].line);
}

int CStavlinView::GetPageCount() const {
  if (m_lineCount <= 0) return 0;
  return m_display[static_cast<size_t>(m_lineCount - 1)].extra[kPageCode] / 10;
}
