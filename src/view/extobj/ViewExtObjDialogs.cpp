#include "view/extobj/ViewExtObjDialogs.h"

#include "dialogs/KDlgExtText.h"
#include "dialogs/KDlgPhraseLine.h"
#include "dialogs/KDlgTriplet.h"
#include "platform/UiPort.h"

bool AskExtText(KExtTextChoice& choice) {
  KDlgExtText dialog;
  dialog.fontText = choice.fontText;
  dialog.text = choice.text;
  dialog.background = choice.background;
  dialog.link = choice.link;
  if (dialog.DoModal() != IDOK) return false;
  choice.fontText = dialog.fontText;
  choice.fontPicked = dialog.fontPicked;
  choice.text = dialog.text;
  choice.background = dialog.background;
  choice.link = dialog.link;
  return true;
}

bool AskTriplet(KTripletChoice& choice) {
  KDlgTriplet dialog;
  dialog.text = choice.text;
  dialog.direction = choice.direction;
  if (dialog.DoModal() != IDOK) return false;
  choice.text = dialog.text;
  choice.direction = dialog.direction;
  return true;
}

bool AskBracketStyle(KBracketChoice& choice) {
  KDlgPhraseLine dialog;
  dialog.fontText = choice.fontText;
  dialog.style = choice.style;
  dialog.textChoice = choice.textChoice;
  dialog.customText = choice.customText;
  if (dialog.DoModal() != IDOK) return false;
  choice.fontText = dialog.fontText;
  choice.fontPicked = dialog.fontPicked;
  choice.style = dialog.style;
  choice.textChoice = dialog.textChoice;
  choice.customText = dialog.customText;
  return true;
}
