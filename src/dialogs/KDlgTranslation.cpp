#include "dialogs/KDlgTranslation.h"

#include "common/HelpTopics.h"

void KDlgTranslation::DeclareControls(DialogControls& c) {
  c.SetTitle("Line and Clipboard Translation...");
  c.Group(kIdDetailBox, "Text tablature");
  c.RadioGroup(kIdBasic, "&Basic symbols only (notes to TAB fretting)", textTabDetail);
  c.Radio(kIdFamiliar, "Also &familiar symbols");
  c.Radio(kIdEveryCharacter, "E&very keyboard equivalent character");
  c.Static(kIdNoteValuesText, "From TAB, include note values");
  c.Check(kIdAbove, "abo&ve (up stems)    and", valuesAbove);
  c.Check(kIdBelow, "belo&w (down stems)", valuesBelow);
  c.Group(kIdActionBox, "Translated line(s) should");
  c.RadioGroup(kIdGoAbove, "Go &above", action);
  c.Radio(kIdGoBelow, "Go &below");
  c.Radio(kIdReplace, "&Replace");
  c.Group(kIdGroupingBox, "Grouping");
  c.RadioGroup(kIdDontGroup, "&Don't group translated line", grouping);
  c.Radio(kIdMakeGroup, "Make a &line group with current line and translated line");
  c.Check(kIdMutual, "The newl&y grouped lines should have mutual translation", mutual);
  c.Group(kIdKeyboardBox, "Keyboard staff");
  c.Check(kIdMerge, "&Merge Treble and", merge);
  c.Static(kIdMergeText, "Bass staff into a single line");
  c.RadioGroup(kIdIgnoreBass, "&Ignore Bass staff notes out of guitar range", bassOutOfRange);
  c.Radio(kIdShiftBass, "&Shift Bass staff notes into guitar range");
  c.Check(kIdPermanent, "Ma&ke these settings a permanent preference", permanent);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
}

void KDlgTranslation::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Box(kIdDetailBox, {Ctl(kIdBasic), Ctl(kIdFamiliar), Ctl(kIdEveryCharacter), Ctl(kIdNoteValuesText),
                         Row({Ctl(kIdAbove), Ctl(kIdBelow), Stretch()})}),
      Row({Box(kIdActionBox, {Ctl(kIdGoAbove), Ctl(kIdGoBelow), Ctl(kIdReplace)}),
           Box(kIdGroupingBox, {Ctl(kIdDontGroup), Ctl(kIdMakeGroup), Ctl(kIdMutual)})}),
      Box(kIdKeyboardBox,
          {Row({Ctl(kIdMerge), Ctl(kIdMergeText), Stretch()}), Ctl(kIdIgnoreBass), Ctl(kIdShiftBass)}),
      Ctl(kIdPermanent),
  };
}

void KDlgTranslation::OnHelp() { ShowHelpTopic(HelpTopic::kSetTranslation); }
