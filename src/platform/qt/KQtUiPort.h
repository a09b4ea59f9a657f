#pragma once
// The UI port of the Qt shell: message boxes are QMessageBoxes with the
// string table's text, beeps are the desktop's beep, dialog models run in a
// window that the dialog binder builds from their controls (or through a
// runner installed in its place), the font dialog chooses a colour too,
// property sheets show their pages as tabs, and printing goes through Qt's
// print dialog and preview.

#include <QMessageBox>
#include <functional>

#include "platform/UiPort.h"

class QWidget;

class KQtUiPort : public UiPort {
 public:
  // Builds and runs the window of a dialog model; returns its end code.
  using DialogRunner = std::function<int(KModalDialog& dialog, QWidget* parent)>;

  int ShowMessageBox(const MessageBoxRequest& request) override;
  void Beep(UINT type) override;
  // Runs the installed runner, or else the dialog binder's window.
  int RunModal(KModalDialog& dialog) override;
  bool ChooseFontWithColour(LOGFONT& font, COLORREF& colour) override;
  // QFileDialog, without adding an extension or asking about an existing
  // file (the caller does both).
  bool GetSaveFileName(KSaveFileRequest& request) override;
  bool BrowseForFolder(const CString& title, CString& folder) override;
  // The pages in the tabs of one window (KQtPropertySheetBinder).
  int RunPropertySheet(KPropertySheet& sheet) override;
  // The print dialog or the print preview on the run's printer (KQtPrinting.h).
  bool Print(KPrintJob& job, KPrintKind kind) override;
  bool PrintSetup() override;
  std::unique_ptr<CDC> CreatePictureDC() override;

  void SetDialogRunner(DialogRunner runner) { m_dialogRunner = std::move(runner); }

  // The message box's icon for a message-box type.
  static QMessageBox::Icon IconOf(UINT type);

 private:
  DialogRunner m_dialogRunner;
};
