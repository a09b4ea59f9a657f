#include "dialogs/KDlgSetLineLength.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgSetLineLength::OnUserLengthChanged() { Controls().SetChecked(kIdUser, 1); }

void KDlgSetLineLength::OnSourceChosen(UINT id) {
  if (Controls().Checked(id) == 0) return;
  if (id == kIdSameAsLine || id == kIdWindowWidth || id == kIdUser) Controls().SetChecked(kIdFixed, 1);
}

void KDlgSetLineLength::OnHelp() { ShowHelpTopic(HelpTopic::kSetLineLength); }

void KDlgSetLineLength::DeclareControls(DialogControls& c) {
  c.SetTitle("Set Constant Staff Length");
  c.RadioGroup(kIdFixed, "&Fixed staff length", fixed);
  c.Radio(kIdNoConstraint, "&No constraint on staff length");
  c.Group(kIdSourceBox, "Length");
  c.RadioGroup(kIdSameAsLine, "Same as current l&ine ", source).WhenChanged([this] {
    OnSourceChosen(kIdSameAsLine);
  });
  c.Static(kIdLineLengthText, lineLengthText.Str());
  c.Radio(kIdWindowWidth, "Current &width of window").WhenChanged([this] { OnSourceChosen(kIdWindowWidth); });
  c.Static(kIdWindowWidthText, windowWidthText.Str());
  c.Radio(kIdCaret, "Current position of care&t");
  c.Radio(kIdAfterLast, "After &last symbol in current / each line");
  c.Radio(kIdUser, "&User set length:").WhenChanged([this] { OnSourceChosen(kIdUser); });
  c.Number(kIdUserLength, userLength, 0, kMaxUserLength).WhenChanged([this] { OnUserLengthChanged(); });
  c.Static(kIdPixelsNote, "(pixels)");
  c.Group(kIdRangeBox, "Apply to");
  c.RadioGroup(kIdCurrentOnly, "Onl&y current (or selected) line(s)", range);
  c.Radio(kIdFromCurrent, "Fro&m current line onward");
  c.Radio(kIdAllLines, "All lines in &score");
  c.Check(kIdMakeDefault, "Ma&ke this line length the default for all new lines", makeDefault);
  c.Check(kIdAutoWrap, "&Automatically wrap music to fit new line length", autoWrap);
  c.Check(kIdEvenSpace, "&Evenly space notation within new line length", evenSpace);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgSetLineLength::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdFixed), Ctl(kIdNoConstraint), Stretch()}),
      Box(kIdSourceBox,
          {Row({Ctl(kIdSameAsLine), Ctl(kIdLineLengthText), Stretch()}),
           Row({Ctl(kIdWindowWidth), Ctl(kIdWindowWidthText), Stretch()}), Ctl(kIdCaret), Ctl(kIdAfterLast),
           Row({Ctl(kIdUser), Ctl(kIdUserLength), Ctl(kIdPixelsNote), Stretch()})}),
      Box(kIdRangeBox, {Ctl(kIdCurrentOnly), Ctl(kIdFromCurrent), Ctl(kIdAllLines)}),
      Ctl(kIdMakeDefault),
      Ctl(kIdAutoWrap),
      Ctl(kIdEvenSpace),
  };
}
