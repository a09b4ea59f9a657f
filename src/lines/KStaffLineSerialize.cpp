// The record of a staff line: exactly the list line's record (line base part,
// columns, key, time word, spacing, layout word, attachments) under the class
// name "KStaffLine"; the staff adds no field of its own.
//
// Files older than version 3607 knew only the paired-staff flag 0x4; loading
// derives the pairing marks from it: before 3607 a paired staff gets 0x100000
// (the first line of a pair that translate into each other), and before 3706
// a paired treble staff gets 0x200000 (the upper staff of a grand staff).

#include "common/AppServices.h"
#include "lines/KStaffLine.h"
#include "platform/CArchive.h"

namespace {

constexpr int kVersionPairLong = 3607;
constexpr int kVersionPairUpper = 3706;
constexpr int kTreble = 0;

}  // namespace

void KStaffLine::Serialize(CArchive& ar) {
  KListLine::Serialize(ar);
  if (ar.IsStoring()) return;

  if (g_fileVersion < kVersionPairLong && TestFlags(kFlagPairedStaff)) m_flags |= kFlagPairLong;
  if (g_fileVersion < kVersionPairUpper && TestFlags(kFlagPairedStaff) && m_type == kTreble) {
    m_flags |= kFlagPairUpper;
  }

  // The list line's load gave the cache the group, key, indent and spaces; it
  // still needs the rest.
  SetKeySignature(m_key, m_layoutKey, 0);
  SetStaffLength(m_staffLength);
  if (KListLine* cache = GetLinkedLine()) cache->SetType(m_type);
  SetFlagWord(m_flags);
}
