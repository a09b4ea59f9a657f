#include "dialogs/pref_pages/KPropMIDI.h"

#include "dialogs/pref_pages/PrefPageSupport.h"

using namespace pref_page;

namespace {
// The captions of the effect check boxes, in the order of kEffectIds.
constexpr const char* kEffectCaptions[KPropMIDI::kEffectCount] = {
    "&Bends",
    "&Accents and crescendo/decrescendo",
    "&Fermata",
    "&Glissando and up/down strokes",
    "&Multi-bar rests",
    "Trem&olo notes",
    "Trills, morde&nts, and turns",
    "Vibrato and whamm&y bar",
    "Sli&des",
    "Gra&ce Notes",
    "Tri&plets/Tuplets",
    "Multiple repeats (such as \"&3 times\")",
    "Octave shifts ( &8va and 8vb )",
    "Bar &repeats (prev. one or two bars)",
    "&Tempo changes",
    "&Stacatto Effect",
};
}  // namespace

void KPropMIDI::DeclareControls(DialogControls& c) {
  c.SetTitle("MIDI Playback");
  c.Group(kIdPlaybackBox, "Playback");
  LabelledNumber(c, kIdTempo, "Tempo (beats per minute):", tempo, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdLoudness, "Loudness of new lines (0-127):", loudness, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdDevice, "Default MIDI output device (menu item number):", outputDevice, kAnyLow,
                 kAnyHigh);
  c.Check(kIdLoop, "&Loop", loop);
  c.Check(kIdIgnoreRepeats, "&Ignore repeats", ignoreRepeats);
  c.Check(kIdShowCaret, "S&how caret", showCaret);
  c.Check(kIdPlayWhileEditing, "Play notes entered while editing a score", playWhileEditing);
  c.Group(kIdInstrumentsBox, "Instruments of unlabelled lines (General MIDI numbers)");
  LabelledNumber(c, kIdTreble, "Treble:", treble, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdBass, "Bass:", bass, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdTab, "Tab:", tab, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdAlto, "Alto:", alto, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdTenor, "Tenor:", tenor, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdBassTab, "Bass tab:", bassTab, kAnyLow, kAnyHigh);
  c.Check(kIdTabLower, "Play Tab, \"Guitar\" and \"Gtr\" lines 8&va lower", tabOctaveLower);
  c.Group(kIdEffectsBox, "Effects to play");
  for (int i = 0; i < kEffectCount; ++i) c.Check(kEffectIds[i], kEffectCaptions[i], effects[i]);
  LabelledNumber(c, kIdDepth, "Bend/vibrato/whammy depth factor %:", depthFactor, kAnyLow, kAnyHigh);
  HelpButton(c, kIdHelp, HelpTopic::kPropsMidi);
}

void KPropMIDI::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  DialogLayoutItem effects = Box(kIdEffectsBox, {});
  for (const UINT id : kEffectIds) effects.children.push_back(Ctl(id));
  effects.children.push_back(Form({FieldOf(kIdDepth)}));
  layout.children = {Row({
      Column({Box(kIdPlaybackBox,
                  {Form({FieldOf(kIdTempo), FieldOf(kIdLoudness), FieldOf(kIdDevice)}), Ctl(kIdLoop),
                   Ctl(kIdIgnoreRepeats), Ctl(kIdShowCaret), Ctl(kIdPlayWhileEditing)}),
              Box(kIdInstrumentsBox, {Form({FieldOf(kIdTreble), FieldOf(kIdBass), FieldOf(kIdTab),
                                            FieldOf(kIdAlto), FieldOf(kIdTenor), FieldOf(kIdBassTab)}),
                                      Ctl(kIdTabLower)}),
              Stretch()}),
      Column({effects, Stretch()}),
  })};
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}
