// Actions/Translate/Settings: the translation options in the "Line and
// Clipboard Translation" dialog, and, when asked, stored as the preference.

#include <algorithm>

#include "dialogs/KDlgTranslation.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/TranslationServices.h"
#include "view/CStavlinView.h"

void CStavlinView::OnTranslateSettings() {
  KPrefTranslation& t = g_prefTranslation;
  KDlgTranslation dialog;
  dialog.textTabDetail = std::clamp(t.options[0], 0, 2);
  dialog.action = std::clamp(t.options[1], 0, 2);
  dialog.grouping = t.options[2] != 0 ? 1 : 0;
  dialog.mutual = t.options[3] != 0 ? 1 : 0;
  dialog.merge = t.mergeStaffs != 0 ? 1 : 0;
  dialog.bassOutOfRange = t.shiftBassIntoRange != 0 ? 1 : 0;
  dialog.valuesAbove = t.takeAbove != 0 ? 1 : 0;
  dialog.valuesBelow = t.takeBelow != 0 ? 1 : 0;
  if (dialog.DoModal() != IDOK) return;
  t.options[0] = std::clamp(dialog.textTabDetail, 0, 2);
  t.options[1] = std::clamp(dialog.action, 0, 2);
  t.options[2] = dialog.grouping;
  t.options[3] = dialog.mutual;
  t.mergeStaffs = dialog.merge;
  t.shiftBassIntoRange = dialog.bassOutOfRange;
  t.takeAbove = dialog.valuesAbove;
  t.takeBelow = dialog.valuesBelow;
  // The lines read their copies of the options.
  g_textTabMode = t.options[0];
  g_rhythmAbove = t.takeAbove;
  g_rhythmBelow = t.takeBelow;
  g_shiftBassIntoTabRange = t.shiftBassIntoRange;
  if (dialog.permanent != 0) WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kTranslation);
}
