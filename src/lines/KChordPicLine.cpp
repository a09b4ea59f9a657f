#include "lines/KChordPicLine.h"

#include <algorithm>
#include <climits>

#include "common/AppServices.h"
#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "common/SharedGdiObjects.h"
#include "lines/KChordPicLineDefaults.h"
#include "model/KChordPic.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KChordPicLine, KListLine, 90);

const KChordPic* AsChordPic(const CObject* object) {
  return object != nullptr && object->IsKindOf(RUNTIME_CLASS(KChordPic))
             ? static_cast<const KChordPic*>(object)
             : nullptr;
}

KChordPic* AsChordPic(CObject* object) {
  return const_cast<KChordPic*>(AsChordPic(static_cast<const CObject*>(object)));
}

KChordPicLine::KChordPicLine()
    : KChordPicLine(0, kStandardTuning, g_defaultChordNameFontText, g_defaultDiagramWidthPct,
                    g_defaultDiagramHeightPct) {}

KChordPicLine::KChordPicLine(int key, const CString& tuning, const CString& nameFontText, int widthPct,
                             int heightPct)
    : KListLine(key, kKind, 0, kNoGroup, 0), m_widthPct(widthPct), m_heightPct(heightPct) {
  ReplaceTuning(tuning);
  SetNameFont(nameFontText);
}

KChordPicLine::~KChordPicLine() = default;

void KChordPicLine::ReplaceTuning(const CString& tuning) {
  m_tuning = tuning;
  m_fretCount = ParseFretList(m_tuning, &m_fretMap);
}

void KChordPicLine::SetNameFont(const CString& fontText) {
  m_nameFontText = fontText;
  LOGFONT logFont;
  StringToLogFont(m_nameFontText, logFont);
  m_nameColor = static_cast<COLORREF>(logFont.lfEscapement);
  logFont.lfEscapement = 0;
  m_nameFont.DeleteObject();
  if (m_nameFont.CreateFontIndirect(&logFont)) {
    m_currentNameFont = &m_nameFont;
  } else {
    m_currentNameFont = &g_FallbackFonts[0];
    ReportInternalError(kMsgInternalProblem, "ClTCR-89");
  }
  m_nameFontHeight = logFont.lfHeight;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    if (KChordPic* diagram = AsChordPic(m_objects.GetNext(node))) diagram->SetWidth(-1);
  }
  m_changed = 1;
}

int KChordPicLine::GetExtraDiagramRows() const {
  const int rows = TestFlags(kFlagExtraRows) ? GetFlagValue(kFlagExtraRows) : 0;
  return rows + (g_fingerRowOption != 0 && TestFlags(kFlagFingerRow) ? 1 : 0);
}

int KChordPicLine::GetLineHeight(int withDiagrams) const {
  if (!TestFlags(kFlagShowDiagrams) && withDiagrams == 0) return m_nameFontHeight;
  const long long diagram =
      (static_cast<long long>(GetExtraDiagramRows()) * kRowHeight + kDiagramHeight) * m_heightPct / 100;
  return static_cast<int>(std::clamp<long long>(m_nameFontHeight + diagram, INT_MIN, INT_MAX));
}

int KChordPicLine::GetDiagramWidth(const KPosObj& object) const {
  const KChordPic* diagram = AsChordPic(&object);
  return diagram != nullptr ? diagram->GetWidth(0) : 0;
}

const CRuntimeClass* KChordPicLine::GetObjClass() const { return RUNTIME_CLASS(KChordPic); }
