#pragma once
// The UI port of the Qt shell: message boxes are QMessageBoxes with the
// string table's text, beeps are the desktop's beep, and dialog models run
// through the dialog runner that the dialog binder installs.

#include "platform/UiPort.h"

#include <QMessageBox>
#include <functional>

class QWidget;

class KQtUiPort : public UiPort {
 public:
  // Builds and runs the window of a dialog model; returns its end code.
  using DialogRunner = std::function<int(KModalDialog& dialog, QWidget* parent)>;

  int ShowMessageBox(const MessageBoxRequest& request) override;
  void Beep(UINT type) override;
  // Without a dialog runner the dialog cannot be shown: it is cancelled.
  int RunModal(KModalDialog& dialog) override;

  void SetDialogRunner(DialogRunner runner) { m_dialogRunner = std::move(runner); }

  // The message box's icon for a message-box type.
  static QMessageBox::Icon IconOf(UINT type);

 private:
  DialogRunner m_dialogRunner;
};
