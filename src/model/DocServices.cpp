#include "model/DocServices.h"

namespace {
constexpr int kDefaultTabStringSpacing = 10;
}

int g_tabStringSpacing = kDefaultTabStringSpacing;
int g_midiImporting = 0;

int TabStringSpacing(int sizeIndex) {
  return sizeIndex == 1 ? g_tabStringSpacing * 11 / 8 : g_tabStringSpacing;
}

void ResetDocServices() {
  g_tabStringSpacing = kDefaultTabStringSpacing;
  g_midiImporting = 0;
}
