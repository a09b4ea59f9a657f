#include "common/SharedGdiObjects.h"

#include <cstring>

#include "common/ErrorReporter.h"

CFont g_FallbackFonts[2];
CFont g_DiagramFont;
CFont g_LabelFont;
CPen g_SharedPen;
CFont g_fontCourier[2];
CFont g_fontTimesBoldItalic;
CFont g_fontTimesItalic;
CPen g_penWindowColour;

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

constexpr BYTE kFixedModern = 0x31;
constexpr BYTE kVariableRoman = 0x14;

LOGFONT NamedFont(int height, int weight, bool italic, BYTE pitchAndFamily, const char* face) {
  LOGFONT font = Font(height, weight, face);
  font.lfItalic = italic ? 1 : 0;
  font.lfPitchAndFamily = pitchAndFamily;
  return font;
}

bool Made(CFont& font, const LOGFONT& logFont, const char* place) {
  if (font.CreateFontIndirect(&logFont) != FALSE) return true;
  ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, place);
  return false;
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

void DeleteNamedGdiObjects() {
  for (CFont& font : g_fontCourier) font.DeleteObject();
  g_fontTimesItalic.DeleteObject();
  g_fontTimesBoldItalic.DeleteObject();
  g_penWindowColour.DeleteObject();
}

bool CreateNamedGdiObjects() {
  DeleteNamedGdiObjects();
  if (!Made(g_fontCourier[0], NamedFont(14, 700, false, kFixedModern, "Courier New"), "SVd-3")) return false;
  if (!Made(g_fontCourier[1], NamedFont(17, 700, false, kFixedModern, "Courier New"), "SVd-3")) return false;
  if (!Made(g_fontTimesBoldItalic, NamedFont(13, 700, true, kVariableRoman, "Times New Roman"), "SVd-4"))
    return false;
  if (!Made(g_fontTimesItalic, NamedFont(11, 400, true, kVariableRoman, "Times New Roman"), "SVd-5"))
    return false;
  if (g_penWindowColour.CreatePen(PS_SOLID, 0, kWindowColour) == FALSE) {
    ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "SVd-11");
    return false;
  }
  return true;
}
