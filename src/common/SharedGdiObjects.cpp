#include "common/SharedGdiObjects.h"

#include <cstring>

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

namespace {

LOGFONT Font(int height, int weight, const char* face) {
  LOGFONT font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  std::strncpy(font.lfFaceName, face, sizeof(font.lfFaceName) - 1);
  return font;
}

}  // namespace

bool CreateSharedGdiObjects() {
  DeleteSharedGdiObjects();
  // The rhythm lines' own font at the two symbol sizes, bold Times.
  const LOGFONT small = Font(19, 700, "Times New Roman");
  const LOGFONT large = Font(25, 700, "Times New Roman");
  const LOGFONT diagram = Font(12, 400, "Arial");
  const LOGFONT label = Font(14, 400, "Arial");
  bool made = g_FallbackFonts[0].CreateFontIndirect(&small) != FALSE;
  made = g_FallbackFonts[1].CreateFontIndirect(&large) != FALSE && made;
  made = g_DiagramFont.CreateFontIndirect(&diagram) != FALSE && made;
  made = g_LabelFont.CreateFontIndirect(&label) != FALSE && made;
  made = g_SharedPen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0)) != FALSE && made;
  return made;
}
