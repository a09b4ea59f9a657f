// Binding a group's slots to their lines, grand-staff pairs, the group's key
// signature and the indents of its lines.

#include <algorithm>
#include <climits>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/SharedGdiObjects.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "platform/CDC.h"

namespace {

bool IsNoteType(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }
bool IsStaffPairType(int type) { return type == 0 || type == 1; }
// The kinds whose bracketed lines may have their bar lines joined.
bool IsJoinableType(int type) { return type == 0 || type == 1 || type == 2 || type == 15; }

// Files older than this carry flag 4 only on the upper staff of a pair.
constexpr int kPairFlagOnBothVersion = 3706;
// The own-label flag of a line.
constexpr DWORD kFlagOwnLabel = 16;
// Pixels between a label and its line.
constexpr int kLabelMargin = 6;
// The indent of lines outside the staff and tablature families: the clef area
// and one accidental step per accidental of the key.
constexpr int kOtherLineIndent = 29;
constexpr int kOtherLineKeyStep = 5;
// Room after the last column of a line of natural length.
constexpr int kLineEndRoom = 20;

void LinkPartner(KLineObj* line, KLineObj* partner) {
  if (KListLine* staff = line->AsListLine())
    staff->SetPartnerStaff(partner != nullptr ? partner->AsListLine() : nullptr);
}

int KeyAtStart(const KLineObj& line) {
  const KListLine* list = line.AsListLine();
  return list != nullptr ? list->GetKeySignatureAt(0) : 0;
}

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

}  // namespace

void KLineGroup::BindLines(const KLineSource& source) {
  m_noteLineCount = 0;
  int pairedLower = -1;
  for (int i = 0; i < m_count; ++i) {
    Slot& slot = m_slots[i];
    const bool staff = IsStaffPairType(slot.type);
    if (staff && slot.lineRef == nullptr) return;
    KLineObj* line = source.GetLineAt(slot.lineRef);

    if (staff && i != pairedLower && line != nullptr && line->TestFlags(KLineObj::kFlagPairUpper)) {
      int j = i + 1;
      while (j < m_count && !IsStaffPairType(m_slots[j].type)) ++j;
      KLineObj* lower = nullptr;
      if (j < m_count) {
        slot.partner = j - i;
        if (m_slots[j].lineRef == nullptr) return;
        lower = source.GetLineAt(m_slots[j].lineRef);
        if (lower != nullptr && g_fileVersion < kPairFlagOnBothVersion)
          lower->ModifyFlags(KLineObj::kFlagPairedStaff, 1);
      }
      if (lower != nullptr && lower->TestFlags(KLineObj::kFlagPairedStaff)) {
        m_slots[j].partner = -(j - i);
        LinkPartner(line, lower);
        LinkPartner(lower, line);
        pairedLower = j;
      } else {
        // No staff below that takes the pairing: the upper staff is unpaired,
        // so that no slot points to a partner that does not point back.
        slot.partner = 0;
        line->ModifyFlags(KLineObj::kFlagPairedStaff, 0);
        LinkPartner(line, nullptr);
      }
    }

    slot.line = line;
    if (line != nullptr) line->SetGroupPtr(this);
    if (IsNoteType(slot.type)) ++m_noteLineCount;
  }

  if (g_joinBracketedLines == 0) return;
  for (int i = 0; i < m_count; ++i) {
    const int number = GetSlotBracket(i, 0);
    KLineObj* line = m_slots[i].line;
    if (number == 0 || !IsJoinableType(m_slots[i].type) || line == nullptr ||
        line->TestFlags(KLineObj::kFlagPairUpper))
      continue;
    int j = i + 1;
    while (j < m_count && !(GetSlotBracket(j, 0) == number && IsJoinableType(m_slots[j].type))) ++j;
    if (j < m_count) {
      line->ModifyFlags(KLineObj::kFlagPairLong, 1);
      i = j;
    }
  }
}

void KLineGroup::EqualizeKeySignatures(const KLineSource& source) {
  KListLine* lines[kMaxSlots] = {};
  int largest = 0;
  for (int i = 0; i < m_count; ++i) {
    if (!IsNoteType(m_slots[i].type)) continue;
    KLineObj* line = source.GetLineAt(m_slots[i].lineRef);
    lines[i] = line != nullptr ? line->AsListLine() : nullptr;
    if (lines[i] != nullptr) largest = std::max(largest, lines[i]->GetKeySignatureAt(0));
  }
  m_keySignature = largest;
  for (KListLine* line : lines)
    if (line != nullptr) line->SetKeySignature(line->GetKeySignatureAt(0), m_keySignature, 0);
}

void KLineGroup::IndentOtherLines() {
  const int key = GetKeySignature();
  const int indent = key != 0 ? kOtherLineIndent + kOtherLineKeyStep * (key / 2 + 1) : kOtherLineIndent;
  for (int i = 0; i < m_count; ++i)
    if (m_slots[i].line != nullptr && !IsNoteType(m_slots[i].type)) m_slots[i].line->SetIndent(indent);
}

void KLineGroup::ComputeIndent(CDC* dc, int minWidth, int sizeIndex, int labels) {
  const int size = sizeIndex != 0 ? 1 : 0;
  CFont* previousFont = dc != nullptr ? dc->SelectObject(&g_LabelFont) : nullptr;

  bool run = true;
  if (labels != 0) {
    bool anyOwnLabel = false;
    for (int i = 0; i < m_count; ++i)
      if (m_slots[i].line != nullptr && m_slots[i].line->TestFlags(kFlagOwnLabel)) anyOwnLabel = true;
    if (!anyOwnLabel) {
      m_indent = 0;
      run = false;
    } else {
      for (int i = 0; i < m_count; ++i)
        if (m_slots[i].line != nullptr) m_slots[i].line->ModifyFlags(kFlagOwnLabel, 1);
    }
  }

  if (run) {
    long long labelWidth = 0;
    long long largestA = 0;
    long long largestB = 0;
    long long previousB = -1;  // none yet
    for (int i = 0; i < m_count; ++i) {
      KLineObj* line = m_slots[i].line;
      if (line == nullptr) continue;
      const bool note = IsNoteType(m_slots[i].type);
      long long width = 0;
      if (labels != 0) {
        width =
            dc != nullptr ? dc->GetTextExtent(line->GetLabelName().View()).cx + kLabelMargin : kLabelMargin;
      } else if (note) {
        width = line->GetIndent();
      }
      labelWidth = std::max(labelWidth, width);
      if (!note) continue;

      const int key = KeyAtStart(*line);
      const int keyWidth = key != 0 ? g_GroupIndentStep[size] * (key / 2 + 1) : 0;
      const long long base = g_GroupIndentBase[size] + keyWidth;
      const int fixed = line->GetStaffLength();
      long long a = 0;
      long long b = 0;
      if (fixed > 0) {
        a = b = static_cast<long long>(g_NoteColumnWidth[size]) * fixed / g_NoteColumnWidth[0];
      } else {
        a = std::max<long long>(minWidth, previousB < 0 ? sizeIndex : previousB);
        b = static_cast<long long>(line->GetLength()) * g_NoteColumnWidth[size] + base + kLineEndRoom;
      }
      largestA = std::max(largestA, a);
      largestB = std::max(largestB, b);
      previousB = b;
    }

    long long total = largestB + labelWidth;
    if (total <= largestA) total = 0;
    const int indent = ClampToInt(labelWidth);
    for (int i = 0; i < m_count; ++i) {
      KLineObj* line = m_slots[i].line;
      if (line == nullptr) continue;
      if (IsNoteType(m_slots[i].type)) {
        line->SetIndent(indent);
        if (total > 0) line->SetStaffLength(ClampToInt(total));
      } else {
        line->SetIndent(ClampToInt(static_cast<long long>(line->GetIndent()) + indent));
      }
    }
    m_indent = indent;
  }

  if (previousFont != nullptr) dc->SelectObject(previousFont);
}

bool KLineGroup::AllLinesEmpty(const KLineSource& source, int clear) const {
  for (int slot = 0; slot < m_count; ++slot) {
    KLineObj* line = source.GetLineAt(m_slots[slot].lineRef);
    if (line != nullptr && !line->HoldsNothing(0)) return false;
  }
  if (clear != 0) {
    for (int slot = 0; slot < m_count; ++slot) {
      if (KLineObj* line = source.GetLineAt(m_slots[slot].lineRef)) line->HoldsNothing(1);
    }
  }
  return true;
}
