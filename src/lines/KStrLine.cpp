#include "lines/KStrLine.h"

#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KStrLine, KLineObj, 90);

KStrLine::KStrLine() : KStrLine(0) {}

KStrLine::KStrLine(const CString& text, int fontNumber)
    : KLineObj(kKind, 0, kNoGroup, 0, 0), m_text(text), m_fontNumber(fontNumber) {}

KStrLine::KStrLine(const char* text, int fontNumber) : KStrLine(CString(text), fontNumber) {}

KStrLine::KStrLine(int fontNumber) : KStrLine(CString(), fontNumber) {}

KStrLine::~KStrLine() = default;

void KStrLine::SetText(const CString& text) {
  m_text = text;
  m_columnXCount = -1;
}

void KStrLine::SetColumnX(int index, int x) {
  if (index >= 0 && index < kColumnXCount) m_columnX[index] = x;
}

bool KStrLine::HoldsNothing(int clear) {
  if (GetAttachmentCount() != 0) return false;
  CString trimmed = m_text;
  trimmed.TrimLeft();
  if (!trimmed.IsEmpty()) return false;
  if (clear != 0 && !m_text.IsEmpty()) SetText(CString());
  return true;
}

int KStrLine::GetColumnX(int index) const {
  return index >= 0 && index < kColumnXCount ? m_columnX[index] : 0;
}
