#include "lines/KRhythmLine.h"

#include <algorithm>
#include <climits>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "common/SharedGdiObjects.h"
#include "lines/KRhythmLineDefaults.h"
#include "model/KRhythmObj.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KRhythmLine, KListLine, 90);

namespace {
// The large font is this percentage of the normal one.
constexpr long long kLargeFontPct = 125;
}  // namespace

KRhythmLine::KRhythmLine() : KRhythmLine(0, g_defaultRhythmFontText) {}

KRhythmLine::KRhythmLine(int key, const CString& fontText) : KListLine(key, kKind, 0, kNoGroup, 0) {
  SetFont(fontText);
}

KRhythmLine::~KRhythmLine() {
  while (!m_oldSymbols.IsEmpty()) delete m_oldSymbols.RemoveHead();
}

const CRuntimeClass* KRhythmLine::GetObjClass() const { return RUNTIME_CLASS(KRhythmObj); }

void KRhythmLine::SetFont(const CString& fontText) {
  m_fontText = fontText;
  MakeFonts("ClTCR-89", "ClTCR-90");
}

void KRhythmLine::MakeFonts(const char* normalCode, const char* largeCode) {
  for (CFont& font : m_fonts) font.DeleteObject();
  LOGFONT logFont;
  StringToLogFont(m_fontText, logFont);
  m_textColor = static_cast<COLORREF>(logFont.lfEscapement);
  logFont.lfEscapement = 0;

  const char* codes[2] = {normalCode, largeCode};
  for (int size = 0; size < 2; ++size) {
    if (size == 1) {
      const long long large = logFont.lfHeight * kLargeFontPct / 100;
      logFont.lfHeight = static_cast<LONG>(std::clamp<long long>(large, INT_MIN, INT_MAX));
    }
    if (m_fonts[size].CreateFontIndirect(&logFont)) {
      m_fontPtr[size] = &m_fonts[size];
    } else {
      m_fontPtr[size] = &g_FallbackFonts[size];
      ReportInternalError(kMsgInternalProblem, codes[size]);
    }
    m_fontHeight[size] = logFont.lfHeight;
  }
}
