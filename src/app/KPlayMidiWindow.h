#pragma once
// The window of the play dialog (KDlgPlayMidi): the dialog model in a
// modeless window built by the dialog binder, placed at the top right of the
// main window. While the music plays, a click anywhere on the window and
// the keys s, S and space stop it (other keys do nothing); the window
// follows the model's changes (the elapsed time, the Play button's text).

#include <QObject>
#include <memory>

#include "dialogs/KDlgPlayMidi.h"

class CMainFrame;
class KQtDialogBinder;
class QDialog;

class KPlayMidiWindow final : public QObject, public KPlayMidiOwner {
 public:
  KPlayMidiWindow(CMainFrame& frame, const KPlayParams& params);
  ~KPlayMidiWindow() override;
  KPlayMidiWindow(const KPlayMidiWindow&) = delete;
  KPlayMidiWindow& operator=(const KPlayMidiWindow&) = delete;

  // Opens the window bound to the target, at the main window's top right.
  void Show(KPlayMidiTarget* target);
  void Hide();

  KDlgPlayMidi& Model() { return *m_model; }
  KQtDialogBinder& Binder() { return *m_binder; }
  QDialog& Window();

  // KPlayMidiOwner
  KPlayMidiTarget* GetActivePlayTarget() override;
  void ClosePlayMidiDialog() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CMainFrame& m_frame;
  std::unique_ptr<KDlgPlayMidi> m_model;
  std::unique_ptr<KQtDialogBinder> m_binder;
};
