#include "lines/TranslationServices.h"

int g_textTabMode = 1;
int g_rhythmAbove = 0;
int g_rhythmBelow = 0;
int g_tabTransposeBeams = 0;

void ResetTranslationServices() {
  g_textTabMode = 1;
  g_rhythmAbove = 0;
  g_rhythmBelow = 0;
  g_tabTransposeBeams = 0;
}
