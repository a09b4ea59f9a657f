#pragma once
// The window of the recording dialog (KDlgInputMidi): the dialog model in a
// modeless window built by the dialog binder, placed 2 pixels right of and
// below the main window's top-left corner, talking to the program through
// the view layer's KLiveInputLink.

#include <memory>

#include "dialogs/KDlgInputMidi.h"
#include "view/midi/LiveInputLink.h"

class CMainFrame;
class KQtDialogBinder;
class QDialog;

class KInputMidiWindow final {
 public:
  explicit KInputMidiWindow(CMainFrame& frame);
  ~KInputMidiWindow();
  KInputMidiWindow(const KInputMidiWindow&) = delete;
  KInputMidiWindow& operator=(const KInputMidiWindow&) = delete;

  void Show();
  void Hide();

  KDlgInputMidi& Model() { return *m_model; }
  KQtDialogBinder& Binder() { return *m_binder; }
  QDialog& Window();

 private:
  CMainFrame& m_frame;
  KLiveInputLink m_link;
  std::unique_ptr<KDlgInputMidi> m_model;
  std::unique_ptr<KQtDialogBinder> m_binder;
};
