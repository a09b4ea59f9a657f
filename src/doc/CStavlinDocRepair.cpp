// The check of the line groups after a score was read or made. A group names
// its lines only by slot kind in the file; the lines name their group by id.
// The check walks the lines top to bottom and fills each group's slots from
// the lines that carry its id, in order; it dissolves groups a load found
// damaged and groups it cannot fill, takes loose lines between a group's
// lines into the group, binds lines and groups together and offers to ungroup
// the whole score when the grouping is confused. Every line stays in the
// score, and when it is done every grouped line is held by its group's slots
// and points at its group.
//
// A file is untrusted: duplicate group ids, ids that name no group, groups met
// twice, slot kinds that do not match and any count of damaged groups end in
// ungrouped lines and messages, never in a group that names a line it does not
// hold or a line that names a group that does not hold it.

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/AppServices.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kDamagedGroupsMessage = 8229;
constexpr UINT kOneConfusedGroupMessage = 8240;
constexpr UINT kConfusedGroupsMessage = 8241;
constexpr UINT kUngroupQuestion = 7083;
constexpr UINT kRepairDoneMessage = 7093;

// Loose lines (lines without a group between the lines of a group) taken in
// per check.
constexpr int kMaxLooseLines = 20;
// Line flag: the line uses a colour.
constexpr DWORD kFlagColour = 0x80000;
constexpr int kTab = 2;
constexpr int kBassTab = 15;

// A line without a group met while a group was being filled.
struct LooseLine {
  POSITION before;
  POSITION pos;
  KLineObj* line;
  int type;
  int key;
};

// The id a group had before the reader marked it damaged.
int DamagedGroupOriginalId(int id) { return -(id / 100) - 1; }

// A line of the type may fill a slot of the slot type: the same type, or a
// bass tablature line in a treble tablature slot (which becomes bass).
bool FitsSlot(int lineType, int slotType) {
  return lineType == slotType || (lineType == kBassTab && slotType == kTab);
}

}  // namespace

int CStavlinDoc::AfterOpen() {
  // Playback tracks and the MIDI clock belong to the playback engine, which
  // resets them itself when it next plays this score.
  return CheckLineGroups();
}

int CStavlinDoc::CheckLineGroups() {
  // Groups a reader marked damaged are dissolved; their lines lose the group.
  std::unordered_set<int> dissolved;
  bool damaged = g_lineGroupRepair != 0;
  // Beside them, a group whose id an earlier group already carries cannot be
  // told apart by its lines: it goes as well, and the first one stays.
  {
    std::unordered_set<int> ids;
    std::vector<KLineGroup*> doomed;
    for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
      auto* group = dynamic_cast<KLineGroup*>(lineGroups.GetNext(pos));
      if (group == nullptr) continue;
      if (g_lineGroupRepair != 0 && group->GetId() < -99) {
        dissolved.insert(DamagedGroupOriginalId(group->GetId()));
        doomed.push_back(group);
      } else if (!ids.insert(group->GetId()).second) {
        doomed.push_back(group);
        damaged = true;
      }
    }
    for (KLineGroup* group : doomed) DropGroup(group);
  }
  if (damaged) {
    g_lineGroupRepair = 0;
    AfxMessageBox(kDamagedGroupsMessage, MB_OK | MB_ICONEXCLAMATION);
  }
  regroupedTextLines = 0;

  bool asked = false;
  const auto ungroupAll = [this]() {
    for (POSITION pos = lines.GetHeadPosition(); pos != nullptr;) {
      if (KLineObj* line = GetNextLine(pos)) line->SetGroup(KLineObj::kNoGroup, nullptr);
    }
    while (!lineGroups.IsEmpty()) delete lineGroups.RemoveHead();
    DropGroupIndex();
    AfxMessageBox(kRepairDoneMessage, MB_OK);
  };
  if (g_undoLineGroupsRequested) {
    asked = true;
    if (AfxMessageBox(kUngroupQuestion, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
      ungroupAll();
      return 1;
    }
    // Kept: the groups are checked and bound as usual.
  }

  // Every slot is filled afresh from the lines. The groups by id, as
  // FindLineGroup finds them, for the walk (a score has many).
  std::unordered_map<int, KLineGroup*> groupsById;
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    auto* group = dynamic_cast<KLineGroup*>(lineGroups.GetNext(pos));
    if (group == nullptr) continue;
    groupsById.try_emplace(group->GetId(), group);
    for (int i = 0; i < KLineGroup::kMaxSlots; ++i) {
      group->SetSlotLineRef(i, nullptr);
      group->SetSlotLine(i, nullptr);
    }
  }

  // Step through the lines.
  KLineGroup* current = nullptr;
  int filled = 0;
  std::unordered_set<const KLineGroup*> visited;
  std::vector<LooseLine> loose;
  int problemLine = 0;
  bool error = false;
  POSITION before = nullptr;
  int number = 0;
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr && !error;) {
    const POSITION here = pos;
    KLineObj* line = GetNextLine(pos);
    ++number;
    if (line == nullptr) {
      before = here;
      continue;
    }
    int id = line->GetGroupId();
    if (id != KLineObj::kNoGroup && dissolved.count(id) != 0) {
      line->SetGroup(KLineObj::kNoGroup, nullptr);
      id = KLineObj::kNoGroup;
    }

    if (id == KLineObj::kNoGroup) {
      if (current != nullptr && filled < current->GetSlotCount() &&
          static_cast<int>(loose.size()) < kMaxLooseLines) {
        const KListLine* listLine = line->AsListLine();
        const int key = line->GetFamily() < KLineObj::kFamilyText && listLine != nullptr
                            ? listLine->GetKeySignatureAt(0)
                            : 0;
        loose.push_back({before, here, line, line->GetType(), key});
        line->SetGroup(current->GetId(), current);
      }
    } else if (current != nullptr && id == current->GetId()) {
      if (filled >= current->GetSlotCount() || !FitsSlot(line->GetType(), current->GetSlotType(filled))) {
        error = true;
        break;
      }
      if (line->GetType() != current->GetSlotType(filled)) current->SetSlotType(filled, line->GetType());
      current->SetSlotLineRef(filled, here);
      current->SetSlotLine(filled, line);
      ++filled;
      if (line->GetFamily() == KLineObj::kFamilyText) ++regroupedTextLines;
    } else {
      if (current != nullptr && filled < current->GetSlotCount()) {
        // The group ends before all its lines came: it is dissolved.
        if (problemLine == 0) {
          problemLine = number;
        } else if (problemLine > 0) {
          problemLine = -problemLine;
        }
        UngroupLinesWithId(current->GetId());
        groupsById.erase(current->GetId());
        DropGroup(current);
      }
      current = nullptr;
      filled = 0;
      const auto found = groupsById.find(id);
      KLineGroup* next = found != groupsById.end() ? found->second : nullptr;
      // A group that is not there, or one that was walked already, leaves
      // nothing to fill.
      if (next == nullptr || !visited.insert(next).second || next->GetSlotCount() < 1 ||
          !FitsSlot(line->GetType(), next->GetSlotType(0))) {
        error = true;
        break;
      }
      current = next;
      if (line->GetType() != current->GetSlotType(0)) current->SetSlotType(0, line->GetType());
      current->SetSlotLineRef(0, here);
      current->SetSlotLine(0, line);
      filled = 1;
    }
    before = here;
  }

  // Loose lines join the group they were found in (unless it was dissolved
  // since), next to the line before them; those the group cannot take stay
  // without a group.
  for (const LooseLine& l : loose) {
    if (l.line->GetGroupId() == KLineObj::kNoGroup) continue;
    KLineGroup* group = FindLineGroup(l.line->GetGroupId());
    if (!error && group != nullptr && group->GetSlotCount() < KLineGroup::kMaxSlots &&
        group->FindSlot(l.before) >= 0) {
      group->InsertLine(l.before, l.pos, l.line, l.type, l.key, 0, 0);
      const int slot = group->FindSlot(l.pos);
      if (slot >= 0) {
        group->SetSlotBracket(slot, 0);
        continue;
      }
    }
    l.line->SetGroup(KLineObj::kNoGroup, nullptr);
  }

  // Groups with a slot left empty are dissolved; the others are bound.
  std::vector<KLineGroup*> groups;
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    if (auto* group = dynamic_cast<KLineGroup*>(lineGroups.GetNext(pos))) groups.push_back(group);
  }
  for (KLineGroup* group : groups) {
    bool complete = group->GetSlotCount() > 0;
    for (int i = 0; i < group->GetSlotCount() && complete; ++i)
      complete = group->GetSlotLineRef(i) != nullptr;
    if (!complete) {
      UngroupLinesWithId(group->GetId());
      DropGroup(group);
      continue;
    }
    group->EqualizeLeadInSteps(*this);
    group->BindLines(*this);
  }

  // Every line: colour, and its group pointer, indent and layout key. A line
  // whose group does not hold it leaves the group.
  std::unordered_map<int, KLineGroup*> byId;
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    if (auto* group = dynamic_cast<KLineGroup*>(lineGroups.GetNext(pos))) byId.emplace(group->GetId(), group);
  }
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr;) {
    const POSITION here = pos;
    KLineObj* line = GetNextLine(pos);
    if (line == nullptr) continue;
    if (line->TestFlags(kFlagColour)) colourFlag = 1;
    if (line->GetGroupId() == KLineObj::kNoGroup) {
      if (line->GetGroup() != nullptr) line->SetGroupPtr(nullptr);
      continue;
    }
    const auto found = byId.find(line->GetGroupId());
    KLineGroup* group = found != byId.end() ? found->second : nullptr;
    if (group == nullptr || group->FindSlot(here) < 0) {
      line->SetGroup(KLineObj::kNoGroup, nullptr);
      continue;
    }
    line->SetGroupPtr(group);
    const int family = line->GetFamily();
    if (KLineObj::IsNoteFamily(family)) group->SetIndent(line->GetIndent());
    if (family >= 0 && family < KLineObj::kFamilyChord) {
      if (KListLine* listLine = line->AsListLine())
        listLine->SetKeySignature(listLine->GetKeySignatureAt(0), group->GetLeadInSteps(), 1);
    }
  }

  if (problemLine != 0) {
    CString text;
    CString lineNumber;
    lineNumber.Format("%d", problemLine > 0 ? problemLine : -problemLine);
    AfxFormatString1(text, problemLine > 0 ? kOneConfusedGroupMessage : kConfusedGroupsMessage, lineNumber);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  }
  if (error && !asked) {
    if (AfxMessageBox(kUngroupQuestion, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) ungroupAll();
  }
  return 1;
}
