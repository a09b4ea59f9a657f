#pragma once
// Preferences page 8, "MIDI Import and Live Input": how MIDI files become
// lines, how live playing is transcribed, the metronome, and the spaces
// added to imported scores.

#include <string>
#include <vector>

#include "platform/ModalDialog.h"

class KPropMIDIInput : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5535;
  static constexpr UINT kIdImportShortest = 1440;
  static constexpr UINT kIdImportTypes = 1445;
  static constexpr UINT kIdTrebleThreshold = 1449;
  static constexpr UINT kIdBassThreshold = 1450;
  static constexpr UINT kIdKeyboardPercent = 1451;
  static constexpr UINT kIdSplitTone = 1452;
  static constexpr UINT kIdImportLength = 1453;
  static constexpr UINT kIdInputDevice = 1454;
  static constexpr UINT kIdLiveShortest = 1455;
  static constexpr UINT kIdLineTab = 1459;
  static constexpr UINT kIdSetTempo = 1463;
  static constexpr UINT kIdAutoSense = 1464;
  static constexpr UINT kIdLiveTempo = 1465;
  static constexpr UINT kIdLiveLength = 1466;
  static constexpr UINT kIdMetronome = 1467;
  static constexpr UINT kIdRemote = 1468;
  static constexpr UINT kIdTriggerTone = 1469;
  static constexpr UINT kIdTransposeGuitar = 1470;
  static constexpr UINT kIdSingleStep = 1471;
  static constexpr UINT kIdMetronomeSound = 1472;
  static constexpr UINT kIdMetronomeLoudness = 1473;
  static constexpr UINT kIdAddSpaces = 32037;
  static constexpr UINT kIdAfterQuarter = 32038;
  static constexpr UINT kIdAfterHalf = 32039;
  static constexpr UINT kIdBeforeBar = 32040;
  static constexpr UINT kIdAfterBar = 32041;
  static constexpr UINT kIdAfterCluster = 32042;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdImportBox = 41801;
  static constexpr UINT kIdLiveBox = 41802;
  static constexpr UINT kIdSpacesBox = 41803;
  static constexpr UINT kIdImportShortestLabel = 41804;
  static constexpr UINT kIdLiveShortestLabel = 41805;
  static constexpr UINT kIdLiveLineLabel = 41806;
  static constexpr UINT kIdTriggerLabel = 41807;
  static constexpr UINT kIdImportTypesLabel = 41808;
  // The first General MIDI percussion sound of the metronome list.
  static constexpr int kFirstSound = 35;

  KPropMIDIInput() : KModalDialog(kTemplateId) {}

  // Selects the metronome sound in its list.
  BOOL OnInitDialog() override;
  void OnMetronomeSoundChange();
  void OnTempoChange();

  // The metronome list: the percussion sounds 35 to 81.
  static const std::vector<std::string>& MetronomeSounds();

  int inputDevice = 0;
  int importShortest = -1;
  int metronome = 0;
  int remote = 0;
  int transposeGuitar = 0;
  int liveLength = 0;
  int liveTempo = 0;
  CString triggerTone;
  int liveShortest = -1;
  int liveTrigger = -1;
  int liveLineType = -1;
  int importTypes = -1;
  CString trebleThreshold;
  CString bassThreshold;
  int keyboardPercent = 0;
  CString splitTone;
  int importLength = 0;
  int metronomeLoudness = 0;
  int afterBar = 0;
  int afterCluster = 0;
  int afterHalf = 0;
  int afterQuarter = 0;
  int beforeBar = 0;
  int addSpaces = 0;
  // The metronome's percussion sound, 35 to 81 (filled by the sheet).
  int metronomeSound = kFirstSound;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  int m_soundIndex = 0;
};
