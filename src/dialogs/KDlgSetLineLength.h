#pragma once
// KDlgSetLineLength: "Set Constant Staff Length" (template 5502), opened by
// Actions/Set Staff Length: a fixed length (from one of five sources) or no
// constraint, which lines get it, whether it becomes the default of new
// lines, and whether the music is then spaced evenly and wrapped.

#include "platform/ModalDialog.h"

class KDlgSetLineLength : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5502;
  static constexpr UINT kIdFixed = 1400;
  static constexpr UINT kIdNoConstraint = 1401;
  static constexpr UINT kIdSameAsLine = 1403;
  static constexpr UINT kIdWindowWidth = 1404;
  static constexpr UINT kIdCaret = 1405;
  static constexpr UINT kIdAfterLast = 1406;
  static constexpr UINT kIdUser = 1407;
  static constexpr UINT kIdUserLength = 1409;
  static constexpr UINT kIdCurrentOnly = 1411;
  static constexpr UINT kIdFromCurrent = 1412;
  static constexpr UINT kIdAllLines = 1413;
  static constexpr UINT kIdLineLengthText = 1415;
  static constexpr UINT kIdWindowWidthText = 1416;
  static constexpr UINT kIdHelp = 1417;
  static constexpr UINT kIdMakeDefault = 1418;
  static constexpr UINT kIdAutoWrap = 1419;
  static constexpr UINT kIdEvenSpace = 1420;
  static constexpr UINT kIdSourceBox = 40001;
  static constexpr UINT kIdRangeBox = 40002;
  static constexpr UINT kIdPixelsNote = 40003;

  static constexpr int kSourceSameAsLine = 0;
  static constexpr int kSourceWindow = 1;
  static constexpr int kSourceCaret = 2;
  static constexpr int kSourceAfterLast = 3;
  static constexpr int kSourceUser = 4;
  static constexpr int kRangeCurrent = 0;
  static constexpr int kRangeFromCurrent = 1;
  static constexpr int kRangeAll = 2;
  static constexpr int kMaxUserLength = 30000;

  KDlgSetLineLength() : KModalDialog(kTemplateId) {}

  // Typing a length chooses "User set length"; choosing a source other than
  // the caret or the last symbol chooses a fixed length.
  void OnUserLengthChanged();
  void OnSourceChosen(UINT id);
  void OnHelp();

  int fixed = -1;      // 0 fixed, 1 no constraint
  int source = -1;     // 0..4
  int userLength = 0;  // 0..30000 pixels
  int range = -1;      // 0 current or selected, 1 from current onward, 2 all
  int makeDefault = 0;
  int autoWrap = 0;
  int evenSpace = 0;
  CString lineLengthText;   // "(123)" or "N/A"
  CString windowWidthText;  // "(800)"

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
