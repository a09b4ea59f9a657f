// Double clicks and the right button. A double click selects the word at
// the caret (the first click of the pair has put the caret there), or the
// whole line group of a clicked label; it edits a selected extended object
// and ends a V-shaped line. The right button is the left one without symbol
// entry: it only places the caret, and on the labels it selects whole lines
// from the clef on.

#include "view/CStavlinView.h"
#include "view/input/ViewMouseInternal.h"
#include "view/play/ViewPlayer.h"

namespace {

constexpr UINT kVLineCommand = 41094;
constexpr int kWordMode = 0;
constexpr int kGroupLabelMode = 16;
constexpr int kRightGroupLabelMode = 15;
// GetWordRange's last column when there is no word.
constexpr int kNoWord = 32000;

}  // namespace

void CStavlinView::OnLButtonDblClk(UINT nFlags, POINT point) {
  if (IsPlaying()) {
    Player().TakePress();
    return;
  }
  m_leftButtonHeld = 0;
  m_noSymbolEntry = 1;  // the release that follows enters nothing
  if (m_extClicksWanted != 0 && m_pendingExtendedObject == kVLineCommand) {
    // The double click is the V-line's end point.
    OnLButtonDown(nFlags, point);
    OnLButtonUp(nFlags, point);
    return;
  }
  if (m_selectedExtObj != nullptr) {
    EditSelectedExtendedObject();
    return;
  }
  KCommandScope command(this);
  const POINT page = viewmouse::ToPage(*this, point);
  if (page.x >= m_contentLeft) {
    KLineObj* line = m_lineCount > 0 ? GetDisplayLineObj(m_currentLine) : nullptr;
    if (line != nullptr) {
      const KLinePair word = line->GetWordRange(m_caretColumn);
      if (word.second != kNoWord && word.second >= word.first) {
        m_selAnchorColumn = word.first;
        UpdateSelection(word.first, word.second + 1, m_currentLine, m_currentLine, kWordMode);
      }
    }
  } else {
    // The release moves the caret to the label's line (and clears the
    // right-button flag, so it is read first).
    const bool right = m_rightButton != 0;
    OnLButtonUp(nFlags, point);
    if (m_lineCount > 0)
      UpdateSelection(kKeep, kKeep, m_currentLine, m_currentLine,
                      right ? kRightGroupLabelMode : kGroupLabelMode);
  }
  m_rightButton = 0;
}

void CStavlinView::OnRButtonDown(UINT nFlags, POINT point) {
  if (IsPlaying()) {
    Player().TakePress();
    return;
  }
  m_mouseArmed = 1;
  m_leftButtonHeld = 0;
  m_rightButton = 1;
  UpdateSelection(kKeep, kKeep, kKeep, kKeep, kSelClear);
  OnLButtonDown(nFlags, point);
}

void CStavlinView::OnRButtonUp(UINT nFlags, POINT point) {
  m_noSymbolEntry = 1;
  m_rightButton = 1;
  m_leftButtonHeld = 0;
  OnLButtonUp(nFlags, point);
}

void CStavlinView::OnRButtonDblClk(UINT nFlags, POINT point) {
  m_leftButtonHeld = 0;
  m_noSymbolEntry = 1;
  m_rightButton = 1;
  UpdateSelection(kKeep, kKeep, kKeep, kKeep, kSelClear);
  OnLButtonDblClk(nFlags, point);
}
