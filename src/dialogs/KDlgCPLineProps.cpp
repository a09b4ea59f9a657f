#include "dialogs/KDlgCPLineProps.h"

#include <climits>

#include "common/HelpTopics.h"
#include "dialogs/DialogTextFont.h"
#include "platform/UiPort.h"

void KDlgCPLineProps::DeclareControls(DialogControls& c) {
  c.SetTitle("Chord and Tab Line Appearance");
  c.Group(kIdDiagramsBox, "Chord lines");
  c.Button(kIdChordNameFont, "&Font for chord names on current/selected line(s) and all new chord lines...",
           DialogButtonRole::kAction, [this] { OnChordNameFont(); });
  c.Check(kIdSetVisibility, "Chord diagra&ms in current or selected line(s) should be:", setVisibility);
  c.RadioGroup(kIdHiddenWithNames, "Hi&dden when \"hide diagrams\" is checked", visibility);
  c.Radio(kIdAlwaysVisible, "&Always visible, even when \"hide diagrams\" is checked");
  c.Check(kIdChangeSize, "Cha&nge to:", changeSize);
  c.Static(kIdWidthLabel, "Width (25-1000%):");
  c.Number(kIdWidth, diagramWidth, kMinPercent, kMaxPercent).WhenChanged([this] {
    Controls().SetChecked(kIdChangeSize, 1);
  });
  c.Static(kIdHeightLabel, "Height (25-1000%):");
  c.Number(kIdHeight, diagramHeight, kMinPercent, kMaxPercent).WhenChanged([this] {
    Controls().SetChecked(kIdChangeSize, 1);
  });
  c.Check(kIdChangeType, "Cha&nge to:", changeType);
  c.RadioGroup(kIdGrids, "&Grids", diagramType);
  c.Radio(kIdKeyboards, "&Keyboards");
  c.Group(kIdTabBox, "Tab lines");
  c.Button(kIdFingeringFont, "Font for fingering on &Tab lines...", DialogButtonRole::kAction,
           [this] { OnFingeringFont(); });
  c.Static(kIdSpacingLabel, "Spacing between lines on Tab staff:");
  c.Number(kIdTabSpacing, tabLineSpacing, kMinSpacing, kMaxSpacing);
  c.Static(kIdSpacingRange, "(8 - 16 pixels)");
  c.Static(kIdDigitLabel, "Tab digits vert. position adj. (+/-):");
  c.Number(kIdDigitAdjust, digitAdjust, INT_MIN, INT_MAX);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(fingeringFont);
  c.Keep(chordNameFont);
}

void KDlgCPLineProps::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Box(kIdDiagramsBox,
          {Ctl(kIdChordNameFont), Ctl(kIdSetVisibility), Ctl(kIdHiddenWithNames), Ctl(kIdAlwaysVisible),
           Row({Ctl(kIdChangeSize), Ctl(kIdWidthLabel), Ctl(kIdWidth), Ctl(kIdHeightLabel), Ctl(kIdHeight),
                Stretch()}),
           Row({Ctl(kIdChangeType), Ctl(kIdGrids), Ctl(kIdKeyboards), Stretch()})}),
      Box(kIdTabBox, {Ctl(kIdFingeringFont),
                      Row({Ctl(kIdSpacingLabel), Ctl(kIdTabSpacing), Ctl(kIdSpacingRange), Stretch()}),
                      Row({Ctl(kIdDigitLabel), Ctl(kIdDigitAdjust), Stretch()})}),
  };
}

void KDlgCPLineProps::OnFingeringFont() {
  ChooseTextFont(fingeringFont);
  GotoDlgCtrl(IDOK);
}

void KDlgCPLineProps::OnChordNameFont() {
  ChooseTextFont(chordNameFont);
  GotoDlgCtrl(IDOK);
}

void KDlgCPLineProps::OnHelp() { ShowHelpTopic(HelpTopic::kChordLineProps); }
