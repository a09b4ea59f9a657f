// Deleting a line that belongs to a line group: only that line leaves the
// group, or (when every line of the group is empty and the user says so)
// the whole group goes with its lines.

#include <algorithm>

#include "dialogs/KDlgRemoveWhat.h"
#include "model/KLineGroup.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kUndoGroupRegion = 5;
constexpr UINT kMsgKeepOneLine = 7044;

bool InGroup(const CStavlinView& view, int displayLine, int groupId) {
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  return line != nullptr && line->GetGroupId() == groupId;
}

bool AllLinesEmpty(const CStavlinDoc& doc, const KLineGroup& group) {
  for (int slot = 0; slot < group.GetSlotCount(); ++slot) {
    if (doc.GetLineLengthAt(group.GetSlotLineRef(slot)) > 0) return false;
  }
  return true;
}

// Takes the line out of the group; a group left with one line is no group.
int TakeLineOut(CStavlinDoc& doc, KLineGroup& group, POSITION lineRef) {
  POSITION remaining = nullptr;
  group.RemoveLine(lineRef, remaining);
  if (group.FindSlot(lineRef) < 0) {
    if (KLineObj* line = doc.GetLineAt(lineRef)) line->SetGroup(KLineObj::kNoGroup, nullptr);
  }
  if (group.GetSlotCount() <= 1) doc.DeleteLineGroup(group.GetId(), FALSE);
  return CStavlinView::kRemoveLineOnly;
}

}  // namespace

int CStavlinView::DeleteWithRemoveDialog(int groupId, int forward, POSITION lineRef) {
  if (m_document == nullptr) return kRemoveNothing;
  KLineGroup* group = m_document->FindLineGroup(groupId);
  if (group == nullptr) return kRemoveNothing;
  const int slots = group->GetSlotCount();
  RecordUndoStep(kUndoGroupRegion, groupId, 0, nullptr, 0);

  if (!AllLinesEmpty(*m_document, *group)) return TakeLineOut(*m_document, *group, lineRef);
  KDlgRemoveWhat dialog;
  const int answer = dialog.DoModal();
  if (answer == KDlgRemoveWhat::kRemoveLine) return TakeLineOut(*m_document, *group, lineRef);
  if (answer != KDlgRemoveWhat::kRemoveGroup) return kRemoveNothing;

  if (m_lineCount <= slots) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kMsgKeepOneLine, MB_OK);
    return kRemoveNothing;
  }

  // Where the caret goes: the end of the line above the group, or (going
  // forward, or with the group at the top) the start of the line below it.
  const int current = std::clamp(m_currentLine, 0, m_lineCount - 1);
  int groupTop = current;
  while (groupTop > 0 && InGroup(*this, groupTop - 1, groupId)) --groupTop;
  int result = 0;
  int newLine = groupTop;
  if (forward == 0 && groupTop > 0) {
    newLine = groupTop - 1;
    KLineObj* above = GetDisplayLineObj(newLine);
    result = above != nullptr ? std::max(above->GetLength(), 0) : 0;
  }
  m_document->DeleteLineGroup(groupId, TRUE);
  // The table must not keep the positions of the deleted lines.
  RebuildDisplayLines(0);
  m_currentLine = std::clamp(newLine, 0, std::max(m_lineCount - 1, 0));
  return result;
}
