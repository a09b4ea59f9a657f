#include "model/KChordPic.h"

#include <algorithm>
#include <climits>

#include "common/Globals.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"
#include "platform/GdiObjects.h"

IMPLEMENT_SERIAL(KChordPic, KPosObj, 90);

namespace {
// Where the finger label stands in a shape, and its length.
constexpr int kFingerLabelStart = 7;
constexpr int kFingerLabelLength = 8;
constexpr int kFlagBase = 14;
}  // namespace

KChordPic::KChordPic() = default;

KChordPic::KChordPic(int pos, const CString& name, const CString& shape, int setting)
    : KPosObj(pos), m_shape(shape), m_setting(setting), m_name(name) {}

KChordPic::~KChordPic() = default;

int KChordPic::GetWidth(int explicitOnly) const {
  if (explicitOnly != 0 && m_width == -1) return -1;
  if (m_width > 0) return m_width;
  const long long width = static_cast<long long>(m_name.GetLength()) * g_ChordNameWidth[0];
  return static_cast<int>(std::min<long long>(width, INT_MAX));
}

CString KChordPic::GetFingerLabel() const {
  if (m_shape.GetLength() < kFullShapeLength) return CString();
  CString label = m_shape.Mid(kFingerLabelStart, kFingerLabelLength);
  label.TrimRight(' ');
  return label;
}

int KChordPic::IsShapeFlagSet(int i) const {
  if (m_shape.GetLength() < kFullShapeLength || i < -kFlagBase || i >= m_shape.GetLength()) return 0;
  return m_shape.GetAt(kFlagBase + i) == '1' ? 1 : 0;
}

void KChordPic::Normalise() {
  if (m_shape.GetLength() < kMinShapeLength || m_setting < 1) {
    m_setting = 1;
    m_shape = kDefaultShape;
  }
}

void KChordPic::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    KPosObj::Serialize(ar);
    ar << m_name;
    const auto setting = static_cast<BYTE>(m_setting & 0xFF);
    // The setting's place may hold an extension block, so an ordinary byte
    // there is never the marker: a setting whose low byte is the marker goes
    // out behind an empty block, which every reader skips.
    if (setting == kExtensionMarker) WriteExtensionBlock(ar, {});
    ar << setting;
    ar << m_shape;
    Normalise();
    return;
  }

  // Read everything before changing anything.
  WORD pos = 0;
  ar >> pos;
  CString name;
  ar >> name;
  const BYTE setting = ReadByteAfterExtension(ar, {});
  CString shape;
  ar >> shape;
  SetPos(pos);
  m_name = name;
  m_setting = static_cast<signed char>(setting);
  m_shape = shape;
  Normalise();
}
