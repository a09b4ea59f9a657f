// The score view's window: its keys and the overlay drawn with them. Each
// key press goes through the key adapter to the view's OnKeyDown,
// OnSysKeyDown and OnChar, with GetKeyState answering from the event, and
// the frame's menus and panes follow afterwards; the caret's ledger-line
// hint is painted over the score.

#include <QKeyEvent>
#include <QPointer>

#include "common/StaffGeometry.h"
#include "common/Globals.h"
#include "common/ScaledDraw.h"
#include "model/KListLine.h"
#include "platform/qt/KQtKeyState.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

// Staff rows: the row of the top staff line's space above, and the height of
// a row per symbol size.
constexpr int kLedgerRowOrigin = 14;

}  // namespace

bool KViewWidget::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // The view's own keys reach it even when a menu accelerator claims them.
    if (KQtKeyAdapter::IsViewKey(*static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    // Tab and Shift+Tab are typed into the score, not used to move the focus.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void KViewWidget::keyPressEvent(QKeyEvent* event) {
  const std::vector<KWinKeyMessage> messages = m_keys.Translate(*event);
  if (!m_view || messages.empty()) {
    // Not the view's key (Alt with a letter belongs to the menu bar).
    event->ignore();
    return;
  }
  if (const std::optional<bool> caps = m_keys.CapsLock()) KQtKeyState::NoteCapsLock(*caps);
  QPointer<KViewWidget> alive(this);
  {
    // GetKeyState answers from this key event while its messages run.
    const KQtKeyEventState state(event->modifiers(), static_cast<int>(messages.front().code),
                                 m_keys.CapsLock());
    for (const KWinKeyMessage& message : messages) {
      // A handler may have shown a message box, in whose loop the window
      // can go.
      if (!alive || !m_view) break;
      switch (message.kind) {
        case KWinKeyMessage::kKeyDown:
          m_view->OnKeyDown(message.code, message.repeat, message.flags);
          break;
        case KWinKeyMessage::kSysKeyDown:
          m_view->OnSysKeyDown(message.code, message.repeat, message.flags);
          break;
        case KWinKeyMessage::kChar:
          m_view->OnChar(message.code, message.repeat, message.flags);
          break;
      }
    }
  }
  event->accept();
  if (alive && m_frame != nullptr) m_frame->AfterViewInput();
}

void KViewWidget::PaintLedgerHint(CDC& dc) const {
  const CStavlinView& view = *m_view;
  const CStavlinView::LedgerHint& hint = view.m_ledger;
  // Only while the caret still stands where the hint was made for.
  if (hint.shown == 0 || hint.displayLine != view.GetCurrentLine() || hint.column != view.m_caretColumn ||
      hint.row != view.m_caretRow)
    return;
  if (hint.displayLine < 0 || hint.displayLine >= view.GetDisplayLineCount()) return;
  const DisplayLine& entry = view.GetDisplayEntry(hint.displayLine);
  if (KLineObj::FamilyOf(entry.type) != KLineObj::kFamilyStaff) return;
  const KLineObj* line = view.GetDisplayLineObj(hint.displayLine);
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr) return;
  const int size = view.GetSizeIndex() != 0 ? 1 : 0;
  const int rowHeight = g_StaffStep[size];
  int width = 0;
  if (entry.type >= 0 && entry.type < static_cast<int>(view.m_typeColumnWidth.size()))
    width = view.m_typeColumnWidth[static_cast<size_t>(entry.type)];
  if (width <= 0) width = g_NoteColumnWidth[size];
  const int top = entry.top + list->GetSpaceAbove(size) - kLedgerRowOrigin * rowHeight;
  const int left = width * hint.column + view.m_contentOrigin + 2;
  const int right = width * (hint.column + 1) + view.m_contentOrigin - 2;
  for (int row = hint.fromRow; row <= hint.toRow; row += 2) {
    ScaledMoveTo(&dc, left, top + row * rowHeight);
    ScaledLineTo(&dc, right, top + row * rowHeight);
  }
}
