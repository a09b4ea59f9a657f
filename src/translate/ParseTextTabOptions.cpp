#include "translate/ParseTextTabOptions.h"

int g_textTabBassKinds = 4;
int g_textTabBanjoFingering = 1;
int g_textTabRemoveRows = 0;

void ResetTextTabOptions() {
  g_textTabBassKinds = 4;
  g_textTabBanjoFingering = 1;
  g_textTabRemoveRows = 0;
}
