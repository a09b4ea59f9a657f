#pragma once
// Preferences page 5, "Chord Lines": chord diagrams and their variations, and
// the chord-name font.

#include "platform/ModalDialog.h"

class KPropChord : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5533;
  static constexpr UINT kIdFretAsDesigned = 2069;
  static constexpr UINT kIdBarreAsDesigned = 2066;
  static constexpr UINT kIdShowFingering = 2070;
  static constexpr UINT kIdVariationsGrids = 2072;
  static constexpr UINT kIdAltFromDictionary = 2074;
  static constexpr UINT kIdShowDiagrams = 2075;
  static constexpr UINT kIdVariationNumbers = 2076;
  static constexpr UINT kIdAltFromCustom = 2077;
  static constexpr UINT kIdOnlyCustom = 2080;
  static constexpr UINT kIdCustomOnTop = 2082;
  static constexpr UINT kIdScan = 2083;
  static constexpr UINT kIdPlaySelected = 2086;
  static constexpr UINT kIdDiagramWidth = 2087;
  static constexpr UINT kIdDiagramHeight = 2088;
  static constexpr UINT kIdArpeggioDelay = 2089;
  static constexpr UINT kIdNameFont = 2090;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdFretRight = 41501;
  static constexpr UINT kIdFretLeft = 41502;
  static constexpr UINT kIdBarreArcs = 41503;
  static constexpr UINT kIdBarreBars = 41504;
  static constexpr UINT kIdHideFingering = 41505;
  static constexpr UINT kIdVariationsNotes = 41506;
  static constexpr UINT kIdVariationsKeyboards = 41507;
  static constexpr UINT kIdDiagramsBox = 41510;
  static constexpr UINT kIdFretBox = 41511;
  static constexpr UINT kIdBarreBox = 41512;
  static constexpr UINT kIdFingeringBox = 41513;
  static constexpr UINT kIdListBox = 41514;
  static constexpr UINT kIdAltBox = 41515;
  static constexpr UINT kIdVariationsBox = 41516;

  KPropChord() : KModalDialog(kTemplateId) {}

  int scan = 0;
  int showDiagrams = 0;
  int variationNumbers = 0;
  int customOnTop = 0;
  int fretPosition = -1;
  int barreStyle = -1;
  int fingering = -1;  // 0 show fingering if available, 1 always hide
  int onlyCustom = 0;
  int playSelected = 0;
  int diagramWidth = 0;
  int diagramHeight = 0;
  int altFromDictionary = 0;
  int arpeggioDelay = 0;
  int altFromCustom = 0;
  int variationsView = -1;
  CString chordNameFont;  // filled by the sheet

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
