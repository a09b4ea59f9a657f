#pragma once
// KDlgInetLink: edits the Internet link of a staff line text and can open it
// to try it. The link is a web or mail address; the desktop opens only those.

#include "platform/ModalDialog.h"

class KDlgInetLink : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5138;
  static constexpr UINT kIdLink = 32079;
  static constexpr UINT kIdHelp = 32084;
  static constexpr UINT kIdTestLink = 1486;

  KDlgInetLink() : KModalDialog(kTemplateId) {}

  // Test Link...: takes the entered link, completes it with "www." in front
  // when it is shorter than 5 characters or names neither "www." nor "ftp.",
  // opens it, and shows the completed link. Cancel later puts back the link
  // the dialog opened with.
  void OnTestLink();
  void OnHelp();

  // The link as Test Link completes it.
  static CString CompletedLink(const CString& link);

  CString link;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
