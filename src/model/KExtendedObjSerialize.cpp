// The archive record of an attachment, after the position word:
//
//   [marker 250, count N, N bytes]  an extension block (none is written)
//   BYTE   kind (signed)
//   BYTE   row (signed)
//   int    anchorX, anchorY, sizeX, sizeY
//   CString  the coded geometry (kinds 0, 1, 6), the plain text (kind 2 and
//            empty texts) or the composed text (the others)
//
// Kinds whose anchor is not a point of their own (below 0, and 2 and above but
// 6) store their offset in the anchor's place. Files older than format 33 had
// no coded texts; their objects get the shapes that format drew.

#include "common/AppServices.h"
#include "model/KExtendedObj.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"

namespace {
// The file format from which attachments carry offsets and coded geometry.
constexpr int kCodedGeometryVersion = 33;
// Old-format defaults.
constexpr int kOldHairpinHeight = 7;
constexpr int kOldBracketHeight = 6;
constexpr const char* kOldTupletText = "-3";
// The width a loaded object of a kind other than 3 gets when it has none.
constexpr int kMinimumWidth = 5;
}  // namespace

void KExtendedObj::Serialize(CArchive& ar) {
  KPosObj::Serialize(ar);
  if (ar.IsStoring()) {
    if (AnchorIsOffset()) SetAnchor(m_offsetX, m_offsetY);
    const auto kindByte = static_cast<BYTE>(m_kind & 0xFF);
    // A kind whose byte is the extension marker goes behind an empty block, so
    // that readers take it for the kind and not for a block.
    if (kindByte == kExtensionMarker) WriteExtensionBlock(ar, {});
    ar << kindByte << static_cast<BYTE>(m_row & 0xFF);
    ar << m_anchorX << m_anchorY << m_sizeX << m_sizeY;
    ar << StoredText();
    return;
  }

  // Read everything before changing anything.
  const int kind = static_cast<signed char>(ReadByteAfterExtension(ar, {}));
  BYTE row = 0;
  int anchorX = 0, anchorY = 0, sizeX = 0, sizeY = 0;
  CString stored;
  ar >> row >> anchorX >> anchorY >> sizeX >> sizeY >> stored;

  m_kind = kind;
  m_row = static_cast<signed char>(row);
  SetAnchor(anchorX, anchorY);
  m_sizeX = sizeX <= 0 && kind != kTextBox ? kMinimumWidth : sizeX;
  m_sizeY = sizeY;
  FinishLoad(stored, true);
}

void KExtendedObj::FinishLoad(const CString& stored, bool checkVersion) {
  m_text = stored;
  m_visited = 0;
  if (HasCodedGeometry()) {
    // Shapes without a text carry no text fields.
    m_fontText.Empty();
    m_linkTarget.Empty();
    m_opaque = 0;
    m_color = 0;
    DeleteFont();
  }
  m_offsetX = m_offsetY = 0;
  SetPoint(0, 0, 0);
  SetPoint(1, 0, 0);
  if (checkVersion && g_fileVersion < kCodedGeometryVersion) {
    if (!HasCodedGeometry()) DecomposeText(stored);
    if (IsCurve()) {
      SetPoint(0, m_sizeX / 3, m_anchorY);
      SetPoint(1, static_cast<int>(2LL * m_sizeX / 3), m_anchorY);
      m_text.Empty();
    } else if (m_kind == kLineOrV) {
      m_text.Empty();
    } else {
      SetAnchor(0, 0);
      if (m_kind == kCrescendo || m_kind == kDecrescendo) {
        m_sizeY = kOldHairpinHeight;
        m_text.Empty();
      } else if (m_kind == kNumberedBracket) {
        SetText(kOldTupletText);
      } else if (m_kind != kTextBox) {
        m_sizeY = m_kind == 13 || m_kind == 20 ? 0
                  : IsReversedBracket(m_kind)  ? -kOldBracketHeight
                                               : kOldBracketHeight;
      }
    }
    return;
  }
  if (AnchorIsOffset()) SetOffset(m_anchorX, m_anchorY);
  if (HasCodedGeometry()) {
    if (!stored.IsEmpty()) DecodeGeometry(stored);
    m_text.Empty();
  } else {
    DecomposeText(stored);
  }
}
