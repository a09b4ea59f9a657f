#include "dialogs/pref_pages/KPropChord.h"

#include "dialogs/DialogTextFont.h"
#include "dialogs/pref_pages/PrefPageSupport.h"

using namespace pref_page;

void KPropChord::DeclareControls(DialogControls& c) {
  c.SetTitle("Chord Lines");
  c.Group(kIdDiagramsBox, "Chord diagrams");
  c.Check(kIdShowDiagrams, "Show Chord D&iagrams", showDiagrams);
  c.Check(kIdVariationNumbers, "Show Chord &Variation Numbering", variationNumbers);
  LabelledNumber(c, kIdDiagramWidth, "Diagram width %:", diagramWidth, 25, 250);
  LabelledNumber(c, kIdDiagramHeight, "Diagram height %:", diagramHeight, 25, 250);
  c.Group(kIdFretBox, "Fret number position");
  Radios(c, fretPosition,
         {{kIdFretAsDesigned, "Use &fret position of chords as designed"},
          {kIdFretRight, "&Right"},
          {kIdFretLeft, "&Left"}});
  c.Group(kIdBarreBox, "Barre style");
  Radios(c, barreStyle,
         {{kIdBarreAsDesigned, "&Use barre style of chords as designed"},
          {kIdBarreArcs, "&Arcs"},
          {kIdBarreBars, "&Bars"}});
  c.Group(kIdFingeringBox, "Fingering");
  Radios(c, fingering,
         {{kIdShowFingering, "&Show fingering if available"},
          {kIdHideFingering, "Al&ways hide chord fingering"}});
  c.Group(kIdListBox, "Chord lists");
  c.Check(kIdScan, "Sca&n files for new custom chords", scan);
  c.Check(kIdCustomOnTop, "&Put custom chords on top of list", customOnTop);
  c.Check(kIdOnlyCustom, "Onl&y show custom chords, even when working in standard tuning", onlyCustom);
  c.Check(kIdPlaySelected, "Play sound of s&elected variation", playSelected);
  LabelledNumber(c, kIdArpeggioDelay, "Arpeggio note delay (milliseconds):", arpeggioDelay, 0, 2000);
  c.Group(kIdAltBox, "Chords in alternate tunings");
  c.Check(kIdAltFromDictionary, "from chords in Stavlin's chord &dictionary", altFromDictionary);
  c.Check(kIdAltFromCustom, "from all custo&m chords in standard tuning", altFromCustom);
  c.Group(kIdVariationsBox, "Variations show");
  Radios(c, variationsView,
         {{kIdVariationsGrids, "&Grids"},
          {kIdVariationsNotes, "No&tes"},
          {kIdVariationsKeyboards, "&Keyboards"}});
  c.Button(kIdNameFont, "Choose font for chord names...", DialogButtonRole::kAction,
           [this] { ChooseTextFont(chordNameFont); });
  HelpButton(c, kIdHelp, HelpTopic::kPropsChord);
  c.Keep(chordNameFont);
}

void KPropChord::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({
      Column({Box(kIdDiagramsBox, {Ctl(kIdShowDiagrams), Ctl(kIdVariationNumbers),
                                   Form({FieldOf(kIdDiagramWidth), FieldOf(kIdDiagramHeight)})}),
              Box(kIdFretBox, {Ctl(kIdFretAsDesigned), Row({Ctl(kIdFretRight), Ctl(kIdFretLeft)})}),
              Box(kIdBarreBox, {Ctl(kIdBarreAsDesigned), Row({Ctl(kIdBarreArcs), Ctl(kIdBarreBars)})}),
              Box(kIdFingeringBox, {Ctl(kIdShowFingering), Ctl(kIdHideFingering)}), Stretch()}),
      Column({Box(kIdListBox, {Ctl(kIdScan), Ctl(kIdCustomOnTop), Ctl(kIdOnlyCustom), Ctl(kIdPlaySelected),
                               Form({FieldOf(kIdArpeggioDelay)})}),
              Box(kIdAltBox, {Ctl(kIdAltFromDictionary), Ctl(kIdAltFromCustom)}),
              Box(kIdVariationsBox,
                  {Row({Ctl(kIdVariationsGrids), Ctl(kIdVariationsNotes), Ctl(kIdVariationsKeyboards)})}),
              Ctl(kIdNameFont), Stretch()}),
  })};
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}
