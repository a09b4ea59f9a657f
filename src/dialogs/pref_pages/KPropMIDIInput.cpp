#include "dialogs/pref_pages/KPropMIDIInput.h"

#include "dialogs/pref_pages/PrefPageSupport.h"

using namespace pref_page;

const std::vector<std::string>& KPropMIDIInput::MetronomeSounds() {
  static const std::vector<std::string> kSounds = {
      "Ac. Bass Dr.", "Bass Drum 1", "Side Stick", "Ac. Snare",   "Hand Clap",   "El. Snare",  "L. Fl. Tom",
      "Cl.Hi Hat",    "H. Fl. Tom",  "Ped Hi Hat", "L. Tom",      "Op. Hi Hat",  "L-M Tom",    "H-M Tom",
      "Crash Cym 1",  "H. Tom",      "Ride Cym 1", "Chin. Cym",   "Ride Bell",   "Tambourine", "Splash Cym",
      "Cowbell",      "Crash Cym 2", "Vibraslap",  "Ride Cym 2",  "H Bongo",     "L Bongo",    "Mu H Conga",
      "Op H Conga",   "Low Conga",   "H Timbale",  "L Timbale",   "H Agogo",     "L Agogo",    "Cabasa",
      "Maracas",      "Sh Whistle",  "Lg Whistle", "Sh Guiro",    "Lg Guiro",    "Claves",     "H Wood Blk",
      "L Wood Blk",   "Mute Cuica",  "Open Cuica", "Mu Triangle", "Op Triangle",
  };
  return kSounds;
}

void KPropMIDIInput::DeclareControls(DialogControls& c) {
  c.SetTitle("MIDI Import and Live Input");
  c.Group(kIdImportBox, "MIDI file import");
  c.Static(kIdImportShortestLabel, "Shortest note value:");
  c.RadioGroup(kIdImportShortest, "8th", importShortest);
  c.Radio(kIdImportShortest + 1, "16th");
  c.Radio(kIdImportShortest + 2, "32nd");
  c.Radio(kIdImportShortest + 3, "64th");
  c.Static(kIdImportTypesLabel, "Make lines of:");
  Radios(c, importTypes,
         {{kIdImportTypes, "&Tab and/or Bass Tab"},
          {kIdImportTypes + 1, "Force T&reble   or"},
          {kIdImportTypes + 2, "&Bass  only"},
          {kIdImportTypes + 3, "&Keyboard, depending on"}});
  LabelledEdit(c, kIdTrebleThreshold, "Treble staff upper tone threshold:", trebleThreshold, 4);
  LabelledEdit(c, kIdBassThreshold, "Bass staff lower tone threshold:", bassThreshold, 4);
  LabelledNumber(c, kIdKeyboardPercent,
                 "% of notes above/below threshold for a keyboard staff:", keyboardPercent, kAnyLow,
                 kAnyHigh);
  LabelledEdit(c, kIdSplitTone, "Treble/bass staff split tone:", splitTone, 4);
  LabelledNumber(c, kIdImportLength, "Imported line length (pixels):", importLength, kAnyLow, kAnyHigh);
  c.Group(kIdLiveBox, "Live input");
  LabelledNumber(c, kIdInputDevice, "MIDI input device (menu item number):", inputDevice, 1, 12);
  c.Static(kIdLiveShortestLabel, "Shortest note value:");
  c.RadioGroup(kIdLiveShortest, "8th", liveShortest);
  c.Radio(kIdLiveShortest + 1, "16th");
  c.Radio(kIdLiveShortest + 2, "32nd");
  c.Radio(kIdLiveShortest + 3, "64th");
  c.Static(kIdLiveLineLabel, "Transcribe to:");
  Radios(c, liveLineType,
         {{kIdLineTab, "T&ab"},
          {kIdLineTab + 1, "Treb&le"},
          {kIdLineTab + 2, "Ba&ss"},
          {kIdLineTab + 3, "Keyboar&d"}});
  Radios(c, liveTrigger,
         {{kIdSingleStep, "Single step note/chord entry ( no tempo )"},
          {kIdAutoSense, "A&uto-sense,   or"},
          {kIdSetTempo, "S&et:"}});
  LabelledNumber(c, kIdLiveTempo, "Tempo (beats per minute):", liveTempo, kAnyLow, kAnyHigh)
      .WhenChanged([this] { OnTempoChange(); });
  LabelledNumber(c, kIdLiveLength, "Live line length (pixels):", liveLength, kAnyLow, kAnyHigh);
  LabelledEdit(c, kIdTriggerTone, "Trigger tone:", triggerTone, 4);
  c.Check(kIdMetronome, "Pla&y metronome sound", metronome);
  c.Static(pref_page::LabelOf(kIdMetronomeSound), "Metronome sound:");
  c.Combo(kIdMetronomeSound, m_soundIndex, MetronomeSounds()).WhenChanged([this] {
    OnMetronomeSoundChange();
  });
  LabelledNumber(c, kIdMetronomeLoudness, "Metronome loudness:", metronomeLoudness, kAnyLow, kAnyHigh);
  c.Check(kIdRemote, "Use re&mote start/stop", remote);
  c.Check(kIdTransposeGuitar, "Transpose guitar input up one octa&ve", transposeGuitar);
  c.Group(kIdSpacesBox, "Spaces");
  c.Check(kIdAddSpaces, "Add spaces on single instrument scores:", addSpaces);
  LabelledNumber(c, kIdAfterQuarter, "after a quarter:", afterQuarter, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdAfterHalf, "after a half:", afterHalf, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdAfterCluster, "after a cluster:", afterCluster, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdBeforeBar, "before a bar:", beforeBar, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdAfterBar, "after a bar:", afterBar, kAnyLow, kAnyHigh);
  HelpButton(c, kIdHelp, HelpTopic::kPropsMidiInput);
  c.Keep(metronomeSound);
}

void KPropMIDIInput::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({
      Column({Box(kIdImportBox,
                  {Row({Ctl(kIdImportShortestLabel), Ctl(kIdImportShortest), Ctl(kIdImportShortest + 1),
                        Ctl(kIdImportShortest + 2), Ctl(kIdImportShortest + 3)}),
                   Ctl(kIdImportTypesLabel), Ctl(kIdImportTypes), Ctl(kIdImportTypes + 1),
                   Ctl(kIdImportTypes + 2), Ctl(kIdImportTypes + 3),
                   Form({FieldOf(kIdTrebleThreshold), FieldOf(kIdBassThreshold), FieldOf(kIdKeyboardPercent),
                         FieldOf(kIdSplitTone), FieldOf(kIdImportLength)})}),
              Box(kIdSpacesBox, {Ctl(kIdAddSpaces), Form({FieldOf(kIdAfterQuarter), FieldOf(kIdAfterHalf),
                                                          FieldOf(kIdAfterCluster), FieldOf(kIdBeforeBar),
                                                          FieldOf(kIdAfterBar)})}),
              Stretch()}),
      Column({Box(kIdLiveBox,
                  {Form({FieldOf(kIdInputDevice)}),
                   Row({Ctl(kIdLiveShortestLabel), Ctl(kIdLiveShortest), Ctl(kIdLiveShortest + 1),
                        Ctl(kIdLiveShortest + 2), Ctl(kIdLiveShortest + 3)}),
                   Row({Ctl(kIdLiveLineLabel), Ctl(kIdLineTab), Ctl(kIdLineTab + 1), Ctl(kIdLineTab + 2),
                        Ctl(kIdLineTab + 3)}),
                   Ctl(kIdSingleStep), Row({Ctl(kIdAutoSense), Ctl(kIdSetTempo)}),
                   Form({FieldOf(kIdLiveTempo), FieldOf(kIdLiveLength), FieldOf(kIdTriggerTone)}),
                   Ctl(kIdMetronome), Form({FieldOf(kIdMetronomeSound), FieldOf(kIdMetronomeLoudness)}),
                   Ctl(kIdRemote), Ctl(kIdTransposeGuitar)}),
              Stretch()}),
  })};
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}

BOOL KPropMIDIInput::OnInitDialog() {
  const int count = static_cast<int>(MetronomeSounds().size());
  m_soundIndex = metronomeSound >= kFirstSound && metronomeSound < kFirstSound + count
                     ? metronomeSound - kFirstSound
                     : -1;
  return KModalDialog::OnInitDialog();
}

void KPropMIDIInput::OnMetronomeSoundChange() {
  const int index = Controls().Selected(kIdMetronomeSound);
  if (index >= 0) metronomeSound = index + kFirstSound;
}

void KPropMIDIInput::OnTempoChange() { Controls().SetChecked(kIdSetTempo, 1); }
