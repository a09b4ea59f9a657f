#pragma once
// KDlgSwitchNote: the question a note-value change asks when the selection
// holds notes of both voices (up and down stems). The dialog has three command
// buttons and Cancel; DoModal answers the id of the button that closed it, and
// each command button stands for one way of applying the new value.

#include "model/KListLine.h"
#include "platform/ModalDialog.h"

class KDlgSwitchNote : public KModalDialog {
 public:
  // The dialog's resource id.
  static constexpr UINT kTemplateId = 5523;
  // Its command buttons (and IDCANCEL).
  static constexpr int kChangeBoth = 1767;
  static constexpr int kSameOrientation = 1766;
  static constexpr int kKeepOrientation = 1768;
  // Help shows the dialog's help page and leaves the dialog open.
  static constexpr int kHelp = 1769;
  // The modes of the note-value change the buttons stand for.
  static constexpr int kModeBoth = KListLine::kVoiceModeBoth;
  static constexpr int kModeSame = KListLine::kVoiceModeSame;
  static constexpr int kModeKeep = KListLine::kVoiceModeKeep;
  // The icon and texts, which have no id of their own in the template.
  static constexpr UINT kIdIcon = 40001;
  static constexpr UINT kIdBothText = 40002;
  static constexpr UINT kIdHowText = 40003;

  KDlgSwitchNote() : KModalDialog(kTemplateId) {}

  // The caption of a command button ('&' marks the mnemonic); empty for any
  // other id.
  static const char* ButtonText(int buttonId);
  // The mode of a command button; 0 for Cancel and any other id.
  static int ModeOfButton(int buttonId);
  // Runs the dialog and answers the mode of the button chosen (0: Cancel), as
  // a note-value change over a range asks it (KListLine::SetNoteValueInRange).
  static int AskMode();
  // The Help button's handler.
  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
