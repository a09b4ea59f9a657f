// Actions/Evenly Space Notation: blank columns are spread between the columns
// of staff and tablature lines so that longer notes get more room, up to each
// line's staff length (or by a fixed number of priority steps, continuously
// over the whole score, followed by Wrap Music). Lines of a group get the
// same blanks at the same columns, so they stay aligned.

#include <algorithm>
#include <array>
#include <vector>

#include "doc/pref_values/Preferences.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/music/ViewMusic.h"
#include "view/music/ViewSpanKeeper.h"
#include "view/music/ViewWrapColumns.h"

namespace {

constexpr int kUndoScore = 2;
constexpr int kUndoSelected = 3;
constexpr int kWholeLines = 10;
constexpr int kWideColumns = 32000;
constexpr int kUnlimited = 30000;

struct Step {
  int spacingClass;
  bool after;
};
// The order in which the note lengths get their blank columns.
constexpr std::array<Step, 15> kPriority = {{{12, true},
                                             {12, false},
                                             {10, true},
                                             {8, true},
                                             {12, true},
                                             {12, false},
                                             {10, true},
                                             {21, true},
                                             {21, false},
                                             {0, true},
                                             {10, true},
                                             {90, true},
                                             {90, false},
                                             {2, true},
                                             {4, true}}};

struct Entry {
  int column;
  int spacingClass;
  int newColumn;
};

bool IsNotation(const KLineObj* line) { return line != nullptr && KLineObj::IsNoteFamily(line->GetFamily()); }

std::vector<Entry> Entries(KListLine& line) {
  std::vector<Entry> entries;
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(objects->GetNext(node));
    const KChord* chord = AsChord(object);
    const int ticks = chord != nullptr ? chord->GetTicks(3, false) : 0;
    const bool bar = chord != nullptr && chord->IsBarColumn();
    if (!entries.empty() && entries.back().column == object->GetPos()) continue;
    entries.push_back({object->GetPos(), SpacingClass(ticks, bar), object->GetPos()});
  }
  return entries;
}

// Walks the priority table, giving one blank column at a time, until the
// free columns are used or the steps limit is reached.
void Spread(std::vector<Entry>& entries, int free, int passes) {
  int steps = 0;
  int idleRun = 0;
  for (size_t s = 0; free > 0; s = (s + 1) % kPriority.size()) {
    const Step step = kPriority[s];
    bool gave = false;
    for (size_t i = 0; i < entries.size() && free > 0; ++i) {
      if (entries[i].spacingClass != step.spacingClass) continue;
      const size_t from = step.after ? i + 1 : i;
      if (from >= entries.size()) continue;  // nothing after the last column to push
      for (size_t k = from; k < entries.size(); ++k) ++entries[k].newColumn;
      --free;
      gave = true;
    }
    ++steps;
    if (passes > 0 && steps >= passes) break;
    idleRun = gave ? 0 : idleRun + 1;
    if (idleRun >= static_cast<int>(kPriority.size())) break;  // no class of the line takes a blank
  }
}

// Gives the lines the blanks: before each entry, the blanks it gained over
// the entry before it, last entry first so that the columns still hold.
void Apply(const std::vector<KListLine*>& lines, const std::vector<Entry>& entries) {
  for (size_t k = entries.size(); k-- > 1;) {
    const int gained =
        (entries[k].newColumn - entries[k - 1].newColumn) - (entries[k].column - entries[k - 1].column);
    if (gained <= 0) continue;
    for (KListLine* line : lines) InsertColumns(*line, entries[k].column, gained, KColumnBlock());
  }
  if (!entries.empty() && entries[0].newColumn > entries[0].column) {
    for (KListLine* line : lines)
      InsertColumns(*line, entries[0].column, entries[0].newColumn - entries[0].column, KColumnBlock());
  }
}

// The notation line of the unit with the most columns: the one the blanks
// are worked out on.
KListLine* Reference(const std::vector<KListLine*>& lines) {
  KListLine* reference = nullptr;
  for (KListLine* line : lines) {
    if (IsNotation(line) && (reference == nullptr || line->GetObjCount() > reference->GetObjCount()))
      reference = line;
  }
  return reference != nullptr && reference->GetObjCount() > 0 ? reference : nullptr;
}

// The empty columns before the first object go, on every line alike.
void RemoveLeadingBlanks(const std::vector<KListLine*>& lines) {
  int lead = INT32_MAX;
  for (KListLine* line : lines) lead = std::min(lead, FirstUsedColumn(*line));
  if (lead > 0 && lead != INT32_MAX) {
    for (KListLine* line : lines) CutColumns(*line, 0, lead);
  }
}

// One line, or the lines of a group, spaced as one.
void SpaceUnit(CStavlinView& view, const std::vector<KListLine*>& lines, int passes) {
  KListLine* reference = Reference(lines);
  if (reference == nullptr) return;
  RemoveLeadingBlanks(lines);
  std::vector<Entry> entries = Entries(*reference);
  const int size = view.m_sizeIndex;
  const int columnWidth = viewgeom::ColumnWidth(view, reference->GetType());
  int free = kUnlimited;
  if (passes < 1) {
    const int staffLength = reference->GetStaffLength() * columnWidth / 18;
    const int room = staffLength - reference->GetIndent() - reference->GetLeadInWidth(size);
    free = std::max(room, 0) / std::max(columnWidth, 1) - NoteColumnLength(*reference);
  }
  if (free <= 0) return;
  Spread(entries, free, passes);
  Apply(lines, entries);
}

}  // namespace

void SpaceLinesToLength(const std::vector<KListLine*>& lines, int columns) {
  KListLine* reference = Reference(lines);
  if (reference == nullptr) return;
  RemoveLeadingBlanks(lines);
  const int free = columns - NoteColumnLength(*reference);
  if (free <= 0) return;
  std::vector<Entry> entries = Entries(*reference);
  Spread(entries, free, -1);
  Apply(lines, entries);
}

int SpacingClass(int ticks, bool bar) {
  if (ticks > 1440) return 12;
  if (ticks >= 560) return 10;
  if (ticks >= 320) return 8;
  if (ticks >= 160) return 0;
  if (ticks >= 80) return 2;
  if (ticks >= 1) return 4;
  return bar ? 21 : 90;
}

void EvenlySpaceNotation(CStavlinView& view, int passes) {
  if (view.m_document == nullptr || view.GetDisplayLineCount() <= 0) return;
  if (!view.LeaveReadOnlyForEdit()) return;
  CStavlinDoc& doc = *view.m_document;
  const int lastLine = view.GetDisplayLineCount() - 1;
  int first = std::clamp(view.m_currentLine, 0, lastLine);
  int last = first;
  if (view.SelectionRectShown() && view.m_selFirstLine >= 0) {
    first = std::clamp(std::min(view.m_selFirstLine, view.m_selLastLine), 0, lastLine);
    last = std::clamp(std::max(view.m_selFirstLine, view.m_selLastLine), 0, lastLine);
  }
  // Whole groups.
  const auto groupEnds = [&](int d, bool start) {
    KLineObj* line = view.GetDisplayLineObj(d);
    if (line == nullptr || line->GetGroupId() == KLineObj::kNoGroup) return d;
    int edge = d;
    for (int e = 0; e <= lastLine; ++e) {
      KLineObj* other = view.GetDisplayLineObj(e);
      if (other != nullptr && other->GetGroupId() == line->GetGroupId())
        edge = start ? std::min(edge, e) : std::max(edge, e);
    }
    return edge;
  };
  first = groupEnds(first, true);
  last = groupEnds(last, false);
  const POSITION firstPos = view.GetDisplayEntry(first).line;
  const POSITION lastPos = view.GetDisplayEntry(last).line;
  const bool wholeTable = first == 0 && last == lastLine;

  if (view.m_show[ScoreSettings::kShowAll] == 0 && view.m_allShown == 0) {
    if (AfxMessageBox(kGroupsNeedAllLinesMessage, MB_YESNOCANCEL) != IDYES) return;
    view.OnViewShowAll();
  }
  const int count = view.GetDisplayLineCount();
  if (count <= 0) return;
  if (wholeTable) {
    first = 0;
    last = count - 1;
  } else {
    first = std::max(view.FindDisplayLine(firstPos, 0), 0);
    last = std::max(view.FindDisplayLine(lastPos, first), first);
  }
  view.UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  view.UpdateSelection(0, kWideColumns, first, last, kWholeLines);
  view.RecordUndoStep(kUndoSelected, 0, 0, nullptr, 0);

  {
    const int savedNoModify = g_noModify;
    g_noModify = 1;
    // Natural-length notation lines take the widest notation width.
    const int widest = std::max(view.m_widest, 0);
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = doc.GetNextLine(pos);
      if (IsNotation(line) && line->GetStaffLength() == 0 && widest > 0) line->SetStaffLength(widest);
    }
    std::vector<int> groupsDone;
    for (int d = first; d <= last; ++d) {
      KLineObj* line = view.GetDisplayLineObj(d);
      KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
      if (list == nullptr || !IsNotation(line)) continue;
      KLineGroup* group = line->GetGroup();
      if (group == nullptr) {
        // The line starts from its notes set close: tie codes become tie
        // attachments and the empty columns between the notes go, so that
        // spacing again gives the same result.
        list->ConvertTieCodes();
        const SpanKeeper spans({list});
        list->CloseUpEmptyColumns();
        SpaceUnit(view, {list}, passes);
        spans.Restore();
        continue;
      }
      if (std::find(groupsDone.begin(), groupsDone.end(), group->GetId()) != groupsDone.end()) continue;
      groupsDone.push_back(group->GetId());
      std::vector<KListLine*> lines;
      for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
        KLineObj* member = group->GetSlotLine(slot);
        KListLine* memberList = member != nullptr ? member->AsListLine() : nullptr;
        if (memberList != nullptr && WrapMovesLine(*memberList)) lines.push_back(memberList);
      }
      const SpanKeeper spans(lines);
      SpaceUnit(view, lines, passes);
      spans.Restore();
    }
    g_noModify = savedNoModify;
  }
  view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
}

void EvenlySpaceContinuously(CStavlinView& view) {
  if (view.m_document == nullptr || view.GetDisplayLineCount() <= 0) return;
  if (!view.LeaveReadOnlyForEdit()) return;
  if (view.m_show[ScoreSettings::kShowAll] == 0 && view.m_allShown == 0) {
    if (AfxMessageBox(kGroupsNeedAllLinesMessage, MB_YESNOCANCEL) != IDYES) return;
    view.OnViewShowAll();
  }
  const int passes = std::clamp(g_prefStaffLines3.evenSpacing, 1, 15);
  // Spacing and wrapping are one step to undo.
  view.RecordUndoStep(kUndoScore, 0, 0, nullptr, 0);
  const int savedSuspended = view.m_undoSuspended;
  view.m_undoSuspended = 1;
  view.UpdateSelection(0, kWideColumns, 0, view.GetDisplayLineCount() - 1, kWholeLines);
  EvenlySpaceNotation(view, passes);
  view.UpdateSelection(0, kWideColumns, 0, view.GetDisplayLineCount() - 1, kWholeLines);
  WrapMusic(view);
  view.m_undoSuspended = savedSuspended;
  view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
}
