#pragma once
// KDlgCPLineProps: how chord diagrams and tablature look: the visibility,
// size and kind (grids or keyboards) of the diagrams on the current or
// selected chord lines, the fonts of chord names and of fingering on
// tablature, the spacing of a tablature staff's lines and a vertical nudge of
// tablature digits.

#include "platform/ModalDialog.h"

class KDlgCPLineProps : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5553;
  static constexpr UINT kIdChordNameFont = 1711;
  static constexpr UINT kIdAlwaysVisible = 1712;
  static constexpr UINT kIdHiddenWithNames = 1713;
  static constexpr UINT kIdWidth = 1714;
  static constexpr UINT kIdHeight = 1715;
  static constexpr UINT kIdTabSpacing = 1717;
  static constexpr UINT kIdFingeringFont = 1718;
  static constexpr UINT kIdHelp = 1719;
  static constexpr UINT kIdGrids = 1721;
  static constexpr UINT kIdKeyboards = 1722;
  static constexpr UINT kIdChangeType = 1723;
  static constexpr UINT kIdSetVisibility = 1724;
  static constexpr UINT kIdDigitAdjust = 1725;
  static constexpr UINT kIdChangeSize = 1727;
  static constexpr UINT kIdWidthLabel = 40001;
  static constexpr UINT kIdHeightLabel = 40002;
  static constexpr UINT kIdSpacingLabel = 40003;
  static constexpr UINT kIdSpacingRange = 40004;
  static constexpr UINT kIdDigitLabel = 40005;
  static constexpr UINT kIdDiagramsBox = 40006;
  static constexpr UINT kIdTabBox = 40007;
  static constexpr int kMinPercent = 25;
  static constexpr int kMaxPercent = 1000;
  static constexpr int kMinSpacing = 8;
  static constexpr int kMaxSpacing = 16;

  KDlgCPLineProps() : KModalDialog(kTemplateId) {}

  CString fingeringFont;  // font texts; the escapement carries the colour
  CString chordNameFont;
  int diagramWidth = 100;
  int diagramHeight = 100;
  int tabLineSpacing = 12;
  int changeType = 0;
  int setVisibility = 0;
  int diagramType = 0;  // 0 grids, 1 keyboards
  int visibility = 0;   // 0 hidden with "hide diagrams", 1 always visible
  int digitAdjust = 0;
  int changeSize = 0;

  void OnFingeringFont();
  void OnChordNameFont();
  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
