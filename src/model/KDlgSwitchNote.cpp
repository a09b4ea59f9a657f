#include "model/KDlgSwitchNote.h"

#include "common/HelpTopics.h"

const char* KDlgSwitchNote::ButtonText(int buttonId) {
  switch (buttonId) {
    case kChangeBoth:
      return "Change &BOTH up and down notes to the new note type (all notes will then have the same "
             "up/down orientation)";
    case kSameOrientation:
      return "Only change notes which have the &SAME up/down orientation as the new note type";
    case kKeepOrientation:
      return "Change both up and down notes to the new note      value, but retain their &ORIGINAL "
             "orientation";
    default:
      return "";
  }
}

int KDlgSwitchNote::ModeOfButton(int buttonId) {
  switch (buttonId) {
    case kChangeBoth:
      return kModeBoth;
    case kSameOrientation:
      return kModeSame;
    case kKeepOrientation:
      return kModeKeep;
    default:
      return 0;
  }
}

void KDlgSwitchNote::OnHelp() { ShowHelpTopic(HelpTopic::kNoteSwitch); }
