// The end handles that the mouse drags on a tie, a slur or a line/V: the
// grips where the drawing puts the end points (or the middle point of a
// line/V), grown so that a pointer can take hold of them.

#include "model/KExtendedObj.h"

namespace {

bool HasHandles(int kind) {
  return kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur || kind == KExtendedObj::kLineOrV;
}

}  // namespace

int KExtendedObj::HitTestHandle(CRect& first, CRect& second, int lineType, int top, int x, int sizeIndex) {
  if (!HasHandles(m_kind)) {
    first.SetRectEmpty();
    second.SetRectEmpty();
    return 0;
  }
  GetHandleRects(first, second, lineType, x, top, sizeIndex);
  first.InflateRect(kHandleMargin, kHandleMargin);
  second.InflateRect(kHandleMargin, kHandleMargin);
  return 1;
}

int KExtendedObj::HandleAtPoint(const CRect& first, const CRect& second, CPoint point) {
  if (first.PtInRect(point)) return 0;
  if (second.PtInRect(point)) return 1;
  return -1;
}
