#include "view/qt/KViewWidget.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "common/Globals.h"
#include "model/KLineObj.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/QtText.h"
#include "view/CStavlinView.h"
#include "view/input/ViewMouseCodes.h"

namespace {

QRect ToQRect(const RECT& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// The framework's SIZE_RESTORED.
constexpr UINT kSizeRestored = 0;
// The window background the view draws on.
constexpr QRgb kWindowColour = 0xFFFFFFFF;
// The caret's slot mark on note lines: half its thickness, and its colour.
constexpr int kSlotMarkHalf = 1;
const QColor kSlotMarkColour(0, 102, 204);

}  // namespace

KViewWidget::KViewWidget(CStavlinDoc* document, KFrameServices* frame, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_frame(frame),
      m_measureImage(1, 1, QImage::Format_RGB32),
      m_keys(QGuiApplication::platformName() == QLatin1String("xcb")) {
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
    CaretChanged(false);
  });
  m_view = std::make_unique<CStavlinView>(document, this);
  m_tracker = std::make_unique<KQtTracker>(*m_view);
  // Moves without a button held choose the cursor and show the hover marks.
  viewport()->setMouseTracking(true);
  // The scroll bars' arrows, pages and ends are requests to the view; a
  // dragged thumb lands on a line when it is let go.
  QObject::connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
                   [this](int action) { ScrollBarAction(Qt::Vertical, action); });
  QObject::connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
                   [this](int action) { ScrollBarAction(Qt::Horizontal, action); });
  QObject::connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this, [this] {
    if (m_view) m_view->OnVScroll(SB_THUMBPOSITION, static_cast<UINT>(verticalScrollBar()->value()));
  });
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
  // A line typed at its end widens the score a column a key: the horizontal
  // range grows in whole steps, so that the bar is not repainted for every
  // key (the score scrolls a little past its widest line at most).
  const int wide = std::max(0, static_cast<int>(m_total.cx) - size.width());
  h->setRange(0, wide == 0 ? 0 : (wide + kWidthStep - 1) / kWidthStep * kWidthStep);
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
  // QScrollBar clamps to its range, as the framework's scroll view does; a
  // position that changes moves the picture (scrollContentsBy).
  m_scrollingFromView = true;
  horizontalScrollBar()->setValue(position.x);
  verticalScrollBar()->setValue(position.y);
  m_scrollingFromView = false;
}

void KViewWidget::scrollContentsBy(int dx, int dy) {
  // What stays in the window moves with the score, as a window scroll does;
  // only the strip that comes into view is painted. Parts waiting to be
  // repainted are repainted where they were and where they moved to, and the
  // caret and the tracker's frame, drawn over the picture, do not move with
  // it.
  QWidget* port = viewport();
  const QRect whole = port->rect();
  if (std::abs(dx) >= whole.width() || std::abs(dy) >= whole.height() || m_tracker == nullptr ||
      m_tracker->Dragging()) {
    port->update();
  } else {
    const QRegion pending = m_pendingPaint;
    port->scroll(dx, dy);
    m_pendingPaint = pending + pending.translated(dx, dy);
    if (!m_pendingPaint.isEmpty()) port->update(m_pendingPaint);
    if (!m_caretPainted.isEmpty()) port->update(m_caretPainted.translated(dx, dy));
    if (m_view && m_view->m_selectedExtObj != nullptr) port->update();
  }
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
  QPoint delta = event->angleDelta();
  // Shift turns the wheel sideways.
  if (event->modifiers() & Qt::ShiftModifier) delta = QPoint(delta.y(), delta.x());
  if (delta.isNull() || !m_view) {
    event->ignore();
    return;
  }
  // Whole notches; the finer steps of a touchpad add up to them.
  m_wheelRest += QPoint(delta.x(), delta.y());
  const int notchesX = m_wheelRest.x() / WHEEL_DELTA;
  const int notchesY = m_wheelRest.y() / WHEEL_DELTA;
  m_wheelRest -= QPoint(notchesX * WHEEL_DELTA, notchesY * WHEEL_DELTA);
  const QPoint at = event->position().toPoint();
  const UINT flags = (event->modifiers() & Qt::ControlModifier ? MK_CONTROL : 0) |
                     (event->modifiers() & Qt::ShiftModifier ? MK_SHIFT : 0);
  // Each notch moves the score by one display line.
  for (int i = 0; i < std::abs(notchesY) && m_view; ++i) {
    const short notch = notchesY > 0 ? WHEEL_DELTA : static_cast<short>(-WHEEL_DELTA);
    m_view->OnMouseWheel(flags, notch, POINT{at.x(), at.y()});
  }
  const int lineX = std::max(1, horizontalScrollBar()->singleStep());
  if (notchesX != 0) ScrollBy(-notchesX * kWheelLines * lineX, 0);
  event->accept();
}

void KViewWidget::ScrollBarAction(Qt::Orientation orientation, int action) {
  if (!m_view) return;
  UINT code = SB_ENDSCROLL;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = SB_TOP;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = SB_BOTTOM;
      break;
    default:
      return;  // the thumb follows the mouse; its release decides
  }
  // The bar keeps its value; the view scrolls it where the request lands.
  QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
  bar->setSliderPosition(bar->value());
  if (orientation == Qt::Vertical) {
    m_view->OnVScroll(code, 0);
  } else {
    m_view->OnHScroll(code, 0);
  }
}

// ---- Mouse ---------------------------------------------------------------------------

namespace {

// The key-state flags of a mouse message.
UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  UINT flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

POINT WindowPoint(const QMouseEvent& event) {
  const QPoint at = event.position().toPoint();
  return POINT{at.x(), at.y()};
}

}  // namespace

void KViewWidget::mousePressEvent(QMouseEvent* event) {
  if (!m_view) return;
  const UINT flags = MouseFlags(event->buttons(), event->modifiers());
  QPointer<KViewWidget> alive(this);
  if (event->button() == Qt::LeftButton) {
    // A release reaches only the window that had its press, so a press here
    // is the user's own click and the view acts on it.
    m_view->m_mouseArmed = 1;
    m_view->OnLButtonDown(flags, WindowPoint(*event));
  } else if (event->button() == Qt::RightButton) {
    m_view->OnRButtonDown(flags, WindowPoint(*event));
  } else {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  if (alive) AfterMouseInput();
  event->accept();
}

void KViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_view) return;
  const UINT flags = MouseFlags(event->buttons(), event->modifiers());
  QPointer<KViewWidget> alive(this);
  if (event->button() == Qt::LeftButton) {
    m_view->OnLButtonUp(flags, WindowPoint(*event));
  } else if (event->button() == Qt::RightButton) {
    m_view->OnRButtonUp(flags, WindowPoint(*event));
  } else {
    QAbstractScrollArea::mouseReleaseEvent(event);
    return;
  }
  if (alive) AfterMouseInput();
  event->accept();
}

void KViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click; its release comes as an ordinary
  // release. The first click has acted already: the double click builds on
  // the caret it placed, so no click waits to see whether a second follows.
  if (!m_view) return;
  const UINT flags = MouseFlags(event->buttons(), event->modifiers());
  QPointer<KViewWidget> alive(this);
  if (event->button() == Qt::LeftButton) {
    m_view->OnLButtonDblClk(flags, WindowPoint(*event));
  } else if (event->button() == Qt::RightButton) {
    m_view->OnRButtonDblClk(flags, WindowPoint(*event));
  } else {
    QAbstractScrollArea::mouseDoubleClickEvent(event);
    return;
  }
  if (alive) AfterMouseInput();
  event->accept();
}

void KViewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!m_view) return;
  const POINT at = WindowPoint(*event);
  m_view->OnSetCursor(at);
  m_view->OnMouseMove(MouseFlags(event->buttons(), event->modifiers()), at);
  event->accept();
}

void KViewWidget::contextMenuEvent(QContextMenuEvent* event) {
  // The right button places the caret (press and release above); the view
  // has no menu of its own.
  event->accept();
}

void KViewWidget::AfterMouseInput() {
  if (m_frame != nullptr) m_frame->AfterViewInput();
}

bool KViewWidget::viewportEvent(QEvent* event) {
  const QEvent::Type type = event->type();
  const bool mouse =
      type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
  if (!mouse || !m_view || !m_tracker) return QAbstractScrollArea::viewportEvent(event);
  auto* press = static_cast<QMouseEvent*>(event);
  const POINT scroll = GetScrollPosition();
  const QPoint at = press->position().toPoint();
  const POINT page{at.x() + scroll.x, at.y() + scroll.y};
  const bool left = press->button() == Qt::LeftButton;
  CStavlinView& view = *m_view;
  // The clicks of an Insert/Extended Object placement.
  if (view.m_extClicksWanted > 0 && left && type == QEvent::MouseButtonPress) {
    view.OnExtObjPlacementPress(page);
    viewport()->update();
    return true;
  }
  if (view.m_extClicksWanted > 0 && left && type == QEvent::MouseButtonRelease) {
    view.OnExtObjPlacementRelease();
    viewport()->update();
    return true;
  }
  // The selected object's frame and handles.
  if (type == QEvent::MouseButtonPress && left && view.m_selectedExtObj != nullptr &&
      m_tracker->Press(page)) {
    viewport()->update();
    return true;
  }
  if (m_tracker->Dragging()) {
    if (type == QEvent::MouseMove) m_tracker->Move(page);
    if (type == QEvent::MouseButtonRelease && left) m_tracker->Release(page);
    viewport()->update();
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
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
    m_pendingPaint = viewport()->rect();
    viewport()->update();
  } else if (rect->right > rect->left && rect->bottom > rect->top) {
    const QRect area = ToQRect(*rect) & viewport()->rect();
    m_pendingPaint += area;
    viewport()->update(area);
  }
}

void KViewWidget::paintEvent(QPaintEvent* event) {
  m_pendingPaint -= event->region();
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
    PaintLedgerHint(dc);
  }

  QPainter painter(viewport());
  painter.drawImage(dirty, m_backing, dirty);
  if (m_view && m_tracker) {
    const POINT scroll = GetScrollPosition();
    m_tracker->Paint(painter, QPoint(scroll.x, scroll.y));
  }
  // The caret over the picture, inverting what it covers, and on a note line
  // its slot mark in the caret colour, so that the caret stands out among the
  // staff lines and the notes.
  m_caretPainted = QRect();
  // While the music plays the caret follows it, steady, wherever the focus
  // is; so does the caret the play window's transport buttons move.
  const bool playing = m_view != nullptr && m_view->ShowsCaretForPlay();
  if (m_caret.IsVisible() && ((m_blinkOn && hasFocus()) || playing)) {
    const QRect caret = ToQRect(m_caret.GetRect());
    const QRect mark = SlotMark();
    if (!mark.isEmpty()) painter.fillRect(mark, kSlotMarkColour);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(caret, Qt::white);
    m_caretPainted = caret.united(mark);
  }
}

QRect KViewWidget::SlotMark() const {
  if (!m_view || !m_caret.Exists()) return QRect();
  const int family = m_view->GetCurrentFamily();
  if (family != KLineObj::kFamilyStaff && family != KLineObj::kFamilyTab) return QRect();
  const QRect caret = ToQRect(m_caret.GetRect());
  const int size = m_view->GetSizeIndex() != 0 ? 1 : 0;
  // Across the column from the caret, through the middle of the caret.
  const int middle = caret.top() + caret.height() / 2;
  return QRect(caret.left(), middle - kSlotMarkHalf, g_NoteColumnWidth[size] - 1, 2 * kSlotMarkHalf);
}

void KViewWidget::CaretChanged(bool restartBlink) {
  if (!m_caretPainted.isEmpty()) viewport()->update(m_caretPainted);
  if (m_caret.IsVisible()) {
    viewport()->update(ToQRect(m_caret.GetRect()).united(SlotMark()));
    if (restartBlink || !m_blink.isActive()) {
      m_blinkOn = true;
      m_blink.start();
    }
  } else {
    m_blink.stop();
  }
}

// ---- Focus ---------------------------------------------------------------------------

void KViewWidget::TakeFocus() {
  activateWindow();
  setFocus(Qt::OtherFocusReason);
  // When the widget already is its window's focus, no focus event comes: the
  // caret that play took over is set up again here.
  QTimer::singleShot(0, this, [this] {
    if (!hasFocus() || !m_view) return;
    m_view->OnSetFocus();
    CaretChanged();
  });
}

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
  if (id == m_cursorId && viewport()->testAttribute(Qt::WA_SetCursor)) return;
  m_cursorId = id;
  viewport()->setCursor(m_cursors.Get(id));
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

CString KViewWidget::GetWindowTitle() const {
  const QWidget* window = ChildFrameWindow();
  if (window == nullptr) return {};
  // The framework's mark of a changed document is not part of the name.
  QString title = window->windowTitle();
  title.remove(QStringLiteral("[*]"));
  return CString(FromQString(title.trimmed()).c_str());
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
