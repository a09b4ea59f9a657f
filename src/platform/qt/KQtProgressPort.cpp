#include "platform/qt/KQtProgressPort.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/QtText.h"

KQtProgressPort::KQtProgressPort() = default;

KQtProgressPort::~KQtProgressPort() { Close(); }

void KQtProgressPort::Open(const CString& text) {
  ++m_depth;
  m_stop = false;
  if (m_box != nullptr) {
    SetText(text);
    return;
  }
  m_before = QApplication::activeWindow();
  if (m_before == nullptr) {
    // Between two windows (a settings window just closed): the main window.
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget->inherits("QMainWindow") && widget->isVisible()) m_before = widget;
  }
  m_box = new QProgressDialog(ToQString(text.Str()), QStringLiteral("&Stop MIDI Translation"), 0, 100,
                              m_before.data());
  m_box->setWindowTitle(QStringLiteral("In Progress..."));
  m_box->setAutoClose(false);
  m_box->setAutoReset(false);
  m_box->setMinimumDuration(0);
  m_box->setValue(0);
  QObject::connect(m_box, &QProgressDialog::canceled, m_box, [this] { m_stop = true; });
  m_box->show();
  qApp->installEventFilter(this);
}

void KQtProgressPort::SetText(const CString& text) {
  if (m_box != nullptr) m_box->setLabelText(ToQString(text.Str()));
}

void KQtProgressPort::SetPercent(int percent) {
  if (m_box != nullptr) m_box->setValue(std::clamp(percent, 0, 100));
}

bool KQtProgressPort::PollStop() {
  if (m_box == nullptr) return false;
  QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return m_stop;
}

void KQtProgressPort::Close() {
  if (m_depth > 0) --m_depth;
  if (m_depth > 0 || m_box == nullptr) return;
  qApp->removeEventFilter(this);
  m_box->hide();
  m_box->deleteLater();
  m_box = nullptr;
  if (m_before != nullptr && m_before->isVisible()) {
    m_before->raise();
    m_before->activateWindow();
  }
  m_before = nullptr;
}

bool KQtProgressPort::InBox(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o == m_box) return true;
  }
  return false;
}

bool KQtProgressPort::eventFilter(QObject* watched, QEvent* event) {
  if (m_box == nullptr) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_S || key == Qt::Key_Space) m_stop = true;
      return !InBox(watched);
    }
    case QEvent::MouseButtonPress:
      if (InBox(watched)) {
        m_stop = true;
        return false;
      }
      return true;
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
      return !InBox(watched);
    default:
      return false;
  }
}
