#include "model/KRhythmObj.h"

#include <algorithm>
#include <string>

#include "model/ModelGlobals.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KRhythmObj, KPosObj, 90);

namespace {
// Bytes of the extension that this program knows: the position and the text
// length (the text follows them).
constexpr int kKnownExtension = 4;
constexpr int kMaxExtensionLength = 255;
constexpr int kMaxTextLength = 0xFFFF;
}  // namespace

KRhythmObj::KRhythmObj(int pos, int code) : KPosObj(pos) {
  if (code >= kFirstSymbolCode) {
    m_code = static_cast<BYTE>(code);
  } else {
    m_text = CString(static_cast<char>(code));
  }
}

KRhythmObj::KRhythmObj(int pos, const CString& text) : KPosObj(pos), m_text(text) {}

void KRhythmObj::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    const int length = m_text.GetLength();
    if (length > kMaxTextLength) AfxThrowArchiveException(CArchiveException::generic);
    const int pos = GetPos();
    ar << static_cast<WORD>((pos / kColumnPixels) & 0xFFFF);
    ar << (length > 0 ? static_cast<BYTE>(m_text.GetAt(0)) : m_code);
    // The length byte cannot count a text of 252 characters or more; 255 then
    // stands for "the text length decides", which readers honour since they
    // read the text by its own length and skip only what lies beyond it.
    const int extension = std::min(length + kKnownExtension, kMaxExtensionLength);
    ar << kExtensionMarker << static_cast<BYTE>(extension);
    ar << static_cast<BYTE>((pos >> 8) & 0xFF) << static_cast<BYTE>(pos & 0xFF);
    ar << static_cast<BYTE>(length >> 8) << static_cast<BYTE>(length & 0xFF);
    ar.Write(m_text.View().data(), static_cast<UINT>(length));
    ar << static_cast<BYTE>(m_linkCode);
    return;
  }

  // Read everything before changing anything.
  WORD column = 0;
  BYTE code = 0;
  BYTE next = 0;
  ar >> column >> code >> next;
  if (code == kMarkedCode) g_loadMarker = 1;
  int pos = column * kColumnPixels;  // a record without the block has only its column
  std::string text;
  if (next == kExtensionMarker) {
    BYTE extension = 0;
    ar >> extension;
    if (extension > 0) {
      BYTE high = 0, low = 0;
      ar >> high >> low;
      pos = high << 8 | low;
      ar >> high >> low;
      const int length = high << 8 | low;
      text.resize(static_cast<std::size_t>(length));
      if (length > 0) ar.Read(text.data(), static_cast<UINT>(length));
      const int beyond = extension - kKnownExtension - length;
      if (beyond > 0) {
        WarnNewerFileOnce();
        for (int i = 0; i < beyond; ++i) ar >> high;
      }
    }
    ar >> next;
  } else if (code != 0 && code < kFirstSymbolCode) {
    text.assign(1, static_cast<char>(code));
  }
  SetPos(pos);
  m_code = code;
  m_text = CString(std::string_view(text));
  m_linkCode = static_cast<signed char>(next);
}
