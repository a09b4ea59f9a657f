#include "dialogs/KDlgSetLineLabel.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgSetLineLabel::DeclareControls(DialogControls& c) {
  c.SetTitle("Line Label...");
  c.Static(kIdNewLabelLabel, "New label:");
  c.Edit(kIdNewLabel, newLabel, kMaxLabelChars);
  c.RadioGroup(kIdSelected, "Only the current or selected line(s)", scope);
  c.Radio(kIdAll, "All");
  c.Static(kIdTypeName, "");
  c.Static(kIdWithLabel, "lines with the label:");
  c.Static(kIdOldLabel, "Example original label");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgSetLineLabel::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Form({Field(kIdNewLabelLabel, kIdNewLabel)}), Ctl(kIdSelected),
                     Row({Ctl(kIdAll), Ctl(kIdTypeName), Ctl(kIdWithLabel), Ctl(kIdOldLabel), Stretch()})};
}

BOOL KDlgSetLineLabel::OnInitDialog() {
  KModalDialog::OnInitDialog();
  Controls().SetCaption(kIdOldLabel, oldLabel.Str());
  Controls().SetCaption(kIdTypeName, typeName.Str());
  return TRUE;
}

void KDlgSetLineLabel::OnHelp() { ShowHelpTopic(HelpTopic::kLabelText); }
