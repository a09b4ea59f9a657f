#pragma once
// KQtTracker: the score widget's rubber band for extended objects. While an
// object is selected it shows the object's frame (or, in handle mode, its two
// end handles); a press on the frame or a handle drags a copy of it with the
// mouse, and the release hands the final rectangle to the view, which moves
// or reshapes the object. It also paints the points of a placement that
// waits for clicks. All rectangles are page (logical) pixels; painting
// subtracts the scroll position.

#include <QPoint>

#include "platform/WinTypes.h"

class CStavlinView;
class QPainter;

class KQtTracker {
 public:
  explicit KQtTracker(CStavlinView& view) : m_view(view) {}

  // A left press at the page point. Takes it (true) when it starts a drag of
  // the frame or a handle. A press beside the handles ends handle mode and
  // is not taken.
  bool Press(POINT page);
  // The mouse moved while a drag runs; true when it runs (repaint).
  bool Move(POINT page);
  // The button came up: a drag that moved ends at the page point and the
  // view applies it. True when a drag was running.
  bool Release(POINT page);
  // Escape: the drag ends without changing anything.
  void Cancel() { m_part = -1; }
  bool Dragging() const { return m_part >= 0; }
  // The rectangle being dragged (page pixels).
  RECT DragRect() const { return m_current; }

  // Paints the frame or handles of the selected object, the dragged
  // rectangle and the placement markers, the page scrolled by `scroll`.
  void Paint(QPainter& painter, QPoint scroll) const;

 private:
  CStavlinView& m_view;
  int m_part = -1;  // CStavlinView::kExtHit...; -1 when no drag runs
  POINT m_start{};
  RECT m_startRect{};
  RECT m_current{};
};
