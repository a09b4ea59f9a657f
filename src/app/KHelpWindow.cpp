#include "app/KHelpWindow.h"

#include <QDialog>
#include <QTimer>

#include "dialogs/KDlgHelpWindows.h"
#include "platform/qt/KQtDialogBinder.h"

KHelpWindow::KHelpWindow(std::unique_ptr<KDlgHelpPage> page, QWidget* parent, std::function<void()> onClose)
    : m_page(std::move(page)), m_binder(std::make_unique<KQtDialogBinder>(*m_page, parent)) {
  m_binder->Open();
  QDialog& window = m_binder->Window();
  window.setModal(false);
  QObject::connect(&window, &QDialog::finished, &window, [onClose = std::move(onClose), &window](int) {
    // The window is deleted with this object: not while its signal runs.
    QTimer::singleShot(0, window.parentWidget(), onClose);
  });
  window.show();
}

KHelpWindow::~KHelpWindow() = default;

QDialog& KHelpWindow::Window() { return m_binder->Window(); }
