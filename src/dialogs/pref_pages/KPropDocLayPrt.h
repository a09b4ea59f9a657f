#pragma once
// Preferences page 1, "Document, Layout and Printing": the main window's and
// new scores' windows, what opens at start-up, the start folder, the page
// layout and page numbering of new scores, and the printing corrections.

#include "platform/ModalDialog.h"

class KPropDocLayPrt : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5529;
  static constexpr UINT kIdMainWidth = 1840;
  static constexpr UINT kIdMainHeight = 1841;
  static constexpr UINT kIdMainLeft = 1842;
  static constexpr UINT kIdMainTop = 1843;
  static constexpr UINT kIdMainCurrent = 1844;
  static constexpr UINT kIdDocWidth = 1846;
  static constexpr UINT kIdDocHeight = 1847;
  static constexpr UINT kIdDocLeft = 1848;
  static constexpr UINT kIdDocTop = 1849;
  static constexpr UINT kIdDocCurrent = 1850;
  static constexpr UINT kIdStartupNone = 1851;
  static constexpr UINT kIdInches = 1867;
  static constexpr UINT kIdMillimetres = 1868;
  static constexpr UINT kIdTop = 1870;
  static constexpr UINT kIdLeft = 1871;
  static constexpr UINT kIdRight = 1872;
  static constexpr UINT kIdBottom = 1873;
  static constexpr UINT kIdShowBreaks = 1875;
  static constexpr UINT kIdAlert = 1876;
  static constexpr UINT kIdSize = 1878;
  static constexpr UINT kIdOverlap = 1879;
  static constexpr UINT kIdNumberNone = 1880;
  static constexpr UINT kIdXofY = 1884;
  static constexpr UINT kIdNumberTop = 1886;
  static constexpr UINT kIdNumberLeft = 1890;
  static constexpr UINT kIdNumberFont = 1893;
  static constexpr UINT kIdSymbolX = 1894;
  static constexpr UINT kIdSymbolY = 1895;
  static constexpr UINT kIdStaffLine = 1896;
  static constexpr UINT kIdSlur = 1897;
  static constexpr UINT kIdTabDigit = 1898;
  static constexpr UINT kIdClipping = 1899;
  static constexpr UINT kIdFontScaling = 1900;
  static constexpr UINT kIdInvertDiagrams = 1901;
  static constexpr UINT kIdStartFolder = 1996;
  static constexpr UINT kIdBrowse = 1997;
  static constexpr UINT kIdHelp = 57670;
  // Further radio buttons, texts and boxes, which have no id of their own.
  static constexpr UINT kIdStartupNew = 41001;
  static constexpr UINT kIdStartupLast = 41002;
  static constexpr UINT kIdNumberFileName = 41003;
  static constexpr UINT kIdNumberText = 41004;
  static constexpr UINT kIdNumberBottom = 41005;
  static constexpr UINT kIdNumberCentre = 41006;
  static constexpr UINT kIdNumberRight = 41007;
  static constexpr UINT kIdNumberAlternate = 41008;
  static constexpr UINT kIdMainBox = 41010;
  static constexpr UINT kIdDocBox = 41011;
  static constexpr UINT kIdMarginsBox = 41012;
  static constexpr UINT kIdNumberBox = 41013;
  static constexpr UINT kIdCorrectionsBox = 41014;
  static constexpr UINT kIdStartupBox = 41015;
  static constexpr UINT kLabelBase = 41100;  // labels: kLabelBase + the field's id - 1800

  KPropDocLayPrt() : KModalDialog(kTemplateId) {}

  BOOL OnInitDialog() override;
  void OnCurrentWindowSize();
  void OnCurrentNewDocSize();
  void OnBrowseStartFolder();
  void OnPageNumberFont();
  void OnInches();
  void OnMillimeters();
  void OnHelp();

  int printSize = 0;
  int docWidth = 0, docHeight = 0, docLeft = 0, docTop = 0;
  int symbolSizeX = 0, symbolSizeY = 0;
  int numberHorizontal = -1;
  int numberVertical = -1;
  int numberType = -1;
  int mainWidth = 0, mainHeight = 0, mainLeft = 0, mainTop = 0;
  int clipping = 0;
  int showPageBreaks = 0;
  double marginTop = 0.0, marginBottom = 0.0, marginLeft = 0.0, marginRight = 0.0;
  int pageXofY = 0;
  int units = -1;
  int overlap = 0;
  int alert = 0;
  int staffLineThickness = 0;
  int slurThickness = 0;
  int tabDigitPosition = 0;
  CString startFolder;
  int startupAction = -1;
  int fontScaling = 0;
  int invertDiagrams = 0;
  // Filled by the sheet: the page-number font, the main window's rectangle
  // and the last score window's (width, height, left, top).
  CString pageNumberFont;
  int mainRect[4] = {0, 0, 0, 0};
  int lastDocRect[4] = {0, 0, 0, 0};

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // The unit the margin fields show now.
  int m_unitsShown = 0;
  void ConvertMargins(int newUnits);
};
