#pragma once
// KDlgGoTo: "Go To..." (template 5519), opened by Edit/Go To. Shows where the
// caret stands (three counts) and takes the line or bar to go to, which lines
// count, and whether a line group counts once.

#include "platform/ModalDialog.h"

class KDlgGoTo : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5519;
  static constexpr UINT kIdAbsolute = 1570;
  static constexpr UINT kIdAbsoluteByType = 1571;
  static constexpr UINT kIdLine = 1572;
  static constexpr UINT kIdBar = 1573;
  static constexpr UINT kIdNumber = 1574;
  static constexpr UINT kIdTypeFirst = 1575;  // ..1589, radio 0..14
  static constexpr UINT kIdScoreByType = 1590;
  static constexpr UINT kIdCountAsScore = 1591;
  static constexpr UINT kIdHelp = 1592;
  static constexpr UINT kIdNumberLabel = 40001;
  static constexpr UINT kIdTypeBox = 40002;
  static constexpr UINT kIdPositionBox = 40003;
  static constexpr UINT kIdScoreNote = 40004;
  static constexpr int kTypeCount = 15;
  static constexpr int kMaxNumber = 10000;

  KDlgGoTo() : KModalDialog(kTemplateId) {}

  // The line type code of each radio of "Line Type to Count" (8: all lines).
  static int TypeOfRadio(int radio);
  static int RadioOfType(int type);

  void OnHelp();

  int number = 0;        // 1..10000
  int lineOrBar = -1;    // 0 line, 1 bar
  int typeRadio = -1;    // 0..14
  int countAsScore = 0;  // a line group counts as one line
  CString absolute;      // the current position, three ways
  CString absoluteByType;
  CString scoreByType;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
