// The record of a text line, after the line base part (which for a text line
// also carries its attachments as packed words):
//
//   font number   BYTE     0 to 40
//   text          string
//
// Every file version stores these two fields. A font number above 40 names no
// entry of the score's font table: such a record is damaged and refused, and a
// line holding one is not written. The column-x cache is not stored; it is
// invalid after loading.

#include "lines/KStrLine.h"
#include "platform/CArchive.h"

namespace {
bool IsFontNumber(int number) { return number >= 0 && number <= KStrLine::kMaxFontNumber; }
}  // namespace

void KStrLine::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    if (!IsFontNumber(m_fontNumber)) AfxThrowArchiveException(CArchiveException::generic);
    KLineObj::Serialize(ar);
    ar << static_cast<BYTE>(m_fontNumber) << m_text;
    return;
  }

  KLineObj::Serialize(ar);
  // A text line's record that names another kind is damaged: the rest of the
  // program would take the line for a line of that kind.
  if (m_type != kKind) AfxThrowArchiveException(CArchiveException::generic);
  BYTE fontNumber = 0;
  CString text;
  ar >> fontNumber >> text;
  if (!IsFontNumber(fontNumber)) AfxThrowArchiveException(CArchiveException::generic);
  m_fontNumber = fontNumber;
  m_text = text;
  m_columnXCount = -1;
}
