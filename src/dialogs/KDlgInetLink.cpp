#include "dialogs/KDlgInetLink.h"

#include "common/HelpTopics.h"
#include "platform/ShellPort.h"
#include "platform/UiPort.h"

void KDlgInetLink::DeclareControls(DialogControls& c) {
  c.SetTitle("Staff Text Internet Link");
  c.Edit(kIdLink, link);
  c.Button(kIdTestLink, "&Test Link...", DialogButtonRole::kAction, [this] { OnTestLink(); });
  c.Button(IDOK, "OK", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
  c.Button(kIdHelp, "Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
}

void KDlgInetLink::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Ctl(kIdLink), Row({Stretch(), Ctl(kIdTestLink)})};
}

CString KDlgInetLink::CompletedLink(const CString& link) {
  if (link.GetLength() < 5 || (link.Find("www.") < 0 && link.Find("ftp.") < 0)) return CString("www.") + link;
  return link;
}

void KDlgInetLink::OnTestLink() {
  UpdateData(TRUE);
  link = CompletedLink(link);
  OpenLink(link.View());
  UpdateData(FALSE);
  GotoDlgCtrl(IDOK);
}

void KDlgInetLink::OnHelp() { ShowHelpTopic(HelpTopic::kInternetLink); }
