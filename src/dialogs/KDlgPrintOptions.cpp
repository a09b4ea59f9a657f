#include "dialogs/KDlgPrintOptions.h"

#include "common/HelpTopics.h"
#include "dialogs/DialogTextFont.h"
#include "dialogs/MarginUnits.h"
#include "platform/UiPort.h"

namespace {

// The highest starting page number a score keeps.
constexpr int kLastFirstPage = 9999;
// The print command checks the size itself, with its own message.
constexpr int kAnySize = 1000000;

}  // namespace

void KDlgPrintOptions::DeclareControls(DialogControls& c) {
  c.SetTitle("Printing Options For The Current Score (Saved With Current Score)");
  c.Group(kIdMarginsBox, "Margins");
  c.RadioGroup(kIdInches, "&Inches", units).WhenChanged([this] { OnUnits(0); });
  c.Radio(kIdMillimetres, "&Millimeters").WhenChanged([this] { OnUnits(1); });
  c.Static(kIdTopLabel, "Top:");
  c.Real(kIdTop, top);
  c.Static(kIdBottomLabel, "Bottom:");
  c.Real(kIdBottom, bottom);
  c.Static(kIdLeftLabel, "Left:");
  c.Real(kIdLeft, left);
  c.Static(kIdRightLabel, "Right:");
  c.Real(kIdRight, right);
  c.Check(kIdShowBreaks, "Sho&w page breaks (based on margins)", showBreaks);
  c.Static(kIdSizeLabel, "Printout size, % of normal (20-400):");
  c.Number(kIdSize, size, -kAnySize, kAnySize);
  c.Group(kIdOrientationBox, "Orientation");
  c.RadioGroup(kIdPortrait, "&Portrait", orientation);
  c.Radio(kIdLandscape, "&Landscape");
  c.Check(kIdKeepTogether, "&Keep grouped lines together on same page", keepTogether);
  c.Check(kIdAlert, "Alert if score is slightly larger than page si&ze", alert);
  c.Group(kIdNumberBox, "Page numbering");
  c.RadioGroup(kIdNoNumber, "&None", type);
  c.Radio(kIdFileNameNumber, "File N&ame + Page #");
  c.Radio(kIdTextNumber, "Page N&umbering Text + Page #");
  c.Static(kIdNumberTextLabel, "Page numbering text to use:");
  c.Edit(kIdNumberText, numberText, kMaxNumberTextChars).WhenChanged([this] {
    Controls().SetChecked(kIdTextNumber, 1);
  });
  c.Static(kIdFirstPageLabel, "Starting page number:");
  c.Number(kIdFirstPage, firstPage, 1, kLastFirstPage);
  c.Check(kIdXofY, "Use Pg. X of &Y format", pageXofY);
  c.Group(kIdPlaceBox, "Page number position");
  c.RadioGroup(kIdNumberAtTop, "&Top or", vertical);
  c.Radio(kIdNumberAtBottom, "&Bottom of page");
  c.RadioGroup(kIdLeftAlign, "Le&ft", horizontal);
  c.Radio(kIdCentre, "C&enter");
  c.Radio(kIdRightAlign, "&Right");
  c.Radio(kIdAlternate, "Pg 1,&3... Right / Pg 2,4... Left");
  c.Button(kIdFont, "Set Font of Page # Te&xt...", DialogButtonRole::kAction, [this] { OnFont(); });
  c.Check(kIdMakeDefault, "Make these settings the &default settings from now on", makeDefault);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(fontText);
}

void KDlgPrintOptions::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Column({Box(kIdMarginsBox, {Row({Ctl(kIdInches), Ctl(kIdMillimetres)}),
                                       Form({Field(kIdTopLabel, kIdTop), Field(kIdBottomLabel, kIdBottom),
                                             Field(kIdLeftLabel, kIdLeft), Field(kIdRightLabel, kIdRight)})}),
                   Form({Field(kIdSizeLabel, kIdSize)}),
                   Box(kIdOrientationBox, {Ctl(kIdPortrait), Ctl(kIdLandscape)}), Ctl(kIdShowBreaks),
                   Ctl(kIdKeepTogether), Ctl(kIdAlert), Stretch()}),
           Column({Box(kIdNumberBox, {Ctl(kIdNoNumber), Ctl(kIdFileNameNumber), Ctl(kIdTextNumber),
                                      Form({Field(kIdNumberTextLabel, kIdNumberText),
                                            Field(kIdFirstPageLabel, kIdFirstPage)}),
                                      Ctl(kIdXofY), Ctl(kIdFont)}),
                   Box(kIdPlaceBox, {Row({Ctl(kIdNumberAtTop), Ctl(kIdNumberAtBottom)}), Ctl(kIdLeftAlign),
                                     Ctl(kIdCentre), Ctl(kIdRightAlign), Ctl(kIdAlternate)}),
                   Stretch()})}),
      Ctl(kIdMakeDefault),
  };
}

BOOL KDlgPrintOptions::OnInitDialog() {
  KModalDialog::OnInitDialog();
  m_unitsShown = units;
  return TRUE;
}

void KDlgPrintOptions::OnUnits(int newUnits) {
  ConvertMarginFields(Controls(), {kIdTop, kIdBottom, kIdLeft, kIdRight}, m_unitsShown, newUnits);
  m_unitsShown = newUnits;
}

void KDlgPrintOptions::OnFont() {
  ChooseTextFont(fontText);
  GotoDlgCtrl(IDOK);
}

void KDlgPrintOptions::OnHelp() { ShowHelpTopic(HelpTopic::kPrintOptions); }
