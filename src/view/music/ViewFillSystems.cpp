// An imported score's systems filled as engraved music is: every system but
// the last of a part ends with a bar line and has its notes spread so that
// the bar stands at the end of its staff length, with the same blanks that
// Actions | Evenly Space Notation gives. Parts are found as Wrap Music finds
// them: the ungrouped staves of one type and label, or runs of line groups of
// one structure.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/music/ViewMusic.h"
#include "view/music/ViewSpanKeeper.h"
#include "view/music/ViewWrapColumns.h"

namespace {

constexpr int kColumn = 18;

// One system of a part: the lines the wrap moves by columns (a group's
// staves, tablature and chord-diagram lines alike).
using System = std::vector<KListLine*>;

bool IsNotation(const KListLine* line) {
  return line != nullptr && KLineObj::IsNoteFamily(line->GetFamily());
}

bool IsBar(const CObject* object) {
  const KChord* chord = AsChord(static_cast<const KPosObj*>(object));
  return chord != nullptr && chord->IsBarColumn();
}

// Every notation line of the system that holds music ends with a bar column.
bool EndsWithBar(const System& system) {
  bool any = false;
  for (KListLine* line : system) {
    if (!IsNotation(line) || line->GetObjList()->IsEmpty()) continue;
    if (!IsBar(line->GetObjList()->GetTail())) return false;
    any = true;
  }
  return any;
}

// Every notation line of the system opens with a bar in its first column.
bool StartsWithBar(const System& system) {
  bool any = false;
  for (KListLine* line : system) {
    if (!IsNotation(line)) continue;
    const CObList* objects = line->GetObjList();
    if (objects->IsEmpty() || !IsBar(objects->GetHead()) ||
        static_cast<const KPosObj*>(objects->GetHead())->GetPos() != 0)
      return false;
    any = true;
  }
  return any;
}

int Length(const System& system) {
  int length = 0;
  for (KListLine* line : system) length = std::max(length, NoteColumnLength(*line));
  return length;
}

// The columns that put a closing bar at the end of the staff length: the
// columns before the last bar that fits whole within the staff length (the
// rule Wrap Music breaks lines by) and the bar's own. 0 when no line of the
// system has a fixed staff length.
int FullLength(const System& system) {
  int columns = 0;
  for (KListLine* line : system) {
    if (!IsNotation(line) || line->GetStaffLength() <= 1) continue;
    const int lastBar = (line->GetStaffLength() - WrapUsedWidth(*line, 1)) / kColumn;
    const int own = std::max(lastBar, 0) + 1;
    columns = columns == 0 ? own : std::min(columns, own);
  }
  return columns;
}

// The bar that opens `next` closes `system` instead.
void MoveOpeningBarUp(System& system, System& next) {
  if (system.size() != next.size()) return;
  const int at = Length(system);
  for (size_t l = 0; l < system.size(); ++l) InsertColumns(*system[l], at, 1, CutColumns(*next[l], 0, 1));
}

std::vector<std::vector<System>> Parts(CStavlinView& view, const std::vector<KLineObj*>& lines) {
  CStavlinDoc& doc = *view.GetDocument();
  std::vector<std::vector<System>> parts;
  std::map<std::pair<int, std::string>, size_t> partOfLabel;
  std::set<int> groupsSeen;
  std::vector<KLineGroup*> groups;
  for (KLineObj* line : lines) {
    KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr) continue;
    if (line->GetGroupId() != KLineObj::kNoGroup) {
      KLineGroup* group = doc.FindLineGroup(line->GetGroupId());
      if (group != nullptr && groupsSeen.insert(group->GetId()).second) groups.push_back(group);
      continue;
    }
    if (!IsNotation(list)) continue;
    const std::pair<int, std::string> key{line->GetType(), line->GetLabelName().Str()};
    auto it = partOfLabel.find(key);
    if (it == partOfLabel.end()) {
      it = partOfLabel.emplace(key, parts.size()).first;
      parts.emplace_back();
    }
    parts[it->second].push_back({list});
  }
  std::vector<System> run;
  for (size_t i = 0; i < groups.size(); ++i) {
    if (i > 0 && doc.LineGroupsMatch(groups[i - 1]->GetId(), groups[i]->GetId()) == FALSE) {
      parts.push_back(std::move(run));
      run.clear();
    }
    System system;
    for (int slot = 0; slot < groups[i]->GetSlotCount(); ++slot) {
      KLineObj* member = groups[i]->GetSlotLine(slot);
      KListLine* list = member != nullptr ? member->AsListLine() : nullptr;
      if (list != nullptr && WrapMovesLine(*list)) system.push_back(list);
    }
    run.push_back(std::move(system));
  }
  if (!run.empty()) parts.push_back(std::move(run));
  return parts;
}

}  // namespace

void FillSystemsToStaffLength(CStavlinView& view, int first, int last) {
  if (view.GetDocument() == nullptr || view.GetDisplayLineCount() <= 0) return;
  first = std::clamp(first, 0, view.GetDisplayLineCount() - 1);
  last = std::clamp(last, first, view.GetDisplayLineCount() - 1);
  std::vector<KLineObj*> lines;
  for (int d = first; d <= last; ++d) lines.push_back(view.GetDisplayLineObj(d));
  FillSystemsOfLines(view, lines);
  view.RebuildDisplayLines(0);
}

void FillSystemsOfLines(CStavlinView& view, const std::vector<KLineObj*>& lines) {
  if (view.GetDocument() == nullptr) return;
  for (std::vector<System>& part : Parts(view, lines)) {
    for (size_t i = 0; i + 1 < part.size(); ++i) {
      System& system = part[i];
      // Ties, slurs and brackets keep their notes; an arc into the next
      // system ends at the closing bar.
      const SpanKeeper spans(system);
      if (!EndsWithBar(system) && StartsWithBar(part[i + 1])) MoveOpeningBarUp(system, part[i + 1]);
      const int full = FullLength(system);
      if (full > Length(system)) SpaceLinesToLength(system, full);
      spans.Restore();
    }
  }
}
