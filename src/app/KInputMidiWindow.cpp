#include "app/KInputMidiWindow.h"

#include <QDialog>

#include "app/CMainFrame.h"
#include "platform/qt/KQtDialogBinder.h"

namespace {
constexpr int kCornerInset = 2;
}  // namespace

KInputMidiWindow::KInputMidiWindow(CMainFrame& frame)
    : m_frame(frame),
      m_link(frame, [&frame] { frame.CloseInputMidiDialog(); }),
      m_model(std::make_unique<KDlgInputMidi>(LiveInputSettingsFromPreferences(), &m_link)),
      m_binder(std::make_unique<KQtDialogBinder>(*m_model, &frame)) {}

KInputMidiWindow::~KInputMidiWindow() {
  m_model->SetChangeHandler(nullptr);
  m_model.reset();
  m_binder.reset();
}

QDialog& KInputMidiWindow::Window() { return m_binder->Window(); }

void KInputMidiWindow::Show() {
  m_binder->Open();
  m_model->SetChangeHandler([this] { m_binder->Refresh(); });
  m_binder->Refresh();
  QDialog& window = Window();
  window.setModal(false);
  window.adjustSize();
  const QRect frame = m_frame.frameGeometry();
  window.move(frame.left() + kCornerInset, frame.top() + kCornerInset);
  window.show();
  window.raise();
}

void KInputMidiWindow::Hide() { Window().hide(); }
