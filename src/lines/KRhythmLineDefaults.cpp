#include "lines/KRhythmLineDefaults.h"

namespace {
constexpr const char* kBuiltInRhythmFont = "19,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman";
}

CString g_defaultRhythmFontText = kBuiltInRhythmFont;

void ResetRhythmLineDefaults() { g_defaultRhythmFontText = kBuiltInRhythmFont; }
