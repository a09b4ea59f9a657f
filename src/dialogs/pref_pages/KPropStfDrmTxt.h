#pragma once
// Preferences page 3, "All Staff Lines": staff length, bars, stems, wrapping,
// the vertical lines at the ends of staffs, and the staff-text and triplet
// fonts.

#include "platform/ModalDialog.h"

class KPropStfDrmTxt : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5531;
  static constexpr UINT kIdLeftMusic = 1902;
  static constexpr UINT kIdLeftTab = 1903;
  static constexpr UINT kIdRightMusic = 1904;
  static constexpr UINT kIdRightTab = 1905;
  static constexpr UINT kIdKeyboardBars = 1906;
  static constexpr UINT kIdTrebleTabBars = 1908;
  static constexpr UINT kIdStemNone = 1952;
  static constexpr UINT kIdAutoBars = 1954;
  static constexpr UINT kIdStaffLength = 1955;
  static constexpr UINT kIdFixedLength = 1956;
  static constexpr UINT kIdDrumDoubleBars = 1957;
  static constexpr UINT kIdExtentMarker = 1959;
  static constexpr UINT kIdBarWord = 1960;
  static constexpr UINT kIdKeepAligned = 1961;
  static constexpr UINT kIdStaffTextFont = 1962;
  static constexpr UINT kIdTripletFont = 1965;
  static constexpr UINT kIdWarnTiming = 1966;
  static constexpr UINT kIdAutoWrap = 1967;
  static constexpr UINT kIdRewrap = 1968;
  static constexpr UINT kIdJoinNone = 1971;
  static constexpr UINT kIdEvenSpacing = 32077;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdDrumTallBox = 41301;
  static constexpr UINT kIdStemInward = 41302;
  static constexpr UINT kIdStemOutward = 41303;
  static constexpr UINT kIdJoinTimeSignature = 41304;
  static constexpr UINT kIdJoin16x2 = 41305;
  static constexpr UINT kIdJoin16x3 = 41306;
  static constexpr UINT kIdJoin8x2 = 41307;
  static constexpr UINT kIdJoin8x3 = 41308;
  static constexpr UINT kIdLengthBox = 41310;
  static constexpr UINT kIdBarsBox = 41311;
  static constexpr UINT kIdStemBox = 41312;
  static constexpr UINT kIdJoinBox = 41313;
  static constexpr UINT kIdEndsBox = 41314;
  static constexpr UINT kIdDrumBox = 41315;
  static constexpr UINT kIdFontsBox = 41316;
  static constexpr UINT kIdLeftEndLabel = 41317;
  static constexpr UINT kIdRightEndLabel = 41318;

  KPropStfDrmTxt() : KModalDialog(kTemplateId) {}

  int fixedLength = 0;
  int staffLength = 0;
  int extentMarker = 0;
  int barWord = 0;
  int drumClefStyle = -1;
  int autoBars = 0;
  int warnTiming = 0;
  int autoStem = -1;
  int autoWrap = 0;
  int rewrapBelow = 0;
  int leftBarTab = 0;
  int leftBarMusic = 0;
  int rightBarTab = 0;
  int rightBarMusic = 0;
  int keyboardBars = 0;
  int keepBarsAligned = 0;
  int trebleTabBars = 0;
  int evenSpacing = 0;
  int autoJoin = -1;
  // The font texts of the two font buttons, filled by the sheet.
  CString staffTextFont;
  CString tripletFont;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
