#pragma once
// KDlgPrintOptions ("Printing Options For The Current Score (Saved With
// Current Score)"): the page layout and page numbering of one score, which
// File/Print Options fills and reads back. Margins are shown as distances
// from the paper's edge (MarginUnits.h); choosing the other unit converts
// them. Typing a page-numbering text chooses that kind of page number.

#include "platform/ModalDialog.h"

class KDlgPrintOptions : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5524;
  static constexpr UINT kIdInches = 1730;
  static constexpr UINT kIdMillimetres = 1731;
  static constexpr UINT kIdTop = 1732;
  static constexpr UINT kIdLeft = 1733;
  static constexpr UINT kIdRight = 1734;
  static constexpr UINT kIdBottom = 1735;
  static constexpr UINT kIdShowBreaks = 1737;
  static constexpr UINT kIdSize = 1738;
  static constexpr UINT kIdPortrait = 1740;
  static constexpr UINT kIdLandscape = 1741;
  static constexpr UINT kIdNoNumber = 1744;
  static constexpr UINT kIdFileNameNumber = 1745;
  static constexpr UINT kIdTextNumber = 1746;
  static constexpr UINT kIdNumberText = 1747;
  static constexpr UINT kIdXofY = 1748;
  static constexpr UINT kIdFirstPage = 1749;
  static constexpr UINT kIdNumberAtTop = 1750;
  static constexpr UINT kIdNumberAtBottom = 1751;
  static constexpr UINT kIdAlternate = 1754;
  static constexpr UINT kIdLeftAlign = 1755;
  static constexpr UINT kIdCentre = 1756;
  static constexpr UINT kIdRightAlign = 1757;
  static constexpr UINT kIdFont = 1758;
  static constexpr UINT kIdKeepTogether = 1760;
  static constexpr UINT kIdAlert = 1761;
  static constexpr UINT kIdMakeDefault = 1762;
  static constexpr UINT kIdHelp = 1763;
  // Texts and boxes without an id in the template.
  static constexpr UINT kIdMarginsBox = 40001;
  static constexpr UINT kIdTopLabel = 40002;
  static constexpr UINT kIdBottomLabel = 40003;
  static constexpr UINT kIdLeftLabel = 40004;
  static constexpr UINT kIdRightLabel = 40005;
  static constexpr UINT kIdSizeLabel = 40006;
  static constexpr UINT kIdNumberBox = 40007;
  static constexpr UINT kIdNumberTextLabel = 40008;
  static constexpr UINT kIdFirstPageLabel = 40009;
  static constexpr UINT kIdOrientationBox = 40010;
  static constexpr UINT kIdPlaceBox = 40011;
  static constexpr int kMaxNumberTextChars = 50;

  KDlgPrintOptions() : KModalDialog(kTemplateId) {}

  BOOL OnInitDialog() override;
  void OnFont();
  void OnHelp();

  int alert = 0;
  int keepTogether = 0;
  int makeDefault = 0;
  int pageXofY = 0;
  int showBreaks = 0;
  double top = 0.0;
  double bottom = 0.0;
  double left = 0.0;
  double right = 0.0;
  int units = 0;        // 0 inches, 1 millimetres
  int horizontal = 0;   // 0 left, 1 centre, 2 right, 3 odd pages right and even pages left
  int type = 0;         // 0 none, 1 file name + page number, 2 text + page number
  int vertical = 0;     // 0 top, 1 bottom
  int size = 100;       // printout size, % of normal
  int orientation = 0;  // 0 portrait, 1 landscape
  CString numberText;
  int firstPage = 1;
  CString fontText;  // the page number's font, its colour in the escapement

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // The unit the margin fields show now.
  int m_unitsShown = 0;
  void OnUnits(int newUnits);
};
