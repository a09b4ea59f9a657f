#include "app/KPlayMidiWindow.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "app/CMainFrame.h"
#include "platform/qt/KQtDialogBinder.h"
#include "view/CStavlinView.h"
#include "view/play/ViewPlayer.h"

namespace {
// The window's corner inside the main window's top right.
constexpr int kRightInset = 4;
constexpr int kTopInset = 2;
}  // namespace

KPlayMidiWindow::KPlayMidiWindow(CMainFrame& frame, const KPlayParams& params)
    : m_frame(frame),
      m_model(std::make_unique<KDlgPlayMidi>(params, this)),
      m_binder(std::make_unique<KQtDialogBinder>(*m_model, &frame)) {}

KPlayMidiWindow::~KPlayMidiWindow() {
  // The model goes first: it unbinds from its score and stops calling back.
  m_model->SetChangeHandler(nullptr);
  for (QWidget* widget : Window().findChildren<QWidget*>()) widget->removeEventFilter(this);
  Window().removeEventFilter(this);
  m_model.reset();
  m_binder.reset();
}

QDialog& KPlayMidiWindow::Window() { return m_binder->Window(); }

void KPlayMidiWindow::Show(KPlayMidiTarget* target) {
  m_binder->Open();
  m_model->AttachView(target);
  m_model->SetChangeHandler([this] { m_binder->Refresh(); });
  m_binder->Refresh();
  QDialog& window = Window();
  window.setModal(false);
  window.installEventFilter(this);
  for (QWidget* widget : window.findChildren<QWidget*>()) widget->installEventFilter(this);
  window.adjustSize();
  const QRect frame = m_frame.frameGeometry();
  window.move(frame.right() - kRightInset - window.frameGeometry().width(), frame.top() + kTopInset);
  window.show();
  window.raise();
}

void KPlayMidiWindow::Hide() { Window().hide(); }

KPlayMidiTarget* KPlayMidiWindow::GetActivePlayTarget() {
  CStavlinView* view = m_frame.GetActiveScoreView();
  return view != nullptr ? &view->Player() : nullptr;
}

void KPlayMidiWindow::ClosePlayMidiDialog() { m_frame.ClosePlayMidiDialog(); }

bool KPlayMidiWindow::eventFilter(QObject* watched, QEvent* event) {
  if (m_model == nullptr || !m_model->IsPlaying()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress: {
      const QString text = static_cast<QKeyEvent*>(event)->text();
      const int character = text.size() == 1 ? text.at(0).unicode() : 0;
      m_model->OnKeyWhilePlaying(character);
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return true;
      // A click on the window stops the music (and presses nothing).
      m_model->OnPlay();
      return true;
    case QEvent::MouseButtonRelease:
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}
