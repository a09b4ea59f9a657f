#include "common/AppServices.h"

namespace {
// The defaults of the preferences "PrintCorr" ("100,100,2,2,2,0") and
// "PrintCorr2" ("90,...").
constexpr int kPrintCorr = 100;
constexpr int kLineWidth = 2;
constexpr int kTextPrintCorr = 90;
}  // namespace

std::int32_t g_fileVersion = kCurrentFileVersion;
int g_coloredText = 0;
int g_lineGroupRepair = 0;
int g_printCorrX = kPrintCorr;
int g_printCorrY = kPrintCorr;
int g_lineWidthSetting = kLineWidth;
int g_textPrintCorr = kTextPrintCorr;
int g_fingerRowOption = 0;

void ResetAppServices() {
  g_fileVersion = kCurrentFileVersion;
  g_coloredText = 0;
  g_lineGroupRepair = 0;
  g_printCorrX = kPrintCorr;
  g_printCorrY = kPrintCorr;
  g_lineWidthSetting = kLineWidth;
  g_textPrintCorr = kTextPrintCorr;
  g_fingerRowOption = 0;
}
