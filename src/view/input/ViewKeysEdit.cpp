// The smaller editing keys of OnKeyDown: Shift+Ctrl+Up/Down move the note at
// the caret to the next string or staff step, Ctrl+arrows nudge an edge of
// the selection's highlight, Insert switches overwrite mode, and F1..F4 and
// F6 give tablature notes their styles.

#include <algorithm>

#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/core/ViewMirrors.h"
#include "view/input/ViewKeysInternal.h"

namespace viewkeys {

namespace {
// Bits of the score's Ad-Tab byte that the coloured note styles turn on.
constexpr BYTE kColourStyleBits = 6;
}  // namespace

void MoveNoteAtCaret(CStavlinView& view, KeyPress& press) {
  if (!MayEdit(view)) return;
  KLineObj* line = LineAt(view, view.m_currentLine);
  if (line == nullptr) return;
  const int group = line->GetGroupId();
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  } else {
    view.RecordUndoStep(kUndoLine, view.m_currentLine, 0, nullptr, 0);
  }
  const int key = static_cast<int>(press.key);
  int r = -1;
  if (auto* tab = dynamic_cast<KTabLine*>(line)) {
    r = tab->MoveNoteToNextString(view.m_caretColumn, view.m_caretRow, key);
  } else if (auto* staff = dynamic_cast<KStaffLine*>(line)) {
    r = staff->MoveNoteOneStep(view.m_caretColumn, view.m_caretRow, key, view.m_sizeIndex);
  }
  if (r < 0) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  view.m_caretRow += press.key == VK_UP ? -1 : 1;
  press.hint = CStavlinView::kHintLineFrom + 10000 * view.m_currentLine + RedrawColumn(view, line, r);
  view.GetDocument()->SetModifiedFlag(TRUE);
  Refresh(view, press);
}

void NudgeSelection(CStavlinView& view, const KeyPress& press) {
  RECT& rect = view.m_selRect;
  const RECT before = rect;
  const bool shrink = press.shift;
  switch (press.key) {
    case VK_LEFT:
      rect.left = shrink ? rect.left + 1 : std::max(rect.left - 1, 0);
      break;
    case VK_RIGHT:
      rect.right = shrink ? std::max(rect.right - 1, 0) : rect.right + 1;
      break;
    case VK_UP:
      rect.top = shrink ? rect.top + 1 : std::max(rect.top - 1, 0);
      break;
    default:
      rect.bottom = shrink ? std::max(rect.bottom - 1, 0) : rect.bottom + 1;
      break;
  }
  if (view.m_host == nullptr) return;
  // The strip between the old and the new edge is painted again.
  RECT strip{std::min(before.left, rect.left), std::min(before.top, rect.top),
             std::max(before.right, rect.right), std::max(before.bottom, rect.bottom)};
  const POINT scroll = view.GetVirtualScrollPosition();
  strip.left -= scroll.x;
  strip.right -= scroll.x;
  strip.top -= scroll.y;
  strip.bottom -= scroll.y;
  view.m_host->InvalidateRect(&strip, FALSE);
}

void ToggleOverwrite(CStavlinView& view, KeyPress& press) {
  view.m_entryMode = 1 - (view.m_entryMode != 0 ? 1 : 0);
  g_viewMirrors.overwrite = view.m_entryMode;
  press.hint = 0;
  Refresh(view, press);
}

void ApplyNoteStyleKey(CStavlinView& view, KeyPress& press) {
  if (view.m_currentFamily != KLineObj::kFamilyTab) return;
  if (!MayEdit(view)) return;
  view.OnOptionsNoteStyle(press.key);
  if (press.key == VK_F6) return;
  if (view.m_colourState != 0) return;
  // The first coloured style: the score now uses colour.
  view.m_colourState = 2;
  CStavlinDoc* doc = view.GetDocument();
  if (doc == nullptr) return;
  doc->SetUsesColor(1);
  view.m_options.adTabMode = static_cast<BYTE>(view.m_options.adTabMode | kColourStyleBits);
  doc->SetSettings(view.m_options, TRUE);
}

}  // namespace viewkeys
