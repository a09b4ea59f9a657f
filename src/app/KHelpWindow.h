#pragma once
// A help page of the Help menu shown beside the score: the window stays open
// while the user goes on working (it does not hold the program as a modal
// dialog would), and its OK asks its owner, the main frame, to close it.

#include <QObject>
#include <functional>
#include <memory>

class KDlgHelpPage;
class KQtDialogBinder;
class QDialog;
class QWidget;

class KHelpWindow {
 public:
  // onClose: the frame's closing of the window; runs after the window has
  // finished (OK, Escape or the close box), never inside its own handler.
  KHelpWindow(std::unique_ptr<KDlgHelpPage> page, QWidget* parent, std::function<void()> onClose);
  ~KHelpWindow();
  KHelpWindow(const KHelpWindow&) = delete;
  KHelpWindow& operator=(const KHelpWindow&) = delete;

  QDialog& Window();
  const KDlgHelpPage& Page() const { return *m_page; }

 private:
  std::unique_ptr<KDlgHelpPage> m_page;
  std::unique_ptr<KQtDialogBinder> m_binder;
};
