#include "model/KListLine.h"

#include <algorithm>

#include "common/Globals.h"
#include "model/KChord.h"
#include "model/KRhythmObj.h"
#include "model/LineServices.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KListLine, KLineObj, 90);

namespace {

// Spaces scale by 33/25 at the large size.
constexpr int kLargeScale = 33;
constexpr int kNormalScale = 25;
// The fallback column unit of a rhythm line that is not measured yet.
constexpr int kUnmeasuredRhythmUnit = 4;
// Rhythm symbol codes from this one up count two columns in word ranges.
constexpr int kFirstWideRhythmCode = 222;
// Staff widths leave this margin after the last column unless the length is fixed.
constexpr int kEndMargin = 20;
// Below a tablature line's strings: the hairpin's opening by size, a margin,
// and the most strings a tuning has.
constexpr int kHairpinOpening[2] = {7, 8};
constexpr int kMarksMargin = 2;
constexpr int kMaxStrings = 8;

int SizeIndexOf(int sizeIndex) { return sizeIndex != 0 ? 1 : 0; }

}  // namespace

const KChord* AsChord(const CObject* object) {
  return object != nullptr && object->IsKindOf(RUNTIME_CLASS(KChord)) ? static_cast<const KChord*>(object)
                                                                      : nullptr;
}

KChord* AsChord(CObject* object) { return const_cast<KChord*>(AsChord(static_cast<const CObject*>(object))); }

const KRhythmObj* AsRhythmObj(const CObject* object) {
  return object != nullptr && object->IsKindOf(RUNTIME_CLASS(KRhythmObj))
             ? static_cast<const KRhythmObj*>(object)
             : nullptr;
}

KListLine::KListLine() = default;

KListLine::KListLine(int key, int type, int staffLength, int groupId, DWORD flags)
    : KLineObj(type, staffLength, groupId, flags, 0), m_key(key), m_layoutRow(0), m_layoutKey(key) {
  const int family = GetFamily();
  if (family == kFamilyStaff || family == 1) {
    m_spaceAbove = g_staffSpaceAbove;
    m_spaceBelow = g_staffSpaceBelow;
  } else if (family == kFamilyTab) {
    m_spaceAbove = g_tabSpaceAbove;
    m_spaceBelow = g_tabSpaceBelow;
  }
}

KListLine::~KListLine() {
  ClearPlayEvents();
  delete m_linked;
  m_linked = nullptr;
  DeleteObjsFrom(0);
  // Objects that an edit may have left below column 0 go too.
  while (!m_objects.IsEmpty()) delete m_objects.RemoveHead();
}

void KListLine::SetLinkedLine(KListLine* linked) {
  if (linked == m_linked) return;
  delete m_linked;
  m_linked = linked;
}

void KListLine::ClearPlayEvents() {
  while (!m_playEvents.IsEmpty()) delete m_playEvents.RemoveHead();
}

void KListLine::SetLayoutByte(int i, int value) {
  if (i < 0 || i >= 4) return;
  m_layoutBytes[i] = value & 0xFF;
  m_changed = 1;
}

// ---- Settings that forward to the drawing cache -------------------------------

void KListLine::SetStaffLength(int staffLength) {
  m_staffLength = staffLength;
  if (m_linked != nullptr) m_linked->SetStaffLength(staffLength);
  m_changed = 1;
}

void KListLine::SetFlagWord(DWORD flags) {
  m_flags = flags;
  if (m_linked != nullptr) m_linked->SetFlagWord(flags);
  m_changed = 1;
}

DWORD KListLine::ModifyFlags(DWORD mask, int set) {
  if (set != 0) {
    m_flags |= mask;
  } else {
    m_flags &= ~mask;
  }
  m_changed = 1;
  return m_linked != nullptr ? m_linked->ModifyFlags(mask, set) : mask;
}

void KListLine::SetIndent(int pixels) {
  m_indent = pixels;
  if (m_linked != nullptr) m_linked->SetIndent(pixels);
  m_changed = 1;
}

void KListLine::SetGroup(int groupId, KLineGroup* group) {
  m_groupId = groupId;
  m_group = group;
  if (m_linked != nullptr) m_linked->SetGroup(groupId, group);
  m_changed = 1;

  // Only treble and bass staves keep a pairing; a line leaving its group
  // loses it, and so does its partner.
  constexpr DWORD kPairBits = kFlagPairedStaff | kFlagPairUpper | kFlagShownPair;
  if (TestFlags(kFlagPairedStaff) && m_type != 0 && m_type != kKindBassStaff) ModifyFlags(kPairBits, 0);
  if (groupId == kNoGroup && TestFlags(kFlagPairedStaff)) {
    ModifyFlags(kPairBits | kFlagPairLong, 0);
    if (KListLine* partner = UnhookPartner()) partner->ModifyFlags(kPairBits | kFlagPairLong, 0);
  }
}

void KListLine::SetSpaceAbove(int pixels, int scaled) {
  m_spaceAbove = scaled != 0 ? pixels * kNormalScale / kLargeScale : pixels;
  if (m_linked != nullptr) m_linked->SetSpaceAbove(m_spaceAbove, 0);
  m_changed = 1;
}

void KListLine::SetSpaceBelow(int pixels, int scaled) {
  m_spaceBelow = scaled != 0 ? pixels * kNormalScale / kLargeScale : pixels;
  if (m_linked != nullptr) m_linked->SetSpaceBelow(m_spaceBelow, 0);
  m_changed = 1;
}

void KListLine::SetKeySignature(int key, int groupKey, int keep) {
  if (keep == 0) m_key = key;
  m_layoutKey = m_groupId != kNoGroup ? std::max(m_key, groupKey) : key;
  if (m_layoutKey > kMaxKey || m_layoutKey < 0) m_layoutKey = 0;
  if (m_linked != nullptr) m_linked->SetKeySignature(m_key, groupKey, keep);
  m_changed = 1;
}

int KListLine::GetSpaceAbove(int sizeIndex) const {
  return sizeIndex != 0 ? m_spaceAbove * kLargeScale / kNormalScale : m_spaceAbove;
}

int KListLine::GetSpaceBelow(int sizeIndex) const {
  return sizeIndex != 0 ? m_spaceBelow * kLargeScale / kNormalScale : m_spaceBelow;
}

int KListLine::GetMarksRoom(int sizeIndex, int stringStep) const {
  if (GetFamily() != kFamilyTab) return 0;
  const int size = sizeIndex != 0 ? 1 : 0;
  const int strings = std::clamp(GetStringCount(), 1, kMaxStrings);
  const int step = std::max(stringStep, 0);
  const int below = 5 * step + 1 + GetSpaceBelow(size) - (strings - 1) * (step + 1);
  // Two string distances (stems and beams, then a hairpin two strings below
  // the bottom string), the hairpin's opening and a margin.
  const int wanted = 2 * (step + 1) + kHairpinOpening[size] + kMarksMargin;
  return std::max(wanted - below, 0);
}

// ---- Length and layout -----------------------------------------------------------

int KListLine::RhythmColumnUnit() const {
  const int width = GetColumnWidth();
  return width > 0 ? width : kUnmeasuredRhythmUnit;
}

int KListLine::ColumnWidth(int sizeIndex) const {
  const int size = SizeIndexOf(sizeIndex);
  const int family = GetFamily();
  if (IsNoteFamily(family)) return g_NoteColumnWidth[size];
  if (family == kFamilyChord) return kChordColumnWidth[size];
  return 0;
}

int KListLine::ObjectSpan(const KPosObj& object) const {
  const int family = GetFamily();
  if (family == kFamilyRhythm) {
    const KRhythmObj* item = AsRhythmObj(&object);
    return item != nullptr && item->GetCode() >= kFirstWideRhythmCode ? 2 : 1;
  }
  if (family == kFamilyChord) return (GetDiagramWidth(object) + 7) / kChordColumnWidth[0];
  return 1;
}

int KListLine::GetLength() {
  if (m_objects.IsEmpty()) return 0;
  const int family = GetFamily();
  if (family == kFamilyRhythm) {
    const int unit = RhythmColumnUnit();
    long long length = 0;
    long long end = 0;
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const auto* object = static_cast<const KPosObj*>(m_objects.GetNext(node));
      if (object->GetPos() > end) length += (object->GetPos() - end) / unit;
      const KRhythmObj* item = AsRhythmObj(object);
      length += std::max(1, item != nullptr ? item->GetText().GetLength() : 0);
      end = static_cast<long long>(object->GetPos()) + (item != nullptr ? item->GetWidth() : 0);
    }
    return static_cast<int>(std::min<long long>(length, INT32_MAX));
  }
  const auto* last = static_cast<const KPosObj*>(m_objects.GetTail());
  const long long span = family == kFamilyChord ? ObjectSpan(*last) : 1;
  return static_cast<int>(std::min<long long>(last->GetPos() + span, INT32_MAX));
}

int KListLine::RunWidth(int columnWidth, int spare) {
  const long long content = static_cast<long long>(GetLength()) * columnWidth;
  const long long run = m_staffLength > 0
                            ? std::max(static_cast<long long>(columnWidth) * m_staffLength / 18, content)
                            : content + spare;
  return static_cast<int>(std::clamp<long long>(run, 0, kMaxWidth));
}

int KListLine::GetLeadInWidth(int sizeIndex) const {
  if (!IsNoteFamily(GetFamily())) return 0;
  const int key = m_layoutKey > kMaxKey || m_layoutKey < 0 ? 0 : m_layoutKey;
  return kClefWidth + (key != 0 ? kAccidentalWidth[SizeIndexOf(sizeIndex)] * (key / 2 + 1) : 0);
}

int KListLine::GetWidth(int sizeIndex, int mode, CDC* dc, int) {
  const int size = SizeIndexOf(sizeIndex);
  const int family = GetFamily();
  if (family == kFamilyStaff || family == kFamilyTab) {
    // A stored line can hold a column at any position: the width is worked
    // out in 64 bits and held to the widest a line is measured.
    const int key = m_key >= 0 && m_key <= kMaxKey ? m_key : 0;
    const long long lead = kClefWidth + static_cast<long long>(m_indent) +
                           (key != 0 ? kAccidentalWidth[size] * (key / 2 + 1) : 0);
    const long long columns = static_cast<long long>(GetLength()) * g_NoteColumnWidth[size];
    const int fixed =
        m_staffLength > 0
            ? static_cast<int>(std::min<double>(
                  g_NoteColumnWidth[size] * static_cast<double>(m_staffLength) / 18.0, kMaxWidth))
            : 0;
    if (mode == 1 && m_staffLength > 0) return fixed;
    return static_cast<int>(std::min<long long>(
        std::max<long long>(fixed, columns + lead + (m_staffLength > 0 ? 0 : kEndMargin)), kMaxWidth));
  }
  if (family == kFamilyRhythm) {
    if (GetColumnWidth() < 0) MeasureSymbols(dc, size);
    if (m_objects.IsEmpty()) return 0;
    const auto* last = static_cast<const KPosObj*>(m_objects.GetTail());
    const KRhythmObj* item = AsRhythmObj(last);
    return last->GetPos() + (item != nullptr ? item->GetWidth() : 0);
  }
  if (family == kFamilyChord) return GetLength() * kChordColumnWidth[size];
  return 0;
}

void KListLine::CopyLayoutFrom(KListLine& other) {
  m_staffLength = other.m_staffLength;
  m_indent = other.GetIndent();
  m_spaceAbove = other.GetSpaceAbove(0);
  m_spaceBelow = other.GetSpaceBelow(0);
  m_key = m_layoutKey = other.GetKeySignatureAt(0);
  if (m_layoutKey > kMaxKey || m_layoutKey < 0) m_layoutKey = 0;
  m_startBeats = 0;
  m_overrideBeats = 0;
  UpdateTimeSigCache();
  if (m_linked != nullptr) {
    m_linked->SetIndent(m_indent);
    m_linked->SetSpaceAbove(m_spaceAbove, 0);
    m_linked->SetSpaceBelow(m_spaceBelow, 0);
  }
  m_changed = 1;
}

std::unique_ptr<KLineObj> KListLine::Transpose(int, int, int, int, int, int, int, int, int) {
  return nullptr;
}

int KListLine::GetColumnAtX(CDC*, int mode, int x, int fontIndex, int extra, int rounding) {
  return XToColumn(mode, x, fontIndex, extra, rounding);
}

const CRuntimeClass* KListLine::GetObjClass() const {
  switch (GetFamily()) {
    case kFamilyStaff:
    case kFamilyTab:
      return RUNTIME_CLASS(KChord);
    case kFamilyRhythm:
      return RUNTIME_CLASS(KRhythmObj);
    default:
      return RUNTIME_CLASS(KPosObj);
  }
}
