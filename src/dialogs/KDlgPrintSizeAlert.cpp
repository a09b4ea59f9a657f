#include "dialogs/KDlgPrintSizeAlert.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgPrintSizeAlert::DeclareControls(DialogControls& c) {
  c.SetTitle("Printing Sheet Requirements...");
  c.Static(kIdIntro, "The longest line of this score is slightly wider than the printed page.");
  c.Static(kIdCurrentLabel, "Current printout size:");
  c.Static(kIdCurrentSize, currentSize.Str());
  c.Static(kIdWidestLabel, "Longest line:");
  c.Static(kIdWidestLine, widestLine.Str());
  c.Static(kIdSheetsLabel, "Sheets it needs side by side:");
  c.Static(kIdSheets, sheets.Str());
  c.Static(kIdPortraitLabel, "It fits one portrait sheet at:");
  c.Static(kIdPortraitSize, portraitSize.Str());
  c.Static(kIdLandscapeLabel, "It fits one landscape sheet at:");
  c.Static(kIdLandscapeSize, landscapeSize.Str());
  c.Button(kIdContinue, "Continue With C&urrent Settings", DialogButtonRole::kCloses);
  c.Button(kIdUsePortrait, "Use The New &Portrait Settings", DialogButtonRole::kCloses);
  c.Button(kIdUseLandscape, "Use The New &Landscape Settings", DialogButtonRole::kCloses);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  if (!noCancel) c.Button(IDCANCEL, "&Cancel Printing", DialogButtonRole::kCancel);
}

void KDlgPrintSizeAlert::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Ctl(kIdIntro),
                     Form({Field(kIdCurrentLabel, kIdCurrentSize), Field(kIdWidestLabel, kIdWidestLine),
                           Field(kIdSheetsLabel, kIdSheets), Field(kIdPortraitLabel, kIdPortraitSize),
                           Field(kIdLandscapeLabel, kIdLandscapeSize)}),
                     Ctl(kIdContinue), Ctl(kIdUsePortrait), Ctl(kIdUseLandscape)};
}

void KDlgPrintSizeAlert::OnHelp() { ShowHelpTopic(HelpTopic::kPrintSizeAlert); }
