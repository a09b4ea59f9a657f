#include "dialogs/KDlgRemoveWhat.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

const char* KDlgRemoveWhat::ButtonText(int buttonId) {
  switch (buttonId) {
    case kRemoveLine:
      return "Remove this &line from the group";
    case kRemoveGroup:
      return "Remove the &whole group";
    case kHelp:
      return "&Help";
    case IDCANCEL:
      return "&Cancel";
    default:
      return "";
  }
}

void KDlgRemoveWhat::DeclareControls(DialogControls& c) {
  c.SetTitle(Caption());
  c.Icon(kIdIcon);
  c.Static(kIdQuestion, Question());
  c.Button(kRemoveLine, ButtonText(kRemoveLine), DialogButtonRole::kCloses);
  c.Button(kRemoveGroup, ButtonText(kRemoveGroup), DialogButtonRole::kCloses);
  c.Button(kHelp, ButtonText(kHelp), DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, ButtonText(IDCANCEL), DialogButtonRole::kCancel);
}

void KDlgRemoveWhat::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({Ctl(kIdIcon), Ctl(kIdQuestion), Stretch()}), Ctl(kRemoveLine), Ctl(kRemoveGroup)};
}

void KDlgRemoveWhat::OnHelp() { ShowHelpTopic(HelpTopic::kRemove); }
