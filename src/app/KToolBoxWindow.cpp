#include "app/KToolBoxWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/CMainFrame.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtText.h"

namespace {

unsigned FlagsOf(Qt::KeyboardModifiers modifiers) {
  unsigned flags = 0;
  if ((modifiers & Qt::ShiftModifier) != 0) flags |= kToolBoxShift;
  if ((modifiers & Qt::ControlModifier) != 0) flags |= kToolBoxControl;
  return flags;
}

// A mark's picture with its white left out, so the picture shows around it.
QImage MarkImage(const CBitmap& bitmap) {
  QImage mark = BitmapToQImage(bitmap).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < mark.height(); ++y)
    for (int x = 0; x < mark.width(); ++x)
      if ((mark.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) mark.setPixel(x, y, qRgba(0, 0, 0, 0));
  return mark;
}

}  // namespace

KToolBoxWindow::KToolBoxWindow(int slot, int kind, int lineClass, CMainFrame& frame)
    : QWidget(&frame, Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_slot(slot),
      m_frame(frame),
      m_box(std::make_unique<KToolBox>(kind, lineClass, *this)) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
  setObjectName(QStringLiteral("ToolBox%1").arg(slot));
  m_clickTimer.setSingleShot(true);
  connect(&m_clickTimer, &QTimer::timeout, this, [this] { RunClick(m_pending, false); });
}

KToolBoxWindow::~KToolBoxWindow() = default;

bool KToolBoxWindow::Create(const KToolBoxState& state) {
  if (!m_box->CreatePalette(state)) return false;
  const SIZE size = m_box->ClientSize();
  setFixedSize(size.cx, size.cy);
  return true;
}

void KToolBoxWindow::Place(QPoint topLeft) {
  move(topLeft);
  show();
  m_placed = true;
}

void KToolBoxWindow::ResizeClient(SIZE client) {
  setFixedSize(client.cx, client.cy);
  update();
}

void KToolBoxWindow::SetCaption(const CString& text) { setWindowTitle(ToQString(text.Str())); }

void KToolBoxWindow::Pick(int code, int boxKind, int noteValue, int string, int fret) {
  m_frame.PickFromToolBox(code, boxKind, noteValue, string, fret);
}

void KToolBoxWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  const QImage picture = BitmapToQImage(m_box->Picture());
  p.drawImage(0, 0, picture);
  const QImage strip = BitmapToQImage(m_box->LabelStrip());
  if (!strip.isNull()) p.drawImage(0, picture.height(), strip);
  // The current symbol, the note style and the modes that are on.
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  for (const RECT& r : m_box->InvertedRects(m_frame.ToolBoxState()))
    p.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), Qt::white);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const std::vector<KInstrumentMark>& marks = m_box->Marks();
  if (!marks.empty()) {
    const QImage mark = MarkImage(m_box->MarkPicture());
    for (const KInstrumentMark& m : marks) p.drawImage(m.x, m.y, mark);
  }
}

void KToolBoxWindow::RunClick(const Click& click, bool doubleClick) {
  const KToolBoxState state = m_frame.ToolBoxState();
  if (click.button == 1) {
    if (doubleClick) {
      m_box->OnLButtonDblClk(click.x, click.y, click.flags, state);
    } else {
      m_box->OnLButtonDown(click.x, click.y, click.flags, state);
    }
  } else if (doubleClick) {
    m_box->OnRButtonDblClk(click.x, click.y, click.flags, state);
  } else {
    m_box->OnRButtonDown(click.x, click.y, click.flags, state);
  }
}

void KToolBoxWindow::mousePressEvent(QMouseEvent* event) {
  const int button = event->button() == Qt::LeftButton ? 1 : event->button() == Qt::RightButton ? 2 : 0;
  if (button == 0) return;
  const Click click{button, event->position().toPoint().x(), event->position().toPoint().y(),
                    FlagsOf(event->modifiers())};
  event->accept();
  if (m_clickTimer.isActive()) {
    // Another button's click ends the wait: the first one was single.
    m_clickTimer.stop();
    RunClick(m_pending, false);
  }
  if (m_box->DefersSingleClicks()) {
    m_pending = click;
    m_clickTimer.start(QApplication::doubleClickInterval());
    return;
  }
  RunClick(click, false);
}

void KToolBoxWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const int button = event->button() == Qt::LeftButton ? 1 : event->button() == Qt::RightButton ? 2 : 0;
  if (button == 0) return;
  event->accept();
  const Click click{button, event->position().toPoint().x(), event->position().toPoint().y(),
                    FlagsOf(event->modifiers())};
  if (m_clickTimer.isActive()) {
    m_clickTimer.stop();
    if (m_pending.button != button) RunClick(m_pending, false);
  }
  RunClick(click, true);
}

void KToolBoxWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  m_box->OnMouseMove(at.x(), at.y(), rect().contains(at), m_frame.ToolBoxState());
}

void KToolBoxWindow::leaveEvent(QEvent*) { m_box->OnNcMouseMove(); }

void KToolBoxWindow::moveEvent(QMoveEvent*) {
  if (m_placed && isVisible()) m_frame.ToolBoxMoved(m_slot, pos());
}

void KToolBoxWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  m_frame.ToolBoxClosedByUser(m_slot);
}
