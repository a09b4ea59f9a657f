#include "view/KDlgRemoveWhat.h"

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

void KDlgRemoveWhat::OnHelp() { ShowHelpTopic(HelpTopic::kRemove); }
