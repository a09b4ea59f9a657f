#pragma once
// KDlgPrintSizeAlert ("Printing Sheet Requirements..."): printing found the
// widest line a little wider than the sheet. The texts say how wide and what
// it takes; the buttons end the dialog with their own ids: continue as set,
// use the print size that fits in portrait, or in landscape; Cancel stops
// printing (its button is hidden when the opener allows no cancel).

#include "platform/ModalDialog.h"

class KDlgPrintSizeAlert : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5525;
  static constexpr UINT kIdWidestLine = 1300;
  static constexpr UINT kIdSheets = 1301;
  static constexpr UINT kIdPortraitSize = 1302;
  static constexpr UINT kIdLandscapeSize = 1303;
  static constexpr UINT kIdCurrentSize = 1304;
  static constexpr UINT kIdHelp = 1305;
  static constexpr UINT kIdContinue = 1306;
  static constexpr UINT kIdUsePortrait = 1297;
  static constexpr UINT kIdUseLandscape = 1298;
  // Texts without an id in the template.
  static constexpr UINT kIdIntro = 40001;
  static constexpr UINT kIdCurrentLabel = 40002;
  static constexpr UINT kIdSheetsLabel = 40003;
  static constexpr UINT kIdPortraitLabel = 40004;
  static constexpr UINT kIdLandscapeLabel = 40005;
  static constexpr UINT kIdWidestLabel = 40006;

  KDlgPrintSizeAlert() : KModalDialog(kTemplateId) {}

  // The five texts, set by the opener.
  CString currentSize;    // "( 100 % )"
  CString widestLine;     // "( line 3 )"
  CString sheets;         // "2 sheets"
  CString portraitSize;   // "76 % size"
  CString landscapeSize;  // "100 % size"
  // The opener allows no Cancel.
  bool noCancel = false;

  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
