#pragma once
// Preferences page 7, "MIDI Playback": tempo, loudness, output device, the
// instruments of unlabelled lines, and which effects playback performs.

#include "platform/ModalDialog.h"

class KPropMIDI : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5534;
  static constexpr UINT kIdPlayWhileEditing = 2028;
  static constexpr UINT kIdTempo = 2029;
  static constexpr UINT kIdLoudness = 2030;
  static constexpr UINT kIdLoop = 2031;
  static constexpr UINT kIdIgnoreRepeats = 2032;
  static constexpr UINT kIdShowCaret = 2033;
  static constexpr UINT kIdDevice = 2034;
  static constexpr UINT kIdTreble = 2035;
  static constexpr UINT kIdBass = 2036;
  static constexpr UINT kIdTab = 2037;
  static constexpr UINT kIdAlto = 2038;
  static constexpr UINT kIdTenor = 2039;
  static constexpr UINT kIdBassTab = 2040;
  static constexpr UINT kIdTabLower = 2041;
  static constexpr UINT kIdDepth = 2042;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdPlaybackBox = 41701;
  static constexpr UINT kIdInstrumentsBox = 41702;
  static constexpr UINT kIdEffectsBox = 41703;
  // The effect check boxes, in the order of the "MidiEffects" fields they
  // edit (fields 1 to 15, then 17).
  static constexpr int kEffectCount = 16;
  static constexpr UINT kEffectIds[kEffectCount] = {1780, 1782, 1783, 1777, 1781, 1778, 1779, 1776,
                                                    1784, 1785, 1786, 1787, 1788, 1789, 1790, 1792};

  KPropMIDI() : KModalDialog(kTemplateId) {}

  int ignoreRepeats = 0;
  int loop = 0;
  int loudness = 0;
  int tempo = 0;
  int outputDevice = 0;
  int bass = 0;
  int tab = 0;
  int treble = 0;
  int alto = 0;
  int tenor = 0;
  int bassTab = 0;
  int showCaret = 0;
  int tabOctaveLower = 0;
  int effects[kEffectCount] = {};
  int playWhileEditing = 0;
  int depthFactor = 0;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
