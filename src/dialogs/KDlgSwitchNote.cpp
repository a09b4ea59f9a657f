#include "dialogs/KDlgSwitchNote.h"

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

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

int KDlgSwitchNote::AskMode() {
  KDlgSwitchNote dialog;
  return ModeOfButton(dialog.DoModal());
}

void KDlgSwitchNote::DeclareControls(DialogControls& c) {
  c.SetTitle("Changing Note Type...");
  c.Icon(kIdIcon);
  c.Static(kIdBothText, "There are both Up and Down notes in the selection.");
  c.Static(kIdHowText, "How do you want to do the note change?");
  for (const int id : {kSameOrientation, kChangeBoth, kKeepOrientation})
    c.Button(static_cast<UINT>(id), ButtonText(id), DialogButtonRole::kCloses);
  c.Button(kHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
}

void KDlgSwitchNote::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({Ctl(kIdIcon), Column({Ctl(kIdBothText), Ctl(kIdHowText)}), Stretch()}),
                     Ctl(kSameOrientation), Ctl(kChangeBoth), Ctl(kKeepOrientation)};
}

void KDlgSwitchNote::OnHelp() { ShowHelpTopic(HelpTopic::kNoteSwitch); }
