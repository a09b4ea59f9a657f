#include "model/LineServices.h"

namespace {
// The built-in defaults of "StaffLines2", "Midi" and the
// per-class instrument preferences.
constexpr int kDefaultPrograms[kInstrumentClassCount] = {1, 34, 26, 130, 42, 58, 34};
constexpr int kDefaultVolume = 100;
constexpr int kStaffAbove = 22;
constexpr int kStaffBelow = 26;
constexpr int kTabAbove = 14;
constexpr int kTabBelow = 12;
}  // namespace

int g_defaultIndent = 0;
int g_defaultVolume = kDefaultVolume;
int g_defaultPrograms[kInstrumentClassCount] = {1, 34, 26, 130, 42, 58, 34};
int g_staffSpaceAbove = kStaffAbove;
int g_staffSpaceBelow = kStaffBelow;
int g_tabSpaceAbove = kTabAbove;
int g_tabSpaceBelow = kTabBelow;

void ResetLineServices() {
  g_defaultIndent = 0;
  g_defaultVolume = kDefaultVolume;
  for (int i = 0; i < kInstrumentClassCount; ++i) g_defaultPrograms[i] = kDefaultPrograms[i];
  g_staffSpaceAbove = kStaffAbove;
  g_staffSpaceBelow = kStaffBelow;
  g_tabSpaceAbove = kTabAbove;
  g_tabSpaceBelow = kTabBelow;
}
