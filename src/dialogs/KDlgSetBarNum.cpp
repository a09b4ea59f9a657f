#include "dialogs/KDlgSetBarNum.h"

#include <climits>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgSetBarNum::DeclareControls(DialogControls& c) {
  c.SetTitle("Set Bar Number For Current Line");
  c.Static(kIdIntro, "The bar number of the first measure of the current line should be:");
  c.Static(kIdLabel, "Bar # :");
  c.Number(kIdBarNumber, barNumber, INT_MIN, INT_MAX);
  c.Static(kIdExplanation,
           "If the current line is part of a line group the first measure\n"
           "of all lines in the group will have the same bar number.\n\n"
           "A value of 0 (zero) means the bar number for this line\n"
           "will not be a fixed value - it will change depending\n"
           "on the bar count of other lines in the score.\n\n"
           "A value of -1 (minus one) means the bar numbering for\n"
           "this line will skip the first measure and consider\n"
           "the second measure in the line to be bar #1\n"
           "( usually used when the first measure is an anacrusis \n"
           "or 'pickup' measure )");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgSetBarNum::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Ctl(kIdIntro), Form({Field(kIdLabel, kIdBarNumber)}), Ctl(kIdExplanation)};
}

void KDlgSetBarNum::OnHelp() { ShowHelpTopic(HelpTopic::kSetBarNum); }
