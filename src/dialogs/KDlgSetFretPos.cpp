#include "dialogs/KDlgSetFretPos.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgSetFretPos::DeclareControls(DialogControls& c) {
  c.SetTitle("Set TAB Fret Position...");
  c.Group(kIdShiftBox, "Shift selected TAB fingering...");
  c.Static(kIdPositionLabel, "To fret position:");
  c.Number(kIdFretPosition, fretPosition, 0, kMaxFret);
  c.Static(kIdOpenHint, "('0' is open strings)");
  c.Check(kIdKeepOpen, "Do not shift fingering on open strings", keepOpen);
  c.Static(kIdKeepOpenHint, "(leave open strings open)");
  c.Static(kIdTranslationLabel, "In general, during mutual translation with Treble line...");
  c.Check(kIdFromPrevious, "&Set fret position based on previous fret positions", fretFromPrevious);
  c.Static(
      kIdCheckedHint,
      "Checked =>Tab fret position will be based on fret                      position of fingering to the "
      "left.");
  c.Static(kIdUncheckedHint, "Unchecked => stay close to open string postion.");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgSetFretPos::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Box(kIdShiftBox, {Row({Ctl(kIdPositionLabel), Ctl(kIdFretPosition), Ctl(kIdOpenHint), Stretch()}),
                        Ctl(kIdKeepOpen), Ctl(kIdKeepOpenHint)}),
      Ctl(kIdTranslationLabel), Ctl(kIdFromPrevious), Ctl(kIdCheckedHint), Ctl(kIdUncheckedHint)};
}

void KDlgSetFretPos::OnHelp() { ShowHelpTopic(HelpTopic::kFretPos); }
