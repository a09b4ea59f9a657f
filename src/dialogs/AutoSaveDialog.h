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
  static constexpr int kMaxInterval = 255;
  // Control ids, for the window built from the model.
  static constexpr UINT kIdInterval = 1516;
  static constexpr UINT kIdMinutes = 1512;
  static constexpr UINT kIdCharacters = 1513;
  static constexpr UINT kIdAutosave = 1511;
  static constexpr UINT kIdDontAutosave = 1510;
  static constexpr UINT kIdNewFiles = 1514;
  static constexpr UINT kIdBackup = 1515;
  static constexpr UINT kIdHelp = 1517;
  // Texts and boxes without an id of their own in the template.
  static constexpr UINT kIdEveryText = 40001;
  static constexpr UINT kIdNewFilesNote = 40002;
  static constexpr UINT kIdBackupText = 40003;
  static constexpr UINT kIdSaveBox = 40004;
  static constexpr UINT kIdOptionsBox = 40005;

  KAutoSaveDialog() : KModalDialog(kTemplateId) {}

  // The Help button: the dialog's help page; the dialog stays open.
  void OnHelp();
  // The score keeps the interval in one byte, as characters or as
  // half-minutes: an interval above 255 characters or 127 minutes is refused
  // with the range message, and the dialog stays open.
  bool OnOK() override;
  static constexpr int kMaxCharacters = 255;
  static constexpr int kMaxMinutes = 127;

  int interval = 0;  // minutes (1..127) or characters (1..255)
  int unit = -1;     // 0 minutes elapsed, 1 characters entered
  int choice = -1;   // 0 autosave, 1 don't autosave
  int newFiles = 0;  // the settings become the defaults of new scores
  int backup = 0;    // a backup copy at the start of each editing session

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
