#pragma once
// KDlgRemoveWhat: asked when a deleted line belongs to a line group whose
// lines are all empty: does only that line leave the group, or does the
// whole group go with its lines? The dialog has no data; DoModal answers the
// id of the button that closed it (IDCANCEL for Cancel and Escape). Help
// opens its help page and leaves the dialog open.

#include "platform/ModalDialog.h"

class KDlgRemoveWhat : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5510;
  static constexpr int kRemoveLine = 1475;
  static constexpr int kHelp = 1476;
  static constexpr int kRemoveGroup = 1477;
  // The icon and the question, which have no id of their own in the template.
  static constexpr UINT kIdIcon = 40001;
  static constexpr UINT kIdQuestion = 40002;

  KDlgRemoveWhat() : KModalDialog(kTemplateId) {}

  static const char* Caption() { return "Remove What?"; }
  static const char* Question() { return "What do you want to remove?"; }
  // The caption of a button ('&' marks the mnemonic); empty for another id.
  static const char* ButtonText(int buttonId);

  // The buttons' handlers: the end code each command button closes with.
  static int OnRemoveLine() { return kRemoveLine; }
  static int OnRemoveGroup() { return kRemoveGroup; }
  // Help: shows the dialog's help page; the dialog stays open.
  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
