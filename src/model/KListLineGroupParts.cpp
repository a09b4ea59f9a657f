// A line among the lines of its group: the bracketed partner that entry and
// insertion keep in step with it; and two preparations of the columns for
// even spacing and wrapping.

#include <algorithm>

#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"

namespace {

bool IsNoteLine(const KLineObj& line) { return KLineObj::IsNoteFamily(line.GetFamily()); }

}  // namespace

KListLine* KListLine::AlignWithGroup(KListLine* other, int /*flag*/) const {
  const KLineGroup* group = GetGroup();
  if (!IsNoteLine(*this) || GetGroupId() == kNoGroup || group == nullptr || group->GetId() != GetGroupId())
    return nullptr;
  int bracket = 0;
  for (int slot = 0; slot < group->GetSlotCount() && bracket == 0; ++slot) {
    if (group->GetSlotLine(slot) == this) bracket = group->GetSlotBracket(slot, 1);
  }
  if (bracket == 0) return nullptr;
  KListLine* sameFamily = nullptr;
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    KLineObj* line = group->GetSlotLine(slot);
    if (line == nullptr || line == this || group->GetSlotBracket(slot, 1) != bracket) continue;
    KListLine* list = line->AsListLine();
    if (list == nullptr || !IsNoteLine(*list)) continue;
    if (other != nullptr) {
      if (list == other) return list;
      continue;
    }
    if (list->GetFamily() != GetFamily()) return list;
    if (sameFamily == nullptr) sameFamily = list;
  }
  return other != nullptr ? nullptr : sameFamily;
}

void KListLine::EvenOutColumnOffsets() {
  if (!IsNoteLine(*this)) return;
  ConvertTieCodes();
  MarkChanged();
}

int KListLine::RemoveLeadingSpace() {
  const int family = GetFamily();
  if (m_objects.IsEmpty() || (!IsNoteLine(*this) && family != kFamilyChord)) return 0;
  const int first = static_cast<const KPosObj*>(m_objects.GetHead())->GetPos();
  if (first <= 0) return 0;
  // A negative mode shifts this line alone; the shift carries the attachments
  // anchored in the moved columns with them.
  if (ShiftColumns(0, -first, -1) < 0) return 0;
  return first;
}
