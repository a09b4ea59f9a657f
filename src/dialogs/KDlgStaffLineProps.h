#pragma once
// KDlgStaffLineProps: the left indent of lines and the space above and below
// staff and tablature lines, for the current, selected or all lines, and
// optionally as the defaults of new lines of this score or of new scores.

#include "platform/ModalDialog.h"

class KDlgStaffLineProps : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5554;
  static constexpr UINT kIdSetIndent = 1380;
  static constexpr UINT kIdIndent = 1381;
  static constexpr UINT kIdIndentSelected = 1382;
  static constexpr UINT kIdIndentAll = 1383;
  static constexpr UINT kIdSetAbove = 1385;
  static constexpr UINT kIdAbove = 1386;
  static constexpr UINT kIdSetBelow = 1387;
  static constexpr UINT kIdBelow = 1388;
  static constexpr UINT kIdSpacingSelected = 1389;
  static constexpr UINT kIdSpacingAll = 1390;
  static constexpr UINT kIdMusical = 1391;
  static constexpr UINT kIdTab = 1392;
  static constexpr UINT kIdNewScores = 1396;
  static constexpr UINT kIdThisScore = 1397;
  static constexpr UINT kIdHelp = 1399;
  static constexpr UINT kIdPixels1 = 40001;
  static constexpr UINT kIdPixels2 = 40002;
  static constexpr UINT kIdPixels3 = 40003;
  static constexpr UINT kIdMusicalStandard = 40004;
  static constexpr UINT kIdTabStandard = 40005;
  static constexpr UINT kIdKindsLabel = 40006;

  KDlgStaffLineProps() : KModalDialog(kTemplateId) {}

  int thisScoreDefaults = 0;
  int setBelow = 0;
  int indent = 0;
  int spaceAbove = 0;
  int spaceBelow = 0;
  int spacingRange = 0;  // 0 current or selected lines, 1 all lines
  int musicalStaff = 0;
  int tabStaff = 0;
  int setIndent = 0;
  int setAbove = 0;
  int indentRange = 0;  // 0 current or selected lines, 1 all lines
  int newScoreDefaults = 0;

  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
