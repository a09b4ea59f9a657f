#pragma once
// KDlgSetBarNum: the number of the first bar of the current line (and of the
// other staff and tablature lines of its group): 0 lets the number follow the
// bars before it, -1 makes the first bar a pickup and the second bar 1.

#include "platform/ModalDialog.h"

class KDlgSetBarNum : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5562;
  static constexpr UINT kIdBarNumber = 32070;
  static constexpr UINT kIdHelp = 32071;
  static constexpr UINT kIdIntro = 40001;
  static constexpr UINT kIdLabel = 40002;
  static constexpr UINT kIdExplanation = 40003;

  KDlgSetBarNum() : KModalDialog(kTemplateId) {}

  int barNumber = 0;

  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
