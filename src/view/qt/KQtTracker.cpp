#include "view/qt/KQtTracker.h"

#include <QPainter>
#include <QPen>

#include "view/CStavlinView.h"

namespace {

QRect ToQ(const RECT& r, QPoint scroll) {
  return QRect(QPoint(r.left - scroll.x(), r.top - scroll.y()),
               QPoint(r.right - 1 - scroll.x(), r.bottom - 1 - scroll.y()));
}

bool Moved(const RECT& a, const RECT& b) { return a.left != b.left || a.top != b.top; }

// The marker of a placement point: a small square centred on it.
constexpr int kMarkerHalf = 5;

}  // namespace

bool KQtTracker::Press(POINT page) {
  m_part = -1;
  const int part = m_view.HitTestExtTracker(page);
  if (part == CStavlinView::kExtHitNone) {
    m_view.LeaveExtHandleMode();
    return false;
  }
  m_part = part;
  m_start = page;
  m_startRect = part == CStavlinView::kExtHitFrame ? m_view.m_extTracker
                                                   : m_view.m_extHandles[static_cast<size_t>(part - 1)];
  m_current = m_startRect;
  return true;
}

bool KQtTracker::Move(POINT page) {
  if (m_part < 0) return false;
  const LONG dx = page.x - m_start.x;
  const LONG dy = page.y - m_start.y;
  m_current =
      RECT{m_startRect.left + dx, m_startRect.top + dy, m_startRect.right + dx, m_startRect.bottom + dy};
  return true;
}

bool KQtTracker::Release(POINT page) {
  if (m_part < 0) return false;
  Move(page);
  const int part = m_part;
  m_part = -1;
  if (!Moved(m_startRect, m_current)) return true;
  if (part == CStavlinView::kExtHitFrame) {
    m_view.FinishExtObjFrameDrag(m_current);
  } else {
    m_view.FinishExtObjHandleDrag(part, m_startRect, m_current);
  }
  return true;
}

void KQtTracker::Paint(QPainter& painter, QPoint scroll) const {
  painter.save();
  painter.setBrush(Qt::NoBrush);
  if (m_view.m_selectedExtObj != nullptr) {
    if (m_view.m_extTwoHandles != 0) {
      for (const RECT& handle : m_view.m_extHandles) painter.fillRect(ToQ(handle, scroll), Qt::black);
    } else {
      painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
      painter.drawRect(ToQ(m_view.m_extTracker, scroll).adjusted(-1, -1, 1, 1));
    }
  }
  if (m_part >= 0) {
    painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    painter.drawRect(ToQ(m_current, scroll));
  }
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < 2; ++i) {
    if ((m_view.m_extMarkers & (1 << i)) == 0) continue;
    const POINT p = m_view.m_extPoints[static_cast<size_t>(i)];
    const RECT marker{p.x - kMarkerHalf, p.y - kMarkerHalf, p.x + kMarkerHalf, p.y + kMarkerHalf};
    const QRect r = ToQ(marker, scroll);
    painter.drawRect(r);
    painter.drawLine(r.center() - QPoint(2, 0), r.center() + QPoint(2, 0));
    painter.drawLine(r.center() - QPoint(0, 2), r.center() + QPoint(0, 2));
  }
  painter.restore();
}
