#include "doc/pref_values/PreferenceWriters.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"
#include "pref_sheet/PreferencesSheet.h"

namespace {
constexpr UINT kMsgStoreProblem = 7033;
constexpr const char* kRootKey = "Software\\Stavlin";
}  // namespace

KPrefStoreResult RunPreferencesSheet(const KPrefSheetContext& context) {
  KPreferencesSheet pages;
  FillPreferencePages(pages, context);
  if (pages.Sheet().DoModal() != IDOK) return {};
  HKEY key = nullptr;
  if (RegOpenKey(HKEY_CURRENT_USER, kRootKey, &key) != ERROR_SUCCESS) {
    AfxMessageBox(kMsgStoreProblem, MB_OK);
    KPrefStoreResult failed;
    failed.storeFailed = true;
    return failed;
  }
  const KPrefStoreResult result = StorePreferencePages(pages, context);
  // A group the store refuses keeps its new value for this run.
  for (const KPrefGroup group : result.changed) WritePreferenceGroup(key, group);
  if (result.saveToolboxPositions) WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kToolBoxPos);
  RegCloseKey(key);
  return result;
}
