// Inserting lines into a group and removing them, with the bracket numbers and
// grand-staff partner offsets kept consistent.

#include <algorithm>
#include <bit>

#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "platform/UiPort.h"

namespace {

bool IsNoteType(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }

// The own-label flag that a new note line takes from the group's first note line.
constexpr DWORD kFlagOwnLabel = 16;

// The lowest bracket number 1..4 whose bit is clear in `used`; 0 when none is.
int LowestFreeBracket(int used, int highest) {
  for (int k = 1; k <= highest; ++k)
    if ((used & (1 << k)) == 0) return k;
  return 0;
}

}  // namespace

int KLineGroup::InsertLine(POSITION neighbour, POSITION position, KLineObj* line, int type, int key,
                           int before, int translate) {
  if (m_count >= kMaxSlots) {
    AfxMessageBox(kMsgGroupFull, MB_OK);
    return 0;
  }
  const int p = FindSlot(neighbour);
  if (p < 0) return m_count;
  int used = BracketsInUse();
  const int b = m_slots[p].bracket;

  // A neighbour in a bracket: a bracket that only joins lines of one family is
  // dissolved to make room; one that translates keeps the new line out.
  if (translate != 0 && b != 0) {
    bool joinsOneFamily = false;
    for (int i = 0; i < m_count && !joinsOneFamily; ++i) {
      if (m_slots[i].bracket != b) continue;
      for (int j = i + 1; j < m_count; ++j) {
        if (m_slots[j].bracket == b &&
            KLineObj::FamilyOf(m_slots[j].type) == KLineObj::FamilyOf(m_slots[i].type)) {
          joinsOneFamily = true;
          break;
        }
      }
    }
    if (joinsOneFamily) {
      for (int i = 0; i < m_count; ++i)
        if (m_slots[i].bracket == b) m_slots[i].bracket = 0;
      used &= ~(1 << b);
      if (m_bracketCount > 0) --m_bracketCount;
    } else {
      AfxMessageBox(kMsgNoMutualTranslation, MB_OK);
      translate = 0;
    }
  }

  const int n = before != 0 ? p : p + 1;

  // The new line lines up with the group.
  if (line != nullptr) {
    if (const KLineObj* first = m_slots[0].line) line->SetIndent(first->GetIndent());
    if (IsNoteType(type)) {
      for (int i = 0; i < m_count; ++i) {
        if (!IsNoteType(m_slots[i].type)) continue;
        if (const KLineObj* model = m_slots[i].line) {
          line->SetStaffLength(model->GetStaffLength());
          line->ModifyFlags(kFlagOwnLabel, model->TestFlags(kFlagOwnLabel));
        }
        break;
      }
    }
  }

  for (int i = m_count; i > n; --i) m_slots[i] = m_slots[i - 1];
  // A pair whose upper staff stays above the new slot and whose lower staff
  // moved down is one slot wider now.
  for (int i = n + 1; i <= m_count; ++i) {
    const int offset = m_slots[i].partner;
    const int upper = i - 1 + offset;  // where the upper staff stands (it did not move)
    if (offset < 0 && upper >= 0 && upper < n) {
      m_slots[i].partner = offset - 1;
      m_slots[upper].partner += 1;
    }
  }

  m_slots[n] = Slot{position, line, 0, type, 0};
  if (translate != 0) {
    const int number = LowestFreeBracket(used, kMaxBracket);
    // With all four numbers taken the line goes in without one.
    if (number != 0) {
      m_slots[n].bracket = number;
      m_slots[before != 0 ? p + 1 : p].bracket = number;
      m_bracketTop[number] = m_bracketBottom[number] = 0;
      ++m_bracketCount;
    }
  }

  m_keySignature = std::max(m_keySignature, key);
  if (IsNoteType(type)) ++m_noteLineCount;
  ++m_count;
  UpdateTripleBracketFlags();
  return m_count;
}

int KLineGroup::RemoveLine(POSITION line, POSITION& remaining) {
  remaining = nullptr;
  if (m_count == 1) {
    remaining = m_slots[0].lineRef;
    return 1;
  }
  const int i = FindSlot(line);
  if (i < 0) return m_count;

  const int b = m_slots[i].bracket;
  if (IsNoteType(m_slots[i].type)) --m_noteLineCount;
  m_slots[i].bracket = 0;
  if (m_slots[i].partner != 0) {
    const int partner = PartnerSlotOf(i);
    if (partner >= 0) m_slots[partner].partner = 0;
    m_slots[i].partner = 0;
  }

  // A bracket left with one line is dissolved.
  if (b != 0) {
    int carriers = 0;
    int last = -1;
    for (int j = 0; j < m_count; ++j) {
      if (m_slots[j].bracket == b) {
        ++carriers;
        last = j;
      }
    }
    if (carriers == 1) m_slots[last].bracket = 0;
  }
  // The numbers in use become 1..m again: the largest takes the lowest gap.
  for (;;) {
    const int used = BracketsInUse();
    const int distinct = std::popcount(static_cast<unsigned>(used));
    const int largest = used == 0 ? 0 : std::bit_width(static_cast<unsigned>(used)) - 1;
    if (largest <= distinct) break;
    const int gap = LowestFreeBracket(used, 3);
    for (int j = 0; j < m_count; ++j)
      if (m_slots[j].bracket == largest) m_slots[j].bracket = gap;
  }

  for (int j = i; j < m_count - 1; ++j) m_slots[j] = m_slots[j + 1];
  m_slots[m_count - 1] = Slot();
  // A pair whose upper staff stood above the removed slot and whose lower staff
  // moved up is one slot narrower now.
  for (int j = i; j < m_count - 1; ++j) {
    const int offset = m_slots[j].partner;
    const int upper = j + 1 + offset;  // where the upper staff stands (it did not move)
    if (offset < 0 && upper >= 0 && upper < i) {
      m_slots[j].partner = offset + 1;
      m_slots[upper].partner -= 1;
    }
  }

  --m_count;
  if (m_count == 1) remaining = m_slots[0].lineRef;
  UpdateTripleBracketFlags();
  return m_count;
}
