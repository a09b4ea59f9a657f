// The score's line-group list: finding groups, new ids, comparing the shape
// of two groups, deleting a group with or without its lines, the starting time
// signature of a group's note lines, and the layout of every group.

#include <algorithm>
#include <climits>
#include <set>
#include <unordered_set>

#include "doc/CStavlinDoc.h"
#include "model/DocServices.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"

namespace {

bool IsNoteType(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }

}  // namespace

void CStavlinDoc::AddLineGroup(KLineGroup* group) { lineGroups.AddTail(group); }

KLineGroup* CStavlinDoc::FindLineGroup(int id) const {
  // The list holds line groups only (AddLineGroup takes nothing else and a
  // loaded list is checked class by class), so no cast is checked per node.
  // The first group of an id is the one found, as in a walk of the list.
  if (id < 0) {
    // "No group" (or damage): asked for every ungrouped line, and no group
    // is numbered so but in a damaged score, so the list is walked.
    for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
      auto* group = static_cast<KLineGroup*>(lineGroups.GetNext(pos));
      if (group != nullptr && group->GetId() == id) return group;
    }
    return nullptr;
  }
  if (m_groupIndexCount == lineGroups.GetCount()) {
    const auto found = m_groupIndex.find(id);
    if (found != m_groupIndex.end() && found->second->GetId() == id) return found->second;
  }
  // Not indexed, or the index may be out of date (a group renumbered since):
  // index the list again.
  m_groupIndex.clear();
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    auto* group = static_cast<KLineGroup*>(lineGroups.GetNext(pos));
    if (group != nullptr) m_groupIndex.emplace(group->GetId(), group);
  }
  m_groupIndexCount = lineGroups.GetCount();
  const auto found = m_groupIndex.find(id);
  return found != m_groupIndex.end() ? found->second : nullptr;
}

int CStavlinDoc::GetNewLineGroupId() const {
  // Ids below 0 mean "no group" to the lines (-1) or mark damage: a new id is
  // never one of them, and the largest id of a file may be the largest int.
  int largest = -1;
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    if (const auto* group = dynamic_cast<const KLineGroup*>(lineGroups.GetNext(pos)))
      largest = std::max(largest, group->GetId());
  }
  if (largest < INT_MAX) return largest + 1;
  // Only a damaged or hand-made score numbers a group so: the lowest free id.
  std::set<int> used;
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    if (const auto* group = dynamic_cast<const KLineGroup*>(lineGroups.GetNext(pos)))
      used.insert(group->GetId());
  }
  int id = 0;
  while (used.count(id) != 0) ++id;
  return id;
}

BOOL CStavlinDoc::LineGroupsMatch(int id1, int id2) const {
  const KLineGroup* a = FindLineGroup(id1);
  const KLineGroup* b = FindLineGroup(id2);
  if (a == nullptr || b == nullptr || a->GetSlotCount() != b->GetSlotCount()) return FALSE;
  for (int i = 0; i < a->GetSlotCount(); ++i) {
    if (a->GetSlotType(i) != b->GetSlotType(i)) return FALSE;
  }
  return TRUE;
}

void CStavlinDoc::DropGroup(KLineGroup* group) {
  const POSITION pos = lineGroups.Find(group);
  if (pos == nullptr) return;
  lineGroups.RemoveAt(pos);
  DropGroupIndex();
  delete group;
}

void CStavlinDoc::UngroupLinesWithId(int id) {
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr;) {
    KLineObj* line = GetNextLine(pos);
    if (line != nullptr && line->GetGroupId() == id) line->SetGroup(KLineObj::kNoGroup, nullptr);
  }
}

void CStavlinDoc::DeleteLineGroup(int id, BOOL deleteLines) {
  KLineGroup* group = FindLineGroup(id);
  if (group == nullptr) return;
  // A slot's position is used only while it is a position of this list.
  std::unordered_set<POSITION> positions;
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr; lines.GetNext(pos)) positions.insert(pos);
  for (int i = 0; i < group->GetSlotCount(); ++i) {
    const POSITION pos = group->GetSlotLineRef(i);
    if (pos == nullptr || positions.erase(pos) == 0) continue;
    KLineObj* line = GetLineAt(pos);
    if (deleteLines) {
      lines.RemoveAt(pos);
      delete line;
    } else if (line != nullptr) {
      line->SetGroup(KLineObj::kNoGroup, nullptr);
    }
  }
  DropGroup(group);
}

void CStavlinDoc::EndTimeSignature(KLineObj* line, int& beats, int& beatTicks) {
  beats = 0;
  beatTicks = kDefaultBeatTicks;
  KListLine* listLine = line != nullptr ? line->AsListLine() : nullptr;
  if (listLine != nullptr) {
    listLine->GetTimeSignatureAt(KListLine::kWholeLineColumn, beats, beatTicks, 0);
    if (beats < 1) {
      PropagateTimeSignatures();
      listLine->GetTimeSignatureAt(KListLine::kWholeLineColumn, beats, beatTicks, 0);
    }
  }
  if (beats < 1) {
    beats = kDefaultBeats;
    beatTicks = kDefaultBeatTicks;
  }
}

BOOL CStavlinDoc::SetGroupStartTimeSignature(int id) {
  KLineGroup* group = nullptr;
  KLineGroup* match = nullptr;
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    auto* candidate = dynamic_cast<KLineGroup*>(lineGroups.GetNext(pos));
    if (candidate == nullptr) continue;
    if (group == nullptr) {
      if (candidate->GetId() == id) group = candidate;
    } else if (LineGroupsMatch(id, candidate->GetId())) {
      match = candidate;
      break;
    }
  }
  if (group == nullptr) return FALSE;

  const auto lineOf = [this](const KLineGroup& g, int slot) -> KListLine* {
    KLineObj* line = GetLineAt(g.GetSlotLineRef(slot));
    return line != nullptr ? line->AsListLine() : nullptr;
  };

  if (match == nullptr) {
    // The signature at the end of the note line before the group.
    KLineObj* before = nullptr;
    POSITION pos = group->GetSlotLineRef(0);
    if (pos != nullptr) GetPrevLine(pos);
    while (pos != nullptr && before == nullptr) {
      KLineObj* line = GetPrevLine(pos);
      if (line != nullptr && KLineObj::IsNoteFamily(line->GetFamily())) before = line;
    }
    int beats = 0;
    int beatTicks = 0;
    EndTimeSignature(before, beats, beatTicks);
    for (int i = 0; i < group->GetSlotCount(); ++i) {
      if (!IsNoteType(group->GetSlotType(i))) continue;
      if (KListLine* line = lineOf(*group, i)) line->SetTimeSignature(beats, beatTicks, 1);
    }
    return TRUE;
  }

  for (int i = 0; i < group->GetSlotCount(); ++i) {
    if (!IsNoteType(group->GetSlotType(i))) continue;
    int beats = 0;
    int beatTicks = 0;
    EndTimeSignature(lineOf(*match, i), beats, beatTicks);
    if (KListLine* line = lineOf(*group, i)) line->SetTimeSignature(beats, beatTicks, 1);
  }
  return TRUE;
}

void CStavlinDoc::LayoutLineGroups(std::span<const DisplayLine> displayLines, int sizeIndex,
                                   int noteLinesOnly) {
  const int stringStep = TabStringSpacing(sizeIndex);
  const KShownLines shown(displayLines);
  for (POSITION pos = lineGroups.GetHeadPosition(); pos != nullptr;) {
    if (auto* group = dynamic_cast<KLineGroup*>(lineGroups.GetNext(pos)))
      group->Layout(shown, sizeIndex, noteLinesOnly, stringStep);
  }
}
