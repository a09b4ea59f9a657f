#include "lines/KChordPicLineDefaults.h"

namespace {
constexpr const char* kBuiltInChordNameFont = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr int kBuiltInDiagramPct = 100;
}  // namespace

CString g_defaultChordNameFontText = kBuiltInChordNameFont;
int g_defaultDiagramWidthPct = kBuiltInDiagramPct;
int g_defaultDiagramHeightPct = kBuiltInDiagramPct;

void ResetChordPicLineDefaults() {
  g_defaultChordNameFontText = kBuiltInChordNameFont;
  g_defaultDiagramWidthPct = kBuiltInDiagramPct;
  g_defaultDiagramHeightPct = kBuiltInDiagramPct;
}
