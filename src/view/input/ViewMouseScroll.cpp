// The scroll bars and the wheel. Vertical scrolling always lands on the top
// of a display line, so a line is never cut at the window's top; horizontal
// scrolling moves freely and repaints the whole window.

#include <algorithm>

#include "common/Globals.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLayoutCache.h"
#include "view/input/ViewMouseCodes.h"
#include "view/input/ViewMouseInternal.h"

namespace {

// The horizontal line step of the scroll bar.
constexpr int kLineStepX = 110;

int ClientHeight(const CStavlinView& view) {
  const RECT client = view.m_host != nullptr ? view.m_host->GetClientRect() : RECT{};
  return static_cast<int>(client.bottom - client.top);
}

int ClientWidth(const CStavlinView& view) {
  const RECT client = view.m_host != nullptr ? view.m_host->GetClientRect() : RECT{};
  return static_cast<int>(client.right - client.left);
}

// The greatest vertical scroll position.
int VerticalLimit(const CStavlinView& view) {
  const int last = view.GetDisplayLineCount() - 1;
  if (view.m_largeOffset > 0) return view.GetDisplayEntry(last).bottom;
  const int total = view.m_host != nullptr ? view.m_host->GetTotalSize().cy : view.GetScrollHeight();
  return std::max(total - ClientHeight(view), 0);
}

// The display line at the window's top y: the last one whose top is at or
// above it.
int LineAtTop(const CStavlinView& view, int y) {
  int line = 0;
  while (line + 1 < view.GetDisplayLineCount() && view.GetDisplayEntry(line + 1).top <= y) ++line;
  return line;
}

// The wanted top y of the window for the request, or -1 when it is refused.
// The first line is taken from where the window is now (the thumb may have
// been dragged to the middle of a line).
int VerticalTarget(CStavlinView& view, UINT code, UINT pos) {
  const int count = view.GetDisplayLineCount();
  const int y = view.GetVirtualScrollPosition().y;
  const int first = LineAtTop(view, y);
  const auto top = [&view](int i) { return view.GetDisplayEntry(i).top; };
  const bool aligned = top(first) >= y;
  view.FindTopLine(top(first));  // the visible lines from that line on
  const bool atFirst = first == 0 && aligned;
  const bool atLast = first >= count - 1;
  switch (code) {
    case SB_LINEUP:
      if (!aligned) return top(first);
      return atFirst ? -1 : top(first - 1);
    case SB_LINEDOWN:
      return atLast ? -1 : top(first + 1);
    case SB_PAGEUP: {
      if (atFirst) return -1;
      // The line at the top goes to the window's bottom; a line taller than
      // the window still moves up by one line.
      const int target = view.GetDisplayEntry(first).bottom - ClientHeight(view);
      return std::min(std::max(target, 0), aligned ? top(first - 1) : top(first));
    }
    case SB_PAGEDOWN:
      // The last whole line comes to the top; at least one line further.
      return atLast ? -1 : top(std::clamp(view.GetLastVisible(), first + 1, count - 1));
    case SB_THUMBPOSITION: {
      const int limit = VerticalLimit(view);
      const long long line = limit > 0 ? static_cast<long long>(count - 1) * pos / limit : 0;
      return top(static_cast<int>(std::clamp<long long>(line, 0, count - 1)));
    }
    case SB_TOP:
      return atFirst ? -1 : 0;
    case SB_BOTTOM:
      return std::max(view.GetDisplayEntry(count - 1).bottom - ClientHeight(view), 0);
    default:
      return -1;  // the thumb being dragged, the end of a scroll
  }
}

}  // namespace

void CStavlinView::OnVScroll(UINT nSBCode, UINT nPos) {
  if (m_lineCount <= 0) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(viewmouse::kNoLinesMessage, MB_OK);
    return;
  }
  int target = VerticalTarget(*this, nSBCode, nPos);
  if (target >= 0) {
    if (nSBCode == SB_TOP) {
      FindTopLine(0);
    } else {
      target = FindTopLine(target);
    }
    SetVirtualScrollPosition(GetVirtualScrollPosition().x, target);
    PlaceCaret();  // the caret moves with the score
  }
  g_noModify = 0;
}

void CStavlinView::OnHScroll(UINT nSBCode, UINT nPos) {
  const POINT scroll = GetVirtualScrollPosition();
  const int total = m_host != nullptr ? m_host->GetTotalSize().cx : m_scrollWidth;
  const int limit = std::max(total - ClientWidth(*this), 0);
  int x = scroll.x;
  switch (nSBCode) {
    case SB_LINELEFT:
      x -= kLineStepX;
      break;
    case SB_LINERIGHT:
      x += kLineStepX;
      break;
    case SB_PAGELEFT:
      x -= ClientWidth(*this);
      break;
    case SB_PAGERIGHT:
      x += ClientWidth(*this);
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      x = static_cast<int>(nPos);
      break;
    case SB_LEFT:
      x = 0;
      break;
    case SB_RIGHT:
      x = limit;
      break;
    default:
      return;
  }
  x = std::clamp(x, 0, limit);
  if (x == scroll.x) return;
  SetVirtualScrollPosition(x, scroll.y);
  // Labels and other fixed parts are drawn for the new position; nothing in
  // the score changes.
  const int saved = g_noModify;
  g_noModify = 1;
  g_refreshRepaintOnly = true;
  if (m_document != nullptr) m_document->UpdateAllViews(nullptr, kHintAll);
  g_refreshRepaintOnly = false;
  g_noModify = saved;
  PlaceCaret();
}

BOOL CStavlinView::OnMouseWheel(UINT /*nFlags*/, short zDelta, POINT /*point*/) {
  OnVScroll(zDelta < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
  return TRUE;
}
