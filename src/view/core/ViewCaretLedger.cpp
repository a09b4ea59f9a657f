// The ledger lines shown at the caret when it stands above or below a staff,
// so that the user sees which pitch a note typed there gets. Nothing is
// drawn here: the view keeps the rows to show (m_ledger) and the paint
// draws them after OnDraw.

#include <algorithm>

#include "model/KLineObj.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kStaffTop = 14;
constexpr int kStaffBottom = 22;
constexpr int kAboveEnd = 12;  // the ledger line nearest the staff above it
constexpr int kBelowStart = 24;
// How far ledger rows may reach above or below their line's band (pixels).
constexpr int kLedgerReach = 80;

// A row rounded toward the staff onto a ledger-line row (an even row).
int RoundTowardStaff(int row) {
  if (row % 2 == 0) return row;
  return row < 15 ? row + 1 : row - 1;
}

}  // namespace

void CStavlinView::DrawCaretLedgerLine() {
  LedgerHint& hint = m_ledger;
  const bool staff = KLineObj::FamilyOf(m_currentType) == KLineObj::kFamilyStaff;
  const bool moved = hint.column != m_caretColumn || hint.displayLine != m_currentLine;
  const bool inside = m_caretRow >= kStaffTop && m_caretRow <= kStaffBottom;
  const bool wasShown = hint.shown != 0;
  const int oldLine = hint.displayLine;
  hint.column = m_caretColumn;
  hint.displayLine = m_currentLine;
  hint.row = m_caretRow;
  if (!staff || inside) {
    hint.shown = 0;
  } else {
    const int row = RoundTowardStaff(m_caretRow);
    hint.shown = 1;
    if (row < kStaffTop) {
      hint.fromRow = row;
      hint.toRow = kAboveEnd;
    } else {
      hint.fromRow = kBelowStart;
      hint.toRow = row;
    }
  }
  if (m_host == nullptr) return;
  // The hint is painted over its staff line, with ledger rows that may reach
  // a little above or below it: repaint that band of the line it left and of
  // the line it is on now, and nothing when no hint was or is shown.
  if (wasShown && (moved || hint.shown == 0)) InvalidateLedgerBand(oldLine);
  if (hint.shown != 0) InvalidateLedgerBand(m_currentLine);
}

void CStavlinView::InvalidateLedgerBand(int displayLine) {
  if (displayLine < 0 || displayLine >= m_lineCount) {
    m_host->InvalidateRect(nullptr, FALSE);
    return;
  }
  const DisplayLine& entry = m_display[static_cast<size_t>(displayLine)];
  const POINT scroll = GetVirtualScrollPosition();
  const RECT client = m_host->GetClientRect();
  const RECT band{client.left, entry.top - kLedgerReach - static_cast<int>(scroll.y), client.right,
                  entry.bottom + kLedgerReach - static_cast<int>(scroll.y)};
  m_host->InvalidateRect(&band, FALSE);
}
