// Pasting a stream's lines as new lines of the score: each line built from
// its record and placed below the caret line (above it when an undo puts
// back lines that began the score), with its line groups rebuilt under new
// ids, or joined to the caret line's group.

#include <algorithm>
#include <array>
#include <vector>

#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewClip.h"
#include "view/edit/ViewPasteBuild.h"

namespace viewclip {

namespace {

constexpr DWORD kLastLineClears = KLineObj::kFlagPairUpper | KLineObj::kFlagShownPair;

struct PlacedLine {
  POSITION position = nullptr;
  KLineObj* line = nullptr;
  int type = 0;
  int bracket = 0;
  int groupId = -1;
};

int KeyOf(KLineObj* line) {
  const KListLine* list = line->AsListLine();
  return list != nullptr ? list->GetKeySignatureAt(0) : 0;
}

void FinishGroup(CStavlinView& view, KLineGroup& group) {
  CStavlinDoc& doc = *view.m_document;
  group.BindLines(doc);
  group.EqualizeLeadInSteps(doc);
  group.IndentOtherLines();
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (dc != nullptr)
    group.ComputeIndent(dc, std::max(view.m_widest, 0), view.GetSizeIndex(), view.m_labelsShown);
}

// A new group of the run's lines (two or more) under an id of the document.
// An undo snapshot puts its groups back under their own ids when those are
// free, so that undoing leaves the score as it was; pasted lines always get
// new ids.
void CloseRun(CStavlinView& view, const std::vector<PlacedLine>& run, bool fromSnapshot) {
  if (run.size() < 2) return;
  CStavlinDoc& doc = *view.m_document;
  std::vector<POSITION> positions;
  std::vector<int> types;
  for (const PlacedLine& p : run) {
    positions.push_back(p.position);
    types.push_back(p.type);
  }
  const int storedId = run.front().groupId;
  const int id = fromSnapshot && storedId >= 0 && doc.FindLineGroup(storedId) == nullptr
                     ? storedId
                     : doc.GetNewLineGroupId();
  auto* group = new KLineGroup(id, positions, types, 0);
  for (size_t slot = 0; slot < run.size(); ++slot) {
    group->SetSlotBracket(static_cast<int>(slot), run[slot].bracket);
    run[slot].line->SetGroup(id, group);
  }
  doc.AddLineGroup(group);
  // A restored snapshot keeps each line's own indent, as it was stored: the
  // indents a new group computes for its lines would move them on undo.
  std::vector<int> storedIndents;
  for (const PlacedLine& p : run) storedIndents.push_back(p.line->GetStoredIndent());
  FinishGroup(view, *group);
  if (fromSnapshot) {
    for (size_t slot = 0; slot < run.size(); ++slot) run[slot].line->SetIndent(storedIndents[slot]);
  }
  doc.SetGroupStartTimeSignature(id);
}

// The block's bracket numbers 1..4 renumbered after the group's highest.
void JoinCaretGroup(CStavlinView& view, KLineGroup& group, POSITION caretPosition,
                    const std::vector<PlacedLine>& placed) {
  int highest = 0;
  for (int slot = 0; slot < group.GetSlotCount(); ++slot)
    highest = std::max(highest, group.GetSlotBracket(slot, 1));
  std::array<int, 5> renumber{};
  int next = highest;
  for (int number = 1; number <= KLineGroup::kMaxBracket; ++number) {
    const bool used = std::any_of(placed.begin(), placed.end(),
                                  [number](const PlacedLine& p) { return p.bracket == number; });
    if (used) renumber[static_cast<size_t>(number)] = ++next <= KLineGroup::kMaxBracket ? next : 0;
  }
  POSITION neighbour = caretPosition;
  const int caretSlot = group.FindSlot(caretPosition);
  for (size_t i = 0; i < placed.size(); ++i) {
    const PlacedLine& p = placed[i];
    group.InsertLine(neighbour, p.position, p.line, p.type, KeyOf(p.line), 0, 0);
    p.line->SetGroup(group.GetId(), &group);
    group.SetSlotBracket(caretSlot + 1 + static_cast<int>(i),
                         renumber[static_cast<size_t>(std::clamp(p.bracket, 0, 4))]);
    neighbour = p.position;
  }
  FinishGroup(view, group);
}

}  // namespace

bool PasteNewLines(CStavlinView& view, const KClipData& data, int placement, bool fromSnapshot) {
  CStavlinDoc& doc = *view.m_document;
  const int count = static_cast<int>(data.lines.size());
  const int caretLine = std::clamp(view.GetCurrentLine(), 0, view.GetDisplayLineCount() - 1);
  const POSITION caretPosition = view.GetDisplayEntry(caretLine).line;
  KLineObj* caretObj = view.GetDisplayLineObj(caretLine);
  KLineGroup* caretGroup = nullptr;
  if (!fromSnapshot && caretObj != nullptr && caretObj->GetGroupId() >= 0 &&
      caretLine + 1 < view.GetDisplayLineCount()) {
    const KLineObj* next = view.GetDisplayLineObj(caretLine + 1);
    if (next != nullptr && next->GetGroupId() == caretObj->GetGroupId())
      caretGroup = doc.FindLineGroup(caretObj->GetGroupId());
  }
  if (caretGroup != nullptr) {
    if (count + caretGroup->GetSlotCount() > KLineGroup::kMaxSlots) {
      AfxMessageBox(kMsgTooManyGroupLines, MB_OK);
      return false;
    }
    if (view.m_undoSuspended == 0 && AfxMessageBox(kMsgJoinGroup, MB_YESNOCANCEL) != IDYES) return false;
  }
  g_pasteInProgress = 1;

  std::vector<PlacedLine> placed;
  std::vector<PlacedLine> run;
  int runId = -1;
  POSITION previous = caretPosition;
  for (int i = 0; i < count; ++i) {
    const ClipLine& record = data.lines[static_cast<size_t>(i)];
    std::unique_ptr<KLineObj> line = BuildLine(view, record);
    if (!line) continue;
    if (count == 1 || i == count - 1 || line->TestFlags(KLineObj::kFlagShownPair) != 0)
      line->ModifyFlags(kLastLineClears, 0);
    KLineObj* raw = line.release();
    const POSITION position = placement == 1 && i == 0 ? doc.InsertLineBefore(caretPosition, raw)
                                                       : doc.InsertLineAfter(previous, raw);
    previous = position;
    const int groupId = count < 2 ? -1 : record.groupId;
    PlacedLine p{position, raw, raw->GetType(), groupId < 0 ? 0 : record.bracket, groupId};
    if (caretGroup != nullptr) {
      placed.push_back(p);
      continue;
    }
    if (groupId != runId) {
      CloseRun(view, run, fromSnapshot);
      run.clear();
      runId = groupId;
    }
    if (groupId >= 0) run.push_back(p);
  }
  if (caretGroup != nullptr) {
    JoinCaretGroup(view, *caretGroup, caretPosition, placed);
  } else {
    CloseRun(view, run, fromSnapshot);
  }
  return true;
}

void FinishPaste(CStavlinView& view, int caretLine, int linesPasted, bool moveCaret) {
  view.RebuildDisplayLines(0);
  const int last = std::max(view.GetDisplayLineCount() - 1, 0);
  if (moveCaret) {
    view.m_currentLine = std::clamp(caretLine + linesPasted, 0, last);
    view.m_caretColumn = 0;
  }
  view.m_currentLine = std::clamp(view.m_currentLine, 0, last);
  if (view.GetDisplayLineCount() > 0) {
    view.m_currentType = view.GetDisplayEntry(view.m_currentLine).type;
    view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
    view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? 4 : 18;
    const KLineObj* line = view.GetDisplayLineObj(view.m_currentLine);
    const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    view.m_keyAtCaret = list != nullptr ? list->GetKeySignatureAt(0) : 0;
  }
  view.m_document->SetModifiedFlag(TRUE);
  view.UpdateAfterEdit(CStavlinView::kHintAll, 0);
}

}  // namespace viewclip
