// The staff/tablature pair of the current line. With mutual translation on,
// a staff and a tablature line that carry the same bracket number in their
// line group are partners, and the note commands work on both.

#include "model/KLineGroup.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kTrebleStaff = 0;
constexpr int kBassStaff = 1;
constexpr int kTrebleTab = 2;
constexpr int kBassTab = 15;
// The partner is looked for at most this many display lines away.
constexpr int kReach = 5;

int PartnerType(int type, int family) {
  if (family == KLineObj::kFamilyTab) return type == kTrebleTab ? kTrebleStaff : kBassStaff;
  return type == kTrebleStaff ? kTrebleTab : kBassTab;
}

enum class Probe { kPass, kStop, kFound };

// What the display line means to the search.
Probe Examine(const CStavlinView& view, const KLineGroup& group, int displayLine, int partnerType,
              int bracket) {
  const DisplayLine& entry = view.GetDisplayEntry(displayLine);
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return Probe::kPass;
  const int groupId = line->GetGroupId();
  if (groupId != KLineObj::kNoGroup && groupId != group.GetId()) return Probe::kStop;
  if (!KLineObj::IsNoteFamily(KLineObj::FamilyOf(entry.type))) return Probe::kPass;
  if (entry.type != partnerType) return Probe::kStop;
  if (groupId != group.GetId()) return Probe::kPass;
  const int slot = group.FindSlot(entry.line);
  if (slot >= 0 && group.GetSlotBracket(slot, 0) == bracket) return Probe::kFound;
  return Probe::kPass;
}

}  // namespace

int CStavlinView::FindPartnerLine(int& firstLine, int& lastLine) const {
  if (m_mutualTranslation == 0 || m_document == nullptr || m_lineCount <= 0) return -1;
  const int current = m_currentLine;
  if (current < 0 || current >= m_lineCount) return -1;
  const DisplayLine& entry = m_display[static_cast<size_t>(current)];
  const int family = KLineObj::FamilyOf(entry.type);
  firstLine = current;
  if (family != KLineObj::kFamilyStaff && family != KLineObj::kFamilyTab) return -1;
  const KLineObj* line = GetDisplayLineObj(current);
  if (line == nullptr || line->GetGroupId() == KLineObj::kNoGroup) return -1;
  const KLineGroup* group = m_document->FindLineGroup(line->GetGroupId());
  if (group == nullptr) return -1;
  const int slot = group->FindSlot(entry.line);
  const int bracket = slot >= 0 ? group->GetSlotBracket(slot, 0) : 0;
  if (bracket == 0) return -1;
  const int partnerType = PartnerType(entry.type, family);

  // Below from every line but the last: the partner of the second-to-last
  // line may well be the last line.
  if (current < m_lineCount - 1 && slot < group->GetSlotCount() - 1) {
    for (int l = current + 1; l < m_lineCount && l < current + kReach + 1; ++l) {
      const Probe probe = Examine(*this, *group, l, partnerType, bracket);
      if (probe == Probe::kStop) break;
      if (probe == Probe::kFound) {
        lastLine = l;
        return group->GetId();
      }
    }
  }
  if (current > 0 && slot > 0) {
    lastLine = current;
    for (int l = current - 1; l >= 0 && l >= current - kReach; --l) {
      const Probe probe = Examine(*this, *group, l, partnerType, bracket);
      if (probe == Probe::kStop) return -1;
      if (probe == Probe::kFound) {
        firstLine = l;
        return group->GetId();
      }
    }
  }
  return -1;
}
