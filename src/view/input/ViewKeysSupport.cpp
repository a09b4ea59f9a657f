// Helpers shared by the score view's key handlers: key state, the selection
// highlight, column widths, redraw columns, scrolling, the edit guards and the
// common refresh.

#include <algorithm>

#include "common/ViewServices.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/input/ViewKeysInternal.h"

namespace viewkeys {

namespace {
// The lead-in of a line counts in columns of this many pixels (both sizes).
constexpr int kLeadInUnit = 18;
// Column widths of note and chord lines before the first update measured them.
constexpr int kNoteColumnWidth[2] = {18, 22};
}  // namespace

bool Held(int virtualKey) { return GetKeyState(virtualKey) < 0; }

bool HasSelectionRect(const CStavlinView& view) {
  const RECT& r = view.m_selRect;
  return r.right > r.left && r.bottom > r.top;
}

KLineObj* LineAt(const CStavlinView& view, int displayLine) { return view.GetDisplayLineObj(displayLine); }

int ColumnWidthOf(const CStavlinView& view, int type) {
  const int size = view.m_sizeIndex != 0 ? 1 : 0;
  if (type >= 0 && type < static_cast<int>(view.m_typeColumnWidth.size())) {
    const int width = view.m_typeColumnWidth[static_cast<size_t>(type)];
    if (width > 0) return width;
  }
  const int family = KLineObj::FamilyOf(type);
  if (KLineObj::IsNoteFamily(family)) return kNoteColumnWidth[size];
  if (family == KLineObj::kFamilyChord) return KListLine::kChordColumnWidth[size];
  return kNoteColumnWidth[size];
}

int RedrawColumn(const CStavlinView& view, const KLineObj* line, int r) {
  const int indent = line != nullptr ? line->GetIndent() : 0;
  return std::max(0, r - (indent + view.m_contentLeft) / kLeadInUnit);
}

void ScrollTo(CStavlinView& view, int y) {
  const POINT scroll = view.GetVirtualScrollPosition();
  view.SetVirtualScrollPosition(scroll.x, view.FindTopLine(y));
}

bool MayEdit(CStavlinView& view) {
  if (view.m_autoScroll != 0) {
    MessageBeep(MB_ICONASTERISK);
    return false;
  }
  return view.LeaveReadOnlyForEdit() != FALSE;
}

void Refresh(CStavlinView& view, const KeyPress& press) {
  const bool isDelete = press.key == VK_DELETE;
  // A caret move changes nothing to undo; the flag is given back as it was,
  // so that a move inside an entry of several keystrokes keeps them one step.
  const int quiet = g_noModify;
  if (!isDelete) g_noModify = 1;
  view.UpdateAfterEdit(press.hint, 0);
  if (view.m_firstVisible != press.firstVisible || view.m_lastVisible != press.lastVisible) {
    if (view.m_host != nullptr) view.m_host->InvalidateRect(nullptr, TRUE);
  }
  if (!isDelete) g_noModify = quiet;
}

}  // namespace viewkeys
