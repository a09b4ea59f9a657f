// The line-group record of the score file (integers little-endian):
//
//   id          int
//   count       BYTE   slot records that follow: the smaller of the slot
//                      count and 10
//   flags       BYTE   the low byte of the flag word; may be preceded by an
//                      extension block (marker 250, a count byte N, N bytes)
//   reserved    4 x int, 0
//   slots       count x (bracket BYTE, kind BYTE, packed DWORD, reserved int 0)
//
// Slots 10 to 19 travel in the packed words of the first five slot records:
// word i carries slots 10 + 2i and 11 + 2i, each as a bracket byte and the
// kind + 1, the first in the high half:
//   (bracket[a] << 24) + ((kind[a] + 1) << 16) + (bracket[b] << 8) + (kind[b] + 1)
// with a low half of 0 when slot b is not in use, and a word of 0 when slot a
// is not. Line positions are not stored: the document binds the lines again.
//
// A record of more than 10 slot records is not written by any version; it is
// refused as damaged. A kind outside 0..16 marks the group bad for the
// document to repair; a bracket number outside 0..4 is read as 0.

#include <algorithm>
#include <climits>
#include <cstdint>

#include "common/AppServices.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"

namespace {

constexpr int kReservedInts = 4;
constexpr int kPackedWords = 5;

int LoadedBracket(std::uint32_t value) {
  return value <= KLineGroup::kMaxBracket ? static_cast<int>(value) : 0;
}

}  // namespace

int KLineGroup::BadGroupId(int id) {
  const long long marked = (-1LL - id) * 100;
  // A negative id (or one too large to mark) still has to read as bad.
  return marked >= INT_MIN && marked < -99 ? static_cast<int>(marked) : INT_MIN;
}

void KLineGroup::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    const int stored = std::min(m_count, kStoredSlots);
    std::uint32_t packed[kStoredSlots] = {};
    for (int i = 0; i < kPackedWords; ++i) {
      const int a = kStoredSlots + 2 * i;
      const int b = a + 1;
      if (a >= m_count) break;
      packed[i] = (std::uint32_t(m_slots[a].bracket & 0xFF) << 24) |
                  (std::uint32_t((m_slots[a].type + 1) & 0xFF) << 16);
      if (b < m_count)
        packed[i] |=
            (std::uint32_t(m_slots[b].bracket & 0xFF) << 8) | std::uint32_t((m_slots[b].type + 1) & 0xFF);
    }
    ar << m_id << static_cast<BYTE>(stored);
    const BYTE flags = static_cast<BYTE>(m_flags & 0xFF);
    // A flag byte equal to the extension marker goes after an empty block, so
    // that a reader does not take it for the marker.
    if (flags == kExtensionMarker) WriteExtensionBlock(ar, {});
    ar << flags;
    for (int i = 0; i < kReservedInts; ++i) ar << 0;
    for (int i = 0; i < stored; ++i) {
      ar << static_cast<BYTE>(m_slots[i].bracket) << static_cast<BYTE>(m_slots[i].type)
         << static_cast<DWORD>(packed[i]) << 0;
    }
    return;
  }

  int id = 0;
  BYTE storedCount = 0;
  ar >> id >> storedCount;
  if (storedCount > kStoredSlots) AfxThrowArchiveException(CArchiveException::generic);
  const BYTE flags = ReadByteAfterExtension(ar, {});
  int reserved = 0;
  for (int i = 0; i < kReservedInts; ++i) ar >> reserved;

  Slot slots[kMaxSlots];
  std::uint32_t packed[kStoredSlots] = {};
  for (int i = 0; i < storedCount; ++i) {
    BYTE bracket = 0;
    BYTE type = 0;
    DWORD word = 0;
    ar >> bracket >> type >> word >> reserved;
    slots[i].bracket = LoadedBracket(bracket);
    slots[i].type = type;
    packed[i] = word;
  }

  int count = storedCount;
  if (count == kStoredSlots && packed[0] != 0) {
    for (int w = 0; w < kStoredSlots && packed[w] != 0 && count < kMaxSlots; ++w) {
      const std::uint32_t word = packed[w];
      slots[count].type = static_cast<int>((word >> 16) & 0xFF) - 1;
      slots[count].bracket = LoadedBracket(word >> 24);
      ++count;
      if ((word & 0xFFFF) == 0) break;
      if (count < kMaxSlots) {
        slots[count].type = static_cast<int>(word & 0xFF) - 1;
        slots[count].bracket = LoadedBracket((word >> 8) & 0xFF);
        ++count;
      }
    }
  }

  int noteLines = 0;
  bool bad = false;
  for (int i = 0; i < count; ++i) {
    if (slots[i].type < 0 || slots[i].type >= KLineObj::kKindCount) {
      bad = true;
      break;
    }
    if (KLineObj::IsNoteFamily(KLineObj::FamilyOf(slots[i].type))) ++noteLines;
  }

  // Everything is read: take it over.
  m_id = bad ? BadGroupId(id) : id;
  m_count = count;
  m_flags = flags;
  std::copy(std::begin(slots), std::end(slots), std::begin(m_slots));
  m_noteLineCount = noteLines;
  m_keySignature = 0;
  if (bad) g_lineGroupRepair = 1;
}
