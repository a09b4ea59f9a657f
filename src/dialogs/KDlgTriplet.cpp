#include "dialogs/KDlgTriplet.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgTriplet::DeclareControls(DialogControls& c) {
  c.SetTitle("Triplet / \"Tuplet\" Properties...");
  c.Static(kIdTextLabel, "Text to use (eg. \"3\" for Triplet):");
  c.Edit(kIdText, text, kMaxTextChars);
  c.Group(kIdEndsBox, "Ends should point:");
  c.RadioGroup(kIdDown, "&Down (for tuplet from above)", direction);
  c.Radio(kIdUp, "&Up (for tuplet from below)");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgTriplet::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Form({Field(kIdTextLabel, kIdText)}), Box(kIdEndsBox, {Ctl(kIdDown), Ctl(kIdUp)})};
}

void KDlgTriplet::OnHelp() { ShowHelpTopic(HelpTopic::kTriplet); }
