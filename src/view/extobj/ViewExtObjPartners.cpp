// The copies of an attachment on the bracketed partner lines of its line.

#include "view/extobj/ViewExtObjPartners.h"

#include <algorithm>

#include "doc/CStavlinDoc.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace extobj {

namespace {

// Staff row 0..36 -> tablature row.
constexpr int kTabRowOfStaffRow[37] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3,
                                       4, 4, 5, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 9, 9, 9, 9, 9};
// Tablature row 0..9 -> staff row.
constexpr int kStaffRowOfTabRow[10] = {6, 10, 12, 14, 17, 21, 24, 28, 30, 31};
// Staff rows above this one lie above the staff for a copy, rows below the
// next one below it.
constexpr int kAboveStaffRow = 12;
constexpr int kBelowStaffRow = 24;
constexpr int kTabRowAbove = 1;
constexpr int kTabRowBelow = 7;
constexpr int kLastTabRow = 9;
// Under the bottom string hang the rhythm's stems and beams; a mark copied
// below them stands this many string rows under the bottom string.
constexpr int kRowsUnderStrings = 2;
constexpr int kFullStrings = 6;

bool IsNotationFamily(int family) {
  return family == KLineObj::kFamilyStaff || family == KLineObj::kFamilyTab;
}

// Curves and V lines follow the notes they join; other marks keep clear of them.
bool FollowsNotes(int kind) {
  return kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur || kind == KExtendedObj::kLineOrV;
}

int LastStringRow(const KLineObj& tab) {
  const KListLine* list = tab.AsListLine();
  const int strings = list != nullptr ? list->GetStringCount() : kFullStrings;
  return strings < kFullStrings ? strings + 2 : strings + 1;
}

}  // namespace

int PartnerRow(int kind, int row, bool toTab, const KLineObj& partner) {
  if (!toTab) return row >= 0 && row <= kLastTabRow ? kStaffRowOfTabRow[row] : row;
  if (row < kAboveStaffRow) return kTabRowAbove;
  if (row > kBelowStaffRow) {
    if (FollowsNotes(kind)) return kTabRowBelow;
    return std::min(LastStringRow(partner) + kRowsUnderStrings, kLastTabRow);
  }
  return kTabRowOfStaffRow[row];
}

std::vector<PartnerCopy> FindPartnerCopies(const CStavlinView& view, int displayLine,
                                           const KExtendedObj& original) {
  std::vector<PartnerCopy> copies;
  if (view.m_mutualTranslation == 0 || displayLine < 0 || displayLine >= view.GetDisplayLineCount())
    return copies;
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  CStavlinDoc* doc = view.GetDocument();
  if (line == nullptr || doc == nullptr || !IsNotationFamily(line->GetFamily())) return copies;
  const int groupId = line->GetGroupId();
  const KLineGroup* group = groupId != KLineObj::kNoGroup ? doc->FindLineGroup(groupId) : nullptr;
  const int ownSlot = group != nullptr ? group->FindSlot(view.GetDisplayEntry(displayLine).line) : -1;
  const int bracket = ownSlot >= 0 ? group->GetSlotBracket(ownSlot, 0) : 0;
  if (bracket == 0) return copies;
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    if (slot == ownSlot || group->GetSlotBracket(slot, 0) != bracket) continue;
    KLineObj* partner = doc->GetLineAt(group->GetSlotLineRef(slot));
    if (partner == nullptr || partner == line) continue;
    const int family = partner->GetFamily();
    if (!IsNotationFamily(family) || family == line->GetFamily()) continue;
    CObList* attachments = partner->GetAttachments();
    if (attachments == nullptr) continue;
    for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
      if (attachment != &original && attachment->SameButRow(original)) {
        copies.push_back(PartnerCopy{partner, attachment});
        break;  // one copy on each partner line
      }
    }
  }
  return copies;
}

void FollowOriginal(const std::vector<PartnerCopy>& copies, const KExtendedObj& original) {
  for (const PartnerCopy& c : copies) {
    const bool toTab = c.line->GetFamily() == KLineObj::kFamilyTab;
    c.copy->CopyFrom(original);
    c.copy->SetRow(PartnerRow(original.GetKind(), original.GetRow(), toTab, *c.line));
  }
}

void DeleteCopies(const std::vector<PartnerCopy>& copies) {
  for (const PartnerCopy& c : copies) c.line->EditAttachment(c.copy, KLineObj::kEditDelete);
}

}  // namespace extobj
