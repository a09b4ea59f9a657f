// The mouse cursor tells what a click will do: a cross while an extended
// object's points are clicked, the play-range cursors while its clicks are
// awaited, the line-selection cursor over the labels, and elsewhere the
// toolbox symbol a click enters (or the arrow when clicks enter nothing).

#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kArrowCursor = 0;
constexpr int kAlternatePage = 10000;

}  // namespace

BOOL CStavlinView::OnSetCursor(POINT point) {
  if (m_host == nullptr) return FALSE;
  int id = kArrowCursor;
  if (m_extClicksWanted != 0) {
    id = kCursorCross;
  } else if (m_playAwaitStart != 0) {
    id = kCursorPlayStart;
  } else if (m_playAwaitEnd != 0) {
    id = kCursorPlayEnd;
  } else if (point.x + GetVirtualScrollPosition().x < m_contentLeft) {
    id = kCursorLabels;
  } else if (g_prefEntryOptions.cursorMode != 0 && m_hoverOff == 0 && m_toolboxSymbol >= 0) {
    id = m_toolboxSymbol < kAlternatePage ? kCursorSymbolBase + m_toolboxSymbol
                                          : kCursorAltSymbolBase + m_toolboxSymbol % kAlternatePage;
  }
  m_host->SetCursorId(id);
  return TRUE;
}
