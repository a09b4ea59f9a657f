#include "model/KLineGroup.h"

#include <algorithm>

#include "model/KLineObj.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KLineGroup, CObject, 90);

int g_joinBracketedLines = 0;

void ResetLineGroupServices() { g_joinBracketedLines = 0; }

namespace {

bool IsNoteType(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }

// The kinds that count for the triple-bracket flags: treble and bass staves,
// treble and bass tablature.
bool IsTripleKind(int type) { return type == 0 || type == 1 || type == 2 || type == 15; }

// An upper partner offset above this carries the joined-bars mark.
constexpr int kJoinedBarsMark = 100;

}  // namespace

KLineGroup::KLineGroup() = default;

KLineGroup::KLineGroup(int id, int count, DWORD flags)
    : m_id(id), m_count(std::clamp(count, 0, kMaxSlots)), m_flags(flags) {}

KLineGroup::KLineGroup(int id, const KLineGroup& source)
    : m_id(id),
      m_count(source.m_count),
      m_flags(source.m_flags),
      m_keySignature(source.GetKeySignature()),
      m_noteLineCount(source.m_noteLineCount) {
  for (int i = 0; i < kMaxSlots; ++i) {
    m_slots[i].bracket = source.m_slots[i].bracket;
    m_slots[i].type = source.m_slots[i].type;
    m_slots[i].partner = source.m_slots[i].partner;
  }
}

KLineGroup::KLineGroup(int id, POSITION first, int firstType, int firstKey, POSITION second, int secondType,
                       int secondKey, int bracket)
    : m_id(id), m_count(2), m_flags(bracket != 0 ? 1 : 0), m_keySignature(std::max(firstKey, secondKey)) {
  m_slots[0].lineRef = first;
  m_slots[0].type = firstType;
  m_slots[1].lineRef = second;
  m_slots[1].type = secondType;
  m_slots[0].bracket = m_slots[1].bracket = bracket != 0 ? 1 : 0;
  RecountNoteLines();
}

KLineGroup::KLineGroup(int id, std::span<const POSITION> positions, std::span<const int> types, int key)
    : m_id(id),
      m_count(static_cast<int>(std::min({positions.size(), types.size(), std::size_t{kMaxSlots}}))),
      m_flags(1),
      m_keySignature(key) {
  for (int i = 0; i < m_count; ++i) {
    m_slots[i].lineRef = positions[i];
    m_slots[i].type = types[i];
  }
  RecountNoteLines();
}

// ---- Fields ---------------------------------------------------------------------

void KLineGroup::ModifyFlags(DWORD mask, int set) {
  if (set != 0) {
    m_flags |= mask;
  } else {
    m_flags &= ~mask;
  }
}

int KLineGroup::GetKeySignature() const { return m_keySignature <= 15 ? m_keySignature : 0; }

// ---- Slots ------------------------------------------------------------------------

int KLineGroup::GetSlotType(int slot) const { return ValidSlot(slot) ? m_slots[slot].type : kEmptySlotType; }

void KLineGroup::SetSlotType(int slot, int type) {
  if (!ValidSlot(slot)) return;
  m_slots[slot].type = type;
  RecountNoteLines();
}

int KLineGroup::GetSlotPartner(int slot) const { return ValidSlot(slot) ? m_slots[slot].partner : 0; }

void KLineGroup::SetSlotPartner(int slot, int offset) {
  if (ValidSlot(slot)) m_slots[slot].partner = offset;
}

POSITION KLineGroup::GetSlotLineRef(int slot) const {
  return ValidSlot(slot) ? m_slots[slot].lineRef : nullptr;
}

void KLineGroup::SetSlotLineRef(int slot, POSITION line) {
  if (ValidSlot(slot)) m_slots[slot].lineRef = line;
}

KLineObj* KLineGroup::GetSlotLine(int slot) const { return ValidSlot(slot) ? m_slots[slot].line : nullptr; }

void KLineGroup::SetSlotLine(int slot, KLineObj* line) {
  if (ValidSlot(slot)) m_slots[slot].line = line;
}

int KLineGroup::FindSlot(POSITION line) const {
  for (int i = 0; i < m_count; ++i)
    if (m_slots[i].lineRef == line) return i;
  return -1;
}

int KLineGroup::PartnerSlotOf(int slot) const {
  if (slot < 0 || slot >= m_count) return -1;
  int offset = m_slots[slot].partner;
  if (offset > kJoinedBarsMark) offset -= kJoinedBarsMark;
  if (offset == 0) return -1;
  const long long other = static_cast<long long>(slot) + offset;
  return other >= 0 && other < m_count ? static_cast<int>(other) : -1;
}

void KLineGroup::RecountNoteLines() {
  m_noteLineCount = 0;
  for (int i = 0; i < m_count; ++i)
    if (IsNoteType(m_slots[i].type)) ++m_noteLineCount;
}

// ---- Bracket numbers ---------------------------------------------------------------

int KLineGroup::BracketsInUse() const {
  int used = 0;
  for (int i = 0; i < m_count; ++i)
    if (m_slots[i].bracket >= 1 && m_slots[i].bracket <= kMaxBracket) used |= 1 << m_slots[i].bracket;
  return used;
}

bool KLineGroup::SameFamilyOtherSlot(int slot, bool grandStaffException) const {
  const Slot& own = m_slots[slot];
  const int family = KLineObj::FamilyOf(own.type);
  for (int j = 0; j < m_count; ++j) {
    const Slot& other = m_slots[j];
    if (j == slot || other.bracket != own.bracket || KLineObj::FamilyOf(other.type) != family) continue;
    if (grandStaffException && ((own.type == 0 && other.type == 1 && j == slot + 1) ||
                                (own.type == 1 && other.type == 0 && j == slot - 1)))
      continue;
    return true;
  }
  return false;
}

int KLineGroup::GetSlotBracket(int slot, int raw) const {
  if (!ValidSlot(slot)) return 0;
  const int number = m_slots[slot].bracket;
  if (raw != 0 || number == 0 || slot >= m_count) return number;
  return SameFamilyOtherSlot(slot, true) ? 0 : number;
}

int KLineGroup::GetLineBracket(POSITION line, int raw) const {
  const int slot = FindSlot(line);
  if (slot < 0) return 0;
  const int number = m_slots[slot].bracket;
  if (raw != 0 || number == 0) return number;
  return SameFamilyOtherSlot(slot, false) ? 0 : number;
}

void KLineGroup::SetSlotBracket(int slot, int number) {
  if (!ValidSlot(slot) || number < 0 || number > kMaxBracket) return;
  m_slots[slot].bracket = number;
  UpdateTripleBracketFlags();
}

void KLineGroup::UpdateTripleBracketFlags() {
  m_flags &= ~kTripleBracketFlags;
  if (m_count < 3) return;
  for (int k = 1; k <= 3; ++k) {
    int lines = 0;
    for (int i = 0; i < m_count; ++i)
      if (m_slots[i].bracket == k && IsTripleKind(m_slots[i].type)) ++lines;
    if (lines == 3) m_flags |= DWORD{1} << k;
  }
}
