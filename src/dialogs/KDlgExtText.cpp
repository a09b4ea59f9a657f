#include "dialogs/KDlgExtText.h"

#include "common/HelpTopics.h"
#include "dialogs/DialogTextFont.h"
#include "dialogs/KDlgInetLink.h"
#include "platform/UiPort.h"

void KDlgExtText::DeclareControls(DialogControls& c) {
  c.SetTitle("Staff Line Text...");
  c.Edit(kIdText, text, kMaxTextChars);
  c.Button(kIdTextFont, "Text &Font...", DialogButtonRole::kAction, [this] { OnTextFont(); });
  c.Group(kIdBackgroundBox, "White space behind text should be:");
  c.RadioGroup(kIdTransparent, "&Transparent", background);
  c.Radio(kIdOpaque, "&Opaque");
  c.Button(kIdInternetLink, "Internet &Link...", DialogButtonRole::kAction, [this] { OnInternetLink(); });
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  // What the buttons change goes back on Cancel too.
  c.Keep(fontText);
  c.Keep(fontPicked);
  c.Keep(link);
}

void KDlgExtText::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Ctl(kIdText),
      Row({Box(kIdBackgroundBox, {Ctl(kIdTransparent), Ctl(kIdOpaque)}),
           Column({Ctl(kIdTextFont), Ctl(kIdInternetLink), Stretch()})}),
  };
}

void KDlgExtText::OnTextFont() {
  fontPicked = 1;
  ChooseTextFont(fontText);
  GotoDlgCtrl(IDOK);
}

void KDlgExtText::OnInternetLink() {
  KDlgInetLink dialog;
  dialog.link = link;
  if (dialog.DoModal() == IDOK) link = dialog.link;
  GotoDlgCtrl(IDOK);
}

void KDlgExtText::OnHelp() { ShowHelpTopic(HelpTopic::kExtText); }
