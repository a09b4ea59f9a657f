// Entry into partner and linked lines. A staff and a tablature line that
// share a bracket number in their line group show the same music: while
// mutual translation is on, a code entered in one is carried into the other
// (a staff note becomes a fret at the view's hand position, a fret becomes a
// staff note), and a bar goes into every notation line of the group.

#include <algorithm>
#include <memory>

#include "common/Globals.h"
#include "common/ViewServices.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kDeleteCode = 32762;
constexpr int kBarEntryFlags = 14;
constexpr int kDurationChangeFlags = 1432;
constexpr int kDurationChangeRow = 12000;
constexpr int kGroupEntryFlag = 2048;
constexpr int kHandScale = 1000000;
constexpr int kFirstBarCode = 21;
constexpr int kLastTypedBarCode = 25;
// Marks on a tablature line that a bracketed entry does not carry.
bool TabSkipsCode(int code) { return (code >= 27 && code <= 31) || code == 82 || code == 83 || code == 88; }
bool IsNotationFamily(int family) {
  return family == KLineObj::kFamilyStaff || family == KLineObj::kFamilyTab;
}

// Raises the group's entry flag for the entry's life.
class GroupEntryScope {
 public:
  GroupEntryScope(KLineGroup* group, int on) : m_group(group) {
    if (m_group != nullptr) m_group->ModifyFlags(kGroupEntryFlag, on);
  }
  ~GroupEntryScope() {
    if (m_group != nullptr) m_group->ModifyFlags(kGroupEntryFlag, 0);
  }
  GroupEntryScope(const GroupEntryScope&) = delete;
  GroupEntryScope& operator=(const GroupEntryScope&) = delete;

 private:
  KLineGroup* m_group;
};

// Lines shift only their own columns for the entry's life (a shift otherwise
// carries the bracketed partners along).
class OwnColumnsScope {
 public:
  OwnColumnsScope() : m_saved(g_alignOptions[0]) { g_alignOptions[0] = 1; }
  ~OwnColumnsScope() { g_alignOptions[0] = m_saved; }
  OwnColumnsScope(const OwnColumnsScope&) = delete;
  OwnColumnsScope& operator=(const OwnColumnsScope&) = delete;

 private:
  int m_saved;
};

// The pixel x of a column of a staff or tablature line, measured from the
// line's own left (its indent and lead-in included).
int NotationX(const KListLine& line, int column, int sizeIndex) {
  return line.GetLeadInWidth(sizeIndex) + line.GetIndent() + g_NoteColumnWidth[sizeIndex] * column;
}

}  // namespace

KLinePair CStavlinView::EnterSymbolInLinkedLines(int groupId, POSITION linePosition, KLineObj* line, int code,
                                                 int rhythmCode, int row, int flags) {
  KLinePair result{0, 10000};
  if (line == nullptr || m_document == nullptr) return result;
  if (flags >= 10000) flags %= 10000;
  const int size = m_sizeIndex;
  const int family = line->GetFamily();
  if (rhythmCode >= KChord::kTabRhythm) rhythmCode %= 10;
  const int tabRhythm = rhythmCode + (m_currentDuration + 7) * 10;
  const int lineRhythm = family == KLineObj::kFamilyTab ? tabRhythm : rhythmCode;

  int column = m_caretColumn;
  KListLine* list = line->AsListLine();
  if (code == kDeleteCode) {
    column = std::max(m_caretColumn - 1, 0);
    const KChord* chord = list != nullptr ? AsChord(list->GetObjAt(column, 0)) : nullptr;
    if (chord != nullptr && IsNotationFamily(family) && chord->IsBarColumn()) {
      flags = kBarEntryFlags;
    } else if (chord != nullptr && family == KLineObj::kFamilyTab && row < 10 &&
               chord->GetFretOnString(row) != KChord::kNone) {
      flags = 1;  // the fret itself goes
    }
  }
  const bool barEntry = flags == kBarEntryFlags || (code >= kFirstBarCode && code <= kLastTypedBarCode);
  if (barEntry) flags = kBarEntryFlags;

  KLineGroup* group = groupId != KLineObj::kNoGroup ? m_document->FindLineGroup(groupId) : nullptr;
  const bool linked = line->TestFlags(KLineObj::kFlagPairedStaff) != 0;
  if (group != nullptr && (!linked || m_mutualTranslation != 0)) {
    const int ownSlot = group->FindSlot(linePosition);
    const int bracket = ownSlot >= 0 ? group->GetSlotBracket(ownSlot, 0) : 0;
    if (barEntry || bracket != 0) {
      if (family == KLineObj::kFamilyTab && TabSkipsCode(code)) return result;
      const int x = list != nullptr ? NotationX(*list, column, size) : 0;
      const int entryRow = flags == kDurationChangeFlags ? row + kDurationChangeRow : row;
      GroupEntryScope scope(group, m_mutualTranslation);
      // Each line of the group takes the entry itself: a column one line
      // opens or closes must not move the partner's columns as well.
      OwnColumnsScope ownColumns;
      const bool tabLast = code == kDeleteCode && family == KLineObj::kFamilyTab;
      bool ownDone = false;
      auto enterOwn = [&] {
        result = line->HandleKey(code, lineRhythm, size, column, entryRow, m_clusterState, m_entryMode,
                                 tabLast ? (flags == 1 ? 1 : 0) : flags);
        ownDone = true;
      };
      if (!tabLast) enterOwn();
      for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
        if (slot == ownSlot) continue;
        KLineObj* other = m_document->GetLineAt(group->GetSlotLineRef(slot));
        if (other == nullptr || other == line) continue;
        const int otherFamily = other->GetFamily();
        if (!IsNotationFamily(otherFamily)) continue;
        if (barEntry) {
          // Every notation line takes the bar at the same column.
          const bool bar = (code >= kFirstBarCode && code <= 26) || code == kDeleteCode;
          const int otherRow = bar && otherFamily != family ? 1 : row;
          const int otherRhythm = otherFamily == KLineObj::kFamilyTab ? tabRhythm : rhythmCode;
          other->HandleKey(code, otherRhythm, size, column, otherRow, m_clusterState, m_entryMode, flags);
          continue;
        }
        if (bracket == 0 || group->GetSlotBracket(slot, 0) != bracket || otherFamily == family) continue;
        int packed = flags;
        if (otherFamily == KLineObj::kFamilyTab) packed = m_handPosition * kHandScale + flags % kHandScale;
        const int sourceRhythm = family == KLineObj::kFamilyTab ? tabRhythm : rhythmCode;
        other->EnterSymbol(line, code, sourceRhythm, size, x, entryRow, m_clusterState, m_entryMode, packed);
      }
      if (!ownDone) enterOwn();
      return result;
    }
    return line->HandleKey(code, lineRhythm, size, column, row, m_clusterState, m_entryMode, flags);
  }

  result = line->HandleKey(code, lineRhythm, size, column, row, m_clusterState, m_entryMode, flags);
  if (linked && barEntry) {
    if (auto* staff = dynamic_cast<KStaffLine*>(line); staff != nullptr && staff->GetPartner() != nullptr)
      staff->GetPartner()->HandleKey(code, lineRhythm, size, column, row, m_clusterState, m_entryMode, flags);
  }
  return result;
}

KLinePair CStavlinView::InsertObjWithPartner(int groupId, POSITION linePosition, KLineObj* line,
                                             const KChord& column) {
  if (line == nullptr || m_document == nullptr) return {0, -1};
  KLineGroup* group = groupId != KLineObj::kNoGroup ? m_document->FindLineGroup(groupId) : nullptr;
  const int ownSlot = group != nullptr ? group->FindSlot(linePosition) : -1;
  const int bracket = ownSlot >= 0 ? group->GetSlotBracket(ownSlot, 0) : 0;
  auto insertAlone = [&] {
    auto* copy = new KChord(column, m_caretColumn, true);
    const KLinePair result = line->InsertObj(copy, m_sizeIndex, m_caretColumn, nullptr, m_entryMode);
    if (result.first == 0) delete copy;  // refused: still ours
    return result;
  };
  if (bracket == 0) return insertAlone();

  // The partner: the first other line of the bracket in the other notation family.
  const bool tabColumn = column.IsTabColumn();
  const int wanted = tabColumn ? KLineObj::kFamilyStaff : KLineObj::kFamilyTab;
  KLineObj* partner = nullptr;
  for (int slot = 0; slot < group->GetSlotCount() && partner == nullptr; ++slot) {
    if (slot == ownSlot || group->GetSlotBracket(slot, 0) != bracket) continue;
    KLineObj* other = m_document->GetLineAt(group->GetSlotLineRef(slot));
    if (other != nullptr && other->GetFamily() == wanted) partner = other;
  }
  auto* staff = dynamic_cast<KStaffLine*>(tabColumn ? partner : line);
  auto* tab = dynamic_cast<KTabLine*>(tabColumn ? line : partner);
  if (partner == nullptr || staff == nullptr || tab == nullptr) return insertAlone();

  LineColumnConversion lines(*staff, *tab);
  const std::unique_ptr<KChord> converted(
      KChord::MakeTabFingering(column, lines, staff->GetType(), tab->GetType(), m_caretColumn,
                               tabColumn ? 0 : m_handPosition, tabColumn ? 2 : 0));
  if (converted == nullptr) return insertAlone();
  return InsertIntoLinkedLines(linePosition, line, &column, converted.get());
}

KLinePair CStavlinView::InsertIntoLinkedLines(POSITION linePosition, KLineObj* line, const KChord* own,
                                              const KChord* partner) {
  if (line == nullptr || own == nullptr || m_document == nullptr) return {0, -1};
  const int size = m_sizeIndex;
  KLineGroup* group = m_document->FindLineGroup(line->GetGroupId());
  const int ownSlot = group != nullptr ? group->FindSlot(linePosition) : -1;
  const int bracket = ownSlot >= 0 ? group->GetSlotBracket(ownSlot, 0) : 0;
  KLinePair result = line->InsertCopy(own, size, m_caretColumn, nullptr, m_entryMode);
  if (bracket == 0 || partner == nullptr) return result;

  const KListLine* list = line->AsListLine();
  const int x = list != nullptr ? NotationX(*list, m_caretColumn, size) : 0;
  const int family = line->GetFamily();
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    if (slot == ownSlot || group->GetSlotBracket(slot, 0) != bracket) continue;
    KLineObj* other = m_document->GetLineAt(group->GetSlotLineRef(slot));
    if (other == nullptr || other->GetFamily() == family || !IsNotationFamily(other->GetFamily())) continue;
    const KListLine* otherList = other->AsListLine();
    if (otherList == nullptr) continue;
    const int column = std::max(otherList->XToColumn(1, x, size, 0, 0), 0);
    other->InsertCopy(partner, size, column, nullptr, m_entryMode);
  }
  return result;
}
