#include "common/SharedGdiObjects.h"

CFont g_FallbackFonts[2];
CFont g_DiagramFont;
CFont g_LabelFont;
CPen g_SharedPen;

void DeleteSharedGdiObjects() {
  for (CFont& font : g_FallbackFonts) font.DeleteObject();
  g_DiagramFont.DeleteObject();
  g_LabelFont.DeleteObject();
  g_SharedPen.DeleteObject();
}
