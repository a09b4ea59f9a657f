#include "dialogs/KDlgPrintSizeAlert.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgPrintSizeAlert::DeclareControls(DialogControls& c) {
  c.SetTitle("Printing Sheet Requirements...");
  c.Static(kIdIntro, "The longest line of this score is slightly wider than the printed page.");
  c.Static(kIdCurrentLabel, "At the current printout size");
  c.Static(kIdCurrentSize, currentSize.Str());
  c.Static(kIdWidestLine, "the longest line " + widestLine.Str());
  c.Static(kIdSheetsLabel, "needs this many sheets side by side:");
  c.Static(kIdSheets, sheets.Str());
  c.Static(kIdPortraitLabel, "It fits on one portrait sheet at");
  c.Static(kIdPortraitSize, portraitSize.Str());
  c.Static(kIdLandscapeLabel, "It fits on one landscape sheet at");
  c.Static(kIdLandscapeSize, landscapeSize.Str());
  c.Button(kIdContinue, "Continue With C&urrent Settings", DialogButtonRole::kCloses);
  c.Button(kIdUsePortrait, "Use The New &Portrait Settings", DialogButtonRole::kCloses);
  c.Button(kIdUseLandscape, "Use The New &Landscape Settings", DialogButtonRole::kCloses);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  if (!noCancel) c.Button(IDCANCEL, "&Cancel Printing", DialogButtonRole::kCancel);
}

void KDlgPrintSizeAlert::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Ctl(kIdIntro),
      Ctl(kIdWidestLine),
      Form({Field(kIdCurrentLabel, kIdCurrentSize), Field(kIdSheetsLabel, kIdSheets),
            Field(kIdPortraitLabel, kIdPortraitSize), Field(kIdLandscapeLabel, kIdLandscapeSize)}),
      Ctl(kIdContinue),
      Ctl(kIdUsePortrait),
      Ctl(kIdUseLandscape)};
}

void KDlgPrintSizeAlert::OnHelp() { ShowHelpTopic(HelpTopic::kPrintSizeAlert); }
