#include "view/qt/KViewWidget.h"

#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/KQtImageDC.h"
#include "view/CStavlinView.h"

namespace {

QRect ToQRect(const RECT& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// The framework's SIZE_RESTORED.
constexpr UINT kSizeRestored = 0;
// The window background the view draws on.
constexpr QRgb kWindowColour = 0xFFFFFFFF;

}  // namespace

KViewWidget::KViewWidget(CStavlinDoc* document, KFrameServices* frame, QWidget* parent)
    : QAbstractScrollArea(parent), m_frame(frame), m_measureImage(1, 1, QImage::Format_RGB32) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  m_measureImage.fill(kWindowColour);

  m_caret.SetChangeHandler([this] { CaretChanged(); });
  m_blink.setInterval(kCaretBlinkMs);
  QObject::connect(&m_blink, &QTimer::timeout, this, [this] {
    m_blinkOn = !m_blinkOn;
    CaretChanged();
  });
  m_view = std::make_unique<CStavlinView>(document, this);
  m_timers.SetHandler([this](UINT_PTR id) {
    if (m_view) m_view->OnTimer(id);
  });
}

KViewWidget::~KViewWidget() {
  m_blink.stop();
  m_caret.SetChangeHandler(nullptr);
  if (m_view) m_view->OnDestroy();
  m_view.reset();
}

// ---- Geometry and scrolling ----------------------------------------------------------

RECT KViewWidget::GetClientRect() const {
  const QSize size = viewport()->size();
  return RECT{0, 0, size.width(), size.height()};
}

void KViewWidget::SetScrollSizes(SIZE total, SIZE page, SIZE line) {
  m_total = total;
  m_page = page;
  m_line = line;
  UpdateScrollBars();
}

void KViewWidget::UpdateScrollBars() {
  const QSize size = viewport()->size();
  m_scrollingFromView = true;
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, std::max(0, static_cast<int>(m_total.cx) - size.width()));
  v->setRange(0, std::max(0, static_cast<int>(m_total.cy) - size.height()));
  // A page is the window's own size, so that the thumb shows how much of the
  // score the window holds and a click beside it moves by a window's worth.
  h->setPageStep(std::max(1, size.width()));
  v->setPageStep(std::max(1, size.height()));
  h->setSingleStep(std::max(1, static_cast<int>(m_line.cx)));
  v->setSingleStep(std::max(1, static_cast<int>(m_line.cy)));
  m_scrollingFromView = false;
}

POINT KViewWidget::GetScrollPosition() const {
  return POINT{horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void KViewWidget::ScrollToPosition(POINT position) {
  // QScrollBar clamps to its range, as the framework's scroll view does.
  m_scrollingFromView = true;
  horizontalScrollBar()->setValue(position.x);
  verticalScrollBar()->setValue(position.y);
  m_scrollingFromView = false;
  viewport()->update();
}

void KViewWidget::scrollContentsBy(int /*dx*/, int /*dy*/) {
  // The picture is drawn for one scroll position: repaint it whole.
  viewport()->update();
  if (m_scrollingFromView || !m_view) return;
  // The user moved a scroll bar: the view decides where it lands.
  const POINT now = GetScrollPosition();
  m_view->SetVirtualScrollPosition(now.x, now.y);
}

void KViewWidget::ScrollBy(int dx, int dy) {
  if (!m_view || (dx == 0 && dy == 0)) return;
  const POINT now = m_view->GetVirtualScrollPosition();
  const int maxX = horizontalScrollBar()->maximum();
  const int maxY = verticalScrollBar()->maximum();
  const int x = std::clamp(static_cast<int>(now.x) + dx, 0, std::max(0, maxX));
  const int y = std::clamp(static_cast<int>(now.y) + dy, 0, std::max(0, maxY));
  m_view->SetVirtualScrollPosition(x, y);
}

void KViewWidget::wheelEvent(QWheelEvent* event) {
  const QPoint steps = event->angleDelta() / 120;
  int dx = steps.x();
  int dy = steps.y();
  // Shift turns the wheel sideways.
  if (event->modifiers() & Qt::ShiftModifier) std::swap(dx, dy);
  if (dx == 0 && dy == 0) {
    event->ignore();
    return;
  }
  const int lineX = std::max(1, horizontalScrollBar()->singleStep());
  const int lineY = std::max(1, verticalScrollBar()->singleStep());
  ScrollBy(-dx * kWheelLines * lineX, -dy * kWheelLines * lineY);
  event->accept();
}

void KViewWidget::keyPressEvent(QKeyEvent* event) {
  // Only scrolling keys for now; editing keys belong to the view's key road.
  switch (event->key()) {
    case Qt::Key_PageDown:
      ScrollBy(0, verticalScrollBar()->pageStep());
      break;
    case Qt::Key_PageUp:
      ScrollBy(0, -verticalScrollBar()->pageStep());
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
}

void KViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  const QSize size = viewport()->size();
  if (m_backing.size() != size) m_backing = QImage(size, QImage::Format_RGB32);
  if (m_view) m_view->OnSize(kSizeRestored, size.width(), size.height());
}

// ---- Painting ------------------------------------------------------------------------

void KViewWidget::InvalidateRect(const RECT* rect, BOOL /*erase*/) {
  if (rect == nullptr) {
    viewport()->update();
  } else if (rect->right > rect->left && rect->bottom > rect->top) {
    viewport()->update(ToQRect(*rect));
  }
}

void KViewWidget::paintEvent(QPaintEvent* event) {
  const QSize size = viewport()->size();
  if (size.isEmpty()) return;
  if (m_backing.size() != size) m_backing = QImage(size, QImage::Format_RGB32);
  const QRect dirty = event->rect().intersected(QRect(QPoint(0, 0), size));
  if (dirty.isEmpty()) return;

  // The window's background, then the view's picture, in the dirty part only.
  {
    QPainter erase(&m_backing);
    erase.fillRect(dirty, QColor::fromRgb(kWindowColour));
  }
  if (m_view) {
    KQtImageDC dc(m_backing);
    const POINT scroll = GetScrollPosition();
    dc.SetWindowOrg(scroll.x, scroll.y);
    dc.IntersectClipRect(dirty.left() + scroll.x, dirty.top() + scroll.y, dirty.right() + 1 + scroll.x,
                         dirty.bottom() + 1 + scroll.y);
    m_view->OnDraw(&dc);
  }

  QPainter painter(viewport());
  painter.drawImage(dirty, m_backing, dirty);
  // The caret over the picture, inverting what it covers.
  m_caretPainted = QRect();
  if (m_caret.IsVisible() && m_blinkOn && hasFocus()) {
    const QRect caret = ToQRect(m_caret.GetRect());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(caret, Qt::white);
    m_caretPainted = caret;
  }
}

void KViewWidget::CaretChanged() {
  if (!m_caretPainted.isEmpty()) viewport()->update(m_caretPainted);
  if (m_caret.IsVisible()) {
    viewport()->update(ToQRect(m_caret.GetRect()));
    if (!m_blink.isActive()) {
      m_blinkOn = true;
      m_blink.start();
    }
  } else {
    m_blink.stop();
  }
}

// ---- Focus ---------------------------------------------------------------------------

void KViewWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  m_blinkOn = true;
  if (m_view) m_view->OnSetFocus();
  CaretChanged();
}

void KViewWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  if (m_view) m_view->OnKillFocus();
  CaretChanged();
}

// ---- Cursor, measuring, closing, the child frame -----------------------------------------

void KViewWidget::SetCursorId(int id) {
  m_cursorId = id;
  // The symbol cursors come with the mouse road; until then a cross shows
  // that a click would place something, the arrow that it would not.
  viewport()->setCursor(id == 0 ? Qt::ArrowCursor : Qt::CrossCursor);
}

CDC* KViewWidget::GetMeasureDC() {
  m_measureDC = std::make_unique<KQtImageDC>(m_measureImage);
  return m_measureDC.get();
}

void KViewWidget::PostCloseDocument() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (m_closeDocument) {
          m_closeDocument();
        } else if (QWidget* window = ChildFrameWindow()) {
          window->close();
        }
      },
      Qt::QueuedConnection);
}

QWidget* KViewWidget::ChildFrameWindow() const {
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) return sub;
  }
  return nullptr;
}

void KViewWidget::PlaceChildFrame(int x, int y, int width, int height) {
  if (QWidget* window = ChildFrameWindow())
    window->setGeometry(x, y, std::max(0, width), std::max(0, height));
}

RECT KViewWidget::GetChildFrameRect() const {
  if (const QWidget* window = ChildFrameWindow()) {
    const QRect g = window->geometry();
    return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  }
  return RECT{0, 0, width(), height()};
}
