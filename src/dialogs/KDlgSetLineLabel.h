#pragma once
// KDlgSetLineLabel: a new label for the current or selected lines, or for
// every line of the current line's kind that carries its label.

#include "platform/ModalDialog.h"

class KDlgSetLineLabel : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5522;
  static constexpr UINT kIdTypeName = 1374;
  static constexpr UINT kIdNewLabel = 1375;
  static constexpr UINT kIdOldLabel = 1376;
  static constexpr UINT kIdSelected = 1377;
  static constexpr UINT kIdAll = 1378;
  static constexpr UINT kIdHelp = 1417;
  static constexpr UINT kIdNewLabelLabel = 40001;
  static constexpr UINT kIdWithLabel = 40002;
  static constexpr int kMaxLabelChars = 32;

  KDlgSetLineLabel() : KModalDialog(kTemplateId) {}

  CString newLabel;
  CString oldLabel;  // shown: the current line's label, or "  - unlabeled -"
  CString typeName;  // shown: the current line's kind
  int scope = -1;    // 0 the current or selected lines, 1 all lines of the kind with the old label

  BOOL OnInitDialog() override;
  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
