#include "lines/TabLineOptions.h"

namespace {
// Twelve pixels of space below (the default) plus the twenty a seventh string
// adds reach this, so the space grows once.
constexpr int kDefaultWideSpaceLimit = 30;
}  // namespace

int g_tabAltTuningNames = 1;
int g_tabWideSpaceLimit = kDefaultWideSpaceLimit;
int g_tabShowTabWord = 1;
int g_tabNoNameBoxes = 0;

void ResetTabLineOptions() {
  g_tabAltTuningNames = 1;
  g_tabWideSpaceLimit = kDefaultWideSpaceLimit;
  g_tabShowTabWord = 1;
  g_tabNoNameBoxes = 0;
}
