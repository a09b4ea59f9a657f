#pragma once
// The model of the Autosave dialog (template 5513, "Autosave..."), which
// File/Auto Save fills and reads back: whether and how often the score is
// saved by itself, whether a backup copy is made at the start of every
// editing session, and whether the settings become those of new scores.

#include "platform/ModalDialog.h"
#include "platform/UiPort.h"

class KAutoSaveDialog : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5513;
  static constexpr int kMinInterval = 1;
  static constexpr int kMaxInterval = 1000;
  // Control ids, for the window built from the model.
  static constexpr UINT kIdInterval = 1516;
  static constexpr UINT kIdMinutes = 1512;
  static constexpr UINT kIdCharacters = 1513;
  static constexpr UINT kIdAutosave = 1511;
  static constexpr UINT kIdDontAutosave = 1510;
  static constexpr UINT kIdNewFiles = 1514;
  static constexpr UINT kIdBackup = 1515;

  KAutoSaveDialog() : KModalDialog(kTemplateId) {}

  // The interval outside 1 to 1000 is refused with the range message and the
  // dialog stays open.
  bool OnOK() override {
    if (interval < kMinInterval || interval > kMaxInterval) {
      AfxMessageBox("Please enter an integer between 1 and 1000.", MB_ICONEXCLAMATION);
      return false;
    }
    return true;
  }

  int interval = 0;  // minutes or characters
  int unit = -1;     // 0 minutes elapsed, 1 characters entered
  int choice = -1;   // 0 autosave, 1 don't autosave
  int newFiles = 0;  // the settings become the defaults of new scores
  int backup = 0;    // a backup copy at the start of each editing session
};
