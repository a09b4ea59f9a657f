#include "dialogs/AutoSaveDialog.h"

#include "common/HelpTopics.h"

void KAutoSaveDialog::DeclareControls(DialogControls& c) {
  c.SetTitle("Autosave...");
  c.Group(kIdSaveBox, "Autosave");
  c.RadioGroup(kIdAutosave, "Automatically &save the current file...", choice);
  c.Radio(kIdDontAutosave, "&Don't Autosave");
  c.Static(kIdEveryText, "every");
  c.Number(kIdInterval, interval, kMinInterval, kMaxInterval);
  c.RadioGroup(kIdMinutes, "&Minutes elapsed", unit);
  c.Radio(kIdCharacters, "Characters &entered");
  c.Group(kIdOptionsBox, "Options");
  c.Check(kIdNewFiles, "Use these settings for all &new files created", newFiles);
  c.Static(kIdNewFilesNote, "(A new file asks for its name the first time it is to be autosaved.)");
  c.Check(kIdBackup, "Make a &backup file at start of", backup);
  c.Static(kIdBackupText, "every new editing session");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDOK, "&Accept ", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "&Cancel Changes", DialogButtonRole::kCancel);
}

void KAutoSaveDialog::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Box(kIdSaveBox, {Ctl(kIdAutosave),
                       Row({Ctl(kIdEveryText), Ctl(kIdInterval),
                            Column({Ctl(kIdMinutes), Ctl(kIdCharacters)}), Stretch()}),
                       Ctl(kIdDontAutosave)}),
      Box(kIdOptionsBox,
          {Ctl(kIdNewFiles), Ctl(kIdNewFilesNote), Row({Ctl(kIdBackup), Ctl(kIdBackupText), Stretch()})}),
  };
}

void KAutoSaveDialog::OnHelp() { ShowHelpTopic(HelpTopic::kAutoSave); }

bool KAutoSaveDialog::OnOK() {
  // The range the interval is checked against follows the unit chosen.
  DialogControls& c = Controls();
  if (DialogControl* field = c.Find(kIdInterval)) {
    field->maximum =
        c.RadioValue(kIdAutosave) == 0 && c.RadioValue(kIdMinutes) == 0 ? kMaxMinutes : kMaxCharacters;
  }
  return KModalDialog::OnOK();
}
