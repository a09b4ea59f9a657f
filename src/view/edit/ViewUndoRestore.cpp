// Taking a snapshot of whole display lines and putting one back in their
// place: the two halves of every undo record.

#include <algorithm>
#include <map>
#include <set>

#include "common/ViewServices.h"
#include "model/KLineGroup.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewDeleteParts.h"
#include "view/edit/ViewUndoInternal.h"

namespace {

constexpr int kDeleteAsCut = 1;
constexpr int kDeleteForUndo = 2;
constexpr int kPasteInsert = 20;
constexpr int kPlaceAfterCaretLine = 0;
constexpr int kPlaceBeforeCaretLine = 1;
constexpr int kSnapshotMode = 3;

// Column shifts stay on the line they are made on while a range is
// replaced: the group's other lines are part of the range or untouched.
class GroupShiftHold {
 public:
  GroupShiftHold() : m_saved(g_alignOptions[0]) { g_alignOptions[0] = 1; }
  ~GroupShiftHold() { g_alignOptions[0] = m_saved; }
  GroupShiftHold(const GroupShiftHold&) = delete;
  GroupShiftHold& operator=(const GroupShiftHold&) = delete;

 private:
  int m_saved;
};

std::set<POSITION> LinePositions(const CStavlinDoc& doc) {
  std::set<POSITION> positions;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr; doc.GetNextLine(pos)) positions.insert(pos);
  return positions;
}

// The paste engine gives restored groups new ids; each takes back the id the
// snapshot carries when no other group has it, so that an undone score is
// the score it was. `before` holds the lines that were there before the
// paste: the others are the snapshot's lines, in order.
void RestoreGroupIds(CStavlinDoc& doc, const std::set<POSITION>& before, const KClipStream& snapshot) {
  const std::optional<KClipData> data = ReadClipStream(snapshot);
  if (!data || data->isAttachment) return;
  std::map<int, int> restoredIds;  // id given by the paste -> id in the snapshot
  size_t index = 0;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const POSITION at = pos;
    const KLineObj* line = doc.GetNextLine(pos);
    if (before.count(at) != 0) continue;
    if (index >= data->lines.size()) break;
    const int saved = data->lines[index++].groupId;
    if (line->GetGroupId() != KLineObj::kNoGroup && saved >= 0)
      restoredIds.emplace(line->GetGroupId(), saved);
  }
  for (const auto& [given, saved] : restoredIds) {
    KLineGroup* group = doc.FindLineGroup(given);
    if (given == saved || group == nullptr || doc.FindLineGroup(saved) != nullptr) continue;
    group->SetId(saved);
    for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
      if (KLineObj* line = doc.GetLineAt(group->GetSlotLineRef(slot));
          line != nullptr && line->GetGroupId() == given)
        line->SetGroup(saved, group);
    }
  }
}

}  // namespace

namespace viewundo {

std::unique_ptr<KClipStream> SnapshotLines(CStavlinView& view, int first, int last) {
  const int count = view.GetDisplayLineCount();
  if (count <= 0) return nullptr;
  const int lastLine = last < 0 || last >= count ? count - 1 : last;
  const int firstLine = std::clamp(first, 0, lastLine);
  const SavedSelection saved = SaveSelection(view);
  SelectWholeLines(view, firstLine, lastLine);
  std::unique_ptr<KClipStream> snapshot = view.SerializeSelection(kSnapshotMode);
  RestoreSelection(view, saved);
  return snapshot;
}

void ReplaceLines(CStavlinView& view, int first, int last, const KClipStream* snapshot,
                  const KUndoViewState& basis) {
  const int count = view.GetDisplayLineCount();
  if (snapshot == nullptr || count <= 0 || view.m_document == nullptr) return;
  const int lastLine = last < 0 || last >= count ? count - 1 : last;
  const int firstLine = std::clamp(first, 0, lastLine);
  const bool everyLine = firstLine == 0 && lastLine == count - 1;

  // The lines are about to be deleted and rebuilt: a selected tie, slur or
  // text box among their attachments must not be held on to.
  view.DeselectExtendedObject();
  GroupShiftHold hold;
  SelectWholeLines(view, firstLine, lastLine);
  view.DeleteSelectedRegion(kDeleteAsCut, kDeleteForUndo, 1);
  // Cutting every line leaves one empty text line so that the score is never
  // without lines; it has no place in the restored score.
  CStavlinDoc& doc = *view.m_document;
  const POSITION placeholder = everyLine && doc.GetLineCount() == 1 ? doc.GetFirstLinePosition() : nullptr;

  RestoreLayoutBasis(view, basis);
  const std::set<POSITION> kept = LinePositions(doc);
  view.m_currentLine = std::max(firstLine - 1, 0);
  view.PasteSerializedLines(kPasteInsert, snapshot,
                            firstLine == 0 ? kPlaceBeforeCaretLine : kPlaceAfterCaretLine, -1);
  if (placeholder != nullptr && doc.GetLineCount() > 1) viewdelete::RemoveWholeLine(view, placeholder);
  RestoreGroupIds(doc, kept, *snapshot);
}

void PublishRingState(CStavlinView& view) {
  const KUndoRing* ring = view.m_undoRing.get();
  if (ring == nullptr) {
    view.m_undoCurrent = -1;
    view.m_redoAvailable = 0;
    return;
  }
  view.m_undoCurrent = ring->Current();
  view.m_redoAvailable = ring->RedoTarget() != 0 ? 1 : 0;
}

}  // namespace viewundo
