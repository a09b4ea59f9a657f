// A mouse drag applied to an attachment. The view tracks the rectangle the
// attachment covers; when the rectangle keeps its size the attachment moves by
// the rectangle's movement, otherwise each kind reshapes itself by which edges
// moved. The stored values change directly, in unscaled pixels.

#include "model/KExtendedObj.h"
#include "model/KExtendedObjPlace.h"

namespace {

// Every stored value changes through here, bounded, so that no value can
// overflow whatever a file or a long drag brought in.
void Add(int& value, long long delta) { value = BoundedLength(value + delta); }

}  // namespace

int KExtendedObj::DragTo(const RECT& before, const RECT& after) {
  // What the drag did to the covered rectangle.
  const long long dLeft = static_cast<long long>(after.left) - before.left;
  const long long dRight = static_cast<long long>(after.right) - before.right;
  const long long dTop = static_cast<long long>(after.top) - before.top;
  const long long dBottom = static_cast<long long>(after.bottom) - before.bottom;
  const long long dw = dRight - dLeft;  // change of width
  const long long dh = dBottom - dTop;  // change of height
  const bool leftMoved = dLeft != 0;
  const bool topMoved = dTop != 0;

  if (dw == 0 && dh == 0) {
    Add(m_offsetX, dLeft);
    Add(m_offsetY, dTop);
    return 1;
  }
  if (m_kind == kTextBox) return 0;

  if (IsCurve()) {
    const int oldSizeX = m_sizeX;
    // The control points keep their place along the curve as it widens.
    auto rescale = [this, oldSizeX]() {
      if (oldSizeX == 0) return;
      m_point0X = BoundedLength(static_cast<long long>(m_point0X) * m_sizeX / oldSizeX);
      m_point1X = BoundedLength(static_cast<long long>(m_point1X) * m_sizeX / oldSizeX);
    };
    if (dh != 0 && dw == 0) {
      // Only the height changed: the bow deepens or flattens.
      if (m_kind == kTie) {
        if (!topMoved) Add(m_offsetY, dh);
        Add(m_point0Y, -dh);
        Add(m_point1Y, -dh);
      } else {
        if (topMoved) Add(m_offsetY, -dh);
        Add(m_point0Y, dh);
        Add(m_point1Y, dh);
      }
    } else if (dh != 0 && leftMoved) {
      Add(m_offsetX, dLeft);
      Add(m_sizeX, -dLeft);
      rescale();
      // The edge that moved decides which way the height change counts.
      const long long change = topMoved ? -dh : dh;
      Add(m_offsetY, change);
      Add(m_point0Y, -change);
      Add(m_point1Y, -change);
      Add(m_sizeY, -change);
    } else if (dh != 0) {
      Add(m_sizeX, dRight);
      rescale();
      Add(m_sizeY, topMoved ? -dh : dh);
    } else {
      if (leftMoved) Add(m_offsetX, -dw);
      Add(m_sizeX, dw);
      rescale();
    }
    return 1;
  }

  if (m_kind == kNumberedBracket) {
    const int v = m_sizeY;
    if (dh != 0) {
      if (!topMoved) {
        if (v > 0) {
          Add(m_sizeY, dh);
        } else if (v < 0) {
          Add(m_offsetY, dh);
          Add(m_sizeY, -dh);
        }
      } else if (v == 0) {
        Add(m_offsetY, -dh);
      } else if (v < 0) {
        Add(m_sizeY, -dh);
      } else {
        Add(m_sizeY, dh);
        Add(m_offsetY, -dh);
      }
    }
    if (dw != 0 && leftMoved) Add(m_offsetX, -dw);
    Add(m_sizeX, dw);
    return 1;
  }

  // Hairpins, lines and V-shapes, bracket lines, double bars and kinds that
  // draw nothing: the anchor (the middle point of a V) follows the edge it
  // belongs to.
  if (dh != 0) {
    const int a = m_anchorY;
    const int v = m_sizeY;
    if (!topMoved) {
      if (a <= 0 && v <= 0) {
        Add(m_anchorY, -dh);
        Add(m_offsetY, dh);
        Add(m_sizeY, -dh);
      } else if (v <= a) {
        Add(m_anchorY, dh);
        if (v == a) Add(m_sizeY, dh);
      } else {
        Add(m_sizeY, dh);
      }
    } else if (a < 0 || v < 0) {
      if (v < a) {
        Add(m_sizeY, -dh);
      } else {
        Add(m_anchorY, -dh);
        if (v == a) Add(m_sizeY, -dh);
      }
    } else {
      Add(m_offsetY, -dh);
      Add(m_anchorY, dh);
      Add(m_sizeY, dh);
    }
  }
  if (dw != 0) {
    if (leftMoved) Add(m_offsetX, -dw);
    Add(m_anchorX, m_anchorX != m_sizeX ? dw / 2 : dw);
    Add(m_sizeX, dw);
  }
  return 1;
}
