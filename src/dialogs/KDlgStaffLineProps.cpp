#include "dialogs/KDlgStaffLineProps.h"

#include <climits>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgStaffLineProps::DeclareControls(DialogControls& c) {
  c.SetTitle("Staff Line Appearance");
  c.Check(kIdSetIndent, "Set &indent of staff line(s) to:", setIndent);
  c.Number(kIdIndent, indent, INT_MIN, INT_MAX).WhenChanged([this] {
    Controls().SetChecked(kIdSetIndent, 1);
  });
  c.Static(kIdPixels1, "pixels");
  c.RadioGroup(kIdIndentSelected, "Indent c&urrent or selected staff line(s)", indentRange);
  c.Radio(kIdIndentAll, "Indent all staff lines in &score");
  c.Check(kIdSetAbove, "Set space &above staff to:", setAbove);
  c.Number(kIdAbove, spaceAbove, INT_MIN, INT_MAX).WhenChanged([this] {
    Controls().SetChecked(kIdSetAbove, 1);
  });
  c.Static(kIdPixels2, "pixels");
  c.Check(kIdSetBelow, "Set space &below staff to:", setBelow);
  c.Number(kIdBelow, spaceBelow, INT_MIN, INT_MAX).WhenChanged([this] {
    Controls().SetChecked(kIdSetBelow, 1);
  });
  c.Static(kIdPixels3, "pixels");
  c.Static(kIdKindsLabel, "Staff kinds to space:");
  c.Check(kIdMusical, "&Musical staff (treble, bass, etc.)", musicalStaff);
  c.Static(kIdMusicalStandard, "Above = 22    Below = 26");
  c.Check(kIdTab, "&TAB and Bass TAB staff", tabStaff);
  c.Static(kIdTabStandard, "Above = 14    Below = 12");
  c.RadioGroup(kIdSpacingSelected, "Apply spacing to curre&nt or selected line(s) only", spacingRange);
  c.Radio(kIdSpacingAll, "Apply staff spacing to all lines in scor&e");
  c.Check(kIdThisScore,
          "Use these indent and/or staff spacing values as defaults for all new lines in T&HIS score",
          thisScoreDefaults);
  c.Check(kIdNewScores, "Use these values as defaults for all NE&W Stavlin scores", newScoreDefaults);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgStaffLineProps::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdSetIndent), Ctl(kIdIndent), Ctl(kIdPixels1), Stretch()}),
      Ctl(kIdIndentSelected),
      Ctl(kIdIndentAll),
      Row({Ctl(kIdSetAbove), Ctl(kIdAbove), Ctl(kIdPixels2), Stretch()}),
      Row({Ctl(kIdSetBelow), Ctl(kIdBelow), Ctl(kIdPixels3), Stretch()}),
      Ctl(kIdKindsLabel),
      Row({Ctl(kIdMusical), Ctl(kIdMusicalStandard), Stretch()}),
      Row({Ctl(kIdTab), Ctl(kIdTabStandard), Stretch()}),
      Ctl(kIdSpacingSelected),
      Ctl(kIdSpacingAll),
      Ctl(kIdThisScore),
      Ctl(kIdNewScores),
  };
}

void KDlgStaffLineProps::OnHelp() { ShowHelpTopic(HelpTopic::kStaffLineProps); }
