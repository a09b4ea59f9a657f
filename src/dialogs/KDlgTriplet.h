#pragma once
// KDlgTriplet: the number shown on a triplet (tuplet) bracket and which way
// the bracket's ends point. The caller makes the object's text from them:
// "+" for Up or "-" for Down, then the text.

#include "platform/ModalDialog.h"

class KDlgTriplet : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5549;
  static constexpr UINT kIdText = 1490;
  static constexpr UINT kIdHelp = 1491;
  static constexpr UINT kIdDown = 1493;
  static constexpr UINT kIdUp = 1494;
  // Texts without an id in the template.
  static constexpr UINT kIdTextLabel = 40001;
  static constexpr UINT kIdEndsBox = 40002;
  static constexpr int kMaxTextChars = 15;
  static constexpr int kDown = 0;
  static constexpr int kUp = 1;

  KDlgTriplet() : KModalDialog(kTemplateId) {}

  void OnHelp();

  CString text;        // "3" for a new triplet
  int direction = -1;  // 0 down, 1 up, -1 neither chosen

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
